#pragma once

#include "rules/RoundwoodProducts.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace varnok {

// Product classes, shared by price rows, evaluated logs and summaries: 1 to 3 the veneer
// grades, 4 to 6 the sawlog grades 1 to 3, 7 to 9 the roundwood products 1 to 3, 10 cull.
inline constexpr std::uint8_t kCullProduct = 10;

// Everything about the units logs are measured and sold in lives here: veneer logs and sawlogs
// by the thousand board feet, roundwood and cull by cubic volume in the units its price row or
// product names.
enum class SaleUnit {
    ThousandBoardFeet, // "MBF", and any text that names none of the others
    Cords,             // "Cords"
    CubicFeet,         // "Cubic Feet"
    Tons,              // "Tons"
    CubicMeters,       // "Cubic Meters"
};

// The unit a units text names, compared exactly.
SaleUnit SaleUnitOf(std::string_view unitsText);

// How many units make 140 cubic feet, the measure of the price table's rows 7 to 10: 1 for
// thousand board feet, 2 cords, 140 cubic feet, 5 tons, 4 cubic metres.
int UnitsPer140CubicFeet(SaleUnit unit);

// What a price row's whole-dollar prices are multiplied by in the market's price table: 1 for
// rows 1 to 6 (dollars per thousand board feet); for rows 7 to 10 (1-based) the units of its
// units text in 140 cubic feet (UnitsPer140CubicFeet).
int PriceUnitFactor(int row, std::string_view units);

// Units per cubic foot as single-precision factors (1/140, 1/70, 1, 1/28, 1/35), the factors
// with which a label converts a cubic volume.
float UnitsPerCubicFoot(SaleUnit unit);

// Dollars of `boardFeet` at a price per thousand board feet (price rows 1 to 6).
inline double BoardFeetWorth(int boardFeet, int dollarsPerThousand) {
    return boardFeet * static_cast<double>(dollarsPerThousand) * 0.001;
}
// Dollars of `cubicFeet` at a price per 140 cubic feet (price rows 7 to 10).
inline double CubicFeetWorth(float cubicFeet, int dollarsPer140) {
    return static_cast<double>(cubicFeet) * dollarsPer140 / 140.0;
}

// Products 1 to 6 are measured in board feet (net scale), 7 to 10 in cubic feet.
bool MeasuredInBoardFeet(int productClass);

// The volume shown for a log sold as `productClass`: its net scale (board feet) for products
// 1 to 6, else its cubic volume (cubic feet).
float ShownVolumeOf(int productClass, std::uint16_t netScale, float cubicVolume);

// The volume unit of the products report and research results: "Board Feet" or "Cubic Feet".
const char* ReportVolumeUnit(int productClass);

// The unit text of the tracking store: "mbf" for products 1 to 6, "ft3" for 7 to 10.
const char* TrackingVolumeUnit(int productClass);

// The volume line of a log's label, as an amount and its unit words: the shown volume (board
// feet) and "bf" for products 1 to 6; for roundwood products 7 to 9 the cubic volume in the
// product's units and its units text; for cull the cubic volume and the cull units text.
struct LabelVolume {
    double Amount = 0.0;
    std::string Unit;
};
LabelVolume LabelVolumeOf(const RoundwoodProductSet& roundwood, int productClass, float shownVolume,
                          float cubicVolume);

} // namespace varnok
