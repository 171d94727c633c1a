// The command-line tool as a new user meets it: wrong folders, wrong words, help, JSON from
// every command, markets whose computation stopped, and a computation killed part-way.

#include "CliRunner.h"
#include "TestSupport.h"
#include "market/OptimalCuts.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace varnok {
namespace {

namespace fs = std::filesystem;
using test::RunCli;

// Trees 1 to 150 of a copy of the golden data: golden trees 1, 4 and 6 in turn.
void Make150Trees(const fs::path& root) {
    test::CopyGoldenData(root);
    const int golden[] = {1, 4, 6};
    for (int k = 1; k <= 150; ++k) {
        const std::string g = std::to_string(golden[(k - 1) % 3]);
        for (const auto& [folder, extension] :
             {std::pair{"Shapes", ".SHP"}, std::pair{"Defects", ".DEF"}}) {
            fs::copy_file(test::GoldenData() / folder / ("Tree" + g + extension),
                          root / folder / ("Tree" + std::to_string(k) + extension),
                          fs::copy_options::overwrite_existing);
        }
    }
}

std::vector<std::string> Compute(const std::string& data, const std::string& name,
                                 std::vector<std::string> extra = {"--jobs", "2"}) {
    return test::GoldenComputeArgs(data, name, extra);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1) {
        lines.push_back(text.substr(from, end - from));
    }
    return lines;
}

// One data folder of 150 trees with market "Fresh" computed, shared by the tests that only
// read it.
class CliUser : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<test::TempFolder>();
        Make150Trees(Root());
        made_ = RunCli(Compute(Root().string(), "Fresh"));
    }
    static void TearDownTestSuite() { folder_.reset(); }
    void SetUp() override { ASSERT_EQ(made_.ExitCode, 0) << made_.Err; }

    static fs::path Root() { return folder_->Path() / "data"; }
    static std::string Data() { return Root().string(); }

    static std::unique_ptr<test::TempFolder> folder_;
    static test::CliResult made_;
};

std::unique_ptr<test::TempFolder> CliUser::folder_;
test::CliResult CliUser::made_;

TEST_F(CliUser, AFolderThatIsNoDataFolderIsRefused) {
    test::TempFolder scratch;
    const fs::path noMarkets = scratch.Path() / "no-markets";
    fs::create_directories(noMarkets / "Shapes");
    const fs::path noShapes = scratch.Path() / "no-shapes";
    fs::create_directories(noShapes / "Markets");
    const fs::path file = scratch.Path() / "a-file";
    test::WriteText(file, "x");
    struct Case {
        fs::path folder;
        const char* message;
    };
    const std::vector<Case> cases = {
        {scratch.Path() / "missing", "Path not found: there is no data folder here"},
        {file, "Path not found: there is no data folder here"},
        {noMarkets, "not a data folder: it has no \"Markets\" folder"},
        {noShapes, "not a data folder: it has no \"Shapes\" folder"},
    };
    for (const Case& c : cases) {
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"markets"},
              {"stats", "--market", "Fresh"},
              {"tree", "--market", "Fresh", "--tree", "1"},
              {"print-market", "Fresh"}}) {
            std::vector<std::string> args = {"--data", c.folder.string()};
            args.insert(args.end(), command.begin(), command.end());
            const auto result = RunCli(args);
            EXPECT_EQ(result.ExitCode, 1) << c.folder << " " << command[0];
            EXPECT_EQ(result.Err, "varnok-cli: " + c.folder.string() + ": " + c.message + "\n");
            EXPECT_EQ(result.Out, "");
        }
    }
    // A folder fresh from the generator has trees but no markets yet: its first market is
    // computed, which makes the Markets folder.
    test::TempFolder fresh;
    Make150Trees(fresh.Path() / "data");
    fs::remove_all(fresh.Path() / "data" / "Markets");
    const auto first = RunCli(Compute((fresh.Path() / "data").string(), "First"));
    EXPECT_EQ(first.ExitCode, 0) << first.Err;
    EXPECT_TRUE(fs::is_regular_file(fresh.Path() / "data" / "Markets" / "First" / "Optmcuts"));
    const auto noTrees = RunCli(Compute(noShapes.string(), "First"));
    EXPECT_EQ(noTrees.ExitCode, 1);
    EXPECT_NE(noTrees.Err.find("\"Shapes\""), std::string::npos) << noTrees.Err;
}

