#include "stock_screens.h"

#include "core/idioms.h"
#include "core/session.h"
#include "reports/ledgers.h"
#include "reports/stock_reports.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace stokara::reports {

ItemStockScreen::ItemStockScreen(core::Session& session, Kind kind)
    : ReportCriteriaScreen(
          session,
          kind == Kind::Main ? QStringLiteral("FrmItemStock") : QStringLiteral("FrmSubItemStock"),
          kind == Kind::Main ? QStringLiteral("Item Stock") : QStringLiteral("Sub Item Stock")),
      kind_(kind) {
    text1_ = dateField(QStringLiteral("text1"));
    text2_ = dateField(QStringLiteral("text2"));
    dataList1_ = new QListWidget(this);
    dataList1_->setObjectName(QStringLiteral("DataList1"));
    dataList1_->addItems(kind == Kind::Main ? mainItems(*session.db) : subItems(*session.db));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("From Date"), this), 0, 0);
    grid->addWidget(text1_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("To Date"), this), 1, 0);
    grid->addWidget(text2_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Item Description"), this), 2, 0, 1, 2);
    grid->addWidget(dataList1_, 3, 0, 1, 2);
    finish({text1_, text2_, dataList1_});
    grid->addWidget(command1_, 4, 0);
    grid->addWidget(command2_, 4, 1);
}

std::optional<Report> ItemStockScreen::makeReport() {
    const QListWidgetItem* chosen = dataList1_->currentItem();
    const auto from = core::parseDate(text1_->text());
    const auto to = core::parseDate(text2_->text());
    if (!chosen || !chosen->isSelected() || chosen->text().isEmpty() || !from || !to) {
        notProper();
        return std::nullopt;
    }
    if (kind_ == Kind::Main)
        return itemStock(*session_.db, context(), chosen->text(), *from, *to);
    return subItemStock(*session_.db, context(), chosen->text(), *from, *to);
}

} // namespace stokara::reports
