#pragma once

#include <string>
#include <vector>

namespace varnok {

// Why a log took the grades and the product it did: one verdict per product the log was
// tested for, in the words of the rule that decided it.
//
// `Rule` is a short stable identifier of that rule:
//   sawlog grades (engine order): "sed", "sweep", "deduction", "length", "butt_only",
//     "clear_cuttings", "stain";
//   veneer grades (engine order): "length", "sed", "sweep", "stain", "fork_bulge", "decay",
//     "heart", "seam_length", "seam_straight", "knot_size", "defect_count";
//   roundwood products (engine order): "length", "sed", "deduction";
//   the product the log sells as: "value".
// `Detail` gives the log's numbers against the limit, e.g. "SED 11 in. outside 12 to 99 in.".
struct GradeReason {
    std::string Product;  // the market's product name
    int ProductClass = 0; // 1-3 veneer, 4-6 sawlog, 7-9 roundwood, 10 cull
    bool Passed = false;  // the log met the product (for "value": it sells as it)
    std::string Rule;
    std::string Detail;
};

// What the graders fill while they grade one log, when they are handed one; the optimiser
// hands them none and pays nothing for it.
//
// A grade may be tried through several rule cells and, after it was reached, lowered by a
// stain downgrade, so a product may receive several steps. Each step has a stage: the rank of
// its rule in the grader's order for that product. A product's verdict is its step of the
// furthest stage, the last one among equals: the cell that came closest to the grade, or what
// happened last to the grade that was reached.
// A verdict as one readable line: "passed" or "failed", the product, the rule and the log's
// numbers, e.g. "failed  #1 Sawlog  sed: SED 11 in. outside 12 to 99 in.". Every place that
// shows a reason to a user writes it this way.
std::string ReasonLine(const GradeReason& reason);

class GradeTrace {
public:
    void Record(int productClass, int stage, bool passed, std::string rule, std::string detail);
    // One verdict per product that received a step, in product class order (best first);
    // `Product` is left empty for the caller to name.
    std::vector<GradeReason> Verdicts() const;

private:
    struct Step {
        int Stage = 0;
        GradeReason Reason;
    };
    std::vector<Step> steps_;
};

} // namespace varnok
