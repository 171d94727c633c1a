#pragma once

#include "engine/LogSegment.h"
#include "engine/detail/TreeIndex.h"
#include "market/LogLengthSet.h"
#include "rules/LogRule.h"
#include "tree/Tree.h"

#include <cstdint>

namespace varnok::detail {

// The first steps of a log evaluation, run by LogEvaluator in this order: SetSegmentEnds,
// the nominal length, ComputeSweep, DecayDeduction, ForkBulgeDeduction, SeamDeduction,
// MarkButtLog; then the graders; then NetScale and CubicVolume. None fails.

// Sets StartPosition, EndPosition, LengthInches, SED and LED of a record just made (the other
// fields keep their first values). Positions must lie within 0 to 2400 inches, start below
// end.
void SetSegmentEnds(const Tree& tree, LogSegment& segment, int start, int end);

// Sets Sweep (whole inches, from the measured cross-sections strictly inside the log),
// SweepDeduction and Deduction = SweepDeduction.
void ComputeSweep(const Tree& tree, const TreeIndex& index, const LogLengthSet& lengths,
                  LogSegment& segment);

// Add decay, fork and bulge, and seam losses to Deduction; each loss and the total are kept
// within 0 to 1 whatever the tree holds.
void DecayDeduction(const Tree& tree, const TreeIndex& index, LogSegment& segment);
void ForkBulgeDeduction(const Tree& tree, const TreeIndex& index, LogSegment& segment);
void SeamDeduction(const Tree& tree, const TreeIndex& index, LogSegment& segment);

void MarkButtLog(LogSegment& segment);

// Net board feet from the log rule: gross (rounded table value for SED and the nominal
// length) less the rounded deduction. 0 for a nominal length of 0 or SED outside 1 to 50.
std::uint16_t NetScale(const LogRuleTable& logRule, const LogSegment& segment);

// Net cubic feet: the mean of the two end areas (3.14 r^2) times the nominal length, less the
// deduction. 0 for a nominal length of 0.
float CubicVolume(const LogSegment& segment);

} // namespace varnok::detail
