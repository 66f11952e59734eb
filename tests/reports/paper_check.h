#pragma once

// Reads paper back as a person would: the QR codes on a laid-out page with
// zbarimg (zbar-tools), a PDF's page sizes and text with poppler-utils.

#include "reports/engine/output.h"
#include "reports/engine/pages.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
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

// The page sizes pdfinfo reads from a PDF, in mm.
inline QList<QSizeF> pdfPageSizes(const QString& path) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {"-f", "1", "-l", "999", path});
    if (!info.waitForFinished(30000))
        return {};
    QList<QSizeF> sizes;
    static const QRegularExpression size(R"(Page\s+\d+ size:\s+([\d.]+) x ([\d.]+) pts)");
    auto it = size.globalMatch(QString::fromUtf8(info.readAllStandardOutput()));
    while (it.hasNext()) {
        const auto m = it.next();
        sizes << QSizeF(m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72);
    }
    return sizes;
}

// What a PDF says, without its line breaks and ligatures: wrapped text reads whole.
inline QString pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {"-raw", path, "-"});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC)
        .simplified();
}

} // namespace stokara::test
