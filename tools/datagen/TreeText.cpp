#include "TreeText.h"

#include "support/Errors.h"

namespace varnok::datagen {
namespace {

constexpr std::size_t kShapeFieldWidth = 4;
constexpr std::size_t kDefectFieldWidth = 5;
constexpr const char* kLineEnd = "\r\n";

std::string RightAligned(const std::string& text, std::size_t width, int value) {
    if (text.size() > width) {
        throw VarnokError("The value " + std::to_string(value) + " does not fit a field of " +
                          std::to_string(width) + " characters.");
    }
    return std::string(width - text.size(), ' ') + text;
}

bool IsFeetField(DefectLayout layout, std::size_t field) {
    switch (layout) {
    case DefectLayout::Ellipse:
        return field == 0;
    case DefectLayout::Seam:
        return field == 0 || field == 2;
    case DefectLayout::Span:
    case DefectLayout::End:
        return field <= 1;
    }
    return false;
}

} // namespace

std::string FormatTenths(int tenths, std::size_t width) {
    if (tenths < 0) {
        throw VarnokError("Negative value " + std::to_string(tenths) + " tenths in a tree file.");
    }
    const std::string text = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    return RightAligned(text, width, tenths);
}

std::string FormatInteger(int value, std::size_t width) {
    if (value < 0) {
        throw VarnokError("Negative value " + std::to_string(value) + " in a tree file.");
    }
    return RightAligned(std::to_string(value), width, value);
}

std::string HeightField(int tenths) {
    if (tenths < 1000) {
        return FormatTenths(tenths, kShapeFieldWidth);
    }
    if (tenths % 10 != 0) {
        throw VarnokError("A shape height of 100 ft or more must be whole feet, not " +
                          FormatTenths(tenths, 6) + " ft.");
    }
    return FormatInteger(tenths / 10, kShapeFieldWidth);
}

std::string ShapeLineText(const ShapeStation& station) {
    return HeightField(station.HeightTenths) + FormatInteger(station.Diameter, kShapeFieldWidth) +
           FormatTenths(station.OffsetYTenths, kShapeFieldWidth) +
           FormatTenths(station.OffsetXTenths, kShapeFieldWidth);
}

std::string CodeField(std::string_view code) {
    switch (code.size()) {
    case 1:
        return "  " + std::string(code);
    case 2:
    case 3:
        return std::string(code);
    default:
        throw VarnokError("Defect code \"" + std::string(code) + "\" does not fit the code field.");
    }
}

std::string DefectLineText(const DefectRecord& record) {
    std::string line = CodeField(record.Code);
    const std::size_t fieldCount = record.Layout == DefectLayout::Span ? 2 : 4;
    for (std::size_t f = 0; f < fieldCount; ++f) {
        const int value = record.Fields[f];
        line += IsFeetField(record.Layout, f) ? FormatTenths(value, kDefectFieldWidth)
                                              : FormatInteger(value, kDefectFieldWidth);
    }
    return line;
}

std::string ShapeFileText(std::string_view header, const std::vector<ShapeStation>& stations) {
    std::string text = std::string(header) + kLineEnd;
    for (const ShapeStation& station : stations) {
        text += ShapeLineText(station) + kLineEnd;
    }
    return text;
}

std::string DefectFileText(const std::vector<DefectRecord>& records) {
    std::string text;
    for (const DefectRecord& record : records) {
        text += DefectLineText(record) + kLineEnd;
    }
    return text;
}

} // namespace varnok::datagen
