#pragma once
// The whole-sky map of the radio telescope window: the oval grid with its
// labels and the catalog pulsars drawn into a background picture, and the
// pointing marker shown by inverting a small square over it.
#include <QImage>
#include <QWidget>
#include <string>

#include "astro/Maps.h"

namespace qnr::radio {

class AitoffMap : public QWidget {
    Q_OBJECT

public:
    static constexpr int MapWidth = 320;
    static constexpr int MapHeight = 240;

    explicit AitoffMap(QWidget* parent = nullptr);

    // The frame for this size, centred on the whole 4 hours nearest the
    // sidereal time, and the grid drawn anew (pulsars must be plotted again).
    void Init(Extended lst);
    bool initialised() const { return initialised_; }
    // A cyan dot for a pulsar, into the background.
    void PlotPoint(Extended decDeg, Extended raHours);
    // Moves the pointing marker; nothing changes when it is already there.
    void MarkPosition(Extended decDeg, Extended raHours);
    void SetCaption(const std::string& caption);

    const AitoffGeometry& geometry() const { return geometry_; }
    const QImage& background() const { return background_; }
    // What the map shows: the background with the marker and the caption.
    QImage Frame() const;

    // The colours of the grid, the sky and the pulsar dots.
    static QColor Navy() { return QColor(0, 0, 128); }
    static QColor Silver() { return QColor(192, 192, 192); }
    static QColor Cyan() { return QColor(0, 255, 255); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawGrid();

    AitoffGeometry geometry_;
    QImage background_;
    std::string caption_;
    bool initialised_ = false;
};

}  // namespace qnr::radio
