#include "shell/memory/bitmap_file.h"

#include "shell/whole_file.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
// Far beyond any picture of the program; keeps a forged header (an RLE8 one above all,
// whose few bytes may claim any size) from asking for gigabytes.
constexpr int64_t kMaxSide = 8192;
constexpr int64_t kMaxPixels = int64_t{1} << 22;
constexpr size_t kMaxFileBytes = 64u << 20;

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;

// Little-endian fields read with a bounds check; a read past the end yields nothing.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool has(size_t offset, size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  uint8_t byte(size_t offset) const { return static_cast<uint8_t>(bytes_[offset]); }
  std::optional<uint32_t> u16(size_t offset) const {
    if (!has(offset, 2)) return std::nullopt;
    return byte(offset) | byte(offset + 1) << 8;
  }
  std::optional<uint32_t> u32(size_t offset) const {
    if (!has(offset, 4)) return std::nullopt;
    return byte(offset) | byte(offset + 1) << 8 | byte(offset + 2) << 16 |
           static_cast<uint32_t>(byte(offset + 3)) << 24;
  }
  size_t size() const { return bytes_.size(); }

 private:
  std::string_view bytes_;
};

struct Layout {
  BitmapFormat format;
  size_t paletteOffset = 0;
  size_t pixelOffset = 0;
  size_t pixelBytes = 0;  // what the pixel data may use, from pixelOffset
};

