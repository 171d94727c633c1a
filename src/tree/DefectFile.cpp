#include "tree/DefectFile.h"

#include "support/Errors.h"
#include "support/Files.h"
#include "support/Numbers.h"

#include <exception>
#include <limits>
#include <string_view>
#include <utility>

namespace varnok {
namespace {

constexpr std::size_t kLongestLine = 23;
// Code and fields A and B: the shortest line the format has (a fork or bulge).
constexpr std::size_t kShortestLine = 12;

struct KindSpelling {
    const char* Code;
    DefectKind Kind;
};

// Each kind in a 3- and in a 2-character code field, in the order they are tried.
constexpr std::array<KindSpelling, 18> kSpellings = {{
    {"  K", DefectKind::Knot},
    {" K", DefectKind::Knot},
    {" BU", DefectKind::Bump},
    {"BU", DefectKind::Bump},
    {" SR", DefectKind::SurfaceRise},
    {"SR", DefectKind::SurfaceRise},
    {" SE", DefectKind::Seam},
    {"SE", DefectKind::Seam},
    {"  F", DefectKind::Fork},
    {" F", DefectKind::Fork},
    {" BE", DefectKind::Bulge},
    {"BE", DefectKind::Bulge},
    {" DY", DefectKind::Decay},
    {"DY", DefectKind::Decay},
    {" SN", DefectKind::Stain},
    {"SN", DefectKind::Stain},
    {"  H", DefectKind::Heart},
    {" H", DefectKind::Heart},
}};

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// The code field and the texts of fields A to D of one line, as views into it.
struct LineFields {
    std::string_view Code;
    std::array<std::string_view, 4> Fields;
};

LineFields SplitFields(std::string_view line) {
    const std::string_view read = line.substr(0, kLongestLine);
    const std::size_t codeWidth = (read.size() == 22 || read.size() == 12) ? 2 : 3;
    LineFields result;
    result.Code = read.substr(0, codeWidth);
    for (std::size_t f = 0; f < 4; ++f) {
        const std::size_t start = codeWidth + f * 5;
        if (start < read.size()) {
            result.Fields[f] = read.substr(start, 5);
        }
    }
    return result;
}

// Converts fields while the line is known, so every refusal names the file and the line.
class FieldReader {
public:
    FieldReader(const std::filesystem::path& path, const std::array<std::string_view, 4>& fields,
                int lineNumber)
        : path_(path), fields_(fields), lineNumber_(lineNumber) {}

    // A position in feet, as whole inches from the butt (0 to 2400).
    std::int32_t Position(std::size_t field) const {
        const double feet = DecimalField(fields_[field], Name(field), path_, lineNumber_);
        const double inches = RoundHalfEven(feet * 12.0);
        if (inches < 0.0 || inches > kMaxStemInches) {
            RefusePosition(field);
        }
        return static_cast<std::int32_t>(inches);
    }

    // An integer that must lie within [low, high].
    int Integer(std::size_t field, int low, int high, const char* what) const {
        const int value = IntegerField(fields_[field], Name(field), path_, lineNumber_);
        if (value < low || value > high) {
            RefuseOutside(field, low, high, what);
        }
        return value;
    }

    // A sector number within [low, high] as written, taken modulo 36: the seam walk, the seam
    // deduction and the graders then all see the same sector, and no step of theirs can go
    // the long way round or below 0.
    std::int8_t Sector(std::size_t field, int low, int high, const char* what) const {
        return static_cast<std::int8_t>(WrapSector(Integer(field, low, high, what)));
    }

    [[noreturn]] void Fail(const std::string& message) const {
        throw FileError(path_, message, lineNumber_);
    }

private:
    // The refusals are built out of line, so that the readers above stay small.
    [[gnu::noinline, noreturn]] void RefusePosition(std::size_t field) const {
        Fail("position " + Quoted(field) + " ft lies outside 0 to 200 ft");
    }

    [[gnu::noinline, noreturn]] void RefuseOutside(std::size_t field, int low, int high,
                                                   const char* what) const {
        Fail(std::string(what) + " " + Quoted(field) + " lies outside " + std::to_string(low) +
             " to " + std::to_string(high));
    }

    static std::string_view Name(std::size_t field) {
        static constexpr std::array<std::string_view, 4> kNames = {"field A", "field B", "field C",
                                                                   "field D"};
        return kNames[field];
    }

    std::string Quoted(std::size_t field) const {
        const std::string_view text = fields_[field];
        const std::size_t first = text.find_first_not_of(' ');
        return first == std::string_view::npos ? "\"\"" : std::string(text.substr(first));
    }

