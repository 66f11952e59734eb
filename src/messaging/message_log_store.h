#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace stokara::core {
class Database;
}

namespace stokara::messaging {

// One SMS as the message log keeps it.
struct MessageLogEntry {
    QDate date;         // Doc_Dt: the bill's entry date
    QString partyCode;  // Party_Code
    QString partyName;  // Party_Name
    QString message;    // the whole text; the log keeps its first 160 characters
    QString status;     // "S" accepted, "O" outstanding
    QString returnText; // ReturnMessage: the gateway's answer or why there was none
};

// The statements of the SMS receipt: the party's mobile, the bill's rows and
// the message log.
class SmsReceiptStore {
public:
    explicit SmsReceiptStore(core::Database& db) : db_(db) {}

    struct BillRow {
        QDate docDate;
        QString docNo;
        QString itemName;
        double qty = 0;
        double rate = 0;
        double netAmount = 0;
    };

    // PH of the party as stored (not trimmed); empty when there is no such
    // party. A code kept by parties of two categories gives the one of
    // `category` (else the first by name).
    QString partyMobile(const QString& partyCode, const QString& category = {});
    // Every row with that bill number, whatever its date, in the order saved.
    std::vector<BillRow> billRows(const QString& billNo);
    // Adds the log row; texts are cut to their column widths.
    void addLogEntry(const MessageLogEntry& entry);

private:
    core::Database& db_;
};

} // namespace stokara::messaging
