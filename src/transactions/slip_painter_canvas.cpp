#include "transactions/slip_painter_canvas.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <stdexcept>

namespace stokara::transactions {

namespace {
constexpr double kTwipsPerInch = 1440.0;
}

std::unique_ptr<PainterSlipCanvas> PainterSlipCanvas::forPrinter(const QPrinterInfo& info) {
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setDocName(QStringLiteral("Cash / Credit Memo"));
    return std::unique_ptr<PainterSlipCanvas>(new PainterSlipCanvas(std::move(printer), {}));
}

std::unique_ptr<PainterSlipCanvas> PainterSlipCanvas::forPdf(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setDocName(QStringLiteral("Cash / Credit Memo"));
    return std::unique_ptr<PainterSlipCanvas>(new PainterSlipCanvas(std::move(printer), path));
}

PainterSlipCanvas::PainterSlipCanvas(std::unique_ptr<QPrinter> printer, QString pdfPath)
    : printer_(std::move(printer)), pdfPath_(std::move(pdfPath)) {}

PainterSlipCanvas::~PainterSlipCanvas() {
    if (begun_ && !ended_) {
        // A memo cut short by an error is not sent half printed.
        printer_->abort();
        painter_.end();
        if (!pdfPath_.isEmpty())
            QFile::remove(pdfPath_);
    }
}

QString PainterSlipCanvas::deviceName() const {
    return pdfPath_.isEmpty() ? QStringLiteral("the printer ") + printer_->printerName() : pdfPath_;
}

void PainterSlipCanvas::ensureBegun() {
    if (ended_)
        throw std::runtime_error("The memo was already finished.");
    if (begun_)
        return;
    if (!painter_.begin(printer_.get()))
        throw std::runtime_error(
            QStringLiteral("The memo could not be sent to %1.").arg(deviceName()).toStdString());
    begun_ = true;
}

void PainterSlipCanvas::setFontSize(int points) {
    fontSize_ = points;
}

void PainterSlipCanvas::setPosition(int leftTwips, int topTwips) {
    left_ = leftTwips;
    top_ = topTwips;
}

void PainterSlipCanvas::printLine(const QString& text) {
    ensureBegun();
    QFont font = painter_.font();
    font.setPointSizeF(fontSize_);
    painter_.setFont(font);
    const double x = left_ * printer_->logicalDpiX() / kTwipsPerInch;
    const double y = top_ * printer_->logicalDpiY() / kTwipsPerInch;
    // The position is the top of the line; QPainter draws text on its baseline.
    const QFontMetricsF metrics(painter_.font(), printer_.get());
    painter_.drawText(QPointF(x, y + metrics.ascent()), text);
}

void PainterSlipCanvas::newPage() {
    ensureBegun();
    if (!printer_->newPage())
        throw std::runtime_error(QStringLiteral("The memo could not go on to a new page on %1.")
                                     .arg(deviceName())
                                     .toStdString());
}

void PainterSlipCanvas::endDocument() {
    ensureBegun();
    ended_ = true;
    if (!painter_.end())
        throw std::runtime_error(QStringLiteral("The memo could not be finished on %1.")
                                     .arg(deviceName())
                                     .toStdString());
    if (printer_->printerState() == QPrinter::Error)
        throw std::runtime_error(
            QStringLiteral("The memo could not be printed on %1.").arg(deviceName()).toStdString());
}

int PainterSlipCanvas::pageHeightTwips() const {
    const int dpi = printer_->logicalDpiY();
    if (dpi <= 0)
        return kTallestPageTwips;
    return static_cast<int>(printer_->height() * kTwipsPerInch / dpi);
}

} // namespace stokara::transactions
