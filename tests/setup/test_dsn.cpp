// The ODBC data source as an outside tool meets it, with the driver manager's
// files in a temporary folder (ODBCSYSINI, ODBCINI).
#include "setup/register_screens.h"

#include "core/database.h"
#include "core_ui/screen_support.h"
#include "support/test_session.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace stokara;

class TestDsn : public QObject {
    Q_OBJECT
    // One folder for the run (the driver manager reads ODBCSYSINI once); the
    // system's odbc.ini exists only when the system may be written.
    QTemporaryDir dir;
    QString sys = dir.filePath("sys/odbc.ini"), user = dir.filePath("user.ini"),
            own = dir.filePath("ODBC.INI");

private slots:
    void initTestCase() {
        QDir(dir.path()).mkdir("sys");
        qputenv("ODBCSYSINI", QFile::encodeName(dir.filePath("sys")));
        qputenv("ODBCINI", QFile::encodeName(user));
    }

    // With the defaults "Create DSN" makes "Dairy" reach the test database
    // (pressed twice, the second time without the password: it replaces the
    // first); each refusal names its field and writes nothing.
    void createDsn_data() {
        QTest::addColumn<bool>("system");
        for (const char* column : {"field", "value", "message"}) // message empty: created
            QTest::addColumn<QString>(column);
        const auto row = [](const char* name, bool system, const char* field = "",
                            const char* value = "", const char* message = "") {
            QTest::newRow(name) << system << QString(field) << QString(value) << QString(message);
        };
        row("system data source", true);
        row("user data source", false);
        row("visible", true, "chkVisible");
        row("blank name", true, "txtDataSourceName", "   ", "Missing data source name");
        row("no description", true, "txtDescription", "", "Missing data source description");
        row("no driver path", true, "txtDriverPath", " ", "Missing driver path");
        row("no driver ID", true, "txtDriverID", "", "Missing driver ID");
        row("letter in driver ID", true, "txtDriverID", "2S", "Driver ID must be numeric");
        row("no driver name", true, "txtDriverName", "", "Missing driver name");
        row("visible, no path", true, "txtODBCPath", "", "Missing ODBC.Ini path");
        row("refused by the driver manager", true, "txtDataSourceName", "Dairy[1]",
            "Unable to create DSN");
    }
    void createDsn() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(bool, system);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        for (const QString& f : {sys, user, own})
            QFile::remove(f);
        if (system)
            QFile(sys).open(QIODevice::WriteOnly);
        test::TestSession t;
        t.db().exec("insert into masparty (party_code, party_name, category) values (?, ?, ?), "
                    "(?, ?, ?)",
                    {"1", "D'Souza दूध", "MilkMan", "2", "Gurpreet", "VLCC"});
        core_ui::ScreenRegistry registry;
        setup::registerScreens(registry);
        std::unique_ptr<QWidget> screen(registry.create("FrmDsn", t.session));
        screen->show();
        QApplication::setActiveWindow(screen.get());
        const auto text = [&](const char* name) { return screen->findChild<QLineEdit*>(name); };
        const bool visible = field == "chkVisible" || field == "txtODBCPath";
        screen->findChild<QCheckBox*>("chkVisible")->setChecked(visible);
        text("txtODBCPath")->setText(own);
        if (field.startsWith("txt"))
            text(qPrintable(field))->setText(value);
        text("txtPassword")->setText("first");
        auto* create = screen->findChild<QAbstractButton*>("cmdCreate");
        QTest::mouseClick(create, Qt::LeftButton);
        if (!message.isEmpty()) {
            QCOMPARE(t.dialogs.texts(), QStringList{message});
            const bool refused = message.startsWith("Unable");
            QCOMPARE(t.dialogs.shown[0].title, refused ? "Error" : "Missing Information");
            QCOMPARE(t.dialogs.shown[0].icon, refused ? core::Icon::Critical : core::Icon::Warning);
            QCOMPARE(QApplication::focusWidget()->objectName(), refused ? "cmdCreate" : field);
            QVERIFY(QSettings(sys, QSettings::IniFormat).childGroups().isEmpty());
            QVERIFY(QSettings(user, QSettings::IniFormat).childGroups().isEmpty());
            return;
        }
        text("txtPassword")->clear();
        QTest::mouseClick(create, Qt::LeftButton);
        QVERIFY(t.dialogs.shown.isEmpty());
        QSettings ini(system ? sys : user, QSettings::IniFormat);
        QCOMPARE(ini.value("Dairy/Description").toString(), QString("Dairy"));
        QCOMPARE(ini.value("Dairy/DriverId").toString(), QString("25"));
        QVERIFY(!ini.contains("Dairy/PWD"));
        QVERIFY(QSettings(system ? user : sys, QSettings::IniFormat).childGroups().isEmpty());
        QCOMPARE(QSettings(own, QSettings::IniFormat).value("Dairy/Driver32").toString(),
                 visible ? ini.value("Dairy/Driver").toString() : QString());
        QCOMPARE(QFile::exists(own), visible);
        QStringList parties; // as an outside tool reads them through the data source
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QODBC", "through-dsn");
            db.setDatabaseName("Dairy");
            QSqlQuery q(db.open() ? db : QSqlDatabase());
            q.exec("select party_name from masparty order by party_code");
            while (q.next())
                parties << q.value(0).toString();
        }
        QSqlDatabase::removeDatabase("through-dsn");
        QCOMPARE(parties, (QStringList{"D'Souza दूध", "Gurpreet"}));
    }
};

QTEST_MAIN(TestDsn)
#include "test_dsn.moc"
