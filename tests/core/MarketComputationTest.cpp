#include "services/MarketComputation.h"
#include "TestSupport.h"
#include "services/MarketStats.h"
#include "services/Reports.h"
#include "support/Errors.h"
#include "support/FileLock.h"
#include "tree/TreeLoad.h"

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <stop_token>

namespace varnok {
namespace {

using test::TempFolder;

// A data folder of 150 trees: tree k is a copy of golden tree 1, 4 or 6 in turn; the golden
// rule sets; no markets.
void Make150Trees(const std::filesystem::path& root) {
    test::CopyGoldenData(root);
    std::filesystem::remove_all(root / "Markets");
    std::filesystem::create_directories(root / "Markets");
    const int golden[] = {1, 4, 6};
    const auto source = test::GoldenData();
    for (int k = 1; k <= 150; ++k) {
        const int g = golden[(k - 1) % 3];
        for (const auto& [folder, extension] :
             {std::pair{"Shapes", ".SHP"}, std::pair{"Defects", ".DEF"}}) {
            std::filesystem::copy_file(source / folder / ("Tree" + std::to_string(g) + extension),
                                       root / folder / ("Tree" + std::to_string(k) + extension),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
}

MarketDefinition Definition(const std::string& name) {
    MarketDefinition d;
    d.Name = name;
    d.TrimAllowance = 8;
    d.LogRule = "Doyle";
    d.VeneerRules = "Veneer Three";
    d.SawlogRules = "Factory Grades";
    d.PriceSet = "Hardwood Whole";
    d.FilterSet = "Default Filter";
    d.Roundwood = "RW Two";
    return d;
}

class MarketComputationTest : public ::testing::Test {
protected:
    MarketComputationTest() { Make150Trees(folder_.Path()); }
    DataFolder Data() const { return DataFolder(folder_.Path()); }
    TempFolder folder_;
};

TEST_F(MarketComputationTest, SameBytesOnOneThreadAndTwo) {
    std::vector<int> progress;
    const Market one = ComputeMarket(Data(), Definition("One"), 1, [&](int tree, int count) {
        EXPECT_EQ(count, 150);
        progress.push_back(tree);
    });
    ASSERT_EQ(progress.size(), 150U);
    for (int k = 0; k < 150; ++k) {
        ASSERT_EQ(progress[static_cast<std::size_t>(k)], k + 1);
    }
    (void)ComputeMarket(Data(), Definition("Two"), 2, nullptr);
    const auto a = test::ReadBytes(Data().Markets() / "One" / "Optmcuts");
    const auto b = test::ReadBytes(Data().Markets() / "Two" / "Optmcuts");
    ASSERT_EQ(a.size(), 16200U);
    EXPECT_EQ(a, b);

    // The golden optima: tree 1 is 0, 104, 232, 360, 464, 528; so is every third tree.
    const OptimalCutsTable table = ReadOptimalCuts(one.OptmcutsPath);
    EXPECT_EQ(CutPositions(table.Entry(1)), (std::vector<int>{0, 104, 232, 360, 464, 528}));
    EXPECT_EQ(CutPositions(table.Entry(148)), CutPositions(table.Entry(1)));
    EXPECT_EQ(CutPositions(table.Entry(3)), (std::vector<int>{0, 4, 132, 236, 364, 392, 544, 600}));
    EXPECT_EQ(table.Entry(2)[7], 0);

    // Specs as written loads back into the same market.
    const Market loaded = LoadMarket(Data(), "One");
    EXPECT_EQ(loaded.Specs().Encode(), one.Specs().Encode());
    EXPECT_EQ(test::ReadBytes(Data().Markets() / "One" / "Specs").size(), 4756U);
    EXPECT_EQ(loaded.Specs().Encode()[0], 8);
}

TEST_F(MarketComputationTest, NeverOverwritesAMarket) {
    std::filesystem::create_directories(Data().Markets() / "Taken");
    test::WriteText(Data().Markets() / "Taken" / "Specs", "old");
    try {
        (void)ComputeMarket(Data(), Definition("Taken"), 1, nullptr);
        FAIL();
    } catch (const FileError& e) {
        EXPECT_NE(e.Message().find("I/O error 183"), std::string::npos);
    }
    // The check a dialog makes before it hands the definition on refuses it alike.
    EXPECT_FILE_ERROR((void)CheckMarketDefinition(Data(), Definition("Taken")),
                      Data().Markets() / "Taken",
                      "I/O error 183: a market named \"Taken\" exists already");
    EXPECT_EQ(test::ReadBytes(Data().Markets() / "Taken" / "Specs").size(), 3U);
    EXPECT_FALSE(std::filesystem::exists(Data().Markets() / "Taken" / "Optmcuts"));
}

// Files left beside the market's own: a temporary that outlived its write.
std::vector<std::string> StrayFiles(const std::filesystem::path& folder) {
    std::vector<std::string> stray;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "Specs" && name != "Optmcuts") {
            stray.push_back(name);
        }
    }
    return stray;
}

TEST_F(MarketComputationTest, ReplaceRecomputesAndARefusedReplacementTouchesNothing) {
    (void)ComputeMarket(Data(), Definition("M"), 2, nullptr);
    MarketDefinition four = Definition("Four");
    four.TrimAllowance = 4;
    (void)ComputeMarket(Data(), four, 2, nullptr);
    const auto specs8 = test::ReadBytes(Data().MarketSpecsFile("M"));
    const auto cuts8 = test::ReadBytes(Data().OptimalCutsFile("M"));
    const auto cuts4 = test::ReadBytes(Data().OptimalCutsFile("Four"));
    ASSERT_NE(cuts8, cuts4); // else the replacement below could not be told from no change

    struct Case {
        const char* what;
        bool replace;
        void (*change)(MarketDefinition&);
    };
    const std::vector<Case> refused = {
        {"no --replace", false, [](MarketDefinition&) {}},
        {"missing veneer rules", true, [](MarketDefinition& d) { d.VeneerRules = "Missing"; }},
        {"bad price set name", true, [](MarketDefinition& d) { d.PriceSet = "../x"; }},
    };
    for (const Case& c : refused) {
        MarketDefinition d = Definition("M");
        d.TrimAllowance = 4;
        d.ReplaceExisting = c.replace;
        c.change(d);
        EXPECT_THROW((void)ComputeMarket(Data(), d, 1, nullptr), VarnokError) << c.what;
        EXPECT_EQ(test::ReadBytes(Data().MarketSpecsFile("M")), specs8) << c.what;
        EXPECT_EQ(test::ReadBytes(Data().OptimalCutsFile("M")), cuts8) << c.what;
    }
    EXPECT_THROW((void)ComputeMarket(Data(), Definition("M"), 1, nullptr), MarketExists);

    MarketDefinition d = Definition("M");
    d.TrimAllowance = 4;
    d.ReplaceExisting = true;
    const Market replaced = ComputeMarket(Data(), d, 1, nullptr);
    EXPECT_EQ(replaced.Specs().TrimAllowance, 4);
    EXPECT_EQ(test::ReadBytes(Data().MarketSpecsFile("M"))[0], 4);
    EXPECT_EQ(test::ReadBytes(Data().OptimalCutsFile("M")), cuts4);
    EXPECT_EQ(StrayFiles(Data().MarketFolder("M")), std::vector<std::string>{});

    // A replacement of a folder that does not exist is a plain computation.
    MarketDefinition fresh = Definition("New");
    fresh.ReplaceExisting = true;
    (void)ComputeMarket(Data(), fresh, 2, nullptr);
    EXPECT_EQ(test::ReadBytes(Data().OptimalCutsFile("New")), cuts8);
}

// A replacement that fails part-way leaves the new definition with the trees done: a market
// that the listing and the statistics show as incomplete, up to the last tree stored.
TEST_F(MarketComputationTest, AFailedReplacementIsAnIncompleteMarket) {
    (void)ComputeMarket(Data(), Definition("M"), 2, nullptr);
    std::filesystem::remove(Data().Defects() / "Tree5.DEF");
    MarketDefinition d = Definition("M");
    d.TrimAllowance = 4;
    d.ReplaceExisting = true;
    EXPECT_THROW((void)ComputeMarket(Data(), d, 2, nullptr), FileError);
    EXPECT_EQ(test::ReadBytes(Data().MarketSpecsFile("M"))[0], 4);
    const OptimalCutsTable table = ReadOptimalCuts(Data().OptimalCutsFile("M"));
    std::vector<int> afterTree4(kTreeCount - 4);
    std::iota(afterTree4.begin(), afterTree4.end(), 5);
    EXPECT_EQ(MissingTrees(table), afterTree4);

    const std::vector<MarketListing> listing = ListMarketsWithProgress(Data());
    ASSERT_EQ(listing.size(), 1U);
    EXPECT_EQ(listing[0].Name, "M");
    EXPECT_EQ(listing[0].TreesStored(), 4);
    EXPECT_EQ(listing[0].Missing, afterTree4);
    EXPECT_FALSE(listing[0].Complete());
    EXPECT_EQ(listing[0].Problem, "");

    const MarketStats stats = ComputeMarketStats(Data(), LoadMarket(Data(), "M"));
    EXPECT_EQ(stats.TreesStored(), 4);
    EXPECT_FALSE(stats.Complete());
    EXPECT_EQ(stats.Trees.size(), 4U);
}

// Seen from between two stores (the progress call), the file always holds whole entries: the
// first trees, at most 1 to n - 1, as they end up, the rest zero, and no temporary beside it.
TEST_F(MarketComputationTest, BetweenStoresTheFileHoldsWholeEntriesOnly) {
    std::vector<OptimalCutsTable> seen;
    const auto path = Data().OptimalCutsFile("Watched");
    const Market market = ComputeMarket(Data(), Definition("Watched"), 2, [&](int tree, int) {
        if (tree % 37 == 1 || tree == 150) {
            ASSERT_EQ(test::ReadBytes(path).size(), OptimalCutsTable::kSize) << tree;
            seen.push_back(ReadOptimalCuts(path));
            EXPECT_LE(kTreeCount - MissingTrees(seen.back()).size(), tree - 1U);
            // The computation's lock, and no temporary beside the file.
            EXPECT_EQ(StrayFiles(Data().MarketFolder("Watched")),
                      std::vector<std::string>{".lock"});
        }
    });
    const OptimalCutsTable final = ReadOptimalCuts(market.OptmcutsPath);
    ASSERT_EQ(seen.size(), 6U); // trees 1, 38, 75, 112, 149, 150
    for (const OptimalCutsTable& table : seen) {
        const int stored = kTreeCount - static_cast<int>(MissingTrees(table).size());
        for (int t = 1; t <= kTreeCount; ++t) {
            ASSERT_EQ(table.Entry(t), t <= stored ? final.Entry(t) : OptimalCutEntry{})
                << "stored " << stored << ", tree " << t;
        }
    }
}

// A market is complete only when every tree holds a pattern: a hole left by damage counts as
// much as the trees a stopped computation never reached.
TEST(MissingTrees, EveryEntryWithoutAPatternIsNamed) {
    const OptimalCutEntry pattern = MakeOptimalCutEntry(std::vector<int>{0, 200, 400});
    struct Case {
        std::vector<int> trees; // trees given a pattern, or every tree but these when `holes`
        bool holes;
        std::string numbers; // TreeNumbersText of the missing trees
        std::string stored;  // StoredTreesText
    };
    const std::vector<Case> cases = {
        {{}, false, "trees 1 to 150", "no tree stored"},
        {{1}, false, "trees 2 to 150", "tree 1 of 150 stored"},
        {{1, 2, 3, 4}, false, "trees 5 to 150", "trees 1 to 4 of 150 stored"},
        {{150}, false, "trees 1 to 149", "tree 150 of 150 stored; none for trees 1 to 149"},
        {{1, 2, 6},
         false,
         "trees 3 to 5, 7 to 150",
         "trees 1 to 2, 6 of 150 stored; none for trees 3 to 5, 7 to 150"},
        {{37}, true, "tree 37", "trees 1 to 36, 38 to 150 of 150 stored; none for tree 37"},
        {{1, 150}, true, "trees 1, 150", "trees 2 to 149 of 150 stored; none for trees 1, 150"},
        {{}, true, "", "trees 1 to 150 of 150 stored"},
    };
    for (const Case& c : cases) {
        OptimalCutsTable table;
        if (c.holes) {
            table.Entries.fill(pattern);
        }
        for (const int t : c.trees) {
            table.Entry(t) = c.holes ? OptimalCutEntry{} : pattern;
        }
        const std::vector<int> missing = MissingTrees(table);
        EXPECT_EQ(TreeNumbersText(missing), c.numbers) << c.stored;
        EXPECT_EQ(StoredTreesText(missing), c.stored) << c.numbers;
    }
}

TEST_F(MarketComputationTest, RefusesBadNamesAndMissingRulesBeforeMakingTheFolder) {
    const std::vector<std::pair<std::string, void (*)(MarketDefinition&)>> cases = {
        {"..", [](MarketDefinition&) {}},
        {"Bad1", [](MarketDefinition& d) { d.PriceSet = "../Prices/Hardwood Whole"; }},
        {"Bad2", [](MarketDefinition& d) { d.TrimAllowance = 6; }},
        {"Bad3", [](MarketDefinition& d) { d.VeneerRules = "Missing"; }},
        {"Bad4", [](MarketDefinition& d) { d.LogRule = ""; }},
    };
    for (const auto& [name, change] : cases) {
        MarketDefinition d = Definition(name);
        change(d);
        EXPECT_THROW((void)CheckMarketDefinition(Data(), d), VarnokError) << name;
        EXPECT_THROW((void)ComputeMarket(Data(), d, 1, nullptr), VarnokError) << name;
        if (name != "..") {
            EXPECT_FALSE(std::filesystem::exists(Data().Markets() / name)) << name;
        }
    }
}

TEST_F(MarketComputationTest, AMissingTreeStopsTheComputationKeepingTheTreesBefore) {
    std::filesystem::remove(Data().Defects() / "Tree5.DEF");
    int last = 0;
    try {
        (void)ComputeMarket(Data(), Definition("Partial"), 2, [&](int tree, int) { last = tree; });
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.Path().filename(), "Tree5.DEF");
        EXPECT_EQ(e.Message(), "File not found");
    }
    EXPECT_EQ(last, 5); // announced before it was loaded, so the failing tree is the last shown
    const OptimalCutsTable table = ReadOptimalCuts(Data().Markets() / "Partial" / "Optmcuts");
    for (int t = 1; t <= 4; ++t) {
        EXPECT_FALSE(CutPositions(table.Entry(t)).empty()) << t;
    }
    for (int t = 5; t <= 150; ++t) {
        ASSERT_TRUE(CutPositions(table.Entry(t)).empty()) << t;
    }
}

TEST_F(MarketComputationTest, OfSeveralFailingTreesTheFirstIsReported) {
    struct Case {
        const char* what;
        std::vector<std::string> removed; // files, relative to the data folder
        std::string damagedShape;         // tree whose shape file is cut to its header, or ""
        std::string file;                 // the file the error names
        int treesKept;
    };
    const std::vector<Case> cases = {
        {"trees 5 and 7 missing", {"Defects/Tree5.DEF", "Defects/Tree7.DEF"}, "", "Tree5.DEF", 4},
        {"tree 3 damaged, tree 9 missing", {"Shapes/Tree9.SHP"}, "3", "Tree3.SHP", 2},
        {"tree 2 missing, tree 1 damaged", {"Defects/Tree2.DEF"}, "1", "Tree1.SHP", 0},
    };
    for (const Case& c : cases) {
        for (const int jobs : {1, 2}) {
            TempFolder folder;
            Make150Trees(folder.Path());
            const DataFolder data(folder.Path());
            for (const std::string& file : c.removed) {
                std::filesystem::remove(folder.Path() / file);
            }
            if (!c.damagedShape.empty()) {
                test::WriteText(data.ShapeFile(std::stoi(c.damagedShape)), "header only\r\n");
            }
            try {
                (void)ComputeMarket(data, Definition("Failing"), jobs, nullptr);
                ADD_FAILURE() << c.what << ": computed";
            } catch (const FileError& e) {
                EXPECT_EQ(e.Path().filename(), c.file) << c.what << ", " << jobs << " jobs";
            }
            // A new market that stored no tree leaves no folder, so a plain retry works.
            if (c.treesKept == 0) {
                EXPECT_FALSE(std::filesystem::exists(data.MarketFolder("Failing"))) << c.what;
                continue;
            }
            const OptimalCutsTable table = ReadOptimalCuts(data.OptimalCutsFile("Failing"));
            for (int t = 1; t <= 150; ++t) {
                ASSERT_EQ(CutPositions(table.Entry(t)).empty(), t > c.treesKept)
                    << c.what << ", " << jobs << " jobs, tree " << t;
            }
        }
    }
}

// The tree files opened while `work` runs, by tree number, seen through inotify.
std::vector<int> TreesOpenedDuring(const DataFolder& data, const std::function<void()>& work) {
    const int watch = inotify_init1(IN_NONBLOCK);
    EXPECT_GE(watch, 0);
    inotify_add_watch(watch, data.Defects().c_str(), IN_OPEN);
    inotify_add_watch(watch, data.Shapes().c_str(), IN_OPEN);
    work();
    std::vector<int> trees;
    alignas(inotify_event) std::array<char, 65536> buffer{};
    for (ssize_t length; (length = read(watch, buffer.data(), buffer.size())) > 0;) {
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            const std::string name = event->len > 0 ? event->name : "";
            if (name.starts_with("Tree")) {
                trees.push_back(std::stoi(name.substr(4)));
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    close(watch);
    return trees;
}

// Cancelled after tree 2 (by its stop token, or by a progress callback that throws when tree 3
// is announced), the computation returns without opening the files of tree 10, and keeps trees
// 1 and 2.
TEST_F(MarketComputationTest, ACancelledComputationReturnsPromptlyKeepingTheTreesDone) {
    for (const bool byToken : {true, false}) {
        const std::string name = byToken ? "Stopped" : "Thrown";
        std::stop_source stop;
        int lastProgress = 0;
        const auto progress = [&](int tree, int) {
            lastProgress = tree;
            if (tree == 3 && byToken) {
                stop.request_stop();
            } else if (tree == 3) {
                throw std::runtime_error("the window was closed");
            }
        };
        const std::vector<int> opened = TreesOpenedDuring(Data(), [&] {
            try {
                (void)ComputeMarket(Data(), Definition(name), 2, progress, stop.get_token());
                ADD_FAILURE() << name << ": computed";
            } catch (const MarketComputationCancelled& e) {
                EXPECT_TRUE(byToken);
                EXPECT_EQ(e.TreesStored(), 2);
                EXPECT_EQ(std::string(e.what()),
                          "The computation of market \"Stopped\" was cancelled after 2 of 150 "
                          "trees; the optimal patterns of trees 1 to 2 are stored.");
            } catch (const std::runtime_error& e) {
                EXPECT_FALSE(byToken);
                EXPECT_EQ(std::string(e.what()), "the window was closed");
            }
        });
        EXPECT_EQ(lastProgress, 3) << name;
        ASSERT_FALSE(opened.empty()) << name;
        EXPECT_LT(*std::max_element(opened.begin(), opened.end()), 10) << name;
        const OptimalCutsTable table = ReadOptimalCuts(Data().OptimalCutsFile(name));
        for (int t = 1; t <= 150; ++t) {
            ASSERT_EQ(CutPositions(table.Entry(t)).empty(), t > 2) << name << ", tree " << t;
        }
    }
}

// While a market is computed, a second computation of it is refused at once, naming the holder,
// and touches nothing; the first goes on to the same files as a computation alone. Once it is
// done the market can be computed again.
TEST_F(MarketComputationTest, OneComputationOfAMarketAtATime) {
    const std::vector<std::uint8_t> alone =
        test::ReadBytes(ComputeMarket(Data(), Definition("Alone"), 2, nullptr).OptmcutsPath);
    MarketDefinition again = Definition("Busy");
    again.ReplaceExisting = true;
    again.TrimAllowance = 4;
    std::string refusal;
    const Market market = ComputeMarket(Data(), Definition("Busy"), 2, [&](int tree, int) {
        if (tree != 3) {
            return;
        }
        EXPECT_TRUE(FileLock::IsHeld(Data().MarketLockFile("Busy")));
        const std::vector<std::uint8_t> specs = test::ReadBytes(Data().MarketSpecsFile("Busy"));
        try {
            (void)ComputeMarket(Data(), again, 2, nullptr);
        } catch (const MarketBusy& e) {
            refusal = e.what();
        }
        EXPECT_EQ(test::ReadBytes(Data().MarketSpecsFile("Busy")), specs);
    });
    EXPECT_EQ(refusal, "The market \"Busy\" is being computed already (by process " +
                           std::to_string(::getpid()) +
                           "); try again when that computation is done.");
    EXPECT_EQ(test::ReadBytes(market.OptmcutsPath), alone);
    EXPECT_FALSE(FileLock::IsHeld(Data().MarketLockFile("Busy")));
    EXPECT_EQ(ComputeMarket(Data(), again, 2, nullptr).Name, "Busy");
    EXPECT_EQ(test::ReadBytes(Data().MarketSpecsFile("Busy"))[0], 4);
}

TEST(FileLock, HeldUntilDestroyedAndTakenOverFromAKilledHolder) {
    TempFolder folder;
    const auto path = folder.Path() / ".lock";
    EXPECT_FALSE(FileLock::IsHeld(path));
    {
        std::optional<FileLock> first = FileLock::TryLock(path);
        ASSERT_TRUE(first.has_value());
        EXPECT_FALSE(FileLock::TryLock(path).has_value());
        EXPECT_TRUE(FileLock::IsHeld(path));
        EXPECT_EQ(FileLock::HolderOf(path), ::getpid());
        FileLock moved = std::move(*first);
        first.reset();
        EXPECT_TRUE(FileLock::IsHeld(path));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    // A killed holder leaves its file, which holds no lock.
    test::WriteText(path, "12345\n");
    EXPECT_FALSE(FileLock::IsHeld(path));
    EXPECT_TRUE(FileLock::TryLock(path).has_value());
    EXPECT_THROW((void)FileLock::TryLock(folder.Path() / "no" / ".lock"), FileError);
}

TEST_F(MarketComputationTest, ReportsOfTheOptimalPatterns) {
    const Market market = ComputeMarket(Data(), Definition("Rep"), 2, nullptr);
    const std::vector<std::string> cuts =
        CutLocationLines(ReadOptimalCuts(market.OptmcutsPath), 1, 2);
    const std::vector<std::string> expectedStart = {
        "",
        "",
        "Cut Locations Of Optimal Bucking Pattern For Trees 1 To 2",
        "",
        "Distances are in inches from the butt of the tree.",
        "",
        "Tree Number 1",
        "   Segment 1 : 0 To 104",
        "   Segment 2 : 104 To 232"};
    EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), cuts.begin()));
    EXPECT_EQ(cuts[6 + 1 + 5], "");
    EXPECT_EQ(cuts[6 + 1 + 5 + 1], "Tree Number 2");

    const ResearchResults results = ResearchOptimalPatterns(Data(), market, 3, 3);
    ASSERT_EQ(results.at(3).size(), 4U); // tree 3 is golden tree 6: four graded logs
    const std::vector<std::string> products = ProductsReportLines(results, 3, 3);
    const std::vector<std::string> firstLog = {"",
                                               "",
                                               "Tree Number 3",
                                               "",
                                               "   Segment: 1",
                                               "   Length: 128 inches",
                                               "   Product: #1 Sawlog",
                                               "   S.E.D.: 25 inches",
                                               "   % Sweep: 0.00",
                                               "   % Cull: 0.07",
                                               "   Volume: 255 Board Feet",
                                               "   Value: $112.20",
                                               ""};
    EXPECT_TRUE(std::equal(firstLog.begin(), firstLog.end(), products.begin()));

    const std::vector<std::string> file = ProductsFileLines(results, 3, 3);
    ASSERT_EQ(file.size(), 3U + 4U);
    EXPECT_EQ(file[0], "");
    EXPECT_EQ(file[1], "tree,segment,length,product,s.e.d.,sweep,cull,volume,value");
    EXPECT_EQ(file[2], "");
    EXPECT_EQ(file[3], "3,1,128,#1 Sawlog,25,0.00,0.07,255,112.20");
    EXPECT_EQ(file[4], "3,2,104,Prime Veneer Log,23,0.00,0.00,180,216.00");

    // Fields that hold a comma, a quote or a line break are quoted; others are written as they are.
    const std::vector<std::pair<std::string, std::string>> names = {
        {"Ties, \"grade\" A", "\"Ties, \"\"grade\"\" A\""},
        {"Two\nlines", "\"Two\nlines\""},
        {"Cr\rhere", "\"Cr\rhere\""},
        {"Plain; name's", "Plain; name's"},
    };
    for (const auto& [name, field] : names) {
        ResearchResults named = results;
        named[3][0].ProductName = name;
        EXPECT_EQ(ProductsFileLines(named, 3, 3)[3],
                  "3,1,128," + field + ",25,0.00,0.07,255,112.20");
    }
    EXPECT_THROW((void)ProductsFileLines(results, 5, 4), VarnokError);

    const MarketStats stats = ComputeMarketStats(Data(), market);
    EXPECT_EQ(stats.Trees.size(), 150U);
    EXPECT_NEAR(stats.OptimalTotal, 50 * (590.30 + 226.84 + 663.20), 0.05);
    EXPECT_NEAR(stats.NaiveTotal, 50 * (354.80 + 204.36 + 363.50), 0.05);
    EXPECT_NEAR(stats.MinTree, 226.84, 0.005);
    EXPECT_NEAR(stats.MedianTree, 590.30, 0.005);
    EXPECT_NEAR(stats.MaxTree, 663.20, 0.005);
    // Golden trees 1, 4 and 6 cut optimally into 4, 5 and 4 graded logs and 1, 1 and 3 stubs.
    EXPECT_EQ(stats.GradedLogs, 50 * 13);
    EXPECT_EQ(stats.WastePieces, 50 * 5);
    EXPECT_EQ(stats.LogsByProduct[1], 50 * 5);
    EXPECT_EQ(stats.LogsByProduct[6], 0);

    const std::vector<std::string> definition = MarketDefinitionLines("Rep", market.Specs());
    EXPECT_EQ(definition,
              (std::vector<std::string>{
                  "", "", "Rep Market Definition", "", "Veneer Grading Rule : Veneer Three",
                  "Sawlog Grading Rule : Factory Grades", "Roundwood Products : RW Two",
                  "Log Rule : Doyle", "Price Set : Hardwood Whole",
                  "Defect Filter Set : Default Filter", "Trim Allowance : 8 inches"}));
}

// A log sold as cull is reported with its cull charge as a negative value, so that a tree's
// rows sum to its net. The ungraded pieces of the bundled optima (8-inch spacers) hold no wood
// and cost nothing, so that net is returns less the whole cull penalty.
TEST(ResearchResults, ACullChargeIsANegativeValueAndTheRowsSumToTheNet) {
    struct Case {
        std::string market;
        int tree;
        std::string cullRow; // empty: the optimum sells nothing as cull; segments count graded logs
        std::string cullValueLine;
    };
    const std::vector<Case> cases = {
        {"Appalachian Doyle", 1, "1,7,148,Cull,4,0.00,0.00,2,-2.18", "   Value: $-2.18"},
        {"Northern International", 7, "7,7,188,Cull,4,0.00,0.00,3,-3.05", "   Value: $-3.05"},
        {"Lake States Scribner", 1, "1,9,136,Cull,4,0.00,0.00,2,-2.18", "   Value: $-2.18"},
        {"Lake States Scribner", 105, "", ""},
    };
    const DataFolder data(VARNOK_BUNDLED_DATA_DIR);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.market + " tree " + std::to_string(c.tree));
        const Market market = LoadMarket(data, c.market);
        const std::unique_ptr<Tree> tree = LoadTree(data, c.tree, market.Filter);
        const OptimalCutsTable table = ReadOptimalCuts(market.OptmcutsPath);
        const PatternEvaluation optimum = EvaluatePattern(
            *tree, market, StoredOptimalCuts(table, market.OptmcutsPath, c.tree, *tree));

