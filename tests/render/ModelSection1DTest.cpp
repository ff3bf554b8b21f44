// The 1D model section: building the models of a small Wenner survey (model files with
// their trailer, scratch files, the build log), the questions of the driver, and the
// failures of a build that cannot write its files.
//
// WENSMALL.DAT is a Wenner survey of 32 electrodes 2 m apart, a = 2 .. 12 m, over a
// 50 ohm-m cover 2 to 4 m thick (thickening along the profile) on 200 ohm-m: 129 data at
// six pseudo-depths 1 .. 6 m.

#include "render/ModelSection1D.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/Files.h"
#include "base/PlotState.h"
#include "base/Res2err.h"
#include "base/ScriptedPrompts.h"
#include "input/DatReader.h"
#include "input/ModelReaders.h"
#include "input/QvMath.h"
#include "render/DrawLayer.h"
#include "render/RenderFixture.h"
#include "render/SoundingColumns.h"
#include "support/TempDir.h"

namespace karvelo::test {
namespace {

namespace fs = std::filesystem;

const std::string Fixture = std::string(KARVELO_FIXTURES_DIR) + "/zohdy1d/WENSMALL.DAT";
const std::string Demo = std::string(KARVELO_SOURCE_DIR) + "/resources/demo/DEMODATA.DAT";

std::vector<std::string> Lines(const std::string& path) {
  TextLines file;
  std::vector<std::string> lines;
  if (!file.Open(path)) return lines;
  std::string line;
  while (file.ReadLine(line)) lines.push_back(line);
  return lines;
}

bool Contains(const std::vector<std::string>& texts, const std::string& part) {
  for (const std::string& t : texts) {
    if (t.find(part) != std::string::npos) return true;
  }
  return false;
}

// Files in a folder whose names contain `part`.
int FilesContaining(const std::string& folder, const std::string& part) {
  int n = 0;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) {
    if (e.path().filename().string().find(part) != std::string::npos) ++n;
  }
  return n;
}

class ModelSection1DTest : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    InitPlotColours();
    OddAndEven = false;
    SmoothIncl = true;
    Load(Fixture);
  }
  void TearDown() override {
    OddAndEven = false;
    SmoothIncl = true;
    RenderTest::TearDown();
  }

  // Copies a data file into the test folder and loads it as a diagram does.
  void Load(const std::string& source) {
    const std::string name = FileNameOf(source);
    fs::copy_file(source, dir / name, fs::copy_options::overwrite_existing);
    optrec.DataDisk = "";
    optrec.DataDir = dir.Folder();
    DataFolder = dir.Folder();
    optrec.FileName = BaseNameOf(name);
    optrec.DataExt = ExtensionOf(name);
    IsDatFile = ScanDatHeader(false);
    ASSERT_TRUE(IsDatFile);
    ASSERT_TRUE(ScanDatFile());
    optrec.ArrayType = "Wenner";  // from the diagram's settings file
    ModelKind = 0;
  }
  void UseSmallAxes() {
    graphtype.Lmin = 0;
    graphtype.Lmax = 50;
    graphtype.Llabel = 10;
    graphtype.Dmin = 0;
    graphtype.Dmax = 8;
    graphtype.Dlabel = 2;
  }

  std::string Folder(const char* name) const { return dir.Folder() + name + "/"; }
  std::string Model(const char* folder) const { return Folder(folder) + optrec.FileName + ".RHO"; }
  std::string LogPath() const { return dir / BuildLogName; }

  UniqueTempDir dir{"zohdy1d"};
  ScriptedPrompts prompts;
  ScopedPrompts guard{prompts};
};

// ---- Soundings from the grid -------------------------------------------------------------------

TDatPoint Datum(double x, double a, double value) {
  TDatPoint d;
  d.x = d.position = x;
  d.a = a;
  d.depth = a / 2;
  d.value = value;
  return d;
}

