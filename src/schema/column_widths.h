#pragma once

#include "core/input_rules.h"

#include <QHash>
#include <QString>

#include <initializer_list>
#include <utility>

namespace stokara::core {
class Database;
}

namespace stokara::schema {

// Declared widths of text columns, read from the database itself so that the
// screens refuse over-long text with a message instead of letting PostgreSQL
// fail the statement. Cached for the life of the object.
class ColumnWidths {
public:
    explicit ColumnWidths(core::Database& db) : db_(db) {}

    // Characters the column holds; 0 when it has no limit (or is unknown).
    int width(const QString& table, const QString& column);
    // The smallest limit over several columns that receive the same value
    // (a party name is also copied into MasPartyDeleted); 0 when none has one.
    int limit(std::initializer_list<std::pair<const char*, const char*>> columns);

private:
    core::Database& db_;
    QHash<QString, int> cache_;
};

} // namespace stokara::schema
