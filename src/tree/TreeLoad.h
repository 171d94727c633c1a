#pragma once

#include "rules/DefectFilterSet.h"
#include "support/DataFolder.h"
#include "tree/Tree.h"

#include <memory>

namespace varnok {

// Loads tree `treeNumber` (1 to 150) of the data folder into a new tree: NewTree,
// ReadDefectFile (through `filter`), ReadShapeFile, MapDefects. The tree is handed over only
// when all of it loaded, so a caller that keeps its previous tree until then never loses it.
// Throws VarnokError for a tree number outside 1 to 150 and FileError for a missing or bad
// tree file.
std::unique_ptr<Tree> LoadTree(const DataFolder& data, int treeNumber,
                               const DefectFilterSet& filter);

} // namespace varnok
