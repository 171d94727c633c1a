#pragma once

#include "tree/Tree.h"

#include <cstdint>
#include <vector>

namespace varnok::detail {

// The tree's defects sorted by kind once per tree, each list in table order, so that a log
// looks only at the defects that can concern it and in the order the rules take them.
struct TreeIndex {
    explicit TreeIndex(const Tree& tree);

    // Indices into the surface defect table.
    std::vector<int> Seams;
    std::vector<int> ForksAndBulges;
    std::vector<int> Knots; // every other surface defect: knots, bumps, surface rises
    // Parallel to Knots: the stretch a knot takes on the stem, its position less and plus
    // half its length (rounded), inches.
    struct Extent {
        int Low = 0;
        int High = 0;
    };
    std::vector<Extent> KnotExtents;

    // Indices into the end defect table.
    std::vector<int> Decays;
    std::vector<int> ExcessiveDecays; // decays with ExceedStart != ExceedEnd
    std::vector<int> Stains;
    std::vector<int> Hearts; // every other end defect

    // The measured cross-sections in ascending position (inches).
    std::vector<int> Points;
};

// Whether a defect stretch [p1, p2] concerns the log [s, e]: one of its ends lies in the log,
// or it covers the log.
inline bool Overlaps(int p1, int p2, int s, int e) {
    return (s <= p1 && p1 <= e) || (s <= p2 && p2 <= e) || (p1 < s && p2 > e);
}

} // namespace varnok::detail