// Unit spacing 1: columns 0.25 apart from x = 0; rows at pseudo-depths 0.5, 1, 1.5.
TSoundingGridLayout Placing(double overlap, int plotWhich = 2) {
  return TSoundingGridLayout{0.0, 0.25, 1.0, overlap, plotWhich};
}

const std::vector<double> Levels{0.5, 1.0, 1.5};

TEST(SoundingColumnsTest, RowGapsAreBridgedOnlyWithinTheOverlap) {
  // Row 1 has data at columns 1 and 9 (x 0 and 2): g = 8 columns, g * u / 2 = 4.
  const std::vector<TDatPoint> data{Datum(0, 1, 10), Datum(2, 1, 30), Datum(1, 2, 50)};
  for (const double overlap : {4.0, 3.9}) {
    TSoundingColumns c;
    c.Build(data, Levels, Placing(overlap));
    TSounding s;
    c.SoundingAt(5, s);  // x = 1: its own datum in row 2, row 1 bridged or not
    double x = 0;
    ASSERT_TRUE(c.ColumnX(5, x));
    EXPECT_DOUBLE_EQ(x, 1.0);
    if (overlap >= 4) {
      ASSERT_EQ(s.Points(), 2);
      EXPECT_DOUBLE_EQ(s.Rhoa[0], 20.0);
      EXPECT_DOUBLE_EQ(s.Spacing[0], 1.0);
      EXPECT_DOUBLE_EQ(s.Level[1], 1.0);
      EXPECT_DOUBLE_EQ(s.Spacing[1], 2.0);
    } else {
      ASSERT_EQ(s.Points(), 1);
      EXPECT_DOUBLE_EQ(s.Level[0], 1.0);
    }
  }
}

TEST(SoundingColumnsTest, ColumnsHaveNoVerticalFill) {
  // Rows 1 and 3 at x = 1, row 2 nowhere near: the sounding keeps the hole.
  const std::vector<TDatPoint> data{Datum(1, 1, 10), Datum(1, 3, 30)};
  TSoundingColumns c;
  c.Build(data, Levels, Placing(20));
  TSounding s;
  c.SoundingAt(5, s);
  EXPECT_EQ(s.Level, (std::vector<double>{0.5, 1.5}));
  // Columns before the first and after the last datum have no position.
  double x = 0;
  EXPECT_FALSE(c.ColumnX(4, x));
  EXPECT_FALSE(c.ColumnX(6, x));
}

TEST(SoundingColumnsTest, DuplicatesFollowPlotWhichAndStrangersAreCounted) {
  const std::vector<TDatPoint> data{Datum(1, 1, 10), Datum(1, 1, 20), Datum(1, 1, 40),
                                    Datum(1, 7, 99), Datum(1, 2, -5)};
  const double expected[] = {10, 40, 27.5};  // first, last, running average
  for (int which = 0; which <= 2; ++which) {
    TSoundingColumns c;
    c.Build(data, Levels, Placing(20, which));
    EXPECT_EQ(c.Unplaced(), 1);  // the pseudo-depth 3.5 is no row
    TSounding s;
    c.SoundingAt(5, s);
    ASSERT_EQ(s.Points(), 1) << which;  // the negative value is left out
    EXPECT_DOUBLE_EQ(s.Rhoa[0], expected[which]) << which;
  }
}

// ---- Texts ------------------------------------------------------------------------------------

