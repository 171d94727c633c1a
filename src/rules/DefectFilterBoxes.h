#pragma once

#include "rules/DefectFilterSet.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace varnok {

// The 59 check boxes through which the filter editor and viewer show a defect filter set: one
// box per entry of the fixed table, captioned and grouped as the table says.

using DefectFilterFlags = std::array<bool, DefectFilterSet::kEntryCount>; // index = entry - 1

struct DefectFilterBox {
    std::size_t Entry;      // 1 to 59
    const char* Group;      // "Bulges", ...; empty for a box standing alone
    const char* InnerGroup; // "Bark Distortions" inside "Overgrowth"; else empty
    const char* Caption;    // "Butt (BU)", "Limb", ...
};

// The boxes in entry order. Boxes of one group are consecutive entries.
const std::array<DefectFilterBox, DefectFilterSet::kEntryCount>& DefectFilterBoxes();

// Why the box of entry n (1 to 59) can never act on a tree, or nothing for a box that can:
// entry 15 "Flange (FLA)" controls the code "GLA" while flange lines are coded "FLA", and the
// bird-peck entries 22 and 23 carry four-letter codes that no defect line can hold. The codes
// stay as they are, since every stored filter set holds them.
std::optional<std::string> FilterBoxNeverActs(std::size_t entry);

// The entry that shares entry n's defect code ("SW": 20 and 41, "UW": 21 and 42), whose box
// the editor moves together with n's; nothing for the other entries. Only the first of the
// two ever decides a defect, so a set in which they differ says something it does not do.
std::optional<std::size_t> TwinFilterEntry(std::size_t entry);

// The boxes checked when the editor is first shown (the table's defaults).
DefectFilterFlags DefaultFilterFlags();

// The set the editor saves: the fixed names, codes and classes, flag 1 for a checked box and 0
// for the others.
DefectFilterSet DefectFilterSetFromFlags(const DefectFilterFlags& checked);

// The boxes the viewer checks: those whose entry holds flag 1, the only flag that keeps a
// defect; any other byte removes the defect, so its box stays clear.
DefectFilterFlags ViewerFilterFlags(const DefectFilterSet& set);

// A part of the box panel the dialogs lay out as one piece: a group with its boxes, or one box
// standing alone (empty Group).
struct DefectFilterSection {
    const char* Group;
    std::vector<std::size_t> Entries; // consecutive, in entry order
    // Rows it takes: one per box, plus one for a group's title and one for an inner group's.
    int Rows() const;
};

// The sections in entry order.
std::vector<DefectFilterSection> DefectFilterSections();

// Splits `sections` in order into at most `columns` columns (each a count of consecutive
// sections, none empty), so that the tallest column has as few rows as possible. Fewer
// columns come back when there are fewer sections; none for no sections or no columns.
std::vector<std::size_t> DefectFilterColumns(const std::vector<DefectFilterSection>& sections,
                                             std::size_t columns);

} // namespace varnok
