#pragma once
// "Set Photometer Aperture": the aperture's radius in view pixels on a
// scroll bar, applied to the telescope view at once, and its diameter in
// arcminutes on a seven-segment readout.
#include <QDialog>

#include "photometry/Photometer.h"

class QPushButton;
class QScrollBar;

namespace qnr::ui { class SevenSegmentDisplay; }

namespace qnr::photometry {

class TPhotomApForm1 : public QDialog {
    Q_OBJECT

public:
    explicit TPhotomApForm1(observatory::TelescopeHandOff& handOff, QWidget* parent = nullptr);

    // Modal; true when OK kept a changed aperture.
    bool Run();
    ApertureSetting& setting() { return setting_; }

    QScrollBar* ApSzScroll = nullptr;
    ui::SevenSegmentDisplay* ApReadOut = nullptr;
    QPushButton* DfltBtn = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CnclBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowReadOut();

    ApertureSetting setting_;
    bool changed_ = false;
};

}  // namespace qnr::photometry
