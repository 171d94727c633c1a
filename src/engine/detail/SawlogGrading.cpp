#include "engine/detail/SawlogGrading.h"

#include "support/Numbers.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <string>

namespace varnok::detail {
namespace {

constexpr int kMaxCuttings = 27;
constexpr int kNeverPasses = 5;

bool IsKnotType(std::uint8_t kind) {
    return kind <= static_cast<std::uint8_t>(DefectKind::SurfaceRise);
}

// Faces mode: the clear faces a rotation needs for the cell's code, 11 to 14 meaning 1 to 4.
int ClearFacesNeeded(int code) {
    return code >= 11 && code <= 14 ? code - 10 : kNeverPasses;
}

// The stages of a traced sawlog grade: the cell's conditions in the order they are checked,
// then its clear cuttings, then the stain downgrades that follow.
enum Stage : int { kSed, kSweep, kDeduction, kLength, kButtOnly, kClearCuttings, kStain };

// A whole-inch sum reaches a threshold exactly when it reaches the threshold rounded up. One
// that is not a number (a damaged yield) is never reached; the limits stay far beyond any sum
// of cuttings (at most 27 of 2401 inches).
int WholeThreshold(double threshold) {
    constexpr double kBeyond = 1.0e9;
    if (!(threshold <= kBeyond)) {
        return static_cast<int>(kBeyond);
    }
    return threshold < -kBeyond ? static_cast<int>(-kBeyond)
                                : static_cast<int>(std::ceil(threshold));
}

int SawlogClass(int grade) {
    return grade + 3;
}

std::string Percent(double fraction) {
    return FormatFixed(fraction * 100.0, 1) + "%";
}

// A stain downgrade as trace steps: the grade lost and the grade the log falls to. `stainAt` is
// the end whose stain is read; the diameter named is that of the first end whose ratio is
// over the limit.
struct StainCase {
    double Stain = 0.0;
    int StainAt = 0;
    double Diameter = 0.0;
    int DiameterAt = 0;
    double Limit = 0.0;
};

void RecordStain(GradeTrace& trace, int from, const StainCase& c) {
    const std::string ratio =
        c.Diameter > 0.0 ? FormatFixed(c.Stain / c.Diameter, 2) : std::string("any stain");
    const std::string detail =
        "stain " + FormatGeneral(c.Stain) + " in. at " + std::to_string(c.StainAt) +
        " in. over the diameter " + FormatGeneral(c.Diameter) + " in. at " +
        std::to_string(c.DiameterAt) + " in.: " + ratio + ", above " + FormatGeneral(c.Limit) +
        "; grade " + std::to_string(from) + " becomes " + std::to_string(from + 1);
    trace.Record(SawlogClass(from), kStain, false, "stain", detail);
    trace.Record(SawlogClass(from + 1), kStain, true, "stain", detail);
}

const char* Ordinal(int n) {
    static constexpr std::array<const char*, 5> kOrdinals = {"best", "second-best", "third-best",
                                                             "fourth-best", "fifth-best"};
    return n >= 1 && n <= 5 ? kOrdinals[static_cast<std::size_t>(n - 1)] : "deciding";
}

} // namespace

SawlogGrader::SawlogGrader(const Tree& tree, const TreeIndex& index, const SawlogRuleSet& rules)
    : tree_(tree), index_(index), facesMode_(rules.IsFacesMode()) {
    FlattenCells(rules);
    IndexCellsBySed();
    IndexFaces();
    IndexLongRuns();
    IndexSeams();
    logRuns_.reserve(1024);
    sharedClear_.reserve(64);
    seamsOnLog_.reserve(index.Seams.size());
}

void SawlogGrader::IndexCellsBySed() {
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const SawlogRuleCell& rule = cells_[i].Rules;
        if (cellsBySed_.size() <= rule.MaxDiameter) {
            cellsBySed_.resize(std::size_t{rule.MaxDiameter} + 1, 0);
        }
        for (int sed = rule.MinDiameter; sed <= rule.MaxDiameter; ++sed) {
            cellsBySed_[static_cast<std::size_t>(sed)] |= std::uint32_t{1} << i;
        }
    }
}

