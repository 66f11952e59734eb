#pragma once

#include "reader/reader_keys.h"
#include "reader/reader_transport.h"
#include "reader/report.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace stokara::reader {

// How the reader waits and speaks to the user. Tests replace the waits so that the
// protocol's fixed pauses cost nothing, and record the messages.
struct ReaderHooks {
    // Fixed pause of the protocol, in milliseconds. Default: sleep the calling thread.
    std::function<void(int)> wait;
    // The two information messages ("End of memory reached", "Invalid sector value...").
    // Default: the program's information sink (below), else the log, since this library
    // shows no windows itself.
    std::function<void(const QString&)> showInfo;
    // Longest wait for a response report; a reader that never answers fails the exchange.
    std::chrono::milliseconds readTimeout{1000};
};

// Where readers without a showInfo hook send their two information messages. The program
// points it at its own message boxes (an information box with the application's title);
// an empty function sends them to the log again.
void setInformationSink(std::function<void(const QString&)> sink);

// Driver of the RRHFOEM04 high-frequency reader module: housekeeping, ISO 15693 tags and
// 1K MIFARE Classic (ISO 14443A) cards. One object holds one open device; it must not be
// used by two exchanges at once. Destroying it disconnects.
class Rrhfoem04Reader {
public:
    static constexpr int kOpenWaitMs = 16;
    static constexpr int kResponseWaitMs = 100;
    static constexpr int kBlockWaitMs = 50;

    explicit Rrhfoem04Reader(std::unique_ptr<ReaderTransport> transport, ReaderHooks hooks = {});
    ~Rrhfoem04Reader();
    Rrhfoem04Reader(const Rrhfoem04Reader&) = delete;
    Rrhfoem04Reader& operator=(const Rrhfoem04Reader&) = delete;

    const QString& error() const { return error_; }
    bool isConnected();
    bool disconnect();
    bool connect();

    static QString hexByte2Char(quint8 value);

    bool getReaderInformation(QString& serial);
    bool beep();

    // `tags` is replaced by `count` identifiers of 16 hexadecimal digits each.
    bool iso15693Inventory(qint16& count, QStringList& tags);
    bool iso15693ReadAscii(qint16 startBlock, QString& text);
    bool iso15693WriteAscii(qint16 startBlock, const QString& text);

    bool iso14443AInventory(QString& tagId);
    bool iso14443AReadAscii(qint16 startBlock, QString& text);
    bool iso14443AWriteAscii(qint16 startBlock, const QString& text);
    bool iso14443AChangeKey(qint16 sector);

    const QString& devicePath() const { return devicePath_; }
    const Report& txReport() const { return tx_; }
    const Report& rxReport() const { return rx_; }

    static const QString kEndOfMemoryMessage;
    static const QString kInvalidSectorMessage;

private:
    struct TagMemory {
        int blockCount = 0;
        int blockSize = 0;
    };

    QString systemErrorText() const;
    bool openDevice(const QString& path);
    bool closeDevice();
    bool writeReport();
    bool readReport();
    bool transceive();
    // Fills the command bytes from index 1 (LEN first) and runs one exchange.
    bool exchange(const std::vector<quint8>& bytes);
    bool statusOk() const;
    quint8 rx(int index) const;
    void wait(int ms);
    void showInfo(const QString& message);
    std::optional<TagMemory> readTagMemory();
    bool openSector(int block);

    std::unique_ptr<ReaderTransport> transport_;
    ReaderHooks hooks_;
    Report tx_{};
    Report rx_{};
    QString devicePath_;
    QString error_ = QStringLiteral("Not open.");
    std::array<quint8, 4> cardId_{};
};

} // namespace stokara::reader
