#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace varnok {

// Bad input that is not tied to one file: an unknown market, a name that is not a plain file
// name, a tree number outside 1 to 150. The message is meant for the user as it stands.
class VarnokError : public std::runtime_error {
public:
    explicit VarnokError(const std::string& message) : std::runtime_error(message) {}
};

// A file that is missing, unreadable, too short or holds values the program cannot use. It
// carries the file's path, the runtime-style message ("File not found", "Read beyond end of
// file", "I/O error 2", ...) and, for text files, the line number (0 when no line applies).
// what() gives "path: message" or "path, line N: message".
class FileError : public VarnokError {
public:
    FileError(std::filesystem::path path, std::string message, int line = 0);

    const std::filesystem::path& Path() const { return path_; }
    const std::string& Message() const { return message_; }
    int Line() const { return line_; }

private:
    std::filesystem::path path_;
    std::string message_;
    int line_;
};

// The runtime-style text for an errno value: "File not found" for ENOENT, "File access denied"
// for EACCES and EISDIR, "Invalid filename" for ENAMETOOLONG and EINVAL, else "I/O error N".
std::string IoErrorText(int errnoValue);

} // namespace varnok
