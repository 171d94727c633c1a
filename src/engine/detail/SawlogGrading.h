#pragma once

#include "engine/GradeExplanation.h"
#include "engine/LogSegment.h"
#include "engine/detail/InchMask.h"
#include "engine/detail/TreeIndex.h"
#include "grading/SawlogRules.h"
#include "tree/Tree.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace varnok::detail {

// Grades logs of one tree as sawlogs: the log is seen as four faces of nine sectors, turned
// through nine rotations; each face is searched for clear cuttings, and the log takes the
// grade that three faces reach, less stain downgrades.
//
// Built once per tree: it indexes the tree's knots and seams by face and flattens the rule
// cells, and it keeps work areas, so grading a log allocates nothing once warmed up. The tree,
// its index and the rules must outlive the grader. Not for use from two threads at once.
class SawlogGrader {
public:
    SawlogGrader(const Tree& tree, const TreeIndex& index, const SawlogRuleSet& rules);

    // Sets SawGrade (4 = below grade), SawGradeTried and the face work areas of a segment
    // prepared up to MarkButtLog. With a trace, also records for every rule cell tried the
    // first condition it fails, its clear cuttings (every face of every rotation is then
    // searched to the end, which changes no grade) and each stain downgrade, as steps of the
    // sawlog products 4 to 6 ranked sed, sweep, deduction, length, butt_only, clear_cuttings,
    // stain. Cells of grades worse than the one reached are not tried, so they get no step.
    // Grades worse than `worstWanted` (1 to 3; 0 for none) are not looked for where the cells
    // run best first (see GradeBestFirst): the log then keeps SawGrade 4 where one of them would
    // have been reached, and its face work areas stay incomplete.
    void GradeSawlog(LogSegment& segment, GradeTrace* trace = nullptr, int worstWanted = 3);

private:
    // A rule cell as grading reads it, in the order the cells are tried.
    struct Cell {
        int Grade = 0;     // the cell's grade number
        int TriedSlot = 0; // the grade it is listed under, less 1
        SawlogRuleCell Rules;
        int MinimumRun = 0;      // inches a run needs to count as a cutting (0 in faces mode)
        std::size_t RunList = 0; // the knot-free runs of this minimum: longRuns_[RunList]
        int FacesNeeded = 3;     // faces that must reach the grade; 5 = the cell can never pass
        int Counted = 0;         // cuttings added up: 27 (all a face holds) for "no limit"
        int FacePassed = 0;  // a face's grade when it reaches the cell: the grade, 1 in faces mode
        int DiameterSet = 0; // where the cell sits in the rules, to name it
        int LengthVariation = 0;
    };
    // What a face of the current log must reach for one cell: the sum of the longest Counted
    // cuttings of at least MinimumRun inches must come to Threshold inches. Sums are whole
    // inches, so the threshold is kept rounded up (see WholeThreshold).
    struct Target {
        const Cell* Of = nullptr;
        int Threshold = 0;
    };
    struct Run {
        int Start = 0; // inches, inclusive
        int End = 0;
    };
    // One face of a log that is not plain: failed by a seam, or its runs of usable inches in
    // walking order, runs First to End of logRuns_. (Only knots block a plain log, so its
    // faces' runs are the faces' knot-free runs cut to the log.)
    struct FaceOutcome {
        bool Failed = false;
        std::uint32_t First = 0;
        std::uint32_t End = 0;
    };
    // The knot-free runs of every face over the stem that are at least a cutting minimum long,
    // and per face the first run reaching the log start CursorStart (logs come mostly in rising
    // order, and the ends of one start one after the other, so the search moves a step or two
    // or not at all).
    struct LongRuns {
        int Minimum = 0;
        std::vector<Run> Runs; // face by face, face w's from FaceBegin[w] to FaceBegin[w + 1]
        std::array<std::uint32_t, kSectorCount + 1> FaceBegin{};
        std::array<std::uint32_t, kSectorCount> Cursor{}; // positions in Runs
        std::array<int, kSectorCount> CursorStart{};
    };
    // The face grades of a rotation that reached a cell's grade.
    struct Rotation {
        std::array<int, 4> FaceGrades{};
        int Number = 0;
    };
    // What a traced face search found on one face: the cuttings it counted and the inches they
    // sum to (only up to what the cell needs once the face reaches it).
    struct FaceCuttings {
        int Sum = 0;
        int Count = 0;
        bool SeamFailed = false;
    };
    // A traced rotation search: the rotation that passed, or else the one whose deciding face
    // came closest, with its faces.
    struct CellReport {
        int Rotation = 0;
        std::array<FaceCuttings, 4> Faces{};
        std::array<int, 4> Grades{};
    };

