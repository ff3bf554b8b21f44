// The 2D model section on a recording canvas: colours at known pixels of the smooth
// image and the blocks of every model form, with and without topography, the overlays,
// and the messages of models that cannot be drawn.
//
// Most cases draw on a 1000 x 800 page with the distance axis 0..100 (label 10) and the
// depth axis 0..10 (label 2). Without topography the diagram is then PlotX0..PlotX1 =
// 65..935 and PlotY0..PlotY1 = 355..445: W' = 871 columns and H' = 91 rows, 8.71
// columns per metre and 9.1 rows per metre. The default limits put 10 in colour 0, 37 in
// 1, 55 in 2, 100 in 3, 112 in 4, 505 in 8 and 1000 in 9.

#include "render/ModelSection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/Files.h"
#include "base/PlotState.h"
#include "base/Res2err.h"
#include "base/ScriptedPrompts.h"
#include "input/ModelReaders.h"
#include "render/ColourScale.h"
#include "render/DrawLayer.h"
#include "render/ModelColumns.h"
#include "render/ModelImage.h"
#include "render/RenderFixture.h"

namespace karvelo::test {
namespace {

const std::string Dir = std::string(KARVELO_FIXTURES_DIR) + "/model2d/";
const std::string BitmapFolder = std::string(KARVELO_SOURCE_DIR) + "/resources/BITMAP";
constexpr TColor White = RecordingCanvas::White;

TColor C(int index) {
  return PaletteIndex(16 * index);
}

class ModelSectionTest : public RenderTest {
 protected:
  void SetUp() override { Fresh(); }

  // A new page and plot state, as at the start of a test.
  void Fresh() {
    canvas = RecordingCanvas(1000, 800);
    prompts = ScriptedPrompts();
    RenderTest::SetUp();
    InitPlotColours();
    ModelPath = Dir;
    optrec.DataDir = Dir;
    DataFolder = Dir;
    optrec.FileName = "layered";
    optrec.ArrayType = "WENNER";
    graphtype.ModSelFlag = true;  // the model file itself is loaded
    PlotTopo = false;
    PlotLvl = false;
    PlotMark = false;
    PlotRef = false;
    SetAxes(0, 100, 10, 0, 10, 2);
  }
  void TearDown() override {
    ChooseModelFile = nullptr;
    ModelOverlays = TModelOverlays{};
    FreeFillPatterns();
    RenderTest::TearDown();
  }

  static void SetAxes(double lmin, double lmax, double llabel, double dmin, double dmax,
                      double dlabel) {
    graphtype.Lmin = lmin;
    graphtype.Lmax = lmax;
    graphtype.Llabel = llabel;
    graphtype.Dmin = dmin;
    graphtype.Dmax = dmax;
    graphtype.Dlabel = dlabel;
  }

  void Draw(const std::string& model) {
    RhoFilename = model;
    PlotModelSection(canvas, 1000, 800);
  }

  // The pixel at column c and row j of the diagram.
  TColor At(int c, int j) const { return canvas.PixelAt(PlotX0 + c, PlotY0 + j); }

  int FirstPaintedRow(int c) const {
    for (int j = 0; j <= PlotY1 - PlotY0; ++j)
      if (At(c, j) != White) return j;
    return -1;
  }
  int LastPaintedRow(int c) const {
    for (int j = PlotY1 - PlotY0; j >= 0; --j)
      if (At(c, j) != White) return j;
    return -1;
  }
  // The polygons drawn above the legend.
  std::vector<RecordingCanvas::Poly> DiagramPolygons() const {
    std::vector<RecordingCanvas::Poly> out;
    for (const auto& p : canvas.polygons)
      if (p.points[0].y < LegendY0 - 1) out.push_back(p);
    return out;
  }
  int PaintedPixels() const {
    int n = 0;
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x) n += canvas.PixelAt(x, y) != White;
    return n;
  }

