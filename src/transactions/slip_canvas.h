#pragma once

#include <QString>

namespace stokara::transactions {

// What the memo printer draws on: font size, a position in twips (1/1440 inch)
// from the top left of the printable area, a line of text, and the end of the
// document. The real canvas is a QPainter on the default printer (or a PDF when
// there is none); tests record the calls.
class SlipCanvas {
public:
    virtual ~SlipCanvas() = default;
    virtual void setFontSize(int points) = 0;
    virtual void setPosition(int leftTwips, int topTwips) = 0;
    virtual void printLine(const QString& text) = 0;
    // Starts a new page; positions after it are measured on the new page.
    virtual void newPage() = 0;
    // Sends the document to the printer (or closes the file).
    virtual void endDocument() = 0;
    // Height of the printable area of one page, in twips. Lines that would
    // reach below it continue on a new page. The default is the tallest page
    // a memo position can address (a continuous roll).
    virtual int pageHeightTwips() const { return kTallestPageTwips; }

    static constexpr int kTallestPageTwips = 32767;
};

} // namespace stokara::transactions
