#include "day_book_voucher_screen.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/idioms.h"
#include "core_ui/screen_support.h"
#include "core/session.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>

namespace stokara::transactions {

namespace {

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

QString plainNumber(double value) {
    return QString::number(value, 'g', 15);
}

void setGridWidths(QTableWidget* grid, const QList<int>& twips, int dateColumn) {
    int shown = 0;
    for (int c = 0; c < twips.size(); ++c) {
        int width = twips[c] / 15; // 15 twips make a pixel at 96 dots per inch
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
    : QWidget(parent), session_(session), store_(*session.db), caption_(caption) {
    setObjectName(objectName);
    setWindowTitle(caption);

    text2_ = new QLineEdit(this);
    text2_->setObjectName(QStringLiteral("text2"));
    core_ui::setupDateField(text2_, session_.clock->today());

    list1_ = new QComboBox(this);
    list1_->setObjectName(QStringLiteral("List1"));
    list1_->addItems({QStringLiteral("Dr"), QStringLiteral("Cr")});
    list1_->setCurrentIndex(-1);

    picker_ = new AccountPicker(this);
    picker_->setMinimumWidth(260);

    txtAmount_ = new QLineEdit(this);
    txtAmount_->setObjectName(QStringLiteral("TxtAmount"));
    txtRemark_ = new QLineEdit(this);
    txtRemark_->setObjectName(QStringLiteral("TxtRemark"));
    txtRemark_->setMaxLength(kVoucherRemarkWidth);
    command8_ = new QPushButton(QStringLiteral("&Save"), this);
    command8_->setObjectName(QStringLiteral("Command8"));
    txtDocNo_ = new QLineEdit(this);
    txtDocNo_->setObjectName(QStringLiteral("TxtDoc_no"));
    // The entry number names the voucher a correction rewrites; only a grid click sets it.
    txtDocNo_->setReadOnly(true);

    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("VsFlex"));
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->setColumnCount(6);
    grid_->setHorizontalHeaderLabels({QStringLiteral("Auto No"), QStringLiteral("Date"),
                                      QStringLiteral("Account Head"), QStringLiteral("Type"),
                                      QStringLiteral("Amount"), QStringLiteral("Remark")});
    setGridWidths(grid_, {0, 1000, 2000, 600, 800, 2000}, 1);

    connect(command8_, &QPushButton::clicked, this, [this] { save(); });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) { gridClicked(row); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { gridDoubleClicked(row); });

    text2_->installEventFilter(this);
    list1_->installEventFilter(this);
}

void VoucherScreenBase::watchKeys() {
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void VoucherScreenBase::run(core::ErrorKind kind, const QString& procedure,
                            const std::function<void()>& body) {
    core::guarded(session_, kind, procedure, body);
}

bool VoucherScreenBase::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
            bool used = true; // a key whose handler failed is still spent
            run(core::ErrorKind::Show, QStringLiteral("Form_KeyDown"),
                [&] { used = functionKey(key); });
            return used;
        }
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching windows or opening a popup is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == text2_) {
                if (dateLeaveDone_)
                    dateLeaveDone_ = false;
                else
                    dateLeft();
            } else if (watched == list1_) {
                voucherTypeLeft();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void VoucherScreenBase::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        bool used = true; // a key whose handler failed is still spent
        run(core::ErrorKind::Show, QStringLiteral("Form_KeyDown"),
            [&] { used = functionKey(key); });
        if (used)
            return;
    }
    QWidget::keyPressEvent(event);
}

QString VoucherScreenBase::voucherType() const {
    return list1_->currentIndex() < 0 ? QString() : list1_->currentText();
}

void VoucherScreenBase::setVoucherType(const QString& type) {
    list1_->setCurrentIndex(list1_->findText(type));
}

void VoucherScreenBase::voucherTypeLeft() {
    run(core::ErrorKind::Show, QStringLiteral("List1_LostFocus"), [&] {
        if (voucherType().isEmpty())
            setVoucherType(QStringLiteral("Dr"));
    });
}

