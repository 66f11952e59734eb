#include "password_rules.h"

namespace stokara::security {

PasswordCheck checkPasswordChange(const QString& stored, const QString& current,
                                  const QString& newPassword, const QString& confirm) {
    if (current != stored)
        return PasswordCheck::WrongCurrent;
    if (newPassword.isEmpty() && confirm.isEmpty())
        return PasswordCheck::FillAll;
    if (newPassword != confirm)
        return PasswordCheck::Mismatch;
    if (newPassword.size() > kPasswordWidth)
        return PasswordCheck::TooLong;
    return PasswordCheck::Ok;
}

QString passwordMessage(PasswordCheck check) {
    switch (check) {
    case PasswordCheck::WrongCurrent:
        return QStringLiteral("Current Password is wrong.");
    case PasswordCheck::FillAll:
        return QStringLiteral("Fill all the values");
    case PasswordCheck::Mismatch:
        return QStringLiteral("New Password and confirm password do not mached.");
    case PasswordCheck::TooLong:
        return QStringLiteral("The new password can have at most %1 characters.")
            .arg(kPasswordWidth);
    case PasswordCheck::Ok:
        break;
    }
    return {};
}

} // namespace stokara::security
