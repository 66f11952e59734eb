#pragma once

#include "core/input_rules.h"

#include <QString>
#include <QStringList>

#include <optional>

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

// Characters the item's text columns hold (0: no limit). Sales, purchases and
// bills of materials store the name (and unit) too, so theirs is the smallest
// width over those tables.
struct ItemWidths {
    int name = 0;
    int unit = 0;
    int mainItem = 0;
};
// Name too long for the tables that refer to items by name, or a number that
// is not one or too large for its column: the first problem.
std::optional<core::Problem> checkItem(const ItemFields& fields, const ItemWidths& widths);

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
