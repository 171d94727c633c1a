#include "market/LogLengthSet.h"

#include "support/Errors.h"

#include <string>

namespace varnok {

std::uint16_t LogLengthSet::NominalFeet(int lengthInches) const {
    static constexpr std::array<std::uint16_t, 5> kFeet = {8, 10, 12, 14, 16};
    // The last length reached decides, so the search goes down from the longest.
    for (std::size_t i = kFeet.size(); i-- > 0;) {
        if (lengthInches >= Lengths[i]) {
            return kFeet[i];
        }
    }
    return 0;
}

LogLengthSet LogLengthSet::FromTrim(int trimInches) {
    if (trimInches != 4 && trimInches != 8) {
        throw VarnokError("The trim allowance must be 4 or 8 inches, not " +
                          std::to_string(trimInches) + ".");
    }
    LogLengthSet set;
    for (std::size_t i = 0; i < 5; ++i) {
        const int inches = 96 + 24 * static_cast<int>(i) + trimInches;
        set.Lengths[i] = static_cast<std::uint8_t>(inches);
        set.Bits[static_cast<std::size_t>(inches / 8)] |=
            static_cast<std::uint8_t>(1U << (inches % 8));
    }
    set.MaxLength = set.Lengths[4];
    return set;
}

} // namespace varnok
