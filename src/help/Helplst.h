#pragma once
// Help lists: the topics a window offers and the text file of each, read from
// a small list file, and the topic chooser without its window.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "astro/LinkLst.h"
#include "help/TextLists.h"
#include "platform/Services.h"

namespace qnr::help {

inline constexpr std::size_t MaxHelpText = 65;
inline constexpr std::size_t MaxHelpFile = 71;
inline constexpr std::size_t MaxHelpListLine = 80;

struct HelpEntry {
    std::string text;  // display text, indented within its groups
    std::string file;  // "begin" for a group heading, empty for a blank separator
    bool IsHeading() const;
    bool IsSeparator() const { return text.empty(); }
    bool operator==(const HelpEntry&) const = default;
};

class HelpList {
public:
    // Turns the lines of a list file into entries: headings, topics and the
    // blank separators around groups.
    void Build(const std::vector<std::string>& lines);

    int Count() const { return entries_.Count(); }
    // Null outside 0..Count()-1.
    const HelpEntry* At(int index);
    std::vector<std::string> DisplayTexts();

    // The first entry from `start` on whose display text, trimmed, equals the
    // trimmed text (in lower case unless case-dependent); -1 when none.
    int FindTopic(const std::string& text, bool caseDependent, int start);

    bool valid = false;
    int lastChosen = 0;

private:
    void AddSeparatorUnlessLast();
    LinkListObj<HelpEntry> entries_;
};

// Reads a help list file. An unreadable file is reported ("Help File Error"
// while reading, then "File Error" for the window) and gives null: the window
// then has no help list.
std::unique_ptr<HelpList> LoadHelpList(const std::string& path, platform::Services& services);

inline constexpr const char* NoHelpYetCaption = "No Help Available";
// What a Help item says while its window has no help list installed.
std::string NoHelpYetText(const std::string& listPath);
// A window's help list for its Help item (`listName` in the program folder).
// Null after the plain message that the window has no help yet when no list
// is named or its file is not there, or after LoadHelpList's messages when
// the file cannot be read: a Help item is never silent.
std::unique_ptr<HelpList> LoadWindowHelpList(const std::string& programFolder, const std::string& listName,
                                             platform::Services& services);

// The topic chooser ("Select Help Topic") without its window.
class HelpTopicChooser {
public:
    explicit HelpTopicChooser(platform::Services& services) : services_(services) {}

    void SetList(HelpList* list) { list_ = list; }
    HelpList* list() const { return list_; }

    // Activation: false after "No Help List to Display!" when there is no
    // list; otherwise the last chosen entry is selected and the search reset.
    bool Activate();
    int selected() const { return selected_; }
    void Select(int index) { selected_ = index; }

    // Find Topic with what the search dialog returned; the found entry is
    // selected. False after "String Not Found".
    bool FindTopic(SearchStart start);
    // Read/Print Topic (or a double click) on the selection: true when a topic
    // was chosen (the chooser closes with OK); a separator beeps, a heading
    // says to pick a topic under it.
    bool ReadPrintTopic();
    // Close Help Topics: the selection is remembered.
    void Close();

    // The entry chosen by the last ReadPrintTopic.
    std::optional<HelpEntry> chosen() const { return chosen_; }
    SearchDialogModel search;

private:
    platform::Services& services_;
    HelpList* list_ = nullptr;
    int selected_ = -1;
    std::optional<HelpEntry> chosen_;
};

}  // namespace qnr::help
