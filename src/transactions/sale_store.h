#pragma once

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>
#include <vector>

namespace stokara::core {
class Database;
}

namespace stokara::transactions {

// A party as the sale screen finds it.
struct SaleParty {
    QString code;
    QString name;
    double commPer = 0;
    double creditLimit = 0;
};

// Unit and rate of an item, as the fields show them (empty when not set).
struct SaleItem {
    QString unit;
    QString rate;
};

// One row of itemsale as the screen writes it.
struct SaleLine {
    QDate date;
    QString billNo;
    QString partyCode;
    QString itemName;
    QString unit;
    double qty = 0;
    double rate = 0;
    double amount = 0;
    QString category;
};

// What an insert did: the entry number of the new row and the bill number it
// was saved under (another than asked when another counter took that one).
struct SavedSaleLine {
    qint64 autoNo = 0;
    QString billNo;
    bool billNoChanged = false;
};

// One row of the bill grid, as text.
struct SaleGridRow {
    QString date;
    QString billNo;
    QString partyName;
    QString itemName;
    QString qty;
    QString unit;
    QString rate;
    QString amount;
    QString autoNo;
};

// A row called back from the grid for correction.
struct LoadedSaleLine {
    QDate date;
    QString billNo;
    QString partyCode;
    QString partyLabel;
    QString itemName;
    QString unit;
    QString qty;
    QString rate;
    QString amount;
    QString autoNo;
    QString category;
};

// A line that cannot be stored as it stands; the text is for the operator.
class SaleRefused : public std::runtime_error {
public:
    explicit SaleRefused(const QString& text)
        : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// Every statement of the item sale screen.
class SaleStore {
public:
    // billNoWidth: characters the bill number column holds (0: no limit).
    explicit SaleStore(core::Database& db, int billNoWidth = 0)
        : db_(db), billNoWidth_(billNoWidth) {}

    // Key under which counters serialise the claim of a bill number.
    static constexpr qint64 kBillNumberLock = 0x5354'4b31; // "STK1"

    // The highest bill number in use plus 1, over all dates and parties; "1"
    // for an empty table. Computed, not reserved.
    QString nextBillNo();
    // The highest entry number plus 1; "1" for an empty table.
    QString nextEntryNo();

    // A party by code among the given categories.
    std::optional<SaleParty> findParty(const QString& code, const QStringList& categories);
    // The party of a card; when two party rows carry it, the lowest code.
    std::optional<SaleParty> findPartyByCard(const QString& cardNo);
    bool partyNameExists(const QString& name);
    QStringList itemNames();
    // Names of all parties, for the party name box.
    QStringList partyNames();
    // (name, code) of all parties ordered by name, for the search panel.
    QList<QPair<QString, QString>> searchParties();
    std::optional<SaleItem> findItem(const QString& itemName);

    // Rows of the same party, item, date and bill.
    int duplicateCount(const QString& partyCode, const QString& itemName, const QDate& date,
                       const QString& billNo);

    // Inserts one row. With claimBillNo (the first row of a bill whose number
    // the screen computed) the number is claimed under kBillNumberLock: when any
    // row already has it, the next free number is taken instead.
    SavedSaleLine insertLine(const SaleLine& line, bool claimBillNo);
    // Rewrites a row; its bill number stays. Returns false when no row has
    // that entry number (deleted meanwhile at another counter).
    bool updateLine(qint64 autoNo, const SaleLine& line);
    // Returns false when no row had that entry number.
    bool deleteLine(qint64 autoNo);

    // The rows of one bill of one party on one date, newest entry first.
    std::vector<SaleGridRow> billRows(const QDate& date, const QString& billNo,
                                      const QString& partyCode);
    std::optional<LoadedSaleLine> loadLine(qint64 autoNo);
    // Whether a bill has rows on a date (the memo prints nothing otherwise).
    bool billHasRows(const QString& billNo, const QDate& date);

private:
    core::Database& db_;
    int billNoWidth_ = 0;
};

} // namespace stokara::transactions
