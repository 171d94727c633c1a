#include "TreeGenerator.h"

#include "DetMath.h"
#include "Random.h"

#include "support/Errors.h"
#include "support/Numbers.h"
#include "tree/Tree.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace varnok::datagen {
namespace {

constexpr double kDegree = kPi / 180.0;

int ToTenths(double feet) {
    return static_cast<int>(RoundToInt(feet * 10.0));
}
double ToFeet(int tenths) {
    return tenths / 10.0;
}
int RoundInches(double inches) {
    return static_cast<int>(RoundToInt(inches));
}

// Heights of 100 ft and more can only be written as whole feet.
int WritableHeight(int tenths) {
    return tenths < 1000 ? tenths : (tenths + 5) / 10 * 10;
}

// The undisturbed stem below the merchantable top: butt flare, a straight butt log from breast
// height to the form-class height, then upper logs that taper more with every log.
class StemProfile {
public:
    StemProfile(const SpeciesParameters& species, double dbh, double formClass, double stump,
                double flare)
        : stump_(stump), flare_(flare), insideShare_(1.0 - 2.0 * species.BarkPercent / 100.0),
          dbh_(dbh), breastDiameter_(dbh * insideShare_), formDiameter_(formClass / 100.0 * dbh),
          taper_(std::clamp(kUpperTaperBase + kUpperTaperPerInch * (dbh - 12.0),
                            kUpperTaperClip.Low, kUpperTaperClip.High)) {}

    // Diameter inside bark at `h` feet from the butt.
    double Base(double h) const {
        const double ground = h + stump_;
        if (ground < kBreastHeightGround) {
            // Flare term shifted to reach zero at breast height, so the profile has no step.
            const double flare = Exp(-(ground - 1.0) / kFlareDecayFeet) -
                                 Exp(-(kBreastHeightGround - 1.0) / kFlareDecayFeet);
            return dbh_ * (1.0 + flare_ * std::fmax(flare, 0.0)) * insideShare_;
        }
        if (ground <= kFormClassHeightGround) {
            const double t =
                (ground - kBreastHeightGround) / (kFormClassHeightGround - kBreastHeightGround);
            return breastDiameter_ + (formDiameter_ - breastDiameter_) * t;
        }
        double remaining = ground - kFormClassHeightGround;
        double diameter = formDiameter_;
        for (int log = 2; remaining > 0.0; ++log) {
            const double perLog = taper_ * (1.0 + kUpperTaperGrowth * (log - 2));
            diameter -= perLog * std::fmin(remaining, 16.0) / 16.0;
            remaining -= 16.0;
        }
        return diameter;
    }

    // The first height from `from`, in steps of 0.1 ft up to `to`, where the diameter is at
    // most `diameter`; `to` when there is none.
    double HeightAtDiameter(double diameter, double from, double to) const {
        for (int tenths = ToTenths(from); tenths <= ToTenths(to); ++tenths) {
            if (Base(ToFeet(tenths)) <= diameter) {
                return ToFeet(tenths);
            }
        }
        return to;
    }

private:
    double stump_;
    double flare_;
    double insideShare_;
    double dbh_;
    double breastDiameter_;
    double formDiameter_;
    double taper_;
};

// The whole recorded stem: profile to the merchantable top, then either a pulpwood top or,
// after a fork, one leader; a butt bulge on top of it all.
struct StemShape {
    double Merchantable = 0.0; // feet
    bool Forked = false;
    double TopFrom = 0.0;     // where the pulpwood taper starts
    double TopStart = 0.0;    // diameter there
    double TopRate = 0.0;     // inches per foot
    double Length = 0.0;      // the top of the stem
    double BulgeLength = 0.0; // 0 when the butt has no bulge
    double BulgeExtra = 0.0;

    double Diameter(const StemProfile& profile, double h) const {
        double d = 0.0;
        if (h <= Merchantable) {
            d = profile.Base(h);
        } else if (h < TopFrom) { // between the crotch and the leader station
            const double crotch = profile.Base(Merchantable);
            d = crotch + (TopStart - crotch) * (h - Merchantable) / (TopFrom - Merchantable);
        } else {
            d = TopStart - TopRate * (h - TopFrom);
        }
        if (h < BulgeLength) {
            d *= 1.0 + BulgeExtra * (1.0 - h / BulgeLength);
        }
        return std::fmax(d, kPulpTopDiameter);
    }
};

// A bow of one 16-ft segment and the crook, as offsets of the pith in two planes.
struct StemBends {
    struct Bow {
        double Peak = 0.0;
        double Azimuth = 0.0;
    };
    std::vector<Bow> Bows;
    bool Crooked = false;
    double CrookStart = 0.0;
    double CrookSpan = 0.0;
    double CrookShift = 0.0;
    double CrookAzimuth = 0.0;

