#include "photometry/win/Photomtr.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/Options.h"
#include "help/Helplst.h"
#include "help/win/HelpLstDlg.h"
#include "help/win/HelpWin.h"
#include "photometry/win/PhotDlg1.h"
#include "ui/Latin1.h"
#include "ui/panel/DigitGlyphs.h"
#include "ui/panel/MultiPositionSwitch.h"
#include "ui/panel/SevenSegmentDisplay.h"

namespace qnr::photometry {

using ui::ToQString;

namespace {

QGroupBox* Group(QWidget* parent, const char* name, const QString& title) {
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(QLatin1String(name));
    return g;
}

QLineEdit* Readout(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setAlignment(Qt::AlignRight);
    e->setFont(QFont(QStringLiteral("Monospace")));
    e->setMinimumWidth(110);
    return e;
}

ui::MultiPositionSwitch* Switch(QWidget* parent, const char* name, const QStringList& labels) {
    auto* s = new ui::MultiPositionSwitch(labels, parent);
    s->setObjectName(QLatin1String(name));
    return s;
}

}  // namespace

TPhotometer::TPhotometer(platform::Services& services, const app::OptsRec& opts, observatory::TelescopeHandOff& handOff,
                         PhotometerLinks links, QWidget* parent)
    : QMainWindow(parent), services_(services), opts_(opts), handOff_(handOff),
      core_(services, opts, handOff, std::move(links)) {
    setObjectName(QStringLiteral("TPhotometer"));
    setWindowTitle(QStringLiteral("Toval Photometer Control"));

    QMenuBar* bar = menuBar();
    File1 = bar->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    Data1 = File1->addMenu(QStringLiteral("&Data"));
    Data1->setObjectName(QStringLiteral("Data1"));
    Record1 = Data1->addAction(QStringLiteral("&Record/Review"));
    Record1->setObjectName(QStringLiteral("Record1"));
    File1->addSeparator();
    ExitPhotometer1 = File1->addAction(QStringLiteral("E&xit Photometer"));
    ExitPhotometer1->setObjectName(QStringLiteral("ExitPhotometer1"));
    Aperture1 = bar->addAction(QStringLiteral("&Aperture"));
    Aperture1->setObjectName(QStringLiteral("Aperture1"));
    Help1 = bar->addAction(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    connect(Record1, &QAction::triggered, this, &TPhotometer::Record1Click);
    connect(ExitPhotometer1, &QAction::triggered, this, &QWidget::close);
    connect(Aperture1, &QAction::triggered, this, &TPhotometer::Aperture1Click);
    connect(Help1, &QAction::triggered, this, [this] {
        if (helpChooser_ && helpViewer_)
            help::ShowHelpTopics(helpList_.get(), opts_.programFolder, *helpChooser_, *helpViewer_);
    });

    auto* central = new QWidget(this);
    auto* top = new QVBoxLayout(central);

    IDText = new QLabel(central);
    IDText->setObjectName(QStringLiteral("IDText"));
    IDText->setAlignment(Qt::AlignCenter);
    QFont idFont = IDText->font();
    idFont.setBold(true);
    idFont.setPointSize(idFont.pointSize() + 2);
    IDText->setFont(idFont);
    top->addWidget(IDText);

    // The switches and the buttons.
    auto* switches = new QHBoxLayout;
    FltrGrp = Group(central, "FltrGrp", QStringLiteral("Filter"));
    FltrSlider = Switch(FltrGrp, "FltrSlider", {QStringLiteral("U"), QStringLiteral("B"), QStringLiteral("V")});
    (new QVBoxLayout(FltrGrp))->addWidget(FltrSlider);
    QGroupBox* secsGrp = Group(central, "SecsGrp", QStringLiteral("Integration Seconds"));
    SecsSlider = Switch(secsGrp, "SecsSlider",
                        {QStringLiteral("0.1"), QStringLiteral("1.0"), QStringLiteral("10.0"), QStringLiteral("100.0")});
    (new QVBoxLayout(secsGrp))->addWidget(SecsSlider);
    QGroupBox* integGrp = Group(central, "IntegGrp", QStringLiteral("# of Integrations"));
    IntegSlider = Switch(integGrp, "IntegSlider",
                         {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                          QStringLiteral("5")});
    (new QVBoxLayout(integGrp))->addWidget(IntegSlider);
    RdngGrp = Group(central, "RdngGrp", QStringLiteral("Reading"));
    RdngSlider = Switch(RdngGrp, "RdngSlider", {QStringLiteral("Object"), QStringLiteral("Sky")});
    (new QVBoxLayout(RdngGrp))->addWidget(RdngSlider);
    for (QGroupBox* g : {FltrGrp, secsGrp, integGrp, RdngGrp}) switches->addWidget(g);
    top->addLayout(switches);

    auto* buttons = new QHBoxLayout;
    StrtBtn = new QPushButton(QStringLiteral("&Start"), central);
    StrtBtn->setObjectName(QStringLiteral("StrtBtn"));
    StrtBtn->setDefault(true);
    StpBtn = new QPushButton(QStringLiteral("S&top"), central);
    StpBtn->setObjectName(QStringLiteral("StpBtn"));
    StpBtn->setShortcut(QKeySequence(Qt::Key_Escape));
    StpBtn->setEnabled(false);
    DigitPnl = new QWidget(central);
    DigitPnl->setObjectName(QStringLiteral("DigitPnl"));
    DigitPnl->setStyleSheet(QStringLiteral("background: black;"));
    DigitImg = new ui::SevenSegmentDisplay(10, DigitPnl);
    DigitImg->setObjectName(QStringLiteral("DigitImg"));
    DigitImg->setGlyphs(ui::DigitGlyphs::Load(*services_.files, opts_.programFolder));
    (new QHBoxLayout(DigitPnl))->addWidget(DigitImg);
    buttons->addWidget(StrtBtn);
    buttons->addWidget(StpBtn);
    buttons->addStretch();
    buttons->addWidget(DigitPnl);
    top->addLayout(buttons);

    // The readings.
    auto* readings = new QHBoxLayout;
    auto* grid = new QGridLayout;
    int row = 0;
    auto add = [&](const char* label, QWidget* w) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), central), row, 0);
        grid->addWidget(w, row++, 1);
    };
    add("Elapsed Seconds", ElpsdEd = Readout(central, "ElpsdEd"));
    add("Completed Integrations", CmpltEd = Readout(central, "CmpltEd"));
    add("Mean Counts/Sec", MeanEd = Readout(central, "MeanEd"));
    add("Mean Sky Counts/Sec", SkyEd = Readout(central, "SkyEd"));
    add("S/N Ratio", SNEd = Readout(central, "SNEd"));
    add("Magnitude", MagEd = Readout(central, "MagEd"));
    YMDLbl = new QLabel(central);
    YMDLbl->setObjectName(QStringLiteral("YMDLbl"));
    JDLbl = new QLabel(central);
    JDLbl->setObjectName(QStringLiteral("JDLbl"));
    grid->addWidget(YMDLbl, row, 0);
    grid->addWidget(JDLbl, row++, 1);
    readings->addLayout(grid);
    QGroupBox* rawGrp = Group(central, "RawGrp", QStringLiteral("Raw Counts"));
    RawList = new QListWidget(rawGrp);
    RawList->setObjectName(QStringLiteral("RawList"));
    RawList->setFont(QFont(QStringLiteral("Monospace")));
    RawList->setFocusPolicy(Qt::NoFocus);
    RawList->setMaximumWidth(130);
    (new QVBoxLayout(rawGrp))->addWidget(RawList);
    readings->addWidget(rawGrp);
    top->addLayout(readings);
    setCentralWidget(central);

    PhotoTimer = new QTimer(this);
    PhotoTimer->setObjectName(QStringLiteral("PhotoTimer"));
    connect(PhotoTimer, &QTimer::timeout, this, &TPhotometer::PhotoTimerTimer);
    connect(StrtBtn, &QPushButton::clicked, this, &TPhotometer::StrtBtnClick);
    connect(StpBtn, &QPushButton::clicked, this, &TPhotometer::StpBtnClick);
    connect(FltrSlider, &ui::MultiPositionSwitch::activated, this, [this](int v) {
        core_.SelectFilter(v);
        Sync();
    });
    connect(SecsSlider, &ui::MultiPositionSwitch::activated, this, [this](int v) {
        core_.SelectIntegrationTime(v);
        Sync();
    });
    connect(IntegSlider, &ui::MultiPositionSwitch::activated, this, [this](int v) {
        core_.SelectIntegrations(v);
        Sync();
    });
    connect(RdngSlider, &ui::MultiPositionSwitch::activated, this, [this](int v) {
        ++busy_;
        core_.MoveReadingSwitch(v == 1);
        --busy_;
        Sync();
    });

    apertureForm_ = new TPhotomApForm1(handOff_, this);

    // 30 pixels from the right and bottom edges of the screen.
    adjustSize();
    if (QScreen* s = screen()) {
        const QRect r = s->availableGeometry();
        move(std::max(r.left(), r.right() - 30 - frameGeometry().width()),
             std::max(r.top(), r.bottom() - 30 - frameGeometry().height()));
    }
}

