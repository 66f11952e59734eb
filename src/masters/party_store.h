#pragma once

#include "schema/column_widths.h"
#include "party_rules.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace stokara::core {
class Database;
}

namespace stokara::masters {

// Writers that allocate party codes hold this key, so two counters never
// hand out the same code.
inline constexpr qint64 kPartyCodeLock = 0x53544B0001;

// A field that cannot be stored as typed, and why.
struct FieldProblem {
    QString column; // the masparty column (or "party_code" ...), to find the field
    QString message;
};

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

// Statements of the party master. Every statement keeps to the MilkMan and
// VLCC parties.
class PartyStore {
public:
    explicit PartyStore(core::Database& db) : db_(db), widths_(db) {}

    PartyCodeSettings codeSettings();
    QList<Vehicle> vehicles();
    QList<PartyGridRow> gridRows();

    int countByName(const QString& name);
    // Highest numeric code (NULL when no party has a code).
    QVariant highestCode();
    QString nextCode() { return nextPartyCode(highestCode()); }
    int countByCodeOrName(const QString& code, const QString& name);
    bool codeExists(const QString& code);

    // Text too long for its column or a number too large: the first problem.
    std::optional<FieldProblem> validate(const PartyFields& fields);

    struct SaveResult {
        bool inserted = false;
        QString code; // the code stored (may differ from the typed one, see below)
    };
    // Inserts or updates: an existing MilkMan/VLCC row with the code or the name
    // means update (of the row with the code), otherwise insert. When the code was
    // allocated by the screen and another counter has taken it since, the next free
    // code is used instead of overwriting that party.
    SaveResult save(const PartyFields& fields, bool codeAllocatedByScreen);
    void insert(const PartyFields& fields);
    void update(const PartyFields& fields);

    std::optional<PartyFields> load(const QString& code);

    // The party and all its rows, with a copy in MasPartyDeleted; all or nothing.
    void deleteParty(const QString& code);

private:
    QVariantList values(const PartyFields& fields);

    core::Database& db_;
    schema::ColumnWidths widths_;
};

} // namespace stokara::masters
