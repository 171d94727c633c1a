#include "rules/RuleCells.h"

#include "support/Numbers.h"

namespace varnok {

std::string LengthHead(int column) {
    return std::to_string(8 + 2 * column);
}

std::optional<double> ParseNumberCell(std::string_view text, bool commaDecimal) {
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
        return 0.0;
    }
    return ParseCellDecimal(text, commaDecimal);
}

std::string NotAFloatText(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value";
}

} // namespace varnok
