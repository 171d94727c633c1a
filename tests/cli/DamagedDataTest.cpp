// A copy of the bundled data with one file at a time damaged, run through the command that reads
// it. A damaged file must either be refused (exit 1, one line on stderr naming the file) or make
// no difference at all (damage the format ignores); a listing may instead flag the one entry
// whose file is damaged, naming the file. Nothing else in the folder may change.

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace varnok {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// ----- running the program ------------------------------------------------------------------

struct ProgramRun {
    bool TimedOut = false;
    int Signal = 0;    // the signal that ended the program, 0 if it exited
    int ExitCode = -1; // when it exited
    std::string Out;
    std::string Err;
};

std::string ReadText(const fs::path& path) {
    const Bytes bytes = test::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Runs varnok-cli directly (no shell between), so a signal that ends it is seen as a signal.
ProgramRun RunCli(const std::vector<std::string>& args, const fs::path& scratch) {
    const fs::path outPath = scratch / "stdout";
    const fs::path errPath = scratch / "stderr";
    std::vector<std::string> argv = {VARNOK_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (std::string& arg : argv) {
        raw.push_back(arg.data());
    }
    raw.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) {
            ::_exit(127);
        }
        ::close(out);
        ::close(err);
        ::setenv("LC_ALL", "C", 1);
        ::execv(raw[0], raw.data());
        ::_exit(127);
    }
    ProgramRun run;
    if (pid < 0) {
        run.Err = "fork failed";
        return run;
    }
    // A hang is a fault of its own; the limit is far above any clean run on the bundled data.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            run.TimedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!run.TimedOut && WIFSIGNALED(status)) {
        run.Signal = WTERMSIG(status);
    } else if (!run.TimedOut && WIFEXITED(status)) {
        run.ExitCode = WEXITSTATUS(status);
    }
    run.Out = ReadText(outPath);
    run.Err = ReadText(errPath);
    return run;
}

// ----- the cases ----------------------------------------------------------------------------

enum class Damage {
    TruncateHalf,  // the first half of the bytes
    TruncateShort, // one byte short of a record (binary) or of the file (text: the last line end)
    Empty,         // 0 bytes: a truncation to nothing and an emptied file look the same on disk
    AppendBytes,   // 7 random bytes after the end
    AppendRecord,  // one record of random bytes (binary), or 100 more copies of the last line
    RandomBytes,   // the same size, every byte random
    Remove,
    CutInsideLine, // text: the file ends two characters before the end of its middle line
    GarbleDigit,   // text: the first digit of a field of the middle line becomes the byte 0xFB
};

enum class Command {
    Markets,
    Tree,
    Optimise,
    EvaluateCuts,
    EvaluateOptimal,
    ComputeMarket,
    ExportOptimal,
    PrintMarket,
    Report,
    Stats,
};

struct Case {
    const char* File; // relative to the data folder
    Damage Kind;
    Command Cmd;
    const char* Market; // the market the command uses; compute-market takes its rule files
    int Tree;           // the tree of tree, optimise, evaluate; the first of a range
};

constexpr const char* kAppalachian = "Appalachian Doyle";
constexpr const char* kLakeStates = "Lake States Scribner";
constexpr const char* kNorthern = "Northern International";

// Record sizes of the binary files, by folder; a file of a folder not listed is a text file.
std::size_t RecordSize(const fs::path& file) {
    static const std::map<std::string, std::size_t> kSizes = {
        {"Log Rules", 2200}, {"Prices", 1040}, {"Roundwood", 200}, {"Filters", 9086},
        {"SawGrades", 756},  {"Veneer", 3216}, {"Specs", 4756},    {"Optmcuts", 16200},
    };
    const auto byName = kSizes.find(file.filename().string());
    if (byName != kSizes.end()) {
        return byName->second;
    }
    const auto byFolder = kSizes.find(file.parent_path().filename().string());
    return byFolder != kSizes.end() ? byFolder->second : 0;
}

const char* DamageName(Damage kind) {
    switch (kind) {
    case Damage::TruncateHalf:
        return "truncate to half";
    case Damage::TruncateShort:
        return "truncate one byte short";
    case Damage::Empty:
        return "empty";
    case Damage::AppendBytes:
        return "append bytes";
    case Damage::AppendRecord:
        return "append record/lines";
    case Damage::RandomBytes:
        return "random bytes";
    case Damage::Remove:
        return "remove";
    case Damage::CutInsideLine:
        return "cut inside a line";
    case Damage::GarbleDigit:
        return "garble a digit";
    }
    return "?";
}

