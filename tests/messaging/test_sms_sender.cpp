#include "core/database.h"
#include "http_test_server.h"
#include "messaging/sms_sender.h"
#include "messaging/sms_settings_store.h"
#include "support/test_session.h"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace stokara;
using messaging::SaleReceipt;
using messaging::SmsSender;

namespace {

const QDate kBillDate(2018, 3, 5);
const QString kExample = QStringLiteral(
    "Your Item Sale Receipt For Date:05/03/2018 Bill No.:7  FEED-A Wt/Qty:2 Rate:450 Amount:900,  "
    "MINERAL Wt/Qty:1 Rate:120 Amount:120,  Green Agro Karnal");

void addParty(core::Database& db, const QString& code, const QString& name, const QVariant& ph) {
    db.exec(QStringLiteral("insert into masparty (party_code, party_name, ph, category) values (?, "
                           "?, ?, 'MilkMan')"),
            {code, name, ph});
}

void addSale(core::Database& db, const QString& bill, const QDate& date, const QString& party,
             const QString& item, double qty, double rate, double amount) {
    db.exec(QStringLiteral("insert into itemsale (doc_dt, party_code, qty, rate, net_amt, unit, "
                           "item_name, category, doc_no) values (?, ?, ?, ?, ?, 'Kg', ?, "
                           "'MilkMan', ?)"),
            {date, party, qty, rate, amount, item, bill});
}

// The shop of the example, its gateway account on the test server, and bill 7.
struct Shop {
    explicit Shop(const QString& mobile = QStringLiteral("919876543210")) {
        t.session.shop.name = QStringLiteral("Green Agro");
        t.session.shop.city = QStringLiteral("Karnal");
        messaging::SmsSettingsStore(t.db()).save({QStringLiteral("shop1"), QStringLiteral("k&y+1"),
                                                  QStringLiteral("GRNAGR"), server.address()});
        addParty(t.db(), QStringLiteral("12"), QStringLiteral("Ram Singh"), mobile);
        addSale(t.db(), QStringLiteral("7"), kBillDate, QStringLiteral("12"),
                QStringLiteral("FEED-A"), 2, 450, 900);
        addSale(t.db(), QStringLiteral("7"), kBillDate, QStringLiteral("12"),
                QStringLiteral("MINERAL"), 1, 120, 120);
    }
    SaleReceipt receipt() const {
        return {QStringLiteral("12"), QStringLiteral("7"), kBillDate, QStringLiteral("Ram Singh")};
    }
    core::Rows log() {
        return t.db().query(QStringLiteral("select doc_dt, party_code, party_name, message, "
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
    return QStringLiteral("<missing>");
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
    void silentGatewayTimesOutWithoutFreezing();
    void unreachableGatewayKeepsTheMessageOutstanding();
    void noGatewayAddressKeepsTheMessageOutstanding();
    void longMessageGoesWholeAndTheLogKeeps160();
    void closingBeforeTheAnswerKeepsTheMessageOutstanding();
    void namesWithApostrophesAreLoggedAsTyped();
    void billWithoutRowsSendsNothing();
    void failingLogIsShownAsTheSendSmsError();
};

void TestSmsSender::sendsTheExampleAndLogsIt() {
    STOKARA_REQUIRE_DATABASE();
    Shop shop;
    SmsSender sender(shop.t.session);
    QSignalSpy logged(&sender, &SmsSender::logged);
    QSignalSpy notices(&sender, &SmsSender::notice);
    QVERIFY(sender.sendSaleReceipt(shop.receipt()));
    QTRY_COMPARE(logged.size(), 1);
    QCOMPARE(logged[0][0].toString(), QStringLiteral("S"));
    QCOMPARE(notices.size(), 0);
    QCOMPARE(sender.pending(), 0);

    QCOMPARE(shop.server.requests.size(), 1);
    const auto& request = shop.server.requests[0];
    QCOMPARE(request.method, QByteArray("GET"));
    QCOMPARE(request.path(), QByteArray("/submitsms.jsp"));
    QStringList keys;
    for (const auto& item : request.query())
        keys << item.first;
    QCOMPARE(keys, QStringList({"user", "key", "mobile", "message", "senderid", "accusage"}));
    QCOMPARE(queryValue(request, "user"), QStringLiteral("shop1"));
    QCOMPARE(queryValue(request, "key"), QStringLiteral("k&y+1"));
    QCOMPARE(queryValue(request, "mobile"), QStringLiteral("919876543210"));
    QCOMPARE(queryValue(request, "message"), kExample);
    QCOMPARE(queryValue(request, "senderid"), QStringLiteral("GRNAGR"));
    QCOMPARE(queryValue(request, "accusage"), QStringLiteral("1"));
    // Blanks travel as %20: a "+" would read as a blank at the gateway.
    QVERIFY(!request.rawQuery().contains('+'));
    QVERIFY(!request.rawQuery().contains(' '));

    const core::Rows log = shop.log();
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(log[0].date("doc_dt"), kBillDate);
    QCOMPARE(log[0].text("party_code"), QStringLiteral("12"));
    QCOMPARE(log[0].text("party_name"), QStringLiteral("Ram Singh"));
    QCOMPARE(log[0].text("message"), kExample);
    QVERIFY(!log[0].isNull("message1"));
    QCOMPARE(log[0].text("message1"), QString());
    QCOMPARE(log[0].text("status"), QStringLiteral("S"));
    QCOMPARE(log[0].text("returnmessage"), QStringLiteral("success"));
}

void TestSmsSender::mobileNumberDecides_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("sent");
    QTest::newRow("12 digits") << QVariant("919876543210") << true;
    QTest::newRow("12 digits and a blank, sent untrimmed") << QVariant("919876543210 ") << true;
    QTest::newRow("10 digits") << QVariant("9876543210") << false;
    QTest::newRow("no number") << QVariant(QMetaType(QMetaType::QString)) << false;
    QTest::newRow("empty") << QVariant("") << false;
}

void TestSmsSender::mobileNumberDecides() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QVariant, stored);
    QFETCH(bool, sent);
    Shop shop(QStringLiteral("x"));
    shop.t.db().exec(QStringLiteral("update masparty set ph = ? where party_code = '12'"),
                     {stored});
    SmsSender sender(shop.t.session);
    QSignalSpy logged(&sender, &SmsSender::logged);
    QCOMPARE(sender.sendSaleReceipt(shop.receipt()), sent);
    if (sent) {
        QTRY_COMPARE(logged.size(), 1);
        QCOMPARE(shop.server.requests.size(), 1);
        QCOMPARE(queryValue(shop.server.requests[0], "mobile"), stored.toString());
        QCOMPARE(shop.log().size(), size_t(1));
    } else {
        QCOMPARE(sender.pending(), 0);
        QTest::qWait(50);
        QCOMPARE(shop.server.requests.size(), 0);
        QCOMPARE(shop.log().size(), size_t(0));
        QCOMPARE(logged.size(), 0);
    }
}

void TestSmsSender::answerDecidesTheStatus_data() {
    QTest::addColumn<int>("httpStatus");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("notice");
    QTest::newRow("success") << 200 << QByteArray("success") << "S" << false;
    QTest::newRow("success inside the answer")
        << 200 << QByteArray("Sent successfully: 42") << "S" << false;
    QTest::newRow("capital first letter") << 200 << QByteArray("Success") << "O" << false;
    QTest::newRow("refused") << 200 << QByteArray("error: invalid key") << "O" << false;
    QTest::newRow("empty answer") << 200 << QByteArray() << "O" << false;
    QTest::newRow("HTTP error page saying success") << 500 << QByteArray("success") << "O" << true;
    QTest::newRow("HTTP 400") << 400 << QByteArray("bad request") << "O" << true;
}

void TestSmsSender::answerDecidesTheStatus() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(int, httpStatus);
    QFETCH(QByteArray, body);
    QFETCH(QString, status);
    QFETCH(bool, notice);
    Shop shop;
    shop.server.status = httpStatus;
    shop.server.body = body;
    SmsSender sender(shop.t.session);
    QSignalSpy logged(&sender, &SmsSender::logged);
    QSignalSpy notices(&sender, &SmsSender::notice);
    QVERIFY(sender.sendSaleReceipt(shop.receipt()));
    QTRY_COMPARE(logged.size(), 1);
    QCOMPARE(logged[0][0].toString(), status);
    const core::Rows log = shop.log();
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(log[0].text("status"), status);
    QCOMPARE(log[0].text("message"), kExample);
    QCOMPARE(notices.size(), notice ? 1 : 0);
    QVERIFY(shop.t.dialogs.shown.isEmpty());
}

