#include "report_table.h"

#include "statements.h"
#include "stock_reports.h"

#include <algorithm>

namespace stokara::reports {

namespace {

using Entries = std::function<std::vector<ListEntry>(core::Database&)>;
using Find = std::function<std::optional<ListEntry>(core::Database&, const QString&)>;

Field date(Criterion c, const char* name, const char* label, const char* option) {
    return {c, QString::fromLatin1(name), QString::fromLatin1(label), QString::fromLatin1(option)};
}

Field period(Criterion c, const char* label) {
    return c == Criterion::From ? date(c, "text1", label, "from") : date(c, "text2", label, "to");
}

Field list(Criterion c, const char* name, const char* label, const char* option, bool required,
           Entries entries, Find find = {}) {
    Field f{c, QString::fromLatin1(name), QString::fromLatin1(label), QString::fromLatin1(option),
            required};
    f.entries = std::move(entries);
    f.find = std::move(find);
    return f;
}

Field dropDown(Criterion c, const char* name, const char* label, const char* option,
               Entries entries, Find find = {}) {
    Field f = list(c, name, label, option, false, std::move(entries), std::move(find));
    f.dropDown = true;
    return f;
}

std::vector<ListEntry> itemEntries(const QStringList& items) {
    std::vector<ListEntry> entries;
    for (const QString& item : items)
        entries.push_back({item, item});
    return entries;
}

QString bound(const std::optional<ListEntry>& entry) {
    return entry ? entry->bound : QString();
}

std::vector<ReportEntry> makeTable() {
    const Field from = period(Criterion::From, "From Date");
    const Field to = period(Criterion::To, "To Date");
    const Field billFrom = period(Criterion::From, "Enter From Date ");
    const Field billTo = period(Criterion::To, "Enter To Date ");
    const Field asOn = date(Criterion::AsOn, "text1", "As on Date", "date");
    const Field billParty = list(Criterion::Account, "DataList1", "Party Description", "party",
                                 false, billParties, findParty);
    auto statement = [&](StatementMode mode) {
        const bool purchase = mode == StatementMode::Purchase;
        ReportEntry r{purchase ? QStringLiteral("item-purchase-statement")
                               : QStringLiteral("item-sale-statement"),
                      QStringLiteral("FrmItemSaleStatement"),
                      purchase ? QStringLiteral("Item Purchase Statement")
                               : QStringLiteral("Item Sale Statement"),
                      {from, to, dropDown(Criterion::Item, "Dc1", "Item", "item", statementItems),
                       dropDown(
                           Criterion::Account, "TxtFromCode", "Code", purchase ? "vendor" : "party",
                           [mode](core::Database& db) { return statementAccounts(db, mode); },
                           [mode](core::Database& db, const QString& given) {
                               return findStatementAccount(db, mode, given);
                           })},
                      true};
        r.run = [mode](core::Database& db, const RunContext& c, const Inputs& in) {
            return itemStatement(db, c.report, c.company, mode, in.from, in.to, bound(in.item),
                                 bound(in.account));
        };
        return r;
    };

    std::vector<ReportEntry> table;
    ReportEntry r{QStringLiteral("party-ledger"),
                  QStringLiteral("FrmPartyLedger"),
                  QStringLiteral("Party Ledger"),
                  {from, to,
                   list(Criterion::Account, "DataList1", "Party Description", "party", true,
                        ledgerParties, findParty)}};
    r.run = [](core::Database& db, const RunContext& c, const Inputs& in) {
        return std::optional(
            partyLedger(db, c.report, in.account->bound, in.account->shown, in.from, in.to));
    };
    table.push_back(r);

    r = {QStringLiteral("vendor-ledger"),
         QStringLiteral("FrmVendorLedger"),
         QStringLiteral("Vendor Ledger"),
         {from, to,
          list(Criterion::Account, "DataList1", "Vendor Description", "vendor", true, ledgerVendors,
               findVendor)}};
    r.run = [](core::Database& db, const RunContext& c, const Inputs& in) {
        return std::optional(vendorLedger(db, c.report, in.account->bound, in.from, in.to));
    };
    table.push_back(r);

    r = {QStringLiteral("ledger-consolidate"),
         QStringLiteral("FrmLedger"),
         QStringLiteral("Ledger Consolidate"),
         {asOn}};
    r.run = [](core::Database& db, const RunContext& c, const Inputs& in) {
        return std::optional(ledgerConsolidate(db, c.report, in.asOn));
    };
    table.push_back(r);

    table.push_back(statement(StatementMode::Sale));
    table.push_back(statement(StatementMode::Purchase));

    r = {QStringLiteral("item-sale-summary"),
         QStringLiteral("FrmItemSaleSummary"),
         QStringLiteral("Item Sale Statement Summary"),
         {from, to},
         true};
    r.run = [](core::Database& db, const RunContext& c, const Inputs& in) {
        return itemSaleSummary(db, c.report, c.company, in.from, in.to);
    };
    table.push_back(r);

    r = {QStringLiteral("day-book-statement"),
         QStringLiteral("FrmDayBokkReport"),
         QStringLiteral("Day Book Statement"),
         {from, to,
          list(Criterion::Account, "DataList1", "Account Head", "name", false, dayBookNames,
               [](core::Database& db, const QString& given) -> std::optional<ListEntry> {
                   // As the list shows it, or a head or party by its name or code.
                   for (const ListEntry& e : dayBookNames(db))
                       if (e.bound == given || e.shown == given)
                           return e;
                   if (const auto party = findParty(db, given))
                       return ListEntry{party->shown + QStringLiteral(" - ") + party->bound,
                                        party->shown + QStringLiteral(" - ") + party->bound};
                   return std::nullopt;
               })},
         true,
         core::ErrorKind::Log};
    r.run = [](core::Database& db, const RunContext& c, const Inputs& in) {
        return dayBookStatement(db, c.report, in.from, in.to, bound(in.account));
    };
    table.push_back(r);

    r = {QStringLiteral("party-bill"),
         QStringLiteral("FrmBill_1"),
         QStringLiteral("Party Bill "),
         {billFrom, billTo, billParty},
         true};
    r.run = [](core::Database& db, const RunContext& c, const Inputs& in) {
        return partyBill(db, c.report, c.shop, in.from, in.to, bound(in.account));
    };
    table.push_back(r);

    // The date is asked for, but a bill is found by its party and number.
    Field bill{Criterion::Bill, QStringLiteral("TxtBillNo"), QStringLiteral("Enter Bill No.:"),
               QStringLiteral("bill")};
    r = {QStringLiteral("party-bill-invoice"),
         QStringLiteral("FrmBill_Invoicewise"),
         QStringLiteral("Party Bill Invoice Wise"),
         {date(Criterion::AsOn, "text1", "Enter From Date ", "date"), bill, billParty},
         true};
    r.run = [](core::Database& db, const RunContext& c, const Inputs& in) {
        return partyBillInvoice(db, c.report, c.shop, bound(in.account), in.bill);
    };
    table.push_back(r);

    r = {QStringLiteral("item-stock"),
         QStringLiteral("FrmItemStock"),
         QStringLiteral("Item Stock"),
         {from, to,
          list(Criterion::Item, "DataList1", "Item Description", "item", true,
               [](core::Database& db) { return itemEntries(mainItems(db)); })}};
    r.run = [](core::Database& db, const RunContext& c, const Inputs& in) {
        return std::optional(itemStock(db, c.report, in.item->shown, in.from, in.to));
    };
    table.push_back(r);

    r = {QStringLiteral("sub-item-stock"),
         QStringLiteral("FrmSubItemStock"),
         QStringLiteral("Sub Item Stock"),
         {from, to,
          list(Criterion::Item, "DataList1", "Item Description", "item", true,
               [](core::Database& db) { return itemEntries(subItems(db)); })}};
    r.run = [](core::Database& db, const RunContext& c, const Inputs& in) {
        return std::optional(subItemStock(db, c.report, in.item->shown, in.from, in.to));
    };
    table.push_back(r);

    r = {QStringLiteral("item-stock-consolidate"),
         QStringLiteral("FrmItemLedgerConsolidate"),
         QStringLiteral("Item Ledger Consolidate"),
         {asOn}};
    r.run = [](core::Database& db, const RunContext& c, const Inputs& in) {
        return std::optional(itemStockConsolidate(db, c.report, in.asOn));
    };
    table.push_back(r);
    return table;
}

QString placeholder(const Field& f) {
    switch (f.criterion) {
    case Criterion::From:
    case Criterion::To:
    case Criterion::AsOn:
        return QStringLiteral("DD/MM/YYYY");
    case Criterion::Bill:
        return QStringLiteral("NO");
    case Criterion::Account:
        return f.option == QLatin1String("party") ? QStringLiteral("CODE") : QStringLiteral("NAME");
    case Criterion::Item:
        return QStringLiteral("NAME");
    }
    return {};
}

} // namespace

const std::vector<ReportEntry>& reportTable() {
    static const std::vector<ReportEntry> table = makeTable();
    return table;
}

const ReportEntry* reportByCommand(const QString& command) {
    for (const ReportEntry& r : reportTable())
        if (r.command == command)
            return &r;
    return nullptr;
}

const ReportEntry* reportByScreen(const QString& screen, const QString& statementKind) {
    if (screen == QLatin1String("FrmItemSaleStatement"))
        return reportByCommand(statementMode(statementKind) == StatementMode::Purchase
                                   ? QStringLiteral("item-purchase-statement")
                                   : QStringLiteral("item-sale-statement"));
    for (const ReportEntry& r : reportTable())
        if (r.screen == screen)
            return &r;
    return nullptr;
}

QString usageLine(const ReportEntry& report) {
    QString line = report.command;
    for (const Field& f : report.fields) {
        const QString option = QStringLiteral("--") + f.option + QLatin1Char(' ') + placeholder(f);
        const bool optional = !f.required && f.criterion != Criterion::From &&
                              f.criterion != Criterion::To && f.criterion != Criterion::AsOn;
        line +=
            QLatin1Char(' ') + (optional ? QLatin1Char('[') + option + QLatin1Char(']') : option);
    }
    return line;
}

} // namespace stokara::reports

namespace stokara::reports {

QString fileStem(const ReportEntry& report, const Inputs& in) {
    QStringList parts{report.command};
    for (const Field& f : report.fields) {
        switch (f.criterion) {
        case Criterion::From:
            parts << in.from.toString(Qt::ISODate);
            break;
        case Criterion::To:
            parts << in.to.toString(Qt::ISODate);
            break;
        case Criterion::AsOn:
            parts << in.asOn.toString(Qt::ISODate);
            break;
        case Criterion::Account:
            if (in.account)
                parts << in.account->bound;
            break;
        case Criterion::Item:
            if (in.item)
                parts << in.item->bound;
            break;
        case Criterion::Bill:
            if (!in.bill.isEmpty())
                parts << in.bill;
            break;
        }
    }
    // Dates after the names, as a file list sorts best.
    std::stable_partition(parts.begin() + 1, parts.end(), [](const QString& p) {
        return !QDate::fromString(p, Qt::ISODate).isValid();
    });
    return parts.join(QLatin1Char('_'));
}

} // namespace stokara::reports
