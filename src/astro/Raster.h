#pragma once
// A plain picture in memory: 32-bit 0xAARRGGBB pixels row by row, the layout
// of a Qt RGB32/ARGB32 image, so a window can show it without copying.
#include <cstdint>
#include <vector>

namespace qnr {

struct Raster {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Raster() = default;
    Raster(int w, int h, std::uint32_t fill = 0xFF000000u)
        : width(w), height(h), pixels(static_cast<std::size_t>(w > 0 && h > 0 ? w * h : 0), fill) {}

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    void fill(std::uint32_t value) { pixels.assign(pixels.size(), value); }
};

inline std::uint32_t Rgb(int r, int g, int b) {
    return 0xFF000000u | (static_cast<std::uint32_t>(r & 0xFF) << 16) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
           static_cast<std::uint32_t>(b & 0xFF);
}
inline int RedOf(std::uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
inline int GreenOf(std::uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
inline int BlueOf(std::uint32_t p) { return static_cast<int>(p & 0xFF); }

}  // namespace qnr
