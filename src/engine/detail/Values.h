#pragma once

#include "engine/GradeExplanation.h"
#include "engine/LogSegment.h"
#include "market/Market.h"

namespace varnok::detail {

// Sets RoundwoodEligible for the market's three roundwood products and RoundwoodProduct to
// the eligible one worth most (ties keep the lower number; a product worth 0 is never chosen).
// `cubicVolume` is the log's net cubic feet. The caller sets RoundwoodProduct = 4 first.
// With a trace, records one step per defined product (7 to 9): the first limit the log is
// outside of (length, sed, deduction), or the deduction limit it meets.
void ClassRoundwood(const Market& market, float cubicVolume, LogSegment& segment,
                    GradeTrace* trace = nullptr);

// The least net scale, board feet, for which a log sells by the board foot.
inline constexpr int kMinimumNetScale = 30;
// Whether a log of this net scale sells as veneer or sawlog at all.
inline bool SellsByBoardFoot(int netScale) {
    return netScale >= kMinimumNetScale;
}
// Whether a log sells as roundwood at all: not both under 30 board feet and under 1 cubic foot.
inline bool SellsAsRoundwood(int netScale, float cubicVolume) {
    return !(netScale < kMinimumNetScale && cubicVolume < 1.0F);
}

// Dollar values of a log sold each way, rounded to float; 0 where the log does not qualify.
// Board-foot products need at least 30 board feet net; roundwood needs a product and not both
// under 30 board feet and under 1 cubic foot.
float VeneerValue(const Market& market, int grade, int nominalLength, int netScale);
float SawlogValue(const Market& market, int grade, int nominalLength, int netScale);
float RoundwoodValue(const Market& market, int product, int nominalLength, int netScale,
                     float cubicVolume);
// Cubic volume at the cull row's 8 ft price, per 140 cubic feet, whatever the length.
float CullCharge(const Market& market, float cubicVolume);

} // namespace varnok::detail
