#pragma once

#include "engine/LogSegment.h"
#include "engine/SawlogGrading.h"
#include "market/Market.h"
#include "tree/Tree.h"

#include <cstdint>

namespace varnok {

// Sets RoundwoodEligible for the market's three roundwood products and RoundwoodProduct to
// the eligible one worth most (ties keep the lower number; a product worth 0 is never chosen).
// The caller sets RoundwoodProduct = 4 first.
void ClassRoundwood(const Market& market, LogSegment& segment);

// Dollar values of a log sold each way, rounded to float; 0 where the log does not qualify.
// Board-foot products need at least 30 board feet net; roundwood needs a product and not both
// under 30 board feet and under 1 cubic foot.
float VeneerValue(const Market& market, int grade, int nominalLength, int netScale);
float SawlogValue(const Market& market, int grade, int nominalLength, int netScale);
float RoundwoodValue(const Market& market, int product, int nominalLength, int netScale,
                     float cubicVolume);
// Cubic volume at the cull row's 8 ft price, per 140 cubic feet, whatever the length.
float CullCharge(const Market& market, float cubicVolume);

// The three values of one graded log and the way it sells best.
struct LogValues {
    std::uint16_t NetScale = 0; // board feet
    float CubicVolume = 0.0F;   // cubic feet
    float Veneer = 0.0F;
    float Sawlog = 0.0F;
    float Roundwood = 0.0F;
    std::uint8_t ProductClass = kCullProduct; // 1-9, or 10 when no value is positive
    float Best = 0.0F;
};

// Grades a log between two positions of the tree completely (geometry and deductions, sawlog,
// roundwood, veneer) and values it. The segment keeps everything the engine worked out; the
// best way to sell it wins, ties going to veneer, then sawlog, then roundwood.
LogValues GradeAndValueLog(const Tree& tree, const Market& market, SawlogGrader& sawlog,
                           LogSegment& segment, int start, int end);

} // namespace varnok
