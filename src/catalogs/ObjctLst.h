#pragma once
// The object-list report without its window: text lines of which a run are
// object entries, with search, print, text save and hand-over to the hot
// list. Each list kind (asteroids, quasars, clusters) derives from it and
// knows how to turn one of its entries into a hot-list record.
#include <string>
#include <vector>

#include "app/Options.h"
#include "help/TextLists.h"
#include "observatory/ObjctDat.h"
#include "platform/Services.h"

namespace qnr::catalogs {

class ObjectListReport {
public:
    // opts is the working copy (Edit Mode, the users folder).
    ObjectListReport(platform::Services& services, const app::OptsRec& opts);
    virtual ~ObjectListReport() = default;

    // The report: lines, the line indexes of the first and last entry (the
    // rest are headings and notes), the caption and the name files are
    // proposed under.
    void SetReport(std::vector<std::string> lines, int firstEntryLine, int lastEntryLine);
    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    void SetReportName(std::string name) { reportName_ = std::move(name); }
    void SetHotList(observatory::HotListEditor* hotList) { hotList_ = hotList; }
    void SetPrintIdentity(help::PrintIdentitySource source) { printIdentity_ = std::move(source); }

    const std::vector<std::string>& lines() const { return lines_; }
    const std::string& caption() const { return caption_; }
    const std::string& reportName() const { return reportName_; }
    int firstEntryLine() const { return firstEntry_; }
    int lastEntryLine() const { return lastEntry_; }

    // Activation: the search starts afresh.
    void Activate() { search.Reset(); }
    // A release on `line`: the entry it holds, or none outside the entries.
    void SelectLine(int line);
    // -1 for none, else counted from the first entry line.
    int selectedEntry() const { return selected_; }
    bool hasSelection() const { return selected_ >= 0; }
    int selectedLine() const { return selected_ < 0 ? -1 : firstEntry_ + selected_; }

    help::SearchDialogModel search;
    // The line found from `currentLine` on (its entry, if any, selected);
    // -1 after "String Not Found".
    int Search(help::SearchStart start, int currentLine);
    bool Print();
    bool SaveAsText();
    void CommaDelimit();

    // The selection into the current hot list, or into a new one.
    bool AddToCurrentHotList();
    bool StartNewHotList();

    // What a list kind supplies.
    // Fills `entry` from entry `index`; false when it has none to give.
    virtual bool FormatforHotList(int index, observatory::ObjctDat& entry);
    // Get Selection Data (and a double click on an entry).
    virtual void SelectionData() {}
    // Create New Hot List of Entire List.
    virtual void EntireList() {}
    // The name a new hot list started from this report gets.
    virtual std::string NewHotListName() const { return reportName_; }

    bool printed() const { return printed_; }
    bool saved() const { return saved_; }
    const std::string& lastSavePath() const { return lastSavePath_; }

protected:
    platform::Services& services_;
    const app::OptsRec& opts_;
    observatory::HotListEditor* hotList_ = nullptr;

private:
    std::vector<std::string> lines_;
    std::string caption_;
    std::string reportName_ = "Report";
    int firstEntry_ = 0;
    int lastEntry_ = -1;
    int selected_ = -1;
    bool printed_ = false;
    bool saved_ = false;
    std::string lastSavePath_;
    help::PrintIdentitySource printIdentity_;
};

}  // namespace qnr::catalogs
