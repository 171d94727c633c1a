#include "tree/ShapeFile.h"
#include "TestSupport.h"
#include "support/Errors.h"
#include "support/Numbers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace varnok {
namespace {

using test::CrLf;
using test::TempFolder;

class ShapeFileTest : public ::testing::Test {
protected:
    // Writes a shape file with a header and the given data lines and reads it.
    const Tree& Load(const std::vector<std::string>& dataLines) {
        std::vector<std::string> lines = {"height diam offY offX"};
        lines.insert(lines.end(), dataLines.begin(), dataLines.end());
        test::WriteText(Path(), CrLf(lines));
        NewTree(*tree_);
        ReadShapeFile(*tree_, Path());
        return *tree_;
    }

    std::filesystem::path Path() const { return folder_.Path() / "Tree1.SHP"; }

    TempFolder folder_;
    std::unique_ptr<Tree> tree_ = std::make_unique<Tree>();
};

TEST_F(ShapeFileTest, OneLineGivesOnePointAndNoInterpolation) {
    const Tree& t = Load({" 0.0  20 0.0 0.0"});
    EXPECT_EQ(t.Stem.PointCount, 1);
    EXPECT_EQ(t.Stem.StemLength, 0);
    EXPECT_EQ(t.Stem.Diameter[0], 20);
    EXPECT_EQ(t.Stem.Diameter[1], 0);
}

TEST_F(ShapeFileTest, HeightsBecomeRoundedInches) {
    const Tree& t = Load({" 0.0  20 0.0 0.0", "0.04  20 0.0 0.0", "12.5  14 4.0-1.5"});
    EXPECT_EQ(t.Stem.PointPosition[1], 0); // 0.48 inches rounds down
    EXPECT_EQ(t.Stem.PointPosition[2], 150);
    EXPECT_EQ(t.Stem.StemLength, 150);
    // A surface offset of 4.0 where the radius has shrunk by 3 is a centre offset of 1.0;
    // offsets are taken by absolute value.
    EXPECT_FLOAT_EQ(t.Stem.CentreY[150], 1.0F);
    EXPECT_FLOAT_EQ(t.Stem.CentreX[150], -1.5F);
    EXPECT_EQ(t.Stem.Diameter[151], 0);
}

TEST_F(ShapeFileTest, InterpolatesDiametersHalfToEvenAndOffsetsLinearly) {
    const Tree& t = Load({" 0.0  22 0.0 0.0", " 4.0  21 0.5 2.5"});
    // Inch 24 is half-way: 21.5 rounds to 22, inch 25 gives 21.48 -> 21.
    EXPECT_EQ(t.Stem.Diameter[24], 22);
    EXPECT_EQ(t.Stem.Diameter[25], 21);
    EXPECT_EQ(t.Stem.Diameter[47], 21);
    EXPECT_FLOAT_EQ(t.Stem.CentreX[48], 2.0F);
    EXPECT_FLOAT_EQ(t.Stem.CentreX[24], 1.0F);
    EXPECT_FLOAT_EQ(t.Stem.CentreY[12], 0.0F);
}

TEST_F(ShapeFileTest, ShorterStemReadIntoTheSameTreeLeavesNothingAboveItsTop) {
    Load({" 0.0  20 3.0 2.0", "50.0  12 3.0 2.0"});
    test::WriteText(Path(), CrLf({"header", " 0.0  18 0.0 0.0", "10.0  16 1.0 1.0"}));
    ReadShapeFile(*tree_, Path());
    const Tree& t = *tree_;
    EXPECT_EQ(t.Stem.StemLength, 120);
    EXPECT_EQ(t.Stem.Diameter[120], 16);
    EXPECT_FLOAT_EQ(t.Stem.CentreX[120], 0.0F);
    for (const std::size_t x : {std::size_t{121}, std::size_t{300}, std::size_t{600}}) {
        EXPECT_EQ(t.Stem.Diameter[x], 0) << x;
        EXPECT_EQ(t.Stem.CentreX[x], 0.0F) << x;
        EXPECT_EQ(t.Stem.CentreY[x], 0.0F) << x;
    }
    EXPECT_EQ(t.Stem.PointPosition[2], 0);
}

TEST_F(ShapeFileTest, EqualPositionsOverwriteTheEarlierValues) {
    const Tree& t = Load({" 0.0  20 0.0 0.0", " 4.0  18 0.0 0.0", " 4.0  17 0.0 0.0"});
    EXPECT_EQ(t.Stem.PointCount, 3);
    EXPECT_EQ(t.Stem.Diameter[48], 17);
    EXPECT_EQ(t.Stem.Diameter[24], 19);
}

TEST_F(ShapeFileTest, BlankFieldsReadAsZeroAndBlankLinesAreSkipped) {
    const Tree& t = Load({" 0.0  20     0.0", "", " 8.0     1.0", "  "});
    EXPECT_EQ(t.Stem.PointCount, 2);
    EXPECT_EQ(t.Stem.Diameter[96], 0);
    EXPECT_EQ(t.Stem.StemLength, 96);
    // A complete last line needs no line end.
    test::WriteText(Path(), "header\r\n 0.0  20 0.0 0.0\r\n 8.0  18 1.0 1.0");
    NewTree(*tree_);
    ReadShapeFile(*tree_, Path());
    EXPECT_EQ(tree_->Stem.StemLength, 96);
}

TEST_F(ShapeFileTest, RefusesFilesItCannotModel) {
    std::vector<std::string> fifty;
    for (int i = 0; i < 50; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "%4.1f  20 0.0 0.0", i * 2.0);
        fifty.emplace_back(line);
    }
    struct Case {
        std::vector<std::string> lines;
        int line;
        const char* message;
    };
    const std::vector<Case> cases = {
        {fifty, 51, "more than 49 cross-sections"},
        {{" 0.0  20 0.0 0.0", "201.  10 0.0 0.0"}, 3, "outside 0 to 200 ft"},
        {{" 0.0  20 0.0 0.0", "-1.0  10 0.0 0.0"}, 3, "outside 0 to 200 ft"},
        {{" 0.0  20 0.0 0.0", " 8.0  18 0.0 0.0", " 4.0  19 0.0 0.0"}, 4, "must not descend"},
        {{" 0.0 256 0.0 0.0"}, 2, "outside 0 to 255"},
        {{" 0.0  -1 0.0 0.0"}, 2, "outside 0 to 255"},
        {{" 4.0  20 0.0 0.0"}, 2, "must be the butt"},
        {{}, 0, "holds no cross-section"},
        {{" 0.0  20 x.x 0.0"}, 2, "the offset Y field holds \"x.x\", which is not a number"},
        {{" 0.0  20 0.0 0.0", " 8.0  ab 1.0 1.0"}, 3, "the diameter field holds \"ab\""},
        {{" 0.0 20. 0.0 0.0"}, 2, "the diameter field holds \"20.\", which is not a whole"},
        {{" 0.0  20 0.0 0.0", " 8,0  18 0.0 0.0"}, 3, "the height field holds \"8,0\""},
        {{" 0.0  20 0.0 0.0", " 8.0  18 0.0 1-0"}, 3, "the offset X field holds \"1-0\""},
    };
    for (const Case& c : cases) {
        try {
            Load(c.lines);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const FileError& e) {
            EXPECT_EQ(e.Path(), Path());
            EXPECT_EQ(e.Line(), c.line) << c.message;
            EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.what();
        }
    }
    // Exactly 49 lines are fine.
    fifty.pop_back();
    EXPECT_EQ(Load(fifty).Stem.PointCount, 49);
}

