// The reader class spoken to through a scripted transport (exact responses) and through the
// simulated module (a card and a tag with memory).

#include "hid_transport.h"
#include "reader_test_kit.h"

#include <QElapsedTimer>
#include <QTest>

using namespace stokara::reader;
using namespace stokara::reader::testkit;

namespace {

const CardUid kCard{0x04, 0xA1, 0xB2, 0xC3};

QString repeated(const QString& pattern, int length) {
    QString text;
    while (text.size() < length) {
        text += pattern;
    }
    return text.left(length);
}

std::vector<quint8> bytesOf(const Report& r, int from, int count) {
    return std::vector<quint8>(r.begin() + from, r.begin() + from + count);
}

} // namespace

class TestReaderProtocol : public QObject {
    Q_OBJECT

    std::shared_ptr<SimulatedReaderModule> module_;
    Recorder recorder_;

    std::unique_ptr<Rrhfoem04Reader> simulatedReader() {
        auto reader = std::make_unique<Rrhfoem04Reader>(
            std::make_unique<SimulatedTransport>(module_), recorder_.hooks());
        if (!reader->connect()) {
            qWarning() << reader->error();
            return nullptr;
        }
        module_->clearCommandLog();
        recorder_.waits.clear();
        return reader;
    }

    struct Scripted {
        std::shared_ptr<ScriptedTransport::State> state =
            std::make_shared<ScriptedTransport::State>();
        std::unique_ptr<Rrhfoem04Reader> reader;
    };
    Scripted scriptedReader() {
        Scripted s;
        s.reader = std::make_unique<Rrhfoem04Reader>(std::make_unique<ScriptedTransport>(s.state),
                                                     recorder_.hooks());
        s.reader->connect();
        return s;
    }

private slots:
    void init() {
        module_ = std::make_shared<SimulatedReaderModule>();
        recorder_ = Recorder{};
    }

    // --- housekeeping -------------------------------------------------------------------

    void newObjectIsNotConnected() {
        Rrhfoem04Reader reader(std::make_unique<SimulatedTransport>(module_), recorder_.hooks());
        QCOMPARE(reader.error(), QStringLiteral("Not open."));
        QVERIFY(!reader.isConnected());
        QCOMPARE(reader.error(), QStringLiteral("Device not connected."));
        QVERIFY(reader.disconnect()); // nothing open is not a failure
        QVERIFY(module_->commandLog().empty());
    }

    void connectErrors_data() {
        QTest::addColumn<bool>("finds");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("error");
        QTest::newRow("no reader") << false << true << false << "RRHFOEM04 not connected.";
        QTest::newRow("reader cannot be opened")
            << true << false << false << "Device could not be connected. Access is denied.";
        QTest::newRow("connected") << true << true << true << "";
    }
    void connectErrors() {
        QFETCH(bool, finds);
        QFETCH(bool, opens);
        QFETCH(bool, connected);
        QFETCH(QString, error);
        auto state = std::make_shared<ScriptedTransport::State>();
        state->findsReader = finds;
        state->opens = opens;
        Rrhfoem04Reader reader(std::make_unique<ScriptedTransport>(state), recorder_.hooks());
        QCOMPARE(reader.connect(), connected);
        QCOMPARE(reader.error(), error);
        QCOMPARE(reader.isConnected(), connected);
        // The 16 ms pause follows a successful open only.
        QCOMPARE(recorder_.waits == std::vector<int>{16}, connected);
    }

    void platformWithoutTextGivesUnknownError() {
        auto state = std::make_shared<ScriptedTransport::State>();
        state->opens = false;
        state->errorText.clear();
        Rrhfoem04Reader reader(std::make_unique<ScriptedTransport>(state), recorder_.hooks());
        QVERIFY(!reader.connect());
        QCOMPARE(reader.error(), QStringLiteral("Device could not be connected. Unknown Error."));
    }

