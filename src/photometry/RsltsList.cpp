#include "photometry/RsltsList.h"

#include "app/Exercise.h"
#include "astro/DateTime.h"
#include "astro/StringUt.h"
#include "help/TextLists.h"

namespace qnr::photometry {

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;


std::string PadLeft(std::string s, std::size_t width) {
    if (s.size() < width) s.insert(0, width - s.size(), ' ');
    return s;
}

std::string WithExtension(const std::string& name, const std::string& extension) {
    const std::size_t dot = name.rfind('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + "." + extension;
}

}  // namespace

void ObsRsltsModel::Load(const ObsResult& entry, bool includeRI) {
    id = entry.objectId;
    if (entry.timeValue == 0) {
        jd.clear();
    } else {
        ObsDateTime date;
        date.zone = 0;
        date.SetDayNumber(entry.timeValue);
        jd = date.JulianDateStr(6);
    }
    resultsLabel = entry.magnitudes() ? "Observed Magnitudes" : "Mean Counts per Second";
    for (std::size_t f = 0; f < values.size(); ++f) {
        const Extended v = entry.values[f];
        values[f] = v == 0 ? std::string() : PadLeft(FixedStr(v, entry.magnitudes() ? 3 : 1), 10);
    }
    spType = SpTypeText(entry.spType);
    z = entry.z == 0 ? std::string() : SciStr(entry.z, 4);
    remarks = entry.remarks;
    riEnabled = includeRI;
}

void ObsRsltsModel::Store(ObsResult& entry) const {
    entry.objectId = id.substr(0, ObjectIdChars);
    entry.remarks = remarks.substr(0, RemarksChars);
    entry.spType = ParseSpType(spType);
    std::string text = z;
    const Expected<Extended> value = NextRealField(text, '\0');
    entry.z = value ? static_cast<Single>(*value) : Single{0};
}

ResultsList::ResultsList(platform::Services& services, const app::OptsRec& opts)
    : InfoListReport(services, opts), nf_(HighestFilter(opts.includeRI)) {
    SetCaption(opts.computeMagnitudes ? MagnitudesCaption : CountsCaption);
    SetTitle(ResultsBaseName);
}

std::vector<ObsResult> ResultsList::Entries() const {
    std::vector<ObsResult> out;
    list_.Reset();
    while (!list_.AtLast()) out.push_back(*list_.Next());
    return out;
}

ObsResult& ResultsList::FindOrCreate(const std::string& objectId, double timeValue) {
    // Stored IDs are cut to their 15 characters, so the given one is compared cut too.
    const std::string id = objectId.substr(0, ObjectIdChars);
    if (!opts_.timeDependentData) {
        list_.Reset();
        while (!list_.AtLast()) {
            ObsResult* entry = list_.Next();
            if (entry->objectId == id) return *entry;
        }
    }
    ObsResult entry;
    entry.objectId = id;
    entry.timeValue = timeValue;
    entry.kind = opts_.computeMagnitudes ? 1 : 0;
    list_.GoLast();
    list_.InsertSorted(entry);
    ObsResult& created = *list_.CurrentItem();
    if (linesShown()) Rebuild();
    return created;
}

bool ResultsList::Review(ObsResult& entry, const EntryDialog& dialog) {
    ObsRsltsModel model;
    model.Load(entry, opts_.includeRI);
    const bool ok = dialog && dialog(model);
    if (ok) {
        model.Store(entry);
        EnableDisplay();
    }
    // What the caller wrote into the entry before the dialog shows either way.
    if (linesShown()) Rebuild();
    return ok;
}

void ResultsList::ShowAll() {
    header_ = ResultsHeader(opts_.computeMagnitudes, nf_);
    Rebuild();
}

void ResultsList::Rebuild() {
    std::vector<std::string> lines{header_};
    list_.Reset();
    while (!list_.AtLast()) lines.push_back(ResultsLine(*list_.Next(), nf_, opts_.computeMagnitudes));
    SetLines(std::move(lines));
    commaSaved_ = false;
    if (onLinesChanged) onLinesChanged();
}

void ResultsList::EnableDisplay() {
    if (onDisplayEnabled) onDisplayEnabled();
}

platform::FileChoice ResultsList::Choice(const std::string& title, const std::string& extension) const {
    platform::FileChoice choice;
    choice.title = title;
    choice.defaultExtension = extension;
    if (lastPath().empty()) {
        choice.startFolder = platform::WithTrailingSlash(opts_.usersFolder);
        choice.defaultName = std::string(ResultsBaseName) + "." + extension;
    } else {
        choice.startFolder = platform::FolderOf(lastPath());
        choice.defaultName = WithExtension(platform::FileNameOf(lastPath()), extension);
    }
    return choice;
}

platform::FileChoice ResultsList::TextSaveChoice() const {
    platform::FileChoice choice = Choice("Save Report in Text File", "TXT");
    choice.filter = "Text Files (*.TXT);;All Files (*)";
    return choice;
}

bool ResultsList::LoadFromDialog() {
    if (!services_.chooser) return false;
    platform::FileChoice choice = Choice("Load Saved Data", "TXT");
    if (!lastPath().empty()) choice.defaultName = platform::FileNameOf(lastPath());
    choice.filter = "Text Files (*.TXT);;Comma-Separated Files (*.CSV);;All Files (*)";
    const std::optional<std::string> path = services_.chooser->openFile(choice);
    return path && Load(*path);
}

bool ResultsList::ConfirmReplace() {
    const Answer retain = services_.dialogs->ask(
        {"Do you want to add the file data to your current data?\r\n\r\n\"Yes\" - Add to current data.\r\n"
         "\"No\"  - Clear current data.",
         "Retain Current Data?", Buttons::YesNoCancel, Icon::Question});
    if (retain == Answer::Yes) return true;
    if (retain != Answer::No) return false;
    const Answer sure = services_.dialogs->ask({"Are you SURE you want to delete your current data?",
                                                "Confirm Deletion!", Buttons::YesNo, Icon::Error});
    if (sure != Answer::Yes) return false;
    list_.RemoveAll();
    return true;
}

bool ResultsList::Load(const std::string& path) {
    platform::Dialogs& dialogs = *services_.dialogs;
    const platform::ReadResult read = services_.files->readFile(path, MaxResultsFileBytes);
    if (read.code != 0) {
        dialogs.show("Unable to Open Results File!\r\n\r\nFile Name: " + path + "\r\n" + IOErrorText(read.code),
                     "Results File Error!", Icon::Error);
        return false;
    }
    const std::vector<std::string> lines = help::SplitTextLines(read.bytes);
    const auto notResults = [&] {
        dialogs.show("File " + path + " does not contain saved photometric data!", "No Data Loaded!", Icon::Error);
        return false;
    };
    const Expected<ResultsFileForm> form = DetectResultsForm(lines);
    if (!form) return notResults();
    if ((form->magnitudes && *form->magnitudes != opts_.computeMagnitudes) || form->includeRI != opts_.includeRI) {
        dialogs.show(
            "Data in file is incompatible with current settings!  Verify switches \"Compute Magnitudes\" and/or "
            "\"Include R and I Colors\".",
            "Data Not Loaded!", Icon::Error);
        return false;
    }
    // The file's own date supplies the leading digits of short Julian Dates.
    const Extended referenceJd = ResultsFileReferenceJd(services_.files->modifiedSeconds(path));
    // The whole file is read before anything is asked or cleared, so that a
    // bad field leaves the present list as it was.
    const Expected<std::vector<ObsResult>> entries =
        ParseResultsFile(lines, *form, opts_.computeMagnitudes ? 1 : 0, nf_, referenceJd);
    if (!entries) {
        if (entries.error() == NoResultsData) return notResults();
        dialogs.show(entries.error(), app::ApplicationTitle, Icon::Error);
        return false;
    }
    if ((linesShown() || !list_.IsEmpty()) && !ConfirmReplace()) return false;
    // The kept entry of an edit may be gone, and indexes have moved.
    undo_ = ResultsUndo::None;
    undoTarget_ = nullptr;
    for (const ObsResult& entry : *entries) list_.InsertSorted(entry);
    RememberPath(path);
    ShowAll();
    return true;
}

bool ResultsList::EditLine(int line, const EntryDialog& dialog) {
    undo_ = ResultsUndo::None;
    undoTarget_ = nullptr;
    ObsResult* entry = line >= 1 ? list_.ItemAt(line - 1) : nullptr;
    if (!entry) {
        services_.dialogs->show("Select Text Line for Edit!", "No Selection!", Icon::Warning);
        return false;
    }
    const ObsResult before = *entry;
    if (!Review(*entry, dialog)) return false;
    undoEntry_ = before;
    undoTarget_ = entry;
    undo_ = ResultsUndo::Edit;
    return true;
}

bool ResultsList::DeleteLine(int line) {
    undo_ = ResultsUndo::None;
    undoTarget_ = nullptr;
    ObsResult* entry = line >= 1 ? list_.ItemAt(line - 1) : nullptr;
    if (!entry) {
        services_.dialogs->show("Select Item for Deletion!", "No Selection!", Icon::Warning);
        return false;
    }
    if (services_.dialogs->ask({"Are You Sure? (Data will be lost!)", "Confirm Deletion", Buttons::YesNo,
                                Icon::Error}) == Answer::No)
        return false;
    undoEntry_ = *entry;
    undoIndex_ = line - 1;
    list_.DeleteCurrent();
    undo_ = ResultsUndo::Delete;
    Rebuild();
    return true;
}

void ResultsList::Reinsert(int index, const ObsResult& entry) {
    // Back in its old place when that is still in time order (entries may
    // have come in meanwhile), so that equal times keep their order.
    const ObsResult* prev = index > 0 ? list_.ItemAt(index - 1) : nullptr;
    const ObsResult* next = index <= list_.LastIndex() ? list_.ItemAt(index) : nullptr;
    const bool fits = (index == 0 || (prev && !list_.Greater(*prev, entry))) && (!next || !list_.Greater(entry, *next));
    if (!fits) {
        list_.InsertSorted(entry);
    } else if (index == 0) {
        list_.InsertFirst(entry);
    } else {
        list_.ItemAt(index - 1);
        list_.InsertAfterCurrent(entry);
    }
}

bool ResultsList::Undo() {
    switch (undo_) {
        case ResultsUndo::None:
            return false;
        case ResultsUndo::Delete:
            Reinsert(undoIndex_, undoEntry_);
            break;
        case ResultsUndo::Edit:
            if (undoTarget_) *undoTarget_ = undoEntry_;
            break;
    }
    undo_ = ResultsUndo::None;
    undoTarget_ = nullptr;
    Rebuild();
    return true;
}

bool ResultsList::SaveCommaDelimited() {
    platform::FileChoice choice = Choice("Save Data in Comma-Separated Text File", "CSV");
    choice.filter = "Comma-Separated Files (*.CSV);;All Files (*)";
    std::vector<std::string> lines{CommaHeader(nf_)};
    list_.Reset();
    while (!list_.AtLast())
        if (auto line = CommaLine(*list_.Next(), nf_, opts_.computeMagnitudes)) lines.push_back(std::move(*line));
    const std::optional<std::string> path = help::SaveReportText(lines, choice, services_);
    if (!path) return false;
    RememberPath(*path);
    commaSaved_ = true;
    return true;
}

}  // namespace qnr::photometry
