#include "cli/Commands.h"

#include "cli/CommandSupport.h"
#include "cli/EvaluationJson.h"
#include "cli/ReportJson.h"
#include "cli/TreeJson.h"
#include "game/PatternEvaluation.h"
#include "market/Market.h"
#include "market/OptimalCuts.h"
#include "optimiser/Optimiser.h"
#include "services/MarketComputation.h"
#include "services/MarketStats.h"
#include "services/Reports.h"
#include "support/Errors.h"
#include "support/Files.h"
#include "support/Numbers.h"
#include "tree/TreeLoad.h"

#include <algorithm>
#include <filesystem>
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
                  << std::setw(7) << int{d.Width} << std::setw(8) << int{d.Length} << std::setw(5)
                  << d.EndPosition << std::setw(12) << int{d.EndSector} << "\n";
    }
    std::cout << "\nEnd defects: " << int{tree.EndDefectCount} << "\n";
    std::cout << "  #  kind    start   end  diameters  exceeds 0.4 of the stem\n";
    n = 0;
    for (const EndDefect& d : tree.Ends()) {
        std::cout << std::setw(3) << ++n << "  " << std::left << std::setw(7) << KindName(d.Kind)
                  << std::right << std::setw(6) << d.StartPosition << std::setw(6) << d.EndPosition
                  << std::setw(6) << d.StartDiameter << " to " << std::left << std::setw(3)
                  << d.EndDiameter << std::right << std::setw(6) << d.ExceedStart << " to "
                  << d.ExceedEnd << "\n";
    }
}

void PrintPieces(const PatternEvaluation& evaluation) {
    std::cout << "  #  start    end  len  nom  sed  led  sweep  ded%   net bf     ft3  saw ven rw  "
                 "product                   value\n";
    for (const EvaluatedPiece& piece : evaluation.Pieces) {
        const EvaluatedLog& log = piece.Log;
        const LogSegment& s = log.Segment;
        std::cout << std::setw(3) << piece.Index << std::setw(7) << s.StartPosition << std::setw(7)
                  << s.EndPosition << std::setw(5) << s.LengthInches << std::setw(5)
                  << s.NominalLength << std::setw(5) << s.SED << std::setw(5) << s.LED
                  << std::setw(7) << s.Sweep << std::setw(6)
                  << FormatFixed(static_cast<double>(s.Deduction) * 100.0, 1) << std::setw(9)
                  << log.NetScale << std::setw(8) << FormatFixed(log.CubicVolume, 2) << std::setw(5)
                  << int{s.SawGrade} << std::setw(4) << int{s.VeneerGrade} << std::setw(3)
                  << int{s.RoundwoodProduct} << "  " << std::left << std::setw(22)
                  << (log.Graded ? piece.ProductName : piece.ProductName + " (not graded)")
                  << std::right << std::setw(10) << FormatFixed(s.Value, 2) << "\n"
                  << ReasonsText(piece);
    }
    std::cout << "Returns: $" << FormatFixed(evaluation.Returns, 2) << "   Cull penalty: $"
              << FormatFixed(evaluation.CullPenalty, 2) << "\n";
}

nlohmann::json TextOrNull(const std::string& text) {
    return text.empty() ? nlohmann::json() : nlohmann::json(text);
}

// Numbers on the command line are whole numbers in decimal digits: read as C++ reads them,
// "0x10" would be tree 16 and "" tree 0.
const CLI::Validator kDecimal(
    [](std::string& text) -> std::string {
        const std::size_t digits = !text.empty() && text.front() == '-' ? 1 : 0;
        if (text.size() == digits || text.size() > digits + 9 ||
            text.find_first_not_of("0123456789", digits) != std::string::npos) {
            return "\"" + text + "\" is not a whole number in decimal digits";
        }
        return {};
    },
    "");

const CLI::Validator kNotEmpty(
    [](std::string& text) -> std::string { return text.empty() ? "the name is empty" : ""; }, "");

std::string UnknownCommandText(const std::string& word) {
    return "unknown command \"" + word + "\"; \"varnok-cli help\" lists the commands";
}

