// Arbitrary response reports fed to every reader operation, and arbitrary command reports
// fed to the simulated module: nothing may crash, read outside the 65 bytes (the reader
// reads responses through bounds-checked access, which throws) or hang.

#include "reader_test_kit.h"

#include <QRandomGenerator>
#include <QTest>

using namespace stokara::reader;
using namespace stokara::reader::testkit;

namespace {

// Answers every report with a random one: mostly well-framed so that the operations get
// past the check value, with random LEN, status and data.
class RandomTransport final : public ReaderTransport {
public:
    explicit RandomTransport(QRandomGenerator& random) : random_(random) {}

    int findReaderPath(QString& path) override {
        path = QStringLiteral("random");
        return 0;
    }
    bool openDevice(const QString&) override { return open_ = true; }
    bool closeDevice() override {
        open_ = false;
        return true;
    }
    bool isOpen() const override { return open_; }
    bool writeReport(const Report&) override { return random_.bounded(50) != 0; }
    bool readReport(Report& report, std::chrono::milliseconds) override {
        if (random_.bounded(50) == 0) {
            return false;
        }
        for (auto& b : report) {
            b = quint8(random_.bounded(256));
        }
        const int mode = random_.bounded(10);
        if (mode < 8) {
            report[1] = quint8(5 + random_.bounded(58)); // 5..62
            if (random_.bounded(2) == 0) {
                report[4] = 0;
                report[5] = 0;
            }
            if (random_.bounded(3) == 0) {
                report[7] = quint8(random_.bounded(16)); // plausible tag information flags
            }
            setFrameCheck(report);
        } else if (mode == 8) {
            report[1] = quint8(63 + random_.bounded(193));
        }
        return true;
    }
    QString lastErrorText() const override { return QStringLiteral("random failure"); }

private:
    QRandomGenerator& random_;
    bool open_ = false;
};

bool isCardNumber(const QString& text) {
    static const QRegularExpression hex(QStringLiteral("^[0-9A-F]{8}$"));
    return hex.match(text).hasMatch();
}

} // namespace

class TestReaderFuzz : public QObject {
    Q_OBJECT
private slots:
    void everyOperationSurvivesArbitraryResponses_data() {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 7u, 2024u, 65535u}) {
            QTest::newRow(qPrintable(QString::number(seed))) << seed;
        }
    }
    void everyOperationSurvivesArbitraryResponses() {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        Recorder recorder;
        Rrhfoem04Reader reader(std::make_unique<RandomTransport>(random), recorder.hooks());
        QVERIFY(reader.connect());
        for (int round = 0; round < 2500; ++round) {
            const qint16 start = qint16(random.bounded(-2, 70));
            const int operation = random.bounded(10);
            try {
                switch (operation) {
                case 0: {
                    QString serial = QStringLiteral("x");
                    const bool ok = reader.getReaderInformation(serial);
                    QVERIFY(ok ? serial.size() == 5 : serial.isEmpty());
                    break;
                }
                case 1:
                    reader.beep();
                    break;
                case 2: {
                    qint16 count = -1;
                    QStringList tags;
                    reader.iso15693Inventory(count, tags);
                    QVERIFY(count >= 0 && count <= 7);
                    QCOMPARE(tags.size(), qsizetype(count));
                    break;
                }
                case 3: {
                    QString text;
                    reader.iso15693ReadAscii(start, text);
                    QVERIFY(text.size() <= 256 * 56);
                    break;
                }
                case 4:
                    reader.iso15693WriteAscii(start, QStringLiteral("fuzz text %1").arg(round));
                    break;
                case 5: {
                    QString tagId = QStringLiteral("KEEP");
                    reader.iso14443AInventory(tagId);
                    QVERIFY(tagId == QStringLiteral("KEEP") || isCardNumber(tagId));
                    break;
                }
                case 6: {
                    QString text;
                    reader.iso14443AReadAscii(start, text);
                    QVERIFY(text.size() <= 64 * 16);
                    break;
                }
                case 7:
                    reader.iso14443AWriteAscii(start, QString(random.bounded(0, 200), 'w'));
                    break;
                case 8:
                    reader.iso14443AChangeKey(qint16(random.bounded(-2, 18)));
                    break;
                default:
                    reader.isConnected();
                    break;
                }
            } catch (const std::exception& e) {
                QFAIL(qPrintable(QStringLiteral("operation %1 read outside the report: %2")
                                     .arg(operation)
                                     .arg(QString::fromLatin1(e.what()))));
            }
            // Every frame that went out had a LEN the report can hold.
            QVERIFY(reader.txReport()[1] <= kMaxFrameLen);
        }
    }

    void simulatedModuleSurvivesArbitraryCommands() {
        QRandomGenerator random(99);
        SimulatedReaderModule module;
        module.presentCard(CardUid{0x04, 0xA1, 0xB2, 0xC3});
        module.presentTag(Iso15693Tag{});
        const quint8 commands[][2] = {{0xF0, 0x00}, {0xF0, 0x01}, {0x1F, 0x01}, {0x10, 0x0E},
                                      {0x10, 0x06}, {0x10, 0x07}, {0x2F, 0x01}, {0x2F, 0x02},
                                      {0x21, 0x01}, {0x21, 0x02}, {0x21, 0x03}};
        for (int round = 0; round < 20000; ++round) {
            Report command{};
            for (auto& b : command) {
                b = quint8(random.bounded(256));
            }
            const auto& pick = commands[random.bounded(int(std::size(commands)))];
            command[2] = pick[0];
            command[3] = pick[1];
            command[1] = quint8(random.bounded(0, 70));
            if (random.bounded(4) != 0) {
                setFrameCheck(command);
            }
            const auto answer = module.answer(command);
            QVERIFY(answer.has_value());
            QVERIFY(frameCheckValid(*answer));
        }
    }
};

QTEST_GUILESS_MAIN(TestReaderFuzz)
#include "test_reader_fuzz.moc"
