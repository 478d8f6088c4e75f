#include "panelart/Bmp.h"

namespace qnr::panelart {

Bytes EncodeBmp24(int width, int height, const std::vector<Rgb>& pixels) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height);
    constexpr std::uint32_t HeaderBytes = 14 + 40;
    RecordWriter w;
    w.u8('B');
    w.u8('M');
    w.u32(HeaderBytes + imageBytes);
    w.u16(0);
    w.u16(0);
    w.u32(HeaderBytes);
    w.u32(40);
    w.i32(width);
    w.i32(height);  // positive: rows stored bottom-up
    w.u16(1);
    w.u16(24);
    w.u32(0);  // no compression
    w.u32(imageBytes);
    w.i32(2835);  // 72 dots per inch
    w.i32(2835);
    w.u32(0);
    w.u32(0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Rgb& p = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
            w.u8(p.b);
            w.u8(p.g);
            w.u8(p.r);
        }
        w.zeros(rowBytes - static_cast<std::uint32_t>(width) * 3);
    }
    return w.take();
}

}  // namespace qnr::panelart
