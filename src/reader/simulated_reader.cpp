#include "reader/simulated_reader.h"

#include <QThread>
#include <algorithm>

namespace stokara::reader {

namespace st = simulated_status;

// ---------------------------------------------------------------------------------------
// MifareClassicCard

MifareClassicCard::MifareClassicCard(CardUid uid, const CardKey& keyA) : uid_(uid) {
    Block& manufacturer = blocks_[0];
    std::copy(uid.begin(), uid.end(), manufacturer.begin());
    manufacturer[4] = uid[0] ^ uid[1] ^ uid[2] ^ uid[3];
    manufacturer[5] = 0x08;
    manufacturer[6] = 0x04;
    for (int sector = 0; sector < kBlocks / 4; ++sector) {
        Block& trailer = blocks_[std::size_t(sector * 4 + 3)];
        std::copy(keyA.begin(), keyA.end(), trailer.begin());
        // Transport configuration of new cards: key A may read and write every block.
        trailer[6] = 0xFF;
        trailer[7] = 0x07;
        trailer[8] = 0x80;
        trailer[9] = 0x69;
        std::fill(trailer.begin() + 10, trailer.end(), 0xFF);
    }
}

QString MifareClassicCard::uidText() const {
    QString text;
    for (quint8 b : uid_) {
        text += hexByte2Char(b);
    }
    return text;
}

CardKey MifareClassicCard::keyA(int sector) const {
    const Block& trailer = blocks_.at(std::size_t(sector * 4 + 3));
    CardKey key{};
    std::copy(trailer.begin(), trailer.begin() + 6, key.begin());
    return key;
}

CardKey MifareClassicCard::keyB(int sector) const {
    const Block& trailer = blocks_.at(std::size_t(sector * 4 + 3));
    CardKey key{};
    std::copy(trailer.begin() + 10, trailer.end(), key.begin());
    return key;
}

void MifareClassicCard::setKeyA(int sector, const CardKey& key) {
    Block& trailer = blocks_.at(std::size_t(sector * 4 + 3));
    std::copy(key.begin(), key.end(), trailer.begin());
}

int MifareClassicCard::accessCondition(int number) const {
    const Block& trailer = blocks_.at(std::size_t((number / 4) * 4 + 3));
    const int b = number % 4;
    const int c1 = (trailer[7] >> (4 + b)) & 1;
    const int c2 = (trailer[8] >> b) & 1;
    const int c3 = (trailer[8] >> (4 + b)) & 1;
    return (c1 << 2) | (c2 << 1) | c3;
}

bool MifareClassicCard::keyACanRead(int number) const {
    if (number % 4 == 3) {
        return true; // trailers read back with key A hidden; never needed here
    }
    switch (accessCondition(number)) {
    case 0b000:
    case 0b010:
    case 0b100:
    case 0b110:
    case 0b001:
        return true;
    default:
        return false;
    }
}

bool MifareClassicCard::keyACanWrite(int number) const {
    if (number == 0) {
        return false; // manufacturer block
    }
    const int condition = accessCondition(number);
    if (number % 4 == 3) {
        return condition == 0b000 || condition == 0b001;
    }
    return condition == 0b000;
}

bool MifareClassicCard::writeWithKeyA(int number, const Block& data) {
    if (!keyACanWrite(number)) {
        return false;
    }
    Block& target = blocks_.at(std::size_t(number));
    if (number % 4 == 3 && accessCondition(number) == 0b000) {
        // Keys may change, the access bits may not.
        std::copy(data.begin(), data.begin() + 6, target.begin());
        std::copy(data.begin() + 10, data.end(), target.begin() + 10);
        return true;
    }
    target = data;
    return true;
}

// ---------------------------------------------------------------------------------------
// SimulatedReaderModule

SimulatedReaderModule::SimulatedReaderModule(QObject* parent) : QObject(parent) {}

std::shared_ptr<SimulatedReaderModule> SimulatedReaderModule::shared() {
    static const std::shared_ptr<SimulatedReaderModule> module =
        std::make_shared<SimulatedReaderModule>();
    return module;
}

void SimulatedReaderModule::setPlugged(bool plugged) {
    const QMutexLocker lock(&mutex_);
    if (plugged_ == plugged) {
        return;
    }
    plugged_ = plugged;
    if (!plugged) {
        ++plugGeneration_;
        selected_ = false;
        authenticatedSector_ = -1;
    }
    emit changed();
}

void SimulatedReaderModule::setSilent(bool silent) {
    const QMutexLocker lock(&mutex_);
    silent_ = silent;
    emit changed();
}

void SimulatedReaderModule::setCorruptCheck(bool corrupt) {
    const QMutexLocker lock(&mutex_);
    corruptCheck_ = corrupt;
    emit changed();
}

void SimulatedReaderModule::presentCard(const CardUid& uid) {
    const QMutexLocker lock(&mutex_);
    if (cards_.find(uid) == cards_.end()) {
        cards_.emplace(uid, MifareClassicCard(uid));
    }
    cardOnReader_ = uid;
    selected_ = false;
    authenticatedSector_ = -1;
    emit changed();
}

void SimulatedReaderModule::presentCard(const MifareClassicCard& card) {
    const QMutexLocker lock(&mutex_);
    cards_.insert_or_assign(card.uid(), card);
    presentCard(card.uid());
}

void SimulatedReaderModule::removeCard() {
    const QMutexLocker lock(&mutex_);
    cardOnReader_.reset();
    selected_ = false;
    authenticatedSector_ = -1;
    emit changed();
}

MifareClassicCard* SimulatedReaderModule::cardOnReader() {
    const QMutexLocker lock(&mutex_);
    return cardOnReader_ ? card(*cardOnReader_) : nullptr;
}

MifareClassicCard* SimulatedReaderModule::card(const CardUid& uid) {
    const QMutexLocker lock(&mutex_);
    auto it = cards_.find(uid);
    return it == cards_.end() ? nullptr : &it->second;
}

void SimulatedReaderModule::presentTag(const Iso15693Tag& tag) {
    const QMutexLocker lock(&mutex_);
    Iso15693Tag copy = tag;
    copy.memory.resize(std::size_t(copy.blockCount * copy.blockSize), 0);
    tag_ = std::move(copy);
    emit changed();
}

void SimulatedReaderModule::removeTag() {
    const QMutexLocker lock(&mutex_);
    tag_.reset();
    emit changed();
}

Iso15693Tag* SimulatedReaderModule::tagOnReader() {
    const QMutexLocker lock(&mutex_);
    return tag_ ? &*tag_ : nullptr;
}

Report SimulatedReaderModule::respond(const Report& command, quint8 status,
                                      const std::vector<quint8>& data) {
    Report response{};
    response[1] = quint8(5 + data.size());
    response[2] = command[2];
    response[3] = command[3];
    response[4] = status == st::kOk ? 0x00 : 0x01;
    response[5] = status;
    std::copy(data.begin(), data.end(), response.begin() + 6);
    setFrameCheck(response);
    if (corruptCheck_) {
        response[std::size_t(response[1] + 2)] ^= 0x5A;
    }
    return response;
}

std::optional<Report> SimulatedReaderModule::answer(const Report& command) {
    const QMutexLocker lock(&mutex_);
    if (!plugged_) {
        return std::nullopt;
    }
    log_.push_back(command);
    if (silent_) {
        return std::nullopt;
    }
    const int len = command[1];
    if (len < 3 || len > kMaxFrameLen) {
        return respond(command, st::kFrameError);
    }
    const quint16 check = frameCheckValue(command, len);
    if (command[std::size_t(len + 1)] != (check >> 8) ||
        command[std::size_t(len + 2)] != (check & 0xFF)) {
        return respond(command, st::kFrameError);
    }
    switch (command[2]) {
    case 0xF0:
        return readerCommand(command);
    case 0x1F:
    case 0x10:
        return tagCommand(command);
    case 0x2F:
    case 0x21:
        return cardCommand(command);
    default:
        return respond(command, st::kUnknownCommand);
    }
}

Report SimulatedReaderModule::readerCommand(const Report& command) {
    if (command[1] != 3) {
        return respond(command, st::kFrameError);
    }
    if (command[3] == 0x00) {
        // Bytes 6..17: model and firmware; 18..21: the serial number, big-endian.
        std::vector<quint8> data{'R', 'R', 'H', 'F', 'O', 'E', 'M', '0', '4', 0x01, 0x02, 0x00};
        data.push_back(quint8(serialNumber_ >> 24));
        data.push_back(quint8(serialNumber_ >> 16));
        data.push_back(quint8(serialNumber_ >> 8));
        data.push_back(quint8(serialNumber_));
        return respond(command, st::kOk, data);
    }
    if (command[3] == 0x01) {
        ++beeps_;
        return respond(command, st::kOk);
    }
    return respond(command, st::kUnknownCommand);
}

Report SimulatedReaderModule::tagCommand(const Report& command) {
    const int len = command[1];
    if (command[2] == 0x1F) {
        if (command[3] != 0x01 || len != 4) {
            return respond(command, st::kUnknownCommand);
        }
        std::vector<quint8> data{quint8(tag_ ? 1 : 0)};
        if (tag_) {
            data.insert(data.end(), tag_->uid.begin(), tag_->uid.end());
        }
        return respond(command, st::kOk, data);
    }
    if (!tag_) {
        return respond(command, st::kNoCard);
    }
    Iso15693Tag& tag = *tag_;
    switch (command[3]) {
    case 0x0E: { // system information
        std::vector<quint8> data{0x00, tag.infoFlags};
        data.insert(data.end(), tag.uid.begin(), tag.uid.end());
        if (tag.infoFlags & 0x01) {
            data.push_back(0x00); // DSFID
        }
        if (tag.infoFlags & 0x02) {
            data.push_back(0x00); // AFI
        }
        if (tag.infoFlags & 0x04) {
            data.push_back(quint8(tag.blockCount - 1));
            data.push_back(quint8(tag.blockSize - 1));
        }
        if (tag.infoFlags & 0x08) {
            data.push_back(0x01); // IC reference
        }
        return respond(command, st::kOk, data);
    }
    case 0x06: { // read block
        const int bs = command[5];
        const int blk = command[6];
        if (len != 6 || bs != tag.blockSize) {
            return respond(command, st::kFrameError);
        }
        if (blk >= tag.blockCount) {
            return respond(command, st::kBadBlock);
        }
        // The module hands ISO 15693 block data over last byte first, as the tag sends it.
        std::vector<quint8> data{0x00};
        const auto first = tag.memory.begin() + std::ptrdiff_t(blk * bs);
        std::reverse_copy(first, first + bs, std::back_inserter(data));
        return respond(command, st::kOk, data);
    }
    case 0x07: { // write block
        const int bs = command[5];
        const int blk = command[6];
        if (len != 6 + bs || bs != tag.blockSize) {
            return respond(command, st::kFrameError);
        }
        if (blk >= tag.blockCount) {
            return respond(command, st::kBadBlock);
        }
        std::copy(command.begin() + 7, command.begin() + 7 + bs,
                  tag.memory.begin() + std::ptrdiff_t(blk * bs));
        emit changed();
        return respond(command, st::kOk);
    }
    default:
        return respond(command, st::kUnknownCommand);
    }
}

Report SimulatedReaderModule::cardCommand(const Report& command) {
    const int len = command[1];
    MifareClassicCard* card = cardOnReader();
    auto sameUid = [&](int from) {
        return card && std::equal(card->uid().begin(), card->uid().end(), command.begin() + from);
    };
    const quint8 code = command[3];
    if (command[2] == 0x2F && code == 0x01) { // inventory
        if (len != 3) {
            return respond(command, st::kFrameError);
        }
        if (!card) {
            return respond(command, st::kNoCard);
        }
        std::vector<quint8> data{0x04};
        data.insert(data.end(), card->uid().begin(), card->uid().end());
        return respond(command, st::kOk, data);
    }
    if (command[2] == 0x2F && code == 0x02) { // select
        if (len != 8 || command[4] != 0x04) {
            return respond(command, st::kFrameError);
        }
        if (!sameUid(5)) {
            selected_ = false;
            return respond(command, st::kNoCard);
        }
        selected_ = true;
        authenticatedSector_ = -1;
        return respond(command, st::kOk);
    }
    if (command[2] != 0x21) {
        return respond(command, st::kUnknownCommand);
    }
    if (code == 0x01) { // authenticate
        if (len != 15) {
            return respond(command, st::kFrameError);
        }
        const int blk = command[8];
        if (!card || !selected_ || !sameUid(4)) {
            return respond(command, st::kNoCard);
        }
        CardKey key{};
        std::copy(command.begin() + 10, command.begin() + 16, key.begin());
        if (blk >= MifareClassicCard::kBlocks || command[9] != 0x60 || key != card->keyA(blk / 4)) {
            // A card that refuses a key must be selected again.
            selected_ = false;
            authenticatedSector_ = -1;
            return respond(command, st::kAuthFailed);
        }
        authenticatedSector_ = blk / 4;
        return respond(command, st::kOk);
    }
    if (code == 0x02 || code == 0x03) {
        const int blk = command[4];
        if ((code == 0x02 && len != 4) || (code == 0x03 && len != 20)) {
            return respond(command, st::kFrameError);
        }
        if (!card) {
            return respond(command, st::kNoCard);
        }
        if (blk >= MifareClassicCard::kBlocks || blk / 4 != authenticatedSector_) {
            return respond(command, st::kAuthFailed);
        }
        if (code == 0x02) {
            if (!card->keyACanRead(blk)) {
                return respond(command, st::kNotAllowed);
            }
            MifareClassicCard::Block block = card->block(blk);
            if (blk % 4 == 3) {
                std::fill(block.begin(), block.begin() + 6, 0x00); // key A never reads back
            }
            return respond(command, st::kOk, std::vector<quint8>(block.begin(), block.end()));
        }
        MifareClassicCard::Block block{};
        std::copy(command.begin() + 5, command.begin() + 21, block.begin());
        if (!card->writeWithKeyA(blk, block)) {
            return respond(command, st::kNotAllowed);
        }
        emit changed();
        return respond(command, st::kOk);
    }
    return respond(command, st::kUnknownCommand);
}

// ---------------------------------------------------------------------------------------
// SimulatedTransport

const QString SimulatedTransport::kDevicePath = QStringLiteral("simulated:RRHFOEM04");

SimulatedTransport::SimulatedTransport(std::shared_ptr<SimulatedReaderModule> module)
    : module_(std::move(module)) {}

int SimulatedTransport::findReaderPath(QString& path) {
    path.clear();
    if (!module_ || !module_->plugged()) {
        lastError_ = QStringLiteral("The system cannot find the file specified.");
        return 2;
    }
    path = kDevicePath;
    return 0;
}

bool SimulatedTransport::openDevice(const QString& path) {
    if (!module_ || !module_->plugged() || path != kDevicePath) {
        lastError_ = QStringLiteral("The system cannot find the file specified.");
        return false;
    }
    open_ = true;
    openedGeneration_ = module_->plugGeneration();
    pending_.reset();
    lastError_.clear();
    return true;
}

bool SimulatedTransport::closeDevice() {
    if (!open_) {
        lastError_ = QStringLiteral("The handle is invalid.");
        return false;
    }
    open_ = false;
    pending_.reset();
    lastError_.clear();
    return true;
}

bool SimulatedTransport::deviceStillThere() {
    if (!open_) {
        lastError_ = QStringLiteral("The handle is invalid.");
        return false;
    }
    if (!module_->plugged() || module_->plugGeneration() != openedGeneration_) {
        lastError_ = QStringLiteral("The device is not connected.");
        return false;
    }
    return true;
}

bool SimulatedTransport::writeReport(const Report& report) {
    if (!deviceStillThere()) {
        return false;
    }
    pending_ = module_->answer(report);
    lastError_.clear();
    return true;
}

bool SimulatedTransport::readReport(Report& report, std::chrono::milliseconds timeout) {
    if (!deviceStillThere()) {
        return false;
    }
    if (!pending_) {
        // Like the USB read: wait the whole bound for an answer that never comes.
        QThread::msleep(static_cast<unsigned long>(std::max<qint64>(0, timeout.count())));
        lastError_ = QStringLiteral("The reader did not answer in time.");
        return false;
    }
    report = *pending_;
    pending_.reset();
    lastError_.clear();
    return true;
}

} // namespace stokara::reader