    void disconnectFailureIsPrefixed() {
        auto s = scriptedReader();
        s.state->closes = false;
        QVERIFY(!s.reader->disconnect());
        QCOMPARE(s.reader->error(), QStringLiteral("Device not connected. Access is denied."));
        s.state->closes = true;
        QVERIFY(s.reader->disconnect());
        QCOMPARE(s.reader->error(), QString());
        QVERIFY(!s.reader->isConnected());
    }

    void destroyingTheReaderClosesTheDevice() {
        auto s = scriptedReader();
        QVERIFY(s.state->open);
        s.reader.reset();
        QVERIFY(!s.state->open);
    }

    void environmentPicksTheTransport_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("simulated");
        QTest::newRow("unset") << QByteArray() << false;
        QTest::newRow("simulated") << QByteArray("simulated") << true;
        QTest::newRow("Simulated, blanks") << QByteArray(" Simulated ") << true;
        QTest::newRow("usb") << QByteArray("usb") << false;
    }
    void environmentPicksTheTransport() {
        QFETCH(QByteArray, value);
        QFETCH(bool, simulated);
        if (value.isNull()) {
            qunsetenv("STOKARA_READER");
        } else {
            qputenv("STOKARA_READER", value);
        }
        const auto transport = makeReaderTransport();
        qunsetenv("STOKARA_READER");
        QCOMPARE(dynamic_cast<SimulatedTransport*>(transport.get()) != nullptr, simulated);
        QCOMPARE(dynamic_cast<HidTransport*>(transport.get()) != nullptr, !simulated);
    }

    void usbTransportWithoutAReader() {
        Rrhfoem04Reader reader(std::make_unique<HidTransport>(), recorder_.hooks());
        if (reader.connect()) {
            QSKIP("a reader is attached to this computer");
        }
        QVERIFY(reader.error() == QStringLiteral("RRHFOEM04 not connected.") ||
                reader.error().startsWith(QStringLiteral("Device could not be connected. ")));
        QString tagId = QStringLiteral("KEEP");
        QVERIFY(!reader.iso14443AInventory(tagId));
        QCOMPARE(tagId, QStringLiteral("KEEP"));
    }

    void hexByte2Char() {
        QCOMPARE(Rrhfoem04Reader::hexByte2Char(0), QStringLiteral("00"));
        QCOMPARE(Rrhfoem04Reader::hexByte2Char(255), QStringLiteral("FF"));
        QCOMPARE(Rrhfoem04Reader::hexByte2Char(0x0A), QStringLiteral("0A"));
    }

    void commandFramesOnTheWire() {
        auto s = scriptedReader();
        s.state->answers.push_back(response(0, 0));
        QVERIFY(s.reader->beep());
        QCOMPARE(s.state->written.size(), std::size_t(1));
        const Report& frame = s.state->written.front();
        QCOMPARE(bytesOf(frame, 0, 6), (std::vector<quint8>{0x00, 0x03, 0xF0, 0x01, 0x88, 0x2F}));
        // One exchange: a 100 ms pause between write and read.
        QCOMPARE(recorder_.waits, (std::vector<int>{16, 100}));
    }

    // The first frames an operation sends, byte for byte from index 0 (check bytes included
    // where the worked values give them).
    void operationFramesOnTheWire_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("frameIndex");
        QTest::addColumn<std::vector<quint8>>("bytes");
        QTest::newRow("reader information")
            << 0 << 0 << std::vector<quint8>{0x00, 0x03, 0xF0, 0x00, 0x89, 0x2F};
        QTest::newRow("15693 read: system information")
            << 1 << 0 << std::vector<quint8>{0x00, 0x04, 0x10, 0x0E, 0x02, 0x47, 0x42};
        QTest::newRow("15693 read: block 2 of size 4")
            << 1 << 1 << std::vector<quint8>{0x00, 0x06, 0x10, 0x06, 0x02, 0x04, 0x02};
        QTest::newRow("15693 write: system information")
            << 2 << 0 << std::vector<quint8>{0x00, 0x04, 0x10, 0x0E, 0x02, 0x47, 0x42};
        QTest::newRow("15693 write: block 2")
            << 2 << 1
            << std::vector<quint8>{0x00, 0x0A, 0x10, 0x07, 0x02, 0x04, 0x02, 'G', 'H', 'E', 'E'};
        QTest::newRow("14443A write: inventory")
            << 3 << 0 << std::vector<quint8>{0x00, 0x03, 0x2F, 0x01, 0xB2, 0xBD};
        std::vector<quint8> write{0x00, 0x14, 0x21, 0x03, 0x05, 'G', 'H', 'E', 'E'};
        write.resize(write.size() + 12, 0x00);
        QTest::newRow("14443A write: block 5") << 3 << 4 << write;
    }
    void operationFramesOnTheWire() {
        QFETCH(int, operation);
        QFETCH(int, frameIndex);
        QFETCH(std::vector<quint8>, bytes);
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentCard(kCard);
        module_->presentTag(Iso15693Tag{});
        QString text;
        switch (operation) {
        case 0:
            QVERIFY(reader->getReaderInformation(text));
            break;
        case 1:
            QVERIFY(reader->iso15693WriteAscii(2, QStringLiteral("GHEE")));
            module_->clearCommandLog();
            QVERIFY(reader->iso15693ReadAscii(2, text));
            break;
        case 2:
            QVERIFY(reader->iso15693WriteAscii(2, QStringLiteral("GHEE")));
            break;
        default:
            QVERIFY(reader->iso14443AWriteAscii(5, QStringLiteral("GHEE")));
            break;
        }
        const auto& log = module_->commandLog();
        QVERIFY(std::size_t(frameIndex) < log.size());
        QCOMPARE(bytesOf(log[std::size_t(frameIndex)], 0, int(bytes.size())), bytes);
    }

    // --- exchange checks ------------------------------------------------------------------

    void exchangeAcceptance_data() {
        QTest::addColumn<int>("tamper"); // 0 none, 1 high check byte, 2 low, 3 LEN 63
        QTest::addColumn<bool>("accepted");
        QTest::newRow("intact") << 0 << true;
        QTest::newRow("high check byte changed") << 1 << false;
        QTest::newRow("low check byte changed") << 2 << false;
        QTest::newRow("LEN 63") << 3 << false;
    }
    void exchangeAcceptance() {
        QFETCH(int, tamper);
        QFETCH(bool, accepted);
        auto s = scriptedReader();
        Report answer = response(0, 0, {0x04, 0x04, 0xA1, 0xB2, 0xC3});
        if (tamper == 1) {
            answer[11] ^= 0x10;
        } else if (tamper == 2) {
            answer[12] ^= 0x01;
        } else if (tamper == 3) {
            answer[1] = 63;
            const quint16 check = frameCheckValue(answer, 62);
            answer[63] = quint8(check >> 8);
            answer[64] = quint8(check);
        }
        s.state->answers.push_back(answer);
        QString tagId = QStringLiteral("KEEP");
        QCOMPARE(s.reader->iso14443AInventory(tagId), accepted);
        QCOMPARE(tagId, accepted ? QStringLiteral("04A1B2C3") : QStringLiteral("KEEP"));
    }

    void inventoryStatus_data() {
        QTest::addColumn<quint8>("s0");
        QTest::addColumn<quint8>("s1");
        QTest::addColumn<QString>("expected");
        QTest::newRow("status 00 00") << quint8(0) << quint8(0) << "04A1B2C3";
        QTest::newRow("status 01 02") << quint8(1) << quint8(2) << "caller's text";
        QTest::newRow("status 00 01") << quint8(0) << quint8(1) << "caller's text";
    }
    void inventoryStatus() {
        QFETCH(quint8, s0);
        QFETCH(quint8, s1);
        QFETCH(QString, expected);
        auto s = scriptedReader();
        s.state->answers.push_back(response(s0, s1, {0x04, 0x04, 0xA1, 0xB2, 0xC3}));
        QString tagId = QStringLiteral("caller's text");
        QVERIFY(s.reader->iso14443AInventory(tagId));
        QCOMPARE(tagId, expected);
        QCOMPARE(bytesOf(s.state->written.front(), 1, 5),
                 (std::vector<quint8>{0x03, 0x2F, 0x01, 0xB2, 0xBD}));
    }

    void silentReaderFailsWithinTheBound() {
        Recorder recorder;
        Rrhfoem04Reader reader(std::make_unique<SimulatedTransport>(module_),
                               recorder.hooks(std::chrono::milliseconds(150)));
        QVERIFY(reader.connect());
        module_->presentCard(kCard);
        module_->setSilent(true);
        QElapsedTimer clock;
        clock.start();
        QString tagId = QStringLiteral("KEEP");
        QVERIFY(!reader.iso14443AInventory(tagId));
        QVERIFY(clock.elapsed() >= 140); // it did wait for the answer
        QVERIFY(clock.elapsed() < 5000); // and gave up
        QCOMPARE(tagId, QStringLiteral("KEEP"));
        QCOMPARE(reader.error(), QStringLiteral("The reader did not answer in time."));
    }

    void corruptedAnswerFailsTheExchange() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentCard(kCard);
        module_->setCorruptCheck(true);
        QString tagId = QStringLiteral("KEEP");
        QVERIFY(!reader->iso14443AInventory(tagId));
        QCOMPARE(tagId, QStringLiteral("KEEP"));
        module_->setCorruptCheck(false);
        QVERIFY(reader->iso14443AInventory(tagId));
        QCOMPARE(tagId, QStringLiteral("04A1B2C3"));
    }

    void unpluggedReaderFailsTheExchange() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->setPlugged(false);
        QVERIFY(!reader->beep());
        QCOMPARE(reader->error(), QStringLiteral("The device is not connected."));
        module_->setPlugged(true);
        QVERIFY(!reader->beep()); // the old handle belongs to the old device
        QVERIFY(reader->connect());
        QVERIFY(reader->beep());
        QCOMPARE(module_->beeps(), 1);
    }

    // --- housekeeping commands through the simulated module --------------------------------

    void readerInformation_data() {
        QTest::addColumn<quint32>("serial");
        QTest::addColumn<QString>("text");
        QTest::newRow("42") << quint32(42) << "00042";
        QTest::newRow("1234567") << quint32(1234567) << "34567";
        QTest::newRow("0") << quint32(0) << "00000";
        QTest::newRow("largest") << quint32(0xFFFFFFFF) << "67295";
    }
    void readerInformation() {
        QFETCH(quint32, serial);
        QFETCH(QString, text);
        module_->setSerialNumber(serial);
        auto reader = simulatedReader();
        QVERIFY(reader);
        QString result = QStringLiteral("old");
        QVERIFY(reader->getReaderInformation(result));
        QCOMPARE(result, text);
        module_->setSilent(true);
        Recorder quick;
        Rrhfoem04Reader silent(std::make_unique<SimulatedTransport>(module_),
                               quick.hooks(std::chrono::milliseconds(1)));
        QVERIFY(silent.connect());
        QVERIFY(!silent.getReaderInformation(result));
        QCOMPARE(result, QString());
    }

    // --- ISO 14443A -----------------------------------------------------------------------

    void cardReadWalksDataBlocks_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<std::vector<int>>("reads");
        QTest::addColumn<std::vector<int>>("authentications");
        QTest::newRow("from block 1")
            << 1 << 100 << std::vector<int>{1, 2, 4, 5, 6, 8, 9} << std::vector<int>{1, 4, 8};
        QTest::newRow("from block 3")
            << 3 << 40 << std::vector<int>{4, 5, 6} << std::vector<int>{4};
        QTest::newRow("from block 0") << 0 << 20 << std::vector<int>{1, 2} << std::vector<int>{1};
        QTest::newRow("from block 6")
            << 6 << 20 << std::vector<int>{6, 8} << std::vector<int>{6, 8};
    }
    void cardReadWalksDataBlocks() {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(std::vector<int>, reads);
        QFETCH(std::vector<int>, authentications);
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentCard(kCard);
        const QString text = repeated(QStringLiteral("Milk 1L; "), length);
        QVERIFY(reader->iso14443AWriteAscii(qint16(start), text));
        module_->clearCommandLog();
        recorder_.waits.clear();

        QString back;
        QVERIFY(reader->iso14443AReadAscii(qint16(start), back));
        QCOMPARE(back, text);
        QCOMPARE(cardReads(module_->commandLog()), reads);
        QCOMPARE(cardAuthentications(module_->commandLog()), authentications);
        // 50 ms before every data block.
        QCOMPARE(qsizetype(std::count(recorder_.waits.begin(), recorder_.waits.end(), 50)),
                 qsizetype(reads.size()));
    }

    void sectorOpeningSelectsTwice() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentCard(kCard);
        QString text;
        QVERIFY(reader->iso14443AReadAscii(1, text));
        const auto& log = module_->commandLog();
        QVERIFY(log.size() >= 5);
        QCOMPARE(bytesOf(log[0], 1, 3), (std::vector<quint8>{0x03, 0x2F, 0x01}));
        const std::vector<quint8> select{0x08, 0x2F, 0x02, 0x04, 0x04, 0xA1, 0xB2, 0xC3};
        QCOMPARE(bytesOf(log[1], 1, 8), select);
        QCOMPARE(bytesOf(log[2], 1, 8), select);
        std::vector<quint8> authenticate{0x0F, 0x21, 0x01, 0x04, 0xA1, 0xB2, 0xC3, 0x01, 0x60};
        authenticate.insert(authenticate.end(), kCurrentKeyA.begin(), kCurrentKeyA.end());
        QCOMPARE(bytesOf(log[3], 1, 15), authenticate);
        QCOMPARE(bytesOf(log[4], 1, 4), (std::vector<quint8>{0x04, 0x21, 0x02, 0x01}));
    }

    void sixteenCharactersTakeTwoBlocks() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentCard(kCard);
        const QString text = QStringLiteral("PARTY-0001-CARD1");
        QCOMPARE(text.size(), 16);
        QVERIFY(reader->iso14443AWriteAscii(1, text));
        QCOMPARE(cardWrites(module_->commandLog()), (std::vector<int>{1, 2}));
        const MifareClassicCard* card = module_->card(kCard);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(card->block(1).data()), 16),
                 text.toLatin1());
        QVERIFY(card->block(2) == MifareClassicCard::Block{});
    }

    void cardRoundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::newRow("empty") << QString() << 1;
        QTest::newRow("one character") << "A" << 1;
        QTest::newRow("fifteen") << "Sharma Dairy 12" << 1;
        QTest::newRow("sixteen") << "PARTY-0001-CARD1" << 1;
        QTest::newRow("seventeen") << "PARTY-0001-CARD12" << 2;
        QTest::newRow("apostrophe and latin-1") << QString::fromUtf8("D'Souza café") << 5;
        QTest::newRow("several sectors") << repeated(QStringLiteral("0123456789"), 150) << 1;
    }
    void cardRoundTrip() {
        QFETCH(QString, text);
        QFETCH(int, start);
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentCard(kCard);
        QVERIFY(reader->iso14443AWriteAscii(qint16(start), text));
        QString back = QStringLiteral("old");
        QVERIFY(reader->iso14443AReadAscii(qint16(start), back));
        QCOMPARE(back, text);
        QVERIFY(recorder_.messages.isEmpty());
    }

    void readPastTheLastBlockSaysEndOfMemory() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentCard(kCard);
        // Block 62 full, so the walk runs past block 63.
        QVERIFY(reader->iso14443AWriteAscii(61, repeated(QStringLiteral("x"), 40)));
        QString text;
        QVERIFY(reader->iso14443AReadAscii(62, text));
        QCOMPARE(text, repeated(QStringLiteral("x"), 16));
        QCOMPARE(recorder_.messages, QStringList{QStringLiteral("End of memory reached")});

        recorder_.messages.clear();
        module_->clearCommandLog();
        QVERIFY(!reader->iso14443AReadAscii(64, text)); // no exchange at all
        QCOMPARE(recorder_.messages, QStringList{QStringLiteral("End of memory reached")});
        QVERIFY(module_->commandLog().empty());
    }

    void writePastTheLastBlockStopsWithoutMessage() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentCard(kCard);
        QVERIFY(reader->iso14443AWriteAscii(61, repeated(QStringLiteral("y"), 100)));
        QCOMPARE(cardWrites(module_->commandLog()), (std::vector<int>{61, 62}));
        QVERIFY(!reader->iso14443AWriteAscii(64, QStringLiteral("z")));
        QVERIFY(recorder_.messages.isEmpty());
    }

    void cardFailures_data() {
        QTest::addColumn<int>("situation"); // 0 no card, 1 wrong key, 2 silent
        QTest::newRow("no card") << 0;
        QTest::newRow("card with another key A") << 1;
    }
    void cardFailures() {
        QFETCH(int, situation);
        auto reader = simulatedReader();
        QVERIFY(reader);
        if (situation == 1) {
            module_->presentCard(MifareClassicCard(kCard, {1, 2, 3, 4, 5, 6}));
        }
        QString text = QStringLiteral("old");
        QVERIFY(!reader->iso14443AReadAscii(1, text));
        QCOMPARE(text, QString());
        QVERIFY(!reader->iso14443AWriteAscii(1, QStringLiteral("abc")));
        QVERIFY(cardWrites(module_->commandLog()).empty());
        QVERIFY(!reader->iso14443AChangeKey(0));
        if (situation == 1) {
            QCOMPARE(module_->card(kCard)->keyA(0), (CardKey{1, 2, 3, 4, 5, 6}));
        }
    }

    void changeKeyRejectsBadSectors_data() {
        QTest::addColumn<int>("sector");
        QTest::newRow("16") << 16;
        QTest::newRow("-1") << -1;
        QTest::newRow("1000") << 1000;
    }
    void changeKeyRejectsBadSectors() {
        QFETCH(int, sector);
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentCard(kCard);
        const Report txBefore = reader->txReport();
        QVERIFY(!reader->iso14443AChangeKey(qint16(sector)));
        QCOMPARE(recorder_.messages, QStringList{QStringLiteral(
                                         "Invalid sector value. Valid value varies from 0 to 15")});
        QVERIFY(module_->commandLog().empty());
        QVERIFY(reader->txReport() == txBefore);
    }

    // Readers made without a message hook (as the screens make them) tell the program's
    // information sink; none set, the message only goes to the log.
    void messagesReachTheProgramsSink() {
        QStringList told;
        setInformationSink([&told](const QString& m) { told << m; });
        ReaderHooks hooks;
        hooks.wait = [](int) {};
        Rrhfoem04Reader reader(std::make_unique<SimulatedTransport>(module_), hooks);
        QVERIFY(reader.connect());
        module_->presentCard(kCard);
        QVERIFY(!reader.iso14443AChangeKey(16));
        QString text;
        QVERIFY(!reader.iso14443AReadAscii(64, text));
        setInformationSink({});
        QCOMPARE(told, (QStringList{
                           QStringLiteral("Invalid sector value. Valid value varies from 0 to 15"),
                           QStringLiteral("End of memory reached")}));
        QVERIFY(!reader.iso14443AChangeKey(-1));
        QCOMPARE(told.size(), 2);
    }

    void changeKeyWritesTheTrailer() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentCard(kCard);
        QVERIFY(reader->iso14443AWriteAscii(4, QStringLiteral("before")));
        module_->clearCommandLog();
        QVERIFY(reader->iso14443AChangeKey(1));
        QCOMPARE(cardAuthentications(module_->commandLog()), std::vector<int>{7});
        QCOMPARE(cardWrites(module_->commandLog()), std::vector<int>{7});
        const Report& write = module_->commandLog().back();
        std::vector<quint8> expected(kNewKeyA.begin(), kNewKeyA.end());
        expected.insert(expected.end(), kTrailerAccessBytes.begin(), kTrailerAccessBytes.end());
        expected.insert(expected.end(), kNewKeyB.begin(), kNewKeyB.end());
        QCOMPARE(bytesOf(write, 5, 16), expected);
        const MifareClassicCard* card = module_->card(kCard);
        QCOMPARE(card->keyA(1), kNewKeyA);
        QCOMPARE(card->keyB(1), kNewKeyB);
        // The new access conditions leave key A reading the sector but no longer writing it.
        QString text;
        QVERIFY(reader->iso14443AReadAscii(4, text));
        QCOMPARE(text, QStringLiteral("before"));
        QVERIFY(!reader->iso14443AWriteAscii(4, QStringLiteral("after")));
        QVERIFY(reader->iso14443AWriteAscii(8, QStringLiteral("other sector")));
    }

    // --- ISO 15693 ------------------------------------------------------------------------

    void tagInventory() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        qint16 count = -1;
        QStringList tags{QStringLiteral("stale")};
        QVERIFY(reader->iso15693Inventory(count, tags));
        QCOMPARE(count, qint16(0));
        QVERIFY(tags.isEmpty());

        module_->presentTag(Iso15693Tag{});
        QVERIFY(reader->iso15693Inventory(count, tags));
        QCOMPARE(count, qint16(1));
        QCOMPARE(tags, QStringList{QStringLiteral("E004010012345678")});
        QCOMPARE(bytesOf(module_->commandLog().back(), 1, 6),
                 (std::vector<quint8>{0x04, 0x1F, 0x01, 0x06, 0xA2, 0x93}));
    }

    void tagInventoryCountIsCapped_data() {
        QTest::addColumn<int>("reported");
        QTest::addColumn<int>("held");
        QTest::addColumn<int>("expected");
        QTest::newRow("7 of 7") << 7 << 7 << 7;
        QTest::newRow("9 reported, 7 held") << 9 << 7 << 7;
        QTest::newRow("255 reported, 7 held") << 255 << 7 << 7;
        QTest::newRow("5 reported, 2 held") << 5 << 2 << 2;
        QTest::newRow("2 reported, 5 held") << 2 << 5 << 2;
    }
    void tagInventoryCountIsCapped() {
        QFETCH(int, reported);
        QFETCH(int, held);
        QFETCH(int, expected);
        auto s = scriptedReader();
        std::vector<quint8> data{quint8(reported)};
        for (int i = 0; i < held; ++i) {
            for (int b = 0; b < 8; ++b) {
                data.push_back(quint8(i * 16 + b));
            }
        }
        s.state->answers.push_back(response(0, 0, data));
        qint16 count = 0;
        QStringList tags;
        QVERIFY(s.reader->iso15693Inventory(count, tags));
        QCOMPARE(int(count), expected);
        QCOMPARE(tags.size(), expected);
        QString last;
        for (int b = 0; b < 8; ++b) {
            last += stokara::reader::hexByte2Char(quint8((expected - 1) * 16 + b));
        }
        QCOMPARE(tags.last(), last);
    }

    void tagWriteOfOneBlockTakesTwo() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        module_->presentTag(Iso15693Tag{}); // block size 4
        QVERIFY(reader->iso15693WriteAscii(0, QStringLiteral("MILK")));
        std::vector<Report> writes;
        for (const Report& r : module_->commandLog()) {
            if (r[2] == 0x10 && r[3] == 0x07) {
                writes.push_back(r);
            }
        }
        QCOMPARE(writes.size(), std::size_t(2));
        QCOMPARE(bytesOf(writes[0], 1, 10),
                 (std::vector<quint8>{0x0A, 0x10, 0x07, 0x02, 0x04, 0x00, 'M', 'I', 'L', 'K'}));
        QCOMPARE(bytesOf(writes[1], 1, 10),
                 (std::vector<quint8>{0x0A, 0x10, 0x07, 0x02, 0x04, 0x01, 0, 0, 0, 0}));
    }

    void tagRoundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("blockSize");
        QTest::newRow("empty") << QString() << 0 << 4;
        QTest::newRow("three") << "abc" << 0 << 4;
        QTest::newRow("four") << "MILK" << 0 << 4;
        QTest::newRow("five, from block 3") << "GHEE5" << 3 << 4;
        QTest::newRow("long, block size 8") << repeated(QStringLiteral("curd "), 60) << 2 << 8;
    }
    void tagRoundTrip() {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, blockSize);
        auto reader = simulatedReader();
        QVERIFY(reader);
        Iso15693Tag tag;
        tag.blockSize = blockSize;
        module_->presentTag(tag);
        QVERIFY(reader->iso15693WriteAscii(qint16(start), text));
        QString back = QStringLiteral("old");
        QVERIFY(reader->iso15693ReadAscii(qint16(start), back));
        QCOMPARE(back, text);
    }

    void tagTextLongerThanTheMemoryIsCut() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        Iso15693Tag tag;
        tag.blockCount = 3;
        module_->presentTag(tag);
        QVERIFY(reader->iso15693WriteAscii(1, QStringLiteral("ABCDEFGHIJKL")));
        QString back;
        QVERIFY(reader->iso15693ReadAscii(1, back));
        QCOMPARE(back, QStringLiteral("ABCDEFG")); // two blocks, the last byte terminates
    }

    void tagReadStopsAtTheLastBlock() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        Iso15693Tag tag;
        tag.blockCount = 5;
        tag.memory.assign(20, 'x');
        module_->presentTag(tag);
        QString back;
        QVERIFY(reader->iso15693ReadAscii(2, back));
        QCOMPARE(back, repeated(QStringLiteral("x"), 12));
        QCOMPARE(blocksOf(module_->commandLog(), 0x10, 0x06, 6), (std::vector<int>{2, 3, 4}));
    }

    void tagWithoutMemorySize_data() {
        QTest::addColumn<quint8>("flags");
        QTest::addColumn<bool>("works");
        QTest::newRow("all fields") << quint8(0x0F) << true;
        QTest::newRow("memory size only") << quint8(0x04) << true;
        QTest::newRow("DSFID and memory size") << quint8(0x05) << true;
        QTest::newRow("no memory size") << quint8(0x0B) << false;
    }
    void tagWithoutMemorySize() {
        QFETCH(quint8, flags);
        QFETCH(bool, works);
        auto reader = simulatedReader();
        QVERIFY(reader);
        Iso15693Tag tag;
        tag.infoFlags = flags;
        module_->presentTag(tag);
        QCOMPARE(reader->iso15693WriteAscii(0, QStringLiteral("curd")), works);
        QString back;
        QCOMPARE(reader->iso15693ReadAscii(0, back), works);
        QCOMPARE(back, works ? QStringLiteral("curd") : QString());
    }

    void tagFailures() {
        auto reader = simulatedReader();
        QVERIFY(reader);
        QString back = QStringLiteral("old");
        QVERIFY(!reader->iso15693ReadAscii(0, back)); // no tag: no block can be read
        QCOMPARE(back, QString());
        Iso15693Tag tag;
        tag.blockCount = 4;
        module_->presentTag(tag);
        QVERIFY(!reader->iso15693WriteAscii(4, QStringLiteral("past the end")));
        QVERIFY(!reader->iso15693ReadAscii(4, back));
        QVERIFY(blocksOf(module_->commandLog(), 0x10, 0x06, 6).empty());
        QVERIFY(!reader->iso15693WriteAscii(-1, QStringLiteral("negative")));
        QVERIFY(blocksOf(module_->commandLog(), 0x10, 0x07, 6).empty());
    }
};

QTEST_GUILESS_MAIN(TestReaderProtocol)
#include "test_reader_protocol.moc"
