#include "help/Helplst.h"

#include "astro/StringUt.h"

namespace qnr::help {

namespace {

// A list file is a few kilobytes; anything past this is not one.
constexpr std::size_t MaxListFileBytes = 1u << 20;

}  // namespace

bool HelpEntry::IsHeading() const { return LowerLatin1(file) == "begin"; }

void HelpList::AddSeparatorUnlessLast() {
    entries_.GoLast();
    const HelpEntry* last = entries_.CurrentItem();
    if (last && !last->IsSeparator()) {
        entries_.InsertAfterCurrent(HelpEntry{});
    }
}

void HelpList::Build(const std::vector<std::string>& lines) {
    entries_.RemoveAll();
    std::string indent;
    for (const std::string& raw : lines) {
        std::string line = raw.substr(0, MaxHelpListLine);
        // A line with nothing on it names no topic; as an entry it would be a
        // second blank separator.
        if (Trim(line).empty()) continue;
        const std::string title = NextQuotedField(line, ' ');
        const std::string file = NextQuotedField(line, ' ').substr(0, MaxHelpFile);
        const std::string kind = LowerLatin1(file);
        if (kind == "begin") {
            if (!entries_.IsEmpty()) AddSeparatorUnlessLast();
            entries_.GoLast();
            entries_.InsertAfterCurrent({(indent + "-" + title + "-").substr(0, MaxHelpText), file});
            indent += "  ";
        } else if (kind == "end") {
            indent.erase(indent.size() >= 2 ? indent.size() - 2 : 0);
            if (!entries_.IsEmpty()) AddSeparatorUnlessLast();
        } else {
            entries_.GoLast();
            entries_.InsertAfterCurrent({(indent + title).substr(0, MaxHelpText), file});
        }
    }
    entries_.Reset();
    lastChosen = 0;
}

const HelpEntry* HelpList::At(int index) { return entries_.ItemAt(index); }

std::vector<std::string> HelpList::DisplayTexts() {
    std::vector<std::string> texts;
    entries_.Reset();
    while (const HelpEntry* e = entries_.Next()) texts.push_back(e->text);
    return texts;
}

int HelpList::FindTopic(const std::string& text, bool caseDependent, int start) {
    const std::string wanted = caseDependent ? Trim(text) : LowerLatin1(Trim(text));
    for (int i = std::max(start, 0); i < Count(); ++i) {
        const std::string candidate = Trim(At(i)->text);
        if ((caseDependent ? candidate : LowerLatin1(candidate)) == wanted) return i;
    }
    return -1;
}

std::unique_ptr<HelpList> LoadHelpList(const std::string& path, platform::Services& services) {
    auto list = std::make_unique<HelpList>();
    const std::string resolved = services.files->resolve(path);
    const platform::ReadResult read = services.files->readFile(resolved, MaxListFileBytes);
    if (read.code != 0) {
        services.dialogs->show("Help List File " + path + " is Invalid.\r\nProgram will continue with defaults or "
                               "alternative file.\r\n\r\n" + IOErrorText(read.code),
                               "Help File Error", platform::Icon::Error);
        services.dialogs->show("Cannot Access Help List.\r\nFile Name: " + path + "\r\n\r\n" + IOErrorText(read.code),
                               "File Error", platform::Icon::Error);
        return nullptr;
    }
    list->Build(SplitTextLines(read.bytes));
    list->valid = true;
    return list;
}

std::string NoHelpYetText(const std::string& listPath) {
    return "There is no help for this window yet.\r\n\r\n" +
           (listPath.empty() ? std::string("No help list is named in the options.")
                             : "The help list " + listPath + " is not installed.");
}

std::unique_ptr<HelpList> LoadWindowHelpList(const std::string& programFolder, const std::string& listName,
                                             platform::Services& services) {
    const std::string path = listName.empty() ? std::string() : programFolder + listName;
    if (path.empty() || !services.files->exists(services.files->resolve(path))) {
        services.dialogs->show(NoHelpYetText(path), NoHelpYetCaption, platform::Icon::Information);
        return nullptr;
    }
    return LoadHelpList(path, services);
}

bool HelpTopicChooser::Activate() {
    chosen_.reset();
    if (!list_) {
        services_.dialogs->show("No Help List to Display!", "Select Help Topic", platform::Icon::Warning);
        return false;
    }
    selected_ = list_->lastChosen;
    search.Reset();
    return true;
}

bool HelpTopicChooser::FindTopic(SearchStart start) {
    if (!list_ || start == SearchStart::Cancelled) return false;
    const int from = start == SearchStart::FromTop ? 0 : selected_ + 1;
    const int found = list_->FindTopic(search.text, search.caseDependent, from);
    if (found < 0) {
        ReportNotFound(search.text, *services_.dialogs);
        return false;
    }
    selected_ = found;
    return true;
}

bool HelpTopicChooser::ReadPrintTopic() {
    chosen_.reset();
    const HelpEntry* entry = list_ ? list_->At(selected_) : nullptr;
    if (!entry || entry->IsSeparator()) {
        services_.dialogs->beep();
        return false;
    }
    if (entry->IsHeading()) {
        services_.dialogs->show("Select a Topic Under \"" + TrimLeft(entry->text) + "\"", "Topic Heading",
                                platform::Icon::Information);
        return false;
    }
    list_->lastChosen = selected_;
    chosen_ = *entry;
    return true;
}

void HelpTopicChooser::Close() {
    if (list_ && selected_ >= 0) list_->lastChosen = selected_;
}

}  // namespace qnr::help
