#pragma once

#include "support/DataFolder.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace varnok::cli {

// What the command line said; filled by CLI11 while parsing.
struct Options {
    std::string ProgramPath;
    std::optional<std::string> Data;
    bool Json = false;
    std::string Market;
    int Tree = 0;
};

// Registers the subcommands on `app` and runs the one the user chose. Each command returns the
// exit status; errors propagate as VarnokError (exit 1 in main).
class Commands {
public:
    Commands(CLI::App& app, Options& options);
    int Run();

private:
    using Handler = std::function<int()>;
    CLI::App* Add(const std::string& name, const std::string& description, Handler handler);
    DataFolder Data() const;

    int Markets();
    int TreeDump();

    CLI::App& app_;
    Options& options_;
    std::vector<std::pair<CLI::App*, Handler>> handlers_;
};

} // namespace varnok::cli
