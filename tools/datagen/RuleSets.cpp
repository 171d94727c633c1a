#include "RuleSets.h"

#include "support/Errors.h"
#include "support/Numbers.h"

#include <functional>
#include <system_error>

namespace varnok::datagen {
namespace {

constexpr std::array<int, 5> kLengths = {8, 10, 12, 14, 16};
constexpr int kFirstRuleDiameter = 6;
constexpr int kLastRuleDiameter = 50;

// ---------------------------------------------------------------------------------------------
// Log rules

LogRuleTable RuleFromFormula(const std::function<double(int, int)>& volume) {
    LogRuleTable table;
    for (int d = kFirstRuleDiameter; d <= kLastRuleDiameter; ++d) {
        LogRuleEntry& entry = table.Entries[static_cast<std::size_t>(d - 1)];
        entry.Diameter = d;
        for (std::size_t i = 0; i < kLengths.size(); ++i) {
            entry.Volume[i] = volume(d, kLengths[i]);
        }
    }
    return table;
}

// Board feet of one 4-ft section of small-end diameter d: 19/21 of (0.22 d^2 - 0.71 d), the
// 1/8-inch formula scaled to a 1/4-inch kerf.
double InternationalSection(double d) {
    return 19.0 / 21.0 * (0.22 * d * d - 0.71 * d);
}

// ---------------------------------------------------------------------------------------------
// Sawlog grades

enum class Yield { Half, TwoThirds, ThreeQuarters, FiveSixths };

float YieldValue(Yield yield) {
    switch (yield) {
    case Yield::Half:
        return 0.5F;
    case Yield::TwoThirds:
        return 0.6666667F; // the editor's 2/3, bits 3F2AAAAB
    case Yield::ThreeQuarters:
        return 0.75F;
    case Yield::FiveSixths:
        return 0.8333333F; // the editor's 5/6, bits 3F555555
    }
    return 0.0F;
}

// One rule cell as the editor's pages define it; percentages as chosen (0 to 100).
struct CellChoices {
    int Grade;
    int DiameterSet;
    int Variation;
    int MinDiameter;
    int MaxDiameter;
    int MinLength;
    int MaxLength;
    bool ButtLogsOnly;
    int ClearCuttingCode; // 2, 3, 5, 7 ft, or 11 to 14 for 1 to 4 clear faces
    int MaxCuttings;      // 99 = no limit
    Yield Fraction;
    int SweepUnder25;
    int SweepOver25;
    int Deduction;
};

// The record as the editor writes it: every cell in use carries the counts of its grade and
// diameter set; cells not in use stay all zero.
SawlogRuleSet BuildSawlogRules(const std::vector<CellChoices>& cells) {
    SawlogRuleSet set;
    int grades = 0;
    std::array<int, 3> diameterSets{};
    std::array<std::array<int, 3>, 3> variations{};
    for (const CellChoices& c : cells) {
        grades = std::max(grades, c.Grade);
        auto& sets = diameterSets[static_cast<std::size_t>(c.Grade - 1)];
        sets = std::max(sets, c.DiameterSet);
        auto& vars = variations[static_cast<std::size_t>(c.Grade - 1)]
                               [static_cast<std::size_t>(c.DiameterSet - 1)];
        vars = std::max(vars, c.Variation);
    }
    for (const CellChoices& c : cells) {
        SawlogRuleCell& cell = set.Cell(c.Grade, c.DiameterSet, c.Variation);
        cell.GradeNumber = static_cast<std::uint8_t>(c.Grade);
        cell.MinDiameter = static_cast<std::uint8_t>(c.MinDiameter);
        cell.MaxDiameter = static_cast<std::uint8_t>(c.MaxDiameter);
        cell.MinLength = static_cast<std::uint8_t>(c.MinLength);
        cell.MaxLength = static_cast<std::uint8_t>(c.MaxLength);
        cell.ButtLogsOnly = c.ButtLogsOnly ? 1 : 0;
        cell.ClearCuttingCode = static_cast<std::uint8_t>(c.ClearCuttingCode);
        cell.MaxClearCuttings = static_cast<std::uint8_t>(c.MaxCuttings);
        cell.YieldFraction = YieldValue(c.Fraction);
        cell.MaxSweepUnder25 = PercentFraction(c.SweepUnder25);
        cell.MaxSweepOver25 = PercentFraction(c.SweepOver25);
        cell.MaxDeduction = PercentFraction(c.Deduction);
        const auto g = static_cast<std::size_t>(c.Grade - 1);
        cell.GradeCount = static_cast<std::uint8_t>(grades);
        cell.DiameterSetCount = static_cast<std::uint8_t>(diameterSets[g]);
        cell.LengthVariationCount =
            static_cast<std::uint8_t>(variations[g][static_cast<std::size_t>(c.DiameterSet - 1)]);
    }
    return set;
}

// ---------------------------------------------------------------------------------------------
// Veneer grades

enum class DefectLimit { ByDiameter, ByLength, Single };

// One veneer grade as its editor pages define it. Per-diameter choices are for 9 to 14 in and
// for 15 in and over; per-length choices for 8, 10, 12, 14 and 16 ft.
struct VeneerGradeChoices {
    int MinDiameter;
    std::array<bool, 5> Lengths;
    std::array<int, 6> SweepSmall; // inches, 9 to 14 in
    int SweepLarge;
    DefectLimit Defects;
    std::array<int, 6> DefectsSmall;
    int DefectsLarge;
    std::array<int, 5> DefectsByLength;
    int DefectsSingle;
    int KnotSize;   // inches
    int SeamLength; // feet
    std::array<bool, 5> InLine;
    int InLineAngle; // degrees
    std::array<int, 6> HoleSmall;
    int HoleLarge;
    int HeartPercent;
    std::array<bool, 5> Halves;
};

std::size_t DiameterIndex(int d) {
    return static_cast<std::size_t>(d - 9);
}
std::size_t LengthIndex(int feet) {
    return static_cast<std::size_t>(feet - 8);
}

// The editor fills 9 to 14 in individually (0 below the minimum diameter) and stores the
// choice for 15 in and over at every diameter from 15 to 50 in.
template <typename T, std::size_t N>
void FillByDiameter(std::array<T, N>& values, int minDiameter, const std::array<int, 6>& small,
                    int large) {
    for (int d = 9; d <= 14; ++d) {
        values[DiameterIndex(d)] =
            static_cast<T>(d >= minDiameter ? small[static_cast<std::size_t>(d - 9)] : 0);
    }
    for (int d = 15; d <= 50; ++d) {
        values[DiameterIndex(d)] = static_cast<T>(large);
    }
}

VeneerGradeRules BuildVeneerGrade(const VeneerGradeChoices& choices) {
    VeneerGradeRules b;
    b.MinSmallEndDiameter = static_cast<std::uint8_t>(choices.MinDiameter);
    for (std::size_t i = 0; i < kLengths.size(); ++i) {
        const std::size_t at = LengthIndex(kLengths[i]);
        const bool accepted = choices.Lengths[i];
        b.LengthAccepted[at] = accepted ? 1 : 0;
        b.InLineCountsAsOne[at] = accepted && choices.InLine[i] ? 1 : 0;
        b.HalvesSeparate[at] = accepted && choices.Halves[i] ? 1 : 0;
        if (choices.Defects == DefectLimit::ByLength) {
            b.MaxDefectsForLength[at] =
                static_cast<std::uint8_t>(accepted ? choices.DefectsByLength[i] : 0);
        }
    }
    FillByDiameter(b.MaxSweep, choices.MinDiameter, choices.SweepSmall, choices.SweepLarge);
    switch (choices.Defects) {
    case DefectLimit::ByDiameter:
        b.DefectsVaryWithDiameter = 1;
        FillByDiameter(b.MaxDefectsForDiameter, choices.MinDiameter, choices.DefectsSmall,
                       choices.DefectsLarge);
        break;
    case DefectLimit::ByLength:
        b.DefectsVaryWithLength = 1;
        break;
    case DefectLimit::Single:
        b.MaxDefects = static_cast<std::uint8_t>(choices.DefectsSingle);
        break;
    }
    b.MaxKnotSize = static_cast<std::uint8_t>(choices.KnotSize);
    b.MaxSeamLength = static_cast<std::uint8_t>(choices.SeamLength);
    b.MaxInLineAngle = static_cast<std::uint8_t>(choices.InLineAngle);
    FillByDiameter(b.MaxHoleForDiameter, choices.MinDiameter, choices.HoleSmall, choices.HoleLarge);
    b.MaxHeartPercent = static_cast<float>(choices.HeartPercent);
    b.ReservedMaxHeight = 100;
    return b;
}

// ---------------------------------------------------------------------------------------------
// Prices, dollars per unit. Grade prices are a mixed-hardwood average of delivered prices per
// MBF Doyle; the International and Scribner sets take them over 1.2 and 1.1 (those rules give
// more board feet). Length matters through grade limits mostly: 8 ft logs fetch 90% and 10 ft
// logs 95% of the price of 12 to 16 ft logs.

constexpr std::array<double, 6> kDoyleGradePrices = {1200, 800, 575, 540, 385, 215};
constexpr std::array<double, 5> kLengthFactors = {0.90, 0.95, 1.0, 1.0, 1.0};
constexpr double kCullPricePerCubicFoot = 1.0;

struct RoundwoodPrices {
    double Product1;
    double Product2;
    double Product3;
};

PriceRow FlatRow(const std::string& name, const std::string& units, double price) {
    PriceRow row;
    row.Name = name;
    row.Units = units;
    row.Prices.fill(price);
    return row;
}

// Grade prices over `ruleFactor`, rounded to $5, then per length to whole dollars.
PriceSet BuildPriceSet(double ruleFactor, const RoundwoodProductSet& roundwood,
                       const RoundwoodPrices& roundwoodPrices) {
    PriceSet set;
    for (std::size_t r = 0; r < kDoyleGradePrices.size(); ++r) {
        PriceRow& row = set.Rows[r];
        row.Name = FixedPriceRowNames()[r];
        row.Units = "MBF";
        const double base = 5.0 * RoundHalfEven(kDoyleGradePrices[r] / ruleFactor / 5.0);
        for (std::size_t i = 0; i < kLengthFactors.size(); ++i) {
            row.Prices[i] = RoundHalfEven(base * kLengthFactors[i]);
        }
    }
    const std::array<double, 3> perProduct = {roundwoodPrices.Product1, roundwoodPrices.Product2,
                                              roundwoodPrices.Product3};
    for (std::size_t p = 0; p < 3; ++p) {
        const RoundwoodProductSpec& product = roundwood.Products[p];
        set.Rows[6 + p] = FlatRow(product.Name, product.Units, perProduct[p]);
    }
    set.Rows[9] = FlatRow(roundwood.CullHandling, roundwood.CullUnits, kCullPricePerCubicFoot);
    return set;
}

RoundwoodProductSpec Product(const char* name, const char* units, int minDiameter, int maxDiameter,
                             int minLength, int maxLength, int soundness) {
    RoundwoodProductSpec p;
    p.Name = name;
    p.Units = units;
    p.MinDiameter = static_cast<std::uint8_t>(minDiameter);
    p.MaxDiameter = static_cast<std::uint8_t>(maxDiameter);
    p.MinLength = static_cast<std::uint8_t>(minLength);
    p.MaxLength = static_cast<std::uint8_t>(maxLength);
    p.Soundness = PercentFraction(soundness);
    return p;
}

template <typename Record> using Writer = void (*)(const std::filesystem::path&, const Record&);

template <typename Record>
void WriteInto(const std::filesystem::path& folder, const std::string& name, Writer<Record> write,
               const Record& record, int& count) {
    EnsureFolder(folder);
    write(folder / name, record);
    ++count;
}

} // namespace

LogRuleTable DoyleRule() {
    // Exact: (D - 4)^2 L / 16 is a multiple of 1/8 for even lengths, and scaling rounds anyway.
    return RuleFromFormula(
        [](int d, int length) { return static_cast<double>((d - 4) * (d - 4) * length) / 16.0; });
}

LogRuleTable InternationalQuarterInchRule() {
    return RuleFromFormula([](int d, int length) {
        const int sections = length / 4;
        double volume = 0.0;
        for (int i = 0; i < sections; ++i) {
            volume += InternationalSection(d + 0.5 * i);
        }
        if (length % 4 != 0) {
            volume += 0.5 * InternationalSection(d + 0.5 * sections);
        }
        return 5.0 * RoundHalfEven(volume / 5.0);
    });
}

LogRuleTable ScribnerRule() {
    return RuleFromFormula([](int d, int length) {
        return RoundHalfEven((0.79 * d * d - 2.0 * d - 4.0) * length / 16.0);
    });
}

float PercentFraction(int percent) {
    return static_cast<float>(percent / 100.0);
}

SawlogRuleSet FactoryGrades() {
    using Y = Yield;
    // F1: 10 ft and longer, 2 cuttings yielding 5/6; 13 to 15 in only as butt logs, with 7-ft
    // cuttings, shorter cuttings on larger logs.
    // F2: 8 ft and longer, 3-ft cuttings yielding 2/3; a 10-in log only with an F1 surface,
    // an 11-in log with 2 cuttings at most.
    // F3: 8 in and up, 2-ft cuttings without limit yielding 1/2.
    // Columns: grade, diameter set, variation, diameters, lengths (ft), butt logs only,
    // clear-cutting code, cuttings, yield, sweep (%) under and over 25% end defect, deduction (%).
    return BuildSawlogRules({
        {1, 1, 1, 13, 15, 10, 16, true, 7, 2, Y::FiveSixths, 15, 10, 40},
        {1, 2, 1, 16, 19, 10, 16, false, 5, 2, Y::FiveSixths, 15, 10, 40},
        {1, 3, 1, 20, 50, 10, 16, false, 3, 2, Y::FiveSixths, 15, 10, 40},
        {2, 1, 1, 10, 10, 8, 16, false, 7, 2, Y::FiveSixths, 30, 20, 50},
        {2, 2, 1, 11, 11, 8, 16, false, 3, 2, Y::TwoThirds, 30, 20, 50},
        {2, 3, 1, 12, 50, 8, 16, false, 3, 3, Y::TwoThirds, 30, 20, 50},
        {3, 1, 1, 8, 50, 8, 16, false, 2, 99, Y::Half, 50, 35, 50},
    });
}

SawlogRuleSet ClearFaceGrades() {
    using Y = Yield;
    // A mill buying by clear faces: #1 is 15 in and up, 10 ft and longer, with three clear
    // faces; #2 is 13 in and up with two; #3 takes 10 to 12 in logs with two clear faces and
    // larger ones with one, at most 20% deduction (30% for logs of 12 ft and longer). A face is
    // clear when one cutting covers it (the yield is stored because the editor asks for one; clear
    // faces do not use it). Columns as in FactoryGrades.
    return BuildSawlogRules({
        {1, 1, 1, 15, 50, 10, 16, false, 13, 1, Y::FiveSixths, 15, 10, 30},
        {2, 1, 1, 13, 50, 8, 16, false, 12, 1, Y::FiveSixths, 20, 15, 30},
        {3, 1, 1, 10, 12, 8, 16, false, 12, 1, Y::FiveSixths, 20, 15, 20},
        {3, 2, 1, 13, 50, 8, 10, false, 11, 1, Y::FiveSixths, 20, 15, 20},
        {3, 2, 2, 13, 50, 12, 16, false, 11, 1, Y::FiveSixths, 25, 15, 30},
    });
}

VeneerRuleSet HardwoodVeneer() {
    constexpr std::array<bool, 5> all = {true, true, true, true, true};
    constexpr std::array<bool, 5> none = {false, false, false, false, false};
    constexpr std::array<int, 6> zeros = {0, 0, 0, 0, 0, 0};
    // Prime: 16 in and up, 12 to 16 ft, no defect at all, 1 in of sweep, heart at most 30%
    // of the end.
    const VeneerGradeChoices prime{.MinDiameter = 16,
                                   .Lengths = {false, false, true, true, true},
                                   .SweepSmall = zeros,
                                   .SweepLarge = 1,
                                   .Defects = DefectLimit::Single,
                                   .DefectsSmall = zeros,
                                   .DefectsLarge = 0,
                                   .DefectsByLength = {},
                                   .DefectsSingle = 0,
                                   .KnotSize = 0,
                                   .SeamLength = 0,
                                   .InLine = none,
                                   .InLineAngle = 0,
                                   .HoleSmall = zeros,
                                   .HoleLarge = 1,
                                   .HeartPercent = 30,
                                   .Halves = none};
    // Select: 14 in and up, 10 ft and longer, one small knot (two in 14 and 16 ft logs, where
    // two in line count as one), 1 in of sweep at 14 in and 2 in above, heart at most half the
    // end.
    const VeneerGradeChoices select{.MinDiameter = 14,
                                    .Lengths = {false, true, true, true, true},
                                    .SweepSmall = {0, 0, 0, 0, 0, 1},
                                    .SweepLarge = 2,
                                    .Defects = DefectLimit::ByLength,
                                    .DefectsSmall = zeros,
                                    .DefectsLarge = 0,
                                    .DefectsByLength = {0, 1, 1, 2, 2},
                                    .DefectsSingle = 0,
                                    .KnotSize = 1,
                                    .SeamLength = 0,
                                    .InLine = {false, false, false, true, true},
                                    .InLineAngle = 20,
                                    .HoleSmall = {0, 0, 0, 0, 0, 1},
                                    .HoleLarge = 2,
                                    .HeartPercent = 50,
                                    .Halves = none};
    // Export: 12 in and up, two minor defects (three from 15 in), knots to 2 in, no seams,
    // 2 in of sweep, defects in line within 30 degrees count as one, 16 ft logs judged by
    // halves.
    const VeneerGradeChoices exportGrade{.MinDiameter = 12,
                                         .Lengths = all,
                                         .SweepSmall = {0, 0, 0, 2, 2, 2},
                                         .SweepLarge = 2,
                                         .Defects = DefectLimit::ByDiameter,
                                         .DefectsSmall = {0, 0, 0, 2, 2, 2},
                                         .DefectsLarge = 3,
                                         .DefectsByLength = {},
                                         .DefectsSingle = 0,
                                         .KnotSize = 2,
                                         .SeamLength = 0,
                                         .InLine = all,
                                         .InLineAngle = 30,
                                         .HoleSmall = {0, 0, 0, 2, 2, 2},
                                         .HoleLarge = 3,
                                         .HeartPercent = 50,
                                         .Halves = {false, false, false, false, true}};
    const std::array<std::string, 3> names = {"Prime Veneer", "Select Veneer", "Export Veneer"};
    VeneerRuleSet set;
    const std::array<const VeneerGradeChoices*, 3> grades = {&prime, &select, &exportGrade};
    for (std::size_t g = 0; g < 3; ++g) {
        VeneerGradeRules& block = set.Blocks[g];
        block = BuildVeneerGrade(*grades[g]);
        block.GradeCount = 3;
        block.GradeNames = names;
    }
    return set;
}

RoundwoodProductSet AppalachianRoundwood() {
    RoundwoodProductSet set;
    set.Products[0] = Product("Pulpwood", "Tons", 8, 16, 8, 16, 25);
    set.Products[1] = Product("Tie Logs", "MBF", 12, 24, 8, 8, 10);
    set.Products[2] = Product("Fuelwood", "Tons", 8, 50, 8, 16, 100);
    set.CullHandling = "Cull";
    set.CullUnits = "Cubic Feet";
    return set;
}

RoundwoodProductSet NorthernRoundwood() {
    RoundwoodProductSet set;
    set.Products[0] = Product("Pulpwood", "Cords", 8, 24, 8, 16, 50);
    set.Products[1] = Product("Bolts", "Cords", 10, 20, 8, 10, 20);
    set.Products[2] = Product("Fuelwood", "Tons", 8, 50, 8, 16, 100);
    set.CullHandling = "Cull";
    set.CullUnits = "Cubic Feet";
    return set;
}

std::vector<PriceSetFile> PriceSets() {
    // Delivered roundwood: pulpwood $30 a green ton or $90-95 a cord; tie logs $200 per MBF
    // of roundwood (140 cubic feet); bolts $115-120 a cord; fuelwood $12-15 a ton. Each
    // product has its place: ties and bolts pay more than pulpwood for sound short logs,
    // fuelwood takes what pulpwood refuses (unsound or too thick).
    return {
        {"Appalachian Doyle", kAppalachianRoundwoodName,
         BuildPriceSet(1.0, AppalachianRoundwood(), {22, 200, 12})},
        {"Northern International", kNorthernRoundwoodName,
         BuildPriceSet(1.2, NorthernRoundwood(), {80, 95, 15})},
        {"Lake States Scribner", kNorthernRoundwoodName,
         BuildPriceSet(1.1, NorthernRoundwood(), {75, 90, 14})},
    };
}

DefectFilterSet StrictFilterSet() {
    DefectFilterSet set = DefaultDefectFilterSet();
    for (DefectFilterEntry& entry : set.Entries) {
        entry.Flag = 1;
    }
    return set;
}

void EnsureFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder)) {
        throw FileError(folder, ec ? IoErrorText(ec.value()) : "I/O error 20");
    }
}

