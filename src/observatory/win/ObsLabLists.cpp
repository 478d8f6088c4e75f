// The telescope window's hot list and help list.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "help/Helplst.h"
#include "help/win/HelpLstDlg.h"
#include "help/win/HelpWin.h"
#include "observatory/win/HotListForm.h"
#include "observatory/win/ObsLab.h"

namespace qnr::observatory {

TObsrvtry::~TObsrvtry() = default;

void TObsrvtry::BuildListMenus() {
    hotList_ = std::make_unique<HotList>(services_, opts_);
    hotList_->SetHost(this);

    SlewMenu->addSeparator();
    SelectFromList1 = SlewMenu->addAction("&View/Select from Hot List...");
    SelectFromList1->setObjectName("SelectFromList1");
    connect(SelectFromList1, &QAction::triggered, this, &TObsrvtry::SelectFromList1Click);
    LoadHotList1 = SlewMenu->addAction("&Load Hot List...");
    LoadHotList1->setObjectName("LoadHotList1");
    AddCurrentItemtoList1 = SlewMenu->addAction("&Add Current Item to List...");
    AddCurrentItemtoList1->setObjectName("AddCurrentItemtoList1");
    SaveUpdatedList1 = SlewMenu->addAction("Sa&ve Updated List");
    SaveUpdatedList1->setObjectName("SaveUpdatedList1");
    auto form = [this]() -> THotListForm1& { return hotListForm(); };
    connect(LoadHotList1, &QAction::triggered, this, [form] { form().LoadHotList(); });
    connect(AddCurrentItemtoList1, &QAction::triggered, this, [form] { form().AddCurrentItemtoList(); });
    connect(SaveUpdatedList1, &QAction::triggered, this, [form] { form().SaveUpdatedList(); });

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("HelpMenu1");
    Help1 = help->addAction("&Topics...");
    Help1->setObjectName("Help1");
    connect(Help1, &QAction::triggered, this, [this] {
        if (helpChooser_ && helpViewer_)
            help::ShowHelpTopics(helpList_.get(), opts_.programFolder, *helpChooser_, *helpViewer_, this);
    });
    // The menus' states and the help list wait for the first show: the window
    // is built before the main window appears, and the options may change by then.
}

void TObsrvtry::SetSharedDialogs(help::THelpLstDlg* chooser, help::THelpWin* viewer, help::TGetSrchStrDlg* search) {
    helpChooser_ = chooser;
    helpViewer_ = viewer;
    search_ = search;
}

void TObsrvtry::UpdateListMenus() {
    // Editing the hot list is the instructor's, in Edit Mode.
    LoadHotList1->setVisible(opts_.editMode);
    AddCurrentItemtoList1->setVisible(opts_.editMode);
    SaveUpdatedList1->setVisible(opts_.editMode);
    SaveUpdatedList1->setEnabled(!hotList_->saved());
    // Read once per name: a missing list is reported once, not at every show.
    const std::string path = opts_.observatoryHelpList.empty() ? "" : opts_.programFolder + opts_.observatoryHelpList;
    if (path != helpListPath_) {
        helpListPath_ = path;
        helpList_ = path.empty() ? nullptr : help::LoadHelpList(path, services_);
    }
    Help1->setEnabled(helpList_ != nullptr && !opts_.observatoryHelpList.empty());
}

THotListForm1& TObsrvtry::hotListForm() {
    if (!hotListForm_) hotListForm_ = std::make_unique<THotListForm1>(services_, *hotList_, search_, this);
    return *hotListForm_;
}

void TObsrvtry::SelectFromList1Click() { hotListForm().SelectFromList(); }

bool TObsrvtry::SlewTo(const ObjctDat& target) {
    SkyCoordsDialogModel model = CoordinatesDialogFor(target.ra, target.dec, InputEpoch::J2000, false);
    if (!RunSkyCoordsDialog(this, model, [this](const SkyCoordsDialogModel& m) { return mount_->AcceptCoordinates(m); }))
        return false;
    mount_->StartProgrammedSlew();
    SyncControls();
    SyncTimers();
    ShowPosition();
    return true;
}

ObjctDat TObsrvtry::CurrentPosition() {
    ObjctDat here;
    here.ra = mount_->rightAscension();
    here.dec = mount_->declination();
    return here;
}

void TObsrvtry::SaveEnabledChanged(bool enabled) {
    if (SaveUpdatedList1) SaveUpdatedList1->setEnabled(enabled);
}

void TObsrvtry::ConfirmHotListSaved() {
    if (hotList_) hotList_->ConfirmSavedOnClose();
}

}  // namespace qnr::observatory
