#include "rules/SaleUnits.h"

namespace varnok {

SaleUnit SaleUnitOf(std::string_view unitsText) {
    if (unitsText == "Cords") {
        return SaleUnit::Cords;
    }
    if (unitsText == "Cubic Feet") {
        return SaleUnit::CubicFeet;
    }
    if (unitsText == "Tons") {
        return SaleUnit::Tons;
    }
    if (unitsText == "Cubic Meters") {
        return SaleUnit::CubicMeters;
    }
    return SaleUnit::ThousandBoardFeet;
}

int PriceUnitFactor(int row, std::string_view units) {
    return row <= 6 ? 1 : UnitsPer140CubicFeet(SaleUnitOf(units));
}

int UnitsPer140CubicFeet(SaleUnit unit) {
    switch (unit) {
    case SaleUnit::Cords:
        return 2;
    case SaleUnit::CubicFeet:
        return 140;
    case SaleUnit::Tons:
        return 5;
    case SaleUnit::CubicMeters:
        return 4;
    case SaleUnit::ThousandBoardFeet:
        break;
    }
    return 1;
}

float UnitsPerCubicFoot(SaleUnit unit) {
    switch (unit) {
    case SaleUnit::Cords:
        return 0.014285714F;
    case SaleUnit::CubicFeet:
        return 1.0F;
    case SaleUnit::Tons:
        return 0.035714287F;
    case SaleUnit::CubicMeters:
        return 0.028571429F;
    case SaleUnit::ThousandBoardFeet:
        break;
    }
    return 0.0071428571F;
}

bool MeasuredInBoardFeet(int productClass) {
    return productClass <= 6;
}

float ShownVolumeOf(int productClass, std::uint16_t netScale, float cubicVolume) {
    return MeasuredInBoardFeet(productClass) ? static_cast<float>(netScale) : cubicVolume;
}

const char* ReportVolumeUnit(int productClass) {
    return MeasuredInBoardFeet(productClass) ? "Board Feet" : "Cubic Feet";
}

const char* TrackingVolumeUnit(int productClass) {
    return MeasuredInBoardFeet(productClass) ? "mbf" : "ft3";
}

LabelVolume LabelVolumeOf(const RoundwoodProductSet& roundwood, int productClass, float shownVolume,
                          float cubicVolume) {
    if (MeasuredInBoardFeet(productClass)) {
        return {shownVolume, "bf"};
    }
    if (productClass <= 9) {
        const std::string& units =
            roundwood.Products[static_cast<std::size_t>(productClass - 7)].Units;
        return {static_cast<double>(cubicVolume) *
                    static_cast<double>(UnitsPerCubicFoot(SaleUnitOf(units))),
                units};
    }
    return {cubicVolume, roundwood.CullUnits};
}

} // namespace varnok
