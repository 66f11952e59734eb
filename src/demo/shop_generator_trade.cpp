// Sales, purchases and vouchers of the generated shop.
#include "generator_parts.h"

namespace stokara::demo::detail {

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
            const QString billNo = QString::number(o_.firstBill + bill++);
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

} // namespace stokara::demo::detail
