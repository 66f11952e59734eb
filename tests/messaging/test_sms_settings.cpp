#include "core/caption_language.h"
#include "core/database.h"
#include "core_ui/screen_support.h"
#include "messaging/message_centre_store.h"
#include "messaging/register_screens.h"
#include "messaging/sms_settings_store.h"
#include "support/test_session.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using namespace stokara;

namespace {

const char* const kFields[] = {"TxtSmsId", "TxtSmsPwd", "TxtSmsSenderName", "TxtSmsGateway"};

// The settings row as text: the four SMS columns (null shown as "<null>"), then
// the settings this screen must leave alone.
QStringList settingsRow(core::Database& db) {
    const core::Rows rows =
        db.query(QString("select SmsId, SmsPwd, SmsSenderName, SmsGateway, Dairylanguage, "
                         "vendor from dairysetting"));
    QStringList out;
    for (const core::Row& r : rows)
        for (int i = 0; i < r.size(); ++i)
            out << (r.at(i).isNull() ? QString("<null>") : r.text(i));
    return out;
}

// FrmOption_beta1 as the menu opens it; each field retyped as the operator
// would; a fifth value is the language number picked from the list.
std::unique_ptr<QWidget> openAndType(test::TestSession& t, const QStringList& typed) {
    core_ui::ScreenRegistry registry;
    messaging::registerScreens(registry);
    std::unique_ptr<QWidget> screen(registry.create(QString("FrmOption_beta1"), t.session));
    screen->show();
    QApplication::setActiveWindow(screen.get());
    auto* language = screen->findChild<QComboBox*>("CmbLanguage");
    if (typed.size() > 4)
        language->setCurrentIndex(language->findData(typed[4]));
    for (int i = 0; i < qMin(typed.size(), 4); ++i) {
        auto* edit = screen->findChild<QLineEdit*>(QLatin1String(kFields[i]));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed[i]);
    }
    return screen;
}

} // namespace

class TestSmsSettings : public QObject {
    Q_OBJECT
private slots:
    void loadsTheStoredValues() {
        STOKARA_REQUIRE_DATABASE();
        test::TestSession t;
        messaging::SmsSettingsStore(t.db()).save(
            {"shop1", "se'cret", "GRNAGR", "http://sms.example.in:8080"});
        auto screen = openAndType(t, {});
        QCOMPARE(screen->windowTitle(), QString("SMS Settings"));
        QStringList shown;
        for (const char* name : kFields)
            shown << screen->findChild<QLineEdit*>(QLatin1String(name))->text();
        QCOMPARE(shown, (QStringList{"shop1", "se'cret", "GRNAGR", "http://sms.example.in:8080"}));
    }

