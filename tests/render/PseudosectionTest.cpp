// Pseudosection pictures on small DAT files: the colour at known pixels inside and
// outside the hull of the data, the duplicate rules, the selections, the time-lapse
// difference, the Y slice of a 3-D file, the overlays, and the failure paths.

#include "render/Pseudosection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/PlotState.h"
#include "base/Res2err.h"
#include "base/ScriptedPrompts.h"
#include "input/DatReader.h"
#include "render/DrawLayer.h"
#include "render/RenderFixture.h"

namespace karvelo::test {
namespace {

namespace fs = std::filesystem;

constexpr int kBlank = -1;  // nothing painted (the white page)
constexpr int kOther = -2;  // a direct colour, e.g. a black data point

const std::string kFixtures = std::string(KARVELO_FIXTURES_DIR) + "/pseudo";

class PseudosectionTest : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    ReleasePseudoWork();
    SelectedSpacing = 0;
    SelectedNFactor = 0;
    LastYSlice = 0;
    PlotDataPts = false;
    graphtype.FirstTime = false;
  }
  void TearDown() override {
    ReleasePseudoWork();
    if (!tempDir_.empty()) fs::remove_all(tempDir_);
    RenderTest::TearDown();
  }

  // Loads a DAT file as the load sequence does: header scan, then data scan.
  void Load(const std::string& folder, const std::string& base) {
    optrec.DataDir = folder + "/";
    optrec.FileName = base;
    optrec.DataExt = ".DAT";
    DataFolder = folder;
    IsDatFile = ScanDatHeader(false);
    ASSERT_TRUE(IsDatFile) << base;
    ScanDatFile();
  }
  void SetRange(double lmin, double lmax, double dmin, double dmax) {
    graphtype.Lmin = lmin;
    graphtype.Lmax = lmax;
    graphtype.Dmin = dmin;
    graphtype.Dmax = dmax;
  }
  // The drawing as the diagram's Draw prepares it.
  void Draw(int width = 1000, int height = 800) {
    SetupPage(width, height);
    InitPlotColours();
    InitCanvas(canvas);
    canvas.Clear();  // only what the pseudosection draws is recorded
    PlotPseudosection(canvas, width, height);
  }

  // The page pixel of a distance and a depth.
  int PixelX(double x) const {
    return PlotX0 +
           static_cast<int>(std::nearbyint((x - graphtype.Lmin) /
                                           (graphtype.Lmax - graphtype.Lmin) * (PlotX1 - PlotX0)));
  }
  int PixelY(double depth) const {
    const double d0 = graphtype.Dmin >= 0 ? graphtype.Dmin : 0;
    return PlotY0 + static_cast<int>(
                        std::nearbyint((depth - d0) / (graphtype.Dmax - d0) * (PlotY1 - PlotY0)));
  }
  // The plot colour index painted at a distance and depth.
  int IndexAt(double x, double depth) const {
    const TColor c = canvas.PixelAt(PixelX(x), PixelY(depth));
    if (c == RecordingCanvas::White) return kBlank;
    return IsPaletteIndex(c) ? PaletteEntryOf(c) / 16 : kOther;
  }
  // Every painted pixel of the diagram lies in [x0, x1] x [z0, z1] (one pixel's slack).
  void ExpectPaintedOnlyInside(double x0, double x1, double z0, double z1) const {
    const double d0 = graphtype.Dmin >= 0 ? graphtype.Dmin : 0;
    const double px = (graphtype.Lmax - graphtype.Lmin) / (PlotX1 - PlotX0);
    const double pz = (graphtype.Dmax - d0) / (PlotY1 - PlotY0);
    int painted = 0;
    for (int y = PlotY0; y <= PlotY1; ++y) {
      for (int x = PlotX0; x <= PlotX1; ++x) {
        if (!IsPaletteIndex(canvas.PixelAt(x, y))) continue;
        ++painted;
        const double dist = graphtype.Lmin + (x - PlotX0) * px;
        const double depth = d0 + (y - PlotY0) * pz;
        ASSERT_TRUE(dist >= x0 - px && dist <= x1 + px && depth >= z0 - pz && depth <= z1 + pz)
            << "painted at " << dist << " m, " << depth << " m";
      }
    }
    EXPECT_GT(painted, 0);
  }