    std::pair<double, double> PithOffset(double h) const {
        const auto segment = static_cast<std::size_t>(std::floor(h / kSweepSegmentFeet));
        double x = 0.0;
        double y = 0.0;
        if (segment < Bows.size()) {
            const Bow& bow = Bows[segment];
            const double phase = (h - kSweepSegmentFeet * segment) / kSweepSegmentFeet;
            const double lateral = bow.Peak * Sine(kPi * phase);
            x += lateral * Cosine(bow.Azimuth);
            y += lateral * Sine(bow.Azimuth);
        }
        if (Crooked) {
            const double ramp = std::clamp((h - CrookStart) / CrookSpan, 0.0, 1.0);
            x += CrookShift * ramp * Cosine(CrookAzimuth);
            y += CrookShift * ramp * Sine(CrookAzimuth);
        }
        return {x, y};
    }
};

// The shape file's stations with the diameter between them, interpolated as the tree loader
// does, for sizing the defects on the stem as written.
class WrittenStem {
public:
    explicit WrittenStem(const std::vector<ShapeStation>& stations) : stations_(stations) {}

    double LengthFeet() const { return ToFeet(stations_.back().HeightTenths); }

    int DiameterAt(double feet) const {
        for (std::size_t i = 1; i < stations_.size(); ++i) {
            const double top = ToFeet(stations_[i].HeightTenths);
            if (feet <= top) {
                const double bottom = ToFeet(stations_[i - 1].HeightTenths);
                const double t = (feet - bottom) / (top - bottom);
                return RoundInches(stations_[i - 1].Diameter +
                                   t * (stations_[i].Diameter - stations_[i - 1].Diameter));
            }
        }
        return stations_.back().Diameter;
    }

private:
    const std::vector<ShapeStation>& stations_;
};

// ---------------------------------------------------------------------------------------------
// Stem form

double DrawSweepPeak(Random& random, bool straight) {
    std::array<double, kSweepClasses.size()> shares{};
    for (std::size_t i = 0; i < shares.size(); ++i) {
        shares[i] = kSweepClasses[i].Share;
    }
    const std::size_t chosen = random.Pick(shares);
    return random.Uniform(kSweepClasses[straight ? 0 : chosen].Peak);
}

StemBends DrawBends(Random& random, StemClass stemClass, double length, double merchantable) {
    StemBends bends;
    const auto segments = static_cast<std::size_t>(std::floor(length / kSweepSegmentFeet)) + 1;
    double azimuth = random.Uniform(0.0, 2.0 * kPi);
    for (std::size_t k = 0; k < segments; ++k) {
        const bool straight = stemClass == StemClass::Clean && k == 0;
        const double peak = DrawSweepPeak(random, straight);
        bends.Bows.push_back({peak, azimuth});
        azimuth += random.Uniform(-kSweepTurnDegrees, kSweepTurnDegrees) * kDegree;
    }
    if (stemClass == StemClass::Poor) {
        // One merchantable segment bent beyond what a sawlog grade tolerates.
        const auto merchSegments = static_cast<int>(merchantable / kSweepSegmentFeet);
        const auto worst =
            static_cast<std::size_t>(random.UniformInt(0, std::max(0, merchSegments - 1)));
        bends.Bows[worst].Peak = random.Uniform(kSweepClasses.back().Peak);
    }
    const double crookChance = stemClass == StemClass::Poor    ? kPoorCrookChance
                               : stemClass == StemClass::Clean ? 0.0
                                                               : kCrookChance;
    if (random.Chance(crookChance) && merchantable > 12.0) {
        bends.Crooked = true;
        bends.CrookStart = random.Uniform(4.0, merchantable - 6.0);
        bends.CrookSpan = random.Uniform(kCrookSpan);
        bends.CrookShift = random.Uniform(kCrookShift);
        bends.CrookAzimuth = random.Uniform(0.0, 2.0 * kPi);
    }
    return bends;
}

// Station heights in tenths of feet: the flare every 2 ft, then `spacing`, plus the heights
// that must be recorded exactly (merchantable top, fork leader, crook, top).
std::vector<int> StationHeights(const std::vector<int>& required, int top, int spacing) {
    std::vector<int> heights;
    for (int h : required) {
        heights.push_back(WritableHeight(h));
    }
    std::vector<int> regular;
    for (int h = kFlareStationTenths; h <= kFlareZoneTenths; h += kFlareStationTenths) {
        regular.push_back(h);
    }
    for (int h = kFlareZoneTenths + spacing; h < top; h += spacing) {
        regular.push_back(WritableHeight(h));
    }
    for (int h : regular) {
        const bool nearRequired = std::any_of(heights.begin(), heights.end(), [h](int r) {
            return std::abs(r - h) < kMinStationGapTenths;
        });
        if (!nearRequired && h < top) {
            heights.push_back(h);
        }
    }
    std::sort(heights.begin(), heights.end());
    heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
    return heights;
}

std::vector<int> FittingStationHeights(const std::vector<int>& required, int top) {
    for (int spacing : kStationSpacingTenths) {
        std::vector<int> heights = StationHeights(required, top, spacing);
        if (heights.size() <= kMaxShapeLines) {
            return heights;
        }
    }
    throw VarnokError("A generated stem of " + FormatTenths(top, 5) +
                      " ft needs more than 49 shape lines.");
}

// Offsets of the stem surface from a straight reference line: the loader subtracts the loss
// of radius since the butt, (D0 - D) / 2, so that is added here. The reference line is moved
// so that no offset is negative (only the distance is written; the sign would be lost).
void SetOffsets(std::vector<ShapeStation>& stations, const StemBends& bends) {
    const double butt = stations.front().Diameter;
    std::vector<std::pair<double, double>> raw;
    double minX = 0.0;
    double minY = 0.0;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const auto [x, y] = bends.PithOffset(ToFeet(stations[i].HeightTenths));
        const double radiusLoss = (butt - stations[i].Diameter) * 0.5;
        raw.emplace_back(x + radiusLoss, y + radiusLoss);
        minX = i == 0 ? raw.back().first : std::fmin(minX, raw.back().first);
        minY = i == 0 ? raw.back().second : std::fmin(minY, raw.back().second);
    }
    for (std::size_t i = 0; i < stations.size(); ++i) {
        stations[i].OffsetXTenths = ToTenths(raw[i].first - minX);
        stations[i].OffsetYTenths = ToTenths(raw[i].second - minY);
    }
}

