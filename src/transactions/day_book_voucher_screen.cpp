#include "day_book_voucher_screen.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/idioms.h"
#include "core/session.h"
#include "core_ui/screen_support.h"
#include "core_ui/widgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>

namespace stokara::transactions {

QString plainNumber(double value) {
    return QString::number(value, 'g', 15);
}

void setGridWidths(QTableWidget* grid, const QList<int>& twips, int dateColumn) {
    int shown = 0;
    for (int c = 0; c < twips.size(); ++c) {
        int width = core_ui::twips(twips[c]);
        if (twips[c] > 0 && c == dateColumn)
            width = std::max(
                width, grid->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) + 12);
        grid->setColumnWidth(c, width);
        grid->setColumnHidden(c, twips[c] == 0);
        if (twips[c] > 0)
            shown += width;
    }
    grid->setMinimumWidth(shown + 2 * grid->frameWidth() +
                          grid->verticalScrollBar()->sizeHint().width());
}

VoucherScreenBase::VoucherScreenBase(core::Session& session, const QString& objectName,
                                     const QString& caption, QWidget* parent)
    : core_ui::EntryScreen(session, objectName, caption, parent), store_(*session.db),
      caption_(caption), widths_(*session.db) {
    date_ = core_ui::makeField(this, QStringLiteral("text2"));
    core_ui::setupDateField(date_, session_.clock->today());
    voucherTypeList_ = core_ui::makeList(this, QStringLiteral("List1"),
                                         {QStringLiteral("Dr"), QStringLiteral("Cr")});
    picker_ = new AccountPicker(this);
    picker_->setMinimumWidth(260);
    txtAmount_ = core_ui::makeField(this, QStringLiteral("TxtAmount"));
    txtRemark_ = core_ui::makeField(this, QStringLiteral("TxtRemark"));
    saveButton_ = new QPushButton(QStringLiteral("&Save"), this);
    saveButton_->setObjectName(QStringLiteral("Command8"));
    txtDocNo_ = core_ui::makeField(this, QStringLiteral("TxtDoc_no"));
    // The entry number shows the voucher a correction rewrites; only a grid click sets it.
    txtDocNo_->setReadOnly(true);

    grid_ = core_ui::makeGrid(this, QStringLiteral("VsFlex"),
                              {QStringLiteral("Auto No"), QStringLiteral("Date"),
                               QStringLiteral("Account Head"), QStringLiteral("Type"),
                               QStringLiteral("Amount"), QStringLiteral("Remark")},
                              {});
    setGridWidths(grid_, {0, 1000, 2000, 600, 800, 2000}, 1);

    connect(saveButton_, &QPushButton::clicked, this, [this] { save(); });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) { gridClicked(row); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { gridDoubleClicked(row); });

    run(core::ErrorKind::Log, caption_, [&] {
        txtRemark_->setMaxLength(
            widths_.width(QStringLiteral("DayBook"), QStringLiteral("Remark")));
    });
}

bool VoucherScreenBase::voucherKey(int key) {
    switch (key) {
    case Qt::Key_F5:
        clear();
        cycle().reset();
        return true;
    case Qt::Key_F6:
        cycle().startCorrection();
        return true;
    default:
        return false;
    }
}

QString VoucherScreenBase::voucherType() const {
    return core_ui::listText(voucherTypeList_);
}

void VoucherScreenBase::setVoucherType(const QString& type) {
    core_ui::setListText(voucherTypeList_, type);
}

core_ui::FieldFlow& VoucherScreenBase::flowFromDate() {
    using core_ui::Via;
    return flow().add(date_, [this](Via via) {
        run(core::ErrorKind::Show,
            via == Via::Enter ? QStringLiteral("text2_KeyPress")
                              : QStringLiteral("text2_LostFocus"),
            [&] { dateLeft(); });
        return true;
    });
}

void VoucherScreenBase::voucherTypeLeft() {
    run(core::ErrorKind::Show, QStringLiteral("List1_LostFocus"), [&] {
        if (voucherType().isEmpty())
            setVoucherType(QStringLiteral("Dr"));
    });
}

