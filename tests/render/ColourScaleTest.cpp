#include "render/ColourScale.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/ScriptedPrompts.h"
#include "render/DrawLayer.h"
#include "render/RenderFixture.h"

namespace karvelo::test {
namespace {

namespace fs = std::filesystem;

// ---- Colour index of a value -------------------------------------------------------------

class ColourIndexTest : public RenderTest {};

TEST_F(ColourIndexTest, ValueOnALimitTakesTheLowerColour) {
  // Default limits 32, 46, 68, 100, 150, 220, 320, 460, 680, 1000, 1500, 2200, 3200:
  // with colours 0..11 the first eleven separate the twelve colours.
  const std::pair<double, int> cases[] = {
      {1, 0},    {32, 0},    {32.0001, 1}, {33, 1},    {46, 1},   {46.5, 2},
      {1000, 9}, {1500, 10}, {1501, 11},   {3200, 11}, {1e4, 11}, {-1e38, 0},
  };
  for (const auto& [value, index] : cases) EXPECT_EQ(ColourIndexOf(value, 0), index) << value;
}

TEST_F(ColourIndexTest, TheIndexRangeAndTheLimitSetAreHonoured) {
  graphtype.mincol = 2;
  graphtype.maxcol = 5;
  EXPECT_EQ(ColourIndexOf(1, 0), 2);    // below every limit: mincol
  EXPECT_EQ(ColourIndexOf(1e4, 0), 5);  // above every limit in use: maxcol
  EXPECT_EQ(ColourIndexOf(100, 0), 3);  // limit 2 (68) < 100 <= limit 3 (100)

  graphtype.mincol = 0;
  graphtype.maxcol = 11;
  graphtype.RhoLimit[25 + 0] = 5;
  graphtype.RhoLimit[25 + 1] = 10;
  EXPECT_EQ(ColourIndexOf(7, 1), 1);
  EXPECT_EQ(ColourIndexOf(7, 0), 0);
}

TEST_F(ColourIndexTest, OversizedIndexSettingsStayInsideTheTables) {
  graphtype.maxcol = 40;  // only 26 colours and 25 limits per set exist
  EXPECT_EQ(ColourIndexOf(1e30, 2), 25);
  graphtype.mincol = 300;
  EXPECT_EQ(ColourIndexOf(1, 2), 25);
  EXPECT_EQ(ColourIndexOf(1, 7), 25);  // an unknown set is held to the last
}

TEST_F(ColourIndexTest, LimitSetFollowsThePlottedQuantity) {
  EXPECT_EQ(LimitSetOf(), 0);
  graphtype.IPflag = 1;
  EXPECT_EQ(LimitSetOf(), 1);
  graphtype.NormalisedIP = 1;
  EXPECT_EQ(LimitSetOf(), 2);
  graphtype.TimeStep = 0;  // a time-lapse difference plot
  EXPECT_EQ(LimitSetOf(), 1);
}

// ---- Limit generation --------------------------------------------------------------------

TEST(MakeLimits, LogarithmicStepsAreEqualInTheLogarithm) {
  const double expected[] = {10, 15.85, 25.12, 39.81, 63.10, 100, 158.5, 251.2, 398.1, 631.0, 1000};
  const auto limits = MakeLimits(10, 1000, 11, true);
  ASSERT_EQ(limits.size(), 11u);
  for (std::size_t i = 0; i < 11; ++i) EXPECT_NEAR(limits[i], expected[i], expected[i] * 5e-4) << i;
}

TEST(MakeLimits, LinearStepsAndShortCounts) {
  const auto linear = MakeLimits(0, 100, 11, false);
  ASSERT_EQ(linear.size(), 11u);
  for (std::size_t i = 0; i < 11; ++i) EXPECT_NEAR(linear[i], 10.0 * static_cast<double>(i), 1e-9);
  EXPECT_EQ(MakeLimits(5, 9, 1, false), std::vector<double>{5});
  EXPECT_EQ(MakeLimits(5, 9, 0, true), std::vector<double>{5});
  EXPECT_TRUE(MakeLimits(0, 100, 11, true).empty());
  EXPECT_TRUE(MakeLimits(10, -1, 11, true).empty());
}

// ---- Palettes ----------------------------------------------------------------------------

class PaletteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("karvelo_palette_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    SetPaletteFolder(dir.string());
    palette.fill(MakeRgb(1, 1, 1));  // what the table held before
  }
  void TearDown() override {
    SetPaletteFolder("");
    fs::remove_all(dir);
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
  }
  // A file announcing `announced` colours with `lines` lines of colour k = (k, 2k % 256, 7).
  std::string Numbered(int announced, int lines) {
    std::string text = std::to_string(announced) + "\r\n";
    for (int k = 0; k < lines; ++k)
      text += std::to_string(k % 256) + "  " + std::to_string(2 * k % 256) + " 7\r\n";
    return text;
  }
  static TColor Numbered(int k) { return MakeRgb(k % 256, 2 * k % 256, 7); }

