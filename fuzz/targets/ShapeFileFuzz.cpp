// Input: the text of a shape file. It is read as a stem twice: once bare, once under the
// defects of golden tree 1 (so that knots meet odd diameters); each stem that loads is mapped
// and logs along it are evaluated with the golden market.

#include "FuzzSupport.h"

#include "tree/DefectMap.h"
#include "tree/ShapeFile.h"

#include <cstddef>
#include <cstdint>

namespace {

void ReadAndCheck(const std::filesystem::path& path, varnok::Tree& tree) {
    using namespace varnok;
    fuzz::Refusable([&] {
        ReadShapeFile(tree, path);
        ClearDefectMaps(tree);
        MapDefects(tree);
        fuzz::CheckSampleLogs(tree, fuzz::GoldenMarket());
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnok;
    const auto path = fuzz::WriteScratchFile("Tree1.SHP", {data, size});
    fuzz::Refusable([&] { ReadCrossSections(path); });
    auto bare = std::make_unique<Tree>();
    NewTree(*bare);
    ReadAndCheck(path, *bare);
    auto withDefects = std::make_unique<Tree>(fuzz::GoldenTree(1));
    ReadAndCheck(path, *withDefects);
    return 0;
}