// The trees from `from` to `to` whose optimal pattern the market does not store, named on
// stderr so that a products file or report that leaves them out does not pass for a whole one.
std::vector<int> NoteMissingTrees(const Market& market, int from, int to) {
    std::vector<int> missing;
    for (const int tree : MissingTrees(ReadOptimalCuts(market.OptmcutsPath))) {
        if (tree >= from && tree <= to) {
            missing.push_back(tree);
        }
    }
    if (!missing.empty()) {
        std::cerr << "varnok-cli: market \"" << market.Name << "\" stores no optimal pattern for "
                  << TreeNumbersText(missing) << ", which the output leaves out.\n";
    }
    return missing;
}

} // namespace

Commands::Commands(CLI::App& app, Options& options) : app_(app), options_(options) {
    app_.add_option("--data", options_.Data, "Data folder (else VARNOK_DATA, else the user's)")
        ->check(kNotEmpty);
    app_.fallthrough();

    CLI::App* help =
        Add("help", "List the commands, or the options of one command", [this] { return Help(); });
    help->add_option("command", options_.HelpTopic, "A command");

    CLI::App* markets = Add("markets", "List the markets", [this] { return Markets(); });
    markets->add_flag("--json", options_.Json, "Print JSON");

    CLI::App* tree = Add("tree", "Dump a tree as the engine loads it through a market's filter",
                         [this] { return TreeDump(); });
    tree->add_option("--market", options_.Market, "Market name")->required();
    tree->add_option("--tree", options_.Tree, "Tree number, 1 to 150")->required()->check(kDecimal);
    tree->add_flag("--json", options_.Json, "Print JSON");

    CLI::App* optimise = Add("optimise", "Find the most valuable pattern of a tree now",
                             [this] { return Optimise(); });
    optimise->add_option("--market", options_.Market, "Market name")->required();
    optimise->add_option("--tree", options_.Tree, "Tree number, 1 to 150")
        ->required()
        ->check(kDecimal);
    optimise->add_flag("--json", options_.Json, "Print JSON");

    CLI::App* evaluate =
        Add("evaluate", "Evaluate a pattern log by log", [this] { return Evaluate(); });
    evaluate->add_option("--market", options_.Market, "Market name")->required();
    evaluate->add_option("--tree", options_.Tree, "Tree number, 1 to 150")
        ->required()
        ->check(kDecimal);
    auto* cuts = evaluate->add_option("--cuts", options_.Cuts,
                                      "Cut positions in inches, butt to top: 0,P1,...,TOP");
    auto* optimal =
        evaluate->add_flag("--optimal", options_.Optimal, "The market's stored optimal pattern");
    cuts->excludes(optimal);
    evaluate->add_flag("--explain", options_.Explain,
                       "Add why each log took its grades and product");
    evaluate->add_flag("--json", options_.Json, "Print JSON");

    CLI::App* coach = Add("coach", "What a pattern's cuts cost against the optimum",
                          [this] { return CoachPattern(); });
    coach->add_option("--market", options_.Market, "Market name")->required();
    coach->add_option("--tree", options_.Tree, "Tree number, 1 to 150")
        ->required()
        ->check(kDecimal);
    coach->add_option("--cuts", options_.Cuts, "Cut positions in inches, butt to top: 0,P1,...,TOP")
        ->required();
    coach->add_option("--at", options_.At, "The best value with one more cut here, inches")
        ->check(kDecimal);
    coach->add_flag("--json", options_.Json, "Print JSON");

    CLI::App* grade = Add("grade-tree", "The butt-log tree grade of a tree, trial by trial",
                          [this] { return GradeTree(); });
    grade->add_option("--market", options_.Market, "Market name")->required();
    grade->add_option("--tree", options_.Tree, "Tree number, 1 to 150")
        ->required()
        ->check(kDecimal);
    grade
        ->add_option("--trim", options_.Trim,
                     "Trim allowance, 4 or 8 inches (default: the market's)")
        ->check(kDecimal)
        ->check(CLI::IsMember({4, 8}));
    grade->add_flag("--json", options_.Json, "Print JSON");

    CLI::App* compute = Add("compute-market", "Define a market and compute its optimal cuts",
                            [this] { return ComputeMarketCommand(); });
    compute->add_option("--name", options_.Name, "Name of the new market")->required();
    compute->add_option("--log-rule", options_.LogRule, "Log rule file name")->required();
    compute->add_option("--veneer", options_.Veneer, "Veneer grading rule file name")->required();
    compute->add_option("--sawlog", options_.Sawlog, "Sawlog grading rule file name")->required();
    compute->add_option("--prices", options_.Prices, "Price set file name")->required();
    compute->add_option("--filter", options_.Filter, "Defect filter set file name")->required();
    compute->add_option("--roundwood", options_.Roundwood, "Roundwood product set file name")
        ->required();
    compute->add_option("--trim", options_.Trim, "Trim allowance, 4 or 8 inches")
        ->required()
        ->check(kDecimal)
        ->check(CLI::IsMember({4, 8}));
    compute->add_option("--jobs", options_.Jobs, "Threads, 1 to 150 (default: one per core)")
        ->check(kDecimal)
        ->check(CLI::Range(1, kTreeCount));
    compute->add_flag("--replace", options_.Replace,
                      "Recompute the market if it exists (until done it is incomplete)");
    compute->add_flag("--json", options_.Json, "Print JSON");

    CLI::App* exportOptimal =
        Add("export-optimal", "Write the comma-separated products file of optimal patterns",
            [this] { return ExportOptimal(); });
    exportOptimal->add_option("--market", options_.Market, "Market name")->required();
    exportOptimal->add_option("--from", options_.From, "First tree")->required()->check(kDecimal);
    exportOptimal->add_option("--to", options_.To, "Last tree")->required()->check(kDecimal);
    exportOptimal->add_option("--out", options_.Out, "File to write (default: standard output)");
    exportOptimal->add_flag("--json", options_.Json,
                            "Print the logs as JSON (the file of --out is still written)");

    CLI::App* print =
        Add("print-market", "Print a market's definition", [this] { return PrintMarket(); });
    print->add_option("market", options_.Market, "Market name")->required();
    print->add_flag("--json", options_.Json, "Print JSON");

    CLI::App* report =
        Add("report", "Print the cut-locations or products report of optimal patterns",
            [this] { return Report(); });
    report->add_option("--market", options_.Market, "Market name")->required();
    report->add_option("--from", options_.From, "First tree")->required()->check(kDecimal);
    report->add_option("--to", options_.To, "Last tree")->required()->check(kDecimal);
    report->add_option("--kind", options_.Kind, "cuts, products or both")
        ->required()
        ->check(CLI::IsMember({"cuts", "products", "both"}));
    report->add_flag("--json", options_.Json, "Print JSON");

    CLI::App* stats = Add("stats", "Product mix and values of a market's optimal patterns",
                          [this] { return Stats(); });
    stats->add_option("--market", options_.Market, "Market name")->required();
    stats->add_flag("--json", options_.Json, "Print JSON");
}

