#include "tree/Tree.h"

#include "support/Errors.h"
#include "support/Numbers.h"

#include <cstdio>
#include <optional>

namespace varnok {
namespace {

bool IsBlankField(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// The field as typed, with the bytes that are not printable ASCII written as \xHH, so the
// message stays one readable line of text.
std::string Shown(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    text = first == std::string_view::npos ? std::string_view{} : text.substr(first);
    std::string shown = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            shown += hex;
        } else {
            shown += c;
        }
    }
    return shown + "\"";
}

template <typename T>
T NumberField(std::string_view text, std::string_view field, const std::filesystem::path& path,
              int line, const std::optional<T>& parsed, const char* what) {
    if (parsed) {
        return *parsed;
    }
    if (IsBlankField(text)) {
        return T{};
    }
    throw FileError(path, std::string(field) + " holds " + Shown(text) + ", which is not " + what,
                    line);
}

} // namespace

double DecimalField(std::string_view text, std::string_view field,
                    const std::filesystem::path& path, int line) {
    return NumberField(text, field, path, line, ParseDecimal(text), "a number");
}

std::int32_t IntegerField(std::string_view text, std::string_view field,
                          const std::filesystem::path& path, int line) {
    return NumberField(text, field, path, line, ParseInteger(text), "a whole number");
}

void NewTree(Tree& tree) {
    tree.Stem = StemModel{};
    tree.SurfaceDefects = {};
    tree.SurfaceDefectCount = 0;
    tree.EndDefects = {};
    tree.EndDefectCount = 0;
    ClearDefectMaps(tree);
    tree.DefectFilePath.clear();
    tree.ShapeFilePath.clear();
    tree.SurfaceDefectLine.fill(0);
}

void CheckTreeFileText(std::string_view read, const std::filesystem::path& path, int line) {
    for (const char c : read) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", byte);
            throw FileError(path,
                            std::string("the line holds the control byte ") + hex +
                                "; a tree file is plain text",
                            line);
        }
    }
}

void ClearDefectMaps(Tree& tree) {
    for (auto& sector : tree.SurfaceMap) {
        sector.Count = 0;
    }
    tree.DecayProfile.fill(0);
    tree.StainProfile.fill(0);
    tree.HeartProfile.fill(0);
    tree.ForkBulgeFree.fill(1);
}

} // namespace varnok
