#pragma once

#include "core_ui/entry_screen.h"
#include "reports/engine/report.h"
#include "reports/ledgers.h"
#include "reports/ui/preview_window.h"

#include <QDate>
#include <QPointer>

#include <functional>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace stokara::reports {

struct ReportContext;

// What every report criteria screen shares: OK runs the report under the
// hourglass and shows its preview; Cancel closes the screen.
class ReportCriteriaScreen : public core_ui::EntryScreen {
    Q_OBJECT
public:
    // The preview of the last report run from this screen (null when none is open).
    PreviewWindow* preview() const { return preview_; }
    void ok();

protected:
    ReportCriteriaScreen(core::Session& session, const QString& objectName, const QString& caption);
    // Builds the buttons, the Enter order (fields, then OK) and finishes the setup.
    void finish(const QList<QWidget*>& fields);
    QLineEdit* dateField(const QString& name);
    ReportContext context() const;
    // The report for the fields as they are; std::nullopt after telling the
    // operator the input is not proper.
    virtual std::optional<Report> makeReport() = 0;
    // Tells the operator "Enter proper information for report."
    void notProper();
    // The dates of two fields; nothing, the operator told, when either is not a date.
    struct Period {
        QDate from, to;
    };
    std::optional<Period> period(const QLineEdit* from, const QLineEdit* to);
    // DataList1: one line per entry, bound to its value.
    QListWidget* entryList(const std::vector<ListEntry>& entries);
    // The entry chosen in such a list; nothing when none is.
    static std::optional<ListEntry> chosenEntry(const QListWidget* list);

    QString caption_;
    // How a failure of OK is reported (the day book statement logs it).
    core::ErrorKind errorKind_ = core::ErrorKind::Show;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;

private:
    QPointer<PreviewWindow> preview_;
};

// One entry of a list over two dates: FrmPartyLedger, FrmVendorLedger,
// FrmItemStock and FrmSubItemStock.
class DatedListScreen : public ReportCriteriaScreen {
    Q_OBJECT
public:
    using MakeReport =
        std::function<Report(core::Database&, const ReportContext&, const ListEntry& chosen,
                             const QDate& from, const QDate& to)>;
    struct Setup {
        QString name;
        QString caption;
        QString listLabel;
        std::vector<ListEntry> entries;
        MakeReport make;
    };
    DatedListScreen(core::Session& session, Setup setup);

protected:
    std::optional<Report> makeReport() override;

private:
    MakeReport make_;
    QLineEdit* text1_;
    QLineEdit* text2_;
    QListWidget* dataList1_;
};

DatedListScreen* partyLedgerScreen(core::Session& session);
DatedListScreen* vendorLedgerScreen(core::Session& session);

// FrmLedger (every account's balance) and FrmItemLedgerConsolidate (every
// item's stock): one date, "As on Date", and the report made for it.
class AsOnDateScreen : public ReportCriteriaScreen {
    Q_OBJECT
public:
    using MakeReport =
        std::function<Report(core::Database&, const ReportContext&, const QDate& asOn)>;
    AsOnDateScreen(core::Session& session, const QString& name, const QString& caption,
                   MakeReport make);

protected:
    std::optional<Report> makeReport() override;

private:
    MakeReport make_;
    QLineEdit* text1_;
};

} // namespace stokara::reports
