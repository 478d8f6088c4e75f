#include "catalogs/ObjctLst.h"

namespace qnr::catalogs {

ObjectListReport::ObjectListReport(platform::Services& services, const app::OptsRec& opts)
    : services_(services), opts_(opts) {}

void ObjectListReport::SetReport(std::vector<std::string> lines, int firstEntryLine, int lastEntryLine) {
    lines_ = std::move(lines);
    const int last = static_cast<int>(lines_.size()) - 1;
    firstEntry_ = std::max(firstEntryLine, 0);
    lastEntry_ = std::min(lastEntryLine, last);
    selected_ = -1;
    printed_ = false;
    saved_ = false;
}

void ObjectListReport::SelectLine(int line) {
    selected_ = line >= firstEntry_ && line <= lastEntry_ ? line - firstEntry_ : -1;
}

int ObjectListReport::Search(help::SearchStart start, int currentLine) {
    const int found = help::SearchLines(lines_, search, start, currentLine, *services_.dialogs);
    if (found >= 0) SelectLine(found);
    return found;
}

bool ObjectListReport::Print() {
    const help::PrintIdentity who = printIdentity_ ? printIdentity_() : help::PrintIdentity{};
    if (!help::PrintList(services_, who, opts_.editMode, caption_, lines_)) return false;
    printed_ = true;
    return true;
}

bool ObjectListReport::SaveAsText() {
    const platform::FileChoice choice = help::ReportTextChoice(opts_.usersFolder, reportName_, lastSavePath_);
    const auto path = help::SaveReportText(lines_, choice, services_);
    if (!path) return false;
    lastSavePath_ = *path;
    saved_ = true;
    return true;
}

void ObjectListReport::CommaDelimit() {
    services_.dialogs->show("Comma-Delimited Output not Available for Displayed Material.", "Not Available",
                            platform::Icon::Information);
}

bool ObjectListReport::FormatforHotList(int, observatory::ObjctDat&) { return false; }

bool ObjectListReport::AddToCurrentHotList() {
    observatory::ObjctDat entry;
    if (!hotList_ || !hasSelection() || !FormatforHotList(selected_, entry)) return false;
    hotList_->Add(entry);
    services_.dialogs->show("Object " + entry.identifier + " Added to Current Hot List.", "Confirmation",
                            platform::Icon::Information);
    return true;
}

bool ObjectListReport::StartNewHotList() {
    observatory::ObjctDat entry;
    if (!hotList_ || !hasSelection() || !FormatforHotList(selected_, entry)) return false;
    if (!hotList_->StartNewList(NewHotListName())) return false;
    hotList_->Add(entry);
    services_.dialogs->show("New Hot List Created - Object " + entry.identifier + " Added to New Hot List.",
                            "Confirmation", platform::Icon::Information);
    return true;
}

}  // namespace qnr::catalogs
