#include "statement_screens.h"

#include "core/dialogs.h"
#include "core/idioms.h"
#include "core/session.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace stokara::reports {

namespace {

// A list with its first entry empty: nothing chosen.
QComboBox* optionalList(QWidget* parent, const QString& name,
                        const std::vector<ListEntry>& entries) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItem(QString(), QString());
    for (const ListEntry& e : entries)
        list->addItem(e.shown, e.bound);
    return list;
}

// Label and field pairs, one per row, then the buttons.
QGridLayout* criteriaGrid(QWidget* screen, const QList<std::pair<QString, QWidget*>>& rows) {
    auto* grid = new QGridLayout(screen);
    int r = 0;
    for (const auto& [label, field] : rows) {
        grid->addWidget(new QLabel(label, screen), r, 0);
        grid->addWidget(field, r++, 1);
    }
    return grid;
}

void addButtons(QGridLayout* grid, QPushButton* ok, QPushButton* cancel) {
    const int row = grid->rowCount();
    grid->addWidget(ok, row, 0);
    grid->addWidget(cancel, row, 1);
}

} // namespace

std::optional<Report> StatementScreen::orNoRecords(std::optional<Report> report) {
    if (!report)
        session_.dialogs->plain(kNoRecordsTitle, kNoRecords);
    return report;
}

ItemStatementScreen::ItemStatementScreen(core::Session& session)
    : StatementScreen(session, QStringLiteral("FrmItemSaleStatement"),
                      statementMode(session.statementKind) == StatementMode::Purchase
                          ? QStringLiteral("Item Purchase Statement")
                          : QStringLiteral("Item Sale Statement")),
      mode_(statementMode(session.statementKind)) {
    text1_ = dateField(QStringLiteral("text1"));
    text2_ = dateField(QStringLiteral("text2"));
    dc1_ = optionalList(this, QStringLiteral("Dc1"), statementItems(*session.db));
    txtFromCode_ =
        optionalList(this, QStringLiteral("TxtFromCode"), statementAccounts(*session.db, mode_));
    auto* grid = criteriaGrid(this, {{QStringLiteral("From Date"), text1_},
                                     {QStringLiteral("To Date"), text2_},
                                     {QStringLiteral("Item"), dc1_},
                                     {QStringLiteral("Code"), txtFromCode_}});
    finish({text1_, text2_, dc1_, txtFromCode_});
    addButtons(grid, command1_, command2_);
}

std::optional<Report> ItemStatementScreen::makeReport() {
    const auto dates = period(text1_, text2_);
    if (!dates)
        return std::nullopt;
    return orNoRecords(itemStatement(*session_.db, context(), session_.loginCompany, mode_,
                                     dates->from, dates->to, dc1_->currentData().toString(),
                                     txtFromCode_->currentData().toString()));
}

ItemSaleSummaryScreen::ItemSaleSummaryScreen(core::Session& session)
    : StatementScreen(session, QStringLiteral("FrmItemSaleSummary"),
                      statementTitle(session.statementKind).isEmpty()
                          ? QStringLiteral("Item Sale Statement Summary")
                          : statementTitle(session.statementKind)),
      kind_(session.statementKind) {
    text1_ = dateField(QStringLiteral("text1"));
    text2_ = dateField(QStringLiteral("text2"));
    auto* grid = criteriaGrid(
        this, {{QStringLiteral("From Date"), text1_}, {QStringLiteral("To Date"), text2_}});
    finish({text1_, text2_});
    addButtons(grid, command1_, command2_);
}

std::optional<Report> ItemSaleSummaryScreen::makeReport() {
    const auto dates = period(text1_, text2_);
    if (!dates)
        return std::nullopt;
    return orNoRecords(itemSaleSummary(*session_.db, context(), session_.loginCompany, kind_,
                                       dates->from, dates->to));
}

