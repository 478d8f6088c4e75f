#include "app/win/Zarn_Obs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <functional>

#include "app/win/ExerciseDlgs.h"
#include "catalogs/win/OrbRptForm.h"
#include "ccd/win/CCD_Cam.h"
#include "help/Helplst.h"
#include "spectroscopy/Nkd_Eye.h"
#include "spectroscopy/win/NkdEyeDataForm.h"
#include "photometry/RsltsList.h"
#include "photometry/win/Photomtr.h"
#include "photometry/win/RsltsListForm.h"
#include "observatory/win/HotListForm.h"
#include "observatory/win/ObsLab.h"
#include "radio/win/Zarn_rad.h"
#include "ui/Latin1.h"
#include "ui/panel/IndicatorLamp.h"
#include "ui/panel/RockerSwitch.h"
#include "ui/panel/ToggleSwitch.h"

namespace qnr::app {

namespace {

// Pictures are a few hundred kilobytes; anything past this is not a picture.
constexpr std::size_t MaxPictureBytes = 64u << 20;
constexpr std::size_t MaxCursorBytes = 64u << 10;

// A fixed-size surface that hands its painting to the window.
class PaintBox final : public QWidget {
public:
    PaintBox(QWidget* parent, std::function<void(QPainter&)> paint) : QWidget(parent), paint_(std::move(paint)) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paint_(painter);
    }

private:
    std::function<void(QPainter&)> paint_;
};

QFrame* Panel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameStyle(QFrame::Panel | QFrame::Raised);
    f->setGeometry(geometry);
    return f;
}

QLabel* PanelLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignCenter);
    l->setGeometry(geometry);
    return l;
}

// The hot spot of the first image of a ".CUR" file (its directory entry keeps
// it where an icon keeps planes and bit count).
QPoint CursorHotSpot(const platform::Bytes& b) {
    if (b.size() < 22 || b[2] != 2 || b[3] != 0) return {0, 0};
    return {b[10] | (b[11] << 8), b[12] | (b[13] << 8)};
}

}  // namespace

TEnvironment1::TEnvironment1(platform::Services& services, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      exercise_(services, *this),
      panel_(services, exercise_.opts(), exercise_.radioOpts(), *this) {
    setObjectName(QStringLiteral("Environment1"));
    setWindowTitle(QStringLiteral("Quenara Exercise"));
    BuildClientArea();
    BuildMenus();
    FormCreate();
    ConnectResultsMenu();
}


void TEnvironment1::BuildClientArea() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);
    // The window takes exactly the client area plus whatever bars it gets,
    // and has no maximise button.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    CrtPnl = new QFrame(client);
    CrtPnl->setObjectName(QStringLiteral("CrtPnl"));
    CrtPnl->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    CrtPnl->setLineWidth(2);
    CrtPnl->setGeometry(8, 8, DisplayWidth + 4, DisplayHeight + 4);

    CRT1 = new PaintBox(CrtPnl, [this](QPainter& p) { CRT1Paint(p); });
    CRT1->setObjectName(QStringLiteral("CRT1"));
    CRT1->installEventFilter(this);
    CRT1->setGeometry(2, 2, DisplayWidth, DisplayHeight);

    // Shown once the exercise runs; the telescope windows write into it.
    IDPnl = new QLabel(client);
    IDPnl->setObjectName(QStringLiteral("IDPnl"));
    IDPnl->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    IDPnl->setAlignment(Qt::AlignCenter);
    IDPnl->setGeometry(8, DisplayHeight + 18, DisplayWidth + 4, 24);
    IDPnl->hide();

    BuildPanels(client);
}