void SawlogGrader::FlattenCells(const SawlogRuleSet& rules) {
    for (int g = rules.GradeCount(); g >= 1; --g) {
        for (int d = 1; d <= rules.DiameterSetCount(g); ++d) {
            for (int l = 1; l <= rules.LengthVariationCount(g, d); ++l) {
                const SawlogRuleCell& rule = rules.Cell(g, d, l);
                if (rule.GradeNumber == 0) {
                    continue; // not in use: never applies
                }
                Cell cell;
                cell.DiameterSet = d;
                cell.LengthVariation = l;
                cell.Grade = rule.GradeNumber;
                cell.TriedSlot = g - 1;
                cell.Rules = rule;
                cell.MinimumRun = facesMode_ ? 0 : rule.ClearCuttingCode * 12;
                cell.FacesNeeded = facesMode_ ? ClearFacesNeeded(rule.ClearCuttingCode) : 3;
                cell.Counted = rule.MaxClearCuttings == 99 ? kMaxCuttings : rule.MaxClearCuttings;
                cell.FacePassed = facesMode_ ? 1 : rule.GradeNumber;
                cells_.push_back(cell);
            }
        }
    }
}

// Logs lie on the stem, so nothing above its top is ever looked at: the index stops there.
void SawlogGrader::IndexFaces() {
    const int top = std::min<int>(tree_.Stem.StemLength, kMaxStemInches);
    for (std::size_t x = 0; x <= static_cast<std::size_t>(top); ++x) {
        if (tree_.ForkBulgeFree[x] == 0) {
            forkBulgeBlocked_.SetInch(static_cast<int>(x));
        }
    }
    // Knots, bumps and surface rises of each sector, then each face as the union of its nine.
    std::array<InchMask, kSectorCount> sectorKnots{};
    for (int sector = 0; sector < kSectorCount; ++sector) {
        for (const MapInterval& interval :
             tree_.SurfaceMap[static_cast<std::size_t>(sector)].Used()) {
            const auto& defect =
                tree_.SurfaceDefects[static_cast<std::size_t>(interval.Defect - 1)];
            if (IsKnotType(defect.Kind)) {
                sectorKnots[static_cast<std::size_t>(sector)].Set(interval.Start, interval.End);
            }
        }
    }
    // With the sectors in four blocks of nine, a face is the tail of one block from its first
    // sector and the head of the next block: unions run from each end of every block give all
    // 36 faces with about three unions a face instead of nine.
    constexpr int kBlock = 9;
    const auto sector = [&](int n) -> const InchMask& {
        return sectorKnots[static_cast<std::size_t>(n)];
    };
    const auto face = [&](int n) -> InchMask& { return faceKnots_[static_cast<std::size_t>(n)]; };
    for (int base = 0; base < kSectorCount; base += kBlock) {
        face(base + kBlock - 1).CopyWords(sector(base + kBlock - 1), 0, top);
        for (int k = kBlock - 2; k >= 0; --k) {
            face(base + k).CopyWords(face(base + k + 1), 0, top);
            face(base + k).OrWords(sector(base + k), 0, top);
        }
    }
    for (int base = 0; base < kSectorCount; base += kBlock) {
        const int next = (base + kBlock) % kSectorCount;
        InchMask head; // sectors next to next + k - 1
        for (int k = 1; k < kBlock; ++k) {
            head.OrWords(sector(next + k - 1), 0, top);
            face(base + k).OrWords(head, 0, top);
        }
    }
    for (int first = 0; first < kSectorCount; ++first) {
        const InchMask& knots = face(first);
        std::vector<Run>& runs = knotFreeRuns_[static_cast<std::size_t>(first)];
        runs.reserve(64);
        knots.ForEachClearRun(0, top, [&](int start, int end) { runs.push_back({start, end}); });
    }
}

void SawlogGrader::IndexLongRuns() {
    for (Cell& cell : cells_) {
        auto same = std::find_if(longRuns_.begin(), longRuns_.end(),
                                 [&](const LongRuns& l) { return l.Minimum == cell.MinimumRun; });
        if (same == longRuns_.end()) {
            LongRuns list;
            list.Minimum = cell.MinimumRun;
            std::size_t all = 0;
            for (const std::vector<Run>& runs : knotFreeRuns_) {
                all += runs.size();
            }
            list.Runs.reserve(all);
            for (std::size_t w = 0; w < kSectorCount; ++w) {
                list.FaceBegin[w] = static_cast<std::uint32_t>(list.Runs.size());
                list.Cursor[w] = list.FaceBegin[w];
                for (const Run& run : knotFreeRuns_[w]) {
                    if (run.End - run.Start + 1 >= cell.MinimumRun) {
                        list.Runs.push_back(run);
                    }
                }
            }
            list.FaceBegin[kSectorCount] = static_cast<std::uint32_t>(list.Runs.size());
            longRuns_.push_back(std::move(list));
            same = longRuns_.end() - 1;
        }
        cell.RunList = static_cast<std::size_t>(same - longRuns_.begin());
    }
}

