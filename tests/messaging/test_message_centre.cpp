#include "core/database.h"
#include "http_test_server.h"
#include "messaging/message_centre_model.h"
#include "messaging/message_centre_screen.h"
#include "messaging/message_centre_store.h"
#include "messaging/resend_run.h"
#include "messaging/simulated_modem.h"
#include "support/test_session.h"

#include <QAction>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

using namespace stokara;
using messaging::MessageCentreScreen;

namespace {

const QString kText = QStringLiteral("Milk 5 & 6 kg, Rs. 40+2");

// Two milk suppliers (a 12- and an 11-character number) with a message each in
// the out box, one sent message, and a collection centre's message that the
// centre never lists.
struct Centre {
    Centre() {
        t.session.shop.name = QStringLiteral("Green Agro");
        const QString parties[][3] = {{"1", "919876543210", "MilkMan"},
                                      {"2", "98765432101", "MilkMan"},
                                      {"3", "919876543211", "VLCC"}};
        for (const auto& p : parties)
            t.db().exec("insert into masparty (party_code, party_name, ph, category) values "
                        "(?, ?, ?, ?)",
                        {p[0], "Party " + p[0], p[1], p[2]});
        const QString logged[][3] = {
            {"1", "O", kText}, {"2", "O", "Second"}, {"3", "O", "VLCC"}, {"1", "S", "Old"}};
        for (const auto& m : logged)
            t.db().exec("insert into messagelog (doc_dt, party_code, party_name, message, "
                        "message1, status) values (?, ?, ?, ?, '', ?)",
                        {QDate(2024, 4, 2), m[0], "Party " + m[0], m[2], m[1]});
    }
    void settings(const QString& format, bool web, bool modemOn, const QString& port = {}) {
        messaging::MessageCentreStore(t.db()).saveSettings(
            {web, format == "B" ? messaging::GatewayFormat::B : messaging::GatewayFormat::A,
             server.address(), "acc", "p&w d", "GRN", modemOn,
             port.isNull() ? modem.portName() : port});
    }
    std::unique_ptr<MessageCentreScreen> open() {
        auto screen = std::make_unique<MessageCentreScreen>(t.session);
        screen->resendRun().setWebTimeout(300);
        screen->resendRun().setModemTimeouts({500, 500, 500});
        screen->show();
        return screen;
    }
    QStringList statuses() {
        QStringList out;
        for (const core::Row& r : t.db().query("select status from messagelog order by recordid"))
            out << r.text(0);
        return out;
    }
    test::TestSession t;
    test::HttpTestServer server;
    messaging::SimulatedModem modem;
};

QTableView* grid(QWidget* screen) {
    return screen->findChild<QTableView*>("VsFlex");
}

QStringList column(QWidget* screen, int c, int role = Qt::DisplayRole) {
    QStringList out;
    const QAbstractItemModel* m = grid(screen)->model();
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->index(r, c).data(role).toString();
    return out;
}

void click(QWidget* screen, const char* name) {
    screen->findChild<QAbstractButton*>(name)->click();
}

} // namespace

class TestMessageCentre : public QObject {
    Q_OBJECT
private slots:
    // The two views list milk suppliers only; an empty one says so and shows no row.
    void viewsListMilkSuppliers() {
        STOKARA_REQUIRE_DATABASE();
        Centre c;
        auto screen = c.open();
        QCOMPARE(screen->windowTitle(), QString("Message"));
        QCOMPARE(column(screen.get(), 4), (QStringList{kText, "Second"}));
        QCOMPARE(column(screen.get(), 6), (QStringList{"919876543210", "98765432101"}));
        QCOMPARE(column(screen.get(), 0, Qt::EditRole), (QStringList{"", ""}));
        const auto* m = grid(screen.get())->model();
        QVERIFY(m->flags(m->index(0, 0)) & Qt::ItemIsUserCheckable);
        QVERIFY(!(m->flags(m->index(0, 4)) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)));
        QVERIFY(grid(screen.get())->isColumnHidden(5) && grid(screen.get())->isColumnHidden(6));
        click(screen.get(), "OptSent");
        QCOMPARE(column(screen.get(), 4), QStringList{"Old"});
        QVERIFY(c.t.dialogs.shown.isEmpty());

