// The folders of src/ are layers. An include never points from a lower folder to a higher one,
// the engine's detail headers are the engine's own, and the core includes no Qt header. This
// test reads every source file, so a new include that breaks the order fails here.

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace varnok {
namespace {

namespace fs = std::filesystem;

// Folders of the same rank may not include each other.
const std::map<std::string, int>& Ranks() {
    static const std::map<std::string, int> ranks = {
        {"support", 0},  {"rules", 1},     {"grading", 1}, {"market", 2}, {"tree", 3},
        {"engine", 4},   {"optimiser", 5}, {"game", 5},    {"coach", 6},  {"tracking", 6},
        {"services", 7}, {"app", 8},       {"cli", 8},
    };
    return ranks;
}

bool IsCore(const std::string& folder) {
    return folder != "app" && folder != "cli";
}

struct Finding {
    std::string File; // relative to the source root
    int Line = 0;
    std::string Include;
    std::string Why;

    bool operator==(const Finding&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Finding& f) {
    return out << f.File << ":" << f.Line << " includes " << f.Include << ": " << f.Why;
}

// The text between the delimiters of an #include line, and whether it is a <system> include;
// nothing for other lines.
std::optional<std::pair<std::string, bool>> IncludeOf(const std::string& line) {
    const std::size_t hash = line.find_first_not_of(" \t");
    if (hash == std::string::npos || line.compare(hash, 8, "#include") != 0) {
        return std::nullopt;
    }
    const std::size_t open = line.find_first_of("\"<", hash + 8);
    if (open == std::string::npos) {
        return std::nullopt;
    }
    const char close = line[open] == '<' ? '>' : '"';
    const std::size_t end = line.find(close, open + 1);
    if (end == std::string::npos) {
        return std::nullopt;
    }
    return std::make_pair(line.substr(open + 1, end - open - 1), close == '>');
}

std::vector<Finding> LayeringFaults(const fs::path& root) {
    std::vector<Finding> found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path& path = entry.path();
        if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp")) {
            continue;
        }
        const fs::path relative = fs::relative(path, root);
        const std::string folder = relative.begin()->string();
        const std::string file = relative.generic_string();
        if (relative.begin() == std::prev(relative.end())) {
            continue; // a file at the top of src/
        }
        const auto rank = Ranks().find(folder);
        if (rank == Ranks().end()) {
            found.push_back({file, 0, "", "the folder has no place among the layers"});
            continue;
        }
        std::ifstream in(path);
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            const auto include = IncludeOf(line);
            if (!include) {
                continue;
            }
            const auto& [target, system] = *include;
            if (system) {
                if (IsCore(folder) && target.starts_with("Q")) {
                    found.push_back({file, number, target, "the core includes no Qt header"});
                }
                continue;
            }
            const std::size_t slash = target.find('/');
            if (slash == std::string::npos) {
                continue; // a header beside the file
            }
            const std::string to = target.substr(0, slash);
            const auto toRank = Ranks().find(to);
            if (toRank == Ranks().end()) {
                found.push_back({file, number, target, "no such layer"});
            } else if (to != folder && toRank->second >= rank->second) {
                found.push_back({file, number, target, "points to a layer not below its own"});
            } else if (target.starts_with("engine/detail/") && folder != "engine") {
                found.push_back({file, number, target, "the engine's detail is its own"});
            }
        }
    }
    return found;
}

TEST(Layering, NoIncludeInTheSourcesPointsUpward) {
    const fs::path sources = fs::path(VARNOK_TEST_DATA_DIR).parent_path().parent_path() / "src";
    ASSERT_TRUE(fs::is_directory(sources / "engine"));
    EXPECT_EQ(LayeringFaults(sources), std::vector<Finding>{});
}

TEST(Layering, TheCheckFindsEachKindOfFault) {
    test::TempFolder root;
    test::WriteText(root.Path() / "engine" / "Good.cpp",
                    "#include \"engine/detail/Inner.h\"\n#include \"market/Market.h\"\n"
                    "#include <vector>\n#include \"Local.h\"\n");
    test::WriteText(root.Path() / "market" / "Up.cpp",
                    "// a line\n#include \"services/Reports.h\"\n");
    test::WriteText(root.Path() / "game" / "Side.h", "  #include \"optimiser/Optimiser.h\"\n");
    test::WriteText(root.Path() / "tree" / "Peek.cpp", "#include \"engine/detail/Inner.h\"\n");
    test::WriteText(root.Path() / "cli" / "Deep.cpp", "#include \"engine/detail/Inner.h\"\n");
    test::WriteText(root.Path() / "rules" / "Qt.h", "#include <QString>\n");
    test::WriteText(root.Path() / "app" / "Window.cpp", "#include <QWidget>\n");
    test::WriteText(root.Path() / "widgets" / "Odd.cpp", "\n");
    std::vector<Finding> found = LayeringFaults(root.Path());
    std::sort(found.begin(), found.end(),
              [](const Finding& a, const Finding& b) { return a.File < b.File; });
    const std::vector<Finding> expected = {
        {"cli/Deep.cpp", 1, "engine/detail/Inner.h", "the engine's detail is its own"},
        {"game/Side.h", 1, "optimiser/Optimiser.h", "points to a layer not below its own"},
        {"market/Up.cpp", 2, "services/Reports.h", "points to a layer not below its own"},
        {"rules/Qt.h", 1, "QString", "the core includes no Qt header"},
        {"tree/Peek.cpp", 1, "engine/detail/Inner.h", "points to a layer not below its own"},
        {"widgets/Odd.cpp", 0, "", "the folder has no place among the layers"},
    };
    EXPECT_EQ(found, expected);
}

} // namespace
} // namespace varnok
