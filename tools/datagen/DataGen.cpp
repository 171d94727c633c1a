#include "DataGen.h"

#include "RuleSets.h"
#include "TreeGenerator.h"

#include "support/DataFolder.h"
#include "support/Files.h"

#include <span>

namespace varnok::datagen {
namespace {

void WriteText(const std::filesystem::path& path, const std::string& text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    WriteFileBytes(path, std::span<const std::uint8_t>(bytes, text.size()));
}

std::string TreeFileName(int number, const char* extension) {
    return "Tree" + std::to_string(number) + extension;
}

} // namespace

GenerationSummary GenerateDataFolder(const std::filesystem::path& root, std::uint64_t seed) {
    const DataFolder data(root);
    EnsureFolder(data.Shapes());
    EnsureFolder(data.Defects());
    GenerationSummary summary;
    for (const GeneratedTree& tree : GenerateTrees(seed)) {
        WriteText(data.Shapes() / TreeFileName(tree.Number, ".SHP"),
                  ShapeFileText(tree.Header, tree.Stations));
        WriteText(data.Defects() / TreeFileName(tree.Number, ".DEF"), DefectFileText(tree.Defects));
        ++summary.Trees;
        summary.DefectLines += static_cast<int>(tree.Defects.size());
        summary.Forked += tree.Facts.Forked ? 1 : 0;
        summary.ButtRot += tree.Facts.ButtRot ? 1 : 0;
        summary.Seamed += tree.Facts.Seams > 0 ? 1 : 0;
    }
    summary.RuleFiles = WriteRuleSets(data);
    return summary;
}

std::string SummaryLine(const GenerationSummary& summary, const std::filesystem::path& root) {
    return "wrote " + std::to_string(summary.Trees) + " trees (" +
           std::to_string(summary.DefectLines) + " defect lines; " +
           std::to_string(summary.Forked) + " forked, " + std::to_string(summary.ButtRot) +
           " with butt rot, " + std::to_string(summary.Seamed) + " with seams) and " +
           std::to_string(summary.RuleFiles) + " rule files to " + root.string();
}

} // namespace varnok::datagen
