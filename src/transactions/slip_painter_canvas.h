#pragma once

#include "transactions/slip_canvas.h"

#include <QPainter>
#include <QString>

#include <memory>

class QPrinter;
class QPrinterInfo;

namespace stokara::transactions {

// The memo on paper: a QPainter on a printer, or on a PDF file. Positions in
// twips are turned into the device's own units. The device is opened at the
// first drawing call, so a memo that prints nothing leaves no job and no file.
// Failures throw std::runtime_error with a sentence for the operator.
class PainterSlipCanvas : public SlipCanvas {
public:
    static std::unique_ptr<PainterSlipCanvas> forPrinter(const QPrinterInfo& printer);
    // An A4 PDF at `path`; the folder must exist.
    static std::unique_ptr<PainterSlipCanvas> forPdf(const QString& path);
    ~PainterSlipCanvas() override;

    void setFontSize(int points) override;
    void setPosition(int leftTwips, int topTwips) override;
    void printLine(const QString& text) override;
    void newPage() override;
    void endDocument() override;
    int pageHeightTwips() const override;

private:
    PainterSlipCanvas(std::unique_ptr<QPrinter> printer, QString pdfPath);
    void ensureBegun();
    QString deviceName() const;

    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    QString pdfPath_; // empty for a printer
    bool begun_ = false;
    bool ended_ = false;
    int fontSize_ = 10;
    int left_ = 0;
    int top_ = 0;
};

} // namespace stokara::transactions
