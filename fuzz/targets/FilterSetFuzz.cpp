// Input: a defect filter set file. Golden tree 1 is loaded through it, and logs of the tree
// are evaluated with the golden market.

#include "FuzzSupport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnok;
    const auto path = fuzz::WriteScratchFile("Filter", {data, size});
    fuzz::Refusable([&] {
        const DefectFilterSet filter = ReadDefectFilterSet(path);
        const auto tree = fuzz::LoadGoldenTree(1, filter);
        fuzz::CheckSampleLogs(*tree, fuzz::GoldenMarket());
    });
    return 0;
}
