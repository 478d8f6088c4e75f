#include "photometry/win/PhotDlg1.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

#include "astro/StringUt.h"
#include "ui/Latin1.h"
#include "ui/panel/SevenSegmentDisplay.h"

namespace qnr::photometry {

TPhotomApForm1::TPhotomApForm1(observatory::TelescopeHandOff& handOff, QWidget* parent)
    : QDialog(parent), setting_(handOff) {
    setObjectName(QStringLiteral("PhotomApForm1"));
    setWindowTitle(QStringLiteral("Set Photometer Aperture"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);

    ApSzScroll = new QScrollBar(Qt::Horizontal, this);
    ApSzScroll->setObjectName(QStringLiteral("ApSzScroll"));
    ApSzScroll->setRange(MinAperture, MaxAperture);
    ApSzScroll->setPageStep(10);
    ApSzScroll->setSingleStep(1);
    ApSzScroll->setMinimumWidth(260);
    ApReadOut = new ui::SevenSegmentDisplay(5, this);
    ApReadOut->setObjectName(QStringLiteral("ApReadOut"));
    DfltBtn = new QPushButton(QStringLiteral("&Default"), this);
    DfltBtn->setObjectName(QStringLiteral("DfltBtn"));
    OKBtn = new QPushButton(QStringLiteral("&OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CnclBtn = new QPushButton(QStringLiteral("&Cancel"), this);
    CnclBtn->setObjectName(QStringLiteral("CnclBtn"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(ApSzScroll, 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Diameter:"), this), 1, 0);
    grid->addWidget(ApReadOut, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Arc Minutes"), this), 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DfltBtn);
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CnclBtn);
    grid->addLayout(buttons, 2, 0, 1, 3);

    connect(ApSzScroll, &QScrollBar::valueChanged, this, [this](int v) {
        setting_.Move(v);
        ShowReadOut();
    });
    connect(DfltBtn, &QPushButton::clicked, this, [this] { ApSzScroll->setValue(DefaultAperture); });
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        changed_ = setting_.Ok();
        accept();
    });
    connect(CnclBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] {
        setting_.Cancel();
        changed_ = false;
    });
}

void TPhotomApForm1::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

bool TPhotomApForm1::Run() {
    setting_.Show();
    changed_ = false;
    {
        const QSignalBlocker block(ApSzScroll);
        ApSzScroll->setValue(setting_.position());
    }
    ShowReadOut();
    exec();
    return changed_;
}

void TPhotomApForm1::ShowReadOut() { ApReadOut->setText(ui::ToQString(FixedStr(setting_.diameterArcmin(), 3))); }

}  // namespace qnr::photometry
