#include "engine/detail/Values.h"

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
        const auto value =
            static_cast<float>(static_cast<double>(cubicVolume) *
                               market.Prices.Price(6 + p, segment.NominalLength) / 140.0);
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
    return static_cast<float>(
        netScale * static_cast<double>(market.Prices.Price(grade, nominalLength)) * 0.001);
}

float SawlogValue(const Market& market, int grade, int nominalLength, int netScale) {
    if (netScale < 30 || grade < 1 || grade > 3) {
        return 0.0F;
    }
    return static_cast<float>(
        netScale * static_cast<double>(market.Prices.Price(3 + grade, nominalLength)) * 0.001);
}

float RoundwoodValue(const Market& market, int product, int nominalLength, int netScale,
                     float cubicVolume) {
    if (product < 1 || product > 3 || (netScale < 30 && cubicVolume < 1.0F)) {
        return 0.0F;
    }
    return static_cast<float>(static_cast<double>(cubicVolume) *
                              market.Prices.Price(6 + product, nominalLength) / 140.0);
}

float CullCharge(const Market& market, float cubicVolume) {
    return static_cast<float>(static_cast<double>(cubicVolume) * market.Prices.Price(10, 8) /
                              140.0);
}

} // namespace varnok::detail
