#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace stokara::reader {

inline constexpr quint16 kReaderUsagePage = 0xFF00;
inline constexpr quint16 kReaderUsage = 0x0001;
inline constexpr quint16 kReaderVendorId = 0x1781;  // 6017
inline constexpr quint16 kReaderProductId = 0x0C10; // 3088

// What enumeration tells about one HID interface.
struct HidDeviceDescription {
    QString path;
    quint16 usagePage = 0;
    quint16 usage = 0;
    quint16 vendorId = 0;
    quint16 productId = 0;
};

bool isReaderInterface(const HidDeviceDescription& device);

// Path of the first interface that is the reader module's vendor-defined interface.
std::optional<QString> matchReaderPath(const std::vector<HidDeviceDescription>& devices);

} // namespace stokara::reader
