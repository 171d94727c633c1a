#include "support/Errors.h"

#include <cerrno>

namespace varnok {
namespace {

std::string Compose(const std::filesystem::path& path, const std::string& message, int line) {
    std::string text = path.string();
    if (line > 0) {
        text += ", line " + std::to_string(line);
    }
    return text + ": " + message;
}

} // namespace

FileError::FileError(std::filesystem::path path, std::string message, int line)
    : VarnokError(Compose(path, message, line)), path_(std::move(path)),
      message_(std::move(message)), line_(line) {}

std::string IoErrorText(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        return "File not found";
    case EACCES:
    case EPERM:
    case EISDIR:
        return "File access denied";
    case ENAMETOOLONG:
    case EINVAL:
        return "Invalid filename";
    default:
        return "I/O error " + std::to_string(errnoValue);
    }
}

} // namespace varnok
