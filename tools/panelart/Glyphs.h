#pragma once
// The seven-segment digit pictures: lit red segments on black, the unlit ones
// faintly visible, all the same size.
#include <vector>

#include "panelart/Bmp.h"

namespace qnr::panelart {

// GlyphWidth x GlyphHeight pixels for a cell character, row by row from the top.
std::vector<Rgb> RenderGlyph(char c);
Bytes GlyphPicture(char c);

}  // namespace qnr::panelart