TEST_F(ModelSection1DTest, TrailerAndLogLineAreLaidOutExactly) {
  optrec.ArrayType = "Wenner";
  EXPECT_EQ(ModelTrailer(0.01234, false),
            "/Model residuals:\r\n0.012\r\n/Inversion type header:\r\nWENNER ZOHDY 1D MODEL\r\n");
  EXPECT_EQ(ModelTrailer(0.5, true),
            "/Model residuals:\r\n0.500\r\n/Inversion type header:\r\n"
            "WENNER SMOOTHED ZOHDY 1D MODEL\r\n");
  EXPECT_EQ(BuildLogLine("LINE1", false, true, 0.25),
            "LINE1  OddAndEven = FALSE  SmoothIncl = TRUE  Time = 0.2min");
  EXPECT_EQ(CreateModelQuestion("/d/ZOHDY1D/", "L.RHO"),
            "Zohdy model file /d/ZOHDY1D/L.RHO not found!\n\rCreate now?");
  EXPECT_EQ(ModelFolderOf(3), optrec.DataDir + "SMOOTG1D/");
  EXPECT_EQ(ModelFolderOf(8), "");
}

// ---- Building ---------------------------------------------------------------------------------

TEST_F(ModelSection1DTest, BuildWritesBothModelsWithTheirTrailersAndALogLine) {
  ASSERT_TRUE(Build1DModels(false, false));
  EXPECT_TRUE(prompts.messages.empty()) << prompts.texts.front();

  for (const char* folder : {"ZOHDY1D", "ZOHDY1DS"}) {
    SCOPED_TRACE(folder);
    const std::vector<std::string> lines = Lines(Model(folder));
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[0], "RHO-1");
    EXPECT_EQ(lines[1], "6 1 2 3 4 5 6");  // the layer centres are the pseudo-depths
    const std::size_t n = lines.size();
    EXPECT_EQ(lines[n - 4], "/Model residuals:");
    EXPECT_EQ(lines[n - 3].size(), 5u);
    double rms = -1;
    ASSERT_TRUE(ParseReal(lines[n - 3], rms));
    EXPECT_GT(rms, 0.0);
    EXPECT_LT(rms, 0.05);
    EXPECT_EQ(lines[n - 2], "/Inversion type header:");
    EXPECT_EQ(lines[n - 1], std::string(folder) == "ZOHDY1D" ? "WENNER ZOHDY 1D MODEL"
                                                             : "WENNER SMOOTHED ZOHDY 1D MODEL");
    // Every record: x and six values; x grows by two grid columns (1 m).
    double lastX = 0;
    for (std::size_t i = 2; i < n - 4; ++i) {
      LineValueArray v{};
      std::string text;
      ASSERT_TRUE(ParseRealLine(lines[i], 7, v, text)) << lines[i];
      if (i > 2) {
        EXPECT_DOUBLE_EQ(v[0] - lastX, 1.0);
      }
      lastX = v[0];
      // The cover of 50 ohm-m shows at the top, the 200 ohm-m base at depth.
      EXPECT_NEAR(v[1], 50, 15) << lines[i];
      EXPECT_GT(v[6], 100) << lines[i];
    }
    // The model scan of the 1D section reads the trailer's misfit.
    double firstX = 0, endX = 0, width = 0;
    ModelPath = Folder(folder);
    ASSERT_TRUE(ScanModelFile1D(optrec.FileName + ".RHO", true, firstX, endX, width));
    EXPECT_DOUBLE_EQ(optrec.RMS[1], rms);
    EXPECT_EQ(LastModelScan.nLayers, 6);
    EXPECT_DOUBLE_EQ(width, 1.0);
    EXPECT_EQ(FilesContaining(Folder(folder), ".TMP"), 0);
    EXPECT_EQ(FilesContaining(Folder(folder), ".tmp"), 0);
  }
  const std::vector<std::string> log = Lines(LogPath());
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], "WENSMALL  OddAndEven = FALSE  SmoothIncl = TRUE  Time = 0.0min");
  // The misfit pass advanced the progress box (every 100 matches of 129 data).
  EXPECT_GE(prompts.progressUpdates, 2);
}