TEST_F(ShapeFileTest, MissingFileAndEmptyFile) {
    NewTree(*tree_);
    try {
        ReadShapeFile(*tree_, folder_.Path() / "Tree9.SHP");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.Message(), "File not found");
    }
    test::WriteText(Path(), "");
    EXPECT_THROW(ReadShapeFile(*tree_, Path()), FileError);
}

// The number fields of tree files have a fast path for plain numbers; every text must read as
// the general parsers read it, to the bit (the sign of a zero included), and be refused where
// they refuse it.
TEST(TreeFileNumbers, FieldsReadAsTheGeneralParsersReadThem) {
    const std::filesystem::path path = "Tree1.SHP";
    for (const std::string text : {"  4.5",
                                   "4.5  ",
                                   "\t7\t",
                                   "-0.0",
                                   "-0",
                                   "0",
                                   "12",
                                   "0.1",
                                   "199.99",
                                   "-12.25",
                                   "5.",
                                   ".5",
                                   "-.5",
                                   "+3",
                                   "1e2",
                                   "12.5e-1",
                                   "1.2.3",
                                   "-",
                                   ".",
                                   "12a",
                                   " 1 2",
                                   "",
                                   "   ",
                                   "123456789012345",
                                   "1234567890123456",
                                   "0.000000000000001234",
                                   "9007199254740993",
                                   "99999.999999999",
                                   "4.35"}) {
        const std::optional<double> general = ParseDecimal(text);
        const bool blank = text.find_first_not_of(" \t") == std::string::npos;
        if (general || blank) {
            const double read = DecimalField(text, "field A", path, 3);
            const double expected = general.value_or(0.0);
            EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << '"' << text << '"';
        } else {
            EXPECT_THROW((void)DecimalField(text, "field A", path, 3), FileError) << text;
        }
    }
    for (const std::string text :
         {"  -7", "7  ", "+5", "+-5", "-+5", "-", "0", "-0", "123456789", "1234567890",
          "2147483647", "2147483648", "-2147483648", "-2147483649", "1.5", "1e2", "", "  "}) {
        const std::optional<std::int32_t> general = ParseInteger(text);
        const bool blank = text.find_first_not_of(" \t") == std::string::npos;
        if (general || blank) {
            EXPECT_EQ(IntegerField(text, "field B", path, 3), general.value_or(0)) << text;
        } else {
            EXPECT_THROW((void)IntegerField(text, "field B", path, 3), FileError) << text;
        }
    }
}