  // A scratch folder for files made by a test.
  std::string TempDir() {
    if (tempDir_.empty()) {
      const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
      tempDir_ =
          fs::temp_directory_path() / (std::string("karvelo_pseudo_") + info->name() + "_" +
                                       std::to_string(reinterpret_cast<std::uintptr_t>(this)));
      fs::create_directories(tempDir_);
    }
    return tempDir_.string();
  }
  // A Wenner file with midpoint x-locations.
  void WriteWenner(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream f(path, std::ios::binary);
    f << "Made by the test\n1.0\n1\n" << lines.size() << "\n1\n0\n";
    for (const auto& l : lines) f << l << "\n";
    f << "0\n0\n0\n0\n";
  }

  ScriptedPrompts prompts;
  ScopedPrompts guard{prompts};

 private:
  fs::path tempDir_;
};

TEST_F(PseudosectionTest, PaintsTheHullOfTheDataAndNothingElse) {
  // Spacings 2, 4, 6 (pseudo-depths 1, 2, 3) at 4, 6, ..., 16, all 120 ohm-m (colour 4).
  for (const double dmin : {0.0, -1.0}) {  // a negative Dmin starts the depth axis at 0
    SCOPED_TRACE(dmin);
    canvas = RecordingCanvas(1000, 800);
    Load(kFixtures, "WEN_HULL");
    SetRange(0, 20, dmin, 4);
    Draw();
    EXPECT_TRUE(prompts.texts.empty());
    EXPECT_EQ(IndexAt(10, 2), 4);
    EXPECT_EQ(IndexAt(4.5, 1.2), 4);
    EXPECT_EQ(IndexAt(15.8, 2.9), 4);
    EXPECT_EQ(IndexAt(10, 0.6), kBlank);  // above the shallowest pseudo-depth
    EXPECT_EQ(IndexAt(10, 3.6), kBlank);  // below the deepest
    EXPECT_EQ(IndexAt(2, 2), kBlank);     // before the first datum
    EXPECT_EQ(IndexAt(18, 2), kBlank);    // after the last
    ExpectPaintedOnlyInside(4, 16, 1, 3);
  }
}

TEST_F(PseudosectionTest, DuplicatesFollowPlotWhichAndAreCountedOnTheFirstDrawing) {
  // Every position holds 100, 200 and 400 in file order: 12 cells, 24 duplicates.
  struct Case {
    int plotWhich;
    int colour;  // 100 -> 3, 400 -> 7, ((100 + 200) / 2 + 400) / 2 = 275 -> 6
    std::string note;
  };
  const std::string head =
      "There are 24 duplicate pseudo plot points, i.e. different data points with the same pseudo "
      "plot position.\n";
  const Case cases[] = {
      {0, 3,
       "(Showing first value in data file, change to viewing last value under Settings/Plot "
       "options.)"},
      {1, 7,
       "(Showing last value in data file, change to viewing first value under Settings/Plot "
       "options.)"},
      {2, 6,
       "(Showing average of values in data file, change to viewing first or last value under "
       "Settings/Plot options.)"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plotWhich);
    for (const bool first : {true, false}) {
      prompts.texts.clear();
      prompts.messages.clear();
      Load(kFixtures, "WEN_DUP");
      SetRange(0, 20, 0, 4);
      graphtype.PlotWhich = static_cast<std::uint8_t>(c.plotWhich);
      graphtype.FirstTime = first;
      Draw();
      EXPECT_EQ(IndexAt(7, 2), c.colour);
      if (first) {
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, head + c.note);
        EXPECT_EQ(prompts.messages[0].kind, MessageKind::Information);
      } else {
        EXPECT_TRUE(prompts.messages.empty());  // repaints stay quiet
      }
    }
  }
}

TEST_F(PseudosectionTest, SpacingAndNFactorSelectionsChooseTheData) {
  // Dipole-dipole: a = 1 reads 40 (colour 1) at depths 1/3, 1/2, 2/3; a = 2 reads 400
  // (colour 7) at 2/3, 1, 4/3, for n = 1..3 at every position 2..12.
  struct Case {
    double spacing, nfactor;
    bool firstTime;
    int shallow, middle, deep;  // colours at depths 0.45, 0.8 and 1.2
  };
  // Where a row has no datum of its own it is interpolated between the rows above and
  // below by row index: at 0.8 between 220 and 400 the value is 292 (colour 6).
  const Case cases[] = {
      {0, 0, false, 1, 6, 7},            // all data; 2/3 holds the average of 40 and 400
      {2, 0, false, kBlank, 7, 7},       // a = 2 only
      {1, 0, false, 1, kBlank, kBlank},  // a = 1 only
      {0, 2, false, kBlank, 6, kBlank},  // n = 2: depths 1/2 (40) and 1 (400)
      {0, 3, false, kBlank, 4, 7},       // n = 3: depths 2/3 (40) and 4/3 (400)
      {2, 0, true, 1, 6, 7},             // the first drawing after a load shows everything
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.spacing << " " << c.nfactor << " " << c.firstTime);
    canvas = RecordingCanvas(1000, 800);
    Load(kFixtures, "DD_SEL");
    SetRange(0, 14, 0, 1.5);
    SelectedSpacing = c.spacing;
    SelectedNFactor = c.nfactor;
    graphtype.FirstTime = c.firstTime;
    Draw();
    EXPECT_EQ(IndexAt(7, 0.45), c.shallow);
    EXPECT_EQ(IndexAt(7, 0.8), c.middle);
    EXPECT_EQ(IndexAt(7, 1.2), c.deep);
    if (c.firstTime) {
      EXPECT_EQ(SelectedSpacing, 0);
    }
  }
}

