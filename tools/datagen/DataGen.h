#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace varnok::datagen {

// What one run wrote.
struct GenerationSummary {
    int Trees = 0;
    int DefectLines = 0;
    int Forked = 0;
    int ButtRot = 0;
    int Seamed = 0;
    int RuleFiles = 0;
};

// Writes the sample data folder at `root` (created when missing): Shapes/TreeN.SHP and
// Defects/TreeN.DEF for N = 1 to 150, and the standard rule sets in Log Rules, SawGrades,
// Veneer, Roundwood, Prices and Filters. Files of the same names are replaced; other files
// are left alone. The same seed gives the same bytes on every machine.
// Throws FileError when a folder or file cannot be written, VarnokError when a generated tree
// would break a limit of the file formats.
GenerationSummary GenerateDataFolder(const std::filesystem::path& root, std::uint64_t seed);

// "wrote 150 trees (... defect lines; ... forked, ... with butt rot, ... with seams) and
// 13 rule files to ROOT"
std::string SummaryLine(const GenerationSummary& summary, const std::filesystem::path& root);

} // namespace varnok::datagen
