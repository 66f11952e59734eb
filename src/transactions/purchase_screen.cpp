#include "purchase_screen.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/idioms.h"
#include "core_ui/screen_support.h"
#include "core/session.h"
#include "transactions/day_book_rules.h"
#include "transactions/day_book_voucher_screen.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace stokara::transactions {

namespace {

const char* const kFieldTitle = "Tarvex Milvora";
constexpr int kEntryColumn = 7;

QComboBox* makeList(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(220);
    return box;
}

void fillList(QComboBox* box, const QStringList& names) {
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(-1);
    box->clearEditText();
}

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

PurchaseScreen::PurchaseScreen(core::Session& session, QWidget* parent)
    : QWidget(parent), session_(session), store_(*session.db),
      caption_(QStringLiteral("Item Purchases")) {
    setObjectName(QStringLiteral("Frmitempurchase"));
    setWindowTitle(caption_);

    text2_ = new QLineEdit(this);
    text2_->setObjectName(QStringLiteral("text2"));
    core_ui::setupDateField(text2_, session_.clock->today());
    dcParty_ = makeList(this, QStringLiteral("DcParty"));
    itemName_ = makeList(this, QStringLiteral("Item_name"));
    txtQty_ = new QLineEdit(this);
    txtQty_->setObjectName(QStringLiteral("TxtQty"));
    txtUnit_ = new QLineEdit(this);
    txtUnit_->setObjectName(QStringLiteral("Txtunit"));
    txtUnit_->setReadOnly(true);
    txtRate_ = new QLineEdit(this);
    txtRate_->setObjectName(QStringLiteral("txtrate"));
    txtAmount_ = new QLineEdit(this);
    txtAmount_->setObjectName(QStringLiteral("TxtAmount"));
    txtAmount_->setReadOnly(true);
    txtDocNo_ = new QLineEdit(this);
    txtDocNo_->setObjectName(QStringLiteral("TxtDoc_no"));
    txtDocNo_->setReadOnly(true);
    command8_ = new QPushButton(QStringLiteral("&Save"), this);
    command8_->setObjectName(QStringLiteral("Command8"));
    command9_ = new QPushButton(QStringLiteral("&Clear"), this);
    command9_->setObjectName(QStringLiteral("Command9"));

    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("VsFlex"));
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->setColumnCount(8);
    grid_->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Party"),
                                      QStringLiteral("Item"), QStringLiteral("Qty"),
                                      QStringLiteral("Unit"), QStringLiteral("Rate"),
                                      QStringLiteral("Amount"), QString()});
    setGridWidths(grid_, {1000, 2500, 2500, 1000, 1000, 1000, 1000, 0}, 0);

    frameSearch_ = new QGroupBox(QStringLiteral("Search"), this);
    frameSearch_->setObjectName(QStringLiteral("FrameSearch"));
    txtSDate_ = new QLineEdit(frameSearch_);
    txtSDate_->setObjectName(QStringLiteral("TxtSDate"));
    core_ui::setupDateField(txtSDate_, session_.clock->today());
    dcDataList_ = makeList(frameSearch_, QStringLiteral("Dcdatalist"));
    txtSearchNo_ = new QLineEdit(frameSearch_);
    txtSearchNo_->setObjectName(QStringLiteral("TxtSearchNo"));
    cmdSearch_ = new QPushButton(QStringLiteral("Search"), frameSearch_);
    cmdSearch_->setObjectName(QStringLiteral("CmdSearch"));
    auto* searchLayout = new QGridLayout(frameSearch_);
    searchLayout->addWidget(new QLabel(QStringLiteral("Date"), frameSearch_), 0, 0);
    searchLayout->addWidget(txtSDate_, 0, 1);
    searchLayout->addWidget(new QLabel(QStringLiteral("Vendor Name"), frameSearch_), 0, 2);
    searchLayout->addWidget(dcDataList_, 0, 3);
    searchLayout->addWidget(new QLabel(QStringLiteral("Entry No."), frameSearch_), 1, 0);
    searchLayout->addWidget(txtSearchNo_, 1, 1);
    searchLayout->addWidget(cmdSearch_, 1, 3, Qt::AlignLeft);
    searchLayout->setColumnStretch(3, 1);
    frameSearch_->hide();

    auto* fields = new QGridLayout;
    auto addRow = [&](int row, int col, const QString& label, QWidget* field) {
        auto* l = new QLabel(label, this);
        l->setBuddy(field);
        fields->addWidget(l, row, col);
        fields->addWidget(field, row, col + 1);
    };
    addRow(0, 0, QStringLiteral("Date"), text2_);
    addRow(0, 2, QStringLiteral("Entry No."), txtDocNo_);
    addRow(1, 0, QStringLiteral("Vendor Name"), dcParty_);
    addRow(2, 0, QStringLiteral("Item Name"), itemName_);
    addRow(3, 0, QStringLiteral("Qty"), txtQty_);
    addRow(3, 2, QStringLiteral("Unit"), txtUnit_);
    addRow(4, 0, QStringLiteral("Rate"), txtRate_);
    addRow(4, 2, QStringLiteral("Amount"), txtAmount_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command8_);
    buttons->addWidget(command9_);
    buttons->addStretch();
    auto* hint =
        new QLabel(QStringLiteral("F1 for Search  F3 for Clear , F6 for Edit Entry"), this);
    hint->setObjectName(QStringLiteral("LblHint"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(hint);
    layout->addWidget(frameSearch_);
    layout->addWidget(grid_, 1);

    setTabOrder(text2_, dcParty_);
    setTabOrder(dcParty_, itemName_);
    setTabOrder(itemName_, txtQty_);
    setTabOrder(txtQty_, txtRate_);
    setTabOrder(txtRate_, command8_);
    setTabOrder(command8_, command9_);

    core_ui::makeEnterChain(this)
        ->add(text2_)
        .add(dcParty_)
        .add(itemName_,
             [this] {
                 lookUpItem();
                 return true;
             })
        .add(txtQty_, [this] { return quantityLeft(); })
        .add(txtRate_, [this] { return rateLeft(); })
        .add(command8_);

    connect(command8_, &QPushButton::clicked, this, [this] { save(); });
    connect(command9_, &QPushButton::clicked, this, [this] {
        run(QStringLiteral("Command9_Click"), [&] {
            clearEntry();
            editFlag_.clear();
        });
    });
    connect(cmdSearch_, &QPushButton::clicked, this, [this] { search(); });
    connect(itemName_, qOverload<int>(&QComboBox::activated), this, [this](int) { lookUpItem(); });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) { gridClicked(row); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { gridDoubleClicked(row); });

    run(QStringLiteral("Form_Load"), [&] {
        fillList(itemName_, store_.itemNames());
        const QStringList vendors = store_.vendorNames();
        fillList(dcParty_, vendors);
        fillList(dcDataList_, vendors);
        refreshGrid();
    });

    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    core_ui::onScreenLoad(this, session_);
    QTimer::singleShot(0, text2_, [this] { text2_->setFocus(); });
}

