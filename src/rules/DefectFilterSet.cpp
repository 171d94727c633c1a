#include "rules/DefectFilterSet.h"

#include "support/ByteBuffer.h"
#include "support/Files.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace varnok {
namespace {

struct FixedEntry {
    const char* Name;
    const char* Code;
    const char* ClassCode;
    bool Checked;
};

// The table every filter set holds, in its fixed order. The spellings ("Distoriton", the code
// "GLA" of the flange) are kept as stored in existing files.
constexpr std::array<FixedEntry, DefectFilterSet::kEntryCount> kTable = {{
    {"Butt Bulge", "BB", " BE", true},
    {"Stem Bulge", "SB", " BE", true},
    {"High Bump", "HB", "  K", true},
    {"Medium Bump", "MB", "  K", true},
    {"Low Bump", "LB", "  K", true},
    {"Burl", "BU", " BU", true},
    {"Butt Scar", "BS", " SR", true},
    {"Butt Swell", "SWL", " BE", false},
    {"Canker", "CA", "  K", true},
    {"Basal Gall", "BG", "  K", true},
    {"Stem Gall", "SG", "  K", true},
    {"Lesion", "OL", " SR", true},
    {"Adventitious Bud Cluster/Epicormic Branch", "AC", "  K", true},
    {"Conk", "CO", " BU", true},
    {"Flange", "GLA", " SE", false},
    {"Flute", "FLU", " SE", true},
    {"Fork", "F", "  F", true},
    {"Gum Lesion", "GL", "  K", true},
    {"Large Hole", "LH", "  K", true},
    {"Sound Wound", "SW", " SR", false},
    {"Unsound Wound", "UW", " SR", true},
    {"Open Bird Peck", "OBPK", "  K", false},
    {"Closed Bird Peck", "CBPK", "  K", true},
    {"Grub Damage", "GD", "  K", true},
    {"Increment Borer", "IB", "  K", true},
    {"Tap", "T", "  K", true},
    {"Small Hole", "SH", "  K", true},
    {"Sound Knot", "SK", "  K", true},
    {"Unsound Knot", "UK", "  K", true},
    {"Limb", "L", "  K", true},
    {"Overgrown Knot", "OK", "  K", true},
    {"Overgrown Insect Damage", "OI", "  K", true},
    {"Overgrown Bird Peck", "OBP", "  K", true},
    {"Overgrown Squirrel Bite", "OSB", "  K", true},
    {"Low Bark Distortion", "LD", "  K", false},
    {"Medium Bark Distoriton", "MD", "  K", true},
    {"Heavy Bark Distortion", "HD", "  K", true},
    {"Seam", "SE", " SE", true},
    {"Split", "SP", " SE", false},
    {"Surface Rise", "SR", "  K", true},
    {"Sound Wound", "SW", " SR", false},
    {"Unsound Wound", "UW", " SR", true},
    {"Double Pith", "DP", "  H", true},
    {"Grease Spot", "GS", "  K", true},
    {"Insect Channel", "IC", " SR", true},
    {"Gum Spot", "GM", "  K", true},
    {"Loose Heart", "LOH", " DY", false},
    {"Stain and Streak", "ST", "  H", true},
    {"Dormant Bud Trace", "DBT", "  K", false},
    {"Worm Hole", "WH", "  K", true},
    {"Ring Shake", "RS", " DY", true},
    {"Heart Check", "HC", " DY", true},
    {"Spider Heart", "SPH", " DY", true},
    {"Wind and Ray Shake", "WS", " DY", true},
    {"Soak", "SO", " DY", true},
    {"Wet Wood", "WW", " DY", true},
    {"Internal Rot", "R", " DY", true},
    {"Sound Void", "SV", " SE", true},
    {"Large Maple Heart", "LMH", "  H", true},
}};

constexpr std::size_t kNameOffset = 0;
constexpr std::size_t kCodeOffset = 51;
constexpr std::size_t kFlagOffset = 102;
constexpr std::size_t kClassOffset = 103;
constexpr std::size_t kTextCapacity = 50;

} // namespace

