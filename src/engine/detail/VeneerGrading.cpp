#include "engine/detail/VeneerGrading.h"

#include "support/Numbers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <span>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace varnok::detail {
namespace {

// A ratio of a defect diameter over a stem diameter; over a zero diameter any defect counts
// as too large.
bool RatioOver(double defect, double stem, double limit) {
    return stem > 0.0 ? defect / stem > limit : defect > 0.0;
}

// Why a traced grade failed, or the count that let it pass.
struct Finding {
    const char* Rule = "defect_count";
    std::string Detail;
};

std::string Inches(double value) {
    return FormatGeneral(value) + " in.";
}

const char* SurfaceKindName(std::uint8_t kind) {
    static constexpr std::array<const char*, 3> kNames = {"knot", "bump", "surface rise"};
    return kind < kNames.size() ? kNames[kind] : "defect";
}

// Whether a knot, bump or surface rise is larger than a grade's knot size allows.
bool KnotTooLarge(const SurfaceDefect& d, int maxKnotSize) {
    return d.Width > maxKnotSize || d.Length > maxKnotSize;
}

// A knot size limit no defect exceeds: widths and lengths are bytes.
constexpr int kNoKnotLimit = 255;

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
    LogDefects() {}           // NOLINT: the lists are filled before they are read
    bool Stain = false;       // rules out every grade, as does
    bool ForkOrBulge = false; // a fork or a bulge
    bool Decay = false;
    bool Heart = false;
    std::array<const SurfaceDefect*, kMaxSurfaceDefects> Seams; // filled up to SeamCount
    std::array<const SurfaceDefect*, kMaxSurfaceDefects> Knots; // table order, up to KnotCount
    std::size_t SeamCount = 0;
    std::size_t KnotCount = 0;

    std::span<const SurfaceDefect* const> SeamList() const { return {Seams.data(), SeamCount}; }
    std::span<const SurfaceDefect* const> KnotList() const { return {Knots.data(), KnotCount}; }
};

// Adds the knots whose stretch overlaps the log [s, e], in table order. A knot's stretch never
// ends below its start, so it overlaps the log when it starts at or below the top and ends at
// or above the butt. Stops, returning false, at the first such knot larger than `largestKnot`.
bool GatherKnots(const Tree& tree, const TreeIndex& index, int s, int e, int largestKnot,
                 LogDefects& found) {
    const TreeIndex::Extent* extents = index.KnotExtents.data();
    const int* knots = index.Knots.data();
    const std::size_t count = index.Knots.size();
    const SurfaceDefect* defects = tree.SurfaceDefects.data();
    std::size_t kept = found.KnotCount;
    auto keep = [&](std::size_t k) {
        const SurfaceDefect& d = defects[static_cast<std::size_t>(knots[k])];
        found.Knots[kept++] = &d;
        return !KnotTooLarge(d, largestKnot);
    };
    std::size_t k = 0;
#if defined(__SSE2__)
    // Eight knots a step, their extents read as Low, High pairs of 32-bit lanes: a lane of Low
    // compares over e, one of High over s - 1, and a knot overlaps when the first is false and
    // the second true. The knots past the last whole step go through the loop below.
    static_assert(sizeof(TreeIndex::Extent) == 2 * sizeof(std::int32_t));
    const __m128i bounds = _mm_setr_epi32(e, s - 1, e, s - 1);
    auto over = [&](std::size_t at) {
        const __m128i pair = _mm_loadu_si128(reinterpret_cast<const __m128i*>(extents + at));
        return static_cast<unsigned>(
            _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(pair, bounds))));
    };
    for (; k + 8 <= count; k += 8) {
        unsigned bits =
            (over(k) | over(k + 2) << 4U | over(k + 4) << 8U | over(k + 6) << 12U) ^ 0x5555U;
        bits &= bits >> 1U;
        bits &= 0x5555U;
        while (bits != 0) {
            if (!keep(k + static_cast<std::size_t>(std::countr_zero(bits)) / 2)) {
                return false;
            }
            bits &= bits - 1;
        }
    }
#endif
    for (; k < count; ++k) {
        if (extents[k].Low <= e && extents[k].High >= s && !keep(k)) {
            return false;
        }
    }
    found.KnotCount = kept;
    return true;
}

