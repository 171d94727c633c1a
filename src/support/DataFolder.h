#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace varnok {

// The installation folder of the data: one subfolder per kind of data, with the same names on
// every platform. Paths only; nothing here opens a file.
class DataFolder {
public:
    explicit DataFolder(std::filesystem::path root) : root_(std::move(root)) {}

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path Shapes() const { return root_ / "Shapes"; }
    std::filesystem::path Defects() const { return root_ / "Defects"; }
    std::filesystem::path LogRules() const { return root_ / "Log Rules"; }
    std::filesystem::path Prices() const { return root_ / "Prices"; }
    std::filesystem::path Roundwood() const { return root_ / "Roundwood"; }
    std::filesystem::path Filters() const { return root_ / "Filters"; }
    std::filesystem::path SawGrades() const { return root_ / "SawGrades"; }
    std::filesystem::path Veneer() const { return root_ / "Veneer"; }
    std::filesystem::path Markets() const { return root_ / "Markets"; }
    std::filesystem::path Reports() const { return root_ / "Reports"; }

    // "Shapes/TreeN.SHP" and "Defects/TreeN.DEF", found ignoring letter case (tree file names
    // are not case sensitive). When no file matches, the path with the canonical spelling.
    std::filesystem::path ShapeFile(int treeNumber) const;
    std::filesystem::path DefectFile(int treeNumber) const;

    // The files of market `name`: its folder "Markets/name", its definition "Markets/name/Specs"
    // and its optimal cuts "Markets/name/Optmcuts". Paths only; the name is not checked here.
    std::filesystem::path MarketFolder(std::string_view name) const;
    std::filesystem::path MarketSpecsFile(std::string_view name) const;
    std::filesystem::path OptimalCutsFile(std::string_view name) const;
    // "Markets/name/.lock": held while the market is computed (FileLock), so that no two
    // computations of one market write its files at once; gone when none runs.
    std::filesystem::path MarketLockFile(std::string_view name) const;

private:
    std::filesystem::path root_;
};

// Throws FileError naming the folder when it does not exist or is not a data folder: it lacks
// the "Shapes" subfolder, or the "Markets" one when `marketsNeeded` (a folder fresh from the
// data generator has no markets until the first is computed). So a mistyped folder is not taken
// for one with no markets and no trees.
void CheckDataFolder(const DataFolder& data, bool marketsNeeded = true);

// Throws VarnokError when `name` is not a plain file name (as CheckPlainName) or when the data
// folder has no market of that name: "There is no market "NAME" in FOLDER/Markets." Every
// command that names a market reports a missing one in these words.
void CheckMarketExists(const DataFolder& data, std::string_view name);

// Where the data folder is, in this order: the --data option, the VARNOK_DATA environment
// variable, else the per-user folder $XDG_DATA_HOME/varnok (default ~/.local/share/varnok),
// which is created by copying the bundled data when it does not exist yet.
// `programPath` is the running program's path, used to find the bundled data next to it.
// Throws VarnokError when the per-user folder is needed but cannot be made.
DataFolder ResolveDataFolder(const std::optional<std::string>& dataOption,
                             const std::filesystem::path& programPath);

// The bundled data: share/varnok beside the program's install prefix, or the source tree's
// data folder for a program run from its build folder. Nothing when neither exists.
std::optional<std::filesystem::path> FindBundledData(const std::filesystem::path& programPath);

} // namespace varnok