void PurchaseScreen::run(const QString& procedure, const std::function<void()>& body) {
    core::guarded(session_, core::ErrorKind::Show, procedure, body);
}

bool PurchaseScreen::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
            bool used = true; // a key whose handler failed is still spent
            run(QStringLiteral("Form_KeyDown"), [&] { used = functionKey(key); });
            if (used)
                return true;
        }
        break;
    }
    case QEvent::FocusIn:
        if (watched == txtRate_)
            rateEntered();
        break;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (checking_ || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            break;
        if (watched == txtQty_ && !quantityLeft())
            keepFocus(txtQty_);
        // An empty rate with nothing entered yet (after F3, say) holds nobody back.
        else if (watched == txtRate_ &&
                 !(txtRate_->text().isEmpty() && txtQty_->text().isEmpty()) && !rateLeft())
            keepFocus(txtRate_);
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void PurchaseScreen::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        bool used = true; // a key whose handler failed is still spent
        run(QStringLiteral("Form_KeyDown"), [&] { used = functionKey(key); });
        if (used)
            return;
    }
    QWidget::keyPressEvent(event);
}

void PurchaseScreen::keepFocus(QWidget* field) {
    // Taking the focus back inside the focus change itself confuses the widgets.
    QTimer::singleShot(0, field, [field] { field->setFocus(); });
}

