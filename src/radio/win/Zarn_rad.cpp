#include "radio/win/Zarn_rad.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "help/Helplst.h"
#include "help/win/HelpLstDlg.h"
#include "help/win/HelpWin.h"
#include "observatory/win/HotListForm.h"
#include "observatory/win/ObsLab.h"
#include "radio/win/AitoffMap.h"
#include "ui/Latin1.h"
#include "ui/panel/DigitGlyphs.h"
#include "ui/panel/SevenSegmentDisplay.h"
#include "ui/panel/ToggleSwitch.h"

namespace qnr::radio {

using ui::ToQString;

namespace {

constexpr const char* AboutVersion = "Version 1.001-32";

ui::SevenSegmentDisplay* Display(QWidget* parent, const char* name, int cells, const ui::DigitGlyphs& glyphs) {
    auto* d = new ui::SevenSegmentDisplay(parent);
    d->setObjectName(name);
    d->setCellCount(cells);
    d->setGlyphs(glyphs);
    return d;
}

QLabel* Caption(QWidget* parent, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setStyleSheet("color: #c8c8c8;");
    return l;
}

QLabel* Readout(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setStyleSheet("color: #e8e8e8;");
    return l;
}

// A light or label: lime on black while its control has the focus.
void FocusColours(QLabel* label, bool focused) {
    label->setStyleSheet(focused ? "color: lime; background: black; padding: 1px 4px;"
                                 : "color: black; background: white; padding: 1px 4px;");
}

}  // namespace

TRadioLab::TRadioLab(platform::Services& services, RadioOptsRec& radio, app::OptsRec& opts, ObsDateTime& clock,
                     RadioWindowLinks links, QWidget* parent)
    : QMainWindow(parent), services_(services), radio_(radio), opts_(opts), links_(std::move(links)) {
    setObjectName("RadioLab");
    setWindowTitle("Radio Telescope Control");
    scope_ = std::make_unique<RadioTelescope>(services_, radio_, opts_, clock,
                                              links_.refreshClock ? links_.refreshClock : [] {}, *this);
    BuildWindow();
    BuildMenus();
    clockTimer_.setObjectName("ClockTimer");
    SlewTimer_.setObjectName("SlewTimer");
    SlewTimer2_.setObjectName("SlewTimer2");
    clockTimer_.setInterval(RadioTelescope::ClockIntervalMs);
    SlewTimer_.setInterval(RadioTelescope::SlewIntervalMs);
    SlewTimer2_.setInterval(RadioTelescope::SlewIntervalMs);
    connect(&clockTimer_, &QTimer::timeout, this, &TRadioLab::clockTimerTimer);
    connect(&SlewTimer_, &QTimer::timeout, this, &TRadioLab::SlewTimerTimer);
    connect(&SlewTimer2_, &QTimer::timeout, this, &TRadioLab::SlewTimer2Timer);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    installEventFilter(this);
    SyncControls();
}

TRadioLab::~TRadioLab() = default;

void TRadioLab::BuildWindow() {
    ui::DigitGlyphs glyphs = ui::DigitGlyphs::Load(*services_.files, opts_.programFolder);
    auto* central = new QWidget(this);
    central->setObjectName("RadioPanel");
    central->setAutoFillBackground(true);
    QPalette pal = central->palette();
    pal.setColor(QPalette::Window, QColor(44, 46, 50));
    pal.setColor(QPalette::WindowText, QColor(200, 200, 200));
    central->setPalette(pal);
    setCentralWidget(central);
    auto* top = new QHBoxLayout(central);

    auto* left = new QVBoxLayout;
    auto* frame = new QFrame(central);
    frame->setObjectName("MapPnl");
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(2);
    auto* fl = new QVBoxLayout(frame);
    fl->setContentsMargins(2, 2, 2, 2);
    MapBox = new AitoffMap(frame);
    fl->addWidget(MapBox);
    left->addWidget(frame);
    auto* siteBox = new QGroupBox("Station", central);
    auto* sl = new QGridLayout(siteBox);
    StatnTxt = Readout(siteBox, "StatnTxt");
    LongTxt = Readout(siteBox, "LongTxt");
    LatTxt = Readout(siteBox, "LatTxt");
    sl->addWidget(StatnTxt, 0, 0, 1, 2);
    sl->addWidget(Caption(siteBox, "Longitude"), 1, 0);
    sl->addWidget(LongTxt, 1, 1);
    sl->addWidget(Caption(siteBox, "Latitude"), 2, 0);
    sl->addWidget(LatTxt, 2, 1);
    left->addWidget(siteBox);
    PlsrTxt = Readout(central, "PlsrTxt");
    left->addWidget(PlsrTxt);
    left->addStretch();
    top->addLayout(left);

    auto* right = new QVBoxLayout;
    auto* clockBox = new QGroupBox("Observatory Clock", central);
    auto* cg = new QGridLayout(clockBox);
    DateTxt = Readout(clockBox, "DateTxt");
    LTTxt = Readout(clockBox, "LTTxt");
    JDTxt = Readout(clockBox, "JDTxt");
    LSTClock = Display(clockBox, "LSTClock", 8, glyphs);
    UTClock = Display(clockBox, "UTClock", 8, glyphs);
    cg->addWidget(DateTxt, 0, 0, 1, 2);
    cg->addWidget(Caption(clockBox, "Local Time"), 1, 0);
    cg->addWidget(LTTxt, 1, 1);
    cg->addWidget(Caption(clockBox, "Julian Date"), 2, 0);
    cg->addWidget(JDTxt, 2, 1);
    cg->addWidget(Caption(clockBox, "LST"), 3, 0);
    cg->addWidget(LSTClock, 3, 1);
    cg->addWidget(Caption(clockBox, "UT"), 4, 0);
    cg->addWidget(UTClock, 4, 1);
    right->addWidget(clockBox);

    auto* posBox = new QGroupBox("Telescope Position (J2000.0)", central);
    auto* pg = new QGridLayout(posBox);
    RAClock = Display(posBox, "RAClock", 10, glyphs);
    DecClock = Display(posBox, "DecClock", 9, glyphs);
    pg->addWidget(Caption(posBox, "RA"), 0, 0);
    pg->addWidget(RAClock, 0, 1);
    pg->addWidget(Caption(posBox, "Dec"), 1, 0);
    pg->addWidget(DecClock, 1, 1);
    right->addWidget(posBox);

    auto* ctl = new QGroupBox("Drive", central);
    auto* mg = new QGridLayout(ctl);
    DriveBtn = new ui::ToggleSwitch(ctl);
    DriveBtn->setObjectName("DriveBtn");
    DriveBtn->setText("Tracking");
    DriveBtn->setLampVisible(false);  // ClockLbl is its light
    ClockLbl = new QLabel("Off", ctl);
    ClockLbl->setObjectName("ClockLbl");
    ClockLbl->setAlignment(Qt::AlignCenter);
    mg->addWidget(DriveBtn, 0, 0, 2, 1);
    mg->addWidget(ClockLbl, 2, 0);

    auto* pad = new QGridLayout;
    NBtn = new observatory::SlewButton("N", ctl);
    SBtn = new observatory::SlewButton("S", ctl);
    EBtn = new observatory::SlewButton("E", ctl);
    WBtn = new observatory::SlewButton("W", ctl);
    NBtn->setObjectName("NBtn");
    SBtn->setObjectName("SBtn");
    EBtn->setObjectName("EBtn");
    WBtn->setObjectName("WBtn");
    for (auto* b : {NBtn, SBtn, EBtn, WBtn}) b->setFixedSize(34, 30);
    // East is to the left on the sky, as on the map.
    pad->addWidget(NBtn, 0, 1);
    pad->addWidget(EBtn, 1, 0);
    pad->addWidget(WBtn, 1, 2);
    pad->addWidget(SBtn, 2, 1);
    mg->addLayout(pad, 0, 1, 3, 1);

    auto* rate = new QHBoxLayout;
    RateDnBtn = new QToolButton(ctl);
    RateDnBtn->setObjectName("RateDnBtn");
    RateDnBtn->setArrowType(Qt::DownArrow);
    RateUpBtn = new QToolButton(ctl);
    RateUpBtn->setObjectName("RateUpBtn");
    RateUpBtn->setArrowType(Qt::UpArrow);
    RateLbl = new QLabel(ctl);
    RateLbl->setObjectName("RateLbl");
    RateLbl->setAlignment(Qt::AlignCenter);
    RateLbl->setMinimumWidth(44);
    RateCaption = Caption(ctl, "Slew Rate");
    RateCaption->setObjectName("RateCaption");
    rate->addWidget(RateCaption);
    rate->addWidget(RateDnBtn);
    rate->addWidget(RateLbl);
    rate->addWidget(RateUpBtn);
    mg->addLayout(rate, 3, 0, 1, 2);
    RcvrBtn = new QPushButton("Receiver", ctl);
    RcvrBtn->setObjectName("RcvrBtn");
    mg->addWidget(RcvrBtn, 4, 0, 1, 2);
    right->addWidget(ctl);
    right->addStretch();
    top->addLayout(right);
    FocusColours(ClockLbl, false);
    FocusColours(RateLbl, false);

    connect(DriveBtn, &ui::ToggleSwitch::clicked, this, [this](bool on) {
        scope_->SetDrive(on);
        SyncControls();
    });
    connect(RateUpBtn, &QToolButton::clicked, this, [this] {
        scope_->RateUp();
        SyncControls();
    });
    connect(RateDnBtn, &QToolButton::clicked, this, [this] {
        scope_->RateDown();
        SyncControls();
    });
    connect(RcvrBtn, &QPushButton::clicked, this, &TRadioLab::RcvrBtnClick);
    auto bind = [this](observatory::SlewButton* b, Direction d) {
        connect(b, &observatory::SlewButton::slewPressed, this, [this, d] {
            scope_->PressDirection(d);
            SyncControls();
            SyncTimers();
        });
        connect(b, &observatory::SlewButton::slewReleased, this, [this] {
            scope_->ReleaseDirection();
            ShowClock();
            SyncControls();
            SyncTimers();
        });
    };
    bind(NBtn, Direction::North);
    bind(SBtn, Direction::South);
    bind(EBtn, Direction::East);
    bind(WBtn, Direction::West);
}

void TRadioLab::BuildMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        QAction* s = menu->addSeparator();
        s->setObjectName(name);
        return s;
    };
    File1 = menuBar()->addMenu("&File");
    File1->menuAction()->setObjectName("File1");
    SaveRecordedData1 = item(File1, "SaveRecordedData1", "&Save Recorded Data...");
    PulsarListSep = separator(File1, "PulsarListSep");
    PulsarList1 = item(File1, "PulsarList1", "Pulsar &List...");
    File1->addSeparator();
    Exit1 = item(File1, "Exit1", "E&xit");

    Slew1 = menuBar()->addMenu("&Slew");
    Slew1->menuAction()->setObjectName("Slew1");
    SetCoordinates1 = item(Slew1, "SetCoordinates1", "Set Coordinates...");
    Slew1->addSeparator();
    ViewSelectfromList1 = item(Slew1, "ViewSelectfromList1", "&View/Select from List...");
    AddCurrentItemtoList1 = item(Slew1, "AddCurrentItemtoList1", "&Add Current Item to List...");
    SaveListSep = separator(Slew1, "SaveListSep");
    SaveUpdatedList1 = item(Slew1, "SaveUpdatedList1", "Save &Updated List...");
    LoadHotList1 = item(Slew1, "LoadHotList1", "&Load Hot List...");

    QMenu* window = menuBar()->addMenu("&Window");
    window->menuAction()->setObjectName("Window1");
    ObservatoryMainControlPanel1 = item(window, "ObservatoryMainControlPanel1", "&Observatory (Main) Control Panel");

    Help1 = menuBar()->addMenu("&Help");
    Help1->menuAction()->setObjectName("Help1");
    OnHelp1 = item(Help1, "OnHelp1", "On &Help");
    OnHelpSep = separator(Help1, "OnHelpSep");
    Topics1 = item(Help1, "Topics1", "&Topics...");
    User1 = item(Help1, "User1", "&User");
    UserSep = separator(Help1, "UserSep");
    AboutThisExercise1 = item(Help1, "AboutThisExercise1", "&About This Exercise...");

    connect(Exit1, &QAction::triggered, this, [this] { close(); });
    connect(SaveRecordedData1, &QAction::triggered, this, [this] {
        if (links_.saveRecordedData) links_.saveRecordedData();
    });
    connect(PulsarList1, &QAction::triggered, this, &TRadioLab::PulsarList1Click);
    connect(SetCoordinates1, &QAction::triggered, this, &TRadioLab::SetCoordinates1Click);
    connect(ViewSelectfromList1, &QAction::triggered, this, &TRadioLab::ViewSelectfromList1Click);
    connect(AddCurrentItemtoList1, &QAction::triggered, this, &TRadioLab::AddCurrentItemtoList1Click);
    connect(SaveUpdatedList1, &QAction::triggered, this, [this] {
        if (auto* form = links_.hotListWindow ? links_.hotListWindow() : nullptr) form->SaveUpdatedList();
    });
    connect(LoadHotList1, &QAction::triggered, this, [this] {
        if (auto* form = links_.hotListWindow ? links_.hotListWindow() : nullptr) form->LoadHotList();
    });
    connect(ObservatoryMainControlPanel1, &QAction::triggered, this, [this] {
        if (links_.focusMain) links_.focusMain();
    });
    connect(OnHelp1, &QAction::triggered, this, [this] {
        if (helpViewer_) help::ShowHelpFile("On Help", opts_.programFolder + radio_.onHelpFile, *helpViewer_);
    });
    connect(User1, &QAction::triggered, this, [this] {
        if (helpViewer_) help::ShowHelpFile("User Help", opts_.programFolder + radio_.userHelpFile, *helpViewer_);
    });
    connect(Topics1, &QAction::triggered, this, [this] {
        if (helpChooser_ && helpViewer_)
            help::ShowHelpTopics(helpList_.get(), opts_.programFolder, *helpChooser_, *helpViewer_);
    });
    connect(AboutThisExercise1, &QAction::triggered, this, [this] {
        if (links_.about) links_.about(AboutVersion);
    });
}

