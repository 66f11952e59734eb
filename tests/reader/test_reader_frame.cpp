// Frame check values, response acceptance, hexadecimal bytes and the device matching rule.

#include "device_match.h"
#include "report.h"

#include <QTest>

using namespace stokara::reader;

Q_DECLARE_METATYPE(std::vector<quint8>)

namespace {

Report frameOf(const std::vector<quint8>& bytes) {
    Report r{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        r.at(i + 1) = bytes[i];
    }
    return r;
}

} // namespace

class TestReaderFrame : public QObject {
    Q_OBJECT
private slots:
    void checkValueOfCommands_data() {
        QTest::addColumn<std::vector<quint8>>("frame");
        QTest::addColumn<quint8>("high");
        QTest::addColumn<quint8>("low");
        QTest::newRow("reader information")
            << std::vector<quint8>{0x03, 0xF0, 0x00} << quint8(0x89) << quint8(0x2F);
        QTest::newRow("beep") << std::vector<quint8>{0x03, 0xF0, 0x01} << quint8(0x88)
                              << quint8(0x2F);
        QTest::newRow("14443A inventory")
            << std::vector<quint8>{0x03, 0x2F, 0x01} << quint8(0xB2) << quint8(0xBD);
        QTest::newRow("15693 inventory")
            << std::vector<quint8>{0x04, 0x1F, 0x01, 0x06} << quint8(0xA2) << quint8(0x93);
        QTest::newRow("15693 system information")
            << std::vector<quint8>{0x04, 0x10, 0x0E, 0x02} << quint8(0x47) << quint8(0x42);
    }
    void checkValueOfCommands() {
        QFETCH(std::vector<quint8>, frame);
        QFETCH(quint8, high);
        QFETCH(quint8, low);
        Report r = frameOf(frame);
        // Bytes left behind by an earlier, longer command must not enter the check.
        for (std::size_t i = frame.size() + 3; i < kReportSize; ++i) {
            r[i] = 0xA5;
        }
        QVERIFY(setFrameCheck(r));
        QCOMPARE(r[frame.size() + 1], high);
        QCOMPARE(r[frame.size() + 2], low);
        QCOMPARE(r[0], quint8(0));
        QCOMPARE(r[frame.size() + 3], quint8(0xA5));
    }

    void responseAcceptance_data() {
        QTest::addColumn<int>("len");
        QTest::addColumn<int>("tamperIndex"); // -1: leave the frame as it is
        QTest::addColumn<bool>("valid");
        QTest::newRow("status only") << 5 << -1 << true;
        QTest::newRow("card read, 21 bytes") << 21 << -1 << true;
        QTest::newRow("longest frame, 62") << 62 << -1 << true;
        QTest::newRow("high check byte changed") << 21 << 22 << false;
        QTest::newRow("low check byte changed") << 21 << 23 << false;
        QTest::newRow("data byte changed") << 21 << 10 << false;
        QTest::newRow("LEN 63") << 63 << -1 << false;
        QTest::newRow("LEN 255") << 255 << -1 << false;
        QTest::newRow("LEN 4, no room for the status") << 4 << -1 << false;
        QTest::newRow("all zero report") << 0 << -1 << false;
    }
    void responseAcceptance() {
        QFETCH(int, len);
        QFETCH(int, tamperIndex);
        QFETCH(bool, valid);
        Report r{};
        r[1] = quint8(len);
        for (int i = 2; i <= std::min(len, 62); ++i) {
            r.at(std::size_t(i)) = quint8(i * 7);
        }
        if (len >= 1 && len <= 62) {
            const quint16 check = frameCheckValue(r, len);
            r.at(std::size_t(len + 1)) = quint8(check >> 8);
            r.at(std::size_t(len + 2)) = quint8(check);
        } else if (len > 62) {
            // The would-be check value of an over-long frame, as far as it fits.
            const quint16 check = frameCheckValue(r, 62);
            r[63] = quint8(check >> 8);
            r[64] = quint8(check);
        }
        if (tamperIndex >= 0) {
            r.at(std::size_t(tamperIndex)) ^= 0x01;
        }
        QCOMPARE(frameCheckValid(r), valid);
    }

    void setFrameCheckRefusesLongFrames() {
        Report r{};
        r[1] = 63;
        const Report before = r;
        QVERIFY(!setFrameCheck(r));
        QVERIFY(r == before);
    }

    void hexByte_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "00";
        QTest::newRow("10") << 10 << "0A";
        QTest::newRow("15") << 15 << "0F";
        QTest::newRow("16") << 16 << "10";
        QTest::newRow("171") << 171 << "AB";
        QTest::newRow("255") << 255 << "FF";
    }
    void hexByte() {
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(hexByte2Char(quint8(value)), text);
    }

    void deviceMatching_data() {
        QTest::addColumn<QList<HidDeviceDescription>>("devices");
        QTest::addColumn<QString>("expected"); // empty: no reader

        const HidDeviceDescription reader{"/dev/hidraw3", 0xFF00, 1, 0x1781, 0x0C10};
        const HidDeviceDescription keyboard{"/dev/hidraw0", 0x0001, 6, 0x046D, 0xC31C};
        const HidDeviceDescription otherInterface{"/dev/hidraw2", 0x0001, 2, 0x1781, 0x0C10};
        const HidDeviceDescription otherUsage{"/dev/hidraw4", 0xFF00, 2, 0x1781, 0x0C10};
        const HidDeviceDescription otherVendor{"/dev/hidraw5", 0xFF00, 1, 0x1782, 0x0C10};
        const HidDeviceDescription otherProduct{"/dev/hidraw6", 0xFF00, 1, 0x1781, 0x0C11};
        const HidDeviceDescription secondReader{"/dev/hidraw7", 0xFF00, 1, 0x1781, 0x0C10};

        QTest::newRow("no devices") << QList<HidDeviceDescription>{} << QString();
        QTest::newRow("keyboard only") << QList<HidDeviceDescription>{keyboard} << QString();
        QTest::newRow("reader among others")
            << QList<HidDeviceDescription>{keyboard, otherInterface, reader} << "/dev/hidraw3";
        QTest::newRow("reader's other interface only")
            << QList<HidDeviceDescription>{otherInterface, otherUsage} << QString();
        QTest::newRow("same usage, other vendor or product")
            << QList<HidDeviceDescription>{otherVendor, otherProduct} << QString();
        QTest::newRow("two readers: the first")
            << QList<HidDeviceDescription>{keyboard, reader, secondReader} << "/dev/hidraw3";
        QTest::newRow("matching interface without a path")
            << QList<HidDeviceDescription>{{QString(), 0xFF00, 1, 0x1781, 0x0C10}} << QString();
    }
    void deviceMatching() {
        QFETCH(QList<HidDeviceDescription>, devices);
        QFETCH(QString, expected);
        const std::vector<HidDeviceDescription> list(devices.begin(), devices.end());
        const auto path = matchReaderPath(list);
        QCOMPARE(path.value_or(QString()), expected);
    }
};

QTEST_GUILESS_MAIN(TestReaderFrame)
#include "test_reader_frame.moc"
