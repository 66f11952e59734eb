#include "card_recharge_screen.h"

#include "core/dialogs.h"
#include "core/session.h"
#include "core_ui/widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace stokara::transactions {

using core_ui::Via;

CardRechargeScreen::CardRechargeScreen(core::Session& session, QWidget* parent)
    : VoucherScreenBase(session, QStringLiteral("FrmCardRecharge"), QStringLiteral("Card Recharge"),
                        parent),
      recharge_(*session.db) {
    picker_->setObjectName(QStringLiteral("Dc1"));
    category_ = categoryName(AccountCategory::MilkMan);

    txtCardNo_ = core_ui::makeField(this, QStringLiteral("TxtCardNo"));
    txtPartyCode_ = core_ui::makeField(this, QStringLiteral("TxtPartyCode"));
    lblMilkman_ = new QLabel(this);
    lblMilkman_->setObjectName(QStringLiteral("LblMilkman"));
    lblMilkman_->setMinimumWidth(200);

    auto* fields = new QGridLayout;
    auto addRow = [&](int row, const QString& label, QWidget* field, const char* name) {
        auto* l = new QLabel(label, this);
        l->setObjectName(QString::fromLatin1(name)); // its caption in other languages
        l->setBuddy(field);
        fields->addWidget(l, row, 0);
        fields->addWidget(field, row, 1);
    };
    addRow(0, QStringLiteral("Date"), date_, "LblDate");
    addRow(1, QStringLiteral("Voucher Type"), voucherTypeList_, "LblVType");
    addRow(2, QStringLiteral("Card No."), txtCardNo_, "LblCardNo");
    addRow(3, QStringLiteral("Party Code"), txtPartyCode_, "LblCode");
    fields->addWidget(picker_, 4, 1);
    fields->addWidget(lblMilkman_, 4, 2);
    addRow(5, QStringLiteral("Amount"), txtAmount_, "LblNamt");
    addRow(6, QStringLiteral("Remark"), txtRemark_, "LblRemark");
    addRow(7, QStringLiteral("Entry No."), txtDocNo_, "LblentryNo");
    fields->addWidget(saveButton_, 8, 1, Qt::AlignLeft);

    auto* help = new QLabel(QStringLiteral("F5 Clear  F6 Edit"), this);
    help->setObjectName(QStringLiteral("LblHelp"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(help);
    layout->addWidget(grid_, 1);

    setTabOrder(date_, voucherTypeList_);
    setTabOrder(voucherTypeList_, txtCardNo_);
    setTabOrder(txtCardNo_, txtPartyCode_);
    setTabOrder(txtPartyCode_, picker_);
    setTabOrder(picker_, txtAmount_);
    setTabOrder(txtAmount_, txtRemark_);
    setTabOrder(txtRemark_, saveButton_);

    // Enter in the date: its leaving handler, then the code, or the amount when a card
    // has fixed the party (the flow passes over a disabled field).
    flowFromDate().add(txtPartyCode_).add(txtAmount_).add(txtRemark_).add(saveButton_);
    flow().watch(voucherTypeList_, [this](Via via) {
        voucherTypeLeft();
        if (via == Via::Enter)
            flow().moveFocus(picker_);
        return false;
    });
    // A typed card number is looked up when it is confirmed with Enter or the field is
    // left; looking up every keystroke would refuse the first digit as a wrong card.
    flow().watch(txtCardNo_, [this](Via via) {
        if (via == Via::Enter || txtCardNo_->isModified())
            lookUpCard(txtCardNo_->text());
        return false;
    });

    connect(txtPartyCode_, &QLineEdit::textChanged, this,
            [this](const QString& code) { partyCodeChanged(code); });

    run(core::ErrorKind::Log, caption_, [&] {
        picker_->setEntries(recharge_.milkSuppliers());
        fillGrid();
        // A recharge is a receipt unless the operator says otherwise.
        setVoucherType(QStringLiteral("Cr"));
    });
    startPolling(reader::defaultReaderFactory());
    finishSetup();
}

void CardRechargeScreen::setReaderFactory(reader::ReaderFactory factory) {
    startPolling(std::move(factory));
}

// Connects every second until a reader answers, then asks for a card every second.
void CardRechargeScreen::startPolling(reader::ReaderFactory factory) {
    if (poller_) {
        poller_->stop();
        delete poller_;
        if (windowTitle() == reader::CardPoller::kConnectedCaption)
            setWindowTitle(captionWithoutReader_);
    }
    captionWithoutReader_ = windowTitle();
    poller_ =
        new reader::CardPoller(reader::PollSchedule::cardRecharge(), this, std::move(factory));
    connect(poller_, &reader::CardPoller::connected, this, [this] {
        if (windowTitle() != reader::CardPoller::kConnectedCaption)
            captionWithoutReader_ = windowTitle();
        setWindowTitle(reader::CardPoller::kConnectedCaption);
    });
    connect(poller_, &reader::CardPoller::disconnected, this,
            [this] { setWindowTitle(captionWithoutReader_); });
    connect(poller_, &reader::CardPoller::cardPresented, this,
            &CardRechargeScreen::onCardPresented);
    connect(poller_, &reader::CardPoller::cardRemoved, this, &CardRechargeScreen::cardTakenAway);
    poller_->start();
}

void CardRechargeScreen::onCardPresented(const QString& cardNo) {
    polledCard_ = cardNo;
    txtCardNo_->setText(cardNo);
    lookUpCard(cardNo);
}

// The card left the reader: its number leaves the card field (a number typed since
// stays); the party it selected stays.
void CardRechargeScreen::cardTakenAway() {
    if (!polledCard_.isEmpty() && txtCardNo_->text() == polledCard_)
        txtCardNo_->clear();
    polledCard_.clear();
}

void CardRechargeScreen::lookUpCard(const QString& cardNo) {
    const reader::PollPause pause(poller_);
    txtCardNo_->setModified(false);
    run(core::ErrorKind::Show, QStringLiteral("TxtCardNo_Change"), [&] {
        // Typed numbers are trimmed as on the sale screen, so both find the same card.
        if (cardNo.trimmed().isEmpty())
            return;
        const auto party = recharge_.partyByCard(cardNo.trimmed());
        if (party) {
            // Move on first: leaving the date refills the grid and clears the picker,
            // which must not undo what the card fills in. (A plain focus change, so
            // that leaving runs.)
            txtAmount_->setFocus();
            const bool same = txtPartyCode_->text() == party->code;
            txtPartyCode_->setText(party->code);
            if (same) // no change event, but the picker may have been cleared since
                partyCodeChanged(party->code);
            picker_->setShownText(party->name);
            lblMilkman_->setText(party->name);
            txtPartyCode_->setEnabled(false);
            return;
        }
        session_.dialogs->information(windowTitle(), QStringLiteral("Wrong Card."));
        // The previous party's choice goes too: a Save now must not credit them.
        picker_->clearChoice();
        txtPartyCode_->clear();
        txtCardNo_->clear();
        lblMilkman_->setText(QStringLiteral(" "));
        txtPartyCode_->setEnabled(true);
        txtPartyCode_->setFocus();
    });
}

void CardRechargeScreen::partyCodeChanged(const QString& code) {
    try {
        if (code.isEmpty())
            return;
        const auto party = recharge_.partyByCode(code);
        if (party) {
            picker_->setBoundValue(party->code);
            lblMilkman_->setText(party->name);
        } else {
            lblMilkman_->setText(QStringLiteral(" "));
            // The party chosen before is not this code's: a Save must not credit it.
            picker_->clearChoice();
        }
    } catch (...) {
        // A failing look-up while typing a code is not worth a message.
    }
}

bool CardRechargeScreen::functionKey(int key) {
    // F3 clears as F5 does; no key switches the list here.
    return voucherKey(key == Qt::Key_F3 ? Qt::Key_F5 : key);
}

void CardRechargeScreen::showLoadedAccount(const StoredVoucher& voucher) {
    picker_->setBoundValue(voucher.partyCode);
}

void CardRechargeScreen::afterSave() {
    flow().moveFocus(voucherTypeList_);
    setVoucherType(QStringLiteral("Cr"));
}

void CardRechargeScreen::dateLeft() {
    fillGrid();
    setVoucherType(QStringLiteral("Cr"));
}

} // namespace stokara::transactions
