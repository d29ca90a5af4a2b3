#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads the BMP files the build generates from the art, so that code without the Windows
// bitmap loader (the native tests) can draw with the very pictures the program links in.
// Understood: 1, 4 and 8 bits per pixel with a palette, uncompressed or (8 bits) RLE8, and
// uncompressed 24 bits; rows bottom-up as usual, or top-down (negative height) when
// uncompressed. Anything else, or anything malformed, gives no image.

// A picture as 0xRRGGBB values, top row first, left to right.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

enum class BitmapCompression { None, Rle8 };

// How a file stores its picture, read from its headers.
struct BitmapFormat {
  int width = 0;
  int height = 0;  // positive; topDown tells the row order
  bool topDown = false;
  int bitsPerPixel = 0;
  BitmapCompression compression = BitmapCompression::None;
  int paletteSize = 0;  // colours in the palette; 0 for 24 bits
};

// The headers of a BMP file, if they describe a picture this reader can decode.
std::optional<BitmapFormat> readBitmapFormat(std::string_view bytes);

// The picture of a BMP file held in memory. Truncated data, offsets outside the file,
// palette indexes beyond the palette, and RLE runs that leave the picture give nothing.
// Pixels an RLE stream skips over (end of line, delta) take palette colour 0.
std::optional<RgbImage> decodeBitmap(std::string_view bytes);

// "bitmap_<id>.bmp": the file name of bitmap resource id in the generated bitmap folder.
std::string bitmapFileName(int id);

// Reads and decodes folder/bitmap_<id>.bmp; nothing when it is missing or malformed.
std::optional<RgbImage> loadBitmapById(const std::string& folder, int id);
