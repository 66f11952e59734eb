#include "ledger_screens.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/idioms.h"
#include "core/session.h"
#include "core_ui/screen_support.h"
#include "preview_window.h"
#include "reports/ledgers.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace stokara::reports {

namespace {

// The hourglass for as long as a report is being made.
struct Hourglass {
    Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QApplication::restoreOverrideCursor(); }
};

} // namespace

ReportCriteriaScreen::ReportCriteriaScreen(core::Session& session, const QString& objectName,
                                           const QString& caption)
    : core_ui::EntryScreen(session, objectName, caption, nullptr), caption_(caption) {}

QLineEdit* ReportCriteriaScreen::dateField(const QString& name) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    core_ui::setupDateField(field, session_.clock->today());
    return field;
}

void ReportCriteriaScreen::finish(const QList<QWidget*>& fields) {
    command1_ = new QPushButton(QStringLiteral("&OK"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_ = new QPushButton(QStringLiteral("&Cancel"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    for (QWidget* field : fields)
        flow().add(field);
    flow().add(command1_);
    connect(command1_, &QPushButton::clicked, this, &ReportCriteriaScreen::ok);
    connect(command2_, &QPushButton::clicked, this, &QWidget::close);
    finishSetup();
}

ReportContext ReportCriteriaScreen::context() const {
    return {ReportFolders{session_.dataDir, {}}, session_.shop.name};
}

void ReportCriteriaScreen::notProper() {
    session_.dialogs->information(caption_, kEnterProperInformation);
}

void ReportCriteriaScreen::ok() {
    run(errorKind_, QStringLiteral("Command1_Click"), [this] {
        std::optional<Report> report;
        {
            Hourglass wait;
            report = makeReport();
        }
        if (!report)
            return;
        if (preview_)
            preview_->close(); // one preview per screen: the new run replaces it
        preview_ = showPreview(session_, std::move(*report), caption_);
    });
}

AccountLedgerScreen::AccountLedgerScreen(core::Session& session, Kind kind)
    : ReportCriteriaScreen(session,
                           kind == Kind::Party ? QStringLiteral("FrmPartyLedger")
                                               : QStringLiteral("FrmVendorLedger"),
                           kind == Kind::Party ? QStringLiteral("Party Ledger")
                                               : QStringLiteral("Vendor Ledger")),
      kind_(kind) {
    text1_ = dateField(QStringLiteral("text1"));
    text2_ = dateField(QStringLiteral("text2"));
    dataList1_ = new QListWidget(this);
    dataList1_->setObjectName(QStringLiteral("DataList1"));
    const auto entries =
        kind == Kind::Party ? ledgerParties(*session.db) : ledgerVendors(*session.db);
    for (const ListEntry& e : entries) {
        auto* item = new QListWidgetItem(e.shown, dataList1_);
        item->setData(Qt::UserRole, e.bound);
    }
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("From Date"), this), 0, 0);
    grid->addWidget(text1_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("To Date"), this), 1, 0);
    grid->addWidget(text2_, 1, 1);
    grid->addWidget(new QLabel(kind == Kind::Party ? QStringLiteral("Party Description")
                                                   : QStringLiteral("Vendor Description"),
                               this),
                    2, 0, 1, 2);
    grid->addWidget(dataList1_, 3, 0, 1, 2);
    finish({text1_, text2_, dataList1_});
    grid->addWidget(command1_, 4, 0);
    grid->addWidget(command2_, 4, 1);
}

std::optional<Report> AccountLedgerScreen::makeReport() {
    const QListWidgetItem* chosen = dataList1_->currentItem();
    const auto from = core::parseDate(text1_->text());
    const auto to = core::parseDate(text2_->text());
    if (!chosen || !chosen->isSelected() || chosen->text().isEmpty() || !from || !to) {
        notProper();
        return std::nullopt;
    }
    const QString bound = chosen->data(Qt::UserRole).toString();
    if (kind_ == Kind::Party)
        return partyLedger(*session_.db, context(), bound, chosen->text(), *from, *to);
    return vendorLedger(*session_.db, context(), bound, *from, *to);
}

AsOnDateScreen::AsOnDateScreen(core::Session& session, const QString& name, const QString& caption,
                               MakeReport make)
    : ReportCriteriaScreen(session, name, caption), make_(std::move(make)) {
    text1_ = dateField(QStringLiteral("text1"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("As on Date"), this), 0, 0);
    grid->addWidget(text1_, 0, 1);
    finish({text1_});
    grid->addWidget(command1_, 1, 0);
    grid->addWidget(command2_, 1, 1);
}

std::optional<Report> AsOnDateScreen::makeReport() {
    const auto asOn = core::parseDate(text1_->text());
    if (!asOn) {
        notProper();
        return std::nullopt;
    }
    return make_(*session_.db, context(), *asOn);
}

} // namespace stokara::reports