  fs::path dir;
  PaletteTable palette{};
  ScriptedPrompts prompts;
  ScopedPrompts guard{prompts};
};

void ExpectSystemColoursAtTheTop(const PaletteTable& p) {
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(p[246 + i], StaticSystemColours[10 + i]) << i;
  EXPECT_EQ(p[255], MakeRgb(255, 255, 255));
}

TEST_F(PaletteTest, MoreThan236ColoursAreCutTo236) {
  Write("many.pal", Numbered(300, 300));
  ASSERT_TRUE(LoadPalette(palette, "many.pal"));
  for (int k = 0; k < 236; ++k) EXPECT_EQ(palette[static_cast<std::size_t>(k)], Numbered(k)) << k;
  for (std::size_t k = 236; k < 246; ++k) EXPECT_EQ(palette[k], MakeRgb(1, 1, 1)) << k;
  ExpectSystemColoursAtTheTop(palette);
  EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(PaletteTest, TwelveColoursRepeatUpToEntry235) {
  Write("twelve.pal", Numbered(12, 12));
  ASSERT_TRUE(LoadPalette(palette, "twelve.pal"));
  for (int j = 0; j < 236; ++j)
    EXPECT_EQ(palette[static_cast<std::size_t>(j)], Numbered(j % 12)) << j;
  // Plot colour n shows entry 16 n, so file colour (16 n mod 12).
  EXPECT_EQ(palette[16 * 1], Numbered(4));
  EXPECT_EQ(palette[16 * 3], Numbered(0));
  EXPECT_EQ(palette[236], MakeRgb(1, 1, 1));
  ExpectSystemColoursAtTheTop(palette);
}

TEST_F(PaletteTest, DamagedLinesGiveDarkColoursNeverWrappedOnes) {
  Write("damaged.pal", "  4\n  12 abc 300\n1 2\n-5 40.5 9\n");  // the fourth line is missing
  ASSERT_TRUE(LoadPalette(palette, "damaged.pal"));
  EXPECT_EQ(palette[0], MakeRgb(12, 0, 255));
  EXPECT_EQ(palette[1], MakeRgb(1, 2, 0));
  EXPECT_EQ(palette[2], MakeRgb(0, 0, 9));
  EXPECT_EQ(palette[3], MakeRgb(0, 0, 0));
  EXPECT_EQ(palette[4], palette[0]);
}

TEST_F(PaletteTest, ZeroColoursLeaveTheSystemColoursAtTheBottom) {
  Write("none.pal", "0\n");
  ASSERT_TRUE(LoadPalette(palette, "none.pal"));
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(palette[i], StaticSystemColours[i]);
  EXPECT_EQ(palette[10], MakeRgb(1, 1, 1));
}

TEST_F(PaletteTest, BareNamesAreFoundInThePaletteFolderWhateverTheirCase) {
  Write("Mine.PAL", Numbered(12, 12));
  EXPECT_TRUE(LoadPalette(palette, "mine.pal"));
  EXPECT_EQ(palette[0], Numbered(0));
  palette.fill(0);
  EXPECT_TRUE(LoadPalette(palette, (dir / "MINE.pal").string()));  // a path is used as given
  EXPECT_EQ(palette[1], Numbered(1));
}

TEST_F(PaletteTest, MissingFileIsReportedAndTheOldPaletteStays) {
  const PaletteTable before = palette;
  EXPECT_FALSE(LoadPalette(palette, "absent.pal"));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, (dir / "absent.pal").string() + "\rPalette file not found");
  EXPECT_EQ(prompts.messages[0].kind, MessageKind::Error);
  EXPECT_EQ(palette, before);
}

TEST_F(PaletteTest, AFileWithoutACountIsRefusedAndTheOldPaletteStays) {
  Write("text.pal", "hello\n1 2 3\n");
  const PaletteTable before = palette;
  EXPECT_FALSE(LoadPalette(palette, "text.pal"));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(palette, before);
  Write("negative.pal", "-3\n1 2 3\n");
  EXPECT_FALSE(LoadPalette(palette, "negative.pal"));
  EXPECT_EQ(palette, before);
}

TEST_F(PaletteTest, InstalledPalettesGiveTwelveDistinctPlotColours) {
  SetPaletteFolder(std::string(KARVELO_SOURCE_DIR) + "/resources/palette");
  for (const char* name : {"classic.pal", "viridis.pal", "blueorange.pal", "grey.pal"}) {
    ASSERT_TRUE(LoadPalette(palette, name)) << name;
    std::set<TColor> plotColours;
    for (std::size_t n = 0; n < 12; ++n) plotColours.insert(palette[16 * n]);
    EXPECT_EQ(plotColours.size(), 12u) << name;
    // Each plot colour fills its whole block of sixteen entries.
    for (std::size_t n = 0; n < 12; ++n) EXPECT_EQ(palette[16 * n + 15], palette[16 * n]) << name;
  }
  ASSERT_TRUE(LoadPalette(palette, "classic.pal"));
  EXPECT_GT(BlueOf(palette[0]), RedOf(palette[0]));              // low values blue
  EXPECT_GT(RedOf(palette[16 * 11]), BlueOf(palette[16 * 11]));  // high values red
  EXPECT_TRUE(prompts.texts.empty());
}

// ---- Legend ------------------------------------------------------------------------------

class LegendTest : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    CurrentLabels.ResStr = "Resistivity in ohm-m";
    CurrentLabels.KiloResStr = "Resistivity in kohm-m";
    InitPlotColours();
    ASSERT_TRUE(PseudoLayout(1000, 800));  // legend 65..935 x 529..537, TicY 3
    canvas.Clear();
  }
  std::vector<std::string> LabelTexts() const {
    std::vector<std::string> out;
    for (const auto& t : canvas.texts)
      if (t.y == LegendY1 + graphtype.TicY) out.push_back(t.text);
    return out;
  }
};