DatedStatementScreen::DatedStatementScreen(core::Session& session, Setup setup)
    : StatementScreen(session, setup.name, setup.caption), make_(std::move(setup.make)) {
    errorKind_ = setup.errors;
    text1_ = dateField(QStringLiteral("text1"));
    text2_ = dateField(QStringLiteral("text2"));
    dataList1_ = entryList(setup.entries);
    auto* grid = criteriaGrid(
        this,
        {{setup.labels[0], text1_}, {setup.labels[1], text2_}, {setup.labels[2], dataList1_}});
    finish({text1_, text2_, dataList1_});
    addButtons(grid, command1_, command2_);
}

std::optional<Report> DatedStatementScreen::makeReport() {
    const auto dates = period(text1_, text2_);
    if (!dates)
        return std::nullopt;
    const std::optional<ListEntry> entry = chosenEntry(dataList1_);
    return orNoRecords(make_(*session_.db, context(), session_.shop, dates->from, dates->to,
                             entry ? entry->bound : QString()));
}

DatedStatementScreen* dayBookStatementScreen(core::Session& session) {
    return new DatedStatementScreen(
        session,
        {QStringLiteral("FrmDayBokkReport"),
         QStringLiteral("Day Book Statement"),
         {QStringLiteral("From Date"), QStringLiteral("To Date"), QStringLiteral("Account Head")},
         dayBookNames(*session.db),
         core::ErrorKind::Log,
         [](core::Database& db, const ReportContext& context, const core::ShopInfo&,
            const QDate& from, const QDate& to,
            const QString& name) { return dayBookStatement(db, context, from, to, name); }});
}

DatedStatementScreen* partyBillScreen(core::Session& session) {
    return new DatedStatementScreen(
        session, {QStringLiteral("FrmBill_1"),
                  QStringLiteral("Party Bill "),
                  {QStringLiteral("Enter From Date "), QStringLiteral("Enter To Date "),
                   QStringLiteral("Party Description")},
                  billParties(*session.db),
                  core::ErrorKind::Show,
                  [](core::Database& db, const ReportContext& context, const core::ShopInfo& shop,
                     const QDate& from, const QDate& to, const QString& partyCode) {
                      return partyBill(db, context, shop, from, to, partyCode);
                  }});
}

InvoiceBillScreen::InvoiceBillScreen(core::Session& session)
    : StatementScreen(session, QStringLiteral("FrmBill_Invoicewise"),
                      QStringLiteral("Party Bill Invoice Wise")) {
    text1_ = dateField(QStringLiteral("text1"));
    txtBillNo_ = new QLineEdit(this);
    txtBillNo_->setObjectName(QStringLiteral("TxtBillNo"));
    dataList1_ = entryList(billParties(*session.db));
    auto* grid = criteriaGrid(this, {{QStringLiteral("Enter From Date "), text1_},
                                     {QStringLiteral("Enter Bill No.:"), txtBillNo_},
                                     {QStringLiteral("Party Description"), dataList1_}});
    finish({text1_, txtBillNo_, dataList1_});
    addButtons(grid, command1_, command2_);
}

void InvoiceBillScreen::showBill(const core::InvoiceBillRequest& request) {
    text1_->setText(core::formatDate(request.date));
    txtBillNo_->setText(request.billNo);
    dataList1_->clearSelection();
    for (int row = 0; row < dataList1_->count(); ++row)
        if (dataList1_->item(row)->data(Qt::UserRole).toString() == request.partyCode) {
            dataList1_->setCurrentRow(row);
            break;
        }
    flow().moveFocus(command1_);
}

std::optional<Report> InvoiceBillScreen::makeReport() {
    // The date is asked for but a bill is found by its party and number.
    if (!core::parseDate(text1_->text()) || txtBillNo_->text().trimmed().isEmpty()) {
        notProper();
        return std::nullopt;
    }
    const std::optional<ListEntry> party = chosenEntry(dataList1_);
    return orNoRecords(partyBillInvoice(*session_.db, context(), session_.shop,
                                        party ? party->bound : QString(),
                                        txtBillNo_->text().trimmed()));
}

} // namespace stokara::reports
