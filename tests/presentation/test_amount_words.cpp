#include "presentation/amount_words.h"
#include "presentation/convert_screen.h"
#include "support/test_session.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace stokara;
using namespace stokara::presentation;

class AmountWordsTest : public QObject {
    Q_OBJECT
private slots:
    // What FrmConvert shows for a typed value; an overflow leaves both labels.
    void convertButton_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("money");
        const QString dollarsOnly = " dollars and zero cents";
        QTest::newRow("0") << "0"
                           << ""
                           << "zero dollars and zero cents";
        QTest::newRow("not a number") << "abc"
                                      << ""
                                      << "zero dollars and zero cents";
        QTest::newRow("1") << "1"
                           << "one"
                           << "one dollar and zero cents";
        QTest::newRow("18") << "18"
                            << "eightteen"
                            << "eightteen" + dollarsOnly;
        QTest::newRow("21") << "21"
                            << "twenty one"
                            << "twenty one" + dollarsOnly;
        QTest::newRow("100") << "100"
                             << "one hundred"
                             << "one hundred" + dollarsOnly;
        QTest::newRow("110") << "110"
                             << "one hundred ten"
                             << "one hundred ten" + dollarsOnly;
        QTest::newRow("1000") << "1000"
                              << "one thousand"
                              << "one thousand" + dollarsOnly;
        QTest::newRow("1001") << "1001"
                              << "one thousand, one"
                              << "one thousand, one" + dollarsOnly;
        QTest::newRow("1000000") << "1000000"
                                 << "one million"
                                 << "one million" + dollarsOnly;
        const QString big = "one million, two hundred thirty four thousand, five hundred sixty "
                            "seven";
        QTest::newRow("1234567") << "1234567" << big << big + dollarsOnly;
        QTest::newRow("2.5 to even") << "2.5"
                                     << "two"
                                     << "two" + dollarsOnly;
        QTest::newRow("3.5 to even") << "3.5abc"
                                     << "four"
                                     << "four" + dollarsOnly;
        QTest::newRow("cents rounded away") << "7.49"
                                            << "seven"
                                            << "seven" + dollarsOnly;
        QTest::newRow("largest") << "922337203685477"
                                 << "nine hundred twenty two trillion, "
                                    "three hundred thirty seven billion, two hundred three "
                                    "million, six hundred eighty five thousand, four hundred "
                                    "seventy seven"
                                 << "";
        QTest::newRow("overflow") << "922337203685478"
                                  << "-"
                                  << "-";
        QTest::newRow("overflow digits") << QString(400, '9') << "-"
                                         << "-";
    }
    void convertButton() {
        QFETCH(QString, typed);
        QFETCH(QString, words);
        QFETCH(QString, money);
        test::TestSession ts(test::TestDatabase::Content::Empty);
        ConvertScreen screen(ts.session);
        auto* words_ = screen.findChild<QLabel*>("lblWords");
        auto* money_ = screen.findChild<QLabel*>("lblMoney");
        words_->setText("-");
        money_->setText("-");
        screen.findChild<QLineEdit*>("txtValue")->setText(typed);
        QTest::mouseClick(screen.findChild<QPushButton*>("cmdGo"), Qt::LeftButton);
        QCOMPARE(words_->text(), words);
        if (!money.isEmpty())
            QCOMPARE(money_->text(), money);
        QCOMPARE(ts.dialogs.shown.size(), words == "-" ? 1 : 0);
        if (words == "-")
            QVERIFY(ts.dialogs.lastText().contains("Overflow"));
    }

    // The cents of an amount the bill hands over as it is.
    void moneyWithCents_data() {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("money");
        QTest::newRow("one cent") << qint64(10100) << "one dollar and one cent";
        QTest::newRow("half cent to even") << qint64(250) << "zero dollars and two cents";
        QTest::newRow("99 cents") << qint64(29900) << "two dollars and ninety nine cents";
    }
    void moneyWithCents() {
        QFETCH(qint64, units);
        QFETCH(QString, money);
        QCOMPARE(moneyWords(Amount::fromUnits(units)), money);
    }
};

QTEST_MAIN(AmountWordsTest)
#include "test_amount_words.moc"
