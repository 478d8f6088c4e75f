#pragma once
// Uncompressed 24-bit BMP pictures, the form of the program folder's glyphs.
#include <cstdint>
#include <vector>

#include "astro/BinFile.h"

namespace qnr::panelart {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// pixels holds width x height values, row by row from the top.
Bytes EncodeBmp24(int width, int height, const std::vector<Rgb>& pixels);

}  // namespace qnr::panelart
