#pragma once

// Masters and screen helpers shared by the purchase, day book and card recharge tests.

#include "core/database.h"

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

inline void addNamed(core::Database& db, const char* table, const QString& code,
                     const QString& name) {
    db.exec(QStringLiteral("insert into %1 (party_code, party_name) values (?, ?)")
                .arg(QLatin1String(table)),
            {code, name});
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

inline QString focusName() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

} // namespace stokara::test
