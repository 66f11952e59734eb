#pragma once

// The shop generator's own pieces, shared by its two source files.

#include "shop_generator.h"

#include "bulk_inserter.h"
#include "catalogue.h"
#include "core/database.h"
#include "core/idioms.h"
#include "random.h"
#include "schema/column_widths.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <vector>

namespace stokara::demo {

using core::Database;
using core::round2;

namespace detail {

constexpr int kMaxPartyCode = 32767;        // the party master allocates codes up to here
constexpr qint64 kMaxBillNo = 9999999999LL; // Doc_No holds ten characters
constexpr int kBlockRows = 100;             // rows per insert statement
constexpr qint64 kProgressStep = 10000;
const char* const kVendorSuffixes[] = {"Traders", "Feed Store", "Agro Agencies"};

struct Party {
    QString code;
    QString name;
    QString category;
    double weight = 1; // how often the party buys
};

struct Item {
    QString name;
    QString unit;
    double rate = 0;
    bool main = false;
    QtyKind kind = QtyKind::Packs;
    double popularity = 1;
    int catalogueIndex = -1; // the catalogue entry it is, or is a brand of
    bool branded = false;
};

struct Vendor {
    QString code;
    QString name;
};

struct BomLine {
    int main;
    int sub;
    double kg;
};

// Writes in transactions of at most `commitEvery` rows.
class ChunkedWriter {
public:
    ChunkedWriter(Database& db, qint64 commitEvery) : db_(db), commitEvery_(commitEvery) {
        tx_.emplace(db_);
    }
    void written(int rows) {
        since_ += rows;
        if (since_ >= commitEvery_) {
            tx_->commit();
            tx_.emplace(db_);
            since_ = 0;
        }
    }
    void commit() { tx_->commit(); }

private:
    Database& db_;
    qint64 commitEvery_;
    qint64 since_ = 0;
    std::optional<core::Transaction> tx_;
};

inline QString fitted(const QString& text, int width) {
    return width > 0 ? text.left(width) : text;
}

// Prices rise about four per cent every half year; rates before that are the
// older prices, rounded the way a shop writes them.
inline double shopRound(double rate) {
    return rate >= 100 ? std::round(rate) : std::round(rate * 2) / 2;
}

inline double rateOn(const Item& item, const QDate& day, const QDate& lastDay) {
    const int halfYears = static_cast<int>(day.daysTo(lastDay) / 182);
    if (halfYears <= 0)
        return item.rate;
    return shopRound(item.rate / std::pow(1.04, halfYears));
}

// Splits `total` among the weights in proportion, whole numbers that add up to
// `total` (largest remainder).
inline std::vector<qint64> apportion(qint64 total, const std::vector<double>& weights) {
    std::vector<qint64> shares(weights.size(), 0);
    double sum = 0;
    for (double w : weights)
        sum += std::max(w, 0.0);
    if (weights.empty() || total <= 0 || sum <= 0)
        return shares;
    std::vector<std::pair<double, size_t>> remainders;
    remainders.reserve(weights.size());
    qint64 given = 0;
    for (size_t i = 0; i < weights.size(); ++i) {
        const double exact = static_cast<double>(total) * std::max(weights[i], 0.0) / sum;
        shares[i] = static_cast<qint64>(std::floor(exact));
        given += shares[i];
        remainders.emplace_back(exact - std::floor(exact), i);
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t k = 0; given < total; k = (k + 1) % remainders.size(), ++given)
        ++shares[remainders[k].second];
    return shares;
}

inline QString digits(Random& rng, int count) {
    QString s;
    s.reserve(count);
    for (int i = 0; i < count; ++i)
        s += QChar(u'0' + rng.below(10));
    return s;
}

// "91" and a ten-digit Indian mobile number, as the SMS gateway wants it. All
// from one block of numbers: a demo whose SMS account someone sets up should
// bother as few strangers as possible.
inline QString mobileNumber(Random& rng) {
    return QStringLiteral("9199990") + digits(rng, 5);
}

class Generator {
public:
    Generator(Database& db, const GenerateOptions& o, const GenerateProgress& progress)
        : db_(db), o_(o), progress_(progress), rng_(o.seed) {
        lastDay_ = o.lastDay.isValid() ? o.lastDay : QDate::currentDate();
        firstDay_ = lastDay_.addDays(-(o.days - 1));
    }

    GenerateResult run();

private:
    void validate();
    void requireEmptyShop();
    void report(const QString& stage, qint64 done, qint64 total) {
        if (progress_)
            progress_(stage, done, total);
    }
    BulkInserter inserter(const QString& table, const QStringList& columns) {
        return BulkInserter(db_, table, columns, kBlockRows,
                            [this](int rows) { writer_->written(rows); });
    }

    std::vector<int> billSizes();
    void writeShopRecord();
    void writeParties();
    void writeItems();
    void writeBom();
    void writeVendors();
    void writeAccountHeads();
    void writeSales(const std::vector<int>& sizes);
    void writePurchases();
    void writeVouchers();

    QString partyName(bool vlcc, const QString& village, QString* father);
    double saleQty(const Item& item, bool vlcc);

    Database& db_;
    const GenerateOptions& o_;
    const GenerateProgress& progress_;
    Random rng_;
    QDate firstDay_;
    QDate lastDay_;
    std::optional<ChunkedWriter> writer_;
    GenerateResult result_;

    QStringList usedVillages_;
    std::vector<Party> parties_;
    std::vector<Item> items_;
    std::vector<BomLine> bom_;
    std::vector<Vendor> vendors_;
    std::vector<CatalogueHead> heads_;
    QSet<QString> partyNames_;
    std::vector<double> soldQty_;
    double purchaseValue_ = 0;
};

} // namespace detail
} // namespace stokara::demo
