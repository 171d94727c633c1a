#pragma once

#include "engine/LogSegment.h"
#include "market/Market.h"
#include "tree/Tree.h"

namespace varnok {

// Tests a log prepared up to MarkButtLog against veneer grade `grade` (1 to 3) of the
// market: accepted length, minimum diameter, sweep, end defects (decay holes, stain, heart),
// forks and bulges, knot size, seams, and the number of surface defects (in halves and in
// line as the grade says). Sets VeneerGradeMet[grade] and, when met, VeneerGrade = grade.
// Callers set VeneerGrade = 4 and try the grades from the last to the first.
void GradeVeneer(const Tree& tree, const Market& market, int grade, LogSegment& segment);

// VeneerGrade = 4, then every grade of the market from the last to the first.
void GradeVeneerAll(const Tree& tree, const Market& market, LogSegment& segment);

} // namespace varnok
