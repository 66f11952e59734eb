#include "item_sale_screen.h"

#include "core/clock.h"
#include "core/database.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/idioms.h"
#include "core/navigator.h"
#include "core/session.h"
#include "core_ui/screen_support.h"
#include "schema/column_widths.h"
#include "transactions/balance.h"
#include "transactions/item_sale_layout.h"
#include "transactions/sale_rules.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace stokara::transactions {

namespace {

using core::ErrorKind;
using core_ui::Via;
using sale::kCaption;
using sale::kFieldCheckTitle;

} // namespace

ItemSaleScreen::ItemSaleScreen(core::Session& session, std::unique_ptr<BillFinishing> finishing,
                               QWidget* parent)
    : core_ui::EntryScreen(session, QStringLiteral("FrmItemsale"), kCaption, parent),
      finishing_(std::move(finishing)), controller_(session, finishing_.get()),
      ui_(std::make_unique<ItemSaleLayout>(this, controller_.widths(), &controller_.grid())) {
    partyNameWidth_ = schema::ColumnWidths(*session.db)
                          .width(QStringLiteral("masparty"), QStringLiteral("party_name"));
    controller_.setNoticeSink([this](const QString& text) { showNotice(text); });
    setKeyErrorReport(ErrorKind::Log, kCaption);
    setUpFlow();
    run(ErrorKind::Log, kCaption, [this] { load(); });
    finishSetup();
    // The balance label shows a figure, never a caption: a caption language
    // gives it only its font.
    ui_->balance->clear();
}

ItemSaleScreen::~ItemSaleScreen() {
    // Notices of receipts still on their way have no screen to go to.
    controller_.setNoticeSink({});
}

void ItemSaleScreen::setUpFlow() {
    auto guardedField = [this](std::function<bool(Via)> handler) {
        return [this, handler](Via via) {
            bool next = false;
            run(ErrorKind::Log, kCaption, [&] { next = handler(via); });
            return next;
        };
    };
    ItemSaleLayout& u = *ui_;
    flow()
        .add(u.date, guardedField([this](Via v) { return dateLeave(v); }))
        .add(u.billNo, guardedField([this](Via v) {
                 if (v == Via::Enter)
                     flow().moveFocus(ui_->partyCode);
                 billNoLeave();
                 return false;
             }))
        .add(u.cardNo,
             [this](Via) {
                 cardEntered();
                 return false;
             })
        .add(u.partyCode, guardedField([this](Via v) { return partyCodeLeave(v); }))
        .add(u.partyName, guardedField([this](Via v) { return partyNameCheck(v); }))
        .add(u.itemName, guardedField([this](Via v) {
                 if (v == Via::Enter)
                     flow().moveFocus(ui_->saleAmount);
                 itemLookup();
                 return false;
             }))
        .add(u.saleAmount, guardedField([this](Via v) { return saleAmountLeave(v); }))
        .add(u.qty, guardedField([this](Via v) { return qtyLeave(v); }))
        .add(u.unit)
        .add(u.rate, guardedField([this](Via v) { return rateLeave(v); }))
        .onEntering(u.rate,
                    [this] {
                        if (core::val(ui_->rate->text()) == 0.0)
                            ui_->rate->clear();
                    })
        .onKey(u.more, [this](int key) { return moreKey(key); })
        .watch(u.searchDate,
               [this](Via v) {
                   if (v == Via::Enter)
                       flow().moveFocus(ui_->searchNo);
                   return false;
               })
        .watch(u.searchNo,
               [this](Via v) {
                   if (v == Via::Enter)
                       flow().moveFocus(ui_->searchParty);
                   return false;
               })
        .watch(u.searchParty, [this](Via v) {
            if (v == Via::Enter)
                searchClicked();
            return false;
        });

    connect(u.partyCode, &QLineEdit::textChanged, this, [this](const QString& text) {
        run(ErrorKind::Log, kCaption, [&] { partyCodeChanged(text); });
    });
    connect(u.billNo, &QLineEdit::textEdited, this,
            [this](const QString& text) { controller_.setBillNo(text); });
    connect(u.partyName->lineEdit(), &QLineEdit::textEdited, this,
            [this] { partyNameEdited_ = true; });
    connect(u.save, &QPushButton::clicked, this, [this] { save(); });
    connect(u.clear, &QPushButton::clicked, this, [this] { clearClicked(); });
    connect(u.closeSave, &QPushButton::clicked, u.savePanel, &QWidget::hide);
    connect(u.search, &QPushButton::clicked, this, [this] { searchClicked(); });
    connect(u.grid, &QTableView::clicked, this,
            [this](const QModelIndex& index) { gridClicked(index.row()); });
    connect(u.grid, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { gridDoubleClicked(index.row()); });
}

