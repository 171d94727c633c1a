#include "support/Errors.h"

#include "support/Numbers.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace varnok {
namespace {

std::string Compose(const std::filesystem::path& path, const std::string& message, int line) {
    std::string text = path.string();
    if (line > 0) {
        text += ", line " + std::to_string(line);
    }
    return text + ": " + message;
}

// What a file-system error means to a user; the code alone tells them nothing.
const char* IoErrorWords(int errnoValue) {
    switch (errnoValue) {
    case ENOSPC:
        return "no space left on the device";
    case EDQUOT:
        return "the disk quota is used up";
    case EROFS:
        return "the file system is read-only";
    case EIO:
        return "the device could not read or write the data";
    case EFBIG:
        return "the file is too large";
    case EEXIST:
        return "the file exists already";
    case EBUSY:
    case ETXTBSY:
        return "the file is in use";
    case EMFILE:
    case ENFILE:
        return "too many files are open";
    case ENOMEM:
        return "not enough memory";
    case ELOOP:
        return "too many symbolic links in the path";
    case EXDEV:
        return "the file would move to another file system";
    case ENOTEMPTY:
        return "the folder is not empty";
    case EPIPE:
        return "the reading end of the pipe is closed";
    case EBADF:
        return "the file is not open for writing";
    case ENXIO:
    case ENODEV:
        return "there is no such device";
    case ESTALE:
        return "the network file is no longer there";
    case EAGAIN:
        return "the file is locked or busy; try again";
    default:
        return nullptr;
    }
}

} // namespace

FileError::FileError(std::filesystem::path path, std::string message, int line)
    : VarnokError(Compose(path, message, line)), path_(std::move(path)),
      message_(std::move(message)), line_(line) {}

FieldCheck::FieldCheck(std::filesystem::path path, std::string prefix)
    : path_(std::move(path)), prefix_(std::move(prefix)) {}

FieldCheck FieldCheck::Within(std::string_view more) const {
    return FieldCheck(path_, prefix_ + std::string(more));
}

void FieldCheck::Integer(std::string_view field, std::int64_t value, std::int64_t low,
                         std::int64_t high) const {
    if (value < low || value > high) {
        Fail(field, std::to_string(value),
             low == high ? std::to_string(low)
                         : "within " + std::to_string(low) + " to " + std::to_string(high));
    }
}

void FieldCheck::OneOf(std::string_view field, std::int64_t value,
                       std::initializer_list<std::int64_t> allowed) const {
    if (std::find(allowed.begin(), allowed.end(), value) != allowed.end()) {
        return;
    }
    // "4 or 8", "1, 2, 3 or 99"
    std::string list;
    std::size_t n = 0;
    for (const std::int64_t a : allowed) {
        ++n;
        list += (n == 1 ? "" : n == allowed.size() ? " or " : ", ") + std::to_string(a);
    }
    Fail(field, std::to_string(value), list);
}

void FieldCheck::Number(std::string_view field, double value, double low, double high) const {
    if (!std::isfinite(value) || value < low || value > high) {
        Fail(field, FormatGeneral(value),
             "a number within " + FormatGeneral(low) + " to " + FormatGeneral(high));
    }
}

void FieldCheck::Flag(std::string_view field, std::uint8_t value) const {
    if (value > 1) {
        Fail(field, std::to_string(value), "0 (no) or 1 (yes)");
    }
}

void FieldCheck::TextLength(std::string_view field, std::uint8_t lengthByte,
                            std::size_t capacity) const {
    if (lengthByte > capacity) {
        Fail(std::string(field) + " (its length byte)", std::to_string(lengthByte),
             "at most " + std::to_string(capacity) + " characters");
    }
}

void FieldCheck::Fail(std::string_view field, std::string_view value,
                      std::string_view allowed) const {
    throw FileError(path_, prefix_ + std::string(field) + " is " + std::string(value) +
                               "; it must be " + std::string(allowed));
}

std::string IoErrorText(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        return "File not found";
    case EACCES:
    case EPERM:
        return "File access denied";
    case EISDIR:
        return "File access denied: it is a folder, not a file";
    case ENAMETOOLONG:
    case EINVAL:
        return "Invalid filename";
    default:
        break;
    }
    const std::string code = "I/O error " + std::to_string(errnoValue);
    const char* words = IoErrorWords(errnoValue);
    return words == nullptr ? code : code + ": " + words;
}

} // namespace varnok