TEST_F(LegendTest, EveryColourBoundaryIsLabelledBelowItsTick) {
  DrawLegend(canvas);
  EXPECT_EQ(LabelTexts(), (std::vector<std::string>{"32", "46", "68", "100", "150", "220", "320",
                                                    "460", "680", "1000", "1500"}));
  // Boundary 1 of 12 across 872 px from x 64: 136.67 -> 137; "32" is 16 px wide.
  const auto* first = canvas.FindText("32");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->x, 137 - 8);
  EXPECT_EQ(first->y, 537 + 3);
  const auto* last = canvas.FindText("1500");
  EXPECT_EQ(last->x, 863 - 16);
  const auto tick = canvas.segments[0];
  EXPECT_EQ(tick.x1, 137);
  EXPECT_EQ(tick.y1, 537);
  EXPECT_EQ(tick.x2, 137);
  EXPECT_EQ(tick.y2, 540);

  const auto* title = canvas.FindText("Resistivity in ohm-m");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->x, 935 - 8 * 20);
  EXPECT_EQ(title->y, 537 + 14);
}

TEST_F(LegendTest, KiloOhmMetresDivideTheLabelsAndChangeTheTitle) {
  KiloOhmm = true;
  DrawLegend(canvas);
  const auto labels = LabelTexts();
  ASSERT_EQ(labels.size(), 11u);
  EXPECT_EQ(labels.front(), "0.032");
  EXPECT_EQ(labels[10], "1.5");
  EXPECT_NE(canvas.FindText("Resistivity in kohm-m"), nullptr);
  EXPECT_EQ(canvas.FindText("Resistivity in ohm-m"), nullptr);
}

