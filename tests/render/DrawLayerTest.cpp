#include "render/DrawLayer.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/Files.h"
#include "render/RenderFixture.h"

namespace karvelo::test {
namespace {

namespace fs = std::filesystem;

using DrawLayerTest = RenderTest;

// ---- Text placement ----------------------------------------------------------------------

struct TextCase {
  int h, v, x, y;
  const char* text;
  int left, top;  // expected top-left corner
};

TEST_F(DrawLayerTest, OutTextXYJustifiesAndPullsTextOntoThePage) {
  // Characters are 8 px wide and 12 px high on the recording canvas.
  const TextCase cases[] = {
      {LeftText, TopText, 10, 20, "abcd", 10, 20},
      {CenterText, CenterText, 100, 100, "abcd", 84, 94},
      {RightText, BottomText, 100, 100, "abcd", 68, 88},
      {CenterText, TopText, 100, 100, "abc", 88, 100},    // 24 / 2
      {RightText, BottomText, 10, 5, "abcd", 0, 0},       // left of and above the page
      {LeftText, TopText, 1200, 900, "abcd", 1000, 800},  // beyond the right/bottom edge
      {LeftText, TopText, -50, -1, "a", 0, 0},
      {3, TopText, 500, 50, "abcd", 0, 50},  // unknown horizontal code
      {-1, TopText, 500, 50, "abcd", 0, 50},
      {LeftText, 7, 500, 50, "abcd", 500, 50},  // unknown vertical code: as top
  };
  for (const auto& c : cases) {
    canvas.Clear();
    SetTextJustify(c.h, c.v);
    OutTextXY(c.x, c.y, c.text);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].x, c.left) << c.h << "/" << c.v << " at " << c.x << "," << c.y;
    EXPECT_EQ(canvas.texts[0].y, c.top) << c.h << "/" << c.v << " at " << c.x << "," << c.y;
  }
}

TEST_F(DrawLayerTest, OddTextSizesHalveTowardsZero) {
  canvas.charWidth = 5;  // "abc" is 15 wide
  canvas.textHeight = 13;
  SetTextJustify(CenterText, CenterText);
  OutTextXY(100, 100, "abc");
  EXPECT_EQ(canvas.texts[0].x, 93);
  EXPECT_EQ(canvas.texts[0].y, 94);
}

TEST_F(DrawLayerTest, TextIsClampedBeforeTheViewportOffsetIsAdded) {
  SetViewPort(100, 50, 400, 300);
  SetTextJustify(LeftText, TopText);
  OutTextXY(10, 10, "x");
  OutTextXY(-30, -30, "y");
  EXPECT_EQ(canvas.texts[0].x, 110);
  EXPECT_EQ(canvas.texts[0].y, 60);
  EXPECT_EQ(canvas.texts[1].x, 100);
  EXPECT_EQ(canvas.texts[1].y, 50);
}

TEST_F(DrawLayerTest, TransparentTextUnlessOpaqueAndTheBrushComesBack) {
  canvas.SetBrushStyle(BrushStyle::Solid);
  OutTextXY(10, 10, "clear");
  EXPECT_EQ(canvas.texts.back().brush, BrushStyle::Clear);
  EXPECT_EQ(canvas.brushStyle, BrushStyle::Solid);

  SetTextOpaque(1);
  OutTextXY(10, 10, "boxed");
  EXPECT_EQ(canvas.texts.back().brush, BrushStyle::Solid);
  EXPECT_EQ(canvas.brushStyle, BrushStyle::Solid);
}

TEST_F(DrawLayerTest, NothingIsDrawnWithoutACanvasAndNothingCrashes) {
  CurrentCanvas = nullptr;
  OutTextXY(1, 1, "x");
  Line(0, 0, 5, 5);
  const TPoint pts[3] = {{0, 0}, {1, 0}, {0, 1}};
  FillPoly(pts, 3);
  PutPixel(1, 1, 0, 0);
  SetViewPort(1, 1, 2, 2);
  ResetViewPort();
  EXPECT_TRUE(canvas.calls.empty());
}

// ---- Viewport ----------------------------------------------------------------------------

