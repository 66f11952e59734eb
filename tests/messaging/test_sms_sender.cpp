#include "core/database.h"
#include "http_test_server.h"
#include "messaging/sms_sender.h"
#include "messaging/sms_settings_store.h"
#include "support/test_session.h"

#include <QSignalSpy>
#include <QtTest>

using namespace stokara;
using messaging::SaleReceipt;
using messaging::SmsSender;

namespace {

const QDate kBillDate(2018, 3, 5);
// 50 characters, as wide as the party master and the message log keep a name.
const QString kPartyName("Ram D'Souza s/o Shri Hari Prasad, Karnal Kalan Dhe");
const QString kExample = QString(
    "Your Item Sale Receipt For Date:05/03/2018 Bill No.:7  FEED-A Wt/Qty:2 Rate:450 Amount:900,  "
    "MINERAL Wt/Qty:1 Rate:120 Amount:120,  Green Agro Karnal");

void addParty(core::Database& db, const QString& code, const QString& name, const QVariant& ph) {
    db.exec(QString("insert into masparty (party_code, party_name, ph, category) values (?, "
                    "?, ?, 'MilkMan')"),
            {code, name, ph});
}

void addSale(core::Database& db, const QString& bill, const QDate& date, const QString& party,
             const QString& item, double qty, double rate, double amount) {
    db.exec(QString("insert into itemsale (doc_dt, party_code, qty, rate, net_amt, unit, "
                    "item_name, category, doc_no) values (?, ?, ?, ?, ?, 'Kg', ?, "
                    "'MilkMan', ?)"),
            {date, party, qty, rate, amount, item, bill});
}

// The shop of the example, its gateway account on the test server, and bill 7.
struct Shop {
    explicit Shop(const QString& mobile = QString("919876543210")) {
        t.session.shop.name = QString("Green Agro");
        t.session.shop.city = QString("Karnal");
        messaging::SmsSettingsStore(t.db()).save(
            {QString("shop1"), QString("k&y+1"), QString("GRNAGR"), server.address()});
        addParty(t.db(), QString("12"), kPartyName, mobile);
        addSale(t.db(), QString("7"), kBillDate, QString("12"), QString("FEED-A"), 2, 450, 900);
        addSale(t.db(), QString("7"), kBillDate, QString("12"), QString("MINERAL"), 1, 120, 120);
    }
    SaleReceipt receipt() const { return {QString("12"), QString("7"), kBillDate, kPartyName}; }
    core::Rows log() {
        return t.db().query(QString("select doc_dt, party_code, party_name, message, "
                                    "message1, status, returnmessage from messagelog "
                                    "order by recordid"));
    }
    test::TestSession t;
    test::HttpTestServer server;
};

QString queryValue(const test::HttpTestServer::Request& request, const QString& key) {
    for (const auto& [k, v] : request.query())
        if (k == key)
            return v;
    return QString("<missing>");
}

} // namespace

class TestSmsSender : public QObject {
    Q_OBJECT
private slots:
    void sendsTheExampleAndLogsIt();
    void mobileNumberDecides_data();
    void mobileNumberDecides();
    void answerDecidesTheStatus_data();
    void answerDecidesTheStatus();
    void failedSendWaitsInTheOutBox_data();
    void failedSendWaitsInTheOutBox();
    void longMessageGoesWholeAndTheLogKeeps160();
    void failingLogIsShownAsTheSendSmsError();
};

