#pragma once

#include "core/navigator.h"
#include "ledger_screens.h"
#include "reports/statements.h"

#include <array>

class QComboBox;

namespace stokara::reports {

// The statement and party bill screens: OK checks the fields, runs the report
// and shows its preview; an empty result is told, not shown.
class StatementScreen : public ReportCriteriaScreen {
    Q_OBJECT
protected:
    using ReportCriteriaScreen::ReportCriteriaScreen;
    // Tells the operator "Sorry! There is no any records." when there is no report.
    std::optional<Report> orNoRecords(std::optional<Report> report);
};

// FrmItemSaleStatement: sales (or, by the statement kind it opened with,
// purchases) of an optional item and party (vendor) over two dates.
class ItemStatementScreen : public StatementScreen {
    Q_OBJECT
public:
    explicit ItemStatementScreen(core::Session& session);

protected:
    std::optional<Report> makeReport() override;

private:
    StatementMode mode_;
    QLineEdit* text1_;
    QLineEdit* text2_;
    QComboBox* dc1_;
    QComboBox* txtFromCode_;
};

// FrmItemSaleSummary: quantity and amount sold per item over two dates.
class ItemSaleSummaryScreen : public StatementScreen {
    Q_OBJECT
public:
    explicit ItemSaleSummaryScreen(core::Session& session);

protected:
    std::optional<Report> makeReport() override;

private:
    QString kind_;
    QLineEdit* text1_;
    QLineEdit* text2_;
};

// Two dates and a list of which nothing need be chosen: FrmDayBokkReport (the
// day book of a head or party) and FrmBill_1 (the party bill of every party, or one).
class DatedStatementScreen : public StatementScreen {
    Q_OBJECT
public:
    using MakeReport = std::function<std::optional<Report>(core::Database&, const ReportContext&,
                                                           const core::ShopInfo&, const QDate& from,
                                                           const QDate& to, const QString& chosen)>;
    struct Setup {
        QString name;
        QString caption;
        std::array<QString, 3> labels; // the two dates', the list's
        std::vector<ListEntry> entries;
        core::ErrorKind errors = core::ErrorKind::Show;
        MakeReport make;
    };
    DatedStatementScreen(core::Session& session, Setup setup);

protected:
    std::optional<Report> makeReport() override;

private:
    MakeReport make_;
    QLineEdit* text1_;
    QLineEdit* text2_;
    QListWidget* dataList1_;
};

DatedStatementScreen* dayBookStatementScreen(core::Session& session);
DatedStatementScreen* partyBillScreen(core::Session& session);

// FrmBill_Invoicewise: one bill of a party by its number; the sale screen's F7
// opens it filled in.
class InvoiceBillScreen : public StatementScreen, public core::InvoiceBillTarget {
    Q_OBJECT
public:
    explicit InvoiceBillScreen(core::Session& session);
    // Fills the date, the bill number and the party, and puts the focus on OK.
    void showBill(const core::InvoiceBillRequest& request) override;

protected:
    std::optional<Report> makeReport() override;

private:
    QLineEdit* text1_;
    QLineEdit* txtBillNo_;
    QListWidget* dataList1_;
};

} // namespace stokara::reports
