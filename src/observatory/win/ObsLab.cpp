#include "observatory/win/ObsLab.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QVBoxLayout>

#include "help/Helplst.h"
#include "observatory/win/HotListForm.h"
#include "ui/Latin1.h"
#include "ui/panel/DigitGlyphs.h"
#include "ui/panel/IndicatorLamp.h"
#include "ui/panel/MultiPositionSwitch.h"
#include "ui/panel/SevenSegmentDisplay.h"
#include "ui/panel/ToggleSwitch.h"

namespace qnr::observatory {

using ui::ToQString;

void SlewButton::mousePressEvent(QMouseEvent* event) {
    QPushButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled() && !held_) {
        held_ = true;
        emit slewPressed();
    }
}

void SlewButton::mouseReleaseEvent(QMouseEvent* event) {
    QPushButton::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) Release();
}

void SlewButton::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    // A message box or another window took the mouse: its release never comes here.
    if (QApplication::mouseButtons() == Qt::NoButton || event->reason() == Qt::ActiveWindowFocusReason ||
        event->reason() == Qt::PopupFocusReason)
        Release();
}

void SlewButton::hideEvent(QHideEvent* event) {
    QPushButton::hideEvent(event);
    Release();
}

void SlewButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled()) Release();
}

void SlewButton::Release() {
    if (!held_) return;
    held_ = false;
    emit slewReleased();
}

namespace {

ui::SevenSegmentDisplay* Display(QWidget* parent, const char* name, int cells, const ui::DigitGlyphs& glyphs) {
    auto* d = new ui::SevenSegmentDisplay(parent);
    d->setObjectName(name);
    d->setCellCount(cells);
    d->setGlyphs(glyphs);
    return d;
}

ui::IndicatorLamp* Lamp(QWidget* parent, const char* name, QColor color) {
    auto* l = new ui::IndicatorLamp(parent);
    l->setObjectName(name);
    l->setColor(color);
    return l;
}

QLabel* Caption(QWidget* parent, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setStyleSheet("color: #c8c8c8;");
    return l;
}

}  // namespace

TObsrvtry::TObsrvtry(platform::Services& services, app::OptsRec& opts, ObsDateTime& clock,
                     TelescopeWindowLinks links, QWidget* parent)
    : QMainWindow(parent), services_(services), opts_(opts), clock_(clock), links_(std::move(links)) {
    setObjectName("Obsrvtry");
    setWindowTitle("Toval Optical Telescope Control");
    mount_ = std::make_unique<TelescopeMount>(services_, opts_, clock_,
                                              links_.refreshClock ? links_.refreshClock : [] {}, *this);
    BuildWindow();
    clocktimer_.setInterval(TelescopeMount::ClockIntervalMs);
    SlewTimer_.setInterval(TelescopeMount::ManualSlewIntervalMs);
    SlewTimer2_.setInterval(TelescopeMount::ProgrammedSlewIntervalMs);
    clocktimer_.setObjectName("clocktimer");
    SlewTimer_.setObjectName("SlewTimer");
    SlewTimer2_.setObjectName("SlewTimer2");
    connect(&clocktimer_, &QTimer::timeout, this, &TObsrvtry::clocktimerTimer);
    connect(&SlewTimer_, &QTimer::timeout, this, &TObsrvtry::SlewTimerTimer);
    connect(&SlewTimer2_, &QTimer::timeout, this, &TObsrvtry::SlewTimer2Timer);
}