TPhotometer::~TPhotometer() = default;

void TPhotometer::SetSharedDialogs(help::THelpLstDlg* chooser, help::THelpWin* viewer) {
    helpChooser_ = chooser;
    helpViewer_ = viewer;
}

void TPhotometer::OpenFor() {
    show();
    raise();
    activateWindow();
    // The platform may not report the activation (or not at once): the
    // opening activates the photometer itself.
    ++busy_;
    core_.Activate();
    --busy_;
    Sync();
}

void TPhotometer::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!formShown_) FormShow();
}

void TPhotometer::FormShow() {
    formShown_ = true;
    LoadHelpList();
    core_.Show();
    const int highest = core_.display().highestFilter;
    QStringList labels{QStringLiteral("U"), QStringLiteral("B"), QStringLiteral("V")};
    if (highest == 4) labels << QStringLiteral("R") << QStringLiteral("I");
    FltrSlider->setLabels(labels);
    FltrSlider->setValue(core_.filter());
    SecsSlider->setValue(core_.integrationIndex());
    IntegSlider->setValue(core_.integrations() - 1);
    Sync();
}

void TPhotometer::LoadHelpList() {
    // Read once per name: a missing list is reported once, not at every show.
    const std::string path = opts_.photometerHelpList.empty() ? "" : opts_.programFolder + opts_.photometerHelpList;
    if (path != helpListPath_) {
        helpListPath_ = path;
        helpList_ = path.empty() ? nullptr : help::LoadHelpList(path, services_);
    }
}