        const ResearchResults results = ResearchOptimalPatterns(data, market, c.tree, c.tree);
        double sum = 0.0;
        int culls = 0;
        for (const ResearchEntry& e : results.at(c.tree)) {
            sum += static_cast<double>(e.Value);
            if (e.ProductClass == kCullProduct) {
                ++culls;
                EXPECT_LT(e.Value, 0.0F);
            } else {
                EXPECT_GT(e.Value, 0.0F);
            }
        }
        EXPECT_EQ(culls, c.cullRow.empty() ? 0 : 1);
        EXPECT_NEAR(sum,
                    static_cast<double>(optimum.Returns) - static_cast<double>(optimum.CullPenalty),
                    1e-4);

        if (c.cullRow.empty()) {
            continue;
        }
        const std::vector<std::string> file = ProductsFileLines(results, c.tree, c.tree);
        const std::vector<std::string> report = ProductsReportLines(results, c.tree, c.tree);
        EXPECT_EQ(std::count(file.begin(), file.end(), c.cullRow), 1);
        EXPECT_EQ(std::count(report.begin(), report.end(), c.cullValueLine), 1);
    }
}

TEST(NaivePattern, SixteensThenTheLongestThatFits) {
    struct Case {
        int trim, stem;
        std::vector<int> cuts;
    };
    const std::vector<Case> cases = {
        {8, 528, {0, 200, 400, 528}},      // 128 left: a 10 ft log
        {8, 660, {0, 200, 400, 600, 660}}, // 60 left: a stub
        {8, 400, {0, 200, 400}},
        {8, 350, {0, 200, 328, 350}}, // 150 left: 10 ft (128) and a stub
        {4, 300, {0, 196, 296, 300}},
        {8, 90, {0, 90}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NaiveCuts(LogLengthSet::FromTrim(c.trim), c.stem), c.cuts) << c.stem;
    }
}

} // namespace
} // namespace varnok
