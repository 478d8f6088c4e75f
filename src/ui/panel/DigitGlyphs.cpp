#include "ui/panel/DigitGlyphs.h"

#include "platform/FileSystem.h"
#include "ui/panel/SegmentShapes.h"

namespace qnr::ui {

namespace {
// Far above any glyph; keeps a stray large file from being read whole.
constexpr std::size_t MaxGlyphBytes = 1 << 20;
}

DigitGlyphs DigitGlyphs::Load(platform::FileSystem& files, const std::string& folder) {
    DigitGlyphs set;
    const std::string base = platform::WithTrailingSlash(folder);
    for (char c : segments::Characters) {
        const std::string name = segments::GlyphFileName(c);
        const platform::ReadResult read = files.readFile(files.resolve(base + name), MaxGlyphBytes);
        QImage image;
        if (read.code == 0 && !read.bytes.empty())
            image.loadFromData(read.bytes.data(), static_cast<int>(read.bytes.size()));
        if (image.isNull() || (set.size_.isValid() && image.size() != set.size_)) {
            set.missing_.push_back(name);
            continue;
        }
        set.size_ = image.size();
        set.glyphs_[c] = image.convertToFormat(QImage::Format_RGB32);
    }
    set.complete_ = set.missing_.empty();
    return set;
}

QImage DigitGlyphs::glyph(char c) const {
    const auto it = glyphs_.find(c);
    return it == glyphs_.end() ? QImage() : it->second;
}

}  // namespace qnr::ui
