#include "shell/memory/bitmap_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "bmp_builder.h"
#include "scratch_folder.h"

namespace {

using ::testing::ElementsAreArray;

constexpr uint32_t kA = 0x112233;
constexpr uint32_t kB = 0xAABBCC;
constexpr uint32_t kC = 0xFF8000;

BmpParts plain8() {
  // Bottom row 0 1 2, top row 2 2 1; rows padded to four bytes.
  return {3, 2, 8, 0, {kA, kB, kC}, bytesOf({0, 1, 2, 0, 2, 2, 1, 0})};
}

BmpParts rle8() {
  // Bottom row: a run of five 1s. Middle: absolute 0 1 2 (padded), then a run of two 2s.
  // Top: two pixels skipped by a delta, then three 1s, and the end mark.
  return {5, 3, 8, 1, {kA, kB, kC},
          bytesOf({5, 1, 0, 0, 0, 3, 0, 1, 2, 0, 2, 2, 0, 0, 0, 2, 2, 0, 3, 1, 0, 1})};
}

std::string withField(std::string bytes, size_t offset, uint32_t value, int size = 4) {
  putLittleEndian(bytes, offset, value, size);
  return bytes;
}

struct DecodeCase {
  const char* name;
  std::string file;
  int width;
  int height;
  std::vector<uint32_t> pixels;  // top row first
};

std::vector<DecodeCase> decodeCases() {
  BmpParts topDown = plain8();
  topDown.height = -2;
  const BmpParts fullPalette1{3, 2, 1, 0, {kA, kB}, bytesOf({0xA0, 0, 0, 0, 0x60, 0, 0, 0})};
  return {
      {"1 bit", buildBmp(fullPalette1), 3, 2, {kA, kB, kB, kB, kA, kB}},
      {"1 bit, palette size left 0", withField(buildBmp(fullPalette1), 46, 0), 3, 2,
       {kA, kB, kB, kB, kA, kB}},
      {"4 bit", buildBmp({3, 2, 4, 0, {kA, kB, kC}, bytesOf({0x20, 0x10, 0, 0, 0x11, 0x20, 0, 0})}),
       3, 2, {kB, kB, kC, kC, kA, kB}},
      {"8 bit", buildBmp(plain8()), 3, 2, {kC, kC, kB, kA, kB, kC}},
      {"8 bit top-down", buildBmp(topDown), 3, 2, {kA, kB, kC, kC, kC, kB}},
      {"24 bit",
       buildBmp({2, 2, 24, 0, {},
                 bytesOf({3, 2, 1, 6, 5, 4, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0})}),
       2, 2, {0xFF0000, 0x00FF00, 0x010203, 0x040506}},
      {"RLE8 runs, absolute, delta", buildBmp(rle8()), 5, 3,
       {kA, kA, kB, kB, kB, kA, kB, kC, kC, kC, kB, kB, kB, kB, kB}},
  };
}

TEST(DecodeBitmap, DecodesEachStoredFormatTopRowFirst) {
  for (const DecodeCase& c : decodeCases()) {
    SCOPED_TRACE(c.name);
    const auto image = decodeBitmap(c.file);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, c.width);
    EXPECT_EQ(image->height, c.height);
    EXPECT_THAT(image->pixels, ElementsAreArray(c.pixels));
  }
}

TEST(DecodeBitmap, AtReadsByColumnAndRow) {
  const auto image = decodeBitmap(buildBmp(rle8()));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->at(0, 0), kA);
  EXPECT_EQ(image->at(2, 1), kC);
  EXPECT_EQ(image->at(4, 2), kB);
}

TEST(ReadBitmapFormat, ReportsTheStorage) {
  struct Case {
    const char* name;
    std::string file;
    int bits;
    BitmapCompression compression;
    int paletteSize;
    bool topDown;
  };
  BmpParts topDown = plain8();
  topDown.height = -2;
  const Case cases[] = {
      {"8 bit", buildBmp(plain8()), 8, BitmapCompression::None, 3, false},
      {"RLE8", buildBmp(rle8()), 8, BitmapCompression::Rle8, 3, false},
      {"top-down", buildBmp(topDown), 8, BitmapCompression::None, 3, true},
      {"24 bit", buildBmp({1, 1, 24, 0, {}, bytesOf({1, 2, 3, 0})}), 24,
       BitmapCompression::None, 0, false},
      {"4 bit with the full palette implied",
       withField(buildBmp({1, 1, 4, 0, std::vector<uint32_t>(16), bytesOf({0, 0, 0, 0})}), 46, 0),
       4, BitmapCompression::None, 16, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto format = readBitmapFormat(c.file);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->bitsPerPixel, c.bits);
    EXPECT_EQ(format->compression, c.compression);
    EXPECT_EQ(format->paletteSize, c.paletteSize);
    EXPECT_EQ(format->topDown, c.topDown);
    EXPECT_GT(format->height, 0);
  }
}

TEST(DecodeBitmap, RejectsEveryTruncation) {
  for (const DecodeCase& c : decodeCases()) {
    SCOPED_TRACE(c.name);
    for (size_t length = 0; length < c.file.size(); ++length)
      EXPECT_FALSE(decodeBitmap(c.file.substr(0, length)).has_value()) << "length " << length;
  }
}

