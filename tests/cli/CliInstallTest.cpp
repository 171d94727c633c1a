// The installed program, as a user meets it: `cmake --install` of this build tree into a fresh
// prefix, then varnok-cli run from there with no data folder given.

#include "CliRunner.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace varnok {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::RunProgram;

const char* const kBundledMarkets =
    "Appalachian Doyle\nLake States Scribner\nNorthern International\n";

// A file the bundled data does not have, dropped into the installed copy: finding it in the
// per-user folder proves the folder was seeded from the prefix, not from the source tree.
const char* const kMarker = "installed-copy-marker";

std::string ReadText(const fs::path& path) {
    const auto bytes = test::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Every regular file under `root` by its relative path, with its bytes.
std::map<std::string, std::vector<std::uint8_t>> FilesUnder(const fs::path& root) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), root).generic_string()] =
                test::ReadBytes(entry.path());
        }
    }
    return files;
}

// The key=value lines of the [Desktop Entry] group.
std::map<std::string, std::string> DesktopEntryKeys(const std::string& text) {
    std::map<std::string, std::string> keys;
    std::istringstream in(text);
    std::string line;
    bool inGroup = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.front() == '[') {
            inGroup = line == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (inGroup && equals != std::string::npos) {
            keys[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return keys;
}

class CliInstall : public testing::Test {
protected:
    // One install serves every test: it copies the whole build's output.
    static void SetUpTestSuite() {
        prefix_ = std::make_unique<test::TempFolder>();
        install_ = RunProgram(VARNOK_CMAKE_COMMAND, {"--install", VARNOK_BUILD_DIR, "--prefix",
                                                     prefix_->Path().string()});
    }
    static void TearDownTestSuite() { prefix_.reset(); }

    void SetUp() override {
        ASSERT_EQ(install_.ExitCode, 0) << "cmake --install failed:\n"
                                        << install_.Out << install_.Err;
    }

    static fs::path Prefix() { return prefix_->Path(); }

    // The installed varnok-cli with VARNOK_DATA, XDG_DATA_HOME and HOME replaced by `env`.
    static CliResult RunInstalledCli(const std::vector<std::string>& env,
                                     const std::vector<std::string>& args) {
        std::vector<std::string> all = {"-u", "VARNOK_DATA", "-u", "XDG_DATA_HOME", "-u", "HOME"};
        all.insert(all.end(), env.begin(), env.end());
        all.push_back((Prefix() / "bin" / "varnok-cli").string());
        all.insert(all.end(), args.begin(), args.end());
        return RunProgram("env", all);
    }

private:
    static inline std::unique_ptr<test::TempFolder> prefix_;
    static inline CliResult install_;
};

TEST_F(CliInstall, PlacesTheProgramsAndAnExactCopyOfTheBundledData) {
    const fs::path bin = Prefix() / "bin";
    std::vector<fs::path> programs = {bin / "varnok-cli"};
    if (VARNOK_INSTALLS_APP) {
        programs.push_back(bin / "varnok");
    }
    for (const fs::path& program : programs) {
        ASSERT_TRUE(fs::is_regular_file(program)) << program;
        EXPECT_NE(fs::status(program).permissions() & fs::perms::others_exec, fs::perms::none)
            << program;
    }
    const auto bundled = FilesUnder(VARNOK_BUNDLED_DATA_DIR);
    auto installed = FilesUnder(Prefix() / "share" / "varnok");
    installed.erase(kMarker);
    ASSERT_GT(bundled.size(), 300U);
    EXPECT_EQ(installed.size(), bundled.size());
    for (const auto& [name, bytes] : bundled) {
        const auto found = installed.find(name);
        ASSERT_NE(found, installed.end()) << name << " was not installed";
        EXPECT_EQ(found->second, bytes) << name << " differs from the bundled file";
    }
}

TEST_F(CliInstall, SeedsThePerUserFolderFromTheInstalledData) {
    test::WriteText(Prefix() / "share" / "varnok" / kMarker, "x");
    struct Case {
        const char* name;
        bool setHome;
        bool setXdgDataHome;
        const char* seededUnder; // relative to the temporary folder; empty when none may be made
        int exitCode;
        const char* stderrHolds;
    };
    const std::vector<Case> cases = {
        {"HOME only", true, false, "home/.local/share/varnok", 0, ""},
        {"XDG_DATA_HOME wins over HOME", true, true, "xdg/varnok", 0, ""},
        {"XDG_DATA_HOME alone", false, true, "xdg/varnok", 0, ""},
        {"neither", false, false, "", 1, "give --data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        std::vector<std::string> env;
        if (c.setHome) {
            env.push_back("HOME=" + (folder.Path() / "home").string());
        }
        if (c.setXdgDataHome) {
            env.push_back("XDG_DATA_HOME=" + (folder.Path() / "xdg").string());
        }
        const CliResult result = RunInstalledCli(env, {"markets"});
        EXPECT_EQ(result.ExitCode, c.exitCode) << result.Err;
        EXPECT_NE(result.Err.find(c.stderrHolds), std::string::npos) << result.Err;
        if (c.exitCode != 0) {
            EXPECT_EQ(result.Out, "");
            EXPECT_FALSE(fs::exists(folder.Path() / "home"));
            continue;
        }
        EXPECT_EQ(result.Out, kBundledMarkets);
        const fs::path seeded = folder.Path() / c.seededUnder;
        EXPECT_TRUE(fs::is_regular_file(seeded / kMarker)) << seeded;
        EXPECT_TRUE(fs::is_regular_file(seeded / "Markets" / "Appalachian Doyle" / "Optmcuts"));
        EXPECT_FALSE(fs::exists(seeded.string() + ".partial"));
        if (c.setHome && c.setXdgDataHome) {
            EXPECT_FALSE(fs::exists(folder.Path() / "home" / ".local"));
        }
    }
}

TEST_F(CliInstall, KeepsTheUsersChangesOnLaterStarts) {
    test::TempFolder home;
    const std::vector<std::string> env = {"HOME=" + home.Path().string()};
    ASSERT_EQ(RunInstalledCli(env, {"markets"}).Out, kBundledMarkets);
    const fs::path user = home.Path() / ".local" / "share" / "varnok";
    fs::remove_all(user / "Markets" / "Lake States Scribner");
    const CliResult again = RunInstalledCli(env, {"markets"});
    EXPECT_EQ(again.ExitCode, 0) << again.Err;
    EXPECT_EQ(again.Out, "Appalachian Doyle\nNorthern International\n");
    // --data still overrides the per-user folder.
    const CliResult given =
        RunInstalledCli(env, {"--data", (Prefix() / "share" / "varnok").string(), "markets"});
    EXPECT_EQ(given.Out, kBundledMarkets) << given.Err;
}

TEST_F(CliInstall, InstallsAValidDesktopEntryAndItsIcon) {
    const fs::path entry = Prefix() / "share" / "applications" / "varnok.desktop";
    ASSERT_TRUE(fs::is_regular_file(entry));
    const auto keys = DesktopEntryKeys(ReadText(entry));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Type", "Application"}, {"Name", "Varnok"},    {"Exec", "varnok"},
        {"Icon", "varnok"},      {"Terminal", "false"}, {"Categories", "Education;Game;"},
    };
    for (const auto& [key, value] : expected) {
        const auto found = keys.find(key);
        ASSERT_NE(found, keys.end()) << key;
        EXPECT_EQ(found->second, value) << key;
    }
    ASSERT_TRUE(keys.count("Comment"));
    EXPECT_GT(keys.at("Comment").size(), 10U);
    if (VARNOK_INSTALLS_APP) {
        EXPECT_TRUE(fs::is_regular_file(Prefix() / "bin" / keys.at("Exec")));
    }

    // desktop-file-utils is among the test packages; exit 127 means it is missing.
    const CliResult validate = RunProgram("desktop-file-validate", {entry.string()});
    EXPECT_EQ(validate.ExitCode, 0) << validate.Out << validate.Err;
    // Hints are allowed (two main categories are wanted); warnings and errors are not.
    EXPECT_EQ(validate.Out.find("warning:"), std::string::npos) << validate.Out;
    EXPECT_EQ(validate.Out.find("error:"), std::string::npos) << validate.Out;

    const fs::path icon =
        Prefix() / "share" / "icons" / "hicolor" / "scalable" / "apps" / (keys.at("Icon") + ".svg");
    ASSERT_TRUE(fs::is_regular_file(icon)) << icon;
    const std::string svg = ReadText(icon);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0U);
    EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 128 128\""), std::string::npos);
    EXPECT_TRUE(svg.substr(0, svg.find_last_not_of(" \n") + 1).ends_with("</svg>"));
}

} // namespace
} // namespace varnok
