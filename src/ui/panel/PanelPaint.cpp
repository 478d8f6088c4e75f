#include "ui/panel/PanelPaint.h"

#include <QRadialGradient>

namespace qnr::ui::panel {

QColor PanelColor() { return QColor(0x26, 0x29, 0x2d); }

QColor CaptionColor(bool enabled) { return enabled ? QColor(0xe8, 0xe4, 0xd8) : QColor(0x6c, 0x6e, 0x70); }

void PaintPanel(QPainter& p, const QRectF& r) { p.fillRect(r, PanelColor()); }

void PaintBezel(QPainter& p, const QRectF& r, qreal radius) {
    p.save();
    p.setPen(Qt::NoPen);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0x0c, 0x0d, 0x0e));
    g.setColorAt(1, QColor(0x4a, 0x4e, 0x53));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

QLinearGradient MetalGradient(const QRectF& r, bool enabled, bool vertical) {
    QLinearGradient g(r.topLeft(), vertical ? r.bottomLeft() : r.topRight());
    if (enabled) {
        g.setColorAt(0.0, QColor(0xf2, 0xf3, 0xf4));
        g.setColorAt(0.45, QColor(0xb4, 0xb8, 0xbc));
        g.setColorAt(0.55, QColor(0x9c, 0xa0, 0xa5));
        g.setColorAt(1.0, QColor(0x5e, 0x62, 0x67));
    } else {
        g.setColorAt(0.0, QColor(0x88, 0x8a, 0x8c));
        g.setColorAt(1.0, QColor(0x4c, 0x4e, 0x50));
    }
    return g;
}

void PaintGlow(QPainter& p, const QPointF& centre, qreal radius, const QColor& c) {
    p.save();
    QRadialGradient g(centre, radius);
    QColor inner = c;
    inner.setAlpha(120);
    QColor outer = c;
    outer.setAlpha(0);
    g.setColorAt(0.0, inner);
    g.setColorAt(1.0, outer);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void PaintLens(QPainter& p, const QRectF& r, const QColor& c, bool lit) {
    p.save();
    p.setPen(QPen(QColor(0x08, 0x08, 0x08), 1.0));
    const QPointF hot(r.left() + r.width() * 0.38, r.top() + r.height() * 0.32);
    QRadialGradient g(hot, r.width() * 0.7);
    if (lit) {
        g.setColorAt(0.0, c.lighter(175));
        g.setColorAt(0.35, c);
        g.setColorAt(1.0, c.darker(160));
    } else {
        // An unlit lens keeps a trace of its colour so green and red stay apart.
        const QColor dark = QColor::fromHsv(c.hsvHue(), qMin(c.hsvSaturation(), 160), 70);
        g.setColorAt(0.0, dark.lighter(140));
        g.setColorAt(1.0, dark.darker(250));
    }
    p.setBrush(g);
    p.drawEllipse(r);
    // A small highlight on the glass.
    QRectF shine(r.left() + r.width() * 0.24, r.top() + r.height() * 0.16, r.width() * 0.3, r.height() * 0.22);
    QColor white(255, 255, 255, lit ? 150 : 60);
    p.setPen(Qt::NoPen);
    p.setBrush(white);
    p.drawEllipse(shine);
    p.restore();
}

void PaintFocus(QPainter& p, const QRectF& r) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xe0, 0xa0, 0x30), 1.0, Qt::DotLine));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.restore();
}

}  // namespace qnr::ui::panel
