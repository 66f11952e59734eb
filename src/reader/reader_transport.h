#pragma once

#include "reader/report.h"

#include <QString>
#include <chrono>
#include <memory>

namespace stokara::reader {

// The device operations the reader class needs. One transport belongs to one reader
// object and holds at most one open device.
class ReaderTransport {
public:
    virtual ~ReaderTransport() = default;

    // Looks for the reader module. Returns 0 and sets `path` when one was matched,
    // otherwise a non-zero code.
    virtual int findReaderPath(QString& path) = 0;
    virtual bool openDevice(const QString& path) = 0;
    virtual bool closeDevice() = 0;
    virtual bool isOpen() const = 0;
    // One whole 65-byte report.
    virtual bool writeReport(const Report& report) = 0;
    // One whole 65-byte report; fails when nothing arrives within `timeout`.
    virtual bool readReport(Report& report, std::chrono::milliseconds timeout) = 0;
    // Platform text of the last failure (may be empty when the platform has none).
    virtual QString lastErrorText() const = 0;
};

// Picks the transport for the running program: the simulated reader when the
// environment variable STOKARA_READER is "simulated", the USB reader otherwise.
std::unique_ptr<ReaderTransport> makeReaderTransport();

// True when STOKARA_READER asks for the simulated reader.
bool simulatedReaderRequested();

} // namespace stokara::reader
