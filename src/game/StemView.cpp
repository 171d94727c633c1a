#include "game/StemView.h"

#include "support/Numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace varnok {
namespace {

// The picture's angles keep the short precision its figures were laid out with, so that every
// figure lands on its established pixel: a rotation step is a little less than 20 degrees, a
// band a little less than 36, and degrees become radians a little short of pi / 180.
constexpr double kRotationStep = 0.349;
constexpr double kBandAngle = 0.6282;
constexpr double kRadiansPerDegree = 0.01745;
// Surface figures stand on a circle a little wider than the stem's outline of 2 pixels per
// inch of radius, so that they show on the silhouette's edge.
constexpr double kFigureRadiusFactor = 1.9;
constexpr int kSeamPoints = 10;

// Only a damaged file holds numbers of inches beyond a million; they are held there so that
// the pixel arithmetic stays within the range of int.
constexpr double kLargestInches = 1.0e6;

double InchesOfFeet(const std::string& field) {
    const double feet = ParseDecimal(field).value_or(0.0);
    return std::clamp(RoundHalfEven(feet * 12.0), -kLargestInches, kLargestInches);
}

int IntegerOf(const std::string& field) {
    return ParseInteger(field).value_or(0);
}

// Linear interpolation between two stations; when both stand at the same position the start
// value is taken rather than dividing by zero.
double Interpolate(double low, double high, double position, int lowPosition, int highPosition) {
    if (highPosition == lowPosition) {
        return low;
    }
    return low + (high - low) * (position - lowPosition) / (highPosition - lowPosition);
}

// The first pair of consecutive stations holding `position`. A position below the butt or
// above the top pairs the end station with itself, so that it takes that station's values.
struct StationPair {
    std::size_t Low = 0;
    std::size_t High = 0;
};

StationPair PairAround(const std::vector<StemStation>& stations, double position) {
    if (stations.empty() || position <= stations.front().Position) {
        return {};
    }
    for (std::size_t k = 0; k + 1 < stations.size(); ++k) {
        if (stations[k].Position <= position && position <= stations[k + 1].Position) {
            return {k, k + 1};
        }
    }
    return {stations.size() - 1, stations.size() - 1};
}

// What a figure needs of the stem at one position along it.
struct StemAt {
    double Diameter = 0.0;     // inches
    double Displacement = 0.0; // pixels, the vertical displacement of the centre line
};

class Geometry {
public:
    explicit Geometry(const StemView& view) : view_(view) {}

    int X(double position) const {
        return RoundToInt32(position - view_.StemLength * 0.5) + view_.CentreX;
    }

    // The upper or lower edge of band `band` (0 to 4 from the top) at one stem position.
    int BandY(int band, bool lower, double displacement, double diameter) const {
        const double angle = kBandAngle * (lower ? band + 1 : band);
        return RoundToInt32(displacement - std::cos(angle) * diameter + view_.CentreY);
    }

    StemAt At(std::size_t rotation, double position) const {
        const std::vector<StemStation>& stations = view_.Stations;
        if (stations.empty()) {
            return {};
        }
        const StationPair pair = PairAround(stations, position);
        const StemStation& low = stations[pair.Low];
        const StemStation& high = stations[pair.High];
        const std::vector<int>& displacement = view_.RotatedB[rotation];
        return {Interpolate(low.Diameter, high.Diameter, position, low.Position, high.Position),
                Interpolate(displacement[pair.Low], displacement[pair.High], position, low.Position,
                            high.Position)};
    }