    void FlattenCells(const SawlogRuleSet& rules);
    void IndexCellsBySed();
    void IndexFaces();
    void IndexLongRuns();
    void IndexSeams();
    // The stage of the first condition of the cell that the log does not meet, or -1 when the
    // cell applies.
    int UnmetCondition(const Cell& cell, const LogSegment& segment) const;
    void ExplainUnmet(const Cell& cell, const LogSegment& segment, int stage) const;
    void ExplainCuttings(const Cell& cell, const CellReport& report, bool passed) const;
    void GradeBestFirst(LogSegment& segment, std::span<const int> applicable);
    void GradeInOrder(LogSegment& segment, std::span<const int> applicable);
    void StartLog(const LogSegment& segment);
    void BlankExcessiveDecay(InchMask& blocked) const;
    const FaceOutcome& Face(int rotation, int face);
    FaceOutcome EvaluateFace(int firstSector, bool& boundaryNote);
    FaceOutcome FaceWithoutSeams(int firstSector);
    bool ApplySeamsToFace(InchMask& blocked, int firstSector, bool& boundaryNote) const;
    std::span<const Run> PlainFaceRuns(int firstSector, const Cell& cell);
    // kCounted is the cell's count of cuttings (1 to 3, or 27 for all) when the search is made
    // for that count alone, or 0 for any count, read from the cell.
    template <bool kTraced, int kCounted>
    int GradeOfFace(int rotation, int face, const Target& target, FaceCuttings* found);
    template <bool kTraced, int kCounted>
    int FaceGrade(std::span<const Run> runs, const Target& target, FaceCuttings* found) const;
    // The inches of a run that lie in the log.
    int LengthInLog(const Run& run) const {
        return std::min(run.End, end_) - std::max(run.Start, start_) + 1;
    }
    int SumOfLongestCuttings(std::span<const Run> runs, const Cell& cell, int& count) const;
    bool CellPasses(const Cell& cell, Rotation& found);
    // The rotation search; traced, it searches every face of a rotation and reports.
    template <bool kTraced, int kCounted>
    bool SearchRotations(const Cell& cell, Rotation& found, CellReport* report);
    static void Record(LogSegment& segment, const Cell& cell, const Rotation& rotation);
    void StainDowngrade(LogSegment& segment) const;

    const Tree& tree_;
    const TreeIndex& index_;
    bool facesMode_ = false;
    GradeTrace* trace_ = nullptr; // the log being graded is traced
    int worstWanted_ = 3;         // of the log being graded
    std::vector<Cell> cells_;
    // Per small-end diameter, inches: the cells (bit i for cells_[i]) whose diameters hold it.
    std::vector<std::uint32_t> cellsBySed_;
    InchMask forkBulgeBlocked_;
    std::array<InchMask, kSectorCount> faceKnots_;            // by the face's first sector
    std::array<std::vector<Run>, kSectorCount> knotFreeRuns_; // of each face over the stem
    std::vector<LongRuns> longRuns_; // one per cutting minimum of the cells
    // Per seam of the index, its map intervals by sector, in map order.
    std::vector<std::array<std::vector<MapInterval>, kSectorCount>> seamIntervals_;

    // Per log.
    int start_ = 0;
    int end_ = 0;
    int lengthInches_ = 0;
    int nominalLength_ = 0;
    bool plainLog_ = false;       // nothing but knots blocks its faces
    InchMask logBlocked_;         // forks, bulges and excessive decay over the log's words
    InchMask work_;               // one face's blocked inches
    std::vector<int> seamsOnLog_; // positions in index_.Seams
    std::array<FaceOutcome, kSectorCount> faces_{}; // by first sector 9 f + r
    std::array<int, 9> facesReady_{};     // faces of each rotation evaluated, in face order
    std::array<bool, 9> boundaryNotes_{}; // one note per rotation (see ApplySeamsToFace)
    std::vector<Run> logRuns_;            // runs of the faces of a log that is not plain
    // Of a log without seams: the runs of the log free of forks, bulges and excessive decay,
    // which every face shares.
    std::vector<Run> sharedClear_;
};

} // namespace varnok::detail
