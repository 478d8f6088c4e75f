#pragma once
// The observable-asteroid report: the list's lines, an entry's osculating
// elements and notes, and an entry handed to the hot list.
#include <functional>

#include "catalogs/AstFlDlg.h"
#include "catalogs/ObjctLst.h"

namespace qnr::catalogs {

class OrbitListReport final : public ObjectListReport {
public:
    OrbitListReport(platform::Services& services, const app::OptsRec& opts);

    // Refills the report from the list as it stands for its date.
    void Fill(TOrbitList& list);

    // The elements report of the selected entry goes to this window.
    std::function<void(const ReportText&)> showElements;

    bool FormatforHotList(int index, observatory::ObjctDat& entry) override;
    void SelectionData() override;

private:
    TOrbitList* list_ = nullptr;
};

}  // namespace qnr::catalogs
