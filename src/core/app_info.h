#pragma once

#include <QString>

namespace stokara::core {

// Title of message boxes that have none of their own.
inline QString applicationTitle() {
    return QStringLiteral("Stokara");
}

} // namespace stokara::core