TEST_F(DrawLayerTest, ViewportOffsetsEveryPrimitiveAndClips) {
  SetViewPort(100, 50, 401, 300);
  EXPECT_TRUE(gDrawLayer.ViewPortActive);
  EXPECT_TRUE(canvas.clipped);
  EXPECT_EQ(canvas.clipX1, 100);
  EXPECT_EQ(canvas.clipY1, 50);
  EXPECT_EQ(canvas.clipX2, 401);
  EXPECT_EQ(canvas.clipY2, 300);

  Line(0, 0, 10, 20);
  LineRel(5, 5);  // from the page position, not translated again
  const TPoint tri[3] = {{0, 0}, {10, 0}, {0, 10}};
  FillPoly(tri, 3);
  Rectangle(1, 2, 3, 4);
  PutPixel(2, 3, MakeRgb(1, 2, 3), NoColourIndex);

  ASSERT_EQ(canvas.segments.size(), 2u);
  EXPECT_EQ(canvas.segments[0].x1, 100);
  EXPECT_EQ(canvas.segments[0].y1, 50);
  EXPECT_EQ(canvas.segments[0].x2, 110);
  EXPECT_EQ(canvas.segments[0].y2, 70);
  EXPECT_EQ(canvas.segments[1].x2, 115);
  EXPECT_EQ(canvas.segments[1].y2, 75);
  ASSERT_EQ(canvas.polygons.size(), 1u);
  EXPECT_EQ(canvas.polygons[0].points[1], (TPoint{110, 50}));
  EXPECT_EQ(canvas.rectangles[0].x1, 101);
  EXPECT_EQ(canvas.rectangles[0].y2, 54);
  EXPECT_EQ(canvas.PixelAt(102, 53), MakeRgb(1, 2, 3));

  ResetViewPort();
  EXPECT_FALSE(gDrawLayer.ViewPortActive);
  EXPECT_FALSE(canvas.clipped);
  Line(0, 0, 1, 1);
  EXPECT_EQ(canvas.segments.back().x1, 0);
}

TEST_F(DrawLayerTest, NegativeCoordinatesStayOnTheirSideOfTheViewport) {
  // A shape that starts left of the diagram must run to the left edge, not wrap round
  // to the far right of the page.
  SetViewPort(100, 50, 401, 300);
  Line(-5, 10, 20, 10);
  EXPECT_EQ(canvas.segments[0].x1, 95);
  EXPECT_EQ(canvas.segments[0].x2, 120);
  const TPoint block[4] = {{-4, 0}, {4, 0}, {4, 10}, {-4, 10}};
  FillPoly(block, 4);
  EXPECT_EQ(canvas.polygons[0].points[0].x, 96);
}

TEST_F(DrawLayerTest, ViewportCornersAreKeptAsSixteenBitPageValues) {
  SetViewPort(-10, 20, 70000, 30);
  EXPECT_EQ(gDrawLayer.ViewPort.x1, 0);
  EXPECT_EQ(gDrawLayer.ViewPort.y1, 20);
  EXPECT_EQ(gDrawLayer.ViewPort.x2, 65535);
}

TEST_F(DrawLayerTest, HugeCoordinatesDoNotOverflow) {
  SetViewPort(100, 100, 200, 200);
  Line(2147483647, -2147483647 - 1, 0, 0);
  LineRel(2147483647, 2147483647);
  EXPECT_EQ(canvas.segments.size(), 2u);
}

// ---- Colours -----------------------------------------------------------------------------

TEST_F(DrawLayerTest, FixedColourModeDrawsTheFixedColourOfTheNextEntry) {
  const TColor given = PaletteIndex(16);
  struct Case {
    int index;
    TColor expected;
  };
  const Case cases[] = {
      {0, MakeRgb(0, 0, 112)},
      {11, MakeRgb(192, 0, 0)},
      {-1, MakeRgb(0, 0, 0)},
      {12, MakeRgb(168, 168, 168)},
      {14, MakeRgb(252, 252, 252)},
      {15, given},  // beyond the 16-entry table: the palette colour stays
      {-2, given},
      {NoColourIndex, given},
  };
  SetFixedColours(true);
  for (const auto& c : cases) {
    PutPixel(5, 5, given, c.index);
    EXPECT_EQ(canvas.PixelAt(5, 5), c.expected) << c.index;
    SetPenColour(given, c.index);
    EXPECT_EQ(canvas.pen, c.expected) << c.index;
    SetBrushColour(given, c.index);
    EXPECT_EQ(canvas.brush, c.expected) << c.index;
  }
  SetFixedColours(false);
  PutPixel(5, 5, given, 0);
  EXPECT_EQ(canvas.PixelAt(5, 5), given);
  SetPenColour(given, 11);
  EXPECT_EQ(canvas.pen, given);
}

TEST_F(DrawLayerTest, FixedColourTableIsTheSixBitTableTimesFour) {
  ASSERT_EQ(FixedColourTable.size(), 16u);
  for (const TColor c : FixedColourTable) {
    EXPECT_EQ(RedOf(c) % 4, 0);
    EXPECT_EQ(GreenOf(c) % 4, 0);
    EXPECT_EQ(BlueOf(c) % 4, 0);
    EXPECT_LE(RedOf(c), 252);
  }
  EXPECT_EQ(FixedColourTable[15], MakeRgb(252, 252, 252));
}

