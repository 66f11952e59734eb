#include "app_test_kit.h"

#include "app/backup.h"
#include "app/login_screen.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "security/password_screen.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace stokara;
using stokara::test::TestSession;

class LoginTest : public QObject {
    Q_OBJECT

    struct Fixture {
        TestSession t;
        QTemporaryDir backups;
        std::unique_ptr<app::LoginScreen> login;

        Fixture() {
            test::setBackupPath(t.db(), backups.path());
            app::LoginSettings settings;
            settings.pgDump = app::findPgDump();
            login = std::make_unique<app::LoginScreen>(t.session, settings);
            login->show();
            QApplication::setActiveWindow(login.get());
        }
        QLineEdit* user() { return login->findChild<QLineEdit*>("txtUserName"); }
        QLineEdit* password() { return login->findChild<QLineEdit*>("txtPassword"); }
        void press() { login->findChild<QPushButton*>("cmdOK")->click(); }
        void type(QLineEdit* field, const QString& text) {
            field->clear();
            QTest::keyClicks(field, text);
        }
    };

private slots:
    void startsWithDefaultTexts() {
        STOKARA_REQUIRE_DATABASE();
        Fixture f;
        QCOMPARE(f.login->objectName(), QStringLiteral("frmLoginWithNewLogo"));
        QCOMPARE(f.user()->text(), QStringLiteral("kelbo"));
        QCOMPARE(f.password()->text(), QStringLiteral("kelbo"));
        QVERIFY(f.login->findChild<QLabel*>("Label4"));
    }

