#pragma once

#include "core/database.h"
#include "core_ui/screen_support.h"
#include "masters/register_screens.h"
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

// What the master screen tests share: a session on a fresh database, the
// screen under test, and short ways to its controls and to the stored rows.
struct ScreenFixture {
    std::unique_ptr<TestSession> ts;
    std::unique_ptr<QWidget> screen;

    core::Database& db() { return ts->db(); }
    int count(const QString& sql) { return db().scalar(sql).toInt(); }
    // The first row's values as text, joined by "/".
    QString row(const QString& sql, const QVariantList& values = {}) {
        const core::Rows rows = db().query(sql, values);
        QStringList out;
        for (int i = 0; !rows.empty() && i < rows.front().size(); ++i)
            out << rows.front().text(i);
        return out.join('/');
    }
    QLineEdit* f(const char* name) { return control(screen.get(), name); }
    QComboBox* list(const char* name) { return control<QComboBox>(screen.get(), name); }
    QTableWidget* grid(const char* name = "VsGrid") {
        return control<QTableWidget>(screen.get(), name);
    }
    void click(const char* button) { clickButton(screen.get(), button); }
    void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
    // Opens a screen the way the menu does.
    void open(const QString& name) {
        core_ui::ScreenRegistry registry;
        masters::registerScreens(registry);
        screen.reset(registry.create(name, ts->session));
        QVERIFY(screen && screen->objectName() == name);
        activate(screen.get());
    }
    // A field or a list left with this text, as typing or choosing would.
    void set(const QString& name, const QString& text) {
        QWidget* w = screen->findChild<QWidget*>(name);
        QVERIFY2(w, qPrintable(name));
        auto* l = qobject_cast<QComboBox*>(w);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->setText(text);
        else if (l->isEditable())
            l->setEditText(text);
        else
            l->setCurrentIndex(l->findText(text));
    }
};

} // namespace stokara::test
