#include "cli/Commands.h"

#include "cli/TreeJson.h"
#include "market/Market.h"
#include "support/Errors.h"
#include "tree/TreeLoad.h"

#include <iomanip>
#include <iostream>
#include <memory>

namespace varnok::cli {

namespace {

const char* KindName(std::uint8_t kind) {
    static constexpr std::array<const char*, 9> kNames = {
        "Knot", "Bump", "SurfaceRise", "Seam", "Fork", "Bulge", "Decay", "Stain", "Heart"};
    return kind < kNames.size() ? kNames[kind] : "?";
}

void PrintTreeTable(const Tree& tree, const std::string& market, int number) {
    const StemModel& stem = tree.Stem;
    std::cout << "Tree " << number << " (market " << market << ")\n"
              << "Stem length: " << stem.StemLength << " in; " << int{stem.PointCount}
              << " cross-sections; butt diameter " << int{stem.Diameter[0]} << " in\n\n";
    std::cout << "Surface defects: " << int{tree.SurfaceDefectCount} << "\n";
    std::cout << "  #  kind         position  sector  width  length  end  end-sector\n";
    int n = 0;
    for (const SurfaceDefect& d : tree.Surface()) {
        std::cout << std::setw(3) << ++n << "  " << std::left << std::setw(12) << KindName(d.Kind)
                  << std::right << std::setw(9) << d.Position << std::setw(8) << int{d.Sector}
                  << std::setw(7) << int{d.Width} << std::setw(8) << int{d.Length}
                  << std::setw(5) << d.EndPosition << std::setw(12) << int{d.EndSector} << "\n";
    }
    std::cout << "\nEnd defects: " << int{tree.EndDefectCount} << "\n";
    std::cout << "  #  kind    start   end  diameters  exceeds 0.4 of the stem\n";
    n = 0;
    for (const EndDefect& d : tree.Ends()) {
        std::cout << std::setw(3) << ++n << "  " << std::left << std::setw(7) << KindName(d.Kind)
                  << std::right << std::setw(6) << d.StartPosition << std::setw(6)
                  << d.EndPosition << std::setw(6) << d.StartDiameter << " to " << std::left
                  << std::setw(3) << d.EndDiameter << std::right << std::setw(6)
                  << d.ExceedStart << " to " << d.ExceedEnd << "\n";
    }
}

} // namespace

Commands::Commands(CLI::App& app, Options& options) : app_(app), options_(options) {
    app_.add_option("--data", options_.Data, "Data folder (else VARNOK_DATA, else the user's)");
    app_.fallthrough();

    Add("markets", "List the markets", [this] { return Markets(); });

    CLI::App* tree = Add("tree", "Dump a tree as the engine loads it through a market's filter",
                         [this] { return TreeDump(); });
    tree->add_option("--market", options_.Market, "Market name")->required();
    tree->add_option("--tree", options_.Tree, "Tree number, 1 to 150")->required();
    tree->add_flag("--json", options_.Json, "Print JSON");
}

CLI::App* Commands::Add(const std::string& name, const std::string& description,
                        Handler handler) {
    CLI::App* sub = app_.add_subcommand(name, description);
    sub->fallthrough();
    handlers_.emplace_back(sub, std::move(handler));
    return sub;
}

int Commands::Run() {
    for (auto& [sub, handler] : handlers_) {
        if (sub->parsed()) {
            return handler();
        }
    }
    return 2;
}

DataFolder Commands::Data() const { return ResolveDataFolder(options_.Data, options_.ProgramPath); }

int Commands::Markets() {
    const DataFolder data = Data();
    const std::vector<std::string> names = ListMarkets(data);
    if (options_.Json) {
        std::cout << nlohmann::json(names).dump() << "\n";
        return 0;
    }
    for (const std::string& name : names) {
        std::cout << name << "\n";
    }
    return 0;
}

int Commands::TreeDump() {
    const DataFolder data = Data();
    const Market market = LoadMarket(data, options_.Market);
    auto tree = std::make_unique<Tree>();
    LoadTree(*tree, data, options_.Tree, market.Filter);
    if (options_.Json) {
        std::cout << TreeToJson(*tree).dump() << "\n";
    } else {
        PrintTreeTable(*tree, options_.Market, options_.Tree);
    }
    return 0;
}

} // namespace varnok::cli