TEST_F(ModelSection1DTest, SwitchesChooseColumnsAndModels) {
  OddAndEven = true;
  SmoothIncl = false;
  ASSERT_TRUE(Build1DModels(false, false));
  EXPECT_FALSE(fs::exists(Model("ZOHDY1DS")));
  const std::size_t every = Lines(Model("ZOHDY1D")).size();
  EXPECT_EQ(Lines(LogPath()).back(),
            "WENSMALL  OddAndEven = TRUE  SmoothIncl = FALSE  Time = 0.0min");

  // A fast build inverts every second column only and makes no smoothed model, but
  // leaves the switches as they were for the next complete build.
  ASSERT_TRUE(Build1DModels(true, false));
  const std::size_t second = Lines(Model("ZOHDY1D")).size();
  EXPECT_NEAR(static_cast<double>(every - 6), 2.0 * static_cast<double>(second - 6), 2.0);
  EXPECT_TRUE(OddAndEven);
  EXPECT_EQ(Lines(LogPath()).size(), 2u);
}

TEST_F(ModelSection1DTest, GridModelsGoToTheirOwnFoldersWithHalfSpacingLayers) {
  ASSERT_TRUE(Build1DModels(false, true));
  EXPECT_FALSE(fs::exists(Folder("ZOHDY1D")));
  for (const char* folder : {"MODELG1D", "SMOOTG1D"}) {
    const std::vector<std::string> lines = Lines(Model(folder));
    ASSERT_GT(lines.size(), 2u) << folder;
    // h = 1: boundaries 1, 2, 3, 4, 5 (6 passes 6 - 0.5 and only ends the grid).
    EXPECT_EQ(lines[1], "6 0.5 1.5 2.5 3.5 4.5 5.5") << folder;
  }
}

TEST_F(ModelSection1DTest, LogKeepsEarlierLines) {
  {
    std::ofstream old(LogPath(), std::ios::binary);
    old << "OLDFILE  OddAndEven = FALSE  SmoothIncl = TRUE  Time = 1.5min";  // no line break
  }
  ASSERT_TRUE(Build1DModels(true, false));
  const std::vector<std::string> log = Lines(LogPath());
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "OLDFILE  OddAndEven = FALSE  SmoothIncl = TRUE  Time = 1.5min");
  EXPECT_EQ(log[1].rfind("WENSMALL  OddAndEven = FALSE  SmoothIncl = FALSE", 0), 0u);
}

TEST_F(ModelSection1DTest, TooFewPseudoDepthsBuildNothing) {
  {
    std::ofstream f(dir / "TWOLEVEL.DAT", std::ios::binary);
    f << "Two levels\n1\n1\n6\n1\n0\n1.5 1 10\n2.5 1 11\n3.5 1 12\n3 2 10\n4 2 10\n5 2 11\n0\n0\n";
  }
  optrec.FileName = "TWOLEVEL";
  ASSERT_TRUE(ScanDatHeader(false));
  ScanDatFile();
  EXPECT_FALSE(Build1DModels(false, false));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].text.find("TWOLEVEL.DAT"), std::string::npos);
  EXPECT_FALSE(fs::exists(Model("ZOHDY1D")));
  EXPECT_EQ(FilesContaining(Folder("ZOHDY1D"), "TMP"), 0);
  EXPECT_FALSE(fs::exists(LogPath()));
}

// ---- Failures while writing -----------------------------------------------------------------

TEST_F(ModelSection1DTest, FolderThatCannotBeMadeIsNamedAndNothingIsWritten) {
  std::ofstream(dir / "ZOHDY1DS") << "a file where the smoothed folder should go";
  EXPECT_FALSE(Build1DModels(false, false));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].text.find(Folder("ZOHDY1DS")), std::string::npos)
      << prompts.messages[0].text;
  EXPECT_FALSE(fs::exists(Model("ZOHDY1D")));
  EXPECT_EQ(FilesContaining(Folder("ZOHDY1D"), "WENSMALL"), 0);
  EXPECT_FALSE(fs::exists(LogPath()));
}

