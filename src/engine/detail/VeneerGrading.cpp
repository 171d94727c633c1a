#include "engine/detail/VeneerGrading.h"

#include "support/Numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <span>

namespace varnok::detail {
namespace {

// A ratio of a defect diameter over a stem diameter; over a zero diameter any defect counts
// as too large.
bool RatioOver(double defect, double stem, double limit) {
    return stem > 0.0 ? defect / stem > limit : defect > 0.0;
}

// Knot-type defects of one half (or of the whole log), with the window of sectors of the
// defects in line so far.
struct DefectGroup {
    int Count = 0;
    bool Open = false;
    int Lo = 0;
    int Hi = 0;

    // Counts a defect at `sector` unless it lies in line with the window (within w sectors
    // either way round the stem).
    void Add(int sector, int w, bool inLineCountsAsOne) {
        if (!inLineCountsAsOne) {
            ++Count;
            return;
        }
        if (!Open) {
            Open = true;
            Lo = sector;
            Hi = sector;
            ++Count;
            return;
        }
        bool inLine = false;
        if (sector <= Lo) {
            const int apart = std::abs(sector - Hi);
            inLine = apart <= w || 36 - apart <= w;
        } else if (sector > Hi) {
            const int apart = std::abs(Lo - sector);
            inLine = apart <= w || 36 - apart <= w;
        }
        if (inLine) {
            Lo = std::min(Lo, sector);
            Hi = std::max(Hi, sector);
            return;
        }
        ++Count;
    }
};

// What the defects of the tree hold against one log, gathered once for all grades. Every
// test a defect undergoes is the same for every defect of its kind or depends on the grade
// only through a limit, and the counts only grow, so a grade is met exactly when each limit
// holds for the gathered defects: the order of the kinds does not matter, only the order of
// the knots among themselves (for the in-line windows).
struct LogDefects {
    LogDefects() {}                // NOLINT: the lists are filled before they are read
    bool StainForkOrBulge = false; // rules out every grade
    bool Decay = false;
    bool Heart = false;
    std::array<const SurfaceDefect*, kMaxSurfaceDefects> Seams; // filled up to SeamCount
    std::array<const SurfaceDefect*, kMaxSurfaceDefects> Knots; // table order, up to KnotCount
    std::size_t SeamCount = 0;
    std::size_t KnotCount = 0;

    std::span<const SurfaceDefect* const> SeamList() const { return {Seams.data(), SeamCount}; }
    std::span<const SurfaceDefect* const> KnotList() const { return {Knots.data(), KnotCount}; }
};

void GatherDefects(const Tree& tree, const TreeIndex& index, int s, int e, LogDefects& found) {
    for (const int n : index.Stains) {
        const EndDefect& d = tree.EndDefects[static_cast<std::size_t>(n)];
        found.StainForkOrBulge =
            found.StainForkOrBulge || Overlaps(d.StartPosition, d.EndPosition, s, e);
    }
    for (const int n : index.ForksAndBulges) {
        const SurfaceDefect& d = tree.SurfaceDefects[static_cast<std::size_t>(n)];
        found.StainForkOrBulge =
            found.StainForkOrBulge || Overlaps(d.Position, d.EndPosition, s, e);
    }
    if (found.StainForkOrBulge) {
        return;
    }
    for (const int n : index.Decays) {
        const EndDefect& d = tree.EndDefects[static_cast<std::size_t>(n)];
        found.Decay = found.Decay || Overlaps(d.StartPosition, d.EndPosition, s, e);
    }
    for (const int n : index.Hearts) {
        const EndDefect& d = tree.EndDefects[static_cast<std::size_t>(n)];
        found.Heart = found.Heart || Overlaps(d.StartPosition, d.EndPosition, s, e);
    }
    for (const int n : index.Seams) {
        const SurfaceDefect& d = tree.SurfaceDefects[static_cast<std::size_t>(n)];
        if (Overlaps(d.Position, d.EndPosition, s, e)) {
            found.Seams[found.SeamCount++] = &d;
        }
    }
    for (std::size_t k = 0; k < index.Knots.size(); ++k) {
        const TreeIndex::Extent& extent = index.KnotExtents[k];
        // A knot's stretch never ends below its start, so it overlaps the log when it starts
        // at or below the top and ends at or above the butt.
        if (extent.Low <= e && extent.High >= s) {
            found.Knots[found.KnotCount++] =
                &tree.SurfaceDefects[static_cast<std::size_t>(index.Knots[k])];
        }
    }
}

bool MeetsLogRequirements(const VeneerGradeRules& rules, const LogSegment& segment) {
    if (!rules.Accepts(segment.NominalLength) || segment.SED < rules.MinSmallEndDiameter) {
        return false;
    }
    const float maxSweep = rules.MaxSweepFor(segment.SED);
    if (std::floor(maxSweep) == maxSweep && segment.Sweep > maxSweep) {
        return false;
    }
    return static_cast<double>(segment.Sweep) <= static_cast<double>(maxSweep) * segment.SED;
}

class VeneerTest {
public:
    VeneerTest(const Tree& tree, const VeneerGradeRules& rules, const LogSegment& segment)
        : tree_(tree), rules_(rules), seg_(segment), s_(segment.StartPosition),
          e_(segment.EndPosition), halves_(rules.HalvesSeparateFor(segment.NominalLength)),
          inLine_(rules.InLineCountsAsOneFor(segment.NominalLength)),
          window_(rules.MaxInLineAngle / 10) {}