void TEnvironment1::BuildPanels(QWidget* client) {
    // The right-hand column: the dome and the telescope control switches.
    const int x = DisplayWidth + 20;
    const int w = ClientWidth - x - 8;
    DomePnl = Panel(client, "DomePnl", QRect(x, 8, w, 190));
    PanelLabel(DomePnl, "DomeLbl", QStringLiteral("Observatory Dome"), QRect(4, 6, w - 8, 20));
    auto lamp = [](QWidget* parent, const char* name, QColor color, ui::IndicatorLamp::Shape shape, QRect r) {
        auto* l = new ui::IndicatorLamp(color, shape, parent);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(r);
        return l;
    };
    const int cx = w / 2;
    OpenLEDL = lamp(DomePnl, "OpenLEDL", ui::IndicatorLamp::Green(), ui::IndicatorLamp::Shape::ArrowUp,
                    QRect(cx - 50, 40, 18, 18));
    OpenLEDR = lamp(DomePnl, "OpenLEDR", ui::IndicatorLamp::Green(), ui::IndicatorLamp::Shape::ArrowUp,
                    QRect(cx + 32, 40, 18, 18));
    CloseLEDL = lamp(DomePnl, "CloseLEDL", ui::IndicatorLamp::Red(), ui::IndicatorLamp::Shape::ArrowDown,
                     QRect(cx - 50, 104, 18, 18));
    CloseLEDR = lamp(DomePnl, "CloseLEDR", ui::IndicatorLamp::Red(), ui::IndicatorLamp::Shape::ArrowDown,
                     QRect(cx + 32, 104, 18, 18));
    DomeSw1 = new ui::RockerSwitch(DomePnl);
    DomeSw1->setObjectName(QStringLiteral("DomeSw1"));
    DomeSw1->setLabels(QStringLiteral("Open"), QStringLiteral("Close"));
    DomeSw1->setGeometry(cx - 26, 28, 52, 106);
    connect(DomeSw1, &ui::RockerSwitch::upPressed, this, [this] {
        panel_.DomeOpen();
        SyncPanel();
    });
    connect(DomeSw1, &ui::RockerSwitch::downPressed, this, [this] {
        panel_.DomeClose();
        SyncPanel();
    });
    IsOpenLED = lamp(DomePnl, "IsOpenLED", ui::IndicatorLamp::Green(), ui::IndicatorLamp::Shape::Round,
                     QRect(8, 148, 16, 16));
    PanelLabel(DomePnl, "IsOpenLbl", QStringLiteral("Open"), QRect(25, 146, 36, 20));
    IsClosedLED = lamp(DomePnl, "IsClosedLED", ui::IndicatorLamp::Red(), ui::IndicatorLamp::Shape::Round,
                       QRect(w / 2 + 2, 148, 16, 16));
    PanelLabel(DomePnl, "IsClosedLbl", QStringLiteral("Closed"), QRect(w / 2 + 19, 146, w / 2 - 21, 20));
    DomePnl->hide();

    CntrlPnl = Panel(client, "CntrlPnl", QRect(x, 206, w, ClientHeight - 206 - 8));
    PanelLabel(CntrlPnl, "CntrlLbl", QStringLiteral("Telescope Control"), QRect(4, 6, w - 8, 20));
    auto control = [&](const char* label, const char* name, int y) {
        PanelLabel(CntrlPnl, label, QString::fromLatin1(label).left(3) == "Opt" ? QStringLiteral("Optical")
                                                                               : QStringLiteral("Radio"),
                   QRect(8, y, w - 16, 18));
        auto* sw = new ui::ToggleSwitch(CntrlPnl);
        sw->setObjectName(QString::fromLatin1(name));
        sw->setText(QStringLiteral("Off"));
        sw->setGeometry(cx - 32, y + 18, 64, 74);
        return sw;
    };
    OptCntrlSw = control("OptLbl", "OptCntrlSw", 26);
    RadCntrlSw = control("RadLbl", "RadCntrlSw", 122);
    connect(OptCntrlSw, &ui::ToggleSwitch::clicked, this, [this](bool on) {
        OptCntrlSw->setEnabled(false);  // while the change is handled
        panel_.SetOpticalSwitch(on);
        SyncPanel();
    });
    connect(RadCntrlSw, &ui::ToggleSwitch::clicked, this, [this](bool on) {
        RadCntrlSw->setEnabled(false);
        panel_.SetRadioSwitch(on);
        SyncPanel();
    });
    CntrlPnl->hide();

    DomeTimer_.setInterval(ControlPanel::DomeIntervalMs);
    connect(&DomeTimer_, &QTimer::timeout, this, &TEnvironment1::DomeTimerTimer);
    ScopeTimer_.setSingleShot(false);
    connect(&ScopeTimer_, &QTimer::timeout, this, &TEnvironment1::ScopeTimerTimer);
}

QMenu* TEnvironment1::AddMenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* TEnvironment1::AddItem(QMenu* menu, const char* name, const QString& caption, void (Exercise::*command)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (command) connect(action, &QAction::triggered, this, [this, command] { (exercise_.*command)(); });
    return action;
}

