#pragma once
// The observable-asteroid report window and the elements window it opens.
#include <memory>

#include "catalogs/OrbRpt.h"
#include "catalogs/win/ObjctLstForm.h"

namespace qnr::catalogs {

class TOrbRptForm1 : public TObjctListForm1 {
    Q_OBJECT
public:
    TOrbRptForm1(platform::Services& services, const app::OptsRec& opts, help::TGetSrchStrDlg* search = nullptr,
                 QWidget* parent = nullptr);
    ~TOrbRptForm1() override;

    // Fills the report from the list and shows it.
    void ShowList(TOrbitList& list);
    OrbitListReport& orbitReport() { return *report_; }
    // The "Osculating Orbital Elements" window of the last entry asked for.
    TObjctListForm1* elementsWindow() { return elementsForm_.get(); }

private:
    TOrbRptForm1(std::unique_ptr<OrbitListReport> report, platform::Services& services, const app::OptsRec& opts,
                 help::TGetSrchStrDlg* search, QWidget* parent);

    std::unique_ptr<OrbitListReport> report_;
    platform::Services& services_;
    const app::OptsRec& opts_;
    help::TGetSrchStrDlg* search_;
    std::unique_ptr<ObjectListReport> elements_;
    std::unique_ptr<TObjctListForm1> elementsForm_;
};

}  // namespace qnr::catalogs
