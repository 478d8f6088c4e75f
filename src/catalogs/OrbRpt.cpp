#include "catalogs/OrbRpt.h"

namespace qnr::catalogs {

OrbitListReport::OrbitListReport(platform::Services& services, const app::OptsRec& opts)
    : ObjectListReport(services, opts) {}

void OrbitListReport::Fill(TOrbitList& list) {
    list_ = &list;
    ReportText text = list.Report();
    SetCaption(text.caption);
    SetReportName(text.reportName);
    SetReport(std::move(text.lines), text.firstEntryLine, text.lastEntryLine);
}

bool OrbitListReport::FormatforHotList(int index, observatory::ObjctDat& entry) {
    if (!list_) return false;
    std::optional<HotListTarget> t = list_->FormatForHotList(index);
    if (!t) return false;
    entry = observatory::ObjctDat{t->name.substr(0, observatory::MaxHotListId), t->ra, t->dec, ""};
    return true;
}

void OrbitListReport::SelectionData() {
    if (!list_ || !hasSelection() || !showElements) return;
    if (std::optional<ReportText> elements = list_->Elements(selectedEntry())) showElements(*elements);
}

}  // namespace qnr::catalogs