void SawlogGrader::IndexSeams() {
    std::array<int, kMaxSurfaceDefects> slotOfDefect{};
    slotOfDefect.fill(-1);
    for (std::size_t slot = 0; slot < index_.Seams.size(); ++slot) {
        slotOfDefect[static_cast<std::size_t>(index_.Seams[slot])] = static_cast<int>(slot);
    }
    seamIntervals_.resize(index_.Seams.size());
    for (std::size_t sector = 0; sector < kSectorCount; ++sector) {
        for (const MapInterval& interval : tree_.SurfaceMap[sector].Used()) {
            const int slot = slotOfDefect[static_cast<std::size_t>(interval.Defect - 1)];
            if (slot >= 0) {
                seamIntervals_[static_cast<std::size_t>(slot)][sector].push_back(interval);
            }
        }
    }
}

int SawlogGrader::UnmetCondition(const Cell& cell, const LogSegment& segment) const {
    const SawlogRuleCell& rule = cell.Rules;
    if (segment.SED < rule.MinDiameter || segment.SED > rule.MaxDiameter) {
        return kSed;
    }
    if (segment.SweepDeduction > rule.MaxSweepUnder25) {
        return kSweep;
    }
    if (segment.Deduction > rule.MaxDeduction) {
        return kDeduction;
    }
    if (segment.LengthInches < rule.MinLength * 12) {
        return kLength;
    }
    if (rule.ButtLogsOnly != 0 && segment.ButtLog != 1) {
        return kButtOnly;
    }
    return -1;
}

void SawlogGrader::ExplainUnmet(const Cell& cell, const LogSegment& segment, int stage) const {
    const SawlogRuleCell& rule = cell.Rules;
    const std::string name = "Cell " + std::to_string(cell.TriedSlot + 1) + "." +
                             std::to_string(cell.DiameterSet) + "." +
                             std::to_string(cell.LengthVariation) + ": ";
    const char* id = "sed";
    std::string detail;
    switch (stage) {
    case kSed:
        detail = "SED " + std::to_string(segment.SED) + " in. outside " +
                 std::to_string(rule.MinDiameter) + " to " + std::to_string(rule.MaxDiameter) +
                 " in.";
        break;
    case kSweep:
        id = "sweep";
        detail = "sweep deduction " + Percent(segment.SweepDeduction) + " over the " +
                 Percent(rule.MaxSweepUnder25) + " allowed";
        break;
    case kDeduction:
        id = "deduction";
        detail = "total deduction " + Percent(segment.Deduction) + " over the " +
                 Percent(rule.MaxDeduction) + " allowed";
        break;
    case kLength:
        id = "length";
        detail = "length " + std::to_string(segment.LengthInches) + " in. under the " +
                 std::to_string(rule.MinLength) + " ft minimum (" +
                 std::to_string(rule.MinLength * 12) + " in.)";
        break;
    default:
        id = "butt_only";
        detail =
            "butt logs only; this log starts at " + std::to_string(segment.StartPosition) + " in.";
        break;
    }
    trace_->Record(SawlogClass(cell.Grade), stage, false, id, name + detail);
}

// The cells apply from the worst grade to the best, each one improving the grade when its
// faces reach it, and the stain downgrade follows every cell. GradeInOrder does exactly that;
// GradeBestFirst reaches the same grade and faces with less work when the cells' grades are
// 1 to 3 and never rise along the order (as every rule set the editor writes): the first cell
// of the best grade that any face search passes decides, since no worse cell can change the
// outcome after it, and only the stain downgrades of the cells that follow it remain.
void SawlogGrader::GradeSawlog(LogSegment& segment, GradeTrace* trace, int worstWanted) {
    trace_ = trace;
    worstWanted_ = worstWanted;
    segment.SawGrade = kNoGrade;
    segment.SawGradeTried = {0, 0, 0};
    if (worstWanted < 1) {
        return;
    }
    std::array<int, 27> applicable; // read up to count only
    std::size_t count = 0;
    bool descending = true;
    // Traced, every cell is explained; otherwise only the cells whose diameters hold the log's
    // can apply.
    std::uint32_t candidates = (std::uint32_t{1} << cells_.size()) - 1;
    if (trace_ == nullptr) {
        candidates = segment.SED < cellsBySed_.size() ? cellsBySed_[segment.SED] : 0;
    }
    for (; candidates != 0; candidates &= candidates - 1) {
        const auto i = static_cast<std::size_t>(std::countr_zero(candidates));
        const Cell& cell = cells_[i];
        const int unmet = UnmetCondition(cell, segment);
        if (unmet >= 0) {
            if (trace_ != nullptr) {
                ExplainUnmet(cell, segment, unmet);
            }
            continue;
        }
        segment.SawGradeTried[static_cast<std::size_t>(cell.TriedSlot)] = 1;
        descending = descending && cell.Grade >= 1 && cell.Grade <= 3 &&
                     (count == 0 ||
                      cell.Grade <= cells_[static_cast<std::size_t>(applicable[count - 1])].Grade);
        applicable[count++] = static_cast<int>(i);
    }
    // Best first, the best grade comes last; when even that is not wanted, nothing is.
    if (count == 0 || (descending && cells_[static_cast<std::size_t>(applicable[count - 1])].Grade >
                                         worstWanted_)) {
        return;
    }
    StartLog(segment);
    const std::span<const int> cells(applicable.data(), count);
    if (descending) {
        GradeBestFirst(segment, cells);
    } else {
        GradeInOrder(segment, cells);
    }
}

