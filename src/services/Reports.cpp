#include "services/Reports.h"

#include "rules/SaleUnits.h"
#include "support/Csv.h"
#include "support/Errors.h"
#include "support/Files.h"
#include "support/Numbers.h"
#include "tree/TreeLoad.h"

#include <memory>

namespace varnok {
namespace {

void CheckRange(int from, int to) {
    if (from < 1 || to > kTreeCount || from > to) {
        throw VarnokError("Trees " + std::to_string(from) + " to " + std::to_string(to) +
                          ": give a range within 1 to 150, the first not above the last.");
    }
}

} // namespace

ResearchEntry MakeResearchEntry(const EvaluatedPiece& piece) {
    const LogSegment& s = piece.Log.Segment;
    ResearchEntry entry;
    entry.LengthInches = static_cast<std::int16_t>(s.LengthInches);
    entry.ProductName = piece.ProductName;
    entry.StartPosition = static_cast<std::uint16_t>(s.StartPosition);
    entry.EndPosition = static_cast<std::uint16_t>(s.EndPosition);
    entry.SED = static_cast<std::uint8_t>(s.SED & 0xFF);
    entry.LED = static_cast<std::uint8_t>(s.LED & 0xFF);
    entry.Sweep = s.Sweep;
    entry.SweepDeduction = s.SweepDeduction;
    entry.Deduction = s.Deduction;
    entry.Volume = static_cast<std::int16_t>(RoundToInt(s.ShownVolume));
    entry.VolumeUnit = ReportVolumeUnit(s.ProductClass);
    entry.Value = piece.Log.SoldAsCull() ? -s.Value : s.Value;
    entry.ButtLog = s.ButtLog;
    entry.ProductClass = s.ProductClass;
    return entry;
}

std::vector<std::string> MarketDefinitionLines(const std::string& marketName,
                                               const MarketSpecs& specs) {
    return {"",
            "",
            marketName + " Market Definition",
            "",
            "Veneer Grading Rule : " + specs.VeneerRuleName,
            "Sawlog Grading Rule : " + specs.SawlogRuleName,
            "Roundwood Products : " + specs.RoundwoodName,
            "Log Rule : " + specs.LogRuleName,
            "Price Set : " + specs.PriceSetName,
            "Defect Filter Set : " + specs.FilterSetName,
            "Trim Allowance : " + std::to_string(specs.TrimAllowance) + " inches"};
}

std::vector<std::string> CutLocationLines(const OptimalCutsTable& table, int from, int to) {
    CheckRange(from, to);
    std::vector<std::string> lines = {"",
                                      "",
                                      "Cut Locations Of Optimal Bucking Pattern For Trees " +
                                          std::to_string(from) + " To " + std::to_string(to),
                                      "",
                                      "Distances are in inches from the butt of the tree.",
                                      ""};
    for (int t = from; t <= to; ++t) {
        lines.push_back("Tree Number " + std::to_string(t));
        const std::vector<int> cuts = CutPositions(table.Entry(t));
        for (std::size_t i = 1; i < cuts.size(); ++i) {
            lines.push_back("   Segment " + std::to_string(i) + " : " +
                            std::to_string(cuts[i - 1]) + " To " + std::to_string(cuts[i]));
        }
        lines.emplace_back();
    }
    return lines;
}

ResearchResults ResearchOptimalPatterns(const DataFolder& data, const Market& market, int from,
                                        int to) {
    CheckRange(from, to);
    const OptimalCutsTable table = ReadOptimalCuts(market.OptmcutsPath);
    ResearchResults results;
    for (int t = from; t <= to; ++t) {
        std::vector<ResearchEntry>& entries = results[t];
        if (CutPositions(table.Entry(t)).empty()) {
            continue;
        }
        const std::unique_ptr<Tree> tree = LoadTree(data, t, market.Filter);
        const std::vector<int> cuts = StoredOptimalCuts(table, market.OptmcutsPath, t, *tree);
        for (const EvaluatedPiece& piece : EvaluatePattern(*tree, market, cuts).Pieces) {
            if (piece.Log.Graded) {
                entries.push_back(MakeResearchEntry(piece));
            }
        }
    }
    return results;
}

std::vector<std::string> ProductsReportLines(const ResearchResults& results, int from, int to) {
    CheckRange(from, to);
    std::vector<std::string> lines = {"", ""};
    for (int t = from; t <= to; ++t) {
        lines.push_back("Tree Number " + std::to_string(t));
        lines.emplace_back();
        const auto found = results.find(t);
        if (found == results.end()) {
            continue;
        }
        int segment = 0;
        for (const ResearchEntry& e : found->second) {
            lines.push_back("   Segment: " + std::to_string(++segment));
            lines.push_back("   Length: " + std::to_string(e.LengthInches) + " inches");
            lines.push_back("   Product: " + e.ProductName);
            lines.push_back("   S.E.D.: " + std::to_string(e.SED) + " inches");
            lines.push_back("   % Sweep: " + FormatFixed(e.SweepDeduction, 2));
            lines.push_back("   % Cull: " + FormatFixed(e.Deduction, 2));
            lines.push_back("   Volume: " + std::to_string(e.Volume) + " " + e.VolumeUnit);
            lines.push_back("   Value: $" + FormatFixed(e.Value, 2));
            lines.emplace_back();
        }
    }
    return lines;
}

std::vector<std::string> ProductsFileLines(const ResearchResults& results, int from, int to) {
    CheckRange(from, to);
    std::vector<std::string> lines = {
        "", "tree,segment,length,product,s.e.d.,sweep,cull,volume,value", ""};
    for (int t = from; t <= to; ++t) {
        const auto found = results.find(t);
        if (found == results.end()) {
            continue;
        }
        int segment = 0;
        for (const ResearchEntry& e : found->second) {
            lines.push_back(std::to_string(t) + "," + std::to_string(++segment) + "," +
                            std::to_string(e.LengthInches) + "," + CsvField(e.ProductName) + "," +
                            std::to_string(e.SED) + "," + FormatFixed(e.SweepDeduction, 2) + "," +
                            FormatFixed(e.Deduction, 2) + "," + std::to_string(e.Volume) + "," +
                            FormatFixed(e.Value, 2));
        }
    }
    return lines;
}

} // namespace varnok
