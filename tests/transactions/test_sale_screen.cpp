#include "core/navigator.h"
#include "sale_test_data.h"
#include "support/test_session.h"
#include "transactions/item_sale_screen.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <tuple>

using namespace stokara;
using namespace stokara::test::sale;
using transactions::ItemSaleScreen;

namespace {

// Records what the screen asks the main window to open.
struct FakeNavigator : core::Navigator {
    bool available = false;
    QList<core::InvoiceBillRequest> bills;
    QStringList newParties;
    bool openScreen(const QString&) override { return available; }
    bool openNewParty(const QString& name) override {
        newParties << name;
        return available;
    }
    bool openInvoiceBill(const core::InvoiceBillRequest& request) override {
        bills << request;
        return available;
    }
};

} // namespace

class TestSaleScreen : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestSession> t;
    ItemSaleScreen* screen = nullptr;
    RecordingFinishing* finishing = nullptr;
    FakeNavigator navigator;

    core::Database& db() { return t->db(); }
    template <class W = QWidget> W* field(const char* name) {
        auto* w = screen->findChild<W*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QLineEdit* edit(const char* name) { return field<QLineEdit>(name); }
    QString text(const char* name) { return edit(name)->text(); }
    QString label(const char* name) { return field<QLabel>(name)->text(); }
    QTableView* grid() { return field<QTableView>("VsFlex"); }
    int saleRows() { return db().scalar("select count(*) from itemsale").toInt(); }
    double qtyOf(const char* item) {
        return db().scalar("select qty from itemsale where item_name = ?", {item}).toDouble();
    }
    bool focused(QWidget* w) {
        QTest::qWait(0);
        return w->hasFocus();
    }
    void typeInto(QWidget* w, const QString& s) {
        w->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->selectAll();
        else if (auto* c = qobject_cast<QComboBox*>(w))
            c->setEditText(QString());
        QTest::keyClicks(w, s);
    }
    void enter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }
    void startBill(const QString& code) {
        typeInto(edit("TxtPartyCode"), code);
        enter(edit("TxtPartyCode"));
    }
    // Item and quantity typed and entered up to the More panel.
    void typeLine(const QString& item, const QString& qty) {
        auto* itemBox = field<QComboBox>("Item_name");
        typeInto(itemBox, item);
        enter(itemBox);
        enter(edit("TxtSaleAmount"));
        typeInto(edit("TxtQty"), qty);
        enter(edit("TxtQty"));
        enter(edit("txtrate"));
    }
    void clickRow(int row, bool twice = false) {
        const QPoint at = grid()->visualRect(grid()->model()->index(row, 3)).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, at);
    }
    // Bill 1 for Ramesh: FEED-A x2 saved with "more", MINERAL x1 finishing it.
    void sellTwoLines() {
        startBill("7");
        typeLine("FEED-A", "2");
        enter(edit("TxtMore"));
        typeLine("MINERAL", "1");
        QTest::keyClick(edit("TxtMore"), Qt::Key_Escape);
    }

