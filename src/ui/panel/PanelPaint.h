#pragma once
// Drawing shared by the panel widgets: the dark panel, brushed metal, lamp
// glass. Colours dim when a control is disabled, so the state reads at a glance.
#include <QColor>
#include <QPainter>
#include <QRectF>

namespace qnr::ui::panel {

// The panel face behind every control.
QColor PanelColor();
// Caption text on the panel; greyed when disabled.
QColor CaptionColor(bool enabled);

// Fills r with the dark panel face.
void PaintPanel(QPainter& p, const QRectF& r);
// A recessed well (bezel) around r, for lamps and displays.
void PaintBezel(QPainter& p, const QRectF& r, qreal radius);
// Brushed metal across r, lit from above; a disabled part is flatter and darker.
QLinearGradient MetalGradient(const QRectF& r, bool enabled, bool vertical = true);
// A round lamp lens of colour c in r, lit or dark.
void PaintLens(QPainter& p, const QRectF& r, const QColor& c, bool lit);
// The glow around a lit lamp, drawn before the lens.
void PaintGlow(QPainter& p, const QPointF& centre, qreal radius, const QColor& c);
// The keyboard-focus mark: a thin amber outline.
void PaintFocus(QPainter& p, const QRectF& r);

}  // namespace qnr::ui::panel
