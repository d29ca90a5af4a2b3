#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Hand-made BMP files for the reader's tests: the headers are written field by field, so a
// test can build exactly the file it needs, valid or broken.
struct BmpParts {
  int32_t width = 0;
  int32_t height = 0;  // negative for top-down rows
  uint16_t bits = 8;
  uint32_t compression = 0;  // 0 plain, 1 RLE8
  std::vector<uint32_t> palette;  // 0xRRGGBB
  std::string pixels;  // as stored: rows padded to four bytes, or the RLE8 stream
};

inline void putLittleEndian(std::string& bytes, size_t offset, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

inline std::string buildBmp(const BmpParts& parts) {
  const uint32_t pixelOffset = 14 + 40 + 4 * static_cast<uint32_t>(parts.palette.size());
  std::string bytes(pixelOffset, '\0');
  bytes[0] = 'B';
  bytes[1] = 'M';
  putLittleEndian(bytes, 2, pixelOffset + static_cast<uint32_t>(parts.pixels.size()), 4);
  putLittleEndian(bytes, 10, pixelOffset, 4);
  putLittleEndian(bytes, 14, 40, 4);
  putLittleEndian(bytes, 18, static_cast<uint32_t>(parts.width), 4);
  putLittleEndian(bytes, 22, static_cast<uint32_t>(parts.height), 4);
  putLittleEndian(bytes, 26, 1, 2);
  putLittleEndian(bytes, 28, parts.bits, 2);
  putLittleEndian(bytes, 30, parts.compression, 4);
  putLittleEndian(bytes, 34, static_cast<uint32_t>(parts.pixels.size()), 4);
  putLittleEndian(bytes, 46, static_cast<uint32_t>(parts.palette.size()), 4);
  for (size_t i = 0; i < parts.palette.size(); ++i) {
    const uint32_t c = parts.palette[i];
    bytes[54 + 4 * i] = static_cast<char>(c & 0xFF);
    bytes[55 + 4 * i] = static_cast<char>(c >> 8 & 0xFF);
    bytes[56 + 4 * i] = static_cast<char>(c >> 16 & 0xFF);
  }
  return bytes + parts.pixels;
}

// Bytes written as a list of numbers, for pixel rows and RLE streams.
inline std::string bytesOf(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes += static_cast<char>(v);
  return bytes;
}