// The control byte check passes eight plain bytes at a time; a control byte must be found at
// every place of a line of any length, and a tab or a byte from 0x80 up never refused.
TEST(TreeFileText, EveryControlByteIsFoundWhereverItStands) {
    const std::filesystem::path path = "Tree1.DEF";
    for (const std::size_t length : {1, 7, 8, 9, 15, 16, 17, 23}) {
        for (std::size_t at = 0; at < length; ++at) {
            for (const unsigned char byte : {0x00, 0x0A, 0x1F, 0x7F}) {
                std::string text(length, '5');
                text[at] = static_cast<char>(byte);
                char hex[8];
                std::snprintf(hex, sizeof hex, "0x%02X", byte);
                try {
                    CheckTreeFileText(text, path, 4);
                    ADD_FAILURE() << "length " << length << ", byte " << hex << " at " << at;
                } catch (const FileError& error) {
                    EXPECT_EQ(error.Message(), std::string("the line holds the control byte ") +
                                                   hex + "; a tree file is plain text");
                    EXPECT_EQ(error.Line(), 4);
                }
            }
            for (const unsigned char byte : {0x09, 0x20, 0x7E, 0x80, 0xA0, 0xFF}) {
                std::string text(length, ' ');
                text[at] = static_cast<char>(byte);
                EXPECT_NO_THROW(CheckTreeFileText(text, path, 4)) << length << " " << at;
            }
        }
    }
    // The first of two control bytes is the one named.
    try {
        CheckTreeFileText(std::string("SK 30.0 \x01  4  \x7F 1    1"), path, 2);
        ADD_FAILURE() << "two control bytes passed";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Message(),
                  "the line holds the control byte 0x01; a tree file is plain text");
    }
}

} // namespace
} // namespace varnok
