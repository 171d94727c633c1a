#include "engine/detail/Scaling.h"

#include "support/Numbers.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace varnok::detail {
namespace {

std::size_t Inch(int position) {
    return static_cast<std::size_t>(position);
}

// A loss as a fraction of the log, 0 to 1. The readers refuse what could make a loss negative
// or not a number; this is the second line, so that no defect can ever add volume or value,
// and a loss that is not a number counts as the whole log rather than as none.
double LossFraction(double x) {
    return std::isnan(x) ? 1.0 : std::clamp(x, 0.0, 1.0);
}

// Deduction is a single-precision field: every step adds in double and stores the float.
// Each step and the total are kept within 0 to 1, so net scale and cubic volume are never
// negative and never above the gross.
void AddDeduction(LogSegment& segment, double amount) {
    const double total = static_cast<double>(segment.Deduction) + LossFraction(amount);
    segment.Deduction = static_cast<float>(LossFraction(total));
}

// Loss factor of decay of diameter d at a log end: (d + 1)^2 / (SED - 1)^2, the divisor kept
// at least 1 so small logs cannot divide by zero.
double DecayFactor(int decayDiameter, int sed) {
    const double divisor = std::max(sed - 1, 1);
    return (decayDiameter + 1.0) * (decayDiameter + 1.0) / (divisor * divisor);
}

// Sector of a seam at position x: its one sector when straight, else interpolated between
// the start and end sectors the shorter way round, rounded.
double SeamSectorAt(const SurfaceDefect& seam, int x) {
    if (seam.Sector == seam.EndSector) {
        return seam.Sector;
    }
    double from = seam.Sector;
    double to = seam.EndSector;
    if (std::fabs(to - from) >= 18.0) {
        if (from < to) {
            from += 36.0;
        } else {
            to += 36.0;
        }
    }
    const int span = seam.EndPosition - seam.Position;
    if (span == 0) {
        return RoundHalfEven(from);
    }
    return RoundHalfEven(from + (to - from) * (x - seam.Position) / span);
}

// The losses of the decays `decays` (indices into the end defect table, in table order) that
// show at an end of the log. Kept out of line, so that a log no decay touches, the common
// case, is found without setting up this arithmetic.
[[gnu::noinline]] void AddDecayLosses(const Tree& tree, std::span<const int> decays,
                                      LogSegment& segment) {
    const int s = segment.StartPosition;
    const int e = segment.EndPosition;
    const double length = segment.LengthInches;
    for (const int n : decays) {
        const EndDefect& d = tree.EndDefects[static_cast<std::size_t>(n)];
        const int a = d.StartPosition;
        const int b = d.EndPosition;
        if (!Overlaps(a, b, s, e)) {
            continue;
        }
        auto factorAt = [&](int first, int last) {
            const auto middle = RoundToInt((first + last) * 0.5);
            return DecayFactor(tree.DecayProfile[static_cast<std::size_t>(middle)], segment.SED);
        };
        if (a <= s && b >= e) {
            AddDeduction(segment, factorAt(s, e));
        } else if (a > s && b >= e) {
            AddDeduction(segment, factorAt(a, e) * (e - a) / length);
        } else if (a <= s && b < e) {
            AddDeduction(segment, factorAt(s, b) * (b - s) / length);
        }
        // Decay lying wholly inside the log shows at neither end and costs nothing.
    }
}

// Whether a seam costs the log [s, e] anything: it lies at least partly in the log (a seam
// that ends before it starts covers nothing).
bool SeamTouches(const SurfaceDefect& seam, int s, int e) {
    const int a = seam.Position;
    const int b = seam.EndPosition;
    return !(a > e || b < s || b < a);
}

// The losses of the seams `seams` (indices into the surface defect table, in table order)
// that touch the log; out of line for the same reason as AddDecayLosses.
[[gnu::noinline]] void AddSeamLosses(const Tree& tree, std::span<const int> seams,
                                     LogSegment& segment) {
    const int s = segment.StartPosition;
    const int e = segment.EndPosition;
    const double length = segment.LengthInches;
    for (const int n : seams) {
        const SurfaceDefect& d = tree.SurfaceDefects[static_cast<std::size_t>(n)];
        const int a = d.Position;
        const int b = d.EndPosition;
        if (!SeamTouches(d, s, e)) {
            continue;
        }
        // A seam within 48 inches of a log end is taken to run out of that end.
        const int u = a < s + 48 ? s : a;
        const int w = b > e - 48 ? e : b;
        int k = static_cast<int>(std::fabs(SeamSectorAt(d, u) - SeamSectorAt(d, w)));
        if (k >= 19) {
            k = 36 - k;
        }
        AddDeduction(segment, (w - u) / length * (k + 1) / 36.0);
    }
}

} // namespace

void SetSegmentEnds(const Tree& tree, LogSegment& segment, int start, int end) {
    segment.StartPosition = start;
    segment.EndPosition = end;
    segment.LengthInches = static_cast<std::uint16_t>(end - start);
    const std::uint16_t atStart = tree.Stem.Diameter[Inch(start)];
    const std::uint16_t atEnd = tree.Stem.Diameter[Inch(end)];
    segment.SED = std::min(atStart, atEnd);
    segment.LED = atStart < atEnd ? atEnd : atStart;
}

