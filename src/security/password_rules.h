#pragma once

#include <QString>

namespace stokara::security {

// What a password change may do, checked in this order.
enum class PasswordCheck {
    WrongCurrent, // "Current Password is wrong."
    FillAll,      // "Fill all the values"
    Mismatch,     // "New Password and confirm password do not mached."
    TooLong,      // the new password does not fit its column
    Ok,
};

inline constexpr int kPasswordWidth = 50; // password varchar(50)

// Passwords compare exactly, letter case included. A filled new password with
// an empty confirmation is a mismatch, not "Fill all the values".
PasswordCheck checkPasswordChange(const QString& stored, const QString& current,
                                  const QString& newPassword, const QString& confirm);

// The message for a check; empty for Ok.
QString passwordMessage(PasswordCheck check);

} // namespace stokara::security
