// The observatory: one application, its platform services and its windows.
#include <QApplication>
#include <memory>

#include "app/win/Zarn_Obs.h"
#include "catalogs/SkyCatalogs.h"
#include "help/win/GetSrchStrDlg.h"
#include "help/win/HelpLstDlg.h"
#include "help/win/HelpWin.h"
#include "observatory/win/ObsLab.h"
#include "photometry/win/Photomtr.h"
#include "radio/win/Zarn_rad.h"
#include "ui/QtServices.h"

namespace {

// The long-lived windows. They are created in this order at start and live
// until the program ends; all but the main window stay hidden until shown.
// Later windows insert themselves at their place in this list.
struct Windows {
    std::unique_ptr<qnr::app::TEnvironment1> Environment1;
    // The one owner of the sky catalogs, made before the windows that read them.
    std::unique_ptr<qnr::SkyCatalogs> Catalogs;
    std::unique_ptr<qnr::observatory::TObsrvtry> Obsrvtry;
    std::unique_ptr<qnr::help::THelpLstDlg> HelpLstDlg;
    std::unique_ptr<qnr::help::THelpWin> HelpWin;
    std::unique_ptr<qnr::help::TGetSrchStrDlg> GetSrchStrDlg;
    qnr::photometry::TPhotometer* Photometer = nullptr;  // a child of Obsrvtry
    std::unique_ptr<qnr::radio::TRadioLab> RadioLab;
};

Windows CreateWindows(qnr::platform::Services& services) {
    Windows w;
    w.Environment1 = std::make_unique<qnr::app::TEnvironment1>(services);
    w.Catalogs = std::make_unique<qnr::SkyCatalogs>(services, w.Environment1->opts());
    w.Obsrvtry = qnr::app::CreateTelescopeWindow(services, *w.Environment1);
    w.Obsrvtry->SetCatalogs(w.Catalogs.get());
    w.Environment1->SetCatalogs(w.Catalogs.get());
    w.HelpLstDlg = std::make_unique<qnr::help::THelpLstDlg>(services);
    w.HelpWin = std::make_unique<qnr::help::THelpWin>(services, nullptr, w.HelpLstDlg.get());
    w.GetSrchStrDlg = std::make_unique<qnr::help::TGetSrchStrDlg>();
    w.Environment1->SetSharedDialogs(w.HelpLstDlg.get(), w.HelpWin.get(), w.GetSrchStrDlg.get());
    w.Obsrvtry->SetSharedDialogs(w.HelpLstDlg.get(), w.HelpWin.get(), w.GetSrchStrDlg.get());
    // The photometer keeps its sky readings for the whole run; the telescope window owns it.
    w.Photometer = qnr::app::CreatePhotometerWindow(services, *w.Environment1, *w.Obsrvtry);
    w.Photometer->SetSharedDialogs(w.HelpLstDlg.get(), w.HelpWin.get());
    w.RadioLab = qnr::app::CreateRadioWindow(services, *w.Environment1);
    w.RadioLab->SetSharedDialogs(w.HelpLstDlg.get(), w.HelpWin.get());
    return w;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenara Exercise"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quenara Exercise"));

    qnr::ui::QtServices platform;
    qnr::platform::Services services = platform.services();
    Windows windows = CreateWindows(services);
    platform.setMainWindow(windows.Environment1.get());

    windows.Environment1->show();
    return application.exec();
}
