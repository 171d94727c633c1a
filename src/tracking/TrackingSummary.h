#pragma once

#include "market/Market.h"
#include "tracking/TrackingSession.h"
#include "tracking/TrackingStore.h"

#include <string>
#include <vector>

namespace varnok {

// Sums over the recorded slots of one bucker and position. Values are net, as the comparison's
// net line: the values of logs not sold as cull minus the cull charges of logs sold as cull and
// of the pieces too short to grade. M = board feet (unit "mbf"
// in the store), F = cubic feet ("ft3"). Single precision, as stored.
struct TreeSums {
    float OV = 0, OM = 0, OF = 0, BV = 0, BM = 0, BF = 0;
};

// Throws VarnokError for a user or position out of range of the store.
TreeSums SumTrackedTree(const TrackingResultStore& store, int user, int position);
// Over positions 1..TreeCount (all 0 before the trees are drawn). Throws VarnokError for a
// user outside 1..UserCount.
TreeSums SumSession(const TrackingSession& session, int user);

// A grid of texts, at least 24 rows by 16 columns; wider when a pattern has more than 14 logs.
struct SummaryGrid {
    std::vector<std::vector<std::string>> Cells; // [row][column]
    // Pixels, one per column (the figures given for the summaries; 100 elsewhere).
    std::vector<int> ColumnWidths;
    const std::string& At(int column, int row) const; // "" outside the grid
    int Rows() const;
    int Columns() const;
};

// Throws VarnokError for a user outside 1..UserCount.
SummaryGrid SessionSummary(const TrackingSession& session, int user);
// `market` gives the roundwood product names for classes 7 to 9. The row under a pattern's
// values (rows 9 and 19) gives what its pieces too short to grade were charged, if anything. Throws
// VarnokError for a user outside 1..UserCount or a position outside 1..TreeCount.
SummaryGrid TreeSummary(const TrackingSession& session, int user, int position,
                        const Market& market);
// "#1 Veneer" .. "#3 Saw", roundwood names, "Cull" (also for any other class).
std::string SummaryGradeName(int productClass, const Market& market);

// The chart's numbers: per position of the session, the tree number and the net values.
struct TreeValues {
    int Position = 0;
    int TreeNumber = 0;
    float Optimal = 0;
    float Bucker = 0;
};
// Empty before the trees are drawn. Throws VarnokError for a user outside 1..UserCount.
std::vector<TreeValues> ValuesPerTree(const TrackingSession& session, int user);

// The whole session as comma-separated text, UTF-8, a header line then one line per recorded
// log: bucker, tree (number), pattern ("Optimal"/"Bucker"), segment (1.. without gaps), length
// (inches), product (the summary grade name), small-end diameter (inches), sweep (deduction %,
// one decimal), cull (deduction %, one decimal), volume (one decimal), unit ("bf" or "ft3"),
// value (dollars, two decimals; a log sold as cull gives its charge as a negative value, so the
// column sums to the net). A pattern whose pieces too short to grade were charged gets one more
// line, product "Short pieces (cull)", with only the charge, negative. Fields quoted as the
// products file is (one shared CSV field helper). Every line ends in CR LF.
std::string SessionCsv(const TrackingSession& session, const Market& market);

// Fixed-pitch text lines of the whole session for printing: for each bucker its session
// summary, then each tree summary, as aligned columns.
std::vector<std::string> SessionReportLines(const TrackingSession& session, const Market& market);

} // namespace varnok
