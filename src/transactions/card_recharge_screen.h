#pragma once

#include "reader/card_poller.h"
#include "transactions/card_recharge_store.h"
#include "transactions/day_book_voucher_screen.h"

class QLabel;

namespace stokara::transactions {

// "Card Recharge": a receipt voucher ("Cr", category "MilkMan") for a milk supplier
// found by card, by code or from the list.
class CardRechargeScreen : public VoucherScreenBase {
    Q_OBJECT
public:
    explicit CardRechargeScreen(core::Session& session, QWidget* parent = nullptr);

    // A card number read by the reader (or typed and confirmed): shows it and looks
    // up its party.
    void onCardPresented(const QString& cardNo);

    // The screen polls the card reader from its opening; this replaces the poller with
    // one over other readers (tests give a simulated module) and starts it.
    void setReaderFactory(reader::ReaderFactory factory);
    reader::CardPoller* cardPoller() const { return poller_; }

protected:
    bool functionKey(int key) override;
    void showLoadedAccount(const StoredVoucher& voucher) override;
    void afterSave() override;
    void dateLeft() override;

private:
    // "TxtCardNo_Change": the card's party into the code, picker and name label.
    void lookUpCard(const QString& cardNo);
    // The party-code change handling; its failures are ignored.
    void partyCodeChanged(const QString& code);
    void startPolling(reader::ReaderFactory factory);
    void cardTakenAway();

    CardRechargeStore recharge_;
    QLineEdit* txtCardNo_;
    QLineEdit* txtPartyCode_;
    QLabel* lblMilkman_;
    reader::CardPoller* poller_ = nullptr;
    // The card the reader last put into the card field, and the caption to go back to
    // when the reader goes away.
    QString polledCard_;
    QString captionWithoutReader_;
};

} // namespace stokara::transactions