void VoucherScreenBase::showVouchers() {
    const auto date = core_ui::dateFieldValue(date_);
    QList<QStringList> rows;
    if (date) {
        for (const auto& v : store_.vouchersOn(*date))
            rows.append({QString::number(v.autoNo),
                         v.date.isValid() ? core::formatDate(v.date) : QString(), v.accountHead,
                         v.voucherType, plainNumber(v.amount), v.remark});
    }
    core_ui::fillGrid(grid_, rows);
}

void VoucherScreenBase::fillGrid() {
    run(core::ErrorKind::Show, QStringLiteral("desginflex"), [&] {
        grid_->setRowCount(0);
        showVouchers();
        clear();
    });
}

void VoucherScreenBase::clear() {
    run(core::ErrorKind::Show, QStringLiteral("clear"), [&] {
        txtDocNo_->clear();
        txtAmount_->clear();
        setVoucherType(QString());
        picker_->clearChoice();
        txtRemark_->clear();
        // An F6 pressed before choosing the voucher still counts.
        if (cycle().hasLoaded())
            cycle().reset();
    });
}

void VoucherScreenBase::save() {
    const QString title = windowTitle();
    if (!session_.dialogs->okCancel(title, QStringLiteral("Do you want to save?")))
        return;
    run(core::ErrorKind::Log, title, [&] {
        VoucherInput in;
        in.dateText = date_->displayText();
        in.voucherType = voucherType();
        in.accountText = picker_->shownText();
        in.boundValue = picker_->boundValue();
        in.amountText = txtAmount_->text();
        in.remark = txtRemark_->text();
        in.category = category_;
        in.accountField = picker_->objectName();
        const QString table = QStringLiteral("DayBook");
        const VoucherWidths widths{widths_.width(table, QStringLiteral("AccountHead")),
                                   widths_.width(table, QStringLiteral("Remark")),
                                   widths_.width(table, QStringLiteral("party_code"))};
        const auto check = checkVoucher(in, widths);
        if (!check.voucher) {
            refuse(title, check.problem);
            return;
        }
        const Voucher& v = *check.voucher;
        const bool written = saveEntry(
            title, [&] { store_.insert(v); },
            [&](const QVariant& key) {
                return store_.update(key.toLongLong(), v, correctionSetsParty());
            });
        if (!written) {
            // The fields stay for another try; the grid drops what is gone.
            showVouchers();
            return;
        }
        session_.dialogs->information(title, QStringLiteral("Data Saved."));
        fillGrid();
        afterSave();
    });
}

QVariant VoucherScreenBase::entryOfRow(int row) const {
    if (row < 0 || row >= grid_->rowCount() || !grid_->item(row, 0))
        return {};
    const QString text = grid_->item(row, 0)->text();
    return text.isEmpty() ? QVariant() : QVariant(text.toLongLong());
}

void VoucherScreenBase::gridClicked(int row) {
    run(core::ErrorKind::Show, QStringLiteral("VSFlex_Click"), [&] {
        if (grid_->rowCount() == 0)
            return;
        const QVariant key = entryOfRow(row);
        const auto voucher = key.isValid() ? store_.voucher(key.toLongLong()) : std::nullopt;
        if (!voucher) {
            clear();
            return;
        }
        showLoadedAccount(*voucher);
        core_ui::setDateField(date_, voucher->date);
        txtAmount_->setText(plainNumber(voucher->amount));
        txtRemark_->setText(voucher->remark);
        txtDocNo_->setText(QString::number(voucher->autoNo));
        setVoucherType(voucher->voucherType);
        // The next Save corrects this voucher when F6 is (or was already) pressed.
        cycle().loaded(voucher->autoNo, correcting());
    });
}

void VoucherScreenBase::gridDoubleClicked(int row) {
    run(core::ErrorKind::Show, QStringLiteral("VsFlex_DblClick"), [&] {
        const QVariant key = entryOfRow(row);
        if (!key.isValid())
            return;
        if (!session_.dialogs->okCancel(QStringLiteral("Delete Entry"),
                                        QStringLiteral("Are You Sure to Delete.")))
            return;
        deleteEntry(windowTitle(), key,
                    [&](const QVariant& k) { return store_.remove(k.toLongLong()); });
        fillGrid();
    });
}

} // namespace stokara::transactions
