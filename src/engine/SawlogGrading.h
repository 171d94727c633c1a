#pragma once

#include "engine/InchMask.h"
#include "engine/LogSegment.h"
#include "market/Market.h"
#include "tree/Tree.h"

#include <array>
#include <cstdint>
#include <vector>

namespace varnok {

// Grades logs of one tree as sawlogs under the market's rules: the log is seen as four faces
// of nine sectors, turned through nine rotations; each face is searched for clear cuttings,
// and the log takes the grade that three faces reach, less stain downgrades.
//
// Built once per tree: it indexes the tree's knots by face and keeps work areas, so grading a
// log allocates nothing once warmed up. The tree and market must outlive the grader. Not for
// use from two threads at once.
class SawlogGrader {
public:
    SawlogGrader(const Tree& tree, const Market& market);

    // Sets SawGrade (4 = below grade), SawGradeTried and the face work areas of a segment
    // prepared up to MarkButtLog.
    void GradeSawlog(LogSegment& segment);

private:
    struct FaceOutcome {
        bool Failed = false;
        std::uint32_t FirstRun = 0; // runs of usable inches, in walking order, in runs_
        std::uint32_t RunCount = 0;
    };

    void StartLog(const LogSegment& segment);
    void EnsureRotation(int rotation);
    FaceOutcome EvaluateFace(int firstSector, bool& boundaryNote);
    bool ApplySeamsToFace(InchMask& blocked, int firstSector, bool& boundaryNote) const;
    void BlankExcessiveDecay(InchMask& blocked) const;
    int FaceGrade(const FaceOutcome& face, const SawlogRuleCell& cell, int grade,
                  double requiredLength) const;
    void GradeFaces(LogSegment& segment, const SawlogRuleCell& cell);
    void StainDowngrade(LogSegment& segment) const;

    const Tree& tree_;
    const Market& market_;
    InchMask forkBulgeBlocked_;
    std::array<InchMask, kSectorCount> faceKnots_; // by the face's first sector
    std::vector<int> seams_;                       // surface defect indices, table order

    // Per log.
    int start_ = 0;
    int end_ = 0;
    int lengthInches_ = 0;
    int nominalLength_ = 0;
    InchMask logBlocked_; // forks, bulges and excessive decay over the log's words
    std::array<bool, 9> rotationReady_{};
    std::array<FaceOutcome, 36> faces_{}; // rotation r, face f at 4 r + f - 1
    std::vector<std::uint16_t> runs_;
};

} // namespace varnok