TEST_F(CliUser, HelpVersionAndUnknownCommands) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* outHolds;
        std::string err; // exact
    };
    const std::vector<Case> cases = {
        {{"--help"}, 0, "compute-market", ""},
        {{"help"}, 0, "print-market", ""},
        {{"help", "evaluate"}, 0, "--cuts", ""},
        {{"evaluate", "--help"}, 0, "--optimal", ""},
        {{"--version"}, 0, "varnok-cli ", ""},
        {{"frobnicate"},
         2,
         "",
         "varnok-cli: unknown command \"frobnicate\"; \"varnok-cli help\" lists the commands\n"},
        {{"--data", "/x", "Markets"},
         2,
         "",
         "varnok-cli: unknown command \"Markets\"; \"varnok-cli help\" lists the commands\n"},
        {{"help", "nope"},
         2,
         "",
         "varnok-cli: unknown command \"nope\"; \"varnok-cli help\" lists the commands\n"},
        {{"--data", "/x"},
         2,
         "",
         "varnok-cli: no command given; \"varnok-cli help\" lists the commands\n"},
        // Numbers in decimal digits only, a range said plainly, no empty data folder.
        {{"--data", Data(), "tree", "--market", "Fresh", "--tree", "0x10"},
         2,
         "",
         "varnok-cli: --tree: \"0x10\" is not a whole number in decimal digits\n"},
        {{"--data", Data(), "optimise", "--market", "Fresh", "--tree", ""},
         2,
         "",
         "varnok-cli: --tree: \"\" is not a whole number in decimal digits\n"},
        {{"--data", Data(), "report", "--market", "Fresh", "--from", "1e2", "--to", "150", "--kind",
          "cuts"},
         2,
         "",
         "varnok-cli: --from: \"1e2\" is not a whole number in decimal digits\n"},
        {{"--data", "", "markets"}, 2, "", "varnok-cli: --data: the name is empty\n"},
        {Compute(Data(), "Never", {"--jobs", "0"}), 2, "",
         "varnok-cli: --jobs: Value 0 not in range 1 to 150\n"},
    };
    for (const Case& c : cases) {
        const auto result = RunCli(c.args);
        EXPECT_EQ(result.ExitCode, c.exitCode) << c.args.back();
        EXPECT_NE(result.Out.find(c.outHolds), std::string::npos) << c.args.back() << result.Out;
        EXPECT_EQ(result.Err, c.err) << c.args.back();
    }
    const auto help = RunCli({"help"});
    for (const char* command :
         {"markets", "tree", "optimise", "evaluate", "grade-tree", "compute-market",
          "export-optimal", "print-market", "report", "stats"}) {
        EXPECT_NE(help.Out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
    }
}