    bool Passes(const LogDefects& found) {
        if (found.StainForkOrBulge || (found.Decay && !DecayPasses()) ||
            (found.Heart && !HeartPasses())) {
            return false;
        }
        for (const SurfaceDefect* seam : found.SeamList()) {
            if (!SeamPasses(*seam)) {
                return false;
            }
        }
        for (const SurfaceDefect* knot : found.KnotList()) {
            if (!KnotPasses(*knot)) {
                return false;
            }
        }
        return WithinLimits();
    }

private:
    bool DecayPasses() const {
        const int hole = rules_.MaxHoleFor(seg_.SED);
        return tree_.DecayProfile[static_cast<std::size_t>(s_)] <= hole &&
               tree_.DecayProfile[static_cast<std::size_t>(e_)] <= hole;
    }

    bool HeartPasses() const {
        const auto sAt = static_cast<std::size_t>(s_);
        const auto eAt = static_cast<std::size_t>(e_);
        const double limit = static_cast<double>(rules_.MaxHeartPercent) / 100.0;
        return !RatioOver(tree_.HeartProfile[eAt], tree_.Stem.Diameter[eAt], limit) &&
               !RatioOver(tree_.HeartProfile[sAt], tree_.Stem.Diameter[sAt], limit);
    }

    bool KnotPasses(const SurfaceDefect& d) {
        if (d.Width > rules_.MaxKnotSize || d.Length > rules_.MaxKnotSize) {
            return false;
        }
        DefectGroup& group =
            !halves_ || d.Position <= s_ + seg_.LengthInches / 2.0 ? lower_ : upper_;
        group.Add(d.Sector, window_, inLine_);
        return true;
    }

    // A straight seam short enough counts as one defect, in both halves when they count apart.
    bool SeamPasses(const SurfaceDefect& d) {
        const int a = d.Position;
        const int b = d.EndPosition;
        int inside = seg_.LengthInches; // covers the whole log
        if (a >= s_ && b <= e_) {
            inside = b - a;
        } else if (a < s_ && b <= e_) {
            inside = b - s_;
        } else if (a >= s_ && b > e_) {
            inside = e_ - a;
        }
        if (inside > rules_.MaxSeamLength * 12 || d.Sector != d.EndSector) {
            return false;
        }
        ++lower_.Count;
        if (halves_) {
            ++upper_.Count;
        }
        return true;
    }

    bool WithinLimits() const {
        const bool byDiameter = rules_.DefectsVaryWithDiameter != 0;
        const bool byLength = rules_.DefectsVaryWithLength != 0;
        const int diameterMax = rules_.MaxDefectsForDiameterOf(seg_.SED);
        const int lengthMax = rules_.MaxDefectsForLengthOf(seg_.NominalLength);
        auto within = [&](int count) {
            if (byDiameter && count > diameterMax) {
                return false;
            }
            if (byLength && count > lengthMax) {
                return false;
            }
            return true;
        };
        if (halves_) {
            return within(lower_.Count) && within(upper_.Count);
        }
        if (!byDiameter && !byLength) {
            return lower_.Count <= rules_.MaxDefects;
        }
        return within(lower_.Count);
    }

    const Tree& tree_;
    const VeneerGradeRules& rules_;
    const LogSegment& seg_;
    int s_;
    int e_;
    bool halves_;
    bool inLine_;
    int window_;
    DefectGroup lower_; // the whole log when halves are not counted separately
    DefectGroup upper_;
};

} // namespace

void GradeVeneerAll(const Tree& tree, const TreeIndex& index, const VeneerRuleSet& rules,
                    LogSegment& segment) {
    segment.VeneerGrade = kNoGrade;
    LogDefects found;
    bool gathered = false;
    for (int grade = rules.GradeCount(); grade >= 1; --grade) {
        const auto slot = static_cast<std::size_t>(grade - 1);
        segment.VeneerGradeMet[slot] = 0;
        const VeneerGradeRules& block = rules.GradeBlock(grade);
        if (!MeetsLogRequirements(block, segment)) {
            continue;
        }
        if (!gathered) {
            GatherDefects(tree, index, segment.StartPosition, segment.EndPosition, found);
            gathered = true;
        }
        if (VeneerTest(tree, block, segment).Passes(found)) {
            segment.VeneerGradeMet[slot] = 1;
            segment.VeneerGrade = static_cast<std::uint8_t>(grade);
        }
    }
}

} // namespace varnok::detail
