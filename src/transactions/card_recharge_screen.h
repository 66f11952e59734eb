#pragma once

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

protected:
    bool functionKey(int key) override;
    void showLoadedAccount(const StoredVoucher& voucher) override;
    void afterSave() override;
    void dateLeft() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // "TxtCardNo_Change": the card's party into the code, picker and name label.
    void lookUpCard(const QString& cardNo);
    // The party-code change handling; its failures are ignored.
    void partyCodeChanged(const QString& code);

    CardRechargeStore recharge_;
    QLineEdit* txtCardNo_;
    QLineEdit* txtPartyCode_;
    QLabel* lblMilkman_;
};

} // namespace stokara::transactions