// Gathers what concerns the log [s, e]. Returns false, leaving `found` incomplete, when a knot
// larger than `largestKnot` touches the log: then no grade whose knot size is at most that can
// be met. With kNoKnotLimit it gathers everything and returns true.
bool GatherDefects(const Tree& tree, const TreeIndex& index, int s, int e, int largestKnot,
                   LogDefects& found) {
    const auto endTouches = [&](int n) {
        const EndDefect& d = tree.EndDefects[static_cast<std::size_t>(n)];
        return Overlaps(d.StartPosition, d.EndPosition, s, e);
    };
    const auto surfaceTouches = [&](int n) {
        const SurfaceDefect& d = tree.SurfaceDefects[static_cast<std::size_t>(n)];
        return Overlaps(d.Position, d.EndPosition, s, e);
    };
    found.Stain = std::ranges::any_of(index.Stains, endTouches);
    found.ForkOrBulge = std::ranges::any_of(index.ForksAndBulges, surfaceTouches);
    if (found.Stain || found.ForkOrBulge) {
        return true;
    }
    // The knots before the rest: a knot too large settles the log without it.
    if (!GatherKnots(tree, index, s, e, largestKnot, found)) {
        return false;
    }
    found.Decay = std::ranges::any_of(index.Decays, endTouches);
    found.Heart = std::ranges::any_of(index.Hearts, endTouches);
    for (const int n : index.Seams) {
        if (surfaceTouches(n)) {
            found.Seams[found.SeamCount++] = &tree.SurfaceDefects[static_cast<std::size_t>(n)];
        }
    }
    return true;
}

std::string AcceptedLengths(const VeneerGradeRules& rules) {
    std::string lengths;
    for (int feet = 8; feet <= 16; feet += 2) {
        if (rules.Accepts(feet)) {
            lengths += (lengths.empty() ? "" : ", ") + std::to_string(feet);
        }
    }
    return lengths.empty() ? "no length" : lengths + " ft";
}

// Traced (`why` not null), a failure says which requirement and by how much.
bool MeetsLogRequirements(const VeneerGradeRules& rules, const LogSegment& segment, Finding* why) {
    if (!rules.Accepts(segment.NominalLength)) {
        if (why != nullptr) {
            *why = {"length", std::to_string(segment.NominalLength) + " ft not accepted (" +
                                  AcceptedLengths(rules) + ")"};
        }
        return false;
    }
    if (segment.SED < rules.MinSmallEndDiameter) {
        if (why != nullptr) {
            *why = {"sed", "SED " + Inches(segment.SED) + " under the minimum of " +
                               Inches(rules.MinSmallEndDiameter)};
        }
        return false;
    }
    const float maxSweep = rules.MaxSweepFor(segment.SED);
    // A whole limit is inches, any other a fraction of SED; whether it is whole matters only
    // when the sweep is over it.
    const bool overWhole = segment.Sweep > maxSweep && std::floor(maxSweep) == maxSweep;
    const double scaled = static_cast<double>(maxSweep) * segment.SED;
    if (overWhole || !(static_cast<double>(segment.Sweep) <= scaled)) {
        if (why != nullptr) {
            const std::string limit =
                overWhole ? Inches(maxSweep)
                          : FormatGeneral(maxSweep) + " x SED = " + FormatFixed(scaled, 2) + " in.";
            *why = {"sweep", "sweep " + Inches(segment.Sweep) + " over the " + limit +
                                 " allowed at SED " + Inches(segment.SED)};
        }
        return false;
    }
    return true;
}

class VeneerTest {
public:
    VeneerTest(const Tree& tree, const VeneerGradeRules& rules, const LogSegment& segment)
        : tree_(tree), rules_(rules), seg_(segment), s_(segment.StartPosition),
          e_(segment.EndPosition), halves_(rules.HalvesSeparateFor(segment.NominalLength)),
          inLine_(rules.InLineCountsAsOneFor(segment.NominalLength)),
          window_(rules.MaxInLineAngle / 10) {}

