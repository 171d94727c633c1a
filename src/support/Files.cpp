#include "support/Files.h"

#include "support/Errors.h"
#include "support/ShortString.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>

#include <signal.h>
#include <unistd.h>

namespace varnok {
namespace fs = std::filesystem;

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    const auto cmp =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                     [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
    if (cmp || !EqualsIgnoringCase(a, b)) {
        return cmp;
    }
    return a < b;
}

std::vector<std::string> ListEntries(const fs::path& folder, bool wantFolders) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        return names;
    }
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.front() == '.') {
            continue;
        }
        std::error_code typeError;
        const bool isWanted =
            wantFolders ? entry.is_directory(typeError) : entry.is_regular_file(typeError);
        if (isWanted && !typeError) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

} // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

std::vector<std::uint8_t> ReadFileBytes(const fs::path& path) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw FileError(path, IoErrorText(errno));
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        throw FileError(path, IoErrorText(error == 0 ? EIO : error));
    }
    return bytes;
}

std::vector<std::uint8_t> ReadRecord(const fs::path& path, std::size_t recordSize,
                                     RecordChoice choice) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    const std::size_t records = bytes.size() / recordSize;
    if (records == 0) {
        throw FileError(path, "Read beyond end of file");
    }
    const std::size_t index = choice == RecordChoice::First ? 0 : records - 1;
    const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(index * recordSize);
    return std::vector<std::uint8_t>(first, first + static_cast<std::ptrdiff_t>(recordSize));
}

namespace {

constexpr std::string_view kTemporaryMark = ".varnok-tmp";

// A name beside `path` that no other writer uses: two writers of one file (two programs, two
// threads) never write into each other's temporary. The process id in it tells a stray left by
// a killed writer from one still being written.
fs::path UniqueTemporary(const fs::path& path) {
    static std::atomic<unsigned> counter{0};
    fs::path temporary = path;
    temporary += std::string(kTemporaryMark) + "-" + std::to_string(::getpid()) + "-" +
                 std::to_string(counter.fetch_add(1));
    return temporary;
}

// Removes the temporaries of `path` that writers killed before their rename left behind: those
// of processes no longer running (and the unnumbered ones of earlier versions).
void RemoveStrayTemporaries(const fs::path& path) {
    const std::string prefix = path.filename().string() + std::string(kTemporaryMark);
    std::error_code ec;
    fs::directory_iterator it(path.parent_path().empty() ? fs::path(".") : path.parent_path(), ec);
    if (ec) {
        return;
    }
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix)) {
            continue;
        }
        const std::string rest = name.substr(prefix.size());
        long pid = 0;
        if (!rest.empty() &&
            (rest.front() != '-' || std::sscanf(rest.c_str(), "-%ld-", &pid) != 1)) {
            continue; // a file of another name that only starts like a temporary
        }
        if (pid == 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)) {
            std::error_code ignored;
            fs::remove(entry.path(), ignored);
        }
    }
}

} // namespace

namespace {

// Writes `bytes`, flushes (and syncs, when asked) and closes `file`: 0, or the errno of the
// first step that failed.
int WriteAndClose(std::FILE* file, std::span<const std::uint8_t> bytes, bool sync) {
    errno = 0;
    const std::size_t written =
        bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file);
    int error = (written != bytes.size()) ? (errno == 0 ? EIO : errno) : 0;
    if (error == 0 && std::fflush(file) != 0) {
        error = errno == 0 ? EIO : errno;
    }
    if (error == 0 && sync && ::fsync(::fileno(file)) != 0) {
        error = errno == 0 ? EIO : errno;
    }
    if (std::fclose(file) != 0 && error == 0) {
        error = errno == 0 ? EIO : errno;
    }
    return error;
}

} // namespace