// The request and the log row, byte for byte; the party's apostrophe as typed.
void TestSmsSender::sendsTheExampleAndLogsIt() {
    STOKARA_REQUIRE_DATABASE();
    Shop shop;
    SmsSender sender(shop.t.session);
    QSignalSpy logged(&sender, &SmsSender::logged);
    QSignalSpy notices(&sender, &SmsSender::notice);
    QVERIFY(sender.sendSaleReceipt(shop.receipt()));
    QTRY_COMPARE(logged.size(), 1);
    QCOMPARE(logged[0][0].toString(), QString("S"));
    QCOMPARE(notices.size(), 0);
    QCOMPARE(sender.pending(), 0);

    QCOMPARE(shop.server.requests.size(), 1);
    const auto& request = shop.server.requests[0];
    QCOMPARE(request.method, QByteArray("GET"));
    QCOMPARE(request.path(), QByteArray("/submitsms.jsp"));
    QStringList sent;
    for (const auto& [key, value] : request.query())
        sent << key + "=" + value;
    QCOMPARE(sent, (QStringList{"user=shop1", "key=k&y+1", "mobile=919876543210",
                                "message=" + kExample, "senderid=GRNAGR", "accusage=1"}));
    // Blanks travel as %20: a "+" would read as a blank at the gateway.
    QVERIFY(!request.rawQuery().contains(' '));
    QVERIFY(request.rawQuery().contains("key=k%26y%2B1&"));

    const core::Rows log = shop.log();
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(log[0].date("doc_dt"), kBillDate);
    QCOMPARE(log[0].text("party_code"), QString("12"));
    QCOMPARE(log[0].text("party_name"), kPartyName);
    QCOMPARE(log[0].text("message"), kExample);
    QVERIFY(!log[0].isNull("message1"));
    QCOMPARE(log[0].text("message1"), QString());
    QCOMPARE(log[0].text("status"), QString("S"));
    QCOMPARE(log[0].text("returnmessage"), QString("success"));
}

void TestSmsSender::mobileNumberDecides_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("sent");
    QTest::newRow("12 digits and a blank, sent untrimmed") << QVariant("919876543210 ") << true;
    QTest::newRow("10 digits") << QVariant("9876543210") << false;
    QTest::newRow("no number") << QVariant(QMetaType(QMetaType::QString)) << false;
}

void TestSmsSender::mobileNumberDecides() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QVariant, stored);
    QFETCH(bool, sent);
    Shop shop(QString("x"));
    shop.t.db().exec(QString("update masparty set ph = ? where party_code = '12'"), {stored});
    SmsSender sender(shop.t.session);
    QSignalSpy logged(&sender, &SmsSender::logged);
    QCOMPARE(sender.sendSaleReceipt(shop.receipt()), sent);
    if (sent) {
        QTRY_COMPARE(logged.size(), 1);
        QCOMPARE(queryValue(shop.server.requests.value(0), "mobile"), stored.toString());
    } else {
        QTest::qWait(50);
        QCOMPARE(shop.server.requests.size(), 0);
        QCOMPARE(shop.log().size(), size_t(0));
    }
}

void TestSmsSender::answerDecidesTheStatus_data() {
    QTest::addColumn<int>("httpStatus");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("status");
    QTest::newRow("success inside the answer") << 200 << QByteArray("Sent successfully") << "S";
    QTest::newRow("capital first letter") << 200 << QByteArray("Success") << "O";
    QTest::newRow("refused") << 200 << QByteArray("error: invalid key") << "O";
    QTest::newRow("HTTP error page saying success") << 500 << QByteArray("success") << "O";
}

void TestSmsSender::answerDecidesTheStatus() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(int, httpStatus);
    QFETCH(QByteArray, body);
    QFETCH(QString, status);
    Shop shop;
    shop.server.status = httpStatus;
    shop.server.body = body;
    SmsSender sender(shop.t.session);
    QSignalSpy logged(&sender, &SmsSender::logged);
    QVERIFY(sender.sendSaleReceipt(shop.receipt()));
    QTRY_COMPARE(logged.size(), 1);
    QCOMPARE(logged[0][0].toString(), status);
    const core::Rows log = shop.log();
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(log[0].text("status"), status);
    QCOMPARE(log[0].text("message"), kExample);
    QVERIFY(shop.t.dialogs.shown.isEmpty());
}

// A gateway that is silent, unreachable or not set, or a program closed before the
// answer: the bill's message is logged "O" (waiting in the Out Box), the counter is
// told without a message box, and it never waits for the network.
void TestSmsSender::failedSendWaitsInTheOutBox_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("notice"); // a word of the notice; empty: none
    QTest::newRow("silent gateway") << "silent"
                                    << "Ram D'Souza";
    QTest::newRow("nobody listening") << "unreachable"
                                      << "Out Box";
    QTest::newRow("no gateway address") << "unset"
                                        << "SMS Settings";
    QTest::newRow("closed before the answer") << "closed"
                                              << "";
}