void TEnvironment1::BuildMenus() {
    QMenu* file = AddMenu(nullptr, "File1", QStringLiteral("&File"));
    AddItem(file, "Login1", QStringLiteral("&Login..."), &Exercise::Login);
    AddItem(file, "Run1", QStringLiteral("&Run..."), &Exercise::Run);
    QAction* date = AddItem(file, "SetDateTime1", QStringLiteral("Set Observation &Date/Time, ID..."));
    connect(date, &QAction::triggered, this, [this] { exercise_.SetDateTime(); });
    file->addSeparator();
    QMenu* prefs = AddMenu(file, "Preferences1", QStringLiteral("&Preferences"));
    AddItem(prefs, "OptionsandParameters1", QStringLiteral("&Options and Parameters..."), &Exercise::Preferences);
    AddItem(file, "SaveUpdates1", QStringLiteral("&Save Updates"), &Exercise::SaveUpdates);
    file->addSeparator();
    QAction* exit = AddItem(file, "Exit1", QStringLiteral("E&xit Observatory"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* scopes = AddMenu(nullptr, "Telescopes1", QStringLiteral("&Telescopes"));
    QMenu* optical = AddMenu(scopes, "Optical1", QStringLiteral("&Optical"));
    const char* access[3] = {"Access0p4", "Access1p0", "Access4p0"};
    const QString captions[3] = {QStringLiteral("&0.4m Telescope"), QStringLiteral("&1.0m Telescope"),
                                 QStringLiteral("&4.0m Telescope")};
    for (int i = 0; i < 3; ++i) {
        QAction* a = AddItem(optical, access[i], captions[i]);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, i] { Access(i); });
    }
    QMenu* request = AddMenu(scopes, "RequestTime1", QStringLiteral("Request &Time"));
    AddItem(request, "Request1p0", QStringLiteral("&1.0m Telescope"));
    AddItem(request, "Request4p0", QStringLiteral("&4.0m Telescope"));
    QAction* radio = AddItem(scopes, "Radio1", QStringLiteral("&Radio Telescope"));
    radio->setCheckable(true);
    connect(radio, &QAction::triggered, this, [this] { Access(RadioScope); });

    QMenu* tools = AddMenu(nullptr, "Tools1", QStringLiteral("T&ools"));
    AddItem(tools, "ClassifySpectra1", QStringLiteral("&Classify Spectra..."));
    AddItem(tools, "MeasureSpectra1", QStringLiteral("&Measure Spectra..."));
    AddItem(tools, "AnalyzePulsarData1", QStringLiteral("Analyze &Pulsar Data..."));
    tools->addSeparator();
    AddItem(tools, "Spreadsheet1", QStringLiteral("&Spreadsheet..."), &Exercise::Spreadsheet);
    AddItem(tools, "Astrometry1", QStringLiteral("&Astrometry..."), &Exercise::Astrometry);
    tools->addSeparator();
    QMenu* results = AddMenu(tools, "ObservationalResults1", QStringLiteral("Observational &Results"));
    AddItem(results, "DisplayPrintSave1", QStringLiteral("&Display/Print/Save..."));
    AddItem(results, "LoadSavedData1", QStringLiteral("&Load Saved Data..."));
    QMenu* pulsar = AddMenu(tools, "PulsarResults1", QStringLiteral("P&ulsar Results"));
    AddItem(pulsar, "ReviewMeasurements1", QStringLiteral("&Review Measurements..."));
    AddItem(pulsar, "SaveMeasurements1", QStringLiteral("&Save Measurements..."));
    AddItem(pulsar, "ClearMeasurementList1", QStringLiteral("&Clear Measurement List"));
    tools->addSeparator();
    AddItem(tools, "AsteroidList1", QStringLiteral("Asteroid &List..."));
    AddItem(tools, "QSOList1", QStringLiteral("&QSO List..."));
    AddItem(tools, "ClusterData1", QStringLiteral("&Cluster Data..."));

    QMenu* window = AddMenu(nullptr, "Window1", QStringLiteral("&Window"));
    QAction* opticalWin = AddItem(window, "OpticalWin", QStringLiteral("&Optical Telescope"));
    connect(opticalWin, &QAction::triggered, this, [this] {
        if (telescope_) telescope_->ShowWindow();
    });
    QAction* radioWin = AddItem(window, "RadioWin", QStringLiteral("&Radio Telescope"));
    connect(radioWin, &QAction::triggered, this, [this] {
        if (radioWindow_) radioWindow_->ShowWindow();
    });
    AddItem(window, "SpectWin", QStringLiteral("&Spectral Classification"));
    AddItem(window, "MeasWin", QStringLiteral("Spectrum &Measuring"));
    AddItem(window, "PulsarWin", QStringLiteral("&Pulsar Analysis"));
    AddItem(window, "SpRsltsWin", QStringLiteral("Observational &Results"));

    QMenu* help = AddMenu(nullptr, "Help1", QStringLiteral("&Help"));
    AddItem(help, "OnHelp1", QStringLiteral("On &Help"), &Exercise::OnHelp);
    help->addSeparator()->setObjectName(QStringLiteral("OnHelpSep"));
    AddItem(help, "Topics1", QStringLiteral("&Topics..."), &Exercise::Topics);
    AddItem(help, "User1", QStringLiteral("&User"), &Exercise::UserHelp);
    help->addSeparator()->setObjectName(QStringLiteral("UserSep"));
    AddItem(help, "AboutthisExercise1", QStringLiteral("&About This Exercise..."), &Exercise::About);
}

