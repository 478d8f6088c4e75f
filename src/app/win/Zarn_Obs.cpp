#include "app/win/Zarn_Obs.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QPainter>
#include <functional>

#include "ui/Latin1.h"

namespace qnr::app {

namespace {

// Pictures are a few hundred kilobytes; anything past this is not a picture.
constexpr std::size_t MaxPictureBytes = 64u << 20;

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

}  // namespace

TEnvironment1::TEnvironment1(platform::Services& services, QWidget* parent)
    : QMainWindow(parent), services_(services), options_(services) {
    setObjectName(QStringLiteral("Environment1"));
    setWindowTitle(QStringLiteral("Quenara Exercise"));
    BuildClientArea();
    FormCreate();
}

TEnvironment1::~TEnvironment1() = default;

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
}

void TEnvironment1::FormCreate() {
    // Numbers and dates in Qt's own widgets use "." and "-" whatever the
    // desktop's locale, like every text the core formats.
    QLocale::setDefault(QLocale::c());

    displayPhase_ = DisplayPhase::Logo;

    options_.Create(OptionsFileName, ProgramVersion);
    opts_ = options_.rec;

    logoBitmap_ = LoadProgramPicture(opts_.logoBitmap);
}

QImage TEnvironment1::LoadProgramPicture(const std::string& name) const {
    if (name.empty() || !services_.files) return {};
    const std::string path = services_.files->resolve(opts_.programFolder + name);
    const platform::ReadResult read = services_.files->readFile(path, MaxPictureBytes);
    if (read.code != 0 || read.bytes.empty()) return {};
    QImage image;
    image.loadFromData(read.bytes.data(), static_cast<int>(read.bytes.size()));
    return image;
}

void TEnvironment1::CRT1Paint(QPainter& painter) {
    painter.fillRect(QRect(0, 0, DisplayWidth, DisplayHeight), Qt::black);
    switch (displayPhase_) {
        case DisplayPhase::Logo:
            if (!logoBitmap_.isNull()) painter.drawImage(0, 0, logoBitmap_);
            break;
        case DisplayPhase::Title:
            if (titleBitmap_.isNull()) titleBitmap_ = LoadProgramPicture(opts_.titleBitmap);
            if (!titleBitmap_.isNull()) painter.drawImage(0, 0, titleBitmap_);
            break;
        case DisplayPhase::Running:
            break;
    }
}

void TEnvironment1::changeEvent(QEvent* event) {
    // A window manager that offers maximising anyway is refused.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized))
        setWindowState(windowState() & ~Qt::WindowMaximized);
    QMainWindow::changeEvent(event);
}

}  // namespace qnr::app
