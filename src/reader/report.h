#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <cstddef>

namespace stokara::reader {

// One HID report of the reader module: index 0 is the report number, 1 is LEN,
// then command/response bytes and the two check bytes. Both directions use 65 bytes.
inline constexpr std::size_t kReportSize = 65;
// Largest LEN that still leaves both check bytes inside the report.
inline constexpr int kMaxFrameLen = 62;

using Report = std::array<quint8, kReportSize>;

// Check value over indexes 1..LEN: register 0xFFFF, byte into the low eight bits,
// eight left shifts with 0x1021, inverted at the end.
quint16 frameCheckValue(const Report& report, int len);

// Writes the check value of the frame whose LEN is at index 1. Returns false (and
// writes nothing) when LEN cannot hold a frame inside the report.
bool setFrameCheck(Report& report);

// True only when LEN lies within 5..62 (a response must carry its two status bytes)
// and both received check bytes equal the recomputed ones.
bool frameCheckValid(const Report& report);

// Two upper-case hexadecimal digits: 0x0A gives "0A".
QString hexByte2Char(quint8 value);

} // namespace stokara::reader
