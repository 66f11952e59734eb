#pragma once

#include "core/errors.h"
#include "transactions/day_book_picker.h"
#include "transactions/day_book_store.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace stokara::core {
struct Session;
}

namespace stokara::transactions {

// What the day book and the card recharge screens share: the date's vouchers in a
// grid, the voucher fields, save, load by grid click, correction after F6 and delete
// by double-click.
class VoucherScreenBase : public QWidget {
    Q_OBJECT
public:
    QString category() const { return category_; }
    bool editing() const { return editFlag_ == QLatin1String("Y"); }

    // The grid of the date's vouchers ("desginflex"); ends with clear().
    void fillGrid();
    // Empties the entry number, amount, voucher type, the picker's text and remark.
    void clear();
    // Save ("Command8_Click").
    void save();

protected:
    VoucherScreenBase(core::Session& session, const QString& objectName, const QString& caption,
                      QWidget* parent);

    // Function keys of the screen ("Form_KeyDown"); returns whether the key was used.
    virtual bool functionKey(int key) = 0;
    // A voucher loaded by a grid click is put into the picker.
    virtual void showLoadedAccount(const StoredVoucher& voucher) = 0;
    // Whether a correction writes party_code and category too.
    virtual bool correctionSetsParty() const { return true; }
    // After "Data Saved." and the refill.
    virtual void afterSave() = 0;
    // Binds the function keys to every child control; call once the controls exist.
    void watchKeys();

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    void run(core::ErrorKind kind, const QString& procedure, const std::function<void()>& body);
    // "List1_LostFocus": an empty voucher type becomes "Dr".
    void voucherTypeLeft();
    QString voucherType() const;
    void setVoucherType(const QString& type); // "" empties it
    void gridClicked(int row);
    void gridDoubleClicked(int row);
    // Called when the date field loses focus.
    virtual void dateLeft() = 0;

    core::Session& session_;
    DayBookStore store_;
    QString caption_;
    QString category_;
    QString editFlag_;
    // Enter in the date runs its leaving handler itself; the focus change that follows
    // must not run it again.
    bool dateLeaveDone_ = false;

    QLineEdit* text2_;
    QComboBox* list1_;
    AccountPicker* picker_;
    QLineEdit* txtAmount_;
    QLineEdit* txtRemark_;
    QPushButton* command8_;
    QLineEdit* txtDocNo_;
    QTableWidget* grid_;
};

// Figures as the grids show them: "500", "12.5".
QString plainNumber(double value);

// Column widths given in twips (15 to a pixel); a width of 0 hides its column. The
// date column is never narrower than a date in the grid's font, and the grid asks
// for room to show every column without scrolling sideways.
void setGridWidths(QTableWidget* grid, const QList<int>& twips, int dateColumn);

} // namespace stokara::transactions
