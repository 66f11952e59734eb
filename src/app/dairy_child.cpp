#include "dairy_child.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace stokara::app {

DairyChild::DairyChild(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FrmDairyChild"));
    setWindowTitle(QStringLiteral("Stokara"));
    setMinimumSize(320, 220);
}

void DairyChild::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();

    // Morning sky over a green field.
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(0xcf, 0xe8, 0xff));
    sky.setColorAt(0.65, QColor(0xfd, 0xf6, 0xe3));
    p.fillRect(r, sky);
    const qreal ground = r.height() * 0.68;
    p.fillRect(QRectF(0, ground, r.width(), r.height() - ground), QColor(0x7c, 0xb3, 0x42));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd5, 0x4f));
    p.drawEllipse(QPointF(r.width() * 0.85, r.height() * 0.18), r.height() * 0.08,
                  r.height() * 0.08);

    // A milk can.
    const qreal w = r.width() * 0.16;
    const qreal h = r.height() * 0.42;
    const qreal x = r.width() * 0.22;
    const qreal y = ground - h + r.height() * 0.05;
    QPainterPath can;
    can.moveTo(x + w * 0.3, y);
    can.lineTo(x + w * 0.7, y);
    can.lineTo(x + w * 0.7, y + h * 0.15);
    can.cubicTo(x + w, y + h * 0.2, x + w, y + h * 0.3, x + w, y + h * 0.35);
    can.lineTo(x + w, y + h);
    can.lineTo(x, y + h);
    can.lineTo(x, y + h * 0.35);
    can.cubicTo(x, y + h * 0.3, x, y + h * 0.2, x + w * 0.3, y + h * 0.15);
    can.closeSubpath();
    QLinearGradient metal(QPointF(x, 0), QPointF(x + w, 0));
    metal.setColorAt(0, QColor(0x9e, 0xa7, 0xad));
    metal.setColorAt(0.45, QColor(0xf5, 0xf7, 0xf8));
    metal.setColorAt(1, QColor(0x78, 0x84, 0x8c));
    p.setBrush(metal);
    p.setPen(QPen(QColor(0x55, 0x60, 0x66), 1.5));
    p.drawPath(can);
    p.drawRoundedRect(QRectF(x + w * 0.25, y - h * 0.06, w * 0.5, h * 0.07), 3, 3);

    // Sacks of cattle feed.
    p.setPen(QPen(QColor(0x8d, 0x6e, 0x63), 1.5));
    for (int i = 0; i < 3; ++i) {
        const QRectF sack(r.width() * (0.48 + i * 0.13), ground - r.height() * 0.2,
                          r.width() * 0.12, r.height() * 0.25);
        p.setBrush(QColor(0xd7, 0xcc, 0xc8).darker(100 + i * 8));
        p.drawRoundedRect(sack, 8, 8);
    }

    // The name line.
    QFont f = font();
    f.setBold(true);
    f.setPointSizeF(qMax<qreal>(12, r.height() / 14));
    p.setFont(f);
    p.setPen(QColor(0x1b, 0x5e, 0x20));
    p.drawText(QRectF(0, ground + 4, r.width(), r.height() - ground), Qt::AlignCenter,
               QStringLiteral("Stokara - the dairy shop"));
}

} // namespace stokara::app