void TPhotometer::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible() && formShown_ && busy_ == 0 &&
        !core_.integrating()) {
        core_.Activate();
        Sync();
    }
}

void TPhotometer::Sync() {
    const PhotometerDisplay& d = core_.display();
    IDText->setText(ToQString(d.idText));
    ElpsdEd->setText(ToQString(d.elapsed));
    CmpltEd->setText(ToQString(d.completed));
    if (RawList->count() != static_cast<int>(d.rawLines.size())) {
        RawList->clear();
        for (const std::string& line : d.rawLines) RawList->addItem(ToQString(line));
    }
    MeanEd->setText(ToQString(d.mean));
    SkyEd->setText(ToQString(d.sky));
    SNEd->setText(ToQString(d.snr));
    MagEd->setText(ToQString(d.magnitude));
    MagEd->setEnabled(opts_.computeMagnitudes);
    YMDLbl->setText(ToQString(d.ymd));
    JDLbl->setText(ToQString(d.jd));
    DigitImg->setText(ToQString(d.counter));
    RdngSlider->setValue(core_.switchAtSky() ? 1 : 0);
    FltrSlider->setValue(core_.filter());

    const bool idle = !d.integrating;
    StrtBtn->setEnabled(idle);
    StpBtn->setEnabled(!idle);
    ExitPhotometer1->setEnabled(idle);
    FltrSlider->setEnabled(idle);
    SecsSlider->setEnabled(idle);
    IntegSlider->setEnabled(idle);
    Record1->setEnabled(idle && d.recordEnabled);
    Help1->setEnabled(d.helpEnabled && helpList_ != nullptr);

    if (d.integrating) {
        if (!PhotoTimer->isActive()) PhotoTimer->start(core_.timerIntervalMs());
    } else if (PhotoTimer->isActive()) {
        PhotoTimer->stop();
    }
}

void TPhotometer::StrtBtnClick() {
    ++busy_;
    core_.Start();
    --busy_;
    if (core_.TakeCloseRequest()) {
        HideAndRelease();
        return;
    }
    Sync();
}

void TPhotometer::StpBtnClick() {
    core_.Stop();
    Sync();
}

void TPhotometer::PhotoTimerTimer() {
    ++busy_;
    core_.Tick();
    --busy_;
    Sync();
}

void TPhotometer::Record1Click() {
    ++busy_;
    core_.Record();
    --busy_;
    Sync();
}

void TPhotometer::Aperture1Click() {
    if (core_.integrating()) return;
    ++busy_;
    apertureForm_->Run();
    --busy_;
    core_.ApertureChanged();
    Sync();
}

void TPhotometer::closeEvent(QCloseEvent* event) {
    ++busy_;
    const bool ok = core_.CloseQuery();
    --busy_;
    event->ignore();
    if (ok) HideAndRelease();
    else Sync();
}

void TPhotometer::HideAndRelease() {
    PhotoTimer->stop();
    hide();
    formShown_ = false;
    core_.Closed();
    Sync();
}

}  // namespace qnr::photometry
