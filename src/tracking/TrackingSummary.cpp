#include "tracking/TrackingSummary.h"

#include "rules/SaleUnits.h"
#include "support/Csv.h"
#include "support/Errors.h"
#include "support/Numbers.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace varnok {
namespace {

constexpr int kGridRows = 24;
constexpr int kGridColumns = 16;
constexpr int kFirstLogColumn = 2;
constexpr int kPlainWidth = 100; // pixels
constexpr const char* kBoardFeetUnit = "mbf";
constexpr const char* kShortPieces = "Short Pieces ($)";

void CheckUser(const TrackingSession& session, int user) {
    if (user < 1 || user > session.UserCount()) {
        throw VarnokError("Tracking: bucker " + std::to_string(user) + " is outside 1 to " +
                          std::to_string(session.UserCount()) + ".");
    }
}

void CheckPosition(const TrackingSession& session, int position) {
    if (position < 1 || position > session.TreeCount()) {
        throw VarnokError("Tracking: tree position " + std::to_string(position) +
                          " is outside 1 to " + std::to_string(session.TreeCount()) + ".");
    }
}

// The store keeps a culled log's charge as a positive value; every total and every shown value
// counts it against the pattern, as the comparison does.
float NetValue(const TrackedLog& log) {
    return log.ProductClass == kCullProduct ? -log.Value : log.Value;
}

// The store's "mbf" logs hold board feet, not thousands of them.
std::string ShownUnit(const std::string& unit) {
    return unit == kBoardFeetUnit ? "bf" : unit;
}

void AddLogs(const std::vector<TrackedLog>& logs, float& value, float& boardFeet,
             float& cubicFeet) {
    for (const TrackedLog& log : logs) {
        value += NetValue(log);
        if (log.Unit == kBoardFeetUnit) {
            boardFeet += log.ShownVolume;
        } else if (log.Unit == "ft3") {
            cubicFeet += log.ShownVolume;
        }
    }
}

// A deduction fraction in per cent, as the grids and the file show it.
std::string DeductionPercent(float fraction) {
    return FormatSevenDigits(double{fraction} * 100.0, 1);
}

std::string Percent(double percent) {
    return FormatSevenDigits(percent, 1) + " %";
}

// Signed: a bucker who beats the optimum is shown a negative loss, and a negative gain.
double PotentialGain(float optimal, float bucker) {
    return bucker == 0.0F ? 0.0 : (double{optimal} - bucker) * 100.0 / std::fabs(double{bucker});
}

double Loss(float optimal, float bucker) {
    return optimal == 0.0F ? 0.0 : (double{optimal} - bucker) * 100.0 / std::fabs(double{optimal});
}

std::string Difference(float optimal, float bucker) {
    return FormatSevenDigits(double{bucker} - optimal, 1);
}

SummaryGrid EmptyGrid(int columns, int labelWidth) {
    SummaryGrid grid;
    grid.Cells.assign(kGridRows, std::vector<std::string>(static_cast<std::size_t>(columns)));
    grid.ColumnWidths.assign(static_cast<std::size_t>(columns), kPlainWidth);
    grid.ColumnWidths[0] = labelWidth;
    grid.ColumnWidths[1] = 10;
    return grid;
}

void SetRow(SummaryGrid& grid, int row, std::initializer_list<std::string> texts) {
    std::size_t column = 0;
    for (const std::string& text : texts) {
        grid.Cells[static_cast<std::size_t>(row)][column++] = text;
    }
}

void WritePattern(SummaryGrid& grid, int firstRow, const std::vector<TrackedLog>& logs,
                  const Market& market) {
    static const std::array<const char*, 8> labels = {"Large End Diameter (in)",
                                                      "Small End Diameter (in)",
                                                      "Segment Length (in)",
                                                      "Scale",
                                                      "Sweep Deduction (%)",
                                                      "Cull Deduction (%)",
                                                      "Grade",
                                                      "Value ($)"};
    for (std::size_t k = 0; k < labels.size(); ++k) {
        grid.Cells[static_cast<std::size_t>(firstRow) + 1 + k][0] = labels[k];
    }
    for (std::size_t n = 0; n < logs.size(); ++n) {
        const TrackedLog& log = logs[n];
        const std::array<std::string, 9> column = {"Segment " + std::to_string(n + 1),
                                                   std::to_string(log.LED),
                                                   std::to_string(log.SED),
                                                   std::to_string(log.LengthInches),
                                                   FormatSevenDigits(log.ShownVolume, 1) + " " +
                                                       ShownUnit(log.Unit),
                                                   DeductionPercent(log.SweepDeduction),
                                                   DeductionPercent(log.Deduction),
                                                   SummaryGradeName(log.ProductClass, market),
                                                   FormatSevenDigits(NetValue(log), 2)};
        for (std::size_t k = 0; k < column.size(); ++k) {
            grid.Cells[static_cast<std::size_t>(firstRow) + k][kFirstLogColumn + n] = column[k];
        }
    }
}

// The pieces too short to grade have no column; what they were charged goes on the row under
// the pattern's values, so that the pattern's values still add up to its total.
void WriteShortPieces(SummaryGrid& grid, int row, float charge) {
    if (charge > 0.0F) {
        SetRow(grid, row, {kShortPieces, "", FormatSevenDigits(-charge, 2)});
    }
}

// Characters of UTF-8 text, which is what a fixed-pitch printout aligns.
std::size_t Characters(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Text lines of a grid with each column as wide as its widest text: labels left-aligned,
// figures right-aligned; empty columns and trailing empty rows are left out.
std::vector<std::string> GridLines(const SummaryGrid& grid) {
    std::vector<std::size_t> widths(static_cast<std::size_t>(grid.Columns()), 0);
    int lastRow = -1;
    for (int row = 0; row < grid.Rows(); ++row) {
        for (int column = 0; column < grid.Columns(); ++column) {
            const std::size_t size = Characters(grid.At(column, row));
            widths[static_cast<std::size_t>(column)] =
                std::max(widths[static_cast<std::size_t>(column)], size);
            lastRow = size > 0 ? row : lastRow;
        }
    }
    std::vector<std::string> lines;
    for (int row = 0; row <= lastRow; ++row) {
        std::string line;
        for (int column = 0; column < grid.Columns(); ++column) {
            const std::size_t width = widths[static_cast<std::size_t>(column)];
            if (width == 0) {
                continue;
            }
            const std::string& text = grid.At(column, row);
            const std::string blanks(width - Characters(text), ' ');
            line += column == 0 ? text + blanks : "  " + blanks + text;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TreeSums SumTrackedTree(const TrackingResultStore& store, int user, int position) {
    TreeSums sums;
    AddLogs(store.RecordedLogs(user, position, PatternKind::Optimal), sums.OV, sums.OM, sums.OF);
    AddLogs(store.RecordedLogs(user, position, PatternKind::Bucker), sums.BV, sums.BM, sums.BF);
    sums.OV -= store.ShortPieceCharge(user, position, PatternKind::Optimal);
    sums.BV -= store.ShortPieceCharge(user, position, PatternKind::Bucker);
    return sums;
}

TreeSums SumSession(const TrackingSession& session, int user) {
    CheckUser(session, user);
    TreeSums total;
    for (int position = 1; position <= session.TreeCount(); ++position) {
        const TreeSums tree = SumTrackedTree(session.Results(), user, position);
        total.OV += tree.OV;
        total.OM += tree.OM;
        total.OF += tree.OF;
        total.BV += tree.BV;
        total.BM += tree.BM;
        total.BF += tree.BF;
    }
    return total;
}

const std::string& SummaryGrid::At(int column, int row) const {
    static const std::string nothing;
    if (row < 0 || row >= Rows() || column < 0 || column >= Columns()) {
        return nothing;
    }
    return Cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

int SummaryGrid::Rows() const {
    return static_cast<int>(Cells.size());
}

int SummaryGrid::Columns() const {
    return Cells.empty() ? 0 : static_cast<int>(Cells.front().size());
}

SummaryGrid SessionSummary(const TrackingSession& session, int user) {
    const TreeSums s = SumSession(session, user);
    SummaryGrid grid = EmptyGrid(kGridColumns, 110);
    const std::string trees = std::to_string(session.TreeCount());
    SetRow(grid, 0,
           {"SESSION SUMMARY", "", "Optimal", "Bucker", "Difference", "Potenial % Gain", "% Loss"});
    SetRow(grid, 1, {"Number of Trees", "", trees, trees});
    SetRow(grid, 2,
           {"Total Value ($)", "", FormatSevenDigits(s.OV, 2), FormatSevenDigits(s.BV, 2),
            Difference(s.OV, s.BV), Percent(PotentialGain(s.OV, s.BV)), Percent(Loss(s.OV, s.BV))});
    SetRow(grid, 3,
           {"Total Scale (bf)", "", FormatSevenDigits(s.OM, 1), FormatSevenDigits(s.BM, 1),
            Difference(s.OM, s.BM), Percent(PotentialGain(s.OM, s.BM)), Percent(Loss(s.OM, s.BM))});
    SetRow(grid, 4,
           {"Total Scale (ft3)", "", FormatSevenDigits(s.OF, 1), FormatSevenDigits(s.BF, 1),
            Difference(s.OF, s.BF), Percent(PotentialGain(s.OF, s.BF)), Percent(Loss(s.OF, s.BF))});
    return grid;
}

SummaryGrid TreeSummary(const TrackingSession& session, int user, int position,
                        const Market& market) {
    CheckUser(session, user);
    CheckPosition(session, position);
    const TrackingResultStore& store = session.Results();
    const std::vector<TrackedLog> optimal =
        store.RecordedLogs(user, position, PatternKind::Optimal);
    const std::vector<TrackedLog> bucker = store.RecordedLogs(user, position, PatternKind::Bucker);
    const int logColumns = static_cast<int>(std::max(optimal.size(), bucker.size()));
    SummaryGrid grid = EmptyGrid(std::max(kGridColumns, kFirstLogColumn + logColumns), 120);
    grid.Cells[0][0] = "OPTIMAL";
    WritePattern(grid, 0, optimal, market);
    grid.Cells[10][0] = "BUCKER";
    WritePattern(grid, 10, bucker, market);
    WriteShortPieces(grid, 9, store.ShortPieceCharge(user, position, PatternKind::Optimal));
    WriteShortPieces(grid, 19, store.ShortPieceCharge(user, position, PatternKind::Bucker));
    const TreeSums s = SumTrackedTree(store, user, position);
    SetRow(grid, 20, {"TREE SUMMARY", "", "Optimal", "Bucker", "Difference"});
    SetRow(grid, 21,
           {"Value ($)", "", FormatSevenDigits(s.OV, 2), FormatSevenDigits(s.BV, 2),
            Difference(s.OV, s.BV)});
    SetRow(grid, 22,
           {"Scale (bf)", "", FormatSevenDigits(s.OM, 1), FormatSevenDigits(s.BM, 1),
            Difference(s.OM, s.BM)});
    SetRow(grid, 23,
           {"Scale (ft3)", "", FormatSevenDigits(s.OF, 1), FormatSevenDigits(s.BF, 1),
            Difference(s.OF, s.BF)});
    return grid;
}

std::string SummaryGradeName(int productClass, const Market& market) {
    static const std::array<const char*, 6> names = {"#1 Veneer", "#2 Veneer", "#3 Veneer",
                                                     "#1 Saw",    "#2 Saw",    "#3 Saw"};
    if (productClass >= 1 && productClass <= 6) {
        return names[static_cast<std::size_t>(productClass - 1)];
    }
    if (productClass >= 7 && productClass <= 9) {
        return market.Roundwood.Products[static_cast<std::size_t>(productClass - 7)].Name;
    }
    return "Cull";
}

std::vector<TreeValues> ValuesPerTree(const TrackingSession& session, int user) {
    CheckUser(session, user);
    std::vector<TreeValues> values;
    for (int position = 1; position <= session.TreeCount(); ++position) {
        const TreeSums s = SumTrackedTree(session.Results(), user, position);
        values.push_back(
            {position, session.Trees()[static_cast<std::size_t>(position - 1)], s.OV, s.BV});
    }
    return values;
}

std::string SessionCsv(const TrackingSession& session, const Market& market) {
    std::string text = "Bucker,Tree,Pattern,Segment,Length (in),Product,Small End Diameter (in),"
                       "Sweep (%),Cull (%),Volume,Unit,Value ($)\r\n";
    for (int user = 1; user <= session.UserCount(); ++user) {
        for (int position = 1; position <= session.TreeCount(); ++position) {
            const std::string tree =
                std::to_string(session.Trees()[static_cast<std::size_t>(position - 1)]);
            for (const PatternKind kind : {PatternKind::Optimal, PatternKind::Bucker}) {
                const char* pattern = kind == PatternKind::Optimal ? "Optimal" : "Bucker";
                int segment = 0;
                for (const TrackedLog& log : session.Results().RecordedLogs(user, position, kind)) {
                    text += std::to_string(user) + "," + tree + "," + pattern + "," +
                            std::to_string(++segment) + "," + std::to_string(log.LengthInches) +
                            "," + CsvField(SummaryGradeName(log.ProductClass, market)) + "," +
                            std::to_string(log.SED) + "," + DeductionPercent(log.SweepDeduction) +
                            "," + DeductionPercent(log.Deduction) + "," +
                            FormatSevenDigits(log.ShownVolume, 1) + "," +
                            CsvField(ShownUnit(log.Unit)) + "," +
                            FormatSevenDigits(NetValue(log), 2) + "\r\n";
                }
                const float shortPieces = session.Results().ShortPieceCharge(user, position, kind);
                if (shortPieces > 0.0F) {
                    text += std::to_string(user) + "," + tree + "," + pattern +
                            ",,,Short pieces (cull),,,,,," + FormatSevenDigits(-shortPieces, 2) +
                            "\r\n";
                }
            }
        }
    }
    return text;
}

std::vector<std::string> SessionReportLines(const TrackingSession& session, const Market& market) {
    std::vector<std::string> lines;
    const auto append = [&lines](const std::string& heading, const SummaryGrid& grid) {
        lines.push_back(heading);
        lines.push_back("");
        const std::vector<std::string> body = GridLines(grid);
        lines.insert(lines.end(), body.begin(), body.end());
        lines.push_back("");
    };
    for (int user = 1; user <= session.UserCount(); ++user) {
        const std::string bucker = "Bucker " + std::to_string(user);
        append(bucker, SessionSummary(session, user));
        for (int position = 1; position <= session.TreeCount(); ++position) {
            append(bucker + ", Tree" + std::to_string(position) + " (tree number " +
                       std::to_string(session.Trees()[static_cast<std::size_t>(position - 1)]) +
                       ")",
                   TreeSummary(session, user, position, market));
        }
    }
    return lines;
}

} // namespace varnok
