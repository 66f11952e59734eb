#include "item_sale_screen.h"

#include "core/clock.h"
#include "core/database.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/idioms.h"
#include "core_ui/screen_support.h"
#include "core/session.h"
#include "messaging/sms_sender.h"
#include "transactions/balance.h"
#include "transactions/sale_rules.h"
#include "transactions/slip_print.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace stokara::transactions {

namespace {

using core::ErrorKind;
using sale::kCaption;
using sale::kFieldCheckTitle;

// Grid columns: header, width in twips (15 twips to a pixel on a 96 dpi screen).
struct GridColumn {
    const char* header;
    int twips;
};
constexpr GridColumn kGridColumns[9] = {
    {"Date", 1000}, {"Bill No.", 500}, {"Party", 2500},  {"Item", 2500}, {"Qty", 1000},
    {"Unit", 1000}, {"Rate", 1000},    {"Amount", 1000}, {"", 0},
};
constexpr int kAutoNoColumn = 8;

const QString kHint = QStringLiteral(
    "F1 Add New , F2 for Connect Reader, F3 for Clear , F4 for Search, F5 for Slip Print ,  F6 "
    "for Edit Entry , F7 for Bill Report");

// The busy pointer for the length of a save, restored on every way out.
class BusyPointer {
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { restore(); }
    void restore() {
        if (active_)
            QGuiApplication::restoreOverrideCursor();
        active_ = false;
    }

private:
    bool active_ = true;
};

} // namespace

ItemSaleScreen::ItemSaleScreen(core::Session& session, QWidget* parent)
    : QWidget(parent), session_(session), store_(*session.db) {
    setObjectName(QStringLiteral("FrmItemsale"));
    setWindowTitle(kCaption);
    buildControls();

    smsSender_ = new messaging::SmsSender(session_, this);
    connect(smsSender_, &messaging::SmsSender::notice, this, &ItemSaleScreen::showNotice);

    core::guarded(session_, ErrorKind::Log, kCaption, [this] { load(); });
    core_ui::onScreenLoad(this, session_);
}

ItemSaleScreen::~ItemSaleScreen() = default;

