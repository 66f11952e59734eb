#pragma once

#include "password_store.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace stokara::core {
struct Session;
}

namespace stokara::security {

// FrmUserSecurity and FrmadminSecurity: the same screen over two tables.
class PasswordScreen : public QWidget {
    Q_OBJECT
public:
    PasswordScreen(core::Session& session, PasswordStore::Table table, QWidget* parent = nullptr);

private:
    void cmdSaveClick();

    core::Session& session_;
    PasswordStore::Table table_;
    QLineEdit* current_;
    QLineEdit* newPassword_;
    QLineEdit* confirm_;
    QPushButton* save_;
    QPushButton* cancel_;
};

class UserSecurityScreen : public PasswordScreen {
public:
    explicit UserSecurityScreen(core::Session& session, QWidget* parent = nullptr)
        : PasswordScreen(session, PasswordStore::Table::User, parent) {}
};

class AdminSecurityScreen : public PasswordScreen {
public:
    explicit AdminSecurityScreen(core::Session& session, QWidget* parent = nullptr)
        : PasswordScreen(session, PasswordStore::Table::Admin, parent) {}
};

} // namespace stokara::security
