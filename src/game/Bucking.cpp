#include "game/Bucking.h"

#include "support/Numbers.h"

#include <algorithm>
#include <cmath>

namespace varnok {
namespace {

constexpr int kGridStep = 4;              // inches (and pixels) between candidate cuts
constexpr double kSnapReach = 500.0;      // pixels: a grid point this far away or more is ignored
constexpr int kReadOutHalfWidth = 80;     // pixels left of the snapped x
constexpr int kClickReachBeyondTop = 160; // pixels
constexpr int kMaxCutCount = static_cast<int>(kCutSlots);

constexpr const char* kInchSign = "\"";

// The slot of the cut just left of `x`: the last used slot whose pixel lies below it.
int LeftNeighbour(const CutList& cuts, int x) {
    int slot = 0;
    for (int i = 1; i < cuts.Count; ++i) {
        if (cuts.Pixels[static_cast<std::size_t>(i)] >= x) {
            break;
        }
        slot = i;
    }
    return slot;
}

// The slot of the cut just right of `x`: the first used slot whose pixel lies above it, the
// top when none does.
int RightNeighbour(const CutList& cuts, int x) {
    for (int i = 0; i < cuts.Count; ++i) {
        if (cuts.Pixels[static_cast<std::size_t>(i)] > x) {
            return i;
        }
    }
    return cuts.Count - 1;
}

} // namespace

std::vector<int> CutList::UsedInches() const {
    return {Inches.begin(), Inches.begin() + Count};
}

std::vector<int> CutList::UsedPixels() const {
    return {Pixels.begin(), Pixels.begin() + Count};
}

int ReadOutHeight(double top, double mouseY) {
    const double below = mouseY - top;
    return below > kReadOutMinimumHeight ? static_cast<int>(std::lround(below))
                                         : kReadOutMinimumHeight;
}

std::string FeetAndInches(int inches) {
    return std::to_string(inches / 12) + "' " + std::to_string(inches % 12) + kInchSign;
}

std::optional<int> DiameterAt(const StemView& view, int inches) {
    const std::vector<StemStation>& stations = view.Stations;
    for (std::size_t k = 1; k < stations.size(); ++k) {
        const StemStation& lower = stations[k - 1];
        const StemStation& upper = stations[k];
        if (inches < lower.Position || inches > upper.Position) {
            continue;
        }
        // Two stations at one height give no slope: the first one's diameter stands.
        if (upper.Position == lower.Position) {
            return lower.Diameter;
        }
        const double share = static_cast<double>(inches - lower.Position) /
                             static_cast<double>(upper.Position - lower.Position);
        const double diameter = lower.Diameter + share * (upper.Diameter - lower.Diameter);
        return static_cast<int>(RoundToInt(diameter));
    }
    return std::nullopt;
}

void GameState::StartTree(int treeNumber, const StemView& view) {
    EndTree();
    TreeNumber = treeNumber;
    ViewRotation = 1;
    buttX_ = view.ButtX;
    topX_ = view.TopX;
    stemLength_ = view.StemLength;

    cuts_.Count = 2;
    cuts_.Inches.fill(kEmptyCutPixel);
    cuts_.Pixels.fill(kEmptyCutPixel);
    cuts_.Inches[0] = 0;
    cuts_.Inches[1] = stemLength_;
    cuts_.Pixels[0] = buttX_;
    cuts_.Pixels[1] = topX_;

    for (int x = buttX_ + kGridStep; x < topX_; x += kGridStep) {
        grid_.push_back(x);
    }
}

void GameState::EndTree() {
    cuts_ = CutList{};
    grid_.clear();
    snappedX_.reset();
    diameter_.reset();
    cutAllowed_ = false;
    hoverOnCut_ = false;
}

std::optional<int> GameState::Snap(double x) const {
    std::optional<int> best;
    double bestDistance = kSnapReach;
    for (const int candidate : grid_) {
        const double distance = std::abs(static_cast<double>(candidate) - x);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::optional<ReadOut> GameState::MoveMouse(const StemView& view, double x, int y) {
    if (!TreeShown()) {
        return std::nullopt;
    }
    mouseX_ = x;
    if (const std::optional<int> snapped = Snap(x)) {
        snappedX_ = snapped;
    }
    if (!snappedX_) {
        return std::nullopt;
    }
    const int snapped = *snappedX_;

    ReadOut out;
    out.SnappedX = snapped;
    out.Left = snapped - kReadOutHalfWidth;
    out.Top = view.CentreY + kReadOutTopBelowCentre;
    out.Height = ReadOutHeight(out.Top, y);

    const int toButt = snapped - buttX_;
    const int toTop = topX_ - snapped;
    const int leftGap =
        snapped - cuts_.Pixels[static_cast<std::size_t>(LeftNeighbour(cuts_, snapped))];
    const int rightGap =
        cuts_.Pixels[static_cast<std::size_t>(RightNeighbour(cuts_, snapped))] - snapped;
    cutAllowed_ = leftGap % kGridStep == 0;

    out.LeftGap = "<==  " + FeetAndInches(leftGap) + " ";
    out.RightGap = FeetAndInches(rightGap) + "  ==>";
    // Where no pair of stations holds the position the read-out keeps the last diameter shown.
    if (const std::optional<int> diameter = DiameterAt(view, toButt)) {
        diameter_ = diameter;
    }
    out.Diameter = diameter_ ? std::to_string(*diameter_) + " " + kInchSign : std::string();
    out.TreeLength = view.StemLengthText;
    out.ToButt = FeetAndInches(toButt) + " ";
    out.ToTop = FeetAndInches(toTop) + " ";

    const std::vector<int> pixels = cuts_.UsedPixels();
    hoverOnCut_ = std::find(pixels.begin(), pixels.end(), snapped) != pixels.end();
    out.CutAllowed = cutAllowed_;
    out.HoverOnCut = hoverOnCut_;
    return out;
}

bool GameState::Click(bool readOutVisible) {
    if (!TreeShown() || !snappedX_) {
        return false;
    }
    const int snapped = *snappedX_;
    const bool overStem = mouseX_ >= buttX_ && mouseX_ <= topX_;
    if (!overStem || snapped < buttX_ || snapped > topX_ + kClickReachBeyondTop ||
        !readOutVisible || !cutAllowed_) {
        return false;
    }
    const int inches = snapped - buttX_;
    // The highlight is only worked out again when the mouse moves, so a second click on a cut
    // just removed finds nothing to remove and does not put it back.
    if (hoverOnCut_) {
        return RemoveSlots(inches);
    }
    if (inches <= 0 || inches >= stemLength_ || snapped <= buttX_ || snapped >= topX_) {
        return false;
    }
    const std::vector<int> used = cuts_.UsedInches();
    if (std::find(used.begin(), used.end(), inches) != used.end() || cuts_.Count >= kMaxCutCount) {
        return false;
    }
    Insert(inches, snapped);
    return true;
}

bool GameState::AddLength(int feet, int trimInches) {
    if (!TreeShown() || feet < 8 || feet > 16 || trimInches < 0) {
        return false;
    }
    const auto below = static_cast<std::size_t>(cuts_.Count - 2);
    const int length = trimInches + 12 * feet;
    const int inches = cuts_.Inches[below] + length;
    if (inches >= cuts_.Inches[static_cast<std::size_t>(cuts_.Count - 1)] ||
        cuts_.Count >= kMaxCutCount) {
        return false;
    }
    Insert(inches, cuts_.Pixels[below] + length);
    return true;
}

bool GameState::RemoveUppermost() {
    if (cuts_.Count <= 2) {
        return false;
    }
    return RemoveSlots(cuts_.Inches[static_cast<std::size_t>(cuts_.Count - 2)]);
}

void GameState::Insert(int inches, int pixel) {
    const auto slot = static_cast<std::size_t>(cuts_.Count);
    cuts_.Inches[slot] = inches;
    cuts_.Pixels[slot] = pixel;
    ++cuts_.Count;
    SortUsedSlots();
}

bool GameState::RemoveSlots(int inches) {
    if (inches == 0 || inches == stemLength_) {
        return false;
    }
    int removed = 0;
    for (int i = 0; i < cuts_.Count; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        if (cuts_.Inches[slot] == inches) {
            cuts_.Inches[slot] = kEmptyCutPixel;
            cuts_.Pixels[slot] = kEmptyCutPixel;
            ++removed;
        }
    }
    if (removed == 0) {
        return false;
    }
    // The emptied slots sort to the end, past every position a stem can have.
    SortUsedSlots();
    cuts_.Count -= removed;
    return true;
}

void GameState::SortUsedSlots() {
    std::sort(cuts_.Inches.begin(), cuts_.Inches.begin() + cuts_.Count);
    std::sort(cuts_.Pixels.begin(), cuts_.Pixels.begin() + cuts_.Count);
}

} // namespace varnok
