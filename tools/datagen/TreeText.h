#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace varnok::datagen {

// One cross-section of a shape file. Heights and offsets in tenths (of feet, of inches) so the
// text is exact; heights of 100 ft and more must be whole feet, since the field has 4 places.
struct ShapeStation {
    int HeightTenths = 0;  // feet x 10 from the butt
    int Diameter = 0;      // inches inside bark
    int OffsetYTenths = 0; // inches x 10 from the reference line to the stem surface
    int OffsetXTenths = 0;
};

// How the fields A to D of a defect line are written: which hold feet (with one decimal, in
// tenths here) and which whole numbers, and whether C and D are written at all.
enum class DefectLayout {
    Ellipse, // A centre (ft), B sector, C width (in), D length (in)
    Seam,    // A start (ft), B start sector, C end (ft), D end sector
    Span,    // A start (ft), B end (ft): forks and bulges
    End,     // A start (ft), B end (ft), C diameter at A (in), D diameter at B (in)
};

// One defect line. `Code` is the field code without alignment ("SK", "F", "LMH"); feet fields
// hold tenths of feet.
struct DefectRecord {
    std::string Code;
    DefectLayout Layout = DefectLayout::Ellipse;
    std::array<int, 4> Fields{};
};

// `tenths` / 10 with one decimal, right-aligned in `width` characters ("12.5", "  0.0").
// Throws VarnokError for a negative value or one that does not fit.
std::string FormatTenths(int tenths, std::size_t width);
// A whole number right-aligned in `width` characters. Throws VarnokError as above.
std::string FormatInteger(int value, std::size_t width);

// The height field of a shape line: one decimal below 100 ft, whole feet from 100 ft.
// Throws VarnokError for a height of 100 ft or more that is not whole feet.
std::string HeightField(int tenths);

// The 16 characters of a shape data line. Throws VarnokError when a value does not fit.
std::string ShapeLineText(const ShapeStation& station);

// The code field: a one-letter code right-aligned behind two blanks ("  F"), since only that
// form reaches its filter entry; two-letter codes in a 2-character field, three-letter codes
// in a 3-character one. The line length then tells the reader which width was used. Throws
// VarnokError for an empty code or one longer than 3 characters.
std::string CodeField(std::string_view code);

// A whole defect line: 12 or 13 characters for spans, 22 or 23 for the others.
std::string DefectLineText(const DefectRecord& record);

// Whole files, every line ended by CR LF.
std::string ShapeFileText(std::string_view header, const std::vector<ShapeStation>& stations);
std::string DefectFileText(const std::vector<DefectRecord>& records);

} // namespace varnok::datagen
