#include "item_sale_screen.h"

#include "core/dialogs.h"
#include "core/errors.h"
#include "core/session.h"
#include "transactions/item_sale_layout.h"
#include "transactions/sale_rules.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

// The card reader's side of the item sale screen: F2 connects it, a card held
// to it selects its party as a typed card number does.

namespace stokara::transactions {

using sale::kCaption;

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
    ui_->cardNo->setText(cardNo);
    // The reader announces each presentation once; each one is looked up, even
    // of the card looked up last.
    lastCard_.clear();
    cardEntered();
}

// The card left the reader: its number leaves the card field (a number typed
// since stays); the party it selected stays for the bill.
void ItemSaleScreen::cardTakenAway() {
    if (!polledCard_.isEmpty() && ui_->cardNo->text() == polledCard_)
        ui_->cardNo->clear();
    polledCard_.clear();
}

void ItemSaleScreen::cardEntered() {
    const reader::PollPause pause(poller_);
    run(core::ErrorKind::Show, QStringLiteral("TxtCardNo_Change"), [&] {
        const QString card = ui_->cardNo->text().trimmed();
        // Looked up once per card: leaving the field again asks nothing new.
        if (card.isEmpty() || card == lastCard_)
            return;
        if (const auto party = controller_.store().findPartyByCard(card)) {
            lastCard_ = card;
            ui_->partyCode->setText(party->code);
            showParty(party->name);
            ui_->partyCode->setEnabled(false);
            flow().moveFocus(ui_->itemName);
            return;
        }
        // Titled with the caption of the moment ("Item Sale - Reader Connected").
        session_.dialogs->information(windowTitle(), QStringLiteral("Wrong Card."));
        lastCard_.clear();
        ui_->partyCode->clear();
        ui_->cardNo->clear();
        ui_->partyLabel->setText(QStringLiteral(" "));
        ui_->partyCode->setEnabled(true);
        flow().moveFocus(ui_->partyCode);
    });
}

} // namespace stokara::transactions