    // Through the Shell, as main() runs it: the right password opens MdiItem,
    // closes the login screen and empties the error log.
    void rightPasswordOpensMainWindow() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        QTemporaryDir backups;
        test::setBackupPath(t.db(), backups.path());
        t.db().exec("insert into ErrorDesc (FormName, ErrorDescription, ErrorNo, ErrorDate) "
                    "values (?, ?, ?, ?)",
                    {"Item", "old failure", "5", t.clock.now()});
        app::Options options;
        options.dataDir = t.dataDir.path();
        options.databaseUrl = t.database.url().engine == core::Engine::Sqlite
                                  ? "sqlite:" + t.database.url().path
                                  : t.database.url().toString();
        app::Shell shell(options, t.dialogs, t.clock);
        int quits = 0;
        shell.setHooks([&](app::MainWindowHooks& h) { h.quit = [&] { ++quits; }; });
        shell.start();
        app::LoginScreen* login = shell.loginScreen();
        QVERIFY(login && login->isVisible());
        QVERIFY(!shell.mainWindow());
        login->findChild<QPushButton*>("cmdOK")->click();
        QVERIFY(login->loginSucceeded());
        QVERIFY(!login->isVisible());
        QVERIFY(shell.mainWindow() && shell.mainWindow()->isVisible());
        QCOMPARE(shell.mainWindow()->objectName(), QStringLiteral("MdiItem"));
        QCOMPARE(t.db().scalar("select count(*) from errordesc").toInt(), 0);
        QVERIFY(t.dialogs.texts().contains("Backup Completed."));
        QVERIFY(!t.dialogs.texts().contains("Invalid Password, try again!"));
        // The password screens come with the program.
        QVERIFY(shell.mainWindow()->entry("mnuussec")->isEnabled());
        QVERIFY(shell.mainWindow()->entry("mnuadsec")->isEnabled());
    }

    // The disk holding the database is plugged in after the start: the login
    // button reaches it, runs the start-up steps and logs in.
    void databaseReachedAtLoginGetsStartupSteps() {
        QTemporaryDir root;
        const QString data = root.filePath("data");
        test::ScriptedDialogs dialogs;
        core::FixedClock clock(QDateTime(QDate(2024, 4, 15), QTime(10, 0)));
        app::Options options;
        options.dataDir = data;
        options.databaseUrl = "sqlite:" + root.filePath("usb/dairy.db");
        app::Shell shell(options, dialogs, clock);
        shell.setHooks([](app::MainWindowHooks& h) { h.quit = [] {}; });
        shell.start();
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(dialogs.lastText().contains("does not exist"));
        QVERIFY(QDir().mkpath(root.filePath("usb")));
        shell.loginScreen()->findChild<QPushButton*>("cmdOK")->click();
        QVERIFY(shell.mainWindow());
        QVERIFY(QFileInfo::exists(QDir(data).filePath("DairyBackup.db")));
        QVERIFY(QFileInfo::exists(QDir(data).filePath("Tarvex15")));
    }

    // A file that is not a database: said at start, the login screen still
    // opens, and its OK button reports the failure and stays.
    void unreadableFileAtStartIsReportedAndLeftAlone() {
        QTemporaryDir data;
        const QString path = data.filePath("dairy.db");
        QFile junk(path);
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(2048, 'z'));
        junk.close();
        test::ScriptedDialogs dialogs;
        core::FixedClock clock(QDateTime(QDate(2024, 4, 15), QTime(10, 0)));
        app::Options options;
        options.dataDir = data.path();
        options.databaseUrl = "sqlite:" + path;
        app::Shell shell(options, dialogs, clock);
        shell.start();
        QVERIFY(!dialogs.shown.isEmpty());
        QCOMPARE(dialogs.shown.first().icon, core::Icon::Critical);
        QVERIFY(dialogs.shown.first().text.contains(QDir::toNativeSeparators(path)));
        QVERIFY(shell.loginScreen()->isVisible());
        shell.loginScreen()->findChild<QPushButton*>("cmdOK")->click();
        QVERIFY(dialogs.lastText().contains("Procedure: cmdOK_Click"));
        QVERIFY(shell.loginScreen()->isVisible());
        QVERIFY(!shell.mainWindow());
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), QByteArray(2048, 'z'));
        QVERIFY(!QFileInfo::exists(data.filePath("DairyBackup.db")));
    }

    void wrongPasswordIsRefused_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("other word") << "milk";
        QTest::newRow("upper case") << "KELBO";
        QTest::newRow("one capital") << "Kelbo";
        QTest::newRow("trailing blank") << "kelbo ";
    }
    void wrongPasswordIsRefused() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, typed);
        Fixture f;
        QSignalSpy spy(f.login.get(), &app::LoginScreen::loggedIn);
        f.type(f.password(), typed);
        f.press();
        QCOMPARE(spy.count(), 0);
        QVERIFY(f.login->isVisible());
        const auto& last = f.t.dialogs.shown.last();
        QCOMPARE(last.text, QStringLiteral("Invalid Password, try again!"));
        QCOMPARE(last.title, QStringLiteral("Login"));
        QCOMPARE(last.icon, core::Icon::None);
        QVERIFY(f.password()->hasFocus());
        QCOMPARE(f.password()->selectedText(), typed);
    }

    void emptyFieldIsRefused_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("empty user name, right password") << ""
                                                         << "kelbo";
        QTest::newRow("empty password") << "kelbo"
                                        << "";
        QTest::newRow("both empty") << ""
                                    << "";
    }
    void emptyFieldIsRefused() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, user);
        QFETCH(QString, password);
        Fixture f;
        QSignalSpy spy(f.login.get(), &app::LoginScreen::loggedIn);
        f.user()->setText(user);
        f.password()->setText(password);
        f.press();
        QCOMPARE(spy.count(), 0);
        const auto& last = f.t.dialogs.shown.last();
        QCOMPARE(last.text, QStringLiteral("You have not enterd values in user name or password"));
        QCOMPARE(last.title, app::LoginScreen::caption());
        QCOMPARE(last.icon, core::Icon::Information);
    }

    void threeWrongTriesMakeThreeBackupsOfOneFile() {
        STOKARA_REQUIRE_DATABASE();
        Fixture f;
        f.type(f.password(), "wrong");
        for (int i = 0; i < 3; ++i)
            f.press();
        QCOMPARE(test::countMessages(f.t.dialogs, "Backup Completed."), 3);
        QCOMPARE(test::countMessages(f.t.dialogs, "Invalid Password, try again!"), 3);
        const QStringList files = QDir(f.backups.path()).entryList(QDir::Files);
        QCOMPARE(files, QStringList{"Tarvex15"});
        QCOMPARE(f.login->lastBackupFile(), QDir(f.backups.path()).filePath("Tarvex15"));
        QCOMPARE(f.login->findChild<QLabel*>("Label4")->text(),
                 QStringLiteral("Backup Completed."));
        for (const auto& m : f.t.dialogs.shown)
            if (m.text == "Backup Completed.")
                QCOMPARE(m.title, QStringLiteral("Tarvex Backup"));
    }

    void backupFileIsNamedByDay_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("file");
        QTest::newRow("31st") << QDate(2024, 1, 31) << "Tarvex31";
        QTest::newRow("1st of the next month") << QDate(2024, 2, 1) << "Tarvex01";
        QTest::newRow("9th") << QDate(2024, 3, 9) << "Tarvex09";
    }
    void backupFileIsNamedByDay() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QDate, day);
        QFETCH(QString, file);
        Fixture f;
        f.t.clock.set(QDateTime(day, QTime(9, 30)));
        f.press();
        QCOMPARE(QDir(f.backups.path()).entryList(QDir::Files), QStringList{file});
        if (f.t.db().isSqlite())
            QVERIFY(test::sqliteIntegrityOk(QDir(f.backups.path()).filePath(file)));
    }

    void emptyBackupPathAsksForOne() {
        STOKARA_REQUIRE_DATABASE();
        Fixture f;
        f.t.db().exec("update dairysetting set backuppath = ?", {QString()});
        f.press();
        QVERIFY(f.t.dialogs.texts().contains("Please define backup path for backup."));
        QVERIFY(!f.t.dialogs.texts().contains("Backup Completed."));
        QVERIFY(f.login->loginSucceeded()); // the login itself goes on
    }

    void unwritableBackupFolderIsReported() {
        STOKARA_REQUIRE_DATABASE();
        Fixture f;
        QFile blocker(QDir(f.backups.path()).filePath("not-a-folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        test::setBackupPath(f.t.db(), blocker.fileName());
        f.press();
        QVERIFY(!f.t.dialogs.texts().contains("Backup Completed."));
        bool named = false;
        for (const auto& m : f.t.dialogs.shown)
            named = named || (m.title == "Tarvex Backup" && m.text.contains("not-a-folder"));
        QVERIFY(named);
        QCOMPARE(f.login->findChild<QLabel*>("Label4")->text(), QStringLiteral("Backup failed."));
    }

    void unreadableDatabaseKeepsLoginOpen_data() {
        QTest::addColumn<bool>("noConnection");
        QTest::newRow("cannot connect") << true;
        QTest::newRow("password table missing") << false;
    }
    void unreadableDatabaseKeepsLoginOpen() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(bool, noConnection);
        TestSession t;
        QTemporaryDir backups;
        test::setBackupPath(t.db(), backups.path());
        app::LoginSettings settings;
        if (noConnection) {
            t.session.db = nullptr;
            settings.reconnect = [] { return QStringLiteral("The database file x.db is locked."); };
        } else {
            t.db().exec("drop table masspass");
        }
        app::LoginScreen login(t.session, settings);
        login.show();
        QSignalSpy spy(&login, &app::LoginScreen::loggedIn);
        login.findChild<QPushButton*>("cmdOK")->click();
        QCOMPARE(spy.count(), 0);
        QVERIFY(login.isVisible());
        const auto& last = t.dialogs.shown.last();
        QCOMPARE(last.icon, core::Icon::Critical);
        QVERIFY(last.text.startsWith("An error has occured."));
        QVERIFY(last.text.contains("Procedure: cmdOK_Click"));
        if (noConnection)
            QVERIFY(last.text.contains("locked"));
    }

    void enterKeysMoveAndLogIn() {
        STOKARA_REQUIRE_DATABASE();
        Fixture f;
        QSignalSpy spy(f.login.get(), &app::LoginScreen::loggedIn);
        f.user()->setFocus();
        QTest::keyClick(f.user(), Qt::Key_Return);
        QVERIFY(f.password()->hasFocus());
        QTest::keyClick(f.password(), Qt::Key_Return);
        QCOMPARE(spy.count(), 1);
    }

    void f4StoresVendorAsTyped_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("stored");
        QTest::newRow("trimmed") << "  V01 "
                                 << "V01";
        QTest::newRow("apostrophe") << "O'Neil"
                                    << "O'Neil";
    }
    void f4StoresVendorAsTyped() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, answer);
        QFETCH(QString, stored);
        Fixture f;
        f.t.dialogs.answerInput(answer);
        QTest::keyClick(f.login.get(), Qt::Key_F4);
        QCOMPARE(f.t.dialogs.prompts, QStringList{"Enter Vendor."});
        QCOMPARE(f.t.db().scalar("select vendor from dairysetting").toString(), stored);
    }

    void f4CancelledChangesNothing() {
        STOKARA_REQUIRE_DATABASE();
        Fixture f;
        f.t.db().exec("update dairysetting set vendor = ?", {"OLD"});
        QTest::keyClick(f.login.get(), Qt::Key_F4); // unqueued input box: cancelled
        QCOMPARE(f.t.db().scalar("select vendor from dairysetting").toString(),
                 QStringLiteral("OLD"));
    }

    void companyChoiceSetsLoginCompany() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        t.db().exec("insert into compmaster (compName, city) values (?, ?)",
                    {"Amul Sahkari", "Anand"});
        t.db().exec("insert into compmaster (compName, city) values (?, ?)",
                    {"Banas O'Dairy", "Palanpur"});
        app::LoginScreen login(t.session, {});
        auto* combo = login.findChild<QComboBox*>("DcCompany");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(t.session.loginCompany, QStringLiteral("Amul Sahkari"));
        combo->setCurrentIndex(1);
        emit combo->textActivated(combo->currentText());
        QCOMPARE(t.session.loginCompany, QStringLiteral("Banas O'Dairy"));
    }

    // The user password screen's change is what the next login checks.
    void newPasswordTakesEffectAtNextLogin() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        QTemporaryDir backups;
        test::setBackupPath(t.db(), backups.path());
        {
            security::UserSecurityScreen screen(t.session);
            screen.findChild<QLineEdit*>("txtPassword")->setText("kelbo");
            screen.findChild<QLineEdit*>("TxtNewpassword")->setText("ghee'25");
            screen.findChild<QLineEdit*>("TxtConfirmPassword")->setText("ghee'25");
            screen.findChild<QPushButton*>("CmdSave")->click();
            QCOMPARE(t.dialogs.lastText(), QStringLiteral("Password changed."));
        }
        const QStringList tries{"kelbo", "ghee'25"};
        QList<int> logins;
        for (const QString& typed : tries) {
            app::LoginScreen login(t.session, {});
            QSignalSpy spy(&login, &app::LoginScreen::loggedIn);
            login.findChild<QLineEdit*>("txtPassword")->setText(typed);
            login.findChild<QPushButton*>("cmdOK")->click();
            logins << spy.count();
        }
        QCOMPARE(logins, (QList<int>{0, 1}));
    }
};

QTEST_MAIN(LoginTest)
#include "test_login.moc"
