#include "ui/panel/IndicatorLamp.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/panel/PanelPaint.h"

namespace qnr::ui {

IndicatorLamp::IndicatorLamp(QWidget* parent) : IndicatorLamp(Green(), Shape::Round, parent) {}

IndicatorLamp::IndicatorLamp(const QColor& color, Shape shape, QWidget* parent)
    : QWidget(parent), color_(color), shape_(shape) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QColor IndicatorLamp::Green() { return QColor(0x3c, 0xf0, 0x4a); }
QColor IndicatorLamp::Red() { return QColor(0xff, 0x30, 0x24); }
QColor IndicatorLamp::Amber() { return QColor(0xff, 0xb0, 0x20); }

void IndicatorLamp::setLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    update();
    emit litChanged(lit_);
}

void IndicatorLamp::setColor(const QColor& color) {
    color_ = color;
    update();
}

void IndicatorLamp::setShape(Shape shape) {
    shape_ = shape;
    updateGeometry();
    update();
}

QSize IndicatorLamp::sizeHint() const {
    switch (shape_) {
        case Shape::ArrowLeft:
        case Shape::ArrowRight: return {30, 20};
        case Shape::ArrowUp:
        case Shape::ArrowDown: return {20, 30};
        case Shape::Round: break;
    }
    return {20, 20};
}

QSize IndicatorLamp::minimumSizeHint() const { return {8, 8}; }

namespace {

// An arrow filling r, pointing along `shape`.
QPainterPath ArrowPath(const QRectF& r, IndicatorLamp::Shape shape) {
    // Drawn pointing right, then turned.
    const bool across = shape == IndicatorLamp::Shape::ArrowLeft || shape == IndicatorLamp::Shape::ArrowRight;
    const qreal len = across ? r.width() : r.height();
    const qreal wid = across ? r.height() : r.width();
    QPolygonF arrow;
    const qreal shaft = wid * 0.22, head = len * 0.45;
    arrow << QPointF(-len / 2, -shaft) << QPointF(len / 2 - head, -shaft) << QPointF(len / 2 - head, -wid / 2)
          << QPointF(len / 2, 0) << QPointF(len / 2 - head, wid / 2) << QPointF(len / 2 - head, shaft)
          << QPointF(-len / 2, shaft);
    QTransform t;
    t.translate(r.center().x(), r.center().y());
    switch (shape) {
        case IndicatorLamp::Shape::ArrowLeft: t.rotate(180); break;
        case IndicatorLamp::Shape::ArrowUp: t.rotate(-90); break;
        case IndicatorLamp::Shape::ArrowDown: t.rotate(90); break;
        default: break;
    }
    QPainterPath path;
    path.addPolygon(t.map(arrow));
    path.closeSubpath();
    return path;
}

}  // namespace

void IndicatorLamp::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all = QRectF(rect());
    panel::PaintPanel(p, all);
    const qreal side = qMin(all.width(), all.height());

    if (shape_ == Shape::Round) {
        const QRectF bezel(all.center().x() - side / 2 + 0.5, all.center().y() - side / 2 + 0.5, side - 1, side - 1);
        if (lit_) panel::PaintGlow(p, bezel.center(), side / 2, color_);
        const QRectF well = bezel.adjusted(side * 0.1, side * 0.1, -side * 0.1, -side * 0.1);
        panel::PaintBezel(p, well, well.width() / 2);
        panel::PaintLens(p, well.adjusted(1.5, 1.5, -1.5, -1.5), color_, lit_);
        return;
    }

    const QRectF box = all.adjusted(2, 2, -2, -2);
    const QPainterPath arrow = ArrowPath(box, shape_);
    if (lit_) panel::PaintGlow(p, box.center(), qMax(box.width(), box.height()) * 0.6, color_);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    if (lit_) {
        g.setColorAt(0, color_.lighter(160));
        g.setColorAt(0.5, color_);
        g.setColorAt(1, color_.darker(150));
    } else {
        const QColor dark = QColor::fromHsv(color_.hsvHue(), qMin(color_.hsvSaturation(), 160), 60);
        g.setColorAt(0, dark.lighter(130));
        g.setColorAt(1, dark.darker(220));
    }
    p.setPen(QPen(QColor(0x08, 0x08, 0x08), 1.2));
    p.setBrush(g);
    p.drawPath(arrow);
}

}  // namespace qnr::ui
