#include "tree/ShapeFile.h"

#include "support/Errors.h"
#include "support/Files.h"
#include "support/Numbers.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {
namespace {

// Four fields of four characters; anything after them is ignored.
constexpr std::size_t kLineLength = 16;

std::string_view Field(std::string_view line, std::size_t index) {
    const std::size_t start = index * 4;
    if (start >= line.size()) {
        return {};
    }
    return line.substr(start, 4);
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view Trimmed(std::string_view field) {
    const std::size_t first = field.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : field.substr(first);
}

} // namespace

std::vector<CrossSection> ReadCrossSections(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    const TextLineViews text =
        SplitTextLines(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const std::vector<std::string_view>& lines = text.Lines;
    std::vector<CrossSection> sections;
    sections.reserve(std::min(lines.size(), kMaxShapeLines));
    int previousLine = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const int lineNumber = static_cast<int>(i + 1);
        const bool unended = i + 1 == lines.size() && !text.LastLineEnded;
        // Blanks without a line end are the start of a right-aligned height (" 4.0") cut off.
        if (IsBlank(line) && !(unended && !line.empty())) {
            continue;
        }
        if (sections.size() == kMaxShapeLines) {
            throw FileError(path, "more than 49 cross-sections", lineNumber);
        }
        CheckTreeFileText(line.substr(0, kLineLength), path, lineNumber);
        // A file cut short ends inside a line, which has no line end; its missing fields would
        // read as 0 and every cross-section after it is lost.
        if (unended && line.size() < kLineLength) {
            throw FileError(path,
                            "the file is cut short inside this line: it has no line end and " +
                                std::to_string(line.size()) +
                                " characters, where a cross-section has 16",
                            lineNumber);
        }
        const auto decimal = [&](std::size_t index, const char* name) {
            return DecimalField(Field(line, index), name, path, lineNumber);
        };
        const double feet = decimal(0, "the height field");
        const double inches = RoundHalfEven(feet * 12.0);
        if (inches < 0.0 || inches > kMaxStemInches) {
            throw FileError(
                path, "height " + std::string(Field(line, 0)) + " ft lies outside 0 to 200 ft",
                lineNumber);
        }
        CrossSection section;
        section.Position = static_cast<int>(inches);
        section.Diameter = IntegerField(Field(line, 1), "the diameter field", path, lineNumber);
        section.OffsetY = std::fabs(decimal(2, "the offset Y field"));
        section.OffsetX = std::fabs(decimal(3, "the offset X field"));
        if (section.Diameter < 0 || section.Diameter > 255) {
            throw FileError(path,
                            "diameter " + std::to_string(section.Diameter) +
                                " lies outside 0 to 255 inches",
                            lineNumber);
        }
        // The centre line is kept in single precision and measured for sweep; no point of a
        // stem lies further from its reference line than the longest stem is long.
        for (const auto& [offset, field] : {std::pair{section.OffsetY, 2}, {section.OffsetX, 3}}) {
            if (offset > kMaxStemInches) {
                throw FileError(path,
                                "offset " + std::string(Trimmed(Field(line, field))) +
                                    " lies outside 0 to 2400 inches",
                                lineNumber);
            }
        }
        // A stem has no zero diameter below its top: a knot there could not be mapped, and
        // the blame would fall on the defect file.
        if (!sections.empty() && sections.back().Diameter == 0) {
            throw FileError(path, "diameter 0 below the top of the stem", previousLine);
        }
        if (sections.empty() && section.Position != 0) {
            throw FileError(path, "the first cross-section must be the butt, at height 0",
                            lineNumber);
        }
        if (!sections.empty() && section.Position < sections.back().Position) {
            throw FileError(path, "heights must not descend", lineNumber);
        }
        sections.push_back(section);
        previousLine = lineNumber;
    }
    if (sections.empty()) {
        throw FileError(path, "holds no cross-section");
    }
    return sections;
}

namespace {

// RoundToInt for the interpolated diameters, 0 to 255: a value from 0 up to 2^51 plus 2^52
// lands where the doubles are whole numbers, so the sum rounds it to the nearest one, halves to
// even, as nearbyint does, without the library call. Any other value goes through RoundToInt.
int RoundDiameter(double x) {
    constexpr double kWhole = 4503599627370496.0; // 2^52
    if (!(x >= 0.0 && x < kWhole / 2)) {
        return static_cast<int>(RoundToInt(x));
    }
    return static_cast<int>((x + kWhole) - kWhole);
}

} // namespace

void ReadShapeFile(Tree& tree, const std::filesystem::path& path) {
    const std::vector<CrossSection> sections = ReadCrossSections(path);
    tree.ShapeFilePath = path;
    StemModel& stem = tree.Stem;
    // Every inch up to the top is written below, from the butt section at 0 on; together with
    // these, every inch of the tables is written, as a tree made without an initialiser needs.
    const auto above = static_cast<std::ptrdiff_t>(sections.back().Position) + 1;
    std::fill(stem.Diameter.begin() + above, stem.Diameter.end(), std::uint8_t{0});
    std::fill(stem.CentreX.begin() + above, stem.CentreX.end(), 0.0F);
    std::fill(stem.CentreY.begin() + above, stem.CentreY.end(), 0.0F);
    stem.PointPosition.fill(0);
    for (std::size_t k = 0; k < sections.size(); ++k) {
        const CrossSection& s = sections[k];
        const int p = s.Position;
        stem.PointPosition[k] = p;
        stem.Diameter[p] = static_cast<std::uint8_t>(s.Diameter);
        const double radiusLoss = stem.Diameter[0] * 0.5 - stem.Diameter[p] * 0.5;
        stem.CentreY[p] = static_cast<float>(s.OffsetY - radiusLoss);
        stem.CentreX[p] = static_cast<float>(s.OffsetX - radiusLoss);
        if (k == 0) {
            continue;
        }
        const int q = sections[k - 1].Position;
        // The ends of the stretch, read once: the stores below could otherwise be taken to
        // change them.
        const int diameterQ = stem.Diameter[q];
        const int diameterRise = stem.Diameter[p] - diameterQ;
        const double xQ = stem.CentreX[q];
        const double xRise = static_cast<double>(stem.CentreX[p]) - stem.CentreX[q];
        const double yQ = stem.CentreY[q];
        const double yRise = static_cast<double>(stem.CentreY[p]) - stem.CentreY[q];
        const int span = p - q;
        for (int j = q + 1; j < p; ++j) {
            const double t = static_cast<double>(j - q) / span;
            stem.Diameter[j] =
                static_cast<std::uint8_t>(RoundDiameter(t * diameterRise + diameterQ));
            stem.CentreX[j] = static_cast<float>(xRise * (j - q) / span + xQ);
            stem.CentreY[j] = static_cast<float>(yRise * (j - q) / span + yQ);
        }
    }
    stem.PointCount = static_cast<std::uint8_t>(sections.size());
    stem.StemLength = static_cast<std::uint16_t>(sections.back().Position);
}

} // namespace varnok
