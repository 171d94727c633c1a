#include "engine/VeneerGrading.h"

#include "support/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace varnok {
namespace {

bool Overlaps(int p1, int p2, int s, int e) {
    return (s <= p1 && p1 <= e) || (s <= p2 && p2 <= e) || (p1 < s && p2 > e);
}

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
    // either way round the stem); returns whether it was counted.
    bool Add(int sector, int w, bool inLineCountsAsOne) {
        if (!inLineCountsAsOne) {
            ++Count;
            return true;
        }
        if (!Open) {
            Open = true;
            Lo = sector;
            Hi = sector;
            ++Count;
            return true;
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
            return false;
        }
        ++Count;
        return true;
    }
};

class VeneerTest {
public:
    VeneerTest(const Tree& tree, const VeneerGradeRules& rules, const LogSegment& segment)
        : tree_(tree), rules_(rules), seg_(segment), s_(segment.StartPosition),
          e_(segment.EndPosition), halves_(rules.HalvesSeparateFor(segment.NominalLength)),
          inLine_(rules.InLineCountsAsOneFor(segment.NominalLength)),
          window_(rules.MaxInLineAngle / 10) {}

    bool Passes() {
        for (const EndDefect& d : tree_.Ends()) {
            if (!EndDefectPasses(d)) {
                return false;
            }
        }
        for (const SurfaceDefect& d : tree_.Surface()) {
            if (!SurfaceDefectPasses(d)) {
                return false;
            }
        }
        return true;
    }

private:
    bool EndDefectPasses(const EndDefect& d) const {
        if (!Overlaps(d.StartPosition, d.EndPosition, s_, e_)) {
            return true;
        }
        const auto sAt = static_cast<std::size_t>(s_);
        const auto eAt = static_cast<std::size_t>(e_);
        switch (static_cast<DefectKind>(d.Kind)) {
        case DefectKind::Decay: {
            const int hole = rules_.MaxHoleFor(seg_.SED);
            return tree_.DecayProfile[sAt] <= hole && tree_.DecayProfile[eAt] <= hole;
        }
        case DefectKind::Stain:
            return false;
        default: {
            const double limit = static_cast<double>(rules_.MaxHeartPercent) / 100.0;
            return !RatioOver(tree_.HeartProfile[eAt], tree_.Stem.Diameter[eAt], limit) &&
                   !RatioOver(tree_.HeartProfile[sAt], tree_.Stem.Diameter[sAt], limit);
        }
        }
    }

    bool SurfaceDefectPasses(const SurfaceDefect& d) {
        switch (static_cast<DefectKind>(d.Kind)) {
        case DefectKind::Fork:
        case DefectKind::Bulge:
            return !Overlaps(d.Position, d.EndPosition, s_, e_);
        case DefectKind::Seam:
            return SeamPasses(d);
        default:
            return KnotPasses(d);
        }
    }

    bool KnotPasses(const SurfaceDefect& d) {
        const auto half = static_cast<int>(RoundToInt(d.Length / 2.0));
        if (!Overlaps(d.Position - half, d.Position + half, s_, e_)) {
            return true;
        }
        if (d.Width > rules_.MaxKnotSize || d.Length > rules_.MaxKnotSize) {
            return false;
        }
        DefectGroup& group =
            !halves_ || d.Position <= s_ + seg_.LengthInches / 2.0 ? lower_ : upper_;
        if (!group.Add(d.Sector, window_, inLine_)) {
            return true;
        }
        return WithinLimits();
    }

    bool SeamPasses(const SurfaceDefect& d) {
        const int a = d.Position;
        const int b = d.EndPosition;
        if (!Overlaps(a, b, s_, e_)) {
            return true;
        }
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
        return WithinLimits();
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

} // namespace

void GradeVeneer(const Tree& tree, const Market& market, int grade, LogSegment& segment) {
    const auto index = static_cast<std::size_t>(grade - 1);
    segment.VeneerGradeMet[index] = 0;
    const VeneerGradeRules& rules = market.VeneerRules.GradeBlock(grade);
    if (!MeetsLogRequirements(rules, segment)) {
        return;
    }
    VeneerTest test(tree, rules, segment);
    if (test.Passes()) {
        segment.VeneerGradeMet[index] = 1;
        segment.VeneerGrade = static_cast<std::uint8_t>(grade);
    }
}

void GradeVeneerAll(const Tree& tree, const Market& market, LogSegment& segment) {
    segment.VeneerGrade = kNoGrade;
    for (int grade = market.VeneerRules.GradeCount(); grade >= 1; --grade) {
        GradeVeneer(tree, market, grade, segment);
    }
}

} // namespace varnok