CLI::App* Commands::Add(const std::string& name, const std::string& description, Handler handler) {
    CLI::App* sub = app_.add_subcommand(name, description);
    sub->fallthrough();
    handlers_.emplace_back(sub, std::move(handler));
    return sub;
}

void Commands::CheckCommandWord(const std::vector<std::string>& args) const {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help" || arg == "--version") {
            return;
        }
        if (arg == "--data") {
            ++i;
            continue;
        }
        if (arg.starts_with("-")) {
            continue;
        }
        for (const CLI::App* sub : app_.get_subcommands({})) {
            if (sub->get_name() == arg) {
                return;
            }
        }
        throw UsageError(UnknownCommandText(arg));
    }
    throw UsageError("no command given; \"varnok-cli help\" lists the commands");
}

int Commands::Run() {
    for (auto& [sub, handler] : handlers_) {
        if (sub->parsed()) {
            return handler();
        }
    }
    return 2;
}

DataFolder Commands::Data(bool marketsNeeded) const {
    DataFolder data = ResolveDataFolder(options_.Data, options_.ProgramPath);
    CheckDataFolder(data, marketsNeeded);
    return data;
}

Market Commands::NamedMarket(const DataFolder& data) const {
    CheckMarketExists(data, options_.Market);
    return LoadMarket(data, options_.Market);
}

Commands::Loaded Commands::LoadMarketAndTree() const {
    DataFolder data = Data();
    Market market = NamedMarket(data);
    std::unique_ptr<Tree> tree = LoadTree(data, options_.Tree, market.Filter);
    return Loaded{std::move(data), std::move(market), std::move(tree)};
}

