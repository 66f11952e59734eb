#include "day_book_picker.h"

#include <QLineEdit>

namespace stokara::transactions {

AccountPicker::AccountPicker(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    connect(this, &QComboBox::currentTextChanged, this, &AccountPicker::followText);
}

void AccountPicker::setEntries(const QList<AccountEntry>& entries) {
    programmatic_ = true;
    clear();
    for (const auto& e : entries)
        addItem(e.shown, e.bound);
    setCurrentIndex(-1);
    setEditText(QString());
    bound_.clear();
    programmatic_ = false;
}

void AccountPicker::setBoundValue(const QString& value) {
    programmatic_ = true;
    const int i = findData(value);
    setCurrentIndex(i);
    if (i < 0)
        setEditText(QString());
    bound_ = value;
    programmatic_ = false;
}

void AccountPicker::setShownText(const QString& text) {
    programmatic_ = true;
    if (text.isEmpty())
        setCurrentIndex(-1);
    setEditText(text);
    programmatic_ = false;
}

void AccountPicker::followText(const QString& text) {
    if (programmatic_)
        return;
    const int i = findText(text, Qt::MatchExactly);
    bound_ = i >= 0 ? itemData(i).toString() : QString();
}

} // namespace stokara::transactions
