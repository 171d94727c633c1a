#include "tree/DefectMap.h"

#include "support/Errors.h"
#include "support/Numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace varnok {
namespace {

void AddInterval(Tree& tree, int sector, std::int32_t start, std::int32_t end, int defectNumber) {
    SectorIntervals& intervals = tree.SurfaceMap[static_cast<std::size_t>(WrapSector(sector))];
    if (intervals.Count == kMaxIntervalsPerSector) {
        throw FileError(tree.DefectFilePath,
                        "more than 100 defect intervals in sector " +
                            std::to_string(WrapSector(sector)),
                        tree.SurfaceDefectLine[static_cast<std::size_t>(defectNumber - 1)]);
    }
    intervals.Items[intervals.Count] = MapInterval{start, end, defectNumber};
    ++intervals.Count;
}

bool IsOdd(std::int64_t n) {
    return n % 2 != 0;
}

// A knot, bump or surface rise: an ellipse Width inches across and Length inches along the
// stem, laid over the sectors it covers at the stem's diameter there.
void MapEllipse(Tree& tree, const SurfaceDefect& d, int defectNumber) {
    const int position = d.Position;
    const int diameter = tree.Stem.Diameter[static_cast<std::size_t>(position)];
    if (diameter == 0) {
        throw FileError(tree.DefectFilePath,
                        "a knot, bump or surface rise at " + std::to_string(position) +
                            " inches lies where the stem has no diameter (above its top at " +
                            std::to_string(tree.Stem.StemLength) + " inches in " +
                            tree.ShapeFilePath.string() + ")",
                        tree.SurfaceDefectLine[static_cast<std::size_t>(defectNumber - 1)]);
    }
    const double w = 18.0 * d.Width / (std::numbers::pi * diameter);
    const double h = d.Length * 0.5;
    const double centre = IsOdd(d.Length) ? position : position - 0.5;
    const bool oddWidth = IsOdd(RoundToInt(2.0 * w));
    const double c = oddWidth ? d.Sector : d.Sector - 0.5;
    const double shift = d.Sector - c;
    const std::int64_t last = TruncToInt(w);
    std::int64_t i = RoundToInt(d.Sector - c + 0.001);
    do {
        const double offset = static_cast<double>(i) - shift;
        const double underRoot = (w == 0.0) ? -1.0 : 1.0 - offset * offset / (w * w);
        if (underRoot >= 0.0) {
            const double e = h * std::sqrt(underRoot);
            const auto start = static_cast<std::int32_t>(RoundToInt(centre - e + 0.51));
            const auto end = static_cast<std::int32_t>(TruncToInt(centre + e));
            AddInterval(tree, static_cast<int>(TruncToInt(c + static_cast<double>(i))), start, end,
                        defectNumber);
            if (!(i == 0 && oddWidth)) {
                AddInterval(tree, static_cast<int>(RoundToInt(c - static_cast<double>(i) + 0.001)),
                            start, end, defectNumber);
            }
        }
        ++i;
    } while (i <= last);
}

// A seam: walked inch by inch from its start to its end, stepping at most one sector per inch
// the shorter way round; each sector it passes gets one interval.
void MapSeam(Tree& tree, const SurfaceDefect& d, int defectNumber) {
    int from = d.Sector;
    int to = d.EndSector;
    if (std::abs(to - from) > 17) {
        if (from < to) {
            from += kSectorCount;
        } else {
            to += kSectorCount;
        }
    }
    const int step = to >= from ? 1 : -1;
    const int dy = std::abs(to - from);
    const int dx = d.EndPosition - d.Position;
    int sector = from;
    int openedAt = d.Position;
    int err = 2 * dy - dx;
    for (int x = d.Position; x <= d.EndPosition; ++x) {
        if (err > 0 && x < d.EndPosition) {
            AddInterval(tree, sector, openedAt, x, defectNumber);
            openedAt = x;
            sector += step;
            err -= 2 * dx;
        }
        err += 2 * dy;
    }
    AddInterval(tree, sector, openedAt, d.EndPosition, defectNumber);
}

void MapForkOrBulge(Tree& tree, const SurfaceDefect& d) {
    for (int x = std::max(d.Position, 0); x <= std::min(d.EndPosition, kMaxStemInches); ++x) {
        tree.ForkBulgeFree[static_cast<std::size_t>(x)] = 0;
    }
}

std::array<std::uint8_t, kInchSlots>& ProfileOf(Tree& tree, DefectKind kind) {
    switch (kind) {
    case DefectKind::Decay:
        return tree.DecayProfile;
    case DefectKind::Stain:
        return tree.StainProfile;
    default:
        return tree.HeartProfile;
    }
}

// An end defect: its diameter runs from StartDiameter to EndDiameter along its length, at most
// one inch of diameter per inch of length. Decay also records where it is wider than 0.4 of
// the stem, over the inches it wrote itself.
void MapEndDefect(Tree& tree, EndDefect& d) {
    const auto kind = static_cast<DefectKind>(d.Kind);
    auto& profile = ProfileOf(tree, kind);
    const int start = d.StartPosition;
    const int end = std::max<int>(d.EndPosition, start);
    const int dx = end - start;
    const int dy = std::abs(d.EndDiameter - d.StartDiameter);
    const int step = d.EndDiameter >= d.StartDiameter ? 1 : -1;
    int value = d.StartDiameter;
    int err = 2 * dy - dx;
    bool exceeded = false;
    d.ExceedStart = 0;
    d.ExceedEnd = 0;
    for (int x = start; x <= end; ++x) {
        const auto inch = static_cast<std::size_t>(x);
        profile[inch] = static_cast<std::uint8_t>(value);
        if (kind == DefectKind::Decay && value > 0.4 * tree.Stem.Diameter[inch]) {
            if (!exceeded) {
                d.ExceedStart = static_cast<std::uint16_t>(x);
                exceeded = true;
            }
            d.ExceedEnd = static_cast<std::uint16_t>(x);
        }
        if (err > 0) {
            value += step;
            err -= 2 * dx;
        }
        err += 2 * dy;
    }
}

} // namespace

void MapDefects(Tree& tree) {
    for (std::size_t n = 0; n < tree.SurfaceDefectCount; ++n) {
        const SurfaceDefect& d = tree.SurfaceDefects[n];
        const int number = static_cast<int>(n + 1);
        switch (static_cast<DefectKind>(d.Kind)) {
        case DefectKind::Knot:
        case DefectKind::Bump:
        case DefectKind::SurfaceRise:
            MapEllipse(tree, d, number);
            break;
        case DefectKind::Seam:
            MapSeam(tree, d, number);
            break;
        default:
            MapForkOrBulge(tree, d);
            break;
        }
    }
    for (std::size_t n = 0; n < tree.EndDefectCount; ++n) {
        MapEndDefect(tree, tree.EndDefects[n]);
    }
}

} // namespace varnok
