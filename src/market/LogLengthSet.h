#pragma once

#include <array>
#include <cstdint>

namespace varnok {

// The five allowed log lengths of a market in inches (8, 10, 12, 14 and 16 ft plus the trim
// allowance) and their 256-bit set, with which a candidate length is tested in one step.
struct LogLengthSet {
    std::array<std::uint8_t, 5> Lengths{}; // inches: 96, 120, 144, 168, 192 + trim
    std::uint8_t MaxLength = 0;            // the 16 ft length, inches
    std::array<std::uint8_t, 32> Bits{};   // bit b set when b is one of the lengths

    bool Contains(int inches) const {
        return inches >= 0 && inches < 256 &&
               (Bits[static_cast<std::size_t>(inches) / 8] >> (inches % 8) & 1U) != 0;
    }

    // Nominal length in feet of a log of `lengthInches` (trim included): 8, 10, 12, 14 or 16
    // by the five lengths; 16 for anything longer; 0 below the 8 ft length.
    std::uint16_t NominalFeet(int lengthInches) const;

    // Throws VarnokError unless the trim is 4 or 8 inches.
    static LogLengthSet FromTrim(int trimInches);
};

} // namespace varnok