TEST_F(PseudosectionTest, DataPointsShowTheSelectedDataOnly) {
  Load(kFixtures, "DD_SEL");
  SetRange(0, 14, 0, 1.5);
  PlotDataPts = true;
  SelectedSpacing = 2;
  Draw();
  // a = 2, n = 2 at x = 7 (depth 1) is a black dot; a = 1, n = 2 (depth 1/2) is not drawn.
  EXPECT_EQ(canvas.PixelAt(PixelX(7), PixelY(1.0)), MakeRgb(0, 0, 0));
  EXPECT_EQ(IndexAt(7, 0.5), kBlank);

  canvas = RecordingCanvas(1000, 800);
  PlotCross = true;
  Draw();
  const int px = PixelX(7), py = PixelY(1.0);
  int crosses = 0;
  for (const auto& s : canvas.segments) {
    if (s.x1 == px - 1 && s.y1 == py - 1 && s.x2 == px + 1 && s.y2 == py + 1) ++crosses;
    if (s.x1 == px + 1 && s.y1 == py - 1 && s.x2 == px - 1 && s.y2 == py + 1) ++crosses;
  }
  EXPECT_EQ(crosses, 2);
}

TEST_F(PseudosectionTest, TimeLapseFilesShowTheDifferenceOfTheLastAndFirstStep) {
  // Three steps 100, 120, 150 at every point: the difference plot shows
  // 2 (150 - 100) / (150 + 100) = 0.4 against the second limit set.
  struct Case {
    int timeStep;
    int colour;
    std::string legend;
  };
  const Case cases[] = {{0, 2, "Difference[-]"}, {2, 4, "Apparent resistivity[ohm-m]"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.timeStep);
    canvas = RecordingCanvas(1000, 800);
    Load(kFixtures, "GA_TIME");
    ASSERT_EQ(optrec.TimeSteps, 3);
    ASSERT_EQ(ScanResults.nPseudoDepths, 2);
    const double levels[] = {0.1, 0.2, 0.45, 0.5, 0.55, 0.6, 0.7, 0.8, 0.9, 1.0, 1.1};
    for (int k = 0; k < 11; ++k) graphtype.RhoLimit[static_cast<std::size_t>(25 + k)] = levels[k];
    graphtype.TimeStep = static_cast<std::uint8_t>(c.timeStep);
    SetRange(0, 14, 0, 2);
    Draw();
    const double mid = (ScanResults.PseudoDepthList[0] + ScanResults.PseudoDepthList[1]) / 2;
    EXPECT_EQ(IndexAt(6, mid), c.colour);
    EXPECT_EQ(CurrentLabels.ResStr, c.legend);
  }
}

TEST_F(PseudosectionTest, AThreeDFileShowsTheYSliceTheUserPicks) {
  // Slice y = 0 reads 40 (colour 1), slice y = 5 reads 400 (colour 7).
  Load(kFixtures, "WEN_3D");
  ASSERT_TRUE(optrec.XYscan);
  ASSERT_EQ(ScanResults.nYValues, 2);
  SetRange(0, 20, 0, 4);
  prompts.ySlices = {2};
  Draw();
  EXPECT_EQ(IndexAt(10, 2), 7);
  ExpectPaintedOnlyInside(4, 16, 1, 3);
  EXPECT_EQ(LastYSlice, 2);
  // Asked once per drawing, with the slice chosen last.
  prompts.ySlices = {1};
  Draw();
  EXPECT_EQ(IndexAt(10, 2), 1);
  EXPECT_EQ(prompts.ySliceLastChosen, (std::vector<int>{0, 2}));
}

