#pragma once

#include "tree/Tree.h"

#include <filesystem>

namespace varnok {

// Builds the stem model (Diameter, CentreX, CentreY, PointPosition, PointCount, StemLength)
// from a shape file: a header line, then one cross-section per line in four 4-character
// fields (height in feet, diameter in inches, surface offsets Y and X in inches).
// A field that is not a number reads as 0, without a message.
// Throws FileError naming the file (and the line) when the file cannot be read, holds no
// cross-section or more than 49, starts above height 0, has a height beyond 200 ft or below
// the previous one, or a diameter outside 0 to 255 inches. The stem model is only changed
// when the whole file is good.
void ReadShapeFile(Tree& tree, const std::filesystem::path& path);

} // namespace varnok
