#pragma once

#include "support/Errors.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace varnok {

// One of the 59 known defect codes: whether it counts as a grading defect and, if so, as which
// grading class (a 3-character right-aligned code such as "  K" or " SE").
struct DefectFilterEntry {
    std::string Name;      // capacity 50
    std::string Code;      // capacity 50, as written in defect files
    std::uint8_t Flag = 0; // 1 = counts as a grading defect; anything else removes the defect
    std::string ClassCode; // capacity 50
};

// The file: 59 entries of 154 bytes, 9086 bytes, no header.
struct DefectFilterSet {
    static constexpr std::size_t kEntryCount = 59;
    static constexpr std::size_t kEntrySize = 154;
    static constexpr std::size_t kSize = kEntryCount * kEntrySize;

    std::array<DefectFilterEntry, kEntryCount> Entries{};

    // Decodes one record; `bytes` must hold kSize bytes.
    static DefectFilterSet Decode(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> Encode() const;

    // Refuses (FileError through `check`) a record of kSize bytes with a text longer than its
    // capacity or an entry whose grading class is none of the nine grading codes ("  K",
    // " BU", " SR", " SE", "  F", " BE", " DY", " SN", "  H"). A flag byte other than 0 or 1
    // loads: it removes the defect.
    static void Check(std::span<const std::uint8_t> bytes, const FieldCheck& check);
};

// The fixed table of names, codes and classes, with the flags that the editor shows the first
// time (nine entries unchecked, fifty checked).
DefectFilterSet DefaultDefectFilterSet();

// The editor's first-time flag of entry n (1 to 59).
bool DefaultFilterFlag(std::size_t entryNumber);

// Reads a filter set file: records until end of file, keeping the last complete one.
// Throws FileError when the file cannot be read, holds no complete record or the record fails
// DefectFilterSet::Check.
DefectFilterSet ReadDefectFilterSet(const std::filesystem::path& path);

// Writes one record, replacing the file. Throws FileError on failure.
void WriteDefectFilterSet(const std::filesystem::path& path, const DefectFilterSet& set);

// What the filter does to one defect code: removes it, or gives the code it continues with
// (the entry's class code, or the code unchanged when no entry matches). A removed code comes
// with the class code of the entry that removed it, which says what kind of line it was. The first
// entry whose code equals the defect's decides. A code that is one letter once its leading blanks
// are removed is compared without those blanks, since a one-letter field code can only stand
// right-aligned in the defect file's code field.
struct FilterOutcome {
    bool Removed = false;
    std::string Code;
};
FilterOutcome ApplyDefectFilter(const DefectFilterSet& set, const std::string& code);

} // namespace varnok