// ---------------------------------------------------------------------------------------------
// Defects

// Which defects may be thinned out when a file would exceed its limits.
enum class Priority {
    Kept,         // stem-level defects: fork, bulge, rot, seams, heart, stain, scars
    Merchantable, // knots and the like on the merchantable stem
    Crown         // knots above it, on pulpwood
};

// The defects of one tree. When a file would exceed its limits (100 lines, 40 end defects),
// every kept defect stays; crown knots give way before knots of the merchantable stem. Knots
// are thinned evenly along their drawing order, which runs up the stem, so a heavily knotted
// stem stays knotted everywhere instead of showing a clean stretch where the cut fell.
class DefectList {
public:
    explicit DefectList(const WrittenStem& stem) : stem_(stem) {}

    double Top() const { return stem_.LengthFeet(); }
    int DiameterAt(double feet) const { return stem_.DiameterAt(feet); }

    // A knot, bump or surface rise centred at `centre` ft. The centre is moved so the whole
    // ellipse lies on the stem, and the width kept to half the girth there, so a defect never
    // wraps round the stem onto itself.
    void Ellipse(std::string code, double centre, int sector, double width, double length,
                 Priority priority = Priority::Kept) {
        const int lengthInches = std::clamp(RoundInches(length), 1, 255);
        const double half = lengthInches / 24.0 + 0.1;
        const double placed = std::clamp(centre, half, Top() - half);
        const double girthHalf = std::floor(kPi * DiameterAt(placed) / 2.0);
        const int widthInches =
            std::clamp(RoundInches(width), 1, static_cast<int>(std::fmax(1.0, girthHalf)));
        Add({std::move(code),
             DefectLayout::Ellipse,
             {ToTenths(placed), sector, std::min(widthInches, 255), lengthInches}},
            false, priority);
    }

    void Seam(std::string code, double from, int sector, double to, int endSector) {
        Add({std::move(code),
             DefectLayout::Seam,
             {ToTenths(from), sector, ToTenths(to), endSector}},
            false, Priority::Kept);
    }

    void Span(std::string code, double from, double to) {
        Add({std::move(code), DefectLayout::Span, {ToTenths(from), ToTenths(to), 0, 0}}, false,
            Priority::Kept);
    }

    // An end defect (decay, stain or heart) from `from` to `to` ft with these diameters.
    void Column(std::string code, double from, double to, int startDiameter, int endDiameter,
                Priority priority = Priority::Kept) {
        Add({std::move(code),
             DefectLayout::End,
             {ToTenths(from), ToTenths(to), std::clamp(startDiameter, 0, 255),
              std::clamp(endDiameter, 0, 255)}},
            true, priority);
    }

