#pragma once

// Evaluated patterns written by hand, so that a tracking case states exactly the logs it
// records.

#include "game/PatternEvaluation.h"
#include "rules/SaleUnits.h"
#include "tracking/TrackedLog.h"

#include <gtest/gtest.h>

#include <vector>

namespace varnok::test {

struct PieceFacts {
    int Index = 0; // from 1
    int ProductClass = 4;
    float Volume = 0.0F; // board feet for classes 1 to 6, cubic feet otherwise
    float Value = 0.0F;  // dollars; the cull charge for class 10
    int LED = 20;
    int SED = 18;
    int Length = 196;
    float SweepDeduction = 0.0F;
    float Deduction = 0.0F;
    bool Graded = true; // false: a piece shorter than a log
};

inline PatternEvaluation Pattern(const std::vector<PieceFacts>& pieces) {
    PatternEvaluation evaluation;
    for (const PieceFacts& facts : pieces) {
        EvaluatedPiece piece;
        piece.Index = facts.Index;
        LogSegment& s = piece.Log.Segment;
        s.NominalLength = facts.Graded ? 16 : 0;
        s.ProductClass = static_cast<std::uint8_t>(facts.ProductClass);
        s.ShownVolume = facts.Volume;
        s.Value = facts.Value;
        s.LED = static_cast<std::uint16_t>(facts.LED);
        s.SED = static_cast<std::uint16_t>(facts.SED);
        s.LengthInches = static_cast<std::uint16_t>(facts.Length);
        s.SweepDeduction = facts.SweepDeduction;
        s.Deduction = facts.Deduction;
        piece.Log.Graded = facts.Graded;
        evaluation.Pieces.push_back(piece);
    }
    return evaluation;
}

inline void ExpectSameLog(const TrackedLog& actual, const TrackedLog& expected) {
    EXPECT_EQ(actual.LogIndex, expected.LogIndex);
    EXPECT_EQ(actual.LED, expected.LED);
    EXPECT_EQ(actual.SED, expected.SED);
    EXPECT_EQ(actual.LengthInches, expected.LengthInches);
    EXPECT_EQ(actual.ShownVolume, expected.ShownVolume);
    EXPECT_EQ(actual.SweepDeduction, expected.SweepDeduction);
    EXPECT_EQ(actual.Deduction, expected.Deduction);
    EXPECT_EQ(actual.ProductClass, expected.ProductClass);
    EXPECT_EQ(actual.Value, expected.Value);
    EXPECT_EQ(actual.Unit, expected.Unit);
}

} // namespace varnok::test
