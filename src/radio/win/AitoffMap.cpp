#include "radio/win/AitoffMap.h"

#include <QPainter>
#include <QPolygon>

#include "ui/Latin1.h"

namespace qnr::radio {

namespace {

// The map's captions and labels: a small plain face of the desktop.
QFont MapFont() {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(7);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

// Where a text's top left corner is given, as the map's labels are placed.
void TextAt(QPainter& p, int x, int y, const QString& text) {
    p.drawText(QRect(x, y, 200, 20), Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace

AitoffMap::AitoffMap(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MapBox"));
    setFixedSize(MapWidth, MapHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    background_ = QImage(MapWidth, MapHeight, QImage::Format_RGB32);
    background_.fill(Qt::black);
}

void AitoffMap::Init(Extended lst) {
    geometry_.Init(3, 2, MapWidth, MapHeight, lst);
    DrawGrid();
    initialised_ = true;
    update();
}

void AitoffMap::DrawGrid() {
    const AitoffGeometry& g = geometry_;
    background_.fill(Navy());
    QPainter p(&background_);
    p.setPen(QPen(Silver(), 1, Qt::SolidLine));
    p.setFont(MapFont());
    p.drawEllipse(QRect(AitoffGeometry::Margin, AitoffGeometry::Margin, g.W, g.H));
    p.drawLine(AitoffGeometry::Margin, g.cy, g.right, g.cy);
    p.drawLine(g.cx, AitoffGeometry::Margin, g.cx, g.bottom);
    auto polyline = [&p](const std::vector<PixelPoint>& points) {
        QPolygon line;
        for (const PixelPoint& q : points) line << QPoint(q.x, q.y);
        p.drawPolyline(line);
    };
    for (const auto& line : g.Parallels()) polyline(line);
    for (const auto& line : g.Meridians()) polyline(line);
    for (const MapLabel& label : g.Labels()) TextAt(p, label.at.x, label.at.y, ui::ToQString(label.text));
}

void AitoffMap::PlotPoint(Extended decDeg, Extended raHours) {
    if (!initialised_) return;
    const PixelPoint c = geometry_.SkyToPixel(decDeg, raHours);
    QPainter p(&background_);
    p.setPen(Cyan());
    p.setBrush(Cyan());
    p.drawEllipse(QRect(c.x - 1, c.y - 1, 2, 2));
    update();
}

void AitoffMap::MarkPosition(Extended decDeg, Extended raHours) {
    if (!initialised_) return;
    const AitoffGeometry::MarkerChange change = geometry_.MarkPosition(decDeg, raHours);
    if (change.draw || change.restore) update();
}

void AitoffMap::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
}

QImage AitoffMap::Frame() const {
    QImage frame = background_.copy();
    const AitoffGeometry& g = geometry_;
    if (initialised_ && g.markerDrawn) {
        // The square's colours inverted, as a second inversion restores them.
        const PixelRect& m = g.marker;
        for (int y = std::max(m.top, 0); y <= std::min(m.bottom, frame.height() - 1); ++y) {
            auto* row = reinterpret_cast<QRgb*>(frame.scanLine(y));
            for (int x = std::max(m.left, 0); x <= std::min(m.right, frame.width() - 1); ++x)
                row[x] = qRgb(255 - qRed(row[x]), 255 - qGreen(row[x]), 255 - qBlue(row[x]));
        }
    }
    QPainter p(&frame);
    const int top = MapHeight - 15;
    p.fillRect(QRect(5, top, MapWidth - 5, MapHeight - top), Navy());
    p.setPen(Silver());
    p.setFont(MapFont());
    TextAt(p, 5, top, ui::ToQString(caption_));
    return frame;
}

void AitoffMap::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, Frame());
}

}  // namespace qnr::radio
