#pragma once

#include <QString>

namespace stokara::core {
class Database;
}

namespace stokara::security {

// The one password of a one-row table: masspass (the user's, checked at
// login) or adminsecurity (the administrator's).
class PasswordStore {
public:
    enum class Table { User, Admin };
    PasswordStore(core::Database& db, Table table) : db_(db), table_(table) {}

    // The password of the first row; empty when there is no row or it is null.
    QString stored();
    // Sets the password of every row, exactly as typed.
    void change(const QString& password);

private:
    core::Database& db_;
    Table table_;
};

} // namespace stokara::security
