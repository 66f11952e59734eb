#pragma once

#include <QString>
#include <QStringList>

namespace stokara::masters {

// What the item master shows and stores, as the fields hold it.
struct ItemFields {
    QString name;
    QString unit;
    QString rate;
    QString opeBal;
    QString mainItem;
    QString autoNo; // empty for a new item
};

struct ItemNumbers {
    double rate = 0;   // numeric(9,2)
    double opeBal = 0; // numeric(9): whole units
    qint64 entry = 0;  // the entry number, 0 for a new item
};
ItemNumbers itemNumbers(const ItemFields& fields);

// Leaving the name field: item names are kept in upper case.
QString itemNameOnLeave(const QString& name);
// Leaving the unit list empty chooses "Weight"; an empty main-item flag is "N".
QString unitOnLeave(const QString& unit);
QString mainItemOnLeave(const QString& flag);

const QStringList& unitWords();
inline QStringList mainItemFlags() {
    return {QStringLiteral("Y"), QStringLiteral("N")};
}

} // namespace stokara::masters
