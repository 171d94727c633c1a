#pragma once

#include "tree/Tree.h"

#include <filesystem>
#include <vector>

namespace varnok {

// One measured cross-section of a shape file, as written: its height (rounded to whole
// inches), its diameter and its two surface offsets.
struct CrossSection {
    int Position = 0;     // inches from the butt
    int Diameter = 0;     // inches
    double OffsetY = 0.0; // inches, third field (the first plane), sign ignored
    double OffsetX = 0.0; // inches, fourth field (the second plane), sign ignored
};

// The cross-sections of a shape file in file order, checked as ReadShapeFile checks them.
// Throws FileError as ReadShapeFile does.
std::vector<CrossSection> ReadCrossSections(const std::filesystem::path& path);

// Builds the stem model (Diameter, CentreX, CentreY, PointPosition, PointCount, StemLength)
// from a shape file: a header line, then one cross-section per line in four 4-character
// fields (height in feet, diameter in inches, surface offsets Y and X in inches).
// A blank field reads as 0. Throws FileError naming the file (and the line) when the file
// cannot be read, holds no cross-section or more than 49, a field holding anything but a number
// or blanks, a last line without a line end that is shorter than 16 characters (the file was
// cut short inside it), starts above height 0, has a height beyond 200 ft or below
// the previous one, a diameter outside 0 to 255 inches or of 0 below the top, or an offset
// beyond 2400 inches, or a control byte within the 16 characters read of a data line. The stem
// model is only changed when the whole file is good.
void ReadShapeFile(Tree& tree, const std::filesystem::path& path);

} // namespace varnok
