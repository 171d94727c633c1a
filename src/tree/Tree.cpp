#include "tree/Tree.h"

namespace varnok {

void NewTree(Tree& tree) {
    tree.Stem = StemModel{};
    tree.SurfaceDefects = {};
    tree.SurfaceDefectCount = 0;
    tree.EndDefects = {};
    tree.EndDefectCount = 0;
    for (auto& sector : tree.SurfaceMap) {
        sector.Count = 0;
    }
    tree.DecayProfile.fill(0);
    tree.StainProfile.fill(0);
    tree.HeartProfile.fill(0);
    tree.ForkBulgeFree.fill(1);
    tree.DefectFilePath.clear();
    tree.SurfaceDefectLine.fill(0);
}

} // namespace varnok