void ItemSaleScreen::load() {
    controller_.resetCategory();
    const QDate today = session_.clock->today();
    core_ui::setupDateField(ui_->date, today);
    core_ui::setupDateField(ui_->searchDate, today);
    SaleStore& store = controller_.store();
    ui_->itemName->addItems(store.itemNames());
    ui_->itemName->setCurrentIndex(-1);
    ui_->itemName->setEditText(QString());
    ui_->partyName->addItems(store.partyNames());
    ui_->partyName->setCurrentIndex(-1);
    ui_->partyName->setEditText(QString());
    for (const auto& [name, code] : store.searchParties())
        ui_->searchParty->addItem(name, code);
    refreshGrid();
}

// --- keys and fields ---------------------------------------------------------

bool ItemSaleScreen::functionKey(int key) {
    switch (key) {
    case Qt::Key_F2:
        leaveBill();
        clearEntry();
        flow().moveFocus(ui_->date);
        connectReader();
        controller_.resetCategory();
        return true;
    case Qt::Key_F3:
        leaveBill();
        controller_.grid().clear();
        clearEntry();
        startAgain();
        return true;
    case Qt::Key_F4:
        ui_->searchPanel->setVisible(ui_->searchPanel->isHidden());
        controller_.setSearching(true);
        ui_->billNo->setEnabled(true);
        if (ui_->searchPanel->isVisible())
            flow().moveFocus(ui_->searchDate);
        return true;
    case Qt::Key_F5:
        controller_.reprint(billOnScreen());
        return true;
    case Qt::Key_F6:
        controller_.startCorrection();
        return true;
    case Qt::Key_F7:
        openInvoiceBill();
        return true;
    default:
        return false;
    }
}

bool ItemSaleScreen::dateLeave(Via via) {
    if (!core_ui::dateFieldValue(ui_->date))
        core_ui::setDateField(ui_->date, session_.clock->today());
    if (via == Via::Enter)
        flow().moveFocus(ui_->billNo->isEnabled() ? static_cast<QWidget*>(ui_->billNo)
                                                  : ui_->partyCode);
    return false;
}

void ItemSaleScreen::billNoLeave() {
    ui_->billNo->setEnabled(false);
    refreshGrid();
}

void ItemSaleScreen::partyCodeChanged(const QString& text) {
    if (text.isEmpty())
        return;
    if (!loadingRow_) {
        controller_.partyEntered();
        ui_->billNo->setText(controller_.billNo());
    }
    const auto party =
        controller_.store().findParty(text, {QStringLiteral("MilkMan"), QStringLiteral("VLCC")});
    if (party) {
        showParty(party->name);
        showBalance();
    } else {
        ui_->partyLabel->setText(QStringLiteral(" "));
        // A balance beside a code must be that code's.
        ui_->balance->clear();
    }
}

void ItemSaleScreen::showParty(const QString& name) {
    ui_->partyName->setEditText(name);
    partyNameEdited_ = false;
    ui_->partyLabel->setText(name);
}

