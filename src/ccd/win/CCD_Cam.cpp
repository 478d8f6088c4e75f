#include "ccd/win/CCD_Cam.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>

#include "app/Login.h"
#include "app/Options.h"
#include "astro/DateTime.h"
#include "astro/StringUt.h"
#include "catalogs/SkyCatalogs.h"
#include "help/Helplst.h"
#include "help/win/HelpLstDlg.h"
#include "help/win/HelpWin.h"
#include "observatory/HandOff.h"
#include "photometry/InfoList.h"
#include "photometry/win/InfoListForm.h"
#include "ui/Latin1.h"
#include "ui/panel/MultiPositionSwitch.h"
#include "ui/panel/SevenSegmentDisplay.h"

namespace qnr::ccd {

namespace {

constexpr int GainOf[3] = {1, 2, 5};

std::optional<Extended> ParseReal(const std::string& text) {
    const auto b = text.find_first_not_of(' ');
    if (b == std::string::npos) return std::nullopt;
    const auto e = text.find_last_not_of(' ');
    const std::string t = text.substr(b, e - b + 1);
    double v = 0;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || p != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

QGroupBox* Group(QWidget* parent, const char* name, const QString& title) {
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(QLatin1String(name));
    return g;
}

}  // namespace

CCDScreen::CCDScreen(QWidget* parent) : QWidget(parent) {
    setMinimumSize(256, 256);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CCDScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (image_ && !image_->isNull()) p.drawImage(rect(), *image_);
    else p.fillRect(rect(), Qt::black);
}

TCCDCam::TCCDCam(observatory::TelescopeHandOff& handOff, platform::Services& services, const app::OptsRec& opts,
                 CameraContext context, QWidget* parent)
    : QMainWindow(parent), handOff_(handOff), services_(services), opts_(opts), context_(std::move(context)),
      fits_(services) {
    setObjectName(QStringLiteral("TCCDCam"));
    setWindowTitle(QStringLiteral("Toval CCD Camera Control"));

    QMenuBar* bar = menuBar();
    auto item = [&](const char* name, const char* text) {
        QAction* a = bar->addAction(QString::fromLatin1(text));
        a->setObjectName(QLatin1String(name));
        return a;
    };
    Image1 = item("Image1", "&Save Image...");
    Information1 = item("Information1", "&Information...");
    Exit1 = item("Exit1", "E&xit CCD Camera");
    Help1 = item("Help1", "&Help");
    Image1->setEnabled(false);
    connect(Image1, &QAction::triggered, this, [this] { Save1Click(); });
    connect(Information1, &QAction::triggered, this, &TCCDCam::Information1Click);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);
    connect(Help1, &QAction::triggered, this, &TCCDCam::Help1Click);

    auto* central = new QWidget(this);
    auto* top = new QHBoxLayout(central);
    auto* controls = new QVBoxLayout;
    top->addLayout(controls);

    QGroupBox* expGrp = Group(central, "ExpGrp", QStringLiteral("Exposure"));
    auto* eg = new QGridLayout(expGrp);
    ExpEd = new QLineEdit(expGrp);
    ExpEd->setObjectName(QStringLiteral("ExpEd"));
    MinSecSw = new ui::MultiPositionSwitch({QStringLiteral("Minutes"), QStringLiteral("Seconds")}, expGrp);
    MinSecSw->setObjectName(QStringLiteral("MinSecSw"));
    MinSecSw->setValue(1);
    ExpClock = new ui::SevenSegmentDisplay(5, expGrp);
    ExpClock->setObjectName(QStringLiteral("ExpClock"));
    GoBtn = new QPushButton(QStringLiteral("&Start"), expGrp);
    GoBtn->setObjectName(QStringLiteral("GoBtn"));
    StopBtn = new QPushButton(QStringLiteral("S&top"), expGrp);
    StopBtn->setObjectName(QStringLiteral("StopBtn"));
    StopBtn->setEnabled(false);
    eg->addWidget(ExpEd, 0, 0);
    eg->addWidget(MinSecSw, 0, 1, 2, 1);
    eg->addWidget(ExpClock, 1, 0);
    eg->addWidget(GoBtn, 2, 0);
    eg->addWidget(StopBtn, 2, 1);
    controls->addWidget(expGrp);

