// Input: a price set file. It is converted into the golden market's price table, as a market
// load converts it, and logs of golden tree 1 are valued by it.

#include "FuzzSupport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnok;
    const auto path = fuzz::WriteScratchFile("Price set", {data, size});
    fuzz::Refusable([&] {
        Market market = fuzz::GoldenMarket();
        market.Prices = ConvertPriceSet(ReadPriceSet(path), "Price set");
        fuzz::CheckSampleLogs(fuzz::GoldenTree(1), market);
    });
    return 0;
}
