#include "tracking/TrackedLog.h"

#include "rules/SaleUnits.h"

namespace varnok {

TrackedLog MakeTrackedLog(const EvaluatedPiece& piece) {
    const LogSegment& s = piece.Log.Segment;
    TrackedLog log;
    log.LogIndex = piece.Index;
    log.LED = s.LED;
    log.SED = s.SED;
    log.LengthInches = s.LengthInches;
    log.ShownVolume = s.ShownVolume;
    log.SweepDeduction = s.SweepDeduction;
    log.Deduction = s.Deduction;
    log.ProductClass = s.ProductClass;
    log.Value = s.Value;
    log.Unit = TrackingVolumeUnit(s.ProductClass);
    return log;
}

} // namespace varnok
