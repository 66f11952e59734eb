#pragma once

#include "schema/column_widths.h"
#include "item_rules.h"
#include "party_store.h" // FieldProblem

#include <QList>

#include <optional>

namespace stokara::core {
class Database;
}

namespace stokara::masters {

struct ItemGridRow {
    QString name;
    QString unit;
    QString rate;
    QString autoNo;
    QString opeBal;
    QString mainItem;
};

// Statements of the item master (table masitem).
class ItemStore {
public:
    explicit ItemStore(core::Database& db) : db_(db), widths_(db) {}

    QList<ItemGridRow> gridRows();
    bool exists(const QString& name);
    int countByEntry(qint64 entry);
    // Name too long for the tables that refer to items by name, or a number too large.
    std::optional<FieldProblem> validate(const ItemFields& fields);
    // Insert when no row has the entry number, otherwise update that row.
    // Returns true for an insert.
    bool save(const ItemFields& fields);
    void remove(qint64 entry);

private:
    core::Database& db_;
    schema::ColumnWidths widths_;
};

} // namespace stokara::masters
