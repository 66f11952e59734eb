#pragma once

#include <QString>

namespace stokara::core {

// Title of message boxes that have none of their own.
inline QString applicationTitle() {
    return QStringLiteral("Stokara");
}

// The line naming the program: the main window's caption and the credit line
// of every report and bill.
inline QString creditLine() {
    return QStringLiteral("Stokara Dairy Shop Manager - a Tarvex Software product");
}

} // namespace stokara::core
