#pragma once

#include "core_ui/entry_screen.h"
#include "schema/column_widths.h"
#include "transactions/purchase_store.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace stokara::transactions {

// "Item Purchases": what the shop bought from a vendor, one row per vendor, item and
// date; corrected by grid click, F6 and Save, deleted by double-click.
class PurchaseScreen : public core_ui::EntryScreen {
    Q_OBJECT
public:
    explicit PurchaseScreen(core::Session& session, QWidget* parent = nullptr);

    void save();        // "&Save"
    void refreshGrid(); // the vendor's purchases of the date; leaves the next entry number
    void clearEntry();  // F3 and "&Clear": empty fields, new purchases from here on
    void search();      // the search panel's button

protected:
    bool functionKey(int key) override;

private:
    void emptyFields();
    void lookUpItem();
    bool quantityChecked(core_ui::Via via);
    bool rateChecked(core_ui::Via via);
    bool fieldRefused(QWidget* field, core_ui::Via via, const QString& message);
    void gridClicked(int row);
    void gridDoubleClicked(int row);
    QVariant entryOfRow(int row) const;

    PurchaseStore store_;
    schema::ColumnWidths widths_;
    QString caption_;

    QLineEdit* date_;
    QComboBox* dcParty_;
    QComboBox* itemName_;
    QLineEdit* txtQty_;
    QLineEdit* txtUnit_;
    QLineEdit* txtRate_;
    QLineEdit* txtAmount_;
    QLineEdit* txtDocNo_;
    QPushButton* saveButton_;
    QPushButton* clearButton_;
    QTableWidget* grid_;
    QGroupBox* frameSearch_;
    QLineEdit* txtSDate_;
    QComboBox* dcDataList_;
    QLineEdit* txtSearchNo_;
    QPushButton* cmdSearch_;
};

} // namespace stokara::transactions
