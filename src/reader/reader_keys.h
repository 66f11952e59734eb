#pragma once

#include <QtGlobal>
#include <array>

namespace stokara::reader {

using CardKey = std::array<quint8, 6>;

// The only place the card keys live.
//
// The reader authenticates with key A only, so the new key A written by a key change is
// the same as the key A used to open a sector: a changed sector stays readable by this
// program. The factory default key A of blank 1K cards is used, so new cards work as
// delivered. Key B is the shop's own and is never used for authentication here.
inline constexpr CardKey kCurrentKeyA{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
inline constexpr CardKey kNewKeyA{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
inline constexpr CardKey kNewKeyB{0x53, 0x54, 0x4B, 0x52, 0x41, 0x31};

// Access-condition bytes written into a sector trailer by a key change.
inline constexpr std::array<quint8, 4> kTrailerAccessBytes{0x78, 0x77, 0x88, 0x69};

} // namespace stokara::reader