TEST(DecodeBitmap, RejectsMalformedFiles) {
  const std::string plain = buildBmp(plain8());
  const auto rleWith = [](std::initializer_list<int> stream) {
    BmpParts parts = rle8();
    parts.pixels = bytesOf(stream);
    return buildBmp(parts);
  };
  BmpParts topDownRle = rle8();
  topDownRle.height = -3;
  BmpParts badIndex = plain8();
  badIndex.pixels[1] = 7;
  struct Case {
    const char* name;
    std::string file;
  };
  const Case cases[] = {
      {"not a BMP", withField(plain, 0, 'X', 1)},
      {"core header", withField(plain, 14, 12)},
      {"header past the end", withField(plain, 14, 4000)},
      {"two planes", withField(plain, 26, 2, 2)},
      {"16 bits", withField(plain, 28, 16, 2)},
      {"bit fields", withField(plain, 30, 3)},
      {"RLE4", withField(withField(plain, 28, 4, 2), 30, 2)},
      {"RLE8 with 24 bits", withField(withField(plain, 28, 24, 2), 30, 1)},
      {"zero width", withField(plain, 18, 0)},
      {"negative width", withField(plain, 18, static_cast<uint32_t>(-3))},
      {"zero height", withField(plain, 22, 0)},
      {"absurd width", withField(plain, 18, 100000)},
      {"absurd pixel count", withField(withField(plain, 18, 8192), 22, 8192)},
      {"more colours than 8 bits hold", withField(plain, 46, 257)},
      {"palette past the end", withField(plain, 46, 256)},
      {"pixels past the end", withField(plain, 10, 10000)},
      {"pixels inside the palette", withField(plain, 10, 54)},
      {"index beyond the palette", buildBmp(badIndex)},
      {"top-down RLE8", buildBmp(topDownRle)},
      {"RLE size past the end", withField(buildBmp(rle8()), 34, 200)},
      {"run longer than the row", rleWith({6, 1, 0, 1})},
      {"run beyond the last row", rleWith({0, 0, 0, 0, 0, 0, 1, 1, 0, 1})},
      {"line end beyond the last row", rleWith({0, 0, 0, 0, 0, 0, 0, 0, 0, 1})},
      {"absolute run longer than the row", rleWith({0, 6, 1, 1, 1, 1, 1, 1, 0, 1})},
      {"absolute run past the data", rleWith({0, 5, 1, 2})},
      {"absolute run without its padding", rleWith({0, 3, 1, 1, 1})},
      {"delta beyond the right edge", rleWith({0, 2, 6, 0, 0, 1})},
      {"delta above the top", rleWith({0, 2, 0, 4, 0, 1})},
      {"delta cut short", rleWith({0, 2, 1})},
      {"run index beyond the palette", rleWith({2, 9, 0, 1})},
      {"absolute index beyond the palette", rleWith({0, 3, 0, 9, 1, 0, 0, 1})},
      {"no end mark", rleWith({5, 1, 0, 0, 5, 1, 0, 0, 5, 1, 0, 0})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(decodeBitmap(c.file).has_value());
  }
}

// Every byte of each sample file set to values that steer the parser elsewhere: whatever is
// decoded must match its own header (and AddressSanitizer watches the reads and writes).
TEST(DecodeBitmap, SurvivesCorruptionOfAnyByte) {
  for (const DecodeCase& c : decodeCases()) {
    SCOPED_TRACE(c.name);
    for (size_t at = 0; at < c.file.size(); ++at) {
      for (int value : {0x00, 0x01, 0x02, 0x03, 0x7F, 0x80, 0xFE, 0xFF}) {
        std::string file = c.file;
        file[at] = static_cast<char>(value);
        const auto image = decodeBitmap(file);
        if (!image) continue;
        const auto format = readBitmapFormat(file);
        ASSERT_TRUE(format.has_value());
        EXPECT_EQ(image->width, format->width);
        EXPECT_EQ(image->height, format->height);
        EXPECT_EQ(image->pixels.size(), static_cast<size_t>(image->width) * image->height);
      }
    }
  }
}

TEST(BitmapFileName, NamesTheFileByResourceId) {
  EXPECT_EQ(bitmapFileName(101), "bitmap_101.bmp");
  EXPECT_EQ(bitmapFileName(7), "bitmap_7.bmp");
}

TEST(LoadBitmapById, ReadsTheFileOfThatIdFromTheFolder) {
  ScratchFolder folder;
  ScratchFolder::writeFile("bitmap_7.bmp", buildBmp(rle8()));
  ScratchFolder::writeFile("bitmap_8.bmp", "BM not really");
  const auto image = loadBitmapById(folder.path().string(), 7);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 5);
  EXPECT_EQ(image->at(0, 2), kB);
  EXPECT_FALSE(loadBitmapById(folder.path().string(), 8).has_value());
  EXPECT_FALSE(loadBitmapById(folder.path().string(), 9).has_value());
}

}  // namespace
