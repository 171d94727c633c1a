#include "support/FileLock.h"

#include "support/Errors.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnok {
namespace {

// Whether `fd` is still the file at `path`: a holder removes the file before it lets go, so a
// lock taken on a file opened just before that removal guards nothing.
bool StillAtPath(int fd, const std::filesystem::path& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// Takes the exclusive lock, trying a few times over some milliseconds: IsHeld's look at a
// lock holds it for a moment, and that must not pass for a holder. A real holder keeps it for
// as long as a computation runs. False with errno set when it stays held or fails.
bool LockSoon(int fd) {
    for (int attempt = 0;; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno != EWOULDBLOCK || attempt == 4) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace

std::optional<FileLock> FileLock::TryLock(const std::filesystem::path& path) {
    // A few rounds: each lost only to a holder that removed the file just as it was opened.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            throw FileError(path, IoErrorText(errno));
        }
        if (!LockSoon(fd)) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK) {
                return std::nullopt;
            }
            throw FileError(path, IoErrorText(error));
        }
        if (!StillAtPath(fd, path)) {
            ::close(fd);
            continue;
        }
        const std::string pid = std::to_string(::getpid()) + "\n";
        // The id only helps a refusal name the holder; the lock holds without it.
        if (::ftruncate(fd, 0) == 0) {
            (void)!::write(fd, pid.data(), pid.size());
        }
        return FileLock(path, fd);
    }
    return std::nullopt;
}

bool FileLock::IsHeld(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd); // lets go of the shared lock taken when nobody held it
    return held;
}

long FileLock::HolderOf(const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        return 0;
    }
    long pid = 0;
    if (std::fscanf(file, "%ld", &pid) != 1) {
        pid = 0;
    }
    std::fclose(file);
    return pid;
}

FileLock::FileLock(FileLock&& other) noexcept : path_(std::move(other.path_)), fd_(other.fd_) {
    other.fd_ = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        Release();
        path_ = std::move(other.path_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FileLock::~FileLock() {
    Release();
}

void FileLock::Release() noexcept {
    if (fd_ < 0) {
        return;
    }
    ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

} // namespace varnok
