#pragma once

#include <cstdint>
#include <vector>

// Pictures as plain pixels, for a skin that must scale or tint its bitmaps
// itself: 0xAARRGGBB with alpha premultiplied, rows from the top.
namespace graphics {

// The picture at another size: each pixel of the result is the average of
// the source pixels it covers (so 150 % stays smooth). Empty for a size of 0.
std::vector<uint32_t> ScalePixels(const std::vector<uint32_t>& pixels, int width, int height, int newWidth,
                                  int newHeight);

// Opaque pixels from a bitmap's 0x00RRGGBB, those of the colour `clear`
// transparent (none where clear is negative).
void MakeClearColourTransparent(std::vector<uint32_t>& pixels, int64_t clear);

// The picture's shape in one colour (0xRRGGBB), as a disabled picture looks.
void TintPixels(std::vector<uint32_t>& pixels, uint32_t rgb);

}  // namespace graphics
