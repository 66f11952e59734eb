#pragma once

#include "core/input_rules.h"

#include <QString>

#include <optional>

namespace stokara::masters {

// What the vendor master shows and stores, as the fields hold it.
struct VendorFields {
    QString code;
    QString name;
    QString add1;
    QString ph;
    QString city;
};

// Characters the MasVendor text columns hold (0: no limit). Purchases name the
// vendor in ItemPurchases.Party_name, so the name's is the smaller width.
struct VendorWidths {
    int name = 0;
    int add1 = 0;
    int ph = 0;
    int city = 0;
};

// Text too long for its column: the first problem, naming the field.
std::optional<core::Problem> checkVendor(const VendorFields& fields, const VendorWidths& widths);

} // namespace stokara::masters
