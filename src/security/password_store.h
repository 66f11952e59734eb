#pragma once

#include <QString>

#include <optional>

namespace stokara::core {
class Database;
}

namespace stokara::security {

// Two counters changing a password over an empty table must not both add a row.
inline constexpr qint64 kPasswordLock = 0x53544B0050;

// The one password of a one-row table: masspass (the user's, checked at
// login) or adminsecurity (the administrator's).
class PasswordStore {
public:
    enum class Table { User, Admin };
    PasswordStore(core::Database& db, Table table) : db_(db), table_(table) {}

    // The password of the first row (empty when null); nullopt when the table
    // has no row at all.
    std::optional<QString> firstRow();
    // The password a change is checked against: empty when there is none.
    QString stored() { return firstRow().value_or(QString()); }
    // Sets the password of every row, exactly as typed. An empty table gets a
    // row, so "Password changed." is never said over a change that wrote nothing.
    void change(const QString& password);

private:
    core::Database& db_;
    Table table_;
};

} // namespace stokara::security
