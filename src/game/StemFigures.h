#pragma once

#include "game/StemView.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace varnok {

struct Rgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;

    bool operator==(const Rgb&) const = default;
};

// One thing a painter draws, in picture pixels: a filled polygon, an ellipse in its bounding
// box, or a straight line. A figure without Fill is not filled; one without Pen has no outline.
struct Figure {
    enum class Shape { Polygon, Ellipse, Line };
    Shape Kind = Shape::Polygon;
    // Polygon: its corners; Ellipse: the top-left and bottom-right corners of its bounding box
    // (the box includes both); Line: its two ends.
    std::vector<PixelPoint> Points;
    std::optional<Rgb> Fill;
    std::optional<Rgb> Pen;
    // A cut face keeps its round shape when the picture is scaled along the stem: only its
    // centre follows the stem, its size follows the scale across the stem.
    bool KeepsShape = false;
    // A line drawn dashed: a cut that is proposed, not made.
    bool Dashed = false;

    bool operator==(const Figure&) const = default;
};

// Which picture the figures are for. The main window draws bands, band patches, ellipses,
// seams, cut lines (y from CentreY - 266 to CentreY + 204) and the end-defect discs (top at
// CentreY - 100) at every cut that meets an end defect; a comparison picture draws everything
// 175 pixels higher, the ellipses before the band patches, cut lines from y CentreY - 336 to
// CentreY - 46 (10 to 300 on a 692-pixel client) and no discs. Heights are measured from the
// view centre so that the lines meet the stem whatever the client's height.
enum class StemPicture { MainWindow, Comparison };

// The figures of the stem at `rotation` (1 to 18; any other step is taken modulo 18, so 19 is
// 1 and 0 is 18) with cuts at `cutPixels` (x pixels, butt and top included, ascending) and
// `cutInches` (the same cuts in inches, slot for slot; the discs are drawn at the cuts that
// lie within an end defect, both ends included, record by record). Only the interior cuts get
// a line. Hidden ellipses and seam segments with a hidden end are left out. The picture is
// black before the first figure. Never fails.
std::vector<Figure> StemFigures(const StemView& view, int rotation, StemPicture picture,
                                std::span<const int> cutPixels, std::span<const int> cutInches);

// Dashed yellow lines on a comparison picture at `cutPixels` (x pixels): cuts proposed to the
// bucker. They reach `reach` pixels beyond the stem, which spans `above` pixels above and
// `below` below the view's centre line (the picture's own extent, see VerticalExtent), so
// that they cross no text around the stem. Never fails.
std::vector<Figure> ProposedCutFigures(const StemView& view, int above, int below,
                                       std::span<const int> cutPixels, int reach);

// The highlight of the cut under the mouse on the main window: black lines at x - 1 and x + 1
// over the cut lines' height.
std::vector<Figure> CutHighlightFigures(const StemView& view, int x);

// The end-defect key, 217 by 33 pixels: three grey discs with yellow (heart), red (stain) and
// black (decay) discs inside, beside the labels at x 32, 104 and 176. The outer discs' top is
// (imageHeight - 30) / 2, rounded halves to even.
std::vector<Figure> EndDefectKeyFigures(int imageHeight);

} // namespace varnok
