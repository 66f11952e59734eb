#pragma once

#include "transactions/sale_rules.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;
class QAbstractItemModel;

namespace stokara::transactions {

// The controls of the item sale screen with their object names and places;
// no behaviour.
struct ItemSaleLayout {
    // Builds every control on `screen`; text fields are limited to their columns.
    ItemSaleLayout(QWidget* screen, const sale::LineWidths& widths, QAbstractItemModel* grid);

    // Widens the grid's columns to their contents, never below their usual widths.
    void fitGridColumns();

    QLineEdit* date;       // text2
    QLineEdit* billNo;     // TxtBillNo
    QLineEdit* entryNo;    // TxtDoc_no
    QLineEdit* cardNo;     // TxtCardNo
    QLineEdit* partyCode;  // TxtPartyCode
    QComboBox* partyName;  // Dc1
    QLabel* partyLabel;    // LblMilkman
    QLabel* balance;       // LblBalance
    QComboBox* itemName;   // Item_name
    QLineEdit* saleAmount; // TxtSaleAmount
    QLineEdit* qty;        // TxtQty
    QLineEdit* unit;       // Txtunit
    QLineEdit* rate;       // txtrate
    QLineEdit* amount;     // TxtAmount
    QGroupBox* savePanel;  // FrameSave
    QLineEdit* more;       // TxtMore
    QPushButton* closeSave;
    QPushButton* save;  // Command8
    QPushButton* clear; // Command9
    QGroupBox* searchPanel;
    QLineEdit* searchDate;
    QLineEdit* searchNo;
    QComboBox* searchParty;
    QPushButton* search;
    QTableView* grid; // VsFlex
    QLabel* hint;
    // The one status line under the grid: the latest notice only.
    QLabel* notice;
};

} // namespace stokara::transactions