void ItemSaleScreen::buildControls() {
    auto lineEdit = [this](const char* name, int maxLength = 0) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        if (maxLength > 0)
            e->setMaxLength(maxLength);
        return e;
    };
    auto label = [this](const QString& text, const char* name = nullptr) {
        auto* l = new QLabel(text, this);
        if (name)
            l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    auto combo = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(QString::fromLatin1(name));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        return c;
    };

    text2_ = lineEdit("text2");
    billNo_ = lineEdit("TxtBillNo", sale::kBillNoWidth);
    billNo_->setEnabled(false);
    docNo_ = lineEdit("TxtDoc_no");
    docNo_->setReadOnly(true);
    docNo_->setFocusPolicy(Qt::NoFocus);
    cardNo_ = lineEdit("TxtCardNo", 20);
    partyCode_ = lineEdit("TxtPartyCode", sale::kPartyCodeWidth);
    partyName_ = combo("Dc1");
    partyName_->lineEdit()->setMaxLength(200); // cut to 40 when it is left
    milkman_ = label(QStringLiteral(" "), "LblMilkman");
    balance_ = label(QString(), "LblBalance");
    itemName_ = combo("Item_name");
    itemName_->lineEdit()->setMaxLength(sale::kItemNameWidth);
    saleAmount_ = lineEdit("TxtSaleAmount");
    qty_ = lineEdit("TxtQty");
    unit_ = lineEdit("Txtunit", sale::kUnitWidth);
    rate_ = lineEdit("txtrate");
    amount_ = lineEdit("TxtAmount");

    auto* form = new QGridLayout;
    int row = 0;
    auto put = [&](const QString& caption, QWidget* field, int column) {
        form->addWidget(label(caption), row, column);
        form->addWidget(field, row, column + 1);
    };
    put(QStringLiteral("Date"), text2_, 0);
    put(QStringLiteral("Bill No."), billNo_, 2);
    put(QStringLiteral("Entry No."), docNo_, 4);
    ++row;
    put(QStringLiteral("Card No."), cardNo_, 0);
    put(QStringLiteral("Party Code"), partyCode_, 2);
    put(QStringLiteral("Party:"), partyName_, 4);
    ++row;
    form->addWidget(milkman_, row, 0, 1, 4);
    put(QStringLiteral("Balance:"), balance_, 4);
    ++row;
    put(QStringLiteral("Item Name"), itemName_, 0);
    put(QStringLiteral("Sale Amount"), saleAmount_, 2);
    ++row;
    put(QStringLiteral("Qty"), qty_, 0);
    put(QStringLiteral("Unit"), unit_, 2);
    put(QStringLiteral("Rate"), rate_, 4);
    ++row;
    put(QStringLiteral("Amount"), amount_, 0);

    frameSave_ = new QGroupBox(QStringLiteral("More / Save "), this);
    frameSave_->setObjectName(QStringLiteral("FrameSave"));
    more_ = new QLineEdit(frameSave_);
    more_->setObjectName(QStringLiteral("TxtMore"));
    more_->setMaxLength(1);
    closeSave_ = new QPushButton(QStringLiteral("Close"), frameSave_);
    closeSave_->setObjectName(QStringLiteral("Command3"));
    // Both panels are three lines high, so the room kept for them is small.
    more_->setMaximumWidth(more_->fontMetrics().horizontalAdvance(QStringLiteral("WW")) + 16);
    auto* saveBox = new QGridLayout(frameSave_);
    saveBox->addWidget(new QLabel(QStringLiteral("More Entry"), frameSave_), 0, 0);
    saveBox->addWidget(more_, 0, 1);
    saveBox->addWidget(closeSave_, 0, 2);
    saveBox->addWidget(new QLabel(QStringLiteral("Prese Enter to More Entry"), frameSave_), 1, 0, 1,
                       3);
    saveBox->addWidget(new QLabel(QStringLiteral("Press Escape to Save"), frameSave_), 2, 0, 1, 3);
    frameSave_->hide();

    saveButton_ = new QPushButton(QStringLiteral("&Save"), this);
    saveButton_->setObjectName(QStringLiteral("Command8"));
    clearButton_ = new QPushButton(QStringLiteral("&Clear"), this);
    clearButton_->setObjectName(QStringLiteral("Command9"));

    frameSearch_ = new QGroupBox(QStringLiteral("Search"), this);
    frameSearch_->setObjectName(QStringLiteral("FrameSearch"));
    searchDate_ = new QLineEdit(frameSearch_);
    searchDate_->setObjectName(QStringLiteral("TxtSDate"));
    searchNo_ = new QLineEdit(frameSearch_);
    searchNo_->setObjectName(QStringLiteral("TxtSearchNo"));
    searchNo_->setMaxLength(sale::kBillNoWidth);
    searchParty_ = new QComboBox(frameSearch_);
    searchParty_->setObjectName(QStringLiteral("Dcdatalist"));
    searchButton_ = new QPushButton(QStringLiteral("Search"), frameSearch_);
    searchButton_->setObjectName(QStringLiteral("CmdSearch"));
    auto* searchBox = new QGridLayout(frameSearch_);
    searchBox->addWidget(new QLabel(QStringLiteral("Date"), frameSearch_), 0, 0);
    searchBox->addWidget(searchDate_, 0, 1);
    searchBox->addWidget(new QLabel(QStringLiteral("Bill No."), frameSearch_), 0, 2);
    searchBox->addWidget(searchNo_, 0, 3);
    searchBox->addWidget(new QLabel(QStringLiteral("Party"), frameSearch_), 1, 0);
    searchBox->addWidget(searchParty_, 1, 1, 1, 3);
    searchBox->addWidget(searchButton_, 2, 3);
    frameSearch_->hide();

    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("VsFlex"));
    grid_->setColumnCount(9);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList headers;
    for (int c = 0; c < 9; ++c)
        headers << QString::fromLatin1(kGridColumns[c].header);
    grid_->setHorizontalHeaderLabels(headers);
    fitGridColumns();
    grid_->setColumnHidden(kAutoNoColumn, true);
    grid_->verticalHeader()->hide();
    // Room for a few rows of the bill while a panel is open above the grid.
    grid_->setMinimumHeight(grid_->horizontalHeader()->sizeHint().height() +
                            5 * grid_->verticalHeader()->defaultSectionSize() +
                            2 * grid_->frameWidth());

    hint_ = label(kHint, "lblFieldLabel");
    notice_ = label(QString(), "LblNotice");

    // The More/Save and Search panels open beside the buttons, so the grid
    // below keeps its rows in view.
    // Their room is kept while they are hidden: opening one moves nothing.
    for (QWidget* panel :
         {static_cast<QWidget*>(frameSave_), static_cast<QWidget*>(frameSearch_)}) {
        QSizePolicy policy = panel->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        panel->setSizePolicy(policy);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveButton_, 0, Qt::AlignTop);
    buttons->addWidget(clearButton_, 0, Qt::AlignTop);
    buttons->addSpacing(24);
    buttons->addWidget(frameSave_, 0, Qt::AlignTop);
    buttons->addWidget(frameSearch_, 0, Qt::AlignTop);
    buttons->addStretch();
    auto* page = new QVBoxLayout(this);
    page->addLayout(form);
    page->addLayout(buttons);
    page->addWidget(grid_, 1);
    page->addWidget(hint_);
    page->addWidget(notice_);

    setTabOrder(text2_, billNo_);
    setTabOrder(billNo_, cardNo_);
    setTabOrder(cardNo_, partyCode_);
    setTabOrder(partyCode_, partyName_);
    setTabOrder(partyName_, itemName_);
    setTabOrder(itemName_, saleAmount_);
    setTabOrder(saleAmount_, qty_);
    setTabOrder(qty_, unit_);
    setTabOrder(unit_, rate_);
    setTabOrder(rate_, amount_);

    connect(partyCode_, &QLineEdit::textChanged, this, [this](const QString& text) {
        core::guarded(session_, ErrorKind::Log, kCaption, [&] { partyCodeChanged(text); });
    });
    connect(billNo_, &QLineEdit::textEdited, this, [this] { pendingClaim_ = false; });
    connect(partyName_->lineEdit(), &QLineEdit::textEdited, this,
            [this] { partyNameEdited_ = true; });
    connect(saveButton_, &QPushButton::clicked, this, [this] { save(); });
    connect(clearButton_, &QPushButton::clicked, this, [this] { clearClicked(); });
    connect(closeSave_, &QPushButton::clicked, frameSave_, &QWidget::hide);
    connect(searchButton_, &QPushButton::clicked, this, [this] { searchClicked(); });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int r, int) { gridClicked(r); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this,
            [this](int r, int) { gridDoubleClicked(r); });

    // The screen sees keys and leaves before its fields do.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
}

