#include "core/database.h"
#include "core_ui/screen_support.h"
#include "messaging/register_screens.h"
#include "messaging/sms_settings_screen.h"
#include "messaging/sms_settings_store.h"
#include "support/test_session.h"

#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using namespace stokara;

namespace {

core::Row settingsRow(core::Database& db) {
    const core::Rows rows = db.query(QStringLiteral(
        "select SmsId, SmsPwd, SmsSenderName, SmsGateway, Dairylanguage, BackupPath, vendor "
        "from dairysetting"));
    if (rows.size() != 1)
        throw std::runtime_error("expected one settings row");
    return rows.front();
}

QLineEdit* field(QWidget* screen, const char* name) {
    auto* edit = screen->findChild<QLineEdit*>(QLatin1String(name));
    if (!edit)
        qFatal("no field %s", name);
    return edit;
}

void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

std::unique_ptr<QWidget> openScreen(test::TestSession& t) {
    core_ui::ScreenRegistry registry;
    messaging::registerScreens(registry);
    std::unique_ptr<QWidget> screen(registry.create(QStringLiteral("FrmOption_beta1"), t.session));
    screen->show();
    QApplication::setActiveWindow(screen.get());
    return screen;
}

} // namespace

class TestSmsSettings : public QObject {
    Q_OBJECT
private slots:
    void screenIsRegisteredWithItsNames();
    void loadsTheStoredValues();
    void storesOnClosingAndLeavesOtherSettingsAlone_data();
    void storesOnClosingAndLeavesOtherSettingsAlone();
    void createsTheSettingsRowWhenThereIsNone();
    void badGatewayAddressKeepsTheScreenOpen();
    void fieldsHoldNoMoreThanTheirColumns();
    void olderDatabaseGetsTheGatewayColumn();
};

void TestSmsSettings::screenIsRegisteredWithItsNames() {
    STOKARA_REQUIRE_DATABASE();
    test::TestSession t;
    auto screen = openScreen(t);
    QCOMPARE(screen->objectName(), QStringLiteral("FrmOption_beta1"));
    QCOMPARE(screen->windowTitle(), QStringLiteral("SMS Settings"));
    for (const char* name : {"TxtSmsId", "TxtSmsPwd", "TxtSmsSenderName", "TxtSmsGateway"})
        QVERIFY(screen->findChild<QLineEdit*>(QLatin1String(name)));
}

void TestSmsSettings::loadsTheStoredValues() {
    STOKARA_REQUIRE_DATABASE();
    test::TestSession t;
    messaging::SmsSettingsStore(t.db()).save(
        {"shop1", "se'cret", "GRNAGR", "http://sms.example.in:8080"});
    auto screen = openScreen(t);
    QCOMPARE(field(screen.get(), "TxtSmsId")->text(), QStringLiteral("shop1"));
    QCOMPARE(field(screen.get(), "TxtSmsPwd")->text(), QStringLiteral("se'cret"));
    QCOMPARE(field(screen.get(), "TxtSmsSenderName")->text(), QStringLiteral("GRNAGR"));
    QCOMPARE(field(screen.get(), "TxtSmsGateway")->text(),
             QStringLiteral("http://sms.example.in:8080"));
    screen->close();
}

void TestSmsSettings::storesOnClosingAndLeavesOtherSettingsAlone_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("all filled, trimmed")
        << " shop2 "
        << "k'ey&+"
        << "DAIRY "
        << " sms.example.in:81 " << QStringList{"shop2", "k'ey&+", "DAIRY", "sms.example.in:81"};
    QTest::newRow("empty fields store empty text") << ""
                                                   << "   "
                                                   << ""
                                                   << "" << QStringList{"", "", "", ""};
}

