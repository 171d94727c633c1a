#include "engine/detail/Values.h"

#include "rules/SaleUnits.h"

namespace varnok::detail {

void ClassRoundwood(const Market& market, float cubicVolume, LogSegment& segment) {
    float best = 0.0F;
    for (int p = 1; p <= 3; ++p) {
        const RoundwoodProductSpec& product =
            market.Roundwood.Products[static_cast<std::size_t>(p - 1)];
        const bool eligible =
            product.IsDefined() && product.MinLength <= segment.NominalLength &&
            segment.NominalLength <= product.MaxLength && product.MinDiameter <= segment.SED &&
            segment.SED <= product.MaxDiameter && segment.Deduction <= product.Soundness;
        segment.RoundwoodEligible[static_cast<std::size_t>(p - 1)] = eligible ? 1 : 0;
        if (!eligible) {
            continue;
        }
        const auto value = static_cast<float>(
            CubicFeetWorth(cubicVolume, market.Prices.Price(6 + p, segment.NominalLength)));
        if (value > best) {
            segment.RoundwoodProduct = static_cast<std::uint8_t>(p);
            best = value;
        }
    }
}

float VeneerValue(const Market& market, int grade, int nominalLength, int netScale) {
    if (netScale < 30 || grade < 1 || grade > 3) {
        return 0.0F;
    }
    return static_cast<float>(BoardFeetWorth(netScale, market.Prices.Price(grade, nominalLength)));
}

float SawlogValue(const Market& market, int grade, int nominalLength, int netScale) {
    if (netScale < 30 || grade < 1 || grade > 3) {
        return 0.0F;
    }
    return static_cast<float>(
        BoardFeetWorth(netScale, market.Prices.Price(3 + grade, nominalLength)));
}

float RoundwoodValue(const Market& market, int product, int nominalLength, int netScale,
                     float cubicVolume) {
    if (product < 1 || product > 3 || (netScale < 30 && cubicVolume < 1.0F)) {
        return 0.0F;
    }
    return static_cast<float>(
        CubicFeetWorth(cubicVolume, market.Prices.Price(6 + product, nominalLength)));
}

float CullCharge(const Market& market, float cubicVolume) {
    return static_cast<float>(CubicFeetWorth(cubicVolume, market.Prices.Price(10, 8)));
}

} // namespace varnok::detail
