#pragma once

// Every number the sample-data generator draws from, in one place so that the tree set can be
// tuned and its make-up reported. Lengths are feet along the felled stem (0 = the stump cut)
// unless a name says "Ground" (height above the ground); diameters are inches; rates are mean
// counts per 16 ft of stem; chances are probabilities per tree unless a name says otherwise.

#include <array>
#include <cstdint>

namespace varnok::datagen {

// Changing the seed changes every tree; the rule sets do not depend on it.
inline constexpr std::uint64_t kSeed = 0x5641524E4F4B0150ULL;
inline constexpr int kTreeCount = 150;

struct Range {
    double Low = 0.0;
    double High = 0.0;
};

// A normal distribution cut to [Low, High].
struct TruncatedNormal {
    double Mean = 0.0;
    double Sd = 0.0;
    double Low = 0.0;
    double High = 0.0;
};

// A field code of the defect filter table with its share among the codes of one defect type.
struct CodeWeight {
    const char* Code;
    double Weight;
};

struct SpeciesParameters {
    const char* Name;
    int TreeCount;
    TruncatedNormal Dbh;       // inches outside bark at 4.5 ft above the ground
    TruncatedNormal Logs;      // merchantable 16-ft logs, to the top diameter or the fork
    TruncatedNormal FormClass; // Girard form class, percent
    double BarkPercent;        // single bark thickness at breast height, percent of DBH
    bool IsOak;                // oaks: larger flare, most of the seams
    double ButtRotChance;
    double SeamChance;
    double StainChancePerLog; // mineral stain column in a merchantable log
    bool HasLargeHeart;       // sugar maple: a dark heart up the whole merchantable stem
    double WetwoodChance;
    double PeckRateButt;                   // bird peck and insect holes per 16 ft of butt log
    std::array<const char*, 3> MinorCodes; // small defects typical of the species
    const char* BlemishCode; // the small defect that keeps most logs of the species out of
                             // veneer: pin knots, sapsucker peck, worm holes, gum spots
};

// clang-format off
inline constexpr std::array<SpeciesParameters, 5> kSpecies = {{
    // name, trees, DBH, logs, form class, bark %, oak,
    //   butt rot, seam, stain per log, large heart, wetwood, butt peck rate, minor codes, blemish
    {"Northern red oak", 35, {20, 4, 12, 34}, {3.0, 0.7, 1.5, 4.5}, {78, 3, 70, 86}, 3.5, true,
       0.15, 0.12, 0.00, false, 0.00, 0.2, {"CA", "SG", "IC"}, "AC"},
    {"White oak", 30, {19, 4, 12, 32}, {2.5, 0.7, 1.0, 4.0}, {77, 3, 70, 85}, 3.5, true,
       0.15, 0.12, 0.00, false, 0.00, 0.2, {"CA", "OI", "SG"}, "AC"},
    {"Sugar maple", 30, {18, 3.5, 12, 30}, {2.5, 0.6, 1.0, 3.5}, {81, 4, 72, 88}, 2.5, false,
       0.10, 0.04, 0.15, true, 0.05, 0.8, {"T", "SH", "GS"}, "OBP"},
    {"Yellow-poplar", 30, {21, 5, 12, 36}, {4.0, 0.8, 2.0, 5.5}, {80, 3, 72, 87}, 4.0, false,
       0.08, 0.04, 0.10, false, 0.05, 0.2, {"OL", "SR", "OSB"}, "WH"},
    {"Black cherry", 25, {17, 3, 12, 28}, {3.0, 0.7, 1.5, 4.0}, {79, 3, 71, 86}, 2.0, false,
       0.08, 0.04, 0.00, false, 0.00, 0.8, {"GM", "GL", "SH"}, "GM"},
}};
// clang-format on

// Stem classes. Clean stems carry a veneer-quality butt log; poor stems are nearly worthless;
// the rest draw their quality factor freely. Counts are exact, assigned to random tree numbers.
enum class StemClass { Clean, Normal, Poor };
inline constexpr int kCleanStems = 6;
inline constexpr int kPoorStems = 6;

// Quality factor q multiplies the surface defect rates: lognormal(0, 0.6) for normal stems, a
// wide spread so that the worst normal stems carry F3 butt logs.
inline constexpr double kQualityLogSd = 0.6;
inline constexpr Range kCleanQuality{0.15, 0.45};
inline constexpr Range kPoorQuality{2.5, 3.5};
// A clean butt log must scale at least 16 in at its small end: 21 in DBH at form class 78.
inline constexpr double kCleanMinDbh = 21.0;
// Poor stems are small as well as defective: suppressed or damaged trees.
inline constexpr double kPoorMaxDbh = 16.0;

// Stem profile.
inline constexpr Range kStumpHeight{0.5, 1.5}; // ground height of the felling cut
inline constexpr double kBreastHeightGround = 4.5;
inline constexpr double kFormClassHeightGround = 17.3; // 1-ft stump + 16-ft log + trim
inline constexpr double kLogLength = 16.3;             // a merchantable log with its trim
inline constexpr Range kFlare{0.10, 0.20};             // a in DOB = DBH (1 + a e^-(h-1)/1.2)
inline constexpr Range kFlareLarge{0.15, 0.25};        // oaks and trees over 24 in
inline constexpr double kFlareLargeDbh = 24.0;
inline constexpr double kFlareDecayFeet = 1.2;
inline constexpr double kUpperTaperBase = 1.0; // t0 = 1.0 + 0.05 (DBH - 12) in/log
inline constexpr double kUpperTaperPerInch = 0.05;
inline constexpr Range kUpperTaperClip{1.0, 2.5};
inline constexpr double kUpperTaperGrowth = 0.25; // t_k = t0 (1 + 0.25 (k - 2))
inline constexpr double kMinTopDiameter = 8.0;    // merchantable top: max(8, DBH / 2)
inline constexpr double kTopDiameterShareOfDbh = 0.5;
inline constexpr double kTopToleranceInches = 1.0;    // a top may end this much below it
inline constexpr double kPulpTopDiameter = 4.0;       // the stem file ends at a 4-in top
inline constexpr Range kPulpTaperPerFoot{0.20, 0.35}; // inches per foot above the top
inline constexpr double kMaxStemFeet = 195.0;         // the stem model holds 200 ft

// Stations of the shape file: every 2 ft in the flare, then every 4 ft (wider when a long
// stem would need more than 49 lines).
inline constexpr int kFlareStationTenths = 20;
inline constexpr int kFlareZoneTenths = 40;
inline constexpr std::array<int, 3> kStationSpacingTenths = {40, 60, 80};
inline constexpr int kMinStationGapTenths = 10;

// Sweep: a peak bow per 16-ft segment, a half-sine in a plane that turns by up to 45 degrees
// from one segment to the next. The shares aim at 83% of logs with 1 in of sweep or less and
// 17% with 2 in or more; crooks and poor stems add to the second group.
struct SweepClass {
    Range Peak; // inches
    double Share;
};
inline constexpr std::array<SweepClass, 4> kSweepClasses = {
    {{{0.0, 0.5}, 0.55}, {{0.5, 1.5}, 0.28}, {{2.0, 3.0}, 0.12}, {{3.0, 6.0}, 0.05}}};
inline constexpr double kSweepSegmentFeet = 16.0;
inline constexpr double kSweepTurnDegrees = 45.0;

// Crook: one sharp lateral shift of the stem.
inline constexpr double kCrookChance = 0.06;
inline constexpr double kPoorCrookChance = 0.5;
inline constexpr Range kCrookShift{2.0, 5.0}; // inches
inline constexpr Range kCrookSpan{2.0, 3.0};  // feet

// Forks end the merchantable stem; above them one pulpwood leader is recorded.
inline constexpr double kForkChance = 0.12;
inline constexpr double kPoorForkChance = 0.4;
inline constexpr Range kForkHeightGround{30.0, 60.0};
inline constexpr double kForkLeaderShare = 0.7; // leader diameter over stem diameter
inline constexpr double kForkLeaderGap = 2.0;   // feet from the crotch to the leader station
inline constexpr Range kForkBelow{0.5, 1.5};    // fork defect starts this far below
inline constexpr Range kForkAbove{2.0, 4.0};    // and ends this far above the crotch
inline constexpr Range kDoublePithLength{3.0, 8.0};
inline constexpr double kDoublePithShare = 0.25; // of the stem diameter

// Surface defects per 16 ft of the butt log, the second log, higher merchantable logs and the
// crown above the merchantable top (where knots come at twice the rate of the logs below).
// Blemishes come with the species, not with the quality of the stem, and are left out of the
// crown, whose wood is too small for veneer. The rates are twice the usual per-log counts in
// the butt log and one and a half times above it: so many are needed, with the spread of the
// quality factor, for the butt logs to grade across F1, F2 and F3 rather than mostly F1.
enum class SurfaceCategory {
    SoundKnot,
    UnsoundKnot,
    Overgrown,
    BudCluster,
    Bump,
    Peck,
    Minor,
    Blemish
};
struct CategoryRates {
    SurfaceCategory Category;
    double Butt;
    double Second;
    double Upper;
    double Crown;
    bool ScalesWithQuality;
};
inline constexpr std::array<CategoryRates, 8> kSurfaceRates = {{
    {SurfaceCategory::SoundKnot, 1.0, 3.0, 6.0, 12.0, true},
    {SurfaceCategory::UnsoundKnot, 0.4, 0.9, 1.8, 3.6, true},
    {SurfaceCategory::Overgrown, 2.0, 2.25, 2.25, 2.25, true},
    {SurfaceCategory::BudCluster, 0.8, 0.6, 0.45, 0.45, true},
    {SurfaceCategory::Bump, 0.4, 0.45, 0.45, 0.45, true},
    {SurfaceCategory::Peck, 0.2, 0.15, 0.15, 0.15, true}, // butt rate replaced by the species'
    {SurfaceCategory::Minor, 0.16, 0.12, 0.12, 0.12, true},
    {SurfaceCategory::Blemish, 3.0, 4.0, 5.0, 0.0, false},
}};

// Sizes, inches across (width) and along (length) the stem.
inline constexpr double kSoundKnotMedian = 1.5;
inline constexpr double kSoundKnotLogSd = 0.45;
inline constexpr Range kSoundKnotClip{0.5, 4.0};
inline constexpr double kUnsoundKnotMedian = 2.0;
inline constexpr double kUnsoundKnotLogSd = 0.4;
inline constexpr Range kUnsoundKnotClip{1.0, 5.0};
inline constexpr Range kKnotElongation{1.0, 1.6}; // length over width
inline constexpr Range kOvergrownWidth{2.0, 8.0};
inline constexpr Range kOvergrownLength{4.0, 16.0};
inline constexpr Range kBudClusterSize{1.0, 3.0};
inline constexpr Range kBumpWidth{4.0, 12.0};
inline constexpr Range kBumpElongation{1.0, 1.5};
inline constexpr Range kPeckWidth{2.0, 6.0};
inline constexpr Range kPeckLength{6.0, 24.0};
inline constexpr Range kMinorWidth{1.0, 4.0};
inline constexpr Range kMinorLength{1.0, 6.0};
inline constexpr Range kBlemishLength{1.0, 2.0}; // 1 in wide

inline constexpr std::array<CodeWeight, 3> kSoundKnotCodes = {
    {{"SK", 0.85}, {"L", 0.10}, {"DBT", 0.05}}};
inline constexpr std::array<CodeWeight, 4> kOvergrownCodes = {
    {{"OK", 0.40}, {"LD", 0.20}, {"MD", 0.25}, {"HD", 0.15}}};
inline constexpr std::array<CodeWeight, 3> kBumpCodes = {
    {{"HB", 0.25}, {"MB", 0.40}, {"LB", 0.35}}};
inline constexpr std::array<CodeWeight, 3> kPeckCodes = {{{"OBP", 0.5}, {"WH", 0.3}, {"GD", 0.2}}};

// Decay behind unsound branch stubs of the merchantable stem: a thin rot column through the
// knot. (Three in ten such stubs hide decay.)
inline constexpr double kKnotRotChance = 0.3;
inline constexpr int kMaxKnotRots = 4;
inline constexpr Range kKnotRotBelow{0.5, 1.5};
inline constexpr Range kKnotRotAbove{1.0, 3.0};
inline constexpr Range kKnotRotDiameter{1.0, 3.0};

// Butt rot: a column from the stump narrowing to nothing. A basal fire scar triples the odds.
inline constexpr std::array<CodeWeight, 3> kButtRotCodes = {{{"R", 0.8}, {"RS", 0.1}, {"HC", 0.1}}};
inline constexpr Range kButtRotShare{0.2, 0.6}; // of the stump diameter
inline constexpr Range kButtRotHeight{2.0, 8.0};
inline constexpr double kLongButtRotChance = 0.15;
inline constexpr Range kLongButtRotHeight{12.0, 20.0};
inline constexpr Range kPoorButtRotShare{0.6, 0.85}; // hollow butts
inline constexpr double kFireScarChance = 0.10;
inline constexpr double kPoorFireScarChance = 0.6;
inline constexpr double kFireScarRotOdds = 3.0;
inline constexpr Range kFireScarCentre{0.5, 2.5};
inline constexpr Range kFireScarWidth{6.0, 18.0};
inline constexpr Range kFireScarLength{12.0, 48.0};
inline constexpr double kConkChance = 0.3; // of butt-rotted trees
inline constexpr Range kConkCentre{1.0, 4.0};
inline constexpr Range kConkWidth{3.0, 8.0};
inline constexpr Range kConkLength{3.0, 6.0};

// Butt bulge: extra diameter at the stump, fading over a few feet.
inline constexpr double kBulgeWithRotChance = 0.6;
inline constexpr double kSwellWithoutRotChance = 0.03;
inline constexpr Range kBulgeExtra{0.10, 0.30};
inline constexpr Range kBulgeLength{1.0, 4.0};
inline constexpr std::array<CodeWeight, 2> kBulgeCodes = {{{"BB", 0.7}, {"SWL", 0.3}}};
inline constexpr double kStemBulgeChance = 0.03;
inline constexpr Range kStemBulgeLength{1.5, 4.0};

// Other stem-level defects.
inline constexpr double kBurlChance = 0.05;
inline constexpr Range kBurlSize{4.0, 24.0};
inline constexpr double kWoundChance = 0.08;
inline constexpr std::array<CodeWeight, 2> kWoundCodes = {{{"UW", 0.6}, {"SW", 0.4}}};
inline constexpr Range kWoundWidth{3.0, 10.0};
inline constexpr Range kWoundLength{6.0, 30.0};
inline constexpr double kLooseHeartChance = 0.03;
inline constexpr Range kLooseHeartHeight{2.0, 6.0};
inline constexpr Range kWetwoodHeight{4.0, 12.0};
inline constexpr Range kWetwoodShare{0.2, 0.4};

// Seams and splits, mostly in oaks: 70% start at the stump; 40% spiral round the stem.
inline constexpr std::array<CodeWeight, 3> kSeamCodes = {
    {{"SE", 0.75}, {"SP", 0.15}, {"FLU", 0.10}}};
inline constexpr double kPoorSeamChance = 0.6;
inline constexpr double kSecondSeamChance = 0.2;
inline constexpr Range kSeamLength{2.0, 16.0};
inline constexpr double kSeamFromStumpChance = 0.7;
inline constexpr double kSpiralSeamChance = 0.4;
inline constexpr int kMaxSpiralSectors = 6;

// Colour: the sugar maple heart (share of the diameter) and mineral stain columns.
inline constexpr TruncatedNormal kMapleHeartShare{0.23, 0.08, 0.05, 0.50};
inline constexpr double kCleanMaxHeartShare = 0.30;
inline constexpr Range kStainShare{0.1, 0.3};
inline constexpr Range kStainLength{2.0, 6.0};

} // namespace varnok::datagen