void ItemSaleScreen::load() {
    partyCategory_ = QStringLiteral("MilkMan");
    const QDate today = session_.clock->today();
    core_ui::setupDateField(text2_, today);
    core_ui::setupDateField(searchDate_, today);
    itemName_->addItems(store_.itemNames());
    itemName_->setCurrentIndex(-1);
    itemName_->setEditText(QString());
    partyName_->addItems(store_.partyNames());
    partyName_->setCurrentIndex(-1);
    partyName_->setEditText(QString());
    for (const auto& [name, code] : store_.searchParties())
        searchParty_->addItem(name, code);
    refillGrid();
}

// --- keys and leaves -------------------------------------------------------

bool ItemSaleScreen::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() >= Qt::Key_F2 && key->key() <= Qt::Key_F7 && functionKey(key->key()))
            return true;
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (w == more_ && (enter || key->key() == Qt::Key_Escape)) {
            moreKey(key->key());
            return true;
        }
        if (!enter)
            return false;
        if (w == text2_) {
            dateLeave(true);
        } else if (w == billNo_) {
            moveFocus(partyCode_);
            billNoLeave();
        } else if (w == cardNo_) {
            cardEntered();
        } else if (w == partyCode_) {
            partyCodeLeave(true);
        } else if (w == partyName_) {
            partyNameCheck(true);
        } else if (w == itemName_) {
            moveFocus(saleAmount_);
            itemLookup();
        } else if (w == saleAmount_) {
            saleAmountLeave(true);
        } else if (w == qty_) {
            qtyLeave(true);
        } else if (w == unit_) {
            moveFocus(rate_);
        } else if (w == rate_) {
            rateLeave(true);
        } else if (w == searchDate_) {
            moveFocus(searchNo_);
        } else if (w == searchNo_) {
            moveFocus(searchParty_);
        } else if (w == searchParty_) {
            searchClicked();
        } else {
            return false;
        }
        return true;
    }
    if (event->type() == QEvent::FocusIn && w == rate_) {
        rateEntered();
        return false;
    }
    if (event->type() == QEvent::FocusOut && !suppressLeave_) {
        // A message box or a popup taking the focus is not the operator leaving.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
            reason == Qt::MenuBarFocusReason)
            return false;
        if (w == text2_)
            dateLeave(false);
        else if (w == billNo_)
            billNoLeave();
        else if (w == cardNo_)
            cardEntered();
        else if (w == partyCode_)
            partyCodeLeave(false);
        else if (w == partyName_)
            partyNameCheck(false);
        else if (w == itemName_)
            itemLookup();
        else if (w == saleAmount_)
            saleAmountLeave(false);
        else if (w == qty_)
            qtyLeave(false);
        else if (w == rate_)
            rateLeave(false);
    }
    return false;
}

