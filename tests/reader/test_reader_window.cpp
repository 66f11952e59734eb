// The simulated reader's window: presenting and removing cards, unplugging, misbehaving.

#include "simulated_reader.h"
#include "simulated_reader_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace stokara::reader;
using namespace stokara::reader::ui;

class TestReaderWindow : public QObject {
    Q_OBJECT

    template <typename T> static T* child(QWidget& w, const char* name) {
        T* found = w.findChild<T*>(QLatin1String(name));
        if (!found) {
            qWarning() << "missing" << name;
        }
        return found;
    }

private slots:
    void parseCardNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<quint32>("value");
        QTest::newRow("upper") << "04A1B2C3" << true << quint32(0x04A1B2C3);
        QTest::newRow("lower, blanks") << " 0a1b2c3d " << true << quint32(0x0A1B2C3D);
        QTest::newRow("seven digits") << "04A1B2C" << false << quint32(0);
        QTest::newRow("nine digits") << "04A1B2C3D" << false << quint32(0);
        QTest::newRow("not hexadecimal") << "04A1B2CG" << false << quint32(0);
        QTest::newRow("empty") << "" << false << quint32(0);
    }
    void parseCardNumber() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(quint32, value);
        const auto uid = ui::parseCardNumber(text);
        QCOMPARE(uid.has_value(), valid);
        if (uid) {
            QCOMPARE((quint32((*uid)[0]) << 24) | (quint32((*uid)[1]) << 16) |
                         (quint32((*uid)[2]) << 8) | (*uid)[3],
                     value);
        }
    }

    void presentAndRemove() {
        auto module = std::make_shared<SimulatedReaderModule>();
        SimulatedReaderWindow window(module);
        window.show();
        auto* cardNo = child<QLineEdit>(window, "TxtSimCardNo");
        auto* present = child<QPushButton>(window, "CmdPresent");
        auto* remove = child<QPushButton>(window, "CmdRemove");
        auto* status = child<QLabel>(window, "LblStatus");
        QVERIFY(cardNo && present && remove && status);
        QVERIFY(!remove->isEnabled());

        cardNo->clear();
        QTest::keyClicks(cardNo, "11223344");
        QTest::mouseClick(present, Qt::LeftButton);
        QVERIFY(module->cardOnReader());
        QCOMPARE(module->cardOnReader()->uidText(), QStringLiteral("11223344"));
        QCOMPARE(status->text(), QStringLiteral("Card 11223344 on the reader."));
        QVERIFY(remove->isEnabled());

        QTest::mouseClick(remove, Qt::LeftButton);
        QVERIFY(!module->cardOnReader());
        QCOMPARE(status->text(), QStringLiteral("No card on the reader."));

        cardNo->clear();
        QTest::keyClicks(cardNo, "12");
        QTest::mouseClick(present, Qt::LeftButton);
        QVERIFY(!module->cardOnReader());
        QCOMPARE(status->text(), QStringLiteral("Enter eight hexadecimal digits."));
    }

    void deviceSwitches() {
        auto module = std::make_shared<SimulatedReaderModule>();
        SimulatedReaderWindow window(module);
        window.show();
        auto* plugged = child<QCheckBox>(window, "ChkPlugged");
        auto* silent = child<QCheckBox>(window, "ChkSilent");
        auto* corrupt = child<QCheckBox>(window, "ChkCorrupt");
        auto* tag = child<QCheckBox>(window, "ChkTag");
        QVERIFY(plugged && silent && corrupt && tag);
        QVERIFY(plugged->isChecked());

        QTest::mouseClick(plugged, Qt::LeftButton);
        QVERIFY(!module->plugged());
        QTest::mouseClick(silent, Qt::LeftButton);
        QVERIFY(module->silent());
        QTest::mouseClick(corrupt, Qt::LeftButton);
        QVERIFY(module->corruptCheck());
        QTest::mouseClick(tag, Qt::LeftButton);
        QVERIFY(module->tagOnReader());
        QTest::mouseClick(tag, Qt::LeftButton);
        QVERIFY(!module->tagOnReader());

        // Changes made elsewhere show in the window.
        module->setPlugged(true);
        QVERIFY(plugged->isChecked());
    }

    // The program opens the window only for the simulated reader, above its own windows and
    // clear of the main window that opens at the top left.
    void openedOnlyWhenAskedFor() {
        qunsetenv("STOKARA_READER");
        QVERIFY(!showSimulatedReaderWindowIfRequested());
        qputenv("STOKARA_READER", "simulated");
        QPointer<SimulatedReaderWindow> window = showSimulatedReaderWindowIfRequested();
        qunsetenv("STOKARA_READER");
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QRect free = window->screen()->availableGeometry();
        QVERIFY2(free.contains(window->geometry()), "the window lies off the screen");
        QVERIFY(window->geometry().left() > free.center().x());
        window->close();
        QTRY_VERIFY(!window);
    }
};

QTEST_MAIN(TestReaderWindow)
#include "test_reader_window.moc"
