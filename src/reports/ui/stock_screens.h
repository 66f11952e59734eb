#pragma once

#include "ledger_screens.h"

class QLineEdit;
class QListWidget;

namespace stokara::reports {

// FrmItemStock (main items) and FrmSubItemStock (sub-items): one item over two dates.
class ItemStockScreen : public ReportCriteriaScreen {
    Q_OBJECT
public:
    enum class Kind { Main, Sub };
    ItemStockScreen(core::Session& session, Kind kind);

protected:
    std::optional<Report> makeReport() override;

private:
    Kind kind_;
    QLineEdit* text1_;
    QLineEdit* text2_;
    QListWidget* dataList1_;
};

} // namespace stokara::reports
