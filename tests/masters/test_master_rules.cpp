#include "masters/account_head_rules.h"
#include "masters/bom_rules.h"
#include "masters/item_rules.h"
#include "masters/party_rules.h"
#include "masters/shop_rules.h"
#include "masters/vendor_rules.h"

#include <QTest>

#include <functional>

using namespace stokara::masters;
using Check = std::function<std::optional<stokara::core::Problem>()>;
Q_DECLARE_METATYPE(Check)

namespace {

// A field that refuses the save, as "field: message"; empty when it is saved.
QString shown(const std::optional<stokara::core::Problem>& problem) {
    return problem ? problem->field + QStringLiteral(": ") + problem->message : QString();
}

} // namespace

// The masters' checks before a save, without a database: the widths stand for
// what the columns hold.
class TestMasterRules : public QObject {
    Q_OBJECT

private slots:
    // Each master's refusals; the text limits are one shared rule, so each
    // master shows one of them and its own kinds of field.
    void refusals_data() {
        QTest::addColumn<Check>("check");
        QTest::addColumn<QString>("problem");
        PartyWidths w;
        w.name = 50;
        w.ph = 40;
        w.commType1 = 20;
        w.cardNo = 20;
        PartyFields ok;
        ok.code = "7";
        ok.name = QString(50, QChar(0x0915)); // a Hindi letter is one character
        ok.cardNo = "0A1B2C3D";
        const auto row = [&](const char* name, auto member, const QString& text,
                             const QString& problem) {
            PartyFields f = ok;
            f.*member = text;
            QTest::newRow(name) << Check([f, w] { return checkParty(f, w); }) << problem;
        };
        row("fits", &PartyFields::city, "", "");
        row("name one too long", &PartyFields::name, QString(51, 'n'),
            "TxtParty_name: Party Name is too long: at most 50 characters are allowed.");
        row("column without a width", &PartyFields::add1, QString(300, 'a'), "");
        row("opening balance of ten digits", &PartyFields::opeBal, "9999999999.99", "");
        row("opening balance of eleven digits", &PartyFields::opeBal, "10000000000",
            "Txtope_bal: Op. Balance is too large: at most 10 digits before the decimal point.");
        row("commission with a letter", &PartyFields::commPer, "5a",
            "TxtComm: Commission (Cow) must be a number.");
        row("second buffalo commission below -9999999", &PartyFields::commPerBuff1, "-10000000",
            "Text3: Commission (Buffalo) is too large: at most 7 digits before the decimal point.");
        row("interest with a thousands comma", &PartyFields::interestRate, "1,000",
            "TxtInterestRate: Interest Rate % must be a number.");
        row("credit limit of nine digits", &PartyFields::creditLimit, "999999999.4", "");
        row("credit limit rounded past nine digits", &PartyFields::creditLimit, "999999999.5",
            "TxtCreditLimit: Credit Limit is too large: at most 9 digits before the decimal "
            "point.");
        // The first field in the screen's order is the one named.
        PartyFields both = ok;
        both.cardNo = QString(21, '1');
        both.ph = QString(41, '9');
        both.opeBal = "x";
        QTest::newRow("mobile before card before numbers")
            << Check([both, w] { return checkParty(both, w); })
            << "txtph: Mobile No. is too long: at most 40 characters are allowed.";
        const ItemWidths iw{40, 10, 1};
        const auto item = [&](const char* name, ItemFields f, const QString& problem) {
            QTest::newRow(name) << Check([f, iw] { return checkItem(f, iw); }) << problem;
        };
        item("item fits", {QString(40, 'M'), "Weight", "2.5", "100", "N", ""}, "");
        item("item name one too long", {QString(41, 'M'), "Weight", "", "", "N", ""},
             "txtitem_name: Item Name is too long: at most 40 characters are allowed.");
        item("item opening balance of nine digits", {"MILK", "Liter", "", "999999999", "N", ""},
             "");
        item("item opening balance of ten digits", {"MILK", "Liter", "", "1000000000", "N", ""},
             "TxtOpeBal: Opening Balance is too large: at most 9 digits before the decimal point.");
        // The vendor, account head, shop and bill-of-materials screens check text only.
        const VendorWidths vw{40, 100, 40, 40};
        QTest::newRow("vendor phone") << Check([vw] {
            return checkVendor({"", "V", "", QString(41, '9'), ""}, vw);
        }) << "txtph: Phone is too long: at most 40 characters are allowed.";
        const AccountHeadWidths aw{100, 50};
        QTest::newRow("account head")
            << Check([aw] { return checkAccountHead(QString(101, 'h'), "Sundry Income", aw); })
            << "TxtHead: Account Head is too long: at most 100 characters are allowed.";
        const ShopWidths sw{50, 100, 50, 20, 20, 20};
        const QString upiShape = "TxtUpiId: Enter the UPI ID as name@bank, e.g. shop@okaxis.";
        for (const char* id : {"shop@okaxis", "shiv.dairy-1@ybl", ""})
            QTest::newRow(qPrintable(QStringLiteral("UPI ID '%1' taken").arg(id)))
                << Check([sw, id] {
                       return checkShop({"S", "", "", "", "", "", id, ""}, sw);
                   })
                << "";
        for (const char* id : {"9876543210", "shop@", "@okaxis", "shop@ok axis", "a b@ybl"})
            QTest::newRow(qPrintable(QStringLiteral("UPI ID '%1' refused").arg(id)))
                << Check([sw, id] {
                       return checkShop({"S", "", "", "", "", "", id, ""}, sw);
                   })
                << upiShape;
        const BomWidths bw{40, 40};
        QTest::newRow("bom sub item")
            << Check([bw] { return checkBomLine("CURD", QString(41, 's'), bw); })
            << "DcSubItem: Sub Item is too long: at most 40 characters are allowed.";
    }
    void refusals() {
        QFETCH(Check, check);
        QFETCH(QString, problem);
        QCOMPARE(shown(check()), problem);
    }

    void bomWeight_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("weight"); // 0: refused
        QTest::newRow("grams") << "0.25" << 0.25;
        QTest::newRow("leading number") << "1.5kg" << 1.5;
        QTest::newRow("largest") << "9999999.99" << 9999999.99;
        QTest::newRow("rounded past seven digits") << "9999999.996" << 0.0;
        QTest::newRow("eight digits") << "10000000" << 0.0;
        QTest::newRow("zero") << "0" << 0.0;
        QTest::newRow("negative") << "-1" << 0.0;
        QTest::newRow("words") << "half" << 0.0;
    }
    void bomWeight() {
        QFETCH(QString, text);
        QFETCH(double, weight);
        QCOMPARE(stokara::masters::bomWeight(text).value_or(0), weight);
    }
};

QTEST_APPLESS_MAIN(TestMasterRules)
#include "test_master_rules.moc"