    const std::filesystem::path& path_;
    const std::array<std::string_view, 4>& fields_;
    int lineNumber_;
};

SurfaceDefect MakeSurfaceDefect(DefectKind kind, const FieldReader& fields) {
    SurfaceDefect d;
    d.Kind = static_cast<std::uint8_t>(kind);
    d.Position = fields.Position(0);
    switch (kind) {
    case DefectKind::Seam:
        d.Sector = fields.Sector(1, -128, 127, "sector");
        d.EndPosition = fields.Position(2);
        d.EndSector = static_cast<std::uint8_t>(fields.Sector(3, 0, 255, "end sector"));
        // The seam is walked inch by inch from its start to its end.
        if (d.EndPosition < d.Position) {
            fields.Fail("the seam ends before it starts");
        }
        break;
    case DefectKind::Fork:
    case DefectKind::Bulge:
        d.EndPosition = fields.Position(1);
        break;
    default: // knot, bump, surface rise
        d.Sector = fields.Sector(1, -128, 127, "sector");
        d.Width = static_cast<std::uint8_t>(fields.Integer(2, 0, 255, "width"));
        d.Length = static_cast<std::uint8_t>(fields.Integer(3, 0, 255, "length"));
        break;
    }
    return d;
}

EndDefect MakeEndDefect(DefectKind kind, const FieldReader& fields) {
    EndDefect d;
    d.Kind = static_cast<std::uint8_t>(kind);
    d.StartPosition = static_cast<std::uint16_t>(fields.Position(0));
    // One that ends before it starts marks its start alone; taking its end as its start keeps
    // every deduction, which measures the stretch from start to end, from adding volume.
    d.EndPosition = std::max(d.StartPosition, static_cast<std::uint16_t>(fields.Position(1)));
    // The profiles hold one byte per inch, so a wider defect could not be mapped.
    d.StartDiameter = static_cast<std::uint16_t>(fields.Integer(2, 0, 255, "diameter"));
    d.EndDiameter = static_cast<std::uint16_t>(fields.Integer(3, 0, 255, "diameter"));
    return d;
}

const char* LineKindName(DefectKind kind) {
    static constexpr std::array<const char*, 9> kNames = {
        "knot", "bump", "surface rise", "seam", "fork", "bulge", "decay", "stain", "heart"};
    return kNames[static_cast<std::size_t>(kind)];
}

// The kind a line has when its code field is `width` characters wide.
std::optional<DefectKind> KindWithCodeWidth(std::string_view line, std::size_t width,
                                            const DefectFilterSet& filter) {
    return KindOfCode(
        ApplyDefectFilter(filter, std::string(line.substr(0, std::min(line.size(), width)))).Code);
}

// A file cut short (a failed copy, a full disk) ends inside a line, which then has no line
// end; every defect after it is lost, so such a last line must hold all the fields of its kind.
// Its length no longer tells the width of its code field, so the other width is tried too.
// Without a kind, a code and two fields are the least a line holds.
void CheckNotCutShort(std::string_view line, const DefectFilterSet& filter,
                      const std::filesystem::path& path, int lineNumber) {
    const std::size_t read = std::min(line.size(), kLongestLine);
    const std::size_t width = (read == 22 || read == 12) ? 2 : 3;
    std::size_t needed = kShortestLine;
    std::string what = "a defect line";
    for (const std::size_t w : {width, 5 - width}) {
        if (const std::optional<DefectKind> kind = KindWithCodeWidth(line, w, filter)) {
            const bool twoFields = kind == DefectKind::Fork || kind == DefectKind::Bulge;
            needed = w + (twoFields ? 2 : 4) * 5;
            what = std::string("a ") + LineKindName(*kind) + " line";
            break;
        }
    }
    if (read >= needed) {
        return;
    }
    throw FileError(path,
                    "the file is cut short inside this line: it has no line end and " +
                        std::to_string(read) + " characters, where " + what + " has " +
                        std::to_string(needed),
                    lineNumber);
}

// The filter's outcome for each code met so far in one file: a file repeats a few codes over
// its lines, and the filter set compares a code with all of its entries.
class FilterMemo {
public:
    struct Entry {
        std::uint32_t Key = 0; // the code as read, packed by KeyOf
        FilterOutcome Outcome;
        std::optional<DefectKind> Kind; // of the outcome's code
    };

    explicit FilterMemo(const DefectFilterSet& filter) : filter_(filter) {}

