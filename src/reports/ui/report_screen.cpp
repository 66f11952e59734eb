#include "report_screen.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/idioms.h"
#include "core/session.h"
#include "core_ui/screen_support.h"
#include "reports/statements.h"

#include <QApplication>
#include <QComboBox>
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

bool isDate(Criterion c) {
    return c == Criterion::From || c == Criterion::To || c == Criterion::AsOn;
}

} // namespace

ReportScreen::ReportScreen(core::Session& session, const ReportEntry& report)
    : core_ui::EntryScreen(session, report.screen, report.caption, nullptr), report_(report) {
    auto* grid = new QGridLayout(this);
    QList<QWidget*> order;
    for (const Field& f : report.fields) {
        Control c{&f};
        QWidget* widget = nullptr;
        if (isDate(f.criterion)) {
            c.line = new QLineEdit(this);
            core_ui::setupDateField(c.line, session.clock->today());
            widget = c.line;
        } else if (f.criterion == Criterion::Bill) {
            c.line = new QLineEdit(this);
            widget = c.line;
        } else if (f.dropDown) {
            // Its first entry is empty: nothing chosen.
            c.dropDown = new QComboBox(this);
            c.dropDown->addItem(QString(), QString());
            for (const ListEntry& e : f.entries(*session.db))
                c.dropDown->addItem(e.shown, e.bound);
            widget = c.dropDown;
        } else {
            c.list = new QListWidget(this);
            for (const ListEntry& e : f.entries(*session.db)) {
                auto* item = new QListWidgetItem(e.shown, c.list);
                item->setData(Qt::UserRole, e.bound);
            }
            widget = c.list;
        }
        widget->setObjectName(f.name);
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(f.label, this), row, 0);
        grid->addWidget(widget, row, 1);
        order << widget;
        controls_.push_back(c);
    }
    okButton_ = new QPushButton(QStringLiteral("&OK"), this);
    okButton_->setObjectName(QStringLiteral("Command1"));
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    const int row = grid->rowCount();
    grid->addWidget(okButton_, row, 0);
    grid->addWidget(cancel, row, 1);
    for (QWidget* w : order)
        flow().add(w);
    flow().add(okButton_);
    connect(okButton_, &QPushButton::clicked, this, &ReportScreen::ok);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    finishSetup();
}

std::optional<ListEntry> ReportScreen::chosen(const Control& c) const {
    if (c.dropDown) {
        if (c.dropDown->currentIndex() <= 0)
            return std::nullopt;
        return ListEntry{c.dropDown->currentText(), c.dropDown->currentData().toString()};
    }
    const QListWidgetItem* item = c.list->currentItem();
    if (!item || !item->isSelected())
        return std::nullopt;
    return ListEntry{item->text(), item->data(Qt::UserRole).toString()};
}

std::optional<Inputs> ReportScreen::inputs() {
    Inputs in;
    bool proper = true;
    for (const Control& c : controls_) {
        const Field& f = *c.field;
        if (isDate(f.criterion)) {
            const auto d = core::parseDate(c.line->text());
            proper = proper && d.has_value();
            (f.criterion == Criterion::From ? in.from
             : f.criterion == Criterion::To ? in.to
                                            : in.asOn) = d.value_or(QDate());
        } else if (f.criterion == Criterion::Bill) {
            in.bill = c.line->text().trimmed();
            proper = proper && !(f.required && in.bill.isEmpty());
        } else {
            std::optional<ListEntry> e = chosen(c);
            if (e && e->shown.isEmpty())
                e.reset();
            proper = proper && !(f.required && !e);
            (f.criterion == Criterion::Item ? in.item : in.account) = e;
        }
    }
    if (!proper) {
        session_.dialogs->information(report_.caption, kEnterProperInformation);
        return std::nullopt;
    }
    return in;
}

void ReportScreen::ok() {
    run(report_.errors, QStringLiteral("Command1_Click"), [this] {
        const std::optional<Inputs> in = inputs();
        if (!in)
            return;
        std::optional<Report> made;
        {
            Hourglass wait;
            const RunContext context{{ReportFolders{session_.dataDir, {}}, session_.shop.name},
                                     session_.shop,
                                     session_.loginCompany};
            made = report_.run(*session_.db, context, *in);
        }
        if (!made) {
            if (report_.toldWhenEmpty)
                session_.dialogs->plain(kNoRecordsTitle, kNoRecords);
            return;
        }
        if (preview_)
            preview_->close(); // one preview per screen: the new run replaces it
        preview_ = showPreview(session_, std::move(*made), report_.caption, fileStem(report_, *in));
    });
}

void ReportScreen::showBill(const core::InvoiceBillRequest& request) {
    for (const Control& c : controls_) {
        if (c.field->criterion == Criterion::AsOn)
            c.line->setText(core::formatDate(request.date));
        else if (c.field->criterion == Criterion::Bill)
            c.line->setText(request.billNo);
        else if (c.list && c.field->criterion == Criterion::Account) {
            c.list->clearSelection();
            for (int row = 0; row < c.list->count(); ++row)
                if (c.list->item(row)->data(Qt::UserRole).toString() == request.partyCode) {
                    c.list->setCurrentRow(row);
                    break;
                }
        }
    }
    flow().moveFocus(okButton_);
}

ReportScreen* reportScreen(core::Session& session, const QString& screen) {
    const ReportEntry* report = reportByScreen(screen, session.statementKind);
    return report ? new ReportScreen(session, *report) : nullptr;
}

} // namespace stokara::reports
