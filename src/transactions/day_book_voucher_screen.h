#pragma once

#include "core_ui/entry_screen.h"
#include "schema/column_widths.h"
#include "transactions/day_book_picker.h"
#include "transactions/day_book_store.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace stokara::transactions {

// What the day book and the card recharge screens share: the date's vouchers in a
// grid, the voucher fields, save, load by grid click, correction after F6 and delete
// by double-click.
class VoucherScreenBase : public core_ui::EntryScreen {
    Q_OBJECT
public:
    QString category() const { return category_; }

    // The grid of the date's vouchers ("desginflex"); ends with clear().
    void fillGrid();
    // Empties the entry number, amount, voucher type, the picker's text and remark;
    // the voucher they showed is no longer the one a correction rewrites.
    void clear();
    // Save ("Command8_Click").
    void save();

protected:
    VoucherScreenBase(core::Session& session, const QString& objectName, const QString& caption,
                      QWidget* parent);

    // F5 clears and leaves correction mode, F6 starts it; returns whether the key
    // was one of them.
    bool voucherKey(int key);
    // A voucher loaded by a grid click is put into the picker.
    virtual void showLoadedAccount(const StoredVoucher& voucher) = 0;
    // Whether a correction writes party_code and category too.
    virtual bool correctionSetsParty() const { return true; }
    // After "Data Saved." and the refill.
    virtual void afterSave() = 0;
    // The date field was left or confirmed with Enter.
    virtual void dateLeft() = 0;
    // The Enter order, begun with the date field: Enter or leaving it runs dateLeft().
    core_ui::FieldFlow& flowFromDate();

    // "List1_LostFocus": an empty voucher type becomes "Dr".
    void voucherTypeLeft();
    QString voucherType() const;
    void setVoucherType(const QString& type); // "" empties it

    DayBookStore store_;
    QString caption_;
    QString category_;

    QLineEdit* date_;
    QComboBox* voucherTypeList_;
    AccountPicker* picker_;
    QLineEdit* txtAmount_;
    QLineEdit* txtRemark_;
    QPushButton* saveButton_;
    QLineEdit* txtDocNo_;
    QTableWidget* grid_;

private:
    void showVouchers();
    void gridClicked(int row);
    void gridDoubleClicked(int row);
    QVariant entryOfRow(int row) const;

    schema::ColumnWidths widths_;
};

// Figures as the grids show them: "500", "12.5".
QString plainNumber(double value);

// Column widths given in twips (15 to a pixel); a width of 0 hides its column. The
// date column is never narrower than a date in the grid's font, and the grid asks
// for room to show every column without scrolling sideways.
void setGridWidths(QTableWidget* grid, const QList<int>& twips, int dateColumn);

} // namespace stokara::transactions
