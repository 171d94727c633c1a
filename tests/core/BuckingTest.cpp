#include "game/Bucking.h"
#include "game/PictureMapping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

namespace varnok {
namespace {

// The picture of a stem `stemLength` inches long from x `buttX`, one pixel per inch, centred on
// the 1024 by 692 client area's vertical centre, with a diameter of 20 inches at both ends.
StemView View(int buttX, int stemLength, int topX = 0) {
    StemView view;
    view.CentreX = 512;
    view.CentreY = 346;
    view.StemLength = stemLength;
    view.ButtX = buttX;
    view.TopX = topX != 0 ? topX : buttX + stemLength;
    view.Stations = {{0, 20, 0, 0}, {stemLength, 20, 0, 0}};
    view.StemLengthText = "33' 4\"";
    return view;
}

// A state with the tree of `view` shown.
GameState Started(const StemView& view) {
    GameState game;
    game.StartTree(7, view);
    return game;
}

// Moves the mouse to picture x `x` (over the stem, above the read-out's table) and clicks.
bool ClickAt(GameState& game, const StemView& view, double x) {
    EXPECT_TRUE(game.MoveMouse(view, x, 300).has_value()) << x;
    return game.Click(true);
}

TEST(Bucking, CandidateGridLiesStrictlyBetweenButtAndTop) {
    struct Case {
        int span; // top x - butt x
        std::size_t count;
        int last; // offset from the butt of the last candidate
    };
    const Case cases[] = {{400, 99, 396}, {401, 100, 400}, {403, 100, 400}, {404, 100, 400},
                          {5, 1, 4},      {4, 0, 0},       {1, 0, 0},       {0, 0, 0}};
    for (const Case& c : cases) {
        const GameState game = Started(View(100, c.span));
        const std::vector<int>& grid = game.CutGrid();
        ASSERT_EQ(grid.size(), c.count) << c.span;
        for (std::size_t i = 0; i < grid.size(); ++i) {
            EXPECT_EQ(grid[i], 100 + 4 * static_cast<int>(i + 1)) << c.span;
        }
        if (c.count > 0) {
            EXPECT_EQ(grid.back(), 100 + c.last) << c.span;
        }
    }
}

TEST(Bucking, StartTreeKeepsOnlyButtAndTopAndForgetsThePreviousTree) {
    GameState game = Started(View(100, 400));
    EXPECT_FALSE(GameState{}.TreeShown());
    ASSERT_TRUE(game.AddLength(16, 8));
    game.ViewRotation = 7;
    ASSERT_TRUE(game.MoveMouse(View(100, 400), 300, 300).has_value());

    const StemView next = View(-50, 1000);
    game.StartTree(12, next);
    const CutList& cuts = game.Cuts();
    EXPECT_EQ(game.TreeNumber, 12);
    EXPECT_EQ(game.ViewRotation, 1);
    EXPECT_TRUE(game.TreeShown());
    EXPECT_EQ(cuts.Count, 2);
    EXPECT_EQ(cuts.UsedInches(), (std::vector<int>{0, 1000}));
    EXPECT_EQ(cuts.UsedPixels(), (std::vector<int>{-50, 950}));
    EXPECT_EQ(std::count(cuts.Pixels.begin(), cuts.Pixels.end(), kEmptyCutPixel), 25);
    EXPECT_EQ(cuts.Pixels[1], 950);
    EXPECT_EQ(cuts.Pixels[2], kEmptyCutPixel);
    // The old snapped x (300) is gone: a mouse out of reach of the new grid snaps to nothing.
    EXPECT_FALSE(game.MoveMouse(next, 1500, 300).has_value());
    EXPECT_FALSE(game.Click(true));

    // Put away, the tree answers nothing: no read-out, no cut by mouse, length or "X".
    ASSERT_TRUE(ClickAt(game, next, 400));
    game.EndTree();
    EXPECT_FALSE(game.TreeShown());
    EXPECT_EQ(game.Cuts().Count, 0);
    EXPECT_TRUE(game.CutGrid().empty());
    EXPECT_FALSE(game.MoveMouse(next, 400, 300).has_value());
    EXPECT_FALSE(game.Click(true));
    EXPECT_FALSE(game.AddLength(8, 8));
    EXPECT_FALSE(game.RemoveUppermost());
    EXPECT_EQ(game.TreeNumber, 12);
}

TEST(Bucking, MouseSnapsToTheNearestCandidateWithinReach) {
    const StemView view = View(100, 400); // candidates 104 to 496
    struct Step {
        double mouseX;
        int snapped;
    };
    // Run in order: a mouse out of reach keeps the previous snapped x.
    const Step steps[] = {
        {300.0, 300}, {106.0, 104}, // a tie goes to the lower x
        {105.9, 104}, {106.1, 108},  {302.0, 300},   {0.0, 104},
        {250.0, 248}, {-395.5, 104}, // 499.5 away
        {250.0, 248}, {-396.0, 248}, // 500 from the nearest: no change
        {996.0, 248}, {995.5, 496},  {10000.0, 496}, {497.9, 496},
    };
    GameState game = Started(view);
    for (const Step& s : steps) {
        const std::optional<ReadOut> out = game.MoveMouse(view, s.mouseX, 300);
        ASSERT_TRUE(out.has_value()) << s.mouseX;
        EXPECT_EQ(out->SnappedX, s.snapped) << s.mouseX;
    }
}

TEST(Bucking, NothingToSnapGivesNoReadOut) {
    struct Case {
        int span;
        double mouseX;
    };
    // An empty grid, a first move out of reach, and no tree at all.
    const Case cases[] = {{4, 102.0}, {400, 996.0}, {400, -400.0}};
    for (const Case& c : cases) {
        const StemView view = View(100, c.span);
        GameState game = Started(view);
        EXPECT_FALSE(game.MoveMouse(view, c.mouseX, 300).has_value()) << c.span;
        EXPECT_FALSE(game.Click(true));
    }
    GameState idle;
    EXPECT_FALSE(idle.MoveMouse(View(100, 400), 300, 300).has_value());
}

TEST(Bucking, ReadOutPlacementFollowsTheViewCentre) {
    struct Case {
        int centreY;
        int mouseY;
        int top;
        int height;
    };
    const Case cases[] = {{346, 300, 450, 57},  {346, 507, 450, 57}, {346, 508, 450, 58},
                          {346, 600, 450, 150}, {400, 561, 504, 57}, {400, 562, 504, 58},
                          {100, 262, 204, 58}};
    for (const Case& c : cases) {
        StemView view = View(100, 400);
        view.CentreY = c.centreY;
        GameState game = Started(view);
        const std::optional<ReadOut> out = game.MoveMouse(view, 301, c.mouseY);
        ASSERT_TRUE(out.has_value());
        EXPECT_EQ(out->SnappedX, 300);
        EXPECT_EQ(out->Left, 220);
        EXPECT_EQ(out->Top, c.top) << c.centreY << " " << c.mouseY;
        EXPECT_EQ(out->Height, c.height) << c.centreY << " " << c.mouseY;
    }
}

TEST(Bucking, ReadOutTexts) {
    const StemView view = View(100, 400);
    GameState game = Started(view);
    ASSERT_TRUE(game.AddLength(8, 8)); // 104 inches
    ASSERT_TRUE(game.AddLength(8, 8)); // 208 inches
    struct Case {
        double mouseX;
        const char* leftGap;
        const char* rightGap;
        const char* toButt;
        const char* toTop;
        bool hover;
    };
    const Case cases[] = {
        {105.0, "<==  0' 4\" ", "8' 4\"  ==>", "0' 4\" ", "33' 0\" ", false},
        {204.0, "<==  8' 8\" ", "8' 8\"  ==>", "8' 8\" ", "24' 8\" ", true}, // on the first cut
        {260.0, "<==  4' 8\" ", "4' 0\"  ==>", "13' 4\" ", "20' 0\" ", false},
        {496.0, "<==  15' 8\" ", "0' 4\"  ==>", "33' 0\" ", "0' 4\" ", false},
    };
    for (const Case& c : cases) {
        const std::optional<ReadOut> out = game.MoveMouse(view, c.mouseX, 300);
        ASSERT_TRUE(out.has_value());
        EXPECT_EQ(out->LeftGap, c.leftGap) << c.mouseX;
        EXPECT_EQ(out->RightGap, c.rightGap) << c.mouseX;
        EXPECT_EQ(out->ToButt, c.toButt) << c.mouseX;
        EXPECT_EQ(out->ToTop, c.toTop) << c.mouseX;
        EXPECT_EQ(out->TreeLength, "33' 4\"");
        EXPECT_EQ(out->Diameter, "20 \"");
        EXPECT_EQ(out->HoverOnCut, c.hover) << c.mouseX;
        EXPECT_TRUE(out->CutAllowed);
    }
}

TEST(Bucking, DiameterIsInterpolatedBetweenTheFirstPairThatHoldsThePosition) {
    StemView view = View(0, 300);
    view.Stations = {
        {0, 20, 0, 0}, {100, 10, 0, 0}, {100, 30, 0, 0}, {200, 31, 0, 0}, {300, 31, 0, 0}};
    struct Case {
        int inches;
        std::optional<int> diameter;
    };
    const Case cases[] = {
        {0, 20},
        {50, 15},
        {25, 18},  // 17.5 to the even 18
        {75, 12},  // 12.5 to the even 12
        {100, 10}, // the first pair already holds it
        {150, 30}, // 30.5 to the even 30
        {250, 31},
        {300, 31},
        {301, std::nullopt},
        {-1, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DiameterAt(view, c.inches), c.diameter) << c.inches;
    }

    // Two stations at one height: the first one's diameter.
    view.Stations = {{100, 12, 0, 0}, {100, 14, 0, 0}, {200, 10, 0, 0}};
    EXPECT_EQ(DiameterAt(view, 100), 12);
    EXPECT_EQ(DiameterAt(view, 150), 12);
    EXPECT_EQ(DiameterAt(view, 99), std::nullopt);
    view.Stations.clear();
    EXPECT_EQ(DiameterAt(view, 0), std::nullopt);

    // Every station counts, not only the first 27.
    view.Stations.clear();
    for (int k = 0; k < 30; ++k) {
        view.Stations.push_back({10 * k, 40 - k, 0, 0});
    }
    EXPECT_EQ(DiameterAt(view, 285), 12); // between 12 at 280 and 11 at 290: 11.5 to 12
    EXPECT_EQ(DiameterAt(view, 283), 12);
    EXPECT_EQ(DiameterAt(view, 287), 11);
}

TEST(Bucking, ReadOutKeepsTheLastDiameterWhereNoStationPairHoldsIt) {
    StemView view = View(100, 400);
    view.Stations = {{0, 24, 0, 0}, {200, 16, 0, 0}}; // nothing measured above 200 inches
    GameState game = Started(view);
    EXPECT_EQ(game.MoveMouse(view, 200, 300)->Diameter, "20 \"");
    EXPECT_EQ(game.MoveMouse(view, 400, 300)->Diameter, "20 \"");
    EXPECT_EQ(game.MoveMouse(view, 150, 300)->Diameter, "22 \"");
    // A fresh tree has no diameter to keep.
    game.StartTree(8, view);
    EXPECT_EQ(game.MoveMouse(view, 400, 300)->Diameter, "");
}

TEST(Bucking, LengthButtonsAddALogAboveTheUppermostCut) {
    struct Case {
        int stemLength;
        int trim;
        std::vector<int> feet;
        std::vector<bool> accepted;
        std::vector<int> inches; // the cut list afterwards
    };
    const Case cases[] = {
        {400, 8, {16, 16}, {true, false}, {0, 200, 400}}, // 400 is not below the top
        {401, 8, {16, 16}, {true, true}, {0, 200, 400, 401}},
        {400, 4, {8, 8}, {true, true}, {0, 100, 200, 400}},
        {400, 8, {10, 12}, {true, true}, {0, 128, 280, 400}},
        {400, 8, {16, 8, 8}, {true, true, false}, {0, 200, 304, 400}},
        {400, 8, {7, 18, 0}, {false, false, false}, {0, 400}},
        {100, 4, {8}, {false}, {0, 100}},
    };
    for (const Case& c : cases) {
        GameState game = Started(View(30, c.stemLength));
        for (std::size_t i = 0; i < c.feet.size(); ++i) {
            EXPECT_EQ(game.AddLength(c.feet[i], c.trim), c.accepted[i])
                << c.stemLength << " " << c.feet[i];
        }
        EXPECT_EQ(game.Cuts().UsedInches(), c.inches) << c.stemLength;
        std::vector<int> pixels = c.inches;
        for (int& p : pixels) {
            p += 30;
        }
        EXPECT_EQ(game.Cuts().UsedPixels(), pixels) << c.stemLength;
    }
    GameState idle;
    EXPECT_FALSE(idle.AddLength(8, 8));
}

TEST(Bucking, TrimChangedDuringBuckingOnlyMovesTheNextCut) {
    GameState game = Started(View(0, 600));
    ASSERT_TRUE(game.AddLength(8, 8));
    ASSERT_TRUE(game.AddLength(8, 4));
    EXPECT_EQ(game.Cuts().UsedInches(), (std::vector<int>{0, 104, 204, 600}));
}

TEST(Bucking, TheListHoldsAtMost27PositionsThat26LogsNeed) {
    const StemView view = View(100, 400);
    GameState game = Started(view);
    for (int k = 1; k <= 25; ++k) {
        EXPECT_TRUE(ClickAt(game, view, 100 + 8 * k)) << k;
    }
    EXPECT_EQ(game.Cuts().Count, 27);
    EXPECT_FALSE(ClickAt(game, view, 380));
    EXPECT_FALSE(game.AddLength(8, 8)); // 304 inches would fit below the top
    EXPECT_EQ(game.Cuts().Count, 27);
    EXPECT_EQ(game.Cuts().Inches[25], 200);
    EXPECT_EQ(game.Cuts().Inches[26], 400);
    // Removing one makes room again.
    EXPECT_TRUE(ClickAt(game, view, 108));
    EXPECT_EQ(game.Cuts().Count, 26);
    EXPECT_TRUE(ClickAt(game, view, 380));
    EXPECT_EQ(game.Cuts().Count, 27);
}

TEST(Bucking, MouseCutsAreKeptInOrder) {
    const StemView view = View(100, 400);
    GameState game = Started(view);
    for (const int x : {400, 160, 244, 104, 496}) {
        EXPECT_TRUE(ClickAt(game, view, x)) << x;
    }
    EXPECT_EQ(game.Cuts().UsedInches(), (std::vector<int>{0, 4, 60, 144, 300, 396, 400}));
    EXPECT_EQ(game.Cuts().UsedPixels(), (std::vector<int>{100, 104, 160, 244, 400, 496, 500}));
    EXPECT_EQ(game.Cuts().Pixels[7], kEmptyCutPixel);
}

TEST(Bucking, ClickingTheHighlightedCutRemovesItAndAMoveLetsItBack) {
    const StemView view = View(100, 400);
    GameState game = Started(view);
    ASSERT_TRUE(game.AddLength(16, 8)); // 200 inches, pixel 300
    ASSERT_TRUE(game.MoveMouse(view, 300.4, 300)->HoverOnCut);

    EXPECT_TRUE(game.Click(true));
    EXPECT_EQ(game.Cuts().UsedInches(), (std::vector<int>{0, 400}));
    EXPECT_EQ(game.Cuts().Pixels[2], kEmptyCutPixel);
    // Without a move the highlight still stands, and nothing is there to remove.
    EXPECT_FALSE(game.Click(true));
    EXPECT_EQ(game.Cuts().Count, 2);
    // After the mouse has moved, even to the same spot, a click puts it back.
    EXPECT_FALSE(game.MoveMouse(view, 300.4, 300)->HoverOnCut);
    EXPECT_TRUE(game.Click(true));
    EXPECT_EQ(game.Cuts().UsedInches(), (std::vector<int>{0, 200, 400}));
    EXPECT_EQ(game.Cuts().UsedPixels(), (std::vector<int>{100, 300, 500}));
    // A second click on the same new cut without moving is refused: it is already there.
    EXPECT_FALSE(game.Click(true));
    EXPECT_EQ(game.Cuts().Count, 3);
}

TEST(Bucking, ClicksNeedTheReadOutAndAWholeGridStep) {
    const StemView view = View(100, 400);
    GameState game = Started(view);
    ASSERT_TRUE(game.MoveMouse(view, 300, 300).has_value());
    EXPECT_FALSE(game.Click(false));
    EXPECT_EQ(game.Cuts().Count, 2);

    // A log with an odd trim leaves the grid: the next candidate is 3 inches above it.
    ASSERT_TRUE(game.AddLength(8, 5)); // 101 inches
    const std::optional<ReadOut> out = game.MoveMouse(view, 204, 300);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(out->LeftGap, "<==  0' 3\" ");
    EXPECT_FALSE(out->CutAllowed);
    EXPECT_FALSE(game.Click(true));
    EXPECT_FALSE(game.MoveMouse(view, 208, 300)->CutAllowed); // 7 inches
    EXPECT_FALSE(game.MoveMouse(view, 301, 300)->CutAllowed); // 99 inches
    // Below the odd cut the gap to the butt is whole again.
    EXPECT_TRUE(game.MoveMouse(view, 196, 300)->CutAllowed);
    EXPECT_TRUE(game.Click(true));
    EXPECT_EQ(game.Cuts().UsedInches(), (std::vector<int>{0, 96, 101, 400}));
}

TEST(Bucking, ButtAndTopStayAndXRemovesTheCutNearestTheTop) {
    const StemView view = View(100, 400);
    GameState game = Started(view);
    EXPECT_FALSE(game.RemoveUppermost());
    ASSERT_TRUE(ClickAt(game, view, 400)); // 300 inches
    ASSERT_TRUE(ClickAt(game, view, 200)); // 100 inches, placed last
    ASSERT_TRUE(ClickAt(game, view, 252)); // 152 inches

    EXPECT_TRUE(game.RemoveUppermost());
    EXPECT_EQ(game.Cuts().UsedInches(), (std::vector<int>{0, 100, 152, 400}));
    EXPECT_TRUE(game.RemoveUppermost());
    EXPECT_TRUE(game.RemoveUppermost());
    EXPECT_EQ(game.Cuts().UsedInches(), (std::vector<int>{0, 400}));
    EXPECT_EQ(game.Cuts().UsedPixels(), (std::vector<int>{100, 500}));
    EXPECT_FALSE(game.RemoveUppermost());
    EXPECT_EQ(game.Cuts().Count, 2);
    EXPECT_EQ(std::count(game.Cuts().Pixels.begin(), game.Cuts().Pixels.end(), kEmptyCutPixel), 25);

    // The mouse never reaches the butt or the top: the grid stops short of both.
    EXPECT_EQ(game.MoveMouse(view, 100, 300)->SnappedX, 104);
    EXPECT_EQ(game.MoveMouse(view, 500, 300)->SnappedX, 496);
}

TEST(Bucking, ACutIsPlacedOnlyStrictlyInsideTheStem) {
    // The picture is wider than the stem is long (a top pixel beyond the stem length): the grid
    // reaches pixels whose inches lie at or above the top, and those are refused.
    const StemView view = View(100, 400, 520);
    GameState game = Started(view);
    EXPECT_TRUE(ClickAt(game, view, 496));  // 396 inches
    EXPECT_FALSE(ClickAt(game, view, 500)); // 400 inches: the top
    EXPECT_FALSE(ClickAt(game, view, 516)); // beyond it
    EXPECT_EQ(game.Cuts().UsedInches(), (std::vector<int>{0, 396, 400}));
}

TEST(Bucking, AClickOffEitherEndOfTheStemDoesNothing) {
    // The grid snaps a mouse off the stem to the end candidates (104 and 496); a click there
    // neither adds a cut nor takes away the one that stands on the end candidate.
    const StemView view = View(100, 400);
    struct Case {
        double mouseX;
        bool changes;
    };
    const Case cases[] = {{99.9, false}, {100.0, true},   {60.0, false}, {-300.0, false},
                          {500.0, true}, {500.25, false}, {640.0, false}};
    for (const Case& c : cases) {
        GameState adding = Started(view);
        EXPECT_EQ(ClickAt(adding, view, c.mouseX), c.changes) << c.mouseX;
        GameState removing = Started(view);
        ASSERT_TRUE(ClickAt(removing, view, c.mouseX < 300 ? 104 : 496));
        ASSERT_TRUE(removing.MoveMouse(view, c.mouseX, 300)->HoverOnCut) << c.mouseX;
        EXPECT_EQ(removing.Click(true), c.changes) << c.mouseX;
    }
}

TEST(Bucking, ViewRotationWraps) {
    struct Case {
        int from;
        bool up;
        int to;
    };
    const Case cases[] = {{18, true, 1},  {1, true, 2},  {17, true, 18},
                          {1, false, 18}, {2, false, 1}, {18, false, 17}};
    for (const Case& c : cases) {
        GameState game;
        game.ViewRotation = c.from;
        if (c.up) {
            game.RotateUp();
        } else {
            game.RotateDown();
        }
        EXPECT_EQ(game.ViewRotation, c.to) << c.from << (c.up ? " up" : " down");
    }
    for (const bool up : {true, false}) {
        GameState game;
        game.ViewRotation = 5;
        std::set<int> seen;
        for (int step = 0; step < kRotationSteps; ++step) {
            if (up) {
                game.RotateUp();
            } else {
                game.RotateDown();
            }
            seen.insert(game.ViewRotation);
            EXPECT_GE(game.ViewRotation, 1);
            EXPECT_LE(game.ViewRotation, kRotationSteps);
        }
        EXPECT_EQ(game.ViewRotation, 5);
        EXPECT_EQ(seen.size(), 18U);
    }
}

TEST(PictureMapping, AStemThatFitsIsDrawnOnePixelPerInch) {
    struct Case {
        int stemLength;
        double scale;
    };
    // 1000 pixels wide with 20 at each end: 960 inches fit.
    const Case cases[] = {{400, 1.0}, {960, 1.0}, {961, 960.0 / 961.0}, {1452, 960.0 / 1452.0}};
    for (const Case& c : cases) {
        const StemView view = View(512 - c.stemLength / 2, c.stemLength);
        const PictureMapping m = FitStem(view, 1000, 20, 346, 300);
        EXPECT_DOUBLE_EQ(m.ScaleX, c.scale) << c.stemLength;
    }
    const PictureMapping m = FitStem(View(312, 400), 1000, 20, 346, 300);
    EXPECT_DOUBLE_EQ(m.ToWidgetX(312), 300.0);
    EXPECT_DOUBLE_EQ(m.ToWidgetX(712), 700.0);
    EXPECT_DOUBLE_EQ(m.ToPictureX(700), 712.0);
    EXPECT_DOUBLE_EQ(m.ToWidgetY(346), 300.0);
    EXPECT_DOUBLE_EQ(m.ToWidgetY(456), 410.0);
    EXPECT_DOUBLE_EQ(m.ToPictureY(410), 456.0);
    // A widget narrower than its margins still maps both ways.
    const PictureMapping tiny = FitStem(View(312, 400), 30, 20, 0, 0);
    EXPECT_GT(tiny.ScaleX, 0.0);
    EXPECT_NEAR(tiny.ToPictureX(tiny.ToWidgetX(400)), 400.0, 1e-9);
}

TEST(PictureMapping, ALongStemIsScaledToFitAndStillCutOnTheFourInchGrid) {
    // The longest bundled tree, centred on a 1024-pixel client: far wider than the widget.
    const StemView view = View(512 - 726, 1452);
    const PictureMapping m = FitStem(view, 1000, 20, 346, 300);
    EXPECT_NEAR(m.ToWidgetX(view.ButtX), 20.0, 1e-9);
    EXPECT_NEAR(m.ToWidgetX(view.TopX), 980.0, 1e-9);
    EXPECT_DOUBLE_EQ(m.ToWidgetY(346 + 104), 404.0); // y is never scaled

    GameState game = Started(view);
    ASSERT_EQ(game.CutGrid().size(), 362U);
    std::set<int> reached;
    for (int widgetX = 20; widgetX <= 980; ++widgetX) {
        const double pictureX = m.ToPictureX(widgetX);
        EXPECT_NEAR(m.ToWidgetX(pictureX), widgetX, 1e-9);
        const std::optional<ReadOut> out = game.MoveMouse(view, pictureX, 400);
        ASSERT_TRUE(out.has_value()) << widgetX;
        const int snapped = out->SnappedX;
        EXPECT_EQ((snapped - view.ButtX) % 4, 0) << widgetX;
        // The nearest candidate: at most half a step away, a whole one beyond the end ones.
        const bool pastEnds = pictureX < view.ButtX + 4 || pictureX > view.TopX - 4;
        EXPECT_LE(std::abs(snapped - pictureX), pastEnds ? 4.0 : 2.0) << widgetX;
        reached.insert(snapped);

        ASSERT_TRUE(game.Click(true)) << widgetX;
        const CutList& cuts = game.Cuts();
        ASSERT_EQ(cuts.Count, 3);
        EXPECT_EQ(cuts.Pixels[1], snapped);
        EXPECT_EQ(cuts.Inches[1], cuts.Pixels[1] - view.ButtX);
        EXPECT_GT(cuts.Inches[1], 0);
        EXPECT_LT(cuts.Inches[1], 1452);
        // Take it away again so that every position starts from the same list.
        ASSERT_TRUE(game.MoveMouse(view, pictureX, 400)->HoverOnCut);
        ASSERT_TRUE(game.Click(true));
    }
    // Each widget pixel spans about 1.5 inches, so every candidate can be reached.
    EXPECT_EQ(reached.size(), 362U);
    EXPECT_EQ(*reached.begin(), view.ButtX + 4);
    EXPECT_EQ(*reached.rbegin(), view.ButtX + 1448);
}

// Filling the width: along the stem as FitStem scales a long stem, for every stem; across the
// same factor, from 1 (never shrunk) up to the cap.
TEST(PictureMapping, AFilledStemSpansTheWidthAndGrowsAcrossUpToTheCap) {
    struct Case {
        int stemLength;
        double maxScaleY;
        double scaleX, scaleY;
    };
    // 1000 pixels wide with 20 at each end: 960 pixels for the stem.
    const Case cases[] = {
        {480, 5.0, 2.0, 2.0},
        {480, 1.5, 2.0, 1.5},
        {480, 0.5, 2.0, 1.0},
        {960, 3.0, 1.0, 1.0},
        {1452, 3.0, 960.0 / 1452.0, 1.0},
        {240, 3.0, 4.0, 3.0},
    };
    for (const Case& c : cases) {
        const StemView view = View(512 - c.stemLength / 2, c.stemLength);
        const PictureMapping m = FillStem(view, 1000, 20, 346, 300, c.maxScaleY);
        EXPECT_DOUBLE_EQ(m.ScaleX, c.scaleX) << c.stemLength;
        EXPECT_DOUBLE_EQ(m.ScaleY, c.scaleY) << c.stemLength << " cap " << c.maxScaleY;
        EXPECT_NEAR(m.ToWidgetX(view.ButtX), 20.0, 1e-9) << c.stemLength;
        EXPECT_NEAR(m.ToWidgetX(view.TopX), 980.0, 1e-9) << c.stemLength;
        // Across: the centre line stays on its row, the rest scales about it, both ways.
        EXPECT_DOUBLE_EQ(m.ToWidgetY(346), 300.0);
        EXPECT_DOUBLE_EQ(m.ToWidgetY(356), 300.0 + 10.0 * c.scaleY);
        EXPECT_NEAR(m.ToPictureY(m.ToWidgetY(321)), 321.0, 1e-9);
        // What hangs 30 pixels under a stem reaching 20 below its centre stays 30 under it.
        EXPECT_DOUBLE_EQ(m.BelowStemY(396, 366), 300.0 + 20.0 * c.scaleY + 30.0);
    }
    // Off (FitStem) nothing scales across.
    EXPECT_DOUBLE_EQ(FitStem(View(272, 480), 1000, 20, 346, 300).ScaleY, 1.0);
    // A view without length keeps scale 1.
    const PictureMapping none = FillStem(View(512, 0, 512), 1000, 20, 346, 300, 4.0);
    EXPECT_DOUBLE_EQ(none.ScaleX, 1.0);
    EXPECT_DOUBLE_EQ(none.ScaleY, 1.0);

    struct Cap {
        double above, below, roomAbove, roomBelow, cap;
    };
    const Cap caps[] = {{50, 40, 200, 200, 4.0}, {50, 40, 200, 80, 2.0}, {50, 40, 20, 200, 1.0},
                        {0, 40, 10, 120, 3.0},   {50, 0, 150, 0, 3.0},   {80, 80, -5, 400, 1.0}};
    for (const Cap& c : caps) {
        EXPECT_DOUBLE_EQ(AcrossCap(c.above, c.below, c.roomAbove, c.roomBelow), c.cap)
            << c.above << " " << c.below << " in " << c.roomAbove << " " << c.roomBelow;
    }
    EXPECT_TRUE(std::isinf(AcrossCap(0, 0, 100, 100)));
}

TEST(PictureMapping, TheRowsUnderTheMainStem) {
    const StemView view = View(272, 480); // centre y 346
    const StemExtent extent{60, 40};
    const int readOutTop = 346 + kReadOutTopBelowCentre;
    // At scale 1 the read-out is where it always was: 104 below the centre.
    const PictureMapping flat = FitStem(view, 1000, 20, 346, 300);
    const BelowStemRows plain = LayOutBelowStem(flat, view, extent, readOutTop, false);
    EXPECT_DOUBLE_EQ(plain.ReadOutTop, 404.0);
    EXPECT_DOUBLE_EQ(plain.StripTop, 300.0 + 40.0 + kStripGap);
    EXPECT_DOUBLE_EQ(plain.StripBottom, plain.StripTop + kStripHeight);
    EXPECT_DOUBLE_EQ(plain.LegendBottom, plain.LegendTop + kLegendHeight);
    EXPECT_GT(plain.LegendTop, plain.StripBottom);
    // With the strip the read-out stays where it was while the legend fits above it.
    EXPECT_DOUBLE_EQ(LayOutBelowStem(flat, view, extent, readOutTop, true).ReadOutTop, 404.0);
    // Enlarged twice across: everything under the stem moves down with its bottom, 40 pixels.
    const PictureMapping twice = FillStem(view, 1000, 20, 346, 300, 2.0);
    const BelowStemRows enlarged = LayOutBelowStem(twice, view, extent, readOutTop, true);
    EXPECT_DOUBLE_EQ(enlarged.StripTop, plain.StripTop + 40.0);
    EXPECT_DOUBLE_EQ(enlarged.ReadOutTop, 444.0);
    // A stem reaching close to the read-out pushes it under the legend.
    const StemExtent deep{60, 95};
    const BelowStemRows pushed = LayOutBelowStem(flat, view, deep, readOutTop, true);
    EXPECT_DOUBLE_EQ(pushed.ReadOutTop, pushed.LegendBottom + 2.0);
    EXPECT_GT(pushed.ReadOutTop, 404.0);

    // The main picture's cap, 600 high with the stem on row 300 and 4 pixels kept free at the
    // edges. The end discs (their tops 100 over the centre) bound it above: 296 / 100.
    EXPECT_DOUBLE_EQ(MainPictureCap(view, extent, 600, readOutTop, 57, false), 2.96);
    EXPECT_DOUBLE_EQ(MainPictureCap(view, StemExtent{120, 10}, 600, readOutTop, 57, false),
                     296.0 / 120.0);
    // Below, the read-out keeps its 24 pixels under the stem and its 57: (300 - 4 - 81) / 80.
    const StemExtent low{60, 80};
    EXPECT_DOUBLE_EQ(MainPictureCap(view, low, 600, readOutTop, 57, false), 215.0 / 80.0);
    // With the strip, the strip, its legend and the taller read-out need 108 under the stem.
    EXPECT_DOUBLE_EQ(MainPictureCap(view, low, 600, readOutTop, 75, true), 188.0 / 80.0);
    // A picture too low for scale 1 keeps scale 1.
    EXPECT_DOUBLE_EQ(MainPictureCap(view, extent, 200, readOutTop, 57, false), 1.0);
}

} // namespace
} // namespace varnok
