#include "tree/Tree.h"

#include "support/Errors.h"
#include "support/Numbers.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <optional>

namespace varnok {
namespace {

bool IsBlankField(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// The field as typed, with the bytes that are not printable ASCII written as \xHH, so the
// message stays one readable line of text.
std::string Shown(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    text = first == std::string_view::npos ? std::string_view{} : text.substr(first);
    std::string shown = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            shown += hex;
        } else {
            shown += c;
        }
    }
    return shown + "\"";
}

bool IsBlankByte(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigitByte(char c) {
    return c >= '0' && c <= '9';
}

// The digits from `at` on, as a whole number; `at` ends past them. At most `most` digits are
// taken, so the number stays exact.
std::int64_t Digits(std::string_view text, std::size_t& at, std::size_t most, std::size_t& count) {
    std::int64_t value = 0;
    count = 0;
    while (at < text.size() && IsDigitByte(text[at]) && count < most) {
        value = value * 10 + (text[at] - '0');
        ++at;
        ++count;
    }
    return value;
}

bool OnlyBlanksFrom(std::string_view text, std::size_t at) {
    while (at < text.size() && IsBlankByte(text[at])) {
        ++at;
    }
    return at == text.size();
}

std::size_t FirstNonBlank(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsBlankByte(text[at])) {
        ++at;
    }
    return at;
}

// Fast path for what tree files hold: blanks, an optional '-', digits, optionally a point with
// more digits, blanks ("  4.5", "-12"). Such a number is a whole number below 2^53 over a power
// of ten no larger than 10^15, both exact in a double, so the one division rounds it correctly,
// as ParseDecimal does. Nothing for any other text (a '+', an exponent, a bare point, more
// digits), which takes ParseDecimal's way.
std::optional<double> PlainDecimal(std::string_view text) {
    static constexpr std::array<double, 16> kPowers = {
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::size_t at = FirstNonBlank(text);
    const bool negative = at < text.size() && text[at] == '-';
    at += negative ? 1 : 0;
    std::size_t whole = 0;
    std::int64_t value = Digits(text, at, 15, whole);
    if (whole == 0) {
        return std::nullopt;
    }
    std::size_t fraction = 0;
    if (at < text.size() && text[at] == '.') {
        ++at;
        const std::int64_t tail = Digits(text, at, 15 - whole, fraction);
        if (fraction == 0) {
            return std::nullopt;
        }
        for (std::size_t k = 0; k < fraction; ++k) {
            value *= 10;
        }
        value += tail;
    }
    if (!OnlyBlanksFrom(text, at)) {
        return std::nullopt;
    }
    const double magnitude = static_cast<double>(value) / kPowers[fraction];
    return negative ? -magnitude : magnitude;
}

// Fast path for a whole number field: blanks, an optional '-', up to 9 digits, blanks. Nothing
// for any other text, which takes ParseInteger's way.
std::optional<std::int32_t> PlainInteger(std::string_view text) {
    std::size_t at = FirstNonBlank(text);
    const bool negative = at < text.size() && text[at] == '-';
    at += negative ? 1 : 0;
    std::size_t count = 0;
    const std::int64_t value = Digits(text, at, 9, count);
    if (count == 0 || !OnlyBlanksFrom(text, at)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

template <typename T>
T NumberField(std::string_view text, std::string_view field, const std::filesystem::path& path,
              int line, const std::optional<T>& parsed, const char* what) {
    if (parsed) {
        return *parsed;
    }
    if (IsBlankField(text)) {
        return T{};
    }
    throw FileError(path, std::string(field) + " holds " + Shown(text) + ", which is not " + what,
                    line);
}

} // namespace

namespace {

// The general ways, kept out of the fast ones so that those stay small.
[[gnu::noinline]] double GeneralDecimalField(std::string_view text, std::string_view field,
                                             const std::filesystem::path& path, int line) {
    return NumberField(text, field, path, line, ParseDecimal(text), "a number");
}

[[gnu::noinline]] std::int32_t GeneralIntegerField(std::string_view text, std::string_view field,
                                                   const std::filesystem::path& path, int line) {
    return NumberField(text, field, path, line, ParseInteger(text), "a whole number");
}

} // namespace

double DecimalField(std::string_view text, std::string_view field,
                    const std::filesystem::path& path, int line) {
    if (const std::optional<double> plain = PlainDecimal(text)) {
        return *plain;
    }
    return GeneralDecimalField(text, field, path, line);
}

std::int32_t IntegerField(std::string_view text, std::string_view field,
                          const std::filesystem::path& path, int line) {
    if (const std::optional<std::int32_t> plain = PlainInteger(text)) {
        return *plain;
    }
    return GeneralIntegerField(text, field, path, line);
}

void NewTree(Tree& tree) {
    tree.Stem = StemModel{};
    tree.SurfaceDefects = {};
    tree.SurfaceDefectCount = 0;
    tree.EndDefects = {};
    tree.EndDefectCount = 0;
    ClearDefectMaps(tree);
    tree.DefectFilePath.clear();
    tree.ShapeFilePath.clear();
    tree.SurfaceDefectLine.fill(0);
}

namespace {

// Whether any of the eight bytes of `word` may be below 0x20 or be 0x7F: never false when one
// is; true now and then when none is (a byte above such a one), so a true answer is checked
// byte by byte.
bool MayHoldControlByte(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    const std::uint64_t below20 = (word - kOnes * 0x20) & ~word & kHighs;
    const std::uint64_t del = word ^ (kOnes * 0x7F);
    const std::uint64_t is7F = (del - kOnes) & ~del & kHighs;
    return (below20 | is7F) != 0;
}

} // namespace

void CheckTreeFileText(std::string_view read, const std::filesystem::path& path, int line) {
    // Fast path for text of eight bytes or more: the runs of eight bytes that hold no control
    // byte are passed over whole, the last run reaching back into the one before it. Anything
    // else goes byte by byte from the first run that may hold one.
    const auto mayHold = [&read](std::size_t at) {
        std::uint64_t word = 0;
        std::memcpy(&word, read.data() + at, sizeof word);
        return MayHoldControlByte(word);
    };
    if (read.size() >= 8) {
        std::size_t at = 0;
        while (at + 8 <= read.size() && !mayHold(at)) {
            at += 8;
        }
        if (at + 8 > read.size() && !mayHold(read.size() - 8)) {
            return;
        }
        read.remove_prefix(at);
    }
    for (const char c : read) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            continue;
        }
        if (c != '\t') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", byte);
            throw FileError(path,
                            std::string("the line holds the control byte ") + hex +
                                "; a tree file is plain text",
                            line);
        }
    }
}

void ClearDefectMaps(Tree& tree) {
    for (auto& sector : tree.SurfaceMap) {
        sector.Count = 0;
    }
    tree.DecayProfile.fill(0);
    tree.StainProfile.fill(0);
    tree.HeartProfile.fill(0);
    tree.ForkBulgeFree.fill(1);
}

} // namespace varnok
