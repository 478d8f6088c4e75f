#pragma once
// The hot list: the named positions the telescope slews to without typed
// coordinates, kept in ascending right ascension, its ".HTL" file, and the
// list window's commands without the window.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Options.h"
#include "astro/BinFile.h"
#include "astro/Expected.h"
#include "astro/LinkLst.h"
#include "astro/Types.h"
#include "help/TextLists.h"
#include "observatory/ObjctDat.h"
#include "platform/Services.h"

namespace qnr::observatory {

inline constexpr std::size_t HotListRecordSize = 86;
inline constexpr const char* HotListCaption = "Quenara Observation Hot List";

// Entries in ascending right ascension; equal ones in the order they came.
class ObjctList final : public SortableLinkList<ObjctDat> {
public:
    bool Greater(const ObjctDat& a, const ObjctDat& b) const override { return a.ra > b.ra; }
    std::vector<ObjctDat> Entries() const;
};

// The 86-byte records: identifier text[24], right ascension and declination
// as 10-byte extended reals, comment text[40].
void WriteHotListRecord(RecordWriter& out, const ObjctDat& entry);
Bytes EncodeHotList(const std::vector<ObjctDat>& entries);
// Every record of a file in file order. A size that is not a whole number of
// records, or a coordinate that is no number or lies off the sky (right
// ascension outside 0..24 h, declination outside -90..90 degrees), is an
// error: such a file was cut short or is no hot list.
Expected<std::vector<ObjctDat>> DecodeHotList(const Bytes& bytes);

// A list line. In Edit Mode: the identifier padded to 24, the right ascension
// ("h ", "m ", "s ", 2 decimals), the declination (degrees, "'", '"', 1
// decimal) and the comment. Otherwise the 1-based position right-aligned in
// 4, then the two coordinates: names and comments stay hidden.
std::string HotListLine(const ObjctDat& entry, int position, bool editMode);

// "Add/Edit Hot List Entry" without its window.
class HOVerifyModel {
public:
    // The fields from an entry: whole hours and minutes, seconds with 2
    // decimals; the declination's seconds with 1 decimal and "-0" degrees for
    // a declination between 0 and -1.
    void Load(const ObjctDat& entry);
    // OK: false, after the message, when a coordinate does not read or lies
    // out of range (the dialog stays open); else the fields go into entry.
    bool Ok(platform::Dialogs& dialogs);

    std::string id, raHrs, raMin, raSec, decDeg, decMin, decSec, comment;
    ObjctDat entry;
};

// What the list needs from the telescope window.
class HotListHost {
public:
    virtual ~HotListHost() = default;
    // The chosen target: the coordinate dialog with it filled in (J2000.0,
    // the epoch fixed) and, on OK, the programmed slew. False for Cancel.
    virtual bool SlewTo(const ObjctDat& target) = 0;
    // The object at the centre of the view (its name, or empty for none) at
    // the present pointing, for "Add Current Item/Position".
    virtual ObjctDat CurrentPosition() = 0;
    // The telescope window's SaveUpdatedList1 follows this.
    virtual void SaveEnabledChanged(bool /*enabled*/) {}
};

enum class UndoKind { None, Edit, Delete };

class HotList final : public HotListEditor {
public:
    using EntryDialog = std::function<bool(HOVerifyModel&)>;

    // opts is the working copy: Edit Mode, the folders and the hot-list names.
    HotList(platform::Services& services, app::OptsRec& opts);

    void SetHost(HotListHost* host) { host_ = host; }
    void SetPrintIdentity(help::PrintIdentitySource source) { printIdentity_ = std::move(source); }

    // Files.
    // False without a message when the file is missing; an unreadable or
    // damaged file is reported and the list in memory stays as it was.
    bool Load(const std::string& path);
    // At Run: the hot-list file of the users folder, else that of the program
    // folder. Saving goes to the users folder either way.
    bool LoadAtRun();
    // In Edit Mode the save dialog asks for the file first. False when
    // cancelled or when writing failed (reported); the list is then unsaved.
    bool Save();
    // The telescope window's "Load Hot List": the open dialog, then Load.
    bool LoadFromDialog();
    // A fresh, empty list named folder of the current path + name + ".HTL".
    // An unsaved list is offered for saving first; it is kept (and false
    // returned) when that save was cancelled or failed.
    bool StartNewList(const std::string& name) override;
    // "Start New List": asks for the name (a trailing ".HTL" is dropped),
    // then StartNewList. False when no name was given or it did not start.
    bool StartNewListFromDialog();
    // The telescope window closes: an unsaved list is offered for saving;
    // No lets the changes go (the list counts as saved from then on).
    void ConfirmSavedOnClose();

    // Entries.
    void Add(const ObjctDat& entry) override;
    int Count() const { return list_.Count(); }
    std::vector<ObjctDat> Entries() const { return list_.Entries(); }
    std::vector<std::string> Lines() const;

    // The window.
    // Shown or activated: the search is reset and no target is chosen yet.
    void Activate();
    void Select(int line);
    int selected() const { return selected_; }
    // Slew to Selection: true when a line is selected (the window closes with
    // its coordinates as the chosen target); else the "No Selection!" message.
    bool SlewToSelection();
    bool EditSelection(const EntryDialog& dialog);
    bool DeleteSelection();
    bool Undo();
    help::SearchDialogModel search;
    // The found line is selected; false after "String Not Found".
    bool Search(help::SearchStart start);
    bool Print();

    // The telescope window.
    // View/Select from List: the list is shown (modally, by showList) until a
    // target is chosen and confirmed, or none is chosen.
    void SelectFromList(const std::function<void()>& showList);
    // The same for another telescope: its slewTo takes the chosen target.
    void SelectFromList(const std::function<void()>& showList, const std::function<bool(const ObjctDat&)>& slewTo);
    // Add Current Item/Position (Edit Mode): the entry dialog prefilled from
    // the host; on OK the entry is added and confirmed.
    bool AddCurrentPosition(const EntryDialog& dialog);
    // The same for a position another telescope gives.
    bool AddPosition(const ObjctDat& position, const EntryDialog& dialog);

    bool saved() const { return saved_; }
    // The user chose to leave the changes unsaved.
    void MarkSaved() { saved_ = true; }
    bool printed() const { return printed_; }
    bool targetChosen() const { return targetChosen_; }
    Extended targetRa() const { return targetRa_; }
    Extended targetDec() const { return targetDec_; }
    const std::string& currentPath() const { return currentPath_; }
    void SetCurrentPath(const std::string& path) { currentPath_ = path; }
    bool editMode() const { return opts_.editMode; }
    bool saveEnabled() const { return opts_.editMode || !saved_; }
    bool undoEnabled() const { return undo_ != UndoKind::None; }

private:
    void Changed();
    // A list just loaded or begun: saved, unprinted, nothing selected or to undo.
    void FreshList();
    void SaveStateChanged();
    bool WriteTo(const std::string& path);

    platform::Services& services_;
    app::OptsRec& opts_;
    HotListHost* host_ = nullptr;
    help::PrintIdentitySource printIdentity_;
    mutable ObjctList list_;
    std::string currentPath_;
    bool saved_ = true;
    bool printed_ = false;
    int selected_ = -1;
    bool targetChosen_ = false;
    Extended targetRa_ = 0, targetDec_ = 0;
    UndoKind undo_ = UndoKind::None;
    int undoIndex_ = -1;
    ObjctDat undoEntry_;   // the entry as it was before the edit or delete
    ObjctDat undoEdited_;  // the entry as the edit left it
};

}  // namespace qnr::observatory
