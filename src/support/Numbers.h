#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnok {

// Nearest whole number, halves to even (the default rounding mode), as a double.
inline double RoundHalfEven(double x) {
    return std::nearbyint(x);
}

// Nearest whole number, halves to even, as an integer. The caller keeps x within range.
inline std::int64_t RoundToInt(double x) {
    return static_cast<std::int64_t>(std::nearbyint(x));
}

// Nearest whole number, halves to even, as an int, for pixel and inch arithmetic. The caller
// keeps x within the range of int.
inline int RoundToInt32(double x) {
    return static_cast<int>(std::nearbyint(x));
}

// The whole part, toward zero, as an integer.
inline std::int64_t TruncToInt(double x) {
    return static_cast<std::int64_t>(std::trunc(x));
}

// Decimal conversion of a field: blanks around the number are ignored; an optional sign,
// digits with an optional decimal point and an optional exponent. "C" locale, whatever the
// machine's language. Returns nothing when the text is not such a number (empty included).
std::optional<double> ParseDecimal(std::string_view text);

// A number typed into an editor's cell: as ParseDecimal, with "," taken for the decimal point
// too when `commaDecimal` (the user's locale writes decimals with a comma). Nothing when the
// text is not such a number (empty included; "inf", "nan" and "1e400" are no numbers).
std::optional<double> ParseCellDecimal(std::string_view text, bool commaDecimal);

// Integer conversion of a field: blanks around it ignored, optional sign, decimal digits.
// Returns nothing when the text is not an integer or does not fit 32 bits.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// Formats with a point as decimal separator and `decimals` places, whatever the locale.
std::string FormatFixed(double value, int decimals);

// A single-precision figure as the summaries show it: rounded to 7 significant digits, then
// fixed with `decimals` places and a point whatever the locale; from 10 000 000 up (in
// magnitude) in exponent notation ("1.234568e+07"). A figure that rounds to zero shows without
// a sign ("0.0", never "-0.0"); one that is not finite shows as "?".
std::string FormatSevenDigits(double value, int decimals);

// `text` with blanks in front up to `width` characters; longer text unchanged.
std::string PadLeft(std::string text, std::size_t width);

// The shortest general decimal form with up to 15 significant digits (0, 123.5, 0.05).
std::string FormatGeneral(double value);

} // namespace varnok
