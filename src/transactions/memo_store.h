#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace stokara::core {
class Database;
}

namespace stokara::transactions {

// The statements of the memo: one bill's rows on one date, with its party.
class MemoStore {
public:
    explicit MemoStore(core::Database& db) : db_(db) {}

    struct Row {
        QDate docDate;
        QString docNo;
        QString partyCode;
        QString partyName;
        double qty = 0;
        double rate = 0;
        QString itemName;
        double netAmount = 0;
    };

    // The bill's rows on that date whose party exists, in the order they were saved.
    std::vector<Row> billRows(const QString& billNo, const QDate& date);
    // Sum of the bill's amounts on that date.
    double billTotal(const QString& billNo, const QDate& date);

private:
    core::Database& db_;
};

} // namespace stokara::transactions
