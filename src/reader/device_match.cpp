#include "reader/device_match.h"

namespace stokara::reader {

bool isReaderInterface(const HidDeviceDescription& device) {
    return device.usagePage == kReaderUsagePage && device.usage == kReaderUsage &&
           device.vendorId == kReaderVendorId && device.productId == kReaderProductId &&
           !device.path.isEmpty();
}

std::optional<QString> matchReaderPath(const std::vector<HidDeviceDescription>& devices) {
    for (const auto& device : devices) {
        if (isReaderInterface(device)) {
            return device.path;
        }
    }
    return std::nullopt;
}

} // namespace stokara::reader
