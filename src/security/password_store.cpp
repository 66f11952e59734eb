#include "password_store.h"

#include "core/database.h"

namespace stokara::security {

QString PasswordStore::stored() {
    const core::Rows rows =
        db_.query(table_ == Table::User ? QStringLiteral("SELECT password FROM masspass")
                                        : QStringLiteral("SELECT password FROM adminsecurity"));
    return rows.empty() ? QString() : rows.front().text(0);
}

void PasswordStore::change(const QString& password) {
    db_.exec(table_ == Table::User ? QStringLiteral("update masspass set password = ?")
                                   : QStringLiteral("update adminsecurity set password = ?"),
             {password});
}

} // namespace stokara::security
