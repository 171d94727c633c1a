#pragma once

#include "support/Errors.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

// Expects `statement` to throw FileError for file `path` with the runtime-style `message`.
#define EXPECT_FILE_ERROR(statement, path, message)                                                \
    do {                                                                                           \
        try {                                                                                      \
            statement;                                                                             \
            ADD_FAILURE() << "no FileError from " #statement;                                      \
        } catch (const ::varnok::FileError& error) {                                               \
            EXPECT_EQ(error.Path(), (path));                                                       \
            EXPECT_EQ(error.Message(), (message));                                                 \
        }                                                                                          \
    } while (false)

namespace varnok::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::random_device device;
        path_ = std::filesystem::temp_directory_path() /
                ("varnok-test-" + std::to_string(device()) + std::to_string(device()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::filesystem::path GoldenData() {
    return std::filesystem::path(VARNOK_TEST_DATA_DIR) / "golden" / "data";
}

inline std::filesystem::path GoldenExpected() {
    return std::filesystem::path(VARNOK_TEST_DATA_DIR) / "golden" / "expected";
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Lines joined with CR LF, as the tree files are written.
inline std::string CrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// A writable copy of the golden data folder (three trees, market "Hardwood8").
inline void CopyGoldenData(const std::filesystem::path& to) {
    std::filesystem::copy(GoldenData(), to, std::filesystem::copy_options::recursive);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(to)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    }
}

// The command line that computes a market named `name` into `data` from the golden rule files
// (a copy of the golden data), followed by `extra`.
inline std::vector<std::string> GoldenComputeArgs(const std::string& data, const std::string& name,
                                                  const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"--data",
                                     data,
                                     "compute-market",
                                     "--name",
                                     name,
                                     "--log-rule",
                                     "Doyle",
                                     "--veneer",
                                     "Veneer Three",
                                     "--sawlog",
                                     "Factory Grades",
                                     "--prices",
                                     "Hardwood Whole",
                                     "--filter",
                                     "Default Filter",
                                     "--roundwood",
                                     "RW Two",
                                     "--trim",
                                     "8"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

} // namespace varnok::test