void TestSmsSender::failedSendWaitsInTheOutBox() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QString, failure);
    QFETCH(QString, notice);
    Shop shop;
    shop.server.answer = failure != "silent" && failure != "closed";
    QString address = shop.server.address();
    if (failure == "unreachable") { // a port nobody listens on
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        address = QString("http://127.0.0.1:%1").arg(probe.serverPort());
    } else if (failure == "unset") {
        address.clear();
    }
    messaging::SmsSettingsStore(shop.t.db()).save({"shop1", "k", "GRNAGR", address});
    QStringList notices;
    {
        SmsSender sender(shop.t.session);
        sender.setTimeout(300);
        connect(&sender, &SmsSender::notice, this, [&](const QString& n) { notices << n; });
        QVERIFY(sender.sendSaleReceipt(shop.receipt()));
        if (failure == "closed")
            QTRY_COMPARE(shop.server.requests.size(), 1);
        else
            QTRY_COMPARE_WITH_TIMEOUT(sender.pending(), 0, 5000);
    }
    const core::Rows log = shop.log();
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(log[0].text("status"), QString("O"));
    QCOMPARE(log[0].text("message"), kExample);
    QCOMPARE(notices.size(), notice.isEmpty() ? 0 : 1);
    if (!notice.isEmpty())
        QVERIFY2(notices[0].contains(notice) && !notices[0].contains('\n'), qPrintable(notices[0]));
    QVERIFY(shop.t.dialogs.shown.isEmpty());
}

void TestSmsSender::longMessageGoesWholeAndTheLogKeeps160() {
    STOKARA_REQUIRE_DATABASE();
    Shop shop;
    for (int i = 1; i <= 8; ++i)
        addSale(shop.t.db(), QString("7"), kBillDate, QString("12"),
                QString("CATTLE FEED GRADE %1").arg(i), 1.5, 10.25, 15.38);
    SmsSender sender(shop.t.session);
    QSignalSpy logged(&sender, &SmsSender::logged);
    QVERIFY(sender.sendSaleReceipt(shop.receipt()));
    QTRY_COMPARE(logged.size(), 1);
    const QString sent = queryValue(shop.server.requests[0], "message");
    QVERIFY2(sent.size() >= 400, qPrintable(QString::number(sent.size())));
    QVERIFY(sent.startsWith(kExample.left(kExample.indexOf(QLatin1String("  Green")))));
    QVERIFY(
        sent.contains(QLatin1String("  CATTLE FEED GRADE 8 Wt/Qty:1.5 Rate:10.25 Amount:15.38,")));
    QVERIFY(sent.endsWith(QLatin1String("  Green Agro Karnal")));
    QCOMPARE(shop.log()[0].text("message"), sent.left(160));
}

void TestSmsSender::failingLogIsShownAsTheSendSmsError() {
    STOKARA_REQUIRE_DATABASE();
    Shop shop;
    shop.server.answer = false;
    SmsSender sender(shop.t.session);
    sender.setTimeout(200);
    QSignalSpy logged(&sender, &SmsSender::logged);
    QVERIFY(sender.sendSaleReceipt(shop.receipt()));
    // The log cannot take the row when the answer comes.
    shop.t.db().exec(QString("drop table messagelog"));
    QTRY_COMPARE_WITH_TIMEOUT(shop.t.dialogs.shown.size(), 1, 5000);
    QVERIFY(shop.t.dialogs.lastText().startsWith(QLatin1String("An error has occured.")));
    QVERIFY(shop.t.dialogs.lastText().contains(QLatin1String("Procedure: SendSMS")));
    QCOMPARE(logged.size(), 0);
    QCOMPARE(sender.pending(), 0);
}

QTEST_MAIN(TestSmsSender)
#include "test_sms_sender.moc"
