#include "messaging/sms_message.h"

#include <QtTest>

using namespace stokara::messaging;

class TestSmsMessage : public QObject {
    Q_OBJECT
private slots:
    void receiptMessageOfTheShopsExample();
    void plainNumbers_data();
    void plainNumbers();
    void sendableMobile_data();
    void sendableMobile();
    void acceptedAnswer_data();
    void acceptedAnswer();
    void requestKeysInOrderAndEncoded();
    void gatewayAddress_data();
    void gatewayAddress();
};

void TestSmsMessage::receiptMessageOfTheShopsExample() {
    ReceiptBill bill;
    bill.date = QDate(2018, 3, 5);
    bill.billNo = QStringLiteral("7");
    bill.items = {{QStringLiteral("FEED-A"), 2, 450, 900},
                  {QStringLiteral("MINERAL"), 1, 120, 120}};
    QCOMPARE(
        composeReceiptMessage(bill, QStringLiteral("Green Agro"), QStringLiteral("Karnal")),
        QStringLiteral("Your Item Sale Receipt For Date:05/03/2018 Bill No.:7  FEED-A Wt/Qty:2 "
                       "Rate:450 Amount:900,  MINERAL Wt/Qty:1 Rate:120 Amount:120,  Green "
                       "Agro Karnal"));
}

void TestSmsMessage::plainNumbers_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 100.0 << "100";
    QTest::newRow("one decimal") << 2.5 << "2.5";
    QTest::newRow("below one") << 0.5 << "0.5";
    QTest::newRow("two decimals") << 33.33 << "33.33";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("binary noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("large") << 9999999.99 << "9999999.99";
}

void TestSmsMessage::plainNumbers() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(plainNumber(value), text);
}

void TestSmsMessage::sendableMobile_data() {
    QTest::addColumn<QString>("mobile");
    QTest::addColumn<bool>("sendable");
    QTest::newRow("12 digits") << "919876543210" << true;
    QTest::newRow("12 digits and a blank") << "919876543210 " << true;
    QTest::newRow("blank and 12 digits") << " 919876543210" << true;
    QTest::newRow("10 digits") << "9876543210" << false;
    QTest::newRow("13 characters") << "+919876543210" << false;
    QTest::newRow("empty") << "" << false;
}

void TestSmsMessage::sendableMobile() {
    QFETCH(QString, mobile);
    QFETCH(bool, sendable);
    QCOMPARE(isSendableMobile(mobile), sendable);
}

void TestSmsMessage::acceptedAnswer_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("success") << "success" << true;
    QTest::newRow("inside a sentence") << "Message sent successfully, id 42" << true;
    QTest::newRow("capital first letter") << "Success" << false;
    QTest::newRow("upper case") << "SUCCESS" << false;
    QTest::newRow("error page") << "<html>Internal error</html>" << false;
    QTest::newRow("empty") << "" << false;
}

void TestSmsMessage::acceptedAnswer() {
    QFETCH(QString, answer);
    QFETCH(bool, accepted);
    QCOMPARE(gatewayAccepted(answer), accepted);
}

void TestSmsMessage::requestKeysInOrderAndEncoded() {
    SmsSettings settings{QStringLiteral("shop 1"), QStringLiteral("k&y+=%"),
                         QStringLiteral("GRNAGR"), QStringLiteral("http://sms.example.in:8080")};
    const QString message = QStringLiteral("Rs 5+5 & more: दाना");
    const QUrl url = gatewayRequestUrl(settings, QStringLiteral("919876543210 "), message);
    QVERIFY(url.isValid());
    QCOMPARE(url.scheme(), QStringLiteral("http"));
    QCOMPARE(url.host(), QStringLiteral("sms.example.in"));
    QCOMPARE(url.port(), 8080);
    QCOMPARE(url.path(), QStringLiteral("/submitsms.jsp"));
    const QByteArray query = url.query(QUrl::FullyEncoded).toLatin1();
    QCOMPARE(query, QByteArray("user=shop%201&key=k%26y%2B%3D%25&mobile=919876543210%20&message=") +
                        QUrl::toPercentEncoding(message) + "&senderid=GRNAGR&accusage=1");
}

void TestSmsMessage::gatewayAddress_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("request"); // empty: not usable
    QTest::newRow("host and port") << "sms.example.in:8080"
                                   << "http://sms.example.in:8080/submitsms.jsp";
    QTest::newRow("with scheme") << "https://sms.example.in"
                                 << "https://sms.example.in/submitsms.jsp";
    QTest::newRow("with a folder") << "http://sms.example.in/api/"
                                   << "http://sms.example.in/api/submitsms.jsp";
    QTest::newRow("folder without slash") << "http://sms.example.in/api"
                                          << "http://sms.example.in/api/submitsms.jsp";
    QTest::newRow("blanks around") << "  http://10.0.0.5:81  "
                                   << "http://10.0.0.5:81/submitsms.jsp";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("other scheme") << "ftp://sms.example.in"
                                  << "";
    QTest::newRow("no host") << "http://"
                             << "";
    QTest::newRow("with a query") << "http://sms.example.in/?a=1"
                                  << "";
}

void TestSmsMessage::gatewayAddress() {
    QFETCH(QString, address);
    QFETCH(QString, request);
    SmsSettings settings;
    settings.gateway = address;
    const QUrl url =
        gatewayRequestUrl(settings, QStringLiteral("919876543210"), QStringLiteral("x"));
    if (request.isEmpty()) {
        QVERIFY(!url.isValid());
        QVERIFY(!gatewayBaseUrl(address).isValid());
    } else {
        QCOMPARE(url.toString(QUrl::RemoveQuery), request);
    }
}

QTEST_MAIN(TestSmsMessage)
#include "test_sms_message.moc"
