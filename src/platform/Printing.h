#pragma once
// Printing: the print dialog and a page canvas.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qnr::platform {

enum class Orientation { Portrait, Landscape };

// A picture to stretch onto the page: 32-bit 0xAARRGGBB pixels, row by row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

class PageCanvas {
public:
    virtual ~PageCanvas() = default;
    // Page size in device units and the height of one fixed-pitch text line.
    virtual int pageWidth() = 0;
    virtual int pageHeight() = 0;
    virtual int lineHeight() = 0;
    virtual int charWidth() = 0;
    virtual void setFontPoints(int points) = 0;
    virtual void textLine(int x, int y, const std::string& latin1) = 0;
    virtual void stretchPicture(const Picture& picture, int x, int y, int width, int height) = 0;
    virtual void newPage() = 0;
    // Ends the document; false when printing failed.
    virtual bool finish() = 0;
};

class Printer {
public:
    virtual ~Printer() = default;
    virtual Orientation orientation() = 0;
    virtual void setOrientation(Orientation orientation) = 0;
    // Shows the print dialog; nullptr when cancelled.
    virtual std::unique_ptr<PageCanvas> begin(const std::string& title) = 0;
};

}  // namespace qnr::platform
