#include "rules/PriceSetCells.h"

#include "rules/SaleUnits.h"
#include "support/Numbers.h"

#include <cmath>
#include <limits>

namespace varnok {
namespace {

std::size_t Index(int i) {
    return static_cast<std::size_t>(i);
}

std::string RowName(int row, const std::string& name) {
    std::string text = "Row " + std::to_string(row + 1);
    return name.empty() ? text : text + " (" + name + ")";
}

std::string CellName(int row, const std::string& name, int length) {
    return RowName(row, name) + ", " + LengthHead(length) + " ft logs";
}

RuleGridTexts EmptyGrid() {
    RuleGridTexts grid;
    grid.ColumnHeads = {"Product", "Units"};
    for (int l = 0; l < kPriceLengths; ++l) {
        grid.ColumnHeads.push_back(LengthHead(l));
    }
    grid.Cells.assign(kPriceRows, std::vector<std::string>(grid.ColumnHeads.size()));
    return grid;
}

double CheckedPrice(const PriceRowHeads& heads, const PriceCells& cells, int row, int length,
                    bool commaDecimal) {
    const std::string& name = heads.Names[Index(row)];
    const std::string& units = heads.Units[Index(row)];
    const std::string& text = cells[Index(row)][Index(length)];
    const int column = kPriceFirstLengthColumn + length;
    const std::optional<double> price = ParseNumberCell(text, commaDecimal);
    if (!price) {
        throw CellError(row, column, CellName(row, name, length) + ": " + NotAFloatText(text));
    }
    const int factor = PriceUnitFactor(row + 1, units); // `row` counts from 0
    const double converted = RoundHalfEven(*price) * factor;
    if (converted < std::numeric_limits<std::int16_t>::min() ||
        converted > std::numeric_limits<std::int16_t>::max()) {
        const std::string per = row < 6 ? "thousand board feet" : "140 cubic feet";
        throw CellError(row, column,
                        CellName(row, name, length) + ": '" + text + "'" +
                            (row < 6 || units.empty() ? "" : " per " + units) + " makes " +
                            FormatGeneral(converted) + " dollars per " + per +
                            "; the whole-dollar price table holds -32768 to 32767");
    }
    return *price + 0.0; // "-0" stored as 0.0
}

} // namespace

PriceRowHeads PriceRowHeadsWithoutRoundwood() {
    PriceRowHeads heads;
    for (std::size_t r = 0; r < FixedPriceRowNames().size(); ++r) {
        heads.Names[r] = FixedPriceRowNames()[r];
        heads.Units[r] = "MBF";
    }
    return heads;
}

PriceRowHeads PriceRowHeadsFor(const RoundwoodProductSet& roundwood) {
    PriceRowHeads heads = PriceRowHeadsWithoutRoundwood();
    for (std::size_t p = 0; p < roundwood.Products.size(); ++p) {
        heads.Names[6 + p] = roundwood.Products[p].Name;
        heads.Units[6 + p] = roundwood.Products[p].Units;
    }
    heads.Names[kCullRow] = roundwood.CullHandling;
    heads.Units[kCullRow] = roundwood.CullUnits;
    heads.CullPriced = roundwood.CullHandling == "Cull";
    return heads;
}

RuleGridTexts PriceEditorGrid(const PriceRowHeads& heads) {
    RuleGridTexts grid = EmptyGrid();
    for (int r = 0; r < kPriceRows; ++r) {
        std::vector<std::string>& row = grid.Cells[Index(r)];
        row[0] = heads.Names[Index(r)];
        row[1] = heads.Units[Index(r)];
        if (r == kCullRow && !heads.CullPriced) {
            for (int l = 0; l < kPriceLengths; ++l) {
                row[Index(kPriceFirstLengthColumn + l)] = "0";
            }
        }
    }
    return grid;
}

RuleGridTexts PriceViewerGrid() {
    return EmptyGrid();
}

RuleGridTexts PriceViewerGrid(const PriceSet& set) {
    RuleGridTexts grid = EmptyGrid();
    for (int r = 0; r < kPriceRows; ++r) {
        const PriceRow& prices = set.Rows[Index(r)];
        std::vector<std::string>& row = grid.Cells[Index(r)];
        row[0] = prices.Name;
        row[1] = prices.Units;
        for (int l = 0; l < kPriceLengths; ++l) {
            row[Index(kPriceFirstLengthColumn + l)] = FormatGeneral(prices.Prices[Index(l)]);
        }
    }
    return grid;
}

PriceSet PriceSetFromCells(const PriceRowHeads& heads, const PriceCells& cells, bool commaDecimal) {
    PriceSet set;
    for (int r = 0; r < kPriceRows; ++r) {
        PriceRow& row = set.Rows[Index(r)];
        row.Name = heads.Names[Index(r)];
        row.Units = heads.Units[Index(r)];
        if (r == kCullRow && !heads.CullPriced) {
            continue;
        }
        for (int l = 0; l < kPriceLengths; ++l) {
            row.Prices[Index(l)] = CheckedPrice(heads, cells, r, l, commaDecimal);
        }
    }
    return set;
}

std::optional<std::string> CubicFeetFractionWarning(const PriceSet& set) {
    std::string lines;
    for (int r = 6; r < kPriceRows; ++r) {
        const PriceRow& row = set.Rows[Index(r)];
        if (SaleUnitOf(row.Units) != SaleUnit::CubicFeet) {
            continue;
        }
        for (int l = 0; l < kPriceLengths; ++l) {
            const double price = row.Prices[Index(l)];
            if (price != RoundHalfEven(price)) {
                lines += "\n" + CellName(r, row.Name, l) + ": " + FormatGeneral(price) +
                         " counts as " + FormatGeneral(RoundHalfEven(price) + 0.0) + ".";
            }
        }
    }
    if (lines.empty()) {
        return std::nullopt;
    }
    return "Prices in Cubic Feet are rounded to whole dollars before they are charged per cubic "
           "foot:" +
           lines;
}

} // namespace varnok