void TEnvironment1::FormCreate() {
    // Numbers and dates in Qt's own widgets use "." and "-" whatever the
    // desktop's locale, like every text the core formats.
    QLocale::setDefault(QLocale::c());
    exercise_.Create();
    logoBitmap_ = LoadProgramPicture(opts().logoBitmap);
    LoadCursor(5, "WtXHAIR.CUR");
    LoadCursor(6, "XPXHAIR.CUR");
    MenusChanged();
}

QImage TEnvironment1::LoadProgramPicture(const std::string& name) const {
    if (name.empty() || !services_.files) return {};
    const std::string path = services_.files->resolve(opts().programFolder + name);
    const platform::ReadResult read = services_.files->readFile(path, MaxPictureBytes);
    if (read.code != 0 || read.bytes.empty()) return {};
    QImage image;
    image.loadFromData(read.bytes.data(), static_cast<int>(read.bytes.size()));
    return image;
}

void TEnvironment1::LoadCursor(int number, const std::string& name) {
    if (!services_.files) return;
    const std::string path = services_.files->resolve(opts().programFolder + name);
    const platform::ReadResult read = services_.files->readFile(path, MaxCursorBytes);
    if (read.code != 0 || read.bytes.empty()) return;
    QImage image;
    if (!image.loadFromData(read.bytes.data(), static_cast<int>(read.bytes.size()), "CUR")) return;
    const QPoint hot = CursorHotSpot(read.bytes);
    cursors_[number] = QCursor(QPixmap::fromImage(image), hot.x(), hot.y());
}

QCursor TEnvironment1::cursor(int number) const {
    auto it = cursors_.find(number);
    return it == cursors_.end() ? QCursor(Qt::ArrowCursor) : it->second;
}

void TEnvironment1::CRT1Paint(QPainter& painter) {
    painter.fillRect(QRect(0, 0, DisplayWidth, DisplayHeight), Qt::black);
    switch (displayPhase()) {
        case DisplayPhase::Logo:
            if (!logoBitmap_.isNull()) painter.drawImage(0, 0, logoBitmap_);
            break;
        case DisplayPhase::Title:
            if (titleBitmap_.isNull()) titleBitmap_ = LoadProgramPicture(opts().titleBitmap);
            if (!titleBitmap_.isNull()) painter.drawImage(0, 0, titleBitmap_);
            break;
        case DisplayPhase::Running:
            if (!runningPainted_) {
                runningPainted_ = true;
                panel_.StartRunning();
                logoBitmap_ = QImage();
                titleBitmap_ = QImage();
            }
            if (panel_.displayedScope() == RadioScope) {
                if (!radioPictureLoaded_) {
                    radioPictureLoaded_ = true;
                    radioPicture_ = LoadProgramPicture(exercise_.radioOpts().viewPicture);
                }
                if (!radioPicture_.isNull()) painter.drawImage(QRect(0, 0, DisplayWidth, DisplayHeight), radioPicture_);
            } else if (panel_.displayedScope() != NoScope && !panel_.view().optSwitchOn) {
                // Black with no telescope on the display or the telescope window up.
                DrawDome(painter);
            }
            break;
    }
}