TEST_F(DrawLayerTest, InitPlotColoursRefersToEverySixteenthPaletteEntry) {
  graphtype.Colour[16] = MakeRgb(9, 9, 9);
  InitPlotColours();
  for (int n = 0; n < 16; ++n)
    EXPECT_EQ(graphtype.Colour[static_cast<std::size_t>(n)], PaletteIndex(16 * n));
  EXPECT_EQ(graphtype.Colour[16], MakeRgb(9, 9, 9));
}

TEST_F(DrawLayerTest, InitCanvasSelectsTheCanvasWithAClearBrush) {
  RecordingCanvas other(10, 10);
  other.SetBrushStyle(BrushStyle::Solid);
  InitCanvas(other);
  EXPECT_EQ(CurrentCanvas, &other);
  EXPECT_EQ(other.brushStyle, BrushStyle::Clear);
}

TEST_F(DrawLayerTest, RgbColourRoundTrip) {
  EXPECT_EQ(RGBToColour(1, 2, 3), 1u + 256u * 2u + 65536u * 3u);
  int r = 0, g = 0, b = 0;
  ColourToRGB(RGBToColour(250, 128, 7), r, g, b);
  EXPECT_EQ(r, 250);
  EXPECT_EQ(g, 128);
  EXPECT_EQ(b, 7);
}

// ---- Fill patterns -----------------------------------------------------------------------

const std::string BitmapFolder = std::string(KARVELO_SOURCE_DIR) + "/resources/BITMAP";

TEST(FillPatterns, TheInstalledPatternsAreThirtyOneDistinctHatches) {
  std::string error;
  ASSERT_TRUE(LoadFillPatterns(BitmapFolder, &error)) << error;
  std::set<std::vector<TColor>> seen;
  for (int i = 0; i < FillPatternCount; ++i) {
    const PatternBitmap* p = GetFillPattern(i);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE((p->width == 8 && p->height == 8) || (p->width == 16 && p->height == 16)) << i;
    bool black = false;
    for (const TColor c : p->pixels) {
      EXPECT_TRUE(c == 0 || c == 0xFFFFFF) << i;
      black = black || c == 0;
    }
    EXPECT_TRUE(black) << "pattern " << i << " is blank";
    seen.insert(p->pixels);
  }
  EXPECT_EQ(seen.size(), 31u);
  EXPECT_EQ(GetFillPattern(-1), nullptr);
  EXPECT_EQ(GetFillPattern(31), nullptr);
  FreeFillPatterns();
}

TEST_F(DrawLayerTest, SetFillPatternSelectsOrRemovesTheBrushBitmap) {
  ASSERT_TRUE(LoadFillPatterns(BitmapFolder));
  SetFillPattern(3);
  EXPECT_EQ(canvas.pattern, GetFillPattern(3));
  EXPECT_EQ(gDrawLayer.CurrentFillPattern, 3);
  SetFillPattern(-1);
  EXPECT_EQ(canvas.pattern, nullptr);
  EXPECT_EQ(gDrawLayer.CurrentFillPattern, -1);
  SetFillPattern(31);
  EXPECT_EQ(canvas.pattern, nullptr);
  FreeFillPatterns();
  SetFillPattern(3);  // never loaded: a plain brush, not an empty bitmap
  EXPECT_EQ(canvas.pattern, nullptr);
}

class PatternFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("karvelo_patterns_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    // Lower-case names: the files are found whatever their letter case.
    for (int i = 0; i < FillPatternCount; ++i)
      fs::copy_file(BitmapFolder + "/PT" + std::to_string(i) + ".BMP",
                    dir / ("pt" + std::to_string(i) + ".bmp"));
  }
  void TearDown() override {
    FreeFillPatterns();
    fs::remove_all(dir);
  }
  fs::path dir;
};

TEST_F(PatternFolder, NamesAreMatchedWithoutRegardToCase) {
  std::string error;
  EXPECT_TRUE(LoadFillPatterns(dir.string(), &error)) << error;
  EXPECT_EQ(GetFillPattern(30)->width, 16);
}

TEST_F(PatternFolder, AMissingOrBrokenPatternFailsAndKeepsThePatternsLoaded) {
  ASSERT_TRUE(LoadFillPatterns(BitmapFolder));
  const std::vector<TColor> before = GetFillPattern(0)->pixels;

  fs::remove(dir / "pt17.bmp");
  std::string error;
  EXPECT_FALSE(LoadFillPatterns(dir.string(), &error));
  EXPECT_NE(error.find("PT17.BMP"), std::string::npos) << error;

  std::ofstream(dir / "PT17.BMP", std::ios::binary) << "BM broken";
  EXPECT_FALSE(LoadFillPatterns(dir.string(), &error));
  EXPECT_NE(error.find("PT17.BMP"), std::string::npos) << error;
  EXPECT_EQ(GetFillPattern(0)->pixels, before);
}

}  // namespace
}  // namespace karvelo::test
