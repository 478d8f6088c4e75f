#include "help/TextLists.h"

#include <algorithm>
#include <cmath>

#include "astro/DateTime.h"
#include "astro/StringUt.h"

namespace qnr::help {

SearchStart SearchDialogModel::Press(SearchStart button, const std::string& typed, bool caseBox) {
    if (button == SearchStart::Cancelled) return SearchStart::Cancelled;
    text = typed.substr(0, MaxText);
    caseDependent = caseBox;
    return text.empty() ? SearchStart::Cancelled : button;
}

std::string LowerLatin1(std::string text) {
    for (char& c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) c = static_cast<char>(u + 0x20);
    }
    return text;
}

std::string TrimLeft(const std::string& text) {
    const std::size_t i = text.find_first_not_of(' ');
    return i == std::string::npos ? std::string() : text.substr(i);
}

std::string Trim(const std::string& text) {
    std::string s = TrimLeft(text);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

int FindInLinePairs(const std::vector<std::string>& lines, const std::string& text, bool caseDependent,
                    int start) {
    if (text.empty()) return -1;
    const std::string wanted = caseDependent ? text : LowerLatin1(text);
    // Trailing spaces go too: framed and padded lines end in them, and a
    // phrase broken at a line end must still meet its second half.
    auto prepared = [&](std::size_t i) {
        std::string s = Trim(lines[i]);
        return caseDependent ? s : LowerLatin1(std::move(s));
    };
    const int count = static_cast<int>(lines.size());
    for (int i = std::max(start, 0); i < count; ++i) {
        const std::string first = prepared(static_cast<std::size_t>(i));
        const std::string joined = i + 1 < count ? first + " " + prepared(static_cast<std::size_t>(i) + 1) : first;
        const std::size_t at = joined.find(wanted);
        // A match that begins in the second line is that line's, found next round.
        if (at != std::string::npos && at < first.size()) return i;
    }
    return -1;
}

void ReportNotFound(const std::string& text, platform::Dialogs& dialogs) {
    dialogs.show("\"" + text + "\" Not Found.", "String Not Found", platform::Icon::Information);
}

int SearchLines(const std::vector<std::string>& lines, const SearchDialogModel& search, SearchStart start,
                int selected, platform::Dialogs& dialogs) {
    if (start == SearchStart::Cancelled) return -1;
    const int from = start == SearchStart::FromTop ? 0 : std::max(selected, -1) + 1;
    const int found = FindInLinePairs(lines, search.text, search.caseDependent, from);
    if (found < 0) ReportNotFound(search.text, dialogs);
    return found;
}

ClientSize ListClientSize(int widestLinePixels, int lineCount, int lineHeight, int screenWidth, int margin) {
    const int h = std::max(lineHeight, 5);
    ClientSize size;
    size.width = std::min(std::max(widestLinePixels, 200) + margin, screenWidth - 10);
    const long double lines = lineCount > 21 ? 22.3L : static_cast<long double>(lineCount) + 1.3L;
    size.height = static_cast<int>(std::nearbyint(lines * h));
    return size;
}

std::vector<std::string> SplitTextLines(const platform::Bytes& bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool pending = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            pending = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += c;
            pending = true;
        }
    }
    if (pending) lines.push_back(std::move(line));
    return lines;
}

