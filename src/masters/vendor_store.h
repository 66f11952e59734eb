#pragma once

#include "core/input_rules.h"
#include "schema/column_widths.h"
#include "vendor_rules.h"

#include <QList>
#include <QVariant>

#include <optional>

namespace stokara::core {
class Database;
}

namespace stokara::masters {

inline constexpr qint64 kVendorCodeLock = 0x53544B0002;

// Statements of the vendor master (table MasVendor).
class VendorStore {
public:
    explicit VendorStore(core::Database& db) : db_(db), widths_(db) {}

    QList<VendorFields> gridRows(); // newest (highest code) first
    int countByName(const QString& name);
    std::optional<core::Problem> validate(const VendorFields& fields);
    // Allocates the next code (highest numeric code plus 1) and inserts; returns the code.
    QString insertNew(const VendorFields& fields);
    // Rewrites the vendor with that code; false when it no longer exists.
    bool update(const QString& code, const VendorFields& fields);
    std::optional<VendorFields> load(const QString& code);
    bool remove(const QString& code);
    void removeUncoded();

private:
    core::Database& db_;
    schema::ColumnWidths widths_;
};

} // namespace stokara::masters