void ItemSaleScreen::keyPressEvent(QKeyEvent* event) {
    if (event->key() >= Qt::Key_F2 && event->key() <= Qt::Key_F7 && functionKey(event->key()))
        return;
    QWidget::keyPressEvent(event);
}

bool ItemSaleScreen::functionKey(int key) {
    bool handled = true;
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        switch (key) {
        case Qt::Key_F2:
            abandonOpenBill();
            clearEntry();
            moveFocus(text2_);
            connectReader();
            partyCategory_ = QStringLiteral("MilkMan");
            break;
        case Qt::Key_F3:
            grid_->setRowCount(0);
            abandonOpenBill();
            clearEntry();
            break;
        case Qt::Key_F4:
            frameSearch_->setVisible(frameSearch_->isHidden());
            searchFlag_ = QStringLiteral("Y");
            billNo_->setEnabled(true);
            if (frameSearch_->isVisible())
                moveFocus(searchDate_);
            break;
        case Qt::Key_F5:
            printMemo();
            break;
        case Qt::Key_F6:
            editFlag_ = QStringLiteral("Y");
            break;
        case Qt::Key_F7:
            openInvoiceBill();
            break;
        default:
            handled = false;
        }
    });
    return handled;
}

void ItemSaleScreen::moveFocus(QWidget* target) {
    if (!target)
        return;
    const bool was = suppressLeave_;
    suppressLeave_ = true;
    target->setFocus(Qt::OtherFocusReason);
    suppressLeave_ = was;
    if (auto* edit = qobject_cast<QLineEdit*>(target))
        edit->selectAll();
}

void ItemSaleScreen::dateLeave(bool enter) {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        if (!core_ui::dateFieldValue(text2_))
            core_ui::setDateField(text2_, session_.clock->today());
        if (enter)
            moveFocus(billNo_->isEnabled() ? static_cast<QWidget*>(billNo_) : partyCode_);
    });
}

void ItemSaleScreen::billNoLeave() {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        billNo_->setEnabled(false);
        refillGrid();
    });
}

bool ItemSaleScreen::billOpen() const {
    return more_->text() == QLatin1String("Y");
}

void ItemSaleScreen::allocateBillNo() {
    billNo_->setText(store_.nextBillNo());
    pendingClaim_ = true;
}

void ItemSaleScreen::partyCodeChanged(const QString& text) {
    if (text.isEmpty())
        return;
    if (searchFlag_.isEmpty() && !billOpen() && !loadingRow_)
        allocateBillNo();
    const auto party = store_.findParty(text, {QStringLiteral("MilkMan"), QStringLiteral("VLCC")});
    if (party) {
        partyName_->setEditText(party->name);
        partyNameEdited_ = false;
        milkman_->setText(party->name);
        showBalance();
    } else {
        milkman_->setText(QStringLiteral(" "));
        // A balance beside a code must be that code's.
        balance_->clear();
    }
}

void ItemSaleScreen::partyCodeLeave(bool enter) {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        const QString code = partyCode_->text();
        if (code.trimmed().isEmpty()) {
            if (enter)
                moveFocus(partyCode_);
            return;
        }
        const QStringList categories =
            partyCategory_ == QLatin1String("RetailMilk")
                ? QStringList{QStringLiteral("RetailMilk")}
                : QStringList{QStringLiteral("MilkMan"), QStringLiteral("VLCC")};
        const auto party = store_.findParty(code, categories);
        if (party) {
            partyName_->setEditText(party->name);
            partyNameEdited_ = false;
            milkman_->setText(party->name);
            if (enter)
                moveFocus(itemName_);
            return;
        }
        session_.dialogs->information(kCaption,
                                      QStringLiteral("Wrong party code. Enter Correct Code."));
        partyCode_->clear();
        milkman_->setText(QStringLiteral(" "));
        if (enter)
            moveFocus(partyCode_);
    });
}

void ItemSaleScreen::showBalance() {
    core::guarded(session_, ErrorKind::Show, QStringLiteral("ClBal"), [&] {
        const QDate date = core_ui::dateFieldValue(text2_).value_or(session_.clock->today());
        balance_->setText(balanceText(closingBalance(*session_.db, partyCode_->text(), date)));
    });
}

