#include "reader/report.h"

namespace stokara::reader {

quint16 frameCheckValue(const Report& report, int len) {
    quint16 reg = 0xFFFF;
    for (int i = 1; i <= len; ++i) {
        reg ^= report.at(static_cast<std::size_t>(i));
        for (int bit = 0; bit < 8; ++bit) {
            if (reg & 0x8000) {
                reg = static_cast<quint16>((reg << 1) ^ 0x1021);
            } else {
                reg = static_cast<quint16>(reg << 1);
            }
        }
    }
    return static_cast<quint16>(~reg);
}

bool setFrameCheck(Report& report) {
    const int len = report[1];
    if (len < 1 || len > kMaxFrameLen) {
        return false;
    }
    const quint16 check = frameCheckValue(report, len);
    report.at(static_cast<std::size_t>(len + 1)) = static_cast<quint8>(check >> 8);
    report.at(static_cast<std::size_t>(len + 2)) = static_cast<quint8>(check & 0xFF);
    return true;
}

bool frameCheckValid(const Report& report) {
    const int len = report[1];
    // A LEN below 5 would let an all-zero report pass as a successful answer.
    if (len < 5 || len > kMaxFrameLen) {
        return false;
    }
    const quint16 check = frameCheckValue(report, len);
    return report.at(static_cast<std::size_t>(len + 1)) == (check >> 8) &&
           report.at(static_cast<std::size_t>(len + 2)) == (check & 0xFF);
}

QString hexByte2Char(quint8 value) {
    static const char digits[] = "0123456789ABCDEF";
    QString text(2, QLatin1Char('0'));
    text[0] = QLatin1Char(digits[value >> 4]);
    text[1] = QLatin1Char(digits[value & 0x0F]);
    return text;
}

} // namespace stokara::reader