void TRadioLab::SetSharedDialogs(help::THelpLstDlg* chooser, help::THelpWin* viewer) {
    helpChooser_ = chooser;
    helpViewer_ = viewer;
}

bool TRadioLab::ShowWindow() {
    if (!scope_->activated()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool ok = scope_->FirstActivation();
        QApplication::restoreOverrideCursor();
        if (!ok) return false;
        DrawMap();
        AttachmentChanged();
        clockTimer_.start();
    }
    scope_->OptionsChanged();
    const SiteTexts site = scope_->siteTexts();
    StatnTxt->setText(ToQString(site.name));
    LongTxt->setText(ToQString(site.longitude));
    LatTxt->setText(ToQString(site.latitude));
    // The options may have named another help list since the last showing.
    const std::string path = radio_.mainHelpList.empty() ? "" : opts_.programFolder + radio_.mainHelpList;
    if (path != helpListPath_) {
        helpListPath_ = path;
        helpList_ = path.empty() ? nullptr : help::LoadHelpList(path, services_);
    }
    if (radio_.plotPulsars && !plotted_) DrawMap();
    SyncControls();
    ShowClock();
    ShowPosition();
    if (!placed_) {
        placed_ = true;
        adjustSize();
        if (QScreen* screen = QApplication::primaryScreen()) {
            const QRect s = screen->availableGeometry();
            move(s.right() + 1 - frameGeometry().width(), s.bottom() + 1 - frameGeometry().height() - 30);
        }
    }
    show();
    raise();
    activateWindow();
    if (links_.logComponent) links_.logComponent(std::to_string(radio_.aperture) + " Meter Radio Telescope");
    if (!scope_->tracking()) DriveBtn->setFocus();
    return true;
}

