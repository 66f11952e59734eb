#include "reader/rrhfoem04_reader.h"

#include <QDebug>
#include <QThread>

namespace stokara::reader {

const QString Rrhfoem04Reader::kEndOfMemoryMessage = QStringLiteral("End of memory reached");
const QString Rrhfoem04Reader::kInvalidSectorMessage =
    QStringLiteral("Invalid sector value. Valid value varies from 0 to 15");

namespace {

// Largest ISO 15693 block that fits in one report: a write frame is 6 + BS bytes long.
constexpr int kMaxTagBlockSize = kMaxFrameLen - 6;

// 1K MIFARE Classic: blocks 0..63, four per sector, the last of each is the trailer.
constexpr int kLastCardBlock = 63;

bool isSkippedCardBlock(int block) {
    return block == 0 || (block + 1) % 4 == 0;
}

std::function<void(const QString&)>& informationSink() {
    static std::function<void(const QString&)> sink;
    return sink;
}

} // namespace

void setInformationSink(std::function<void(const QString&)> sink) {
    informationSink() = std::move(sink);
}

Rrhfoem04Reader::Rrhfoem04Reader(std::unique_ptr<ReaderTransport> transport, ReaderHooks hooks)
    : transport_(std::move(transport)), hooks_(std::move(hooks)) {}

Rrhfoem04Reader::~Rrhfoem04Reader() {
    disconnect();
}

QString Rrhfoem04Reader::hexByte2Char(quint8 value) {
    return reader::hexByte2Char(value);
}

void Rrhfoem04Reader::wait(int ms) {
    if (hooks_.wait) {
        hooks_.wait(ms);
    } else {
        QThread::msleep(static_cast<unsigned long>(ms));
    }
}

void Rrhfoem04Reader::showInfo(const QString& message) {
    if (hooks_.showInfo) {
        hooks_.showInfo(message);
    } else if (const auto& sink = informationSink()) {
        sink(message);
    } else {
        qInfo().noquote() << "Card reader:" << message;
    }
}

QString Rrhfoem04Reader::systemErrorText() const {
    QString text = transport_ ? transport_->lastErrorText() : QString();
    const qsizetype cr = text.indexOf(QLatin1Char('\r'));
    if (cr >= 0) {
        text.truncate(cr);
    }
    if (text.isEmpty()) {
        return QStringLiteral("Unknown Error.");
    }
    return text;
}

bool Rrhfoem04Reader::openDevice(const QString& path) {
    if (!transport_ || !transport_->openDevice(path)) {
        error_ = systemErrorText();
        return false;
    }
    error_.clear();
    return true;
}

bool Rrhfoem04Reader::closeDevice() {
    if (!transport_ || !transport_->closeDevice()) {
        error_ = systemErrorText();
        return false;
    }
    error_.clear();
    return true;
}

bool Rrhfoem04Reader::writeReport() {
    if (!transport_ || !transport_->writeReport(tx_)) {
        error_ = systemErrorText();
        return false;
    }
    error_.clear();
    return true;
}

bool Rrhfoem04Reader::readReport() {
    if (!transport_ || !transport_->readReport(rx_, hooks_.readTimeout)) {
        error_ = systemErrorText();
        return false;
    }
    error_.clear();
    return true;
}

bool Rrhfoem04Reader::isConnected() {
    if (transport_ && transport_->isOpen()) {
        return true;
    }
    error_ = QStringLiteral("Device not connected.");
    return false;
}

bool Rrhfoem04Reader::disconnect() {
    if (transport_ && transport_->isOpen()) {
        if (!closeDevice()) {
            error_ = QStringLiteral("Device not connected. ") + error_;
            return false;
        }
    }
    return true;
}

bool Rrhfoem04Reader::connect() {
    // A second connect on the same object must not leave the first device open.
    if (transport_ && transport_->isOpen()) {
        transport_->closeDevice();
    }
    if (!transport_ || transport_->findReaderPath(devicePath_) != 0) {
        devicePath_.clear();
        error_ = QStringLiteral("RRHFOEM04 not connected.");
        return false;
    }
    if (!openDevice(devicePath_)) {
        error_ = QStringLiteral("Device could not be connected. ") + error_;
        return false;
    }
    wait(kOpenWaitMs);
    return true;
}

bool Rrhfoem04Reader::transceive() {
    if (!setFrameCheck(tx_)) {
        return false;
    }
    if (!writeReport()) {
        return false;
    }
    wait(kResponseWaitMs);
    if (!readReport()) {
        return false;
    }
    return frameCheckValid(rx_);
}

bool Rrhfoem04Reader::exchange(const std::vector<quint8>& bytes) {
    // Bytes after the check value are left as earlier commands left them.
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        tx_.at(i + 1) = bytes[i];
    }
    return transceive();
}

