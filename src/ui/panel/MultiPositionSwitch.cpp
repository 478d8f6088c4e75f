#include "ui/panel/MultiPositionSwitch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <numbers>

#include "ui/panel/PanelPaint.h"

namespace qnr::ui {

namespace {
constexpr qreal Pi = std::numbers::pi;
constexpr qreal KnobRadius = 13;
}  // namespace

MultiPositionSwitch::MultiPositionSwitch(QWidget* parent) : MultiPositionSwitch(QStringList{}, parent) {}

MultiPositionSwitch::MultiPositionSwitch(const QStringList& labels, QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setLabels(labels);
}

void MultiPositionSwitch::setLabels(const QStringList& labels) {
    labels_ = labels.isEmpty() ? QStringList{QString()} : labels;
    updateGeometry();
    update();
    if (value_ >= count()) setValue(0);
}

void MultiPositionSwitch::setValue(int value) {
    value = qBound(0, value, count() - 1);
    if (value == value_) return;
    value_ = value;
    update();
    emit valueChanged(value_);
}

void MultiPositionSwitch::choose(int value) {
    value = qBound(0, value, count() - 1);
    if (value == value_) return;
    setValue(value);
    emit activated(value_);
}

qreal MultiPositionSwitch::sweep() const {
    return sweep_ >= 0 ? sweep_ : qMin(270.0, 45.0 * (count() - 1));
}

void MultiPositionSwitch::setSweep(qreal degrees) {
    // Short of a full turn, so the first and last positions stay apart.
    sweep_ = qBound<qreal>(0, degrees, 330);
    updateGeometry();
    update();
}

qreal MultiPositionSwitch::span() const { return sweep() * Pi / 180; }

qreal MultiPositionSwitch::angleOf(int i) const {
    if (count() < 2) return 0;
    return -span() / 2 + span() * i / (count() - 1);
}

MultiPositionSwitch::Layout MultiPositionSwitch::layout() const {
    const QFontMetrics fm(font());
    Layout l;
    l.knob = qMin<qreal>(KnobRadius, qMin(width(), height()) * 0.3);
    l.ticks = l.knob + 6;
    l.labels = l.ticks + 3;
    // Labels sit above the knob; with an arc past the sides they also sit below.
    const bool below = span() > Pi;
    const qreal above = l.labels + fm.height();
    const qreal cy = below ? height() / 2.0 : qMin<qreal>(height() - l.knob - 3, above + 2);
    l.centre = QPointF(width() / 2.0, cy);
    return l;
}

QSize MultiPositionSwitch::sizeHint() const {
    const QFontMetrics fm(font());
    int widest = 0;
    for (const QString& s : labels_) widest = qMax(widest, fm.horizontalAdvance(s));
    const int reach = static_cast<int>(KnobRadius + 9);
    const int w = 2 * (reach + widest + 4);
    const int above = reach + fm.height() + 2;
    const int h = span() > Pi ? 2 * above : above + static_cast<int>(KnobRadius) + 5;
    return {qMax(w, 2 * reach + 8), h};
}

QPointF MultiPositionSwitch::markPoint(int index) const {
    const Layout l = layout();
    const qreal a = angleOf(qBound(0, index, count() - 1));
    return l.centre + QPointF(std::sin(a), -std::cos(a)) * l.ticks;
}

QSize MultiPositionSwitch::minimumSizeHint() const { return {32, 32}; }

void MultiPositionSwitch::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPointF d = event->position() - layout().centre;
    if (std::hypot(d.x(), d.y()) < 2) {  // dead centre has no direction: step on
        choose((value_ + 1) % count());
        return;
    }
    const qreal a = std::atan2(d.x(), -d.y());  // clockwise from up
    int best = 0;
    qreal bestDiff = 10;
    for (int i = 0; i < count(); ++i) {
        qreal diff = std::abs(std::remainder(a - angleOf(i), 2 * Pi));
        if (diff < bestDiff) {
            bestDiff = diff;
            best = i;
        }
    }
    choose(best);
}

