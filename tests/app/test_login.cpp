#include "app_test_kit.h"

#include "app/backup.h"
#include "app/login_screen.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "security/password_screen.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMutex>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>

using namespace stokara;
using stokara::test::TestSession;

namespace {

// A login screen over a counter whose backups go to a folder of the test's own.
struct Fixture {
    TestSession t;
    QTemporaryDir backups;
    std::unique_ptr<app::LoginScreen> login;

    explicit Fixture(app::LoginSettings settings = {}) {
        t.session.backupFolder = QDir::toNativeSeparators(backups.path());
        settings.pgDump = app::findPgDump();
        login = std::make_unique<app::LoginScreen>(t.session, settings);
        login->show();
        QApplication::setActiveWindow(login.get());
    }
    QLineEdit* user() { return login->findChild<QLineEdit*>("txtUserName"); }
    QLineEdit* password() { return login->findChild<QLineEdit*>("txtPassword"); }
    QString status() { return login->findChild<QLabel*>("Label4")->text(); }
    void press() { login->findChild<QPushButton*>("cmdOK")->click(); }
};

// An app run over a data folder, as main() builds it.
app::Options optionsFor(const QString& dataDir, const QString& url) {
    app::Options options;
    options.dataDir = dataDir;
    options.databaseUrl = url;
    return options;
}

} // namespace

