#include "reader/hid_transport.h"

#include "reader/device_match.h"

#include <hidapi.h>

#include <mutex>

namespace stokara::reader {

namespace {

// Codes returned by findReaderPath when nothing was matched.
constexpr int kEnumerationFailed = 1;
constexpr int kNoReader = 2;
// Input reports the hidraw driver queues per open handle.
constexpr int kQueuedReports = 64;

// hid_init is not safe to run on two threads at once, and card pollers each have their own.
int initialiseHid() {
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    return hid_init();
}

} // namespace

HidTransport::~HidTransport() {
    if (device_) {
        hid_close(device_);
    }
}

void HidTransport::takeError(const QString& fallback) {
    const wchar_t* text = hid_error(device_);
    QString message = text ? QString::fromWCharArray(text) : QString();
    // hidapi reports "Success" when it has nothing better to say.
    if (message.isEmpty() || message == QLatin1String("Success")) {
        message = fallback;
    }
    lastError_ = message;
}

int HidTransport::findReaderPath(QString& path) {
    path.clear();
    if (initialiseHid() != 0) {
        takeError(QString());
        return kEnumerationFailed;
    }
    std::vector<HidDeviceDescription> devices;
    hid_device_info* list = hid_enumerate(0, 0);
    for (hid_device_info* info = list; info; info = info->next) {
        devices.push_back({QString::fromLocal8Bit(info->path), info->usage_page, info->usage,
                           info->vendor_id, info->product_id});
    }
    hid_free_enumeration(list);
    if (auto match = matchReaderPath(devices)) {
        path = *match;
        return 0;
    }
    return kNoReader;
}

bool HidTransport::openDevice(const QString& path) {
    if (device_) {
        hid_close(device_);
        device_ = nullptr;
    }
    device_ = hid_open_path(path.toLocal8Bit().constData());
    if (!device_) {
        takeError(QStringLiteral("The device could not be opened."));
        return false;
    }
    lastError_.clear();
    return true;
}

bool HidTransport::closeDevice() {
    if (!device_) {
        lastError_ = QStringLiteral("The handle is invalid.");
        return false;
    }
    hid_close(device_);
    device_ = nullptr;
    lastError_.clear();
    return true;
}

bool HidTransport::writeReport(const Report& report) {
    if (!device_) {
        lastError_ = QStringLiteral("The handle is invalid.");
        return false;
    }
    // An answer that arrived after an earlier read gave up must not be taken for the
    // answer to this command; nor may the answers to another screen's reader object,
    // which every open handle of the device receives. The kernel keeps at most 64
    // reports per handle, so this empties it.
    Report stale{};
    for (int i = 0;
         i < kQueuedReports && hid_read_timeout(device_, stale.data(), stale.size(), 0) > 0; ++i) {
    }
    const int written = hid_write(device_, report.data(), report.size());
    if (written < 0) {
        takeError(QStringLiteral("The report could not be written."));
        return false;
    }
    lastError_.clear();
    return true;
}

bool HidTransport::readReport(Report& report, std::chrono::milliseconds timeout) {
    if (!device_) {
        lastError_ = QStringLiteral("The handle is invalid.");
        return false;
    }
    // The module uses no numbered reports, so hidraw delivers the 64 bytes after the
    // report number.
    Report incoming{};
    const int read = hid_read_timeout(device_, incoming.data() + 1, incoming.size() - 1,
                                      static_cast<int>(timeout.count()));
    if (read < 0) {
        takeError(QStringLiteral("The report could not be read."));
        return false;
    }
    if (read == 0) {
        lastError_ = QStringLiteral("The reader did not answer in time.");
        return false;
    }
    report = incoming;
    lastError_.clear();
    return true;
}

} // namespace stokara::reader
