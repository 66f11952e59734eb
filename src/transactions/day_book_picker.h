#pragma once

#include "transactions/day_book_store.h"

#include <QComboBox>

namespace stokara::transactions {

// An account list whose entries carry a bound value (the code stored as party_code)
// beside the shown text (stored as accounthead). The operator may type; the bound
// value then follows the entry whose text matches exactly, or is empty.
class AccountPicker : public QComboBox {
    Q_OBJECT
public:
    explicit AccountPicker(QWidget* parent = nullptr);

    void setEntries(const QList<AccountEntry>& entries);
    QString shownText() const { return currentText(); }
    QString boundValue() const { return bound_; }
    // Selects the entry with that bound value; with no such entry the shown text is
    // emptied and the value is kept.
    void setBoundValue(const QString& value);
    // Changes only the shown text; the bound value stays.
    void setShownText(const QString& text);
    // Empties the shown text; nothing is chosen any more.
    void clearChoice() {
        setShownText(QString());
        bound_.clear();
    }

private:
    void followText(const QString& text);
    QString bound_;
    bool programmatic_ = false;
};

} // namespace stokara::transactions
