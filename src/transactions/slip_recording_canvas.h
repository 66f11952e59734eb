#pragma once

#include "transactions/slip_canvas.h"

#include <QStringList>

#include <vector>

namespace stokara::transactions {

// A canvas that keeps every call, for checking what a memo would print
// without a printer.
class RecordingSlipCanvas : public SlipCanvas {
public:
    struct Line {
        int page = 1; // 1 for the first page
        int fontSize = 0;
        int left = 0;
        int top = 0;
        QString text;
    };

    explicit RecordingSlipCanvas(int pageHeightTwips = kTallestPageTwips)
        : pageHeight_(pageHeightTwips) {}

    void setFontSize(int points) override;
    void setPosition(int leftTwips, int topTwips) override;
    void printLine(const QString& text) override;
    void newPage() override;
    void endDocument() override;
    int pageHeightTwips() const override { return pageHeight_; }

    // Every printed line, in order.
    std::vector<Line> lines;
    // Every call in order: "font 10", "position 100 200", "print <text>", "new page", "end".
    QStringList calls;
    int pages = 1;
    bool ended = false;

    // The printed texts in order.
    QStringList texts() const;

private:
    int pageHeight_;
    int fontSize_ = 0;
    int left_ = 0;
    int top_ = 0;
};

} // namespace stokara::transactions