    // Closing stores the fields, trimmed and cut to their columns, as empty text rather
    // than null, and leaves the other settings alone; a shop without a settings row gets one.
    // A language picked is stored and used by the screens opened next.
    void storesOnClosing_data() {
        QTest::addColumn<bool>("hasRow");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("trimmed, quotes as typed")
            << true << QStringList{" shop2 ", "k'ey&+", "DAIRY ", " sms.example.in:81 "}
            << QStringList{"shop2", "k'ey&+", "DAIRY", "sms.example.in:81", "2", "V1"};
        QTest::newRow("empty fields store empty text")
            << true << QStringList{"", "   ", "", ""} << QStringList{"", "", "", "", "2", "V1"};
        QTest::newRow("cut to the columns")
            << true << QStringList{QString(25, 'u'), "k", "GREENAGRO", ""}
            << QStringList{QString(20, 'u'), "k", "GREENA", "", "2", "V1"};
        QTest::newRow("Punjabi picked")
            << true << QStringList{"s", "", "", "", "4"} << QStringList{"s", "", "", "", "4", "V1"};
        QTest::newRow("no settings row yet") << false << QStringList{"shop3", "", "", ""}
                                             << QStringList{"shop3", "", "", "", "1", "<null>"};
    }
    void storesOnClosing() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(bool, hasRow);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, stored);
        test::TestSession t;
        if (hasRow) {
            messaging::SmsSettingsStore(t.db()).save({"old", "old", "OLD", "http://old:1"});
            t.db().exec(QString("update dairysetting set Dairylanguage = '2', vendor = 'V1'"));
        } else {
            t.db().exec(QString("delete from dairysetting"));
        }
        auto screen = openAndType(t, typed);
        QVERIFY(screen->close());
        QVERIFY(t.dialogs.shown.isEmpty());
        QCOMPARE(settingsRow(t.db()), stored);
        QCOMPARE(t.session.languageFlags[core::kPunjabiFlag], typed.size() > 4 ? "Y" : "");
    }

    void badGatewayAddressKeepsTheScreenOpen() {
        STOKARA_REQUIRE_DATABASE();
        test::TestSession t;
        messaging::SmsSettingsStore(t.db()).save({"old", "old", "OLD", "http://old:1"});
        auto screen = openAndType(t, {"new", "old", "OLD"});
        auto* gateway = screen->findChild<QLineEdit*>("TxtSmsGateway");
        for (const char* bad : {"ftp://sms.example.in", "http://", "http://sms.example.in/?a=1"}) {
            gateway->setText(bad);
            QVERIFY(!screen->close());
            QVERIFY(screen->isVisible());
            QCOMPARE(t.dialogs.lastText(),
                     QString("Write the gateway address as http://host:port ."));
        }
        QCOMPARE(settingsRow(t.db()).value(0), QString("old"));
        // Corrected, it closes and stores.
        gateway->setText(QString("http://sms.example.in"));
        QVERIFY(screen->close());
        QCOMPARE(settingsRow(t.db()).mid(0, 4),
                 (QStringList{"new", "old", "OLD", "http://sms.example.in"}));
    }

    // The message centre's settings are stored with the others and shown again.
    void storesTheMessageCentreSettings() {
        STOKARA_REQUIRE_DATABASE();
        test::TestSession t;
        auto screen = openAndType(t, {"shop1", "k", "GRN", ""});
        screen->findChild<QCheckBox*>("ChkWebGateway")->setChecked(true);
        screen->findChild<QComboBox*>("CboGatewayFormat")->setCurrentText("B");
        const QStringList typed{" sms.example.in:81 ", "acc't", "p&w", "GRNAGR"};
        const char* const names[] = {"TxtGatewayHost", "TxtGatewayUser", "TxtGatewayPwd",
                                     "TxtGatewaySender"};
        for (int i = 0; i < 4; ++i)
            screen->findChild<QLineEdit*>(names[i])->setText(typed[i]);
        screen->findChild<QCheckBox*>("ChkGsmModem")->setChecked(true);
        screen->findChild<QComboBox*>("CboModemPort")->setEditText("/dev/ttyUSB1");
        QVERIFY(screen->close());
        const auto s = messaging::MessageCentreStore(t.db()).loadSettings();
        QVERIFY(s.webEnabled && s.modemEnabled && s.format == messaging::GatewayFormat::B);
        QCOMPARE((QStringList{s.host, s.account, s.password, s.senderId, s.modemPort}),
                 (QStringList{"sms.example.in:81", "acc't", "p&w", "GRNAGR", "/dev/ttyUSB1"}));
        QCOMPARE(settingsRow(t.db()).value(0), QString("shop1"));
        screen = openAndType(t, {});
        QCOMPARE(screen->findChild<QComboBox*>("CboGatewayFormat")->currentText(), QString("B"));
        QCOMPARE(screen->findChild<QLineEdit*>("TxtGatewayPwd")->text(), QString("p&w"));
        QVERIFY(screen->findChild<QCheckBox*>("ChkGsmModem")->isChecked());
    }

    // A database that refuses the values says why and keeps what was typed.
    void aRefusedStoreKeepsTheScreenOpen() {
        STOKARA_REQUIRE_DATABASE();
        test::TestSession t;
        auto screen = openAndType(t, {"typed", "k", "SENDER"});
        t.db().exec(QString("alter table dairysetting rename to dairysetting_away"));
        QVERIFY(!screen->close());
        QVERIFY(screen->isVisible());
        QVERIFY(t.dialogs.lastText().contains(QString("Form_Unload")));
        QCOMPARE(screen->findChild<QLineEdit*>("TxtSmsId")->text(), QString("typed"));
        t.db().exec(QString("alter table dairysetting_away rename to dairysetting"));
        QVERIFY(screen->close());
        QCOMPARE(settingsRow(t.db()).value(0), QString("typed"));
    }
};

QTEST_MAIN(TestSmsSettings)
#include "test_sms_settings.moc"
