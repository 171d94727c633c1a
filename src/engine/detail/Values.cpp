#include "engine/detail/Values.h"

#include "rules/SaleUnits.h"
#include "support/Numbers.h"

#include <array>
#include <cstdint>
#include <string>

namespace varnok::detail {
namespace {

enum class Limit { None, Length, Sed, Deduction };

// The first of the product's limits that a log of this nominal length, SED and deduction is
// outside of.
Limit UnmetLimit(const RoundwoodProductSpec& product, int length, int sed, float deduction) {
    if (product.MinLength > length || length > product.MaxLength) {
        return Limit::Length;
    }
    if (product.MinDiameter > sed || sed > product.MaxDiameter) {
        return Limit::Sed;
    }
    if (!(deduction <= product.Soundness)) {
        return Limit::Deduction;
    }
    return Limit::None;
}

std::string Percent(float fraction) {
    return FormatFixed(static_cast<double>(fraction) * 100.0, 1) + "%";
}

void RecordRoundwood(GradeTrace& trace, int p, const RoundwoodProductSpec& product,
                     const LogSegment& segment, Limit unmet) {
    switch (unmet) {
    case Limit::Length:
        trace.Record(6 + p, 0, false, "length",
                     std::to_string(segment.NominalLength) + " ft outside " +
                         std::to_string(product.MinLength) + " to " +
                         std::to_string(product.MaxLength) + " ft");
        return;
    case Limit::Sed:
        trace.Record(6 + p, 0, false, "sed",
                     "SED " + std::to_string(segment.SED) + " in. outside " +
                         std::to_string(product.MinDiameter) + " to " +
                         std::to_string(product.MaxDiameter) + " in.");
        return;
    case Limit::Deduction:
    case Limit::None:
        trace.Record(6 + p, 0, unmet == Limit::None, "deduction",
                     "deduction " + Percent(segment.Deduction) +
                         (unmet == Limit::None ? " within the " : " over the ") +
                         Percent(product.Soundness) + " the product accepts");
        return;
    }
}

} // namespace

void ClassRoundwood(const Market& market, float cubicVolume, LogSegment& segment,
                    GradeTrace* trace) {
    // The log is read once and written once at the end: its fields are bytes, and a store
    // through a byte may change anything as far as the compiler knows.
    const int length = segment.NominalLength;
    const int sed = segment.SED;
    const float deduction = segment.Deduction;
    std::array<std::uint8_t, 3> eligible{};
    std::uint8_t chosen = segment.RoundwoodProduct;
    float best = 0.0F;
    for (int p = 1; p <= 3; ++p) {
        const RoundwoodProductSpec& product =
            market.Roundwood.Products[static_cast<std::size_t>(p - 1)];
        if (!product.IsDefined()) {
            continue;
        }
        const Limit unmet = UnmetLimit(product, length, sed, deduction);
        if (trace != nullptr) {
            RecordRoundwood(*trace, p, product, segment, unmet);
        }
        if (unmet != Limit::None) {
            continue;
        }
        eligible[static_cast<std::size_t>(p - 1)] = 1;
        const auto value =
            static_cast<float>(CubicFeetWorth(cubicVolume, market.Prices.Price(6 + p, length)));
        if (value > best) {
            chosen = static_cast<std::uint8_t>(p);
            best = value;
        }
    }
    segment.RoundwoodEligible = eligible;
    segment.RoundwoodProduct = chosen;
}

float VeneerValue(const Market& market, int grade, int nominalLength, int netScale) {
    if (!SellsByBoardFoot(netScale) || grade < 1 || grade > 3) {
        return 0.0F;
    }
    return static_cast<float>(BoardFeetWorth(netScale, market.Prices.Price(grade, nominalLength)));
}

float SawlogValue(const Market& market, int grade, int nominalLength, int netScale) {
    if (!SellsByBoardFoot(netScale) || grade < 1 || grade > 3) {
        return 0.0F;
    }
    return static_cast<float>(
        BoardFeetWorth(netScale, market.Prices.Price(3 + grade, nominalLength)));
}

float RoundwoodValue(const Market& market, int product, int nominalLength, int netScale,
                     float cubicVolume) {
    if (product < 1 || product > 3 || !SellsAsRoundwood(netScale, cubicVolume)) {
        return 0.0F;
    }
    return static_cast<float>(
        CubicFeetWorth(cubicVolume, market.Prices.Price(6 + product, nominalLength)));
}

float CullCharge(const Market& market, float cubicVolume) {
    return static_cast<float>(CubicFeetWorth(cubicVolume, market.Prices.Price(10, 8)));
}

} // namespace varnok::detail
