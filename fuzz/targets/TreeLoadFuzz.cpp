// Input: a shape file and a defect file in one: the bytes before the first NUL are the shape
// file of tree 1, the bytes after it its defect file (empty when there is no NUL). Both are
// written into a data folder of their own, the tree is loaded through the golden market's
// filter set and optimised with the golden market; the optimum and a few patterns on the
// 4-inch grid are evaluated and compared.

#include "FuzzSupport.h"

#include "tree/TreeLoad.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnok;
    static const DataFolder folder = [] {
        const DataFolder made(fuzz::ScratchFolder() / "tree");
        std::filesystem::create_directories(made.Shapes());
        std::filesystem::create_directories(made.Defects());
        return made;
    }();
    const std::span<const std::uint8_t> input(data, size);
    const auto split = std::find(input.begin(), input.end(), std::uint8_t{0});
    const auto shapeEnd = static_cast<std::size_t>(split - input.begin());
    fuzz::WriteBytes(folder.ShapeFile(1), input.first(shapeEnd));
    fuzz::WriteBytes(folder.DefectFile(1),
                     split == input.end() ? input.last(0) : input.subspan(shapeEnd + 1));
    fuzz::Refusable([&] {
        const Market& market = fuzz::GoldenMarket();
        const auto tree = LoadTree(folder, 1, market.Filter);
        fuzz::CheckOptimum(*tree, market, fuzz::SeedOf(input));
    });
    return 0;
}