private slots:
    void init() {
        STOKARA_REQUIRE_DATABASE();
        t = std::make_unique<test::TestSession>();
        navigator = FakeNavigator();
        t->session.navigator = &navigator;
        addParty(db(), "7", "Ramesh", "MilkMan", "1A2B3C4D");
        addItem(db(), "FEED-A", "Bag", 450);
        addItem(db(), "MINERAL", "Kg", 120);
        addVoucher(db(), QDate(2024, 4, 1), "Ramesh", "Cr", 5000, "7");
        auto recorder = std::make_unique<RecordingFinishing>();
        finishing = recorder.get();
        screen = new ItemSaleScreen(t->session, std::move(recorder));
        screen->show();
        QApplication::setActiveWindow(screen);
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }
    void cleanup() {
        delete screen;
        screen = nullptr;
        t.reset();
    }

    void aBillTypedWithTheKeys() {
        startBill("7");
        QCOMPARE(text("TxtBillNo"), QStringLiteral("1"));
        QCOMPARE(label("LblBalance"), QStringLiteral("5000.00 advance"));
        QVERIFY(focused(field("Item_name")));
        typeLine("FEED-A", "2");
        QCOMPARE(text("TxtAmount"), QStringLiteral("900"));
        QVERIFY(focused(edit("TxtMore")));
        enter(edit("TxtMore"));
        // The bill stays open: the balance already counts the line.
        QCOMPARE(label("LblBalance"), QStringLiteral("4100.00 advance"));
        QVERIFY(finishing->memos.isEmpty());
        QVERIFY(focused(field("Item_name")));
        typeLine("MINERAL", "1");
        QTest::keyClick(edit("TxtMore"), Qt::Key_Escape);
        QCOMPARE(saleRows(), 2);
        QCOMPARE(finishing->memos.size(), 1);
        QCOMPARE(finishing->receipts.size(), 1);
        QCOMPARE(t->dialogs.lastText(), QStringLiteral("Data Saved."));
        QCOMPARE(grid()->model()->rowCount(), 2);
        QVERIFY(grid()->isColumnHidden(8));
        // The finished bill's party is gone from the fields with its old balance.
        QCOMPARE(text("TxtPartyCode"), QString());
        QCOMPARE(field<QComboBox>("Dc1")->currentText(), QString());
        QCOMPARE(label("LblMilkman"), QStringLiteral(" "));
        QCOMPARE(label("LblBalance"), QString());
        QVERIFY(focused(edit("TxtPartyCode")));
        startBill("7");
        QCOMPARE(text("TxtBillNo"), QStringLiteral("2"));
        QCOMPARE(label("LblBalance"), QStringLiteral("3980.00 advance"));
    }

    void theCorrectionGoesToTheClickedRow() {
        sellTwoLines();
        // Newest first: row 0 is MINERAL, row 1 FEED-A.
        clickRow(0);
        QCOMPARE(field<QComboBox>("Item_name")->currentText(), QStringLiteral("MINERAL"));
        QCOMPARE(label("LblMilkman"), QStringLiteral(" 7-Ramesh"));
        edit("TxtQty")->setText("3");
        edit("TxtAmount")->setText("360");
        QTest::keyClick(grid(), Qt::Key_Down);
        QCOMPARE(grid()->currentIndex().row(), 1);
        QTest::keyClick(grid(), Qt::Key_F6);
        field<QPushButton>("Command8")->click();
        QCOMPARE(saleRows(), 2);
        QCOMPARE(qtyOf("MINERAL"), 3.0);
        QCOMPARE(qtyOf("FEED-A"), 2.0);
    }

    void badFiguresAreRefusedAtTheField_data() {
        for (const char* column : {"name", "typed", "message"})
            QTest::addColumn<QString>(column);
        const char* invalid = "Invalid Entry.";
        for (const auto& [name, typed, message] : {std::tuple{"TxtQty", "-2", invalid},
                                                   {"TxtQty", "0", invalid},
                                                   {"TxtQty", "two", invalid},
                                                   {"txtrate", "-450", invalid},
                                                   {"txtrate", "", "Can't be Blank."},
                                                   {"TxtSaleAmount", "-100", invalid}})
            QTest::addRow("%s %s", name, typed)
                << QString(name) << QString(typed) << QString(message);
    }
    void badFiguresAreRefusedAtTheField() {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        startBill("7");
        typeInto(field("Item_name"), "FEED-A");
        enter(field("Item_name"));
        auto* e = edit(name.toLatin1().constData());
        e->setFocus();
        e->setText(typed);
        enter(e);
        QCOMPARE(t->dialogs.lastText(), message);
        QCOMPARE(t->dialogs.shown.last().title, QStringLiteral("Tarvex Milvora"));
        QCOMPARE(t->dialogs.shown.last().icon, core::Icon::Critical);
        QVERIFY(focused(e));
        QVERIFY(field<QGroupBox>("FrameSave")->isHidden());
    }

    void oneStatusLineShowsTheLatestNotice() {
        finishing->memoNotice = QStringLiteral("No printer: the memo was saved as memo-%1.pdf");
        const int gridHeight = grid()->height();
        for (int bill = 0; bill < 3; ++bill) {
            startBill("7");
            typeLine("MINERAL", "1");
            QTest::keyClick(edit("TxtMore"), Qt::Key_Escape);
        }
        QCOMPARE(label("LblNotice"),
                 QStringLiteral("No printer: the memo was saved as memo-3.pdf"));
        finishing->tell(QStringLiteral("SMS not delivered"));
        QCOMPARE(label("LblNotice"), QStringLiteral("SMS not delivered"));
        QTest::qWait(0);
        QCOMPARE(grid()->height(), gridHeight);
    }

    void anOpenBillIsOfferedBeforeItIsLeft_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("finish");
        for (const char* how : {"F3", "Clear", "closing"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, Yes").arg(how))) << how << true;
            QTest::newRow(qPrintable(QStringLiteral("%1, No").arg(how))) << how << false;
        }
    }
    void anOpenBillIsOfferedBeforeItIsLeft() {
        QFETCH(QString, how);
        QFETCH(bool, finish);
        startBill("7");
        typeLine("FEED-A", "2");
        enter(edit("TxtMore"));
        t->dialogs.answer(finish ? core::Answer::Yes : core::Answer::No);
        if (how == QLatin1String("F3"))
            QTest::keyClick(field("Item_name"), Qt::Key_F3);
        else if (how == QLatin1String("Clear"))
            field<QPushButton>("Command9")->click();
        else
            QVERIFY(screen->close());
        QCOMPARE(
            t->dialogs.shown.last().text,
            QStringLiteral("Bill No. 1 is not finished. Print its memo and send the SMS now?"));
        QCOMPARE(finishing->memos.size(), finish ? 1 : 0);
        QCOMPARE(finishing->receipts.size(), finish ? 1 : 0);
        QCOMPARE(saleRows(), 1);
    }

    void otherScreensOpenThroughTheMainWindow() {
        startBill("7");
        QTest::keyClick(field("Item_name"), Qt::Key_F7);
        QCOMPARE(navigator.bills.size(), 1);
        QCOMPARE(navigator.bills[0].billNo, QStringLiteral("1"));
        QCOMPARE(navigator.bills[0].partyCode, QStringLiteral("7"));
        QCOMPARE(navigator.bills[0].date, QDate(2024, 4, 15));
        QCOMPARE(navigator.bills[0].category, QStringLiteral("MilkMan"));
        QCOMPARE(t->dialogs.lastText(),
                 QStringLiteral("The invoice-wise party bill is not available yet."));
        navigator.available = true;
        t->dialogs.clear();
        auto* name = field<QComboBox>("Dc1");
        typeInto(name, "Naya Grahak");
        enter(name);
        QCOMPARE(t->dialogs.lastText(),
                 QStringLiteral("\"Naya Grahak\" is not a party yet. Do you want to add it as a "
                                "new party?"));
        QCOMPARE(navigator.newParties, QStringList{"Naya Grahak"});
    }

    void searchDeleteAndReprint() {
        sellTwoLines();
        QTest::keyClick(edit("TxtPartyCode"), Qt::Key_F3);
        QCOMPARE(grid()->model()->rowCount(), 0);
        QTest::keyClick(edit("TxtPartyCode"), Qt::Key_F4);
        QVERIFY(field<QGroupBox>("FrameSearch")->isVisible());
        QVERIFY(focused(edit("TxtSDate")));
        edit("TxtSearchNo")->setText(QStringLiteral("1"));
        auto* parties = field<QComboBox>("Dcdatalist");
        parties->setCurrentIndex(parties->findData(QStringLiteral("7")));
        field<QPushButton>("CmdSearch")->click();
        QCOMPARE(text("TxtBillNo"), QStringLiteral("1")); // no new number for a called-up bill
        QCOMPARE(grid()->model()->rowCount(), 2);
        QTest::keyClick(grid(), Qt::Key_F5);
        QCOMPARE(finishing->memos.size(), 2);
        QCOMPARE(finishing->memos[1].billNo, QStringLiteral("1"));

        t->dialogs.answer(core::Answer::Cancel);
        clickRow(0, true);
        QCOMPARE(t->dialogs.shown.last().text, QStringLiteral("Are You Sure to Delete."));
        QCOMPARE(saleRows(), 2);
        clickRow(0, true);
        QCOMPARE(saleRows(), 1);
        QCOMPARE(qtyOf("FEED-A"), 2.0);
    }
};

QTEST_MAIN(TestSaleScreen)
#include "test_sale_screen.moc"