// F2: the first press makes the poller and starts connecting; a later one
// makes the next connect tick replace the reader with a new one.
void ItemSaleScreen::connectReader() {
    if (poller_) {
        poller_->reconnect();
        return;
    }
    poller_ = new reader::CardPoller(reader::PollSchedule::itemSale(), this, readerFactory_);
    connect(poller_, &reader::CardPoller::connected, this, [this] {
        if (windowTitle() != reader::CardPoller::kConnectedCaption)
            captionWithoutReader_ = windowTitle();
        setWindowTitle(reader::CardPoller::kConnectedCaption);
    });
    connect(poller_, &reader::CardPoller::disconnected, this, [this] {
        setWindowTitle(captionWithoutReader_.isEmpty() ? kCaption : captionWithoutReader_);
    });
    connect(poller_, &reader::CardPoller::cardPresented, this, &ItemSaleScreen::onCardPresented);
    connect(poller_, &reader::CardPoller::cardRemoved, this, &ItemSaleScreen::cardTakenAway);
    poller_->start();
}

void ItemSaleScreen::onCardPresented(const QString& cardNo) {
    polledCard_ = cardNo;
    cardNo_->setText(cardNo);
    // The reader announces each presentation once; each one is looked up, even
    // of the card looked up last.
    lastCard_.clear();
    cardEntered();
}

// The card left the reader: its number leaves the card field (a number typed
// since stays); the party it selected stays for the bill. Presenting it again
// looks it up again.
void ItemSaleScreen::cardTakenAway() {
    if (!polledCard_.isEmpty() && cardNo_->text() == polledCard_)
        cardNo_->clear();
    polledCard_.clear();
}

void ItemSaleScreen::cardEntered() {
    const reader::PollPause pause(poller_);
    core::guarded(session_, ErrorKind::Show, QStringLiteral("TxtCardNo_Change"), [&] {
        const QString card = cardNo_->text().trimmed();
        // Looked up once per card: leaving the field again asks nothing new.
        if (card.isEmpty() || card == lastCard_)
            return;
        const auto party = store_.findPartyByCard(card);
        if (party) {
            lastCard_ = card;
            partyCode_->setText(party->code);
            partyName_->setEditText(party->name);
            partyNameEdited_ = false;
            milkman_->setText(party->name);
            partyCode_->setEnabled(false);
            moveFocus(itemName_);
            return;
        }
        // Titled with the caption of the moment ("Item Sale - Reader Connected"
        // while the reader is connected).
        session_.dialogs->information(windowTitle(), QStringLiteral("Wrong Card."));
        lastCard_.clear();
        partyCode_->clear();
        cardNo_->clear();
        milkman_->setText(QStringLiteral(" "));
        partyCode_->setEnabled(true);
        moveFocus(partyCode_);
    });
}

void ItemSaleScreen::partyNameCheck(bool enter) {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        const QString name = partyName_->currentText();
        if (name.trimmed().isEmpty()) {
            session_.dialogs->critical(kFieldCheckTitle, QStringLiteral("Can't be Blank."));
            if (enter)
                moveFocus(partyName_);
            return;
        }
        const QString cut = sale::cutPartyName(name);
        if (cut != name)
            partyName_->setEditText(cut);
        if (partyNameEdited_) {
            partyNameEdited_ = false;
            if (!store_.partyNameExists(cut) &&
                session_.dialogs->yesNo(
                    kCaption,
                    QStringLiteral("\"%1\" is not a party yet. Do you want to add it as a new "
                                   "party?")
                        .arg(cut))) {
                session_.newAccountName = cut;
                if (!openScreen(QStringLiteral("masparty")))
                    session_.dialogs->information(
                        kCaption, QStringLiteral("The party master is not available here."));
                return;
            }
        }
        if (enter)
            moveFocus(itemName_);
    });
}

void ItemSaleScreen::itemLookup() {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        const auto item = store_.findItem(itemName_->currentText());
        if (!item)
            return;
        unit_->setText(item->unit);
        rate_->setText(item->rate);
    });
}

void ItemSaleScreen::saleAmountLeave(bool enter) {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        const double saleAmount = core::val(saleAmount_->text());
        const double rate = core::val(rate_->text());
        if (saleAmount > 0 && rate > 0) {
            qty_->setEnabled(false);
            rate_->setEnabled(false);
            if (sale::isNumeric(rate_->text())) {
                amount_->setText(saleAmount_->text());
                qty_->setText(sale::numberText(sale::quantityForAmount(saleAmount, rate)));
            }
            showFrameSave(enter);
            return;
        }
        qty_->setEnabled(true);
        rate_->setEnabled(true);
        if (enter)
            moveFocus(qty_);
    });
}

