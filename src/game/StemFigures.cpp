#include "game/StemFigures.h"

#include "support/Numbers.h"

#include <algorithm>

namespace varnok {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kDiscGrey{160, 160, 160};

// The bands shade from light on top to dark below, as lit from above; a fork or bulge is 30
// darker than the band it lies on.
constexpr std::array<std::uint8_t, kBands> kBandGreys = {220, 200, 180, 160, 140};
constexpr std::array<std::uint8_t, kBands> kPatchGreys = {190, 170, 150, 130, 110};

// Fixed heights of the main window's picture, measured from its vertical centre so that the
// lines meet the stem on any screen (on the designed 692-pixel picture, y 80 to 550 and 246).
constexpr int kCutLineAboveCentre = 266;
constexpr int kCutLineBelowCentre = 204;
constexpr int kDiscTopAboveCentre = 100;

// A comparison picture shows the stem 175 pixels higher, and its cut lines span y 10 to 300
// of the designed picture: 161 above and 129 below the lifted centre line.
constexpr int kComparisonLift = 175;
constexpr int kComparisonLineAbove = 161;
constexpr int kComparisonLineBelow = 129;

constexpr int kSeamHidden = 0; // seam points below this in x or y are not drawn

Rgb Grey(std::uint8_t level) {
    return {level, level, level};
}

std::size_t RotationIndex(int rotation) {
    return static_cast<std::size_t>(((rotation - 1) % kRotationSteps + kRotationSteps) %
                                    kRotationSteps);
}

Figure Polygon(std::vector<PixelPoint> points, Rgb fill) {
    Figure f;
    f.Kind = Figure::Shape::Polygon;
    f.Points = std::move(points);
    f.Fill = fill;
    return f;
}

Figure Ellipse(PixelPoint topLeft, PixelPoint bottomRight, Rgb fill, Rgb pen) {
    Figure f;
    f.Kind = Figure::Shape::Ellipse;
    f.Points = {topLeft, bottomRight};
    f.Fill = fill;
    f.Pen = pen;
    return f;
}

Figure Line(PixelPoint from, PixelPoint to, Rgb pen) {
    Figure f;
    f.Kind = Figure::Shape::Line;
    f.Points = {from, to};
    f.Pen = pen;
    return f;
}

Figure VerticalLine(int x, int top, int bottom) {
    return Line({x, top}, {x, bottom}, kBlack);
}

PixelPoint Lifted(PixelPoint p, int lift) {
    return {p.X, p.Y - lift};
}

class FigureList {
public:
    explicit FigureList(int lift) : lift_(lift) {}

    void AddBands(const StemView& view, std::size_t r) {
        for (std::size_t band = 0; band < kBands; ++band) {
            std::vector<PixelPoint> points = view.Bands[r][band];
            for (PixelPoint& p : points) {
                p = Lifted(p, lift_);
            }
            figures_.push_back(Polygon(std::move(points), Grey(kBandGreys[band])));
        }
    }

    void AddPatches(const StemView& view, std::size_t r) {
        for (const BandPatch& patch : view.Patches[r]) {
            for (std::size_t band = 0; band < kBands; ++band) {
                std::vector<PixelPoint> corners;
                for (const PixelPoint& p : patch[band]) {
                    corners.push_back(Lifted(p, lift_));
                }
                figures_.push_back(Polygon(std::move(corners), Grey(kPatchGreys[band])));
            }
        }
    }

    void AddEllipses(const StemView& view, std::size_t r) {
        for (const EllipseFigure& e : view.Ellipses[r]) {
            if (e.Hidden()) {
                continue;
            }
            const int halfWidth =
                RoundToInt32((static_cast<double>(e.HalfWidth) + 0.01) * kFigureScale);
            const int halfHeight = RoundToInt32(static_cast<double>(e.HalfHeight) * kFigureScale);
            const PixelPoint centre = Lifted({e.CentreX, e.CentreY}, lift_);
            figures_.push_back(Ellipse({centre.X - halfWidth, centre.Y - halfHeight},
                                       {centre.X + halfWidth, centre.Y + halfHeight}, kMagenta,
                                       kBlack));
        }
    }

    // A segment is drawn only when both of its ends lie on the visible side (hidden points
    // are parked at negative coordinates).
    void AddSeams(const StemView& view, std::size_t r) {
        const auto shown = [](const PixelPoint& p) {
            return p.X >= kSeamHidden && p.Y >= kSeamHidden;
        };
        for (const SeamLine& seam : view.Seams[r]) {
            for (std::size_t j = 0; j + 1 < seam.size(); ++j) {
                if (shown(seam[j]) && shown(seam[j + 1])) {
                    figures_.push_back(
                        Line(Lifted(seam[j], lift_), Lifted(seam[j + 1], lift_), kRed));
                }
            }
        }
    }

    // The butt and the top are the stem's own ends and get no line.
    void AddCutLines(std::span<const int> cutPixels, int top, int bottom) {
        for (std::size_t i = 1; i + 1 < cutPixels.size(); ++i) {
            figures_.push_back(VerticalLine(cutPixels[i], top, bottom));
        }
    }

    void Add(Figure figure) { figures_.push_back(std::move(figure)); }

