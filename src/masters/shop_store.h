#pragma once

#include "core/input_rules.h"
#include "schema/column_widths.h"
#include "shop_rules.h"

#include <optional>

namespace stokara::core {
class Database;
}

namespace stokara::masters {

inline constexpr qint64 kShopRecordLock = 0x53544B0004;

// The one shop record (table compmaster).
class ShopStore {
public:
    explicit ShopStore(core::Database& db) : db_(db), widths_(db) {}

    std::optional<ShopFields> first();
    std::optional<core::Problem> validate(const ShopFields& fields);
    // Inserts the record when there is none, otherwise updates every row, so
    // the table keeps one record.
    void save(const ShopFields& fields);
    // Whether the file has the shop's UPI columns (added by the upgrade).
    bool hasUpi();

private:
    core::Database& db_;
    schema::ColumnWidths widths_;
    std::optional<bool> hasUpi_; // asked once: the upgrade runs from its own screen
};

} // namespace stokara::masters