  ScriptedPrompts prompts;
  ScopedPrompts guard{prompts};
};

// ---- Smooth image --------------------------------------------------------------------------

// The same model in the older headerless layout and in the RHO-1 layout.
class LayeredDialects : public ModelSectionTest,
                        public ::testing::WithParamInterface<const char*> {};

TEST_P(LayeredDialects, LayerValuesSitAtTheirDepthsAndBlendLinearlyBetween) {
  Draw(GetParam());
  EXPECT_TRUE(prompts.texts.empty());
  ASSERT_EQ(PlotX0, 65);
  ASSERT_EQ(PlotY0, 355);
  ASSERT_EQ(PlotY1, 445);
  // Depth 1 m is row round(9.1) = 9, depth 9 m row round(81.9) = 82; rows in between
  // spread the depth evenly: row 20 is 2.21 m (37), row 45 4.95 m (98.8), row 46
  // 5.05 m (112).
  for (int c : {0, 400, 870}) {
    SCOPED_TRACE(c);
    EXPECT_EQ(At(c, 8), White);
    EXPECT_EQ(At(c, 9), C(0));
    EXPECT_EQ(At(c, 20), C(1));
    EXPECT_EQ(At(c, 45), C(3));
    EXPECT_EQ(At(c, 46), C(4));
    EXPECT_EQ(At(c, 82), C(9));
    EXPECT_EQ(At(c, 83), White);
  }
  EXPECT_EQ(At(871, 40), White);  // the frame column stays free
  EXPECT_EQ(ModelKind, 4);
}

INSTANTIATE_TEST_SUITE_P(ModelSection, LayeredDialects,
                         ::testing::Values("layered.RHO", "plain.RHO"));

TEST_F(ModelSectionTest, ColumnsBlendAlongTheProfile) {
  // 10 at 0 m (column 0), 1000 at 50 m (column 436), 10 at 100 m (column 871).
  Draw("ramp.RHO");
  EXPECT_EQ(At(0, 40), C(0));
  EXPECT_EQ(At(5, 40), C(0));    // 21
  EXPECT_EQ(At(10, 40), C(1));   // 32.7
  EXPECT_EQ(At(218, 40), C(8));  // 505
  EXPECT_EQ(At(436, 40), C(9));  // 1000
  EXPECT_EQ(At(654, 40), C(8));  // 505, on the way down again
}

TEST_F(ModelSectionTest, TheImageReachesTheDiagramsLastRowAndColumn) {
  // Depth axis 1..9: the model covers the whole diagram, PlotY1 included.
  SetAxes(0, 100, 10, 1, 9, 2);
  Draw("layered.RHO");
  const int lastRow = PlotY1 - PlotY0;
  const int lastColumn = PlotX1 - PlotX0;
  EXPECT_EQ(At(0, 0), C(0));
  EXPECT_EQ(At(400, lastRow), C(9));
  EXPECT_EQ(At(lastColumn, lastRow), C(9));
  EXPECT_EQ(At(lastColumn, 0), C(0));
  EXPECT_EQ(canvas.PixelAt(PlotX0 + 400, PlotY1 + 1), White);  // the frame row
}

TEST_F(ModelSectionTest, MissingValuesLeaveTheirRowsUnpainted) {
  // holes.RHO: "*" in the middle layer at 50 m (column 436), 0 at 20 m (column 174).
  Draw("holes.RHO");
  EXPECT_EQ(At(436, 30), White);  // between layers 1 and 2
  EXPECT_EQ(At(436, 60), White);  // between layers 2 and 3
  EXPECT_EQ(At(436, 9), C(0));    // the top layer itself has a value
  EXPECT_EQ(At(174, 45), C(0));   // 0 is a value in RHO-1
  Fresh();
  // In the headerless layout a 0 is a missing value.
  Draw("plainholes.RHO");
  EXPECT_EQ(At(174, 30), White);
  EXPECT_EQ(At(174, 9), C(0));
}

TEST_F(ModelSectionTest, ResampledRowsFollowTheLayerRules) {
  Draw("layered.RHO");
  TModelImagePainter painter(TModelGeometry::Current(), 0);
  TModelColumn column;
  column.Centre = {1.0, 5.0, 9.0};
  column.Value = {10, std::nan(""), 1000};
  std::vector<double> rows;
  painter.Resample(column, 0, 90, rows);
  ASSERT_EQ(rows.size(), 91u);
  EXPECT_TRUE(std::isnan(rows[8]));
  EXPECT_EQ(rows[9], 10);
  EXPECT_TRUE(std::isnan(rows[30]));  // next to a missing layer
  EXPECT_EQ(rows[82], 1000);
  EXPECT_TRUE(std::isnan(rows[83]));
  column.Value = {10, 100, 1000};
  painter.Resample(column, 0, 90, rows);
  EXPECT_NEAR(rows[20], 10 + 90 * (1 + 11 * 8 / 73.0 - 1) / 4, 1e-9);
  EXPECT_NEAR(rows[60], 100 + 900 * (1 + 51 * 8 / 73.0 - 5) / 4, 1e-9);
}

// ---- Topography ------------------------------------------------------------------------------

// With layered.ALT (100 m at 0, 90 m at 100) and label step 2 the section spans 20 m from
// TopLevel 100: H' = 171 rows, 8.55 rows per metre. The model's value depths 1 and 9 m
// are rows 9 and 77 below the ground; at 50 m the ground is 42.75 rows down.
TEST_F(ModelSectionTest, ARhoModelHangsBelowTheAltTopography) {
  PlotTopo = true;
  Draw("layered.RHO");
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_EQ(TopLevel, 100);
  EXPECT_EQ(TopoSpan, 10);
  EXPECT_EQ(TopoList.nTopoPoints, 2);
  ASSERT_EQ(PlotY0, 315);
  ASSERT_EQ(PlotY1, 485);
  EXPECT_EQ(FirstPaintedRow(0), 9);
  EXPECT_EQ(LastPaintedRow(0), 77);
  EXPECT_EQ(FirstPaintedRow(436), 52);  // 9 + round(42.75)
  EXPECT_EQ(LastPaintedRow(436), 120);
  EXPECT_EQ(FirstPaintedRow(870), 94);  // the ground 85.4 rows down
  EXPECT_EQ(At(436, 52), C(0));
  EXPECT_EQ(At(436, 120), C(9));
  // The ground line runs from the top-left corner to 85.5 rows down at 100 m.
  bool ground = false;
  for (const auto& s : canvas.segments)
    ground = ground || (s.x1 == 65 && s.y1 == 315 && s.x2 == 936 && s.y2 == 401);
  EXPECT_TRUE(ground);
  EXPECT_TRUE(PlotTopo);
}

TEST_F(ModelSectionTest, TopographyThatDoesNotCoverTheModelOffersAFlatPlot) {
  PlotTopo = true;
  graphtype.ModSelFlag = false;  // a data file is loaded, the model laid over it
  ScanResults.XPlotMin = 0;
  ScanResults.XPlotMax = 100;
  optrec.FileName = "partial";
  prompts.answers = {Answer::Yes};
  Draw("layered.RHO");
  ASSERT_EQ(prompts.texts.size(), 2u);
  EXPECT_EQ(prompts.texts[0],
            "ERROR: The topography file does not cover the profile! Check partial.ALT or plot "
            "without topography");
  EXPECT_EQ(prompts.texts[1], "Plot without topography?");
  EXPECT_EQ(TopoSpan, 0);
  EXPECT_EQ(FirstPaintedRow(436), 9);
  EXPECT_TRUE(PlotTopo);  // switched off for this drawing only

  Fresh();
  PlotTopo = true;
  graphtype.ModSelFlag = false;
  optrec.FileName = "partial";
  prompts.answers = {Answer::No};
  Draw("layered.RHO");
  EXPECT_EQ(prompts.texts.size(), 2u);
  EXPECT_EQ(PaintedPixels(), 0);
}

TEST_F(ModelSectionTest, WithoutAnyTopographyTheModelIsDrawnFlat) {
  PlotTopo = true;
  optrec.FileName = "nothing";  // no ALT file
  Draw("layered.RHO");
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_EQ(TopoSpan, 0);
  EXPECT_EQ(FirstPaintedRow(436), 9);
  EXPECT_TRUE(PlotTopo);
}

// hills.RH2: ground from 100 m at 0 to 90 m at 100, cells 0-2, 2-6 and 6-10 m with
// values 10, 100 and 1000 at their centres 1, 4 and 8 m.
TEST_F(ModelSectionTest, AnRh2ModelHangsFromItsOwnSurfaceEvenWithTopographyOff) {
  PlotTopo = false;
  Draw("hills.RH2");
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_EQ(TopLevel, 100);
  EXPECT_EQ(TopoSpan, 10);
  ASSERT_EQ(PlotY0, 315);
  EXPECT_EQ(FirstPaintedRow(0), 9);     // 1 m
  EXPECT_EQ(LastPaintedRow(0), 68);     // 8 m
  EXPECT_EQ(FirstPaintedRow(436), 52);  // 9 + round(42.75)
  EXPECT_EQ(LastPaintedRow(436), 111);
  EXPECT_EQ(At(436, 52), C(0));
  EXPECT_EQ(At(436, 111), C(9));
  // The ground line comes from the file: 12 points from the leading block at -5 m on.
  EXPECT_EQ(TopoList.nTopoPoints, 12);
  EXPECT_EQ(TopoList.TopoXFirst, -5);
  EXPECT_FALSE(PlotTopo);  // restored
}

// ---- Blocks ------------------------------------------------------------------------------------

// Layer spans of layered.RHO: 0-5, 5-9 and 9-13 m (one more layer thickness), rows 0, 46,
// 82 and 118. Columns are 10 m wide: 87.1 pixels.
TEST_F(ModelSectionTest, BlocksFillOneQuadrilateralPerCell) {
  SquarePlot = true;
  Draw("layered.RHO");
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_EQ(PaintedPixels(), 0);  // no smooth image
  const auto blocks = DiagramPolygons();
  ASSERT_EQ(blocks.size(), 33u);  // 11 columns x 3 layers
  const auto corners = [](int x0, int y0, int x1, int y1) {
    return std::vector<TPoint>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
  };
  EXPECT_EQ(blocks[0].points, corners(65 - 44, 355, 65 + 44, 355 + 46));
  EXPECT_EQ(blocks[3].points, corners(65 + 45, 355, 65 + 131, 355 + 46));  // one right of it
  EXPECT_EQ(blocks[5].points, corners(65 + 45, 355 + 82, 65 + 131, 355 + 118));
  EXPECT_EQ(blocks[3].brush, C(0));
  EXPECT_EQ(blocks[3].pen, C(0));
  EXPECT_EQ(blocks[3].brushStyle, BrushStyle::Solid);
  EXPECT_EQ(blocks[4].brush, C(3));
  EXPECT_EQ(blocks[5].brush, C(9));
}

TEST_F(ModelSectionTest, BlocksSkipEmptyCellsAndCanReachTheBottom) {
  SquarePlot = true;
  graphtype.PlotInifiniteBottomLayer = true;
  Draw("holes.RHO");  // a 0 at 20 m and a "*" at 50 m
  const auto blocks = DiagramPolygons();
  EXPECT_EQ(blocks.size(), 31u);
  EXPECT_EQ(blocks[2].points[2].y, PlotY1 + 1);  // the diagram's bottom edge
}

TEST_F(ModelSectionTest, Rh2BlocksSpanTheirCellsBelowTheirOwnGround) {
  SquarePlot = true;
  Draw("hills.RH2");
  const auto blocks = DiagramPolygons();
  ASSERT_EQ(blocks.size(), 33u);
  // The column at 50 m: ground 42.75 rows down, cells 0-2-6-10 m at 8.55 rows per metre.
  const auto& top = blocks[15];
  EXPECT_EQ(top.points[0], (TPoint{65 + 393, 315 + 43}));
  EXPECT_EQ(top.points[2], (TPoint{65 + 479, 315 + 60}));
  EXPECT_EQ(blocks[17].points[2].y, 315 + PixelOf(10 * 8.55 + 42.75));
  EXPECT_EQ(blocks[17].brush, C(9));
}

// ---- Columns without a width
// ---------------------------------------------------------------------

TEST_F(ModelSectionTest, ColumnsWithoutAWidthAreReportedAndNotDrawn) {
  for (const bool blocks : {false, true}) {
    for (const std::string model : {"samepos.RHO", "backwards.RHO"}) {
      SCOPED_TRACE(model + (blocks ? " blocks" : " image"));
      Fresh();
      SquarePlot = blocks;
      ASSERT_NO_THROW(Draw(model));
      ASSERT_EQ(prompts.texts.size(), 1u);
      const std::string first = model == "samepos.RHO" ? "10 and 10" : "20 and 10";
      EXPECT_EQ(prompts.texts[0], "ERROR: The first two columns of model file " + model +
                                      " lie at " + first +
                                      ": model columns must be stored from left to right!");
      EXPECT_EQ(canvas.pixelCalls, 0);
      EXPECT_TRUE(canvas.polygons.empty());
    }
  }
}

TEST_F(ModelSectionTest, BlocksOfAModelWithoutWidthRaiseRatherThanGuess) {
  Draw("layered.RHO");
  LastModelScan.ColumnWidthValid = false;
  EXPECT_THROW(DrawModelBlocks(canvas, "layered.RHO"), EKarvInvalidOp);
}

// ---- Model files and their messages
// --------------------------------------------------------------

TEST_F(ModelSectionTest, AMissingModelFileCanBeChosenAgain) {
  Draw("gone.RHO");
  EXPECT_EQ(prompts.questions, std::vector<std::string>{"ERROR: Model file " + Dir +
                                                        "gone.RHO was not found! Select now?"});
  EXPECT_EQ(PaintedPixels(), 0);

  prompts.questions.clear();
  prompts.answers = {Answer::Yes};
  ChooseModelFile = [] { return Dir + "ramp.RHO"; };
  Draw("gone.RHO");
  EXPECT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(RhoFilename, "ramp.RHO");
  EXPECT_EQ(ModelFileExt.str(), ".RHO");
  EXPECT_EQ(At(436, 40), C(9));
}

TEST_F(ModelSectionTest, AModelAwayFromTheDataAsksBeforeDrawing) {
  graphtype.ModSelFlag = false;
  ScanResults.XPlotMin = 500;
  ScanResults.XPlotMax = 600;
  Draw("layered.RHO");
  EXPECT_EQ(prompts.questions,
            std::vector<std::string>{"WARNING: The model file layered.RHO co-ordinates do not "
                                     "agree with the data file! Continue?"});
  EXPECT_EQ(PaintedPixels(), 0);
}

TEST_F(ModelSectionTest, AnIPPlotNeedsIPValues) {
  graphtype.IPflag = 1;
  struct Case {
    const char* model;
    bool blocks;
    const char* text;
  };
  const Case cases[] = {
      {"layered.RHO", false, "IP data not found in model file, cannot plot IP section ..."},
      {"layered.RHO", true, "IP model NOT found, cannot do model plot ..."},
      {"hills.RH2", false, "IP model not found, cannot plot section ..."},
      {"hills.RH2", true, "IP model not found, cannot plot section ..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    prompts.texts.clear();
    canvas.Clear();
    SquarePlot = c.blocks;
    Draw(c.model);
    EXPECT_EQ(prompts.texts, std::vector<std::string>{c.text});
    EXPECT_EQ(canvas.pixelCalls, 0);
  }
}

TEST_F(ModelSectionTest, IPAndNormalisedIPUseTheirOwnLimits) {
  for (int k = 0; k < 11; ++k) {
    graphtype.RhoLimit[static_cast<std::size_t>(LimitsPerSet + k)] = k + 1;  // 1..11
    graphtype.RhoLimit[static_cast<std::size_t>(2 * LimitsPerSet + k)] = (k + 1) / 100.0;
  }
  graphtype.IPflag = 1;
  Draw("ipmodel.RHO");  // chargeability 4.5, resistivity 100
  EXPECT_EQ(At(400, 40), C(4));
  EXPECT_EQ(CurrentLabels.ResStr, "Chargeability [mV/V]");
  graphtype.NormalisedIP = 1;  // 0.045
  Draw("ipmodel.RHO");
  EXPECT_EQ(At(400, 40), C(4));
  EXPECT_EQ(CurrentLabels.ResStr, "Normalised Chargeability [mS/m]");
  Draw("hillsip.RH2");
  EXPECT_EQ(At(0, 20), C(4));
}

TEST_F(ModelSectionTest, Rh2ProblemsAreReportedByName) {
  Draw("hills.RH2");  // lays out the page
  prompts.texts.clear();
  DrawModelImage(canvas, "deep.RH2");
  DrawModelImage(canvas, "broken.RH2");
  graphtype.Lmin = 200;
  graphtype.Lmax = 300;
  DrawModelImage(canvas, "hills.RH2");
  EXPECT_EQ(prompts.texts,
            (std::vector<std::string>{
                "ERROR: Too many layers in model for plot routine. Maximum no of layers in model "
                "is 50\n\rPlease check if the inversion model is realistic ...",
                "The inverted model in " + Dir + "broken.RH2 cannot be plotted ...",
                "The inverted model in " + Dir + "hills.RH2 is outside the selected range..."}));
}

TEST_F(ModelSectionTest, LabelsNameTheArrayAndTheModelKind) {
  Draw("layered.RHO");
  EXPECT_EQ(CurrentLabels.MethodStr, "WENNER 2D INVERTED MODEL");
  EXPECT_EQ(CurrentLabels.DistStr, "Distance[m]");
  EXPECT_EQ(CurrentLabels.DepthStr, "Depth[m]");
  EXPECT_EQ(CurrentLabels.ResStr, "Resistivity[ohm-m]");
  EXPECT_NE(canvas.FindText("Depth[m]"), nullptr);

  const auto folder = std::filesystem::temp_directory_path() / "karvelo_modsec_labels";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "MODSEC.TXT") << "  Custom title \nDist\nDepth\nLevel\nRes\n";
  DataFolder = folder.string();
  Draw("layered.RHO");
  EXPECT_EQ(CurrentLabels.MethodStr, "WENNER Custom title");
  EXPECT_EQ(CurrentLabels.AltStr, "Level");
  std::filesystem::remove_all(folder);
}

TEST_F(ModelSectionTest, APageTooSmallSaysSo) {
  RhoFilename = "layered.RHO";
  SetupPage(1000, 100);
  PlotModelSection(canvas, 1000, 100);
  EXPECT_EQ(prompts.texts, std::vector<std::string>{DiagramDoesNotFitText});
  EXPECT_EQ(canvas.pixelCalls, 0);
}

// ---- Overlays
// ------------------------------------------------------------------------------------

std::vector<RecordingCanvas::Segment> Lines(const RecordingCanvas& canvas) {
  return canvas.segments;
}

TEST_F(ModelSectionTest, LayerLinesJoinThePointsOfEachBoundary) {
  Draw("layered.RHO");
  canvas.Clear();
  DrawLayerLines(canvas);
  // Scale without the +1: 870 columns and 90 rows for 100 m and 10 m.
  const auto s = Lines(canvas);
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ((std::array{s[0].x1, s[0].y1, s[0].x2, s[0].y2}), (std::array{65, 373, 500, 382}));
  EXPECT_EQ((std::array{s[1].x1, s[1].y1, s[1].x2, s[1].y2}), (std::array{500, 382, 935, 373}));
  // The bedrock line from -10 to 110 m is cut at the diagram's ends.
  EXPECT_EQ((std::array{s[2].x1, s[2].y1, s[2].x2, s[2].y2}), (std::array{65, 427, 935, 427}));
  EXPECT_EQ(s[0].style, PenStyle::Solid);
  EXPECT_EQ(s[0].width, 1);

  canvas.Clear();
  graphtype.DottedLevelMarker = true;
  DrawLayerLines(canvas);
  const auto d = Lines(canvas);
  ASSERT_EQ(d.size(), 6u);
  EXPECT_EQ(d[0].pen, MakeRgb(255, 255, 255));
  EXPECT_EQ(d[0].width, 2);
  EXPECT_EQ(d[1].pen, MakeRgb(0, 0, 0));
  EXPECT_EQ(d[1].style, PenStyle::Dot);
}

TEST_F(ModelSectionTest, LayerLinesFollowTheGroundAndStopWhereItIsUnknown) {
  PlotTopo = true;
  Draw("layered.RHO");
  canvas.Clear();
  DrawLayerLines(canvas);
  // 8.5 rows per metre below TopLevel 100; the bedrock points lie beyond the ALT file.
  const auto s = Lines(canvas);
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ((std::array{s[0].x1, s[0].y1, s[0].x2, s[0].y2}), (std::array{65, 332, 500, 383}));
}

TEST_F(ModelSectionTest, MarkersStandAtTheirPositions) {
  optrec.nMarkers = 3;
  optrec.Xmark[1] = 25;
  optrec.PosFlag[1] = 0;
  optrec.MarkStr[1] = "A";
  optrec.Xmark[2] = 50;
  optrec.PosFlag[2] = 2;
  optrec.MarkStr[2] = "B";
  optrec.Xmark[3] = 150;  // beyond the diagram
  optrec.MarkStr[3] = "C";
  Draw("layered.RHO");
  canvas.Clear();
  DrawModelMarkers();
  ASSERT_EQ(canvas.segments.size(), 1u);
  const auto& line = canvas.segments[0];
  EXPECT_EQ((std::array{line.x1, line.y1, line.x2, line.y2}), (std::array{283, 355, 283, 445}));
  ASSERT_NE(canvas.FindText("A"), nullptr);
  EXPECT_EQ(canvas.FindText("A")->x, 279);
  EXPECT_EQ(canvas.FindText("A")->y, 445);
  ASSERT_NE(canvas.FindText("B"), nullptr);
  EXPECT_EQ(canvas.FindText("B")->x, 497);
  EXPECT_EQ(canvas.FindText("B")->y, 340);  // on the ground, TicY above it
  EXPECT_EQ(canvas.FindText("C"), nullptr);

  PlotTopo = true;
  Draw("layered.RHO");
  canvas.Clear();
  DrawModelMarkers();
  EXPECT_EQ(canvas.FindText("B")->y, 315 + 42 - 3 - 12);  // ground 5 m below TopLevel
}

TEST_F(ModelSectionTest, ABoreholeColumnShowsItsLayersMethodAndGroundwater) {
  ASSERT_TRUE(LoadFillPatterns(BitmapFolder));
  TReferenceColumn hole;
  hole.Position = 30;
  hole.Method = "Drill";
  hole.HasGwl = true;
  hole.Gwl = 1.5;
  hole.Layers = {{2.0, 3, "Sand", 0}, {6.0, 7, "Clay", 5}};
  TReferenceColumn before = hole, after = hole, never = hole;
  before.Position = -5;
  after.Position = 120;
  never.Position = 60;
  ModelOverlays.References = {before, hole, after, never};
  Draw("layered.RHO");
  canvas.Clear();
  DrawReferenceData(canvas);

  // 8 pixels wide around 261.3: columns 257..265; rows 0, 18 and 55 for 0, 2 and 6 m.
  ASSERT_EQ(canvas.polygons.size(), 2u);
  const auto& sand = canvas.polygons[0];
  EXPECT_EQ(sand.points, (std::vector<TPoint>{{322, 355}, {330, 355}, {330, 373}, {322, 373}}));
  EXPECT_EQ(sand.pattern, GetFillPattern(3));
  EXPECT_EQ(sand.pen, MakeRgb(0, 0, 0));
  const auto& clay = canvas.polygons[1];
  EXPECT_EQ(clay.points[2], (TPoint{330, 410}));
  EXPECT_EQ(clay.pattern, GetFillPattern(7));
  EXPECT_EQ(clay.brush, C(5));

  ASSERT_NE(canvas.FindText("Drill"), nullptr);
  EXPECT_EQ(canvas.FindText("Drill")->x, 330 - 20);
  EXPECT_EQ(canvas.FindText("Drill")->y, 355 + 55 + 3);
  bool water = false;
  for (const auto& s : canvas.segments)
    water = water || (s.pen == MakeRgb(0, 0, 255) && s.width == 2 && s.x1 == 323 && s.x2 == 329 &&
                      s.y1 == 355 + 14);
  EXPECT_TRUE(water);

  const auto* sandText = canvas.FindText("Sand");
  ASSERT_NE(sandText, nullptr);
  EXPECT_EQ(sandText->x, 330 - 3 + 8);
  EXPECT_EQ(sandText->y, 355 + 9 - 6);
  EXPECT_EQ(sandText->fontColour, MakeRgb(0, 0, 0));
  EXPECT_EQ(sandText->brush, BrushStyle::Solid);
  const auto* clayText = canvas.FindText("Clay");
  ASSERT_NE(clayText, nullptr);
  EXPECT_EQ(clayText->fontColour, MakeRgb(255, 255, 255));  // readable on its colour box

  canvas.Clear();
  graphtype.TransparentLayerLabels = true;
  DrawReferenceData(canvas);
  EXPECT_EQ(canvas.FindText("Clay")->brush, BrushStyle::Clear);
}

TEST_F(ModelSectionTest, TheDriverDrawsEveryOverlayThatIsSwitchedOn) {
  PlotLvl = true;
  PlotMark = true;
  PlotRef = true;
  optrec.nMarkers = 1;
  optrec.Xmark[1] = 25;
  optrec.MarkStr[1] = "M1";
  TReferenceColumn hole;
  hole.Position = 30;
  hole.Method = "Pit";
  hole.Layers = {{2.0, 0, "", 0}};
  ModelOverlays.References = {hole};
  Draw("layered.RHO");
  EXPECT_NE(canvas.FindText("M1"), nullptr);
  EXPECT_NE(canvas.FindText("Pit"), nullptr);
  EXPECT_EQ(canvas.CallsStartingWith("PenStyle").size() > 0, true);
  EXPECT_EQ(DiagramPolygons().size(), 1u);  // the borehole layer
  EXPECT_EQ(canvas.clipped, false);         // no viewport left behind
}

// ---- Block model files
// -----------------------------------------------------------------------------

TEST_F(ModelSectionTest, AModFileIsDrawnAsDigitSelectedBlocks) {
  SetAxes(0, 8, 1, 0, 4, 1);
  PlotTopo = true;  // a block model has no ground: ignored
  Draw("blocks.MOD");
  EXPECT_TRUE(prompts.texts.empty());
  ASSERT_EQ(PlotX0, 120);
  ASSERT_EQ(PlotY0, 210);
  const auto blocks = DiagramPolygons();
  ASSERT_EQ(blocks.size(), 8u);
  EXPECT_EQ(blocks[0].points,
            (std::vector<TPoint>{{120, 210}, {310, 210}, {310, 305}, {120, 305}}));
  EXPECT_EQ(blocks[0].brush, C(0));
  EXPECT_EQ(blocks[2].brush, C(9));
  EXPECT_EQ(blocks[4].points[0], (TPoint{120, 305}));
  EXPECT_EQ(blocks[4].brush, C(9));
  EXPECT_EQ(TopoSpan, 0);

  canvas.Clear();
  prompts.texts.clear();
  Draw("wide.MOD");
  ASSERT_EQ(prompts.texts.size(), 1u);
  EXPECT_NE(prompts.texts[0].find("at most 255 blocks per layer"), std::string::npos);
}

// ---- Column reading
// ------------------------------------------------------------------------------

TEST(ModelColumns, LayerSpansAndCellCentres) {
  std::vector<double> boundary, centre;
  LayeredSpans({1.0, 5.0, 9.0}, boundary);
  EXPECT_EQ(boundary, (std::vector<double>{0, 5, 9, 13}));
  LayeredSpans({2.0}, boundary);
  EXPECT_EQ(boundary, (std::vector<double>{0, 4}));
  CellSpans({2.0, 6.0}, centre, boundary);
  EXPECT_EQ(boundary, (std::vector<double>{0, 2, 6, 10}));
  EXPECT_EQ(centre, (std::vector<double>{1, 4, 8}));
}

TEST(ModelColumns, Rh2ColumnsCarryGroundAndCells) {
  TModelColumnReader reader;
  ASSERT_TRUE(reader.Open(Dir + "hillsip.RH2"));
  EXPECT_TRUE(reader.IsRho2());
  EXPECT_TRUE(reader.HasIP());
  reader.SetQuantity(TModelQuantity::IP);
  TModelColumn c;
  ASSERT_EQ(reader.Next(c), TColumnStatus::Column);
  EXPECT_EQ(c.X, 0);
  EXPECT_EQ(c.Elevation, 100);
  EXPECT_EQ(c.Value, (std::vector<double>{4.5, 4.5}));
  EXPECT_EQ(c.Boundary, (std::vector<double>{0, 4, 8}));
  int columns = 1;
  while (reader.Next(c) == TColumnStatus::Column) ++columns;
  EXPECT_EQ(columns, 11);
}

}  // namespace
}  // namespace karvelo::test
