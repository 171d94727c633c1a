// Input: one file of a market replaced. The first byte picks the file (modulo the number of
// files, in the order of kFiles below: Specs, Optmcuts, then the price set, sawlog rules,
// roundwood products, log rule and filter set that Specs names); the rest of the input is
// its new content in a copy of the golden data folder, whose market also has an Optmcuts
// holding tree 1's optimum. The market is loaded, tree 1 loaded through its filter set and
// optimised, and tree 1's entry of Optmcuts evaluated as a pattern. The file is put back
// afterwards, so the copy is made once per process.

#include "FuzzSupport.h"

#include "market/OptimalCuts.h"
#include "optimiser/Optimiser.h"
#include "tree/TreeLoad.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

namespace {

using namespace varnok;

constexpr std::array<const char*, 7> kFiles = {
    "Markets/Hardwood8/Specs",  "Markets/Hardwood8/Optmcuts", "Prices/Hardwood Whole",
    "SawGrades/Factory Grades", "Roundwood/RW Two",           "Log Rules/Doyle",
    "Filters/Default Filter",
};

std::vector<std::uint8_t> Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct MarketCopy {
    DataFolder Folder{fuzz::ScratchFolder() / "market"};
    std::array<std::vector<std::uint8_t>, kFiles.size()> Originals;

    MarketCopy() {
        std::filesystem::copy(fuzz::GoldenFolder().Root(), Folder.Root(),
                              std::filesystem::copy_options::recursive);
        const Market& market = fuzz::GoldenMarket();
        Optimiser optimiser(fuzz::GoldenTree(1), market);
        OptimalCutsTable table;
        table.Entry(1) = MakeOptimalCutEntry(optimiser.OptimiseTree().Cuts);
        fuzz::WriteBytes(Folder.OptimalCutsFile(fuzz::kGoldenMarket), table.Encode());
        for (std::size_t k = 0; k < kFiles.size(); ++k) {
            Originals[k] = Contents(Folder.Root() / kFiles[k]);
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const MarketCopy copy;
    if (size == 0) {
        return 0;
    }
    const std::size_t which = data[0] % kFiles.size();
    const std::filesystem::path file = copy.Folder.Root() / kFiles[which];
    fuzz::WriteBytes(file, {data + 1, size - 1});
    fuzz::Refusable([&] {
        const Market market = LoadMarket(copy.Folder, fuzz::kGoldenMarket);
        const auto tree = LoadTree(copy.Folder, 1, market.Filter);
        fuzz::CheckOptimum(*tree, market, fuzz::SeedOf({data, size}));
        const std::vector<int> cuts = CutPositions(ReadOptimalCuts(market.OptmcutsPath).Entry(1));
        if (!cuts.empty()) {
            fuzz::CheckPattern(*tree, market, cuts);
        }
    });
    fuzz::WriteBytes(file, copy.Originals[which]);
    return 0;
}
