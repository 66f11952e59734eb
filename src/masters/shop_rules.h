#pragma once

#include "core/input_rules.h"

#include <QString>

#include <optional>

namespace stokara::masters {

// What the shop screen shows and stores, as the fields hold it.
struct ShopFields {
    QString name;
    QString address;
    QString city;
    QString telNo;
    QString mobile;
    QString gstNo; // kept in TinNo
    QString upiId; // name@bank: the bills' payment QR
    QString upiPayee;
};

// Characters the compmaster text columns hold (0: no limit).
struct ShopWidths {
    int name = 0;
    int address = 0;
    int city = 0;
    int telNo = 0;
    int mobile = 0;
    int gstNo = 0;
    int upiId = 0;
    int upiPayee = 0;
};

// Text too long for its column, or a UPI ID not of the shape name@bank: the
// first problem, naming the field.
std::optional<core::Problem> checkShop(const ShopFields& fields, const ShopWidths& widths);

} // namespace stokara::masters
