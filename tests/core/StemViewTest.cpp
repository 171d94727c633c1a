// The stem picture's geometry and figures. Expected pixels were worked out from the drawing
// rules for small stems (view centre 512, 346 unless said otherwise), not by running this code.

#include "game/StemView.h"
#include "TestSupport.h"
#include "game/StemFigures.h"
#include "market/Market.h"
#include "support/Errors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnok {
namespace {

CrossSection Section(int position, int diameter, double offsetY = 0.0, double offsetX = 0.0) {
    return {position, diameter, offsetY, offsetX};
}

DefectLine Defect(const std::string& code, const std::string& a, const std::string& b,
                  const std::string& c = "", const std::string& d = "") {
    DefectLine line;
    line.Code = code;
    line.Fields = {a, b, c, d};
    return line;
}

StemView Build(const std::vector<CrossSection>& sections,
               const std::vector<DefectLine>& defects = {}) {
    return BuildStemView(sections, defects, 512, 346);
}

std::vector<int> OffsetsA(const StemView& v) {
    std::vector<int> out;
    for (const StemStation& s : v.Stations) {
        out.push_back(s.OffsetA);
    }
    return out;
}

std::vector<int> OffsetsB(const StemView& v) {
    std::vector<int> out;
    for (const StemStation& s : v.Stations) {
        out.push_back(s.OffsetB);
    }
    return out;
}

// Offsets round halves to even (7.5 -> 8, 2.5 -> 2, 3.5 -> 4, 0.5 -> 0) and the butt-to-top
// line comes off with two separate rounds: at 48 of 96 with both ends at 1 the terms 0.5 and
// 0.5 each round to 0, where a single round of their sum would take 1 off.
TEST(StemView, OffsetsAreRoundedThenDetrended) {
    const StemView v =
        Build({Section(0, 20, 5.0, 1.0), Section(24, 19, 7.5, 2.5), Section(48, 18, 2.5, 1.0),
               Section(72, 17, 0.0, 0.5), Section(96, 16, 3.5, 1.0)});
    EXPECT_EQ(v.StemLength, 96);
    EXPECT_EQ(OffsetsA(v), (std::vector<int>{0, 3, -2, -4, 0}));
    EXPECT_EQ(OffsetsB(v), (std::vector<int>{0, 1, 1, -1, 0}));
    EXPECT_EQ(v.RotatedA[0], OffsetsA(v));
    EXPECT_EQ(v.RotatedB[0], OffsetsB(v));
    EXPECT_EQ(v.RotatedA[3], (std::vector<int>{0, 2, 0, -3, 0}));
    EXPECT_EQ(v.RotatedB[3], (std::vector<int>{0, -2, 2, 3, 0}));
    EXPECT_EQ(v.RotatedA[9], (std::vector<int>{0, -3, 2, 4, 0}));
    EXPECT_EQ(v.RotatedB[9], (std::vector<int>{0, -1, -1, 1, 0}));
}

TEST(StemView, RotatedOffsetsFollowTheStepAngle) {
    // Zero offsets at the ends leave the interior offsets as they are.
    const StemView v = Build({Section(0, 20), Section(25, 20, 10, 0), Section(50, 20, 0, 10),
                              Section(75, 20, 6, 8), Section(100, 20)});
    struct Row {
        int Rotation;
        std::vector<int> A;
        std::vector<int> B;
    };
    const std::vector<Row> rows = {
        {1, {0, 10, 0, 6, 0}, {0, 0, 10, 8, 0}},
        {4, {0, 5, 9, 10, 0}, {0, -9, 5, -1, 0}},
        {10, {0, -10, 0, -6, 0}, {0, 0, -10, -8, 0}},
        {18, {0, 9, -3, 3, 0}, {0, 3, 9, 10, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Rotation);
        EXPECT_EQ(v.RotatedA[static_cast<std::size_t>(row.Rotation - 1)], row.A);
        EXPECT_EQ(v.RotatedB[static_cast<std::size_t>(row.Rotation - 1)], row.B);
    }
}

TEST(StemView, BandOutlineRunsUpTheUpperLineAndBackDownTheLower) {
    const StemView v = Build({Section(0, 20), Section(100, 20)});
    // y of each band's upper and lower line where the diameter is 20 and the centre line straight.
    const std::array<std::pair<int, int>, kBands> ys = {
        {{326, 330}, {330, 340}, {340, 352}, {352, 362}, {362, 366}}};
    for (std::size_t b = 0; b < kBands; ++b) {
        SCOPED_TRACE(b);
        const std::vector<PixelPoint> expected = {
            {462, ys[b].first}, {562, ys[b].first}, {562, ys[b].second}, {462, ys[b].second}};
        EXPECT_EQ(v.Bands[0][b], expected);
        EXPECT_EQ(v.Bands[9][b], expected); // nothing to turn
    }
}

TEST(StemView, ButtAndTopXRoundHalvesToEven) {
    struct Row {
        std::vector<CrossSection> Sections;
        std::vector<int> Xs;
        std::string Text;
    };
    // An odd length puts every station half a pixel off: 5 inches show as 4 pixels, 7 as 8.
    const std::vector<Row> rows = {
        {{Section(0, 10), Section(49, 10), Section(100, 10)}, {462, 511, 562}, "8' 4\""},
        {{Section(0, 10), Section(1, 10), Section(3, 10), Section(5, 10)},
         {510, 510, 512, 514},
         "0' 4\""},
        {{Section(0, 10), Section(7, 10)}, {508, 516}, "0' 8\""},
        {{Section(0, 10), Section(150, 10)}, {437, 587}, "12' 6\""},
        {{Section(0, 10)}, {512}, "0' 0\""},
    };
    for (const Row& row : rows) {
        const StemView v = Build(row.Sections);
        SCOPED_TRACE(row.Text);
        std::vector<int> xs;
        for (std::size_t k = 0; k < row.Sections.size(); ++k) {
            xs.push_back(v.Bands[0][0][k].X);
            EXPECT_EQ(v.Bands[0][4][2 * row.Sections.size() - 1 - k].X, xs.back());
        }
        EXPECT_EQ(xs, row.Xs);
        EXPECT_EQ(v.ButtX, row.Xs.front());
        EXPECT_EQ(v.TopX, row.Xs.back());
        EXPECT_EQ(v.StemLengthText, row.Text);
    }
}

// A stem with sweep in the second plane: displacement 6 at 50 inches, turned to 3 at rotation
// 4, 1 at rotation 5 and -6 at rotation 10.
std::vector<CrossSection> SweptStem() {
    return {Section(0, 20), Section(50, 18, 0, 6), Section(100, 16)};
}

TEST(StemView, EllipseFiguresFaceTheViewerOrHide) {
    const StemView v = Build(SweptStem(), {Defect("  K", "  2.0", "    9", "    4", "    6"),
                                           Defect(" BU", " 6.25", "   18", "    3", "    5"),
                                           Defect(" SR", " -1.0", "    9", "    4", "    6"),
                                           Defect("  K", " 10.0", "    9", "    4", "    6")});
    struct Row {
        std::size_t Figure;
        int Rotation;
        int X;
        int Y;
        double HalfHeight;
        float HalfWidth;
    };
    // Sector 9 at view angle 20 i: 70 degrees at rotation 1, 10 at 4, -10 (hidden) at 5, -270
    // (seen again) at 18. Sector 18 lies beyond 90 at rotation 1, so its height is measured the
    // other way round the circle.
    const std::vector<Row> rows = {
        {0, 1, 486, 343, 1.8372598240436053, 3.0F},
        {0, 4, 486, 330, 0.23771983110860972, 3.0F},
        {0, 18, 486, 349, 1.9956495867196284, 3.0F},
        {1, 1, 537, 364, 0.4475636107917129, 2.5F},
        {1, 4, 537, 350, 1.4628363186481925, 2.5F},
        {1, 5, 537, 344, 1.4626416160285456, 2.5F},
        // Below the butt and above the top the end station's diameter and displacement hold.
        {2, 1, 450, 339, 1.8394283984231778, 3.0F},
        {3, 1, 582, 341, 1.8285089882406735, 3.0F},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.Figure << " at " << row.Rotation);
        const EllipseFigure& e = v.Ellipses[static_cast<std::size_t>(row.Rotation - 1)][row.Figure];
        EXPECT_EQ(e.CentreX, row.X);
        EXPECT_EQ(e.CentreY, row.Y);
        EXPECT_FLOAT_EQ(e.HalfHeight, static_cast<float>(row.HalfHeight));
        EXPECT_FLOAT_EQ(e.HalfWidth, row.HalfWidth);
    }
    for (const auto& [figure, rotation] :
         std::vector<std::pair<std::size_t, int>>{{0, 5}, {0, 10}, {1, 10}, {1, 18}}) {
        SCOPED_TRACE(testing::Message() << figure << " at " << rotation);
        EXPECT_TRUE(v.Ellipses[static_cast<std::size_t>(rotation - 1)][figure].Hidden());
    }
}

// With an odd centre a half pixel shows which sum is rounded: a figure's centre rounds the
// displacement 0.5 to 0 before the centre is added, a band edge rounds 347.5 to 348. A stem of
// no width has no figure height.
TEST(StemView, HalfPixelsRoundBeforeOrAfterTheViewCentreIsAdded) {
    const StemView v = BuildStemView(
        {Section(0, 0), Section(50, 0, 0, 1), Section(100, 0)},
        {Defect("  K", "2.083", "    9", "    4", "    6"), Defect("  F", "2.083", " 6.25")}, 511,
        347);
    const EllipseFigure& e = v.Ellipses[0][0];
    EXPECT_EQ(e.CentreX, 486);
    EXPECT_EQ(e.CentreY, 347);
    EXPECT_EQ(e.HalfHeight, 0.0F);
    const std::array<PixelPoint, 4> edge = {{{486, 348}, {536, 348}, {536, 348}, {486, 348}}};
    EXPECT_EQ(v.Patches[0][0], (BandPatch{edge, edge, edge, edge, edge}));
}

TEST(StemView, HiddenSideIsWhereTheSineIsNotPositive) {
    struct Row {
        int Sector;
        int Rotation;
        bool Hidden;
    };
    // The relative angle is converted with 0.01745, a little short of pi / 180: 180 degrees is
    // still seen, -360 too; exactly 0 is hidden.
    const std::vector<Row> rows = {
        {2, 1, true},   {1, 1, true},   {0, 9, true},  {0, 10, false}, {0, 18, false},
        {36, 9, false}, {18, 18, true}, {27, 4, true}, {27, 9, false}, {27, 18, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "sector " << row.Sector << " at " << row.Rotation);
        const StemView v = Build({Section(0, 20), Section(100, 20)},
                                 {Defect("  K", "  4.0", std::to_string(row.Sector), "2", "2")});
        EXPECT_EQ(v.Ellipses[static_cast<std::size_t>(row.Rotation - 1)][0].Hidden(), row.Hidden);
    }
}

TEST(StemView, SeamsTakeTheShortWayRound) {
    using Points = std::vector<PixelPoint>;
    const PixelPoint h{-20, -20};
    struct Row {
        int StartSector;
        int EndSector;
        int Rotation;
        Points Expected;
    };
    // Diameter 20, so the figure radius is 19; the seam runs from 24 to 60 inches, 4 a point.
    const std::vector<Row> rows = {
        // 350 to 370 degrees across the top of the stem at view angle 360.
        {35, 1, 18, {h, h, h, h, h, {506, 327}, {510, 327}, {514, 327}, {518, 327}, {522, 327}}},
        {35, 1, 9, {{486, 365}, {490, 365}, {494, 365}, {498, 365}, {502, 365}, h, h, h, h, h}},
        // 370 down to 350.
        {1, 35, 18, {{486, 327}, {490, 327}, {494, 327}, {498, 327}, {502, 327}, h, h, h, h, h}},
        // 180 apart: 360 down to 180.
        {0,
         18,
         9,
         {{486, 365},
          {490, 364},
          {494, 361},
          {498, 355},
          {502, 349},
          {506, 343},
          {510, 336},
          {514, 331},
          {518, 328},
          h}},
        // 170 apart: 0 up to 170.
        {0,
         17,
         1,
         {h,
          h,
          {494, 328},
          {498, 331},
          {502, 335},
          {506, 341},
          {510, 347},
          {514, 353},
          {518, 358},
          {522, 362}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.StartSector << " to " << row.EndSector << " at " << row.Rotation);
        const StemView v = Build({Section(0, 20), Section(100, 20)},
                                 {Defect(" SE", "  2.0", std::to_string(row.StartSector), "  5.0",
                                         std::to_string(row.EndSector))});
        const SeamLine& seam = v.Seams[static_cast<std::size_t>(row.Rotation - 1)][0];
        EXPECT_EQ(Points(seam.begin(), seam.end()), row.Expected);
    }
}

TEST(StemView, BandPatchesFollowTheInterpolatedOutline) {
    const StemView v = Build({Section(0, 20), Section(50, 16, 0, 4), Section(100, 12)},
                             {Defect("  F", "  2.0", "  6.0")});
    using Quad = std::array<PixelPoint, 4>;
    const BandPatch rotation1 = {{
        Quad{{{486, 330}, {534, 334}, {534, 337}, {486, 333}}},
        Quad{{{486, 333}, {534, 337}, {534, 344}, {486, 342}}},
        Quad{{{486, 342}, {534, 344}, {534, 353}, {486, 354}}},
        Quad{{{486, 354}, {534, 353}, {534, 360}, {486, 363}}},
        Quad{{{486, 363}, {534, 360}, {534, 362}, {486, 366}}},
    }};
    const BandPatch rotation10 = {{
        Quad{{{486, 326}, {534, 330}, {534, 332}, {486, 329}}},
        Quad{{{486, 329}, {534, 332}, {534, 339}, {486, 338}}},
        Quad{{{486, 338}, {534, 339}, {534, 348}, {486, 350}}},
        Quad{{{486, 350}, {534, 348}, {534, 355}, {486, 359}}},
        Quad{{{486, 359}, {534, 355}, {534, 358}, {486, 362}}},
    }};
    ASSERT_EQ(v.Patches[0].size(), 1U);
    EXPECT_EQ(v.Patches[0][0], rotation1);
    EXPECT_EQ(v.Patches[9][0], rotation10);
}

TEST(StemView, EndDefectRecordsRoundTheirFeet) {
    const StemView v =
        Build({Section(0, 20), Section(100, 10)},
              {Defect(" DY", "  0.0", "  5.0", "    6", "    0"),
               Defect("SN", "  2.5", "  4.1", "    3", "    4"),
               Defect("  H", "0.125", "0.375", "  2.5", "    7"), // 1.5 -> 2, 4.5 -> 4; 2.5 reads 0
               Defect(" XX", "  1.0", "  2.0", "    1", "    1"), // no such kind
               Defect(" DY", "  abc", "  1.0", "    1", "  300")}); // held to a byte
    struct Row {
        int Start;
        int End;
        int StartDiameter;
        int EndDiameter;
        int Kind;
    };
    const std::vector<Row> rows = {
        {0, 60, 6, 0, 6}, {30, 49, 3, 4, 7}, {2, 4, 0, 7, 8}, {0, 12, 1, 255, 6}};
    ASSERT_EQ(v.EndDefects.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const EndDefectRecord& d = v.EndDefects[i];
        EXPECT_EQ(d.Start, rows[i].Start);
        EXPECT_EQ(d.End, rows[i].End);
        EXPECT_EQ(d.StartDiameter, rows[i].StartDiameter);
        EXPECT_EQ(d.EndDiameter, rows[i].EndDiameter);
        EXPECT_EQ(d.Kind, rows[i].Kind);
    }
    EXPECT_TRUE(v.Ellipses[0].empty());
}

// One of every figure kind, and decay from 40 to 60 inches around the cut at 50.
StemView EveryFigure() {
    return Build(SweptStem(), {Defect("  K", "  2.0", "    9", "    4", "    6"),
                               Defect(" SE", "  2.0", "    9", "  5.0", "    9"),
                               Defect("  F", "  2.0", "  6.0"),
                               Defect(" DY", "3.333", "  5.0", "    4", "    2")});
}

const std::vector<int> kCutInches = {0, 50, 100};
const std::vector<int> kCutPixels = {462, 500, 562};

struct Look {
    Figure::Shape Kind;
    std::optional<Rgb> Fill;
    std::optional<Rgb> Pen;

    bool operator==(const Look&) const = default;
};

std::vector<Look> Looks(const std::vector<Figure>& figures) {
    std::vector<Look> looks;
    for (const Figure& f : figures) {
        looks.push_back({f.Kind, f.Fill, f.Pen});
    }
    return looks;
}

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};

Rgb Grey(int level) {
    return {static_cast<std::uint8_t>(level), static_cast<std::uint8_t>(level),
            static_cast<std::uint8_t>(level)};
}

TEST(StemFigures, MainWindowOrderAndColours) {
    using S = Figure::Shape;
    std::vector<Look> expected;
    for (int grey = 220; grey >= 140; grey -= 20) {
        expected.push_back({S::Polygon, Grey(grey), std::nullopt});
    }
    for (int grey = 190; grey >= 110; grey -= 20) {
        expected.push_back({S::Polygon, Grey(grey), std::nullopt});
    }
    expected.push_back({S::Ellipse, Rgb{255, 0, 255}, kBlack});
    expected.insert(expected.end(), 9, Look{S::Line, std::nullopt, kRed});
    expected.push_back({S::Line, std::nullopt, kBlack});
    expected.push_back({S::Ellipse, Grey(160), kBlack});
    expected.push_back({S::Ellipse, kBlack, kBlack});

    const StemView v = EveryFigure();
    const std::vector<Figure> f =
        StemFigures(v, 1, StemPicture::MainWindow, kCutPixels, kCutInches);
    ASSERT_EQ(Looks(f), expected);
    EXPECT_EQ(f[0].Points, v.Bands[0][0]);
    EXPECT_EQ(f[10].Points, (std::vector<PixelPoint>{{480, 339}, {492, 347}}));
    EXPECT_EQ(f[20].Points, (std::vector<PixelPoint>{{500, 80}, {500, 550}}));
    // Radius 9 at 50 inches gives a 36-pixel disc; decay 3 across, 6 pixels, inside it.
    EXPECT_EQ(f[21].Points, (std::vector<PixelPoint>{{482, 246}, {518, 282}}));
    EXPECT_EQ(f[22].Points, (std::vector<PixelPoint>{{497, 261}, {503, 267}}));
}

TEST(StemFigures, ComparisonLiftsTheStemAndDrawsNoDiscs) {
    const StemView v = EveryFigure();
    const std::vector<Figure> main =
        StemFigures(v, 1, StemPicture::MainWindow, kCutPixels, kCutInches);
    const std::vector<Figure> comparison =
        StemFigures(v, 1, StemPicture::Comparison, kCutPixels, kCutInches);
    // Bands, then the ellipse before the five patches, the seam, the cut line.
    const std::vector<std::size_t> fromMain = {0, 1,  2,  3,  4,  10, 5,  6,  7,  8,
                                               9, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    ASSERT_EQ(comparison.size(), fromMain.size() + 1);
    for (std::size_t i = 0; i < fromMain.size(); ++i) {
        SCOPED_TRACE(i);
        Figure lifted = main[fromMain[i]];
        for (PixelPoint& p : lifted.Points) {
            p.Y -= 175;
        }
        EXPECT_EQ(comparison[i], lifted);
    }
    EXPECT_EQ(comparison.back().Points, (std::vector<PixelPoint>{{500, 10}, {500, 300}}));
    EXPECT_EQ(comparison.back().Pen, kBlack);
}

TEST(StemFigures, FixedHeightsFollowTheViewCentre) {
    const StemView v = BuildStemView({Section(0, 20), Section(100, 20)}, {}, 512, 400);
    const std::vector<int> inches = {0, 50, 100};
    EXPECT_EQ(StemFigures(v, 1, StemPicture::MainWindow, kCutPixels, inches).back().Points,
              (std::vector<PixelPoint>{{500, 134}, {500, 604}}));
    EXPECT_EQ(StemFigures(v, 1, StemPicture::Comparison, kCutPixels, inches).back().Points,
              (std::vector<PixelPoint>{{500, 64}, {500, 354}}));
    const std::vector<Figure> highlight = CutHighlightFigures(v, 500);
    ASSERT_EQ(highlight.size(), 2U);
    EXPECT_EQ(highlight[0].Points, (std::vector<PixelPoint>{{499, 134}, {499, 604}}));
    EXPECT_EQ(highlight[1].Points, (std::vector<PixelPoint>{{501, 134}, {501, 604}}));
    EXPECT_EQ(highlight[1].Pen, kBlack);
}

TEST(StemFigures, HiddenEllipsesAndSeamPointsAreLeftOut) {
    const StemView v = Build({Section(0, 20), Section(100, 20)},
                             {Defect("  K", "  4.0", "    9", "    2", "    2"),
                              Defect(" SE", "  2.0", "   35", "  5.0", "    1")});
    const std::vector<int> ends = {0, 100};
    // At rotation 5 the knot is hidden; at 18 the seam shows from its sixth point on.
    const std::vector<Figure> at5 = StemFigures(v, 5, StemPicture::MainWindow, ends, ends);
    const std::vector<Figure> at18 = StemFigures(v, 18, StemPicture::MainWindow, ends, ends);
    const auto count = [](const std::vector<Figure>& f, Figure::Shape shape) {
        return std::count_if(f.begin(), f.end(),
                             [shape](const Figure& x) { return x.Kind == shape; });
    };
    EXPECT_EQ(count(at5, Figure::Shape::Ellipse), 0);
    EXPECT_EQ(count(at18, Figure::Shape::Ellipse), 1);
    EXPECT_EQ(count(at18, Figure::Shape::Line), 4);
    EXPECT_EQ(at18.back().Points, (std::vector<PixelPoint>{{518, 327}, {522, 327}}));

    // Points seen but above the picture's top (centre 10, radius 19) are not joined either.
    const StemView high =
        BuildStemView({Section(0, 20), Section(100, 20)},
                      {Defect(" SE", "  2.0", "   35", "  5.0", "    1")}, 512, 10);
    EXPECT_EQ(high.Seams[17][0][9], (PixelPoint{522, -9}));
    EXPECT_EQ(
        count(StemFigures(high, 18, StemPicture::MainWindow, ends, ends), Figure::Shape::Line), 0);
}

TEST(StemFigures, EighteenStepsComeBackToTheFirstDrawing) {
    const StemView v = Build({Section(0, 20), Section(40, 19, 10, 10), Section(80, 18, 0, 0)},
                             {Defect("  K", "  2.0", "    9", "    4", "    6"),
                              Defect(" SE", "  1.0", "    0", "  5.0", "   20")});
    std::vector<std::vector<Figure>> drawings;
    for (int r = 1; r <= kRotationSteps; ++r) {
        drawings.push_back(StemFigures(v, r, StemPicture::MainWindow, kCutPixels, kCutInches));
    }
    for (int r = 1; r <= kRotationSteps; ++r) {
        SCOPED_TRACE(r);
        const std::vector<Figure>& own = drawings[static_cast<std::size_t>(r - 1)];
        for (int other = r + 1; other <= kRotationSteps; ++other) {
            EXPECT_NE(own, drawings[static_cast<std::size_t>(other - 1)]) << "and " << other;
        }
        for (const int turned : {r + kRotationSteps, r + 2 * kRotationSteps, r - kRotationSteps}) {
            EXPECT_EQ(StemFigures(v, turned, StemPicture::MainWindow, kCutPixels, kCutInches), own)
                << turned;
        }
    }
}

struct DiscCase {
    const char* Name;
    std::vector<CrossSection> Stations;
    std::vector<DefectLine> Defects;
    std::vector<int> Inches;
    std::vector<int> Pixels;
    // Grey disc corners, then the defect's, for each disc in drawing order.
    std::vector<std::vector<PixelPoint>> Discs;
    std::vector<Rgb> Insides;
};

TEST(StemFigures, DiscsAtCutsWithinEndDefects) {
    const std::vector<CrossSection> taper = {Section(0, 20), Section(100, 10)};
    const Rgb yellow{255, 255, 0};
    const std::vector<DiscCase> cases = {
        {"no interior cut: butt and top",
         taper,
         {Defect(" DY", "  0.0", "  5.0", "    6", "    0"),
          Defect(" SN", "  7.5", " 8.33", "    2", "    4")},
         {0, 100},
         {462, 562},
         {{{442, 246}, {482, 286}},
          {{456, 260}, {468, 272}},
          {{552, 246}, {572, 266}},
          {{558, 252}, {566, 260}}},
         {kBlack, kRed}},
        {"one cut inside two records, in record order",
         taper,
         {Defect("  H", "  2.5", "5.833", "    4", "    4"),
          Defect(" SN", "3.333", "6.667", "    2", "    6")},
         {0, 50, 100},
         {462, 500, 562},
         {{{485, 246}, {515, 276}},
          {{496, 257}, {504, 265}},
          {{485, 246}, {515, 276}},
          {{497, 258}, {503, 264}}},
         {yellow, kRed}},
        {"both ends of a record included",
         taper,
         {Defect(" SN", "3.333", "6.667", "    2", "    6")},
         {0, 39, 40, 80, 81, 100},
         {462, 501, 502, 542, 543, 562},
         {{{486, 246}, {518, 278}},
          {{500, 260}, {504, 264}},
          {{530, 246}, {554, 270}},
          {{536, 252}, {548, 264}}},
         {kRed, kRed}},
        {"half pixels round to even",
         taper,
         {Defect(" DY", "  7.0", "  8.0", "    4", "    4")},
         {0, 85, 95, 100},
         {462, 547, 557, 562},
         {{{535, 246}, {558, 269}},
          {{543, 254}, {551, 262}},
          {{547, 246}, {568, 267}},
          {{553, 252}, {561, 260}}},
         {kBlack, kBlack}},
        {"the hundredth added to the defect's radius settles a half pixel",
         taper,
         {Defect(" SN", "3.333", "6.667", "    1", "    2")},
         {0, 50, 100},
         {462, 500, 562},
         {{{485, 246}, {515, 276}}, {{499, 260}, {502, 263}}},
         {kRed}},
        {"a one-inch defect keeps its start diameter",
         taper,
         {Defect("  H", "4.167", "4.167", "    4", "    8")},
         {0, 50, 100},
         {462, 500, 562},
         {{{485, 246}, {515, 276}}, {{496, 257}, {504, 265}}},
         {yellow}},
        {"stations at the same position take the first",
         {Section(0, 20), Section(0, 16), Section(100, 10)},
         {Defect("  H", "  0.0", "  1.0", "    4", "    4")},
         {0, 100},
         {462, 562},
         {{{442, 246}, {482, 286}}, {{458, 262}, {466, 270}}},
         {yellow}},
    };
    for (const DiscCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const StemView v = Build(c.Stations, c.Defects);
        const std::vector<Figure> f =
            StemFigures(v, 1, StemPicture::MainWindow, c.Pixels, c.Inches);
        const std::size_t lines = c.Inches.size() - 2;
        ASSERT_EQ(f.size(), kBands + lines + c.Discs.size());
        for (std::size_t i = 0; i < lines; ++i) {
            EXPECT_EQ(f[kBands + i].Points.front().X, c.Pixels[i + 1]);
        }
        for (std::size_t i = 0; i < c.Discs.size(); ++i) {
            const Figure& disc = f[kBands + lines + i];
            EXPECT_EQ(disc.Kind, Figure::Shape::Ellipse);
            EXPECT_EQ(disc.Points, c.Discs[i]) << "disc " << i;
            EXPECT_EQ(disc.Fill, i % 2 == 0 ? Grey(160) : c.Insides[i / 2]) << "disc " << i;
        }
    }
}

TEST(StemFigures, EndDefectKeyCentresItsDiscs) {
    const Rgb yellow{255, 255, 0};
    // The top is (height - 30) / 2 rounded, halves to even.
    for (const auto& [height, top] :
         std::vector<std::pair<int, int>>{{33, 2}, {30, 0}, {31, 0}, {35, 2}, {37, 4}}) {
        SCOPED_TRACE(height);
        const std::vector<Figure> key = EndDefectKeyFigures(height);
        const std::vector<std::pair<std::vector<PixelPoint>, Rgb>> expected = {
            {{{2, top}, {30, top + 28}}, Grey(160)},    {{{72, top}, {100, top + 28}}, Grey(160)},
            {{{142, top}, {170, top + 28}}, Grey(160)}, {{{7, top + 5}, {25, top + 23}}, yellow},
            {{{77, top + 5}, {95, top + 23}}, kRed},    {{{147, top + 5}, {165, top + 23}}, kBlack},
        };
        ASSERT_EQ(key.size(), expected.size());
        for (std::size_t i = 0; i < key.size(); ++i) {
            EXPECT_EQ(key[i].Kind, Figure::Shape::Ellipse);
            EXPECT_EQ(key[i].Points, expected[i].first) << i;
            EXPECT_EQ(key[i].Fill, expected[i].second) << i;
        }
    }
}

TEST(LoadStemView, GoldenTreesThroughTheMarketFilter) {
    const DataFolder data(test::GoldenData());
    const Market market = LoadMarket(data, "Hardwood8");
    const StemView tree4 = LoadStemView(data, 4, market.Filter, 1024.0, 692.0);
    EXPECT_EQ(tree4.StemLength, 660);
    EXPECT_EQ(OffsetsB(tree4), (std::vector<int>{0, 0, -1, 0, 1, 1, 0, 0, 0, 0, 1, 1, 1, 0, 0}));
    EXPECT_EQ(OffsetsA(tree4), OffsetsB(tree4));
    EXPECT_EQ(tree4.ButtX, 182);
    EXPECT_EQ(tree4.TopX, 842);
    EXPECT_EQ(tree4.StemLengthText, "55' 0\"");
    // Four seams and one flute read as seams, two knots, nothing at the ends.
    EXPECT_EQ(tree4.Seams[0].size(), 5U);
    EXPECT_EQ(tree4.Ellipses[17].size(), 2U);
    EXPECT_TRUE(tree4.Patches[0].empty());
    EXPECT_TRUE(tree4.EndDefects.empty());

    // Rot and decay as decay; the removed code leaves no record.
    const StemView tree6 = LoadStemView(data, 6, market.Filter, 1024.0, 692.0);
    ASSERT_EQ(tree6.EndDefects.size(), 3U);
    EXPECT_EQ(tree6.EndDefects[0].End, 72);
    EXPECT_EQ(tree6.EndDefects[0].StartDiameter, 13);
    EXPECT_EQ(tree6.EndDefects[2].Start, 396);
    EXPECT_EQ(tree6.EndDefects[2].Kind, 6);
}

TEST(LoadStemView, CentreIsHalfTheClientRoundedToEven) {
    const DataFolder data(test::GoldenData());
    const DefectFilterSet filter = LoadMarket(data, "Hardwood8").Filter;
    struct Row {
        double Width;
        double Height;
        int X;
        int Y;
    };
    const std::vector<Row> rows = {
        {1024, 692, 512, 346}, {1023, 691, 512, 346}, {1025, 693, 512, 346}, {1021, 689, 510, 344}};
    for (const Row& row : rows) {
        const StemView v = LoadStemView(data, 1, filter, row.Width, row.Height);
        EXPECT_EQ(v.CentreX, row.X) << row.Width;
        EXPECT_EQ(v.CentreY, row.Y) << row.Height;
    }
}

TEST(LoadStemView, BadFilesAreRefusedWithAnError) {
    test::TempFolder folder;
    test::CopyGoldenData(folder.Path());
    const DataFolder data(folder.Path());
    const DefectFilterSet filter = LoadMarket(data, "Hardwood8").Filter;

    // A negative offset reads by its size; 2.5 rounds to 2.
    test::WriteText(
        data.Shapes() / "Tree7.SHP",
        test::CrLf({"header", " 0.0  20 0.0 0.0", " 4.0  18-2.5 0.0", " 8.0  16 0.0 0.0"}));
    test::WriteText(data.Defects() / "Tree7.DEF",
                    test::CrLf({"SK  2.0    9    4    6", "LOH  3.0  4.0    4    2"}));
    const StemView v = LoadStemView(data, 7, filter, 1024, 692);
    EXPECT_EQ(OffsetsA(v), (std::vector<int>{0, 2, 0}));
    EXPECT_EQ(v.Ellipses[0].size(), 1U);
    EXPECT_TRUE(v.EndDefects.empty());

    std::vector<std::string> fifty = {"header"};
    for (int i = 0; i < 50; ++i) {
        fifty.push_back(" 0.0  20 0.0 0.0");
    }
    test::WriteText(data.Shapes() / "Tree8.SHP", test::CrLf(fifty));
    test::WriteText(data.Defects() / "Tree8.DEF", "");
    EXPECT_THROW((void)LoadStemView(data, 8, filter, 1024, 692), FileError);
    EXPECT_THROW((void)LoadStemView(data, 9, filter, 1024, 692), FileError); // no files
}

} // namespace
} // namespace varnok
