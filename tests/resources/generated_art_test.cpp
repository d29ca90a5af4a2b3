// The fixed facts of the generated pictures: what the tile drawing, the counters and the
// resource script rely on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "shell/memory/bitmap_file.h"
#include "shell/whole_file.h"

namespace {

const std::string kFolder = TESSARA_BITMAP_DIR;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kFace = 0xC0C0C0;
constexpr uint32_t kRed = 0xFF0000;
// The black of the status images, the same as the panel's so that a segment copied onto
// the panel changes nothing but its bar.
constexpr uint32_t kStatusBlack = 0x040404;

std::optional<std::string> fileBytes(const std::string& name) {
  return readWholeFile(kFolder + "/" + name, 1 << 20);
}

std::optional<RgbImage> picture(int id) { return loadBitmapById(kFolder, id); }

// Per band of rows, the inclusive columns inside the hexagon.
struct Band {
  int firstRow, lastRow, firstColumn, lastColumn;
};

struct TileSet {
  const char* name;
  int size;
  std::vector<Band> outline;
  uint32_t black;  // outside the hexagon, and the mask's inside
  uint32_t darkGrey;
  int mask, covered, question, flag, open0, mine, wrongFlag, exploded;
  int open[7];  // open[1] .. open[6]
};

const TileSet kBig{"big", 24,
                   {{0, 1, 5, 18}, {2, 3, 4, 19}, {4, 5, 3, 20}, {6, 7, 2, 21}, {8, 9, 1, 22},
                    {10, 13, 0, 23}, {14, 15, 1, 22}, {16, 17, 2, 21}, {18, 19, 3, 20},
                    {20, 21, 4, 19}, {22, 23, 5, 18}},
                   0x040404, 0x868686,
                   101, 102, 110, 111, 103, 112, 127, 128,
                   {0, 104, 105, 106, 107, 108, 109}};
const TileSet kSmall{"small", 12,
                     {{0, 0, 3, 8}, {1, 2, 2, 9}, {3, 4, 1, 10}, {5, 6, 0, 11}, {7, 8, 1, 10},
                      {9, 10, 2, 9}, {11, 11, 3, 8}},
                     0x000000, 0x808080,
                     151, 149, 152, 147, 145, 148, 150, 146,
                     {0, 139, 140, 141, 142, 143, 144}};
const TileSet* const kSets[] = {&kBig, &kSmall};

bool inside(const TileSet& set, int x, int y) {
  for (const Band& b : set.outline)
    if (y >= b.firstRow && y <= b.lastRow) return x >= b.firstColumn && x <= b.lastColumn;
  return false;
}

// Inside pixels with a 4-neighbour outside: the hexagon's one-pixel edge.
bool onEdge(const TileSet& set, int x, int y) {
  return inside(set, x, y) && (!inside(set, x - 1, y) || !inside(set, x + 1, y) ||
                               !inside(set, x, y - 1) || !inside(set, x, y + 1));
}

std::vector<int> pictureIds(const TileSet& set) {
  std::vector<int> ids = {set.covered, set.question, set.flag, set.open0,
                          set.mine,    set.wrongFlag, set.exploded};
  ids.insert(ids.end(), set.open + 1, set.open + 7);
  return ids;
}

const uint32_t kDigitColours[7] = {0, 0x0000FF, 0x008000, 0xFF0000, 0x000080, 0x800080, 0x008080};

uint32_t readU32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

TEST(GeneratedArt, EachFileHasItsSizeAndStorage) {
  struct Case {
    int first, last;  // a range of ids
    int width, height, bits;
    BitmapCompression compression;
  };
  const auto rle = BitmapCompression::Rle8;
  const auto plain = BitmapCompression::None;
  const Case cases[] = {
      {101, 101, 24, 24, 8, rle},   {102, 102, 24, 24, 8, plain}, {103, 103, 24, 24, 8, rle},
      {104, 104, 24, 24, 8, plain}, {105, 112, 24, 24, 8, rle},   {127, 128, 24, 24, 8, rle},
      {139, 152, 12, 12, 4, plain}, {133, 133, 82, 36, 24, plain}, {134, 134, 3, 12, 24, plain},
      {135, 136, 12, 3, 24, plain}, {137, 137, 3, 12, 24, plain}, {116, 116, 48, 48, 8, plain},
  };
  for (const Case& c : cases) {
    for (int id = c.first; id <= c.last; ++id) {
      SCOPED_TRACE(bitmapFileName(id));
      const auto bytes = fileBytes(bitmapFileName(id));
      ASSERT_TRUE(bytes.has_value());
      const auto format = readBitmapFormat(*bytes);
      ASSERT_TRUE(format.has_value());
      EXPECT_EQ(format->width, c.width);
      EXPECT_EQ(format->height, c.height);
      EXPECT_EQ(format->bitsPerPixel, c.bits);
      EXPECT_EQ(format->compression, c.compression);
      EXPECT_FALSE(format->topDown);
      const auto image = decodeBitmap(*bytes);
      ASSERT_TRUE(image.has_value());
      EXPECT_EQ(image->width, c.width);
      EXPECT_EQ(image->height, c.height);
    }
  }
}

TEST(GeneratedArt, SmallTilesUseTheStandardSixteenColourPalette) {
  const uint32_t standard[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                 0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  for (int id = 139; id <= 152; ++id) {
    SCOPED_TRACE(bitmapFileName(id));
    const auto bytes = fileBytes(bitmapFileName(id));
    ASSERT_TRUE(bytes.has_value());
    const auto format = readBitmapFormat(*bytes);
    ASSERT_TRUE(format.has_value());
    ASSERT_EQ(format->paletteSize, 16);
    const size_t palette = 14 + readU32(*bytes, 14);
    for (int i = 0; i < 16; ++i)
      EXPECT_EQ(readU32(*bytes, palette + 4 * i) & 0xFFFFFF, standard[i]) << "entry " << i;
  }
}

TEST(GeneratedArt, MasksAreExactlyTheHexagon) {
  for (const TileSet* set : kSets) {
    SCOPED_TRACE(set->name);
    const auto mask = picture(set->mask);
    ASSERT_TRUE(mask.has_value());
    ASSERT_EQ(mask->width, set->size);
    ASSERT_EQ(mask->height, set->size);
    for (int y = 0; y < set->size; ++y)
      for (int x = 0; x < set->size; ++x)
        EXPECT_EQ(mask->at(x, y), inside(*set, x, y) ? set->black : kWhite)
            << "(" << x << ", " << y << ")";
  }
}

TEST(GeneratedArt, PicturesAreBlackOutsideTheHexagon) {
  for (const TileSet* set : kSets) {
    for (int id : pictureIds(*set)) {
      SCOPED_TRACE(bitmapFileName(id));
      const auto image = picture(id);
      ASSERT_TRUE(image.has_value());
      ASSERT_EQ(image->width, set->size);
      ASSERT_EQ(image->height, set->size);
      int wrong = 0;
      for (int y = 0; y < set->size; ++y)
        for (int x = 0; x < set->size; ++x)
          if (!inside(*set, x, y) && image->at(x, y) != set->black) ++wrong;
      EXPECT_EQ(wrong, 0);
    }
  }
}

// A picture drawn over another: it differs from its base only in the given colours, and
// shows each of the required ones.
struct Overlay {
  const TileSet* set;
  int id;
  int base;
  std::set<uint32_t> allowed;
  std::set<uint32_t> required;
};

TEST(GeneratedArt, PicturesAddOnlyTheirOwnColoursToTheirBase) {
  std::vector<Overlay> cases = {
      {&kBig, 110, 102, {kBlack}, {kBlack}},
      {&kBig, 111, 102, {kRed, 0x800000, kBlack}, {kRed, 0x800000, kBlack}},
      {&kBig, 127, 112, {kRed}, {kRed}},
      {&kSmall, 152, 149, {kBlack}, {kBlack}},
      {&kSmall, 147, 149, {kRed, 0x800000, kBlack}, {kRed, kBlack}},
      {&kSmall, 148, 149, {kBlack, kWhite}, {kBlack, kWhite}},
      {&kSmall, 150, 148, {kRed}, {kRed}},
  };
  for (const TileSet* set : kSets)
    for (int digit = 1; digit <= 6; ++digit)
      cases.push_back({set, set->open[digit], set->open0, {kDigitColours[digit]},
                       {kDigitColours[digit]}});
  for (const Overlay& c : cases) {
    SCOPED_TRACE(bitmapFileName(c.id));
    const auto image = picture(c.id);
    const auto base = picture(c.base);
    ASSERT_TRUE(image.has_value());
    ASSERT_TRUE(base.has_value());
    std::set<uint32_t> added;
    for (int y = 0; y < c.set->size; ++y) {
      for (int x = 0; x < c.set->size; ++x) {
        const uint32_t p = image->at(x, y);
        if (p == base->at(x, y)) continue;
        added.insert(p);
        EXPECT_TRUE(c.allowed.count(p)) << "(" << x << ", " << y << ") is " << std::hex << p;
      }
    }
    for (uint32_t colour : c.required) EXPECT_TRUE(added.count(colour)) << std::hex << colour;
  }
}

TEST(GeneratedArt, DigitsAreCentredAndOfTheirSize) {
  struct Size {
    const TileSet* set;
    int minWidth, maxWidth, minHeight, maxHeight;
  };
  for (const Size& s : {Size{&kBig, 6, 8, 11, 13}, Size{&kSmall, 3, 5, 5, 7}}) {
    const auto open0 = picture(s.set->open0);
    ASSERT_TRUE(open0.has_value());
    for (int digit = 1; digit <= 6; ++digit) {
      SCOPED_TRACE(bitmapFileName(s.set->open[digit]));
      const auto image = picture(s.set->open[digit]);
      ASSERT_TRUE(image.has_value());
      int left = s.set->size, right = -1, top = s.set->size, bottom = -1;
      for (int y = 0; y < s.set->size; ++y)
        for (int x = 0; x < s.set->size; ++x)
          if (image->at(x, y) != open0->at(x, y)) {
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
          }
      ASSERT_GE(right, 0);
      EXPECT_GE(right - left + 1, s.minWidth);
      EXPECT_LE(right - left + 1, s.maxWidth);
      EXPECT_GE(bottom - top + 1, s.minHeight);
      EXPECT_LE(bottom - top + 1, s.maxHeight);
      // Twice the centre, to stay in whole numbers: the tile's is size - 1.
      EXPECT_LE(std::abs(left + right - (s.set->size - 1)), 2);
      EXPECT_LE(std::abs(top + bottom - (s.set->size - 1)), 2);
    }
  }
}

TEST(GeneratedArt, CoveredTilesAreLitFromTheUpperLeft) {
  for (const TileSet* set : kSets) {
    SCOPED_TRACE(set->name);
    const auto image = picture(set->covered);
    ASSERT_TRUE(image.has_value());
    const int n = set->size;
    const Band& top = set->outline.front();
    const Band& bottom = set->outline.back();
    for (int x = top.firstColumn; x <= top.lastColumn; ++x) EXPECT_EQ(image->at(x, 0), kWhite);
    for (int x = bottom.firstColumn; x <= bottom.lastColumn; ++x)
      EXPECT_EQ(image->at(x, n - 1), kBlack);
    // Two rows in from the top and the bottom, at the ends of the row: the four slanted sides.
    const auto ends = [&](int y) {
      for (const Band& b : set->outline)
        if (y >= b.firstRow && y <= b.lastRow) return std::make_pair(b.firstColumn, b.lastColumn);
      return std::make_pair(0, 0);
    };
    EXPECT_EQ(image->at(ends(2).first, 2), kWhite) << "upper left";
    EXPECT_EQ(image->at(ends(2).second, 2), set->darkGrey) << "upper right";
    EXPECT_EQ(image->at(ends(n - 3).first, n - 3), set->darkGrey) << "lower left";
    EXPECT_EQ(image->at(ends(n - 3).second, n - 3), kBlack) << "lower right";
    EXPECT_EQ(image->at(n / 2, n / 2), kFace);
    std::set<uint32_t> colours(image->pixels.begin(), image->pixels.end());
    EXPECT_EQ(colours, (std::set<uint32_t>{kWhite, kFace, set->darkGrey, kBlack, set->black}));
  }
}

TEST(GeneratedArt, OpenedFacesAreFlatWithTheirEdge) {
  struct Case {
    const TileSet* set;
    int id;
    std::optional<uint32_t> edge;  // none: the face reaches the outline
  };
  const Case cases[] = {{&kBig, 103, 0xB2B2B2}, {&kSmall, 145, std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(bitmapFileName(c.id));
    const auto image = picture(c.id);
    ASSERT_TRUE(image.has_value());
    for (int y = 0; y < c.set->size; ++y) {
      for (int x = 0; x < c.set->size; ++x) {
        if (!inside(*c.set, x, y)) continue;
        EXPECT_EQ(image->at(x, y), onEdge(*c.set, x, y) && c.edge ? *c.edge : kFace)
            << "(" << x << ", " << y << ")";
      }
    }
  }
}

TEST(GeneratedArt, BigMineLiesOnTheOpenedFaceWithADarkEdge) {
  const auto image = picture(kBig.mine);
  ASSERT_TRUE(image.has_value());
  std::map<uint32_t, int> inner;
  for (int y = 0; y < kBig.size; ++y) {
    for (int x = 0; x < kBig.size; ++x) {
      if (onEdge(kBig, x, y)) {
        EXPECT_EQ(image->at(x, y), 0x868686u) << "(" << x << ", " << y << ")";
      } else if (inside(kBig, x, y)) {
        ++inner[image->at(x, y)];
      }
    }
  }
  EXPECT_EQ(inner.size(), 3u);
  EXPECT_GT(inner[kFace], 0);
  EXPECT_GT(inner[kBlack], 60);  // a ball, not a speck
  EXPECT_GT(inner[kWhite], 0);
}

TEST(GeneratedArt, ExplodedIsTheMineOnARedFace) {
  for (const TileSet* set : kSets) {
    SCOPED_TRACE(set->name);
    const auto mine = picture(set->mine);
    const auto exploded = picture(set->exploded);
    ASSERT_TRUE(mine.has_value());
    ASSERT_TRUE(exploded.has_value());
    for (int y = 0; y < set->size; ++y) {
      for (int x = 0; x < set->size; ++x) {
        if (!inside(*set, x, y)) continue;
        const uint32_t m = mine->at(x, y);
        const uint32_t e = exploded->at(x, y);
        if (onEdge(*set, x, y)) {
          EXPECT_TRUE(e == kRed || e == kBlack) << "(" << x << ", " << y << ")";
        } else if (m == kBlack || m == kWhite) {
          EXPECT_EQ(e, m) << "(" << x << ", " << y << ")";
        } else {
          EXPECT_EQ(e, kRed) << "(" << x << ", " << y << ")";
        }
      }
    }
  }
}

// The segment bars, per row the inclusive columns of the bar; the rest is black.
struct Segment {
  int id;
  int width;
  std::vector<std::pair<int, int>> rows;
  uint32_t colour;
};

std::vector<std::pair<int, int>> verticalBar() {
  std::vector<std::pair<int, int>> rows(12, {0, 2});
  rows.front() = rows.back() = {1, 1};
  return rows;
}

const std::vector<std::pair<int, int>> kHorizontalBar = {{1, 10}, {0, 11}, {1, 10}};

TEST(GeneratedArt, SegmentsHaveTheirCutCornersAndColours) {
  const Segment segments[] = {
      {134, 3, verticalBar(), 0x330000},
      {135, 12, kHorizontalBar, 0x330000},
      {136, 12, kHorizontalBar, 0xFF0000},
      {137, 3, verticalBar(), 0xFF0000},
  };
  for (const Segment& s : segments) {
    SCOPED_TRACE(bitmapFileName(s.id));
    const auto image = picture(s.id);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, s.width);
    ASSERT_EQ(image->height, static_cast<int>(s.rows.size()));
    for (int y = 0; y < image->height; ++y)
      for (int x = 0; x < image->width; ++x) {
        const bool bar = x >= s.rows[y].first && x <= s.rows[y].second;
        EXPECT_EQ(image->at(x, y), bar ? s.colour : kStatusBlack) << "(" << x << ", " << y << ")";
      }
  }
}

TEST(GeneratedArt, CounterPanelShowsFourUnlitDigitsAtTheirOrigins) {
  const auto panel = picture(133);
  ASSERT_TRUE(panel.has_value());
  ASSERT_EQ(panel->width, 82);
  ASSERT_EQ(panel->height, 36);
  std::vector<uint32_t> expected(82 * 36, kStatusBlack);
  const auto bar = [&](int x0, int y0, const std::vector<std::pair<int, int>>& rows) {
    for (size_t y = 0; y < rows.size(); ++y)
      for (int x = rows[y].first; x <= rows[y].second; ++x)
        expected[(y0 + y) * 82 + x0 + x] = 0x330000;
  };
  const int origins[4][2] = {{2, 1}, {22, 1}, {42, 1}, {62, 1}};
  for (const auto& o : origins) {
    for (int dy : {0, 15, 30}) bar(o[0] + 3, o[1] + dy, kHorizontalBar);
    for (int dx : {0, 15})
      for (int dy : {3, 18}) bar(o[0] + dx, o[1] + dy, verticalBar());
  }
  for (int y = 0; y < 36; ++y)
    for (int x = 0; x < 82; ++x)
      EXPECT_EQ(panel->at(x, y), expected[y * 82 + x]) << "(" << x << ", " << y << ")";
}

TEST(GeneratedArt, AboutPictureIsTheNameOnAGreyHoneycomb) {
  const auto bytes = fileBytes(bitmapFileName(116));
  ASSERT_TRUE(bytes.has_value());
  const auto format = readBitmapFormat(*bytes);
  ASSERT_TRUE(format.has_value());
  EXPECT_EQ(format->paletteSize, 256);
  const auto image = decodeBitmap(*bytes);
  ASSERT_TRUE(image.has_value());
  std::map<uint32_t, int> count;
  for (uint32_t p : image->pixels) ++count[p];
  int lightGrey = 0;
  for (const auto& [colour, n] : count) {
    const int r = colour >> 16, g = colour >> 8 & 0xFF, b = colour & 0xFF;
    if (r == g && g == b && r >= 0xA0 && r < 0xF0) lightGrey += n;
  }
  EXPECT_GT(count[kWhite], 48 * 48 / 2);  // the ground
  EXPECT_GT(lightGrey, 100);
  EXPECT_GT(count[kBlack], 100);
  EXPECT_GT(count[kRed], 100);
}

TEST(GeneratedArt, IconHoldsA32And16PixelImageClearOutsideTheTile) {
  const auto bytes = fileBytes("icon_126.ico");
  ASSERT_TRUE(bytes.has_value());
  const std::string& ico = *bytes;
  ASSERT_GE(ico.size(), 6u + 2 * 16);
  const auto u16 = [&](size_t at) {
    return static_cast<uint8_t>(ico[at]) | static_cast<uint8_t>(ico[at + 1]) << 8;
  };
  EXPECT_EQ(u16(0), 0);
  EXPECT_EQ(u16(2), 1);  // an icon, not a cursor
  ASSERT_EQ(u16(4), 2);
  std::set<int> sizes;
  for (int i = 0; i < 2; ++i) {
    const size_t entry = 6 + 16 * i;
    const int side = static_cast<uint8_t>(ico[entry]);
    SCOPED_TRACE(side);
    sizes.insert(side);
    EXPECT_EQ(static_cast<uint8_t>(ico[entry + 1]), side);
    EXPECT_EQ(u16(entry + 6), 32);
    const uint32_t length = readU32(ico, entry + 8);
    const uint32_t offset = readU32(ico, entry + 12);
    const uint32_t maskStride = (side + 31) / 32 * 4;
    ASSERT_EQ(length, 40 + side * side * 4 + maskStride * side);
    ASSERT_LE(offset + length, ico.size());
    EXPECT_EQ(readU32(ico, offset), 40u);
    EXPECT_EQ(readU32(ico, offset + 4), static_cast<uint32_t>(side));
    EXPECT_EQ(readU32(ico, offset + 8), static_cast<uint32_t>(2 * side));  // colour and mask
    // Rows are stored bottom-up: the bottom-left corner comes first, the centre half way.
    const size_t colours = offset + 40;
    const size_t mask = colours + side * side * 4;
    const auto alpha = [&](int x, int yFromBottom) {
      return static_cast<uint8_t>(ico[colours + 4 * (yFromBottom * side + x) + 3]);
    };
    const auto clear = [&](int x, int yFromBottom) {
      const auto bits = static_cast<uint8_t>(ico[mask + yFromBottom * maskStride + x / 8]);
      return bits >> (7 - x % 8) & 1;
    };
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(clear(0, 0), 1);
    EXPECT_EQ(alpha(side / 2, side / 2), 255);
    EXPECT_EQ(clear(side / 2, side / 2), 0);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 32}));
}

TEST(GeneratedArt, ContactSheetIsAPicture) {
  const auto bytes = readWholeFile(kFolder + "/contact_sheet.png", 64 << 20);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
}

}  // namespace
