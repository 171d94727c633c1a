// Input: a market's "Specs" file. A market is built from it on the golden data folder (its
// rule names must name the golden rule files to get further), and logs of golden tree 1 are
// evaluated with it.

#include "FuzzSupport.h"

#include "market/MarketSpecs.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnok;
    const auto path = fuzz::WriteScratchFile("Specs", {data, size});
    fuzz::Refusable([&] {
        const MarketSpecs specs = ReadMarketSpecs(path);
        const Market market = BuildMarket(fuzz::GoldenFolder(), fuzz::kGoldenMarket, specs);
        fuzz::CheckSampleLogs(fuzz::GoldenTree(1), market);
    });
    return 0;
}