    // The defects kept, sorted by their first position (stable, so ties keep their order).
    // Throws VarnokError if the stem-level defects alone break a limit.
    std::vector<DefectRecord> Finish() const {
        std::size_t lineBudget = kMaxDefectLines;
        std::size_t endBudget = kMaxEndDefects;
        std::size_t merchantable = 0;
        std::size_t crown = 0;
        for (const Candidate& c : candidates_) {
            if (c.Level == Priority::Kept) {
                if (lineBudget == 0 || (c.IsEnd && endBudget == 0)) {
                    throw VarnokError("The stem-level defects of a tree exceed a defect file.");
                }
                --lineBudget;
                endBudget -= c.IsEnd ? 1 : 0;
            } else {
                ++(c.Level == Priority::Merchantable ? merchantable : crown);
            }
        }
        const std::size_t merchantableKept = std::min(merchantable, lineBudget);
        const std::size_t crownKept = std::min(crown, lineBudget - merchantableKept);
        std::vector<DefectRecord> kept;
        std::size_t merchantableIndex = 0;
        std::size_t crownIndex = 0;
        for (const Candidate& c : candidates_) {
            if (c.Level == Priority::Merchantable &&
                !EvenlyChosen(merchantableIndex++, merchantable, merchantableKept)) {
                continue;
            }
            if (c.Level == Priority::Crown && !EvenlyChosen(crownIndex++, crown, crownKept)) {
                continue;
            }
            if (c.Level != Priority::Kept && c.IsEnd) {
                if (endBudget == 0) {
                    continue;
                }
                --endBudget;
            }
            kept.push_back(c.Record);
        }
        std::stable_sort(
            kept.begin(), kept.end(),
            [](const DefectRecord& a, const DefectRecord& b) { return a.Fields[0] < b.Fields[0]; });
        return kept;
    }

private:
    struct Candidate {
        DefectRecord Record;
        bool IsEnd = false;
        Priority Level = Priority::Kept;
    };

    // Whether candidate `index` of `count` is among `keep` of them spread evenly.
    static bool EvenlyChosen(std::size_t index, std::size_t count, std::size_t keep) {
        return keep >= count || (index + 1) * keep / count > index * keep / count;
    }

    void Add(DefectRecord record, bool isEnd, Priority priority) {
        candidates_.push_back({std::move(record), isEnd, priority});
    }

    const WrittenStem& stem_;
    std::vector<Candidate> candidates_;
};

// Everything the defect drawing needs to know of the tree.
struct DefectContext {
    const SpeciesParameters& Species;
    StemClass Class;
    double Quality;
    double Merchantable;
    const StemShape& Shape;
};

double ButtRotChance(const SpeciesParameters& species, StemClass stemClass, bool fireScar) {
    if (stemClass == StemClass::Poor) {
        return 1.0;
    }
    if (stemClass == StemClass::Clean) {
        return 0.0;
    }
    const double p = species.ButtRotChance;
    if (!fireScar) {
        return p;
    }
    const double odds = kFireScarRotOdds * p / (1.0 - p);
    return odds / (1.0 + odds);
}

// What happens at the stump, drawn before the stem is shaped.
struct ButtPlan {
    bool FireScar = false;
    bool Rot = false;
    bool Bulge = false;
};

ButtPlan DrawButtPlan(Random& random, const SpeciesParameters& species, StemClass stemClass) {
    ButtPlan butt;
    const double scarChance = stemClass == StemClass::Poor    ? kPoorFireScarChance
                              : stemClass == StemClass::Clean ? 0.0
                                                              : kFireScarChance;
    butt.FireScar = random.Chance(scarChance);
    butt.Rot = random.Chance(ButtRotChance(species, stemClass, butt.FireScar));
    butt.Bulge = random.Chance(butt.Rot                        ? kBulgeWithRotChance
                               : stemClass == StemClass::Clean ? 0.0
                                                               : kSwellWithoutRotChance);
    return butt;
}

// The stump end: fire scar, butt rot with its conk, and the bulge.
void AddButtDefects(Random& random, const DefectContext& tree, const ButtPlan& butt,
                    DefectList& defects) {
    if (butt.FireScar) {
        const double length = random.Uniform(kFireScarLength);
        const double centre = random.Uniform(kFireScarCentre);
        const int sector = random.UniformInt(0, 35);
        const double width = random.Uniform(kFireScarWidth);
        defects.Ellipse("BS", centre, sector, width, length);
    }
    if (butt.Rot) {
        const bool poor = tree.Class == StemClass::Poor;
        const double height = (poor || random.Chance(kLongButtRotChance))
                                  ? random.Uniform(kLongButtRotHeight)
                                  : random.Uniform(kButtRotHeight);
        const double share = random.Uniform(poor ? kPoorButtRotShare : kButtRotShare);
        const int stumpDiameter = defects.DiameterAt(0.0);
        defects.Column(random.PickCode(kButtRotCodes), 0.0, std::fmin(height, defects.Top() - 0.1),
                       std::max(1, RoundInches(share * stumpDiameter)), 0);
        if (random.Chance(kConkChance)) {
            const double centre = random.Uniform(kConkCentre);
            const int sector = random.UniformInt(0, 35);
            const double width = random.Uniform(kConkWidth);
            defects.Ellipse("CO", centre, sector, width, random.Uniform(kConkLength));
        }
    }
    if (tree.Shape.BulgeLength > 0.0) {
        defects.Span(random.PickCode(kBulgeCodes), 0.0, tree.Shape.BulgeLength);
    }
}