void TestSmsSender::silentGatewayTimesOutWithoutFreezing() {
    STOKARA_REQUIRE_DATABASE();
    Shop shop;
    shop.server.answer = false;
    SmsSender sender(shop.t.session);
    QCOMPARE(sender.timeout(), SmsSender::kDefaultTimeoutMs);
    sender.setTimeout(400);
    QSignalSpy logged(&sender, &SmsSender::logged);
    QSignalSpy notices(&sender, &SmsSender::notice);

    // The counter keeps working while the gateway is silent.
    int ticks = 0;
    QTimer counter;
    connect(&counter, &QTimer::timeout, [&] { ++ticks; });
    counter.start(10);

    QVERIFY(sender.sendSaleReceipt(shop.receipt()));
    QCOMPARE(sender.pending(), 1);
    QCOMPARE(shop.log().size(), size_t(0)); // nothing logged before the answer
    QTRY_COMPARE(shop.server.requests.size(), 1);
    const int ticksWhileWaiting = ticks;
    QVERIFY(ticksWhileWaiting >= 0);
    QTRY_COMPARE_WITH_TIMEOUT(logged.size(), 1, 5000);
    QVERIFY2(ticks - ticksWhileWaiting >= 5, "the event loop was blocked while waiting");
    QCOMPARE(logged[0][0].toString(), QStringLiteral("O"));
    QCOMPARE(sender.pending(), 0);
    QCOMPARE(notices.size(), 1);
    QVERIFY(notices[0][0].toString().contains(QLatin1String("Ram Singh")));
    QVERIFY(!notices[0][0].toString().contains(QLatin1Char('\n')));
    const core::Rows log = shop.log();
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(log[0].text("status"), QStringLiteral("O"));
    QCOMPARE(log[0].text("message"), kExample);
}

