#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// Which record of a file of fixed-size records a reader keeps.
enum class RecordChoice {
    First, // readers that read one record
    Last,  // readers that loop until end of file keep the last complete record
};

// The whole file. Throws FileError ("File not found", "File access denied", "I/O error N").
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

// One record of `recordSize` bytes. Throws FileError with "Read beyond end of file" when the
// file holds no complete record, and as ReadFileBytes when it cannot be read.
std::vector<std::uint8_t> ReadRecord(const std::filesystem::path& path, std::size_t recordSize,
                                     RecordChoice choice);

// Whether a write waits until its data is on the disk before the rename.
enum class DiskSync {
    Synced,   // old or new file even after a power cut, on any file system
    Unsynced, // old or new file after a crash of the program; after a power cut as the file
              // system orders renames (ext4 by default writes the data before the rename)
};

// Replaces the file with `bytes`: written to a temporary file beside it, named for this write
// alone ("<name>.varnok-tmp-<process>-<n>"), then renamed over it. A crash at any moment
// therefore leaves either the old file or the new one, never a mix, and a failed write never
// destroys an existing file; the stray temporary a killed writer leaves is removed by the next
// write of the same file. A device or a pipe at `path` (/dev/stdout, a FIFO) is written into
// directly instead. Every file the program writes goes through here. Throws FileError naming
// `path` on failure (the temporary is removed).
void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                    DiskSync sync = DiskSync::Synced);

// Writes lines as a UTF-8 text file with CR LF line ends, replacing the file as WriteFileBytes
// does. Throws FileError on failure.
void WriteCrLfFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

// The lines of a text file without their line ends (CR LF or LF); a final line end does not
// start another line.
struct TextLines {
    std::vector<std::string> Lines;
    // False when the last line has no line end: what a file cut short by a failed copy or a
    // full disk ends in. An empty file counts as ended.
    bool LastLineEnded = true;
};

// Throws as ReadFileBytes.
TextLines ReadTextLines(const std::filesystem::path& path);

// The lines of `text` split as ReadTextLines splits a file, as views into `text`: for readers
// that look at each line once and keep none of them.
struct TextLineViews {
    std::vector<std::string_view> Lines;
    bool LastLineEnded = true; // as in TextLines
};
TextLineViews SplitTextLines(std::string_view text);

// Regular files of a folder (no dot-files), sorted by name case-insensitively. A folder that
// does not exist gives an empty list.
std::vector<std::string> ListFiles(const std::filesystem::path& folder);

// Subfolders of a folder (no dot-folders), sorted by name case-insensitively.
std::vector<std::string> ListFolders(const std::filesystem::path& folder);

// The entry of `folder` named `name`: the exact name if it exists, else the single entry whose
// name matches it ignoring ASCII letter case. Returns folder / name when there is none (so the
// caller's open reports "File not found" with the expected path).
std::filesystem::path FindEntry(const std::filesystem::path& folder, std::string_view name);

// Names typed for rule sets and markets must be plain file names: not empty, valid UTF-8
// (no overlong forms), representable in Windows-1252, and both as typed and as stored: not
// "." or "..", no '/' or '\\', no control characters (C1 ones included), at most 255 bytes.
// Throws VarnokError with a message naming `what` otherwise.
void CheckPlainName(std::string_view name, std::string_view what);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace varnok