int AddSeams(Random& random, const DefectContext& tree, DefectList& defects) {
    double chance = tree.Species.SeamChance;
    if (tree.Class == StemClass::Poor) {
        chance = kPoorSeamChance;
    } else if (tree.Class == StemClass::Clean) {
        chance = 0.0;
    }
    if (!random.Chance(chance)) {
        return 0;
    }
    const int count = random.Chance(kSecondSeamChance) ? 2 : 1;
    for (int i = 0; i < count; ++i) {
        const double length = random.Uniform(kSeamLength);
        const double start = random.Chance(kSeamFromStumpChance)
                                 ? 0.0
                                 : random.Uniform(0.5, std::fmax(0.5, tree.Merchantable - length));
        const double end = std::fmin(start + length, defects.Top() - 0.1);
        const int sector = random.UniformInt(0, 35);
        int endSector = sector;
        if (random.Chance(kSpiralSeamChance)) {
            const int turn = random.UniformInt(1, kMaxSpiralSectors);
            endSector = (sector + (random.Chance(0.5) ? turn : 36 - turn)) % 36;
        }
        defects.Seam(random.PickCode(kSeamCodes), start, sector, end, endSector);
    }
    return count;
}

// Heart and stain (colour), wetwood and loose heart (decay-like) inside the stem.
void AddInteriorDefects(Random& random, const DefectContext& tree, DefectList& defects) {
    const double merch = tree.Merchantable;
    if (tree.Species.HasLargeHeart) {
        TruncatedNormal shareLimits = kMapleHeartShare;
        if (tree.Class == StemClass::Clean) {
            shareLimits.High = kCleanMaxHeartShare;
        }
        const double share = random.Truncated(shareLimits);
        // One piece per log, so the heart follows the taper of the stem.
        for (double from = 0.0; from < merch - 0.5; from += kLogLength) {
            const double to = std::fmin(from + kLogLength, merch);
            defects.Column("LMH", from, to,
                           std::max(1, RoundInches(share * defects.DiameterAt(from))),
                           std::max(1, RoundInches(share * defects.DiameterAt(to))));
        }
    }
    for (double log = 0.0; log < merch - 0.5; log += kLogLength) {
        const bool cleanButt = tree.Class == StemClass::Clean && log == 0.0;
        if (!random.Chance(tree.Species.StainChancePerLog) || cleanButt) {
            continue;
        }
        // Mineral stain is written with its grading code, so that it keeps a log out of veneer
        // and can lower a sawlog grade; the field code "ST" is classed as heart.
        const double length = random.Uniform(kStainLength);
        const double from = random.Uniform(log, std::fmin(log + kLogLength, merch));
        const double to = std::fmin(from + length, defects.Top() - 0.1);
        const double startShare = random.Uniform(kStainShare);
        const double endShare = random.Uniform(kStainShare);
        defects.Column("SN", from, to,
                       std::max(1, RoundInches(startShare * defects.DiameterAt(from))),
                       std::max(1, RoundInches(endShare * defects.DiameterAt(to))));
    }
    if (tree.Class != StemClass::Clean && random.Chance(tree.Species.WetwoodChance)) {
        const double to = random.Uniform(kWetwoodHeight);
        const int start =
            std::max(1, RoundInches(random.Uniform(kWetwoodShare) * defects.DiameterAt(0.0)));
        defects.Column(random.Chance(0.5) ? "WW" : "SO", 0.0, to, start, std::max(1, start / 2));
    }
    if (tree.Class != StemClass::Clean && random.Chance(kLooseHeartChance)) {
        const double to = random.Uniform(kLooseHeartHeight);
        defects.Column("LOH", 0.0, to, std::max(1, RoundInches(0.2 * defects.DiameterAt(0.0))), 0);
    }
}

void AddForkDefects(Random& random, const DefectContext& tree, DefectList& defects) {
    if (!tree.Shape.Forked) {
        return;
    }
    const double crotch = tree.Merchantable;
    const double from = crotch - random.Uniform(kForkBelow);
    const double to = std::fmin(crotch + random.Uniform(kForkAbove), defects.Top() - 0.1);
    defects.Span("F", from, to);
    // Two piths run side by side below the crotch.
    const double pithFrom = std::fmax(0.0, crotch - random.Uniform(kDoublePithLength));
    const int pith = std::max(1, RoundInches(kDoublePithShare * defects.DiameterAt(crotch)));
    defects.Column("DP", pithFrom, crotch, pith, pith);
}