platform::Bytes JoinTextLines(const std::vector<std::string>& lines) {
    platform::Bytes bytes;
    for (const std::string& line : lines) {
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

std::optional<std::string> ChooseSaveFile(const platform::FileChoice& choice, platform::Services& services) {
    if (!services.chooser) return std::nullopt;
    platform::FileChoice current = choice;
    for (;;) {
        std::optional<std::string> path = services.chooser->saveFile(current);
        if (!path) return std::nullopt;
        if (!services.files || !services.files->exists(*path)) return path;
        const platform::Answer answer = services.dialogs->ask(
            {*path + " Already Exists!\r\n\r\nDo You Want to Overwrite It?", "Replace Existing File?",
             platform::Buttons::YesNo, platform::Icon::Question});
        if (answer == platform::Answer::Yes) return path;
        current.startFolder = platform::FolderOf(*path);
        current.defaultName = platform::FileNameOf(*path);
    }
}

platform::FileChoice ReportTextChoice(const std::string& usersFolder, const std::string& name,
                                      const std::string& lastSavePath) {
    platform::FileChoice choice;
    choice.title = "Save Report in Text File";
    choice.filter = "Text Files (*.TXT);;All Files (*)";
    choice.defaultExtension = "TXT";
    if (lastSavePath.empty()) {
        choice.startFolder = platform::WithTrailingSlash(usersFolder);
        choice.defaultName = name + ".TXT";
    } else {
        choice.startFolder = platform::FolderOf(lastSavePath);
        choice.defaultName = platform::FileNameOf(lastSavePath);
    }
    return choice;
}

std::optional<std::string> SaveReportText(const std::vector<std::string>& lines, const platform::FileChoice& choice,
                                          platform::Services& services) {
    const std::optional<std::string> path = ChooseSaveFile(choice, services);
    if (!path) return std::nullopt;
    const int code = services.files->writeFileAtomic(*path, JoinTextLines(lines));
    if (code != 0) {
        services.dialogs->show("Unable to Write Report File!\r\n\r\nFile Name: " + *path + "\r\n" + IOErrorText(code),
                               "Report File Error!", platform::Icon::Error);
        return std::nullopt;
    }
    services.dialogs->show("Report Text Written to " + *path + ".", "Text File Written", platform::Icon::Information);
    return path;
}

std::string PrintDateTime(platform::Clock* clock) {
    if (!clock) return {};
    std::string text = StampStr(clock->localDayNumber(), true);
    std::replace(text.begin(), text.end(), 'T', ' ');
    return text;
}

std::string TableNumberText(const std::string& table) {
    return "     Laboratory Table Number " + (Trim(table).empty() ? std::string("(Not Recorded)") : table);
}

PageWriter::PageWriter(platform::PageCanvas& canvas) : canvas_(canvas), h_(std::max(canvas.lineHeight(), 1)) {}

void PageWriter::Text(int x, int y, const std::string& text) { canvas_.textLine(x, y, text); }

int PageWriter::Lines(int x, int y, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (y + h_ > canvas_.pageHeight()) {
            canvas_.newPage();
            y = h_;
        }
        canvas_.textLine(x, y, line);
        y += h_;
    }
    return y;
}

int PageWriter::Names(int x, int y, const std::array<std::string, 4>& names, bool firstAlways) {
    int written = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (Trim(names[i]).empty() && !(i == 0 && firstAlways)) continue;
        canvas_.textLine(x, y + written * h_, names[i]);
        ++written;
    }
    return written;
}

bool PrintList(platform::Services& services, const PrintIdentity& who, bool editMode, const std::string& caption,
               const std::vector<std::string>& lines) {
    if (!services.printer) return false;
    const std::string title =
        std::string("Zarn \"Quenara\" Exercise - ") + (editMode ? std::string("Database Modification") : who.names[0]);
    std::unique_ptr<platform::PageCanvas> canvas = services.printer->begin(title);
    if (!canvas) return false;
    canvas->setFontPoints(10);
    PageWriter page(*canvas);
    const int h = page.h();
    const int x = services.printer->orientation() == platform::Orientation::Landscape ? 50 : 0;
    page.Text(x, 0, PrintDateTime(services.clock) + (editMode ? std::string() : TableNumberText(who.table)));
    const int namesHeight = editMode ? 0 : page.Names(x, 2 * h, who.names, true) * h;
    page.Text(x + 50, 2 * h + namesHeight, caption);
    page.Lines(x + 50, namesHeight + 4 * h, lines);
    return canvas->finish();
}

}  // namespace qnr::help
