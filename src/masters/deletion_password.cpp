#include "deletion_password.h"

namespace stokara::masters {

QString deletionPassword(const QDate& today) {
    return today.addDays(kDeletionPasswordOffsetDays).toString(QStringLiteral("ddMMyyyy"));
}

bool isDeletionPassword(const QString& typed, const QDate& today) {
    if (!today.isValid())
        return false;
    return typed == deletionPassword(today);
}

} // namespace stokara::masters