    auto* switches = new QHBoxLayout;
    GainGrp = Group(central, "GainGrp", QStringLiteral("Gain"));
    GainSlider = new ui::MultiPositionSwitch({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("5")}, GainGrp);
    GainSlider->setObjectName(QStringLiteral("GainSlider"));
    GainSlider->setToolTip(QStringLiteral("Electrons/ADU"));
    (new QVBoxLayout(GainGrp))->addWidget(GainSlider);
    FltrGrp = Group(central, "FltrGrp", QStringLiteral("Filter"));
    FltrSlider = new ui::MultiPositionSwitch(FltrGrp);
    FltrSlider->setObjectName(QStringLiteral("FltrSlider"));
    (new QVBoxLayout(FltrGrp))->addWidget(FltrSlider);
    switches->addWidget(GainGrp);
    switches->addWidget(FltrGrp);
    controls->addLayout(switches);

    QGroupBox* sizeGrp = Group(central, "FieldSizeGrp", QStringLiteral("Field Size (Arc Min)"));
    auto* sg = new QGridLayout(sizeGrp);
    WdDsply = new ui::SevenSegmentDisplay(5, sizeGrp);
    WdDsply->setObjectName(QStringLiteral("WdDsply"));
    HtDsply = new ui::SevenSegmentDisplay(5, sizeGrp);
    HtDsply->setObjectName(QStringLiteral("HtDsply"));
    sg->addWidget(new QLabel(QStringLiteral("Width"), sizeGrp), 0, 0);
    sg->addWidget(WdDsply, 0, 1);
    sg->addWidget(new QLabel(QStringLiteral("Height"), sizeGrp), 1, 0);
    sg->addWidget(HtDsply, 1, 1);
    controls->addWidget(sizeGrp);

    StatusBox = Group(central, "StatusBox", QStringLiteral("Camera Status"));
    StatusEd = new QLineEdit(QStringLiteral("Startup"), StatusBox);
    StatusEd->setObjectName(QStringLiteral("StatusEd"));
    StatusEd->setReadOnly(true);
    (new QVBoxLayout(StatusBox))->addWidget(StatusEd);
    controls->addWidget(StatusBox);
    controls->addStretch();

    CRT2 = new CCDScreen(central);
    CRT2->setObjectName(QStringLiteral("CRT2"));
    CRT2->setMinimumSize(512, 512);
    top->addWidget(CRT2, 1);
    setCentralWidget(central);

    ObsTimer = new QTimer(this);
    ObsTimer->setObjectName(QStringLiteral("ObsTimer"));
    ObsTimer->setInterval(1000);
    connect(ObsTimer, &QTimer::timeout, this, &TCCDCam::ObsTimerTimer);
    connect(GoBtn, &QPushButton::clicked, this, &TCCDCam::GoBtnClick);
    connect(StopBtn, &QPushButton::clicked, this, &TCCDCam::StopBtnClick);
    connect(MinSecSw, &ui::MultiPositionSwitch::valueChanged, this, [this] { ShowExposure(); });

    // 30 pixels from the right and bottom edges of the screen.
    adjustSize();
    if (QScreen* s = screen()) {
        const QRect r = s->availableGeometry();
        move(std::max(r.left(), r.right() - 30 - frameGeometry().width()),
             std::max(r.top(), r.bottom() - 30 - frameGeometry().height()));
    }
}

TCCDCam::~TCCDCam() {
    if (formShown_ && !closing_) FormClose();
}

void TCCDCam::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!formShown_) FormShow();
}

