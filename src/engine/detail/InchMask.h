#pragma once

#include "tree/Tree.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace varnok::detail {

// One bit per inch of the stem (0 to 2400): the sawlog grader's "not usable" marks. Set and
// searched a word at a time, so grading touches only the inches of the log.
class InchMask {
public:
    static constexpr int kWords = (static_cast<int>(kInchSlots) + 63) / 64;

    void Clear() { words_.fill(0); }

    // Marks first..last (inclusive), clipped to 0..2400; nothing when first > last.
    void Set(int first, int last) {
        first = first < 0 ? 0 : first;
        last = last > kMaxStemInches ? kMaxStemInches : last;
        for (int x = first; x <= last;) {
            const int word = x / 64;
            const int bit = x % 64;
            const int count = std::min(64 - bit, last - x + 1);
            const std::uint64_t bits =
                count == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << count) - 1) << bit;
            words_[static_cast<std::size_t>(word)] |= bits;
            x += count;
        }
    }

    // Marks inch x, 0 to 2400.
    void SetInch(int x) {
        words_[static_cast<std::size_t>(x / 64)] |= std::uint64_t{1} << (x % 64);
    }

    bool Test(int x) const {
        return (words_[static_cast<std::size_t>(x / 64)] >> (x % 64) & 1U) != 0;
    }

    // Copies (or ORs in) the words that hold inches first..last.
    void CopyWords(const InchMask& other, int first, int last) {
        for (int w = first / 64; w <= last / 64; ++w) {
            words_[static_cast<std::size_t>(w)] = other.words_[static_cast<std::size_t>(w)];
        }
    }
    void OrWords(const InchMask& other, int first, int last) {
        for (int w = first / 64; w <= last / 64; ++w) {
            words_[static_cast<std::size_t>(w)] |= other.words_[static_cast<std::size_t>(w)];
        }
    }

    // The first inch at or after `from` and not after `limit` whose bit equals `value`;
    // limit + 1 when there is none.
    int Next(int from, int limit, bool value) const {
        int x = from;
        while (x <= limit) {
            const std::uint64_t word = words_[static_cast<std::size_t>(x / 64)];
            const std::uint64_t looked = (value ? word : ~word) >> (x % 64);
            if (looked != 0) {
                const int found = x + std::countr_zero(looked);
                return found <= limit ? found : limit + 1;
            }
            x = (x / 64 + 1) * 64;
        }
        return limit + 1;
    }

    // Calls visit(start, end) for each run of unmarked inches within first..last, in order,
    // each run as long as it goes (inches inclusive).
    template <typename Visit> void ForEachClearRun(int first, int last, Visit visit) const {
        for (int x = first; x <= last;) {
            const int runStart = Next(x, last, false);
            if (runStart > last) {
                return;
            }
            const int runEnd = Next(runStart, last, true);
            visit(runStart, runEnd - 1);
            x = runEnd;
        }
    }

private:
    std::array<std::uint64_t, kWords> words_{};
};

} // namespace varnok::detail
