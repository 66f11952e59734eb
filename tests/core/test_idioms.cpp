#include "core/idioms.h"

#include <QTest>

using namespace stokara::core;

class TestIdioms : public QObject {
    Q_OBJECT
private slots:
    void valReadsLeadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("trailing letters") << "12abc" << 12.0;
        QTest::newRow("letters only") << "abc" << 0.0;
        QTest::newRow("negative") << "-4" << -4.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("devanagari digits are not read") << QString::fromUtf8("१२") << 0.0;
    }
    void valReadsLeadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(val(text), expected);
    }

    void round2HalvesToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("0.125 tie to even") << 0.125 << 0.12;
        QTest::newRow("2.675 as stored is below the tie") << 2.675 << 2.67;
        QTest::newRow("plain") << 10.456 << 10.46;
    }
    void round2HalvesToEven() {
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(round2(value), expected);
    }

    void datesAreDayMonthYear_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("3 April 2024") << "03/04/2024" << QDate(2024, 4, 3);
        QTest::newRow("no 29 Feb 2023") << "29/02/2023" << QDate();
        QTest::newRow("empty mask") << "__/__/____" << QDate();
        QTest::newRow("half typed") << "03/04/20__" << QDate();
        QTest::newRow("month 13") << "01/13/2024" << QDate();
    }
    void datesAreDayMonthYear() {
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        auto parsed = parseDate(text);
        QCOMPARE(parsed.has_value(), expected.isValid());
        if (parsed) {
            QCOMPARE(*parsed, expected);
            QCOMPARE(formatDate(*parsed), text);
        }
    }

    void shownForms() {
        QCOMPARE(formatDate(QDate()), QStringLiteral("__/__/____"));
        QCOMPARE(formatAmount(500), QStringLiteral("500.00"));
        QCOMPARE(formatAmount(0.125), QStringLiteral("0.12"));
    }
};

QTEST_APPLESS_MAIN(TestIdioms)
#include "test_idioms.moc"
