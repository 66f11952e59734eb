#pragma once

#include "support/test_session.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

namespace stokara::test {

// Shows a screen as the active window so focus and leaving fields behave.
inline void activate(QWidget* screen) {
    screen->show();
    QApplication::setActiveWindow(screen);
    QVERIFY(QTest::qWaitForWindowActive(screen));
}

template <class T = QLineEdit> T* control(QWidget* screen, const char* name) {
    T* w = screen->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

// Puts the focus in a field and types into it (after what is there). Letters
// outside ASCII (Hindi names) arrive as key events carrying only their text.
inline void typeInto(QWidget* field, const QString& text) {
    field->setFocus();
    for (const QChar ch : text) {
        if (ch.unicode() < 128) {
            QTest::keyClick(field, ch.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(field, &press);
    }
}

inline void pressEnter(QWidget* field) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
}

// Moves the focus on to another field, as a mouse click or Tab would.
inline void leave(QWidget* field, QWidget* to) {
    field->setFocus();
    to->setFocus(Qt::TabFocusReason);
}

inline void clickButton(QWidget* screen, const char* name) {
    auto* b = control<QAbstractButton>(screen, name);
    QVERIFY(b->isEnabled());
    QTest::mouseClick(b, Qt::LeftButton);
}

inline void clickRow(QTableWidget* grid, int row) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, 0)).center());
}

// A double-click: the click that selects the row, then the grid's double-click.
inline void doubleClickRow(QTableWidget* grid, int row) {
    clickRow(grid, row);
    emit grid->cellDoubleClicked(row, 0);
}

inline QStringList column(const QTableWidget* grid, int c) {
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        out << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
    return out;
}

} // namespace stokara::test
