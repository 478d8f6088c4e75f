#include "pictures/Cursor.h"

#include <cstdlib>

namespace qnr::pictures {

namespace {

void U16(platform::Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void U32(platform::Bytes& b, std::uint32_t v) {
    U16(b, v & 0xFFFF);
    U16(b, v >> 16);
}

constexpr std::uint32_t Clear = 0x00000000;
constexpr std::uint32_t White = 0xFFFFFFFF;
constexpr std::uint32_t Black = 0xFF000000;
constexpr std::uint32_t Shade = 0xC0202020;

}  // namespace

platform::Bytes EncodeCursor(const CursorPixels& pixels, int hotX, int hotY) {
    const int n = CursorSize;
    const std::uint32_t maskRow = 4;  // 32 one-bit pixels
    const std::uint32_t xorBytes = static_cast<std::uint32_t>(n * n * 4);
    const std::uint32_t andBytes = maskRow * static_cast<std::uint32_t>(n);
    const std::uint32_t imageBytes = 40 + xorBytes + andBytes;

    platform::Bytes b;
    // Directory: reserved, type 2 (cursor), one entry.
    U16(b, 0);
    U16(b, 2);
    U16(b, 1);
    // Entry: size, no palette, reserved, hot spot, image size and offset.
    b.push_back(static_cast<std::uint8_t>(n));
    b.push_back(static_cast<std::uint8_t>(n));
    b.push_back(0);
    b.push_back(0);
    U16(b, static_cast<unsigned>(hotX));
    U16(b, static_cast<unsigned>(hotY));
    U32(b, imageBytes);
    U32(b, 22);
    // Bitmap header: the height counts the colour image and the mask.
    U32(b, 40);
    U32(b, static_cast<std::uint32_t>(n));
    U32(b, static_cast<std::uint32_t>(2 * n));
    U16(b, 1);
    U16(b, 32);
    U32(b, 0);
    U32(b, xorBytes + andBytes);
    U32(b, 0);
    U32(b, 0);
    U32(b, 0);
    U32(b, 0);
    // Colour image, bottom row first, as blue, green, red, alpha.
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y * n + x)];
            const bool clear = (p >> 24) == 0;
            b.push_back(clear ? 0 : static_cast<std::uint8_t>(p & 0xFF));
            b.push_back(clear ? 0 : static_cast<std::uint8_t>((p >> 8) & 0xFF));
            b.push_back(clear ? 0 : static_cast<std::uint8_t>((p >> 16) & 0xFF));
            b.push_back(static_cast<std::uint8_t>(p >> 24));
        }
    // Mask, bottom row first: a set bit leaves the screen as it is.
    for (int y = n - 1; y >= 0; --y)
        for (int byte = 0; byte < n / 8; ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const std::uint32_t p = pixels[static_cast<std::size_t>(y * n + byte * 8 + bit)];
                if ((p >> 24) == 0) bits = static_cast<std::uint8_t>(bits | (0x80 >> bit));
            }
            b.push_back(bits);
        }
    return b;
}

CursorPixels CrossHair(CrossHairStyle style) {
    const int n = CursorSize;
    const int c = CrossHairHotSpot;
    CursorPixels p(static_cast<std::size_t>(n * n), Clear);
    auto set = [&](int x, int y, std::uint32_t v) {
        if (x >= 0 && y >= 0 && x < n && y < n) p[static_cast<std::size_t>(y * n + x)] = v;
    };
    const int reach = 13;
    if (style == CrossHairStyle::White) {
        // One-pixel white lines with a soft dark edge on both sides.
        for (int d = -reach; d <= reach; ++d) {
            set(c + d, c - 1, Shade);
            set(c + d, c + 1, Shade);
            set(c - 1, c + d, Shade);
            set(c + 1, c + d, Shade);
        }
        for (int d = -reach; d <= reach; ++d) {
            set(c + d, c, White);
            set(c, c + d, White);
        }
        return p;
    }
    // Black arms in a white outline; the centre stays open so that the star
    // under it can be seen.
    const int gap = 3;
    for (int d = -reach; d <= reach; ++d) {
        if (std::abs(d) < gap) continue;
        for (int w = -1; w <= 1; ++w) {
            set(c + d, c + w, White);
            set(c + w, c + d, White);
        }
    }
    for (int d = -reach; d <= reach; ++d) {
        if (std::abs(d) < gap) continue;
        set(c + d, c, Black);
        set(c, c + d, Black);
    }
    for (int w = -1; w <= 1; ++w) {
        set(c - reach - 1, c + w, White);
        set(c + reach + 1, c + w, White);
        set(c + w, c - reach - 1, White);
        set(c + w, c + reach + 1, White);
    }
    set(c, c, Black);
    return p;
}

}  // namespace qnr::pictures
