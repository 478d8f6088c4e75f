#include "ui/panel/ToggleSwitch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "ui/panel/IndicatorLamp.h"
#include "ui/panel/PanelPaint.h"

namespace qnr::ui {

namespace {
constexpr int LampSize = 12;
constexpr int CaptionHeight = 15;
}  // namespace

ToggleSwitch::ToggleSwitch(QWidget* parent) : QWidget(parent), lampColor_(IndicatorLamp::Green()) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ToggleSwitch::setOn(bool on) {
    if (on == on_) return;
    on_ = on;
    update();
    emit toggled(on_);
}

void ToggleSwitch::setText(const QString& text) {
    text_ = text;
    updateGeometry();
    update();
}

void ToggleSwitch::setLampVisible(bool visible) {
    lampVisible_ = visible;
    updateGeometry();
    update();
}

void ToggleSwitch::setLampColor(const QColor& color) {
    lampColor_ = color;
    update();
}

QSize ToggleSwitch::sizeHint() const {
    const QFontMetrics fm(font());
    const int w = qMax(36, fm.horizontalAdvance(text_) + 8);
    return {w, 50 + (lampVisible_ ? LampSize + 4 : 0) + (text_.isEmpty() ? 0 : CaptionHeight)};
}

QSize ToggleSwitch::minimumSizeHint() const { return {24, 36}; }

void ToggleSwitch::flipByUser() {
    setOn(!on_);
    emit clicked(on_);
}

void ToggleSwitch::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        return;
    }
    QWidget::mousePressEvent(event);
}

void ToggleSwitch::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        // Released elsewhere: the user changed their mind.
        if (rect().contains(event->position().toPoint())) flipByUser();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void ToggleSwitch::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (!event->isAutoRepeat()) flipByUser();
            return;
        default: QWidget::keyPressEvent(event);
    }
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    const QRectF all = QRectF(rect());
    panel::PaintPanel(p, all);

    qreal top = 2;
    if (lampVisible_) {
        const QRectF lamp(all.center().x() - LampSize / 2.0, top, LampSize, LampSize);
        if (on_) panel::PaintGlow(p, lamp.center(), LampSize * 0.9, lampColor_);
        panel::PaintLens(p, lamp, lampColor_, on_);
        top += LampSize + 4;
    }
    const qreal bottom = all.bottom() - (text_.isEmpty() ? 0 : CaptionHeight);
    const QRectF body(all.left(), top, all.width(), bottom - top);

    // Mounting plate and the hexagonal nut the lever comes out of.
    const QPointF pivot = body.center();
    const qreal nut = qMin(body.width(), body.height()) * 0.26;
    const QRectF plate(pivot.x() - nut * 1.5, body.top() + 1, nut * 3, body.height() - 2);
    p.setPen(QPen(QColor(0x0e, 0x0f, 0x10), 1));
    p.setBrush(panel::MetalGradient(plate, enabled, false));
    p.drawRoundedRect(plate, 3, 3);
    for (qreal y : {plate.top() + 4, plate.bottom() - 4}) {  // screw heads
        p.setBrush(QColor(0x40, 0x43, 0x46));
        p.drawEllipse(QPointF(pivot.x(), y), 1.6, 1.6);
    }
    QPolygonF hex;
    for (int i = 0; i < 6; ++i) {
        const qreal a = std::numbers::pi / 3 * i + std::numbers::pi / 6;
        hex << pivot + QPointF(nut * std::cos(a), nut * std::sin(a));
    }
    p.setBrush(panel::MetalGradient(hex.boundingRect(), enabled));
    p.drawPolygon(hex);
    p.setBrush(QColor(0x1c, 0x1d, 0x1e));
    p.drawEllipse(pivot, nut * 0.55, nut * 0.55);

    // The bat lever, thrown up when on and down when off, seen in perspective.
    const qreal reach = body.height() * 0.42;
    const QPointF tip = pivot + QPointF(0, on_ ? -reach : reach);
    const qreal baseW = nut * 0.5, tipW = nut * 0.85;
    QPainterPath lever;
    lever.moveTo(pivot + QPointF(-baseW, 0));
    lever.lineTo(tip + QPointF(-tipW * 0.55, 0));
    lever.lineTo(tip + QPointF(tipW * 0.55, 0));
    lever.lineTo(pivot + QPointF(baseW, 0));
    lever.closeSubpath();
    QLinearGradient lg(QPointF(pivot.x() - tipW, 0), QPointF(pivot.x() + tipW, 0));
    lg.setColorAt(0, enabled ? QColor(0x70, 0x74, 0x78) : QColor(0x4a, 0x4c, 0x4e));
    lg.setColorAt(0.4, enabled ? QColor(0xf4, 0xf5, 0xf6) : QColor(0x8a, 0x8c, 0x8e));
    lg.setColorAt(1, enabled ? QColor(0x58, 0x5c, 0x60) : QColor(0x40, 0x42, 0x44));
    p.setBrush(lg);
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
    p.drawPath(lever);
    p.drawEllipse(tip, tipW * 0.6, tipW * 0.45);

    if (!text_.isEmpty()) {
        QFont f = font();
        f.setBold(true);
        p.setFont(f);
        p.setPen(panel::CaptionColor(enabled));
        p.drawText(QRectF(0, bottom, width(), CaptionHeight), Qt::AlignCenter, text_);
    }
    if (hasFocus()) panel::PaintFocus(p, all);
}

}  // namespace qnr::ui
