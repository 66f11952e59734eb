#include "text_fit.h"

#include "layout.h"
#include "pages.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <array>
#include <limits>
#include <memory>

namespace stokara::reports {

namespace {

constexpr double kDpi = 300;

// A paint device of the PDF's resolution: metrics follow the device's dpi.
const QPaintDevice* paper() {
    thread_local QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(qRound(kDpi / 0.0254));
        i.setDotsPerMeterY(qRound(kDpi / 0.0254));
        return i;
    }();
    return &image;
}

double toMm(double dots) {
    return dots * 25.4 / kDpi;
}

// The few fonts a layout uses, with their metrics, kept: a ledger measures
// its rows by the ten thousand when its pages are planned.
struct KeptFont {
    QString family;
    double size = 0;
    bool bold = false;
    QFont font;
    QFontMetricsF metrics{QFont()};
    // Advances of the Latin-1 letters, and half an em for what kerning might add.
    std::shared_ptr<const std::array<double, 256>> latin;
    double slack = 0;
};

KeptFont keptFont(const QString& family, double size, bool bold) {
    thread_local std::vector<KeptFont> kept;
    for (const KeptFont& k : kept)
        if (k.size == size && k.bold == bold && k.family == family)
            return k;
    if (kept.size() > 64)
        kept.clear();
    const QFont font = reportFont(family, size, bold);
    const QFontMetricsF metrics(font, paper());
    auto latin = std::make_shared<std::array<double, 256>>();
    for (int c = 0; c < 256; ++c)
        (*latin)[c] = metrics.horizontalAdvance(QChar(c));
    kept.push_back({family, size, bold, font, metrics, latin,
                    metrics.horizontalAdvance(QLatin1Char('M')) / 2});
    return kept.back();
}

QFontMetricsF metricsOf(const QFont& font) {
    return keptFont(font.family(), font.pointSizeF(), font.bold()).metrics;
}

// The letters' advances of a Latin-1 text with some slack for kerning: never
// less than the shaped width; infinite for any other text.
double latinWidth(const KeptFont& f, const QString& text) {
    double sum = f.slack;
    for (const QChar c : text) {
        if (c.unicode() > 255)
            return std::numeric_limits<double>::infinity();
        sum += (*f.latin)[c.unicode()];
    }
    return sum;
}

// Whether the text is one line in `width` mm. A Latin-1 text is judged by its
// letters' advances with some slack, never shaped: a long ledger has
// thousands, and the bound only ever breaks a line a little early. Any other
// text is shaped.
bool onOneLine(const KeptFont& f, const QString& text, double width) {
    const double dots = width * kDpi / 25.4;
    const double bound = latinWidth(f, text);
    if (bound < std::numeric_limits<double>::infinity())
        return bound <= dots;
    return f.metrics.horizontalAdvance(text) <= dots;
}

} // namespace

QFont reportFont(const QString& family, double pointSize, bool bold) {
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

double textWidth(const QFont& font, const QString& text) {
    return toMm(metricsOf(font).horizontalAdvance(text));
}

double lineHeight(const QFont& font) {
    return toMm(metricsOf(font).lineSpacing());
}

double blockHeight(const QFont& font, qsizetype lines) {
    const QFontMetricsF metrics = metricsOf(font);
    return toMm(metrics.lineSpacing() * double(std::max<qsizetype>(lines, 1) - 1) +
                metrics.height());
}

QStringList wrapText(const QFont& font, const QString& text, double width) {
    const KeptFont kept = keptFont(font.family(), font.pointSizeF(), font.bold());
    QStringList lines;
    QString line;
    // Each longer line is measured again, so the cheap bound comes first.
    const auto fits = [&](const QString& t) { return onOneLine(kept, t, width); };
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (fits(joined)) {
            line = joined;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        line = word;
        // A word wider than the box goes over lines between its characters.
        while (!fits(line)) {
            int n = static_cast<int>(line.size()) - 1;
            while (n > 1 && !fits(line.left(n)))
                --n;
            lines << line.left(n);
            line = line.mid(n);
        }
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

bool fitsOnOneLine(const LayoutItem& item, const QString& family, double pointSize,
                   const QString& text) {
    const KeptFont font = keptFont(family, pointSize, item.bold);
    return latinWidth(font, text) <= item.rect.width() * kDpi / 25.4;
}

FittedText fitText(const LayoutItem& item, const QString& family, double pointSize,
                   const QString& text) {
    FittedText fitted;
    fitted.pointSize = pointSize;
    KeptFont font = keptFont(family, pointSize, item.bold);
    const double width = item.rect.width();
    if (item.fit == Fit::Shrink) {
        // Quarter points down to the minimum: the largest that holds the line.
        const double smallest = std::min(item.minSize, pointSize);
        while (fitted.pointSize > smallest && !onOneLine(font, text, width)) {
            fitted.pointSize = std::max(smallest, fitted.pointSize - 0.25);
            font = keptFont(family, fitted.pointSize, item.bold);
        }
    }
    if (item.fit != Fit::Line && !onOneLine(font, text, width))
        fitted.lines = wrapText(font.font, text, width);
    else
        fitted.lines = QStringList{text};
    fitted.height = blockHeight(font.font, fitted.lines.size());
    return fitted;
}

void drawText(QPainter& painter, const PageText& text, const QString& family, double dpmm) {
    if (text.text.isEmpty())
        return;
    painter.setFont(reportFont(family, text.fontSize, text.bold));
    const Qt::Alignment horizontal = text.align == Align::Right    ? Qt::AlignRight
                                     : text.align == Align::Center ? Qt::AlignHCenter
                                                                   : Qt::AlignLeft;
    const QRectF box(text.rect.x() * dpmm, text.rect.y() * dpmm, text.rect.width() * dpmm,
                     text.rect.height() * dpmm);
    if (text.lines.size() <= 1) {
        painter.drawText(box, int(horizontal | Qt::AlignVCenter) | Qt::TextSingleLine,
                         text.lines.value(0, text.text));
        return;
    }
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double step = metrics.lineSpacing();
    const double block = step * (text.lines.size() - 1) + metrics.height();
    double top = box.top() + std::max(0.0, (box.height() - block) / 2);
    for (const QString& line : text.lines) {
        painter.drawText(QRectF(box.left(), top, box.width(), metrics.height()),
                         int(horizontal | Qt::AlignTop) | Qt::TextSingleLine, line);
        top += step;
    }
}

} // namespace stokara::reports