void SawlogGrader::GradeInOrder(LogSegment& segment, std::span<const int> applicable) {
    for (const int i : applicable) {
        const Cell& cell = cells_[static_cast<std::size_t>(i)];
        Rotation rotation;
        if (cell.Grade >= 1 && cell.Grade <= 3 && cell.Grade < segment.SawGrade &&
            CellPasses(cell, rotation)) {
            Record(segment, cell, rotation);
        }
        StainDowngrade(segment);
    }
}

void SawlogGrader::GradeBestFirst(LogSegment& segment, std::span<const int> applicable) {
    const auto cellAt = [&](std::size_t k) -> const Cell& {
        return cells_[static_cast<std::size_t>(applicable[k])];
    };
    std::size_t groupEnd = applicable.size();
    while (groupEnd > 0) {
        const int grade = cellAt(groupEnd - 1).Grade;
        if (grade > worstWanted_) {
            return;
        }
        std::size_t groupStart = groupEnd - 1;
        while (groupStart > 0 && cellAt(groupStart - 1).Grade == grade) {
            --groupStart;
        }
        for (std::size_t k = groupStart; k < groupEnd; ++k) {
            Rotation rotation;
            if (!CellPasses(cellAt(k), rotation)) {
                continue;
            }
            Record(segment, cellAt(k), rotation);
            StainDowngrade(segment);
            // A later cell of the same grade improves again only after a stain downgrade.
            for (std::size_t q = k + 1; q < groupEnd; ++q) {
                if (grade < segment.SawGrade && CellPasses(cellAt(q), rotation)) {
                    Record(segment, cellAt(q), rotation);
                }
                StainDowngrade(segment);
            }
            for (std::size_t q = groupEnd; q < applicable.size(); ++q) {
                StainDowngrade(segment);
            }
            return;
        }
        groupEnd = groupStart;
    }
}

void SawlogGrader::Record(LogSegment& segment, const Cell& cell, const Rotation& rotation) {
    segment.SawGrade = static_cast<std::uint8_t>(cell.Grade);
    for (std::size_t f = 0; f < 4; ++f) {
        segment.FaceGrades[f] = rotation.FaceGrades[f];
        segment.FaceFirstSector[f] = static_cast<std::uint8_t>(9 * f + rotation.Number);
    }
}

void SawlogGrader::StartLog(const LogSegment& segment) {
    start_ = segment.StartPosition;
    end_ = segment.EndPosition;
    lengthInches_ = segment.LengthInches;
    nominalLength_ = segment.NominalLength;
    logBlocked_.CopyWords(forkBulgeBlocked_, start_, end_);
    BlankExcessiveDecay(logBlocked_);
    seamsOnLog_.clear();
    for (std::size_t slot = 0; slot < index_.Seams.size(); ++slot) {
        const SurfaceDefect& seam =
            tree_.SurfaceDefects[static_cast<std::size_t>(index_.Seams[slot])];
        if (seam.Position <= end_ && seam.EndPosition >= start_) {
            seamsOnLog_.push_back(static_cast<int>(slot));
        }
    }
    plainLog_ = seamsOnLog_.empty() && logBlocked_.Next(start_, end_, true) > end_;
    facesReady_.fill(0);
    boundaryNotes_.fill(false);
    logRuns_.clear();
    sharedClear_.clear();
    if (!plainLog_ && seamsOnLog_.empty()) {
        logBlocked_.ForEachClearRun(start_, end_, [&](int start, int end) {
            sharedClear_.push_back({start, end});
        });
    }
}

