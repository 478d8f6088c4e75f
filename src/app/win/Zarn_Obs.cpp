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
#include "ui/Latin1.h"

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
    : QMainWindow(parent), services_(services), exercise_(services, *this) {
    setObjectName(QStringLiteral("Environment1"));
    setWindowTitle(QStringLiteral("Quenara Exercise"));
    BuildClientArea();
    BuildMenus();
    FormCreate();
}

TEnvironment1::~TEnvironment1() {
    while (busy_ > 0) SetBusy(false);
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
    CRT1->setGeometry(2, 2, DisplayWidth, DisplayHeight);

    // Shown once the exercise runs; the telescope windows write into it.
    IDPnl = new QLabel(client);
    IDPnl->setObjectName(QStringLiteral("IDPnl"));
    IDPnl->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    IDPnl->setAlignment(Qt::AlignCenter);
    IDPnl->setGeometry(8, DisplayHeight + 18, DisplayWidth + 4, 24);
    IDPnl->hide();

    // The right-hand column: the dome and the telescope control switches.
    const int x = DisplayWidth + 20;
    const int w = ClientWidth - x - 8;
    DomePnl = Panel(client, "DomePnl", QRect(x, 8, w, 190));
    PanelLabel(DomePnl, "DomeLbl", QStringLiteral("Observatory Dome"), QRect(4, 6, w - 8, 20));
    PanelLabel(DomePnl, "IsOpenLED", QStringLiteral("Open"), QRect(8, 150, (w - 24) / 2, 24));
    PanelLabel(DomePnl, "IsClosedLED", QStringLiteral("Closed"), QRect(16 + (w - 24) / 2, 150, (w - 24) / 2, 24));
    DomePnl->hide();

    CntrlPnl = Panel(client, "CntrlPnl", QRect(x, 206, w, 162));
    PanelLabel(CntrlPnl, "CntrlLbl", QStringLiteral("Telescope Control"), QRect(4, 6, w - 8, 20));
    PanelLabel(CntrlPnl, "OptLbl", QStringLiteral("Optical"), QRect(8, 34, w - 16, 18));
    auto* opt = new QPushButton(QStringLiteral("Off"), CntrlPnl);
    opt->setObjectName(QStringLiteral("OptCntrlSw"));
    opt->setCheckable(true);
    opt->setGeometry(24, 54, w - 48, 30);
    PanelLabel(CntrlPnl, "RadLbl", QStringLiteral("Radio"), QRect(8, 94, w - 16, 18));
    auto* rad = new QPushButton(QStringLiteral("Off"), CntrlPnl);
    rad->setObjectName(QStringLiteral("RadCntrlSw"));
    rad->setCheckable(true);
    rad->setGeometry(24, 114, w - 48, 30);
    CntrlPnl->hide();
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
    AddItem(optical, "Access0p4", QStringLiteral("&0.4m Telescope"));
    AddItem(optical, "Access1p0", QStringLiteral("&1.0m Telescope"));
    AddItem(optical, "Access4p0", QStringLiteral("&4.0m Telescope"));
    QMenu* request = AddMenu(scopes, "RequestTime1", QStringLiteral("Request &Time"));
    AddItem(request, "Request1p0", QStringLiteral("&1.0m Telescope"));
    AddItem(request, "Request4p0", QStringLiteral("&4.0m Telescope"));
    AddItem(scopes, "Radio1", QStringLiteral("&Radio Telescope"));

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
    AddItem(window, "OpticalWin", QStringLiteral("&Optical Telescope"));
    AddItem(window, "RadioWin", QStringLiteral("&Radio Telescope"));
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
            // No telescope on the display yet: the display stays dark.
            logoBitmap_ = QImage();
            titleBitmap_ = QImage();
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
    for (const auto& [name, state] : exercise_.menus()) {
        const QString objectName = QString::fromStdString(name);
        if (auto* action = findChild<QAction*>(objectName)) {
            action->setEnabled(state.enabled);
            action->setVisible(state.visible);
        } else if (auto* widget = findChild<QWidget*>(objectName)) {
            widget->setEnabled(state.enabled);
            widget->setVisible(state.visible);
        }
    }
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
