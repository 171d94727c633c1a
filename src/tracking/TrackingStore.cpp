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

constexpr std::size_t kPatterns = static_cast<std::size_t>(kMaxBuckers) * kMaxTrackedTrees * kKinds;

std::size_t PatternIndex(int user, int position, PatternKind kind) {
    return static_cast<std::size_t>(((user - 1) * kMaxTrackedTrees + (position - 1)) * kKinds +
                                    (static_cast<int>(kind) - 1));
}

// The first slot of (user, position, kind); its 26 logs follow.
std::size_t PatternStart(int user, int position, PatternKind kind) {
    return PatternIndex(user, position, kind) * kTrackedLogSlots;
}

} // namespace

TrackedLog EmptyTrackedLog() {
    TrackedLog log;
    log.Unit = " ";
    log.ProductClass = kCullProduct;
    return log;
}

TrackingResultStore::TrackingResultStore()
    : slots_(kPatterns * kTrackedLogSlots, EmptyTrackedLog()), shortPieceCharges_(kPatterns) {}

void TrackingResultStore::ClearTrackingResultStore() {
    std::fill(slots_.begin(), slots_.end(), EmptyTrackedLog());
    std::fill(shortPieceCharges_.begin(), shortPieceCharges_.end(), 0.0F);
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
    float& shortPieces = shortPieceCharges_[PatternIndex(user, position, kind)];
    shortPieces = 0.0F;
    for (const EvaluatedPiece& piece : evaluation.Pieces) {
        if (piece.Log.Segment.NominalLength != 0) {
            RecordTrackedLog(user, position, kind, piece.Index, MakeTrackedLog(piece));
        } else if (piece.Log.SoldAsCull()) {
            shortPieces += piece.Log.Segment.Value;
        }
    }
}

float TrackingResultStore::ShortPieceCharge(int user, int position, PatternKind kind) const {
    CheckPattern(user, position);
    return shortPieceCharges_[PatternIndex(user, position, kind)];
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