void SawlogGrader::BlankExcessiveDecay(InchMask& blocked) const {
    const int s = start_;
    const int e = end_;
    for (const int n : index_.ExcessiveDecays) {
        const EndDefect& d = tree_.EndDefects[static_cast<std::size_t>(n)];
        const int x1 = d.ExceedStart;
        const int x2 = d.ExceedEnd;
        if (x1 > e || x2 < s) {
            continue;
        }
        if (x1 <= s && x2 >= e) {
            blocked.Set(s, e);
        } else if (x1 > s && x2 >= e) {
            blocked.Set(x1 + RoundToInt32((e - x1) / 3.0), e);
        } else if (x1 <= s && x2 < e) {
            blocked.Set(s, x2 - RoundToInt32((x2 - s) / 3.0));
        }
    }
}

// The faces of a log that is not plain are worked out on demand, in face order within a
// rotation, since the rotation's boundary note passes from face to face.
const SawlogGrader::FaceOutcome& SawlogGrader::Face(int rotation, int face) {
    int& ready = facesReady_[static_cast<std::size_t>(rotation)];
    while (ready <= face) {
        const int firstSector = 9 * ready + rotation;
        faces_[static_cast<std::size_t>(firstSector)] =
            EvaluateFace(firstSector, boundaryNotes_[static_cast<std::size_t>(rotation)]);
        ++ready;
    }
    return faces_[static_cast<std::size_t>(9 * face + rotation)];
}

SawlogGrader::FaceOutcome SawlogGrader::EvaluateFace(int firstSector, bool& boundaryNote) {
    if (seamsOnLog_.empty()) {
        return FaceWithoutSeams(firstSector);
    }
    FaceOutcome outcome;
    work_.CopyWords(logBlocked_, start_, end_);
    if (!ApplySeamsToFace(work_, firstSector, boundaryNote)) {
        outcome.Failed = true;
        return outcome;
    }
    work_.OrWords(faceKnots_[static_cast<std::size_t>(firstSector)], start_, end_);
    outcome.First = static_cast<std::uint32_t>(logRuns_.size());
    work_.ForEachClearRun(start_, end_, [&](int start, int end) {
        logRuns_.push_back({start, end});
    });
    outcome.End = static_cast<std::uint32_t>(logRuns_.size());
    return outcome;
}

// Without a seam on the log, a face's usable inches are those free of its knots and of what
// blocks the whole log: its runs are where its knot-free runs over the stem and the log's
// shared clear runs overlap (each such overlap is bounded by a blocked inch or a log end, as
// the runs of the two marks together are).
SawlogGrader::FaceOutcome SawlogGrader::FaceWithoutSeams(int firstSector) {
    FaceOutcome outcome;
    outcome.First = static_cast<std::uint32_t>(logRuns_.size());
    const std::vector<Run>& knotFree = knotFreeRuns_[static_cast<std::size_t>(firstSector)];
    auto free = std::partition_point(knotFree.begin(), knotFree.end(),
                                     [&](const Run& run) { return run.End < start_; });
    auto clear = sharedClear_.begin();
    while (free != knotFree.end() && clear != sharedClear_.end()) {
        const int from = std::max(free->Start, clear->Start);
        const int to = std::min(free->End, clear->End);
        if (from <= to) {
            logRuns_.push_back({from, to});
        }
        if (clear->End < free->End) {
            ++clear;
        } else {
            ++free;
        }
    }
    outcome.End = static_cast<std::uint32_t>(logRuns_.size());
    return outcome;
}

// One note per rotation: the first straight seam found on a face's edge sector is passed
// over, shared by every seam and face of the rotation.
bool SawlogGrader::ApplySeamsToFace(InchMask& blocked, int firstSector, bool& boundaryNote) const {
    const int s = start_;
    const int e = end_;
    const int faceFirst = firstSector % kSectorCount;
    const int faceLast = (firstSector + 8) % kSectorCount;
    for (const int slot : seamsOnLog_) {
        const SurfaceDefect& seam = tree_.SurfaceDefects[static_cast<std::size_t>(
            index_.Seams[static_cast<std::size_t>(slot)])];
        const auto& bySector = seamIntervals_[static_cast<std::size_t>(slot)];
        const bool straight = seam.Sector == seam.EndSector;
        const int seamSector = WrapSector(seam.Sector);
        bool first = true;
        int c = 0;
        int t = 0;
        for (int k = 0; k < 9; ++k) {
            const int sector = (firstSector + k) % kSectorCount;
            for (const MapInterval& interval : bySector[static_cast<std::size_t>(sector)]) {
                if (interval.Start > e || interval.End < s) {
                    continue;
                }
                const int from = std::max(interval.Start, s);
                const int to = std::min(interval.End, e);
                c = first ? from : std::min(c, from);
                t = first ? to : std::max(t, to);
                first = false;
                if (straight && (seamSector == faceFirst || seamSector == faceLast) &&
                    !boundaryNote) {
                    boundaryNote = true;
                    continue;
                }
                const double span = t - c;
                if (c == s && t == e) {
                    return false; // the seam runs the whole log: the face fails
                }
                if (c > s && t == e) {
                    blocked.Set(RoundToInt32(c + span / 3.0), t);
                } else if (c == s && t < e) {
                    blocked.Set(c, RoundToInt32(t - span / 3.0));
                } else {
                    blocked.Set(RoundToInt32(c + span / 4.0), RoundToInt32(t - span / 4.0));
                }
            }
        }
    }
    return true;
}

