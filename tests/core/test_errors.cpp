#include "core/errors.h"
#include "core/session.h"
#include "support/test_session.h"

#include <QTest>

using namespace stokara::core;
using stokara::test::TestSession;

class TestErrors : public QObject {
    Q_OBJECT
private slots:
    void logErrorCutsAndStrips_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("storedCaption");
        QTest::addColumn<QString>("storedDescription");
        QTest::newRow("quotes removed") << "Item Sale"
                                        << "Syntax error near 'abc' in 'x'"
                                        << "Item Sale"
                                        << "Syntax error near abc in x";
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
        logError(t.db(), caption, {QString("13"), description}, t.clock.now());
        auto rows = t.db().query(QString("select FormName, ErrorDescription, ErrorNo, "
                                         "ErrorDate from ErrorDesc"));
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].text(QString("FormName")), storedCaption);
        QCOMPARE(rows[0].text(QString("ErrorDescription")), storedDescription);
        QCOMPARE(rows[0].text(QString("ErrorNo")), QString("13"));
        QCOMPARE(rows[0].date(QString("ErrorDate")), t.clock.today());
    }

    void guardedHandlersNeverThrow() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        bool ok = guarded(t.session, ErrorKind::Show, QString("Command8_Click"),
                          [&] { throw DbError(QString("3021"), QString("No row")); });
        QVERIFY(!ok);
        QCOMPARE(t.dialogs.shown.size(), 1);
        QCOMPARE(t.dialogs.shown[0].icon, Icon::Critical);
        QCOMPARE(t.dialogs.shown[0].text,
                 QString("An error has occured.\r\n\tProcedure: Command8_Click\r\n\tError "
                         "Number: 3021\r\n\tError Description: No row"));

        // A failing statement under the log kind is logged and says nothing.
        ok = guarded(t.session, ErrorKind::Log, QString("Item Sale"),
                     [&] { t.db().query(QString("select * from nowhere")); });
        QVERIFY(!ok);
        QCOMPARE(t.dialogs.shown.size(), 1);
        QCOMPARE(t.db().scalar(QString("select FormName from ErrorDesc")).toString(),
                 QString("Item Sale"));
        // With no error log to write to, the failure is still only swallowed.
        t.db().exec(QString("drop table ErrorDesc"));
        QVERIFY(!guarded(t.session, ErrorKind::Log, QString("Item Sale"),
                         [&] { throw DbError(QString("7"), QString("x")); }));
    }
};

QTEST_MAIN(TestErrors)
#include "test_errors.moc"
