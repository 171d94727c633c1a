#pragma once

#include "game/StemView.h"
#include "market/OptimalCuts.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace varnok {

enum class GameMode : std::uint8_t {
    Idle = 0,            // before the first game
    Buck = 1,            // buck and show the results
    BuckWithOptimal = 2, // buck and compare with the optimum
    Tracking = 3,        // one bucker, tracked
    GroupTracking = 4,   // a group of buckers, tracked
};

inline constexpr std::int32_t kEmptyCutPixel = 10000;

// The bucker's pattern of the tree in play: slot 0 is the butt (0 inches), slot Count - 1 the
// top (the stem length); the positions in inches and as x pixels of the stem picture, both
// ascending. Slots beyond Count hold 10000 in both arrays.
struct CutList {
    int Count = 0; // 0 before a tree is shown, then 2 to 27
    std::array<std::int32_t, kCutSlots> Inches{};
    std::array<std::int32_t, kCutSlots> Pixels{};

    std::vector<int> UsedInches() const;
    std::vector<int> UsedPixels() const;
};

inline constexpr int kReadOutTopBelowCentre = 104; // picture pixels
inline constexpr int kReadOutMinimumHeight = 57;   // pixels

// The read-out's height with its top at row `top` and the mouse at row `mouseY` (rows of one
// picture or widget, pixels): down to the mouse once the mouse is more than the least height
// below the top, else the least height.
int ReadOutHeight(double top, double mouseY);

// The measuring read-out that follows the mouse over the stem. Positions are picture pixels;
// the panel's top lies 104 pixels below the view centre, and it grows downwards when the mouse
// goes more than 161 pixels below the centre.
struct ReadOut {
    int SnappedX = 0;
    int Left = 0; // SnappedX - 80
    int Top = 0;  // view centre y + 104
    int Height = 57;
    std::string LeftGap;    // "<==  F' I\" "
    std::string RightGap;   // "F' I\"  ==>"
    std::string Diameter;   // "D \"", inches; empty until a station pair held a position
    std::string TreeLength; // the stem length text
    std::string ToButt;     // "F' I\" "
    std::string ToTop;
    bool CutAllowed = false; // the left gap is a whole number of 4-inch steps
    bool HoverOnCut = false; // the snapped x is a cut's pixel: that cut is highlighted
};

// The optimal pattern of the tree in play as its market stores it: the cuts, butt to top, or
// none and the words that say why the comparison has none.
struct StoredOptimum {
    std::vector<int> Cuts;
    std::string Missing; // empty when there are cuts
};

// The game state of the main window: the mode, the tree in play with its cut list and optimal
// cuts, the view rotation, the client size recorded when a game starts, and the bucking
// interaction (the 4-inch grid of candidate cuts, the snapped mouse position, the read-out).
// Plain state: no files, no drawing.
class GameState {
public:
    GameMode Mode = GameMode::Idle;
    int TreeNumber = 1;          // 1 to 150
    int ViewRotation = 1;        // 1 to 18
    double ClientWidth = 1024.0; // WindowClientSize, pixels
    double ClientHeight = 692.0;
    int StemRedrawn = 0; // 2 after the stem was redrawn, 1 after a comparison was made
    StoredOptimum OptimalCutList;

    const CutList& Cuts() const { return cuts_; }
    bool TreeShown() const { return cuts_.Count >= 2; }
    // The candidate cut pixels: butt x + 4, butt x + 8, ... strictly below the top x.
    const std::vector<int>& CutGrid() const { return grid_; }

    // Starts bucking the tree of `view`: the butt and the top only, rotation 1, the candidate
    // grid rebuilt, no snapped position and no diameter read yet. Never fails.
    void StartTree(int treeNumber, const StemView& view);
    // Puts the tree away: no cut list, no grid, nothing snapped, so that no mouse action or
    // length button can bring the old tree back. The tree number and rotation stay.
    void EndTree();

    // The mouse at picture x (fractional when the picture is scaled along the stem) and y.
    // Snaps to the nearest candidate (ties to the lower x; 500 pixels or more from every
    // candidate, the last snapped position stays) and works out the read-out. Where no pair of
    // stations holds the snapped position the last diameter stays. Nothing when no tree is
    // shown or nothing has been snapped yet.
    std::optional<ReadOut> MoveMouse(const StemView& view, double x, int y);

    // A left click at the snapped position, with the read-out visible or not: removes the cut
    // under the mouse (the highlighted one), else adds a cut there (refused when one stands
    // there or the list is full: 27 positions, butt and top included). Nothing unless the read-out
    // is visible, the left gap allows a cut, the snapped x lies between the butt and 160 pixels
    // beyond the top and the mouse itself was last over the stem (from the butt x to the top x:
    // the grid snaps a mouse well off either end to the nearest end candidate); cuts are added
    // only strictly between the butt and the top, and the butt and top are never removed. The
    // highlight is worked out by MoveMouse alone, so a second click without a move after a removal
    // does nothing. Returns whether the cut list changed.
    bool Click(bool readOutVisible);

    // Adds a log of `feet` (8 to 16) plus `trimInches` above the uppermost cut (or the butt);
    // refused when it would reach the top or the list is full, and for `feet` outside 8 to 16
    // or a negative trim. Returns whether it was added.
    bool AddLength(int feet, int trimInches);

    // Removes the cut nearest the top ("X"); nothing with no cut placed. Returns whether one
    // was removed.
    bool RemoveUppermost();

    // The view turned one step: 18 steps bring it back.
    void RotateUp() { ViewRotation = ViewRotation % kRotationSteps + 1; }
    void RotateDown() { ViewRotation = (ViewRotation + kRotationSteps - 2) % kRotationSteps + 1; }

private:
    // The grid point nearest to `x` (ties to the lower one) when one lies within reach.
    std::optional<int> Snap(double x) const;
    void Insert(int inches, int pixel);
    // Empties every slot at `inches` unless it is the butt or the top; whether one was emptied.
    bool RemoveSlots(int inches);
    void SortUsedSlots();

    CutList cuts_;
    std::vector<int> grid_;
    std::optional<int> snappedX_;
    double mouseX_ = 0.0;         // picture x of the last mouse move
    std::optional<int> diameter_; // the last diameter the read-out showed, inches
    int buttX_ = 0;
    int topX_ = 0;
    int stemLength_ = 0;
    bool cutAllowed_ = false;
    bool hoverOnCut_ = false;
};

// Whole feet and inches: "F' I\"".
std::string FeetAndInches(int inches);

// The stem diameter at `inches` from the butt, interpolated between the first pair of
// consecutive stations of the view that holds the position and rounded (halves to even); the
// pair's first diameter when both stations lie at the same position; nothing when no pair
// holds it.
std::optional<int> DiameterAt(const StemView& view, int inches);

} // namespace varnok
