// Input: a roundwood product set file. It replaces the golden market's roundwood products,
// and logs of golden tree 1 are classed and valued by it.

#include "FuzzSupport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnok;
    const auto path = fuzz::WriteScratchFile("Roundwood", {data, size});
    fuzz::Refusable([&] {
        Market market = fuzz::GoldenMarket();
        market.Roundwood = ReadRoundwoodProducts(path);
        fuzz::CheckSampleLogs(fuzz::GoldenTree(1), market);
    });
    return 0;
}
