#pragma once

#include "rules/RoundwoodProducts.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace varnok {

// What the roundwood product editor offers and what it stores, and the viewer's table. The
// editor only binds its widgets to these choices, so every rule about what may be saved is here.

inline constexpr std::size_t kRoundwoodProductCount = 3;
// Product names and unit texts hold at most this many characters in the file.
inline constexpr std::size_t kRoundwoodTextCapacity = 20;

// One of the five unit choices under a product column: what the choice reads and the units
// text the product then stores ("Cubic Ft" stores "Cubic Feet").
struct RoundwoodUnitChoice {
    const char* Caption;
    const char* Units;
};
const std::array<RoundwoodUnitChoice, 5>& RoundwoodUnitChoices();

// One of the three ways of handling cull material, and the pair of texts it stores.
struct CullChoice {
    const char* Caption;  // "No Cull Penalty", ...
    const char* Handling; // "none" or "Cull"
    const char* Units;    // "none", "Cubic Feet" or "Cubic Meters"
};
const std::array<CullChoice, 3>& CullChoices();

// The five limits of a product, in the order of the editor's rows.
enum class RoundwoodLimit : std::size_t {
    MinDiameter, // small-end diameter, inches
    MaxDiameter,
    MinLength, // nominal length, feet
    MaxLength,
    Soundness, // per cent, stored as the fraction
};
inline constexpr std::size_t kRoundwoodLimitCount = 5;

// The editor's label of a limit row ("Min Diameter (in.)........", dots as shown).
const char* RoundwoodLimitLabel(RoundwoodLimit limit);
// The values a limit's list offers, in order: diameters 8 to 50, lengths 8, 10, 12, 14, 16,
// soundness 5 to 100 in steps of 5. The first is what the editor shows on opening.
const std::vector<int>& RoundwoodLimitChoices(RoundwoodLimit limit);

// What "Required Soundness" means, for the editor and the viewer to say: the number is the
// largest deduction a log may carry, not how sound it must be.
const char* RoundwoodSoundnessNote();

// One product as the editor holds it.
struct RoundwoodProductChoices {
    std::string Name;                // UTF-8, as typed
    std::optional<std::size_t> Unit; // index into RoundwoodUnitChoices(); none until one is chosen
    // Indexed by RoundwoodLimit: inches, feet or per cent.
    std::array<int, kRoundwoodLimitCount> Limits{8, 8, 8, 8, 5};

    int Limit(RoundwoodLimit limit) const { return Limits[static_cast<std::size_t>(limit)]; }
};

// Everything the editor saves apart from the set's own name.
struct RoundwoodChoices {
    std::array<RoundwoodProductChoices, kRoundwoodProductCount> Products{};
    std::size_t Cull = 0; // index into CullChoices(): "No Cull Penalty" until another is made
};

// The record the choices save: each name cut to its first 20 characters, the unit choice's
// text (empty with no choice), the limits as bytes, soundness p stored as the single nearest to
// p × 0.01, and the cull choice's pair. Throws VarnokError naming the product (by number and
// name) and the limit when a minimum is above its maximum, a limit is not one of its choices, a
// named product has no unit, a unit or cull index is out of range, or a name holds a character
// that Windows-1252 cannot store. Products without a name are checked like the others, since
// the editor shows their limits too.
RoundwoodProductSet RoundwoodSetFromChoices(const RoundwoodChoices& choices);

// The editor's choices that save `set` again, byte for byte in its significant bytes. A set
// with no cull pair (both texts empty) gives "No Cull Penalty"; a slot without a name, whose
// limits and units mean nothing, gives the first choices where its values are off the lists.
// Throws VarnokError naming the product and the field when a named product holds a value the
// editor does not offer (a typed units text such as "cords", a limit off its list, a soundness
// that is not a multiple of 5 per cent, a minimum above its maximum), or the cull pair is none
// of the three.
RoundwoodChoices RoundwoodChoicesOf(const RoundwoodProductSet& set);

// "Product 1" to "Product 3", the column headers of both tables.
std::string RoundwoodProductHeader(std::size_t product);

// The editor's table: 4 columns by 3 rows, cells[column][row], the headers filled in and the
// cells of the products empty.
inline constexpr std::size_t kRoundwoodEditorColumns = 4;
inline constexpr std::size_t kRoundwoodEditorRows = 3;
using RoundwoodEditorTable =
    std::array<std::array<std::string, kRoundwoodEditorRows>, kRoundwoodEditorColumns>;
RoundwoodEditorTable RoundwoodEditorHeaders();

// The viewer's table: 5 columns by 8 rows, cells[column][row]. Row 0 holds "Product 1" to
// "Product 3" and "Cull Material", column 0 the row names "Product Name" to "Soundness (%)".
inline constexpr std::size_t kRoundwoodViewerColumns = 5;
inline constexpr std::size_t kRoundwoodViewerRows = 8;
using RoundwoodViewerTable =
    std::array<std::array<std::string, kRoundwoodViewerRows>, kRoundwoodViewerColumns>;
// The headers alone, every other cell empty: what the viewer shows when a file fails to read.
RoundwoodViewerTable RoundwoodViewerHeaders();
// The headers and the set: per product its name, units, the four limits as whole numbers and
// the soundness fraction with two decimals ("0.25"); the cull column holds the cull handling
// text in the name row and the cull units text in the units row.
RoundwoodViewerTable RoundwoodViewerCells(const RoundwoodProductSet& set);

} // namespace varnok
