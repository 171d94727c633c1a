#pragma once

#include "engine/GradeExplanation.h"
#include "engine/LogSegment.h"
#include "engine/detail/TreeIndex.h"
#include "grading/VeneerRules.h"
#include "tree/Tree.h"

namespace varnok::detail {

// Tests a log prepared up to MarkButtLog against every grade of the veneer rules, from the last
// to the first: accepted length, minimum diameter, sweep, end defects (decay holes, stain,
// heart), forks and bulges, knot size, seams, and the number of surface defects (in halves and
// in line as the grade says). Sets VeneerGradeMet for each grade and VeneerGrade to the best
// grade met (4 when none). With a trace, records one step per grade (product 1 to 3): the
// first test it fails, or its defect counts when it is met.
void GradeVeneerAll(const Tree& tree, const TreeIndex& index, const VeneerRuleSet& rules,
                    LogSegment& segment, GradeTrace* trace = nullptr);

} // namespace varnok::detail
