// varnok-cli: batch work and checks on the data folder, without the desktop program.
// Exit status: 0 success, 1 bad input or a missing or damaged file (one line on stderr),
// 2 wrong usage.

#include "cli/Commands.h"
#include "support/Errors.h"

#include <CLI/CLI.hpp>

#include <clocale>
#include <iostream>
#include <new>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    CLI::App app{"varnok-cli: bucking optimiser and rule files on the command line"};
    app.require_subcommand(1);
    varnok::cli::Options options;
    options.ProgramPath = argc > 0 ? argv[0] : "varnok-cli";
    varnok::cli::Commands commands(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "varnok-cli: " << e.what() << "\n";
        return 2;
    }
    try {
        return commands.Run();
    } catch (const varnok::cli::UsageError& e) {
        std::cerr << "varnok-cli: " << e.what() << "\n";
        return 2;
    } catch (const varnok::VarnokError& e) {
        std::cerr << "varnok-cli: " << e.what() << "\n";
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << "varnok-cli: out of memory\n";
        return 1;
    }
}
