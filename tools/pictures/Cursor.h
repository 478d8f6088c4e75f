#pragma once
// The two cross-hair cursors and the ".CUR" file that holds one: a cursor
// directory with one 32 x 32 entry (its hot spot in the entry) and a 32-bit
// device-independent bitmap with its transparency mask.
#include <cstdint>
#include <vector>

#include "platform/FileSystem.h"

namespace qnr::pictures {

inline constexpr int CursorSize = 32;

// 0xAARRGGBB pixels, row by row from the top; alpha 0 is transparent.
using CursorPixels = std::vector<std::uint32_t>;

platform::Bytes EncodeCursor(const CursorPixels& pixels, int hotX, int hotY);

enum class CrossHairStyle {
    White,    // thin white lines with a dark edge, for dark sky pictures
    Outlined  // black lines in a white outline with an open centre
};
CursorPixels CrossHair(CrossHairStyle style);
// Both cross-hairs point with the pixel at (15, 15).
inline constexpr int CrossHairHotSpot = 15;

}  // namespace qnr::pictures
