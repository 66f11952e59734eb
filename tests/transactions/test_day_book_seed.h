#pragma once

// Masters and screen helpers shared by the purchase, day book and card recharge tests.

#include "core/database.h"
#include "support/test_session.h"
#include "transactions/day_book_picker.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

namespace stokara::test {

inline void addParty(core::Database& db, const QString& code, const QString& name,
                     const QString& category, const QString& cardNo = {}) {
    db.exec(QStringLiteral("insert into masparty (party_code, party_name, category, CardNo) "
                           "values (?, ?, ?, ?)"),
            {code, name, category, cardNo.isEmpty() ? QVariant() : QVariant(cardNo)});
}

inline int rowCount(core::Database& db, const char* table) {
    return db.scalar(QStringLiteral("select count(*) from %1").arg(QLatin1String(table))).toInt();
}

// Shows a screen as the active window so that focus changes behave as for the user.
inline bool showActive(QWidget* screen) {
    screen->show();
    QApplication::setActiveWindow(screen);
    return QTest::qWaitForWindowActive(screen);
}

inline void clickRow(QTableWidget* grid, int row, bool twice = false) {
    const QRect rect = grid->visualRect(grid->model()->index(row, 1));
    // A double-click starts with a click, as the operator's does.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    if (twice) {
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    }
}

// Replaces a field's text the way typing does, then presses Enter in it.
inline void typeAndEnter(QWidget* field, const QString& text) {
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->selectAll();
        if (!edit->inputMask().isEmpty())
            edit->setText(text);
        else
            QTest::keyClicks(edit, text);
    } else if (auto* box = qobject_cast<QComboBox*>(field)) {
        box->setEditText(text);
    }
    QTest::keyClick(field, Qt::Key_Return);
}

inline QStringList columnTexts(QTableWidget* grid, int column) {
    QStringList texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        texts << (grid->item(r, column) ? grid->item(r, column)->text() : QString());
    return texts;
}

// A screen on a fresh database, shown as the active window, and its controls by
// object name.
template <class Screen> struct ScreenFixture {
    TestSession ts;
    std::unique_ptr<Screen> screen;

    void open() {
        screen = std::make_unique<Screen>(ts.session);
        QVERIFY(showActive(screen.get()));
    }
    QLineEdit* edit(const char* name) { return screen->template findChild<QLineEdit*>(name); }
    QComboBox* list(const char* name) { return screen->template findChild<QComboBox*>(name); }
    QTableWidget* grid() { return screen->template findChild<QTableWidget*>("VsFlex"); }
    void key(int key) { QTest::keyClick(grid(), Qt::Key(key)); }
};

// The day book and the card recharge: one voucher screen, two pickers.
template <class Screen> struct VoucherFixture : ScreenFixture<Screen> {
    transactions::DayBookStore store{this->ts.db()};
    const char* pickerName = "dcHead";

    QComboBox* type() { return this->list("List1"); }
    QComboBox* picker() { return this->list(pickerName); }
    QString bound() { return static_cast<transactions::AccountPicker*>(picker())->boundValue(); }
    void enterVoucher(const QString& type, const QString& account, const QString& amount,
                      const QString& remark = {}) {
        this->type()->setCurrentIndex(this->type()->findText(type));
        picker()->setEditText(account); // typed: binds to the entry it matches
        this->edit("TxtAmount")->setText(amount);
        this->edit("TxtRemark")->setText(remark);
    }
    qint64 add(double amount, const QString& category = "MilkMan", const QString& remark = {}) {
        return store.insert(
            {QDate(2024, 4, 15), "Shyam - 12", "Cr", amount, remark, "12", category});
    }
    std::vector<transactions::StoredVoucher> vouchers() {
        return store.vouchersOn(QDate(2024, 4, 15));
    }
};

} // namespace stokara::test
