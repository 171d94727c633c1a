// Input: a log rule file. It replaces the golden market's log rule, and logs of golden
// tree 1 are scaled and valued by it.

#include "FuzzSupport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnok;
    const auto path = fuzz::WriteScratchFile("Log rule", {data, size});
    fuzz::Refusable([&] {
        Market market = fuzz::GoldenMarket();
        market.LogRule = ReadLogRule(path);
        fuzz::CheckSampleLogs(fuzz::GoldenTree(1), market);
    });
    return 0;
}
