#include "shop_generator.h"

#include "bulk_inserter.h"
#include "catalogue.h"
#include "core/database.h"
#include "core/idioms.h"
#include "random.h"

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

namespace {

constexpr int kMaxPartyCode = 32767; // the party master allocates codes up to here
constexpr int kBlockRows = 100;      // rows per insert statement
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

// Declared width of a text column, or 0 when it has none.
int columnWidth(Database& db, const QString& table, const QString& column) {
    if (db.isSqlite()) {
        const QString type = db.scalar(QStringLiteral("select type from pragma_table_info(?) "
                                                      "where lower(name) = lower(?)"),
                                       {table, column})
                                 .toString();
        static const QRegularExpression width(QStringLiteral("\\((\\d+)\\)"));
        const auto m = width.match(type);
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    }
    return db
        .scalar(QStringLiteral("select character_maximum_length from information_schema.columns "
                               "where table_schema = current_schema() and table_name = lower(?) "
                               "and column_name = lower(?)"),
                {table, column})
        .toInt();
}

QString fitted(const QString& text, int width) {
    return width > 0 ? text.left(width) : text;
}

// Prices rise about four per cent every half year; rates before that are the
// older prices, rounded the way a shop writes them.
double shopRound(double rate) {
    return rate >= 100 ? std::round(rate) : std::round(rate * 2) / 2;
}

double rateOn(const Item& item, const QDate& day, const QDate& lastDay) {
    const int halfYears = static_cast<int>(day.daysTo(lastDay) / 182);
    if (halfYears <= 0)
        return item.rate;
    return shopRound(item.rate / std::pow(1.04, halfYears));
}

// Splits `total` among the weights in proportion, whole numbers that add up to
// `total` (largest remainder).
std::vector<qint64> apportion(qint64 total, const std::vector<double>& weights) {
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

QString digits(Random& rng, int count) {
    QString s;
    s.reserve(count);
    for (int i = 0; i < count; ++i)
        s += QChar(u'0' + rng.below(10));
    return s;
}

// "91" and a ten-digit Indian mobile number, as the SMS gateway wants it. All
// from one block of numbers: a demo whose SMS account someone sets up should
// bother as few strangers as possible.
QString mobileNumber(Random& rng) {
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

void Generator::validate() {
    auto refuse = [](const char* why) { throw std::invalid_argument(why); };
    if (o_.parties < 0 || o_.parties > kMaxPartyCode)
        refuse("The number of parties must be between 0 and 32767.");
    if (o_.vlccPercent < 0 || o_.vlccPercent > 100)
        refuse("The share of VLCC parties must be between 0 and 100 per cent.");
    if (o_.items < 0 || o_.items > maxItems())
        refuse("Too many items for the item catalogue.");
    if (o_.vendors < 0 || o_.vendors > maxVendors())
        refuse("Too many vendors for the vendor catalogue.");
    if (o_.accountHeads < 0 || o_.accountHeads > maxAccountHeads())
        refuse("Too many account heads for the account head catalogue.");
    if (o_.sales < 0 || o_.purchases < 0 || o_.vouchers < 0)
        refuse("Row counts cannot be negative.");
    if (o_.days < 1 || o_.days > 36600)
        refuse("The span must be between 1 day and a hundred years.");
    if (o_.commitEvery < 1)
        refuse("Rows per transaction must be at least 1.");
    if (o_.sales > 0 && (o_.parties == 0 || o_.items == 0))
        refuse("Sales need at least one party and one item.");
    if (o_.purchases > 0 && (o_.vendors == 0 || o_.items == 0))
        refuse("Purchases need at least one vendor and one item.");
    if (o_.vouchers > 0 && o_.parties + o_.vendors + o_.accountHeads == 0)
        refuse("Vouchers need a party, a vendor or an account head.");
}

void Generator::requireEmptyShop() {
    static const char* const tables[] = {"masparty",      "masitem",     "BOM",
                                         "masvendor",     "accounthead", "itemsale",
                                         "ItemPurchases", "daybook",     "vehicle"};
    for (const char* table : tables) {
        const QString name = QString::fromLatin1(table);
        if (!db_.tableExists(name))
            throw std::invalid_argument(
                QStringLiteral("The database has no table %1; build its schema first.")
                    .arg(name)
                    .toStdString());
        if (db_.scalar(QStringLiteral("select count(*) from ") + name).toLongLong() > 0)
            throw std::invalid_argument(
                QStringLiteral("The shop already has rows in %1; demo data goes only into an "
                               "empty shop.")
                    .arg(name)
                    .toStdString());
    }
}

// Bills of one to four lines (never more lines than there are items) that add
// up to the sales asked for.
std::vector<int> Generator::billSizes() {
    std::vector<int> sizes;
    if (o_.sales == 0)
        return sizes;
    sizes.reserve(static_cast<size_t>(o_.sales / 2 + 1));
    const int most = std::min(4, o_.items);
    qint64 left = o_.sales;
    while (left > 0) {
        const double u = rng_.unit();
        int n = u < 0.45 ? 1 : u < 0.75 ? 2 : u < 0.90 ? 3 : 4;
        n = static_cast<int>(std::min<qint64>({n, most, left}));
        sizes.push_back(n);
        left -= n;
    }
    return sizes;
}

void Generator::writeShopRecord() {
    if (db_.scalar(QStringLiteral("select count(*) from compmaster")).toInt() > 0)
        return;
    db_.exec(QStringLiteral("insert into compmaster (CompName, Address1, City, TelNo, Mobileno, "
                            "compcode, TinNo) values (?, ?, ?, ?, ?, ?, ?)"),
             {QStringLiteral("Kisan Dairy Shop"), QStringLiteral("Main Bazar, Near Bus Stand"),
              QString::fromLatin1(villages()[0]), QStringLiteral("01652-224455"),
              QStringLiteral("919876543210"), QStringLiteral("01"),
              QStringLiteral("03AAKFK1234L1Z5")});
}

QString Generator::partyName(bool vlcc, const QString& village, QString* father) {
    if (vlcc) {
        father->clear();
        QString name = village + QStringLiteral(" VLCC");
        for (int n = 2; partyNames_.contains(name); ++n)
            name = village + QStringLiteral(" VLCC ") + QString::number(n);
        partyNames_.insert(name);
        return name;
    }
    const auto men = maleFirstNames();
    const auto women = femaleFirstNames();
    const auto family = surnames();
    const bool woman = rng_.chance(0.15);
    QString surname = QString::fromLatin1(rng_.pick(family.data(), family.size()));
    // Women of the village are not written "Singh" or "Kumar".
    while (woman && (surname == QLatin1String("Singh") || surname == QLatin1String("Kumar")))
        surname = QString::fromLatin1(rng_.pick(family.data(), family.size()));
    const QString first = QString::fromLatin1(woman ? rng_.pick(women.data(), women.size())
                                                    : rng_.pick(men.data(), men.size()));
    const QString fatherFirst = QString::fromLatin1(rng_.pick(men.data(), men.size()));
    *father = fatherFirst + QLatin1Char(' ') + surname;
    const QString base = first + QLatin1Char(' ') + surname;
    QString name = base;
    // Two parties of one name would be refused by the party master; villages tell
    // them apart by the father, and the ledger by a number.
    if (partyNames_.contains(name))
        name = base + (woman ? QStringLiteral(" d/o ") : QStringLiteral(" s/o ")) + fatherFirst;
    for (int n = 2; partyNames_.contains(name) || name.size() > 40; ++n)
        name = base + QStringLiteral(" (") + QString::number(n) + QLatin1Char(')');
    partyNames_.insert(name);
    return name;
}

void Generator::writeParties() {
    // A small shop serves a handful of villages, a big one all of them; the
    // shop's own village sends the most.
    const auto all = villages();
    const int villageCount = std::clamp(o_.parties / 6 + 3, 1, static_cast<int>(all.size()));
    std::vector<double> villageWeights;
    for (int v = 0; v < villageCount; ++v) {
        usedVillages_ << QString::fromLatin1(all[v]);
        villageWeights.push_back(v == 0 ? 3.0 : 1.0 + rng_.unit());
    }
    const WeightedPick villagePick(villageWeights);

    if (o_.parties > 0) {
        BulkInserter vehicles =
            inserter(QStringLiteral("vehicle"), {"veh_code", "veh_name", "driver"});
        for (int v = 0; v < villageCount; ++v) {
            const auto men = maleFirstNames();
            vehicles.add({QString::number(v + 1), usedVillages_[v],
                          QString::fromLatin1(rng_.pick(men.data(), men.size()))});
        }
        vehicles.finish();
    }

    report(QStringLiteral("parties"), 0, o_.parties);
    const int sideWidth = columnWidth(db_, QStringLiteral("masparty"), QStringLiteral("baldrcr"));
    const int vlccCount = static_cast<int>(std::lround(o_.parties * o_.vlccPercent / 100.0));
    QSet<QString> cards;
    QSet<QString> mobiles;
    BulkInserter rows =
        inserter(QStringLiteral("masparty"),
                 {"party_code", "Party_name", "FatherName", "add1", "city", "ph", "veh_code",
                  "category", "ope_bal", "baldrcr", "CardNo", "CReditLimit", "CommPer", "CommType",
                  "CowRateType", "BuffaloRateType", "Active"});
    static const int milkmanLimits[] = {0, 0, 5000, 10000, 15000, 20000};
    static const char* const landmarks[] = {"Near Gurudwara", "Near Govt. School",
                                            "Near Panchayat Ghar", "Near Water Tank",
                                            "Phirni Road"};
    parties_.reserve(o_.parties);
    for (int i = 0; i < o_.parties; ++i) {
        // Collection centres are spread evenly through the codes.
        const bool vlcc = (static_cast<qint64>(i + 1) * vlccCount) / o_.parties !=
                          (static_cast<qint64>(i) * vlccCount) / o_.parties;
        const int village = villagePick(rng_);
        QString father;
        Party p;
        p.code = QString::number(i + 1);
        p.category = vlcc ? QStringLiteral("VLCC") : QStringLiteral("MilkMan");
        p.name = partyName(vlcc, usedVillages_[village], &father);
        p.weight = vlcc ? 2.0 + 2.0 * rng_.unit() : 0.2 + 2.5 * rng_.unit() * rng_.unit();

        QString card;
        do {
            card = QStringLiteral("%1")
                       .arg(rng_.next() & 0xFFFFFFFFULL, 8, 16, QLatin1Char('0'))
                       .toUpper();
        } while (cards.contains(card));
        cards.insert(card);
        QString mobile;
        do {
            mobile = mobileNumber(rng_);
        } while (mobiles.contains(mobile));
        mobiles.insert(mobile);

        const QString add1 =
            vlcc               ? QStringLiteral("Dairy Co-op Society Building")
            : rng_.chance(0.5) ? QStringLiteral("Ward No. ") + QString::number(rng_.between(1, 12))
                               : QString::fromLatin1(rng_.pick(landmarks));
        QVariant opening = 0.0;
        QVariant side = QVariant(QMetaType(QMetaType::QString));
        if (rng_.chance(0.4)) {
            opening = static_cast<double>(rng_.between(10, 500) * 10);
            side =
                fitted(rng_.chance(0.7) ? QStringLiteral("Dr.") : QStringLiteral("Cr."), sideWidth);
        }
        const int limit = vlcc ? (rng_.chance(0.5) ? 50000 : 100000) : rng_.pick(milkmanLimits);
        rows.add({p.code, p.name,
                  father.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(father),
                  add1, usedVillages_[village], mobile, QString::number(village + 1), p.category,
                  opening, side, card, limit, 0.0, QStringLiteral("Per Liter"),
                  QStringLiteral("Fat Advance Rate"), QStringLiteral("Fat Advance Rate"),
                  QStringLiteral("Y")});
        parties_.push_back(std::move(p));
        if ((i + 1) % kProgressStep == 0)
            report(QStringLiteral("parties"), i + 1, o_.parties);
    }
    rows.finish();
    result_.parties = o_.parties;
}

void Generator::writeItems() {
    const auto catalogue = catalogueItems();
    const auto brands = itemBrands();
    const int base = static_cast<int>(catalogue.size());
    BulkInserter rows =
        inserter(QStringLiteral("masitem"), {"item_name", "unit", "rate", "OpeBal", "MainItem"});
    for (int i = 0; i < o_.items; ++i) {
        const int c = i % base;
        const CatalogueItem& entry = catalogue[c];
        Item item;
        item.catalogueIndex = c;
        item.unit = QString::fromLatin1(entry.unit);
        item.kind = entry.qty;
        if (i < base) {
            item.name = QString::fromLatin1(entry.name);
            item.rate = entry.rate;
            item.main = entry.main;
            item.popularity = entry.popularity;
        } else {
            // More items than the catalogue: the same goods of other makers. Only
            // the shop's own mixes have a bill of materials.
            const int brand = i / base - 1;
            item.name = QString::fromLatin1(brands[brand]) + QLatin1Char(' ') +
                        QString::fromLatin1(entry.name);
            item.rate = shopRound(entry.rate * (0.9 + 0.025 * brand));
            item.popularity = entry.popularity * 0.3;
            item.branded = true;
        }
        const int opening = item.kind == QtyKind::Bags    ? rng_.between(20, 150)
                            : item.kind == QtyKind::Loose ? rng_.between(10, 150) * 10
                                                          : rng_.between(10, 100);
        rows.add({item.name, item.unit, item.rate, opening,
                  item.main ? QStringLiteral("Y") : QStringLiteral("N")});
        items_.push_back(std::move(item));
    }
    rows.finish();
    result_.items = o_.items;
}

void Generator::writeBom() {
    auto indexOf = [this](const char* name) {
        const QString n = QString::fromLatin1(name);
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i].name == n)
                return static_cast<int>(i);
        return -1;
    };
    BulkInserter rows = inserter(QStringLiteral("BOM"), {"MainItem", "SubItem", "Wt"});
    for (const CatalogueBomLine& line : catalogueBom()) {
        const int main = indexOf(line.mainItem);
        const int sub = indexOf(line.subItem);
        if (main < 0 || sub < 0)
            continue;
        bom_.push_back({main, sub, line.kg});
        rows.add({items_[main].name, items_[sub].name, line.kg});
    }
    rows.finish();
    result_.bomLines = static_cast<int>(bom_.size());
}

void Generator::writeVendors() {
    const auto catalogue = catalogueVendors();
    const auto places = villages();
    const int base = static_cast<int>(catalogue.size());
    BulkInserter rows =
        inserter(QStringLiteral("masvendor"), {"party_code", "Party_Name", "Add1", "city", "Ph"});
    for (int i = 0; i < o_.vendors; ++i) {
        Vendor v;
        v.code = QString::number(i + 1);
        QString address;
        QString city;
        if (i < base) {
            v.name = QString::fromLatin1(catalogue[i].name);
            address = QString::fromLatin1(catalogue[i].address);
            city = QString::fromLatin1(catalogue[i].city);
        } else {
            const int k = i - base;
            const int placeCount = static_cast<int>(places.size());
            city = QString::fromLatin1(places[k % placeCount]);
            v.name = city + QLatin1Char(' ') + QString::fromLatin1(kVendorSuffixes[k / placeCount]);
            address = QStringLiteral("Main Bazar");
        }
        rows.add({v.code, v.name, address, city, mobileNumber(rng_)});
        vendors_.push_back(std::move(v));
    }
    rows.finish();
    result_.vendors = o_.vendors;
}

void Generator::writeAccountHeads() {
    BulkInserter rows = inserter(QStringLiteral("accounthead"), {"AccountHead", "AccountGroup"});
    const auto catalogue = catalogueHeads();
    for (int i = 0; i < o_.accountHeads; ++i) {
        heads_.push_back(catalogue[i]);
        rows.add({QString::fromLatin1(catalogue[i].head), QString::fromLatin1(catalogue[i].group)});
    }
    rows.finish();
    result_.accountHeads = o_.accountHeads;
}

double Generator::saleQty(const Item& item, bool vlcc) {
    switch (item.kind) {
    case QtyKind::Bags: {
        if (vlcc)
            return rng_.between(5, 40);
        const double u = rng_.unit();
        return u < 0.55 ? 1 : u < 0.85 ? 2 : u < 0.95 ? 3 : 4;
    }
    case QtyKind::Packs:
        if (vlcc)
            return rng_.between(2, 12);
        return rng_.chance(0.7) ? 1 : rng_.between(2, 3);
    case QtyKind::Loose: {
        if (vlcc) {
            static const int kg[] = {50, 100, 150, 200};
            return rng_.pick(kg);
        }
        // Now and then a customer asks for "five hundred rupees' worth".
        if (rng_.chance(0.15)) {
            static const int rupees[] = {100, 200, 300, 500};
            return round2(rng_.pick(rupees) / item.rate);
        }
        static const double kg[] = {2, 5, 5, 10, 10, 20, 25, 40, 50, 7.5};
        return rng_.pick(kg);
    }
    }
    return 1;
}

void Generator::writeSales(const std::vector<int>& sizes) {
    soldQty_.assign(items_.size(), 0.0);
    if (sizes.empty())
        return;
    report(QStringLiteral("sales"), 0, o_.sales);

    // Busier and quieter days; Sundays are quiet.
    std::vector<double> dayWeights;
    dayWeights.reserve(o_.days);
    for (int d = 0; d < o_.days; ++d) {
        const QDate day = firstDay_.addDays(d);
        dayWeights.push_back((day.dayOfWeek() == Qt::Sunday ? 0.6 : 1.0) *
                             (0.7 + 0.6 * rng_.unit()));
    }
    const std::vector<qint64> billsPerDay =
        apportion(static_cast<qint64>(sizes.size()), dayWeights);

    std::vector<double> partyWeights;
    partyWeights.reserve(parties_.size());
    for (const Party& p : parties_)
        partyWeights.push_back(p.weight);
    const WeightedPick partyPick(partyWeights);
    std::vector<double> itemWeights;
    for (const Item& i : items_)
        itemWeights.push_back(i.popularity);
    const WeightedPick itemPick(itemWeights);

    BulkInserter rows =
        inserter(QStringLiteral("itemsale"), {"Doc_dt", "Party_code", "item_name", "Qty", "unit",
                                              "Rate", "Net_amt", "Doc_No", "category"});
    qint64 bill = 0;
    qint64 written = 0;
    int chosen[4];
    for (int d = 0; d < o_.days; ++d) {
        const QDate day = firstDay_.addDays(d);
        const QVariant dayValue(day);
        for (qint64 b = 0; b < billsPerDay[d]; ++b) {
            const int lines = sizes[static_cast<size_t>(bill)];
            const QString billNo = QString::number(++bill);
            const Party& party = parties_[partyPick(rng_)];
            const bool vlcc = party.category == QLatin1String("VLCC");
            for (int l = 0; l < lines; ++l) {
                // One line per item on a bill.
                int item = itemPick(rng_);
                for (int tries = 0; std::find(chosen, chosen + l, item) != chosen + l; ++tries)
                    item = tries < 20 ? itemPick(rng_) : (item + 1) % o_.items;
                chosen[l] = item;
                const Item& it = items_[item];
                const double rate = rateOn(it, day, lastDay_);
                const double qty = saleQty(it, vlcc);
                soldQty_[item] += qty;
                rows.add({dayValue, party.code, it.name, qty, it.unit, rate, round2(qty * rate),
                          billNo, party.category});
                if (++written % kProgressStep == 0)
                    report(QStringLiteral("sales"), written, o_.sales);
            }
        }
    }
    rows.finish();
    result_.sales = written;
    result_.bills = bill;
}

void Generator::writePurchases() {
    if (o_.purchases == 0)
        return;
    report(QStringLiteral("purchases"), 0, o_.purchases);

    // Buy about what was sold, and for the shop's own mixes the ingredients too.
    const size_t n = items_.size();
    std::vector<double> target(n, 0.0);
    bool anySold = false;
    for (size_t i = 0; i < n; ++i) {
        target[i] = soldQty_[i] * 1.05;
        anySold = anySold || soldQty_[i] > 0;
    }
    for (const BomLine& line : bom_)
        target[line.sub] += target[line.main] * line.kg;
    std::vector<double> value(n);
    for (size_t i = 0; i < n; ++i)
        value[i] = anySold ? target[i] * items_[i].rate : items_[i].popularity;
    // The square root spreads the rows: cheap items are bought now and then too.
    std::vector<double> rowWeights(n);
    for (size_t i = 0; i < n; ++i)
        rowWeights[i] = std::sqrt(value[i]);
    const std::vector<qint64> rowsPerItem = apportion(o_.purchases, rowWeights);

    std::vector<int> order;
    order.reserve(static_cast<size_t>(o_.purchases));
    for (size_t i = 0; i < n; ++i)
        order.insert(order.end(), static_cast<size_t>(rowsPerItem[i]), static_cast<int>(i));
    for (size_t k = order.size(); k > 1; --k)
        std::swap(order[k - 1], order[static_cast<size_t>(rng_.below(static_cast<int>(k)))]);
    std::vector<qint64> perDay(static_cast<size_t>(o_.days), 0);
    for (qint64 k = 0; k < o_.purchases; ++k)
        ++perDay[static_cast<size_t>(rng_.below(o_.days))];

    BulkInserter rows =
        inserter(QStringLiteral("ItemPurchases"),
                 {"Doc_dt", "Party_name", "item_name", "Qty", "unit", "Rate", "Net_amount"});
    size_t next = 0;
    for (int d = 0; d < o_.days; ++d) {
        const QDate day = firstDay_.addDays(d);
        for (qint64 k = 0; k < perDay[static_cast<size_t>(d)]; ++k) {
            const int i = order[next++];
            const Item& it = items_[static_cast<size_t>(i)];
            const double rate = shopRound(rateOn(it, day, lastDay_) * 0.88);
            const double mean = anySold                     ? target[i] / rowsPerItem[i]
                                : it.kind == QtyKind::Loose ? 500
                                                            : 20;
            double qty = mean * (0.8 + 0.4 * rng_.unit());
            qty = it.kind == QtyKind::Loose ? std::ceil(qty / 10) * 10 : std::ceil(qty);
            // A purchase amount must fit the column (numeric(9,2)).
            qty = std::max(1.0, std::min(qty, std::floor(9000000.0 / std::max(rate, 1.0))));
            const double amount = round2(qty * rate);
            purchaseValue_ += amount;
            const int vendor = rng_.chance(0.8) ? i % o_.vendors : rng_.below(o_.vendors);
            rows.add({QVariant(day), vendors_[vendor].name, it.name, qty, it.unit, rate, amount});
            if (static_cast<qint64>(next) % kProgressStep == 0)
                report(QStringLiteral("purchases"), static_cast<qint64>(next), o_.purchases);
        }
    }
    rows.finish();
    result_.purchases = static_cast<qint64>(next);
}

void Generator::writeVouchers() {
    if (o_.vouchers == 0)
        return;
    report(QStringLiteral("vouchers"), 0, o_.vouchers);
    enum Kind { PartyReceipt, PartyPayment, VendorPayment, HeadVoucher };
    const std::vector<double> kindWeights = {
        parties_.empty() ? 0.0 : 0.55, parties_.empty() ? 0.0 : 0.05, vendors_.empty() ? 0.0 : 0.20,
        heads_.empty() ? 0.0 : 0.20};
    const WeightedPick kindPick(kindWeights);
    std::vector<double> partyWeights;
    for (const Party& p : parties_)
        partyWeights.push_back(p.weight);
    const WeightedPick partyPick(partyWeights);

    std::vector<qint64> perDay(static_cast<size_t>(o_.days), 0);
    for (qint64 k = 0; k < o_.vouchers; ++k)
        ++perDay[static_cast<size_t>(rng_.below(o_.days))];
    // Vendors are paid roughly what the shop bought from them.
    const double expectedVendorVouchers =
        std::max(1.0, static_cast<double>(o_.vouchers) * kindWeights[VendorPayment] /
                          (kindWeights[0] + kindWeights[1] + kindWeights[2] + kindWeights[3]));
    const double vendorMean =
        purchaseValue_ > 0 ? purchaseValue_ * 0.95 / expectedVendorVouchers : 20000;

    const QLocale c = QLocale::c();
    const QString na = QStringLiteral("NA");
    BulkInserter rows =
        inserter(QStringLiteral("daybook"),
                 {"Dt", "AccountHead", "V_Type", "Net_Amount", "Remark", "party_code", "Category"});
    qint64 written = 0;
    for (int d = 0; d < o_.days; ++d) {
        const QDate day = firstDay_.addDays(d);
        for (qint64 k = 0; k < perDay[static_cast<size_t>(d)]; ++k) {
            const int kind = kindPick(rng_);
            switch (kind) {
            case PartyReceipt:
            case PartyPayment: {
                // The day book and the card recharge both file a party's voucher
                // under "MilkMan", whatever the party's own category; the
                // balances and ledgers look for exactly that.
                const Party& p = parties_[partyPick(rng_)];
                const bool vlcc = p.category == QLatin1String("VLCC");
                const bool receipt = kind == PartyReceipt;
                QString remark;
                double amount;
                if (receipt) {
                    const double u = rng_.unit();
                    remark = u < 0.5    ? QStringLiteral("Card Recharge")
                             : u < 0.85 ? QStringLiteral("Cash Received")
                                        : QStringLiteral("Milk Payment Adjusted");
                    amount = vlcc ? rng_.between(20, 300) * 100 : rng_.between(2, 50) * 100;
                } else {
                    remark = rng_.chance(0.5) ? QStringLiteral("Cash Refund")
                                              : QStringLiteral("Advance Paid");
                    amount = rng_.between(1, 20) * 100;
                }
                rows.add({QVariant(day), p.name + QStringLiteral(" - ") + p.code,
                          receipt ? QStringLiteral("Cr") : QStringLiteral("Dr"), amount, remark,
                          p.code, QStringLiteral("MilkMan")});
                break;
            }
            case VendorPayment: {
                const Vendor& v =
                    vendors_[static_cast<size_t>(rng_.below(static_cast<int>(vendors_.size())))];
                const double amount =
                    std::max(100.0, std::round(vendorMean * (0.5 + rng_.unit()) / 100) * 100);
                rows.add({QVariant(day), v.code + QStringLiteral(" - ") + v.name,
                          QStringLiteral("Dr"), amount,
                          rng_.chance(0.6) ? QStringLiteral("Cheque No. ") + digits(rng_, 6)
                                           : QStringLiteral("Cash paid against bill"),
                          v.code, QStringLiteral("Vendor")});
                break;
            }
            case HeadVoucher: {
                const CatalogueHead& h =
                    heads_[static_cast<size_t>(rng_.below(static_cast<int>(heads_.size())))];
                const double amount = rng_.between(h.minAmount / 10, h.maxAmount / 10) * 10;
                QString remark = QString::fromLatin1(h.remark);
                if (remark.contains(QLatin1String("%1")))
                    remark = remark.arg(c.toString(day, QStringLiteral("MMMM yyyy")));
                rows.add({QVariant(day), QString::fromLatin1(h.head), QString::fromLatin1(h.vType),
                          amount, remark, na, QStringLiteral("AccountHead")});
                break;
            }
            }
            if (++written % kProgressStep == 0)
                report(QStringLiteral("vouchers"), written, o_.vouchers);
        }
    }
    rows.finish();
    result_.vouchers = written;
}

GenerateResult Generator::run() {
    validate();
    requireEmptyShop();
    const std::vector<int> sizes = billSizes();
    // Doc_No is five characters wide; PostgreSQL refuses a longer text.
    if (db_.engine() == core::Engine::Postgres && sizes.size() > 99999)
        throw std::invalid_argument(
            "More than 99999 bills do not fit the five-character bill number on PostgreSQL; "
            "ask for fewer sales.");

    // SQLite's default page cache (2 MB) keeps re-reading the index pages of a big
    // table; a larger one for the duration of the load, the old one afterwards.
    std::optional<qint64> cacheSize;
    if (db_.isSqlite() && o_.sales + o_.vouchers + o_.purchases > 20000) {
        cacheSize = db_.scalar(QStringLiteral("PRAGMA cache_size")).toLongLong();
        db_.exec(QStringLiteral("PRAGMA cache_size = -131072"));
    }
    struct RestoreCache {
        Database& db;
        const std::optional<qint64>& size;
        ~RestoreCache() {
            if (size)
                db.tryExec(QStringLiteral("PRAGMA cache_size = %1").arg(*size));
        }
    } restoreCache{db_, cacheSize};
    writer_.emplace(db_, o_.commitEvery);
    writeShopRecord();
    writeParties();
    writeItems();
    writeBom();
    writeVendors();
    writeAccountHeads();
    writeSales(sizes);
    writePurchases();
    writeVouchers();
    writer_->commit();
    writer_.reset();
    result_.firstDay = firstDay_;
    result_.lastDay = lastDay_;
    report(QStringLiteral("done"), 1, 1);
    return result_;
}

} // namespace

