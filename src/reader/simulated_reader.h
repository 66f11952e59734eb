#pragma once

#include "reader/reader_keys.h"
#include "reader/reader_transport.h"
#include "reader/report.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace stokara::reader {

using CardUid = std::array<quint8, 4>;
using TagUid = std::array<quint8, 8>;

// A 1K MIFARE Classic card: 64 blocks of 16 bytes, four blocks per sector, the last block
// of each sector holding key A, the access-condition bytes and key B.
class MifareClassicCard {
public:
    static constexpr int kBlocks = 64;
    using Block = std::array<quint8, 16>;

    explicit MifareClassicCard(CardUid uid, const CardKey& keyA = kCurrentKeyA);

    const CardUid& uid() const { return uid_; }
    QString uidText() const;
    const Block& block(int number) const { return blocks_.at(std::size_t(number)); }
    CardKey keyA(int sector) const;
    CardKey keyB(int sector) const;
    void setKeyA(int sector, const CardKey& key);

    // What key A may do with a block under the sector's access conditions.
    bool keyACanRead(int number) const;
    bool keyACanWrite(int number) const;
    // Stores a block written after authentication with key A; trailers keep parts key A
    // may not change. Returns false when the access conditions forbid the write.
    bool writeWithKeyA(int number, const Block& data);

private:
    int accessCondition(int number) const;

    CardUid uid_;
    std::array<Block, kBlocks> blocks_{};
};

// An ISO 15693 tag whose system information reports its memory size.
struct Iso15693Tag {
    TagUid uid{0xE0, 0x04, 0x01, 0x00, 0x12, 0x34, 0x56, 0x78};
    int blockCount = 28;
    int blockSize = 4;
    // Information flags of the system information: DSFID, AFI, memory size, IC reference.
    quint8 infoFlags = 0x0F;
    std::vector<quint8> memory = std::vector<quint8>(std::size_t(28 * 4), 0);
};

// Status bytes the simulated module answers with.
namespace simulated_status {
inline constexpr quint8 kOk = 0x00;
inline constexpr quint8 kFrameError = 0x01;
inline constexpr quint8 kNoCard = 0x02;
inline constexpr quint8 kAuthFailed = 0x03;
inline constexpr quint8 kNotAllowed = 0x04;
inline constexpr quint8 kBadBlock = 0x05;
inline constexpr quint8 kUnknownCommand = 0x06;
} // namespace simulated_status

// The reader module in software: it answers the command reports of the real module with
// correctly framed responses, and can be unplugged, made silent or made to corrupt its
// check bytes. Cards keep their memory while they are off the reader.
// A card poller's thread exchanges with it while the user-interface thread presents cards,
// so its state is under a lock; the card and tag pointers it hands out stay valid, but
// their contents are only to be read while no exchange is writing to them.
class SimulatedReaderModule : public QObject {
    Q_OBJECT
public:
    explicit SimulatedReaderModule(QObject* parent = nullptr);

    // The module used by the running program when STOKARA_READER=simulated, shared by every
    // reader object and the simulated reader's window, as one physical module would be.
    static std::shared_ptr<SimulatedReaderModule> shared();

    bool plugged() const {
        const QMutexLocker lock(&mutex_);
        return plugged_;
    }
    void setPlugged(bool plugged);
    // Increases on every unplug; devices opened before it fail.
    quint64 plugGeneration() const {
        const QMutexLocker lock(&mutex_);
        return plugGeneration_;
    }

    bool silent() const {
        const QMutexLocker lock(&mutex_);
        return silent_;
    }
    void setSilent(bool silent);
    bool corruptCheck() const {
        const QMutexLocker lock(&mutex_);
        return corruptCheck_;
    }
    void setCorruptCheck(bool corrupt);

    quint32 serialNumber() const {
        const QMutexLocker lock(&mutex_);
        return serialNumber_;
    }
    void setSerialNumber(quint32 serial) {
        const QMutexLocker lock(&mutex_);
        serialNumber_ = serial;
    }
    int beeps() const {
        const QMutexLocker lock(&mutex_);
        return beeps_;
    }

    // Puts the card with this identifier on the reader, making a blank card the first time.
    void presentCard(const CardUid& uid);
    void presentCard(const MifareClassicCard& card);
    void removeCard();
    MifareClassicCard* cardOnReader();
    MifareClassicCard* card(const CardUid& uid);

    void presentTag(const Iso15693Tag& tag);
    void removeTag();
    Iso15693Tag* tagOnReader();

    // The answer to one command report; nothing when the module is silent or unplugged.
    std::optional<Report> answer(const Report& command);

    // Every command report received, oldest first (a copy: the log grows meanwhile).
    std::vector<Report> commandLog() const {
        const QMutexLocker lock(&mutex_);
        return log_;
    }
    void clearCommandLog() {
        const QMutexLocker lock(&mutex_);
        log_.clear();
    }

signals:
    void changed();

private:
    Report respond(const Report& command, quint8 status, const std::vector<quint8>& data = {});
    Report readerCommand(const Report& command);
    Report tagCommand(const Report& command);
    Report cardCommand(const Report& command);

    // Recursive: handlers of changed() on the same thread read the module again.
    mutable QRecursiveMutex mutex_;
    bool plugged_ = true;
    quint64 plugGeneration_ = 0;
    bool silent_ = false;
    bool corruptCheck_ = false;
    quint32 serialNumber_ = 20417;
    int beeps_ = 0;

    std::map<CardUid, MifareClassicCard> cards_;
    std::optional<CardUid> cardOnReader_;
    bool selected_ = false;
    int authenticatedSector_ = -1;

    std::optional<Iso15693Tag> tag_;
    std::vector<Report> log_;
};

// Transport to a simulated module, as the USB transport is to the real one.
class SimulatedTransport final : public ReaderTransport {
public:
    static const QString kDevicePath;

    explicit SimulatedTransport(std::shared_ptr<SimulatedReaderModule> module);

    int findReaderPath(QString& path) override;
    bool openDevice(const QString& path) override;
    bool closeDevice() override;
    bool isOpen() const override { return open_; }
    bool writeReport(const Report& report) override;
    bool readReport(Report& report, std::chrono::milliseconds timeout) override;
    QString lastErrorText() const override { return lastError_; }

private:
    bool deviceStillThere();

    std::shared_ptr<SimulatedReaderModule> module_;
    bool open_ = false;
    quint64 openedGeneration_ = 0;
    std::optional<Report> pending_;
    QString lastError_;
};

} // namespace stokara::reader
