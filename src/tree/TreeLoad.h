#pragma once

#include "rules/DefectFilterSet.h"
#include "support/DataFolder.h"
#include "tree/Tree.h"

namespace varnok {

// Loads tree `treeNumber` (1 to 150) of the data folder into `tree`: NewTree, ReadDefectFile
// (through `filter`), ReadShapeFile, MapDefects. Throws VarnokError for a tree number outside
// 1 to 150 and FileError for a missing or bad tree file; `tree` is then cleared.
void LoadTree(Tree& tree, const DataFolder& data, int treeNumber, const DefectFilterSet& filter);

} // namespace varnok
