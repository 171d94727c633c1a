#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace varnok {

// Capacities of the tree model. Input beyond any of them is refused, never truncated.
inline constexpr int kMaxStemInches = 2400; // positions 0 to 2400 inches
inline constexpr std::size_t kInchSlots = 2401;
inline constexpr int kSectorCount = 36;           // 10-degree sectors around the stem
inline constexpr std::size_t kMaxShapeLines = 49; // data lines of a shape file
inline constexpr std::size_t kMaxPoints = 50;
inline constexpr std::size_t kMaxDefectLines = 100; // lines of a defect file
inline constexpr std::size_t kMaxSurfaceDefects = 100;
inline constexpr std::size_t kMaxEndDefects = 40;
inline constexpr std::size_t kMaxIntervalsPerSector = 100;

// The nine grading defect kinds; 0-5 lie on the surface, 6-8 show on the log ends.
enum class DefectKind : std::uint8_t {
    Knot = 0,
    Bump = 1,
    SurfaceRise = 2,
    Seam = 3,
    Fork = 4,
    Bulge = 5,
    Decay = 6,
    Stain = 7,
    Heart = 8,
};

// The outer form of the stem, one entry per inch from the butt (position 0). The inch tables
// have no defaults: ReadShapeFile writes every inch of them, and a tree loaded from its files
// would otherwise clear them first only to overwrite them (StemModel{} is still all 0).
struct StemModel {
    std::array<std::uint8_t, kInchSlots> Diameter;        // inches inside bark; 0 beyond the top
    std::array<float, kInchSlots> CentreX;                // centre-line offset, inches, plane X
    std::array<float, kInchSlots> CentreY;                // centre-line offset, inches, plane Y
    std::array<std::int32_t, kMaxPoints> PointPosition{}; // measured cross-sections, inches
    std::uint8_t PointCount = 0;
    std::uint16_t StemLength = 0; // position of the top, inches
};

struct SurfaceDefect {
    std::int32_t Position = 0;    // start or centre, inches
    std::uint8_t Kind = 0;        // DefectKind 0 to 5
    std::int8_t Sector = 0;       // centre or start sector (kinds 0-3), 0 to 35
    std::uint8_t Width = 0;       // inches across the stem (kinds 0-2)
    std::uint8_t Length = 0;      // inches along the stem (kinds 0-2)
    std::int32_t EndPosition = 0; // inches (kinds 3-5)
    std::uint8_t EndSector = 0;   // end sector (kind 3), 0 to 35
};

struct EndDefect {
    std::uint8_t Kind = 0; // DefectKind 6 to 8
    std::uint16_t StartPosition = 0;
    std::uint16_t EndPosition = 0;   // at or above StartPosition
    std::uint16_t StartDiameter = 0; // inches
    std::uint16_t EndDiameter = 0;   // inches
    std::uint16_t ExceedStart = 0;   // decay: first inch wider than 0.4 of the stem; 0 if none
    std::uint16_t ExceedEnd = 0;     // decay: last such inch; 0 if none
};

// One stretch of one sector covered by a surface defect, inches inclusive; Defect is the
// defect's number in the surface defect table, counted from 1. No defaults: a tree holds 3600
// of them, nearly all unused, and a new tree would spend more on clearing them than on reading
// its files (MapInterval{} is still all 0).
struct MapInterval {
    std::int32_t Start;
    std::int32_t End;
    std::int32_t Defect;

    bool operator==(const MapInterval&) const = default;
};

// Only the first Count items mean anything; the rest are not cleared by a new tree or NewTree.
struct SectorIntervals {
    std::array<MapInterval, kMaxIntervalsPerSector> Items;
    std::uint8_t Count = 0;

    std::span<const MapInterval> Used() const { return {Items.data(), Count}; }
};

// The engine's model of one tree: stem, defect tables and the maps built from them. Large
// (about 80 KB): keep it on the heap. A tree made by Tree{} or std::make_unique<Tree>() holds
// nothing, as NewTree leaves it; one made without an initialiser (new Tree, as LoadTree makes
// it) leaves the stem's inch tables and the interval slots unset until ReadShapeFile or NewTree.
struct Tree {
    static constexpr std::array<std::uint8_t, kInchSlots> AllFree() {
        std::array<std::uint8_t, kInchSlots> free{};
        free.fill(1);
        return free;
    }

    StemModel Stem;
    std::array<SurfaceDefect, kMaxSurfaceDefects> SurfaceDefects{};
    std::uint8_t SurfaceDefectCount = 0;
    std::array<EndDefect, kMaxEndDefects> EndDefects{};
    std::uint8_t EndDefectCount = 0;
    std::array<SectorIntervals, kSectorCount> SurfaceMap; // each with Count 0
    std::array<std::uint8_t, kInchSlots> DecayProfile{};  // decay diameter, inches
    std::array<std::uint8_t, kInchSlots> StainProfile{};
    std::array<std::uint8_t, kInchSlots> HeartProfile{};
    std::array<std::uint8_t, kInchSlots> ForkBulgeFree = AllFree(); // 1 = free of forks and bulges

    // Where the defects and the stem came from, so that mapping errors can name the files.
    std::filesystem::path DefectFilePath;
    std::filesystem::path ShapeFilePath;
    std::array<int, kMaxSurfaceDefects> SurfaceDefectLine{};

    std::span<const SurfaceDefect> Surface() const {
        return {SurfaceDefects.data(), SurfaceDefectCount};
    }
    std::span<const EndDefect> Ends() const { return {EndDefects.data(), EndDefectCount}; }
};

// Clears the whole tree: counts, tables and maps to 0, ForkBulgeFree to 1.
void NewTree(Tree& tree);

// Clears only what MapDefects builds (sector map, profiles, ForkBulgeFree), keeping the stem
// and the defect tables.
void ClearDefectMaps(Tree& tree);

// Tree files are plain text. A control byte (below 0x20 other than a tab, or 0x7F) among the
// characters a reader takes from a line means the file is damaged or not text at all, and
// would otherwise read as a line of unknown codes or zeros. Throws FileError naming the file,
// the line and the byte when `read` holds one.
void CheckTreeFileText(std::string_view read, const std::filesystem::path& path, int line);

// A number field of a tree file. A blank (or absent) field reads as 0; anything else that is
// not a number (a garbled byte, a letter) is refused, since read as 0 it would move a defect to
// the butt or end the stem early without a word. `field` names the field in the message
// ("field B", "the diameter field"). Throws FileError naming the file, the line and the field.
double DecimalField(std::string_view text, std::string_view field,
                    const std::filesystem::path& path, int line);
// As DecimalField, for a field that holds a whole number ("1.5" is refused).
std::int32_t IntegerField(std::string_view text, std::string_view field,
                          const std::filesystem::path& path, int line);

// Sector numbers given outside 0 to 35 are taken modulo 36.
inline int WrapSector(int sector) {
    return ((sector % kSectorCount) + kSectorCount) % kSectorCount;
}

} // namespace varnok