TEST_F(ModelSection1DTest, ModelFileThatCannotBeWrittenLeavesNoPartBehind) {
  // A folder stands where the smoothed model file should be written.
  fs::create_directories(Model("ZOHDY1DS"));
  EXPECT_FALSE(Build1DModels(false, false));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].text.find(Model("ZOHDY1DS")), std::string::npos)
      << prompts.messages[0].text;
  EXPECT_TRUE(fs::is_directory(Model("ZOHDY1DS")));
  EXPECT_TRUE(fs::is_empty(Model("ZOHDY1DS")));
  for (const char* folder : {"ZOHDY1D", "ZOHDY1DS"}) {
    EXPECT_EQ(FilesContaining(Folder(folder), ".TMP"), 0) << folder;
    EXPECT_EQ(FilesContaining(Folder(folder), ".tmp"), 0) << folder;
  }
  EXPECT_FALSE(fs::exists(LogPath()));
}

TEST_F(ModelSection1DTest, ScratchFileThatCannotBeCreatedIsNamed) {
  fs::create_directories(Folder("ZOHDY1D") + "WENSMALL.TMP");
  EXPECT_FALSE(Build1DModels(true, false));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].text.find(Folder("ZOHDY1D") + "WENSMALL.TMP"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(Folder("ZOHDY1D") + "WENSMALL.TMP"));  // left alone
  EXPECT_FALSE(fs::exists(Model("ZOHDY1D")));
}

TEST_F(ModelSection1DTest, LogThatCannotBeWrittenIsReportedButTheModelStands) {
  fs::create_directories(LogPath());
  EXPECT_TRUE(Build1DModels(true, false));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].kind, MessageKind::Warning);
  EXPECT_NE(prompts.messages[0].text.find(LogPath()), std::string::npos);
  EXPECT_TRUE(fs::exists(Model("ZOHDY1D")));
  EXPECT_TRUE(fs::is_directory(LogPath()));
}

// ---- The driver -------------------------------------------------------------------------------

TEST_F(ModelSection1DTest, DrawingBuildsOnceAndThenUsesTheModel) {
  UseSmallAxes();
  prompts.answers = {Answer::Yes, Answer::Yes};
  PlotModelSection1D(canvas, canvas.Width(), canvas.Height());
  ASSERT_EQ(prompts.questions.size(), 2u);
  EXPECT_EQ(prompts.questions[0], CreateModelQuestion(Folder("ZOHDY1D"), "WENSMALL.RHO"));
  EXPECT_EQ(prompts.questions[1], CompleteModelQuestion);
  EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front().text;
  EXPECT_EQ(prompts.progressResets, 1);
  EXPECT_EQ(ModelPath, Folder("ZOHDY1D"));
  EXPECT_EQ(RhoFilename, "WENSMALL.RHO");
  EXPECT_TRUE(fs::exists(Model("ZOHDY1DS")));

  // The model is painted inside the diagram, and the title names the model kind.
  int painted = 0;
  for (int y = PlotY0; y <= PlotY1; ++y) {
    for (int x = PlotX0; x <= PlotX1; ++x) painted += canvas.PixelAt(x, y) != canvas.White;
  }
  EXPECT_GT(painted, 100);
  std::vector<std::string> texts;
  for (const auto& t : canvas.texts) texts.push_back(t.text);
  EXPECT_TRUE(Contains(texts, "Wenner 1D ZOHDY MODEL"));

  // The second drawing asks nothing and builds nothing.
  canvas.Clear();
  PlotModelSection1D(canvas, canvas.Width(), canvas.Height());
  EXPECT_EQ(prompts.questions.size(), 2u);
  EXPECT_EQ(Lines(LogPath()).size(), 1u);
}

