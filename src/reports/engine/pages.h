#pragma once

#include "layout.h"

#include <QLineF>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

namespace stokara::reports {

class Report;

// Laid-out pages: every text, line and box at its place on the page (mm).
// Needs no display; the preview, the printer and the PDF paint these.
struct PageText {
    QRectF rect; // grown to hold a wrapped text
    QString text;
    QStringList lines; // as drawn: the text, or its wrapped lines
    Align align = Align::Left;
    double fontSize = 9;
    bool bold = false;
    QString section; // the section and control it came from
    QString control;
};

struct PageLine {
    QLineF line;
    double width = 0.2;
};

struct PageBox {
    QRectF rect;
    double width = 0.2;
};

// A QR code: square, its quiet zone inside the square.
struct PageQr {
    QRectF rect;
    QString text;
    QString section;
};

struct Page {
    std::vector<PageText> texts;
    std::vector<PageLine> lines;
    std::vector<PageBox> boxes;
    std::vector<PageQr> qrs;
};

// The pages of a report. Where every row falls is worked out at once, so the
// page count is known; a page's texts are made the first time it is asked for,
// so a report of thousands of pages shows its first one without making the
// rest. Copies share the pages already made; not for use across threads.
class Pages {
public:
    double width = 210;  // mm
    double height = 297; // of the first page; a roll's pieces differ
    QString fontFamily;

    int count() const;
    // A sheet's height; on a roll, the length of that piece of paper.
    double pageHeight(int index) const;
    // One page (0-based), laid out on first use.
    const Page& page(int index) const;
    // Texts of one control on a page (0-based), top to bottom.
    QStringList texts(int page, const QString& control) const;
    // The first of them; "" when the page does not show that control.
    QString text(int page, const QString& control) const;

    struct Plan;

private:
    friend Pages layOut(const Report& report);
    std::shared_ptr<Plan> plan_;
};

// Page header on every page, detail rows never cut across pages, the report
// footer once after the last row, the page footer (with "{page} of {pages}")
// at the bottom of every page. A section grows where its texts wrap, pushing
// down what is below them. With breakOn each run of one value of that column
// starts a new page and is numbered on its own; on a roll each such run (or
// the whole report) is one piece of paper as long as its content. Throws
// ReportError when a band is taller than a page.
Pages layOut(const Report& report);

} // namespace stokara::reports
