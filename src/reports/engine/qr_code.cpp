#include "qr_code.h"

#include "layout.h"

#include <QPainter>

#include <qrencode.h>

#include <memory>

namespace stokara::reports {

namespace {

constexpr int kQuietZone = 4; // modules of white round the code, as scanners need

} // namespace

QrModules encodeQr(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(static_cast<int>(utf8.size()),
                          reinterpret_cast<const unsigned char*>(utf8.constData()), 0,
                          QR_ECLEVEL_M),
        &QRcode_free);
    if (!code)
        throw ReportError(
            QStringLiteral("The text \"%1\" cannot be drawn as a QR code.").arg(text.left(60)));
    QrModules modules;
    modules.size = code->width;
    modules.dark.resize(size_t(code->width) * code->width);
    for (size_t i = 0; i < modules.dark.size(); ++i)
        modules.dark[i] = code->data[i] & 1;
    return modules;
}

void paintQr(QPainter& painter, const QRectF& square, const QString& text) {
    if (text.isEmpty())
        return;
    const QrModules modules = encodeQr(text);
    const double module = square.width() / (modules.size + 2 * kQuietZone);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(square, Qt::white);
    const double left = square.left() + kQuietZone * module;
    const double top = square.top() + kQuietZone * module;
    for (int y = 0; y < modules.size; ++y) {
        // A run of dark modules is one rectangle: no seams between them.
        for (int x = 0; x < modules.size;) {
            if (!modules.dark[size_t(y) * modules.size + x]) {
                ++x;
                continue;
            }
            int run = x;
            while (run < modules.size && modules.dark[size_t(y) * modules.size + run])
                ++run;
            painter.fillRect(
                QRectF(left + x * module, top + y * module, (run - x) * module, module), Qt::black);
            x = run;
        }
    }
    painter.restore();
}

} // namespace stokara::reports