TEST_F(PseudosectionTest, MarkersAreLinesWithTheirTextUnlessFlagged) {
  Load(kFixtures, "WEN_HULL");
  SetRange(0, 20, 0, 4);
  optrec.nMarkers = 2;
  optrec.Xmark[1] = 5;
  optrec.MarkStr[1] = "Road";
  optrec.Xmark[2] = 10;
  optrec.MarkStr[2] = "Hidden";
  optrec.PosFlag[2] = 1;
  Draw();
  const int x = PlotX0 + static_cast<int>(std::nearbyint(5.0 * (PlotX1 - PlotX0 + 1) / 20));
  int lines = 0;
  for (const auto& s : canvas.segments) {
    if (s.x1 == x && s.x2 == x && s.y1 == PlotY0 && s.y2 == PlotY1) ++lines;
  }
  EXPECT_EQ(lines, 1);
  EXPECT_NE(canvas.FindText("Road"), nullptr);
  EXPECT_EQ(canvas.FindText("Hidden"), nullptr);
}

TEST_F(PseudosectionTest, DataThatCannotMakeAPseudosectionAreRefused) {
  struct Case {
    bool model;
    std::string text;
  };
  const Case cases[] = {
      {false,
       "ERROR: The selected file WEN_ONE.DAT cannot be plotted as a pseudosection with this "
       "version of Karvelo! \n\rPlease check data file!"},
      {true,
       "ERROR: The selected file WEN_ONE.RHO is a model file and cannot be plotted as a "
       "pseudosection!"}};
  for (const Case& c : cases) {
    prompts.messages.clear();
    canvas.Clear();
    Load(kFixtures, "WEN_ONE");
    graphtype.ModSelFlag = c.model;
    SetRange(0, 20, 0, 4);
    Draw();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, c.text);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Error);
    EXPECT_TRUE(canvas.calls.empty());
    EXPECT_EQ(canvas.pixelCalls, 0);
  }
}

TEST_F(PseudosectionTest, APageTooLowForTheDiagramIsReported) {
  Load(kFixtures, "WEN_HULL");
  SetRange(0, 20, 0, 4);
  Draw(1000, 150);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text,
            "The diagram height does not fit the plot window! To plot diagram try either "
            "to;\n\r\n\r- change \"Settings/Plot options/Auto adjust diagram width\" to checked, "
            "or\n\r\n\r- resize plot window to a larger height relative to the width.");
  EXPECT_EQ(canvas.pixelCalls, 0);
  EXPECT_TRUE(canvas.texts.empty());
}

TEST_F(PseudosectionTest, LegendTitleFollowsThePlottedQuantity) {
  struct Case {
    int ip, normalised, timeStep;
    std::string resStr;
  };
  const Case cases[] = {
      {0, 0, 1, "Apparent resistivity[ohm-m]"},
      {1, 0, 1, "Apparent Chargeability [mV/V]"},
      {1, 1, 1, "Normalised Apparent Chargeability [mS/m]"},
      {1, 0, 0, "Difference[-]"},
  };
  for (const Case& c : cases) {
    Load(kFixtures, "WEN_HULL");
    SetRange(0, 20, 0, 4);
    graphtype.IPflag = static_cast<std::uint8_t>(c.ip);
    graphtype.NormalisedIP = static_cast<std::uint8_t>(c.normalised);
    graphtype.TimeStep = static_cast<std::uint8_t>(c.timeStep);
    Draw();
    EXPECT_EQ(CurrentLabels.ResStr, c.resStr);
    EXPECT_EQ(CurrentLabels.MethodStr, optrec.ArrayType.str() + " PSEUDOSECTION");
  }
}

TEST_F(PseudosectionTest, ALabelFileInTheDataFolderNamesThePlot) {
  const std::string dir = TempDir();
  fs::copy_file(kFixtures + "/WEN_HULL.DAT", dir + "/WEN_HULL.DAT");
  std::ofstream(dir + "/PSEUDO.TXT") << "Mein Profil\nAbstand[m]\nTiefe[m]\nWiderstand[Ohm-m]\n";
  Load(dir, "WEN_HULL");
  SetRange(0, 20, 0, 4);
  Draw();
  EXPECT_EQ(CurrentLabels.MethodStr, optrec.ArrayType.str() + " Mein Profil");
  EXPECT_EQ(CurrentLabels.DistStr, "Abstand[m]");
  EXPECT_EQ(CurrentLabels.ResStr, "Widerstand[Ohm-m]");
}

