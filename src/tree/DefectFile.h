#pragma once

#include "rules/DefectFilterSet.h"
#include "tree/Tree.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace varnok {

// One line of a defect file split into its fixed-width fields: the code (3 characters, or 2
// when the line is exactly 22 or 12 characters long) and the texts of fields A to D.
struct DefectLine {
    std::string Code;
    std::array<std::string, 4> Fields;
    int LineNumber = 0; // in the file, from 1
};

// Splits one line (at most its first 23 characters are read).
DefectLine SplitDefectLine(const std::string& line, int lineNumber);

// Reads a defect file into its lines, passes them through the filter set (recoded or removed,
// the rest keeping their order) and returns what remains. Blank lines are skipped; a file
// without a defect line is a stem without defects. Throws FileError when the file cannot be
// read, holds more than 100 defect lines, a line shorter than 12 characters (a code and two
// fields), a last line without a line end that is shorter than its kind's fields (the file was
// cut short inside it), or a control byte within the 23 characters read of a line
// (CheckTreeFileText).
std::vector<DefectLine> ReadFilteredDefectLines(const std::filesystem::path& path,
                                                const DefectFilterSet& filter);

// The kind of a grading code ("  K" or " K" is a knot, ...); nothing for any other code.
std::optional<DefectKind> KindOfCode(const std::string& code);

// Fills the surface and end defect tables of the tree from a defect file, through the filter
// set; the counts are reset first. A defect whose code names no kind after filtering is
// skipped; a blank field reads as 0. An end defect (decay, stain, heart) that ends before it
// starts marks its start alone: its end is taken as its start. Throws FileError naming the
// file and line as ReadFilteredDefectLines does, and for more than 100 surface or 40 end
// defects, a field the kind reads that holds anything but a number or blanks (named A to D), a
// position outside 0 to 2400 inches, a seam that ends before it starts, or a number that does
// not fit its field (sector -128 to 127, end sector 0 to 255, width, length, diameter 0 to
// 255); the tables are then left empty. Sectors are stored modulo 36.
void ReadDefectFile(Tree& tree, const std::filesystem::path& path, const DefectFilterSet& filter);

} // namespace varnok