bool ItemSaleScreen::partyCodeLeave(Via via) {
    const bool enter = via == Via::Enter;
    const QString code = ui_->partyCode->text();
    if (code.trimmed().isEmpty()) {
        if (enter)
            flow().moveFocus(ui_->partyCode);
        return false;
    }
    const QStringList categories =
        controller_.category() == QLatin1String("RetailMilk")
            ? QStringList{QStringLiteral("RetailMilk")}
            : QStringList{QStringLiteral("MilkMan"), QStringLiteral("VLCC")};
    if (const auto party = controller_.store().findParty(code, categories)) {
        showParty(party->name);
        if (enter)
            flow().moveFocus(ui_->itemName);
        return false;
    }
    session_.dialogs->information(kCaption,
                                  QStringLiteral("Wrong party code. Enter Correct Code."));
    ui_->partyCode->clear();
    ui_->partyLabel->setText(QStringLiteral(" "));
    if (enter)
        flow().moveFocus(ui_->partyCode);
    return false;
}

void ItemSaleScreen::showBalance() {
    run(ErrorKind::Show, QStringLiteral("ClBal"), [&] {
        const QDate date = core_ui::dateFieldValue(ui_->date).value_or(session_.clock->today());
        ui_->balance->setText(
            balanceText(closingBalance(*session_.db, ui_->partyCode->text(), date)));
    });
}

bool ItemSaleScreen::partyNameCheck(Via via) {
    const QString name = ui_->partyName->currentText();
    if (name.trimmed().isEmpty()) {
        session_.dialogs->critical(kFieldCheckTitle, QStringLiteral("Can't be Blank."));
        if (via == Via::Enter)
            flow().moveFocus(ui_->partyName);
        return false;
    }
    const QString cut = partyNameWidth_ > 0 ? name.left(partyNameWidth_) : name;
    if (cut != name)
        ui_->partyName->setEditText(cut);
    if (partyNameEdited_) {
        partyNameEdited_ = false;
        if (!controller_.store().partyNameExists(cut) &&
            session_.dialogs->yesNo(kCaption, QStringLiteral("\"%1\" is not a party yet. Do you "
                                                             "want to add it as a new party?")
                                                  .arg(cut))) {
            if (!session_.navigator || !session_.navigator->openNewParty(cut))
                session_.dialogs->information(
                    kCaption, QStringLiteral("The party master is not available here."));
            return false;
        }
    }
    if (via == Via::Enter)
        flow().moveFocus(ui_->itemName);
    return false;
}

void ItemSaleScreen::itemLookup() {
    const auto item = controller_.store().findItem(ui_->itemName->currentText());
    if (!item)
        return;
    ui_->unit->setText(item->unit);
    ui_->rate->setText(item->rate);
}

// A quantity, rate or amount must be a number above 0: returns are not part
// of this program.
bool ItemSaleScreen::fieldCheck(QWidget* field, bool ok, const QString& message) {
    if (ok)
        return true;
    session_.dialogs->critical(kFieldCheckTitle, message);
    flow().moveFocus(field);
    return false;
}

bool ItemSaleScreen::saleAmountLeave(Via via) {
    const QString typed = ui_->saleAmount->text();
    if (!typed.trimmed().isEmpty() &&
        !fieldCheck(ui_->saleAmount, core::positiveNumber(typed).has_value(),
                    QStringLiteral("Invalid Entry.")))
        return false;
    const auto saleAmount = core::positiveNumber(typed);
    const auto rate = core::positiveNumber(ui_->rate->text());
    if (saleAmount && rate) {
        ui_->qty->setEnabled(false);
        ui_->rate->setEnabled(false);
        ui_->amount->setText(typed.trimmed());
        ui_->qty->setText(sale::numberText(sale::quantityForAmount(*saleAmount, *rate)));
        showSavePanel(via == Via::Enter);
        return false;
    }
    ui_->qty->setEnabled(true);
    ui_->rate->setEnabled(true);
    if (via == Via::Enter)
        flow().moveFocus(ui_->qty);
    return false;
}

bool ItemSaleScreen::qtyLeave(Via via) {
    const auto qty = core::positiveNumber(ui_->qty->text());
    if (!fieldCheck(ui_->qty, qty.has_value(), QStringLiteral("Invalid Entry.")))
        return false;
    if (const auto rate = core::positiveNumber(ui_->rate->text()))
        ui_->amount->setText(sale::numberText(sale::lineAmount(*qty, *rate)));
    if (via == Via::Enter)
        flow().moveFocus(ui_->rate);
    return false;
}

