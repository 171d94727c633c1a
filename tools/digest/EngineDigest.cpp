#include "EngineDigest.h"

#include "engine/LogEvaluator.h"
#include "game/PatternEvaluation.h"
#include "support/Errors.h"

#include <algorithm>
#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace varnok::digest {
namespace {

constexpr int kGrid = 4; // inches

// FNV-1a, 64 bits: simple, and the same on every machine, so digest files can be committed.
class Hasher {
public:
    void Bytes(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash_ = (hash_ ^ bytes[i]) * 1099511628211ULL;
        }
    }
    void Int(std::int64_t value) { Bytes(&value, sizeof value); }
    // Bit for bit, so that even a change in the last place of a value is seen.
    void Float(float value) { Int(std::bit_cast<std::uint32_t>(value)); }
    void Text(const std::string& text) {
        Int(static_cast<std::int64_t>(text.size()));
        Bytes(text.data(), text.size());
    }
    template <typename T, std::size_t N> void Ints(const std::array<T, N>& values) {
        for (const T value : values) {
            Int(value);
        }
    }
    std::uint64_t Value() const { return hash_; }

private:
    std::uint64_t hash_ = 14695981039346656037ULL;
};

void HashSegment(Hasher& hash, const LogSegment& s) {
    for (const std::int64_t value :
         {std::int64_t{s.StartPosition}, std::int64_t{s.EndPosition}, std::int64_t{s.SED},
          std::int64_t{s.LED}, std::int64_t{s.LengthInches}, std::int64_t{s.NominalLength},
          std::int64_t{s.RoundwoodProduct}, std::int64_t{s.SawGrade}, std::int64_t{s.VeneerGrade},
          std::int64_t{s.ProductClass}, std::int64_t{s.ButtLog}}) {
        hash.Int(value);
    }
    for (const float value : {s.ShownVolume, s.SweepDeduction, s.Deduction, s.Sweep, s.Value}) {
        hash.Float(value);
    }
    hash.Ints(s.SawGradeTried);
    hash.Ints(s.VeneerGradeMet);
    hash.Ints(s.RoundwoodEligible);
    hash.Ints(s.FaceGrades);
    hash.Ints(s.FaceFirstSector);
}

void HashLog(Hasher& hash, const EvaluatedLog& log) {
    HashSegment(hash, log.Segment);
    hash.Int(log.Graded ? 1 : 0);
    hash.Int(log.NetScale);
    for (const float value : {log.CubicVolume, log.VeneerValue, log.SawlogValue, log.RoundwoodValue,
                              log.ProductValue}) {
        hash.Float(value);
    }
}

void HashReasons(Hasher& hash, const std::vector<GradeReason>& reasons) {
    hash.Int(static_cast<std::int64_t>(reasons.size()));
    for (const GradeReason& reason : reasons) {
        hash.Text(reason.Product);
        hash.Int(reason.ProductClass);
        hash.Int(reason.Passed ? 1 : 0);
        hash.Text(reason.Rule);
        hash.Text(reason.Detail);
    }
}

bool SameLog(const EvaluatedLog& a, const EvaluatedLog& b) {
    Hasher left;
    Hasher right;
    HashLog(left, a);
    HashLog(right, b);
    return left.Value() == right.Value();
}

// The product name a label shows, as the game names it.
std::string ProductName(const Market& market, const EvaluatedLog& log) {
    return log.Graded ? market.ProductName(log.Segment.ProductClass) : std::string();
}

// The optimiser values spans by the shorter evaluation, LogEvaluator::ProductValue: without a
// bar it must give the evaluated value bit for bit; on the grid also under a bar the value just
// beats (exact again) and one it just meets (a value that does not beat it).
void CheckProductValue(LogEvaluator& evaluator, int start, int end, float exact, bool underBars) {
    const auto same = [](float a, float b) {
        return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
    };
    bool kept = same(evaluator.ProductValue(start, end), exact);
    if (underBars) {
        const double value = static_cast<double>(exact);
        const ValueBar beaten{1.0, std::nextafter(1.0 + value, 0.0)};
        const ValueBar met{1.0, 1.0 + value};
        kept = kept && same(evaluator.ProductValue(start, end, beaten), exact) &&
               !met.BeatenBy(evaluator.ProductValue(start, end, met));
    }
    if (!kept) {
        throw VarnokError("the product value of the log " + std::to_string(start) + "-" +
                          std::to_string(end) + " differs from the evaluated one");
    }
}

} // namespace

TreeDigest DigestTree(const Tree& tree, const Market& market) {
    LogEvaluator evaluator(tree, market);
    const int top = tree.Stem.StemLength;
    const int longest =
        *std::max_element(market.Lengths().Lengths.begin(), market.Lengths().Lengths.end());
    Hasher hash;
    TreeDigest digest;
    for (int start = 0; start < top; ++start) {
        const int reach = std::min(top, start + longest + kGrid);
        for (int end = start + 1;; ++end) {
            const int cut = std::min(end, top);
            if (end > reach && cut != top) {
                break;
            }
            const EvaluatedLog log = evaluator.EvaluateLog(start, cut);
            HashLog(hash, log);
            CheckProductValue(evaluator, start, cut, log.ProductValue, start % kGrid == 0);
            if (log.Graded) {
                for (const std::string& line : LabelLines(market, log, ProductName(market, log))) {
                    hash.Text(line);
                }
            }
            ++digest.Logs;
            if (start % kGrid == 0) {
                const ExplainedLog explained = evaluator.ExplainLog(start, cut);
                if (!SameLog(explained.Log, log)) {
                    throw VarnokError("the explained log " + std::to_string(start) + "-" +
                                      std::to_string(cut) + " differs from the evaluated one");
                }
                HashReasons(hash, explained.Reasons);
                ++digest.Explained;
            }
            if (cut == top) {
                break;
            }
        }
    }
    digest.Hash = hash.Value();
    return digest;
}

std::string DigestLine(const std::string& market, int treeNumber, const TreeDigest& digest) {
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "%d\t%" PRIu64 "\t%" PRIu64 "\t%016" PRIx64, treeNumber,
                  digest.Logs, digest.Explained, digest.Hash);
    return market + "\t" + numbers;
}

} // namespace varnok::digest