void TRadioLab::HideWindow() {
    scope_->ReleaseDirection();
    SyncTimers();
    hide();
}

void TRadioLab::ReSetTime() {
    if (!scope_->activated()) return;
    scope_->ResetTime();
    DrawMap();
    ShowPosition();
}

void TRadioLab::DrawMap() {
    MapBox->Init(scope_->siderealTime());
    plotted_ = false;
    if (radio_.plotPulsars) {
        for (const PulsarRecord& p : scope_->catalog().records()) MapBox->PlotPoint(p.dec, p.ra);
        plotted_ = true;
    }
    MapBox->MarkPosition(scope_->declination(), scope_->rightAscension());
    MapBox->SetCaption(scope_->mapCaption());
}

void TRadioLab::clockTimerTimer() {
    scope_->ClockTick();
    ShowClock();
    ShowPosition();
    SyncControls();
}

void TRadioLab::SlewTimerTimer() {
    scope_->SlewTimerTick();
    SyncControls();
    SyncTimers();
}

void TRadioLab::SlewTimer2Timer() {
    scope_->ProgrammedSlewTick();
    SyncControls();
    SyncTimers();
}

void TRadioLab::PointingChanged() {
    ShowPosition();
    MapBox->MarkPosition(scope_->declination(), scope_->rightAscension());
}

