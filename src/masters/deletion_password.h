#pragma once

#include <QDate>
#include <QString>

namespace stokara::masters {

// Deleting a party or a vendor asks for the day's password: the eight digits
// ddmmyyyy of today shifted by a fixed number of days, so the operator must ask
// the owner for it and yesterday's password no longer works.
inline constexpr int kDeletionPasswordOffsetDays = 11;

QString deletionPassword(const QDate& today);
// Exact comparison: no trimming, no partial match.
bool isDeletionPassword(const QString& typed, const QDate& today);

} // namespace stokara::masters