int Commands::Markets() {
    const DataFolder data = Data();
    const std::vector<MarketListing> markets = ListMarketsWithProgress(data);
    if (options_.Json) {
        nlohmann::json json = nlohmann::json::array();
        for (const MarketListing& m : markets) {
            json.push_back({{"name", m.Name},
                            {"complete", m.Complete()},
                            {"trees_stored", m.TreesStored()},
                            {"missing", m.Missing},
                            {"problem", TextOrNull(m.Problem)}});
        }
        PrintJson(json);
        return 0;
    }
    // A complete market is its name alone on the line, so `cut -f1` gives the names.
    for (const MarketListing& m : markets) {
        std::cout << m.Name;
        if (!m.Problem.empty()) {
            std::cout << "\t(optimal patterns unreadable: " << m.Problem << ")";
        } else if (!m.Complete()) {
            std::cout << "\t(incomplete: " << StoredTreesText(m.Missing) << ")";
        }
        std::cout << "\n";
    }
    return 0;
}

int Commands::TreeDump() {
    const Loaded loaded = LoadMarketAndTree();
    const Tree& tree = *loaded.TheTree;
    if (options_.Json) {
        PrintJson(TreeToJson(tree));
    } else {
        PrintTreeTable(tree, options_.Market, options_.Tree);
    }
    return 0;
}

int Commands::Optimise() {
    const Loaded loaded = LoadMarketAndTree();
    const Market& market = loaded.TheMarket;
    const Tree& tree = *loaded.TheTree;
    Optimiser optimiser(tree, market);
    const OptimalPattern pattern = optimiser.OptimiseTree();
    const PatternEvaluation evaluation = pattern.Cuts.size() >= 2
                                             ? EvaluatePattern(tree, market, pattern.Cuts)
                                             : PatternEvaluation{};
    if (options_.Json) {
        const nlohmann::json json = {{"market", options_.Market},
                                     {"tree", options_.Tree},
                                     {"usable_length", pattern.UsableLength},
                                     {"cuts", pattern.Cuts},
                                     {"total_value", static_cast<double>(pattern.TotalValue)},
                                     {"logs", PiecesToJson(evaluation)}};
        PrintJson(json);
        return 0;
    }
    std::cout << "Tree " << options_.Tree << " (market " << options_.Market << "): usable length "
              << pattern.UsableLength << " in, best value $" << FormatFixed(pattern.TotalValue, 2)
              << "\nCuts:";
    for (const int cut : pattern.Cuts) {
        std::cout << " " << cut;
    }
    std::cout << "\n\n";
    PrintPieces(evaluation);
    return 0;
}

int Commands::Evaluate() {
    if (options_.Cuts.empty() && !options_.Optimal) {
        throw UsageError("evaluate needs --cuts or --optimal");
    }
    const Loaded loaded = LoadMarketAndTree();
    const Market& market = loaded.TheMarket;
    const Tree& tree = *loaded.TheTree;
    std::vector<int> cuts;
    if (options_.Optimal) {
        const OptimalCutsTable table = ReadOptimalCuts(market.OptmcutsPath);
        cuts = StoredOptimalCuts(table, market.OptmcutsPath, options_.Tree, tree);
        if (cuts.empty()) {
            throw VarnokError(
                "Market \"" + options_.Market + "\" stores no optimal pattern for tree " +
                std::to_string(options_.Tree) + " (" + StoredTreesText(MissingTrees(table)) + ").");
        }
    } else {
        cuts = ParseCuts(options_.Cuts);
        CheckWholeStem(cuts, tree, options_.Tree);
    }
    const PatternEvaluation evaluation = EvaluatePattern(
        tree, market, cuts, options_.Explain ? GradeReasons::Record : GradeReasons::Skip);
    if (options_.Json) {
        const nlohmann::json json = {{"market", options_.Market},
                                     {"tree", options_.Tree},
                                     {"returns", static_cast<double>(evaluation.Returns)},
                                     {"cull_penalty", static_cast<double>(evaluation.CullPenalty)},
                                     {"logs", PiecesToJson(evaluation, options_.Explain)}};
        PrintJson(json);
        return 0;
    }
    std::cout << "Tree " << options_.Tree << " (market " << options_.Market << ")\n";
    PrintPieces(evaluation);
    return 0;
}