struct MarketRules {
    const char* Market;
    const char* LogRule;
    const char* Sawlog;
    const char* Prices;
    const char* Filter;
    const char* Roundwood;
    const char* Trim;
};

constexpr std::array<MarketRules, 3> kMarketRules = {{
    {kAppalachian, "Doyle", "Factory Grades", kAppalachian, "Default Filter",
     "Appalachian Roundwood", "8"},
    {kLakeStates, "Scribner", "Clear Faces", kLakeStates, "Strict Filter", "Northern Roundwood",
     "8"},
    {kNorthern, "International Quarter Inch", "Factory Grades", kNorthern, "Default Filter",
     "Northern Roundwood", "4"},
}};

// The market that compute-market writes; the only place a damaged run may write to.
constexpr const char* kNewMarket = "Damaged Run";

std::vector<std::string> CommandLine(const Case& c, const fs::path& data) {
    const std::string tree = std::to_string(c.Tree);
    const std::string last = std::to_string(std::min(c.Tree + 4, 150));
    std::vector<std::string> args = {"--data", data.string()};
    const auto add = [&args](std::initializer_list<std::string> more) {
        args.insert(args.end(), more);
    };
    switch (c.Cmd) {
    case Command::Markets:
        add({"markets"});
        break;
    case Command::Tree:
        add({"tree", "--market", c.Market, "--tree", tree, "--json"});
        break;
    case Command::Optimise:
        add({"optimise", "--market", c.Market, "--tree", tree, "--json"});
        break;
    case Command::EvaluateCuts:
        // Tree 7's stored optimum, butt (0) to top (932): a whole pattern a bucker could cut.
        add({"evaluate", "--market", c.Market, "--tree", "7", "--cuts",
             "0,104,208,312,464,592,744,932"});
        break;
    case Command::EvaluateOptimal:
        add({"evaluate", "--market", c.Market, "--tree", tree, "--optimal", "--json"});
        break;
    case Command::ComputeMarket:
        for (const MarketRules& rules : kMarketRules) {
            if (std::string(rules.Market) == c.Market) {
                add({"compute-market", "--name", kNewMarket, "--log-rule", rules.LogRule,
                     "--veneer", "Hardwood Veneer", "--sawlog", rules.Sawlog, "--prices",
                     rules.Prices, "--filter", rules.Filter, "--roundwood", rules.Roundwood,
                     "--trim", rules.Trim, "--jobs", "2"});
            }
        }
        break;
    case Command::ExportOptimal:
        add({"export-optimal", "--market", c.Market, "--from", tree, "--to", last});
        break;
    case Command::PrintMarket:
        add({"print-market", c.Market});
        break;
    case Command::Report:
        add({"report", "--market", c.Market, "--from", tree, "--to", last, "--kind", "both"});
        break;
    case Command::Stats:
        add({"stats", "--market", c.Market, "--json"});
        break;
    }
    return args;
}

std::string Describe(const Case& c, const fs::path& data) {
    std::string text = std::string(c.File) + " / " + DamageName(c.Kind) + " / varnok-cli";
    const std::vector<std::string> args = CommandLine(c, data);
    for (std::size_t i = 2; i < args.size(); ++i) {
        text += " " + (args[i].find(' ') == std::string::npos ? args[i] : "\"" + args[i] + "\"");
    }
    return text;
}

// The random bytes of a case follow from the case alone, so a case moved within or between the
// tables damages its file the same way.
std::uint32_t Seed(const Case& c) {
    std::uint32_t hash = 2166136261U; // 32-bit FNV-1a
    for (const char ch : Describe(c, "DATA")) {
        hash = (hash ^ static_cast<unsigned char>(ch)) * 16777619U;
    }
    return hash;
}

// ----- the data folder ----------------------------------------------------------------------

// Every file (with its bytes) and every folder (as "name/", no bytes) under the data folder.
using Snapshot = std::map<std::string, Bytes>;

Snapshot TakeSnapshot(const fs::path& root) {
    Snapshot snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).generic_string();
        if (entry.is_directory()) {
            snapshot[name + "/"] = {};
        } else {
            snapshot[name] = test::ReadBytes(entry.path());
        }
    }
    return snapshot;
}

bool InNewMarket(const std::string& name) {
    const std::string folder = std::string("Markets/") + kNewMarket + "/";
    return name.rfind(folder, 0) == 0;
}

// What a damaged run must leave as it was: everything but the damaged file and the new market.
std::vector<std::string> ChangedEntries(const Snapshot& before, const Snapshot& after,
                                        const std::string& damaged) {
    std::vector<std::string> changed;
    const auto ignored = [&damaged](const std::string& name) {
        return name == damaged || InNewMarket(name);
    };
    for (const auto& [name, bytes] : before) {
        const auto found = after.find(name);
        if (!ignored(name) && (found == after.end() || found->second != bytes)) {
            changed.push_back(name);
        }
    }
    for (const auto& [name, bytes] : after) {
        if (!ignored(name) && !before.contains(name)) {
            changed.push_back(name + " (new)");
        }
    }
    return changed;
}

