#pragma once

#include <filesystem>
#include <optional>

namespace varnok {

// An exclusive advisory lock on a lock file, held from TryLock to destruction. The kernel
// releases it when the holding process dies, so a killed holder never leaves it held; a lock
// file left behind by one is taken over by the next holder. Two locks of one file conflict
// also within one process (each holds its own open file).
class FileLock {
public:
    // Takes the lock on `path` (created when missing) without waiting. Nothing when another
    // holder has it. Throws FileError naming `path` when the file cannot be created or locked.
    // The holder's process id is written into the file, for HolderOf.
    static std::optional<FileLock> TryLock(const std::filesystem::path& path);

    // Whether some holder has the lock on `path` now; false when the file does not exist.
    // Touches nothing.
    static bool IsHeld(const std::filesystem::path& path);

    // The process id written by the holder of the lock on `path`; 0 when none can be read.
    static long HolderOf(const std::filesystem::path& path);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    // Removes the lock file, then releases the lock.
    ~FileLock();

private:
    FileLock(std::filesystem::path path, int fd) : path_(std::move(path)), fd_(fd) {}
    void Release() noexcept;

    std::filesystem::path path_;
    int fd_ = -1;
};

} // namespace varnok