void TCCDCam::FormShow() {
    formShown_ = true;
    closing_ = false;
    saved_ = true;
    shown_ = false;
    image_ = std::make_unique<CCDImageObj>(services_, opts_);
    telescope_ = std::clamp(handOff_.Telescope(), 0, 2);
    const ChipSize chip = ChipFieldSize(opts_.camera, opts_.telescopes[static_cast<std::size_t>(telescope_)]);
    WdDsply->setText(ui::ToQString(FixedStr(chip.width, 2)));
    HtDsply->setText(ui::ToQString(FixedStr(chip.height, 2)));
    QStringList labels{QStringLiteral("NF"), QStringLiteral("B"), QStringLiteral("V")};
    if (opts_.includeRI) labels << QStringLiteral("R") << QStringLiteral("I");
    FltrSlider->setLabels(labels);
    if (FltrSlider->value() == 0 && filter_ < labels.size()) FltrSlider->setValue(filter_);
    ShowExposure();
    GainSlider->setValue(gain_ == 5 ? 2 : gain_ - 1);
    Help1->setEnabled(!opts_.cameraHelpList.empty());
    CRT2->setImage(nullptr);
    if (context_.log) context_.log->WriteComponent("CCD Camera");
}

void TCCDCam::ShowExposure() {
    if (MinSecSw->value() == 0) ExpEd->setText(ui::ToQString(FixedStr(exposure_ / 60.0L, 3)));
    else ExpEd->setText(QString::number(exposure_));
}