void TestSmsSender::unreachableGatewayKeepsTheMessageOutstanding() {
    STOKARA_REQUIRE_DATABASE();
    Shop shop;
    // A port nobody listens on: take one from a server and close it.
    QString address;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        address = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
    }
    messaging::SmsSettingsStore(shop.t.db())
        .save({QStringLiteral("shop1"), QStringLiteral("k"), QStringLiteral("GRNAGR"), address});
    SmsSender sender(shop.t.session);
    QSignalSpy logged(&sender, &SmsSender::logged);
    QSignalSpy notices(&sender, &SmsSender::notice);
    QVERIFY(sender.sendSaleReceipt(shop.receipt()));
    QTRY_COMPARE(logged.size(), 1);
    QCOMPARE(logged[0][0].toString(), QStringLiteral("O"));
    QCOMPARE(notices.size(), 1);
    QCOMPARE(shop.log().size(), size_t(1));
    QVERIFY(shop.t.dialogs.shown.isEmpty());
}

void TestSmsSender::noGatewayAddressKeepsTheMessageOutstanding() {
    STOKARA_REQUIRE_DATABASE();
    Shop shop;
    messaging::SmsSettingsStore(shop.t.db()).save({"shop1", "k", "GRNAGR", ""});
    SmsSender sender(shop.t.session);
    QSignalSpy notices(&sender, &SmsSender::notice);
    QVERIFY(sender.sendSaleReceipt(shop.receipt()));
    QCOMPARE(sender.pending(), 0);
    QCOMPARE(notices.size(), 1);
    QVERIFY(notices[0][0].toString().contains(QLatin1String("SMS Settings")));
    const core::Rows log = shop.log();
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(log[0].text("status"), QStringLiteral("O"));
    QCOMPARE(log[0].text("message"), kExample);
}

