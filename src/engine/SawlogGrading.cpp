#include "engine/SawlogGrading.h"

#include "support/Numbers.h"

#include <algorithm>

namespace varnok {
namespace {

constexpr int kMaxCuttings = 27;

bool IsKnotType(std::uint8_t kind) {
    return kind <= static_cast<std::uint8_t>(DefectKind::SurfaceRise);
}

int Blank(double x) {
    return static_cast<int>(RoundToInt(x));
}

} // namespace

SawlogGrader::SawlogGrader(const Tree& tree, const Market& market) : tree_(tree), market_(market) {
    for (std::size_t x = 0; x < kInchSlots; ++x) {
        if (tree.ForkBulgeFree[x] == 0) {
            forkBulgeBlocked_.Set(static_cast<int>(x), static_cast<int>(x));
        }
    }
    // Knots, bumps and surface rises of each sector, then each face as the union of its nine.
    std::array<InchMask, kSectorCount> sectorKnots{};
    for (int sector = 0; sector < kSectorCount; ++sector) {
        for (const MapInterval& interval :
             tree.SurfaceMap[static_cast<std::size_t>(sector)].Used()) {
            const auto& defect = tree.SurfaceDefects[static_cast<std::size_t>(interval.Defect - 1)];
            if (IsKnotType(defect.Kind)) {
                sectorKnots[static_cast<std::size_t>(sector)].Set(interval.Start, interval.End);
            }
        }
    }
    for (int first = 0; first < kSectorCount; ++first) {
        for (int k = 0; k < 9; ++k) {
            faceKnots_[static_cast<std::size_t>(first)].OrWords(
                sectorKnots[static_cast<std::size_t>((first + k) % kSectorCount)], 0,
                kMaxStemInches);
        }
    }
    for (std::size_t n = 0; n < tree.SurfaceDefectCount; ++n) {
        if (tree.SurfaceDefects[n].Kind == static_cast<std::uint8_t>(DefectKind::Seam)) {
            seams_.push_back(static_cast<int>(n));
        }
    }
    runs_.reserve(1024);
}

void SawlogGrader::GradeSawlog(LogSegment& segment) {
    segment.SawGrade = kNoGrade;
    segment.SawGradeTried = {0, 0, 0};
    const SawlogRuleSet& rules = market_.SawlogRules;
    const int grades = rules.GradeCount();
    if (grades == 0) {
        return;
    }
    bool started = false;
    for (int g = grades; g >= 1; --g) {
        for (int d = 1; d <= rules.DiameterSetCount(g); ++d) {
            for (int l = 1; l <= rules.LengthVariationCount(g, d); ++l) {
                const SawlogRuleCell& cell = rules.Cell(g, d, l);
                const bool applies = cell.GradeNumber != 0 && segment.SED >= cell.MinDiameter &&
                                     segment.SED <= cell.MaxDiameter &&
                                     segment.SweepDeduction <= cell.MaxSweepUnder25 &&
                                     segment.Deduction <= cell.MaxDeduction &&
                                     segment.LengthInches >= cell.MinLength * 12 &&
                                     (cell.ButtLogsOnly == 0 || segment.ButtLog == 1);
                if (!applies) {
                    continue;
                }
                if (!started) {
                    StartLog(segment);
                    started = true;
                }
                segment.SawGradeTried[static_cast<std::size_t>(g - 1)] = 1;
                GradeFaces(segment, cell);
                StainDowngrade(segment);
            }
        }
    }
}

void SawlogGrader::StartLog(const LogSegment& segment) {
    start_ = segment.StartPosition;
    end_ = segment.EndPosition;
    lengthInches_ = segment.LengthInches;
    nominalLength_ = segment.NominalLength;
    logBlocked_.CopyWords(forkBulgeBlocked_, start_, end_);
    BlankExcessiveDecay(logBlocked_);
    rotationReady_.fill(false);
    runs_.clear();
}

void SawlogGrader::BlankExcessiveDecay(InchMask& blocked) const {
    const int s = start_;
    const int e = end_;
    for (const EndDefect& d : tree_.Ends()) {
        if (d.Kind != static_cast<std::uint8_t>(DefectKind::Decay) ||
            d.ExceedStart == d.ExceedEnd) {
            continue;
        }
        const int x1 = d.ExceedStart;
        const int x2 = d.ExceedEnd;
        if (x1 > e || x2 < s) {
            continue;
        }
        if (x1 <= s && x2 >= e) {
            blocked.Set(s, e);
        } else if (x1 > s && x2 >= e) {
            blocked.Set(x1 + Blank((e - x1) / 3.0), e);
        } else if (x1 <= s && x2 < e) {
            blocked.Set(s, x2 - Blank((x2 - s) / 3.0));
        }
    }
}

void SawlogGrader::EnsureRotation(int rotation) {
    if (rotationReady_[static_cast<std::size_t>(rotation)]) {
        return;
    }
    // One note per rotation: the first straight seam found on a face's edge sector is passed
    // over, shared by every seam and face of the rotation.
    bool boundaryNote = false;
    for (int f = 0; f < 4; ++f) {
        const int firstSector = 9 * f + rotation;
        faces_[static_cast<std::size_t>(4 * rotation + f)] =
            EvaluateFace(firstSector, boundaryNote);
    }
    rotationReady_[static_cast<std::size_t>(rotation)] = true;
}

SawlogGrader::FaceOutcome SawlogGrader::EvaluateFace(int firstSector, bool& boundaryNote) {
    FaceOutcome outcome;
    InchMask blocked;
    blocked.CopyWords(logBlocked_, start_, end_);
    if (!ApplySeamsToFace(blocked, firstSector, boundaryNote)) {
        outcome.Failed = true;
        return outcome;
    }
    blocked.OrWords(faceKnots_[static_cast<std::size_t>(firstSector % kSectorCount)], start_, end_);
    outcome.FirstRun = static_cast<std::uint32_t>(runs_.size());
    int x = start_;
    while (x <= end_) {
        const int runStart = blocked.Next(x, end_, false);
        if (runStart > end_) {
            break;
        }
        const int runEnd = blocked.Next(runStart, end_, true);
        runs_.push_back(static_cast<std::uint16_t>(runEnd - runStart));
        x = runEnd;
    }
    outcome.RunCount = static_cast<std::uint32_t>(runs_.size()) - outcome.FirstRun;
    return outcome;
}

bool SawlogGrader::ApplySeamsToFace(InchMask& blocked, int firstSector, bool& boundaryNote) const {
    const int s = start_;
    const int e = end_;
    const int faceFirst = firstSector % kSectorCount;
    const int faceLast = (firstSector + 8) % kSectorCount;
    for (const int index : seams_) {
        const SurfaceDefect& seam = tree_.SurfaceDefects[static_cast<std::size_t>(index)];
        if (seam.Position > e || seam.EndPosition < s) {
            continue;
        }
        const int number = index + 1;
        const bool straight = seam.Sector == seam.EndSector;
        const int seamSector = WrapSector(seam.Sector);
        bool first = true;
        int c = 0;
        int t = 0;
        for (int k = 0; k < 9; ++k) {
            const int sector = (firstSector + k) % kSectorCount;
            for (const MapInterval& interval :
                 tree_.SurfaceMap[static_cast<std::size_t>(sector)].Used()) {
                if (interval.Defect != number || interval.Start > e || interval.End < s) {
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
                    blocked.Set(Blank(c + span / 3.0), t);
                } else if (c == s && t < e) {
                    blocked.Set(c, Blank(t - span / 3.0));
                } else {
                    blocked.Set(Blank(c + span / 4.0), Blank(t - span / 4.0));
                }
            }
        }
    }
    return true;
}

int SawlogGrader::FaceGrade(const FaceOutcome& face, const SawlogRuleCell& cell, int grade,
                            double requiredLength) const {
    if (face.Failed) {
        return kNoGrade;
    }
    const bool facesMode = market_.FacesMode;
    const int minimum = facesMode ? 0 : cell.ClearCuttingCode * 12;
    std::array<int, kMaxCuttings> cuttings{};
    int count = 0;
    for (std::uint32_t i = 0; i < face.RunCount && count < kMaxCuttings; ++i) {
        const int run = runs_[face.FirstRun + i];
        if (run >= minimum) {
            cuttings[static_cast<std::size_t>(count++)] = run;
        }
    }
    const int taken =
        cell.MaxClearCuttings == 99 ? count : std::min<int>(cell.MaxClearCuttings, count);
    std::partial_sort(cuttings.begin(), cuttings.begin() + taken, cuttings.begin() + count,
                      std::greater<>());
    int sum = 0;
    for (int i = 0; i < taken; ++i) {
        sum += cuttings[static_cast<std::size_t>(i)];
    }
    if (facesMode) {
        return sum >= lengthInches_ + 1 ? 1 : kNoGrade;
    }
    return sum >= requiredLength ? grade : kNoGrade;
}

void SawlogGrader::GradeFaces(LogSegment& segment, const SawlogRuleCell& cell) {
    const int grade = cell.GradeNumber;
    // Kept as a double: a damaged yield that is not a number then fails every face.
    const double required =
        RoundHalfEven(nominalLength_ * 12.0 * static_cast<double>(cell.YieldFraction));
    for (int r = 0; r < 9; ++r) {
        EnsureRotation(r);
        std::array<int, 4> faceGrades{};
        for (int f = 0; f < 4; ++f) {
            faceGrades[static_cast<std::size_t>(f)] =
                FaceGrade(faces_[static_cast<std::size_t>(4 * r + f)], cell, grade, required);
        }
        int rotationGrade = 0;
        if (market_.FacesMode) {
            const int sum = faceGrades[0] + faceGrades[1] + faceGrades[2] + faceGrades[3];
            const int code = cell.ClearCuttingCode;
            const bool accepted =
                (sum == 4 && code >= 11 && code <= 14) || (sum == 7 && code >= 11 && code <= 13) ||
                (sum == 10 && code >= 11 && code <= 12) || (sum == 13 && code == 11);
            rotationGrade = accepted ? grade : kNoGrade;
        } else {
            std::array<int, 4> sorted = faceGrades;
            std::sort(sorted.begin(), sorted.end());
            rotationGrade = sorted[2];
        }
        if (rotationGrade < segment.SawGrade && rotationGrade >= grade) {
            segment.SawGrade = static_cast<std::uint8_t>(rotationGrade);
            for (int f = 0; f < 4; ++f) {
                segment.FaceGrades[static_cast<std::size_t>(f)] =
                    faceGrades[static_cast<std::size_t>(f)];
                segment.FaceFirstSector[static_cast<std::size_t>(f)] =
                    static_cast<std::uint8_t>(9 * f + r);
            }
            if (segment.SawGrade == grade) {
                return;
            }
        }
    }
}

void SawlogGrader::StainDowngrade(LogSegment& segment) const {
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
    for (const EndDefect& d : tree_.Ends()) {
        if (d.Kind != static_cast<std::uint8_t>(DefectKind::Stain)) {
            continue;
        }
        const int a = d.StartPosition;
        const int b = d.EndPosition;
        if (!((s <= a && a <= e) || (s <= b && b <= e) || (a < s && b > e))) {
            continue;
        }
        if (segment.SawGrade == 1) {
            if (over(stainAtStart, diaStart, 0.5) || over(stainAtStart, diaEnd, 0.5)) {
                segment.SawGrade = 2;
            }
            continue;
        }
        if (segment.SawGrade == 2 && segment.SED >= 16) {
            if (over(stainAtStart, diaStart, 0.6) || over(stainAtStart, diaEnd, 0.6)) {
                segment.SawGrade = 3;
            }
            continue;
        }
        if (segment.SawGrade == 2 && segment.SED < 16) {
            if (over(stainAtEnd, diaStart, 0.5) || over(stainAtEnd, diaEnd, 0.5)) {
                segment.SawGrade = 3;
            }
        }
    }
}

} // namespace varnok
