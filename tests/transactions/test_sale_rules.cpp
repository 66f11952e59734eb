#include "transactions/sale_rules.h"

#include <QTest>

using namespace stokara::transactions::sale;

class TestSaleRules : public QObject {
    Q_OBJECT

private slots:
    void lineFigures_data() {
        QTest::addColumn<bool>("byAmount");
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("expected");
        QTest::newRow("100 to spend at 30") << true << 100.0 << 30.0 << "3.33";
        QTest::newRow("0.5 at 0.25, tie to even") << false << 0.5 << 0.25 << "0.12";
        QTest::newRow("1.5 at 0.25, tie to even up") << false << 1.5 << 0.25 << "0.38";
        QTest::newRow("2 bags at 450") << false << 2.0 << 450.0 << "900";
        QTest::newRow("2.5 kg at 7.5") << false << 2.5 << 7.5 << "18.75";
        QTest::newRow("amount at rate 0") << true << 100.0 << 0.0 << "0";
    }
    void lineFigures() {
        QFETCH(bool, byAmount);
        QFETCH(double, first);
        QFETCH(double, rate);
        QFETCH(QString, expected);
        const double v = byAmount ? quantityForAmount(first, rate) : lineAmount(first, rate);
        QCOMPARE(numberText(v), expected);
    }

    void numericFields_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("whole") << "12" << true;
        QTest::newRow("blanks around") << " 2.5 " << true;
        QTest::newRow("leading point") << ".5" << true;
        QTest::newRow("negative") << "-1" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("letters") << "abc" << false;
        QTest::newRow("number then letters") << "12abc" << false;
        QTest::newRow("exponent") << "1e5" << false;
        QTest::newRow("infinity") << "inf" << false;
        QTest::newRow("two points") << "1.2.3" << false;
    }
    void numericFields() {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QCOMPARE(isNumeric(text), numeric);
    }

    void saveChecksInOrder_data() {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("party");
        QTest::addColumn<QString>("qty");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("bill");
        QTest::addColumn<QString>("message");
        const QString ok;
        QTest::newRow("all good") << "15/04/2024"
                                  << "450"
                                  << "Ramesh"
                                  << "2"
                                  << "FEED"
                                  << "1" << ok;
        QTest::newRow("empty date mask first") << "__/__/____"
                                               << "abc"
                                               << ""
                                               << ""
                                               << ""
                                               << "1"
                                               << "Enter proper date";
        QTest::newRow("31 February") << "31/02/2024"
                                     << "450"
                                     << "Ramesh"
                                     << "2"
                                     << "FEED"
                                     << "1"
                                     << "Enter proper date";
        QTest::newRow("rate abc before the party name") << "15/04/2024"
                                                        << "abc"
                                                        << ""
                                                        << "2"
                                                        << "FEED"
                                                        << "1"
                                                        << "Enter correct rate.";
        QTest::newRow("rate 0") << "15/04/2024"
                                << "0"
                                << "Ramesh"
                                << "2"
                                << "FEED"
                                << "1"
                                << "Enter correct rate.";
        QTest::newRow("blank party name before qty") << "15/04/2024"
                                                     << "450"
                                                     << "  "
                                                     << "x"
                                                     << ""
                                                     << "1"
                                                     << "Enter proper milk man";
        QTest::newRow("qty abc") << "15/04/2024"
                                 << "450"
                                 << "Ramesh"
                                 << "abc"
                                 << "FEED"
                                 << "1"
                                 << "Enter proper weight value.";
        QTest::newRow("qty 0") << "15/04/2024"
                               << "450"
                               << "Ramesh"
                               << "0"
                               << "FEED"
                               << "1"
                               << "Enter proper weight value.";
        QTest::newRow("no item") << "15/04/2024"
                                 << "450"
                                 << "Ramesh"
                                 << "2"
                                 << ""
                                 << "1"
                                 << "Enter proper Item Name.";
        QTest::newRow("rate past the column") << "15/04/2024"
                                              << "12345678"
                                              << "Ramesh"
                                              << "2"
                                              << "FEED"
                                              << "1"
                                              << "Enter correct rate.";
        QTest::newRow("bill number past ten characters")
            << "15/04/2024"
            << "450"
            << "Ramesh"
            << "2"
            << "FEED"
            << "12345678901"
            << "The bill number must have 1 to 10 characters.";
    }
    void saveChecksInOrder() {
        QFETCH(QString, date);
        QFETCH(QString, rate);
        QFETCH(QString, party);
        QFETCH(QString, qty);
        QFETCH(QString, item);
        QFETCH(QString, bill);
        QFETCH(QString, message);
        LineFields f;
        f.dateText = date;
        f.rateText = rate;
        f.partyName = party;
        f.partyCode = QStringLiteral("7");
        f.qtyText = qty;
        f.itemName = item;
        f.amountText = QStringLiteral("900");
        f.billNo = bill;
        QCOMPARE(firstSaveProblem(f).value_or(QString()), message);
    }

    void partyNameWithoutCodeIsRefused() {
        LineFields f{"15/04/2024", "450", "Ramesh", "", "2", "FEED", "", "900", "1"};
        QCOMPARE(firstSaveProblem(f).value_or(QString()), QStringLiteral("Enter proper milk man"));
    }

    void balanceQuestion_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("balance");
        QTest::addColumn<bool>("asks");
        QTest::newRow("no history") << "100"
                                    << "" << true;
        QTest::newRow("owes money") << "100"
                                    << "-250" << true;
        QTest::newRow("exactly covered") << "100"
                                         << "100" << false;
        QTest::newRow("card recharged") << "100"
                                        << "5000" << false;
        QTest::newRow("nothing to pay") << "0"
                                        << "" << false;
    }
    void balanceQuestion() {
        QFETCH(QString, amount);
        QFETCH(QString, balance);
        QFETCH(bool, asks);
        QCOMPARE(needsBalanceQuestion(amount, balance), asks);
    }

    void numbersAndLabels() {
        QCOMPARE(nextNumberAfter(QVariant()), QStringLiteral("1"));
        QCOMPARE(nextNumberAfter(QVariant(57.0)), QStringLiteral("58"));
        QCOMPARE(nextNumberAfter(QVariant(QStringLiteral("99999"))), QStringLiteral("100000"));
        QCOMPARE(cutPartyName(QString(45, QLatin1Char('x'))), QString(40, QLatin1Char('x')));
        QCOMPARE(loadedPartyLabel(QStringLiteral("7"), QStringLiteral("Ramesh")),
                 QStringLiteral(" 7-Ramesh"));
        QCOMPARE(loadedPartyLabel(QStringLiteral("A7"), QStringLiteral("Ramesh")),
                 QStringLiteral("A7-Ramesh"));
        QCOMPARE(numberText(-0.0), QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestSaleRules)
#include "test_sale_rules.moc"
