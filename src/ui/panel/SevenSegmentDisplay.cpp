#include "ui/panel/SevenSegmentDisplay.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/panel/PanelPaint.h"
#include "ui/panel/SegmentShapes.h"

namespace qnr::ui {

namespace {

constexpr int Border = 3;  // bezel around the dark window

QPolygonF ToQt(const segments::Polygon& poly, qreal dx, qreal dy, qreal sx, qreal sy) {
    QPolygonF out;
    for (const segments::Point& q : poly) out << QPointF(dx + q.x * sx, dy + q.y * sy);
    return out;
}

}  // namespace

SevenSegmentDisplay::SevenSegmentDisplay(QWidget* parent) : SevenSegmentDisplay(1, parent) {}

SevenSegmentDisplay::SevenSegmentDisplay(int cells, QWidget* parent)
    : QWidget(parent), cells_(qMax(1, cells)), color_(0xff, 0x34, 0x1c) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SevenSegmentDisplay::setText(const QString& text) {
    QString shown(text.size(), QChar(' '));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i].toLatin1();
        if (segments::IsCellCharacter(c)) shown[i] = QChar(c);
    }
    if (shown == text_) return;
    const bool resized = qMax<qsizetype>(cells_, shown.size()) != qMax<qsizetype>(cells_, text_.size());
    text_ = shown;
    if (resized) updateGeometry();
    update();
    emit textChanged(text_);
}

void SevenSegmentDisplay::setCellCount(int cells) {
    cells_ = qMax(1, cells);
    updateGeometry();
    update();
}

void SevenSegmentDisplay::setGlyphs(const DigitGlyphs& glyphs) {
    glyphs_ = glyphs.complete() ? glyphs : DigitGlyphs();
    updateGeometry();
    update();
}

void SevenSegmentDisplay::setColor(const QColor& color) {
    color_ = color;
    update();
}

QSize SevenSegmentDisplay::cellSize() const {
    return usesGlyphs() ? glyphs_.size() : QSize(segments::GlyphWidth, segments::GlyphHeight);
}

QSize SevenSegmentDisplay::sizeHint() const {
    const QSize cell = cellSize();
    const int n = qMax<int>(cells_, static_cast<int>(text_.size()));
    return {n * cell.width() + 2 * Border, cell.height() + 2 * Border};
}

QSize SevenSegmentDisplay::minimumSizeHint() const { return sizeHint(); }

void SevenSegmentDisplay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all = QRectF(rect());
    panel::PaintPanel(p, all);
    panel::PaintBezel(p, all, 3);
    const QRectF window = all.adjusted(Border, Border, -Border, -Border);
    p.fillRect(window, Qt::black);

    // Cells keep the glyphs' proportions, scaled to the window and right-aligned.
    const int n = qMax<int>(cells_, static_cast<int>(text_.size()));
    const QSize natural = cellSize();
    const qreal scale = qMin(window.width() / (n * natural.width()), window.height() / natural.height());
    const qreal cw = natural.width() * scale, ch = natural.height() * scale;
    const qreal x0 = window.right() - n * cw;
    const qreal y0 = window.top() + (window.height() - ch) / 2;
    const QString shown = QString(n - text_.size(), QChar(' ')) + text_;

    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QColor ghost = color_;
    ghost.setHsv(color_.hsvHue(), color_.hsvSaturation(), 26);
    QColor halo = color_;
    halo.setAlpha(70);
    const bool dim = !isEnabled();
    for (int i = 0; i < n; ++i) {
        const char c = shown[i].toLatin1();
        const QRectF cell(x0 + i * cw, y0, cw, ch);
        if (usesGlyphs()) {
            p.drawImage(cell, glyphs_.glyph(c));
            continue;
        }
        const segments::CellShapes shapes = segments::Cell(c, natural.width(), natural.height());
        p.setPen(Qt::NoPen);
        p.setBrush(ghost);
        for (const auto& poly : shapes.unlit) p.drawPolygon(ToQt(poly, cell.left(), cell.top(), scale, scale));
        for (const auto& poly : shapes.lit) {
            const QPolygonF q = ToQt(poly, cell.left(), cell.top(), scale, scale);
            p.setPen(QPen(halo, 1.2 * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(dim ? color_.darker(170) : color_);
            p.drawPolygon(q);
        }
    }
}

}  // namespace qnr::ui