void MultiPositionSwitch::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) choose(value_ + steps);
    event->accept();
}

void MultiPositionSwitch::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down: choose(value_ - 1); return;
        case Qt::Key_Right:
        case Qt::Key_Up: choose(value_ + 1); return;
        case Qt::Key_Home: choose(0); return;
        case Qt::Key_End: choose(count() - 1); return;
        default: QWidget::keyPressEvent(event);
    }
}

void MultiPositionSwitch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    panel::PaintPanel(p, QRectF(rect()));
    const Layout l = layout();
    const QFontMetrics fm(font());

    // Ticks and labels; the chosen one is lit amber.
    for (int i = 0; i < count(); ++i) {
        const qreal a = angleOf(i);
        const QPointF dir(std::sin(a), -std::cos(a));
        const bool chosen = i == value_;
        const QColor mark = !enabled ? panel::CaptionColor(false)
                            : chosen ? QColor(0xff, 0xc0, 0x40)
                                     : panel::CaptionColor(true);
        p.setPen(QPen(mark, chosen ? 2.0 : 1.2));
        p.drawLine(l.centre + dir * (l.knob + 2), l.centre + dir * l.ticks);

        const QString& text = labels_[i];
        if (text.isEmpty()) continue;
        const qreal tw = fm.horizontalAdvance(text), th = fm.height();
        const QPointF at = l.centre + dir * l.labels;
        // The label starts at its mark and runs away from the knob: to the
        // left of marks on the left, to the right on the right.
        QRectF box(0, 0, tw, th);
        const qreal sx = dir.x(), sy = dir.y();
        const qreal cx = sx < -0.2 ? at.x() - tw / 2 : sx > 0.2 ? at.x() + tw / 2 : at.x() + sx * tw / 2;
        box.moveCenter(QPointF(cx, at.y() + sy * th / 2));
        p.setPen(mark);
        p.drawText(box, Qt::AlignCenter, text);
    }

    // The knob: a knurled skirt, a dark cap and a white pointer.
    p.setPen(QPen(QColor(0x08, 0x08, 0x08), 1));
    QRadialGradient skirt(l.centre - QPointF(l.knob * 0.3, l.knob * 0.3), l.knob * 1.4);
    skirt.setColorAt(0, enabled ? QColor(0x60, 0x63, 0x67) : QColor(0x48, 0x4a, 0x4c));
    skirt.setColorAt(1, QColor(0x12, 0x13, 0x14));
    p.setBrush(skirt);
    p.drawEllipse(l.centre, l.knob, l.knob);
    p.setPen(QPen(QColor(0x0a, 0x0a, 0x0a, 160), 1));
    for (int k = 0; k < 24; ++k) {
        const qreal a = 2 * Pi * k / 24;
        const QPointF d(std::sin(a), -std::cos(a));
        p.drawLine(l.centre + d * (l.knob * 0.8), l.centre + d * (l.knob - 0.5));
    }
    p.setPen(Qt::NoPen);
    QRadialGradient cap(l.centre - QPointF(l.knob * 0.25, l.knob * 0.3), l.knob);
    cap.setColorAt(0, enabled ? QColor(0x4a, 0x4d, 0x51) : QColor(0x3a, 0x3c, 0x3e));
    cap.setColorAt(1, QColor(0x16, 0x17, 0x18));
    p.setBrush(cap);
    p.drawEllipse(l.centre, l.knob * 0.75, l.knob * 0.75);
    const qreal a = angleOf(value_);
    const QPointF dir(std::sin(a), -std::cos(a));
    p.setPen(QPen(enabled ? QColor(0xf4, 0xf4, 0xf0) : QColor(0x80, 0x80, 0x80), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(l.centre + dir * (l.knob * 0.2), l.centre + dir * (l.knob * 0.9));

    if (hasFocus()) panel::PaintFocus(p, QRectF(rect()));
}

}  // namespace qnr::ui