bool PurchaseScreen::functionKey(int key) {
    switch (key) {
    case Qt::Key_F1:
        if (frameSearch_->isVisible()) {
            frameSearch_->hide();
        } else {
            frameSearch_->show();
            txtSDate_->setFocus();
        }
        return true;
    case Qt::Key_F3:
        clearEntry();
        return true;
    case Qt::Key_F6:
        editFlag_ = QStringLiteral("Y");
        return true;
    default:
        return false;
    }
}

void PurchaseScreen::lookUpItem() {
    run(QStringLiteral("Item_name_Click"), [&] {
        const auto unit = store_.itemUnit(itemName_->currentText());
        if (unit)
            txtUnit_->setText(*unit);
    });
}

bool PurchaseScreen::quantityLeft() {
    const QString qty = txtQty_->text();
    if (!qty.isEmpty() && !isNumericText(qty)) {
        checking_ = true;
        session_.dialogs->critical(QString::fromLatin1(kFieldTitle),
                                   QStringLiteral("Invalid Entry."));
        checking_ = false;
        return false;
    }
    return true;
}

void PurchaseScreen::rateEntered() {
    if (core::val(txtRate_->text()) == 0)
        txtRate_->clear();
}

bool PurchaseScreen::rateLeft() {
    const QString rate = txtRate_->text();
    QString refusal;
    if (rate.isEmpty())
        refusal = QStringLiteral("Can't be Blank.");
    else if (!isNumericText(rate))
        refusal = QStringLiteral("Invalid Entry.");
    if (!refusal.isEmpty()) {
        checking_ = true;
        session_.dialogs->critical(QString::fromLatin1(kFieldTitle), refusal);
        checking_ = false;
        return false;
    }
    txtAmount_->setText(plainNumber(purchaseAmount(txtQty_->text(), rate)));
    return true;
}

void PurchaseScreen::save() {
    run(QStringLiteral("Command8_Click"), [&] {
        auto& dialogs = *session_.dialogs;
        if (!dialogs.okCancel(caption_, QStringLiteral("Do you want to save?"),
                              core::Icon::Information))
            return;
        PurchaseInput in;
        in.dateText = text2_->displayText();
        in.vendor = dcParty_->currentText();
        in.item = itemName_->currentText();
        in.qtyText = txtQty_->text();
        in.unit = txtUnit_->text();
        in.rateText = txtRate_->text();
        const auto check = checkPurchase(in);
        if (!check.purchase) {
            dialogs.information(caption_, check.message);
            return;
        }
        const Purchase& p = *check.purchase;
        txtAmount_->setText(plainNumber(p.amount));
        qint64 saved = 0;
        if (!editing()) {
            if (store_.countSame(p.vendor, p.item, p.date) > 0 &&
                !dialogs.okCancel(caption_, QStringLiteral("Duplicate Entry. Add it anyway."),
                                  core::Icon::Information))
                return;
            saved = store_.insert(p);
        } else {
            const QString entry = entryOfRow(grid_->currentRow());
            // F6 without a purchase chosen in the grid has nothing to correct.
            if (entry.isEmpty()) {
                dialogs.information(
                    caption_, QStringLiteral("Click the entry to correct in the list first."));
                return;
            }
            saved = entry.toLongLong();
            if (!store_.update(saved, p)) {
                dialogs.information(caption_, QStringLiteral("This entry no longer exists."));
                return;
            }
        }
        dialogs.information(caption_, QStringLiteral("Data Saved."));
        // The grid then shows the purchase just saved, under the number it really got.
        txtDocNo_->setText(QString::number(saved));
        refreshGrid();
        editFlag_.clear();
        text2_->setFocus();
    });
}

