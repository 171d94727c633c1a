#include "support/Numbers.h"

#include <charconv>
#include <cmath>
#include <string>

namespace varnok {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the grammar [sign] digits [. digits] [e [sign] digits], with at least one digit in
// the mantissa; std::from_chars alone would also take "inf" and "nan".
bool IsDecimalNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    return i == text.size();
}

} // namespace

std::optional<double> ParseDecimal(std::string_view text) {
    text = TrimBlanks(text);
    if (!IsDecimalNumber(text)) {
        return std::nullopt;
    }
    if (text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseCellDecimal(std::string_view text, bool commaDecimal) {
    if (!commaDecimal || text.find(',') == std::string_view::npos) {
        return ParseDecimal(text);
    }
    if (text.find('.') != std::string_view::npos || text.find(',') != text.rfind(',')) {
        return std::nullopt; // "1,234.5" or "1,2,3": no single decimal comma
    }
    std::string pointed(text);
    pointed[pointed.find(',')] = '.';
    return ParseDecimal(pointed);
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string FormatFixed(double value, int decimals) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) {
        return "?";
    }
    return std::string(buffer, end);
}

std::string FormatSevenDigits(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "?";
    }
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 6);
    double rounded = value;
    std::from_chars(buffer, written.ptr, rounded, std::chars_format::scientific);
    if (std::fabs(rounded) >= 1e7) {
        return std::string(buffer, written.ptr);
    }
    std::string text = FormatFixed(rounded, decimals);
    if (text.front() == '-' && text.find_first_of("123456789") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

std::string PadLeft(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.insert(0, width - text.size(), ' ');
    }
    return text;
}

std::string FormatGeneral(double value) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    if (error != std::errc()) {
        return "?";
    }
    return std::string(buffer, end);
}

} // namespace varnok
