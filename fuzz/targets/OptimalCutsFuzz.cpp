// Input: a market's "Optmcuts" file. Its cut location report is made, and the entries of the
// golden trees are cut and evaluated as patterns with the golden market.

#include "FuzzSupport.h"

#include "market/OptimalCuts.h"
#include "services/Reports.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnok;
    const auto path = fuzz::WriteScratchFile("Optmcuts", {data, size});
    fuzz::Refusable([&] {
        const OptimalCutsTable table = ReadOptimalCuts(path);
        CutLocationLines(table, 1, kTreeCount);
        for (const int n : fuzz::kGoldenTrees) {
            const std::vector<int> cuts = CutPositions(table.Entry(n));
            if (!cuts.empty()) {
                fuzz::Refusable(
                    [&] { fuzz::CheckPattern(fuzz::GoldenTree(n), fuzz::GoldenMarket(), cuts); });
            }
        }
    });
    return 0;
}
