#pragma once

// Trees and markets built in memory for engine tests, so each case states exactly the stem,
// defects and rules it depends on.

#include "engine/LogEvaluator.h"
#include "market/Market.h"
#include "tree/DefectMap.h"
#include "tree/Tree.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace varnok::test {

// A straight stem `length` inches long whose diameter falls linearly from `butt` to `top`.
inline std::unique_ptr<Tree> StraightTree(int length, int butt, int top) {
    auto tree = std::make_unique<Tree>();
    NewTree(*tree);
    for (int x = 0; x <= length; ++x) {
        const double d = butt + (top - butt) * static_cast<double>(x) / length;
        tree->Stem.Diameter[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(d + 0.5);
    }
    tree->Stem.PointPosition[0] = 0;
    tree->Stem.PointPosition[1] = length;
    tree->Stem.PointCount = 2;
    tree->Stem.StemLength = static_cast<std::uint16_t>(length);
    return tree;
}

// Adds a measured cross-section whose centre is `offset` inches off the straight line, as a
// sweep in plane X that rises and falls linearly around it.
inline void AddBend(Tree& tree, int position, float offset, int halfWidth) {
    StemModel& stem = tree.Stem;
    for (int x = position - halfWidth; x <= position + halfWidth; ++x) {
        const float share = 1.0F - static_cast<float>(std::abs(x - position)) / halfWidth;
        stem.CentreX[static_cast<std::size_t>(x)] = offset * share;
    }
    std::vector<int> points(stem.PointPosition.begin(),
                            stem.PointPosition.begin() + stem.PointCount);
    points.push_back(position);
    std::sort(points.begin(), points.end());
    for (std::size_t i = 0; i < points.size(); ++i) {
        stem.PointPosition[i] = points[i];
    }
    stem.PointCount = static_cast<std::uint8_t>(points.size());
}

inline void AddSurface(Tree& tree, DefectKind kind, int position, int sector, int width, int length,
                       int endPosition = 0, int endSector = 0) {
    SurfaceDefect d;
    d.Kind = static_cast<std::uint8_t>(kind);
    d.Position = position;
    d.Sector = static_cast<std::int8_t>(sector);
    d.Width = static_cast<std::uint8_t>(width);
    d.Length = static_cast<std::uint8_t>(length);
    d.EndPosition = endPosition;
    d.EndSector = static_cast<std::uint8_t>(endSector);
    tree.SurfaceDefects[tree.SurfaceDefectCount++] = d;
}

inline void AddKnot(Tree& tree, int position, int sector, int size) {
    AddSurface(tree, DefectKind::Knot, position, sector, size, size);
}

inline void AddSeam(Tree& tree, int from, int sector, int to, int endSector) {
    AddSurface(tree, DefectKind::Seam, from, sector, 0, 0, to, endSector);
}

inline void AddSpan(Tree& tree, DefectKind kind, int from, int to) {
    AddSurface(tree, kind, from, 0, 0, 0, to, 0);
}

inline void AddEnd(Tree& tree, DefectKind kind, int from, int to, int fromDiameter,
                   int toDiameter) {
    EndDefect d;
    d.Kind = static_cast<std::uint8_t>(kind);
    d.StartPosition = static_cast<std::uint16_t>(from);
    d.EndPosition = static_cast<std::uint16_t>(to);
    d.StartDiameter = static_cast<std::uint16_t>(fromDiameter);
    d.EndDiameter = static_cast<std::uint16_t>(toDiameter);
    tree.EndDefects[tree.EndDefectCount++] = d;
}

// Rebuilds the maps after defects were added.
inline void Map(Tree& tree) {
    ClearDefectMaps(tree);
    MapDefects(tree);
}

// One log of a tree under a market, evaluated completely by the engine.
inline EvaluatedLog Evaluate(const Tree& tree, const Market& market, int start, int end) {
    LogEvaluator evaluator(tree, market);
    return evaluator.EvaluateLog(start, end);
}

inline void SetPrice(Market& market, int product, int price) {
    for (int feet = 8; feet <= 16; feet += 2) {
        market.Prices
            .Rows[static_cast<std::size_t>(product - 1)][static_cast<std::size_t>(feet - 8)] =
            static_cast<std::int16_t>(price);
    }
}

// One sawlog grade per cell (1, 1, 1), (2, 1, 1), (3, 1, 1): diameters 8 to 50, any log.
inline void SetSawlogGrades(Market& market, int grades, int cuttingCode, float yield,
                            int maxCuttings) {
    market.SawlogRules = SawlogRuleSet{};
    for (int g = 1; g <= grades; ++g) {
        SawlogRuleCell& c = market.SawlogRules.Cell(g, 1, 1);
        c.GradeNumber = static_cast<std::uint8_t>(g);
        c.MinDiameter = 8;
        c.MaxDiameter = 50;
        c.MinLength = 8;
        c.MaxLength = 16;
        c.ClearCuttingCode = static_cast<std::uint8_t>(cuttingCode);
        c.MaxClearCuttings = static_cast<std::uint8_t>(maxCuttings);
        c.YieldFraction = yield;
        c.MaxSweepUnder25 = 1.0F;
        c.MaxSweepOver25 = 1.0F;
        c.MaxDeduction = 1.0F;
        c.GradeCount = static_cast<std::uint8_t>(grades);
        c.DiameterSetCount = 1;
        c.LengthVariationCount = 1;
    }
}

// Changes the market's veneer rules (kept in its specs) through a copy.
inline void EditVeneer(Market& market, const std::function<void(VeneerRuleSet&)>& change) {
    VeneerRuleSet rules = market.VeneerRules();
    change(rules);
    market.SetVeneerRules(rules);
}

// Sets veneer grade block g (1 to 3).
inline void SetVeneerGrade(Market& market, int g, const VeneerGradeRules& grade) {
    EditVeneer(market, [&](VeneerRuleSet& rules) { rules.GradeBlock(g) = grade; });
}

// One veneer grade accepting every length from 8 inches, no sweep limit worth the name, up to
// `maxDefects` defects, knots up to 3 inches, seams up to 2 ft, no hole, no heart.
inline VeneerGradeRules OpenVeneerGrade(int grades, int maxDefects) {
    VeneerGradeRules g;
    g.GradeCount = static_cast<std::uint8_t>(grades);
    g.MinSmallEndDiameter = 8;
    for (int feet = 8; feet <= 16; feet += 2) {
        g.LengthAccepted[static_cast<std::size_t>(feet - 8)] = 1;
    }
    g.MaxSweep.fill(6.0F);
    g.MaxDefects = static_cast<std::uint8_t>(maxDefects);
    g.MaxKnotSize = 3;
    g.MaxSeamLength = 2;
    g.MaxHeartPercent = 100.0F;
    g.GradeNames = {"Prime", "A", "B"};
    return g;
}

// A roundwood product sold in cords; diameters in inches, lengths in feet, soundness 0 to 1.
inline RoundwoodProductSpec RoundwoodProduct(const char* name, int minDiameter, int maxDiameter,
                                             int minLength, int maxLength, float soundness) {
    RoundwoodProductSpec p;
    p.Name = name;
    p.Units = "Cords";
    p.MinDiameter = static_cast<std::uint8_t>(minDiameter);
    p.MaxDiameter = static_cast<std::uint8_t>(maxDiameter);
    p.MinLength = static_cast<std::uint8_t>(minLength);
    p.MaxLength = static_cast<std::uint8_t>(maxLength);
    p.Soundness = soundness;
    return p;
}

// Trim 8 (or 4), Doyle's rule, every product priced at 0 unless a test sets it, no grades.
inline std::unique_ptr<Market> TestMarket(int trim = 8) {
    auto market = std::make_unique<Market>();
    market->Name = "Test";
    MarketSpecs specs;
    specs.TrimAllowance = static_cast<std::uint8_t>(trim);
    market->SetSpecs(specs);
    for (int d = 1; d <= 50; ++d) {
        auto& entry = market->LogRule.Entries[static_cast<std::size_t>(d - 1)];
        entry.Diameter = d;
        for (int l = 0; l < 5; ++l) {
            const int feet = 8 + 2 * l;
            entry.Volume[static_cast<std::size_t>(l)] =
                d < 6 ? 0.0 : (d - 4.0) * (d - 4.0) * feet / 16.0;
        }
    }
    market->Roundwood.CullHandling = "Cull";
    market->Roundwood.CullUnits = "Cubic Feet";
    return market;
}

} // namespace varnok::test
