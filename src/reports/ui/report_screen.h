#pragma once

#include "core/navigator.h"
#include "core_ui/entry_screen.h"
#include "reports/report_table.h"
#include "reports/ui/preview_window.h"

#include <QPointer>

#include <vector>

class QLineEdit;
class QListWidget;
class QComboBox;
class QPushButton;

namespace stokara::reports {

// The criteria screen of any report of the table: its dates, lists and typed
// fields in the table's order, then "&OK" (Command1), which checks them, makes
// the report under the hourglass and shows its preview, and "&Cancel"
// (Command2). The invoice bill's screen is also filled by the sale screen's F7.
class ReportScreen : public core_ui::EntryScreen, public core::InvoiceBillTarget {
    Q_OBJECT
public:
    ReportScreen(core::Session& session, const ReportEntry& report);
    // The preview of the last report run from this screen (null when none is open).
    PreviewWindow* preview() const { return preview_; }
    void ok();
    // Fills the date, the bill number and the party, and puts the focus on OK.
    void showBill(const core::InvoiceBillRequest& request) override;

private:
    // One control of the table's fields.
    struct Control {
        const Field* field;
        QLineEdit* line = nullptr;
        QListWidget* list = nullptr;
        QComboBox* dropDown = nullptr;
    };
    // The fields as inputs; nothing, the operator told, when they are not proper.
    std::optional<Inputs> inputs();
    std::optional<ListEntry> chosen(const Control& c) const;

    const ReportEntry& report_;
    std::vector<Control> controls_;
    QPushButton* okButton_ = nullptr;
    QPointer<PreviewWindow> preview_;
};

// The criteria screen of a report by its screen name; the statement screen's
// report follows the session's statement kind. Null for a name of no report.
ReportScreen* reportScreen(core::Session& session, const QString& screen);

} // namespace stokara::reports