// The knot-free runs of a plain log's face that are long enough for the cell's cuttings, from
// the first that reaches the log's start.
[[gnu::always_inline]] inline std::span<const SawlogGrader::Run>
SawlogGrader::PlainFaceRuns(int firstSector, const Cell& cell) {
    LongRuns& list = longRuns_[cell.RunList];
    const auto w = static_cast<std::size_t>(firstSector);
    const std::uint32_t begin = list.FaceBegin[w];
    const std::uint32_t end = list.FaceBegin[w + 1];
    std::uint32_t& first = list.Cursor[w];
    if (list.CursorStart[w] != start_) {
        while (first > begin && list.Runs[first - 1].End >= start_) {
            --first;
        }
        while (first < end && list.Runs[first].End < start_) {
            ++first;
        }
        list.CursorStart[w] = start_;
    }
    return std::span<const Run>(list.Runs).subspan(first, end - first);
}

// A face's cuttings are the first 27 runs of at least the cell's minimum length, in walking
// order; the face reaches the grade when the longest of them, as many as the cell counts, add
// up to the required clear length (in faces mode: the whole log and one inch). That sum only
// grows as the walk goes on, so the walk stops once it is reached.
template <bool kTraced, int kCounted>
[[gnu::always_inline]] inline int SawlogGrader::FaceGrade(std::span<const Run> runs,
                                                          const Target& target,
                                                          FaceCuttings* found) const {
    const Cell& cell = *target.Of;
    const int counted = kCounted != 0 ? kCounted : cell.Counted;
    if (counted > 3 && counted < kMaxCuttings) {
        int all = 0;
        const int longest = SumOfLongestCuttings(runs, cell, all);
        if constexpr (kTraced) {
            *found = {longest, all, false};
        }
        return longest >= target.Threshold ? cell.FacePassed : kNoGrade;
    }
    int count = 0;
    int sum = 0;
    int first = 0; // the three longest so far, as the count needs them
    int second = 0;
    int third = 0;
    for (const Run& run : runs) {
        if (run.Start > end_ || count == kMaxCuttings) {
            break;
        }
        const int length = LengthInLog(run);
        if (length < cell.MinimumRun) {
            continue;
        }
        ++count;
        if (counted >= kMaxCuttings) {
            sum += length;
        } else if (length > third || counted < 3) {
            if (length > first) {
                third = second;
                second = first;
                first = length;
            } else if (length > second) {
                third = second;
                second = length;
            } else {
                third = std::max(third, length);
            }
            sum = first * (counted > 0) + second * (counted > 1) + third * (counted > 2);
        }
        if (sum >= target.Threshold) {
            if constexpr (kTraced) {
                *found = {sum, count, false};
            }
            return cell.FacePassed;
        }
    }
    if constexpr (kTraced) {
        *found = {sum, count, false};
    }
    return sum >= target.Threshold ? cell.FacePassed : kNoGrade;
}

// The sum of the longest cuttings of a face, for cells that count 4 to 26 of them.
int SawlogGrader::SumOfLongestCuttings(std::span<const Run> runs, const Cell& cell,
                                       int& count) const {
    std::array<int, kMaxCuttings> cuttings{};
    count = 0;
    for (const Run& run : runs) {
        if (run.Start > end_ || count == kMaxCuttings) {
            break;
        }
        const int length = LengthInLog(run);
        if (length >= cell.MinimumRun) {
            cuttings[static_cast<std::size_t>(count++)] = length;
        }
    }
    const int taken = std::min(cell.Counted, count);
    std::partial_sort(cuttings.begin(), cuttings.begin() + taken, cuttings.begin() + count,
                      std::greater<>());
    int sum = 0;
    for (int i = 0; i < taken; ++i) {
        sum += cuttings[static_cast<std::size_t>(i)];
    }
    return sum;
}

