#include "engine/detail/TreeIndex.h"

#include "support/Numbers.h"

#include <algorithm>

namespace varnok::detail {

TreeIndex::TreeIndex(const Tree& tree) {
    for (std::size_t n = 0; n < tree.SurfaceDefectCount; ++n) {
        const int index = static_cast<int>(n);
        switch (static_cast<DefectKind>(tree.SurfaceDefects[n].Kind)) {
        case DefectKind::Seam:
            Seams.push_back(index);
            break;
        case DefectKind::Fork:
        case DefectKind::Bulge:
            ForksAndBulges.push_back(index);
            break;
        default: {
            const SurfaceDefect& d = tree.SurfaceDefects[n];
            const auto half = static_cast<int>(RoundToInt(d.Length / 2.0));
            Knots.push_back(index);
            KnotExtents.push_back({d.Position - half, d.Position + half});
            break;
        }
        }
    }
    for (std::size_t n = 0; n < tree.EndDefectCount; ++n) {
        const EndDefect& d = tree.EndDefects[n];
        const int index = static_cast<int>(n);
        switch (static_cast<DefectKind>(d.Kind)) {
        case DefectKind::Decay:
            Decays.push_back(index);
            if (d.ExceedStart != d.ExceedEnd) {
                ExcessiveDecays.push_back(index);
            }
            break;
        case DefectKind::Stain:
            Stains.push_back(index);
            break;
        default:
            Hearts.push_back(index);
            break;
        }
    }
    const StemModel& stem = tree.Stem;
    Points.assign(stem.PointPosition.begin(), stem.PointPosition.begin() + stem.PointCount);
    std::sort(Points.begin(), Points.end());
}

} // namespace varnok::detail
