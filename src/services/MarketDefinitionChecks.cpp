#include "services/MarketDefinitionChecks.h"

#include "market/PriceTable.h"
#include "support/Errors.h"
#include "support/Files.h"
#include "support/Numbers.h"

#include <cctype>

namespace varnok {
namespace {

constexpr std::size_t kFirstRoundwoodRow = 6; // 0-based: price rows 7 to 9
constexpr std::size_t kCullRow = 9;           // 0-based: price row 10

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// "\"Tie Logs\" in \"MBF\"": quoted, so that an empty name or unit still shows.
std::string Product(std::string_view name, std::string_view units) {
    return Quoted(name) + " in " + Quoted(units);
}

std::optional<std::string> RowMismatch(const std::string& what, const PriceRow& row,
                                       std::string_view name, std::string_view units) {
    if (row.Name == name && row.Units == units) {
        return std::nullopt;
    }
    return what + " is " + Product(row.Name, row.Units) + " in the price set but " +
           Product(name, units) + " in the roundwood set";
}

bool ChargesCull(const RoundwoodProductSet& roundwood) {
    return roundwood.CullHandling == "Cull";
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : separator) + part;
    }
    return text;
}

} // namespace

const std::array<const char*, kDefineMarketSteps>& DefineMarketStepTexts() {
    static const std::array<const char*, kDefineMarketSteps> texts = {
        "Select a log scaling rule.",    "Select a veneer grading rule.",
        "Select a sawlog grading rule.", "Select a price set.",
        "Select a defect filter set.",   "Select roundwood products.",
        "Select a trim allowance.",      "What would you like to name this market?",
    };
    return texts;
}

std::optional<std::string> MissingMarketChoice(const MarketDefinition& definition) {
    const std::array<bool, kDefineMarketSteps - 1> chosen = {
        !definition.LogRule.empty(),
        !definition.VeneerRules.empty(),
        !definition.SawlogRules.empty(),
        !definition.PriceSet.empty(),
        !definition.FilterSet.empty(),
        !definition.Roundwood.empty(),
        definition.TrimAllowance == 4 || definition.TrimAllowance == 8,
    };
    for (std::size_t step = 0; step < chosen.size(); ++step) {
        if (!chosen[step]) {
            std::string text = DefineMarketStepTexts()[step];
            text.front() =
                static_cast<char>(std::tolower(static_cast<unsigned char>(text.front())));
            return "Step " + std::to_string(step + 1) + " is still open: " + text;
        }
    }
    if (definition.Name.empty()) {
        return "Step 8 is still open: type a name for the market.";
    }
    try {
        CheckPlainName(definition.Name, "market");
    } catch (const VarnokError& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

std::vector<std::string> RoundwoodRowMismatches(const PriceSet& prices,
                                                const RoundwoodProductSet& roundwood) {
    std::vector<std::string> mismatches;
    for (std::size_t p = 0; p < roundwood.Products.size(); ++p) {
        const RoundwoodProductSpec& product = roundwood.Products[p];
        if (!product.IsDefined()) {
            continue;
        }
        if (auto text =
                RowMismatch("product " + std::to_string(p + 1), prices.Rows[kFirstRoundwoodRow + p],
                            product.Name, product.Units)) {
            mismatches.push_back(std::move(*text));
        }
    }
    if (ChargesCull(roundwood)) {
        if (auto text = RowMismatch("cull", prices.Rows[kCullRow], roundwood.CullHandling,
                                    roundwood.CullUnits)) {
            mismatches.push_back(std::move(*text));
        }
    }
    return mismatches;
}

bool ChargesCullWithoutPenalty(const PriceSet& prices, const RoundwoodProductSet& roundwood) {
    return !ChargesCull(roundwood) && ConvertPriceSet(prices, "").Price(10, 8) != 0;
}

std::vector<std::string> MarketDefinitionWarnings(const PriceSet& prices,
                                                  std::string_view pricesName,
                                                  const RoundwoodProductSet& roundwood,
                                                  std::string_view roundwoodName) {
    std::vector<std::string> warnings;
    const std::vector<std::string> mismatches = RoundwoodRowMismatches(prices, roundwood);
    if (!mismatches.empty()) {
        warnings.push_back("The roundwood rows of the price set " + Quoted(pricesName) +
                           " do not match the roundwood product set " + Quoted(roundwoodName) +
                           ": " + Joined(mismatches, "; ") +
                           ". Each product is priced by the row in its place, in that row's "
                           "units.");
    }
    if (ChargesCullWithoutPenalty(prices, roundwood)) {
        const PriceRow& cull = prices.Rows[kCullRow];
        warnings.push_back("The roundwood product set " + Quoted(roundwoodName) +
                           " charges no cull penalty, but the price set " + Quoted(pricesName) +
                           " prices cull at " + FormatGeneral(cull.Prices[0]) + " per " +
                           Quoted(cull.Units) +
                           ", so every log sold as cull is charged all the same.");
    }
    return warnings;
}

std::vector<std::string> MarketDefinitionWarnings(const DataFolder& data,
                                                  const MarketDefinition& definition) {
    const PriceSet prices = ReadPriceSet(FindEntry(data.Prices(), definition.PriceSet));
    const RoundwoodProductSet roundwood =
        ReadRoundwoodProducts(FindEntry(data.Roundwood(), definition.Roundwood));
    return MarketDefinitionWarnings(prices, definition.PriceSet, roundwood, definition.Roundwood);
}

} // namespace varnok
