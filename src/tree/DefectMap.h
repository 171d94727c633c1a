#pragma once

#include "tree/Tree.h"

namespace varnok {

// Builds SurfaceMap, DecayProfile, StainProfile, HeartProfile and ForkBulgeFree from the defect
// tables and the stem's Diameter; runs after ReadShapeFile. Knots, bumps and surface rises
// become ellipses of intervals, seams Bresenham lines across the sectors, forks and bulges
// spans of ForkBulgeFree, end defects Bresenham diameter profiles (decay also sets
// ExceedStart and ExceedEnd). Throws FileError naming the defect file and line when a knot,
// bump or surface rise lies where the stem has no diameter (the message gives the top of the
// stem and the shape file, which may be the one cut short), or a sector would hold more than
// 100 intervals.
void MapDefects(Tree& tree);

} // namespace varnok