void TestSmsSender::longMessageGoesWholeAndTheLogKeeps160() {
    STOKARA_REQUIRE_DATABASE();
    Shop shop;
    for (int i = 1; i <= 8; ++i)
        addSale(shop.t.db(), QStringLiteral("7"), kBillDate, QStringLiteral("12"),
                QStringLiteral("CATTLE FEED GRADE %1").arg(i), 1.5, 10.25, 15.38);
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
    const core::Rows log = shop.log();
    QCOMPARE(log[0].text("message"), sent.left(160));
}

void TestSmsSender::closingBeforeTheAnswerKeepsTheMessageOutstanding() {
    STOKARA_REQUIRE_DATABASE();
    Shop shop;
    shop.server.answer = false;
    {
        SmsSender sender(shop.t.session);
        QVERIFY(sender.sendSaleReceipt(shop.receipt()));
        QTRY_COMPARE(shop.server.requests.size(), 1);
    }
    const core::Rows log = shop.log();
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(log[0].text("status"), QStringLiteral("O"));
    QCOMPARE(log[0].text("message"), kExample);
}

void TestSmsSender::namesWithApostrophesAreLoggedAsTyped() {
    STOKARA_REQUIRE_DATABASE();
    Shop shop;
    addParty(shop.t.db(), QStringLiteral("13"), QStringLiteral("D'Souza"),
             QStringLiteral("919812345678"));
    addSale(shop.t.db(), QStringLiteral("8"), kBillDate, QStringLiteral("13"),
            QStringLiteral("MAX'S FEED"), 1, 5, 5);
    SmsSender sender(shop.t.session);
    QSignalSpy logged(&sender, &SmsSender::logged);
    QVERIFY(sender.sendSaleReceipt(
        {QStringLiteral("13"), QStringLiteral("8"), kBillDate, QStringLiteral("D'Souza")}));
    QTRY_COMPARE(logged.size(), 1);
    const core::Rows log = shop.log();
    QCOMPARE(log[0].text("party_name"), QStringLiteral("D'Souza"));
    QVERIFY(log[0].text("message").contains(QLatin1String("MAX'S FEED Wt/Qty:1")));
}

void TestSmsSender::billWithoutRowsSendsNothing() {
    STOKARA_REQUIRE_DATABASE();
    Shop shop;
    SmsSender sender(shop.t.session);
    QVERIFY(!sender.sendSaleReceipt(
        {QStringLiteral("12"), QStringLiteral("99"), kBillDate, QStringLiteral("Ram Singh")}));
    QTest::qWait(50);
    QCOMPARE(shop.server.requests.size(), 0);
    QCOMPARE(shop.log().size(), size_t(0));
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
    shop.t.db().exec(QStringLiteral("drop table messagelog"));
    QTRY_COMPARE_WITH_TIMEOUT(shop.t.dialogs.shown.size(), 1, 5000);
    QVERIFY(shop.t.dialogs.lastText().startsWith(QLatin1String("An error has occured.")));
    QVERIFY(shop.t.dialogs.lastText().contains(QLatin1String("Procedure: SendSMS")));
    QCOMPARE(logged.size(), 0);
    QCOMPARE(sender.pending(), 0);
}

QTEST_MAIN(TestSmsSender)
#include "test_sms_sender.moc"
