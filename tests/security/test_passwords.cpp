#include "support/test_session.h"

#include "core_ui/screen_support.h"
#include "security/register_screens.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace stokara;
using stokara::test::TestSession;

class PasswordsTest : public QObject {
    Q_OBJECT

    static QString table(const QString& screen) {
        return screen == "FrmUserSecurity" ? "masspass" : "adminsecurity";
    }
    static std::unique_ptr<QWidget> open(TestSession& t, const QString& screen) {
        core_ui::ScreenRegistry registry;
        security::registerScreens(registry);
        std::unique_ptr<QWidget> w(registry.create(screen, t.session));
        w->show();
        QApplication::setActiveWindow(w.get());
        return w;
    }
    static void fill(QWidget* w, const QString& current, const QString& next,
                     const QString& confirm) {
        w->findChild<QLineEdit*>("txtPassword")->setText(current);
        w->findChild<QLineEdit*>("TxtNewpassword")->setText(next);
        w->findChild<QLineEdit*>("TxtConfirmPassword")->setText(confirm);
    }

private slots:
    // Stored ("<no row>": the table is empty), typed, the one message shown, and
    // what is stored afterwards.
    void saveGivesTheMessageOfTheFirstFailingCheck_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("after");
        const QString wrong = "Current Password is wrong.";
        const QString mismatch = "New Password and confirm password do not mached.";
        for (const QString screen : {"FrmUserSecurity", "FrmadminSecurity"}) {
            auto row = [&](const char* name) {
                return &(QTest::newRow(qPrintable(screen + ": " + name)) << screen);
            };
            *row("current differs in case")
                << "kelbo" << QStringList{"KELBO", "a", "a"} << wrong << "kelbo";
            *row("both new fields empty")
                << "kelbo" << QStringList{"kelbo", "", ""} << "Fill all the values"
                << "kelbo";
            *row("confirmation empty")
                << "kelbo" << QStringList{"kelbo", "ghee", ""} << mismatch << "kelbo";
            *row("quotes kept as typed")
                << "kelbo" << QStringList{"kelbo", "it's'mine", "it's'mine"} << "Password changed."
                << "it's'mine";
            *row("empty stored, empty current")
                << "" << QStringList{"", "new1", "new1"} << "Password changed."
                << "new1";
            *row("no row at all: one is written")
                << "<no row>" << QStringList{"", "new1", "new1"} << "Password changed."
                << "new1";
            *row("too long for the column")
                << "kelbo" << QStringList{"kelbo", QString(51, 'p'), QString(51, 'p')}
                << "The new password can have at most 50 characters."
                << "kelbo";
        }
    }
    void saveGivesTheMessageOfTheFirstFailingCheck() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, screen);
        QFETCH(QString, stored);
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(QString, after);
        TestSession t;
        t.db().exec("delete from " + table(screen));
        if (stored != "<no row>") // two rows: a change sets every row
            for (int i = 0; i < 2; ++i)
                t.db().exec("insert into " + table(screen) + " (password) values (?)", {stored});
        auto w = open(t, screen);
        fill(w.get(), typed[0], typed[1], typed[2]);
        w->findChild<QPushButton*>("CmdSave")->click();
        QCOMPARE(t.dialogs.texts(), QStringList{message});
        QCOMPARE(t.dialogs.shown.first().title,
                 QString(screen == "FrmUserSecurity" ? "User Security" : "Admin Security"));
        QCOMPARE(t.dialogs.shown.first().icon, core::Icon::Information);
        QCOMPARE(t.db().scalar("select min(password) from " + table(screen)).toString(), after);
        QCOMPARE(t.db().scalar("select max(password) from " + table(screen)).toString(), after);
        QVERIFY(w->isVisible()); // the screen stays open after saving
    }

    void enterWalksTheFieldsToSave() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        auto w = open(t, "FrmadminSecurity");
        fill(w.get(), "kelbo", "curd", "curd");
        auto* current = w->findChild<QLineEdit*>("txtPassword");
        current->setFocus();
        for (const char* next : {"TxtNewpassword", "TxtConfirmPassword", "CmdSave"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString(next));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(t.dialogs.lastText(), QStringLiteral("Password changed."));
        QCOMPARE(t.db().scalar("select password from adminsecurity").toString(), QString("curd"));
    }

    void databaseFailureIsShownAndChangesNothing() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        t.db().exec("drop table adminsecurity");
        auto w = open(t, "FrmadminSecurity");
        fill(w.get(), "kelbo", "", "");
        w->findChild<QPushButton*>("CmdSave")->click();
        QCOMPARE(t.dialogs.shown.size(), 1);
        QCOMPARE(t.dialogs.shown.first().icon, core::Icon::Critical);
        QVERIFY(t.dialogs.lastText().contains("CmdSave_Click"));
        w->findChild<QPushButton*>("CmdCancel")->click();
        QVERIFY(!w->isVisible());
    }
};

QTEST_MAIN(PasswordsTest)
#include "test_passwords.moc"
