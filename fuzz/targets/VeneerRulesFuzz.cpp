// Input: a veneer grading rules file. It replaces the golden market's veneer rules, and logs
// of golden tree 1 are graded by it.

#include "FuzzSupport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnok;
    const auto path = fuzz::WriteScratchFile("Veneer rules", {data, size});
    fuzz::Refusable([&] {
        Market market = fuzz::GoldenMarket();
        market.SetVeneerRules(ReadVeneerRuleSet(path));
        fuzz::CheckSampleLogs(fuzz::GoldenTree(1), market);
    });
    return 0;
}
