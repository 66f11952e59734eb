#pragma once

#include "card_poller.h"
#include "transactions/sale_store.h"
#include "transactions/slip_canvas.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace stokara::core {
struct Session;
} // namespace stokara::core
namespace stokara::core_ui {
class ScreenRegistry;
}

namespace stokara::messaging {
struct SaleReceipt;
class SmsSender;
} // namespace stokara::messaging

namespace stokara::transactions {

// "Item Sale": bills of one or more items for a party, with the party's
// balance, the cash/credit memo and the SMS receipt at the end of each bill.
class ItemSaleScreen : public QWidget {
    Q_OBJECT
public:
    // Opens the memo's canvas; may put the path of a PDF written instead of
    // printing into *pdfPath.
    using CanvasFactory = std::function<std::unique_ptr<SlipCanvas>(QString* pdfPath)>;
    // Sends the SMS receipt of a finished bill.
    using ReceiptSender = std::function<void(const messaging::SaleReceipt&)>;

    explicit ItemSaleScreen(core::Session& session, QWidget* parent = nullptr);
    ~ItemSaleScreen() override;

    // Screens this one opens: the party master for a new party name (F-less)
    // and the invoice-wise party bill (F7).
    void setScreenRegistry(const core_ui::ScreenRegistry* registry) { registry_ = registry; }
    // The memo printer's canvas; by default the shop's printer (or a PDF).
    void setCanvasFactory(CanvasFactory factory) { canvasFactory_ = std::move(factory); }
    // The SMS receipt; by default the shop's gateway through messaging::SmsSender.
    void setReceiptSender(ReceiptSender sender) { receiptSender_ = std::move(sender); }

    // A card held to the reader: the same lookup as a card number typed into
    // the card field, once per presentation.
    void onCardPresented(const QString& cardNo);

    // The readers F2 connects; by default the USB module (or the simulated one
    // when STOKARA_READER=simulated). Set it before the first F2.
    void setReaderFactory(reader::ReaderFactory factory) { readerFactory_ = std::move(factory); }
    // The card poller, made by the first F2; null before.
    reader::CardPoller* cardPoller() const { return poller_; }

    // The screen's own flags, as the save and the party code read them.
    QString editFlag() const { return editFlag_; }
    QString searchFlag() const { return searchFlag_; }
    QString partyCategory() const { return partyCategory_; }

public slots:
    // One line for the operator that needs no answer (SMS not delivered, memo
    // written as a PDF).
    void showNotice(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void load();
    bool functionKey(int key);

    // Field handlers; `enter` is true when Enter ran them (and may move focus).
    void dateLeave(bool enter);
    void billNoLeave();
    void partyCodeChanged(const QString& text);
    void partyCodeLeave(bool enter);
    void cardEntered();
    void connectReader();
    void cardTakenAway();
    void partyNameCheck(bool enter);
    void itemLookup();
    void saleAmountLeave(bool enter);
    void qtyLeave(bool enter);
    void rateEntered();
    void rateLeave(bool enter);
    void moreKey(int key);

    void save();
    void finishBill();
    void clearClicked();
    void searchClicked();
    void gridClicked(int row);
    void gridDoubleClicked(int row);

    void allocateBillNo();
    void showBalance();
    void refillGrid();
    void fitGridColumns();
    void printMemo();
    void sendReceipt();
    void clearEntry();
    void clearItemLine();
    void abandonOpenBill();
    void showFrameSave(bool focus);
    void openInvoiceBill();
    QWidget* openScreen(const QString& name);
    void moveFocus(QWidget* target);
    bool billOpen() const;

    core::Session& session_;
    SaleStore store_;
    const core_ui::ScreenRegistry* registry_ = nullptr;
    CanvasFactory canvasFactory_;
    ReceiptSender receiptSender_;
    messaging::SmsSender* smsSender_ = nullptr;

    QString editFlag_;
    QString searchFlag_;
    QString partyCategory_ = QStringLiteral("MilkMan");
    // The bill number was computed here and no row holds it yet: the first
    // save claims it.
    bool pendingClaim_ = false;
    // Programmatic focus moves and row loads do not run the leave handlers /
    // bill allocation of the fields they pass through.
    bool suppressLeave_ = false;
    bool loadingRow_ = false;
    bool partyNameEdited_ = false;
    QString lastCard_;
    reader::ReaderFactory readerFactory_ = reader::defaultReaderFactory();
    reader::CardPoller* poller_ = nullptr;
    // The card the reader last put into the card field, and the caption to go
    // back to when the reader goes away.
    QString polledCard_;
    QString captionWithoutReader_;

    QLineEdit* text2_ = nullptr;
    QLineEdit* billNo_ = nullptr;
    QLineEdit* docNo_ = nullptr;
    QLineEdit* cardNo_ = nullptr;
    QLineEdit* partyCode_ = nullptr;
    QComboBox* partyName_ = nullptr;
    QLabel* milkman_ = nullptr;
    QLabel* balance_ = nullptr;
    QComboBox* itemName_ = nullptr;
    QLineEdit* saleAmount_ = nullptr;
    QLineEdit* qty_ = nullptr;
    QLineEdit* unit_ = nullptr;
    QLineEdit* rate_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QGroupBox* frameSave_ = nullptr;
    QLineEdit* more_ = nullptr;
    QPushButton* closeSave_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QGroupBox* frameSearch_ = nullptr;
    QLineEdit* searchDate_ = nullptr;
    QLineEdit* searchNo_ = nullptr;
    QComboBox* searchParty_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QLabel* hint_ = nullptr;
    QLabel* notice_ = nullptr;
    QStringList notices_;
    static constexpr int kNoticeLines = 3;
};

} // namespace stokara::transactions