template <bool kTraced, int kCounted>
int SawlogGrader::GradeOfFace(int rotation, int face, const Target& target, FaceCuttings* found) {
    if (plainLog_) {
        return FaceGrade<kTraced, kCounted>(PlainFaceRuns(9 * face + rotation, *target.Of), target,
                                            found);
    }
    const FaceOutcome& outcome = Face(rotation, face);
    if (outcome.Failed) {
        if constexpr (kTraced) {
            *found = {0, 0, true};
        }
        return kNoGrade;
    }
    return FaceGrade<kTraced, kCounted>(
        std::span<const Run>(logRuns_).subspan(outcome.First, outcome.End - outcome.First), target,
        found);
}

// Whether some rotation reaches the cell's grade on enough faces: three faces (the grade of the
// third face in ascending order), or in faces mode the clear faces the cell's code asks for.
// A rotation is left as soon as too many faces fail.
bool SawlogGrader::CellPasses(const Cell& cell, Rotation& found) {
    if (trace_ == nullptr) {
        // Cells count mostly one to three cuttings or every cutting; their walk is made for
        // that count.
        switch (cell.Counted) {
        case 1:
            return SearchRotations<false, 1>(cell, found, nullptr);
        case 2:
            return SearchRotations<false, 2>(cell, found, nullptr);
        case 3:
            return SearchRotations<false, 3>(cell, found, nullptr);
        case kMaxCuttings:
            return SearchRotations<false, kMaxCuttings>(cell, found, nullptr);
        default:
            return SearchRotations<false, 0>(cell, found, nullptr);
        }
    }
    CellReport report;
    const bool passed = SearchRotations<true, 0>(cell, found, &report);
    ExplainCuttings(cell, report, passed);
    return passed;
}

// Traced, every face of every rotation is searched, which only adds work: a rotation passes
// exactly when no more faces fail than the cell allows, as when the search leaves it early.
template <bool kTraced, int kCounted>
bool SawlogGrader::SearchRotations(const Cell& cell, Rotation& found, CellReport* report) {
    if (cell.FacesNeeded > 4) {
        return false;
    }
    const int mayFail = 4 - cell.FacesNeeded;
    Target target;
    target.Of = &cell;
    target.Threshold = WholeThreshold(
        facesMode_
            ? lengthInches_ + 1.0
            : RoundHalfEven(nominalLength_ * 12.0 * static_cast<double>(cell.Rules.YieldFraction)));
    [[maybe_unused]] int closest = -1; // the deciding face's cuttings of the closest rotation
    for (int r = 0; r < 9; ++r) {
        int failed = 0;
        int f = 0;
        [[maybe_unused]] std::array<FaceCuttings, 4> faces{};
        for (; f < 4; ++f) {
            const int grade =
                GradeOfFace<kTraced, kCounted>(r, f, target, &faces[static_cast<std::size_t>(f)]);
            found.FaceGrades[static_cast<std::size_t>(f)] = grade;
            if (grade == kNoGrade && ++failed > mayFail && !kTraced) {
                break;
            }
        }
        if constexpr (kTraced) {
            // The face that decides is the one the cell needs last, counting from the best.
            std::array<int, 4> sums{};
            for (std::size_t k = 0; k < 4; ++k) {
                const bool passes = found.FaceGrades[k] != kNoGrade;
                sums[k] = passes ? faces[k].Sum + 1000000 : faces[k].Sum;
            }
            std::sort(sums.begin(), sums.end(), std::greater<>());
            const int deciding = sums[static_cast<std::size_t>(cell.FacesNeeded - 1)];
            const bool passes = failed <= mayFail;
            if (passes || deciding > closest) {
                closest = deciding;
                report->Rotation = r;
                report->Faces = faces;
                report->Grades = found.FaceGrades;
            }
            if (passes) {
                found.Number = r;
                return true;
            }
        } else if (f == 4) {
            found.Number = r;
            return true;
        }
    }
    return false;
}