Snapshot NewMarketFiles(const Snapshot& snapshot) {
    Snapshot files;
    for (const auto& [name, bytes] : snapshot) {
        if (InNewMarket(name)) {
            files[name] = bytes;
        }
    }
    return files;
}

Bytes RandomBlock(std::size_t count, std::mt19937& random) {
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes bytes(count);
    for (std::uint8_t& b : bytes) {
        b = static_cast<std::uint8_t>(byte(random));
    }
    return bytes;
}

// The last line of a text file that holds more than blanks, with its line end.
Bytes LastLine(const Bytes& text) {
    std::string all(text.begin(), text.end());
    while (!all.empty() && (all.back() == '\n' || all.back() == '\r' || all.back() == ' ')) {
        all.pop_back();
    }
    const std::size_t start = all.rfind('\n');
    const std::string line = all.substr(start == std::string::npos ? 0 : start + 1) + "\r\n";
    return Bytes(line.begin(), line.end());
}

// Where the middle line of a text file starts, and its length without the line end.
std::pair<std::size_t, std::size_t> MiddleLine(const Bytes& text) {
    std::vector<std::size_t> starts = {0};
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\n') {
            starts.push_back(i + 1);
        }
    }
    const std::size_t start = starts[starts.size() / 2];
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
        ++end;
    }
    return {start, end - start};
}

// Writes the damaged form of `original` to `path`.
void ApplyDamage(const fs::path& path, const Bytes& original, Damage kind, std::uint32_t seed) {
    std::mt19937 random(seed);
    const std::size_t record = RecordSize(path);
    Bytes damaged = original;
    switch (kind) {
    case Damage::TruncateHalf:
        damaged.resize(original.size() / 2);
        break;
    case Damage::TruncateShort:
        damaged.resize(record > 0 ? record - 1 : original.size() - 1);
        break;
    case Damage::Empty:
        damaged.clear();
        break;
    case Damage::AppendBytes: {
        const Bytes extra = RandomBlock(7, random);
        damaged.insert(damaged.end(), extra.begin(), extra.end());
        break;
    }
    case Damage::AppendRecord:
        if (record > 0) {
            const Bytes extra = RandomBlock(record, random);
            damaged.insert(damaged.end(), extra.begin(), extra.end());
        } else {
            const Bytes line = LastLine(original);
            for (int copy = 0; copy < 100; ++copy) {
                damaged.insert(damaged.end(), line.begin(), line.end());
            }
        }
        break;
    case Damage::RandomBytes:
        damaged = RandomBlock(original.size(), random);
        break;
    case Damage::Remove:
        fs::remove(path);
        return;
    case Damage::CutInsideLine: {
        const auto [start, length] = MiddleLine(original);
        // Inside the last field, so that the line still holds a code and two fields.
        damaged.resize(start + length - 2);
        break;
    }
    case Damage::GarbleDigit: {
        const auto [start, length] = MiddleLine(original);
        // Past a defect line's code; a shape line has none, and its first field is a number.
        const std::size_t from = path.extension() == ".DEF" ? 3 : 0;
        for (std::size_t i = start + from; i < start + length; ++i) {
            if (damaged[i] >= '0' && damaged[i] <= '9') {
                damaged[i] = 0xFB;
                break;
            }
        }
        break;
    }
    }
    test::WriteBytes(path, damaged);
}

// ----- judging a run ------------------------------------------------------------------------

enum class Outcome {
    Refused,
    Unchanged,
    Flagged,
    Valid,
    Changed,
    Crash,
    BadRefusal,
    TouchedOthers
};

