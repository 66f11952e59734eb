#pragma once

#include "core/input_rules.h"
#include "party_rules.h"
#include "schema/column_widths.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace stokara::core {
class Database;
}

namespace stokara::masters {

// Writers of parties hold this key, so two counters never hand out the same
// code, name or card.
inline constexpr qint64 kPartyCodeLock = 0x53544B0001;

struct PartyCodeSettings {
    QString codeAuto;
    QString codeManual;
    bool manualCodes() const { return codeManual == QLatin1String("1"); }
};

struct PartyGridRow {
    QString code;
    QString name;
    QString city;
    QString mobile;
    QString cardNo;
};

struct Vehicle {
    QString code;
    QString name;
};

struct PartyRef {
    QString code;
    QString name;
};

// Statements of the party master. Every statement keeps to the MilkMan and
// VLCC parties, except the card check: a card belongs to one party of any kind.
class PartyStore {
public:
    explicit PartyStore(core::Database& db) : db_(db), widths_(db) {}

    PartyCodeSettings codeSettings();
    QList<Vehicle> vehicles();
    QList<PartyGridRow> gridRows();

    int countByName(const QString& name);
    // The code after the highest numeric code.
    QString nextCode();

    // checkParty() against the widths of masparty and MasPartyDeleted.
    std::optional<core::Problem> validate(const PartyFields& fields);
    // The party holding the card, other than the MilkMan/VLCC party `except`;
    // the lowest code first when (in an old shop) several do.
    std::optional<PartyRef> cardHolder(const QString& cardNo, const QString& except = {});

    struct Written {
        bool hit = false;                     // a row was inserted or updated
        QString code;                         // the code stored
        std::optional<core::Problem> refused; // why nothing was written
    };
    // A new party. Refused when its name or card is taken, or a typed code
    // belongs to another party; a code the screen allocated and another
    // counter took meanwhile is replaced by the next free one.
    Written insert(const PartyFields& fields, bool codeAllocatedByScreen);
    // Rewrites the party with that code; not hit when it no longer exists.
    Written update(const QString& code, const PartyFields& fields);

    std::optional<PartyFields> load(const QString& code);

    // The party and all its rows, with a copy in MasPartyDeleted; all or
    // nothing. False when the party was not there.
    bool deleteParty(const QString& code);

private:
    std::optional<core::Problem> cardProblem(const QString& cardNo, const QString& except);
    QVariantHash bindings(const PartyFields& fields);

    core::Database& db_;
    schema::ColumnWidths widths_;
};

} // namespace stokara::masters