void TObsrvtry::BuildWindow() {
    ui::DigitGlyphs glyphs = ui::DigitGlyphs::Load(*services_.files, opts_.programFolder);
    auto* central = new QWidget(this);
    central->setObjectName("ObsPanel");
    central->setAutoFillBackground(true);
    QPalette pal = central->palette();
    pal.setColor(QPalette::Window, QColor(44, 46, 50));
    pal.setColor(QPalette::WindowText, QColor(200, 200, 200));
    central->setPalette(pal);
    setCentralWidget(central);
    auto* top = new QHBoxLayout(central);

    auto* left = new QVBoxLayout;
    auto* frame = new QFrame(central);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(2);
    auto* fl = new QVBoxLayout(frame);
    fl->setContentsMargins(2, 2, 2, 2);
    CRT1 = new QWidget(frame);
    CRT1->setObjectName("CRT1");
    CRT1->setFixedSize(312, 312);
    CRT1->setAutoFillBackground(true);
    QPalette black = CRT1->palette();
    black.setColor(QPalette::Window, Qt::black);
    CRT1->setPalette(black);
    fl->addWidget(CRT1);
    left->addWidget(frame);
    ScopeLbl = new QLabel(central);
    ScopeLbl->setObjectName("ScopeLbl");
    ScopeLbl->setAlignment(Qt::AlignCenter);
    QFont big = ScopeLbl->font();
    big.setBold(true);
    ScopeLbl->setFont(big);
    left->addWidget(ScopeLbl);
    left->addStretch();
    top->addLayout(left);

    auto* right = new QVBoxLayout;
    auto* clockBox = new QGroupBox("Observatory Clock", central);
    auto* cg = new QGridLayout(clockBox);
    DateTxt = new QLabel(clockBox);
    DateTxt->setObjectName("DateTxt");
    cg->addWidget(DateTxt, 0, 0, 1, 4);
    LTTxt = Display(clockBox, "LTTxt", 8, glyphs);
    UTClock = Display(clockBox, "UTClock", 8, glyphs);
    LSTClock = Display(clockBox, "LSTClock", 8, glyphs);
    JDTxt = Display(clockBox, "JDTxt", 14, glyphs);
    cg->addWidget(Caption(clockBox, "Local"), 1, 0);
    cg->addWidget(LTTxt, 1, 1);
    cg->addWidget(Caption(clockBox, "UT"), 1, 2);
    cg->addWidget(UTClock, 1, 3);
    cg->addWidget(Caption(clockBox, "LST"), 2, 0);
    cg->addWidget(LSTClock, 2, 1);
    cg->addWidget(Caption(clockBox, "JD"), 3, 0);
    cg->addWidget(JDTxt, 3, 1, 1, 3);
    right->addWidget(clockBox);

    auto* posBox = new QGroupBox("Telescope Position (J2000.0)", central);
    auto* pg = new QGridLayout(posBox);
    RAClock = Display(posBox, "RAClock", 8, glyphs);
    RADSecs = Display(posBox, "RADSecs", 2, glyphs);
    SignChr = new QLabel(posBox);
    SignChr->setObjectName("SignChr");
    SignChr->setFixedWidth(18);
    SignChr->setAlignment(Qt::AlignCenter);
    SignChr->setStyleSheet("color: #ff3020; background: black; font-weight: bold; font-size: 16px;");
    DecDrgs = Display(posBox, "DecDrgs", 2, glyphs);
    DecMnScs = Display(posBox, "DecMnScs", 5, glyphs);
    pg->addWidget(Caption(posBox, "RA"), 0, 0);
    auto* raRow = new QHBoxLayout;
    raRow->addWidget(RAClock);
    raRow->addWidget(RADSecs);
    raRow->addStretch();
    pg->addLayout(raRow, 0, 1);
    pg->addWidget(Caption(posBox, "Dec"), 1, 0);
    auto* decRow = new QHBoxLayout;
    decRow->addWidget(SignChr);
    decRow->addWidget(DecDrgs);
    decRow->addWidget(DecMnScs);
    decRow->addStretch();
    pg->addLayout(decRow, 1, 1);
    right->addWidget(posBox);

    auto* ctl = new QGroupBox("Mount", central);
    auto* mg = new QGridLayout(ctl);
    DriveBtn = new ui::ToggleSwitch(ctl);
    DriveBtn->setObjectName("DriveBtn");
    DriveBtn->setText("Tracking");
    DriveBtn->setLampVisible(false);  // DrvOnLed is the drive lamp
    DrvOnLed = Lamp(ctl, "DrvOnLed", ui::IndicatorLamp::Green());
    mg->addWidget(DriveBtn, 0, 0, 2, 1);
    mg->addWidget(DrvOnLed, 0, 1);

    auto* pad = new QGridLayout;
    NBtn = new SlewButton("N", ctl);
    SBtn = new SlewButton("S", ctl);
    EBtn = new SlewButton("E", ctl);
    WBtn = new SlewButton("W", ctl);
    NBtn->setObjectName("NBtn");
    SBtn->setObjectName("SBtn");
    EBtn->setObjectName("EBtn");
    WBtn->setObjectName("WBtn");
    for (auto* b : {NBtn, SBtn, EBtn, WBtn}) b->setFixedSize(34, 30);
    NLed = Lamp(ctl, "NLed", ui::IndicatorLamp::Amber());
    SLed = Lamp(ctl, "SLed", ui::IndicatorLamp::Amber());
    ELed = Lamp(ctl, "ELed", ui::IndicatorLamp::Amber());
    WLed = Lamp(ctl, "WLed", ui::IndicatorLamp::Amber());
    // East is to the left on the sky as the views show it.
    pad->addWidget(NLed, 0, 2);
    pad->addWidget(NBtn, 1, 2);
    pad->addWidget(ELed, 2, 0);
    pad->addWidget(EBtn, 2, 1);
    pad->addWidget(WBtn, 2, 3);
    pad->addWidget(WLed, 2, 4);
    pad->addWidget(SBtn, 3, 2);
    pad->addWidget(SLed, 4, 2);
    mg->addLayout(pad, 0, 2, 3, 1);

    RateSlider = new ui::MultiPositionSwitch({"1", "2", "4", "8", "16"}, ctl);
    RateSlider->setObjectName("RateSlider");
    ViewSlider = new ui::MultiPositionSwitch({"Telescope", "Finder"}, ctl);
    ViewSlider->setObjectName("ViewSlider");
    ViewSlider->setSweep(90);
    InstSlider = new ui::MultiPositionSwitch({"CCD Camera", "Photometer", "Spectrometer"}, ctl);
    InstSlider->setObjectName("InstSlider");
    InstSlider->setSweep(180);
    RdngBtn = new QPushButton("Access", ctl);
    RdngBtn->setObjectName("RdngBtn");
    mg->addWidget(Caption(ctl, "Slew Rate"), 3, 0);
    mg->addWidget(RateSlider, 4, 0);
    mg->addWidget(Caption(ctl, "View"), 3, 1);
    mg->addWidget(ViewSlider, 4, 1);
    mg->addWidget(Caption(ctl, "Instrument"), 3, 2);
    mg->addWidget(InstSlider, 4, 2);
    mg->addWidget(RdngBtn, 5, 2);
    right->addWidget(ctl);
    right->addStretch();
    top->addLayout(right);

    auto* file = menuBar()->addMenu("&File");
    Exit1 = file->addAction("E&xit Telescope");
    Exit1->setObjectName("Exit1");
    connect(Exit1, &QAction::triggered, this, [this] { close(); });
    SlewMenu = menuBar()->addMenu("&Slew");
    SlewMenu->setObjectName("Slew1");
    SetCoordinates1 = SlewMenu->addAction("Set &Coordinates...");
    SetCoordinates1->setObjectName("SetCoordinates1");
    connect(SetCoordinates1, &QAction::triggered, this, &TObsrvtry::SetCoordinates1Click);

    connect(DriveBtn, &ui::ToggleSwitch::clicked, this, [this](bool on) {
        mount_->SetDrive(on);
        SyncControls();
    });
    connect(RateSlider, &ui::MultiPositionSwitch::activated, this, [this](int i) {
        mount_->SetRate(i);
        SyncControls();
    });
    connect(ViewSlider, &ui::MultiPositionSwitch::activated, this, [this](int i) {
        mount_->SetTelescopeView(i == 0);
        SyncControls();
        UpdateViewLabel();
        ForgetMarkedObject();
        RefreshView();
    });
    auto bind = [this](SlewButton* b, Direction d) {
        connect(b, &SlewButton::slewPressed, this, [this, d] {
            mount_->PressDirection(d);
            SyncControls();
            SyncTimers();
        });
        connect(b, &SlewButton::slewReleased, this, [this] {
            mount_->ReleaseDirection();
            SyncControls();
            SyncTimers();
        });
    };
    bind(NBtn, Direction::North);
    bind(SBtn, Direction::South);
    bind(EBtn, Direction::East);
    bind(WBtn, Direction::West);

    BuildListMenus();
    BuildFieldView();
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    installEventFilter(this);
    SyncControls();
}