bool ItemSaleScreen::rateLeave(Via via) {
    if (ui_->rate->text().trimmed().isEmpty()) {
        session_.dialogs->critical(kFieldCheckTitle, QStringLiteral("Can't be Blank."));
        return false;
    }
    const auto rate = core::positiveNumber(ui_->rate->text());
    if (!fieldCheck(ui_->rate, rate.has_value(), QStringLiteral("Invalid Entry.")))
        return false;
    ui_->amount->setText(sale::numberText(sale::lineAmount(core::val(ui_->qty->text()), *rate)));
    showSavePanel(via == Via::Enter);
    return false;
}

void ItemSaleScreen::showSavePanel(bool focus) {
    ui_->savePanel->show();
    ui_->more->setText(QStringLiteral("Y"));
    if (focus)
        flow().moveFocus(ui_->more);
}

bool ItemSaleScreen::moreKey(int key) {
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter && key != Qt::Key_Escape)
        return false;
    run(ErrorKind::Log, kCaption, [&] {
        if (key == Qt::Key_Escape) {
            ui_->more->setText(QStringLiteral("N"));
        } else {
            ui_->more->setText(ui_->more->text().toUpper());
            if (ui_->more->text() != QLatin1String("Y") && ui_->more->text() != QLatin1String("N"))
                return;
        }
        save();
        ui_->savePanel->hide();
    });
    return true;
}

// --- save --------------------------------------------------------------------

void ItemSaleScreen::save() {
    run(ErrorKind::Log, kCaption, [&] {
        SaleInput in;
        in.dateText = ui_->date->displayText();
        in.partyCode = ui_->partyCode->text();
        in.partyName = ui_->partyName->currentText();
        in.itemName = ui_->itemName->currentText();
        in.unit = ui_->unit->text();
        in.qtyText = ui_->qty->text();
        in.rateText = ui_->rate->text();
        in.amountText = ui_->amount->text();
        const bool more = ui_->more->text() == QLatin1String("Y");

        const SaleController::SaveResult result = controller_.save(in, more);
        ui_->billNo->setText(controller_.billNo());
        switch (result.saved) {
        case SaleController::Saved::Refused:
            refuse(kCaption, result.problem);
            return;
        case SaleController::Saved::NotWritten:
            return;
        case SaleController::Saved::LineSaved:
            clearItemLine();
            refreshGrid();
            flow().moveFocus(ui_->itemName);
            // The line just saved counts against the balance of the next one.
            showBalance();
            return;
        case SaleController::Saved::BillFinished:
            ui_->more->clear();
            refreshGrid();
            flow().moveFocus(ui_->partyCode);
            return;
        }
    });
}

FinishedBill ItemSaleScreen::billOnScreen() const {
    return {core_ui::dateFieldValue(ui_->date).value_or(QDate()), ui_->billNo->text(),
            ui_->partyCode->text(), ui_->partyName->currentText(), controller_.category()};
}

void ItemSaleScreen::showNotice(const QString& text) {
    ui_->notice->setText(text);
}

// --- grid, search, clear --------------------------------------------------------

void ItemSaleScreen::refreshGrid() {
    run(ErrorKind::Show, QStringLiteral("DesginFlex"), [&] {
        const auto date = core_ui::dateFieldValue(ui_->date);
        controller_.refreshGrid(date.value_or(QDate()), ui_->partyCode->text());
        ui_->fitGridColumns();
        if (controller_.state() != SaleState::OpenBill)
            clearEntry();
        ui_->entryNo->setText(controller_.store().nextEntryNo());
        ui_->searchPanel->hide();
    });
}