// Damage that leaves data the format defines as valid: a defect file without a defect line is
// a stem without defects. Such a run must succeed; its result may differ.
bool FormatAllows(const Case& c) {
    return c.Kind == Damage::Empty && std::string_view(c.File).starts_with("Defects/");
}

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::Refused:
        return "refused";
    case Outcome::Unchanged:
        return "unchanged result";
    case Outcome::Flagged:
        return "flagged in a listing";
    case Outcome::Valid:
        return "valid data, read as such";
    case Outcome::Changed:
        return "changed result";
    case Outcome::Crash:
        return "crash or hang";
    case Outcome::BadRefusal:
        return "refusal without a one-line message naming the file";
    case Outcome::TouchedOthers:
        return "changed another file";
    }
    return "?";
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// stderr without compute-market's progress lines, which belong to a run that fails at a tree.
std::vector<std::string> MessageLines(const std::string& err) {
    std::vector<std::string> lines;
    for (const std::string& line : Lines(err)) {
        if (line.rfind("Working on Tree Number ", 0) != 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

struct Clean {
    std::string Out;
    Snapshot NewFiles;
};

struct Verdict {
    Outcome What = Outcome::Changed;
    std::string Detail;
};

// Where a changed output first departs from the clean one, so the log shows what went wrong.
std::string FirstDifference(const std::string& clean, const std::string& damaged) {
    const auto [cleanAt, damagedAt] =
        std::mismatch(clean.begin(), clean.end(), damaged.begin(), damaged.end());
    const std::size_t at = static_cast<std::size_t>(cleanAt - clean.begin());
    const std::size_t from = at < 30 ? 0 : at - 30;
    const auto excerpt = [from](const std::string& text) {
        std::string part = text.substr(std::min(from, text.size()), 80);
        std::replace(part.begin(), part.end(), '\n', ' ');
        return part;
    };
    (void)damagedAt;
    return "stdout differs at byte " + std::to_string(at) + ": clean \"" + excerpt(clean) +
           "\", damaged \"" + excerpt(damaged) + "\"";
}

// A listing (markets) goes on past one damaged entry: it keeps every line of the clean run and
// changes only lines that name the damaged file.
bool FlaggedInListing(const std::string& clean, const std::string& damaged,
                      const std::string& named) {
    const std::vector<std::string> before = Lines(clean);
    const std::vector<std::string> after = Lines(damaged);
    if (before.size() != after.size()) {
        return false;
    }
    bool flagged = false;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] == after[i]) {
            continue;
        }
        if (after[i].rfind(before[i] + "\t", 0) != 0 || after[i].find(named) == std::string::npos) {
            return false;
        }
        flagged = true;
    }
    return flagged;
}

Verdict Judge(const ProgramRun& run, const Clean& clean, const Snapshot& newFiles,
              const std::vector<std::string>& changedOthers, const std::string& damaged,
              bool formatAllows) {
    if (run.TimedOut) {
        return {Outcome::Crash, "no exit within 30 s"};
    }
    if (run.Signal != 0) {
        return {Outcome::Crash, std::string("ended by signal ") + std::to_string(run.Signal) +
                                    " (" + strsignal(run.Signal) + "); stderr: " + run.Err};
    }
    if (!changedOthers.empty()) {
        std::string list;
        for (const std::string& name : changedOthers) {
            list += " " + name;
        }
        return {Outcome::TouchedOthers, "exit " + std::to_string(run.ExitCode) + ";" + list};
    }
    // The name with its folder, so "Specs" of one market is not taken for another's, nor the
    // price set "Appalachian Doyle" for the market of that name.
    const fs::path file(damaged);
    const std::string named =
        file.parent_path().filename().string() + "/" + file.filename().string();
    if (run.ExitCode == 0) {
        if (run.Out == clean.Out && newFiles == clean.NewFiles) {
            return {Outcome::Unchanged, ""};
        }
        if (FlaggedInListing(clean.Out, run.Out, named)) {
            return {Outcome::Flagged, FirstDifference(clean.Out, run.Out)};
        }
        if (formatAllows) {
            return {Outcome::Valid, FirstDifference(clean.Out, run.Out)};
        }
        return {Outcome::Changed,
                "exit 0; " + (run.Out == clean.Out ? "stdout same, written market differs"
                                                   : FirstDifference(clean.Out, run.Out))};
    }
    const std::vector<std::string> message = MessageLines(run.Err);
    if (run.ExitCode == 1 && message.size() == 1 && message[0].find(named) != std::string::npos) {
        return {Outcome::Refused, message[0]};
    }
    return {Outcome::BadRefusal, "exit " + std::to_string(run.ExitCode) + "; stderr: " + run.Err};
}

// ----- the test -----------------------------------------------------------------------------

class DamagedData {
public:
    DamagedData() {
        data_ = folder_.Path() / "data";
        fs::copy(VARNOK_BUNDLED_DATA_DIR, data_, fs::copy_options::recursive);
        for (const auto& entry : fs::recursive_directory_iterator(data_)) {
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
        }
        scratch_ = folder_.Path() / "scratch";
        fs::create_directories(scratch_);
        original_ = TakeSnapshot(data_);
    }

