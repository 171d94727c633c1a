#pragma once

#include <string>
#include <string_view>

namespace varnok {

// One field of a comma-separated line: as it is, or, when it holds a comma, a quote or a line
// break, in quotes with its quotes doubled, so that a spreadsheet reads it back whole.
std::string CsvField(std::string_view text);

} // namespace varnok