void ItemSaleScreen::qtyLeave(bool enter) {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        if (!sale::isNumeric(qty_->text())) {
            session_.dialogs->critical(kFieldCheckTitle, QStringLiteral("Invalid Entry."));
            return;
        }
        if (sale::isNumeric(rate_->text()))
            amount_->setText(sale::numberText(
                sale::lineAmount(core::val(qty_->text()), core::val(rate_->text()))));
        if (enter)
            moveFocus(rate_);
    });
}

void ItemSaleScreen::rateEntered() {
    if (core::val(rate_->text()) == 0.0)
        rate_->clear();
}

void ItemSaleScreen::rateLeave(bool enter) {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        if (rate_->text().trimmed().isEmpty()) {
            session_.dialogs->critical(kFieldCheckTitle, QStringLiteral("Can't be Blank."));
            return;
        }
        if (!sale::isNumeric(rate_->text())) {
            session_.dialogs->critical(kFieldCheckTitle, QStringLiteral("Invalid Entry."));
            return;
        }
        amount_->setText(
            sale::numberText(sale::lineAmount(core::val(qty_->text()), core::val(rate_->text()))));
        showFrameSave(enter);
    });
}

void ItemSaleScreen::showFrameSave(bool focus) {
    frameSave_->show();
    more_->setText(QStringLiteral("Y"));
    if (focus)
        moveFocus(more_);
}

void ItemSaleScreen::moreKey(int key) {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        if (key == Qt::Key_Escape) {
            more_->setText(QStringLiteral("N"));
        } else {
            more_->setText(more_->text().toUpper());
            if (more_->text() != QLatin1String("Y") && more_->text() != QLatin1String("N"))
                return;
        }
        save();
        frameSave_->hide();
    });
}

// --- save --------------------------------------------------------------------

void ItemSaleScreen::save() {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        sale::LineFields fields;
        fields.dateText = text2_->displayText();
        fields.rateText = rate_->text();
        fields.partyName = partyName_->currentText();
        fields.partyCode = partyCode_->text();
        fields.qtyText = qty_->text();
        fields.itemName = itemName_->currentText();
        fields.unit = unit_->text();
        fields.amountText = amount_->text();
        fields.billNo = billNo_->text();
        if (const auto problem = sale::firstSaveProblem(fields)) {
            session_.dialogs->information(kCaption, *problem);
            return;
        }
        if (sale::needsBalanceQuestion(amount_->text(), balance_->text()) &&
            !session_.dialogs->yesNo(kCaption,
                                     QStringLiteral("Account has not sufficient balance. Do you "
                                                    "want to continue anyway."),
                                     core::Icon::Information))
            return;

        SaleLine line;
        line.date = *core::parseDate(fields.dateText);
        line.billNo = billNo_->text();
        line.partyCode = partyCode_->text();
        line.itemName = itemName_->currentText();
        line.unit = unit_->text();
        line.qty = core::val(qty_->text());
        line.rate = core::val(rate_->text());
        line.amount = core::val(amount_->text());
        line.category = partyCategory_.left(sale::kCategoryWidth);

        BusyPointer busy;
        if (editFlag_.isEmpty()) {
            if (store_.duplicateCount(line.partyCode, line.itemName, line.date, line.billNo) > 0) {
                busy.restore();
                if (!session_.dialogs->okCancel(kCaption,
                                                QStringLiteral("Duplicate Entry. Add it anyway."),
                                                core::Icon::None))
                    return;
            }
            try {
                const SavedSaleLine saved = store_.insertLine(line, pendingClaim_);
                pendingClaim_ = false;
                if (saved.billNoChanged) {
                    billNo_->setText(saved.billNo);
                    busy.restore();
                    session_.dialogs->information(
                        kCaption, QStringLiteral("Bill No. %1 was taken at another counter; "
                                                 "this bill is Bill No. %2.")
                                      .arg(line.billNo, saved.billNo));
                }
            } catch (const SaleRefused& refused) {
                busy.restore();
                session_.dialogs->information(kCaption, refused.text());
                return;
            }
        } else {
            const int row = grid_->currentRow();
            QTableWidgetItem* cell = row >= 0 ? grid_->item(row, kAutoNoColumn) : nullptr;
            if (!cell || cell->text().isEmpty()) {
                busy.restore();
                session_.dialogs->information(
                    kCaption, QStringLiteral("Select the entry to correct in the grid."));
                return;
            }
            store_.updateLine(cell->text().toLongLong(), line);
        }
        busy.restore();

        const bool more = billOpen();
        if (more) {
            clearItemLine();
            moveFocus(itemName_);
            // The line just saved counts against the balance of the next one.
            showBalance();
        } else {
            finishBill();
        }
        refillGrid();
        editFlag_.clear();
        searchFlag_.clear();
        if (!more)
            moveFocus(partyCode_);
    });
}

