#pragma once

#include "core/input_rules.h"

#include <QString>

#include <optional>

namespace stokara::masters {

// Characters the BOM item columns hold (0: no limit).
struct BomWidths {
    int mainItem = 0;
    int subItem = 0;
};

// An item name too long for its column: the first problem, naming the field.
std::optional<core::Problem> checkBomLine(const QString& mainItem, const QString& subItem,
                                          const BomWidths& widths);

// The weight of a line as typed: its leading number rounded to two decimals;
// std::nullopt when that is not a positive weight BOM.wt can hold.
std::optional<double> bomWeight(const QString& text);

} // namespace stokara::masters