    // Runs every case; returns the failures, one line each, and prints the outcome counts.
    std::vector<std::string> RunAll(std::span<const Case> cases) {
        std::map<Outcome, int> counts;
        std::vector<std::string> failures;
        for (const Case& c : cases) {
            const Verdict verdict = RunOne(c, Seed(c));
            ++counts[verdict.What];
            const std::string line = "[" + std::string(OutcomeName(verdict.What)) + "] " +
                                     Describe(c, "DATA") +
                                     (verdict.Detail.empty() ? "" : ": " + verdict.Detail);
            std::cout << line << "\n";
            if (verdict.What != Outcome::Refused && verdict.What != Outcome::Unchanged &&
                verdict.What != Outcome::Flagged && verdict.What != Outcome::Valid) {
                failures.push_back(line);
            }
        }
        std::cout << "Damaged-data cases: " << cases.size();
        for (const auto& [outcome, count] : counts) {
            std::cout << "; " << OutcomeName(outcome) << " " << count;
        }
        std::cout << "\n";
        return failures;
    }

private:
    const Clean& CleanRun(const Case& c) {
        const std::vector<std::string> args = CommandLine(c, data_);
        std::string key;
        for (const std::string& arg : args) {
            key += arg + '\0';
        }
        const auto found = clean_.find(key);
        if (found != clean_.end()) {
            return found->second;
        }
        const ProgramRun run = RunCli(args, scratch_);
        EXPECT_EQ(run.ExitCode, 0) << "the clean run fails: " << Describe(c, data_) << "\n"
                                   << run.Err;
        Clean clean{run.Out, NewMarketFiles(TakeSnapshot(data_))};
        fs::remove_all(data_ / "Markets" / kNewMarket);
        return clean_.emplace(key, std::move(clean)).first->second;
    }

    Verdict RunOne(const Case& c, std::uint32_t seed) {
        const Clean& clean = CleanRun(c);
        const fs::path path = data_ / c.File;
        const Bytes& original = original_.at(c.File);
        ApplyDamage(path, original, c.Kind, seed);
        const Snapshot damaged = TakeSnapshot(data_);

        const ProgramRun run = RunCli(CommandLine(c, data_), scratch_);
        const Snapshot after = TakeSnapshot(data_);
        const Verdict verdict =
            Judge(run, clean, NewMarketFiles(after), ChangedEntries(damaged, after, c.File), c.File,
                  FormatAllows(c));

        // The damaged file may be read only, never rewritten: that would hide the damage.
        const auto before = damaged.find(c.File);
        const auto now = after.find(c.File);
        const bool same = (before == damaged.end()) == (now == after.end()) &&
                          (before == damaged.end() || before->second == now->second);

        test::WriteBytes(path, original);
        fs::remove_all(data_ / "Markets" / kNewMarket);
        EXPECT_TRUE(TakeSnapshot(data_) == original_)
            << "not restored after " << Describe(c, data_);
        if (!same && verdict.What != Outcome::Crash) {
            return {Outcome::TouchedOthers, "the damaged file itself was rewritten"};
        }
        return verdict;
    }

    test::TempFolder folder_;
    fs::path data_;
    fs::path scratch_;
    Snapshot original_;
    std::map<std::string, Clean> clean_;
};

using enum Damage;
using enum Command;

