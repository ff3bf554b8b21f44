#include "render/BmpReader.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace karvelo::test {
namespace {

// Builds BMP files in memory, so every pixel depth and header kind is checked against
// pixels we chose.
struct BmpPicture {
  int width = 3;
  int height = 2;  // negative: rows stored top-down
  int bitCount = 8;
  bool coreHeader = false;
  std::uint32_t compression = 0;
  std::vector<TColor> table;        // colour table (indexed depths)
  std::vector<std::uint32_t> rows;  // pixel values, top row first: index or 0x00BBGGRR
  int tableCountField = -1;         // written as biClrUsed when >= 0
};

void Put16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

std::string MakeBmp(const BmpPicture& b) {
  const int rows = b.height < 0 ? -b.height : b.height;
  const std::size_t stride =
      (static_cast<std::size_t>(b.width) * static_cast<std::size_t>(b.bitCount) + 31) / 32 * 4;
  std::string pixels(stride * static_cast<std::size_t>(rows), '\0');
  for (int r = 0; r < rows; ++r) {
    const int stored = b.height < 0 ? r : rows - 1 - r;
    char* row = pixels.data() + static_cast<std::size_t>(stored) * stride;
    for (int x = 0; x < b.width; ++x) {
      const std::uint32_t v = b.rows[static_cast<std::size_t>(r * b.width + x)];
      if (b.bitCount >= 24) {
        const int bytes = b.bitCount / 8;
        row[x * bytes] = static_cast<char>((v >> 16) & 0xFF);
        row[x * bytes + 1] = static_cast<char>((v >> 8) & 0xFF);
        row[x * bytes + 2] = static_cast<char>(v & 0xFF);
      } else {
        const int bit = x * b.bitCount;
        const int shift = 8 - b.bitCount - bit % 8;
        row[bit / 8] = static_cast<char>(static_cast<unsigned char>(row[bit / 8]) | (v << shift));
      }
    }
  }
  std::string table;
  for (const TColor c : b.table) {
    table += static_cast<char>(BlueOf(c));
    table += static_cast<char>(GreenOf(c));
    table += static_cast<char>(RedOf(c));
    if (!b.coreHeader) table += '\0';
  }
  std::string dib;
  if (b.coreHeader) {
    Put32(dib, 12);
    Put16(dib, static_cast<std::uint32_t>(b.width));
    Put16(dib, static_cast<std::uint32_t>(b.height));
    Put16(dib, 1);
    Put16(dib, static_cast<std::uint32_t>(b.bitCount));
  } else {
    Put32(dib, 40);
    Put32(dib, static_cast<std::uint32_t>(b.width));
    Put32(dib, static_cast<std::uint32_t>(b.height));
    Put16(dib, 1);
    Put16(dib, static_cast<std::uint32_t>(b.bitCount));
    Put32(dib, b.compression);
    Put32(dib, static_cast<std::uint32_t>(pixels.size()));
    Put32(dib, 2835);
    Put32(dib, 2835);
    Put32(dib, static_cast<std::uint32_t>(
                   b.tableCountField >= 0 ? b.tableCountField : static_cast<int>(b.table.size())));
    Put32(dib, 0);
  }
  const std::uint32_t offset = static_cast<std::uint32_t>(14 + dib.size() + table.size());
  std::string file = "BM";
  Put32(file, offset + static_cast<std::uint32_t>(pixels.size()));
  Put32(file, 0);
  Put32(file, offset);
  return file + dib + table + pixels;
}

const TColor Red = MakeRgb(255, 0, 0);
const TColor Green = MakeRgb(0, 255, 0);
const TColor Blue = MakeRgb(0, 0, 255);
const TColor Black = MakeRgb(0, 0, 0);

std::vector<TColor> Decode(const std::string& bytes) {
  PatternBitmap bitmap;
  std::string error;
  EXPECT_TRUE(DecodeBmp(bytes, bitmap, &error)) << error;
  return bitmap.pixels;
}

TEST(BmpReader, IndexedDepthsDecodeTopRowFirst) {
  const std::vector<TColor> table{Black, Red, Green, Blue};
  const std::vector<TColor> expected{Red, Green, Blue, Black, Blue, Red};
  for (const int depth : {4, 8}) {
    BmpPicture b;
    b.bitCount = depth;
    b.table = table;
    b.rows = {1, 2, 3, 0, 3, 1};
    EXPECT_EQ(Decode(MakeBmp(b)), expected) << depth << " bit";
  }
}

TEST(BmpReader, OneBitRowsWiderThanAByteAndPadded) {
  BmpPicture b;
  b.width = 10;
  b.height = 2;
  b.bitCount = 1;
  b.table = {MakeRgb(255, 255, 255), Black};
  b.rows = {1, 0, 0, 0, 0, 0, 0, 0, 1, 1, /**/ 0, 1, 0, 1, 0, 1, 0, 1, 0, 0};
  PatternBitmap bitmap;
  ASSERT_TRUE(DecodeBmp(MakeBmp(b), bitmap));
  EXPECT_EQ(bitmap.width, 10);
  EXPECT_EQ(bitmap.height, 2);
  for (std::size_t i = 0; i < b.rows.size(); ++i)
    EXPECT_EQ(bitmap.pixels[i], b.rows[i] ? Black : MakeRgb(255, 255, 255)) << i;
}

TEST(BmpReader, DirectColourDepthsAndTopDownRows) {
  const std::vector<std::uint32_t> rows{
      Red, Green, Blue, MakeRgb(1, 2, 3), MakeRgb(4, 5, 6), MakeRgb(7, 8, 9)};
  const std::vector<TColor> expected(rows.begin(), rows.end());
  for (const int depth : {24, 32}) {
    for (const int height : {2, -2}) {
      BmpPicture b;
      b.bitCount = depth;
      b.height = height;
      b.rows = rows;
      EXPECT_EQ(Decode(MakeBmp(b)), expected) << depth << " bit, height " << height;
    }
  }
}

TEST(BmpReader, CoreHeaderWithThreeByteColourTable) {
  BmpPicture b;
  b.coreHeader = true;
  b.bitCount = 8;
  b.table = std::vector<TColor>(256, Black);
  b.table[7] = Green;
  b.rows = {7, 0, 7, 0, 7, 0};
  EXPECT_EQ(Decode(MakeBmp(b)), (std::vector<TColor>{Green, Black, Green, Black, Green, Black}));
}

TEST(BmpReader, DamagedOrUnsupportedFilesAreRefused) {
  BmpPicture good;
  good.table = {Black, Red};
  good.rows = {0, 1, 0, 1, 0, 1};
  const std::string valid = MakeBmp(good);

  std::vector<std::pair<const char*, std::string>> cases;
  cases.push_back({"empty", ""});
  cases.push_back({"not BM", "XY" + valid.substr(2)});
  cases.push_back({"header cut", valid.substr(0, 30)});
  cases.push_back({"pixels cut", valid.substr(0, valid.size() - 3)});
  auto variant = [&](auto change) {
    BmpPicture b = good;
    change(b);
    return MakeBmp(b);
  };
  cases.push_back({"compressed", variant([](BmpPicture& b) { b.compression = 1; })});
  std::string sixteen = valid;
  sixteen[28] = '\x10';  // 16 bits per pixel
  cases.push_back({"16 bit", sixteen});
  cases.push_back({"index beyond table", variant([](BmpPicture& b) { b.rows[2] = 5; })});
  cases.push_back({"table too long", variant([](BmpPicture& b) {
                     b.bitCount = 1;
                     b.rows = {0, 1, 0, 1, 0, 1};
                     b.tableCountField = 3;
                   })});
  std::string huge = valid;
  huge[18] = '\0';
  huge[19] = '\0';
  huge[20] = '\x01';  // width 65536
  cases.push_back({"too wide", huge});
  std::string zero = valid;
  zero[22] = zero[23] = zero[24] = zero[25] = '\0';  // height 0
  cases.push_back({"no rows", zero});
  std::string offset = valid;
  offset[13] = '\x7F';  // pixel data far beyond the file
  cases.push_back({"offset beyond file", offset});

  for (const auto& [name, bytes] : cases) {
    PatternBitmap bitmap;
    bitmap.width = 99;
    std::string error;
    EXPECT_FALSE(DecodeBmp(bytes, bitmap, &error)) << name;
    EXPECT_FALSE(error.empty()) << name;
    EXPECT_EQ(bitmap.width, 99) << name << ": output touched";
  }
}

TEST(BmpReader, MissingFileSaysSo) {
  PatternBitmap bitmap;
  std::string error;
  EXPECT_FALSE(ReadBmpFile("/nonexistent/PT0.BMP", bitmap, &error));
  EXPECT_EQ(error, "cannot be opened");
}

}  // namespace
}  // namespace karvelo::test
