// The reader module's protocol: the reader class spoken to through a scripted transport
// (exact responses), the simulated module (a card and a tag with memory) and random
// responses.

#include "reader_test_kit.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace stokara::reader;
using namespace stokara::reader::testkit;

Q_DECLARE_METATYPE(std::vector<quint8>)

namespace {

const CardUid kCard{0x04, 0xA1, 0xB2, 0xC3};

QString repeated(const QString& pattern, int length) {
    QString text;
    while (text.size() < length)
        text += pattern;
    return text.left(length);
}

std::vector<quint8> bytesOf(const Report& r, int from, int count) {
    return std::vector<quint8>(r.begin() + from, r.begin() + from + count);
}

// Answers every report with a random one, mostly well framed so that the operations get
// past the check value.
class RandomTransport final : public ReaderTransport {
public:
    explicit RandomTransport(QRandomGenerator& random) : random_(random) {}
    int findReaderPath(QString& path) override {
        path = QString("random");
        return 0;
    }
    bool openDevice(const QString&) override { return open_ = true; }
    bool closeDevice() override { return !(open_ = false); }
    bool isOpen() const override { return open_; }
    bool writeReport(const Report&) override { return random_.bounded(50) != 0; }
    bool readReport(Report& report, std::chrono::milliseconds) override {
        if (random_.bounded(50) == 0)
            return false;
        for (auto& b : report)
            b = quint8(random_.bounded(256));
        if (random_.bounded(10) < 8) {
            report[1] = quint8(5 + random_.bounded(58)); // 5..62
            if (random_.bounded(2) == 0)
                report[4] = report[5] = 0;
            setFrameCheck(report);
        }
        return true;
    }
    QString lastErrorText() const override { return QString("random failure"); }

private:
    QRandomGenerator& random_;
    bool open_ = false;
};

} // namespace

class TestReaderProtocol : public QObject {
    Q_OBJECT

    std::shared_ptr<SimulatedReaderModule> module_;
    Recorder recorder_;

    std::unique_ptr<Rrhfoem04Reader> simulatedReader() {
        auto reader = std::make_unique<Rrhfoem04Reader>(
            std::make_unique<SimulatedTransport>(module_), recorder_.hooks());
        if (!reader->connect())
            return nullptr;
        module_->clearCommandLog();
        return reader;
    }

    struct Scripted {
        std::shared_ptr<ScriptedTransport::State> state =
            std::make_shared<ScriptedTransport::State>();
        std::unique_ptr<Rrhfoem04Reader> reader;
    };
    Scripted scriptedReader(ReaderHooks hooks) {
        Scripted s;
        s.reader = std::make_unique<Rrhfoem04Reader>(std::make_unique<ScriptedTransport>(s.state),
                                                     std::move(hooks));
        s.reader->connect();
        return s;
    }
    Scripted scriptedReader() { return scriptedReader(recorder_.hooks()); }

private slots:
    void init() {
        module_ = std::make_shared<SimulatedReaderModule>();
        recorder_ = Recorder{};
    }

    // A card number answer, changed on the way or with another status: only an intact
    // answer with status 00 00 gives the number, anything else leaves the caller's text.
    void inventoryAnswers_data() {
        QTest::addColumn<int>("index"); // -1: none
        QTest::addColumn<int>("value"); // XORed in; the new LEN at 1, the status at 4
        QTest::addColumn<bool>("accepted");
        QTest::newRow("intact") << -1 << 0 << true;
        QTest::newRow("status 01 02") << 4 << 0x0102 << true;
        QTest::newRow("status 00 01") << 4 << 0x0001 << true;
        QTest::newRow("high check byte changed") << 11 << 0x10 << false;
        QTest::newRow("low check byte changed") << 12 << 0x01 << false;
        QTest::newRow("data byte changed") << 8 << 0x01 << false;
        QTest::newRow("LEN 63, checked as far as it fits") << 1 << 63 << false;
        QTest::newRow("LEN 255") << 1 << 255 << false;
        QTest::newRow("LEN 4, no room for the status") << 1 << 4 << false;
        QTest::newRow("all zero report") << 0 << 0 << false;
    }
    void inventoryAnswers() {
        QFETCH(int, index);
        QFETCH(int, value);
        QFETCH(bool, accepted);
        auto s = scriptedReader();
        Report answer = response(0, 0, {0x04, 0x04, 0xA1, 0xB2, 0xC3});
        if (index == 0) {
            answer = Report{};
        } else if (index == 1) {
            answer[1] = quint8(value);
            const int len = std::clamp(value, 1, 62);
            const quint16 check = frameCheckValue(answer, len);
            answer.at(std::size_t(len + 1)) = quint8(check >> 8);
            answer.at(std::size_t(len + 2)) = quint8(check);
        } else if (index == 4) {
            answer = response(quint8(value >> 8), quint8(value), {0x04, 0x04, 0xA1, 0xB2, 0xC3});
        } else if (index > 1) {
            answer.at(std::size_t(index)) ^= quint8(value);
        }
        s.state->answers.push_back(answer);
        QString tagId = QString("KEEP");
        QCOMPARE(s.reader->iso14443AInventory(tagId), accepted);
        QCOMPARE(tagId, index == -1 ? QString("04A1B2C3") : QString("KEEP"));
    }