// Output lost to a full disk is a failure of every command that prints, on standard output
// or into --out; a reader that stops reading early (head) is not.
TEST_F(CliUser, OutputThatCannotBeWrittenIsAFailure) {
    const std::vector<std::vector<std::string>> commands = {
        {"help"},
        {"markets"},
        {"markets", "--json"},
        {"tree", "--market", "Fresh", "--tree", "3"},
        {"tree", "--market", "Fresh", "--tree", "3", "--json"}, // more than a pipe holds
        {"optimise", "--market", "Fresh", "--tree", "3", "--json"},
        {"evaluate", "--market", "Fresh", "--tree", "3", "--optimal"},
        {"coach", "--market", "Fresh", "--tree", "3", "--cuts", "0,300,600"},
        {"grade-tree", "--market", "Fresh", "--tree", "3"},
        {"export-optimal", "--market", "Fresh", "--from", "1", "--to", "150"},
        {"export-optimal", "--market", "Fresh", "--from", "1", "--to", "2", "--json"},
        {"print-market", "Fresh"},
        {"report", "--market", "Fresh", "--from", "1", "--to", "9", "--kind", "both"},
        {"stats", "--market", "Fresh", "--json"},
    };
    const auto shell = [](const std::vector<std::string>& args, const std::string& tail) {
        std::string line = "LC_ALL=C " + test::ShellQuote(VARNOK_CLI_PATH);
        for (const std::string& arg : args) {
            line += " " + test::ShellQuote(arg);
        }
        const int status = std::system(
            ("bash -c " + test::ShellQuote("set -o pipefail; " + line + tail + " 2>/dev/null"))
                .c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    for (const auto& command : commands) {
        std::vector<std::string> args = {"--data", Data()};
        args.insert(args.end(), command.begin(), command.end());
        EXPECT_EQ(shell(args, " >/dev/full"), 1) << command[0];
        EXPECT_EQ(shell(args, " | true"), 0) << command[0];
    }
    // The market is computed; the line that says so is lost.
    EXPECT_EQ(shell(Compute(Data(), "Unannounced"), " >/dev/full"), 1);
    EXPECT_TRUE(fs::is_regular_file(Root() / "Markets" / "Unannounced" / "Optmcuts"));
    fs::remove_all(Root() / "Markets" / "Unannounced");
    const auto full = RunCli({"--data", Data(), "export-optimal", "--market", "Fresh", "--from",
                              "1", "--to", "2", "--out", "/dev/full"});
    EXPECT_EQ(full.ExitCode, 1);
    EXPECT_EQ(full.Err, "varnok-cli: /dev/full: I/O error 28: no space left on the device\n");
    const auto toStdout = RunCli({"--data", Data(), "export-optimal", "--market", "Fresh", "--from",
                                  "1", "--to", "1", "--out", "/dev/stdout"});
    EXPECT_EQ(toStdout.ExitCode, 0) << toStdout.Err;
    EXPECT_NE(toStdout.Out.find("tree,segment,length,product"), std::string::npos);
    const auto folder = RunCli({"--data", Data(), "export-optimal", "--market", "Fresh", "--from",
                                "1", "--to", "1", "--out", Data()});
    EXPECT_EQ(folder.Err,
              "varnok-cli: " + Data() + ": File access denied: it is a folder, not a file\n");
}

TEST_F(CliUser, AMissingMarketIsReportedAlikeByEveryCommand) {
    const std::string expected =
        "varnok-cli: There is no market \"Nope\" in " + (Root() / "Markets").string() + ".\n";
    const std::vector<std::vector<std::string>> commands = {
        {"tree", "--market", "Nope", "--tree", "1"},
        {"optimise", "--market", "Nope", "--tree", "1"},
        {"evaluate", "--market", "Nope", "--tree", "1", "--optimal"},
        {"evaluate", "--market", "Nope", "--tree", "1", "--cuts", "0,528"},
        {"grade-tree", "--market", "Nope", "--tree", "1", "--trim", "4"},
        {"export-optimal", "--market", "Nope", "--from", "1", "--to", "2"},
        {"print-market", "Nope"},
        {"print-market", "Nope", "--json"},
        {"report", "--market", "Nope", "--from", "1", "--to", "2", "--kind", "cuts"},
        {"stats", "--market", "Nope"},
    };
    for (const auto& command : commands) {
        std::vector<std::string> args = {"--data", Data()};
        args.insert(args.end(), command.begin(), command.end());
        const auto result = RunCli(args);
        EXPECT_EQ(result.ExitCode, 1) << command[0];
        EXPECT_EQ(result.Err, expected) << command[0];
    }
}

TEST_F(CliUser, JsonFromEveryCommand) {
    const fs::path csv = folder_->Path() / "fresh.csv";
    struct Case {
        std::vector<std::string> args;
        const char* key; // a field the document must have
    };
    const std::vector<Case> cases = {
        {{"markets", "--json"}, ""},
        {{"tree", "--market", "Fresh", "--tree", "3", "--json"}, "stem_length"},
        {{"optimise", "--market", "Fresh", "--tree", "3", "--json"}, "usable_length"},
        {{"evaluate", "--market", "Fresh", "--tree", "3", "--optimal", "--json"}, "returns"},
        {{"export-optimal", "--market", "Fresh", "--from", "3", "--to", "4", "--json"}, "trees"},
        {{"export-optimal", "--market", "Fresh", "--from", "3", "--to", "4", "--out", csv.string(),
          "--json"},
         "out"},
        {{"print-market", "Fresh", "--json"}, "sawlog_rule"},
        {{"report", "--market", "Fresh", "--from", "3", "--to", "4", "--kind", "both", "--json"},
         "products"},
        {{"stats", "--market", "Fresh", "--json"}, "trees_stored"},
        {{"grade-tree", "--market", "Fresh", "--tree", "3", "--json"}, "trials"},
    };
    std::vector<nlohmann::json> documents;
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--data", Data()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto result = RunCli(args);
        ASSERT_EQ(result.ExitCode, 0) << c.args[0] << ": " << result.Err;
        ASSERT_EQ(std::count(result.Out.begin(), result.Out.end(), '\n'), 1) << c.args[0];
        documents.push_back(nlohmann::json::parse(result.Out));
        if (*c.key != '\0') {
            EXPECT_TRUE(documents.back().contains(c.key)) << c.args[0] << ": " << result.Out;
        }
    }
    EXPECT_EQ(documents[0],
              nlohmann::json::parse(R"([{"name": "Fresh", "complete": true, "trees_stored": 150,
                                         "missing": [], "problem": null},
                                        {"name": "Hardwood8", "complete": false,
                                         "trees_stored": 0, "missing": [], "problem": ")" +
                                    (Root() / "Markets" / "Hardwood8" / "Optmcuts").string() +
                                    R"(: File not found"}])"));
    // Tree 3 is golden tree 6, whose optimum is 0, 4, 132, 236, 364, 392, 544, 600.
    const nlohmann::json& report = documents[7];
    EXPECT_EQ(report["cut_locations"][0]["cuts"],
              nlohmann::json::parse("[0, 4, 132, 236, 364, 392, 544, 600]"));
    const nlohmann::json& firstLog = report["products"][0]["logs"][0];
    EXPECT_EQ(firstLog["product"], "#1 Sawlog");
    EXPECT_EQ(firstLog["length"], 128);
    EXPECT_EQ(firstLog["volume"], 255);
    EXPECT_NEAR(firstLog["value"].get<double>(), 112.20, 0.005);
    EXPECT_EQ(documents[4]["trees"], report["products"]);
    EXPECT_EQ(documents[5]["out"], csv.string());
    const auto bytes = test::ReadBytes(csv);
    EXPECT_NE(std::string(bytes.begin(), bytes.end())
                  .find("3,1,128,#1 Sawlog,25,0.00,0.07,255,112.20\r\n"),
              std::string::npos);
    EXPECT_EQ(documents[6]["trim_allowance"], 8);
    EXPECT_EQ(documents[6]["lines"][2], "Fresh Market Definition");
    EXPECT_EQ(documents[8]["complete"], true);

    const auto computed = RunCli(Compute(Data(), "Fresh", {"--replace", "--json"}));
    ASSERT_EQ(computed.ExitCode, 0) << computed.Err;
    EXPECT_EQ(nlohmann::json::parse(computed.Out)["market"], "Fresh");
}