    // The outcome of ApplyDefectFilter for the code; valid until the next call.
    const Entry& Apply(std::string_view code) {
        const std::uint32_t key = KeyOf(code);
        for (const Entry& entry : known_) {
            if (entry.Key == key) {
                return entry;
            }
        }
        Entry entry{key, ApplyDefectFilter(filter_, std::string(code)), {}};
        entry.Kind = KindOfCode(entry.Outcome.Code);
        known_.push_back(std::move(entry));
        return known_.back();
    }

private:
    // A code field of at most 3 bytes and its length in one number, so that two codes are the
    // same exactly when their keys are.
    static std::uint32_t KeyOf(std::string_view code) {
        std::uint32_t key = static_cast<std::uint32_t>(code.size());
        for (const char c : code) {
            key = (key << 8) | static_cast<unsigned char>(c);
        }
        return key;
    }

private:
    const DefectFilterSet& filter_;
    std::vector<Entry> known_;
};

// Walks the lines of a defect file with every check of ReadFilteredDefectLines, handing each
// line the filter keeps to `keep(fields, entry, lineNumber)`, in file order.
template <typename Keep>
void ScanDefectLines(const TextLineViews& text, const std::filesystem::path& path,
                     const DefectFilterSet& filter, Keep&& keep) {
    const std::vector<std::string_view>& lines = text.Lines;
    FilterMemo memo(filter);
    std::size_t defectLines = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const int lineNumber = static_cast<int>(i + 1);
        const bool unended = i + 1 == lines.size() && !text.LastLineEnded;
        if (IsBlank(line)) {
            // Blanks without a line end are the start of a right-aligned code ("  F") cut off.
            if (unended && !line.empty()) {
                CheckNotCutShort(line, filter, path, lineNumber);
            }
            continue;
        }
        if (++defectLines > kMaxDefectLines) {
            throw FileError(path, "more than 100 defect lines", lineNumber);
        }
        CheckTreeFileText(line.substr(0, kLongestLine), path, lineNumber);
        // A line shorter than a code and two fields lost them: an unknown code is skipped and
        // a missing number reads as 0.
        if (line.size() < kShortestLine && !unended) {
            throw FileError(path,
                            "a defect line holds a code and at least two fields (" +
                                std::to_string(kShortestLine) + " characters); this one has " +
                                std::to_string(line.size()),
                            lineNumber);
        }
        if (unended) {
            CheckNotCutShort(line, filter, path, lineNumber);
        }
        const LineFields fields = SplitFields(line);
        const FilterMemo::Entry& entry = memo.Apply(fields.Code);
        if (entry.Outcome.Removed) {
            continue;
        }
        keep(fields, entry, lineNumber);
    }
}

TextLineViews LinesOf(const std::vector<std::uint8_t>& bytes) {
    return SplitTextLines(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace

DefectLine SplitDefectLine(const std::string& line, int lineNumber) {
    const LineFields fields = SplitFields(line);
    DefectLine result;
    result.LineNumber = lineNumber;
    result.Code = fields.Code;
    for (std::size_t f = 0; f < 4; ++f) {
        result.Fields[f] = fields.Fields[f];
    }
    return result;
}

std::vector<DefectLine> ReadFilteredDefectLines(const std::filesystem::path& path,
                                                const DefectFilterSet& filter) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    const TextLineViews text = LinesOf(bytes);
    std::vector<DefectLine> kept;
    kept.reserve(std::min(text.Lines.size(), kMaxDefectLines));
    ScanDefectLines(text, path, filter,
                    [&](const LineFields& fields, const FilterMemo::Entry& entry, int lineNumber) {
                        DefectLine& defect = kept.emplace_back();
                        defect.LineNumber = lineNumber;
                        defect.Code = entry.Outcome.Code;
                        for (std::size_t f = 0; f < 4; ++f) {
                            defect.Fields[f] = fields.Fields[f];
                        }
                    });
    return kept;
}

std::optional<DefectKind> KindOfCode(const std::string& code) {
    for (const KindSpelling& spelling : kSpellings) {
        if (code == spelling.Code) {
            return spelling.Kind;
        }
    }
    return std::nullopt;
}

void ReadDefectFile(Tree& tree, const std::filesystem::path& path, const DefectFilterSet& filter) {
    tree.SurfaceDefectCount = 0;
    tree.EndDefectCount = 0;
    tree.DefectFilePath = path;
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    const TextLineViews text = LinesOf(bytes);
    std::size_t surfaceCount = 0;
    std::size_t endCount = 0;
    // The lines are read in one pass, but a fault of the file's lines (ScanDefectLines) is
    // reported before any fault of a field or of the tables, wherever it lies: the first of
    // those is held until every line has passed.
    std::exception_ptr fieldFault;
    const auto take = [&](const LineFields& line, const FilterMemo::Entry& entry, int lineNumber) {
        if (!entry.Kind || fieldFault) {
            return;
        }
        const FieldReader fields(path, line.Fields, lineNumber);
        try {
            if (static_cast<int>(*entry.Kind) <= static_cast<int>(DefectKind::Bulge)) {
                if (surfaceCount == kMaxSurfaceDefects) {
                    fields.Fail("more than 100 surface defects");
                }
                tree.SurfaceDefects[surfaceCount] = MakeSurfaceDefect(*entry.Kind, fields);
                tree.SurfaceDefectLine[surfaceCount] = lineNumber;
                ++surfaceCount;
            } else {
                if (endCount == kMaxEndDefects) {
                    fields.Fail("more than 40 end defects (decay, stain, heart)");
                }
                tree.EndDefects[endCount] = MakeEndDefect(*entry.Kind, fields);
                ++endCount;
            }
        } catch (const FileError&) {
            fieldFault = std::current_exception();
        }
    };
    ScanDefectLines(text, path, filter, take);
    if (fieldFault) {
        std::rethrow_exception(fieldFault);
    }
    tree.SurfaceDefectCount = static_cast<std::uint8_t>(surfaceCount);
    tree.EndDefectCount = static_cast<std::uint8_t>(endCount);
}

} // namespace varnok