void SawlogGrader::ExplainCuttings(const Cell& cell, const CellReport& report, bool passed) const {
    std::string detail =
        "Cell " + std::to_string(cell.TriedSlot + 1) + "." + std::to_string(cell.DiameterSet) +
        "." + std::to_string(cell.LengthVariation) + ", " +
        (passed ? "rotation " : "closest rotation ") + std::to_string(report.Rotation) + ": ";
    int reaching = 0;
    for (const int grade : report.Grades) {
        reaching += grade != kNoGrade ? 1 : 0;
    }
    if (cell.FacesNeeded > 4) {
        detail = "the cell's clear-cutting code " + std::to_string(cell.Rules.ClearCuttingCode) +
                 " can never be met";
    } else if (facesMode_) {
        detail += std::to_string(reaching) + " clear faces of the " +
                  std::to_string(cell.FacesNeeded) + " needed";
    } else {
        const double needed =
            RoundHalfEven(nominalLength_ * 12.0 * static_cast<double>(cell.Rules.YieldFraction));
        const std::string need = FormatGeneral(needed) + " in. (" + std::to_string(nominalLength_) +
                                 " ft x 12 x yield " +
                                 FormatFixed(static_cast<double>(cell.Rules.YieldFraction), 3) +
                                 ")";
        const bool limited = cell.Counted < kMaxCuttings;
        const std::string counted = limited ? " in at most " + std::to_string(cell.Counted) +
                                                  (cell.Counted == 1 ? " cutting" : " cuttings")
                                            : "";
        const std::string minimum = std::to_string(cell.Rules.ClearCuttingCode) + " ft or more";
        if (passed) {
            detail += std::to_string(reaching) + " faces reach the " + need +
                      " the grade needs from cuttings of " + minimum + counted;
        } else {
            // The deciding face: after the faces that reach the grade, the failing faces from
            // the most inches down, the one the cell needs last.
            std::array<const FaceCuttings*, 4> failing{};
            std::size_t count = 0;
            for (std::size_t k = 0; k < 4; ++k) {
                if (report.Grades[k] == kNoGrade) {
                    failing[count++] = &report.Faces[k];
                }
            }
            std::stable_sort(
                failing.begin(), failing.begin() + static_cast<std::ptrdiff_t>(count),
                [](const FaceCuttings* x, const FaceCuttings* y) { return x->Sum > y->Sum; });
            const auto at = static_cast<std::size_t>(cell.FacesNeeded - 1 - reaching);
            const FaceCuttings* face = at < count ? failing[at] : nullptr;
            detail += "the " + std::string(Ordinal(cell.FacesNeeded)) + " face ";
            if (face == nullptr || face->SeamFailed) {
                detail += "is failed by a seam that runs the whole log";
            } else {
                const std::string cuttings = face->Count == 1 ? " cutting" : " cuttings";
                detail += "has " + std::to_string(face->Sum) + " in. in " +
                          (limited && face->Count > cell.Counted
                               ? "the longest " + std::to_string(cell.Counted) + " of its "
                               : std::string("its ")) +
                          std::to_string(face->Count) + cuttings + " of " + minimum;
            }
            detail += "; the grade needs " + need + counted;
        }
    }
    trace_->Record(SawlogClass(cell.Grade), kClearCuttings, passed, "clear_cuttings", detail);
}

void SawlogGrader::StainDowngrade(LogSegment& segment) const {
    if (segment.SawGrade > 2) {
        return;
    }
    const int s = segment.StartPosition;
    const int e = segment.EndPosition;
    const double stainAtStart = tree_.StainProfile[static_cast<std::size_t>(s)];
    const double stainAtEnd = tree_.StainProfile[static_cast<std::size_t>(e)];
    const double diaStart = tree_.Stem.Diameter[static_cast<std::size_t>(s)];
    const double diaEnd = tree_.Stem.Diameter[static_cast<std::size_t>(e)];
    // A ratio over a zero diameter: any stain exceeds it, no stain does not.
    auto over = [](double stain, double diameter, double limit) {
        return diameter > 0.0 ? stain / diameter > limit : stain > 0.0;
    };
    // Traced, a downgrade is recorded with the ratio that caused it.
    auto lower = [&](double stain, int stainAt, double limit) {
        if (trace_ != nullptr) {
            const bool atStart = over(stain, diaStart, limit);
            RecordStain(*trace_, segment.SawGrade,
                        {stain, stainAt, atStart ? diaStart : diaEnd, atStart ? s : e, limit});
        }
        ++segment.SawGrade;
    };
    for (const int n : index_.Stains) {
        const EndDefect& d = tree_.EndDefects[static_cast<std::size_t>(n)];
        if (!Overlaps(d.StartPosition, d.EndPosition, s, e)) {
            continue;
        }
        if (segment.SawGrade == 1) {
            if (over(stainAtStart, diaStart, 0.5) || over(stainAtStart, diaEnd, 0.5)) {
                lower(stainAtStart, s, 0.5);
            }
            continue;
        }
        if (segment.SawGrade == 2 && segment.SED >= 16) {
            if (over(stainAtStart, diaStart, 0.6) || over(stainAtStart, diaEnd, 0.6)) {
                lower(stainAtStart, s, 0.6);
            }
            continue;
        }
        if (segment.SawGrade == 2 && segment.SED < 16) {
            if (over(stainAtEnd, diaStart, 0.5) || over(stainAtEnd, diaEnd, 0.5)) {
                lower(stainAtEnd, e, 0.5);
            }
        }
    }
}

} // namespace varnok::detail
