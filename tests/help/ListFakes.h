#pragma once
// Fakes for the list windows' cores: a file chooser answering from a script
// and a printer whose pages are kept as text lines with their positions.
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace qnr::test {

class ScriptedChooser final : public platform::FileChooser {
public:
    // Answers in order; an empty script cancels.
    std::deque<std::optional<std::string>> answers;
    std::vector<platform::FileChoice> asked;

    std::optional<std::string> openFile(const platform::FileChoice& choice) override { return Next(choice); }
    std::optional<std::string> saveFile(const platform::FileChoice& choice) override { return Next(choice); }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return std::nullopt; }

private:
    std::optional<std::string> Next(const platform::FileChoice& choice) {
        asked.push_back(choice);
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

struct PrintedLine {
    int page = 0;
    int x = 0;
    int y = 0;
    std::string text;
    bool operator==(const PrintedLine&) const = default;
};

// Pages of a fixed height with lines 10 units high.
class RecordingPrinter final : public platform::Printer {
public:
    bool cancel = false;
    int pageHeight = 1000;
    platform::Orientation current = platform::Orientation::Portrait;
    std::string title;
    std::vector<PrintedLine> lines;
    int pages = 0;
    bool finished = false;

    platform::Orientation orientation() override { return current; }
    void setOrientation(platform::Orientation o) override { current = o; }
    std::unique_ptr<platform::PageCanvas> begin(const std::string& documentTitle) override;

    // The texts in print order.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& l : lines) out.push_back(l.text);
        return out;
    }
};

class RecordingCanvas final : public platform::PageCanvas {
public:
    explicit RecordingCanvas(RecordingPrinter& printer) : printer_(printer) { printer_.pages = 1; }
    int pageWidth() override { return 2000; }
    int pageHeight() override { return printer_.pageHeight; }
    int lineHeight() override { return 10; }
    int charWidth() override { return 6; }
    void setFontPoints(int) override {}
    void textLine(int x, int y, const std::string& text) override {
        printer_.lines.push_back({printer_.pages, x, y, text});
    }
    void stretchPicture(const platform::Picture&, int, int, int, int) override {}
    void newPage() override { ++printer_.pages; }
    bool finish() override {
        printer_.finished = true;
        return true;
    }

private:
    RecordingPrinter& printer_;
};

inline std::unique_ptr<platform::PageCanvas> RecordingPrinter::begin(const std::string& documentTitle) {
    if (cancel) return nullptr;
    title = documentTitle;
    lines.clear();
    finished = false;
    return std::make_unique<RecordingCanvas>(*this);
}

}  // namespace qnr::test
