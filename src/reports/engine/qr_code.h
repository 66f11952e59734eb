#pragma once

#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace stokara::reports {

// A QR code's modules, row by row (true: dark), without the quiet zone.
struct QrModules {
    int size = 0;
    std::vector<bool> dark;
};

// The text (UTF-8) at error correction level M; throws ReportError when it is
// too long for any QR code.
QrModules encodeQr(const QString& text);

// Draws the code filling `square` (device units), the four-module quiet zone
// inside it, on white. An empty text draws nothing.
void paintQr(QPainter& painter, const QRectF& square, const QString& text);

} // namespace stokara::reports
