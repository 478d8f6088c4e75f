#pragma once
// The information list without its window: lines of text with a caption and
// a title, searched, printed and saved as text. The site report, the camera
// parameters and the results list are shown in it.
#include <string>
#include <vector>

#include "app/Options.h"
#include "help/TextLists.h"
#include "platform/Services.h"

namespace qnr::photometry {

class InfoListReport {
public:
    // opts is the working copy (Edit Mode, the users folder).
    InfoListReport(platform::Services& services, const app::OptsRec& opts);
    virtual ~InfoListReport() = default;

    void SetLines(std::vector<std::string> lines);
    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    // The title names the list; saved files are proposed as title + ".TXT".
    void SetTitle(std::string title) { title_ = std::move(title); }
    void SetPrintIdentity(help::PrintIdentitySource source) { printIdentity_ = std::move(source); }

    const std::vector<std::string>& lines() const { return lines_; }
    const std::string& caption() const { return caption_; }
    const std::string& title() const { return title_; }

    // Activation: the search starts afresh.
    void Activate() { search.Reset(); }

    help::SearchDialogModel search;
    // The line found from the line after `currentLine` (or the top); -1
    // after "String Not Found".
    int Search(help::SearchStart start, int currentLine);
    // The page: date line (table and names unless in Edit Mode), the caption
    // two lines below the last name and the lines two lines below it.
    bool Print();
    // "As Displayed": every line as a text line.
    bool SaveAsDisplayed();
    // The file last saved (or, in a list that loads, loaded): the next save
    // dialog starts there.
    const std::string& lastPath() const { return lastPath_; }

    // A list that prints across the page says so; the printer's orientation
    // is restored afterwards.
    virtual bool PrintsLandscape() const { return false; }

    bool printed() const { return printed_; }
    bool saved() const { return saved_; }

protected:
    // The save dialog of "As Displayed".
    virtual platform::FileChoice TextSaveChoice() const;
    void RememberPath(const std::string& path) { lastPath_ = path; }

    platform::Services& services_;
    const app::OptsRec& opts_;

private:
    std::vector<std::string> lines_;
    std::string caption_;
    std::string title_ = "Information";
    bool printed_ = false;
    bool saved_ = false;
    std::string lastPath_;
    help::PrintIdentitySource printIdentity_;
};

}  // namespace qnr::photometry