    // A point on the surface at `degrees` around the stem, seen at rotation `rotation` (0 to
    // 17), whose view angle is 20 degrees per step counted from 1. Nothing on the hidden side.
    struct SurfacePoint {
        int X = 0;
        int Y = 0;
        double Radius = 0.0;   // pixels
        double Relative = 0.0; // degrees, the point's angle less the view angle
    };
    std::optional<SurfacePoint> Project(std::size_t rotation, double position,
                                        double degrees) const {
        const double relative = degrees - 20.0 * static_cast<double>(rotation + 1);
        if (std::sin(relative * kRadiansPerDegree) <= 0.0) {
            return std::nullopt;
        }
        const StemAt stem = At(rotation, position);
        const double radius = stem.Diameter * 0.5 * kFigureRadiusFactor;
        const int y =
            RoundToInt32(stem.Displacement - std::cos(relative * kRadiansPerDegree) * radius) +
            view_.CentreY;
        return SurfacePoint{X(position), y, radius, relative};
    }

private:
    const StemView& view_;
};

std::vector<StemStation> MakeStations(const std::vector<CrossSection>& sections) {
    std::vector<StemStation> stations;
    stations.reserve(sections.size());
    for (const CrossSection& s : sections) {
        StemStation station;
        station.Position = s.Position;
        station.Diameter = s.Diameter;
        station.OffsetA = RoundToInt32(std::clamp(s.OffsetY, -kLargestInches, kLargestInches));
        station.OffsetB = RoundToInt32(std::clamp(s.OffsetX, -kLargestInches, kLargestInches));
        stations.push_back(station);
    }
    return stations;
}

// The straight line from the butt's offset to the top's is the lean of the whole stem, not
// sweep: it is taken off the interior stations, and the ends are put on the axis.
int Detrended(int offset, int position, int stemLength, int first, int last) {
    if (stemLength == 0) {
        return offset - first;
    }
    const double length = stemLength;
    return offset - RoundToInt32((stemLength - position) * static_cast<double>(first) / length) -
           RoundToInt32(last * static_cast<double>(position) / length);
}

void RemoveTrend(std::vector<StemStation>& stations, int stemLength) {
    if (stations.empty()) {
        return;
    }
    const StemStation first = stations.front();
    const StemStation last = stations.back();
    for (std::size_t k = 1; k + 1 < stations.size(); ++k) {
        StemStation& s = stations[k];
        s.OffsetA = Detrended(s.OffsetA, s.Position, stemLength, first.OffsetA, last.OffsetA);
        s.OffsetB = Detrended(s.OffsetB, s.Position, stemLength, first.OffsetB, last.OffsetB);
    }
    stations.front().OffsetA = 0;
    stations.front().OffsetB = 0;
    stations.back().OffsetA = 0;
    stations.back().OffsetB = 0;
}

void RotateOffsets(StemView& view) {
    for (std::size_t r = 0; r < kRotationSteps; ++r) {
        const double angle = kRotationStep * static_cast<double>(r);
        std::vector<int>& a = view.RotatedA[r];
        std::vector<int>& b = view.RotatedB[r];
        a.clear();
        b.clear();
        for (const StemStation& s : view.Stations) {
            if (r == 0) {
                a.push_back(s.OffsetA);
                b.push_back(s.OffsetB);
                continue;
            }
            a.push_back(RoundToInt32(std::cos(angle) * s.OffsetA + std::sin(angle) * s.OffsetB));
            b.push_back(RoundToInt32(std::cos(angle) * s.OffsetB - std::sin(angle) * s.OffsetA));
        }
    }
}

void BuildBands(StemView& view, const Geometry& geometry) {
    const std::size_t n = view.Stations.size();
    for (std::size_t r = 0; r < kRotationSteps; ++r) {
        for (int band = 0; band < kBands; ++band) {
            std::vector<PixelPoint>& points = view.Bands[r][static_cast<std::size_t>(band)];
            points.assign(2 * n, PixelPoint{});
            for (std::size_t k = 0; k < n; ++k) {
                const StemStation& s = view.Stations[k];
                const double v = view.RotatedB[r][k];
                const int x = geometry.X(s.Position);
                points[k] = {x, geometry.BandY(band, false, v, s.Diameter)};
                points[2 * n - 1 - k] = {x, geometry.BandY(band, true, v, s.Diameter)};
            }
        }
    }
}

// The vertical extent of half the defect's width laid round the circle of the figure radius:
// measured towards the outline on whichever side of the stem's horizon the figure lies.
double HalfHeight(double radius, double relative, int width) {
    if (radius == 0.0) {
        return 0.0;
    }
    const double h = (width * 0.5) * 360.0 / (radius * 2.0 * std::numbers::pi);
    const auto cosine = [](double degrees) { return std::cos(degrees * kRadiansPerDegree); };
    if (relative > 90.0) {
        return std::fabs(radius * cosine(relative) - radius * cosine(relative + h));
    }
    return std::fabs(radius * cosine(relative - h) - radius * cosine(relative));
}

void AddEllipse(StemView& view, const Geometry& geometry, const DefectLine& line) {
    const double position = InchesOfFeet(line.Fields[0]);
    const double degrees = IntegerOf(line.Fields[1]) * 10.0;
    const int width = IntegerOf(line.Fields[2]);
    const int length = IntegerOf(line.Fields[3]);
    for (std::size_t r = 0; r < kRotationSteps; ++r) {
        EllipseFigure figure;
        if (const auto point = geometry.Project(r, position, degrees)) {
            figure.CentreX = point->X;
            figure.CentreY = point->Y;
            figure.HalfWidth = static_cast<float>(length * 0.5);
            figure.HalfHeight =
                static_cast<float>(HalfHeight(point->Radius, point->Relative, width));
        }
        view.Ellipses[r].push_back(figure);
    }
}

void AddSeam(StemView& view, const Geometry& geometry, const DefectLine& line) {
    const double start = InchesOfFeet(line.Fields[0]);
    const double end = InchesOfFeet(line.Fields[2]);
    double startAngle = IntegerOf(line.Fields[1]) * 10.0;
    double endAngle = IntegerOf(line.Fields[3]) * 10.0;
    // A seam runs the short way round the stem, across sector 0 when that is shorter.
    if (endAngle - startAngle > 179.0) {
        startAngle += 360.0;
    } else if (startAngle - endAngle > 179.0) {
        endAngle += 360.0;
    }
    for (std::size_t r = 0; r < kRotationSteps; ++r) {
        SeamLine seam;
        for (int j = 0; j < kSeamPoints; ++j) {
            const double position = start + (end - start) * j / (kSeamPoints - 1);
            const double degrees = startAngle + (endAngle - startAngle) * j / (kSeamPoints - 1);
            const auto point = geometry.Project(r, position, degrees);
            seam[static_cast<std::size_t>(j)] =
                point ? PixelPoint{point->X, point->Y} : PixelPoint{-20, -20};
        }
        view.Seams[r].push_back(seam);
    }
}

void AddPatch(StemView& view, const Geometry& geometry, const DefectLine& line) {
    const double start = InchesOfFeet(line.Fields[0]);
    const double end = InchesOfFeet(line.Fields[1]);
    const int xs = geometry.X(start);
    const int xe = geometry.X(end);
    for (std::size_t r = 0; r < kRotationSteps; ++r) {
        const StemAt s = geometry.At(r, start);
        const StemAt e = geometry.At(r, end);
        BandPatch patch;
        for (int band = 0; band < kBands; ++band) {
            patch[static_cast<std::size_t>(band)] = {{
                {xs, geometry.BandY(band, false, s.Displacement, s.Diameter)},
                {xe, geometry.BandY(band, false, e.Displacement, e.Diameter)},
                {xe, geometry.BandY(band, true, e.Displacement, e.Diameter)},
                {xs, geometry.BandY(band, true, s.Displacement, s.Diameter)},
            }};
        }
        view.Patches[r].push_back(patch);
    }
}

void AddEndDefect(StemView& view, DefectKind kind, const DefectLine& line) {
    const auto diameter = [](const std::string& field) {
        return static_cast<std::uint8_t>(std::clamp(IntegerOf(field), 0, 255));
    };
    EndDefectRecord record;
    record.Start = RoundToInt32(InchesOfFeet(line.Fields[0]));
    record.End = RoundToInt32(InchesOfFeet(line.Fields[1]));
    record.StartDiameter = diameter(line.Fields[2]);
    record.EndDiameter = diameter(line.Fields[3]);
    record.Kind = static_cast<std::uint8_t>(kind);
    view.EndDefects.push_back(record);
}

void AddDefect(StemView& view, const Geometry& geometry, const DefectLine& line) {
    const std::optional<DefectKind> kind = KindOfCode(line.Code);
    if (!kind) {
        return;
    }
    switch (*kind) {
    case DefectKind::Knot:
    case DefectKind::Bump:
    case DefectKind::SurfaceRise:
        AddEllipse(view, geometry, line);
        return;
    case DefectKind::Seam:
        AddSeam(view, geometry, line);
        return;
    case DefectKind::Fork:
    case DefectKind::Bulge:
        AddPatch(view, geometry, line);
        return;
    case DefectKind::Decay:
    case DefectKind::Stain:
    case DefectKind::Heart:
        AddEndDefect(view, *kind, line);
        return;
    }
}

std::string LengthText(int inches) {
    return std::to_string(inches / 12) + "' " + std::to_string(inches % 12) + "\"";
}

} // namespace

