#pragma once

#include "rules/SaleUnits.h"

#include <array>
#include <cstdint>

namespace varnok {

inline constexpr std::uint8_t kNoGrade = 4; // in a grade or product field: none

// One log, the stretch of stem between two cuts, and everything the engine works out about it.
// Positions and lengths in inches, diameters in inches, fractions 0 to 1.
struct LogSegment {
    std::int32_t StartPosition = 0;
    std::int32_t EndPosition = 0;
    std::uint16_t SED = 0;           // small-end diameter
    std::uint16_t LED = 0;           // large-end diameter
    std::uint16_t LengthInches = 0;  // trim included
    std::uint16_t NominalLength = 0; // 8, 10, 12, 14 or 16 ft; 0 when shorter than 8 ft + trim
    float ShownVolume = 0.0F;        // board feet (veneer, sawlog) or cubic feet (roundwood, cull)
    float SweepDeduction = 0.0F;
    float Deduction = 0.0F; // sweep, decay, fork and bulge, seams together; at most 1
    float Sweep = 0.0F;     // whole inches
    std::uint8_t RoundwoodProduct = kNoGrade; // 1 to 3
    std::uint8_t SawGrade = kNoGrade;         // 1 to 3
    std::uint8_t VeneerGrade = kNoGrade;      // 1 to 3
    std::uint8_t ProductClass = 0;            // 1-3 veneer, 4-6 sawlog, 7-9 roundwood, 10 cull
    std::array<std::uint8_t, 3> SawGradeTried{};
    std::array<std::uint8_t, 3> VeneerGradeMet{};
    std::array<std::uint8_t, 3> RoundwoodEligible{};
    float Value = 0.0F; // dollars
    // The sawlog grader's best rotation: the four face grades in face order and the first
    // sector of each face.
    std::array<std::int32_t, 27> FaceGrades{};
    std::array<std::uint8_t, 4> FaceFirstSector{};
    std::uint8_t ButtLog = 0; // 1 when the log starts at the butt
};

} // namespace varnok