// Bytes that are not UTF-8 in a folder name are shown as U+FFFD; before, the JSON library's
// exception ended the program in an abort.
TEST(CliUserNames, JsonSurvivesAMarketNameThatIsNotUtf8) {
    test::TempFolder folder;
    test::CopyGoldenData(folder.Path() / "data");
    fs::create_directories(folder.Path() / "data" / "Markets" / "Bad\xff");
    const auto result = RunCli({"--data", (folder.Path() / "data").string(), "markets", "--json"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(nlohmann::json::parse(result.Out)[0]["name"], "Bad\xef\xbf\xbd");
}

// On the bundled data: tree 1's stem is 1026 inches, so the optimal patterns end at 1024.
TEST(CliUserPatterns, APatternMustCoverTheWholeStem) {
    const std::string data = VARNOK_BUNDLED_DATA_DIR;
    const std::string whole =
        "varnok-cli: --cuts must start at the butt (0) and end at the top (1026 inches for tree 1)";
    struct Case {
        const char* cuts;
        int exitCode;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"0,200,400,596", 1,
         whole + "; this pattern ends at 596, leaving 430 inches of the stem out.\n"},
        {"0,200,400,600,800,1020", 1,
         whole + "; this pattern ends at 1020, leaving 6 inches of the stem out.\n"},
        {"96,200,400,600,800,1026", 1, whole + "; this pattern starts at 96.\n"},
        {"0,200,400,600,800,1026", 0, ""},
        {"0,128,280,292,468,572,724,876,1024", 0, ""}, // as `optimise` gives it
        {"0,1026", 0, ""},
    };
    for (const Case& c : cases) {
        const auto result = RunCli({"--data", data, "evaluate", "--market", "Appalachian Doyle",
                                    "--tree", "1", "--cuts", c.cuts});
        EXPECT_EQ(result.ExitCode, c.exitCode) << c.cuts;
        EXPECT_EQ(result.Err, c.err) << c.cuts;
    }
}

TEST(CliUserMarkets, AStoppedComputationIsIncompleteUntilReplaced) {
    test::TempFolder folder;
    const fs::path root = folder.Path() / "data";
    Make150Trees(root);
    const std::string data = root.string();
    const fs::path tree5 = root / "Defects" / "Tree5.DEF";
    const auto saved = test::ReadBytes(tree5);
    fs::remove(tree5);

    const auto stopped = RunCli(Compute(data, "Partial"));
    EXPECT_EQ(stopped.ExitCode, 1);
    const std::vector<std::string> err = Lines(stopped.Err);
    ASSERT_EQ(err.size(), 6U) << stopped.Err; // five progress lines, then one error line
    EXPECT_EQ(err[4], "Working on Tree Number 5 of 150");
    EXPECT_EQ(err[5], "varnok-cli: " + tree5.string() + ": File not found");

    const auto markets = RunCli({"--data", data, "markets"});
    EXPECT_NE(markets.Out.find("Partial\t(incomplete: trees 1 to 4 of 150 stored)\n"),
              std::string::npos)
        << markets.Out;
    const auto json = nlohmann::json::parse(RunCli({"--data", data, "markets", "--json"}).Out);
    nlohmann::json afterTree4 = nlohmann::json::array();
    for (int tree = 5; tree <= 150; ++tree) {
        afterTree4.push_back(tree);
    }
    EXPECT_EQ(json[1], (nlohmann::json{{"name", "Partial"},
                                       {"complete", false},
                                       {"trees_stored", 4},
                                       {"missing", afterTree4},
                                       {"problem", nullptr}}));
    const auto stats = RunCli({"--data", data, "stats", "--market", "Partial"});
    EXPECT_EQ(stats.ExitCode, 0) << stats.Err;
    EXPECT_NE(stats.Out.find("Market Partial: 4 trees, "), std::string::npos) << stats.Out;
    EXPECT_NE(stats.Out.find("\nIncomplete: no optimal pattern is stored for trees 5 to 150 (4 of "
                             "150 trees stored); the figures below are of the trees stored.\n"),
              std::string::npos)
        << stats.Out;
    const auto statsJson = nlohmann::json::parse(
        RunCli({"--data", data, "stats", "--market", "Partial", "--json"}).Out);
    EXPECT_EQ(statsJson["trees_stored"], 4);
    EXPECT_EQ(statsJson["missing"], afterTree4);
    EXPECT_EQ(statsJson["complete"], false);
    const auto none =
        RunCli({"--data", data, "evaluate", "--market", "Partial", "--tree", "6", "--optimal"});
    EXPECT_EQ(none.Err, "varnok-cli: Market \"Partial\" stores no optimal pattern for tree 6 "
                        "(trees 1 to 4 of 150 stored).\n");

    test::WriteBytes(tree5, saved);
    const auto refused = RunCli(Compute(data, "Partial"));
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_EQ(Lines(refused.Err).back(),
              "varnok-cli: " + (root / "Markets" / "Partial").string() +
                  ": I/O error 183: a market named \"Partial\" exists already; give --replace to "
                  "compute it again");
    const auto replaced = RunCli(Compute(data, "Partial", {"--replace"}));
    ASSERT_EQ(replaced.ExitCode, 0) << replaced.Err;
    ASSERT_EQ(RunCli(Compute(data, "Whole")).ExitCode, 0);
    EXPECT_EQ(test::ReadBytes(root / "Markets" / "Partial" / "Optmcuts"),
              test::ReadBytes(root / "Markets" / "Whole" / "Optmcuts"));
    EXPECT_TRUE(RunCli({"--data", data, "markets"}).Out.starts_with("Hardwood8\t"));
    EXPECT_NE(RunCli({"--data", data, "markets"}).Out.find("\nPartial\nWhole\n"),
              std::string::npos);

    // A hole in the middle, as damage leaves it, is named by every listing.
    const fs::path whole = root / "Markets" / "Whole" / "Optmcuts";
    std::vector<std::uint8_t> holed = test::ReadBytes(whole);
    std::fill_n(holed.begin() + 36 * 108, 108, 0);
    test::WriteBytes(whole, holed);
    EXPECT_NE(RunCli({"--data", data, "markets"})
                  .Out.find("\nWhole\t(incomplete: trees 1 to 36, 38 to 150 of 150 stored; none "
                            "for tree 37)\n"),
              std::string::npos);
    const auto holedJson = nlohmann::json::parse(RunCli({"--data", data, "markets", "--json"}).Out);
    EXPECT_EQ(holedJson[2]["missing"], nlohmann::json::parse("[37]"));
    EXPECT_EQ(holedJson[2]["trees_stored"], 149);
    const auto holedStats = RunCli({"--data", data, "stats", "--market", "Whole"});
    EXPECT_NE(holedStats.Out.find("Market Whole: 149 trees, "), std::string::npos);
    EXPECT_NE(
        holedStats.Out.find("Incomplete: no optimal pattern is stored for tree 37 (149 of 150 "
                            "trees stored)"),
        std::string::npos)
        << holedStats.Out;
    for (const char* command : {"export-optimal", "report"}) {
        std::vector<std::string> args = {"--data", data, command, "--market", "Whole",
                                         "--from", "36", "--to",  "38"};
        if (std::string(command) == "report") {
            args.insert(args.end(), {"--kind", "both"});
        }
        const auto run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 0) << command;
        EXPECT_EQ(run.Err, "varnok-cli: market \"Whole\" stores no optimal pattern for tree 37, "
                           "which the output leaves out.\n")
            << command;
        args.push_back("--json");
        EXPECT_EQ(nlohmann::json::parse(RunCli(args).Out)["missing"], nlohmann::json::parse("[37]"))
            << command;
    }
}

