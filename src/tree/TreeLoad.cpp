#include "tree/TreeLoad.h"

#include "support/Errors.h"
#include "tree/DefectFile.h"
#include "tree/DefectMap.h"
#include "tree/ShapeFile.h"

#include <string>

namespace varnok {

std::unique_ptr<Tree> LoadTree(const DataFolder& data, int treeNumber,
                               const DefectFilterSet& filter) {
    if (treeNumber < 1 || treeNumber > 150) {
        throw VarnokError("Tree number " + std::to_string(treeNumber) + " lies outside 1 to 150.");
    }
    // Made without an initialiser: ReadShapeFile writes the whole stem, the rest is as NewTree
    // leaves it.
    std::unique_ptr<Tree> tree(new Tree);
    ReadDefectFile(*tree, data.DefectFile(treeNumber), filter);
    ReadShapeFile(*tree, data.ShapeFile(treeNumber));
    MapDefects(*tree);
    return tree;
}

} // namespace varnok
