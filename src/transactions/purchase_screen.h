#pragma once

#include "core/errors.h"
#include "transactions/purchase_store.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace stokara::core {
struct Session;
}

namespace stokara::transactions {

// "Item Purchases": what the shop bought from a vendor, one row per vendor, item and
// date; corrected by grid click, F6 and Save, deleted by double-click.
class PurchaseScreen : public QWidget {
    Q_OBJECT
public:
    explicit PurchaseScreen(core::Session& session, QWidget* parent = nullptr);

    bool editing() const { return editFlag_ == QLatin1String("Y"); }

    void save();        // "&Save"
    void refreshGrid(); // the vendor's purchases of the date; leaves the next entry number
    void clearEntry();  // F3
    void search();      // the search panel's button

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void run(const QString& procedure, const std::function<void()>& body);
    bool functionKey(int key);
    void lookUpItem();
    bool quantityLeft();
    bool rateLeft();
    void rateEntered();
    void gridClicked(int row);
    void gridDoubleClicked(int row);
    QString entryOfRow(int row) const;
    void keepFocus(QWidget* field);

    core::Session& session_;
    PurchaseStore store_;
    QString caption_;
    QString editFlag_;
    bool checking_ = false;

    QLineEdit* text2_;
    QComboBox* dcParty_;
    QComboBox* itemName_;
    QLineEdit* txtQty_;
    QLineEdit* txtUnit_;
    QLineEdit* txtRate_;
    QLineEdit* txtAmount_;
    QLineEdit* txtDocNo_;
    QPushButton* command8_;
    QPushButton* command9_;
    QTableWidget* grid_;
    QGroupBox* frameSearch_;
    QLineEdit* txtSDate_;
    QComboBox* dcDataList_;
    QLineEdit* txtSearchNo_;
    QPushButton* cmdSearch_;
};

} // namespace stokara::transactions
