#pragma once

#include "market/Market.h"
#include "tree/Tree.h"

#include <string>
#include <vector>

namespace varnok {

// The code a butt log grade keeps when no trial log was graded: worse than every product code.
inline constexpr int kNoButtLogGrade = 20;

// One trial of the butt log: a 10 ft log with its trim, cut 4 × i inches above the butt.
struct ButtLogTrial {
    int Start = 0;       // inches from the butt
    int End = 0;         // inches from the butt: Start + 120 + trim
    int ProductCode = 0; // the product the log sells as, 1 to 10 (10: cull)
};

struct ButtLogGrade {
    int Code = kNoButtLogGrade;       // the lowest product code over the trials
    std::vector<ButtLogTrial> Trials; // those within the stem, butt first
};

// The butt-log tree grade of a loaded tree under the market's trim in force: the best product
// (lowest code) that a 10 ft log plus trim yields when it starts 0, 4, 8, ... inches above the
// butt, round((72 − trim) / 4) + 1 positions (17 with an 8 inch trim, 18 with 4). Each trial is
// valued alone, as a bucker's pattern of one log. A trial that would end above the top is
// skipped, so a stem shorter than 10 ft plus trim keeps kNoButtLogGrade. Throws what
// EvaluatePattern throws for a tree the engine cannot evaluate.
ButtLogGrade GradeButtLog(const Tree& tree, const Market& market);

// "#1 Veneer" to "#3 Veneer", "#1 Saw" to "#3 Saw", "Product1" to "Product3", "Cull" for the
// codes 1 to 10, whatever the market calls its products; "No Grade" for any other code.
std::string ButtLogGradeText(int code);

} // namespace varnok
