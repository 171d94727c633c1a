// Input: a sawlog grading rules file (the last complete record counts, as for a market). It
// replaces the golden market's sawlog rules, and logs of golden tree 1 are graded by it.

#include "FuzzSupport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnok;
    const auto path = fuzz::WriteScratchFile("Sawlog rules", {data, size});
    fuzz::Refusable([&] { ReadSawlogRuleSet(path, RecordChoice::First); });
    fuzz::Refusable([&] {
        Market market = fuzz::GoldenMarket();
        market.SawlogRules = ReadSawlogRuleSet(path, RecordChoice::Last);
        fuzz::CheckSampleLogs(fuzz::GoldenTree(1), market);
    });
    return 0;
}