int Commands::ComputeMarketCommand() {
    const DataFolder data = Data(false); // the first market of a new folder makes "Markets"
    MarketDefinition definition;
    definition.Name = options_.Name;
    definition.TrimAllowance = options_.Trim;
    definition.LogRule = options_.LogRule;
    definition.VeneerRules = options_.Veneer;
    definition.SawlogRules = options_.Sawlog;
    definition.PriceSet = options_.Prices;
    definition.FilterSet = options_.Filter;
    definition.Roundwood = options_.Roundwood;
    definition.ReplaceExisting = options_.Replace;
    const auto progress = [](int tree, int count) {
        std::cerr << "Working on Tree Number " << tree << " of " << count << "\n";
    };
    Market market;
    try {
        market = ComputeMarket(data, definition, options_.Jobs, progress);
    } catch (const MarketExists& e) {
        throw FileError(e.Path(), e.Message() + "; give --replace to compute it again");
    }
    if (options_.Json) {
        PrintJson(nlohmann::json{{"market", market.Name},
                                 {"folder", data.MarketFolder(market.Name).string()}});
    } else {
        std::cout << "Market " << market.Name << " computed in "
                  << data.MarketFolder(market.Name).string() << "\n";
    }
    return 0;
}

int Commands::ExportOptimal() {
    const DataFolder data = Data();
    const Market market = NamedMarket(data);
    const ResearchResults results =
        ResearchOptimalPatterns(data, market, options_.From, options_.To);
    const std::vector<int> missing = NoteMissingTrees(market, options_.From, options_.To);
    const std::vector<std::string> lines = ProductsFileLines(results, options_.From, options_.To);
    if (!options_.Out.empty()) {
        WriteCrLfFile(options_.Out, lines);
    }
    if (options_.Json) {
        PrintJson(nlohmann::json{{"market", market.Name},
                                 {"from", options_.From},
                                 {"to", options_.To},
                                 {"out", TextOrNull(options_.Out)},
                                 {"missing", missing},
                                 {"trees", ResearchToJson(results, options_.From, options_.To)}});
        return 0;
    }
    if (!options_.Out.empty()) {
        return 0;
    }
    for (const std::string& line : lines) {
        std::cout << line << "\r\n";
    }
    return 0;
}

int Commands::PrintMarket() {
    const DataFolder data = Data();
    CheckMarketExists(data, options_.Market);
    const MarketSpecs specs = ReadMarketSpecs(data.MarketSpecsFile(options_.Market));
    const std::vector<std::string> lines = MarketDefinitionLines(options_.Market, specs);
    if (options_.Json) {
        nlohmann::json json = MarketSpecsToJson(options_.Market, specs);
        json["lines"] = lines;
        PrintJson(json);
        return 0;
    }
    for (const std::string& line : lines) {
        std::cout << line << "\n";
    }
    return 0;
}

int Commands::Report() {
    const DataFolder data = Data();
    const Market market = NamedMarket(data);
    std::vector<std::string> lines;
    nlohmann::json json = {{"market", market.Name},
                           {"from", options_.From},
                           {"to", options_.To},
                           {"kind", options_.Kind},
                           {"missing", NoteMissingTrees(market, options_.From, options_.To)}};
    if (options_.Kind != "products") {
        const OptimalCutsTable table = ReadOptimalCuts(market.OptmcutsPath);
        lines = CutLocationLines(table, options_.From, options_.To);
        json["cut_locations"] = CutLocationsToJson(table, options_.From, options_.To);
    }
    if (options_.Kind != "cuts") {
        const ResearchResults results =
            ResearchOptimalPatterns(data, market, options_.From, options_.To);
        const std::vector<std::string> products =
            ProductsReportLines(results, options_.From, options_.To);
        lines.insert(lines.end(), products.begin(), products.end());
        json["products"] = ResearchToJson(results, options_.From, options_.To);
    }
    if (options_.Json) {
        json["lines"] = lines;
        PrintJson(json);
        return 0;
    }
    for (const std::string& line : lines) {
        std::cout << line << "\n";
    }
    return 0;
}