// Burl, logging wound and stem bulge: rare, anywhere on the merchantable stem.
void AddStemDefects(Random& random, const DefectContext& tree, DefectList& defects) {
    const double merch = tree.Merchantable;
    const double lowest = tree.Class == StemClass::Clean ? kLogLength + 1.0 : 1.0;
    if (random.Chance(kBurlChance) && merch > lowest + 2.0) {
        const double size = random.Uniform(kBurlSize);
        const double centre = random.Uniform(lowest, merch);
        const int sector = random.UniformInt(0, 35);
        defects.Ellipse("BU", centre, sector, size, size * random.Uniform(1.0, 1.3));
    }
    if (random.Chance(kWoundChance) && merch > lowest + 2.0) {
        const double centre =
            random.Uniform(lowest, std::fmax(lowest + 1.0, std::fmin(20.0, merch)));
        const char* code = random.PickCode(kWoundCodes);
        const int sector = random.UniformInt(0, 35);
        const double width = random.Uniform(kWoundWidth);
        defects.Ellipse(code, centre, sector, width, random.Uniform(kWoundLength));
    }
    if (random.Chance(kStemBulgeChance) && merch > 14.0) {
        const double from = random.Uniform(8.0, merch - 5.0);
        defects.Span("SB", from, from + random.Uniform(kStemBulgeLength));
    }
}

struct Segment {
    double From = 0.0;
    double To = 0.0;
    int Rank = 0; // 0 butt log, 1 second log, 2 higher logs, 3 crown
};

double SegmentRate(const CategoryRates& rates, const Segment& segment,
                   const SpeciesParameters& species) {
    switch (segment.Rank) {
    case 0:
        return rates.Category == SurfaceCategory::Peck ? species.PeckRateButt : rates.Butt;
    case 1:
        return rates.Second;
    case 2:
        return rates.Upper;
    default:
        return rates.Crown;
    }
}

double KnotSize(Random& random, double median, double logSd, const Range& clip) {
    return std::clamp(random.LogNormal(Ln(median), logSd), clip.Low, clip.High);
}

// One surface defect of a category at `centre` ft; knot rot goes with some unsound knots.
// Here and throughout, each random value is drawn in a statement of its own: compilers differ in
// the order in which they evaluate the arguments of a call, and the draws must come in the same
// order everywhere.
void AddSurfaceDefect(Random& random, const DefectContext& tree, SurfaceCategory category,
                      double centre, Priority level, DefectList& defects, int& knotRots) {
    const int sector = random.UniformInt(0, 35);
    switch (category) {
    case SurfaceCategory::SoundKnot: {
        const double size = KnotSize(random, kSoundKnotMedian, kSoundKnotLogSd, kSoundKnotClip);
        const char* code = random.PickCode(kSoundKnotCodes);
        defects.Ellipse(code, centre, sector, size, size * random.Uniform(kKnotElongation), level);
        break;
    }
    case SurfaceCategory::UnsoundKnot: {
        const double size =
            KnotSize(random, kUnsoundKnotMedian, kUnsoundKnotLogSd, kUnsoundKnotClip);
        defects.Ellipse("UK", centre, sector, size, size * random.Uniform(kKnotElongation), level);
        if (random.Chance(kKnotRotChance) && knotRots < kMaxKnotRots &&
            centre < tree.Merchantable) {
            ++knotRots;
            const double from = std::fmax(0.0, centre - random.Uniform(kKnotRotBelow));
            const double to =
                std::fmin(centre + random.Uniform(kKnotRotAbove), defects.Top() - 0.1);
            const int diameter = RoundInches(random.Uniform(kKnotRotDiameter));
            defects.Column("R", from, to, diameter, diameter, level);
        }
        break;
    }
    case SurfaceCategory::Overgrown: {
        const char* code = random.PickCode(kOvergrownCodes);
        const double width = random.Uniform(kOvergrownWidth);
        defects.Ellipse(code, centre, sector, width, random.Uniform(kOvergrownLength), level);
        break;
    }
    case SurfaceCategory::BudCluster: {
        const double size = random.Uniform(kBudClusterSize);
        defects.Ellipse("AC", centre, sector, size, size * random.Uniform(kKnotElongation), level);
        break;
    }
    case SurfaceCategory::Bump: {
        const double width = random.Uniform(kBumpWidth);
        const char* code = random.PickCode(kBumpCodes);
        defects.Ellipse(code, centre, sector, width, width * random.Uniform(kBumpElongation),
                        level);
        break;
    }
    case SurfaceCategory::Peck: {
        const char* code = random.PickCode(kPeckCodes);
        const double width = random.Uniform(kPeckWidth);
        defects.Ellipse(code, centre, sector, width, random.Uniform(kPeckLength), level);
        break;
    }
    case SurfaceCategory::Blemish:
        defects.Ellipse(tree.Species.BlemishCode, centre, sector, 1.0,
                        random.Uniform(kBlemishLength), level);
        break;
    case SurfaceCategory::Minor: {
        const auto which = static_cast<std::size_t>(random.UniformInt(0, 2));
        const double width = random.Uniform(kMinorWidth);
        defects.Ellipse(tree.Species.MinorCodes[which], centre, sector, width,
                        random.Uniform(kMinorLength), level);
        break;
    }
    }
}

