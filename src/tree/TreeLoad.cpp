#include "tree/TreeLoad.h"

#include "support/Errors.h"
#include "tree/DefectFile.h"
#include "tree/DefectMap.h"
#include "tree/ShapeFile.h"

#include <string>

namespace varnok {

void LoadTree(Tree& tree, const DataFolder& data, int treeNumber, const DefectFilterSet& filter) {
    if (treeNumber < 1 || treeNumber > 150) {
        throw VarnokError("Tree number " + std::to_string(treeNumber) + " lies outside 1 to 150.");
    }
    NewTree(tree);
    try {
        ReadDefectFile(tree, data.DefectFile(treeNumber), filter);
        ReadShapeFile(tree, data.ShapeFile(treeNumber));
        MapDefects(tree);
    } catch (...) {
        NewTree(tree);
        throw;
    }
}

} // namespace varnok
