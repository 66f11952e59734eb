#include "password_store.h"

#include "core/database.h"

namespace stokara::security {

std::optional<QString> PasswordStore::firstRow() {
    const core::Rows rows =
        db_.query(table_ == Table::User ? QStringLiteral("SELECT password FROM masspass")
                                        : QStringLiteral("SELECT password FROM adminsecurity"));
    if (rows.empty())
        return std::nullopt;
    return rows.front().text(0);
}

void PasswordStore::change(const QString& password) {
    const bool user = table_ == Table::User;
    core::Transaction tx(db_, kPasswordLock);
    const int changed = db_.exec(user ? QStringLiteral("update masspass set password = ?")
                                      : QStringLiteral("update adminsecurity set password = ?"),
                                 {password});
    if (changed == 0)
        db_.exec(user ? QStringLiteral("insert into masspass (password) values (?)")
                      : QStringLiteral("insert into adminsecurity (password) values (?)"),
                 {password});
    tx.commit();
}

} // namespace stokara::security
