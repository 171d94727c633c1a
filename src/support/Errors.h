#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

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

// Checks the fields of a record read from a file, so that a damaged file is refused with its
// path, the field and the value instead of being used. Every check throws FileError with the
// message "<prefix><field> is <value>; it must be <allowed>" and returns nothing otherwise.
class FieldCheck {
public:
    // `prefix` names the part of the file the fields belong to ("tree 4: ", "veneer rules: ").
    explicit FieldCheck(std::filesystem::path path, std::string prefix = {});

    const std::filesystem::path& Path() const { return path_; }
    // The same file, with `more` added to the prefix.
    FieldCheck Within(std::string_view more) const;

    // An integer field within low..high.
    void Integer(std::string_view field, std::int64_t value, std::int64_t low,
                 std::int64_t high) const;
    // An integer field holding one of `allowed`.
    void OneOf(std::string_view field, std::int64_t value,
               std::initializer_list<std::int64_t> allowed) const;
    // A floating-point field that is finite and within low..high.
    void Number(std::string_view field, double value, double low, double high) const;
    // A byte that must be 0 (no) or 1 (yes).
    void Flag(std::string_view field, std::uint8_t value) const;
    // The length byte of a short string of capacity `capacity`.
    void TextLength(std::string_view field, std::uint8_t lengthByte, std::size_t capacity) const;

    [[noreturn]] void Fail(std::string_view field, std::string_view value,
                           std::string_view allowed) const;

private:
    std::filesystem::path path_;
    std::string prefix_;
};

// The runtime-style text for an errno value: "File not found" for ENOENT, "File access denied"
// for EACCES (saying so for EISDIR: "...: it is a folder, not a file"), "Invalid filename" for
// ENAMETOOLONG and EINVAL, else "I/O error N" with what it means in words where that is known ("I/O
// error 28: no space left on the device").
std::string IoErrorText(int errnoValue);

} // namespace varnok