std::optional<Layout> readLayout(std::string_view bytes) {
  const Reader in(bytes);
  if (!in.has(0, kFileHeaderSize) || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const auto pixelOffset = in.u32(10);
  const auto headerSize = in.u32(14);
  const auto width = in.u32(18);
  const auto height = in.u32(22);
  const auto planes = in.u16(26);
  const auto bits = in.u16(28);
  const auto compression = in.u32(30);
  const auto imageSize = in.u32(34);
  const auto coloursUsed = in.u32(46);
  if (!pixelOffset || !headerSize || !coloursUsed) return std::nullopt;
  if (*headerSize < kInfoHeaderSize || !in.has(kFileHeaderSize, *headerSize)) return std::nullopt;
  if (*planes != 1) return std::nullopt;

  Layout layout;
  BitmapFormat& format = layout.format;
  const int64_t signedWidth = static_cast<int32_t>(*width);
  const int64_t signedHeight = static_cast<int32_t>(*height);
  if (signedWidth <= 0 || signedWidth > kMaxSide || signedHeight == 0 ||
      signedHeight < -kMaxSide || signedHeight > kMaxSide ||
      signedWidth * (signedHeight < 0 ? -signedHeight : signedHeight) > kMaxPixels)
    return std::nullopt;
  format.width = static_cast<int>(signedWidth);
  format.height = static_cast<int>(signedHeight < 0 ? -signedHeight : signedHeight);
  format.topDown = signedHeight < 0;
  format.bitsPerPixel = static_cast<int>(*bits);

  if (*bits != 1 && *bits != 4 && *bits != 8 && *bits != 24) return std::nullopt;
  if (*compression == kBiRle8 && *bits == 8 && !format.topDown) {
    format.compression = BitmapCompression::Rle8;
  } else if (*compression != kBiRgb) {
    return std::nullopt;
  }

  if (*bits <= 8) {
    const uint32_t most = 1u << *bits;
    if (*coloursUsed > most) return std::nullopt;
    format.paletteSize = static_cast<int>(*coloursUsed == 0 ? most : *coloursUsed);
  }
  layout.paletteOffset = kFileHeaderSize + *headerSize;
  const size_t paletteBytes = static_cast<size_t>(format.paletteSize) * 4;
  if (!in.has(layout.paletteOffset, paletteBytes)) return std::nullopt;
  if (*pixelOffset < layout.paletteOffset + paletteBytes || *pixelOffset > in.size())
    return std::nullopt;
  layout.pixelOffset = *pixelOffset;

  const size_t available = in.size() - layout.pixelOffset;
  if (format.compression == BitmapCompression::Rle8) {
    // The size field bounds the compressed stream; a zero there, which some writers leave,
    // means up to the end of the file.
    if (*imageSize > available) return std::nullopt;
    layout.pixelBytes = *imageSize == 0 ? available : *imageSize;
  } else {
    const size_t stride = (static_cast<size_t>(format.width) * *bits + 31) / 32 * 4;
    const size_t needed = stride * static_cast<size_t>(format.height);
    if (needed > available) return std::nullopt;
    layout.pixelBytes = needed;
  }
  return layout;
}

std::vector<uint32_t> readPalette(std::string_view bytes, const Layout& layout) {
  const Reader in(bytes);
  std::vector<uint32_t> palette(static_cast<size_t>(layout.format.paletteSize));
  for (size_t i = 0; i < palette.size(); ++i) {
    const size_t at = layout.paletteOffset + 4 * i;  // blue, green, red, unused
    palette[i] = static_cast<uint32_t>(in.byte(at + 2)) << 16 | in.byte(at + 1) << 8 | in.byte(at);
  }
  return palette;
}

// Rows as stored (bottom-up unless topDown) to rows of the image, top first.
size_t imageRow(const BitmapFormat& format, size_t storedRow) {
  return format.topDown ? storedRow : static_cast<size_t>(format.height) - 1 - storedRow;
}

std::optional<RgbImage> decodePlain(std::string_view bytes, const Layout& layout,
                                    const std::vector<uint32_t>& palette) {
  const BitmapFormat& f = layout.format;
  const Reader in(bytes);
  RgbImage image{f.width, f.height, std::vector<uint32_t>(static_cast<size_t>(f.width) * f.height)};
  const size_t stride = (static_cast<size_t>(f.width) * f.bitsPerPixel + 31) / 32 * 4;
  for (size_t row = 0; row < static_cast<size_t>(f.height); ++row) {
    const size_t start = layout.pixelOffset + row * stride;
    uint32_t* out = &image.pixels[imageRow(f, row) * f.width];
    for (size_t x = 0; x < static_cast<size_t>(f.width); ++x) {
      if (f.bitsPerPixel == 24) {
        const size_t at = start + 3 * x;
        out[x] = static_cast<uint32_t>(in.byte(at + 2)) << 16 | in.byte(at + 1) << 8 | in.byte(at);
        continue;
      }
      // Palette indexes are packed from the high bits of each byte.
      const size_t bit = x * f.bitsPerPixel;
      const unsigned shift = 8 - f.bitsPerPixel - bit % 8;
      const unsigned index = (in.byte(start + bit / 8) >> shift) & ((1u << f.bitsPerPixel) - 1);
      if (index >= palette.size()) return std::nullopt;
      out[x] = palette[index];
    }
  }
  return image;
}

std::optional<RgbImage> decodeRle8(std::string_view bytes, const Layout& layout,
                                   const std::vector<uint32_t>& palette) {
  const BitmapFormat& f = layout.format;
  const Reader in(bytes);
  RgbImage image{f.width, f.height,
                 std::vector<uint32_t>(static_cast<size_t>(f.width) * f.height, palette[0])};
  const size_t width = static_cast<size_t>(f.width);
  const size_t height = static_cast<size_t>(f.height);
  size_t x = 0;
  size_t row = 0;  // as stored: 0 is the bottom row
  size_t at = layout.pixelOffset;
  const size_t end = layout.pixelOffset + layout.pixelBytes;

  auto put = [&](unsigned index) {
    if (index >= palette.size()) return false;
    image.pixels[imageRow(f, row) * width + x] = palette[index];
    ++x;
    return true;
  };

  while (at + 2 <= end) {
    const unsigned count = in.byte(at);
    const unsigned value = in.byte(at + 1);
    at += 2;
    if (count > 0) {  // a run of one colour
      if (row >= height || count > width - x) return std::nullopt;
      for (unsigned i = 0; i < count; ++i)
        if (!put(value)) return std::nullopt;
      continue;
    }
    switch (value) {
      case 0:  // end of line
        if (row >= height) return std::nullopt;
        x = 0;
        ++row;
        break;
      case 1:  // end of picture
        return image;
      case 2: {  // move right and up
        if (at + 2 > end) return std::nullopt;
        const size_t right = in.byte(at);
        const size_t up = in.byte(at + 1);
        at += 2;
        if (right > width - x || up > height - row) return std::nullopt;
        x += right;
        row += up;
        break;
      }
      default: {  // that many single indexes, padded to an even length
        const size_t padded = value + (value & 1);
        if (padded > end - at || row >= height || value > width - x) return std::nullopt;
        for (size_t i = 0; i < value; ++i)
          if (!put(in.byte(at + i))) return std::nullopt;
        at += padded;
        break;
      }
    }
  }
  return std::nullopt;  // the data ended before the end-of-picture mark
}

}  // namespace

std::optional<BitmapFormat> readBitmapFormat(std::string_view bytes) {
  const auto layout = readLayout(bytes);
  if (!layout) return std::nullopt;
  return layout->format;
}

std::optional<RgbImage> decodeBitmap(std::string_view bytes) {
  const auto layout = readLayout(bytes);
  if (!layout) return std::nullopt;
  const std::vector<uint32_t> palette = readPalette(bytes, *layout);
  if (layout->format.compression == BitmapCompression::Rle8)
    return decodeRle8(bytes, *layout, palette);
  return decodePlain(bytes, *layout, palette);
}

std::string bitmapFileName(int id) { return "bitmap_" + std::to_string(id) + ".bmp"; }

std::optional<RgbImage> loadBitmapById(const std::string& folder, int id) {
  const auto bytes = readWholeFile(folder + "/" + bitmapFileName(id), kMaxFileBytes);
  if (!bytes) return std::nullopt;
  return decodeBitmap(*bytes);
}