int Commands::Stats() {
    const DataFolder data = Data();
    const Market market = NamedMarket(data);
    const MarketStats stats = ComputeMarketStats(data, market);
    if (options_.Json) {
        nlohmann::json products = nlohmann::json::array();
        for (int p = 1; p <= 10; ++p) {
            products.push_back({{"class", p},
                                {"product", market.ProductName(p)},
                                {"logs", stats.LogsByProduct[static_cast<std::size_t>(p)]}});
        }
        nlohmann::json trees = nlohmann::json::array();
        for (const TreeValueStats& t : stats.Trees) {
            trees.push_back({{"tree", t.Tree},
                             {"optimal", t.Optimal},
                             {"naive", t.Naive},
                             {"logs", t.OptimalLogs}});
        }
        const nlohmann::json json = {
            {"market", market.Name},
            {"complete", stats.Complete()},
            {"trees_stored", stats.TreesStored()},
            {"missing", stats.Missing},
            {"trees", stats.Trees.size()},
            {"graded_logs", stats.GradedLogs},
            {"waste_pieces", stats.WastePieces},
            {"logs_by_product", products},
            {"optimal_total", stats.OptimalTotal},
            {"naive_total", stats.NaiveTotal},
            {"naive_loss_percent", stats.NaiveLossPercent()},
            {"value_per_tree",
             {{"min", stats.MinTree}, {"median", stats.MedianTree}, {"max", stats.MaxTree}}},
            {"per_tree", trees}};
        PrintJson(json);
        return 0;
    }
    std::cout << "Market " << market.Name << ": " << stats.Trees.size() << " trees, "
              << stats.GradedLogs << " graded logs in the optimal patterns (and "
              << stats.WastePieces << " pieces too short to grade)\n";
    if (!stats.Complete()) {
        std::cout << "Incomplete: no optimal pattern is stored for "
                  << TreeNumbersText(stats.Missing) << " (" << stats.TreesStored() << " of "
                  << kTreeCount << " trees stored); the figures below are of the trees stored.\n";
    }
    std::cout << "\n";
    std::cout << "Product                      logs   share\n";
    for (int p = 1; p <= 10; ++p) {
        const int logs = stats.LogsByProduct[static_cast<std::size_t>(p)];
        const double share = stats.GradedLogs > 0 ? 100.0 * logs / stats.GradedLogs : 0.0;
        std::cout << std::setw(2) << p << " " << std::left << std::setw(24) << market.ProductName(p)
                  << std::right << std::setw(6) << logs << std::setw(7) << FormatFixed(share, 1)
                  << "%\n";
    }
    std::cout << "\nOptimal value per tree: min $" << FormatFixed(stats.MinTree, 2) << ", median $"
              << FormatFixed(stats.MedianTree, 2) << ", max $" << FormatFixed(stats.MaxTree, 2)
              << "\n";
    std::cout << "Total: optimal $" << FormatFixed(stats.OptimalTotal, 2) << ", naive $"
              << FormatFixed(stats.NaiveTotal, 2) << " (16 ft logs from the butt), lost "
              << FormatFixed(stats.NaiveLossPercent(), 1) << "%\n\n";
    std::cout << "Tree   optimal     naive    loss\n";
    for (const TreeValueStats& t : stats.Trees) {
        const double loss = t.Optimal > 0.0 ? (t.Optimal - t.Naive) / t.Optimal * 100.0 : 0.0;
        std::cout << std::setw(4) << t.Tree << std::setw(10) << FormatFixed(t.Optimal, 2)
                  << std::setw(10) << FormatFixed(t.Naive, 2) << std::setw(7)
                  << FormatFixed(loss, 1) << "%\n";
    }
    return 0;
}

int Commands::Help() {
    if (options_.HelpTopic.empty()) {
        // App::help() would show the help of the command that was parsed: "help" itself.
        std::cout << app_.get_formatter()->make_help(&app_, app_.get_name(),
                                                     CLI::AppFormatMode::Normal);
        return 0;
    }
    for (const CLI::App* sub : app_.get_subcommands({})) {
        if (sub->get_name() == options_.HelpTopic) {
            std::cout << sub->help(app_.get_name());
            return 0;
        }
    }
    throw UsageError(UnknownCommandText(options_.HelpTopic));
}

} // namespace varnok::cli
