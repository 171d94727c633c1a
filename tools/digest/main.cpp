// varnok-engine-digest: what the engine makes of every bundled tree under every market, one
// line per market and tree, so that a change meant to leave every result alone can be checked.
//   varnok-engine-digest DATA_FOLDER [--jobs N] [--trees FIRST-LAST] [--check FILE]
// Without --check the lines go to standard output. With it, they are compared with the lines of
// FILE for the same market and tree; every difference is reported and the exit status is 1.

#include "EngineDigest.h"

#include "market/Market.h"
#include "support/DataFolder.h"
#include "support/Errors.h"
#include "tree/TreeLoad.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace varnok;

struct Options {
    std::filesystem::path Data;
    int Jobs = 2;
    int FirstTree = 1;
    int LastTree = 150;
    std::filesystem::path Check;
};

Options ParseOptions(int argc, char** argv) {
    if (argc < 2) {
        throw VarnokError("usage: varnok-engine-digest DATA_FOLDER [--jobs N] "
                          "[--trees FIRST-LAST] [--check FILE]");
    }
    Options options;
    options.Data = argv[1];
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        if (option == "--jobs") {
            options.Jobs = std::max(1, std::stoi(value));
        } else if (option == "--trees") {
            const auto dash = value.find('-');
            options.FirstTree = std::stoi(value.substr(0, dash));
            options.LastTree =
                dash == std::string::npos ? options.FirstTree : std::stoi(value.substr(dash + 1));
        } else if (option == "--check") {
            options.Check = value;
        } else {
            throw VarnokError("unknown option " + option);
        }
    }
    return options;
}

std::vector<std::string> MarketNames(const DataFolder& data) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(data.Markets())) {
        if (entry.is_directory()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The lines of every market for the trees asked, in market then tree order.
std::vector<std::string> DigestLines(const Options& options) {
    const DataFolder data(options.Data);
    std::vector<std::string> lines;
    for (const std::string& name : MarketNames(data)) {
        const Market market = LoadMarket(data, name);
        const int count = options.LastTree - options.FirstTree + 1;
        std::vector<std::string> treeLines(static_cast<std::size_t>(std::max(count, 0)));
        std::atomic<int> next{0};
        std::vector<std::string> errors(static_cast<std::size_t>(options.Jobs));
        auto work = [&](int job) {
            try {
                for (int k = next++; k < count; k = next++) {
                    const int number = options.FirstTree + k;
                    const auto tree = LoadTree(data, number, market.Filter);
                    treeLines[static_cast<std::size_t>(k)] =
                        digest::DigestLine(name, number, digest::DigestTree(*tree, market));
                }
            } catch (const std::exception& error) {
                errors[static_cast<std::size_t>(job)] = error.what();
                next = count;
            }
        };
        std::vector<std::thread> threads;
        for (int job = 0; job < options.Jobs; ++job) {
            threads.emplace_back(work, job);
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        for (const std::string& error : errors) {
            if (!error.empty()) {
                throw VarnokError(name + ": " + error);
            }
        }
        lines.insert(lines.end(), treeLines.begin(), treeLines.end());
    }
    return lines;
}

// The key of a digest line: its market and tree.
std::string Key(const std::string& line) {
    const auto first = line.find('\t');
    return line.substr(0, line.find('\t', first + 1));
}

int Check(const std::vector<std::string>& lines, const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) {
        throw FileError(file, "cannot be opened");
    }
    std::map<std::string, std::string> expected;
    for (std::string line; std::getline(in, line);) {
        expected[Key(line)] = line;
    }
    int differences = 0;
    for (const std::string& line : lines) {
        const auto found = expected.find(Key(line));
        if (found == expected.end() || found->second != line) {
            std::cout << "differs: " << line
                      << "\n  expected: " << (found == expected.end() ? "(none)" : found->second)
                      << '\n';
            ++differences;
        }
    }
    std::cout << lines.size() - differences << " of " << lines.size() << " digests agree\n";
    return differences == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const Options options = ParseOptions(argc, argv);
        const std::vector<std::string> lines = DigestLines(options);
        if (!options.Check.empty()) {
            return Check(lines, options.Check);
        }
        for (const std::string& line : lines) {
            std::cout << line << '\n';
        }
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}