// The cases let every file kind meet every damage kind, and every
// command that reads a kind meet it at least once. Tree files are read by tree, optimise and
// evaluate for one tree, by export-optimal and report for a range, by compute-market and stats
// for all 150. Veneer rules are read by name only when a market is computed (a market keeps a
// copy in its Specs); the last complete record of sawlog rules, filter sets and Specs counts.
constexpr Case kCases[] = {
    // shape files
    {"Shapes/Tree7.SHP", TruncateShort, Optimise, kAppalachian, 7},
    {"Shapes/Tree7.SHP", Empty, EvaluateCuts, kAppalachian, 7},
    {"Shapes/Tree42.SHP", AppendBytes, EvaluateOptimal, kLakeStates, 42},
    {"Shapes/Tree99.SHP", AppendRecord, ComputeMarket, kNorthern, 1},
    {"Shapes/Tree1.SHP", Remove, Report, kAppalachian, 1},
    // defect files
    {"Defects/Tree7.DEF", TruncateShort, EvaluateCuts, kAppalachian, 7},
    {"Defects/Tree150.DEF", AppendBytes, Optimise, kAppalachian, 150},
    {"Defects/Tree99.DEF", AppendRecord, Stats, kNorthern, 1},
    {"Defects/Tree7.DEF", Remove, ExportOptimal, kLakeStates, 5},
    // log rules
    {"Log Rules/Doyle", TruncateHalf, EvaluateCuts, kAppalachian, 7},
    {"Log Rules/Doyle", TruncateShort, EvaluateOptimal, kAppalachian, 7},
    {"Log Rules/Doyle", Empty, ComputeMarket, kAppalachian, 1},
    {"Log Rules/Scribner", AppendBytes, Stats, kLakeStates, 1},
    {"Log Rules/International Quarter Inch", AppendRecord, Optimise, kNorthern, 12},
    {"Log Rules/Doyle", RandomBytes, Tree, kAppalachian, 7},
    {"Log Rules/Doyle", Remove, Report, kAppalachian, 3},
    // sawlog rules (the last complete record counts)
    {"SawGrades/Factory Grades", TruncateHalf, EvaluateOptimal, kAppalachian, 7},
    {"SawGrades/Factory Grades", TruncateShort, ComputeMarket, kAppalachian, 1},
    {"SawGrades/Clear Faces", Empty, Tree, kLakeStates, 7},
    {"SawGrades/Factory Grades", AppendBytes, Report, kNorthern, 30},
    {"SawGrades/Factory Grades", Remove, Stats, kAppalachian, 1},
    // veneer rules: read by file name only when a market is computed (a market keeps a copy)
    {"Veneer/Hardwood Veneer", TruncateHalf, ComputeMarket, kAppalachian, 1},
    {"Veneer/Hardwood Veneer", TruncateShort, ComputeMarket, kLakeStates, 1},
    {"Veneer/Hardwood Veneer", Empty, ComputeMarket, kNorthern, 1},
    {"Veneer/Hardwood Veneer", AppendBytes, ComputeMarket, kAppalachian, 1},
    {"Veneer/Hardwood Veneer", AppendRecord, ComputeMarket, kAppalachian, 1},
    {"Veneer/Hardwood Veneer", Remove, ComputeMarket, kAppalachian, 1},
    {"Veneer/Hardwood Veneer", Remove, EvaluateOptimal, kAppalachian, 7},
    // price sets
    {"Prices/Appalachian Doyle", TruncateHalf, ComputeMarket, kAppalachian, 1},
    {"Prices/Appalachian Doyle", TruncateShort, Stats, kAppalachian, 1},
    {"Prices/Lake States Scribner", Empty, Report, kLakeStates, 40},
    {"Prices/Appalachian Doyle", AppendBytes, Optimise, kAppalachian, 7},
    {"Prices/Northern International", AppendRecord, ExportOptimal, kNorthern, 80},
    {"Prices/Appalachian Doyle", Remove, Tree, kAppalachian, 7},
    // defect filter sets (the last complete record counts)
    {"Filters/Default Filter", TruncateHalf, Stats, kAppalachian, 1},
    {"Filters/Default Filter", TruncateShort, Report, kAppalachian, 100},
    {"Filters/Strict Filter", Empty, Optimise, kLakeStates, 7},
    {"Filters/Default Filter", AppendBytes, EvaluateOptimal, kAppalachian, 7},
    {"Filters/Default Filter", Remove, EvaluateCuts, kNorthern, 7},
    // roundwood product sets
    {"Roundwood/Appalachian Roundwood", TruncateHalf, Report, kAppalachian, 120},
    {"Roundwood/Northern Roundwood", TruncateShort, Tree, kNorthern, 7},
    {"Roundwood/Appalachian Roundwood", Empty, Stats, kAppalachian, 1},
    {"Roundwood/Appalachian Roundwood", AppendBytes, ComputeMarket, kAppalachian, 1},
    {"Roundwood/Northern Roundwood", AppendRecord, EvaluateOptimal, kLakeStates, 7},
    {"Roundwood/Appalachian Roundwood", Remove, ExportOptimal, kAppalachian, 7},
    // market definitions (the last complete record counts)
    {"Markets/Appalachian Doyle/Specs", TruncateHalf, PrintMarket, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Specs", TruncateShort, Tree, kAppalachian, 7},
    {"Markets/Lake States Scribner/Specs", Empty, Stats, kLakeStates, 1},
    {"Markets/Appalachian Doyle/Specs", AppendBytes, Optimise, kAppalachian, 7},
    {"Markets/Appalachian Doyle/Specs", AppendRecord, EvaluateCuts, kAppalachian, 7},
    {"Markets/Northern International/Specs", RandomBytes, EvaluateOptimal, kNorthern, 7},
    {"Markets/Appalachian Doyle/Specs", Remove, ExportOptimal, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Specs", RandomBytes, Report, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Specs", Remove, Markets, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Specs", RandomBytes, ComputeMarket, kAppalachian, 1},
    // optimal cuts
    {"Markets/Appalachian Doyle/Optmcuts", TruncateHalf, EvaluateOptimal, kAppalachian, 7},
    {"Markets/Appalachian Doyle/Optmcuts", TruncateShort, Stats, kAppalachian, 1},
    {"Markets/Lake States Scribner/Optmcuts", Empty, Report, kLakeStates, 1},
    {"Markets/Appalachian Doyle/Optmcuts", AppendBytes, ExportOptimal, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Optmcuts", AppendRecord, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Optmcuts", Remove, Markets, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Optmcuts", Remove, Optimise, kAppalachian, 7},
    // The broadest reader of each kind: stats values the stored optimum of all 150 trees, so
    // any damage the market load lets through shows in its figures.
    {"Shapes/Tree88.SHP", TruncateShort, Stats, kAppalachian, 1},
    {"Shapes/Tree88.SHP", Empty, Stats, kAppalachian, 1},
    {"Shapes/Tree88.SHP", AppendBytes, Stats, kAppalachian, 1},
    {"Shapes/Tree88.SHP", AppendRecord, Stats, kAppalachian, 1},
    {"Shapes/Tree88.SHP", Remove, Stats, kAppalachian, 1},
    {"Defects/Tree88.DEF", TruncateHalf, Stats, kAppalachian, 1},
    {"Defects/Tree88.DEF", TruncateShort, Stats, kAppalachian, 1},
    {"Defects/Tree88.DEF", AppendBytes, Stats, kAppalachian, 1},
    {"Defects/Tree88.DEF", AppendRecord, Stats, kAppalachian, 1},
    {"Defects/Tree88.DEF", Remove, Stats, kAppalachian, 1},
    {"Log Rules/Doyle", TruncateHalf, Stats, kAppalachian, 1},
    {"Log Rules/Doyle", TruncateShort, Stats, kAppalachian, 1},
    {"Log Rules/Doyle", Empty, Stats, kAppalachian, 1},
    {"Log Rules/Doyle", AppendBytes, Stats, kAppalachian, 1},
    {"Log Rules/Doyle", AppendRecord, Stats, kAppalachian, 1},
    {"Log Rules/Doyle", Remove, Stats, kAppalachian, 1},
    {"SawGrades/Factory Grades", TruncateHalf, Stats, kAppalachian, 1},
    {"SawGrades/Factory Grades", TruncateShort, Stats, kAppalachian, 1},
    {"SawGrades/Factory Grades", Empty, Stats, kAppalachian, 1},
    {"SawGrades/Factory Grades", AppendBytes, Stats, kAppalachian, 1},
    {"Prices/Appalachian Doyle", TruncateHalf, Stats, kAppalachian, 1},
    {"Prices/Appalachian Doyle", Empty, Stats, kAppalachian, 1},
    {"Prices/Appalachian Doyle", AppendBytes, Stats, kAppalachian, 1},
    {"Prices/Appalachian Doyle", AppendRecord, Stats, kAppalachian, 1},
    {"Prices/Appalachian Doyle", Remove, Stats, kAppalachian, 1},
    {"Filters/Default Filter", TruncateShort, Stats, kAppalachian, 1},
    {"Filters/Default Filter", Empty, Stats, kAppalachian, 1},
    {"Filters/Default Filter", AppendBytes, Stats, kAppalachian, 1},
    {"Filters/Default Filter", Remove, Stats, kAppalachian, 1},
    {"Roundwood/Appalachian Roundwood", TruncateHalf, Stats, kAppalachian, 1},
    {"Roundwood/Appalachian Roundwood", TruncateShort, Stats, kAppalachian, 1},
    {"Roundwood/Appalachian Roundwood", AppendBytes, Stats, kAppalachian, 1},
    {"Roundwood/Appalachian Roundwood", AppendRecord, Stats, kAppalachian, 1},
    {"Roundwood/Appalachian Roundwood", Remove, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Specs", TruncateHalf, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Specs", TruncateShort, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Specs", Empty, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Specs", AppendBytes, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Specs", AppendRecord, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Specs", RandomBytes, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Specs", Remove, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Optmcuts", TruncateHalf, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Optmcuts", Empty, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Optmcuts", AppendBytes, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Optmcuts", Remove, Stats, kAppalachian, 1},
    // Damage that once loaded as a plausible tree or market, or was refused without naming
    // the file: shape files whose new top leaves a defect above it, defect files cut short,
    // emptied or randomised, random rule records, random names in Specs, random Optmcuts.
    {"Shapes/Tree7.SHP", TruncateHalf, Tree, kAppalachian, 7},
    {"Shapes/Tree150.SHP", RandomBytes, ExportOptimal, kAppalachian, 146},
    {"Shapes/Tree42.SHP", TruncateHalf, Stats, kLakeStates, 1},
    {"Defects/Tree42.DEF", TruncateHalf, Tree, kAppalachian, 42},
    {"Defects/Tree42.DEF", Empty, EvaluateOptimal, kAppalachian, 42},
    {"Defects/Tree1.DEF", RandomBytes, ComputeMarket, kAppalachian, 1},
    {"Defects/Tree99.DEF", RandomBytes, Report, kAppalachian, 97},
    {"Log Rules/Scribner", RandomBytes, ExportOptimal, kLakeStates, 20},
    {"SawGrades/Clear Faces", AppendRecord, EvaluateCuts, kLakeStates, 7},
    {"SawGrades/Factory Grades", RandomBytes, Optimise, kAppalachian, 7},
    {"SawGrades/Clear Faces", RandomBytes, ExportOptimal, kLakeStates, 60},
    {"Veneer/Hardwood Veneer", RandomBytes, ComputeMarket, kAppalachian, 1},
    {"Prices/Appalachian Doyle", RandomBytes, EvaluateCuts, kAppalachian, 7},
    {"Prices/Northern International", RandomBytes, EvaluateOptimal, kNorthern, 7},
    {"Filters/Default Filter", AppendRecord, Tree, kAppalachian, 7},
    {"Filters/Strict Filter", RandomBytes, ComputeMarket, kLakeStates, 1},
    {"Filters/Default Filter", RandomBytes, ExportOptimal, kAppalachian, 110},
    {"Roundwood/Appalachian Roundwood", RandomBytes, Optimise, kAppalachian, 7},
    {"Roundwood/Northern Roundwood", RandomBytes, EvaluateCuts, kNorthern, 7},
    {"Markets/Appalachian Doyle/Specs", RandomBytes, PrintMarket, kAppalachian, 1},
    {"Markets/Northern International/Optmcuts", RandomBytes, EvaluateOptimal, kNorthern, 7},
    {"Markets/Appalachian Doyle/Optmcuts", RandomBytes, Stats, kAppalachian, 1},
    {"Markets/Appalachian Doyle/Optmcuts", RandomBytes, Report, kAppalachian, 1},
    // The same kinds of damage under stats, the broadest reader.
    {"Shapes/Tree88.SHP", TruncateHalf, Stats, kAppalachian, 1},
    {"Shapes/Tree88.SHP", RandomBytes, Stats, kAppalachian, 1},
    {"Defects/Tree88.DEF", Empty, Stats, kAppalachian, 1},
    {"Defects/Tree88.DEF", RandomBytes, Stats, kAppalachian, 1},
    {"Log Rules/Doyle", RandomBytes, Stats, kAppalachian, 1},
    {"SawGrades/Factory Grades", AppendRecord, Stats, kAppalachian, 1},
    {"SawGrades/Factory Grades", RandomBytes, Stats, kAppalachian, 1},
    {"Prices/Appalachian Doyle", RandomBytes, Stats, kAppalachian, 1},
    {"Filters/Default Filter", AppendRecord, Stats, kAppalachian, 1},
    {"Filters/Default Filter", RandomBytes, Stats, kAppalachian, 1},
    {"Roundwood/Appalachian Roundwood", RandomBytes, Stats, kAppalachian, 1},
    // Text cut inside a line, and a number field holding a byte that is no digit: both once
    // read as fewer defects or a 0 without a word.
    {"Defects/Tree88.DEF", CutInsideLine, Stats, kAppalachian, 1},
    {"Defects/Tree7.DEF", CutInsideLine, EvaluateCuts, kNorthern, 7},
    {"Defects/Tree12.DEF", GarbleDigit, Tree, kAppalachian, 12},
    {"Defects/Tree88.DEF", GarbleDigit, Stats, kAppalachian, 1},
    {"Shapes/Tree88.SHP", CutInsideLine, Stats, kAppalachian, 1},
    {"Shapes/Tree42.SHP", CutInsideLine, Optimise, kLakeStates, 42},
    {"Shapes/Tree88.SHP", GarbleDigit, Stats, kAppalachian, 1},
    {"Shapes/Tree12.SHP", GarbleDigit, ExportOptimal, kNorthern, 10},
};

// A changed result, a crash, a refusal that does not name the file or a change to another file
// fails the test with the case named.
void ExpectEveryCaseRefusedOrUnchanged(std::span<const Case> cases) {
    DamagedData data;
    for (const std::string& failure : data.RunAll(cases)) {
        ADD_FAILURE() << failure;
    }
}

TEST(DamagedData, EachDamagedFileIsRefusedByNameOrChangesNothing) {
    ExpectEveryCaseRefusedOrUnchanged(kCases);
}

} // namespace
} // namespace varnok
