#include "ui/panel/RockerSwitch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/panel/PanelPaint.h"

namespace qnr::ui {

namespace {
constexpr int LabelHeight = 14;
}

RockerSwitch::RockerSwitch(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void RockerSwitch::setPosition(Position position) {
    if (position == position_) return;
    position_ = position;
    update();
    emit positionChanged(position_);
}

void RockerSwitch::setMomentary(bool momentary) {
    momentary_ = momentary;
    if (momentary_ && !held_) setPosition(Position::Centre);
}

void RockerSwitch::setLabels(const QString& up, const QString& down) {
    upLabel_ = up;
    downLabel_ = down;
    updateGeometry();
    update();
}

QSize RockerSwitch::sizeHint() const {
    const int labels = (upLabel_.isEmpty() ? 0 : LabelHeight) + (downLabel_.isEmpty() ? 0 : LabelHeight);
    int width = 34;
    const QFontMetrics fm(font());
    for (const QString& s : {upLabel_, downLabel_}) width = qMax(width, fm.horizontalAdvance(s) + 6);
    return {width, 64 + labels};
}

QSize RockerSwitch::minimumSizeHint() const { return {20, 36}; }

QRectF RockerSwitch::rockerRect() const {
    QRectF r = QRectF(rect());
    if (!upLabel_.isEmpty()) r.setTop(r.top() + LabelHeight);
    if (!downLabel_.isEmpty()) r.setBottom(r.bottom() - LabelHeight);
    const qreal w = qMin(r.width() - 4, r.height() * 0.55);
    return QRectF(r.center().x() - w / 2, r.top() + 2, w, r.height() - 4);
}

void RockerSwitch::press(Position towards) {
    held_ = true;
    // Set before the signal: a handler that reads the switch sees the press.
    setPosition(towards);
    if (towards == Position::Up) emit upPressed();
    else emit downPressed();
}

void RockerSwitch::release() {
    if (!held_) return;
    held_ = false;
    if (momentary_) setPosition(Position::Centre);
}

void RockerSwitch::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || held_) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QRectF r = rockerRect();
    press(event->position().y() < r.center().y() ? Position::Up : Position::Down);
}

void RockerSwitch::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) release();
    else QWidget::mouseReleaseEvent(event);
}

void RockerSwitch::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && !event->isAutoRepeat()) {
        if (!held_) press(event->key() == Qt::Key_Up ? Position::Up : Position::Down);
        return;
    }
    QWidget::keyPressEvent(event);
}

void RockerSwitch::keyReleaseEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && !event->isAutoRepeat()) {
        release();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void RockerSwitch::focusOutEvent(QFocusEvent* event) {
    // A key held when the focus leaves never sees its release.
    release();
    QWidget::focusOutEvent(event);
}

void RockerSwitch::changeEvent(QEvent* event) {
    // Disabled while held (a handler may disable the panel): no release will come.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) release();
    QWidget::changeEvent(event);
}

void RockerSwitch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool on = isEnabled();
    panel::PaintPanel(p, QRectF(rect()));

    p.setPen(panel::CaptionColor(on));
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    if (!upLabel_.isEmpty())
        p.drawText(QRectF(0, 0, width(), LabelHeight), Qt::AlignCenter, upLabel_);
    if (!downLabel_.isEmpty())
        p.drawText(QRectF(0, height() - LabelHeight, width(), LabelHeight), Qt::AlignCenter, downLabel_);

    // The frame the rocker sits in.
    const QRectF r = rockerRect();
    panel::PaintBezel(p, r, 4);
    const QRectF well = r.adjusted(3, 3, -3, -3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0a, 0x0a, 0x0b));
    p.drawRoundedRect(well, 3, 3);

    // The paddle, one piece pivoting at its middle: the pressed half sinks into
    // the shadow, the other half rises into the light.
    const QRectF paddle = well.adjusted(2, 2, -2, -2);
    const qreal mid = paddle.center().y();
    auto half = [&](bool topHalf) {
        const bool sunk = position_ == (topHalf ? Position::Up : Position::Down);
        const bool raised = position_ == (topHalf ? Position::Down : Position::Up);
        QRectF face = topHalf ? QRectF(paddle.left(), paddle.top(), paddle.width(), mid - paddle.top())
                              : QRectF(paddle.left(), mid, paddle.width(), paddle.bottom() - mid);
        if (sunk) face.adjust(1, topHalf ? 2 : 0, -1, topHalf ? 0 : -2);
        QLinearGradient g(face.topLeft(), face.bottomLeft());
        const int lift = !on ? 70 : sunk ? 80 : raised ? 125 : 100;  // percent of the resting shade
        auto shade = [&](int r, int gr, int b) {
            return QColor(qMin(255, r * lift / 100), qMin(255, gr * lift / 100), qMin(255, b * lift / 100));
        };
        // Lit from above: the upper half brightens towards its top, the lower half towards the pivot.
        const QColor light = shade(0xd8, 0xdb, 0xde), dark = shade(0x6a, 0x6e, 0x72);
        g.setColorAt(0, topHalf ? light : dark.lighter(115));
        g.setColorAt(1, topHalf ? dark.lighter(115) : dark.darker(130));
        if (!topHalf && raised) g.setColorAt(0, light);
        p.setPen(QPen(QColor(0x14, 0x15, 0x16), 1));
        p.setBrush(g);
        p.drawRoundedRect(face, 2, 2);
        // The mark of the way this half drives.
        p.setPen(Qt::NoPen);
        p.setBrush(on ? QColor(0x22, 0x24, 0x26) : QColor(0x3a, 0x3c, 0x3e));
        const QPointF c = face.center();
        const qreal sz = qMin(face.width(), face.height()) * 0.2;
        QPolygonF tri;
        if (topHalf) tri << QPointF(c.x(), c.y() - sz) << QPointF(c.x() + sz, c.y() + sz * 0.7) << QPointF(c.x() - sz, c.y() + sz * 0.7);
        else tri << QPointF(c.x(), c.y() + sz) << QPointF(c.x() + sz, c.y() - sz * 0.7) << QPointF(c.x() - sz, c.y() - sz * 0.7);
        p.drawPolygon(tri);
    };
    half(true);
    half(false);

    if (hasFocus()) panel::PaintFocus(p, r.adjusted(-1, -1, 1, 1));
}

}  // namespace qnr::ui
