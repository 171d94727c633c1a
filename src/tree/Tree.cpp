#include "tree/Tree.h"

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
