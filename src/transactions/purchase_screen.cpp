#include "purchase_screen.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/idioms.h"
#include "core/session.h"
#include "core_ui/screen_support.h"
#include "core_ui/widgets.h"
#include "transactions/day_book_voucher_screen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace stokara::transactions {

using core_ui::Via;

namespace {

const char* const kFieldTitle = "Tarvex Milvora";
constexpr int kEntryColumn = 7;

QComboBox* makeNameList(QWidget* parent, const QString& name) {
    auto* box = core_ui::makeList(parent, name, {}, true);
    box->setMinimumWidth(220);
    return box;
}

void fillList(QComboBox* box, const QStringList& names) {
    box->clear();
    box->addItems(names);
    core_ui::setListText(box, QString());
}

} // namespace

PurchaseScreen::PurchaseScreen(core::Session& session, QWidget* parent)
    : core_ui::EntryScreen(session, QStringLiteral("Frmitempurchase"),
                           QStringLiteral("Item Purchases"), parent),
      store_(*session.db), widths_(*session.db), caption_(QStringLiteral("Item Purchases")) {
    date_ = core_ui::makeField(this, QStringLiteral("text2"));
    core_ui::setupDateField(date_, session_.clock->today());
    dcParty_ = makeNameList(this, QStringLiteral("DcParty"));
    itemName_ = makeNameList(this, QStringLiteral("Item_name"));
    txtQty_ = core_ui::makeField(this, QStringLiteral("TxtQty"));
    txtUnit_ = core_ui::makeField(this, QStringLiteral("Txtunit"));
    txtUnit_->setReadOnly(true);
    txtRate_ = core_ui::makeField(this, QStringLiteral("txtrate"));
    txtAmount_ = core_ui::makeField(this, QStringLiteral("TxtAmount"));
    txtAmount_->setReadOnly(true);
    txtDocNo_ = core_ui::makeField(this, QStringLiteral("TxtDoc_no"));
    txtDocNo_->setReadOnly(true);
    saveButton_ = new QPushButton(QStringLiteral("&Save"), this);
    saveButton_->setObjectName(QStringLiteral("Command8"));
    clearButton_ = new QPushButton(QStringLiteral("&Clear"), this);
    clearButton_->setObjectName(QStringLiteral("Command9"));

    grid_ =
        core_ui::makeGrid(this, QStringLiteral("VsFlex"),
                          {QStringLiteral("Date"), QStringLiteral("Party"), QStringLiteral("Item"),
                           QStringLiteral("Qty"), QStringLiteral("Unit"), QStringLiteral("Rate"),
                           QStringLiteral("Amount"), QString()},
                          {});
    setGridWidths(grid_, {1000, 2500, 2500, 1000, 1000, 1000, 1000, 0}, 0);

    frameSearch_ = new QGroupBox(QStringLiteral("Search"), this);
    frameSearch_->setObjectName(QStringLiteral("FrameSearch"));
    txtSDate_ = core_ui::makeField(frameSearch_, QStringLiteral("TxtSDate"));
    core_ui::setupDateField(txtSDate_, session_.clock->today());
    dcDataList_ = makeNameList(frameSearch_, QStringLiteral("Dcdatalist"));
    txtSearchNo_ = core_ui::makeField(frameSearch_, QStringLiteral("TxtSearchNo"));
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
    auto addRow = [&](int row, int col, const QString& label, QWidget* field, const char* name) {
        auto* l = new QLabel(label, this);
        l->setObjectName(QString::fromLatin1(name)); // its caption in other languages
        l->setBuddy(field);
        fields->addWidget(l, row, col);
        fields->addWidget(field, row, col + 1);
    };
    addRow(0, 0, QStringLiteral("Date"), date_, "LblDate");
    addRow(0, 2, QStringLiteral("Entry No."), txtDocNo_, "LblentryNo");
    addRow(1, 0, QStringLiteral("Vendor Name"), dcParty_, "lblname");
    addRow(2, 0, QStringLiteral("Item Name"), itemName_, "lblitemname");
    addRow(3, 0, QStringLiteral("Qty"), txtQty_, "lblqty");
    addRow(3, 2, QStringLiteral("Unit"), txtUnit_, "lblunit");
    addRow(4, 0, QStringLiteral("Rate"), txtRate_, "lblrate");
    addRow(4, 2, QStringLiteral("Amount"), txtAmount_, "LblNamt");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveButton_);
    buttons->addWidget(clearButton_);
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

    setTabOrder(date_, dcParty_);
    setTabOrder(dcParty_, itemName_);
    setTabOrder(itemName_, txtQty_);
    setTabOrder(txtQty_, txtRate_);
    setTabOrder(txtRate_, saveButton_);
    setTabOrder(saveButton_, clearButton_);

    flow()
        .add(date_)
        .add(dcParty_)
        .add(itemName_,
             [this](Via via) {
                 if (via == Via::Enter)
                     lookUpItem();
                 return true;
             })
        .add(txtQty_, [this](Via via) { return quantityChecked(via); })
        .add(txtRate_, [this](Via via) { return rateChecked(via); })
        .add(saveButton_);
    // A rate of 0 is no rate: the operator types over an empty field.
    flow().onEntering(txtRate_, [this] {
        if (core::val(txtRate_->text()) == 0)
            txtRate_->clear();
    });

    connect(saveButton_, &QPushButton::clicked, this, [this] { save(); });
    connect(clearButton_, &QPushButton::clicked, this, [this] {
        run(core::ErrorKind::Show, QStringLiteral("Command9_Click"), [&] { clearEntry(); });
    });
    connect(cmdSearch_, &QPushButton::clicked, this, [this] { search(); });
    connect(itemName_, qOverload<int>(&QComboBox::activated), this, [this](int) { lookUpItem(); });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) { gridClicked(row); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { gridDoubleClicked(row); });

    run(core::ErrorKind::Show, QStringLiteral("Form_Load"), [&] {
        fillList(itemName_, store_.itemNames());
        const QStringList vendors = store_.vendorNames();
        fillList(dcParty_, vendors);
        fillList(dcDataList_, vendors);
        refreshGrid();
    });
    finishSetup();
    QTimer::singleShot(0, date_, [this] { date_->setFocus(); });
}

