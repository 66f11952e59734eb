#pragma once

#include "layout.h"

#include <QLineF>
#include <QRectF>
#include <QString>

#include <vector>

namespace stokara::reports {

class Report;

// Laid-out pages: every text, line and box at its place on the page (mm).
// Needs no display; the preview, the printer and the PDF paint these.
struct PageText {
    QRectF rect;
    QString text;
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

struct Page {
    std::vector<PageText> texts;
    std::vector<PageLine> lines;
    std::vector<PageBox> boxes;
};

struct Pages {
    double width = 210; // mm
    double height = 297;
    QString fontFamily;
    std::vector<Page> pages;

    int count() const { return static_cast<int>(pages.size()); }
    // Texts of one control on a page (0-based), top to bottom.
    QStringList texts(int page, const QString& control) const;
    // The first of them; "" when the page does not show that control.
    QString text(int page, const QString& control) const;
};

// Page header on every page, detail rows never cut across pages, the report
// footer once after the last row, the page footer (with "{page} of {pages}")
// at the bottom of every page. Throws ReportError when a band is taller than a page.
Pages layOut(const Report& report);

} // namespace stokara::reports