TEST_F(ModelSection1DTest, FastAnswerDrawsTheUnsmoothedModel) {
  UseSmallAxes();
  ModelKind = 1;  // the smoothed model was asked for
  prompts.answers = {Answer::Yes, Answer::No};
  PlotModelSection1D(canvas, canvas.Width(), canvas.Height());
  EXPECT_EQ(ModelKind, 0);
  EXPECT_EQ(ModelPath, Folder("ZOHDY1D"));
  EXPECT_TRUE(fs::exists(Model("ZOHDY1D")));
  EXPECT_FALSE(fs::exists(Folder("ZOHDY1DS")));
  EXPECT_NE(Lines(LogPath()).back().find("SmoothIncl = FALSE"), std::string::npos);
}

TEST_F(ModelSection1DTest, DecliningOrFailingLeavesNoModelToDraw) {
  struct Case {
    std::vector<Answer> answers;
    bool blockFolder;
  };
  const Case cases[] = {{{Answer::No}, false},
                        {{Answer::Yes, Answer::Cancel}, false},
                        {{Answer::Yes, Answer::Yes}, true}};
  for (const Case& c : cases) {
    prompts = ScriptedPrompts();
    prompts.answers.assign(c.answers.begin(), c.answers.end());
    if (c.blockFolder) std::ofstream(dir / "ZOHDY1D") << "in the way";
    EXPECT_THROW(PlotModelSection1D(canvas, canvas.Width(), canvas.Height()), EKarvNoModelCreated);
    EXPECT_FALSE(fs::exists(Model("ZOHDY1D")));
    if (c.blockFolder) {
      ASSERT_EQ(prompts.messages.size(), 1u);
      EXPECT_NE(prompts.messages[0].text.find(Folder("ZOHDY1D")), std::string::npos);
    } else {
      EXPECT_TRUE(prompts.messages.empty());
      EXPECT_FALSE(fs::exists(Folder("ZOHDY1D")));
    }
  }
}

TEST_F(ModelSection1DTest, OnlyWennerDataAreImaged) {
  optrec.ArrayCode = 3;
  EXPECT_THROW(PlotModelSection1D(canvas, canvas.Width(), canvas.Height()), EKarvNoModelCreated);
  ASSERT_EQ(prompts.texts.size(), 1u);
  EXPECT_EQ(prompts.texts[0], WennerOnlyText);
  EXPECT_FALSE(fs::exists(Folder("ZOHDY1D")));
}

TEST_F(ModelSection1DTest, TopographyThatDoesNotCoverTheModelCanBeLeftOut) {
  UseSmallAxes();
  ASSERT_TRUE(Build1DModels(true, false));
  std::ofstream(dir / "WENSMALL.ALT") << "0 100\n20 101\n";  // the model reaches 37 m
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    prompts = ScriptedPrompts();
    prompts.answers = {answer};
    canvas.Clear();
    PlotTopo = true;
    PlotModelSection1D(canvas, canvas.Width(), canvas.Height());
    ASSERT_EQ(prompts.texts.size(), 2u);
    EXPECT_EQ(prompts.texts[0], TopographyNotCovering1DText);
    EXPECT_EQ(prompts.texts[1], PlotWithoutTopographyQuestion);
    EXPECT_EQ(canvas.texts.empty(), answer == Answer::No);
    EXPECT_TRUE(PlotTopo);  // the switch is the diagram's: put back after the drawing
    TopoList.nTopoPoints = 0;
  }
}

TEST_F(ModelSection1DTest, DemoSurveyWithTopographyIsBuiltAndDrawn) {
  Load(Demo);
  ASSERT_GT(TopoList.nTopoPoints, 0);
  prompts.answers = {Answer::Yes, Answer::Yes};
  PlotModelSection1D(canvas, canvas.Width(), canvas.Height());
  EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front().text;
  EXPECT_TRUE(fs::exists(Model("ZOHDY1D")));
  EXPECT_TRUE(fs::exists(Model("ZOHDY1DS")));
  EXPECT_FALSE(canvas.texts.empty());
}

}  // namespace
}  // namespace karvelo::test
