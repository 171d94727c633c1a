#pragma once

#include "engine/LogSegment.h"
#include "market/Market.h"
#include "tree/Tree.h"

#include <cstdint>

namespace varnok {

// The first steps of every log evaluation, in this order: SetSegmentEnds, NominalLengthOf,
// ComputeSweep, DecayDeduction, ForkBulgeDeduction, SeamDeduction, MarkButtLog; then the
// graders; then NetScale and CubicVolume. All read the loaded tree and market; none fails.

// Clears the record and sets StartPosition, EndPosition, LengthInches, SED and LED. Positions
// must lie within 0 to 2400 inches, start below end.
void SetSegmentEnds(const Tree& tree, LogSegment& segment, int start, int end);

// Nominal length in feet of a log of `lengthInches` (trim included): 8, 10, 12, 14 or 16 by
// the market's five allowed lengths; 16 for anything longer; 0 below the 8 ft length.
std::uint16_t NominalLengthOf(const LogLengthSet& lengths, int lengthInches);

// Sets Sweep (whole inches, from the measured cross-sections strictly inside the log),
// SweepDeduction and Deduction = SweepDeduction.
void ComputeSweep(const Tree& tree, const LogLengthSet& lengths, LogSegment& segment);

// Add decay, fork and bulge, and seam losses to Deduction, capped at 1.
void DecayDeduction(const Tree& tree, LogSegment& segment);
void ForkBulgeDeduction(const Tree& tree, LogSegment& segment);
void SeamDeduction(const Tree& tree, LogSegment& segment);

void MarkButtLog(LogSegment& segment);

// Runs SetSegmentEnds to MarkButtLog: everything before the graders.
void PrepareSegment(const Tree& tree, const Market& market, LogSegment& segment, int start,
                    int end);

// Net board feet from the market's log rule: gross (rounded table value for SED and the
// nominal length) less the rounded deduction. 0 for a nominal length of 0 or SED outside 1
// to 50 inches.
std::uint16_t NetScale(const Market& market, const LogSegment& segment);

// Net cubic feet: the mean of the two end areas (3.14 r^2) times the nominal length, less the
// deduction. 0 for a nominal length of 0.
float CubicVolume(const LogSegment& segment);

} // namespace varnok