void ItemSaleScreen::finishBill() {
    printMemo();
    sendReceipt();
    session_.dialogs->information(kCaption, QStringLiteral("Data Saved."));
}

void ItemSaleScreen::printMemo() {
    core::guarded(session_, ErrorKind::Show, QStringLiteral("SlipPrint"), [&] {
        const QString billNo = billNo_->text();
        const auto date = core_ui::dateFieldValue(text2_);
        // Nothing to print opens no print job either.
        if (!date || !store_.billHasRows(billNo, *date))
            return;
        QString pdfPath;
        std::unique_ptr<SlipCanvas> canvas =
            canvasFactory_ ? canvasFactory_(&pdfPath)
                           : openDefaultSlipCanvas(session_, &pdfPath, billNo);
        if (!canvas)
            throw std::runtime_error("No printer and no memo file could be opened.");
        const bool printed =
            slipPrint(*session_.db, session_.shop, billNo, *date, *canvas, session_.clock->now());
        // A bill whose party is gone prints nothing, and no file is left to point to.
        if (printed && !pdfPath.isEmpty())
            showNotice(QStringLiteral("No printer: the memo was saved as %1").arg(pdfPath));
    });
}

void ItemSaleScreen::sendReceipt() {
    core::guarded(session_, ErrorKind::Show, QStringLiteral("SendSMS"), [&] {
        messaging::SaleReceipt receipt;
        receipt.partyCode = partyCode_->text();
        receipt.billNo = billNo_->text();
        receipt.entryDate = core_ui::dateFieldValue(text2_).value_or(QDate());
        receipt.partyName = partyName_->currentText();
        if (receiptSender_)
            receiptSender_(receipt);
        else
            smsSender_->sendSaleReceipt(receipt);
    });
}

void ItemSaleScreen::showNotice(const QString& text) {
    // The memo's file and the SMS outcome of one bill arrive one after the
    // other; the operator must see both, so the latest few stay.
    notices_.append(text);
    while (notices_.size() > kNoticeLines)
        notices_.removeFirst();
    notice_->setText(notices_.join(QLatin1Char('\n')));
}

// --- grid, search, clear --------------------------------------------------------

void ItemSaleScreen::refillGrid() {
    core::guarded(session_, ErrorKind::Show, QStringLiteral("DesginFlex"), [&] {
        grid_->setRowCount(0);
        const auto date = core_ui::dateFieldValue(text2_);
        const std::vector<SaleGridRow> rows =
            store_.billRows(date.value_or(QDate()), billNo_->text(), partyCode_->text());
        grid_->setRowCount(static_cast<int>(rows.size()));
        for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
            const SaleGridRow& g = rows[r];
            const QString cells[9] = {g.date, g.billNo, g.partyName, g.itemName, g.qty,
                                      g.unit, g.rate,   g.amount,    g.autoNo};
            for (int c = 0; c < 9; ++c)
                grid_->setItem(r, c, new QTableWidgetItem(cells[c]));
        }
        fitGridColumns();
        if (!billOpen())
            clearEntry();
        docNo_->setText(store_.nextEntryNo());
        frameSearch_->hide();
    });
}

// The widths the bill grid has always had, widened where this screen's font
// needs more to show a heading or a cell whole (a date, a bill number).
void ItemSaleScreen::fitGridColumns() {
    for (int c = 0; c < kAutoNoColumn; ++c) {
        grid_->resizeColumnToContents(c); // heading and cells
        grid_->setColumnWidth(c, std::max(kGridColumns[c].twips / 15, grid_->columnWidth(c)));
    }
}

