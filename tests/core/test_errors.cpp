#include "core/errors.h"
#include "core/session.h"
#include "support/test_session.h"

#include <QTest>

using namespace stokara::core;
using stokara::test::TestDatabase;
using stokara::test::TestSession;

class TestErrors : public QObject {
    Q_OBJECT
private slots:
    void messageTextHasFourLines() {
        QCOMPARE(errorMessageText(QStringLiteral("Command8_Click"),
                                  {QStringLiteral("3021"), QStringLiteral("No row")}),
                 QStringLiteral("An error has occured.\r\n\tProcedure: Command8_Click\r\n\tError "
                                "Number: 3021\r\n\tError Description: No row"));
    }

    void logErrorCutsAndStrips_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("storedCaption");
        QTest::addColumn<QString>("storedDescription");
        QTest::newRow("quotes removed") << "Item Sale"
                                        << "Syntax error near 'abc' in 'x'"
                                        << "Item Sale"
                                        << "Syntax error near abc in x";
        QTest::newRow("long caption")
            << QString(300, QLatin1Char('c')) << "x" << QString(100, QLatin1Char('c')) << "x";
        QTest::newRow("long description with quotes")
            << "S" << QString(10, QLatin1Char('\'')) + QString(300, QLatin1Char('d')) << "S"
            << QString(250, QLatin1Char('d'));
    }
    void logErrorCutsAndStrips() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, caption);
        QFETCH(QString, description);
        QFETCH(QString, storedCaption);
        QFETCH(QString, storedDescription);
        TestSession t;
        logError(t.db(), caption, {QStringLiteral("13"), description}, t.clock.now());
        auto rows = t.db().query(QStringLiteral("select FormName, ErrorDescription, ErrorNo, "
                                                "ErrorDate from ErrorDesc"));
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].text(QStringLiteral("FormName")), storedCaption);
        QCOMPARE(rows[0].text(QStringLiteral("ErrorDescription")), storedDescription);
        QCOMPARE(rows[0].text(QStringLiteral("ErrorNo")), QStringLiteral("13"));
        QCOMPARE(rows[0].date(QStringLiteral("ErrorDate")), t.clock.today());
    }

    void guardedHandlersNeverThrow() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        bool ok = guarded(t.session, ErrorKind::Show, QStringLiteral("TxtPartyCode_KeyPress"),
                          [&] { t.db().query(QStringLiteral("select * from nowhere")); });
        QVERIFY(!ok);
        QCOMPARE(t.dialogs.shown.size(), 1);
        QCOMPARE(t.dialogs.shown[0].icon, Icon::Critical);
        QVERIFY(t.dialogs.shown[0].text.startsWith(
            QStringLiteral("An error has occured.\r\n\tProcedure: TxtPartyCode_KeyPress")));

        ok = guarded(t.session, ErrorKind::Log, QStringLiteral("Item Sale"),
                     [&] { throw DbError(QStringLiteral("7"), QStringLiteral("it's broken")); });
        QVERIFY(!ok);
        QCOMPARE(t.dialogs.shown.size(), 1); // the log kind says nothing
        QCOMPARE(t.db().scalar(QStringLiteral("select ErrorDescription from ErrorDesc")).toString(),
                 QStringLiteral("its broken"));
    }

    void logErrorWithoutTableIsSilent() {
        STOKARA_REQUIRE_DATABASE();
        TestDatabase empty(TestDatabase::Content::Empty);
        logError(empty.db(), QStringLiteral("x"), {QStringLiteral("1"), QStringLiteral("y")},
                 QDateTime::currentDateTime());
        QVERIFY(!empty.db().tableExists(QStringLiteral("ErrorDesc")));
    }
};

QTEST_MAIN(TestErrors)
#include "test_errors.moc"