// ---------------------------------------------------------------------------
// ExerciseView

bool TEnvironment1::RunLoginDialog(LoginDialogModel& dialog, LoginRecord& record) {
    TLoginDlg dlg(this, dialog, record, *services_.dialogs);
    return dlg.exec() == QDialog::Accepted;
}

DialogResult TEnvironment1::RunPasswordDialog(PasswordDialogModel& dialog) {
    TPasswordDlg dlg(this, dialog, *services_.dialogs);
    dlg.exec();
    return dlg.result();
}

bool TEnvironment1::RunOptionsDialog(OptsRec&) {
    TOptionsStandIn dlg(this);
    return dlg.exec() == QDialog::Accepted;
}

bool TEnvironment1::RunDateTimeDialog(DateTimeDialogModel& dialog) {
    TUTTimeDlg dlg(this, dialog, *services_.dialogs);
    return dlg.exec() == QDialog::Accepted;
}

bool TEnvironment1::RunMountDialog(MountDialogModel& dialog) {
    TMountCDROM dlg(this, dialog, services_, opts().programFolder);
    return dlg.exec() == QDialog::Accepted;
}

void TEnvironment1::RunAboutBox(const std::string& versionText) {
    QImage picture = LoadProgramPicture(opts().logoBitmap);
    QPixmap icon;
    if (!picture.isNull()) icon = QPixmap::fromImage(picture.scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    TAboutBox box(this, ui::ToQString(versionText), icon);
    box.exec();
}

void TEnvironment1::MenusChanged() {
    SyncPanel();
}

QObject* TEnvironment1::MenuObject(const std::string& name) {
    // Looked up once: the panel is synchronised on every dome tick.
    auto it = menuObjects_.find(name);
    if (it != menuObjects_.end() && it->second) return it->second;
    const QString objectName = QString::fromStdString(name);
    QObject* found = findChild<QAction*>(objectName);
    if (!found) found = findChild<QWidget*>(objectName);
    if (found) menuObjects_[name] = found;
    return found;
}

void TEnvironment1::SyncPanel() {
    const PanelView& v = panel_.view();
    for (const auto& [name, state] : PanelMenus(exercise_.menus(), v)) {
        QObject* item = MenuObject(name);
        if (auto* action = qobject_cast<QAction*>(item)) {
            action->setEnabled(state.enabled);
            action->setVisible(state.visible);
        } else if (auto* widget = qobject_cast<QWidget*>(item)) {
            widget->setEnabled(state.enabled);
            widget->setVisible(state.visible);
        }
    }

    if (!OptCntrlSw) return;
    auto check = [this](const char* name, bool on) {
        if (auto* a = qobject_cast<QAction*>(MenuObject(name))) a->setChecked(on);
    };
    check("Access0p4", v.access0p4Checked);
    check("Access1p0", v.access1p0Checked);
    check("Access4p0", v.access4p0Checked);
    check("Radio1", v.radioChecked);
    check("Optical1", v.opticalChecked);
    OpenLEDL->setLit(v.openArrows);
    OpenLEDR->setLit(v.openArrows);
    CloseLEDL->setLit(v.closeArrows);
    CloseLEDR->setLit(v.closeArrows);
    IsOpenLED->setLit(v.isOpenLamp);
    IsClosedLED->setLit(v.isClosedLamp);
    OptCntrlSw->setOn(v.optSwitchOn);
    OptCntrlSw->setText(v.optSwitchOn ? QStringLiteral("On") : QStringLiteral("Off"));
    RadCntrlSw->setOn(v.radSwitchOn);
    RadCntrlSw->setText(v.radSwitchOn ? QStringLiteral("On") : QStringLiteral("Off"));
    if (exercise_.displayPhase() == DisplayPhase::Running && !v.idPanel.empty())
        IDPnl->setText(ui::ToQString(v.idPanel));
    if (panel_.domeTimerActive() != DomeTimer_.isActive()) {
        if (panel_.domeTimerActive())
            DomeTimer_.start();
        else
            DomeTimer_.stop();
    }
    if (panel_.scopeTimerActive() && !ScopeTimer_.isActive()) {
        ScopeTimer_.start(panel_.scopeTimerIntervalMs());
    } else if (!panel_.scopeTimerActive()) {
        ScopeTimer_.stop();
    }
}

void TEnvironment1::Access(int scope) {
    panel_.Access(scope);
    SyncPanel();
    Repaint();
}

void TEnvironment1::DomeTimerTimer() {
    panel_.DomeTimerTick();
    SyncPanel();
}

void TEnvironment1::ScopeTimerTimer() {
    panel_.ScopeTimerTick();
    SyncPanel();
}

void TEnvironment1::DrawDome(QPainter& painter) {
    const int w = DisplayWidth, h = DisplayHeight;
    const int centre = w / 2;
    const int half = panel_.SlitHalfWidth();
    const QColor darkRed(96, 16, 12), olive(128, 128, 0);
    // The sky through the slit: the naked-eye view, stretched into its box.
    painter.fillRect(QRect(centre - 120, 1, 240, h - 51), Qt::black);
    DrawDomeSky(painter, QRect(centre - 120, 1, 240, h - 51));
    painter.fillRect(QRect(0, 0, centre - half, h), darkRed);
    painter.fillRect(QRect(centre + half, 0, w - centre - half, h), darkRed);
    painter.fillRect(QRect(centre - half, h - 50, 2 * half, 50), darkRed);
    QPen pen(olive, 2);
    painter.setPen(pen);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.drawLine(centre - half, 1, centre - half, h - 50);
    painter.drawLine(centre + half, 1, centre + half, h - 50);
    painter.drawRect(QRect(1, 1, w - 2, h - 2));
    painter.drawLine(0, h - 50, w, h - 50);
    painter.drawLine(0, h - 30, w, h - 30);
    painter.setBrush(olive);
    for (int x = 20; x < w; x += 40) painter.drawEllipse(QPoint(x, h - 30), 3, 3);
    for (int y = 20; y < h - 50; y += 40) {
        painter.drawEllipse(QPoint(centre - half, y), 3, 3);
        painter.drawEllipse(QPoint(centre + half, y), 3, 3);
    }
    painter.setBrush(Qt::NoBrush);
}

void TEnvironment1::SetTelescopeWindow(observatory::TObsrvtry* window) { telescope_ = window; }

std::unique_ptr<observatory::TObsrvtry> CreateTelescopeWindow(platform::Services& services, TEnvironment1& main) {
    observatory::TelescopeWindowLinks links;
    links.refreshClock = [&main] { main.RefreshSkyClock(); };
    links.closeConfirmed = [&main] { return main.exercise().closeConfirmed(); };
    links.hidden = [&main] {
        // Closing the window switches the optical control off.
        if (main.panel().view().optSwitchOn) main.panel().SetOpticalSwitch(false);
        main.exercise().MakePreferencesReachable();
        main.MenusChanged();
    };
    links.logComponent = [&main](const std::string& text) {
        if (LogFileObj* log = main.exercise().log()) log->WriteComponent(text);
    };
    links.timeChanged = [&main] { return main.exercise().timeChanged(); };
    links.clearTimeChanged = [&main] { main.exercise().clearTimeChanged(); };
    links.openInstrument = [&services, &main](int instrument) {
        observatory::TObsrvtry* scope = main.telescopeWindow();
        if (!scope) return false;
        if (instrument == 1) {
            photometry::TPhotometer* photometer = main.photometerWindow();
            if (!photometer) return false;
            photometer->OpenFor();
            return true;
        }
        if (instrument != 0) return false;  // the spectrometer comes later
        ccd::CameraContext context;
        context.log = main.exercise().log();
        context.observers = main.exercise().loginRecord().names;
        context.objectId = main.exercise().objectId();
        context.userFolder = main.opts().usersFolder;
        context.helpChooser = main.helpChooser();
        context.helpViewer = main.helpViewer();
        ccd::OpenCCDCamera(*scope, services, main.opts(), context, scope);
        return true;
    };
    auto window = std::make_unique<observatory::TObsrvtry>(services, main.opts(), main.skyClock(), links);
    main.SetTelescopeWindow(window.get());
    return window;
}

photometry::TPhotometer* CreatePhotometerWindow(platform::Services& services, TEnvironment1& main,
                                                observatory::TObsrvtry& scope) {
    photometry::PhotometerLinks links;
    links.logComponent = [&main](const std::string& text) {
        if (LogFileObj* log = main.exercise().log()) log->WriteComponent(text);
    };
    links.exerciseId = [&main] { return main.exercise().objectId(); };
    links.findOrCreate = [&main](const std::string& id, double time) -> photometry::ObsResult& {
        return main.results().FindOrCreate(id, time);
    };
    links.review = [&main](photometry::ObsResult& entry) { return main.resultsWindow().Review(entry); };
    auto* window = new photometry::TPhotometer(services, main.opts(), scope, std::move(links), &scope);
    window->setWindowFlag(Qt::Window);
    scope.SetPhotometerAcceptance(&window->photometer());
    main.SetPhotometerWindow(window);
    return window;
}

std::unique_ptr<radio::TRadioLab> CreateRadioWindow(platform::Services& services, TEnvironment1& main) {
    radio::RadioWindowLinks links;
    links.refreshClock = [&main] { main.RefreshSkyClock(); };
    links.closeConfirmed = [&main] { return main.exercise().closeConfirmed(); };
    links.hidden = [&main] {
        // Closing the window switches the radio control off.
        if (main.panel().view().radSwitchOn) main.panel().SetRadioSwitch(false);
        main.exercise().MakePreferencesReachable();
        main.MenusChanged();
    };
    links.activated = [&main] {
        main.panel().RadioWindowActivated();
        main.MenusChanged();
    };
    links.logComponent = [&main](const std::string& text) {
        if (LogFileObj* log = main.exercise().log()) log->WriteComponent(text);
    };
    links.focusMain = [&main] {
        main.raise();
        main.activateWindow();
    };
    links.exerciseId = [&main] { return main.exercise().objectId().empty() ? std::string("UNKNOWN") : main.exercise().objectId(); };
    links.hotListWindow = [&main]() -> observatory::THotListForm1* {
        return main.telescopeWindow() ? &main.telescopeWindow()->hotListForm() : nullptr;
    };
    links.about = [&main](const std::string& version) { main.RunAboutBox(version); };
    auto window = std::make_unique<radio::TRadioLab>(services, main.exercise().radioOpts(), main.opts(),
                                                     main.skyClock(), links);
    main.SetRadioWindow(window.get());
    return window;
}

void TEnvironment1::RefreshSkyClock() { skyClock_ = exercise_.ObservationNow(); }

void TEnvironment1::TakeTelescope(int index) {
    if (telescope_) telescope_->TakeTelescope(index);
}

void TEnvironment1::ResetTelescope() {
    if (telescope_) telescope_->ResetTelescope();
}

void TEnvironment1::ShowTelescopeWindow(bool show) {
    if (!telescope_) return;
    if (show)
        telescope_->ShowWindow();
    else
        telescope_->HideWindow();
}

bool TEnvironment1::TelescopeWindowVisible() { return telescope_ && telescope_->isVisible(); }

void TEnvironment1::ExitTelescopeWindow() {
    if (telescope_) telescope_->HideWindow();
}

void TEnvironment1::CloseTelescopeWindows() {
    if (telescope_) telescope_->close();
    if (radioWindow_) radioWindow_->close();
}

void TEnvironment1::ShowRadioWindow(bool show) {
    if (!radioWindow_) return;
    if (!show) {
        radioWindow_->HideWindow();
        return;
    }
    // A catalog that cannot serve takes the radio telescope out of this run
    // and nothing else: results, hot list and options stay.
    if (!radioWindow_->ShowWindow()) panel_.RadioUnavailable();
}

void TEnvironment1::ResetRadioTime() {
    if (radioWindow_) radioWindow_->ReSetTime();
}

bool TEnvironment1::PreferencesBlockingWindowVisible() {
    return TelescopeWindowVisible() || (radioWindow_ && radioWindow_->isVisible());
}

void TEnvironment1::Repaint() {
    if (CRT1) CRT1->update();
}

void TEnvironment1::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++busy_;
    } else if (busy_ > 0) {
        QApplication::restoreOverrideCursor();
        --busy_;
    }
}

void TEnvironment1::closeEvent(QCloseEvent* event) {
    if (!exercise_.CloseQuery()) {
        event->ignore();
        return;
    }
    exercise_.Close();
    event->accept();
}

void TEnvironment1::changeEvent(QEvent* event) {
    // A window manager that offers maximising anyway is refused.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized))
        setWindowState(windowState() & ~Qt::WindowMaximized);
    QMainWindow::changeEvent(event);
}

}  // namespace qnr::app