void TRadioLab::CaptionChanged() { MapBox->SetCaption(scope_->mapCaption()); }

void TRadioLab::AttachmentChanged() {
    PlsrTxt->setText(ToQString(scope_->AttachmentText()));
    if (links_.attachmentChanged)
        links_.attachmentChanged(scope_->attachedPulsar() ? &*scope_->attachedPulsar() : nullptr,
                                 scope_->attachedOffset());
}

void TRadioLab::ShowPosition() {
    const RadioPositionTexts t = scope_->positionTexts();
    RAClock->setText(ToQString(t.ra));
    DecClock->setText(ToQString(t.dec));
}

void TRadioLab::ShowClock() {
    const RadioClockTexts& c = scope_->clockTexts();
    DateTxt->setText(ToQString(c.date));
    LTTxt->setText(ToQString(c.localTime));
    JDTxt->setText(ToQString(c.julianDate));
    LSTClock->setText(ToQString(c.sidereal));
    UTClock->setText(ToQString(c.universal));
}

void TRadioLab::SyncControls() {
    const RadioControls& c = scope_->controls();
    NBtn->setEnabled(c.nEnabled);
    SBtn->setEnabled(c.sEnabled);
    EBtn->setEnabled(c.eEnabled);
    WBtn->setEnabled(c.wEnabled);
    NBtn->setText(ToQString(c.nCaption));
    SBtn->setText(ToQString(c.sCaption));
    DriveBtn->setVisible(c.trackingVisible);
    ClockLbl->setVisible(c.trackingVisible);
    EBtn->setVisible(c.trackingVisible);
    WBtn->setVisible(c.trackingVisible);
    DriveBtn->setOn(c.driveOn);
    ClockLbl->setText(c.driveOn ? "On" : "Off");
    for (QWidget* w : std::initializer_list<QWidget*>{RateUpBtn, RateDnBtn, RateLbl, RateCaption})
        w->setEnabled(c.rateEnabled);
    RateLbl->setText(ToQString(c.rateLabel));
    Slew1->setEnabled(c.slewMenuEnabled);
    Slew1->menuAction()->setEnabled(c.slewMenuEnabled);
    RcvrBtn->setEnabled(c.receiverEnabled);
    AddCurrentItemtoList1->setEnabled(c.addItemEnabled);
    PulsarListSep->setVisible(c.pulsarListSeparatorVisible);
    PulsarList1->setVisible(c.pulsarListVisible);
    PulsarList1->setEnabled(c.pulsarListEnabled);
    SaveUpdatedList1->setVisible(c.saveUpdatedListVisible);
    LoadHotList1->setVisible(c.loadHotListVisible);
    SaveListSep->setVisible(c.saveUpdatedListVisible || c.loadHotListVisible);
    SaveRecordedData1->setEnabled(c.saveRecordedDataEnabled);
    OnHelp1->setVisible(c.onHelpVisible);
    OnHelp1->setEnabled(c.onHelpVisible);
    OnHelpSep->setVisible(c.onHelpVisible);
    Topics1->setVisible(c.topicsVisible);
    Topics1->setEnabled(c.topicsVisible && helpList_ != nullptr);
    User1->setVisible(c.userHelpVisible);
    User1->setEnabled(c.userHelpVisible);
    UserSep->setVisible(c.userHelpVisible);
}