DefectFilterSet DefectFilterSet::Decode(std::span<const std::uint8_t> bytes) {
    const ByteReader reader(bytes);
    DefectFilterSet set;
    for (std::size_t n = 0; n < kEntryCount; ++n) {
        const ByteReader entry = reader.Sub(n * kEntrySize, kEntrySize);
        DefectFilterEntry& e = set.Entries[n];
        e.Name = entry.ShortString(kNameOffset, kTextCapacity);
        e.Code = entry.ShortString(kCodeOffset, kTextCapacity);
        e.Flag = entry.U8(kFlagOffset);
        e.ClassCode = entry.ShortString(kClassOffset, kTextCapacity);
    }
    return set;
}

std::vector<std::uint8_t> DefectFilterSet::Encode() const {
    ByteWriter writer(kSize);
    for (std::size_t n = 0; n < kEntryCount; ++n) {
        const std::size_t base = n * kEntrySize;
        const DefectFilterEntry& e = Entries[n];
        writer.ShortString(base + kNameOffset, kTextCapacity, e.Name);
        writer.ShortString(base + kCodeOffset, kTextCapacity, e.Code);
        writer.U8(base + kFlagOffset, e.Flag);
        writer.ShortString(base + kClassOffset, kTextCapacity, e.ClassCode);
    }
    return writer.Take();
}

bool DefaultFilterFlag(std::size_t entryNumber) {
    return entryNumber >= 1 && entryNumber <= kTable.size() && kTable[entryNumber - 1].Checked;
}

DefectFilterSet DefaultDefectFilterSet() {
    DefectFilterSet set;
    for (std::size_t n = 0; n < kTable.size(); ++n) {
        set.Entries[n] = DefectFilterEntry{kTable[n].Name, kTable[n].Code,
                                           static_cast<std::uint8_t>(kTable[n].Checked ? 1 : 0),
                                           kTable[n].ClassCode};
    }
    return set;
}

void DefectFilterSet::Check(std::span<const std::uint8_t> bytes, const FieldCheck& check) {
    static constexpr std::array<std::string_view, 9> kClasses = {"  K", " BU", " SR", " SE", "  F",
                                                                 " BE", " DY", " SN", "  H"};
    const ByteReader reader(bytes);
    for (std::size_t n = 0; n < kEntryCount; ++n) {
        const ByteReader entry = reader.Sub(n * kEntrySize, kEntrySize);
        const FieldCheck e = check.Within("entry " + std::to_string(n + 1) + " ");
        e.TextLength("name", entry.U8(kNameOffset), kTextCapacity);
        e.TextLength("code", entry.U8(kCodeOffset), kTextCapacity);
        e.TextLength("grading class", entry.U8(kClassOffset), kTextCapacity);
        // The editor writes 0 or 1; another byte would drop the defect while the viewer shows
        // it checked.
        e.Flag("flag", entry.U8(kFlagOffset));
        const std::string classCode = entry.ShortStringBytes(kClassOffset, kTextCapacity);
        if (std::find(kClasses.begin(), kClasses.end(), classCode) == kClasses.end()) {
            e.Fail("grading class", "\"" + entry.ShortString(kClassOffset, kTextCapacity) + "\"",
                   "one of the nine grading codes");
        }
    }
}

DefectFilterSet ReadDefectFilterSet(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes =
        ReadRecord(path, DefectFilterSet::kSize, RecordChoice::Last);
    DefectFilterSet::Check(bytes, FieldCheck(path));
    return DefectFilterSet::Decode(bytes);
}

void WriteDefectFilterSet(const std::filesystem::path& path, const DefectFilterSet& set) {
    WriteFileBytes(path, set.Encode());
}

FilterOutcome ApplyDefectFilter(const DefectFilterSet& set, const std::string& code) {
    std::string key = code;
    const std::size_t firstLetter = code.find_first_not_of(' ');
    if (firstLetter != std::string::npos && code.size() - firstLetter == 1) {
        key = code.substr(firstLetter);
    }
    for (const DefectFilterEntry& entry : set.Entries) {
        if (entry.Code != key) {
            continue;
        }
        if (entry.Flag == 1) {
            return FilterOutcome{false, entry.ClassCode};
        }
        return FilterOutcome{true, entry.ClassCode};
    }
    return FilterOutcome{false, code};
}

} // namespace varnok
