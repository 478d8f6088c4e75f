#include "observatory/HotList.h"

#include <charconv>
#include <cmath>

#include "astro/StringUt.h"

namespace qnr::observatory {

namespace {

// About a million entries; no hot list comes near it.
constexpr std::size_t MaxHotListBytes = HotListRecordSize << 20;

constexpr const char* DegreeSign = "\xB0";

std::optional<Extended> FieldNumber(const std::string& field) {
    std::string text = help::Trim(field);
    if (!text.empty() && text.front() == '+') text.erase(0, 1);
    if (text.empty() || text.find_first_not_of("0123456789.-") != std::string::npos) return std::nullopt;
    Extended v = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace

std::vector<ObjctDat> ObjctList::Entries() const {
    ObjctList copy(*this);
    std::vector<ObjctDat> entries;
    copy.Reset();
    while (const ObjctDat* e = copy.Next()) entries.push_back(*e);
    return entries;
}

void WriteHotListRecord(RecordWriter& out, const ObjctDat& entry) {
    out.text(entry.identifier, MaxHotListId);
    out.extended(entry.ra);
    out.extended(entry.dec);
    out.text(entry.comment, MaxHotListComment);
}

Bytes EncodeHotList(const std::vector<ObjctDat>& entries) {
    RecordWriter out;
    for (const ObjctDat& e : entries) WriteHotListRecord(out, e);
    return out.take();
}

Expected<std::vector<ObjctDat>> DecodeHotList(const Bytes& bytes) {
    // A partial record at the end means the file was cut short.
    if (bytes.size() % HotListRecordSize != 0) return Fail(IOErrorText(100));
    RecordReader in(bytes);
    std::vector<ObjctDat> entries;
    entries.reserve(bytes.size() / HotListRecordSize);
    while (!in.atEnd()) {
        ObjctDat e;
        e.identifier = in.text(MaxHotListId);
        e.ra = in.extended();
        e.dec = in.extended();
        e.comment = in.text(MaxHotListComment);
        if (in.failed()) return Fail(IOErrorText(100));
        // Off the sky is as unreadable as no number: the entry dialog's ranges hold for files too.
        if (!(e.ra >= 0 && e.ra <= 24) || !(e.dec >= -90 && e.dec <= 90)) return Fail(IOErrorText(106));
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string HotListLine(const ObjctDat& entry, int position, bool editMode) {
    const std::string coords = SexaStr(entry.ra, 2, "h ", "m ", "s ") +
                               SexaStr(entry.dec, 1, std::string(DegreeSign) + " ", "' ", "\"  ");
    if (editMode) {
        std::string id = entry.identifier;
        if (id.size() < MaxHotListId) id.resize(MaxHotListId, ' ');
        return id + coords + entry.comment;
    }
    std::string number = std::to_string(position);
    if (number.size() < 4) number.insert(0, 4 - number.size(), ' ');
    return number + coords;
}

void HOVerifyModel::Load(const ObjctDat& e) {
    entry = e;
    id = e.identifier.substr(0, MaxHotListId);
    const AngleParts ra = SplitAngleRounded(e.ra, 2);
    raHrs = std::to_string(ra.whole);
    raMin = std::to_string(ra.minutes);
    raSec = FixedStr(ra.seconds, 2);
    const AngleParts dec = SplitAngleRounded(e.dec, 1);
    // The sign lives on the degrees, so a declination above -1 needs "-0".
    decDeg = (dec.sign < 0 ? "-" : "") + std::to_string(dec.whole);
    decMin = std::to_string(dec.minutes);
    decSec = FixedStr(dec.seconds, 1);
    comment = e.comment.substr(0, MaxHotListComment);
}

bool HOVerifyModel::Ok(platform::Dialogs& dialogs) {
    const auto h = FieldNumber(raHrs), m = FieldNumber(raMin), s = FieldNumber(raSec);
    const Extended ra = h && m && s ? *h + *m / 60 + *s / 3600 : -1;
    if (!h || !m || !s || ra < 0 || ra > 24) {
        dialogs.show("Right Ascension is Invalid!", "Input Error!", platform::Icon::Error);
        return false;
    }
    const auto dd = FieldNumber(decDeg), dm = FieldNumber(decMin), ds = FieldNumber(decSec);
    if (!dd || !dm || !ds) {
        dialogs.show("Declination is Invalid!", "Input Error!", platform::Icon::Error);
        return false;
    }
    const Extended sign = *dd < 0 || (*dd == 0 && decDeg.find('-') != std::string::npos) ? -1 : 1;
    const Extended dec = *dd + sign * *dm / 60 + sign * *ds / 3600;
    if (dec < -90 || dec > 90) {
        dialogs.show("Declination is Invalid!", "Input Error!", platform::Icon::Error);
        return false;
    }
    entry.identifier = id.substr(0, MaxHotListId);
    entry.ra = ra;
    entry.dec = dec;
    entry.comment = comment.substr(0, MaxHotListComment);
    return true;
}

HotList::HotList(platform::Services& services, app::OptsRec& opts) : services_(services), opts_(opts) {}

void HotList::SaveStateChanged() {
    if (host_) host_->SaveEnabledChanged(saveEnabled());
}

void HotList::FreshList() {
    saved_ = true;
    printed_ = false;
    selected_ = -1;
    undo_ = UndoKind::None;
    SaveStateChanged();
}

void HotList::Changed() {
    saved_ = false;
    SaveStateChanged();
}

bool HotList::Load(const std::string& path) {
    auto& files = *services_.files;
    const std::string resolved = files.resolve(path);
    if (!files.exists(resolved) || files.isFolder(resolved)) return false;
    const platform::ReadResult read = files.readFile(resolved, MaxHotListBytes);
    if (read.code != 0) {
        services_.dialogs->show("Unable to Open Hotlist File!\r\n\r\nFile Name: " + path + "\r\n" +
                                    IOErrorText(read.code),
                                "Hotlist File Error!", platform::Icon::Error);
        return false;
    }
    auto decoded = DecodeHotList(read.bytes);
    if (!decoded) {
        services_.dialogs->show("Unable to Read Hotlist File!\r\n\r\nFile Name: " + path + "\r\n" + decoded.error(),
                                "Hotlist File Error!", platform::Icon::Error);
        return false;
    }
    // Read into a new list so that a bad file leaves the old one in place.
    ObjctList fresh;
    for (const ObjctDat& e : *decoded) fresh.InsertSorted(e);
    list_ = std::move(fresh);
    currentPath_ = resolved;
    FreshList();
    return true;
}

bool HotList::StartNewListFromDialog() {
    const auto name =
        services_.dialogs->inputLine("Start New Hot List", "Name of the new list (without \".HTL\"):", "");
    if (!name) return false;
    std::string base = help::Trim(*name);
    if (base.empty()) return false;
    if (help::LowerLatin1(base).ends_with(".htl")) base.resize(base.size() - 4);
    return StartNewList(base);
}

void HotList::ConfirmSavedOnClose() {
    if (saved_) return;
    const platform::Answer a = services_.dialogs->ask(
        {"You have not saved your updated observation Hot List.\r\n\r\nDo you want to save it now?",
         "Hot List not Saved!", platform::Buttons::YesNo, platform::Icon::Question});
    if (a == platform::Answer::Yes)
        Save();
    else
        MarkSaved();
}

bool HotList::LoadAtRun() {
    if (opts_.currentHotList.empty()) opts_.currentHotList = opts_.hotListFile;
    const std::string name = opts_.currentHotList;
    const std::string users = platform::WithTrailingSlash(opts_.usersFolder) + name;
    const bool loaded = Load(users) || Load(opts_.programFolder + name);
    currentPath_ = users;
    return loaded;
}

bool HotList::WriteTo(const std::string& path) {
    const int code = services_.files->writeFileAtomic(path, EncodeHotList(list_.Entries()));
    if (code != 0) {
        services_.dialogs->show("Unable to save Observation List to file!\r\n\r\nFile Name: " + path + "\r\n" +
                                    IOErrorText(code),
                                "Observation List File Error!", platform::Icon::Error);
        return false;
    }
    return true;
}

bool HotList::Save() {
    std::string path = currentPath_;
    if (opts_.editMode) {
        if (!services_.chooser) return false;
        platform::FileChoice choice;
        choice.title = "Save Hot List File";
        choice.startFolder = platform::FolderOf(currentPath_);
        choice.defaultName = platform::FileNameOf(currentPath_);
        choice.filter = "Hot List Files (*.HTL);;All Files (*)";
        choice.defaultExtension = "HTL";
        auto chosen = services_.chooser->saveFile(choice);
        if (!chosen) return false;
        path = *chosen;
        currentPath_ = path;
        opts_.currentHotList = platform::FileNameOf(path);
    }
    if (!WriteTo(path)) return false;
    saved_ = true;
    SaveStateChanged();
    services_.dialogs->show("Observation list saved in " + path, "Observation List File Saved",
                            platform::Icon::Information);
    return true;
}

bool HotList::LoadFromDialog() {
    if (!services_.chooser) return false;
    auto& files = *services_.files;
    bool usersHaveLists = false;
    for (const std::string& name : files.listFolder(platform::WithTrailingSlash(opts_.usersFolder))) {
        const std::string lower = help::LowerLatin1(name);
        if (lower.size() > 4 && lower.ends_with(".htl")) usersHaveLists = true;
    }
    platform::FileChoice choice;
    choice.title = "Open Hot List File";
    choice.startFolder = usersHaveLists ? platform::WithTrailingSlash(opts_.usersFolder) : opts_.programFolder;
    choice.defaultName = opts_.currentHotList;
    choice.filter = "Hot List Files (*.HTL);;All Files (*)";
    auto chosen = services_.chooser->openFile(choice);
    if (!chosen || !Load(*chosen)) return false;
    opts_.currentHotList = platform::FileNameOf(*chosen);
    return true;
}

bool HotList::StartNewList(const std::string& name) {
    if (!saved_) {
        const platform::Answer answer = services_.dialogs->ask(
            {"The current observation Hot List has been updated.  You will lose the updates if you do not save it."
             "\r\n\r\nDo you want to save it now?",
             "Current Hot List not Saved!", platform::Buttons::YesNo, platform::Icon::Question});
        // The entries go only when they are safe on disk or the user let them go.
        if (answer == platform::Answer::Yes && !Save()) return false;
    }
    list_.RemoveAll();
    currentPath_ = platform::FolderOf(currentPath_) + name + ".HTL";
    FreshList();
    return true;
}

void HotList::Add(const ObjctDat& entry) {
    ObjctDat e = entry;
    e.identifier = e.identifier.substr(0, MaxHotListId);
    e.comment = e.comment.substr(0, MaxHotListComment);
    list_.InsertSorted(e);
    Changed();
}

std::vector<std::string> HotList::Lines() const {
    std::vector<std::string> lines;
    int position = 0;
    for (const ObjctDat& e : list_.Entries()) lines.push_back(HotListLine(e, ++position, opts_.editMode));
    return lines;
}

void HotList::Activate() {
    search.Reset();
    targetChosen_ = false;
    if (selected_ >= list_.Count()) selected_ = list_.Count() - 1;
}

void HotList::Select(int line) { selected_ = line >= 0 && line < list_.Count() ? line : -1; }

bool HotList::SlewToSelection() {
    const ObjctDat* e = selected_ >= 0 ? list_.ItemAt(selected_) : nullptr;
    if (!e) {
        services_.dialogs->show("Please select (highlight) an entry on the list, then select \"List\" -> \"Slew to "
                                "Selection\".\r\n(You can also double-click the selection.)",
                                "No Selection!", platform::Icon::Warning);
        return false;
    }
    targetRa_ = e->ra;
    targetDec_ = e->dec;
    targetChosen_ = true;
    return true;
}

bool HotList::EditSelection(const EntryDialog& dialog) {
    const ObjctDat* e = selected_ >= 0 ? list_.ItemAt(selected_) : nullptr;
    if (!e) {
        services_.dialogs->show("Please select an entry, using the left mouse button.", "No Selection!",
                                platform::Icon::Warning);
        return false;
    }
    HOVerifyModel model;
    model.Load(*e);
    if (!dialog(model)) return false;
    undo_ = UndoKind::Edit;
    undoEntry_ = *e;
    undoEdited_ = model.entry;
    // A new right ascension moves the entry: it goes back in at its place in
    // the order, and the selection follows it.
    list_.ItemAt(selected_);
    list_.DeleteCurrent();
    list_.InsertSorted(model.entry);
    selected_ = list_.CurrentIndex();
    Changed();
    return true;
}

bool HotList::DeleteSelection() {
    const ObjctDat* e = selected_ >= 0 ? list_.ItemAt(selected_) : nullptr;
    if (!e) {
        services_.dialogs->show("Please select an entry, using the left mouse button.", "No Selection!",
                                platform::Icon::Warning);
        return false;
    }
    if (services_.dialogs->ask({"Delete Highlighted Entry from List?", "Delete Entry", platform::Buttons::YesNo,
                                platform::Icon::Question}) != platform::Answer::Yes)
        return false;
    undo_ = UndoKind::Delete;
    undoIndex_ = selected_ - 1;
    undoEntry_ = *list_.ItemAt(selected_);
    list_.DeleteCurrent();
    selected_ = list_.IsEmpty() ? -1 : std::max(undoIndex_, 0);
    Changed();
    return true;
}

bool HotList::Undo() {
    if (undo_ == UndoKind::None) return false;
    if (undo_ == UndoKind::Delete) {
        const ObjctDat* first = list_.ItemAt(0);
        if (undoIndex_ < 0 && (!first || first->ra >= undoEntry_.ra)) {
            list_.InsertFirst(undoEntry_);
        } else {
            list_.Reset();
            list_.ItemAt(std::min(undoIndex_, list_.LastIndex()));
            list_.InsertSorted(undoEntry_);
        }
    } else {
        // The edited entry may have moved since; it is found by its contents
        // and the kept copy goes back in at its place in the order.
        list_.Reset();
        while (const ObjctDat* e = list_.Next()) {
            if (*e == undoEdited_) {
                list_.DeleteCurrent();
                break;
            }
        }
        list_.InsertSorted(undoEntry_);
    }
    selected_ = list_.CurrentIndex();
    undo_ = UndoKind::None;
    Changed();
    return true;
}

bool HotList::Search(help::SearchStart start) {
    const int found = help::SearchLines(Lines(), search, start, selected_, *services_.dialogs);
    if (found < 0) return false;
    selected_ = found;
    return true;
}

bool HotList::Print() {
    const help::PrintIdentity who = printIdentity_ ? printIdentity_() : help::PrintIdentity{};
    if (!help::PrintList(services_, who, opts_.editMode, HotListCaption, Lines())) return false;
    printed_ = true;
    return true;
}

void HotList::SelectFromList(const std::function<void()>& showList) {
    SelectFromList(showList, [this](const ObjctDat& target) { return !host_ || host_->SlewTo(target); });
}

void HotList::SelectFromList(const std::function<void()>& showList,
                             const std::function<bool(const ObjctDat&)>& slewTo) {
    if (list_.IsEmpty()) {
        services_.dialogs->show("No items in Observation List!", "Observation List Empty", platform::Icon::Information);
        return;
    }
    for (;;) {
        targetChosen_ = false;
        showList();
        if (!targetChosen_) return;
        ObjctDat target;
        target.ra = targetRa_;
        target.dec = targetDec_;
        if (const ObjctDat* e = list_.ItemAt(selected_)) target = *e;
        if (slewTo(target)) return;
    }
}

bool HotList::AddCurrentPosition(const EntryDialog& dialog) {
    if (!host_) return false;
    return AddPosition(host_->CurrentPosition(), dialog);
}

bool HotList::AddPosition(const ObjctDat& position, const EntryDialog& dialog) {
    ObjctDat current = position;
    current.identifier = current.identifier.substr(0, MaxHotListId);
    current.comment.clear();
    HOVerifyModel model;
    model.Load(current);
    if (!dialog(model)) return false;
    Add(model.entry);
    const std::string& id = model.entry.identifier;
    services_.dialogs->show(id.empty() ? std::string("Position added to Observation List.")
                                       : "Object " + id + " added to Observation List.",
                            "Observation List", platform::Icon::Information);
    return true;
}

}  // namespace qnr::observatory
