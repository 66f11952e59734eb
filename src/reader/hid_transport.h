#pragma once

#include "reader/reader_transport.h"

struct hid_device_;

namespace stokara::reader {

// The USB reader through hidapi (hidraw backend).
class HidTransport final : public ReaderTransport {
public:
    HidTransport() = default;
    ~HidTransport() override;
    HidTransport(const HidTransport&) = delete;
    HidTransport& operator=(const HidTransport&) = delete;

    int findReaderPath(QString& path) override;
    bool openDevice(const QString& path) override;
    bool closeDevice() override;
    bool isOpen() const override { return device_ != nullptr; }
    bool writeReport(const Report& report) override;
    bool readReport(Report& report, std::chrono::milliseconds timeout) override;
    QString lastErrorText() const override { return lastError_; }

private:
    void takeError(const QString& fallback);

    hid_device_* device_ = nullptr;
    QString lastError_;
};

} // namespace stokara::reader