void TObsrvtry::TakeTelescope(int index) {
    mount_->TakeTelescope(index);
    if (index >= 0 && index < 3) ScopeLbl->setText(ToQString(opts_.telescopes[static_cast<std::size_t>(index)].name));
}

void TObsrvtry::ResetTelescope() {
    mount_->Reset();
    SyncControls();
    SyncTimers();
    ShowPosition();
}

void TObsrvtry::FirstPaint() {
    if (firstPaintDone_) return;
    firstPaintDone_ = true;
    ResetTelescope();
    mount_->ClockTick();
    ShowClock();
    clocktimer_.start();
}

void TObsrvtry::ShowWindow() {
    show();
    raise();
    activateWindow();
}

void TObsrvtry::HideWindow() {
    mount_->ReleaseDirection();
    hide();
}

void TObsrvtry::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    UpdateListMenus();
    if (links_.logComponent && mount_->telescope() >= 0)
        links_.logComponent(opts_.telescopes[static_cast<std::size_t>(mount_->telescope())].name);
    FirstPaint();
    if (!mount_->tracking()) DriveBtn->setFocus();
}

void TObsrvtry::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        mount_->Activated();
        if (links_.activated) links_.activated();
    }
}

void TObsrvtry::closeEvent(QCloseEvent* event) {
    ConfirmHotListSaved();
    if (links_.closeConfirmed && links_.closeConfirmed()) {
        event->accept();
        return;
    }
    event->ignore();
    HideWindow();
    if (links_.hidden) links_.hidden();
}