void TRadioLab::SyncTimers() {
    auto follow = [](QTimer& timer, bool active) {
        if (active && !timer.isActive()) timer.start();
        if (!active && timer.isActive()) timer.stop();
    };
    follow(SlewTimer_, scope_->slewTimerActive());
    follow(SlewTimer2_, scope_->programmedTimerActive());
}

void TRadioLab::ShowFocusColours() {
    FocusColours(ClockLbl, DriveBtn->hasFocus());
    FocusColours(RateLbl, RateUpBtn->hasFocus() || RateDnBtn->hasFocus());
}

// ---------------------------------------------------------------------------
// Commands

void TRadioLab::SetCoordinates1Click() {
    SkyCoordsDialogModel model;
    const bool show = scope_->BeginSetCoordinates(model);
    SyncTimers();
    SyncControls();
    if (!show) return;
    if (observatory::RunSkyCoordsDialog(this, model,
                                        [this](const SkyCoordsDialogModel& m) { return scope_->AcceptCoordinates(m); })) {
        scope_->StartProgrammedSlew();
        SyncControls();
        SyncTimers();
        ShowPosition();
    }
}

bool TRadioLab::SlewTo(const observatory::ObjctDat& target) {
    SkyCoordsDialogModel model = scope_->HotListTarget(target);
    if (!observatory::RunSkyCoordsDialog(this, model,
                                         [this](const SkyCoordsDialogModel& m) { return scope_->AcceptCoordinates(m); }))
        return false;
    scope_->StartProgrammedSlew();
    SyncControls();
    SyncTimers();
    ShowPosition();
    return true;
}