void TCCDCam::ShowClock(int seconds) {
    seconds = std::max(seconds, 0);
    ExpClock->setText(QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0')));
}

bool TCCDCam::BuildImage(Extended exposure) {
    CameraSettings s;
    s.telescope = telescope_;
    s.gain = gain_;
    s.filter = filter_;
    s.field = &handOff_.Catalogs().instrument;
    s.galaxyLayer = handOff_.GalaxyLayer();
    s.viewFieldArcmin = opts_.instrumentField;
    setCursor(Qt::WaitCursor);
    const bool ok = image_->Build(exposure, startJd_, startDec_, startRa_, s);
    unsetCursor();
    return ok;
}

void TCCDCam::GoBtnClick() {
    StatusEd->setText(QStringLiteral("Initializing Camera"));
    gain_ = GainOf[std::clamp(GainSlider->value(), 0, 2)];
    filter_ = FltrSlider->value();
    while (!saved_) {
        const platform::Answer a = services_.dialogs->ask(
            {"You have not saved the current image!  If you do not save it now, you cannot access it later.\r\n\r\n"
             "Save current image?",
             "Image Not Saved!", platform::Buttons::YesNo, platform::Icon::Warning});
        if (a == platform::Answer::Yes) Save1Click();
        else saved_ = true;
    }
    shown_ = false;
    CRT2->setImage(nullptr);

    // The exposure is checked before the allotment is charged, so a typing
    // slip does not cost an observation.
    const std::optional<Extended> typed = ParseReal(ui::ToLatin1(ExpEd->text()));
    const Extended seconds = typed ? std::nearbyint(MinSecSw->value() == 0 ? *typed * 60 : *typed) : 0;
    if (!typed || !(seconds > 0) || seconds > 1e7L) {
        services_.dialogs->show("Exposure Time must be numeric, > 0!", "Invalid Exposure Time!",
                                platform::Icon::Warning);
        return;
    }
    if (context_.allotment && --*context_.allotment < 0) {
        services_.dialogs->show("You have used your allotment of observations on this telescope!",
                                "CCD Camera Will Close!", platform::Icon::Warning);
        close();
        return;
    }
    exposure_ = static_cast<int>(seconds);
    startRa_ = handOff_.RightAscension();
    startDec_ = handOff_.Declination();
    startJd_ = handOff_.JulianDate();
    ShowClock(exposure_);
    if (!BuildImage(exposure_)) {
        StatusEd->setText(QStringLiteral("Initialization Failed"));
        return;
    }
    Image1->setEnabled(false);
    StatusEd->setText(QStringLiteral("Shutter Open"));
    GoBtn->setEnabled(false);
    StopBtn->setEnabled(true);
    remaining_ = exposure_;
    ObsTimer->start(1000);
}

void TCCDCam::ObsTimerTimer() {
    remaining_ = opts_.testMode ? 0 : remaining_ - 1;
    ShowClock(remaining_);
    if (remaining_ > 0) return;
    ObsTimer->stop();
    StopBtnClick();
    MakeDisplay();
    Image1->setEnabled(true);
    saved_ = false;
}

void TCCDCam::StopBtnClick() {
    ObsTimer->stop();
    StatusEd->setText(QStringLiteral("Shutter Closed"));
    services_.dialogs->beep();
    if (remaining_ > 0 && remaining_ < exposure_) {
        const platform::Answer a = services_.dialogs->ask({"Do you want to retain the current image?",
                                                          "Exposure Stopped Prematurely",
                                                          platform::Buttons::YesNoCancel, platform::Icon::Question});
        if (a == platform::Answer::Cancel) {
            StatusEd->setText(QStringLiteral("Shutter Open"));
            ObsTimer->start(1000);
            return;
        }
        FinishStop(a == platform::Answer::Yes);
    } else if (remaining_ > 0) {
        FinishStop(false);  // stopped before the first second: nothing to keep
    }
    GoBtn->setEnabled(true);
    StopBtn->setEnabled(false);
}

void TCCDCam::FinishStop(bool keep) {
    if (!keep) {
        remaining_ = 0;
        ShowClock(0);
        shown_ = false;
        CRT2->setImage(nullptr);
        GoBtn->setEnabled(true);
        StopBtn->setEnabled(false);
        return;
    }
    Image1->setEnabled(true);
    saved_ = false;
    exposure_ -= remaining_;
    ShowExposure();
    remaining_ = 0;
    ShowClock(0);
    // Rebuilt for the elapsed time at the start's pointing and date, which
    // the header records, even if the telescope has moved since.
    if (BuildImage(exposure_)) {
        MakeDisplay();
        StatusEd->setText(QStringLiteral("Shutter Closed-View/Save Image"));
    } else {
        saved_ = true;
        Image1->setEnabled(false);
        StatusEd->setText(QStringLiteral("Initialization Failed"));
    }
    GoBtn->setEnabled(true);
    StopBtn->setEnabled(false);
}

std::string TCCDCam::DisplayPath() const { return platform::WithTrailingSlash(context_.userFolder) + DisplayFileName; }

void TCCDCam::MakeDisplay() {
    const int w = image_->array.width(), h = image_->array.height();
    const std::vector<std::uint8_t> indexes = image_->DisplayIndexes();
    const std::string path = DisplayPath();
    display_ = QImage();
    if (int code = services_.files->writeFileAtomic(path, BmpBytes(indexes, w, h))) {
        services_.dialogs->show("Unable to Create BMP File!\r\n\r\nFile Name: " + path + "\r\nIOResult = " +
                                    std::to_string(code),
                                BmpErrorCaption, platform::Icon::Error);
        CRT2->setImage(nullptr);
        return;
    }
    display_.load(ui::ToQString(path), "BMP");
    if (display_.isNull() || display_.width() != w || display_.height() != h) {
        // The copy did not read back: show the same indexes directly.
        display_ = QImage(w, h, QImage::Format_Grayscale8);
        const auto greys = DisplayGreys();
        for (int y = 0; y < h; ++y) {
            uchar* line = display_.scanLine(y);
            for (int x = 0; x < w; ++x) line[x] = greys[indexes[static_cast<std::size_t>(y) * w + x]];
        }
    }
    shown_ = true;
    CRT2->setImage(&display_);
}

std::string TCCDCam::DefaultFileName() const {
    const std::string target = context_.targetName ? context_.targetName() : std::string();
    return ObjectName(opts_.showObjectId, target, context_.objectId) + "-01.FIT";
}

bool TCCDCam::Save1Click() {
    if (!image_ || image_->array.width() == 0) return false;
    const app::TelescopeEntry& t = opts_.telescopes[static_cast<std::size_t>(telescope_)];
    FitsHeader h;
    h.width = image_->array.width();
    h.height = image_->array.height();
    h.object = ObjectText(opts_.showObjectId, context_.targetName ? context_.targetName() : std::string(),
                          context_.objectId);
    h.date = StampStr(static_cast<double>(handOff_.JulianDate() - JulianDateOfDayZero), true);
    h.filter = filter_;
    h.ra = startRa_;
    h.dec = startDec_;
    h.observatory = t.siteName;
    h.telescope = t.name;
    h.detector = opts_.camera.name;
    h.observer = ObserverText(context_.observers);
    h.exposure = exposure_;
    h.dateObs = StampStr(static_cast<double>(startJd_ - JulianDateOfDayZero), true);
    h.gain = gain_;
    if (!fits_.Save(image_->array, h, DefaultFileName(), context_.userFolder)) return false;
    saved_ = true;
    StatusEd->setText(QStringLiteral("Image Saved"));
    return true;
}

void TCCDCam::Information1Click() {
    const app::CameraBlock& c = opts_.camera;
    if (!infoList_) {
        infoList_ = std::make_unique<photometry::InfoListReport>(services_, opts_);
        infoForm_ = new photometry::TInfoListForm1(*infoList_, nullptr, this);
        infoForm_->setWindowFlag(Qt::Window);
        if (infoForm_->Search1) infoForm_->Search1->setVisible(false);
        if (infoForm_->SaveasText1) infoForm_->SaveasText1->menuAction()->setVisible(false);
        if (infoForm_->Edit1) infoForm_->Edit1->menuAction()->setVisible(false);
    }
    infoList_->SetTitle("CCD Camera Parameters");
    infoList_->SetCaption("CCD Camera Parameters");
    infoList_->SetLines({
        "Detector: " + c.name,
        "Image Size (pixels): " + std::to_string(c.imageWidth) + " x " + std::to_string(c.imageHeight),
        "Pixel Size (microns): " + FixedStr(c.pixelWidth, 1) + " x " + FixedStr(c.pixelHeight, 1),
        "Read Noise (electrons/pixel): " + FixedStr(c.readNoise, 1),
        "Dark Noise (electrons/pixel/sec): " + FixedStr(c.darkNoise, 1),
        "Bias (electrons/pixel): " + FixedStr(c.bias, 1),
        "AD Depth (bits): " + std::to_string(c.adDepth),
        "Well Depth (electrons): " + std::to_string(c.wellDepth),
        std::string("Cooling: ") + (c.cooling == 1 ? "Liquid Nitrogen" : "Thermoelectric"),
    });
    infoForm_->setWindowTitle(QStringLiteral("CCD Camera Parameters"));
    infoForm_->ShowList();
    infoForm_->show();
}

void TCCDCam::Help1Click() {
    // Read when first asked for; a missing list is said plainly at every ask.
    if (!helpList_) helpList_ = help::LoadWindowHelpList(opts_.programFolder, opts_.cameraHelpList, services_);
    if (!helpList_) return;
    help::THelpLstDlg* chooser = context_.helpChooser;
    help::THelpWin* viewer = context_.helpViewer;
    if (!chooser || !viewer) {
        if (!ownChooser_) ownChooser_ = std::make_unique<help::THelpLstDlg>(services_);
        if (!ownViewer_) ownViewer_ = std::make_unique<help::THelpWin>(services_, nullptr, ownChooser_.get());
        chooser = ownChooser_.get();
        viewer = ownViewer_.get();
    }
    help::ShowHelpTopics(helpList_.get(), opts_.programFolder, *chooser, *viewer, this);
}

bool TCCDCam::FormCloseQuery() {
    if (saved_) return true;
    return services_.dialogs->ask({"You have not saved the current image!  You will lose the image if you close the "
                                   "CCD camera now.\r\n\r\nClose CCD camera anyway?",
                                   "Image Not Saved!", platform::Buttons::YesNo, platform::Icon::Warning}) ==
           platform::Answer::Yes;
}

void TCCDCam::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    emit closed();
}

void TCCDCam::FormClose() {
    closing_ = true;
    formShown_ = false;
    ObsTimer->stop();
    hide();
    handOff_.InstrumentClosed();
    if (shown_ || !display_.isNull()) services_.files->removeFile(DisplayPath());
    CRT2->setImage(nullptr);
    display_ = QImage();
    shown_ = false;
    image_.reset();
    Image1->setEnabled(false);
    GoBtn->setEnabled(true);
    StopBtn->setEnabled(false);
}

TCCDCam* OpenCCDCamera(observatory::TelescopeHandOff& handOff, platform::Services& services,
                       const app::OptsRec& opts, CameraContext context, QWidget* parent) {
    auto* cam = new TCCDCam(handOff, services, opts, std::move(context), parent);
    cam->setAttribute(Qt::WA_DeleteOnClose);
    cam->show();
    return cam;
}

}  // namespace qnr::ccd
