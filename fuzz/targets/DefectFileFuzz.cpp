// Input: the text of a defect file. It is split into lines, passed through the golden
// market's filter set, read as the defects of golden tree 1's stem, mapped, and logs along
// the stem are evaluated with the golden market.

#include "FuzzSupport.h"

#include "tree/DefectFile.h"
#include "tree/DefectMap.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnok;
    const auto path = fuzz::WriteScratchFile("Tree1.DEF", {data, size});
    const Market& market = fuzz::GoldenMarket();
    fuzz::Refusable([&] { ReadFilteredDefectLines(path, market.Filter); });
    auto tree = std::make_unique<Tree>(fuzz::GoldenTree(1));
    fuzz::Refusable([&] {
        ReadDefectFile(*tree, path, market.Filter);
        ClearDefectMaps(*tree);
        MapDefects(*tree);
        fuzz::CheckSampleLogs(*tree, market);
    });
    return 0;
}