TEST_F(LegendTest, LongLabelsAreCutToTenCharacters) {
  graphtype.RhoLimit[0] = 1.23456789;
  DrawLegend(canvas);
  EXPECT_EQ(LabelTexts().front(), "1.23456789");
  graphtype.RhoLimit[0] = 123456.789;
  canvas.Clear();
  DrawLegend(canvas);
  EXPECT_EQ(LabelTexts().front(), "123456.789");
  graphtype.RhoLimit[0] = 0.000123456789;
  canvas.Clear();
  DrawLegend(canvas);
  EXPECT_EQ(LabelTexts().front(), "0.00012345");
}

TEST_F(LegendTest, ColourBoxesSplitTheLegendWithHalvesToEven) {
  DrawLegend(canvas);
  ASSERT_EQ(canvas.polygons.size(), 12u);
  // 870 / 12 = 72.5 px per box: edges 65, 137.5 -> 138, 210, 282.5 -> 282 ...
  const int edges[] = {65, 138, 210, 282};
  for (std::size_t c = 0; c < 3; ++c) {
    const auto& box = canvas.polygons[c];
    EXPECT_EQ(box.points[0], (TPoint{edges[c], 528})) << c;
    EXPECT_EQ(box.points[2], (TPoint{edges[c + 1], 538})) << c;
    EXPECT_EQ(box.brush, PaletteIndex(16 * static_cast<int>(c)));
    EXPECT_EQ(box.pen, PaletteIndex(16 * static_cast<int>(c)));
    EXPECT_EQ(box.brushStyle, BrushStyle::Solid);
  }
  EXPECT_EQ(canvas.polygons[11].points[1].x, 935);
}

TEST_F(LegendTest, FixedColourModeFillsTheBoxesWithTheFixedTable) {
  SetFixedColours(true);
  DrawLegend(canvas);
  for (std::size_t c = 0; c < 12; ++c) EXPECT_EQ(canvas.polygons[c].brush, FixedColourTable[c + 1]);
  SetFixedColours(false);
}

TEST_F(LegendTest, ABlackFrameSurroundsTheBoxes) {
  DrawLegend(canvas);
  ASSERT_GE(canvas.segments.size(), 4u);
  const auto* frame = &canvas.segments[canvas.segments.size() - 4];
  const int expected[4][4] = {
      {64, 528, 936, 528}, {936, 528, 936, 538}, {936, 538, 64, 538}, {64, 538, 64, 528}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(frame[i].x1, expected[i][0]);
    EXPECT_EQ(frame[i].y1, expected[i][1]);
    EXPECT_EQ(frame[i].x2, expected[i][2]);
    EXPECT_EQ(frame[i].y2, expected[i][3]);
    EXPECT_EQ(frame[i].pen, MakeRgb(0, 0, 0));
  }
}

TEST_F(LegendTest, EveryOtherLimitWithLabelStepTwo) {
  graphtype.clabel = 2;
  DrawLegend(canvas);
  EXPECT_EQ(LabelTexts(), (std::vector<std::string>{"32", "68", "150", "320", "680", "1500"}));
  // Each label stays at its own boundary: limit 2 (68) sits at 3/12 of the width.
  EXPECT_EQ(canvas.FindText("68")->x, 282 - 8);
}

TEST_F(LegendTest, WidthAdjustmentGivesTheLegendTheDiagramWidth) {
  LegendX0 = 10;
  LegendX1 = 20;
  DrawLegend(canvas);
  EXPECT_EQ(LegendX0, PlotX0);
  EXPECT_EQ(LegendX1, PlotX1);
}

TEST_F(LegendTest, OddIndexSettingsDrawWithoutFaults) {
  graphtype.mincol = 5;
  graphtype.maxcol = 3;
  DrawLegend(canvas);
  EXPECT_TRUE(canvas.polygons.empty());
  graphtype.mincol = 0;
  graphtype.maxcol = 60;
  graphtype.clabel = 0;
  canvas.Clear();
  DrawLegend(canvas);
  EXPECT_EQ(canvas.polygons.size(), 26u);
}

}  // namespace
}  // namespace karvelo::test
