#pragma once
// What every window of text lines shares (the hot list, the reports, the
// information lists and the help viewer): the search dialog's state and the
// search over joined line pairs, the window-size rule, text files read as
// lines and written from lines, and the printed page.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace qnr::help {

enum class SearchStart { Cancelled, FromTop, FromCursor };

// The search dialog without its window: it remembers the last search.
class SearchDialogModel {
public:
    static constexpr std::size_t MaxText = 80;

    std::string text;
    bool caseDependent = false;

    void Reset() {
        text.clear();
        caseDependent = false;
    }
    // A press of "From Top", "From Cursor" or "Cancel" with what was typed.
    // The text and the case choice are kept; an empty text counts as cancelled.
    SearchStart Press(SearchStart button, const std::string& typed, bool caseBox);
};

// Latin-1 lower case.
std::string LowerLatin1(std::string text);
std::string TrimLeft(const std::string& text);
std::string Trim(const std::string& text);

// The first line, from `start` on, in which the text starts when each line
// (leading and trailing spaces removed) is joined by one space to the next one (the last
// line stands alone), so that a text running on into the next line is found
// on the line where it begins. -1 when there is none.
int FindInLinePairs(const std::vector<std::string>& lines, const std::string& text, bool caseDependent,
                    int start);

// Runs a search the dialog returned: from the top, or from the line after
// `selected`. The found line, or -1 after the "String Not Found" message.
int SearchLines(const std::vector<std::string>& lines, const SearchDialogModel& search, SearchStart start,
                int selected, platform::Dialogs& dialogs);
void ReportNotFound(const std::string& text, platform::Dialogs& dialogs);

// The client size of a list window: the widest line (at least 200 pixels)
// plus `margin`, at most the screen width - 10; 22.3 line heights for more
// than 21 lines, else the lines plus 1.3.
struct ClientSize {
    int width = 0;
    int height = 0;
};
ClientSize ListClientSize(int widestLinePixels, int lineCount, int lineHeight, int screenWidth, int margin = 30);

// A text file's lines (CR LF, LF or CR ends; Latin-1 bytes kept).
std::vector<std::string> SplitTextLines(const platform::Bytes& bytes);
platform::Bytes JoinTextLines(const std::vector<std::string>& lines);

// The save dialog until the user accepts a name: an existing file is replaced
// only after "Replace Existing File?" was answered Yes; No shows the dialog again.
std::optional<std::string> ChooseSaveFile(const platform::FileChoice& choice, platform::Services& services);

// Save Text of a report: the save dialog (with the question above), the
// lines as CR LF text, then "Text File Written". The path written; nullopt
// when cancelled or when writing failed (reported).
std::optional<std::string> SaveReportText(const std::vector<std::string>& lines, const platform::FileChoice& choice,
                                          platform::Services& services);
// The save dialog of a report's text: the users folder and name + ".TXT" the
// first time, the last file written afterwards.
platform::FileChoice ReportTextChoice(const std::string& usersFolder, const std::string& name,
                                      const std::string& lastSavePath);

// Who is printing: the login's names and table.
struct PrintIdentity {
    std::array<std::string, 4> names;
    std::string table;
};
using PrintIdentitySource = std::function<PrintIdentity()>;

// "2002-04-14 12:00:00": the local date and time of the real clock.
std::string PrintDateTime(platform::Clock* clock);
// "     Laboratory Table Number " + the table, or "(Not Recorded)".
std::string TableNumberText(const std::string& table);

// Writes on the pages of one print job.
class PageWriter {
public:
    explicit PageWriter(platform::PageCanvas& canvas);
    int h() const { return h_; }
    void Text(int x, int y, const std::string& text);
    // One line per h from y on; when the next line would pass the page height
    // a new page starts and the line goes to y = h. Returns the y after the last.
    int Lines(int x, int y, const std::vector<std::string>& lines);
    // The first name always (when `firstAlways`), then each further non-empty
    // one, one per line from y on; the number of lines written.
    int Names(int x, int y, const std::array<std::string, 4>& names, bool firstAlways);

private:
    platform::PageCanvas& canvas_;
    int h_ = 1;
};

// The page of a list as the hot list and the object reports print it: the
// date line (and, unless `editMode`, the table and the names), the caption
// indented by 50 and every line indented by 50. The document title is
// "Zarn \"Quenara\" Exercise - " + the first name, or "Database Modification"
// in Edit Mode. False when the print dialog was cancelled or printing failed.
bool PrintList(platform::Services& services, const PrintIdentity& who, bool editMode, const std::string& caption,
               const std::vector<std::string>& lines);

}  // namespace qnr::help
