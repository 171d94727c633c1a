#pragma once

#include <sys/wait.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace varnok::test {

struct CliResult {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

inline std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

// Runs a built program with the given arguments and the "C" locale.
inline CliResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
    const auto errPath =
        std::filesystem::temp_directory_path() / ("varnok-cli-err-" + std::to_string(::getpid()));
    std::string command = "LC_ALL=C " + ShellQuote(program);
    for (const std::string& arg : args) {
        command += " " + ShellQuote(arg);
    }
    command += " 2>" + ShellQuote(errPath.string());
    CliResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.Out.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath);
    std::stringstream text;
    text << err.rdbuf();
    result.Err = text.str();
    std::filesystem::remove(errPath);
    return result;
}

// Runs the built varnok-cli.
inline CliResult RunCli(const std::vector<std::string>& args) {
    return RunProgram(VARNOK_CLI_PATH, args);
}

} // namespace varnok::test
