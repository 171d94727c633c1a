#include "support/DataFolder.h"

#include "support/Errors.h"
#include "support/Files.h"

#include <cstdlib>
#include <system_error>

namespace varnok {
namespace fs = std::filesystem;

fs::path DataFolder::ShapeFile(int treeNumber) const {
    return FindEntry(Shapes(), "Tree" + std::to_string(treeNumber) + ".SHP");
}

fs::path DataFolder::DefectFile(int treeNumber) const {
    return FindEntry(Defects(), "Tree" + std::to_string(treeNumber) + ".DEF");
}

fs::path DataFolder::MarketFolder(std::string_view name) const {
    return Markets() / fs::path(std::string(name));
}

fs::path DataFolder::MarketSpecsFile(std::string_view name) const {
    return MarketFolder(name) / "Specs";
}

fs::path DataFolder::OptimalCutsFile(std::string_view name) const {
    return MarketFolder(name) / "Optmcuts";
}

fs::path DataFolder::MarketLockFile(std::string_view name) const {
    return MarketFolder(name) / ".lock";
}

void CheckDataFolder(const DataFolder& data, bool marketsNeeded) {
    std::error_code ec;
    if (!fs::is_directory(data.Root(), ec)) {
        throw FileError(data.Root(), "Path not found: there is no data folder here");
    }
    for (const fs::path& sub : {data.Markets(), data.Shapes()}) {
        if (sub == data.Markets() && !marketsNeeded) {
            continue;
        }
        if (!fs::is_directory(sub, ec)) {
            throw FileError(data.Root(), "not a data folder: it has no \"" +
                                             sub.filename().string() + "\" folder");
        }
    }
}

void CheckMarketExists(const DataFolder& data, std::string_view name) {
    CheckPlainName(name, "market");
    std::error_code ec;
    if (!fs::is_directory(data.MarketFolder(name), ec)) {
        throw VarnokError("There is no market \"" + std::string(name) + "\" in " +
                          data.Markets().string() + ".");
    }
}

std::optional<fs::path> FindBundledData(const fs::path& programPath) {
    std::error_code ec;
    const fs::path programFolder = fs::absolute(programPath, ec).parent_path();
    const fs::path installed = programFolder.parent_path() / VARNOK_INSTALL_DATA_SUFFIX;
    if (fs::is_directory(installed / "Markets", ec)) {
        return installed;
    }
    const fs::path source = VARNOK_SOURCE_DATA_DIR;
    if (fs::is_directory(source, ec)) {
        return source;
    }
    return std::nullopt;
}

DataFolder ResolveDataFolder(const std::optional<std::string>& dataOption,
                             const fs::path& programPath) {
    if (dataOption && !dataOption->empty()) {
        return DataFolder(*dataOption);
    }
    if (const char* env = std::getenv("VARNOK_DATA"); env != nullptr && *env != '\0') {
        return DataFolder(env);
    }
    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        base = fs::path(home) / ".local" / "share";
    } else {
        throw VarnokError("No data folder: give --data, or set VARNOK_DATA or HOME.");
    }
    const fs::path user = base / "varnok";
    std::error_code ec;
    if (fs::is_directory(user, ec)) {
        return DataFolder(user);
    }
    const auto bundled = FindBundledData(programPath);
    if (!bundled) {
        throw VarnokError("The bundled data was not found, so " + user.string() +
                          " could not be set up; give --data.");
    }
    fs::create_directories(user.parent_path(), ec);
    const fs::path partial = user.string() + ".partial";
    fs::remove_all(partial, ec);
    fs::copy(*bundled, partial, fs::copy_options::recursive, ec);
    if (!ec) {
        fs::rename(partial, user, ec);
    }
    if (ec) {
        const int error = ec.value();
        fs::remove_all(partial, ec);
        throw FileError(user, IoErrorText(error));
    }
    return DataFolder(user);
}

} // namespace varnok