void ComputeSweep(const Tree& tree, const TreeIndex& index, const LogLengthSet& lengths,
                  LogSegment& segment) {
    const StemModel& stem = tree.Stem;
    const int s = segment.StartPosition;
    const int e = segment.EndPosition;
    const double xs = stem.CentreX[Inch(s)];
    const double ys = stem.CentreY[Inch(s)];
    const double xe = stem.CentreX[Inch(e)];
    const double ye = stem.CentreY[Inch(e)];
    const double n = segment.LengthInches;
    // The square root is taken once, of the largest square: it is correctly rounded and never
    // decreasing, so the root of the largest is the largest of the roots, and a square that is
    // not a number is passed over by std::max either way.
    double largestSquare = 0.0;
    // The chord's offset per inch, worked out once rather than at every cross-section (the
    // same operations on the same values, so the same results).
    const double slopeX = (xe - xs) / n;
    const double slopeY = (ye - ys) / n;
    const auto first = std::upper_bound(index.Points.begin(), index.Points.end(), s);
    for (auto point = first; point != index.Points.end() && *point < e; ++point) {
        const int p = *point;
        const double dx = stem.CentreX[Inch(p)] - (xs + slopeX * (p - s));
        const double dy = stem.CentreY[Inch(p)] - (ys + slopeY * (p - s));
        largestSquare = std::max(largestSquare, dx * dx + dy * dy);
    }
    const double largest = std::sqrt(largestSquare);
    const double sweep = RoundHalfEven(largest);
    segment.Sweep = static_cast<float>(sweep);

    const bool longLog = segment.LengthInches >= lengths.Lengths[2];
    const double allowance = longLog ? 2.0 : 1.0; // inches of sweep that cost nothing
    const double topDiameter = stem.Diameter[Inch(e)];
    double deduction = 0.0;
    if (sweep >= allowance + 1.0) {
        deduction = topDiameter > 0.0 ? (sweep - allowance) / topDiameter : 1.0;
    }
    segment.SweepDeduction = static_cast<float>(LossFraction(deduction));
    segment.Deduction = segment.SweepDeduction;
}

void DecayDeduction(const Tree& tree, const TreeIndex& index, LogSegment& segment) {
    const int s = segment.StartPosition;
    const int e = segment.EndPosition;
    const auto touches = [&](int n) {
        const EndDefect& d = tree.EndDefects[static_cast<std::size_t>(n)];
        return Overlaps(d.StartPosition, d.EndPosition, s, e);
    };
    // A plain loop: the lists are short, too short for std::find_if's unrolling to pay.
    const auto end = index.Decays.end();
    for (auto first = index.Decays.begin(); first != end; ++first) {
        if (touches(*first)) {
            AddDecayLosses(tree, {first, end}, segment);
            return;
        }
    }
}

void ForkBulgeDeduction(const Tree& tree, const TreeIndex& index, LogSegment& segment) {
    const int s = segment.StartPosition;
    const int e = segment.EndPosition;
    const double length = segment.LengthInches;
    for (const int n : index.ForksAndBulges) {
        const SurfaceDefect& d = tree.SurfaceDefects[static_cast<std::size_t>(n)];
        const int a = d.Position;
        const int b = d.EndPosition;
        if (b < a) {
            continue; // a span that ends before it starts covers nothing
        }
        if (a <= s && b >= e) {
            segment.Deduction = 1.0F;
        } else if (s < a && b < e) {
            AddDeduction(segment, (b - a) / length);
        } else if (s <= a && a <= e && b >= e) {
            AddDeduction(segment, (e - a) / length);
        } else if (a <= s && s <= b && b <= e) {
            AddDeduction(segment, (b - s) / length);
        }
    }
}

void SeamDeduction(const Tree& tree, const TreeIndex& index, LogSegment& segment) {
    const int s = segment.StartPosition;
    const int e = segment.EndPosition;
    const auto touches = [&](int n) {
        const SurfaceDefect& d = tree.SurfaceDefects[static_cast<std::size_t>(n)];
        return SeamTouches(d, s, e);
    };
    // A plain loop: the lists are short, too short for std::find_if's unrolling to pay.
    const auto end = index.Seams.end();
    for (auto first = index.Seams.begin(); first != end; ++first) {
        if (touches(*first)) {
            AddSeamLosses(tree, {first, end}, segment);
            return;
        }
    }
}

void MarkButtLog(LogSegment& segment) {
    segment.ButtLog = segment.StartPosition == 0 ? 1 : 0;
}

std::uint16_t NetScale(const LogRuleTable& logRule, const LogSegment& segment) {
    const int feet = segment.NominalLength;
    if (feet < 8 || feet > 16 || feet % 2 != 0 || segment.SED < 1 || segment.SED > 50) {
        return 0;
    }
    // The lengths and diameters LogRuleTable::VolumeFor gives a volume for are the ones let
    // through above; its entry is read directly, since every log asks for one.
    const double table = logRule.Entries[static_cast<std::size_t>(segment.SED - 1)]
                             .Volume[static_cast<std::size_t>((feet - 8) / 2)];
    if (!(table > 0.0)) {
        return 0; // no volume, or a damaged table entry (negative, not a number)
    }
    const double gross = std::min(RoundHalfEven(table), 65535.0);
    if (segment.Deduction == 0.0F) {
        return static_cast<std::uint16_t>(gross); // a sound, straight log: nothing to round off
    }
    const double net = gross - RoundHalfEven(gross * static_cast<double>(segment.Deduction));
    return static_cast<std::uint16_t>(std::clamp(net, 0.0, 65535.0));
}

float CubicVolume(const LogSegment& segment) {
    const double r1 = segment.LED / 24.0;
    const double r2 = segment.SED / 24.0;
    const double volume = (3.14 * (r1 * r1) + 3.14 * (r2 * r2)) * 0.5 * segment.NominalLength;
    return static_cast<float>(volume - volume * static_cast<double>(segment.Deduction));
}

} // namespace varnok::detail
