#pragma once

#include "Parameters.h"
#include "TreeText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace varnok::datagen {

// Species and stem class of one tree number.
struct TreePlan {
    const SpeciesParameters* Species = nullptr;
    StemClass Class = StemClass::Normal;
};

// What the generator decided for one tree, before it became text: for the header line and for
// the summary. Feet along the felled stem, inches of diameter.
struct TreeFacts {
    double Quality = 1.0; // multiplies every surface defect rate
    double Dbh = 0.0;     // outside bark
    double FormClass = 0.0;
    double MerchantableFeet = 0.0;
    double StemFeet = 0.0;
    bool Forked = false;
    bool Crooked = false;
    bool ButtRot = false;
    int Seams = 0;
};

struct GeneratedTree {
    int Number = 0;
    TreePlan Plan;
    TreeFacts Facts;
    std::string Header;
    std::vector<ShapeStation> Stations; // butt first
    std::vector<DefectRecord> Defects;  // in file order (by position)
};

// The plan of trees 1 to 150 (element 0 is tree 1): the species counts and stem class quotas
// of Parameters.h, shuffled by the seed.
std::vector<TreePlan> PlanTrees(std::uint64_t seed);

// One tree from its own random stream (derived from the seed and the tree number), so that a
// change to one tree's draws leaves the others as they were. Throws VarnokError if the tree
// breaks a limit of the file formats (more than 49 stations, a stem over 200 ft), which the
// parameters are chosen never to reach.
GeneratedTree GenerateTree(int number, const TreePlan& plan, std::uint64_t seed);

// All 150 trees.
std::vector<GeneratedTree> GenerateTrees(std::uint64_t seed);

} // namespace varnok::datagen