bool TObsrvtry::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CRT1 && CrtEvent(event)) return true;
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat()) return false;
        bool keypad = key->modifiers() & Qt::KeypadModifier;
        int code = key->key();
        if (code < 0 || code > 0x7F) return QMainWindow::eventFilter(watched, event);
        if (event->type() == QEvent::KeyPress) {
            if (mount_->KeyPress(code, keypad)) {
                SlewButton* b = mount_->controls().nLit ? NBtn
                                : mount_->controls().sLit ? SBtn
                                : mount_->controls().eLit ? EBtn
                                                          : WBtn;
                b->setFocus();
                SyncControls();
                SyncTimers();
                return true;
            }
        } else if (mount_->KeyRelease(code, keypad)) {
            SyncControls();
            SyncTimers();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TObsrvtry::clocktimerTimer() {
    mount_->ClockTick();
    ShowClock();
    ShowPosition();
    SyncControls();
}

void TObsrvtry::SlewTimerTimer() {
    mount_->SlewTimerTick();
    ShowPosition();
    SyncControls();
    SyncTimers();
}

void TObsrvtry::SlewTimer2Timer() {
    mount_->SlewTimer2Tick();
    ShowPosition();
    SyncControls();
    SyncTimers();
}

void TObsrvtry::SetCoordinates1Click() {
    SkyCoordsDialogModel model;
    bool show = mount_->BeginSetCoordinates(model);
    SyncTimers();
    SyncControls();
    if (!show) return;
    if (RunSkyCoordsDialog(this, model, [this](const SkyCoordsDialogModel& m) { return mount_->AcceptCoordinates(m); })) {
        mount_->StartProgrammedSlew();
        SyncControls();
        SyncTimers();
        ShowPosition();
    }
}

void TObsrvtry::PointingChanged() {
    ShowPosition();
    RefreshView();
}

void TObsrvtry::Repaint() { RefreshView(); }

void TObsrvtry::ShowPosition() {
    PositionTexts t = mount_->positionTexts();
    RAClock->setText(ToQString(t.raClock));
    RADSecs->setText(ToQString("." + t.raTenths));
    SignChr->setText(ToQString(t.sign));
    DecDrgs->setText(ToQString(t.decDegrees));
    DecMnScs->setText(ToQString(t.decMinSec));
}

void TObsrvtry::ShowClock() {
    const ClockTexts& c = mount_->clockTexts();
    DateTxt->setText(ToQString(c.date));
    LTTxt->setText(ToQString(c.localTime));
    JDTxt->setText(ToQString(c.julianDate));
    LSTClock->setText(ToQString(c.sidereal));
    UTClock->setText(ToQString(c.universal));
}

void TObsrvtry::SyncControls() {
    const MountControls& c = mount_->controls();
    NBtn->setEnabled(c.nEnabled);
    SBtn->setEnabled(c.sEnabled);
    EBtn->setEnabled(c.eEnabled);
    WBtn->setEnabled(c.wEnabled);
    NBtn->setText(ToQString(c.nCaption));
    SBtn->setText(ToQString(c.sCaption));
    NLed->setLit(c.nLit);
    SLed->setLit(c.sLit);
    ELed->setLit(c.eLit);
    WLed->setLit(c.wLit);
    DrvOnLed->setLit(c.driveLit);
    DriveBtn->setOn(mount_->tracking());
    RateSlider->setEnabled(c.rateEnabled);
    RateSlider->setValue(c.rateIndex);
    SlewMenu->setEnabled(c.slewMenuEnabled);
    ViewSlider->setEnabled(c.viewEnabled);
    ViewSlider->setValue(c.viewPosition);
    InstSlider->setEnabled(c.instrumentEnabled);
    InstSlider->setValue(c.instrumentPosition);
    RdngBtn->setEnabled(c.readingEnabled);
}

void TObsrvtry::SyncTimers() {
    if (mount_->slewTimerActive() != SlewTimer_.isActive()) {
        if (mount_->slewTimerActive())
            SlewTimer_.start();
        else
            SlewTimer_.stop();
    }
    if (mount_->slewTimer2Active() != SlewTimer2_.isActive()) {
        if (mount_->slewTimer2Active())
            SlewTimer2_.start();
        else
            SlewTimer2_.stop();
    }
}

bool RunSkyCoordsDialog(QWidget* parent, SkyCoordsDialogModel& model,
                        const std::function<bool(const SkyCoordsDialogModel&)>& accept) {
    QDialog dlg(parent);
    dlg.setObjectName("SkyCoordsDlg");
    dlg.setWindowTitle(" Enter Sky Coordinates for Slew");
    auto* grid = new QGridLayout(&dlg);
    auto edit = [&](const char* name, const std::string& text) {
        auto* e = new QLineEdit(ToQString(text), &dlg);
        e->setObjectName(name);
        e->setMaximumWidth(70);
        return e;
    };
    QLineEdit* RAHr = edit("RAHr", model.raHr);
    QLineEdit* RAMin = edit("RAMin", model.raMin);
    QLineEdit* RASec = edit("RASec", model.raSec);
    QLineEdit* DecDeg = edit("DecDeg", model.decDeg);
    QLineEdit* DecMin = edit("DecMin", model.decMin);
    QLineEdit* DecSec = edit("DecSec", model.decSec);
    grid->addWidget(new QLabel("Right Ascension", &dlg), 0, 0);
    grid->addWidget(RAHr, 0, 1);
    grid->addWidget(new QLabel("h", &dlg), 0, 2);
    grid->addWidget(RAMin, 0, 3);
    grid->addWidget(new QLabel("m", &dlg), 0, 4);
    grid->addWidget(RASec, 0, 5);
    grid->addWidget(new QLabel("s", &dlg), 0, 6);
    grid->addWidget(new QLabel("Declination", &dlg), 1, 0);
    grid->addWidget(DecDeg, 1, 1);
    grid->addWidget(new QLabel(QString::fromLatin1("\xB0"), &dlg), 1, 2);
    grid->addWidget(DecMin, 1, 3);
    grid->addWidget(new QLabel("'", &dlg), 1, 4);
    grid->addWidget(DecSec, 1, 5);
    grid->addWidget(new QLabel("\"", &dlg), 1, 6);
    auto* EpochGrp = new QGroupBox("Epoch of Input Coordinates", &dlg);
    EpochGrp->setObjectName("EpochGrp");
    auto* el = new QHBoxLayout(EpochGrp);
    auto* j2000 = new QRadioButton("J2000.0", EpochGrp);
    auto* b1950 = new QRadioButton("B1950.0", EpochGrp);
    j2000->setObjectName("J2000Btn");
    b1950->setObjectName("B1950Btn");
    el->addWidget(j2000);
    el->addWidget(b1950);
    (model.epoch == InputEpoch::B1950 ? b1950 : j2000)->setChecked(true);
    EpochGrp->setEnabled(model.epochEnabled);
    grid->addWidget(EpochGrp, 2, 0, 1, 7);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("CancelBtn");
    grid->addWidget(buttons, 3, 0, 1, 7);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, [&] {
        model.raHr = ui::ToLatin1(RAHr->text());
        model.raMin = ui::ToLatin1(RAMin->text());
        model.raSec = ui::ToLatin1(RASec->text());
        model.decDeg = ui::ToLatin1(DecDeg->text());
        model.decMin = ui::ToLatin1(DecMin->text());
        model.decSec = ui::ToLatin1(DecSec->text());
        model.epoch = b1950->isChecked() ? InputEpoch::B1950 : InputEpoch::J2000;
        if (accept(model)) dlg.accept();
    });
    return dlg.exec() == QDialog::Accepted;
}

}  // namespace qnr::observatory
