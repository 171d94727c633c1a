#include "FuzzSupport.h"

#include "game/PatternEvaluation.h"
#include "optimiser/Optimiser.h"
#include "tree/TreeLoad.h"

#include <unistd.h>

#include <cmath>
#include <fstream>
#include <vector>

namespace varnok::fuzz {

namespace {

class Scratch {
public:
    Scratch()
        : path_(std::filesystem::temp_directory_path() /
                ("varnok-fuzz-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// splitmix64: small, and the same patterns on every machine for the same input.
class Draw {
public:
    explicit Draw(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t state_;
};

std::string Describe(const EvaluatedLog& log) {
    const LogSegment& s = log.Segment;
    char text[400];
    std::snprintf(text, sizeof text,
                  " (log %d to %d in, SED %u, nominal %u ft, deduction %g, sweep deduction %g, "
                  "class %u, grades saw %u veneer %u roundwood %u, net %u bf, cubic %g, "
                  "values %g/%g/%g, product %g, value %g)",
                  s.StartPosition, s.EndPosition, s.SED, s.NominalLength,
                  static_cast<double>(s.Deduction), static_cast<double>(s.SweepDeduction),
                  s.ProductClass, s.SawGrade, s.VeneerGrade, s.RoundwoodProduct, log.NetScale,
                  static_cast<double>(log.CubicVolume), static_cast<double>(log.VeneerValue),
                  static_cast<double>(log.SawlogValue), static_cast<double>(log.RoundwoodValue),
                  static_cast<double>(log.ProductValue), static_cast<double>(s.Value));
    return text;
}

bool WithinUnit(float fraction) {
    return fraction >= 0.0F && fraction <= 1.0F; // false for NaN
}

// The grade a product class stands for must be the one the log was graded to, or the label
// names a product the log does not qualify as.
bool ClassMatchesGrade(const LogSegment& s) {
    const int c = s.ProductClass;
    if (c >= 1 && c <= 3) {
        return s.VeneerGrade == c;
    }
    if (c >= 4 && c <= 6) {
        return s.SawGrade == c - 3;
    }
    if (c >= 7 && c <= 9) {
        return s.RoundwoodProduct == c - 6;
    }
    return c == kCullProduct;
}

// Summed as the optimiser sums a chain (in double, kept as float after each span), so that
// the comparison with its total needs no tolerance.
float PatternValue(Optimiser& optimiser, const std::vector<int>& cuts) {
    float total = 0.0F;
    for (std::size_t k = 1; k < cuts.size(); ++k) {
        total = static_cast<float>(static_cast<double>(total) +
                                   static_cast<double>(optimiser.SpanValue(cuts[k - 1], cuts[k])));
    }
    return total;
}

// A pattern from the butt to `usable` on the 4-inch grid: mostly allowed log lengths, some
// waste pieces, at most 26 pieces.
std::vector<int> DrawGridPattern(Draw& draw, int usable, const LogLengthSet& lengths) {
    std::vector<int> cuts{0};
    int position = 0;
    while (position < usable) {
        const int room = usable - position;
        int step = room;
        if (cuts.size() < static_cast<std::size_t>(kMaxLogs)) {
            const int length = lengths.Lengths[static_cast<std::size_t>(draw.Below(5))];
            if (draw.Below(4) != 0 && length <= room && length % kCutStep == 0) {
                step = length;
            } else {
                step = kCutStep * (1 + draw.Below(room / kCutStep));
            }
        }
        position += step;
        cuts.push_back(position);
    }
    return cuts;
}

} // namespace

const DataFolder& GoldenFolder() {
    static const DataFolder folder{std::filesystem::path(VARNOK_FUZZ_GOLDEN_DATA)};
    return folder;
}

const Market& GoldenMarket() {
    static const Market market = LoadMarket(GoldenFolder(), kGoldenMarket);
    return market;
}

const Tree& GoldenTree(int treeNumber) {
    static const std::array<std::unique_ptr<Tree>, kGoldenTrees.size()> trees = [] {
        std::array<std::unique_ptr<Tree>, kGoldenTrees.size()> loaded;
        for (std::size_t k = 0; k < loaded.size(); ++k) {
            loaded[k] = LoadGoldenTree(kGoldenTrees[k], GoldenMarket().Filter);
        }
        return loaded;
    }();
    for (std::size_t k = 0; k < trees.size(); ++k) {
        if (kGoldenTrees[k] == treeNumber) {
            return *trees[k];
        }
    }
    Violation("no golden tree " + std::to_string(treeNumber));
}

std::unique_ptr<Tree> LoadGoldenTree(int treeNumber, const DefectFilterSet& filter) {
    return LoadTree(GoldenFolder(), treeNumber, filter);
}

const std::filesystem::path& ScratchFolder() {
    static const Scratch scratch;
    return scratch.Path();
}

void WriteBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        Violation("cannot write the scratch file " + path.string());
    }
}

std::filesystem::path WriteScratchFile(std::string_view name, std::span<const std::uint8_t> bytes) {
    std::filesystem::path path = ScratchFolder() / name;
    WriteBytes(path, bytes);
    return path;
}

void Violation(const std::string& what) {
    std::fprintf(stderr, "==varnok-fuzz== invariant broken: %s\n", what.c_str());
    std::fflush(stderr);
    __builtin_trap();
}

void CheckLog(const Market& market, const EvaluatedLog& log) {
    const LogSegment& s = log.Segment;
    if (!WithinUnit(s.Deduction) || !WithinUnit(s.SweepDeduction)) {
        Violation("deduction outside 0..1" + Describe(log));
    }
    if (s.ProductClass < 1 || s.ProductClass > kCullProduct || !ClassMatchesGrade(s)) {
        Violation("product class outside 1 to 10 or not the grade it sells by" + Describe(log));
    }
    const float values[] = {s.ShownVolume,      s.Sweep,         s.Value,
                            log.CubicVolume,    log.VeneerValue, log.SawlogValue,
                            log.RoundwoodValue, log.ProductValue};
    for (const float value : values) {
        if (!std::isfinite(value)) {
            Violation("value that is not finite" + Describe(log));
        }
    }
    const double rule = market.LogRule.VolumeFor(s.SED, s.NominalLength);
    const double gross = rule > 0.0 ? std::floor(rule + 0.5) : 0.0;
    if (static_cast<double>(log.NetScale) > gross) {
        Violation("net scale above the log rule's volume " + std::to_string(rule) + Describe(log));
    }
}

void CheckSampleLogs(const Tree& tree, const Market& market) {
    const int stem = tree.Stem.StemLength;
    if (stem <= 0) {
        return;
    }
    LogEvaluator evaluator(tree, market);
    for (const int start : {0, 8, 100, 204, 400, stem / 2, stem - 200}) {
        if (start < 0 || start >= stem) {
            continue;
        }
        for (const int length : market.Lengths().Lengths) {
            if (start + length <= stem) {
                CheckLog(market, evaluator.EvaluateLog(start, start + length));
            }
        }
        CheckLog(market, evaluator.EvaluateLog(start, std::min(stem, start + 40)));
    }
}

void CheckPattern(const Tree& tree, const Market& market, std::span<const int> positions) {
    const PatternEvaluation evaluation = EvaluatePattern(tree, market, positions);
    for (const EvaluatedPiece& piece : evaluation.Pieces) {
        CheckLog(market, piece.Log);
        if (!std::isfinite(piece.RunningReturns)) {
            Violation("running returns not finite" + Describe(piece.Log));
        }
    }
    if (!std::isfinite(evaluation.Returns) || !std::isfinite(evaluation.CullPenalty)) {
        Violation("pattern returns or cull penalty not finite");
    }
}

void CheckOptimum(const Tree& tree, const Market& market, std::uint64_t seed) {
    Optimiser optimiser(tree, market);
    const OptimalPattern best = optimiser.OptimiseTree();
    if (!std::isfinite(best.TotalValue)) {
        Violation("optimal total not finite");
    }
    if (best.UsableLength == 0) {
        return;
    }
    if (best.Cuts.size() < 2 || best.Cuts.front() != 0 || best.Cuts.back() != best.UsableLength) {
        Violation("optimal cuts do not run from the butt to the usable length");
    }
    for (std::size_t k = 1; k < best.Cuts.size(); ++k) {
        if (best.Cuts[k] <= best.Cuts[k - 1] || best.Cuts[k] % kCutStep != 0) {
            Violation("optimal cuts not ascending on the 4-inch grid");
        }
    }
    const float chain = PatternValue(optimiser, best.Cuts);
    if (chain != best.TotalValue) {
        Violation("optimal cuts worth " + std::to_string(chain) + ", the optimiser says " +
                  std::to_string(best.TotalValue));
    }
    CheckPattern(tree, market, best.Cuts);
    Draw draw(seed);
    for (int k = 0; k < 6; ++k) {
        const std::vector<int> cuts = DrawGridPattern(draw, best.UsableLength, market.Lengths());
        const float value = PatternValue(optimiser, cuts);
        if (value > best.TotalValue) {
            std::string where;
            for (const int cut : cuts) {
                where += " " + std::to_string(cut);
            }
            Violation("grid pattern" + where + " worth " + std::to_string(value) +
                      ", more than the optimum " + std::to_string(best.TotalValue));
        }
        CheckPattern(tree, market, cuts);
    }
}

std::uint64_t SeedOf(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 0xCBF29CE484222325ULL; // FNV-1a
    for (const std::uint8_t byte : bytes) {
        hash = (hash ^ byte) * 0x100000001B3ULL;
    }
    return hash;
}

} // namespace varnok::fuzz
