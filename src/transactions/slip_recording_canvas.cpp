#include "transactions/slip_recording_canvas.h"

namespace stokara::transactions {

void RecordingSlipCanvas::setFontSize(int points) {
    fontSize_ = points;
    calls << QStringLiteral("font %1").arg(points);
}

void RecordingSlipCanvas::setPosition(int leftTwips, int topTwips) {
    left_ = leftTwips;
    top_ = topTwips;
    calls << QStringLiteral("position %1 %2").arg(leftTwips).arg(topTwips);
}

void RecordingSlipCanvas::printLine(const QString& text) {
    lines.push_back({pages, fontSize_, left_, top_, text});
    calls << QStringLiteral("print ") + text;
}

void RecordingSlipCanvas::newPage() {
    ++pages;
    calls << QStringLiteral("new page");
}

void RecordingSlipCanvas::endDocument() {
    ended = true;
    calls << QStringLiteral("end");
}

QStringList RecordingSlipCanvas::texts() const {
    QStringList result;
    for (const Line& line : lines)
        result << line.text;
    return result;
}

} // namespace stokara::transactions