void VoucherScreenBase::fillGrid() {
    run(core::ErrorKind::Show, QStringLiteral("desginflex"), [&] {
        grid_->setRowCount(0);
        const auto date = core_ui::dateFieldValue(text2_);
        if (date) {
            const auto vouchers = store_.vouchersOn(*date);
            grid_->setUpdatesEnabled(false);
            grid_->setRowCount(static_cast<int>(vouchers.size()));
            int r = 0;
            for (const auto& v : vouchers) {
                grid_->setItem(r, 0, cell(QString::number(v.autoNo)));
                grid_->setItem(r, 1, cell(v.date.isValid() ? core::formatDate(v.date) : QString()));
                grid_->setItem(r, 2, cell(v.accountHead));
                grid_->setItem(r, 3, cell(v.voucherType));
                grid_->setItem(r, 4, cell(plainNumber(v.amount)));
                grid_->setItem(r, 5, cell(v.remark));
                ++r;
            }
            grid_->setUpdatesEnabled(true);
        }
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
    });
}

void VoucherScreenBase::save() {
    const QString title = windowTitle();
    if (!session_.dialogs->okCancel(title, QStringLiteral("Do you want to save?")))
        return;
    run(core::ErrorKind::Log, title, [&] {
        VoucherInput in;
        in.dateText = text2_->displayText();
        in.voucherType = voucherType();
        in.accountText = picker_->shownText();
        in.boundValue = picker_->boundValue();
        in.amountText = txtAmount_->text();
        in.remark = txtRemark_->text();
        in.category = category_;
        const auto check = checkVoucher(in);
        if (!check.voucher) {
            session_.dialogs->information(title, check.message);
            return;
        }
        if (!editing()) {
            store_.insert(*check.voucher);
        } else {
            const auto entry = static_cast<qint64>(core::val(txtDocNo_->text()));
            // F6 without a loaded voucher has nothing to correct.
            if (entry <= 0) {
                session_.dialogs->information(
                    title, QStringLiteral("Click the entry to correct in the list first."));
                return;
            }
            if (!store_.update(entry, *check.voucher, correctionSetsParty())) {
                session_.dialogs->information(title,
                                              QStringLiteral("This entry no longer exists."));
                fillGrid();
                return;
            }
        }
        session_.dialogs->information(title, QStringLiteral("Data Saved."));
        fillGrid();
        editFlag_.clear();
        afterSave();
    });
}

void VoucherScreenBase::gridClicked(int row) {
    run(core::ErrorKind::Show, QStringLiteral("VSFlex_Click"), [&] {
        if (grid_->rowCount() == 0 || row < 0 || row >= grid_->rowCount())
            return;
        const auto* key = grid_->item(row, 0);
        const auto voucher =
            key && !key->text().isEmpty() ? store_.voucher(key->text().toLongLong()) : std::nullopt;
        if (!voucher) {
            clear();
            return;
        }
        showLoadedAccount(*voucher);
        core_ui::setDateField(text2_, voucher->date);
        txtAmount_->setText(plainNumber(voucher->amount));
        txtRemark_->setText(voucher->remark);
        txtDocNo_->setText(QString::number(voucher->autoNo));
        setVoucherType(voucher->voucherType);
    });
}

void VoucherScreenBase::gridDoubleClicked(int row) {
    run(core::ErrorKind::Show, QStringLiteral("VsFlex_DblClick"), [&] {
        if (row < 0 || row >= grid_->rowCount())
            return;
        const auto* key = grid_->item(row, 0);
        if (!key || key->text().isEmpty())
            return;
        if (!session_.dialogs->okCancel(QStringLiteral("Delete Entry"),
                                        QStringLiteral("Are You Sure to Delete.")))
            return;
        store_.remove(key->text().toLongLong());
        fillGrid();
    });
}

} // namespace stokara::transactions
