#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class QPainter;

namespace stokara::reports {

// Texts are measured as the PDF draws them (300 dots an inch), so what fits
// here fits on paper. Sizes in millimetres.
QFont reportFont(const QString& family, double pointSize, bool bold);
double textWidth(const QFont& font, const QString& text);
// From one line's top to the next one's.
double lineHeight(const QFont& font);
// The height `lines` lines take, the last one's descent included.
double blockHeight(const QFont& font, qsizetype lines);

// The text broken at blanks into lines no wider than `width`; a word wider
// than that is broken between characters. Never empty: "" is one empty line.
QStringList wrapText(const QFont& font, const QString& text, double width);

// How a text is drawn in its box.
struct FittedText {
    double pointSize = 9;
    QStringList lines; // one for a text on one line
    double height = 0; // mm the lines take
};

struct LayoutItem;
// `fit` of the item decides: one line; lines wrapped at the box's width; or the
// largest size from the item's down to its minimum at which the text is one
// line, wrapped at that minimum when even it is too wide.
FittedText fitText(const LayoutItem& item, const QString& family, double pointSize,
                   const QString& text);

// Whether the text surely holds one line of its box at that size, told from
// its letters' advances without shaping it (false: not known without fitting).
bool fitsOnOneLine(const LayoutItem& item, const QString& family, double pointSize,
                   const QString& text);

struct PageText;
// Draws a laid-out text on a painter whose device measures `dpmm` dots a mm:
// one line centred in its box's height, or its wrapped lines as a block.
void drawText(QPainter& painter, const PageText& text, const QString& family, double dpmm);

} // namespace stokara::reports