// A computation running in the background, started and waited for until it announces tree
// `tree` on its stderr.
struct RunningComputation {
    pid_t Pid = -1;
    int Stderr = -1; // the read end of its stderr

    // Reads its stderr to the end and waits for it; its exit status, or -1 when it did not
    // exit.
    int Wait() {
        char buffer[4096];
        while (read(Stderr, buffer, sizeof buffer) > 0) {
        }
        close(Stderr);
        int status = 0;
        waitpid(Pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

RunningComputation StartUntilTree(const std::vector<std::string>& args, int tree) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDERR_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        std::vector<char*> argv = {const_cast<char*>(VARNOK_CLI_PATH)};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(VARNOK_CLI_PATH, argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    const std::string trigger = "Working on Tree Number " + std::to_string(tree) + " of";
    std::string seen;
    char buffer[4096];
    for (ssize_t got; (got = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        seen.append(buffer, static_cast<std::size_t>(got));
        if (seen.find(trigger) != std::string::npos) {
            break;
        }
    }
    return RunningComputation{pid, pipeFds[0]};
}

// Runs a computation and kills it with SIGKILL once it announces tree `killAt`.
void ComputeAndKill(const std::vector<std::string>& args, int killAt) {
    RunningComputation run = StartUntilTree(args, killAt);
    kill(run.Pid, SIGKILL);
    run.Wait();
}

// Two programs computing one market at once: the second is refused at once and names the
// first, which goes on to the files of a computation alone.
TEST(CliUserMarkets, ASecondComputationOfAMarketIsRefused) {
    test::TempFolder folder;
    const fs::path root = folder.Path() / "data";
    Make150Trees(root);
    const std::string data = root.string();
    ASSERT_EQ(RunCli(Compute(data, "Reference")).ExitCode, 0);
    RunningComputation first = StartUntilTree(Compute(data, "Shared", {"--jobs", "1"}), 3);
    // Held still, the first cannot finish (and let go of the market) before the second asks.
    kill(first.Pid, SIGSTOP);
    const auto second = RunCli(Compute(data, "Shared", {"--replace"}));
    kill(first.Pid, SIGCONT);
    EXPECT_EQ(second.ExitCode, 1);
    EXPECT_EQ(second.Err, "varnok-cli: The market \"Shared\" is being computed already (by "
                          "process " +
                              std::to_string(first.Pid) +
                              "); try again when that computation is done.\n");
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_EQ(test::ReadBytes(root / "Markets" / "Shared" / "Optmcuts"),
              test::ReadBytes(root / "Markets" / "Reference" / "Optmcuts"));
    EXPECT_EQ(test::ReadBytes(root / "Markets" / "Shared" / "Specs"),
              test::ReadBytes(root / "Markets" / "Reference" / "Specs"));
    EXPECT_EQ(RunCli(Compute(data, "Shared", {"--replace"})).ExitCode, 0);
}

// Killed at any point, a computation leaves every entry either as the finished computation
// has it or all zero, and the trees stored are 1 to k (k may lag the trees computed: the file
// is stored in batches).
TEST(CliUserMarkets, AKilledComputationLeavesWholeEntries) {
    test::TempFolder folder;
    const fs::path root = folder.Path() / "data";
    Make150Trees(root);
    const std::string data = root.string();
    ASSERT_EQ(RunCli(Compute(data, "Reference")).ExitCode, 0);
    const OptimalCutsTable reference = ReadOptimalCuts(root / "Markets" / "Reference" / "Optmcuts");
    for (const int killAt : {1, 2, 40, 41, 99, 149, 150}) {
        ComputeAndKill(Compute(data, "Killed", {"--replace", "--jobs", "1"}), killAt);
        const fs::path path = root / "Markets" / "Killed" / "Optmcuts";
        ASSERT_EQ(test::ReadBytes(path).size(), OptimalCutsTable::kSize) << killAt;
        const OptimalCutsTable table = ReadOptimalCuts(path);
        int stored = 0;
        while (stored < kTreeCount && table.Entry(stored + 1) != OptimalCutEntry{}) {
            ++stored;
        }
        for (int t = 1; t <= kTreeCount; ++t) {
            ASSERT_EQ(table.Entry(t), t <= stored ? reference.Entry(t) : OptimalCutEntry{})
                << "killed at " << killAt << ", tree " << t;
        }
    }
}

} // namespace
} // namespace varnok
