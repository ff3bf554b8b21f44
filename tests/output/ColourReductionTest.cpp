#include "output/ColourReduction.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <set>

#include "output/OutputTestImages.h"

namespace karvelo {
namespace {

QImage Ramp(int colours) {
  QImage image(colours, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < colours; ++x) image.setPixel(x, y, qRgb(x & 255, x >> 8, 7));
  }
  return image;
}

TEST(IndexExactly, KeepsEveryColourUpTo256) {
  for (const int colours : {1, 2, 255, 256}) {
    const QImage image = Ramp(colours);
    const auto indexed = IndexExactly(image);
    ASSERT_TRUE(indexed) << colours;
    EXPECT_EQ(indexed->palette.size(), static_cast<std::size_t>(colours));
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < colours; ++x) {
        EXPECT_EQ(indexed->palette[indexed->Row(y)[x]], image.pixel(x, y));
      }
    }
  }
  EXPECT_FALSE(IndexExactly(Ramp(257)));
  EXPECT_FALSE(IndexExactly(Ramp(5), 4));
  EXPECT_TRUE(IndexExactly(Ramp(4), 4));
}

TEST(QuantizeStucki, PaletteHoldsTheStaticColoursAndAtMost256) {
  const QImage photo = testimages::Photo(160, 120);
  const IndexedImage q = QuantizeStucki(photo);
  ASSERT_LE(q.palette.size(), 256u);
  EXPECT_GT(q.palette.size(), 200u);  // a rich picture uses the room it has
  const std::set<QRgb> palette(q.palette.begin(), q.palette.end());
  for (const QRgb c : {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(192, 220, 192), qRgb(166, 202, 240),
                       qRgb(255, 251, 240), qRgb(160, 160, 164)}) {
    EXPECT_TRUE(palette.count(c)) << std::hex << c;
  }
  // The white border is a palette colour and stays exact.
  for (int x = 0; x < 160; ++x) EXPECT_EQ(q.palette[q.Row(0)[x]], qRgb(255, 255, 255));
}

TEST(QuantizeStucki, DitheringKeepsTheMeanColourOfEveryRegion) {
  const QImage photo = testimages::Photo(256, 192);
  const IndexedImage q = QuantizeStucki(photo);
  // Mean of each 16 x 16 block, before and after: error diffusion keeps them close.
  for (int by = 0; by + 16 <= 192; by += 16) {
    for (int bx = 0; bx + 16 <= 256; bx += 16) {
      std::array<long, 3> want{}, got{};
      for (int y = by; y < by + 16; ++y) {
        for (int x = bx; x < bx + 16; ++x) {
          const QRgb a = photo.pixel(x, y);
          const QRgb b = q.palette[q.Row(y)[x]];
          want[0] += qRed(a), want[1] += qGreen(a), want[2] += qBlue(a);
          got[0] += qRed(b), got[1] += qGreen(b), got[2] += qBlue(b);
        }
      }
      for (int ch = 0; ch < 3; ++ch) {
        EXPECT_LE(std::labs(want[ch] - got[ch]) / 256, 6) << bx << "," << by << " ch " << ch;
      }
    }
  }
}

TEST(ReduceTo256Colours, ExactWhenTheColoursFitElseQuantized) {
  const QImage diagram = testimages::Diagram(200, 100);
  const IndexedImage exact = ReduceTo256Colours(diagram);
  EXPECT_LE(exact.palette.size(), 18u);
  for (int y = 0; y < 100; y += 7) {
    for (int x = 0; x < 200; x += 3) EXPECT_EQ(exact.palette[exact.Row(y)[x]], diagram.pixel(x, y));
  }
  const IndexedImage reduced = ReduceTo256Colours(testimages::Photo(100, 80));
  EXPECT_LE(reduced.palette.size(), 256u);
  EXPECT_EQ(reduced.indices.size(), 8000u);
}

TEST(OpaqueRgb32, TransparentPartsBecomeWhite) {
  QImage image(4, 1, QImage::Format_ARGB32);
  image.setPixel(0, 0, qRgba(0, 0, 0, 0));
  image.setPixel(1, 0, qRgba(255, 0, 0, 255));
  image.setPixel(2, 0, qRgba(0, 0, 255, 0));
  image.setPixel(3, 0, qRgba(0, 0, 0, 128));
  const QImage opaque = OpaqueRgb32(image);
  EXPECT_EQ(opaque.format(), QImage::Format_RGB32);
  EXPECT_EQ(opaque.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(opaque.pixel(1, 0), qRgb(255, 0, 0));
  EXPECT_EQ(opaque.pixel(2, 0), qRgb(255, 255, 255));
  EXPECT_NEAR(qRed(opaque.pixel(3, 0)), 127, 2);
}

}  // namespace
}  // namespace karvelo