void ItemSaleScreen::gridClicked(int row) {
    run(ErrorKind::Log, kCaption, [&] {
        const qint64 entryNo = controller_.grid().entryNo(row);
        if (entryNo == 0)
            return;
        const auto loaded = controller_.load(entryNo);
        if (!loaded) {
            clearEntry();
            return;
        }
        loadingRow_ = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{loadingRow_};
        core_ui::setDateField(ui_->date, loaded->date);
        ui_->billNo->setText(loaded->billNo);
        ui_->partyCode->setText(loaded->partyCode);
        ui_->rate->setText(loaded->rate);
        ui_->qty->setText(loaded->qty);
        ui_->amount->setText(loaded->amount);
        ui_->unit->setText(loaded->unit);
        ui_->entryNo->setText(loaded->autoNo);
        ui_->partyLabel->setText(loaded->partyLabel);
        ui_->itemName->setEditText(loaded->itemName);
    });
}

void ItemSaleScreen::gridDoubleClicked(int row) {
    run(ErrorKind::Log, kCaption, [&] {
        const qint64 entryNo = controller_.grid().entryNo(row);
        if (entryNo == 0 || !session_.dialogs->okCancel(QStringLiteral("Delete Entry"),
                                                        QStringLiteral("Are You Sure to Delete."),
                                                        core::Icon::None))
            return;
        controller_.remove(entryNo);
        refreshGrid();
    });
}

void ItemSaleScreen::searchClicked() {
    run(ErrorKind::Log, kCaption, [&] {
        ui_->date->setText(ui_->searchDate->text());
        ui_->partyCode->setText(ui_->searchParty->currentData().toString());
        ui_->billNo->setText(ui_->searchNo->text());
        controller_.setBillNo(ui_->searchNo->text());
        refreshGrid();
    });
}

void ItemSaleScreen::clearClicked() {
    run(ErrorKind::Log, kCaption, [&] {
        leaveBill();
        clearEntry();
        startAgain();
    });
}

// A cleared entry starts at the party code. The field that had the cursor is
// empty now: its leaving check must not complain about what Clear emptied.
void ItemSaleScreen::startAgain() {
    flow().moveFocus(ui_->partyCode->isEnabled() ? ui_->partyCode : ui_->cardNo);
}

// A cleared screen starts a new bill; an open one is offered to be finished
// first, not continued under the next party's code.
void ItemSaleScreen::leaveBill() {
    ui_->more->clear();
    ui_->savePanel->hide();
    controller_.leaveBill();
}

void ItemSaleScreen::clearEntry() {
    clearItemLine();
    ui_->entryNo->clear();
    ui_->partyCode->clear();
    // The party leaves with its code: no name or balance of a bill that is over.
    ui_->partyName->setCurrentIndex(-1);
    ui_->partyName->setEditText(QString());
    ui_->partyLabel->setText(QStringLiteral(" "));
    ui_->balance->clear();
    // A card's party is released with its code, so the next customer can be typed in.
    ui_->partyCode->setEnabled(true);
    ui_->cardNo->clear();
    lastCard_.clear();
}

void ItemSaleScreen::clearItemLine() {
    ui_->unit->clear();
    ui_->itemName->setCurrentIndex(-1);
    ui_->itemName->setEditText(QString());
    ui_->qty->clear();
    ui_->rate->clear();
    ui_->amount->clear();
    ui_->saleAmount->clear();
    ui_->qty->setEnabled(true);
    ui_->rate->setEnabled(true);
}

void ItemSaleScreen::closeEvent(QCloseEvent* event) {
    run(ErrorKind::Log, kCaption, [&] { leaveBill(); });
    event->accept();
}

// --- other screens -----------------------------------------------------------

void ItemSaleScreen::openInvoiceBill() {
    core::InvoiceBillRequest request{core_ui::dateFieldValue(ui_->date).value_or(QDate()),
                                     ui_->billNo->text(), ui_->partyCode->text(),
                                     controller_.category()};
    if (!session_.navigator || !session_.navigator->openInvoiceBill(request))
        session_.dialogs->information(
            kCaption, QStringLiteral("The invoice-wise party bill is not available yet."));
}

} // namespace stokara::transactions
