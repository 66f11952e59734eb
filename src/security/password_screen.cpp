#include "password_screen.h"

#include "password_rules.h"

#include "core/dialogs.h"
#include "core/errors.h"
#include "core/session.h"
#include "core_ui/field_flow.h"
#include "core_ui/screen_support.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace stokara::security {

PasswordScreen::PasswordScreen(core::Session& session, PasswordStore::Table table, QWidget* parent)
    : QWidget(parent), session_(session), table_(table) {
    const bool user = table == PasswordStore::Table::User;
    setObjectName(user ? QStringLiteral("FrmUserSecurity") : QStringLiteral("FrmadminSecurity"));
    setWindowTitle(user ? QStringLiteral("User Security") : QStringLiteral("Admin Security"));

    auto makeField = [this](const char* name) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(name));
        field->setEchoMode(QLineEdit::Password);
        return field;
    };
    current_ = makeField("txtPassword");
    newPassword_ = makeField("TxtNewpassword");
    confirm_ = makeField("TxtConfirmPassword");
    save_ = new QPushButton(QStringLiteral("Save"), this);
    save_->setObjectName(QStringLiteral("CmdSave"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CmdCancel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Current Password"), current_);
    form->addRow(QStringLiteral("New Password"), newPassword_);
    form->addRow(QStringLiteral("Confirm Password"), confirm_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    (new core_ui::FieldFlow(this))->add(current_).add(newPassword_).add(confirm_).add(save_);
    connect(save_, &QPushButton::clicked, this, &PasswordScreen::cmdSaveClick);
    connect(cancel_, &QPushButton::clicked, this, &QWidget::close);
    core_ui::onScreenLoad(this, session_);
}

void PasswordScreen::cmdSaveClick() {
    // A failed read or write leaves the old password and says why, rather than
    // ending silently.
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("CmdSave_Click"), [&] {
        PasswordStore store(*session_.db, table_);
        const PasswordCheck check = checkPasswordChange(store.stored(), current_->text(),
                                                        newPassword_->text(), confirm_->text());
        if (check != PasswordCheck::Ok) {
            session_.dialogs->information(windowTitle(), passwordMessage(check));
            return;
        }
        store.change(newPassword_->text());
        session_.dialogs->information(windowTitle(), QStringLiteral("Password changed."));
    });
}

} // namespace stokara::security
