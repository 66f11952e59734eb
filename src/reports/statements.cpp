#include "statements.h"

#include "books/accounts.h"
#include "books/amount_words.h"
#include "core/app_info.h"
#include "core/database.h"
#include "core/idioms.h"
#include "core/upi.h"
#include "scratch_tables.h"

#include <algorithm>

namespace stokara::reports {

namespace {

const QString kPurchasesLayout = QStringLiteral("RepItemPurchases.xml");
const QString kSummaryLayout = QStringLiteral("RepItemSaleSummary.xml");
const QString kDayBookLayout = QStringLiteral("RepDayBook.xml");
const QString kPeriodicBillFile = QStringLiteral("rptvorlk_bill.rpt");
const QString kInvoiceBillFile = QStringLiteral("RptVorlk_Bill1.rpt");
const QString kDateCaption = QStringLiteral("dd/mm/yy");
const QString kTotalFormat = QStringLiteral(".00");
const QString kSummaryTitle = QStringLiteral("Item Sale Statement Summary");
const QString kWordsCaption = QStringLiteral("Amount in Words: ");

// The page header every statement shares: company, title, dates.
void statementHeader(Report& report, const QString& company, const QString& title,
                     const QDate& from, const QDate& to) {
    const QString a = QStringLiteral("a");
    report.setCaption(a, QStringLiteral("LABEL34"), company);
    if (!title.isEmpty())
        report.setCaption(a, QStringLiteral("LABEL32"), title);
    report.setCaption(a, QStringLiteral("LABEL7"), formatValue(from, kDateCaption));
    report.setCaption(a, QStringLiteral("LABEL8"), formatValue(to, kDateCaption));
}

// The totals are those of the rows shown, so a footer always adds up its column.
StatementTotals statementTotals(Report& report) {
    StatementTotals t;
    for (const core::Row& row : report.rows()) {
        t.qty += row.number(QStringLiteral("Qty"));
        t.amount += row.number(QStringLiteral("net_amt"));
    }
    const QString c = QStringLiteral("c");
    report.setCaption(c, QStringLiteral("LABEL46"), formatValue(t.qty, kTotalFormat));
    report.setCaption(c, QStringLiteral("LABEL47"), formatValue(t.amount, kTotalFormat));
    return t;
}

// The payment link of a due to the shop; empty when the shop has no UPI ID or
// nothing is due.
QString upiLink(const core::ShopInfo& shop, double due, const QString& note) {
    return core::upiPaymentLink(shop.upiId, shop.upiPayee.isEmpty() ? shop.name : shop.upiPayee,
                                due, note);
}

void shopFormulas(Report& report, const ReportContext& context, const core::ShopInfo& shop) {
    report.setFormula(QStringLiteral("dairyname"), context.shopName);
    report.setFormula(QStringLiteral("mobileno"), shop.mobile);
    report.setFormula(QStringLiteral("address"), shop.address);
    report.setFormula(QStringLiteral("city"), shop.city);
    report.setFormula(QStringLiteral("mgstno"), shop.tinNo);
    report.setFormula(QStringLiteral("creditline"), core::creditLine());
}

} // namespace

StatementMode statementMode(const QString& statementKind) {
    return statementKind == QLatin1String("itempurchase") ? StatementMode::Purchase
                                                          : StatementMode::Sale;
}

std::vector<ListEntry> statementItems(core::Database& db) {
    return listEntries(db.query(
        QStringLiteral("select item_name as itemname, item_name from masitem order by item_name")));
}

namespace {

// The accounts a statement can be limited to: "code - name" and the code.
QString accountList(StatementMode mode) {
    return mode == StatementMode::Purchase
               ? QStringLiteral("select coalesce(party_code, '') || ' - ' || "
                                "coalesce(party_name, ''), party_code from masvendor")
               : QStringLiteral("select coalesce(party_code, '') || ' - ' || "
                                "coalesce(party_name, ''), party_code from masparty");
}

const char* const kAccountOrder = " order by val(party_code), party_code";

} // namespace

std::vector<ListEntry> statementAccounts(core::Database& db, StatementMode mode) {
    return listEntries(db.query(accountList(mode) + QLatin1String(kAccountOrder)));
}

std::optional<ListEntry> findStatementAccount(core::Database& db, StatementMode mode,
                                              const QString& codeOrName) {
    for (const char* by : {" where party_code = ?", " where party_name = ?"}) {
        const auto rows = db.query(
            accountList(mode) + QLatin1String(by) + QLatin1String(kAccountOrder), {codeOrName});
        if (!rows.empty())
            return ListEntry{rows.front().text(0), rows.front().text(1)};
    }
    return std::nullopt;
}

std::vector<ListEntry> dayBookNames(core::Database& db) {
    return listEntries(db.query(QStringLiteral(
        "select accounthead as Party, accounthead as party_name from accounthead union all "
        "select coalesce(party_name, '') || ' - ' || coalesce(party_code, '') as Party, "
        "coalesce(party_name, '') || ' - ' || coalesce(party_code, '') from masparty order by "
        "1")));
}

std::vector<ListEntry> billParties(core::Database& db) {
    return listEntries(db.query(QStringLiteral(
        "select party_name, party_code from masparty order by party_name, party_code")));
}

std::optional<Report> itemStatement(core::Database& db, const ReportContext& context,
                                    const QString& company, StatementMode mode, const QDate& from,
                                    const QDate& to, const QString& item, const QString& account,
                                    StatementTotals* totals) {
    Report report(loadLayout(kPurchasesLayout, context.folders));
    const bool purchase = mode == StatementMode::Purchase;
    // A sale stored with a time of day on `to` is still of that day.
    QString condition = QStringLiteral(" and i.doc_dt >= ? and i.doc_dt < ?");
    QVariantList values{from, to.addDays(1)};
    if (!item.isEmpty()) {
        condition += QStringLiteral(" and i.item_name = ?");
        values << item;
    }
    if (!account.isEmpty()) {
        condition += purchase ? QStringLiteral(" and m.party_code = ?")
                              : QStringLiteral(" and i.party_code = ?");
        values << account;
    }
    const QString sql =
        purchase ? QStringLiteral("select i.doc_dt, '' as party_code, i.party_name as Party_name, "
                                  "i.item_name, i.qty as Qty, i.rate, i.net_amount as net_amt, "
                                  "i.unit from ItemPurchases i, masvendor m where "
                                  "i.party_name = m.party_name")
                 : QStringLiteral("select i.doc_dt, i.party_code, m.party_name as Party_name, "
                                  "i.item_name, i.qty as Qty, i.rate, i.net_amt, i.unit "
                                  "from Itemsale i, masparty m where i.party_code = m.party_code");
    report.setData(db.query(
        sql + condition + QStringLiteral(" order by i.doc_dt, i.item_name, i.auto_no"), values));
    if (report.rows().empty())
        return std::nullopt;
    statementHeader(report, company,
                    purchase ? QStringLiteral("Item Purchase Statement")
                             : QStringLiteral("Item Sale Statement"),
                    from, to);
    const QString d = QStringLiteral("d");
    const std::pair<const char*, const char*> fields[] = {{"txtdoc_dt", "doc_dt"},
                                                          {"txtpartycode", "party_code"},
                                                          {"txtpartyname", "Party_name"},
                                                          {"txtitemname", "item_name"},
                                                          {"txtqty", "Qty"},
                                                          {"txtrate", "rate"},
                                                          {"txtamount", "net_amt"},
                                                          {"txtunit", "unit"}};
    for (const auto& [control, column] : fields)
        report.setDataField(d, QString::fromLatin1(control), QString::fromLatin1(column));
    const StatementTotals t = statementTotals(report);
    if (totals)
        *totals = t;
    return report;
}

std::optional<Report> itemSaleSummary(core::Database& db, const ReportContext& context,
                                      const QString& company, const QDate& from, const QDate& to,
                                      StatementTotals* totals) {
    Report report(loadLayout(kSummaryLayout, context.folders));
    report.setData(db.query(
        QStringLiteral("select item_name, sum(qty) as Qty, sum(net_amt) as net_amt from Itemsale "
                       "where doc_dt >= ? and doc_dt < ? group by item_name order by item_name"),
        {from, to.addDays(1)}));
    if (report.rows().empty())
        return std::nullopt;
    // Sale figures whichever statement was opened last.
    statementHeader(report, company, kSummaryTitle, from, to);
    const QString d = QStringLiteral("d");
    report.setDataField(d, QStringLiteral("txtitemname"), QStringLiteral("item_name"));
    report.setDataField(d, QStringLiteral("txtqty"), QStringLiteral("Qty"));
    report.setDataField(d, QStringLiteral("txtamount"), QStringLiteral("net_amt"));
    const StatementTotals t = statementTotals(report);
    if (totals)
        *totals = t;
    return report;
}

std::optional<books::Account> dayBookAccount(core::Database& db, const QString& chosen) {
    if (chosen.isEmpty())
        return std::nullopt;
    if (!db.query(QStringLiteral("select 1 from accounthead where accounthead = ?"), {chosen})
             .empty())
        return books::Account::head(chosen);
    // A party as the list shows it, or by its name alone.
    for (const char* by :
         {"coalesce(party_name, '') || ' - ' || coalesce(party_code, '')", "party_name"}) {
        const core::Rows rows = db.query(
            QStringLiteral("select party_code, party_name from masparty where ") +
                QLatin1String(by) + QStringLiteral(" = ? order by val(party_code), party_code"),
            {chosen});
        if (!rows.empty())
            return books::Account::party(rows.front().text(0), rows.front().text(1));
    }
    // A head since taken out of the master: its vouchers still carry its name.
    return books::Account::head(chosen);
}

namespace {

// An account's entries as the day book statement lists them: sales under the
// debit column as "ISale", payments made under the debit column by their
// account, receipts under the credit column as "Payment".
core::Rows dayBookLines(const std::vector<books::Posting>& postings) {
    core::Rows rows;
    rows.columns = QStringList{QStringLiteral("dt"),     QStringLiteral("accounthead"),
                               QStringLiteral("v_type"), QStringLiteral("dramt"),
                               QStringLiteral("cramt"),  QStringLiteral("remark")};
    auto names = std::make_shared<const QStringList>(rows.columns);
    for (const books::Posting& p : postings) {
        if (p.source != books::Source::Voucher)
            rows.push_back(core::Row(names, {p.date, p.item, QStringLiteral("Cr."), p.debit, 0,
                                             QStringLiteral("ISale")}));
        else if (p.voucherType == QLatin1String("Dr"))
            rows.push_back(core::Row(
                names, {p.date, p.accountHead, p.voucherType, p.debit, QVariant(), p.remark}));
        else
            rows.push_back(core::Row(names, {p.date, QStringLiteral("Payment"), p.voucherType,
                                             QVariant(), p.credit, p.remark}));
    }
    // By date, type, account and remark, the same on both engines.
    std::stable_sort(rows.begin(), rows.end(), [](const core::Row& a, const core::Row& b) {
        if (a.date(0) != b.date(0))
            return a.date(0) < b.date(0);
        for (int c : {2, 1, 5})
            if (const int order = QString::compare(a.text(c), b.text(c)); order != 0)
                return order < 0;
        return false;
    });
    return rows;
}

} // namespace

std::optional<Report> dayBookStatement(core::Database& db, const ReportContext& context,
                                       const QDate& from, const QDate& to, const QString& name,
                                       DayBookTotals* totals) {
    Report report(loadLayout(kDayBookLayout, context.folders));
    const std::optional<books::Account> account = dayBookAccount(db, name);
    if (account) {
        report.setData(dayBookLines(books::postings(db, *account, from, to)));
    } else {
        // The whole day book of the period.
        const QDate after = to.addDays(1);
        report.setData(db.query(
            QStringLiteral("select dt, accounthead, v_type, dramt, cramt, remark from (select dt, "
                           "accounthead, v_type, net_amount as dramt, null as cramt, remark from "
                           "daybook where substr(v_type, 1, 1) = 'D' and dt >= ? and dt < ? union "
                           "all select dt, 'Payment', v_type, null, net_amount, remark from "
                           "daybook where substr(v_type, 1, 1) = 'C' and dt >= ? and dt < ?) a "
                           "order by dt, v_type, accounthead, remark, dramt, cramt"),
            {from, after, from, after}));
    }
    if (report.rows().empty())
        return std::nullopt;
    DayBookTotals t;
    for (const core::Row& row : report.rows()) {
        t.debit += row.number(QStringLiteral("dramt"));
        t.credit += row.number(QStringLiteral("cramt"));
    }
    t.net = core::round2(t.debit - t.credit);
    const QString a = QStringLiteral("section2");
    report.setCaption(a, QStringLiteral("LABEL100"), QStringLiteral("Day Book Statement"));
    report.setCaption(a, QStringLiteral("LABEL7"), formatValue(from, kDateCaption));
    report.setCaption(a, QStringLiteral("LABEL29"), formatValue(to, kDateCaption));
    report.setCaption(a, QStringLiteral("LBLpartyname"), QStringLiteral("Name: ") + name);
    const QString d = QStringLiteral("SECTION1");
    const std::pair<const char*, const char*> fields[] = {{"txtdoc_dt", "dt"},
                                                          {"txthead", "accounthead"},
                                                          {"txtdramt", "dramt"},
                                                          {"txtcramt", "cramt"},
                                                          {"txtremark", "remark"}};
    for (const auto& [control, column] : fields)
        report.setDataField(d, QString::fromLatin1(control), QString::fromLatin1(column));
    const QString c = QStringLiteral("SECTION5");
    report.setCaption(c, QStringLiteral("LABEL26"), formatValue(t.debit, kTotalFormat));
    report.setCaption(c, QStringLiteral("LABEL4"), formatValue(t.credit, kTotalFormat));
    report.setCaption(c, QStringLiteral("LABEL12"), books::sideText(t.net));
    if (totals)
        *totals = t;
    return report;
}

QString amountInWords(double total) {
    return kWordsCaption + books::rupeeWords(total);
}

QString balanceInWords(double drMinusCr) {
    return kWordsCaption + books::balanceWords(drMinusCr);
}

std::optional<Report> partyBill(core::Database& db, const ReportContext& context,
                                const core::ShopInfo& shop, const QDate& from, const QDate& to,
                                const QString& partyCode) {
    // Read the file first: a missing one ends the run before any statement.
    Report report(loadLayout(kPeriodicBillFile, context.folders));
    prepareScratchTables(db);
    core::Transaction t(db);
    emptyBillTables(db);
    // The period's lines (receipts negated) and each party's opening, from the
    // books; a party named once by its code.
    const QString named = QStringLiteral(" inner join (select party_code, min(party_name) as "
                                         "party_name from masparty group by party_code) p on "
                                         "p.party_code = e.party_code");
    const books::Query lines = books::partyEntries(from, to, partyCode);
    db.exec(QStringLiteral("insert into repdaybook (party_name, doc_dt, party_code, item_name, "
                           "qty, net_amt, sn, autono) select p.party_name, e.doc_dt, "
                           "e.party_code, e.item_name, e.qty, e.amount, e.sn, e.auto_no from (") +
                lines.sql + QStringLiteral(") e") + named,
            lines.values);
    const books::Query opening = books::partyBalancesBefore(from, partyCode);
    db.exec(QStringLiteral("insert into repdaybook1 (party_name, party_code, net_amt) select "
                           "p.party_name, e.party_code, coalesce(e.dr, 0) - coalesce(e.cr, 0) "
                           "from (") +
                opening.sql + QStringLiteral(") e") + named,
            opening.values);
    // Every party, with its opening where it has one: one join rather than an
    // update probing repdaybook1 once per party.
    db.exec(QStringLiteral("insert into repdaybook2 (party_name, party_code, net_amt) select "
                           "m.party_name, m.party_code, coalesce(r1.net_amt, 0) from masparty m "
                           "left join repdaybook1 r1 on r1.party_code = m.party_code"));
    shopFormulas(report, context, shop);
    report.setFormula(QStringLiteral("fromdate"), core::formatDate(from));
    report.setFormula(QStringLiteral("todate"), core::formatDate(to));
    report.fetch(db);
    t.commit();
    if (report.rows().empty())
        return std::nullopt;
    // Each party's closing balance is followed by the same amount in words, in
    // a column of its own that the layout runs across the line, and carries
    // the payment link of its due for the QR (the file reads both as empty; a
    // shop's own file without them gets them here).
    const core::Rows& fetched = report.rows();
    QStringList missing;
    for (const QString& column : {QStringLiteral("words"), QStringLiteral("upilink")})
        if (!fetched.columns.contains(column))
            missing << column;
    core::Rows rows;
    rows.columns = fetched.columns + missing;
    const int wordsColumn = rows.columns.indexOf(QStringLiteral("words"));
    const int linkColumn = rows.columns.indexOf(QStringLiteral("upilink"));
    auto names = std::make_shared<const QStringList>(rows.columns);
    const int code = fetched.columns.indexOf(QStringLiteral("party_code"));
    const int name = fetched.columns.indexOf(QStringLiteral("party_name"));
    const int sn = fetched.columns.indexOf(QStringLiteral("sn"));
    const int amount = fetched.columns.indexOf(QStringLiteral("net_amt"));
    const QString note =
        QStringLiteral("Bill %1 to %2").arg(core::formatDate(from), core::formatDate(to));
    const bool upi = !shop.upiId.isEmpty();
    rows.reserve(fetched.size() * 3 / 2);
    for (const core::Row& row : fetched) {
        const bool closing = row.number(sn) == 3;
        if (missing.isEmpty() && !(closing && upi)) {
            rows.push_back(row);
        } else {
            QVariantList values = row.values();
            while (values.size() < rows.columns.size())
                values.append(QVariant());
            if (closing)
                values[linkColumn] = upiLink(shop, row.number(amount), note);
            rows.push_back(core::Row(names, std::move(values)));
        }
        if (!closing)
            continue;
        QVariantList words(rows.columns.size());
        words[code] = row.at(code);
        words[name] = row.at(name);
        words[sn] = 4;
        words[wordsColumn] = balanceInWords(row.number(amount));
        rows.push_back(core::Row(names, std::move(words)));
    }
    report.setData(std::move(rows));
    return report;
}

std::optional<Report> partyBillInvoice(core::Database& db, const ReportContext& context,
                                       const core::ShopInfo& shop, const QString& partyCode,
                                       const QString& billNo) {
    Report report(loadLayout(kInvoiceBillFile, context.folders));
    const core::Rows party = db.query(
        QStringLiteral("select party_name, ph, add1, city from masparty where party_code = ?"),
        {partyCode});
    prepareScratchTables(db);
    core::Transaction t(db);
    emptyBillTables(db);
    db.exec(QStringLiteral("insert into repdaybook (party_name, doc_dt, party_code, item_name, "
                           "qty, net_amt, doc_no, rate, autono) select p.party_name, i.doc_dt, "
                           "i.party_code, i.item_name, i.qty, i.net_amt, i.doc_no, i.rate, "
                           "i.auto_no from itemsale i, masparty p where p.party_code = "
                           "i.party_code and i.party_code = ? and i.doc_no = ?"),
            {partyCode, billNo});
    const QVariant total = db.scalar(QStringLiteral("select sum(net_amt) from repdaybook"));
    // The lines go into the other two tables too: a shop's own bill file may read them there.
    db.exec(QStringLiteral("insert into repdaybook1 (party_name, doc_dt, party_code, item_name, "
                           "qty, net_amt, doc_no, rate, autono) select party_name, doc_dt, "
                           "party_code, item_name, qty, net_amt, doc_no, rate, autono from "
                           "repdaybook"));
    db.exec(QStringLiteral("insert into repdaybook2 (party_name, doc_dt, party_code, item_name, "
                           "qty, net_amt, doc_no, rate, autono) select party_name, doc_dt, "
                           "party_code, item_name, qty, net_amt, doc_no, rate, autono from "
                           "repdaybook"));
    shopFormulas(report, context, shop);
    const core::Row* p = party.empty() ? nullptr : &party.front();
    report.setFormula(QStringLiteral("partycode"), partyCode);
    report.setFormula(QStringLiteral("partyname"), p ? p->text(0) : QString());
    report.setFormula(QStringLiteral("partymobile"), p ? p->text(1) : QString());
    report.setFormula(QStringLiteral("partyaddress"), p ? p->text(2) : QString());
    report.setFormula(QStringLiteral("partycity"), p ? p->text(3) : QString());
    report.setFormula(QStringLiteral("amtinwords"),
                      total.isNull() ? QString() : amountInWords(total.toDouble()));
    report.setFormula(QStringLiteral("billtotal"), formatValue(total, QStringLiteral("0.00")));
    report.setFormula(QStringLiteral("upilink"),
                      upiLink(shop, total.toDouble(), QStringLiteral("Bill ") + billNo));
    report.fetch(db);
    t.commit();
    if (report.rows().empty())
        return std::nullopt;
    return report;
}

} // namespace stokara::reports