void WriteFileBytes(const fs::path& path, std::span<const std::uint8_t> bytes, DiskSync sync) {
    // A device or a pipe (/dev/stdout, a FIFO) is written into as it is: a rename would put a
    // plain file in its place.
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!ec && fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status)) {
        errno = 0;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            throw FileError(path, IoErrorText(errno));
        }
        if (const int error = WriteAndClose(file, bytes, false); error != 0) {
            throw FileError(path, IoErrorText(error));
        }
        return;
    }
    RemoveStrayTemporaries(path);
    const fs::path temporary = UniqueTemporary(path);
    errno = 0;
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    if (file == nullptr) {
        throw FileError(path, IoErrorText(errno));
    }
    // On the disk before the rename, so that the rename can never expose a file whose data
    // has not been written yet (after a power cut, say).
    if (const int error = WriteAndClose(file, bytes, sync == DiskSync::Synced); error != 0) {
        std::remove(temporary.c_str());
        throw FileError(path, IoErrorText(error));
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        std::remove(temporary.c_str());
        throw FileError(path, IoErrorText(ec.value()));
    }
}

void WriteCrLfFile(const fs::path& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    WriteFileBytes(path, std::span<const std::uint8_t>(
                             reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TextLineViews SplitTextLines(std::string_view text) {
    TextLineViews result;
    result.LastLineEnded = text.empty() || text.back() == '\n';
    // Tree files run at about 20 characters a line; one guess saves most regrowths.
    result.Lines.reserve(text.size() / 16 + 1);
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        result.Lines.push_back(line);
        from = next;
    }
    return result;
}

TextLines ReadTextLines(const fs::path& path) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    const TextLineViews views =
        SplitTextLines(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    TextLines result;
    result.LastLineEnded = views.LastLineEnded;
    result.Lines.assign(views.Lines.begin(), views.Lines.end());
    return result;
}

std::vector<std::string> ListFiles(const fs::path& folder) {
    return ListEntries(folder, false);
}

std::vector<std::string> ListFolders(const fs::path& folder) {
    return ListEntries(folder, true);
}

fs::path FindEntry(const fs::path& folder, std::string_view name) {
    const fs::path exact = folder / fs::path(std::string(name));
    std::error_code ec;
    if (fs::exists(exact, ec)) {
        return exact;
    }
    fs::path match;
    int matches = 0;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        return exact;
    }
    for (const auto& entry : it) {
        if (EqualsIgnoringCase(entry.path().filename().string(), name)) {
            match = entry.path();
            ++matches;
        }
    }
    return matches == 1 ? match : exact;
}

namespace {

// The checks that hold for a name both as UTF-8 and as the Windows-1252 bytes it is stored
// as; `c1Controls` for the stored form, where the bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand
// for control characters.
void CheckNameBytes(std::string_view name, const std::string& subject, const std::string& quoted,
                    bool c1Controls) {
    if (name == "." || name == "..") {
        throw VarnokError("The " + subject + " name " + quoted + " is not a plain file name.");
    }
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\') {
            throw VarnokError("The " + subject + " name " + quoted +
                              " holds a path separator; use a plain file name.");
        }
        const bool c1 =
            byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        if (byte < 0x20 || byte == 0x7F || (c1Controls && c1)) {
            throw VarnokError("The " + subject + " name holds a control character.");
        }
    }
}

} // namespace

void CheckPlainName(std::string_view name, std::string_view what) {
    const std::string subject(what);
    if (name.empty()) {
        throw VarnokError("The " + subject + " name is empty.");
    }
    const auto stored = Utf8ToWindows1252(name);
    // Quoting invalid UTF-8 would carry it into the message; such a name is only described.
    const std::string quoted = stored ? "\"" + std::string(name) + "\"" : "given";
    CheckNameBytes(name, subject, quoted, false);
    if (!stored) {
        throw VarnokError("The " + subject + " name " + quoted +
                          " is not valid UTF-8 or holds a character that cannot be stored "
                          "(Windows-1252).");
    }
    // The stored form is what a file name is made of and what comes back when it is read.
    CheckNameBytes(*stored, subject, quoted, true);
    if (stored->size() > 255) {
        throw VarnokError("The " + subject + " name is longer than 255 characters.");
    }
    // Linux file names are at most 255 bytes of UTF-8; a longer one cannot be opened.
    if (name.size() > 255) {
        throw VarnokError("The " + subject + " name is longer than 255 bytes as UTF-8.");
    }
}

} // namespace varnok