void ItemSaleScreen::gridClicked(int row) {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        QTableWidgetItem* cell = row >= 0 ? grid_->item(row, kAutoNoColumn) : nullptr;
        if (!cell || cell->text().isEmpty())
            return;
        const auto loaded = store_.loadLine(cell->text().toLongLong());
        if (!loaded) {
            clearEntry();
            return;
        }
        // The row stays in its own bill: loading it allocates no new number.
        loadingRow_ = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{loadingRow_};
        core_ui::setDateField(text2_, loaded->date);
        billNo_->setText(loaded->billNo);
        pendingClaim_ = false;
        partyCode_->setText(loaded->partyCode);
        rate_->setText(loaded->rate);
        qty_->setText(loaded->qty);
        amount_->setText(loaded->amount);
        unit_->setText(loaded->unit);
        docNo_->setText(loaded->autoNo);
        milkman_->setText(loaded->partyLabel);
        itemName_->setEditText(loaded->itemName);
        partyCategory_ = loaded->category;
    });
}

void ItemSaleScreen::gridDoubleClicked(int row) {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        QTableWidgetItem* cell = row >= 0 ? grid_->item(row, kAutoNoColumn) : nullptr;
        if (!cell || cell->text().isEmpty())
            return;
        const qint64 autoNo = cell->text().toLongLong();
        if (!session_.dialogs->okCancel(QStringLiteral("Delete Entry"),
                                        QStringLiteral("Are You Sure to Delete."),
                                        core::Icon::None))
            return;
        store_.deleteLine(autoNo);
        refillGrid();
    });
}

void ItemSaleScreen::searchClicked() {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        text2_->setText(searchDate_->text());
        partyCode_->setText(searchParty_->currentData().toString());
        billNo_->setText(searchNo_->text());
        pendingClaim_ = false;
        refillGrid();
    });
}

void ItemSaleScreen::clearClicked() {
    core::guarded(session_, ErrorKind::Log, kCaption, [&] {
        editFlag_.clear();
        abandonOpenBill();
        clearEntry();
    });
}

void ItemSaleScreen::abandonOpenBill() {
    // A cleared screen starts a new bill; an unfinished one is not continued
    // under the next party's code.
    more_->clear();
    frameSave_->hide();
}

void ItemSaleScreen::clearEntry() {
    clearItemLine();
    docNo_->clear();
    partyCode_->clear();
    // A card's party is released with its code, so the next customer can be
    // typed in.
    partyCode_->setEnabled(true);
    cardNo_->clear();
    lastCard_.clear();
}

void ItemSaleScreen::clearItemLine() {
    unit_->clear();
    itemName_->setCurrentIndex(-1);
    itemName_->setEditText(QString());
    qty_->clear();
    rate_->clear();
    amount_->clear();
    saleAmount_->clear();
    qty_->setEnabled(true);
    rate_->setEnabled(true);
}

// --- other screens -----------------------------------------------------------

QWidget* ItemSaleScreen::openScreen(const QString& name) {
    if (!registry_ || !registry_->has(name))
        return nullptr;
    QWidget* screen = registry_->create(name, session_);
    if (!screen)
        return nullptr;
    for (QWidget* p = parentWidget(); p; p = p->parentWidget()) {
        if (auto* mdi = qobject_cast<QMdiArea*>(p)) {
            QMdiSubWindow* sub = mdi->addSubWindow(screen);
            sub->setAttribute(Qt::WA_DeleteOnClose);
            sub->show();
            return screen;
        }
    }
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->show();
    return screen;
}

void ItemSaleScreen::openInvoiceBill() {
    QWidget* bill = openScreen(QStringLiteral("FrmBill_Invoicewise"));
    if (!bill) {
        session_.dialogs->information(
            kCaption, QStringLiteral("The invoice-wise party bill is not available yet."));
        return;
    }
    if (auto* date = bill->findChild<QLineEdit*>(QStringLiteral("text1")))
        date->setText(text2_->text());
    if (auto* number = bill->findChild<QLineEdit*>(QStringLiteral("TxtBillNo")))
        number->setText(billNo_->text());
    const QString code = partyCode_->text();
    if (auto* list = bill->findChild<QComboBox*>(QStringLiteral("DataList1"))) {
        const int i = list->findData(code);
        if (i >= 0)
            list->setCurrentIndex(i);
    } else if (auto* view = bill->findChild<QAbstractItemView*>(QStringLiteral("DataList1"))) {
        if (QAbstractItemModel* model = view->model()) {
            const QModelIndexList hits =
                model->match(model->index(0, 0), Qt::UserRole, code, 1, Qt::MatchExactly);
            if (!hits.isEmpty())
                view->setCurrentIndex(hits.first());
        }
    }
    if (auto* show = bill->findChild<QWidget*>(QStringLiteral("Command1")))
        show->setFocus(Qt::OtherFocusReason);
}

} // namespace stokara::transactions
