#pragma once

#include "market/Market.h"
#include "support/DataFolder.h"
#include "tree/Tree.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace varnok::cli {

// Wrong usage found after parsing (exit status 2).
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// What the command line said; filled by CLI11 while parsing.
struct Options {
    std::string ProgramPath;
    std::optional<std::string> Data;
    bool Json = false;
    std::string Market;
    int Tree = 0;
    std::string Cuts;
    bool Optimal = false;
    bool Explain = false;
    std::optional<int> At;
    std::string Name;
    std::string LogRule;
    std::string Veneer;
    std::string Sawlog;
    std::string Prices;
    std::string Filter;
    std::string Roundwood;
    int Trim = 0; // inches; 0 where a command may leave it to the market
    int Jobs = 0;
    int From = 1;
    int To = 150;
    std::string Out;
    std::string Kind;
    bool Replace = false;
    std::string HelpTopic;
};

// Registers the subcommands on `app` and runs the one the user chose. Each command returns the
// exit status; errors propagate as VarnokError (exit 1 in main). Keeps references to `app` and
// `options`, which must outlive it.
class Commands {
public:
    Commands(CLI::App& app, Options& options);

    // Before parsing: throws UsageError naming the command word of `args` (argv without the
    // program) when it is not a command, or saying that none was given. Help and version
    // requests pass.
    void CheckCommandWord(const std::vector<std::string>& args) const;

    int Run();

private:
    using Handler = std::function<int()>;
    CLI::App* Add(const std::string& name, const std::string& description, Handler handler);
    // The data folder, checked to be one (CheckDataFolder).
    DataFolder Data(bool marketsNeeded = true) const;
    // The market named by --market (or the positional name), reported as missing in the same
    // words by every command (CheckMarketExists), then loaded.
    Market NamedMarket(const DataFolder& data) const;

    // The market and the tree a command names.
    struct Loaded {
        DataFolder Data;
        Market TheMarket;
        std::unique_ptr<Tree> TheTree;
    };
    Loaded LoadMarketAndTree() const;

    int Markets();
    int TreeDump();
    int Optimise();
    int Evaluate();
    int CoachPattern(); // in CoachCommand.cpp
    int GradeTree();    // in GradeTreeCommand.cpp
    int ComputeMarketCommand();
    int ExportOptimal();
    int PrintMarket();
    int Report();
    int Stats();
    int Help();

    CLI::App& app_;
    Options& options_;
    std::vector<std::pair<CLI::App*, Handler>> handlers_;
};

} // namespace varnok::cli
