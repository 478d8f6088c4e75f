#pragma once
// The help viewer without its window: a topic's text out of its file, the
// shown lines, related topics, the topic history, search and print.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "help/Helplst.h"
#include "help/TextLists.h"
#include "platform/Services.h"

namespace qnr::help {

// Lines longer than this are broken for display.
inline constexpr std::size_t MaxHelpLine = 72;

// The lines of a topic: in a file whose first line begins with "*" the topic
// starts after the first line that holds "*" and its title (both in lower
// case, the title without leading spaces) and runs to the next line that
// begins and ends with "*"; any other file is the topic. nullopt when a
// several-topic file does not hold the topic.
std::optional<std::vector<std::string>> ExtractTopic(const std::vector<std::string>& fileLines,
                                                     const std::string& title);

// The viewer's lines: a " " line, each topic line framed by two spaces (a
// line longer than 72 characters broken into lines of at most 72 first), and
// a closing " " line.
std::vector<std::string> FrameTopicLines(const std::vector<std::string>& topic);

// The first line holding "RELATED TOPICS" in any case; -1 when none.
int RelatedTopicsLine(const std::vector<std::string>& lines);

enum class OpenResult { Shown, NoParameters, FileMissing, TopicMissing, NoText };

class HelpViewer {
public:
    explicit HelpViewer(platform::Services& services) : services_(services) {}

    // The list whose topics related-topic lines and Show Help Topics name.
    void AttachList(HelpList* list) { list_ = list; }
    HelpList* list() const { return list_; }
    // The topic to show when the viewer is next opened.
    void SetTopic(const HelpEntry& topic, const std::string& folder);
    const std::optional<HelpEntry>& topic() const { return topic_; }

    // Reads the topic (activation). `textWidth` measures a line in pixels;
    // a topic whose lines are all 200 pixels or narrower is reported as
    // having no text. Every result other than Shown has shown its message.
    OpenResult Open(const std::function<int(const std::string&)>& textWidth);

    std::string Caption() const;
    const std::vector<std::string>& lines() const { return lines_; }
    int relatedLine() const { return related_; }
    int widestPixels() const { return widest_; }

    // A double click on a line: below the related-topics mark, the list entry
    // it names. The entry becomes last chosen.
    std::optional<HelpEntry> RelatedTopicAt(int line);

    // Moves to another topic (a related topic, or one chosen from the list);
    // the topic on display is kept for Back.
    void GoTo(const HelpEntry& topic);
    bool CanGoBack() const { return !history_.empty(); }
    // The topic before, now the one to show; nullopt when there is none.
    std::optional<HelpEntry> Back();
    // The viewer was closed by the student: the history is forgotten.
    void Closed() { history_.clear(); }
    const std::vector<HelpEntry>& history() const { return history_; }

    SearchDialogModel search;
    // Search Text: the found line, or -1 after "String Not Found".
    int Search(SearchStart start, int selected);
    // Print Topic; false when cancelled or failed.
    bool Print(const PrintIdentity& who);

private:
    platform::Services& services_;
    HelpList* list_ = nullptr;
    std::optional<HelpEntry> topic_;
    std::string folder_;
    std::vector<std::string> lines_;
    int related_ = -1;
    int widest_ = 0;
    std::vector<HelpEntry> history_;
};

}  // namespace qnr::help
