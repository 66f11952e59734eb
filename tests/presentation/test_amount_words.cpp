#include "books/amount_words.h"
#include "presentation/convert_screen.h"
#include "support/test_session.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace stokara;
using namespace stokara::books;
using stokara::presentation::ConvertScreen;

class AmountWordsTest : public QObject {
    Q_OBJECT
private slots:
    // What FrmConvert shows for a typed value; an overflow leaves both labels.
    void convertButton_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("words"); // "-": the labels stay as they were
        auto row = [](const char* typed, const QString& words) {
            QTest::newRow(typed) << QString(typed) << words;
        };
        row("0", "");
        row("1", "one");
        row("18", "eighteen");
        row("100", "one hundred");
        row("110", "one hundred ten");
        row("1000", "one thousand");
        row("1001", "one thousand, one");
        row("1000000", "one million");
        row("1234567", "one million, two hundred thirty four thousand, five hundred sixty seven");
        row("2.5", "two"); // an exact half goes to the even whole number
        row("3.5abc", "four");
        row("7.49", "seven");
        row("922337203685478", "-"); // beyond the fixed-point range
        row("99999999999999999999999999999999", "-");
    }
    void convertButton() {
        QFETCH(QString, typed);
        QFETCH(QString, words);
        test::TestSession ts(test::TestDatabase::Content::Empty);
        ConvertScreen screen(ts.session);
        auto* words_ = screen.findChild<QLabel*>("lblWords");
        auto* money_ = screen.findChild<QLabel*>("lblMoney");
        words_->setText("-");
        money_->setText("-");
        screen.findChild<QLineEdit*>("txtValue")->setText(typed);
        QTest::mouseClick(screen.findChild<QPushButton*>("cmdGo"), Qt::LeftButton);
        QCOMPARE(words_->text(), words);
        const QString dollars = words.isEmpty()  ? "zero dollars"
                                : words == "one" ? "one dollar"
                                                 : words + " dollars";
        QCOMPARE(money_->text(), words == "-" ? "-" : dollars + " and zero cents");
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