void PurchaseScreen::refreshGrid() {
    run(QStringLiteral("FillGrid"), [&] {
        grid_->setRowCount(0);
        const auto date = core_ui::dateFieldValue(text2_);
        const QString entryText = txtDocNo_->text().trimmed();
        std::optional<qint64> entry;
        if (!entryText.isEmpty())
            entry = static_cast<qint64>(core::val(entryText));
        if (date) {
            const auto rows = store_.list(*date, dcParty_->currentText(), entry);
            grid_->setUpdatesEnabled(false);
            grid_->setRowCount(static_cast<int>(rows.size()));
            int r = 0;
            for (const auto& p : rows) {
                grid_->setItem(r, 0, cell(p.date.isValid() ? core::formatDate(p.date) : QString()));
                grid_->setItem(r, 1, cell(p.vendor));
                grid_->setItem(r, 2, cell(p.item));
                grid_->setItem(r, 3, cell(plainNumber(p.qty)));
                grid_->setItem(r, 4, cell(p.unit));
                grid_->setItem(r, 5, cell(plainNumber(p.rate)));
                grid_->setItem(r, 6, cell(plainNumber(p.amount)));
                grid_->setItem(r, kEntryColumn, cell(QString::number(p.autoNo)));
                ++r;
            }
            grid_->setUpdatesEnabled(true);
        }
        clearEntry();
        txtDocNo_->setText(QString::number(expectedEntryNumber(store_.highestEntry())));
        frameSearch_->hide();
    });
}

void PurchaseScreen::clearEntry() {
    txtUnit_->clear();
    itemName_->setCurrentIndex(-1);
    itemName_->clearEditText();
    txtQty_->clear();
    txtRate_->clear();
    txtDocNo_->clear();
    txtAmount_->clear();
    dcParty_->setCurrentIndex(-1);
    dcParty_->clearEditText();
}

QString PurchaseScreen::entryOfRow(int row) const {
    if (row < 0 || row >= grid_->rowCount())
        return {};
    const auto* item = grid_->item(row, kEntryColumn);
    return item ? item->text() : QString();
}

void PurchaseScreen::gridClicked(int row) {
    run(QStringLiteral("VsFlex_Click"), [&] {
        const QString entry = entryOfRow(row);
        if (entry.isEmpty())
            return;
        const auto p = store_.purchase(entry.toLongLong());
        if (!p)
            return;
        clearEntry();
        core_ui::setDateField(text2_, p->date);
        dcParty_->setCurrentIndex(dcParty_->findText(p->vendor, Qt::MatchExactly));
        dcParty_->setEditText(p->vendor);
        txtQty_->setText(plainNumber(p->qty));
        txtRate_->setText(plainNumber(p->rate));
        txtAmount_->setText(plainNumber(p->amount));
        txtUnit_->setText(p->unit);
        txtDocNo_->setText(QString::number(p->autoNo));
        itemName_->setCurrentIndex(itemName_->findText(p->item, Qt::MatchExactly));
        itemName_->setEditText(p->item);
    });
}

void PurchaseScreen::gridDoubleClicked(int row) {
    run(QStringLiteral("VsFlex_DblClick"), [&] {
        const QString entry = entryOfRow(row);
        if (entry.isEmpty())
            return;
        if (!session_.dialogs->okCancel(QStringLiteral("Delete Entry"),
                                        QStringLiteral("Are You Sure to Delete."),
                                        core::Icon::Information))
            return;
        const QString date = grid_->item(row, 0) ? grid_->item(row, 0)->text() : QString();
        const QString vendor = grid_->item(row, 1) ? grid_->item(row, 1)->text() : QString();
        store_.remove(entry.toLongLong());
        // The vendor's remaining purchases of that date stay in view.
        clearEntry();
        if (core::parseDate(date))
            text2_->setText(date);
        dcParty_->setEditText(vendor);
        refreshGrid();
    });
}

void PurchaseScreen::search() {
    run(QStringLiteral("CmdSearch_Click"), [&] {
        text2_->setText(txtSDate_->text());
        dcParty_->setCurrentIndex(dcParty_->findText(dcDataList_->currentText()));
        dcParty_->setEditText(dcDataList_->currentText());
        txtDocNo_->setText(txtSearchNo_->text().trimmed());
        refreshGrid();
    });
}

} // namespace stokara::transactions