quint8 Rrhfoem04Reader::rx(int index) const {
    return rx_.at(static_cast<std::size_t>(index));
}

bool Rrhfoem04Reader::statusOk() const {
    return rx(4) == 0 && rx(5) == 0;
}

bool Rrhfoem04Reader::getReaderInformation(QString& serial) {
    if (!exchange({0x03, 0xF0, 0x00})) {
        serial.clear();
        return false;
    }
    const quint32 value = (quint32(rx(18)) << 24) | (quint32(rx(19)) << 16) |
                          (quint32(rx(20)) << 8) | quint32(rx(21));
    serial = (QStringLiteral("00000") + QString::number(value)).right(5);
    return true;
}

bool Rrhfoem04Reader::beep() {
    return exchange({0x03, 0xF0, 0x01});
}

bool Rrhfoem04Reader::iso15693Inventory(qint16& count, QStringList& tags) {
    count = 0;
    tags.clear();
    if (!exchange({0x04, 0x1F, 0x01, 0x06})) {
        return false;
    }
    if (!statusOk() || rx(6) == 0) {
        return true;
    }
    // One response holds at most seven identifiers; a larger count is cut to what the
    // frame actually carries.
    const int held = (rx(1) - 6) / 8;
    const int n = std::max(0, std::min<int>(rx(6), held));
    for (int i = 0; i < n; ++i) {
        QString tag;
        for (int b = 7 + 8 * i; b <= 14 + 8 * i; ++b) {
            tag += hexByte2Char(rx(b));
        }
        tags << tag;
    }
    count = static_cast<qint16>(n);
    return true;
}

std::optional<Rrhfoem04Reader::TagMemory> Rrhfoem04Reader::readTagMemory() {
    if (!exchange({0x04, 0x10, 0x0E, 0x02})) {
        return std::nullopt;
    }
    const quint8 flags = rx(7);
    int p = 16;
    if (flags & 0x02) {
        ++p;
    }
    if (flags & 0x01) {
        ++p;
    }
    if (!(flags & 0x04)) {
        return std::nullopt; // the tag reports no memory size
    }
    TagMemory memory;
    memory.blockCount = rx(p) + 1;
    memory.blockSize = rx(p + 1) + 1;
    if (memory.blockSize > kMaxTagBlockSize) {
        return std::nullopt; // a block this large cannot travel in one report
    }
    return memory;
}

bool Rrhfoem04Reader::iso15693ReadAscii(qint16 startBlock, QString& text) {
    text.clear();
    const auto memory = readTagMemory();
    // A start outside the tag's memory has nothing to read.
    if (!memory || startBlock < 0 || startBlock >= memory->blockCount) {
        return false;
    }
    const int bs = memory->blockSize;
    // Stops at the last block the tag describes rather than asking for one beyond it.
    for (int blk = startBlock; blk < memory->blockCount; ++blk) {
        if (!exchange({0x06, 0x10, 0x06, 0x02, quint8(bs), quint8(blk)})) {
            return false;
        }
        if (!statusOk()) {
            return false;
        }
        for (int i = 6 + bs; i >= 7; --i) {
            const quint8 byte = rx(i);
            if (byte == 0) {
                return true;
            }
            text += QChar(char16_t(byte));
        }
    }
    return true;
}

bool Rrhfoem04Reader::iso15693WriteAscii(qint16 startBlock, const QString& text) {
    const auto memory = readTagMemory();
    if (!memory || startBlock < 0) {
        return false;
    }
    const int bs = memory->blockSize;
    int last = startBlock + (int(text.size()) + bs) / bs - 1;
    if (last > memory->blockCount - 1) {
        last = memory->blockCount - 1;
    }
    if (last < startBlock) {
        return false; // nothing of the text would be written
    }
    std::vector<quint8> buffer(std::size_t(last - startBlock + 1) * std::size_t(bs), 0);
    for (std::size_t i = 0; i < buffer.size() && i < std::size_t(text.size()); ++i) {
        buffer[i] = static_cast<quint8>(text.at(qsizetype(i)).unicode() & 0xFF);
    }
    buffer.back() = 0;

    std::size_t offset = 0;
    for (int blk = startBlock; blk <= last; ++blk) {
        std::vector<quint8> command{quint8(6 + bs), 0x10, 0x07, 0x02, quint8(bs), quint8(blk)};
        command.insert(command.end(), buffer.begin() + std::ptrdiff_t(offset),
                       buffer.begin() + std::ptrdiff_t(offset + std::size_t(bs)));
        offset += std::size_t(bs);
        if (!exchange(command) || !statusOk()) {
            return false;
        }
    }
    return true;
}

