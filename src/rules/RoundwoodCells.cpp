#include "rules/RoundwoodCells.h"

#include "support/Errors.h"
#include "support/Numbers.h"
#include "support/ShortString.h"

#include <algorithm>
#include <cmath>

namespace varnok {
namespace {

struct LimitRow {
    const char* Label;
    const char* Words; // as a message names it
    const char* Unit;  // after a value in a message
};

constexpr std::array<LimitRow, kRoundwoodLimitCount> kLimitRows = {{
    {"Min Diameter (in.)........", "the minimum diameter", " in."},
    {"Max Diameter (in.).......", "the maximum diameter", " in."},
    {"Min Length (ft.)............", "the minimum length", " ft."},
    {"Max Length (ft.)...........", "the maximum length", " ft."},
    {"Required Soundness..", "the required soundness", " %"},
}};

const LimitRow& RowOf(RoundwoodLimit limit) {
    return kLimitRows[static_cast<std::size_t>(limit)];
}

std::vector<int> Steps(int first, int last, int step) {
    std::vector<int> values;
    for (int v = first; v <= last; v += step) {
        values.push_back(v);
    }
    return values;
}

bool Offers(RoundwoodLimit limit, int value) {
    const std::vector<int>& choices = RoundwoodLimitChoices(limit);
    return std::find(choices.begin(), choices.end(), value) != choices.end();
}

// "Product 2 "Pulpwood"", or "Product 3" for a slot without a name.
std::string ProductWords(std::size_t product, const std::string& name) {
    std::string words = RoundwoodProductHeader(product);
    if (!name.empty()) {
        words += " \"" + name + "\"";
    }
    return words;
}

std::string ValueWords(RoundwoodLimit limit, int value) {
    return std::to_string(value) + RowOf(limit).Unit;
}

void CheckLimits(std::size_t product, const RoundwoodProductChoices& choices) {
    const std::string who = ProductWords(product, choices.Name);
    for (std::size_t l = 0; l < kRoundwoodLimitCount; ++l) {
        const auto limit = static_cast<RoundwoodLimit>(l);
        if (!Offers(limit, choices.Limits[l])) {
            throw VarnokError(who + ": " + RowOf(limit).Words + " " +
                              ValueWords(limit, choices.Limits[l]) + " is not one of the choices.");
        }
    }
    const std::array<std::pair<RoundwoodLimit, RoundwoodLimit>, 2> pairs = {
        {{RoundwoodLimit::MinDiameter, RoundwoodLimit::MaxDiameter},
         {RoundwoodLimit::MinLength, RoundwoodLimit::MaxLength}}};
    for (const auto& [low, high] : pairs) {
        if (choices.Limit(low) > choices.Limit(high)) {
            throw VarnokError(who + ": " + RowOf(low).Words + " (" +
                              ValueWords(low, choices.Limit(low)) + ") is above " +
                              RowOf(high).Words + " (" + ValueWords(high, choices.Limit(high)) +
                              "), so the product would take no log.");
        }
    }
}

RoundwoodProductSpec SpecFrom(std::size_t product, const RoundwoodProductChoices& choices) {
    CheckLimits(product, choices);
    RoundwoodProductSpec definition;
    definition.Name = FirstCharacters(choices.Name, kRoundwoodTextCapacity);
    if (!Utf8ToWindows1252(definition.Name)) {
        throw VarnokError(ProductWords(product, definition.Name) +
                          ": the name holds a character that cannot be stored.");
    }
    if (choices.Unit && *choices.Unit >= RoundwoodUnitChoices().size()) {
        throw VarnokError(ProductWords(product, definition.Name) + ": there is no unit choice " +
                          std::to_string(*choices.Unit + 1) + ".");
    }
    if (!choices.Unit && !definition.Name.empty()) {
        throw VarnokError(ProductWords(product, definition.Name) +
                          " has no units: choose Cords, Cubic Ft, MBF, Tons or Cubic M.");
    }
    definition.Units = choices.Unit ? RoundwoodUnitChoices()[*choices.Unit].Units : "";
    definition.MinDiameter = static_cast<std::uint8_t>(choices.Limit(RoundwoodLimit::MinDiameter));
    definition.MaxDiameter = static_cast<std::uint8_t>(choices.Limit(RoundwoodLimit::MaxDiameter));
    definition.MinLength = static_cast<std::uint8_t>(choices.Limit(RoundwoodLimit::MinLength));
    definition.MaxLength = static_cast<std::uint8_t>(choices.Limit(RoundwoodLimit::MaxLength));
    definition.Soundness = static_cast<float>(choices.Limit(RoundwoodLimit::Soundness) * 0.01);
    return definition;
}

std::optional<std::size_t> UnitChoiceOf(std::size_t product,
                                        const RoundwoodProductSpec& definition) {
    const auto& units = RoundwoodUnitChoices();
    for (std::size_t u = 0; u < units.size(); ++u) {
        if (definition.Units == units[u].Units) {
            return u;
        }
    }
    if (definition.Units.empty() || !definition.IsDefined()) {
        return std::nullopt;
    }
    throw VarnokError(ProductWords(product, definition.Name) + ": the units \"" + definition.Units +
                      "\" are none of the five unit choices.");
}

// The per cent whose fraction is stored, if the editor offers it.
std::optional<int> SoundnessPercentOf(float soundness) {
    const double percent = std::nearbyint(static_cast<double>(soundness) * 100.0);
    if (!std::isfinite(percent) || percent < 0.0 || percent > 100.0 ||
        !Offers(RoundwoodLimit::Soundness, static_cast<int>(percent)) ||
        static_cast<float>(percent * 0.01) != soundness) {
        return std::nullopt;
    }
    return static_cast<int>(percent);
}

// A slot without a name is never chosen, so its limits mean nothing: off their lists they
// become the editor's first choices instead of refusing the set.
RoundwoodProductChoices ChoicesOf(std::size_t product, const RoundwoodProductSpec& definition) {
    RoundwoodProductChoices choices;
    choices.Name = definition.Name;
    choices.Unit = UnitChoiceOf(product, definition);
    const std::optional<int> soundness = SoundnessPercentOf(definition.Soundness);
    const std::array<int, kRoundwoodLimitCount> stored = {
        definition.MinDiameter, definition.MaxDiameter, definition.MinLength, definition.MaxLength,
        soundness.value_or(0)};
    for (std::size_t l = 0; l < kRoundwoodLimitCount; ++l) {
        const auto limit = static_cast<RoundwoodLimit>(l);
        if (Offers(limit, stored[l])) {
            choices.Limits[l] = stored[l];
        } else if (definition.IsDefined()) {
            const std::string value = limit == RoundwoodLimit::Soundness
                                          ? FormatGeneral(definition.Soundness)
                                          : ValueWords(limit, stored[l]);
            throw VarnokError(ProductWords(product, definition.Name) + ": " + RowOf(limit).Words +
                              " " + value + " is not one of the choices.");
        } else {
            choices.Limits[l] = RoundwoodLimitChoices(limit).front();
        }
    }
    if (definition.IsDefined()) {
        CheckLimits(product, choices);
    }
    return choices;
}

} // namespace

const std::array<RoundwoodUnitChoice, 5>& RoundwoodUnitChoices() {
    static constexpr std::array<RoundwoodUnitChoice, 5> kChoices = {{
        {"Cords", "Cords"},
        {"Cubic Ft", "Cubic Feet"},
        {"MBF", "MBF"},
        {"Tons", "Tons"},
        {"Cubic M", "Cubic Meters"},
    }};
    return kChoices;
}

const std::array<CullChoice, 3>& CullChoices() {
    static constexpr std::array<CullChoice, 3> kChoices = {{
        {"No Cull Penalty", "none", "none"},
        {"Cull Penalty (cubic feet)", "Cull", "Cubic Feet"},
        {"Cull Penalty (cubic meters)", "Cull", "Cubic Meters"},
    }};
    return kChoices;
}

const char* RoundwoodLimitLabel(RoundwoodLimit limit) {
    return RowOf(limit).Label;
}

const std::vector<int>& RoundwoodLimitChoices(RoundwoodLimit limit) {
    static const std::vector<int> kDiameters = Steps(8, 50, 1);
    static const std::vector<int> kLengths = Steps(8, 16, 2);
    static const std::vector<int> kSoundness = Steps(5, 100, 5);
    switch (limit) {
    case RoundwoodLimit::MinDiameter:
    case RoundwoodLimit::MaxDiameter:
        return kDiameters;
    case RoundwoodLimit::MinLength:
    case RoundwoodLimit::MaxLength:
        return kLengths;
    case RoundwoodLimit::Soundness:
        break;
    }
    return kSoundness;
}

const char* RoundwoodSoundnessNote() {
    return "Required Soundness is the largest deduction a log may carry: 25 means at least 75 % "
           "sound.";
}

RoundwoodProductSet RoundwoodSetFromChoices(const RoundwoodChoices& choices) {
    if (choices.Cull >= CullChoices().size()) {
        throw VarnokError("There is no cull choice " + std::to_string(choices.Cull + 1) + ".");
    }
    RoundwoodProductSet set;
    for (std::size_t p = 0; p < kRoundwoodProductCount; ++p) {
        set.Products[p] = SpecFrom(p + 1, choices.Products[p]);
    }
    set.CullHandling = CullChoices()[choices.Cull].Handling;
    set.CullUnits = CullChoices()[choices.Cull].Units;
    return set;
}

RoundwoodChoices RoundwoodChoicesOf(const RoundwoodProductSet& set) {
    RoundwoodChoices choices;
    for (std::size_t p = 0; p < kRoundwoodProductCount; ++p) {
        choices.Products[p] = ChoicesOf(p + 1, set.Products[p]);
    }
    if (set.CullHandling.empty() && set.CullUnits.empty()) {
        return choices;
    }
    const auto& culls = CullChoices();
    const auto found = std::find_if(culls.begin(), culls.end(), [&](const CullChoice& c) {
        return set.CullHandling == c.Handling && set.CullUnits == c.Units;
    });
    if (found == culls.end()) {
        throw VarnokError("The cull pair \"" + set.CullHandling + "\"/\"" + set.CullUnits +
                          "\" is none of the three cull choices.");
    }
    choices.Cull = static_cast<std::size_t>(found - culls.begin());
    return choices;
}

std::string RoundwoodProductHeader(std::size_t product) {
    return "Product " + std::to_string(product);
}

RoundwoodEditorTable RoundwoodEditorHeaders() {
    RoundwoodEditorTable cells;
    for (std::size_t p = 1; p <= kRoundwoodProductCount; ++p) {
        cells[p][0] = RoundwoodProductHeader(p);
    }
    cells[0][1] = "Product Name";
    cells[0][2] = "Units";
    return cells;
}

RoundwoodViewerTable RoundwoodViewerHeaders() {
    RoundwoodViewerTable cells;
    for (std::size_t p = 1; p <= kRoundwoodProductCount; ++p) {
        cells[p][0] = RoundwoodProductHeader(p);
    }
    cells[4][0] = "Cull Material";
    const std::array<const char*, kRoundwoodViewerRows - 1> rows = {
        "Product Name",     "Units",        "Min Dia. (in.)", "Max Dia. (in.)", "Min Length (ft.)",
        "Max Length (ft.)", "Soundness (%)"};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        cells[0][r + 1] = rows[r];
    }
    return cells;
}

RoundwoodViewerTable RoundwoodViewerCells(const RoundwoodProductSet& set) {
    RoundwoodViewerTable cells = RoundwoodViewerHeaders();
    for (std::size_t p = 0; p < kRoundwoodProductCount; ++p) {
        const RoundwoodProductSpec& definition = set.Products[p];
        auto& column = cells[p + 1];
        column[1] = definition.Name;
        column[2] = definition.Units;
        column[3] = std::to_string(definition.MinDiameter);
        column[4] = std::to_string(definition.MaxDiameter);
        column[5] = std::to_string(definition.MinLength);
        column[6] = std::to_string(definition.MaxLength);
        column[7] = FormatFixed(definition.Soundness, 2);
    }
    cells[4][1] = set.CullHandling;
    cells[4][2] = set.CullUnits;
    return cells;
}

} // namespace varnok