    // Traced (`why` not null), says which test failed, or the counts when all pass.
    bool Passes(const LogDefects& found, Finding* why) {
        if (found.Stain || found.ForkOrBulge) {
            if (why != nullptr) {
                *why = found.Stain ? Finding{"stain", "stain touches the log"}
                                   : Finding{"fork_bulge", "a fork or bulge touches the log"};
            }
            return false;
        }
        if ((found.Decay && !DecayPasses(why)) || (found.Heart && !HeartPasses(why))) {
            return false;
        }
        for (const SurfaceDefect* seam : found.SeamList()) {
            if (!SeamPasses(*seam, why)) {
                return false;
            }
        }
        for (const SurfaceDefect* knot : found.KnotList()) {
            if (!KnotPasses(*knot, why)) {
                return false;
            }
        }
        const bool within = WithinLimits();
        if (why != nullptr) {
            *why = {"defect_count", DescribeCounts(within)};
        }
        return within;
    }

private:
    bool DecayPasses(Finding* why) const {
        const int hole = rules_.MaxHoleFor(seg_.SED);
        const int atStart = tree_.DecayProfile[static_cast<std::size_t>(s_)];
        const int atEnd = tree_.DecayProfile[static_cast<std::size_t>(e_)];
        if (atStart <= hole && atEnd <= hole) {
            return true;
        }
        if (why != nullptr) {
            *why = {"decay", "decay " + Inches(atStart) + " at " + std::to_string(s_) +
                                 " in. and " + Inches(atEnd) + " at " + std::to_string(e_) +
                                 " in., the hole allowed at SED " + Inches(seg_.SED) + " is " +
                                 Inches(hole)};
        }
        return false;
    }

    bool HeartPasses(Finding* why) const {
        const auto sAt = static_cast<std::size_t>(s_);
        const auto eAt = static_cast<std::size_t>(e_);
        const double limit = static_cast<double>(rules_.MaxHeartPercent) / 100.0;
        const bool overAtEnd = RatioOver(tree_.HeartProfile[eAt], tree_.Stem.Diameter[eAt], limit);
        if (!overAtEnd && !RatioOver(tree_.HeartProfile[sAt], tree_.Stem.Diameter[sAt], limit)) {
            return true;
        }
        if (why != nullptr) {
            const std::size_t at = overAtEnd ? eAt : sAt;
            const double heart = tree_.HeartProfile[at];
            const double diameter = tree_.Stem.Diameter[at];
            *why = {"heart", "heart " + Inches(heart) + " over the diameter " + Inches(diameter) +
                                 " at " + std::to_string(at) + " in.: " +
                                 (diameter > 0.0 ? FormatFixed(heart / diameter, 2)
                                                 : std::string("any heart")) +
                                 ", above " + FormatGeneral(limit)};
        }
        return false;
    }

    bool KnotPasses(const SurfaceDefect& d, Finding* why) {
        if (KnotTooLarge(d, rules_.MaxKnotSize)) {
            if (why != nullptr) {
                *why = {"knot_size",
                        std::string(SurfaceKindName(d.Kind)) + " at " + std::to_string(d.Position) +
                            " in. (sector " + std::to_string(d.Sector) + ") is " +
                            std::to_string(d.Width) + " by " + std::to_string(d.Length) +
                            " in., over the " + Inches(rules_.MaxKnotSize) + " allowed"};
            }
            return false;
        }
        DefectGroup& group =
            !halves_ || d.Position <= s_ + seg_.LengthInches / 2.0 ? lower_ : upper_;
        group.Add(d.Sector, window_, inLine_);
        return true;
    }

