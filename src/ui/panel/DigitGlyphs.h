#pragma once
// The digit pictures of the seven-segment displays, read from a folder
// ("Digit_0.bmp" ... "Digit_9.bmp", "blank.bmp", "colon.bmp", "period.bmp",
// "minus.bmp", names found without regard to case). A set is used only when
// every picture is there and all share one size; otherwise the displays draw
// their segments.
#include <QImage>
#include <QSize>
#include <map>
#include <string>
#include <vector>

namespace qnr::platform { class FileSystem; }

namespace qnr::ui {

class DigitGlyphs {
public:
    DigitGlyphs() = default;
    static DigitGlyphs Load(platform::FileSystem& files, const std::string& folder);

    bool complete() const { return complete_; }
    // The picture for a cell character; null when missing or not a cell character.
    QImage glyph(char c) const;
    QSize size() const { return size_; }
    // Names of the pictures that could not be read (or differ in size).
    const std::vector<std::string>& missing() const { return missing_; }

private:
    std::map<char, QImage> glyphs_;
    std::vector<std::string> missing_;
    QSize size_;
    bool complete_ = false;
};

}  // namespace qnr::ui
