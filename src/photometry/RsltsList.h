#pragma once
// The observational results list: the student's notebook for the optical
// instruments, shown as an information list that can also be edited line by
// line, saved comma-separated and loaded back from either text form.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/Options.h"
#include "photometry/InfoList.h"
#include "photometry/ObsResult.h"
#include "platform/Services.h"

namespace qnr::photometry {

inline constexpr const char* ResultsBaseName = "Observations";
inline constexpr const char* MagnitudesCaption = "Recorded Results - Computed Magnitudes";
inline constexpr const char* CountsCaption = "Recorded Results - Mean Counts";
// What the main window says when Load Saved Data did not load anything.
inline constexpr const char* DataNotLoadedText = "Data was not loaded.";
inline constexpr const char* DataNotLoadedCaption = "No Data Loaded";

// "Observational Data" without its window: the texts of one entry.
class ObsRsltsModel {
public:
    static constexpr std::size_t RemarksEditChars = RemarksChars;

    void Load(const ObsResult& entry, bool includeRI);
    // OK: the ID, remarks, spectral type and Z go into the entry; the
    // readings themselves are not editable.
    void Store(ObsResult& entry) const;

    std::string id;
    std::string jd;            // read-only; empty without a time
    std::string resultsLabel;  // "Observed Magnitudes" or "Mean Counts per Second"
    std::array<std::string, FilterCount> values;  // read-only
    std::string spType;
    std::string z;
    std::string remarks;
    bool riEnabled = false;
};

enum class ResultsUndo { None, Edit, Delete };

class ResultsList final : public InfoListReport {
public:
    // The dialog shown modally on the model; true for OK.
    using EntryDialog = std::function<bool(ObsRsltsModel&)>;

    // opts is the working copy. The number of filter columns and the caption
    // follow "Include R and I Colors" and "Compute Magnitudes" as they are now.
    ResultsList(platform::Services& services, const app::OptsRec& opts);

    // The instruments and tools.
    // The first entry with this ID unless "Time-Dependent Data" is on;
    // otherwise, or when there is none, a new empty entry in time order.
    ObsResult& FindOrCreate(const std::string& objectId, double timeValue);
    // The "Observational Data" dialog on an entry of the list; OK stores its
    // fields and enables the main window's display command.
    bool Review(ObsResult& entry, const EntryDialog& dialog);

    // Display/Print/Save: the header for "Compute Magnitudes" and one line per entry.
    void ShowAll();
    // Load Saved Data: the open dialog, then Load. False when nothing was loaded.
    bool LoadFromDialog();
    // A saved file of either form. The file is read whole before the list is
    // touched; its questions, incompatibility and conversion messages are shown.
    bool Load(const std::string& path);

    // Line 0 is the header; line i shows entry i - 1.
    bool EditLine(int line, const EntryDialog& dialog);
    bool DeleteLine(int line);
    bool Undo();
    bool undoEnabled() const { return undo_ != ResultsUndo::None; }

    bool SaveCommaDelimited();
    bool commaSaved() const { return commaSaved_; }

    bool PrintsLandscape() const override { return true; }

    int nf() const { return nf_; }
    int Count() const { return list_.Count(); }
    std::vector<ObsResult> Entries() const;

    // The main window's "Display/Print/Save..." becomes available.
    std::function<void()> onDisplayEnabled;
    // The lines changed (an instrument added or reviewed an entry while the
    // list is shown, or the list's own commands).
    std::function<void()> onLinesChanged;

protected:
    // Text saves, comma-separated saves and loads share one last file.
    platform::FileChoice TextSaveChoice() const override;

private:
    bool linesShown() const { return !lines().empty(); }
    void Rebuild();
    void EnableDisplay();
    platform::FileChoice Choice(const std::string& title, const std::string& extension) const;
    bool ConfirmReplace();
    void Reinsert(int index, const ObsResult& entry);

    mutable ObsResultList list_;
    int nf_ = 2;
    std::string header_;
    bool commaSaved_ = false;
    ResultsUndo undo_ = ResultsUndo::None;
    ObsResult undoEntry_;             // the entry before the edit, or the deleted one
    ObsResult* undoTarget_ = nullptr;  // the edited entry
    int undoIndex_ = -1;              // the deleted entry's place
};

}  // namespace qnr::photometry
