#include "tracking/TrackingStore.h"

#include "rules/SaleUnits.h"
#include "support/Errors.h"

#include <string>

namespace varnok {
namespace {

constexpr int kKinds = 2;

void CheckIndex(const char* what, int index, int last) {
    if (index < 1 || index > last) {
        throw VarnokError(std::string("Tracking: ") + what + " " + std::to_string(index) +
                          " is outside 1 to " + std::to_string(last) + ".");
    }
}

void CheckPattern(int user, int position) {
    CheckIndex("bucker", user, kMaxBuckers);
    CheckIndex("tree position", position, kMaxTrackedTrees);
}

// The first slot of (user, position, kind); its 26 logs follow.
std::size_t PatternStart(int user, int position, PatternKind kind) {
    const int pattern =
        ((user - 1) * kMaxTrackedTrees + (position - 1)) * kKinds + (static_cast<int>(kind) - 1);
    return static_cast<std::size_t>(pattern) * kTrackedLogSlots;
}

} // namespace

TrackedLog EmptyTrackedLog() {
    TrackedLog log;
    log.Unit = " ";
    log.ProductClass = kCullProduct;
    return log;
}

TrackingResultStore::TrackingResultStore()
    : slots_(static_cast<std::size_t>(kMaxBuckers) * kMaxTrackedTrees * kKinds * kTrackedLogSlots,
             EmptyTrackedLog()) {}

void TrackingResultStore::ClearTrackingResultStore() {
    std::fill(slots_.begin(), slots_.end(), EmptyTrackedLog());
}

void TrackingResultStore::RecordTrackedLog(int user, int position, PatternKind kind, int logIndex,
                                           const TrackedLog& log) {
    CheckPattern(user, position);
    CheckIndex("log", logIndex, kTrackedLogSlots);
    slots_[PatternStart(user, position, kind) + static_cast<std::size_t>(logIndex - 1)] = log;
}

void TrackingResultStore::RecordPattern(int user, int position, PatternKind kind,
                                        const PatternEvaluation& evaluation) {
    CheckPattern(user, position);
    for (const EvaluatedPiece& piece : evaluation.Pieces) {
        CheckIndex("log", piece.Index, kTrackedLogSlots);
    }
    const auto first =
        slots_.begin() + static_cast<std::ptrdiff_t>(PatternStart(user, position, kind));
    std::fill(first, first + kTrackedLogSlots, EmptyTrackedLog());
    for (const EvaluatedPiece& piece : evaluation.Pieces) {
        if (piece.Log.Segment.NominalLength != 0) {
            RecordTrackedLog(user, position, kind, piece.Index, MakeTrackedLog(piece));
        }
    }
}

const TrackedLog& TrackingResultStore::Slot(int user, int position, PatternKind kind,
                                            int logIndex) const {
    CheckPattern(user, position);
    CheckIndex("log", logIndex, kTrackedLogSlots);
    return slots_[PatternStart(user, position, kind) + static_cast<std::size_t>(logIndex - 1)];
}

std::vector<TrackedLog> TrackingResultStore::RecordedLogs(int user, int position,
                                                          PatternKind kind) const {
    CheckPattern(user, position);
    std::vector<TrackedLog> logs;
    const std::size_t first = PatternStart(user, position, kind);
    for (std::size_t k = first; k < first + kTrackedLogSlots; ++k) {
        if (slots_[k].LED != 0) {
            logs.push_back(slots_[k]);
        }
    }
    return logs;
}

} // namespace varnok
