#include "TestSupport.h"
#include "support/ByteBuffer.h"
#include "support/DataFolder.h"
#include "support/Errors.h"
#include "support/Files.h"
#include "support/Numbers.h"
#include "support/ShortString.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace varnok {
namespace {

using test::TempFolder;

TEST(ByteBuffer, NumbersAreLittleEndianAtTheirOffsets) {
    ByteWriter w(32);
    w.U16(1, 0x1234);
    w.I32(3, -2);
    w.F32(7, 0.6666667F);
    w.F64(11, 1.5);
    w.I16(19, -300);
    const auto& b = w.Data();
    EXPECT_EQ(b[1], 0x34);
    EXPECT_EQ(b[2], 0x12);
    EXPECT_EQ(b[3], 0xFE);
    EXPECT_EQ(b[6], 0xFF);
    // 2/3 as a single is 3F2AAAAB.
    EXPECT_EQ(b[7], 0xAB);
    EXPECT_EQ(b[10], 0x3F);
    EXPECT_EQ(b[18], 0x3F); // 1.5 = 3FF8000000000000
    EXPECT_EQ(b[17], 0xF8);

    const ByteReader r(b);
    EXPECT_EQ(r.U16(1), 0x1234);
    EXPECT_EQ(r.I32(3), -2);
    EXPECT_EQ(r.F32(7), 0.6666667F);
    EXPECT_EQ(r.F64(11), 1.5);
    EXPECT_EQ(r.I16(19), -300);
    EXPECT_THROW((void)r.U32(30), std::out_of_range);
    EXPECT_THROW(w.U32(30, 1), std::out_of_range);
}

TEST(ShortString, LengthByteCapacityAndWindows1252) {
    ByteWriter w(12);
    w.ShortString(0, 10, "Caf\xC3\xA9 \xE2\x82\xAC long text"); // "Café € long text"
    const auto& b = w.Data();
    EXPECT_EQ(b[0], 10);   // cut to the capacity
    EXPECT_EQ(b[4], 0xE9); // é
    EXPECT_EQ(b[6], 0x80); // €
    const ByteReader r(b);
    EXPECT_EQ(r.ShortString(0, 10), "Caf\xC3\xA9 \xE2\x82\xAC lon");

    // A damaged length byte above the capacity reads as the capacity.
    std::vector<std::uint8_t> damaged = {200, 'a', 'b', 'c'};
    EXPECT_EQ(ByteReader(damaged).ShortString(0, 3), "abc");

    // A character Windows-1252 cannot hold is refused, not replaced.
    EXPECT_THROW(w.ShortString(0, 10, "\xE2\x88\x9A"), VarnokError); // √
    EXPECT_FALSE(Utf8ToWindows1252("\xC3").has_value());             // truncated sequence
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(FirstCharacters("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");
}

TEST(Numbers, RoundingIsHalfToEven) {
    struct Case {
        double x;
        std::int64_t rounded;
        std::int64_t truncated;
    };
    const Case cases[] = {{0.5, 0, 0},    {1.5, 2, 1},  {2.5, 2, 2},       {-0.5, 0, 0},
                          {-1.5, -2, -1}, {0.48, 0, 0}, {150.0, 150, 150}, {-2.7, -3, -2}};
    for (const Case& c : cases) {
        EXPECT_EQ(RoundToInt(c.x), c.rounded) << c.x;
        EXPECT_EQ(TruncToInt(c.x), c.truncated) << c.x;
    }
}

TEST(Numbers, FieldConversion) {
    struct Case {
        const char* text;
        std::optional<double> decimal;
        std::optional<std::int32_t> integer;
        std::optional<double> commaCell = decimal; // ParseCellDecimal in a comma locale
    };
    const Case cases[] = {
        {" 12.5", 12.5, std::nullopt},
        {" 12,5 ", std::nullopt, std::nullopt, 12.5},
        {"-0,25", std::nullopt, std::nullopt, -0.25},
        {"1,234.5", std::nullopt, std::nullopt, std::nullopt},
        {"1,2,3", std::nullopt, std::nullopt, std::nullopt},
        {"1e400", std::nullopt, std::nullopt, std::nullopt},
        {"  -1.5", -1.5, std::nullopt},
        {"   4", 4.0, 4},
        {"+7", 7.0, 7},
        {".5", 0.5, std::nullopt},
        {"1e2", 100.0, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"  ", std::nullopt, std::nullopt},
        {"abc", std::nullopt, std::nullopt},
        {"1.2.3", std::nullopt, std::nullopt},
        {"inf", std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt},
        {"12 3", std::nullopt, std::nullopt},
        {"1,5", std::nullopt, std::nullopt, 1.5},
        {"99999999999", 99999999999.0, std::nullopt},
        {"-", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDecimal(c.text), c.decimal) << '"' << c.text << '"';
        EXPECT_EQ(ParseInteger(c.text), c.integer) << '"' << c.text << '"';
        EXPECT_EQ(ParseCellDecimal(c.text, false), c.decimal) << '"' << c.text << '"';
        EXPECT_EQ(ParseCellDecimal(c.text, true), c.commaCell) << '"' << c.text << '"';
    }
    EXPECT_EQ(FormatFixed(0.125, 2), "0.12");
    EXPECT_EQ(FormatFixed(194.39999389648438, 2), "194.40");
    EXPECT_EQ(FormatGeneral(123.5), "123.5");
    EXPECT_EQ(FormatGeneral(0.0), "0");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
    // Summaries: seven significant digits, then the decimals; exponent notation from 1e7 up.
    const std::vector<std::tuple<double, int, std::string>> figures = {
        {1000.0, 2, "1000.00"},
        {-100.0, 1, "-100.0"},
        {1234567.891, 2, "1234568.00"},
        {9999999.4, 1, "9999999.0"},
        {9999999.6, 1, "1.000000e+07"},
        {12345678.0, 2, "1.234568e+07"},
        {-0.04, 1, "0.0"},
        {0.0, 2, "0.00"},
        {100.0 / 9.0, 1, "11.1"},
        {std::nan(""), 1, "?"},
    };
    for (const auto& [value, decimals, text] : figures) {
        EXPECT_EQ(FormatSevenDigits(value, decimals), text) << value;
    }
}

TEST(Files, RecordReadersKeepFirstOrLastCompleteRecord) {
    TempFolder folder;
    const auto path = folder.Path() / "rec";
    test::WriteBytes(path, {1, 1, 1, 2, 2, 2, 3}); // two records of 3 and a partial one
    EXPECT_EQ(ReadRecord(path, 3, RecordChoice::First), (std::vector<std::uint8_t>{1, 1, 1}));
    EXPECT_EQ(ReadRecord(path, 3, RecordChoice::Last), (std::vector<std::uint8_t>{2, 2, 2}));
    try {
        (void)ReadRecord(path, 8, RecordChoice::Last);
        FAIL() << "a short file must not read";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Message(), "Read beyond end of file");
        EXPECT_EQ(e.Path(), path);
        EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos);
    }
    try {
        (void)ReadFileBytes(folder.Path() / "missing");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.Message(), "File not found");
    }
    try {
        (void)ReadFileBytes(folder.Path());
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.Message(), "File access denied: it is a folder, not a file");
    }
}

