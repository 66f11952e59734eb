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

std::optional<ReportCriteriaScreen::Period> ReportCriteriaScreen::period(const QLineEdit* from,
                                                                         const QLineEdit* to) {
    const auto first = core::parseDate(from->text());
    const auto last = core::parseDate(to->text());
    if (!first || !last) {
        notProper();
        return std::nullopt;
    }
    return Period{*first, *last};
}

QListWidget* ReportCriteriaScreen::entryList(const std::vector<ListEntry>& entries) {
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("DataList1"));
    for (const ListEntry& e : entries) {
        auto* item = new QListWidgetItem(e.shown, list);
        item->setData(Qt::UserRole, e.bound);
    }
    return list;
}

std::optional<ListEntry> ReportCriteriaScreen::chosenEntry(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    if (!item || !item->isSelected())
        return std::nullopt;
    return ListEntry{item->text(), item->data(Qt::UserRole).toString()};
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

DatedListScreen::DatedListScreen(core::Session& session, Setup setup)
    : ReportCriteriaScreen(session, setup.name, setup.caption), make_(std::move(setup.make)) {
    text1_ = dateField(QStringLiteral("text1"));
    text2_ = dateField(QStringLiteral("text2"));
    dataList1_ = entryList(setup.entries);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("From Date"), this), 0, 0);
    grid->addWidget(text1_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("To Date"), this), 1, 0);
    grid->addWidget(text2_, 1, 1);
    grid->addWidget(new QLabel(setup.listLabel, this), 2, 0, 1, 2);
    grid->addWidget(dataList1_, 3, 0, 1, 2);
    finish({text1_, text2_, dataList1_});
    grid->addWidget(command1_, 4, 0);
    grid->addWidget(command2_, 4, 1);
}

std::optional<Report> DatedListScreen::makeReport() {
    const std::optional<ListEntry> entry = chosenEntry(dataList1_);
    if (!entry || entry->shown.isEmpty()) {
        notProper();
        return std::nullopt;
    }
    const auto dates = period(text1_, text2_);
    if (!dates)
        return std::nullopt;
    return make_(*session_.db, context(), *entry, dates->from, dates->to);
}

DatedListScreen* partyLedgerScreen(core::Session& session) {
    return new DatedListScreen(
        session, {QStringLiteral("FrmPartyLedger"), QStringLiteral("Party Ledger"),
                  QStringLiteral("Party Description"), ledgerParties(*session.db),
                  [](core::Database& db, const ReportContext& context, const ListEntry& party,
                     const QDate& from, const QDate& to) {
                      return partyLedger(db, context, party.bound, party.shown, from, to);
                  }});
}

DatedListScreen* vendorLedgerScreen(core::Session& session) {
    return new DatedListScreen(session,
                               {QStringLiteral("FrmVendorLedger"), QStringLiteral("Vendor Ledger"),
                                QStringLiteral("Vendor Description"), ledgerVendors(*session.db),
                                [](core::Database& db, const ReportContext& context,
                                   const ListEntry& vendor, const QDate& from, const QDate& to) {
                                    return vendorLedger(db, context, vendor.bound, from, to);
                                }});
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