bool PurchaseScreen::functionKey(int key) {
    switch (key) {
    case Qt::Key_F1:
        if (frameSearch_->isVisible()) {
            frameSearch_->hide();
        } else {
            frameSearch_->show();
            flow().moveFocus(txtSDate_);
        }
        return true;
    case Qt::Key_F3:
        clearEntry();
        return true;
    case Qt::Key_F6:
        cycle().startCorrection();
        return true;
    default:
        return false;
    }
}

void PurchaseScreen::lookUpItem() {
    run(core::ErrorKind::Show, QStringLiteral("Item_name_Click"), [&] {
        const auto unit = store_.itemUnit(itemName_->currentText());
        if (unit)
            txtUnit_->setText(*unit);
    });
}

bool PurchaseScreen::fieldRefused(QWidget* field, Via via, const QString& message) {
    session_.dialogs->critical(QString::fromLatin1(kFieldTitle), message);
    // Taking the focus back inside the focus change itself confuses the widgets.
    if (via == Via::Leave)
        QTimer::singleShot(0, field, [this, field] { flow().moveFocus(field); });
    return false;
}

bool PurchaseScreen::quantityChecked(Via via) {
    const QString qty = txtQty_->text();
    if (!qty.isEmpty() && !core::positiveNumber(qty))
        return fieldRefused(txtQty_, via, QStringLiteral("Invalid Entry."));
    return true;
}

bool PurchaseScreen::rateChecked(Via via) {
    const QString rate = txtRate_->text();
    // An empty rate with nothing entered yet (after F3, say) holds nobody back.
    if (via == Via::Leave && rate.isEmpty() && txtQty_->text().isEmpty())
        return true;
    if (rate.isEmpty())
        return fieldRefused(txtRate_, via, QStringLiteral("Can't be Blank."));
    if (!core::positiveNumber(rate))
        return fieldRefused(txtRate_, via, QStringLiteral("Invalid Entry."));
    txtAmount_->setText(plainNumber(purchaseAmount(txtQty_->text(), rate)));
    return true;
}

void PurchaseScreen::save() {
    run(core::ErrorKind::Show, QStringLiteral("Command8_Click"), [&] {
        auto& dialogs = *session_.dialogs;
        if (!dialogs.okCancel(caption_, QStringLiteral("Do you want to save?"),
                              core::Icon::Information))
            return;
        PurchaseInput in;
        in.dateText = date_->displayText();
        in.vendor = dcParty_->currentText();
        in.item = itemName_->currentText();
        in.qtyText = txtQty_->text();
        in.unit = txtUnit_->text();
        in.rateText = txtRate_->text();
        const QString table = QStringLiteral("ItemPurchases");
        const PurchaseWidths widths{widths_.width(table, QStringLiteral("Party_name")),
                                    widths_.width(table, QStringLiteral("item_name")),
                                    widths_.width(table, QStringLiteral("unit"))};
        const auto check = checkPurchase(in, widths);
        if (!check.purchase) {
            refuse(caption_, check.problem);
            return;
        }
        const Purchase& p = *check.purchase;
        txtAmount_->setText(plainNumber(p.amount));
        if (!correcting() && store_.countSame(p.vendor, p.item, p.date) > 0 &&
            !dialogs.okCancel(caption_, QStringLiteral("Duplicate Entry. Add it anyway."),
                              core::Icon::Information))
            return;
        qint64 saved = 0;
        const bool written = saveEntry(
            caption_, [&] { saved = store_.insert(p); },
            [&](const QVariant& key) {
                saved = key.toLongLong();
                return store_.update(saved, p);
            });
        if (!written)
            return; // the fields stay for another try
        dialogs.information(caption_, QStringLiteral("Data Saved."));
        // The grid then shows the purchase just saved, under the number it really got.
        txtDocNo_->setText(QString::number(saved));
        refreshGrid();
        flow().moveFocus(date_);
    });
}

