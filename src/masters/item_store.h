#pragma once

#include "core/input_rules.h"
#include "item_rules.h"
#include "schema/column_widths.h"

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
    // checkItem() against the widths of the tables that store items.
    std::optional<core::Problem> validate(const ItemFields& fields);
    void insert(const ItemFields& fields);
    // Rewrites the item with that entry number; false when it no longer exists.
    bool update(qint64 entry, const ItemFields& fields);
    bool remove(qint64 entry);

private:
    core::Database& db_;
    schema::ColumnWidths widths_;
};

} // namespace stokara::masters