TEST(Files, ErrorsSayWhatTheyMean) {
    const struct {
        int error;
        const char* text;
    } cases[] = {
        {ENOENT, "File not found"},
        {EACCES, "File access denied"},
        {EISDIR, "File access denied: it is a folder, not a file"},
        {ENAMETOOLONG, "Invalid filename"},
        {ENOSPC, "I/O error 28: no space left on the device"},
        {EROFS, "I/O error 30: the file system is read-only"},
        {EIO, "I/O error 5: the device could not read or write the data"},
        {EDQUOT, "I/O error 122: the disk quota is used up"},
        {ECHILD, "I/O error 10"}, // nothing a file operation gives; no words to add
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IoErrorText(c.error), c.text) << c.error;
    }
}

TEST(Files, AFailedWriteLeavesTheOldFile) {
    TempFolder folder;
    const auto path = folder.Path() / "rule";
    const std::vector<std::uint8_t> old = {9, 9};
    WriteFileBytes(path, old);
    EXPECT_EQ(test::ReadBytes(path), old);
    // Writing into a folder that does not exist fails and touches nothing.
    EXPECT_THROW(WriteFileBytes(folder.Path() / "no" / "rule", old), FileError);
    // A folder in the way of the rename fails; the temporary file is cleaned up.
    std::filesystem::create_directories(folder.Path() / "dir" / "x");
    EXPECT_THROW(WriteFileBytes(folder.Path() / "dir", old), FileError);
    WriteFileBytes(path, std::vector<std::uint8_t>{1, 2, 3});
    EXPECT_EQ(test::ReadBytes(path).size(), 3U);
    EXPECT_EQ(ListFiles(folder.Path()), std::vector<std::string>{"rule"});
}

// Temporaries have a name per write; the next write of a file removes the ones that killed
// writers left (an unnumbered one of an earlier version, one of a process that is gone), never
// one of a writer still running, nor another file whose name only looks alike.
TEST(Files, TheNextWriteRemovesStrayTemporaries) {
    TempFolder folder;
    const auto path = folder.Path() / "Optmcuts";
    const std::string live = "Optmcuts.varnok-tmp-" + std::to_string(::getpid()) + "-99";
    for (const std::string name : {"Optmcuts.varnok-tmp", "Optmcuts.varnok-tmp-2147483646-0",
                                   live.c_str(), "Optmcuts.varnok-tmpfile", "Other.varnok-tmp"}) {
        test::WriteText(folder.Path() / name, "stray");
    }
    WriteFileBytes(path, std::vector<std::uint8_t>{1});
    EXPECT_EQ(ListFiles(folder.Path()),
              (std::vector<std::string>{"Optmcuts", live, "Optmcuts.varnok-tmpfile",
                                        "Other.varnok-tmp"}));
}