void TestSmsSettings::storesOnClosingAndLeavesOtherSettingsAlone() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QString, id);
    QFETCH(QString, key);
    QFETCH(QString, sender);
    QFETCH(QString, gateway);
    QFETCH(QStringList, stored);
    test::TestSession t;
    messaging::SmsSettingsStore(t.db()).save({"old", "old", "OLD", "http://old:1"});
    t.db().exec(QStringLiteral("update dairysetting set Dairylanguage = '2', BackupPath = ?, "
                               "vendor = 'V1'"),
                {QStringLiteral("D:\\Backups")});

    auto screen = openScreen(t);
    retype(field(screen.get(), "TxtSmsId"), id);
    retype(field(screen.get(), "TxtSmsPwd"), key);
    retype(field(screen.get(), "TxtSmsSenderName"), sender);
    retype(field(screen.get(), "TxtSmsGateway"), gateway);
    QVERIFY(screen->close());
    QVERIFY(t.dialogs.shown.isEmpty());

    const core::Row row = settingsRow(t.db());
    QCOMPARE(row.text("SmsId"), stored[0]);
    QCOMPARE(row.text("SmsPwd"), stored[1]);
    QCOMPARE(row.text("SmsSenderName"), stored[2]);
    QCOMPARE(row.text("SmsGateway"), stored[3]);
    for (const char* column : {"SmsId", "SmsPwd", "SmsSenderName", "SmsGateway"})
        QVERIFY2(!row.isNull(QLatin1String(column)), column);
    QCOMPARE(row.text("Dairylanguage"), QStringLiteral("2"));
    QCOMPARE(row.text("BackupPath"), QStringLiteral("D:\\Backups"));
    QCOMPARE(row.text("vendor"), QStringLiteral("V1"));
}

void TestSmsSettings::createsTheSettingsRowWhenThereIsNone() {
    STOKARA_REQUIRE_DATABASE();
    test::TestSession t;
    t.db().exec(QStringLiteral("delete from dairysetting"));
    auto screen = openScreen(t);
    QCOMPARE(field(screen.get(), "TxtSmsId")->text(), QString());
    retype(field(screen.get(), "TxtSmsId"), QStringLiteral("shop3"));
    QVERIFY(screen->close());
    const core::Row row = settingsRow(t.db());
    QCOMPARE(row.text("SmsId"), QStringLiteral("shop3"));
    QCOMPARE(row.text("Dairylanguage"), QStringLiteral("1"));
}

void TestSmsSettings::badGatewayAddressKeepsTheScreenOpen() {
    STOKARA_REQUIRE_DATABASE();
    test::TestSession t;
    messaging::SmsSettingsStore(t.db()).save({"old", "old", "OLD", "http://old:1"});
    auto screen = openScreen(t);
    retype(field(screen.get(), "TxtSmsId"), QStringLiteral("new"));
    retype(field(screen.get(), "TxtSmsGateway"), QStringLiteral("ftp://sms.example.in"));
    QVERIFY(!screen->close());
    QVERIFY(screen->isVisible());
    QCOMPARE(t.dialogs.shown.size(), 1);
    QVERIFY(t.dialogs.lastText().contains(QLatin1String("http://host:port")));
    QCOMPARE(settingsRow(t.db()).text("SmsId"), QStringLiteral("old"));
    // Corrected, it closes and stores.
    retype(field(screen.get(), "TxtSmsGateway"), QStringLiteral("http://sms.example.in"));
    QVERIFY(screen->close());
    QCOMPARE(settingsRow(t.db()).text("SmsId"), QStringLiteral("new"));
    QCOMPARE(settingsRow(t.db()).text("SmsGateway"), QStringLiteral("http://sms.example.in"));
}

void TestSmsSettings::fieldsHoldNoMoreThanTheirColumns() {
    STOKARA_REQUIRE_DATABASE();
    test::TestSession t;
    auto screen = openScreen(t);
    retype(field(screen.get(), "TxtSmsSenderName"), QStringLiteral("GREENAGRO"));
    retype(field(screen.get(), "TxtSmsId"), QString(25, QLatin1Char('u')));
    QCOMPARE(field(screen.get(), "TxtSmsSenderName")->text(), QStringLiteral("GREENA"));
    QVERIFY(screen->close());
    QCOMPARE(settingsRow(t.db()).text("SmsSenderName"), QStringLiteral("GREENA"));
    QCOMPARE(settingsRow(t.db()).text("SmsId"), QString(20, QLatin1Char('u')));
    QVERIFY(t.dialogs.shown.isEmpty());
}

void TestSmsSettings::olderDatabaseGetsTheGatewayColumn() {
    STOKARA_REQUIRE_DATABASE();
    test::TestSession t;
    t.db().exec(QStringLiteral("alter table dairysetting drop column SmsGateway"));
    QVERIFY(!t.db().columnExists(QStringLiteral("dairysetting"), QStringLiteral("SmsGateway")));
    messaging::SmsSettingsStore store(t.db());
    QCOMPARE(store.load().gateway, QString());
    store.save({"a", "b", "c", "http://h:2"});
    QCOMPARE(store.load().gateway, QStringLiteral("http://h:2"));
}

QTEST_MAIN(TestSmsSettings)
#include "test_sms_settings.moc"