    void connectErrors_data() {
        QTest::addColumn<bool>("finds");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("systemText");
        QTest::addColumn<QString>("error");
        QTest::newRow("no reader") << false << true << ""
                                   << "RRHFOEM04 not connected.";
        QTest::newRow("cannot be opened") << true << false << "Access is denied.\r\n"
                                          << "Device could not be connected. Access is denied.";
        QTest::newRow("connected") << true << true << ""
                                   << "";
    }
    void connectErrors() {
        QFETCH(bool, finds);
        QFETCH(bool, opens);
        QFETCH(QString, systemText);
        QFETCH(QString, error);
        auto state = std::make_shared<ScriptedTransport::State>();
        state->findsReader = finds;
        state->opens = opens;
        state->errorText = systemText;
        {
            Rrhfoem04Reader reader(std::make_unique<ScriptedTransport>(state), recorder_.hooks());
            QCOMPARE(reader.connect(), error.isEmpty());
            QCOMPARE(reader.error(), error);
            QCOMPARE(reader.isConnected(), error.isEmpty());
        }
        QVERIFY(!state->open); // destroying the reader closes the device
    }

    // The first frames an operation sends, byte for byte from index 0.
    void framesOnTheWire_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("frameIndex");
        QTest::addColumn<std::vector<quint8>>("bytes");
        QTest::newRow("beep") << 0 << 0 << std::vector<quint8>{0x00, 0x03, 0xF0, 0x01, 0x88, 0x2F};
        QTest::newRow("14443A: inventory")
            << 3 << 0 << std::vector<quint8>{0x00, 0x03, 0x2F, 0x01, 0xB2, 0xBD};
        const std::vector<quint8> select{0x00, 0x08, 0x2F, 0x02, 0x04, 0x04, 0xA1, 0xB2, 0xC3};
        QTest::newRow("14443A: select") << 3 << 1 << select;
        std::vector<quint8> authenticate{0x00, 0x0F, 0x21, 0x01, 0x04,
                                         0xA1, 0xB2, 0xC3, 0x05, 0x60};
        authenticate.insert(authenticate.end(), kCurrentKeyA.begin(), kCurrentKeyA.end());
        QTest::newRow("14443A: authenticate") << 3 << 3 << authenticate;
        std::vector<quint8> write{0x00, 0x14, 0x21, 0x03, 0x05, 'G', 'H', 'E', 'E'};
        write.resize(write.size() + 12, 0x00);
        QTest::newRow("14443A: write block 5") << 3 << 4 << write;
    }
    void framesOnTheWire() {
        QFETCH(int, operation);
        QFETCH(int, frameIndex);
        QFETCH(std::vector<quint8>, bytes);
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentCard(kCard);
        if (operation == 0)
            QVERIFY(reader->beep());
        else
            QVERIFY(reader->iso14443AWriteAscii(5, QString("GHEE")));
        const auto& log = module_->commandLog();
        QVERIFY(std::size_t(frameIndex) < log.size());
        QCOMPARE(bytesOf(log[std::size_t(frameIndex)], 0, int(bytes.size())), bytes);
    }

    // A reader that never answers: every read is bounded (the default hooks, as the
    // screens use them), the exchange fails, and the next answer is taken again.
    void muteReaderDoesNotFreeze() {
        ReaderHooks hooks;
        hooks.wait = [](int) {};
        auto s = scriptedReader(hooks);
        s.state->errorText = QString("The reader did not answer in time.");
        QString tagId = QString("KEEP");
        QVERIFY(!s.reader->iso14443AInventory(tagId));
        QCOMPARE(tagId, QString("KEEP"));
        QCOMPARE(s.reader->error(), s.state->errorText);
        QVERIFY(!s.state->readTimeouts.empty());
        for (const auto timeout : s.state->readTimeouts)
            QVERIFY(timeout.count() > 0 && timeout.count() <= 1000);
        s.state->answers.push_back(response(0, 0, {0x04, 0x04, 0xA1, 0xB2, 0xC3}));
        QVERIFY(s.reader->iso14443AInventory(tagId));
        QCOMPARE(tagId, QString("04A1B2C3"));
    }

    void unpluggedAndPluggedBack() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->setPlugged(false);
        QVERIFY(!reader->beep());
        QCOMPARE(reader->error(), QString("The device is not connected."));
        module_->setPlugged(true);
        QVERIFY(!reader->beep()); // the old handle belongs to the old device
        QVERIFY(reader->connect());
        QVERIFY(reader->beep());
        QCOMPARE(module_->beeps(), 1);
    }

    // Text goes into the data blocks only: never block 0, never a sector trailer.
    void cardRoundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<std::vector<int>>("writes");
        QTest::newRow("empty") << QString() << 1 << std::vector<int>{1};
        QTest::newRow("fifteen") << "Sharma Dairy 12" << 1 << std::vector<int>{1};
        QTest::newRow("sixteen: a zero block follows")
            << "PARTY-0001-CARD1" << 1 << std::vector<int>{1, 2};
        QTest::newRow("from block 0") << "PARTY-0001-CARD12" << 0 << std::vector<int>{1, 2};
        QTest::newRow("from a trailer, over the next")
            << QString(40, 'k') << 3 << std::vector<int>{4, 5, 6};
        QTest::newRow("apostrophe and latin-1")
            << QString::fromUtf8("D'Souza café") << 6 << std::vector<int>{6};
        QTest::newRow("several sectors")
            << repeated(QString("0123456789"), 150) << 1 << std::vector<int>{};
    }
    void cardRoundTrip() {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(std::vector<int>, writes);
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentCard(kCard);
        QVERIFY(reader->iso14443AWriteAscii(qint16(start), text));
        const std::vector<int> written = cardWrites(module_->commandLog());
        if (!writes.empty())
            QCOMPARE(written, writes);
        for (int block : written)
            QVERIFY2(block > 0 && block % 4 != 3, qPrintable(QString::number(block)));
        QString back = QString("old");
        QVERIFY(reader->iso14443AReadAscii(qint16(start), back));
        QCOMPARE(back, text);
        QVERIFY(recorder_.messages.isEmpty());
    }

    // Random answers to every operation: nothing reads outside the 65 bytes (reads are
    // bounds-checked and would throw), hangs, or sends a frame longer than a report.
    void everyOperationSurvivesArbitraryResponses_data() {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2024u, 65535u})
            QTest::newRow(qPrintable(QString::number(seed))) << seed;
    }
    void everyOperationSurvivesArbitraryResponses() {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        static const QRegularExpression cardNumber(QString("^[0-9A-F]{8}$"));
        Rrhfoem04Reader reader(std::make_unique<RandomTransport>(random), recorder_.hooks());
        QVERIFY(reader.connect());
        for (int round = 0; round < 2000; ++round) {
            const qint16 start = qint16(random.bounded(-2, 70));
            QString text;
            qint16 count = -1;
            QStringList tags;
            try {
                switch (random.bounded(8)) {
                case 0:
                    QVERIFY(reader.getReaderInformation(text) ? text.size() == 5 : text.isEmpty());
                    break;
                case 1:
                    reader.iso15693Inventory(count, tags);
                    QVERIFY(count >= 0 && count <= 7 && tags.size() == count);
                    break;
                case 2:
                    reader.iso15693ReadAscii(start, text);
                    break;
                case 3:
                    reader.iso15693WriteAscii(start, QString("fuzz %1").arg(round));
                    break;
                case 4:
                    text = QString("KEEP");
                    reader.iso14443AInventory(text);
                    QVERIFY(text == QString("KEEP") || cardNumber.match(text).hasMatch());
                    break;
                case 5:
                    reader.iso14443AReadAscii(start, text);
                    break;
                case 6:
                    reader.iso14443AWriteAscii(start, QString(random.bounded(0, 200), 'w'));
                    break;
                default:
                    reader.iso14443AChangeKey(qint16(random.bounded(-2, 18)));
                    break;
                }
            } catch (const std::exception& e) {
                QFAIL(e.what());
            }
            QVERIFY(reader.txReport()[1] <= kMaxFrameLen);
        }
    }
};

QTEST_GUILESS_MAIN(TestReaderProtocol)
#include "test_reader_protocol.moc"