TEST_F(PseudosectionTest, MorePseudoDepthsThanGridRowsRaiseTheCapacityError) {
  // 201 spacings: the 201st pseudo-depth has no grid row.
  const std::string dir = TempDir();
  std::vector<std::string> lines;
  for (int a = 1; a <= 201; ++a) lines.push_back("500 " + std::to_string(a) + " 100");
  WriteWenner(dir + "/DEEP.DAT", lines);
  Load(dir, "DEEP");
  ASSERT_EQ(ScanResults.nPseudoDepths, 200);
  SetRange(0, 1000, 0, 120);
  try {
    Draw();
    FAIL() << "no capacity error";
  } catch (const EKarvCapacity& e) {
    EXPECT_STREQ(e.what(), "ERROR: Data exceeds y-dimension capacity of plot routine!");
  }
  // The next drawing starts afresh.
  canvas = RecordingCanvas(1000, 800);
  Load(kFixtures, "WEN_HULL");
  SetRange(0, 20, 0, 4);
  Draw();
  EXPECT_EQ(IndexAt(10, 2), 4);
}

TEST_F(PseudosectionTest, AVanishedDataFileFailsTheDrawingNotTheProgram) {
  const std::string dir = TempDir();
  fs::copy_file(kFixtures + "/WEN_HULL.DAT", dir + "/WEN_HULL.DAT");
  Load(dir, "WEN_HULL");
  SetRange(0, 20, 0, 4);
  fs::remove(dir + "/WEN_HULL.DAT");
  prompts.messages.clear();
  try {
    Draw();
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode(), 2);
  }
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, "ERROR (PutDATInGrid2): " + dir + "/WEN_HULL.DAT not found!");
  EXPECT_EQ(prompts.messages[0].kind, MessageKind::Error);
  EXPECT_EQ(canvas.pixelCalls, 0);
}

TEST_F(PseudosectionTest, RecordsOfTheLoadSpareTheDrawingASecondRead) {
  // Loaded for time step 2, drawn as the difference plot, with the file gone in
  // between: the drawing works on the records the load kept.
  const std::string dir = TempDir();
  fs::copy_file(kFixtures + "/GA_TIME.DAT", dir + "/GA_TIME.DAT");
  optrec.DataDir = dir + "/";
  optrec.FileName = "GA_TIME";
  IsDatFile = ScanDatHeader(false);
  graphtype.TimeStep = 2;
  TDatData records;
  ASSERT_TRUE(ScanDatFile(&records));
  AdoptPseudoData(std::move(records));
  fs::remove(dir + "/GA_TIME.DAT");
  graphtype.TimeStep = 0;
  graphtype.RhoLimit[25] = 0.39;  // the difference 0.4 takes colour 1
  graphtype.RhoLimit[26] = 0.41;
  SetRange(0, 14, 0, 2);
  Draw();
  EXPECT_TRUE(prompts.messages.empty());
  const double mid = (ScanResults.PseudoDepthList[0] + ScanResults.PseudoDepthList[1]) / 2;
  EXPECT_EQ(IndexAt(6, mid), 1);

  // Records of another file are left alone: the drawing reads its own.
  graphtype.TimeStep = 1;
  Load(kFixtures, "WEN_DUP");
  TDatData other;
  ASSERT_TRUE(ScanDatFile(&other));
  AdoptPseudoData(std::move(other));
  canvas = RecordingCanvas(1000, 800);
  Load(kFixtures, "WEN_HULL");
  SetRange(0, 20, 0, 4);
  Draw();
  EXPECT_EQ(IndexAt(10, 2), 4);  // 120 ohm-m, not a value of WEN_DUP
}

TEST_F(PseudosectionTest, LongProfilesArePaintedToTheEndWhateverTheOverlap) {
  // 2000 m at a 1 m unit: longer than the 6001 columns of one grid window reach. A huge
  // overlap makes the window step negative, which must still advance.
  const std::string dir = TempDir();
  std::vector<std::string> lines;
  for (int a = 1; a <= 3; ++a) {
    for (int x = 0; x <= 2000; ++x)
      lines.push_back(std::to_string(x) + " " + std::to_string(a) + " 120");
  }
  WriteWenner(dir + "/LONG.DAT", lines);
  for (const double overlap : {20.0, 1e5}) {
    SCOPED_TRACE(overlap);
    canvas = RecordingCanvas(1000, 800);
    Load(dir, "LONG");
    optrec.overlap = overlap;
    graphtype.XYfactor = 100;
    SetRange(0, 2000, 0, 2);
    Draw();
    for (const double x : {100.0, 1000.0, 1400.0, 1600.0, 1800.0, 1990.0}) {
      EXPECT_EQ(IndexAt(x, 1.2), 4) << x;
    }
  }
}

}  // namespace
}  // namespace karvelo::test
