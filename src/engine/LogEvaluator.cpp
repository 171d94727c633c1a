#include "engine/LogEvaluator.h"

#include "engine/detail/SawlogGrading.h"
#include "engine/detail/Scaling.h"
#include "engine/detail/TreeIndex.h"
#include "engine/detail/Values.h"
#include "engine/detail/VeneerGrading.h"
#include "support/Errors.h"

#include <string>

namespace varnok {

using namespace detail;

LogEvaluator::LogEvaluator(const Tree& tree, const Market& market)
    : tree_(tree), market_(market), index_(std::make_unique<TreeIndex>(tree)),
      sawlog_(std::make_unique<SawlogGrader>(tree, *index_, market.SawlogRules)) {}

LogEvaluator::~LogEvaluator() = default;

EvaluatedLog LogEvaluator::EvaluateLog(int start, int end) {
    if (start < 0 || start >= end || end > tree_.Stem.StemLength) {
        throw VarnokError("A log from " + std::to_string(start) + " to " + std::to_string(end) +
                          " inches does not lie on the stem (0 to " +
                          std::to_string(tree_.Stem.StemLength) + " inches).");
    }
    EvaluatedLog log;
    LogSegment& s = log.Segment;
    SetSegmentEnds(tree_, s, start, end);
    s.NominalLength = market_.Lengths().NominalFeet(s.LengthInches);
    s.SawGrade = kNoGrade;
    s.VeneerGrade = kNoGrade;
    s.RoundwoodProduct = kNoGrade;
    if (s.NominalLength == 0) {
        s.ProductClass = kCullProduct;
        log.CubicVolume = CubicVolume(s);
        s.ShownVolume = log.CubicVolume;
        s.Value = CullCharge(market_, log.CubicVolume);
        return log;
    }
    log.Graded = true;
    ComputeSweep(tree_, *index_, market_.Lengths(), s);
    DecayDeduction(tree_, *index_, s);
    ForkBulgeDeduction(tree_, *index_, s);
    SeamDeduction(tree_, *index_, s);
    MarkButtLog(s);
    sawlog_->GradeSawlog(s);
    log.NetScale = NetScale(market_.LogRule, s);
    log.CubicVolume = CubicVolume(s);
    ClassRoundwood(market_, log.CubicVolume, s);
    GradeVeneerAll(tree_, *index_, market_.VeneerRules(), s);

    const int length = s.NominalLength;
    log.VeneerValue = VeneerValue(market_, s.VeneerGrade, length, log.NetScale);
    log.SawlogValue = SawlogValue(market_, s.SawGrade, length, log.NetScale);
    log.RoundwoodValue =
        RoundwoodValue(market_, s.RoundwoodProduct, length, log.NetScale, log.CubicVolume);
    s.ProductClass = kCullProduct;
    if (log.VeneerValue > 0.0F && log.VeneerValue >= log.SawlogValue &&
        log.VeneerValue >= log.RoundwoodValue) {
        s.ProductClass = s.VeneerGrade;
        log.ProductValue = log.VeneerValue;
    } else if (log.SawlogValue > 0.0F && log.SawlogValue >= log.RoundwoodValue) {
        s.ProductClass = static_cast<std::uint8_t>(s.SawGrade + 3);
        log.ProductValue = log.SawlogValue;
    } else if (log.RoundwoodValue > 0.0F) {
        s.ProductClass = static_cast<std::uint8_t>(s.RoundwoodProduct + 6);
        log.ProductValue = log.RoundwoodValue;
    }
    s.ShownVolume = ShownVolumeOf(s.ProductClass, log.NetScale, log.CubicVolume);
    s.Value = log.SoldAsCull() ? CullCharge(market_, log.CubicVolume) : log.ProductValue;
    return log;
}

} // namespace varnok
