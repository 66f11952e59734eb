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

QListWidget* partyList(QWidget* parent, const std::vector<ListEntry>& entries) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QStringLiteral("DataList1"));
    for (const ListEntry& e : entries) {
        auto* item = new QListWidgetItem(e.shown, list);
        item->setData(Qt::UserRole, e.bound);
    }
    return list;
}

// The chosen entry's bound value; "" when none is chosen.
QString chosen(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item->data(Qt::UserRole).toString() : QString();
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

core::ShopInfo StatementScreen::shop() const {
    return session_.shop;
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
    const auto from = core::parseDate(text1_->text());
    const auto to = core::parseDate(text2_->text());
    if (!from || !to) {
        notProper();
        return std::nullopt;
    }
    return orNoRecords(itemStatement(*session_.db, context(), session_.loginCompany, mode_, *from,
                                     *to, dc1_->currentData().toString(),
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
    const auto from = core::parseDate(text1_->text());
    const auto to = core::parseDate(text2_->text());
    if (!from || !to) {
        notProper();
        return std::nullopt;
    }
    return orNoRecords(
        itemSaleSummary(*session_.db, context(), session_.loginCompany, kind_, *from, *to));
}

DayBookStatementScreen::DayBookStatementScreen(core::Session& session)
    : StatementScreen(session, QStringLiteral("FrmDayBokkReport"),
                      QStringLiteral("Day Book Statement")) {
    errorKind_ = core::ErrorKind::Log;
    text1_ = dateField(QStringLiteral("text1"));
    text2_ = dateField(QStringLiteral("text2"));
    dataList1_ = partyList(this, dayBookNames(*session.db));
    auto* grid = criteriaGrid(this, {{QStringLiteral("From Date"), text1_},
                                     {QStringLiteral("To Date"), text2_},
                                     {QStringLiteral("Account Head"), dataList1_}});
    finish({text1_, text2_, dataList1_});
    addButtons(grid, command1_, command2_);
}

std::optional<Report> DayBookStatementScreen::makeReport() {
    const auto from = core::parseDate(text1_->text());
    const auto to = core::parseDate(text2_->text());
    if (!from || !to) {
        notProper();
        return std::nullopt;
    }
    return orNoRecords(dayBookStatement(*session_.db, context(), *from, *to, chosen(dataList1_)));
}

PartyBillScreen::PartyBillScreen(core::Session& session)
    : StatementScreen(session, QStringLiteral("FrmBill_1"), QStringLiteral("Party Bill ")) {
    text1_ = dateField(QStringLiteral("text1"));
    text2_ = dateField(QStringLiteral("text2"));
    dataList1_ = partyList(this, billParties(*session.db));
    auto* grid = criteriaGrid(this, {{QStringLiteral("Enter From Date "), text1_},
                                     {QStringLiteral("Enter To Date "), text2_},
                                     {QStringLiteral("Party Description"), dataList1_}});
    finish({text1_, text2_, dataList1_});
    addButtons(grid, command1_, command2_);
}

std::optional<Report> PartyBillScreen::makeReport() {
    const auto from = core::parseDate(text1_->text());
    const auto to = core::parseDate(text2_->text());
    if (!from || !to) {
        notProper();
        return std::nullopt;
    }
    return orNoRecords(partyBill(*session_.db, context(), shop(), *from, *to, chosen(dataList1_)));
}

InvoiceBillScreen::InvoiceBillScreen(core::Session& session)
    : StatementScreen(session, QStringLiteral("FrmBill_Invoicewise"),
                      QStringLiteral("Party Bill Invoice Wise")) {
    text1_ = dateField(QStringLiteral("text1"));
    txtBillNo_ = new QLineEdit(this);
    txtBillNo_->setObjectName(QStringLiteral("TxtBillNo"));
    dataList1_ = partyList(this, billParties(*session.db));
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
    return orNoRecords(partyBillInvoice(*session_.db, context(), shop(), chosen(dataList1_),
                                        txtBillNo_->text().trimmed()));
}

} // namespace stokara::reports