GenerateOptions GenerateOptions::demoShop(const QDate& today) {
    GenerateOptions o;
    o.lastDay = today;
    return o;
}

GenerateOptions GenerateOptions::benchmark(qint64 sales, const QDate& lastDay) {
    GenerateOptions o;
    o.sales = sales;
    // A busy shop: one party per fifty sale lines, a purchase per forty, a voucher per five.
    o.parties = static_cast<int>(std::clamp<qint64>(sales / 50, 20, 20000));
    o.items = 40;
    o.vendors = 8;
    o.accountHeads = maxAccountHeads();
    o.purchases = std::max<qint64>(sales / 40, 10);
    o.vouchers = std::max<qint64>(sales / 5, 10);
    o.days = 3 * 365;
    o.lastDay = lastDay;
    return o;
}

int maxItems() {
    return static_cast<int>(catalogueItems().size() * (itemBrands().size() + 1));
}

int maxVendors() {
    return static_cast<int>(catalogueVendors().size() +
                            villages().size() * std::size(kVendorSuffixes));
}

int maxAccountHeads() {
    return static_cast<int>(catalogueHeads().size());
}

GenerateResult generateShop(core::Database& db, const GenerateOptions& options,
                            const GenerateProgress& progress) {
    return Generator(db, options, progress).run();
}

} // namespace stokara::demo
