#include "tree/Tree.h"

#include "support/Errors.h"

#include <cstdio>

namespace varnok {

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