    // A straight seam short enough counts as one defect, in both halves when they count apart.
    bool SeamPasses(const SurfaceDefect& d, Finding* why) {
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
        if (inside > rules_.MaxSeamLength * 12) {
            if (why != nullptr) {
                *why = {"seam_length",
                        "seam from " + std::to_string(a) + " to " + std::to_string(b) +
                            " in. runs " + std::to_string(inside) + " in. in the log, over the " +
                            std::to_string(rules_.MaxSeamLength) + " ft (" +
                            std::to_string(rules_.MaxSeamLength * 12) + " in.) allowed"};
            }
            return false;
        }
        if (d.Sector != d.EndSector) {
            if (why != nullptr) {
                *why = {"seam_straight",
                        "seam from " + std::to_string(a) + " to " + std::to_string(b) +
                            " in. turns from sector " + std::to_string(d.Sector) + " to " +
                            std::to_string(d.EndSector) + "; only straight seams are allowed"};
            }
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

    // The defects counted against the limits that apply, e.g. "5 defects (lower half 3, upper
    // half 2), over the limit of 4 at SED 14 in.".
    std::string DescribeCounts(bool within) const {
        const bool byDiameter = rules_.DefectsVaryWithDiameter != 0;
        const bool byLength = rules_.DefectsVaryWithLength != 0;
        std::string counts = halves_ ? "lower half " + std::to_string(lower_.Count) +
                                           " defects, upper half " + std::to_string(upper_.Count)
                                     : std::to_string(lower_.Count) + " defects";
        std::string limits;
        if (byDiameter) {
            limits = std::to_string(rules_.MaxDefectsForDiameterOf(seg_.SED)) + " at SED " +
                     Inches(seg_.SED);
        }
        if (byLength) {
            limits += (limits.empty() ? "" : " and ") +
                      std::to_string(rules_.MaxDefectsForLengthOf(seg_.NominalLength)) + " at " +
                      std::to_string(seg_.NominalLength) + " ft";
        }
        if (!byDiameter && !byLength) {
            if (halves_) {
                return counts + "; no limit applies to halves";
            }
            limits = std::to_string(rules_.MaxDefects);
        }
        return counts + (within ? ", within the limit of " : ", over the limit of ") + limits;
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

// The grades met, in slots 0 to 2, with the slots beyond the grade count as they were.
using GradesMet = std::array<std::uint8_t, 3>;

// Each grade with its verdict traced: the defects gathered whole, so that every grade fails on
// its first test in order.
GradesMet GradeTraced(const Tree& tree, const TreeIndex& index, const VeneerRuleSet& rules,
                      const LogSegment& segment, GradeTrace& trace, GradesMet met) {
    LogDefects found;
    bool gathered = false;
    for (int grade = rules.GradeCount(); grade >= 1; --grade) {
        const auto slot = static_cast<std::size_t>(grade - 1);
        const VeneerGradeRules& block = rules.Blocks[slot]; // GradeCount is at most 3
        Finding finding;
        bool passes = MeetsLogRequirements(block, segment, &finding);
        if (passes) {
            if (!gathered) {
                GatherDefects(tree, index, segment.StartPosition, segment.EndPosition, kNoKnotLimit,
                              found);
                gathered = true;
            }
            passes = VeneerTest(tree, block, segment).Passes(found, &finding);
        }
        trace.Record(grade, 0, passes, finding.Rule, std::move(finding.Detail));
        met[slot] = passes ? 1 : 0;
    }
    return met;
}

// Untraced, only whether each grade is met counts, not which test fails first: a knot too
// large for every grade that meets the log requirements settles the log without the rest of
// its defects.
GradesMet GradeUntraced(const Tree& tree, const TreeIndex& index, const VeneerRuleSet& rules,
                        const LogSegment& segment, GradesMet met) {
    const int grades = rules.GradeCount();
    unsigned candidates = 0; // bit g - 1 for grade g
    int largestKnot = -1;
    for (int grade = grades; grade >= 1; --grade) {
        const VeneerGradeRules& block = rules.Blocks[static_cast<std::size_t>(grade - 1)];
        if (MeetsLogRequirements(block, segment, nullptr)) {
            candidates |= 1U << static_cast<unsigned>(grade - 1);
            largestKnot = std::max<int>(largestKnot, block.MaxKnotSize);
        }
    }
    unsigned passed = 0;
    LogDefects found;
    if (largestKnot >= 0 && GatherDefects(tree, index, segment.StartPosition, segment.EndPosition,
                                          largestKnot, found)) {
        for (int grade = grades; grade >= 1; --grade) {
            const auto bit = 1U << static_cast<unsigned>(grade - 1);
            if ((candidates & bit) != 0 &&
                VeneerTest(tree, rules.Blocks[static_cast<std::size_t>(grade - 1)], segment)
                    .Passes(found, nullptr)) {
                passed |= bit;
            }
        }
    }
    for (int grade = 1; grade <= grades; ++grade) {
        met[static_cast<std::size_t>(grade - 1)] = (passed >> (grade - 1) & 1U) != 0 ? 1 : 0;
    }
    return met;
}

} // namespace

void GradeVeneerAll(const Tree& tree, const TreeIndex& index, const VeneerRuleSet& rules,
                    LogSegment& segment, GradeTrace* trace) {
    // The grades are kept by value and written once at the end: they are bytes, and a store
    // through a byte may change anything as far as the compiler knows, the log's fields read
    // by the tests too.
    const GradesMet met =
        trace != nullptr ? GradeTraced(tree, index, rules, segment, *trace, segment.VeneerGradeMet)
                         : GradeUntraced(tree, index, rules, segment, segment.VeneerGradeMet);
    std::uint8_t best = kNoGrade;
    for (int grade = rules.GradeCount(); grade >= 1; --grade) {
        if (met[static_cast<std::size_t>(grade - 1)] != 0) {
            best = static_cast<std::uint8_t>(grade);
        }
    }
    segment.VeneerGradeMet = met;
    segment.VeneerGrade = best;
}

} // namespace varnok::detail
