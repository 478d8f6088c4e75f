// The main window's help and results: the shared help dialogs and the
// observational results window.
#include <QAction>
#include <QMouseEvent>
#include <QPainter>

#include "app/win/Zarn_Obs.h"
#include "catalogs/SkyCatalogs.h"
#include "catalogs/win/OrbRptForm.h"
#include "help/Helplst.h"
#include "help/win/HelpLstDlg.h"
#include "help/win/HelpWin.h"
#include "observatory/win/ObsLab.h"
#include "spectroscopy/Nkd_Eye.h"
#include "spectroscopy/win/NkdEyeDataForm.h"
#include "photometry/RsltsList.h"
#include "photometry/win/RsltsListForm.h"

namespace qnr::app {

TEnvironment1::~TEnvironment1() {
    while (busy_ > 0) SetBusy(false);
}

void TEnvironment1::SetSharedDialogs(help::THelpLstDlg* chooser, help::THelpWin* viewer,
                                     help::TGetSrchStrDlg* search) {
    helpChooser_ = chooser;
    helpViewer_ = viewer;
    search_ = search;
}

void TEnvironment1::ShowHelpTopics() {
    if (!helpChooser_ || !helpViewer_) return;
    // The list is read when first asked for, and again after the options named another.
    const std::string path = opts().programFolder + opts().mainHelpList;
    if (!mainHelpList_ || mainHelpPath_ != path) {
        mainHelpList_ = help::LoadWindowHelpList(opts().programFolder, opts().mainHelpList, services_);
        mainHelpPath_ = path;
    }
    if (!mainHelpList_) return;  // what was missing has been said
    help::ShowHelpTopics(mainHelpList_.get(), opts().programFolder, *helpChooser_, *helpViewer_, this);
}

void TEnvironment1::ShowHelpFile(const std::string& title, const std::string& path) {
    if (helpViewer_) help::ShowHelpFile(title, path, *helpViewer_, this);
}

void TEnvironment1::PreloadHotList() {
    if (telescope_) telescope_->hotList().LoadAtRun();
}

photometry::ResultsList& TEnvironment1::results() {
    if (!results_) results_ = std::make_unique<photometry::ResultsList>(services_, opts());
    return *results_;
}

photometry::RsltsListForm1& TEnvironment1::resultsWindow() {
    if (!resultsWindow_) {
        resultsWindow_ = std::make_unique<photometry::RsltsListForm1>(results(), *services_.dialogs, search_, this);
        resultsWindow_->setWindowFlag(Qt::Window);
        resultsWindow_->onShown = [this] {
            exercise_.ShowItem("SpRsltsWin", true);
            exercise_.EnableItem("DisplayPrintSave1", false);
        };
        resultsWindow_->onClosed = [this] {
            exercise_.ShowItem("SpRsltsWin", false);
            exercise_.EnableItem("DisplayPrintSave1", true);
        };
    }
    return *resultsWindow_;
}

bool TEnvironment1::AsteroidDataFor(double dayNumber) {
    // The list of observable asteroids is rebuilt for every new date.
    return catalogs_ && catalogs_->SetObservationDate(dayNumber);
}

void TEnvironment1::ComputeDomeSky() {
    if (!telescope_) return;
    if (!nakedEye_) nakedEye_ = std::make_unique<NakedEyeSky>(services_, opts().programFolder);
    std::optional<DomePointing> pointing;
    if (telescope_->hasPointing())
        pointing = DomePointing{telescope_->mount().rightAscension(), telescope_->mount().declination()};
    Site site;
    site.latitude = opts().siteLatitude;
    site.eastLongitude = opts().siteLongitude;
    markedStar_.reset();
    if (nakedEye_->Compute(site, exercise_.ObservationNow().JulianDate(), pointing))
        nakedEye_->Render();
    else
        nakedEye_ = std::make_unique<NakedEyeSky>(services_, opts().programFolder);  // no stars: a dark slit
    Repaint();
}

void TEnvironment1::DrawDomeSky(QPainter& painter, QRect box) {
    if (!nakedEye_ || !nakedEye_->hasPicture()) return;
    const Raster& r = nakedEye_->picture();
    // The raster's pixels are shown as they are, without a copy.
    const QImage image(reinterpret_cast<const uchar*>(r.pixels.data()), r.width, r.height, r.width * 4,
                       QImage::Format_RGB32);
    painter.drawImage(box, image);
    if (markedStar_ && *markedStar_ < nakedEye_->stars().size()) {
        const NakedEyeSelected& s = nakedEye_->stars()[*markedStar_];
        const QPoint at(box.left() + static_cast<int>(std::nearbyint(s.x)),
                        box.top() + static_cast<int>(std::nearbyint(1.01 * s.y)));
        painter.setPen(QPen(QColor(0, 220, 0), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(at - QPoint(7, 7), QSize(15, 15)));
    }
}

void TEnvironment1::IdentifyDomeStar(QPoint press, QPoint release) {
    if (panel_.domeState() != DomeState::Open || !nakedEye_ || !nakedEye_->hasPicture()) return;
    const QRect slit(DisplayWidth / 2 - 120, 1, 240, DisplayHeight - 51);
    if (!slit.contains(press) || !slit.contains(release)) return;
    const QPoint at = release - slit.topLeft();
    markedStar_ = nakedEye_->Identify(at.x(), at.y());
    if (!markedStar_) return;
    Repaint();
    if (!starData_) starData_ = std::make_unique<TNkdEyeDataForm>(this);
    starData_->ShowStar(nakedEye_->stars()[*markedStar_]);
}

bool TEnvironment1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CRT1 && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            if (event->type() == QEvent::MouseButtonPress)
                rightPress_ = mouse->position().toPoint();
            else
                IdentifyDomeStar(rightPress_, mouse->position().toPoint());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TEnvironment1::ConnectResultsMenu() {
    if (auto* a = findChild<QAction*>(QStringLiteral("AsteroidList1")))
        connect(a, &QAction::triggered, this, [this] {
            if (!catalogs_ || !catalogs_->asteroids()) return;
            if (!asteroidReport_) {
                asteroidReport_ = std::make_unique<catalogs::TOrbRptForm1>(services_, opts(), search_, this);
                asteroidReport_->setWindowFlag(Qt::Window);
                if (telescope_) asteroidReport_->orbitReport().SetHotList(&telescope_->hotList());
            }
            asteroidReport_->ShowList(*catalogs_->asteroids());
        });
    if (auto* a = findChild<QAction*>(QStringLiteral("DisplayPrintSave1")))
        connect(a, &QAction::triggered, this, [this] { resultsWindow().ShowAll(); });
    if (auto* a = findChild<QAction*>(QStringLiteral("LoadSavedData1")))
        connect(a, &QAction::triggered, this, [this] {
            // The window says "Data was not loaded." itself when nothing loads.
            if (resultsWindow().LoadSavedData()) exercise_.EnableItem("DisplayPrintSave1", true);
        });
    if (auto* a = findChild<QAction*>(QStringLiteral("SpRsltsWin")))
        connect(a, &QAction::triggered, this, [this] {
            if (resultsWindow_) {
                resultsWindow_->showNormal();
                resultsWindow_->raise();
            }
        });
}

}  // namespace qnr::app
