#pragma once

#include "core_ui/entry_screen.h"
#include "reader/card_poller.h"
#include "transactions/sale_controller.h"
#include "transactions/sale_finishing.h"

#include <QString>

#include <memory>

class QCloseEvent;

namespace stokara::transactions {

struct ItemSaleLayout;

// "Item Sale": bills of one or more items for a party, with the party's
// balance, the cash/credit memo and the SMS receipt at the end of each bill.
// The screen carries the keys and fields; SaleController keeps the state.
class ItemSaleScreen : public core_ui::EntryScreen {
    Q_OBJECT
public:
    // `finishing` prints the memo and sends the receipt of each finished bill
    // (none: nothing is printed or sent).
    explicit ItemSaleScreen(core::Session& session,
                            std::unique_ptr<BillFinishing> finishing = nullptr,
                            QWidget* parent = nullptr);
    ~ItemSaleScreen() override;

    SaleController& controller() { return controller_; }

    // A card held to the reader: the same lookup as a card number typed into
    // the card field, once per presentation.
    void onCardPresented(const QString& cardNo);

    // The readers F2 connects; by default the USB module (or the simulated one
    // when STOKARA_READER=simulated). Set it before the first F2.
    void setReaderFactory(reader::ReaderFactory factory) { readerFactory_ = std::move(factory); }
    // The card poller, made by the first F2; null before.
    reader::CardPoller* cardPoller() const { return poller_; }

public slots:
    // The status line under the grid shows the latest line for the operator
    // (SMS not delivered, memo written as a PDF).
    void showNotice(const QString& text);

protected:
    bool functionKey(int key) override;
    // A bill left open is offered to be finished before the screen closes.
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpFlow();
    void load();

    bool dateLeave(core_ui::Via via);
    void billNoLeave();
    void partyCodeChanged(const QString& text);
    bool partyCodeLeave(core_ui::Via via);
    void cardEntered();
    void connectReader();
    void cardTakenAway();
    bool partyNameCheck(core_ui::Via via);
    void itemLookup();
    bool saleAmountLeave(core_ui::Via via);
    bool qtyLeave(core_ui::Via via);
    bool rateLeave(core_ui::Via via);
    bool moreKey(int key);

    void save();
    void clearClicked();
    void searchClicked();
    void gridClicked(int row);
    void gridDoubleClicked(int row);
    void openInvoiceBill();

    void showParty(const QString& name);
    void showBalance();
    void refreshGrid();
    void clearEntry();
    void startAgain();
    void clearItemLine();
    void leaveBill();
    void showSavePanel(bool focus);
    FinishedBill billOnScreen() const;
    bool fieldCheck(QWidget* field, bool ok, const QString& message);

    std::unique_ptr<BillFinishing> finishing_;
    SaleController controller_;
    std::unique_ptr<ItemSaleLayout> ui_;
    int partyNameWidth_ = 0;

    // Filling the fields from a grid row is not the operator typing a party code.
    bool loadingRow_ = false;
    bool partyNameEdited_ = false;
    QString lastCard_;
    reader::ReaderFactory readerFactory_ = reader::defaultReaderFactory();
    reader::CardPoller* poller_ = nullptr;
    // The card the reader last put into the card field, and the caption to go
    // back to when the reader goes away.
    QString polledCard_;
    QString captionWithoutReader_;
};

} // namespace stokara::transactions
