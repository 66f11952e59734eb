#pragma once

#include "schema/column_widths.h"
#include "party_store.h" // FieldProblem

#include <QList>

#include <optional>

namespace stokara::core {
class Database;
}

namespace stokara::masters {

inline constexpr qint64 kVendorCodeLock = 0x53544B0002;

struct VendorFields {
    QString code;
    QString name;
    QString add1;
    QString ph;
    QString city;
};

// Statements of the vendor master (table MasVendor).
class VendorStore {
public:
    explicit VendorStore(core::Database& db) : db_(db), widths_(db) {}

    QList<VendorFields> gridRows(); // newest (highest code) first
    int countByName(const QString& name);
    QVariant highestCode();
    std::optional<FieldProblem> validate(const VendorFields& fields);
    // Allocates the next code (highest numeric code plus 1) and inserts; returns the code.
    QString insertNew(const VendorFields& fields);
    void update(const VendorFields& fields);
    std::optional<VendorFields> load(const QString& code);
    void remove(const QString& code);
    void removeUncoded();

private:
    core::Database& db_;
    schema::ColumnWidths widths_;
};

} // namespace stokara::masters
