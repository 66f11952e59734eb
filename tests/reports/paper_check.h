#pragma once

// Reads the QR codes on a laid-out page back with zbarimg (zbar-tools), as a
// phone's camera would read the printed paper.

#include "reports/engine/output.h"
#include "reports/engine/pages.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

namespace stokara::test {

// The page's QR codes as zbarimg reads them from the page painted at 200 dpi;
// nothing when zbarimg is not installed.
inline std::optional<QString> scanQr(const reports::Pages& pages, int page) {
    const QString zbarimg = QStandardPaths::findExecutable("zbarimg");
    if (zbarimg.isEmpty())
        return std::nullopt;
    const double dpi = 200;
    QImage image(qRound(pages.width / 25.4 * dpi), qRound(pages.pageHeight(page) / 25.4 * dpi),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        reports::paintPage(painter, pages, page);
    }
    QTemporaryDir dir;
    if (!image.save(dir.filePath("page.png")))
        return QString();
    QProcess scan;
    scan.start(zbarimg, {"--quiet", "--raw", dir.filePath("page.png")});
    scan.waitForFinished(30000);
    return QString::fromUtf8(scan.readAllStandardOutput()).trimmed();
}

} // namespace stokara::test
