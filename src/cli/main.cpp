// varnok-cli: batch work and checks on the data folder, without the desktop program.
// Exit status: 0 success, 1 bad input, a missing or damaged file or any other failure (one line
// on stderr), 2 wrong usage.

#include "cli/Commands.h"
#include "support/Errors.h"

#include <CLI/CLI.hpp>

#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <exception>
#include <iostream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A message may hold text read from a file (a name, say); a line break in it must not split
// the one line a script reads.
std::string OneLine(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = ' ';
        }
    }
    return text;
}

int Fail(int status, const std::string& message) {
    std::cerr << "varnok-cli: " << OneLine(message) << "\n";
    return status;
}

// What a command prints is held until it ends and then written to standard output in one go,
// so that a write that fails (a full disk, /dev/full) is seen with its error and the command
// fails instead of reporting success for output that was lost.
class HeldOutput {
public:
    HeldOutput() : previous_(std::cout.rdbuf(text_.rdbuf())) {}
    ~HeldOutput() { std::cout.rdbuf(previous_); }
    HeldOutput(const HeldOutput&) = delete;
    HeldOutput& operator=(const HeldOutput&) = delete;

    // Writes what was printed; 0, or the errno of the write that failed. A reader that closed
    // the pipe early (head) has had what it wanted: that is no failure.
    int Write() {
        std::cout.rdbuf(previous_);
        const std::string text = text_.str();
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t wrote = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
            if (wrote < 0 && errno == EINTR) {
                continue;
            }
            if (wrote < 0) {
                return errno == EPIPE ? 0 : errno;
            }
            done += static_cast<std::size_t>(wrote);
        }
        return 0;
    }

private:
    std::ostringstream text_;
    std::streambuf* previous_;
};

int Run(int argc, char** argv) {
    CLI::App app{"varnok-cli: bucking optimiser and rule files on the command line"};
    app.name("varnok-cli");
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("varnok-cli ") + VARNOK_VERSION);
    varnok::cli::Options options;
    options.ProgramPath = argc > 0 ? argv[0] : "varnok-cli";
    varnok::cli::Commands commands(app, options);
    try {
        commands.CheckCommandWord(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
        app.parse(argc, argv);
    } catch (const CLI::Success& e) { // --help, --version
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return Fail(2, e.what());
    } catch (const varnok::cli::UsageError& e) {
        return Fail(2, e.what());
    }
    try {
        return commands.Run();
    } catch (const varnok::cli::UsageError& e) {
        return Fail(2, e.what());
    }
}

int RunAndReport(int argc, char** argv) {
    // Whatever goes wrong ends in one line and status 1, never in an abort.
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        return Fail(1, "out of memory");
    } catch (const std::exception& e) {
        return Fail(1, e.what());
    } catch (...) {
        return Fail(1, "an unexpected error stopped the command");
    }
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    // A closed pipe shows as EPIPE on the write, judged there, instead of ending the program.
    std::signal(SIGPIPE, SIG_IGN);
    HeldOutput output;
    const int status = RunAndReport(argc, argv);
    const int error = output.Write();
    if (error != 0) {
        Fail(1, "standard output: the output could not be written: " + varnok::IoErrorText(error));
        return 1;
    }
    return status;
}