    std::vector<Figure> Take() { return std::move(figures_); }

private:
    int lift_ = 0;
    std::vector<Figure> figures_;
};

// The stem's radius at `inches`, between the first pair of stations that holds it; the pair's
// first station when both stand at the same position, the nearest end outside the stem.
double StemRadiusAt(const StemView& view, int inches) {
    const std::vector<StemStation>& s = view.Stations;
    if (s.empty()) {
        return 0.0;
    }
    if (inches <= s.front().Position) {
        return s.front().Diameter * 0.5;
    }
    for (std::size_t k = 1; k < s.size(); ++k) {
        if (s[k - 1].Position <= inches && inches <= s[k].Position) {
            const double low = s[k - 1].Diameter * 0.5;
            if (s[k].Position == s[k - 1].Position) {
                return low;
            }
            return (s[k].Diameter * 0.5 - low) * (inches - s[k - 1].Position) /
                       (s[k].Position - s[k - 1].Position) +
                   low;
        }
    }
    return s.back().Diameter * 0.5;
}

// The defect's radius at `inches`; a defect that starts and ends at the same inch keeps its
// start diameter.
double DefectRadiusAt(const EndDefectRecord& d, int inches) {
    const double low = d.StartDiameter * 0.5;
    if (d.End == d.Start) {
        return low;
    }
    return (d.EndDiameter * 0.5 - low) * (inches - d.Start) / (d.End - d.Start) + low;
}

Rgb EndDefectColour(std::uint8_t kind) {
    switch (static_cast<DefectKind>(kind)) {
    case DefectKind::Stain:
        return kRed;
    case DefectKind::Heart:
        return kYellow;
    default:
        return kBlack;
    }
}

// The cut face at pixel x: the stem's cross-section in grey, the defect's centred inside it.
void AddDisc(FigureList& figures, const StemView& view, const EndDefectRecord& defect, int x,
             int inches) {
    const int top = view.CentreY - kDiscTopAboveCentre;
    const double r = StemRadiusAt(view, inches);
    const double q = DefectRadiusAt(defect, inches);
    const int c = RoundToInt32(2.0 * r * kFigureScale);
    const int m = RoundToInt32(c * 0.5);
    const int left = x - m;
    Figure face = Ellipse({left, top}, {left + c, top + c}, kDiscGrey, kBlack);
    face.KeepsShape = true;
    figures.Add(std::move(face));
    const int inner = RoundToInt32((q + 0.01) * 2.0 * kFigureScale);
    const int o = RoundToInt32((c - inner) * 0.5);
    Figure defectDisc = Ellipse({left + o, top + o}, {left + o + inner, top + o + inner},
                                EndDefectColour(defect.Kind), kBlack);
    defectDisc.KeepsShape = true;
    figures.Add(std::move(defectDisc));
}

void AddDiscs(FigureList& figures, const StemView& view, std::span<const int> cutPixels,
              std::span<const int> cutInches) {
    const std::size_t slots = std::min(cutPixels.size(), cutInches.size());
    for (const EndDefectRecord& defect : view.EndDefects) {
        for (std::size_t i = 0; i < slots; ++i) {
            const int inches = cutInches[i];
            if (defect.Start <= inches && inches <= defect.End) {
                AddDisc(figures, view, defect, cutPixels[i], inches);
            }
        }
    }
}

} // namespace

std::vector<Figure> StemFigures(const StemView& view, int rotation, StemPicture picture,
                                std::span<const int> cutPixels, std::span<const int> cutInches) {
    const std::size_t r = RotationIndex(rotation);
    if (picture == StemPicture::Comparison) {
        FigureList figures(kComparisonLift);
        figures.AddBands(view, r);
        figures.AddEllipses(view, r);
        figures.AddPatches(view, r);
        figures.AddSeams(view, r);
        const int centre = view.CentreY - kComparisonLift;
        figures.AddCutLines(cutPixels, centre - kComparisonLineAbove,
                            centre + kComparisonLineBelow);
        return figures.Take();
    }
    FigureList figures(0);
    figures.AddBands(view, r);
    figures.AddPatches(view, r);
    figures.AddEllipses(view, r);
    figures.AddSeams(view, r);
    figures.AddCutLines(cutPixels, view.CentreY - kCutLineAboveCentre,
                        view.CentreY + kCutLineBelowCentre);
    AddDiscs(figures, view, cutPixels, cutInches);
    return figures.Take();
}

std::vector<Figure> ProposedCutFigures(const StemView& view, int above, int below,
                                       std::span<const int> cutPixels, int reach) {
    const int centre = view.CentreY - kComparisonLift;
    std::vector<Figure> figures;
    figures.reserve(cutPixels.size());
    for (const int x : cutPixels) {
        Figure line = Line({x, centre - above - reach}, {x, centre + below + reach}, kYellow);
        line.Dashed = true;
        figures.push_back(std::move(line));
    }
    return figures;
}

std::vector<Figure> CutHighlightFigures(const StemView& view, int x) {
    const int top = view.CentreY - kCutLineAboveCentre;
    const int bottom = view.CentreY + kCutLineBelowCentre;
    return {VerticalLine(x - 1, top, bottom), VerticalLine(x + 1, top, bottom)};
}

std::vector<Figure> EndDefectKeyFigures(int imageHeight) {
    // Discs 28 pixels across, their insides 18 across, centred in the image's height.
    const int top = RoundToInt32((imageHeight - 30) / 2.0);
    constexpr std::array<int, 3> kLefts = {2, 72, 142};
    constexpr std::array<Rgb, 3> kInsides = {kYellow, kRed, kBlack}; // heart, stain, decay
    std::vector<Figure> figures;
    for (const int left : kLefts) {
        figures.push_back(Ellipse({left, top}, {left + 28, top + 28}, kDiscGrey, kBlack));
    }
    for (std::size_t i = 0; i < kLefts.size(); ++i) {
        const int left = kLefts[i] + 5;
        figures.push_back(Ellipse({left, top + 5}, {left + 18, top + 23}, kInsides[i], kBlack));
    }
    return figures;
}

} // namespace varnok
