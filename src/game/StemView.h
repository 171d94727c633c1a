#pragma once

#include "rules/DefectFilterSet.h"
#include "support/DataFolder.h"
#include "tree/DefectFile.h"
#include "tree/ShapeFile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnok {

// The stem picture's geometry of one tree, built once when the tree is shown and drawn at any
// of 18 rotation steps. Coordinates are pixels of the picture (x to the right, y downwards):
// 1 pixel per inch along the stem, 2 pixels per inch of radius across it, the stem centred on
// the view centre. Everything here is plain data; a painter only draws it.
inline constexpr int kRotationSteps = 18;
inline constexpr int kBands = 5;
inline constexpr int kFigureScale = 2; // pixels per inch of ellipse sizes and end discs

struct PixelPoint {
    int X = 0;
    int Y = 0;

    bool operator==(const PixelPoint&) const = default;
};

// A measured cross-section as the picture uses it.
struct StemStation {
    int Position = 0; // inches from the butt
    int Diameter = 0; // inches
    int OffsetA = 0;  // first-plane offset, whole inches, trend removed
    int OffsetB = 0;  // second-plane offset, whole inches, trend removed
};

// A knot, bump or surface rise at one rotation; a figure on the hidden side has centre
// (-10, -10) and no size.
struct EllipseFigure {
    float HalfHeight = 0.0F; // pixels before the figure scale
    float HalfWidth = 0.0F;
    int CentreX = -10;
    int CentreY = -10;

    bool Hidden() const { return CentreX == -10 && CentreY == -10; }
};

// A fork or bulge at one rotation: one quadrilateral per band, corners (start, upper),
// (end, upper), (end, lower), (start, lower).
using BandPatch = std::array<std::array<PixelPoint, 4>, kBands>;

// A seam at one rotation: ten points from its start to its end; a point on the hidden side is
// (-20, -20).
using SeamLine = std::array<PixelPoint, 10>;

// A decay, stain or heart defect, drawn as a disc where a cut meets it.
struct EndDefectRecord {
    int Start = 0;                  // inches from the butt
    int End = 0;                    // inches
    std::uint8_t StartDiameter = 0; // inches
    std::uint8_t EndDiameter = 0;
    std::uint8_t Kind = 0; // 6 decay, 7 stain, 8 heart (DefectKind)
};

struct StemView {
    int CentreX = 0; // the view centre, pixels
    int CentreY = 0;
    int StemLength = 0;                // inches: the position of the last station
    std::vector<StemStation> Stations; // file order
    // [rotation step - 1][station]: the rotated offsets, pixels; B is the vertical displacement
    // of the centre line, A is worked out but not drawn.
    std::array<std::vector<int>, kRotationSteps> RotatedA;
    std::array<std::vector<int>, kRotationSteps> RotatedB;
    // [rotation step - 1][band]: 2n points, the band's upper line butt to top, then its lower
    // line top to butt.
    std::array<std::array<std::vector<PixelPoint>, kBands>, kRotationSteps> Bands;
    // [rotation step - 1][figure], in defect-file order.
    std::array<std::vector<EllipseFigure>, kRotationSteps> Ellipses;
    std::array<std::vector<BandPatch>, kRotationSteps> Patches;
    std::array<std::vector<SeamLine>, kRotationSteps> Seams;
    std::vector<EndDefectRecord> EndDefects;
    int ButtX = 0;              // x of the first point of band 1 at rotation 1
    int TopX = 0;               // x of its point n + 1
    std::string StemLengthText; // (TopX - ButtX) inches as feet, "' ", inches and '"'
};

// Builds the geometry from the cross-sections of a shape file and the defect lines of its
// defect file (already passed through the market's filter set), with the view centre
// (centreX, centreY). Offsets are rounded to whole inches (halves to even) before the trend is
// removed. Defect lines whose code names no kind are skipped; a field that does not convert
// reads as 0. Where a divisor would be zero (stations at the same position, an end defect that
// starts and ends at the same inch) the start value is taken; a defect position beyond either
// end of the stem takes that end's diameter and displacement. Never fails: the readers have
// checked the files, and the engine's tree load refuses defects the stem cannot hold.
StemView BuildStemView(const std::vector<CrossSection>& sections,
                       const std::vector<DefectLine>& defects, int centreX, int centreY);

// Reads tree `treeNumber`'s shape and defect files (through `filter`) and builds its view with
// the centre of a client area `clientWidth` by `clientHeight` pixels (each half rounded, halves
// to even). Throws FileError as the tree readers do.
StemView LoadStemView(const DataFolder& data, int treeNumber, const DefectFilterSet& filter,
                      double clientWidth, double clientHeight);

} // namespace varnok
