#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnok {

// Rule files and market specs store text as Windows-1252 bytes; the program works in UTF-8.

// Every Windows-1252 byte has a UTF-8 form (the five unassigned bytes map to the C1 controls
// of the same number, as Windows does), so this never fails.
std::string Windows1252ToUtf8(std::string_view bytes);

// Returns nothing when the text is not valid UTF-8 (overlong forms, surrogates and values
// beyond U+10FFFF included) or holds a character that Windows-1252 cannot represent.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

// As above, but throws VarnokError naming the text when it cannot be converted.
std::string Utf8ToWindows1252OrThrow(std::string_view utf8);

// The first `count` characters of a UTF-8 text (a character being one code point).
std::string FirstCharacters(std::string_view utf8, std::size_t count);

} // namespace varnok