class LoginTest : public QObject {
    Q_OBJECT

private slots:
    // Through the Shell, as two counters over one database with data folders
    // of their own: the default texts log in, MdiItem replaces the login
    // screen, the error log is emptied and each backs up into its own folder.
    void defaultTextsLogInThroughTheShell() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        t.db().exec("update dairysetting set backuppath = ?", {QString()});
        t.db().exec("insert into compmaster (compName) values (?)", {"Banas O'Dairy"});
        const core::DatabaseUrl& url = t.database.url();
        QTemporaryDir dataDirs[2];
        std::unique_ptr<app::Shell> shells[2];
        for (int c = 0; c < 2; ++c) {
            t.db().exec("insert into ErrorDesc (FormName, ErrorDescription, ErrorNo, ErrorDate) "
                        "values (?, ?, ?, ?)",
                        {"Item", "old failure", "5", t.clock.now()});
            shells[c] = std::make_unique<app::Shell>(
                optionsFor(dataDirs[c].path(), url.engine == core::Engine::Sqlite
                                                   ? "sqlite:" + url.path
                                                   : url.toString()),
                t.dialogs, t.clock);
            app::Shell& shell = *shells[c];
            shell.setHooks([](app::MainWindowHooks& h) { h.quit = [] {}; });
            shell.start();
            app::LoginScreen* login = shell.loginScreen();
            QVERIFY(login && login->isVisible() && !shell.mainWindow());
            QCOMPARE(shell.session().loginCompany, QString("Banas O'Dairy"));
            QCOMPARE(login->findChild<QLineEdit*>("txtUserName")->text(), QString("kelbo"));
            auto* password = login->findChild<QLineEdit*>("txtPassword");
            QCOMPARE(password->text(), QString("kelbo"));
            // Enter in the user name goes to the password; Enter there presses OK.
            QApplication::setActiveWindow(login);
            login->findChild<QLineEdit*>("txtUserName")->setFocus();
            QTest::keyClick(login->findChild<QLineEdit*>("txtUserName"), Qt::Key_Return);
            QVERIFY(password->hasFocus());
            QTest::keyClick(password, Qt::Key_Return);
            QVERIFY(login->loginSucceeded() && !login->isVisible());
            QVERIFY(shell.mainWindow() && shell.mainWindow()->isVisible());
            QCOMPARE(shell.mainWindow()->objectName(), QString("MdiItem"));
            QCOMPARE(t.db().scalar("select count(*) from errordesc").toInt(), 0);
            QVERIFY(shell.mainWindow()->entry("mnuussec")->isEnabled());
            QCOMPARE(t.dialogs.texts().count("Backup Completed."), c + 1);
            QCOMPARE(login->lastBackupFile(), QDir(dataDirs[c].path()).filePath("Tarvex15"));
            QVERIFY(QFileInfo::exists(login->lastBackupFile()));
        }
        // The shared row of a PostgreSQL database keeps the first counter's
        // folder; an SQLite file's one counter is the last started.
        QCOMPARE(t.db().scalar("select BackupPath from dairysetting").toString(),
                 QDir::toNativeSeparators(dataDirs[t.db().isSqlite() ? 1 : 0].path()));
    }

    // The login is up and usable while the start-up copy is made; OK waits for
    // it before the day backup; a program closed meanwhile waits for its end.
    void startupCopyHoldsNeitherLoginNorClose() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        const core::DatabaseUrl& url = t.database.url();
        const QString shown =
            url.engine == core::Engine::Sqlite ? "sqlite:" + url.path : url.toString();
        QTemporaryDir data;
        QSemaphore held;
        QMutex lock;
        QStringList ended; // the copies, in the order they ended
        const auto copier = [&](const core::DatabaseUrl& u, const QString& target) {
            const QString name = QFileInfo(target).fileName();
            if (name.startsWith("DairyBackup"))
                held.acquire();
            const app::CopyResult r = app::copyDatabase(u, target, app::findPgDump());
            QMutexLocker locked(&lock);
            ended << (r.ok ? name : "failed " + name);
            return r;
        };
        const QString startupCopy = t.db().isSqlite() ? "DairyBackup.db" : "DairyBackup.pgdump";

        auto shell =
            std::make_unique<app::Shell>(optionsFor(data.path(), shown), t.dialogs, t.clock);
        shell->setHooks([](app::MainWindowHooks& h) { h.quit = [] {}; });
        shell->setCopier(copier);
        shell->start();
        QVERIFY(shell->loginScreen()->isVisible() && shell->startupCopyRunning());
        QTimer::singleShot(200, [&] { held.release(); });
        shell->loginScreen()->findChild<QPushButton*>("cmdOK")->click();
        QVERIFY(shell->mainWindow() && shell->mainWindow()->isVisible());
        QCOMPARE(ended, QStringList({startupCopy, "Tarvex15"}));

        ended.clear();
        QFile::remove(data.filePath(startupCopy));
        shell = std::make_unique<app::Shell>(optionsFor(data.path(), shown), t.dialogs, t.clock);
        shell->setCopier(copier);
        shell->start();
        QVERIFY(shell->startupCopyRunning());
        std::unique_ptr<QThread> releaser(QThread::create([&] {
            QThread::msleep(200);
            held.release();
        }));
        releaser->start();
        shell.reset();
        QCOMPARE(ended, QStringList({startupCopy}));
        QVERIFY(QFileInfo::exists(data.filePath(startupCopy)));
        releaser->wait();
    }

    void refusedLogin_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString invalid = "Invalid Password, try again!";
        const QString empty = "You have not enterd values in user name or password";
        QTest::newRow("upper case") << "kelbo"
                                    << "KELBO" << invalid;
        QTest::newRow("trailing blank") << "kelbo"
                                        << "kelbo " << invalid;
        QTest::newRow("quote") << "kelbo"
                               << "kel'bo" << invalid;
        QTest::newRow("empty user name, right password") << ""
                                                         << "kelbo" << empty;
        QTest::newRow("empty password") << "kelbo"
                                        << "" << empty;
    }
    void refusedLogin() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, user);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Fixture f;
        QSignalSpy spy(f.login.get(), &app::LoginScreen::loggedIn);
        f.user()->setText(user);
        f.password()->clear();
        QTest::keyClicks(f.password(), typed);
        f.press();
        QCOMPARE(spy.count(), 0);
        QVERIFY(f.login->isVisible() && !f.login->loginSucceeded());
        // No copy for a refused login.
        QVERIFY(QDir(f.backups.path()).isEmpty() &&
                !f.t.dialogs.texts().contains("Backup Completed."));
        const auto& last = f.t.dialogs.shown.last();
        QCOMPARE(last.text, message);
        if (message.startsWith("Invalid")) {
            QCOMPARE(last.title, QString("Login"));
            QCOMPARE(last.icon, core::Icon::None);
            // Ready to be typed over.
            QVERIFY(f.password()->hasFocus());
            QCOMPARE(f.password()->selectedText(), typed);
        } else {
            QCOMPARE(last.title, app::LoginScreen::caption());
            QCOMPARE(last.icon, core::Icon::Information);
        }
    }

    // A good login copies to Tarvex + day of month on a worker thread while
    // this one goes on with its events, and says so only after a good copy.
    void goodLoginBacksUpOffTheUiThread() {
        STOKARA_REQUIRE_DATABASE();
        QSemaphore uiTicks;
        QThread* copiedOn = nullptr;
        bool uiRanMeanwhile = false;
        app::LoginSettings settings;
        settings.copy = [&](const core::DatabaseUrl& url, const QString& target) {
            copiedOn = QThread::currentThread();
            // Run on the UI thread, this would wait in vain for a tick.
            uiRanMeanwhile = uiTicks.tryAcquire(1, 60000);
            return app::copyDatabase(url, target, app::findPgDump());
        };
        Fixture f(settings);
        QSignalSpy spy(f.login.get(), &app::LoginScreen::loggedIn);
        f.t.clock.set(QDateTime(QDate(2024, 5, 1), QTime(9, 30)));
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { uiTicks.release(); });
        ticker.start(0);
        f.press();
        QVERIFY(copiedOn && copiedOn != QThread::currentThread() && uiRanMeanwhile);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(QDir(f.backups.path()).entryList(QDir::Files), QStringList{"Tarvex01"});
        QCOMPARE(f.login->lastBackupFile(), QDir(f.backups.path()).filePath("Tarvex01"));
        QCOMPARE(f.status(), QString("Backup Completed."));
        QCOMPARE(f.t.dialogs.texts(), QStringList{"Backup Completed."});
        QCOMPARE(f.t.dialogs.shown.last().title, QString("Tarvex Backup"));
        if (f.t.db().isSqlite())
            QVERIFY(test::sqliteIntegrityOk(f.login->lastBackupFile()));
    }

    void emptyBackupPathAsksForOne() {
        STOKARA_REQUIRE_DATABASE();
        Fixture f;
        f.t.session.backupFolder.clear();
        f.press();
        QVERIFY(f.t.dialogs.texts().contains("Please define backup path for backup."));
        QVERIFY(!f.t.dialogs.texts().contains("Backup Completed."));
        QVERIFY(f.login->loginSucceeded()); // the login itself goes on
    }

    // A backup folder that is a file: no "Backup Completed.", the reason named.
    void unwritableBackupFolderIsReported() {
        STOKARA_REQUIRE_DATABASE();
        Fixture f;
        QFile blocker(QDir(f.backups.path()).filePath("disk"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        f.t.session.backupFolder = blocker.fileName();
        f.press();
        QVERIFY(!f.t.dialogs.texts().contains("Backup Completed."));
        const QString target =
            QDir::toNativeSeparators(QDir(blocker.fileName()).filePath("Tarvex15"));
        bool named = false;
        for (const auto& m : f.t.dialogs.shown)
            named = named || (m.title == "Tarvex Backup" &&
                              m.text.startsWith("The backup " + target + " could not be written") &&
                              m.text.contains("is a file, not a folder"));
        QVERIFY2(named, qPrintable(f.t.dialogs.texts().join('\n')));
        QCOMPARE(f.status(), QString("Backup failed."));
    }

    void unreadableDatabaseKeepsLoginOpen_data() {
        QTest::addColumn<QString>("situation");
        QTest::newRow("cannot connect") << "locked";
        QTest::newRow("password table missing") << "drop table masspass";
        QTest::newRow("password table empty") << "delete from masspass";
    }
    void unreadableDatabaseKeepsLoginOpen() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, situation);
        TestSession t;
        app::LoginSettings settings;
        if (situation == "locked") {
            t.session.db = nullptr;
            settings.reconnect = [] { return QString("The database file x.db is locked."); };
        } else {
            t.db().exec(situation);
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
        if (situation == "locked")
            QVERIFY(last.text.contains("locked"));
    }

    void f4StoresVendorAsTyped_data() {
        QTest::addColumn<QVariant>("answer"); // invalid: the box is cancelled
        QTest::addColumn<QString>("stored");
        QTest::newRow("trimmed") << QVariant("  V01 ") << "V01";
        QTest::newRow("apostrophe") << QVariant("O'Neil") << "O'Neil";
        QTest::newRow("cancelled") << QVariant() << "OLD";
        QTest::newRow("too long") << QVariant("VENDOR12345") << "OLD";
    }
    void f4StoresVendorAsTyped() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QVariant, answer);
        QFETCH(QString, stored);
        Fixture f;
        f.t.db().exec("update dairysetting set vendor = ?", {"OLD"});
        if (answer.isValid())
            f.t.dialogs.answerInput(answer.toString());
        QTest::keyClick(f.login.get(), Qt::Key_F4);
        QCOMPARE(f.t.dialogs.prompts, QStringList{"Enter Vendor."});
        QCOMPARE(f.t.db().scalar("select vendor from dairysetting").toString(), stored);
    }

    // The user password screen's change, quote included, is what the next
    // login checks.
    void newPasswordTakesEffectAtNextLogin() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        {
            security::UserSecurityScreen screen(t.session);
            screen.findChild<QLineEdit*>("txtPassword")->setText("kelbo");
            screen.findChild<QLineEdit*>("TxtNewpassword")->setText("ghee'25");
            screen.findChild<QLineEdit*>("TxtConfirmPassword")->setText("ghee'25");
            screen.findChild<QPushButton*>("CmdSave")->click();
            QCOMPARE(t.dialogs.lastText(), QString("Password changed."));
        }
        QList<int> logins;
        for (const QString typed : {"kelbo", "ghee'25"}) {
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
