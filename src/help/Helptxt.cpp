#include "help/Helptxt.h"

#include <algorithm>

#include "astro/StringUt.h"

namespace qnr::help {

namespace {

// Topic files are a few tens of kilobytes.
constexpr std::size_t MaxTopicFileBytes = 4u << 20;

std::string TrimRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
    return s;
}

bool IsTopicEnd(const std::string& line) {
    const std::string s = TrimRight(line);
    return !s.empty() && s.front() == '*' && s.back() == '*';
}

std::string FramedLine(const std::string& line) { return "  " + line + "  "; }

}  // namespace

std::optional<std::vector<std::string>> ExtractTopic(const std::vector<std::string>& fileLines,
                                                     const std::string& title) {
    if (fileLines.empty() || fileLines.front().empty() || fileLines.front().front() != '*') return fileLines;
    const std::string wanted = LowerLatin1(TrimLeft(title));
    std::size_t start = 0;
    while (start < fileLines.size() && !(fileLines[start].find('*') != std::string::npos &&
                                         LowerLatin1(fileLines[start]).find(wanted) != std::string::npos))
        ++start;
    if (start == fileLines.size()) return std::nullopt;
    std::vector<std::string> topic;
    for (std::size_t i = start + 1; i < fileLines.size() && !IsTopicEnd(fileLines[i]); ++i)
        topic.push_back(fileLines[i]);
    return topic;
}

std::vector<std::string> FrameTopicLines(const std::vector<std::string>& topic) {
    std::vector<std::string> lines{" "};
    for (const std::string& line : topic) {
        if (line.size() <= MaxHelpLine) {
            lines.push_back(FramedLine(line));
            continue;
        }
        LineSplitter splitter;
        splitter.Init(line, static_cast<int>(MaxHelpLine));
        while (!splitter.done()) lines.push_back(FramedLine(splitter.NextLine()));
    }
    lines.push_back(" ");
    return lines;
}

int RelatedTopicsLine(const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (LowerLatin1(lines[i]).find("related topics") != std::string::npos) return static_cast<int>(i);
    return -1;
}

void HelpViewer::SetTopic(const HelpEntry& topic, const std::string& folder) {
    topic_ = topic;
    folder_ = folder;
}

std::string HelpViewer::Caption() const { return "Help - " + (topic_ ? TrimLeft(topic_->text) : std::string()); }

OpenResult HelpViewer::Open(const std::function<int(const std::string&)>& textWidth) {
    lines_.clear();
    related_ = -1;
    widest_ = 0;
    auto& dialogs = *services_.dialogs;
    if (!topic_ || topic_->file.empty() || folder_.empty()) {
        dialogs.show("THelpWin Parameters Not Set!", "Help", platform::Icon::Warning);
        return OpenResult::NoParameters;
    }
    const std::string path = services_.files->resolve(folder_ + topic_->file);
    const platform::ReadResult read = services_.files->readFile(path, MaxTopicFileBytes);
    if (read.code != 0) {
        dialogs.show("Cannot Access Help File " + path + "\r\n\r\n" + IOErrorText(read.code), "Help Not Available",
                     platform::Icon::Warning);
        return OpenResult::FileMissing;
    }
    const std::string title = TrimLeft(topic_->text);
    const std::string missing = "Help Topic: " + title + "\r\n\r\nHelp on this topic is not available at this time.";
    const auto topicLines = ExtractTopic(SplitTextLines(read.bytes), title);
    if (!topicLines) {
        dialogs.show(missing, "Topic Not Found", platform::Icon::Information);
        return OpenResult::TopicMissing;
    }
    lines_ = FrameTopicLines(*topicLines);
    related_ = RelatedTopicsLine(lines_);
    for (const std::string& line : lines_) widest_ = std::max(widest_, textWidth(line));
    if (widest_ <= 200) {
        dialogs.show(missing, "No Text for Topic", platform::Icon::Information);
        return OpenResult::NoText;
    }
    return OpenResult::Shown;
}

std::optional<HelpEntry> HelpViewer::RelatedTopicAt(int line) {
    if (!list_ || related_ < 0 || line <= related_ || line >= static_cast<int>(lines_.size())) return std::nullopt;
    const std::string name = Trim(lines_[static_cast<std::size_t>(line)]);
    if (name.empty()) return std::nullopt;
    const int found = list_->FindTopic(name, false, 0);
    const HelpEntry* entry = list_->At(found);
    if (!entry || entry->IsHeading() || entry->IsSeparator()) return std::nullopt;
    list_->lastChosen = found;
    return *entry;
}

void HelpViewer::GoTo(const HelpEntry& topic) {
    if (topic_ && !(*topic_ == topic) && (history_.empty() || !(history_.back() == *topic_)))
        history_.push_back(*topic_);
    topic_ = topic;
}

std::optional<HelpEntry> HelpViewer::Back() {
    if (history_.empty()) return std::nullopt;
    topic_ = history_.back();
    history_.pop_back();
    return topic_;
}

int HelpViewer::Search(SearchStart start, int selected) {
    return SearchLines(lines_, search, start, selected, *services_.dialogs);
}

bool HelpViewer::Print(const PrintIdentity& who) {
    if (!services_.printer) return false;
    const std::string title = "Zarn Exercise \"Toval\" - " + who.names[0];
    std::unique_ptr<platform::PageCanvas> canvas = services_.printer->begin(title);
    if (!canvas) return false;
    canvas->setFontPoints(10);
    PageWriter page(*canvas);
    const int h = page.h();
    const int x = services_.printer->orientation() == platform::Orientation::Landscape ? 50 : 0;
    page.Text(x, 0, PrintDateTime(services_.clock) + TableNumberText(who.table));
    const int names = page.Names(x, 2 * h, who.names, true);
    const int lastName = (1 + names) * h;
    page.Text(x + 50, lastName + 2 * h, title);
    page.Text(x + 50, lastName + 4 * h, Caption());
    page.Lines(x + 50, lastName + 6 * h, lines_);
    return canvas->finish();
}

}  // namespace qnr::help
