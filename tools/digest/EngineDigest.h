#pragma once

#include "market/Market.h"
#include "tree/Tree.h"

#include <cstdint>
#include <string>

namespace varnok::digest {

// What the engine makes of one tree under one market, condensed: every log the digest spans
// cover, as EvaluateLog gives it, its label, and on the 4-inch grid its explanation, hashed
// field by field in a fixed order. Two engines that agree on every field of every such log give
// the same digest, so a faster engine can be checked against the one it replaces.
struct TreeDigest {
    std::uint64_t Logs = 0;      // logs evaluated
    std::uint64_t Explained = 0; // of them, also explained
    std::uint64_t Hash = 0;      // FNV-1a over the fields
};

// The digest spans: every start from the butt in steps of 1 inch, and from each start every
// end above it, inch by inch, up to 4 inches past the longest log of `market` (trim included)
// or the stem's top, and the top itself. A log whose start lies
// on the 4-inch grid is also explained (ExplainLog), and its log must equal EvaluateLog's.
// Throws VarnokError when an explained log differs from the evaluated one, when the product value
// alone (LogEvaluator::ProductValue) differs from the evaluated log's, or, on the grid, when it
// breaks its promise under a bar the value just beats or just meets; and what the engine throws.
TreeDigest DigestTree(const Tree& tree, const Market& market);

// One line of a digest file: market, tree number, counts and the hash in hexadecimal, separated
// by tabs.
std::string DigestLine(const std::string& market, int treeNumber, const TreeDigest& digest);

} // namespace varnok::digest