void PurchaseScreen::refreshGrid() {
    run(core::ErrorKind::Show, QStringLiteral("FillGrid"), [&] {
        grid_->setRowCount(0);
        const auto date = core_ui::dateFieldValue(date_);
        const QString entryText = txtDocNo_->text().trimmed();
        std::optional<qint64> entry;
        if (!entryText.isEmpty())
            entry = static_cast<qint64>(core::val(entryText));
        QList<QStringList> rows;
        if (date) {
            for (const auto& p : store_.list(*date, dcParty_->currentText(), entry))
                rows.append({p.date.isValid() ? core::formatDate(p.date) : QString(), p.vendor,
                             p.item, plainNumber(p.qty), p.unit, plainNumber(p.rate),
                             plainNumber(p.amount), QString::number(p.autoNo)});
        }
        core_ui::fillGrid(grid_, rows);
        emptyFields();
        txtDocNo_->setText(QString::number(store_.highestEntry().value_or(0) + 1));
        frameSearch_->hide();
    });
}

void PurchaseScreen::emptyFields() {
    txtUnit_->clear();
    core_ui::setListText(itemName_, QString());
    txtQty_->clear();
    txtRate_->clear();
    txtDocNo_->clear();
    txtAmount_->clear();
    core_ui::setListText(dcParty_, QString());
    // The purchase the fields showed is no longer the one a correction rewrites;
    // an F6 pressed before choosing one still counts.
    if (cycle().hasLoaded())
        cycle().reset();
}

void PurchaseScreen::clearEntry() {
    emptyFields();
    cycle().reset();
}

QVariant PurchaseScreen::entryOfRow(int row) const {
    if (row < 0 || row >= grid_->rowCount() || !grid_->item(row, kEntryColumn))
        return {};
    const QString text = grid_->item(row, kEntryColumn)->text();
    return text.isEmpty() ? QVariant() : QVariant(text.toLongLong());
}

void PurchaseScreen::gridClicked(int row) {
    run(core::ErrorKind::Show, QStringLiteral("VsFlex_Click"), [&] {
        const QVariant key = entryOfRow(row);
        if (!key.isValid())
            return;
        const auto p = store_.purchase(key.toLongLong());
        if (!p)
            return;
        const bool correct = correcting(); // F6 may come before the click
        emptyFields();
        core_ui::setDateField(date_, p->date);
        core_ui::setListText(dcParty_, p->vendor);
        txtQty_->setText(plainNumber(p->qty));
        txtRate_->setText(plainNumber(p->rate));
        txtAmount_->setText(plainNumber(p->amount));
        txtUnit_->setText(p->unit);
        txtDocNo_->setText(QString::number(p->autoNo));
        core_ui::setListText(itemName_, p->item);
        // The entry number, not the grid cursor, decides what a correction rewrites.
        cycle().loaded(p->autoNo, correct);
    });
}

void PurchaseScreen::gridDoubleClicked(int row) {
    run(core::ErrorKind::Show, QStringLiteral("VsFlex_DblClick"), [&] {
        const QVariant key = entryOfRow(row);
        if (!key.isValid())
            return;
        if (!session_.dialogs->okCancel(QStringLiteral("Delete Entry"),
                                        QStringLiteral("Are You Sure to Delete."),
                                        core::Icon::Information))
            return;
        const QString date = grid_->item(row, 0) ? grid_->item(row, 0)->text() : QString();
        const QString vendor = grid_->item(row, 1) ? grid_->item(row, 1)->text() : QString();
        deleteEntry(caption_, key,
                    [&](const QVariant& k) { return store_.remove(k.toLongLong()); });
        // The vendor's remaining purchases of that date stay in view.
        clearEntry();
        if (core::parseDate(date))
            date_->setText(date);
        core_ui::setListText(dcParty_, vendor);
        refreshGrid();
    });
}

void PurchaseScreen::search() {
    run(core::ErrorKind::Show, QStringLiteral("CmdSearch_Click"), [&] {
        date_->setText(txtSDate_->text());
        core_ui::setListText(dcParty_, dcDataList_->currentText());
        txtDocNo_->setText(txtSearchNo_->text().trimmed());
        refreshGrid();
    });
}

} // namespace stokara::transactions
