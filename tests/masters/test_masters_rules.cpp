#include "masters/bom_store.h"
#include "schema/column_widths.h"
#include "masters/deletion_password.h"
#include "masters/item_rules.h"
#include "masters/party_rules.h"

#include <QTest>

using namespace stokara::masters;

class TestMastersRules : public QObject {
    Q_OBJECT

private slots:
    void deletionPassword_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        const QDate d(2024, 4, 15);
        const QString right = d.addDays(kDeletionPasswordOffsetDays).toString("ddMMyyyy");
        QTest::newRow("the day's password") << d << right << true;
        QTest::newRow("today's date itself") << d << QString("15042024") << false;
        QTest::newRow("yesterday's password")
            << d << d.addDays(kDeletionPasswordOffsetDays - 1).toString("ddMMyyyy") << false;
        QTest::newRow("with a blank") << d << (right + " ") << false;
        QTest::newRow("first seven digits") << d << right.left(7) << false;
        QTest::newRow("empty") << d << QString() << false;
        QTest::newRow("across the year end")
            << QDate(2024, 12, 25)
            << QDate(2024, 12, 25).addDays(kDeletionPasswordOffsetDays).toString("ddMMyyyy")
            << true;
    }
    void deletionPassword() {
        QFETCH(QDate, today);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QCOMPARE(isDeletionPassword(typed, today), accepted);
        QCOMPARE(stokara::masters::deletionPassword(today).size(), 8);
    }

    void nextPartyCode_data() {
        QTest::addColumn<QVariant>("highest");
        QTest::addColumn<QString>("next");
        QTest::newRow("no party yet") << QVariant() << "1";
        QTest::newRow("only codes that are not numbers") << QVariant(0.0) << "1";
        QTest::newRow("ordinary") << QVariant(41.0) << "42";
        QTest::newRow("past a 16-bit code") << QVariant(32767.0) << "32768";
        QTest::newRow("large") << QVariant(999999999.0) << "1000000000";
        QTest::newRow("negative codes only") << QVariant(-5.0) << "1";
    }
    void nextPartyCode() {
        QFETCH(QVariant, highest);
        QFETCH(QString, next);
        QCOMPARE(stokara::masters::nextPartyCode(highest), next);
    }

    void partyNumbersReadLeadingNumbers() {
        PartyFields f;
        f.commPer = "12abc";
        f.creditLimit = "2500.5";
        f.interestRate = "";
        f.opeBal = "x";
        const PartyNumbers n = partyNumbers(f);
        QCOMPARE(n.commPer, 12.0);
        QCOMPARE(n.creditLimit, 2500.0); // whole amount, half to even
        QCOMPARE(n.interestRate, 0.0);
        QCOMPARE(n.opeBal, 0.0);
    }

    void itemLeaveRules() {
        QCOMPARE(itemNameOnLeave("cattle feed"), QString("CATTLE FEED"));
        QCOMPARE(itemNameOnLeave(QString::fromUtf8("घी ghee")), QString::fromUtf8("घी GHEE"));
        QCOMPARE(unitOnLeave(""), QString("Weight"));
        QCOMPARE(unitOnLeave("Pcs"), QString("Pcs"));
        QCOMPARE(mainItemOnLeave(""), QString("N"));
        QCOMPARE(mainItemOnLeave("Y"), QString("Y"));
        QCOMPARE(unitWords().first(), QString("Weight"));
        QCOMPARE(unitWords().size(), 10);
    }

    void itemNumbers_data() {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("opeBal");
        QTest::addColumn<QString>("autoNo");
        QTest::addColumn<double>("expRate");
        QTest::addColumn<double>("expOpeBal");
        QTest::addColumn<qint64>("expEntry");
        QTest::newRow("text after a number") << "12abc"
                                             << "12abc"
                                             << "" << 12.0 << 12.0 << qint64(0);
        QTest::newRow("empty") << ""
                               << ""
                               << "7" << 0.0 << 0.0 << qint64(7);
        QTest::newRow("not a number") << "abc"
                                      << "abc"
                                      << "abc" << 0.0 << 0.0 << qint64(0);
        QTest::newRow("rate to two decimals") << "10.125"
                                              << "3.5"
                                              << "" << 10.12 << 4.0 << qint64(0);
    }
    void itemNumbers() {
        QFETCH(QString, rate);
        QFETCH(QString, opeBal);
        QFETCH(QString, autoNo);
        const ItemNumbers n =
            stokara::masters::itemNumbers({"X", "Pcs", rate, opeBal, "N", autoNo});
        QTEST(n.rate, "expRate");
        QTEST(n.opeBal, "expOpeBal");
        QTEST(n.entry, "expEntry");
    }

    void bomWeight_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("weight");
        QTest::newRow("zero") << "0" << false << 0.0;
        QTest::newRow("text") << "abc" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("negative") << "-2" << false << 0.0;
        QTest::newRow("rounds to zero") << "0.004" << false << 0.0;
        QTest::newRow("too large for the column") << "12345678" << false << 0.0;
        QTest::newRow("leading number") << "2.5kg" << true << 2.5;
    }
    void bomWeight() {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(double, weight);
        const auto w = stokara::masters::bomWeight(typed);
        QCOMPARE(w.has_value(), accepted);
        if (accepted)
            QCOMPARE(*w, weight);
    }

    void lengthsCountCharacters() {
        const QString hindi = QString::fromUtf8("रामलाल शर्मा");
        QVERIFY(stokara::core::tooLongMessage("Party Name", hindi, 12).isEmpty());
        QVERIFY(!stokara::core::tooLongMessage("Party Name", hindi, 11).isEmpty());
        QVERIFY(stokara::core::tooLongMessage("Party Name", QString(500, 'x'), 0).isEmpty()); // no limit
        QCOMPARE(stokara::core::tooLongMessage("Party Name", QString(51, 'x'), 50),
                 QString("Party Name is too long: at most 50 characters are allowed."));
        QVERIFY(stokara::core::tooLargeMessage("Rate", 9999999.99, 7).isEmpty());
        QVERIFY(!stokara::core::tooLargeMessage("Rate", 10000000, 7).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMastersRules)
#include "test_masters_rules.moc"
