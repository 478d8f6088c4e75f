#pragma once
// The shapes of one seven-segment cell, shared by the display widget (which
// paints them) and the glyph generator (which rasterises them into the
// program folder's digit pictures), so both look alike. Plain C++: the
// generator has no Qt.
//
// A cell shows one of "0123456789", ' ', ':', '.', '-'. Digit cells carry all
// seven segments (the unlit ones faintly visible, as on a real display); the
// colon and period cells carry only their dots.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qnr::ui::segments {

struct Point {
    double x = 0, y = 0;
};
using Polygon = std::vector<Point>;  // convex, clockwise on screen

struct CellShapes {
    std::vector<Polygon> lit;
    std::vector<Polygon> unlit;
};

// The characters a cell can show.
constexpr std::string_view Characters = "0123456789 :.-";
inline bool IsCellCharacter(char c) { return c != '\0' && Characters.find(c) != std::string_view::npos; }

// The glyph pictures' size in pixels; every glyph has the same.
constexpr int GlyphWidth = 16;
constexpr int GlyphHeight = 28;

// The program folder's glyph picture for a cell character; empty for others.
inline std::string GlyphFileName(char c) {
    if (c >= '0' && c <= '9') return std::string("Digit_") + c + ".bmp";
    switch (c) {
        case ' ': return "blank.bmp";
        case ':': return "colon.bmp";
        case '.': return "period.bmp";
        case '-': return "minus.bmp";
        default: return {};
    }
}

// Segment bits a..g (top, top right, bottom right, bottom, bottom left, top left, middle).
inline std::uint8_t SegmentMask(char c) {
    static constexpr std::array<std::uint8_t, 10> Digits = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                            0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    if (c >= '0' && c <= '9') return Digits[static_cast<std::size_t>(c - '0')];
    if (c == '-') return 0x40;
    return 0;
}

namespace detail {

// A segment bar from (x0, y0) to (x1, y1), horizontal or vertical, with
// pointed ends; `t` is its thickness.
inline Polygon Bar(double x0, double y0, double x1, double y1, double t) {
    const double h = t / 2;
    if (y0 == y1) {
        return {{x0, y0}, {x0 + h, y0 - h}, {x1 - h, y0 - h}, {x1, y0}, {x1 - h, y0 + h}, {x0 + h, y0 + h}};
    }
    return {{x0, y0}, {x0 + h, y0 + h}, {x0 + h, y1 - h}, {x1, y1}, {x0 - h, y1 - h}, {x0 - h, y0 + h}};
}

inline Polygon Dot(double cx, double cy, double r) {
    // An octagon reads as round at these sizes and stays convex.
    const double k = r * 0.4142;
    return {{cx - k, cy - r}, {cx + k, cy - r}, {cx + r, cy - k}, {cx + r, cy + k},
            {cx + k, cy + r}, {cx - k, cy + r}, {cx - r, cy + k}, {cx - r, cy - k}};
}

// A slight forward lean, as on the common displays; x moves right as y rises.
inline void Lean(Polygon& p, double height, double lean) {
    for (Point& q : p) q.x += (height / 2 - q.y) * lean;
}

}  // namespace detail

// Shapes for character c in a cell of width w and height h (pixels, origin at
// the cell's top left). A character the cell cannot show gives a blank cell.
inline CellShapes Cell(char c, double w, double h) {
    CellShapes out;
    const double lean = 0.06;
    const double t = std::max(1.5, w * 0.15);  // segment thickness
    const double gap = t * 0.18;               // dark seam between segments
    if (c == ':' || c == '.') {
        const double r = t * 0.62;
        std::vector<Point> centres;
        if (c == ':') centres = {{w / 2, h * 0.34}, {w / 2, h * 0.68}};
        else centres = {{w / 2, h - h * 0.07 - r}};
        for (const Point& q : centres) {
            Polygon dot = detail::Dot(q.x, q.y, r);
            detail::Lean(dot, h, lean);
            out.lit.push_back(std::move(dot));
        }
        return out;
    }
    // Room at the sides for the lean and half a bar, and a little air.
    const double side = h / 2 * lean + t / 2 + w * 0.06;
    const double left = side, right = w - side;
    const double top = h * 0.06 + t / 2, bottom = h - h * 0.06 - t / 2, middle = (top + bottom) / 2;
    const double g = gap + t / 2;  // how far a bar stops short of a corner
    const std::array<Polygon, 7> bars = {
        detail::Bar(left + g, top, right - g, top, t),        // a
        detail::Bar(right, top + g, right, middle - g, t),    // b
        detail::Bar(right, middle + g, right, bottom - g, t), // c
        detail::Bar(left + g, bottom, right - g, bottom, t),  // d
        detail::Bar(left, middle + g, left, bottom - g, t),   // e
        detail::Bar(left, top + g, left, middle - g, t),      // f
        detail::Bar(left + g, middle, right - g, middle, t),  // g
    };
    const std::uint8_t mask = SegmentMask(c);
    for (std::size_t i = 0; i < bars.size(); ++i) {
        Polygon p = bars[i];
        detail::Lean(p, h, lean);
        ((mask >> i) & 1u ? out.lit : out.unlit).push_back(std::move(p));
    }
    return out;
}

}  // namespace qnr::ui::segments