bool Rrhfoem04Reader::iso14443AInventory(QString& tagId) {
    if (!exchange({0x03, 0x2F, 0x01})) {
        return false;
    }
    if (!statusOk()) {
        return true; // no card: the caller's text stays as it was
    }
    tagId = hexByte2Char(rx(7)) + hexByte2Char(rx(8)) + hexByte2Char(rx(9)) + hexByte2Char(rx(10));
    return true;
}

bool Rrhfoem04Reader::openSector(int block) {
    if (!exchange({0x03, 0x2F, 0x01}) || !statusOk()) {
        return false;
    }
    cardId_ = {rx(7), rx(8), rx(9), rx(10)};
    const std::vector<quint8> select{0x08,       0x2F,       0x02,       0x04,
                                     cardId_[0], cardId_[1], cardId_[2], cardId_[3]};
    exchange(select);
    if (!exchange(select) || !statusOk()) {
        return false;
    }
    std::vector<quint8> authenticate{0x0F,       0x21,       0x01,          cardId_[0], cardId_[1],
                                     cardId_[2], cardId_[3], quint8(block), 0x60};
    authenticate.insert(authenticate.end(), kCurrentKeyA.begin(), kCurrentKeyA.end());
    return exchange(authenticate) && statusOk();
}

bool Rrhfoem04Reader::iso14443AReadAscii(qint16 startBlock, QString& text) {
    text.clear();
    if (startBlock < 0) {
        return false;
    }
    int sector = -1;
    bool exchanged = false;
    for (int blk = startBlock;; ++blk) {
        if (isSkippedCardBlock(blk)) {
            continue;
        }
        if (blk > kLastCardBlock) {
            showInfo(kEndOfMemoryMessage);
            return exchanged;
        }
        wait(kBlockWaitMs);
        if (blk / 4 != sector) {
            sector = blk / 4;
            exchanged = true;
            if (!openSector(blk)) {
                return false;
            }
        }
        exchanged = true;
        if (!exchange({0x04, 0x21, 0x02, quint8(blk)}) || !statusOk()) {
            return false;
        }
        for (int i = 6; i <= 21; ++i) {
            const quint8 byte = rx(i);
            if (byte == 0) {
                return true;
            }
            text += QChar(char16_t(byte));
        }
    }
}

bool Rrhfoem04Reader::iso14443AWriteAscii(qint16 startBlock, const QString& text) {
    if (startBlock < 0) {
        return false;
    }
    std::vector<quint8> data(std::size_t(text.size()) + 16, 0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        data[std::size_t(i)] = static_cast<quint8>(text.at(i).unicode() & 0xFF);
    }
    std::size_t offset = 0;
    int sector = -1;
    bool exchanged = false;
    for (int blk = startBlock;; ++blk) {
        if (isSkippedCardBlock(blk)) {
            continue;
        }
        if (blk > kLastCardBlock) {
            return exchanged;
        }
        wait(kBlockWaitMs);
        if (blk / 4 != sector) {
            sector = blk / 4;
            exchanged = true;
            if (!openSector(blk)) {
                return false;
            }
        }
        std::vector<quint8> command{0x14, 0x21, 0x03, quint8(blk)};
        command.insert(command.end(), data.begin() + std::ptrdiff_t(offset),
                       data.begin() + std::ptrdiff_t(offset + 16));
        exchanged = true;
        if (!exchange(command) || !statusOk()) {
            return false;
        }
        offset += 16;
        if (offset > std::size_t(text.size())) {
            return true;
        }
    }
}

bool Rrhfoem04Reader::iso14443AChangeKey(qint16 sector) {
    if (sector < 0 || sector > 15) {
        showInfo(kInvalidSectorMessage);
        return false;
    }
    const int trailer = sector * 4 + 3;
    if (!openSector(trailer)) {
        return false;
    }
    std::vector<quint8> command{0x14, 0x21, 0x03, quint8(trailer)};
    command.insert(command.end(), kNewKeyA.begin(), kNewKeyA.end());
    command.insert(command.end(), kTrailerAccessBytes.begin(), kTrailerAccessBytes.end());
    command.insert(command.end(), kNewKeyB.begin(), kNewKeyB.end());
    return exchange(command) && statusOk();
}

} // namespace stokara::reader
