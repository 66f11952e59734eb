#pragma once

#include "transactions/purchase_rules.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace stokara::core {
class Database;
}

namespace stokara::transactions {

struct StoredPurchase : Purchase {
    qint64 autoNo = 0;
};

// The ItemPurchases statements of the purchase screen.
class PurchaseStore {
public:
    explicit PurchaseStore(core::Database& db) : db_(db) {}

    QStringList vendorNames(); // by name
    QStringList itemNames();   // by name
    // The unit of an item; std::nullopt when no item has that name.
    std::optional<QString> itemUnit(const QString& item);

    // Purchases of the same vendor and item on the same date.
    int countSame(const QString& vendor, const QString& item, const QDate& date);
    // Returns the entry number the database gave the purchase.
    qint64 insert(const Purchase& purchase);
    // Returns whether the purchase still existed.
    bool update(qint64 autoNo, const Purchase& purchase);
    bool remove(qint64 autoNo);

    // Purchases of a vendor on a date (only the given entry, when one is given),
    // newest first.
    std::vector<StoredPurchase> list(const QDate& date, const QString& vendor,
                                     std::optional<qint64> entry = std::nullopt);
    std::optional<StoredPurchase> purchase(qint64 autoNo);
    // The highest entry number; std::nullopt on an empty table.
    std::optional<qint64> highestEntry();

private:
    core::Database& db_;
};

} // namespace stokara::transactions