TEST(Files, TextLinesAndListings) {
    TempFolder folder;
    const struct {
        const char* text;
        std::vector<std::string> lines;
        bool lastLineEnded;
    } texts[] = {
        {"a\r\nb\n\r\nlast", {"a", "b", "", "last"}, false},
        {"a\r\nlast\r\n", {"a", "last"}, true},
        {"", {}, true},
        {"\r", {""}, false},
    };
    for (const auto& t : texts) {
        test::WriteText(folder.Path() / "t", t.text);
        const TextLines read = ReadTextLines(folder.Path() / "t");
        EXPECT_EQ(read.Lines, t.lines) << t.text;
        EXPECT_EQ(read.LastLineEnded, t.lastLineEnded) << t.text;
    }

    for (const char* name : {"beta", "Alpha", ".hidden", "gamma"}) {
        test::WriteText(folder.Path() / "list" / name, "x");
    }
    std::filesystem::create_directories(folder.Path() / "list" / "Sub");
    EXPECT_EQ(ListFiles(folder.Path() / "list"),
              (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(ListFolders(folder.Path() / "list"), (std::vector<std::string>{"Sub"}));
    EXPECT_TRUE(ListFiles(folder.Path() / "absent").empty());

    test::WriteText(folder.Path() / "Shapes" / "tree7.shp", "x");
    EXPECT_EQ(FindEntry(folder.Path() / "Shapes", "Tree7.SHP"),
              folder.Path() / "Shapes" / "tree7.shp");
    EXPECT_EQ(FindEntry(folder.Path() / "Shapes", "Tree8.SHP"),
              folder.Path() / "Shapes" / "Tree8.SHP");
    // Two names that differ from the one asked for only in case: neither is taken, so the
    // caller's open reports the file as missing instead of reading one of them at random.
    test::WriteText(folder.Path() / "Shapes" / "tree9.shp", "x");
    test::WriteText(folder.Path() / "Shapes" / "TREE9.SHP", "x");
    EXPECT_EQ(FindEntry(folder.Path() / "Shapes", "Tree9.SHP"),
              folder.Path() / "Shapes" / "Tree9.SHP");
    // An exact match wins over its case variants.
    test::WriteText(folder.Path() / "Shapes" / "Tree9.SHP", "x");
    EXPECT_EQ(FindEntry(folder.Path() / "Shapes", "Tree9.SHP"),
              folder.Path() / "Shapes" / "Tree9.SHP");
    EXPECT_EQ(FindEntry(folder.Path() / "Shapes", "tree9.SHP"),
              folder.Path() / "Shapes" / "tree9.SHP");
}

TEST(Files, NamesMustBePlainFileNames) {
    const char* refused[] = {"", ".", "..", "a/b", "a\\b", "tab\there", "bell\a", "\xE2\x88\x9A"};
    for (const char* name : refused) {
        EXPECT_THROW(CheckPlainName(name, "market"), VarnokError) << name;
    }
    EXPECT_THROW(CheckPlainName(std::string(256, 'x'), "market"), VarnokError);
    const char* accepted[] = {"Hardwood8", "My market", "Caf\xC3\xA9", "...dots", "a.b"};
    for (const char* name : accepted) {
        EXPECT_NO_THROW(CheckPlainName(name, "market")) << name;
    }
    EXPECT_NO_THROW(CheckPlainName(std::string(255, 'x'), "market"));
}

} // namespace
} // namespace varnok

namespace varnok {
namespace {

// Restores an environment variable when the test ends.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DataFolderResolution, OptionThenEnvironmentThenAUserCopyOfTheBundledData) {
    TempFolder home;
    const ScopedEnv xdg("XDG_DATA_HOME", home.Path().c_str());
    const ScopedEnv noData("VARNOK_DATA", nullptr);
    const std::filesystem::path program = "/nowhere/bin/varnok-cli";

    EXPECT_EQ(ResolveDataFolder(std::string("/given"), program).Root(), "/given");
    {
        const ScopedEnv env("VARNOK_DATA", "/from/env");
        EXPECT_EQ(ResolveDataFolder(std::nullopt, program).Root(), "/from/env");
        EXPECT_EQ(ResolveDataFolder(std::string("/given"), program).Root(), "/given");
    }
    // First start: the bundled data is copied into the per-user folder.
    const DataFolder user = ResolveDataFolder(std::nullopt, program);
    EXPECT_EQ(user.Root(), home.Path() / "varnok");
    EXPECT_TRUE(std::filesystem::is_directory(user.Markets()));
    EXPECT_FALSE(ListFiles(user.LogRules()).empty());
    // Later starts use what is there, including what the user changed.
    test::WriteText(user.LogRules() / "Mine", "x");
    EXPECT_TRUE(
        std::filesystem::exists(ResolveDataFolder(std::nullopt, program).LogRules() / "Mine"));
    EXPECT_FALSE(std::filesystem::exists(home.Path() / "varnok.partial"));
}

} // namespace
} // namespace varnok
