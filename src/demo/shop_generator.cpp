#include "generator_parts.h"

namespace stokara::demo::detail {

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
    if (o_.firstBill < 1 || o_.firstBill > kMaxBillNo)
        refuse("The first bill number must be between 1 and 9999999999.");
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
    const int sideWidth =
        schema::ColumnWidths(db_).width(QStringLiteral("masparty"), QStringLiteral("baldrcr"));
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

GenerateResult Generator::run() {
    validate();
    requireEmptyShop();
    const std::vector<int> sizes = billSizes();
    // Doc_No is ten characters wide; PostgreSQL refuses a longer text.
    if (o_.firstBill - 1 + qint64(sizes.size()) > kMaxBillNo)
        throw std::invalid_argument("The bill numbers would not fit the ten-character Doc_No.");

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

} // namespace stokara::demo::detail

namespace stokara::demo {

using namespace detail;

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