void AddSurfaceDefects(Random& random, const DefectContext& tree, DefectList& defects) {
    const double merch = tree.Merchantable;
    const double top = defects.Top();
    const std::array<Segment, 4> segments = {{
        {0.0, std::fmin(kLogLength, merch), 0},
        {kLogLength, std::fmin(2.0 * kLogLength, merch), 1},
        {2.0 * kLogLength, merch, 2},
        {merch, top - 0.2, 3},
    }};
    // A clean stem's butt log, with its trim, carries no knot of any kind.
    const double cleanZone = tree.Class == StemClass::Clean ? kLogLength + 1.0 : 0.0;
    int knotRots = 0;
    for (const Segment& segment : segments) {
        const double length = segment.To - segment.From;
        if (length < 0.5) {
            continue;
        }
        const Priority level = segment.Rank == 3 ? Priority::Crown : Priority::Merchantable;
        for (const CategoryRates& rates : kSurfaceRates) {
            const double mean = SegmentRate(rates, segment, tree.Species) *
                                (rates.ScalesWithQuality ? tree.Quality : 1.0) * length / 16.0;
            const int count = random.Poisson(mean);
            for (int i = 0; i < count; ++i) {
                const double centre = random.Uniform(segment.From, segment.To);
                if (centre < cleanZone) {
                    continue;
                }
                AddSurfaceDefect(random, tree, rates.Category, centre, level, defects, knotRots);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The tree

std::string HeaderLine(int number, const TreePlan& plan, const TreeFacts& facts) {
    return "Tree " + std::to_string(number) + ": " + plan.Species->Name + ", DBH " +
           FormatFixed(facts.Dbh, 1) + " in, form class " +
           std::to_string(RoundInches(facts.FormClass)) + ", merchantable " +
           FormatFixed(facts.MerchantableFeet, 1) +
           " ft (height ft, diameter in, offset Y in, offset X in)";
}

double DrawQuality(Random& random, StemClass stemClass) {
    switch (stemClass) {
    case StemClass::Clean:
        return random.Uniform(kCleanQuality);
    case StemClass::Poor:
        return random.Uniform(kPoorQuality);
    case StemClass::Normal:
        break;
    }
    return random.LogNormal(0.0, kQualityLogSd);
}

// Merchantable length from the log count, ended early by a small top or by a fork.
double DrawMerchantable(Random& random, const SpeciesParameters& species,
                        const StemProfile& profile, double dbh, double stump, double forkChance,
                        bool& forked) {
    double merch = random.Truncated(species.Logs) * kLogLength;
    const double topLimit =
        std::fmax(kMinTopDiameter, kTopDiameterShareOfDbh * dbh) - kTopToleranceInches;
    merch = std::fmax(profile.HeightAtDiameter(topLimit, kLogLength, merch), kLogLength);
    forked = random.Chance(forkChance);
    if (forked) {
        merch = std::fmin(merch, random.Uniform(kForkHeightGround) - stump);
    }
    return ToFeet(WritableHeight(ToTenths(merch)));
}

} // namespace

std::vector<TreePlan> PlanTrees(std::uint64_t seed) {
    Random random(Random::Mix(seed));
    std::vector<TreePlan> plans;
    for (const SpeciesParameters& species : kSpecies) {
        for (int i = 0; i < species.TreeCount; ++i) {
            plans.push_back({&species, StemClass::Normal});
        }
    }
    if (plans.size() != static_cast<std::size_t>(kTreeCount)) {
        throw VarnokError("The species counts must add up to 150 trees.");
    }
    for (std::size_t i = 0; i < plans.size(); ++i) {
        plans[i].Class = i < kCleanStems                ? StemClass::Clean
                         : i < kCleanStems + kPoorStems ? StemClass::Poor
                                                        : StemClass::Normal;
    }
    // Fisher-Yates, species and classes shuffled independently.
    auto shuffle = [&random](auto& values, auto&& swap) {
        for (std::size_t i = values.size() - 1; i > 0; --i) {
            const auto j = static_cast<std::size_t>(random.UniformInt(0, static_cast<int>(i)));
            swap(values[i], values[j]);
        }
    };
    shuffle(plans, [](TreePlan& a, TreePlan& b) { std::swap(a.Species, b.Species); });
    shuffle(plans, [](TreePlan& a, TreePlan& b) { std::swap(a.Class, b.Class); });
    return plans;
}

GeneratedTree GenerateTree(int number, const TreePlan& plan, std::uint64_t seed) {
    Random random(Random::Mix(seed ^ Random::Mix(static_cast<std::uint64_t>(number))));
    const SpeciesParameters& species = *plan.Species;
    GeneratedTree tree;
    tree.Number = number;
    tree.Plan = plan;
    TreeFacts& facts = tree.Facts;

    facts.Quality = DrawQuality(random, plan.Class);
    TruncatedNormal dbhLimits = species.Dbh;
    if (plan.Class == StemClass::Clean) {
        dbhLimits.Low = std::fmax(dbhLimits.Low, kCleanMinDbh);
    } else if (plan.Class == StemClass::Poor) {
        dbhLimits.High = std::fmin(dbhLimits.High, kPoorMaxDbh);
    }
    facts.Dbh = random.Truncated(dbhLimits);
    facts.FormClass = random.Truncated(species.FormClass);
    const double stump = random.Uniform(kStumpHeight);
    const bool largeFlare = species.IsOak || facts.Dbh > kFlareLargeDbh;
    const double flare = random.Uniform(largeFlare ? kFlareLarge : kFlare);
    const StemProfile profile(species, facts.Dbh, facts.FormClass, stump, flare);

    const double forkChance = plan.Class == StemClass::Poor ? kPoorForkChance : kForkChance;
    StemShape shape;
    shape.Merchantable =
        DrawMerchantable(random, species, profile, facts.Dbh, stump, forkChance, shape.Forked);
    const double merchTop = profile.Base(shape.Merchantable);
    shape.TopFrom = shape.Merchantable + (shape.Forked ? kForkLeaderGap : 0.0);
    shape.TopStart = shape.Forked ? kForkLeaderShare * merchTop : merchTop;
    shape.TopRate = random.Uniform(kPulpTaperPerFoot);
    const double topLength = std::fmax((shape.TopStart - kPulpTopDiameter) / shape.TopRate, 4.0);
    shape.Length = std::fmin(shape.TopFrom + topLength, kMaxStemFeet);
    shape.Length = ToFeet(WritableHeight(ToTenths(shape.Length)));
    facts.MerchantableFeet = shape.Merchantable;
    facts.StemFeet = shape.Length;
    facts.Forked = shape.Forked;

    // Whether the butt rots is settled before the shape, since a rotten butt may bulge.
    const ButtPlan butt = DrawButtPlan(random, species, plan.Class);
    if (butt.Bulge) {
        shape.BulgeLength = random.Uniform(kBulgeLength);
        shape.BulgeExtra = random.Uniform(kBulgeExtra);
    }
    const StemBends bends = DrawBends(random, plan.Class, shape.Length, shape.Merchantable);
    facts.Crooked = bends.Crooked;

    std::vector<int> required = {0, ToTenths(shape.Merchantable), ToTenths(shape.Length)};
    if (shape.Forked) {
        required.push_back(ToTenths(shape.TopFrom));
    }
    if (bends.Crooked) {
        required.push_back(ToTenths(bends.CrookStart));
        required.push_back(ToTenths(bends.CrookStart + bends.CrookSpan));
    }
    for (const int h : FittingStationHeights(required, ToTenths(shape.Length))) {
        tree.Stations.push_back({h, RoundInches(shape.Diameter(profile, ToFeet(h))), 0, 0});
    }
    tree.Stations.back().Diameter = static_cast<int>(kPulpTopDiameter);
    SetOffsets(tree.Stations, bends);

    const WrittenStem written(tree.Stations);
    DefectList defects(written);
    const DefectContext context{species, plan.Class, facts.Quality, shape.Merchantable, shape};
    AddForkDefects(random, context, defects);
    AddButtDefects(random, context, butt, defects);
    facts.ButtRot = butt.Rot;
    facts.Seams = AddSeams(random, context, defects);
    AddInteriorDefects(random, context, defects);
    AddStemDefects(random, context, defects);
    AddSurfaceDefects(random, context, defects);
    tree.Defects = defects.Finish();
    tree.Header = HeaderLine(number, plan, facts);
    return tree;
}

std::vector<GeneratedTree> GenerateTrees(std::uint64_t seed) {
    const std::vector<TreePlan> plans = PlanTrees(seed);
    std::vector<GeneratedTree> trees;
    trees.reserve(plans.size());
    for (std::size_t i = 0; i < plans.size(); ++i) {
        trees.push_back(GenerateTree(static_cast<int>(i) + 1, plans[i], seed));
    }
    return trees;
}

} // namespace varnok::datagen