        c.t.db().exec("delete from messagelog where status = 'O'");
        screen = c.open();
        QCOMPARE(c.t.dialogs.lastText(), QString("No data found in message."));
        QCOMPARE(grid(screen.get())->model()->rowCount(), 0);
    }

    // Send: web gateway by its format's request and answer, the modem by its
    // exchange; a row goes "S" only when one of them delivered.
    void sendRoutesAndJudges_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("web");
        QTest::addColumn<QString>("modem");     // "", "ok", "error" (at AT+CMGS), "missing"
        QTest::addColumn<QByteArray>("answer"); // empty: the gateway stays silent
        QTest::addColumn<int>("row");           // 0: 12 characters, 1: 11 characters
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("modemBox");
        const QString ok = "your message has been send successfully.";
        const QString bad = "Unable to send message. Message has saved in outbox.";
        QTest::newRow("A, success in lower case")
            << "A" << true << "" << QByteArray("Sent success") << 0 << "S"
            << "";
        QTest::newRow("A, capital Success")
            << "A" << true << "" << QByteArray("Success") << 0 << "O"
            << "";
        QTest::newRow("B, accepted") << "B" << true << "" << QByteArray("Message Id 77") << 0 << "S"
                                     << "";
        QTest::newRow("B, error") << "B" << true << "" << QByteArray("invalid number error") << 0
                                  << "O"
                                  << "";
        QTest::newRow("B, eRRor") << "B" << true << "" << QByteArray("eRRor 12") << 0 << "O"
                                  << "";
        QTest::newRow("silent gateway") << "B" << true << "" << QByteArray() << 0 << "O"
                                        << "";
        QTest::newRow("11 characters: modem only")
            << "A" << true << "ok" << QByteArray("success") << 1 << "S" << ok;
        QTest::newRow("web refuses, modem sends")
            << "A" << true << "ok" << QByteArray("failed") << 0 << "S" << ok;
        QTest::newRow("modem answers ERROR")
            << "A" << false << "error" << QByteArray() << 0 << "O" << bad;
        QTest::newRow("no such serial port")
            << "A" << false << "missing" << QByteArray() << 1 << "O" << bad;
    }
    void sendRoutesAndJudges() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, format);
        QFETCH(bool, web);
        QFETCH(QString, modem);
        QFETCH(QByteArray, answer);
        QFETCH(int, row);
        QFETCH(QString, status);
        QFETCH(QString, modemBox);
        Centre c;
        c.server.body = answer;
        c.server.answer = !answer.isEmpty();
        c.modem.setErrorOn(modem == "error" ? "AT+CMGS" : "");
        c.settings(format, web, !modem.isEmpty(),
                   modem == "missing" ? "/dev/no-such-modem" : QString());
        auto screen = c.open();
        grid(screen.get())->model()->setData(grid(screen.get())->model()->index(row, 0), "-1");
        click(screen.get(), "CmdSend");
        QTRY_VERIFY_WITH_TIMEOUT(c.t.dialogs.texts().contains("Done."), 5000);
        QCOMPARE(c.t.dialogs.lastText(), QString("Done."));
        QStringList expected{"O", "O", "O", "S"};
        expected[row] = status;
        QCOMPARE(c.statuses(), expected);
        QCOMPARE(c.t.dialogs.texts().contains(modemBox), !modemBox.isEmpty());
        // Refilled: a sent row has left the out box.
        QCOMPARE(grid(screen.get())->model()->rowCount(), status == "S" ? 1 : 2);

        const QString sent = row == 0 ? kText : "Second";
        if (web && row == 0) {
            QCOMPARE(c.server.requests.size(), 1);
            QStringList query;
            for (const auto& [k, v] : c.server.requests[0].query())
                query << k + "=" + v;
            const QStringList a{"username=acc", "password=p&w d", "sendername=GRN",
                                "mobileno=919876543210",
                                "message=We have recd Milk for Amount Rs. " + sent};
            const QStringList b{"user=acc",
                                "password=p&w d",
                                "mobiles=919876543210",
                                "sms=We have recd milk for " + sent,
                                "senderid=GRN",
                                "unicode=1"};
            QCOMPARE(query, format == "A" ? a : b);
            QCOMPARE(c.server.requests[0].path(),
                     format == "A" ? QByteArray("/WebSMS/SMSAPI.jsp") : QByteArray("/sendsms.jsp"));
        } else {
            QCOMPARE(c.server.requests.size(), 0);
        }
        if (modem == "ok")
            QCOMPARE(c.modem.received(),
                     "AT\r\nAT+CMGF=1\r\nAT+CSCS=\"GSM\"\r\nAT+CMGS=\"" +
                         (row == 0 ? QByteArray("919876543210") : QByteArray("98765432101")) +
                         "\"\r\nMilk Amt Rs." + sent.toLatin1() + "\rGreen Agro\x1a");
        if (modem == "error") // told to stop waiting for a text
            QCOMPARE(c.modem.received().right(4), QByteArray("\"\r\n\x1b"));
    }

    // A gateway that never answers: the screen keeps working and Cancel ends the run.
    void cancelWhileTheGatewayIsSilent() {
        STOKARA_REQUIRE_DATABASE();
        Centre c;
        c.server.answer = false;
        c.settings("A", true, false);
        auto screen = c.open();
        screen->resendRun().setWebTimeout(60000);
        screen->setAllTicked(true);
        click(screen.get(), "CmdSend");
        QTRY_COMPARE(c.server.requests.size(), 1);
        auto* progress = screen->findChild<QProgressDialog*>("PrgSend");
        QVERIFY(progress && progress->isVisible());
        QVERIFY(!screen->findChild<QPushButton*>("CmdSend")->isEnabled());
        QTableView* view = grid(screen.get());
        view->setCurrentIndex(view->model()->index(1, 0));
        QTest::keyClick(view, Qt::Key_Space);
        QCOMPARE(view->model()->index(1, 0).data(Qt::EditRole).toString(), QString(""));
        progress->findChild<QPushButton*>()->click();
        QTRY_VERIFY_WITH_TIMEOUT(c.t.dialogs.texts().contains("Done."), 3000);
        QCOMPARE(c.server.requests.size(), 1);
        QCOMPARE(c.statuses(), (QStringList{"O", "O", "O", "S"}));
        QVERIFY(screen->findChild<QPushButton*>("CmdSend")->isEnabled());
    }

    // Right-click menu, ticks, and Delete of the ticked rows after Yes only.
    void markAndDelete() {
        STOKARA_REQUIRE_DATABASE();
        Centre c;
        auto screen = c.open();
        QTableView* view = grid(screen.get());
        emit view->customContextMenuRequested(QPoint(5, 5));
        auto* menu = screen->findChild<QMenu*>("mnuoption");
        QTRY_VERIFY(menu->isVisible());
        screen->findChild<QAction*>("MnuMa")->trigger();
        QCOMPARE(column(screen.get(), 0, Qt::EditRole), (QStringList{"-1", "-1"}));
        screen->findChild<QAction*>("Mnuua")->trigger();
        view->setCurrentIndex(view->model()->index(1, 0));
        QTest::keyClick(view, Qt::Key_Space);
        QCOMPARE(column(screen.get(), 0, Qt::EditRole), (QStringList{"", "-1"}));

        c.t.dialogs.answer(core::Answer::No);
        click(screen.get(), "CmdDelete");
        QCOMPARE(c.t.dialogs.lastText(), QString("Do you want to delete?"));
        QCOMPARE(c.statuses().size(), 4);
        screen->setAllTicked(true);
        click(screen.get(), "CmdDelete");
        QCOMPARE(c.t.dialogs.texts().mid(1),
                 (QStringList{"Do you want to delete?", "Done.", "No data found in message."}));
        QCOMPARE(view->model()->rowCount(), 0);
        QCOMPARE(c.statuses(), (QStringList{"O", "S"})); // the VLCC's and the sent one
    }

    // The screen's failures go to the error log without a message.
    void failuresAreLogged() {
        STOKARA_REQUIRE_DATABASE();
        Centre c;
        auto screen = c.open();
        c.t.db().exec("alter table messagelog rename to messagelog_away");
        click(screen.get(), "OptSent");
        QVERIFY(c.t.dialogs.shown.isEmpty());
        QCOMPARE(c.t.db().scalar("select FormName from ErrorDesc").toString(), QString("Message"));
    }
};

QTEST_MAIN(TestMessageCentre)
#include "test_message_centre.moc"
