#pragma once

#include "game/PatternEvaluation.h"
#include "tracking/TrackedLog.h"

#include <vector>

namespace varnok {

inline constexpr int kMaxBuckers = 5;
inline constexpr int kMaxTrackedTrees = 10;
inline constexpr int kTrackedLogSlots = 26;

enum class PatternKind { Optimal = 1, Bucker = 2 };

// An empty slot: diameters, length, volume, deductions and value 0, unit " " (one blank),
// product class 10.
TrackedLog EmptyTrackedLog();

// The logs of every pattern of a tracking session: [user 1..5][position 1..10][kind][log 1..26].
// Log k is the k-th piece of the pattern from the butt, so a piece too short to grade leaves
// its slot empty and the logs after it keep their places.
class TrackingResultStore {
public:
    TrackingResultStore(); // every slot empty

    void ClearTrackingResultStore(); // every slot back to EmptyTrackedLog()

    // Writes one slot. Throws VarnokError for a user, position or log index out of range.
    void RecordTrackedLog(int user, int position, PatternKind kind, int logIndex,
                          const TrackedLog& log);

    // Clears the 26 slots of (user, position, kind), then records every graded piece of the
    // evaluation (NominalLength != 0) in the slot of its piece index, with MakeTrackedLog, and
    // the cull charges of the pieces too short to grade (ShortPieceCharge). Throws VarnokError for
    // a user or position out of range, or a piece index beyond 26 (then nothing is changed).
    void RecordPattern(int user, int position, PatternKind kind,
                       const PatternEvaluation& evaluation);

    // Throws VarnokError for a user, position or log index out of range.
    const TrackedLog& Slot(int user, int position, PatternKind kind, int logIndex) const;

    // The recorded logs (large-end diameter not 0), butt first. Throws VarnokError for a user
    // or position out of range.
    std::vector<TrackedLog> RecordedLogs(int user, int position, PatternKind kind) const;

    // Dollars, 0 or more: what the pieces of the pattern too short to grade were charged as
    // cull. They have no slot, but the comparison's net counts them, and so do the summaries.
    // Throws VarnokError for a user or position out of range.
    float ShortPieceCharge(int user, int position, PatternKind kind) const;

private:
    std::vector<TrackedLog> slots_;
    std::vector<float> shortPieceCharges_; // one per pattern
};

} // namespace varnok