int WriteRuleSets(const DataFolder& data) {
    int count = 0;
    WriteInto<LogRuleTable>(data.LogRules(), kDoyleName, WriteLogRule, DoyleRule(), count);
    WriteInto<LogRuleTable>(data.LogRules(), kInternationalName, WriteLogRule,
                            InternationalQuarterInchRule(), count);
    WriteInto<LogRuleTable>(data.LogRules(), kScribnerName, WriteLogRule, ScribnerRule(), count);
    WriteInto<SawlogRuleSet>(data.SawGrades(), kFactoryGradesName, WriteSawlogRuleSet,
                             FactoryGrades(), count);
    WriteInto<SawlogRuleSet>(data.SawGrades(), kClearFacesName, WriteSawlogRuleSet,
                             ClearFaceGrades(), count);
    WriteInto<VeneerRuleSet>(data.Veneer(), kVeneerName, WriteVeneerRuleSet, HardwoodVeneer(),
                             count);
    WriteInto<RoundwoodProductSet>(data.Roundwood(), kAppalachianRoundwoodName,
                                   WriteRoundwoodProducts, AppalachianRoundwood(), count);
    WriteInto<RoundwoodProductSet>(data.Roundwood(), kNorthernRoundwoodName, WriteRoundwoodProducts,
                                   NorthernRoundwood(), count);
    for (const PriceSetFile& prices : PriceSets()) {
        WriteInto<PriceSet>(data.Prices(), prices.Name, WritePriceSet, prices.Prices, count);
    }
    WriteInto<DefectFilterSet>(data.Filters(), kDefaultFilterName, WriteDefectFilterSet,
                               DefaultDefectFilterSet(), count);
    WriteInto<DefectFilterSet>(data.Filters(), kStrictFilterName, WriteDefectFilterSet,
                               StrictFilterSet(), count);
    return count;
}

} // namespace varnok::datagen
