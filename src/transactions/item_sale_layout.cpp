#include "transactions/item_sale_layout.h"

#include "transactions/sale_bill_model.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace stokara::transactions {

namespace {

// The grid's usual column widths in twips (15 to a pixel on a 96 dpi screen).
constexpr int kColumnTwips[SaleBillModel::kEntryColumn] = {1000, 500,  2500, 2500,
                                                           1000, 1000, 1000, 1000};

const QString kHint = QStringLiteral(
    "F1 Add New , F2 for Connect Reader, F3 for Clear , F4 for Search, F5 for Slip Print ,  F6 "
    "for Edit Entry , F7 for Bill Report");

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength = 0) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    return e;
}

QComboBox* combo(QWidget* parent, const char* name, bool editable = true) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(editable);
    if (editable)
        c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}

QLabel* label(QWidget* parent, const QString& text, const char* name = nullptr) {
    auto* l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

ItemSaleLayout::ItemSaleLayout(QWidget* screen, const sale::LineWidths& widths,
                               QAbstractItemModel* model) {
    date = lineEdit(screen, "text2");
    billNo = lineEdit(screen, "TxtBillNo", widths.billNo);
    billNo->setEnabled(false);
    entryNo = lineEdit(screen, "TxtDoc_no");
    entryNo->setReadOnly(true);
    entryNo->setFocusPolicy(Qt::NoFocus);
    cardNo = lineEdit(screen, "TxtCardNo", 20);
    partyCode = lineEdit(screen, "TxtPartyCode", widths.partyCode);
    partyName = combo(screen, "Dc1");
    partyName->lineEdit()->setMaxLength(200); // cut to 40 when it is left
    partyLabel = label(screen, QStringLiteral(" "), "LblMilkman");
    balance = label(screen, QString(), "LblBalance");
    itemName = combo(screen, "Item_name");
    itemName->lineEdit()->setMaxLength(widths.itemName > 0 ? widths.itemName : 32767);
    saleAmount = lineEdit(screen, "TxtSaleAmount");
    qty = lineEdit(screen, "TxtQty");
    unit = lineEdit(screen, "Txtunit", widths.unit);
    rate = lineEdit(screen, "txtrate");
    amount = lineEdit(screen, "TxtAmount");

    auto* form = new QGridLayout;
    int row = 0;
    // A label's name is the one its caption in another language is kept under.
    auto put = [&](const QString& caption, QWidget* field, int column, const char* name = nullptr) {
        QLabel* l = label(screen, caption, name);
        l->setBuddy(field);
        form->addWidget(l, row, column);
        form->addWidget(field, row, column + 1);
    };
    put(QStringLiteral("Date"), date, 0, "LblDate");
    put(QStringLiteral("Bill No."), billNo, 2);
    put(QStringLiteral("Entry No."), entryNo, 4, "LblentryNo");
    ++row;
    put(QStringLiteral("Card No."), cardNo, 0);
    put(QStringLiteral("Party Code"), partyCode, 2, "LblCode");
    put(QStringLiteral("Party:"), partyName, 4, "lblname");
    ++row;
    form->addWidget(partyLabel, row, 0, 1, 4);
    put(QStringLiteral("Balance:"), balance, 4);
    ++row;
    put(QStringLiteral("Item Name"), itemName, 0, "lblitemname");
    put(QStringLiteral("Sale Amount"), saleAmount, 2);
    ++row;
    put(QStringLiteral("Qty"), qty, 0, "lblqty");
    put(QStringLiteral("Unit"), unit, 2, "lblunit");
    put(QStringLiteral("Rate"), rate, 4, "lblrate");
    ++row;
    put(QStringLiteral("Amount"), amount, 0, "LblNamt");
    // Larger captions in another language widen the screen, not squeeze the fields.
    for (int column : {1, 3, 5})
        form->setColumnMinimumWidth(column, 170);

    savePanel = new QGroupBox(QStringLiteral("More / Save "), screen);
    savePanel->setObjectName(QStringLiteral("FrameSave"));
    more = lineEdit(savePanel, "TxtMore", 1);
    closeSave = new QPushButton(QStringLiteral("Close"), savePanel);
    closeSave->setObjectName(QStringLiteral("Command3"));
    // Both panels are three lines high, so the room kept for them is small.
    more->setMaximumWidth(more->fontMetrics().horizontalAdvance(QStringLiteral("WW")) + 16);
    auto* saveBox = new QGridLayout(savePanel);
    saveBox->addWidget(label(savePanel, QStringLiteral("More Entry")), 0, 0);
    saveBox->addWidget(more, 0, 1);
    saveBox->addWidget(closeSave, 0, 2);
    saveBox->addWidget(label(savePanel, QStringLiteral("Prese Enter to More Entry")), 1, 0, 1, 3);
    saveBox->addWidget(label(savePanel, QStringLiteral("Press Escape to Save")), 2, 0, 1, 3);
    savePanel->hide();

    save = new QPushButton(QStringLiteral("&Save"), screen);
    save->setObjectName(QStringLiteral("Command8"));
    clear = new QPushButton(QStringLiteral("&Clear"), screen);
    clear->setObjectName(QStringLiteral("Command9"));

    searchPanel = new QGroupBox(QStringLiteral("Search"), screen);
    searchPanel->setObjectName(QStringLiteral("FrameSearch"));
    searchDate = lineEdit(searchPanel, "TxtSDate");
    searchNo = lineEdit(searchPanel, "TxtSearchNo", widths.billNo);
    searchParty = combo(searchPanel, "Dcdatalist", false);
    search = new QPushButton(QStringLiteral("Search"), searchPanel);
    search->setObjectName(QStringLiteral("CmdSearch"));
    auto* searchBox = new QGridLayout(searchPanel);
    searchBox->addWidget(label(searchPanel, QStringLiteral("Date")), 0, 0);
    searchBox->addWidget(searchDate, 0, 1);
    searchBox->addWidget(label(searchPanel, QStringLiteral("Bill No.")), 0, 2);
    searchBox->addWidget(searchNo, 0, 3);
    searchBox->addWidget(label(searchPanel, QStringLiteral("Party")), 1, 0);
    searchBox->addWidget(searchParty, 1, 1, 1, 3);
    searchBox->addWidget(search, 2, 3);
    searchPanel->hide();

    grid = new QTableView(screen);
    grid->setObjectName(QStringLiteral("VsFlex"));
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setColumnHidden(SaleBillModel::kEntryColumn, true);
    grid->verticalHeader()->hide();
    fitGridColumns();
    // Room for a few rows of the bill while a panel is open above the grid.
    grid->setMinimumHeight(grid->horizontalHeader()->sizeHint().height() +
                           5 * grid->verticalHeader()->defaultSectionSize() +
                           2 * grid->frameWidth());

    hint = label(screen, kHint, "lblFieldLabel");
    notice = label(screen, QString(), "LblNotice");

    // The More/Save and Search panels open beside the buttons, so the grid
    // below keeps its rows in view; their room is kept while they are hidden.
    for (QWidget* panel : {static_cast<QWidget*>(savePanel), static_cast<QWidget*>(searchPanel)}) {
        QSizePolicy policy = panel->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        panel->setSizePolicy(policy);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save, 0, Qt::AlignTop);
    buttons->addWidget(clear, 0, Qt::AlignTop);
    buttons->addSpacing(24);
    buttons->addWidget(savePanel, 0, Qt::AlignTop);
    buttons->addWidget(searchPanel, 0, Qt::AlignTop);
    buttons->addStretch();
    auto* page = new QVBoxLayout(screen);
    page->addLayout(form);
    page->addLayout(buttons);
    page->addWidget(grid, 1);
    page->addWidget(hint);
    page->addWidget(notice);

    QWidget* order[] = {date,       billNo, cardNo, partyCode, partyName, itemName,
                        saleAmount, qty,    unit,   rate,      amount};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void ItemSaleLayout::fitGridColumns() {
    for (int c = 0; c < SaleBillModel::kEntryColumn; ++c) {
        grid->resizeColumnToContents(c); // heading and cells
        grid->setColumnWidth(c, std::max(kColumnTwips[c] / 15, grid->columnWidth(c)));
    }
}

} // namespace stokara::transactions