void TRadioLab::ViewSelectfromList1Click() {
    observatory::THotListForm1* form = links_.hotListWindow ? links_.hotListWindow() : nullptr;
    if (!form) return;
    form->SelectFromList([this](const observatory::ObjctDat& target) { return SlewTo(target); });
}

void TRadioLab::AddCurrentItemtoList1Click() {
    observatory::THotListForm1* form = links_.hotListWindow ? links_.hotListWindow() : nullptr;
    if (!form) return;
    form->AddItemtoList(scope_->CurrentItem(links_.exerciseId ? links_.exerciseId() : std::string("UNKNOWN")));
}

void TRadioLab::RcvrBtnClick() {
    scope_->OpenReceiver();
    if (links_.openReceiver) links_.openReceiver();
    SyncControls();
}

void TRadioLab::PulsarList1Click() {
    scope_->RefreshAttachment(2.0L);
    if (links_.showPulsarList) links_.showPulsarList();
}

void TRadioLab::EnableSaveRecordedData(bool enabled) {
    scope_->SetSaveRecordedData(enabled);
    SyncControls();
}

void TRadioLab::ReceiverClosed() {
    scope_->ReceiverClosed();
    SyncControls();
}

// ---------------------------------------------------------------------------
// Events

void TRadioLab::closeEvent(QCloseEvent* event) {
    if (links_.closeConfirmed && links_.closeConfirmed()) {
        clockTimer_.stop();
        event->accept();
        return;
    }
    event->ignore();
    HideWindow();
    if (links_.hidden) links_.hidden();
}

void TRadioLab::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && links_.activated) links_.activated();
}

bool TRadioLab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) ShowFocusColours();
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat()) return false;
        const bool keypad = key->modifiers() & Qt::KeypadModifier;
        const int code = key->key();
        if (code < 0 || code > 0x7F) return QMainWindow::eventFilter(watched, event);
        if (event->type() == QEvent::KeyPress) {
            if (scope_->KeyPress(code, keypad)) {
                const bool ns = scope_->controls().nEnabled != scope_->controls().sEnabled;
                observatory::SlewButton* b = ns ? (scope_->controls().nEnabled ? NBtn : SBtn)
                                                : (scope_->controls().eEnabled ? EBtn : WBtn);
                b->setFocus();
                SyncControls();
                SyncTimers();
                return true;
            }
        } else if (scope_->KeyRelease(code, keypad)) {
            ShowClock();
            SyncControls();
            SyncTimers();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace qnr::radio
