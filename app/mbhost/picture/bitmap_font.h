// A 5 x 7 pixel font for the printable ASCII characters: enough for labels and the scale bar
// of a PNG map without a font library. Other characters show as an empty box.
#pragma once

#include <array>
#include <cstdint>

namespace mbhost::picture {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// Five columns from the left; bit n of a column is row n from the top.
using Glyph = std::array<std::uint8_t, kGlyphWidth>;

const Glyph& glyphFor(unsigned char c);

}  // namespace mbhost::picture