StemView BuildStemView(const std::vector<CrossSection>& sections,
                       const std::vector<DefectLine>& defects, int centreX, int centreY) {
    StemView view;
    view.CentreX = centreX;
    view.CentreY = centreY;
    view.Stations = MakeStations(sections);
    view.StemLength = view.Stations.empty() ? 0 : view.Stations.back().Position;
    RemoveTrend(view.Stations, view.StemLength);
    RotateOffsets(view);
    const Geometry geometry(view);
    BuildBands(view, geometry);
    for (const DefectLine& line : defects) {
        AddDefect(view, geometry, line);
    }
    const std::vector<PixelPoint>& outline = view.Bands[0][0];
    if (!outline.empty()) {
        view.ButtX = outline.front().X;
        view.TopX = outline[view.Stations.size()].X;
    }
    view.StemLengthText = LengthText(view.TopX - view.ButtX);
    return view;
}

StemView LoadStemView(const DataFolder& data, int treeNumber, const DefectFilterSet& filter,
                      double clientWidth, double clientHeight) {
    const std::vector<CrossSection> sections = ReadCrossSections(data.ShapeFile(treeNumber));
    const std::vector<DefectLine> defects =
        ReadFilteredDefectLines(data.DefectFile(treeNumber), filter);
    return BuildStemView(sections, defects, RoundToInt32(clientWidth * 0.5),
                         RoundToInt32(clientHeight * 0.5));
}

} // namespace varnok
