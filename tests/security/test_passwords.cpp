#include "support/test_session.h"

#include "security/password_rules.h"
#include "security/password_screen.h"
#include "security/password_store.h"
#include "security/register_screens.h"

#include "core_ui/screen_support.h"

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

private slots:
    // Each row: what is stored, what is typed, and the one message shown.
    void saveGivesTheMessageOfTheFirstFailingCheck_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("storedAfter");
        for (const QString screen : {"FrmUserSecurity", "FrmadminSecurity"}) {
            auto row = [&](const char* name) {
                return &QTest::newRow(qPrintable(screen + ": " + name));
            };
            *row("wrong current before anything else") << screen << "kelbo"
                                                       << "kelb"
                                                       << ""
                                                       << ""
                                                       << "Current Password is wrong."
                                                       << "kelbo";
            *row("current differs in case") << screen << "kelbo"
                                            << "KELBO"
                                            << "a"
                                            << "a"
                                            << "Current Password is wrong."
                                            << "kelbo";
            *row("both new fields empty") << screen << "kelbo"
                                          << "kelbo"
                                          << ""
                                          << ""
                                          << "Fill all the values"
                                          << "kelbo";
            *row("confirmation empty") << screen << "kelbo"
                                       << "kelbo"
                                       << "ghee"
                                       << ""
                                       << "New Password and confirm password do not mached."
                                       << "kelbo";
            *row("new empty, confirmation filled")
                << screen << "kelbo"
                << "kelbo"
                << ""
                << "ghee"
                << "New Password and confirm password do not mached."
                << "kelbo";
            *row("differ in case") << screen << "kelbo"
                                   << "kelbo"
                                   << "Ghee"
                                   << "ghee"
                                   << "New Password and confirm password do not mached."
                                   << "kelbo";
            *row("changed") << screen << "kelbo"
                            << "kelbo"
                            << "ghee"
                            << "ghee"
                            << "Password changed."
                            << "ghee";
            *row("apostrophe kept as typed") << screen << "kelbo"
                                             << "kelbo"
                                             << "it's'mine"
                                             << "it's'mine"
                                             << "Password changed."
                                             << "it's'mine";
            *row("empty stored, empty current") << screen << ""
                                                << ""
                                                << "new1"
                                                << "new1"
                                                << "Password changed."
                                                << "new1";
            *row("too long for the column") << screen << "kelbo"
                                            << "kelbo" << QString(51, 'p') << QString(51, 'p')
                                            << "The new password can have at most 50 characters."
                                            << "kelbo";
        }
    }
    void saveGivesTheMessageOfTheFirstFailingCheck() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, screen);
        QFETCH(QString, stored);
        QFETCH(QString, current);
        QFETCH(QString, newPassword);
        QFETCH(QString, confirm);
        QFETCH(QString, message);
        QFETCH(QString, storedAfter);
        TestSession t;
        t.db().exec("update " + table(screen) + " set password = ?", {stored});
        core_ui::ScreenRegistry registry;
        security::registerScreens(registry);
        std::unique_ptr<QWidget> w(registry.create(screen, t.session));
        QCOMPARE(w->objectName(), screen);
        w->show();
        w->findChild<QLineEdit*>("txtPassword")->setText(current);
        w->findChild<QLineEdit*>("TxtNewpassword")->setText(newPassword);
        w->findChild<QLineEdit*>("TxtConfirmPassword")->setText(confirm);
        w->findChild<QPushButton*>("CmdSave")->click();
        QCOMPARE(t.dialogs.texts(), QStringList{message});
        QCOMPARE(t.dialogs.shown.first().title, screen == "FrmUserSecurity"
                                                    ? QStringLiteral("User Security")
                                                    : QStringLiteral("Admin Security"));
        QCOMPARE(t.dialogs.shown.first().icon, core::Icon::Information);
        QCOMPARE(t.db().scalar("select password from " + table(screen)).toString(), storedAfter);
        QVERIFY(w->isVisible()); // the screen stays open after saving
    }

    void emptyTableCountsAsEmptyPassword() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        t.db().exec("delete from adminsecurity");
        security::PasswordStore store(t.db(), security::PasswordStore::Table::Admin);
        QCOMPARE(store.stored(), QString());
        QCOMPARE(security::checkPasswordChange(store.stored(), "", "x", "x"),
                 security::PasswordCheck::Ok);
    }

    void updateSetsEveryRow() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        t.db().exec("insert into masspass (UserName, password) values (?, ?)", {"second", "other"});
        security::PasswordStore(t.db(), security::PasswordStore::Table::User).change("same");
        QCOMPARE(
            t.db().scalar("select count(*) from masspass where password <> ?", {"same"}).toInt(),
            0);
    }

    void databaseFailureIsShownAndChangesNothing() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        t.db().exec("drop table adminsecurity");
        security::AdminSecurityScreen w(t.session);
        w.findChild<QLineEdit*>("txtPassword")->setText("kelbo");
        w.findChild<QPushButton*>("CmdSave")->click();
        QCOMPARE(t.dialogs.shown.size(), 1);
        QCOMPARE(t.dialogs.shown.first().icon, core::Icon::Critical);
        QVERIFY(t.dialogs.lastText().contains("CmdSave_Click"));
    }

    void cancelClosesTheScreen() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        security::UserSecurityScreen w(t.session);
        w.show();
        w.findChild<QPushButton*>("CmdCancel")->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(t.db().scalar("select password from masspass").toString(),
                 QStringLiteral("kelbo"));
    }
};

QTEST_MAIN(PasswordsTest)
#include "test_passwords.moc"
