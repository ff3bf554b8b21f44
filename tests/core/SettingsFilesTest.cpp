#include "core/SettingsFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/CoreTestSupport.h"

namespace karvelo {
namespace {

using testing::CoreTest;

// ---- Number formats ------------------------------------------------------------------------

TEST(SettingsNumbers, GeneralFormatHasNoTrailingZerosAndAPoint) {
  EXPECT_EQ(FormatGeneral(12.5), "12.5");
  EXPECT_EQ(FormatGeneral(100), "100");
  EXPECT_EQ(FormatGeneral(-0.25), "-0.25");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatGeneral(1e20), "1E20");
  EXPECT_EQ(FormatGeneral(1e-5), "1E-5");
  EXPECT_EQ(FormatShortest(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(FormatShortest(47.5), "47.5");
}

TEST(SettingsNumbers, StepsToReachIsTheSmallestPositiveWholeNumber) {
  struct Case {
    double start, step, target, k;
  };
  const Case cases[] = {
      {0, 10, 95, 10}, {0, 10, 100, 10}, {0, 10, 0, 1},
      {0, 10, -50, 1}, {0, 0.1, 0.3, 3}, {5, 2.5, 15, 4},
      {0, 0, 100, 1},  {0, -1, 100, 1},  {0, 1e-300, 1e300, std::ceil(1e300 / 1e-300)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StepsToReach(c.start, c.step, c.target), c.k)
        << c.start << " + k * " << c.step << " >= " << c.target;
  }
  EXPECT_EQ(StepsToReach(0, NAN, 1), 1);
}

// ---- INF into the shared state -------------------------------------------------------------

class InfStateTest : public CoreTest {};

TEST_F(InfStateTest, ReadsEveryItemOfAFullFile) {
  dir.Put("survey.inf", Lines({"Profile A^B", "2021-05-04", "Dipole-dipole", "// Direction labels:",
                               "West", "East", "2  // Number of markers to follow:", "12.5 1 Road",
                               "40 3 Creek with a long name here",
                               "// 2D inversion model file:", "/models/run1/survey.rh2"}));
  EXPECT_TRUE(ReadInfIntoState(false));
  EXPECT_EQ(optrec.Comment,
            "Profile A\xEA"
            "B");
  EXPECT_EQ(optrec.Date, "2021-05-04");
  EXPECT_EQ(optrec.ArrayType, "Dipole-dipole");
  EXPECT_EQ(optrec.ArrayCode, 5);  // not a DAT file: the code comes from the name
  EXPECT_EQ(optrec.LeftDirect, "West");
  EXPECT_EQ(optrec.RightDirect, "East");
  ASSERT_EQ(optrec.nMarkers, 2);
  EXPECT_EQ(optrec.Xmark[1], 12.5);
  EXPECT_EQ(optrec.PosFlag[1], 1);
  EXPECT_EQ(optrec.MarkStr[1], " Road");  // the separating blank belongs to the label
  EXPECT_EQ(optrec.Xmark[2], 40);
  EXPECT_EQ(optrec.MarkStr[2], " Creek with a long n");  // 20 characters
  EXPECT_EQ(ModelPath, "/models/run1/");
  EXPECT_EQ(RhoFilename, "survey.rh2");
  EXPECT_EQ(ModelFileExt, ".RH2");
  EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(InfStateTest, ArrayCodeOfNamesInFilesThatAreNotDatFiles) {
  struct Case {
    const char* line;
    bool datFile;
    const char* arrayType;
    int code;
  };
  const Case cases[] = {
      {"Pole-Pole", false, "Pole-Pole", 4},
      {"POLE-DIPOLE", false, "POLE-DIPOLE", 6},
      {"pol-dip", false, "pol-dip", 6},
      {"Dipole-dipole", false, "Dipole-dipole", 5},
      {"Schlumberger", false, "Schlumberger", 10},
      {"Wenner", false, "Wenner", 16},
      {" Wenner", false, "", 7},  // a leading blank: no name, code untouched
      {"", false, "", 7},
      {"Pole-Pole", true, "Pole-Pole", 7},  // a DAT file keeps the code of its header
  };
  for (const Case& c : cases) {
    ResetPlotState();
    optrec.DataDir = dir.Dir();
    optrec.FileName = "survey";
    optrec.ArrayCode = 7;
    optrec.ArrayType = "old";
    IsDatFile = c.datFile;
    dir.Put("survey.inf", Lines({"T", "D", c.line}));
    ReadInfIntoState(false);
    EXPECT_EQ(optrec.ArrayType, c.arrayType) << c.line;
    EXPECT_EQ(optrec.ArrayCode, c.code) << c.line;
  }
}

TEST_F(InfStateTest, EmptyTitleAndBracedDateAndShortFile) {
  optrec.LeftDirect = "old";
  optrec.nMarkers = 3;
  dir.Put("SURVEY.INF", Lines({"", "{no date}", "Wenner", "// Direction labels:"}));
  EXPECT_TRUE(ReadInfIntoState(false));
  EXPECT_EQ(optrec.Comment, "survey");
  EXPECT_EQ(optrec.Date, "");
  EXPECT_EQ(optrec.LeftDirect, "");
  EXPECT_EQ(optrec.nMarkers, 0);
}

TEST_F(InfStateTest, MissingFileNamesTheTitleAfterTheFileUnlessItIsADatFile) {
  optrec.Date = "old";
  optrec.Comment = "from header";
  optrec.ArrayCode = 5;
  IsDatFile = true;
  EXPECT_FALSE(ReadInfIntoState(false));
  EXPECT_EQ(optrec.Date, "");
  EXPECT_EQ(optrec.Comment, "from header");
  EXPECT_EQ(optrec.ArrayCode, 5);
  IsDatFile = false;
  ReadInfIntoState(false);
  EXPECT_EQ(optrec.Comment, "survey");
  EXPECT_EQ(optrec.ArrayCode, NoArrayCode);
  EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(InfStateTest, MoreThanAHundredMarkersAreCutWithOneMessage) {
  std::string text = Lines({"T", "D", "A", "// Direction labels:", "", "", "150"});
  for (int i = 1; i <= 150; ++i) text += std::to_string(i) + " 0 m" + std::to_string(i) + "\r\n";
  dir.Put("survey.inf", text);
  ReadInfIntoState(false);
  EXPECT_EQ(optrec.nMarkers, 100);
  EXPECT_EQ(optrec.Xmark[100], 100);
  const std::vector<std::string> expected = {
      "Sorry, the maximum number of marker labels is 100.Ignoring the rest."};
  EXPECT_EQ(prompts.texts, expected);
  ReadInfIntoState(false);  // the reload before the next drawing does not repeat it
  EXPECT_EQ(prompts.texts.size(), 1u);
}

TEST_F(InfStateTest, BadCountStopsAndBadMarkerLinesAreLeftOut) {
  dir.Put("survey.inf", Lines({"T", "D", "A", "// Direction labels:", "L", "R", "many",
                               "// 2D inversion model file:", "/m/x.rho"}));
  ModelPath = "keep/";
  ReadInfIntoState(false);
  EXPECT_EQ(optrec.nMarkers, 0);
  EXPECT_EQ(ModelPath, "keep/");

  dir.Put("survey.inf", Lines({"T", "D", "A", "// Direction labels:", "L", "R", "3", "5 1 a",
                               "five 1 b", "7 2 c", "// 2D inversion model file:", "x.RHO"}));
  ReadInfIntoState(false);
  ASSERT_EQ(optrec.nMarkers, 2);
  EXPECT_EQ(optrec.Xmark[2], 7);
  EXPECT_EQ(optrec.MarkStr[2], " c");
  EXPECT_EQ(ModelPath, "");
  EXPECT_EQ(RhoFilename, "x.RHO");
}

TEST_F(InfStateTest, ModelFileLineIsIgnoredForModelFilesAndWhenBlank) {
  const std::string text = Lines({"T", "D", "A", "// Direction labels:", "", "", "0",
                                  "// 2D inversion model file:", "/m/other.rho"});
  dir.Put("survey.inf", text);
  RhoFilename = "survey.RHO";
  ReadInfIntoState(true);
  EXPECT_EQ(RhoFilename, "survey.RHO");
  dir.Put("survey.inf", Lines({"T", "D", "A", "// Direction labels:", "", "", "0",
                               "// 2D inversion model file:", "    "}));
  ReadInfIntoState(false);
  EXPECT_EQ(RhoFilename, "survey.RHO");
}

// ---- Default INF ---------------------------------------------------------------------------

TEST_F(CoreTest, DefaultInfIsWrittenOnceFromTheState) {
  optrec.Comment = "Blocks";
  optrec.ArrayCode = 1;
  ModelPath = "/data/";
  RhoFilename = "survey.RHO";
  EXPECT_TRUE(WriteDefaultInf());
  EXPECT_EQ(optrec.ArrayType, "Wenner");  // the empty name is taken from the array table
  EXPECT_EQ(dir.Get("survey.inf"), Lines({"Blocks", "", "WENNER", "// Direction labels:", "", "",
                                          "0  // Number of markers to follow:",
                                          "// 2D inversion model file:", "/data/survey.RHO"}));
  optrec.Comment = "Changed";
  EXPECT_FALSE(WriteDefaultInf());
  EXPECT_EQ(dir.Get("survey.inf").substr(0, 6), "Blocks");
  EXPECT_TRUE(WriteDefaultInf(true));
  EXPECT_EQ(dir.Get("survey.inf").substr(0, 7), "Changed");
}

TEST_F(CoreTest, DefaultInfWritesMarkersAndLeavesAFileOfAnyCaseAlone) {
  optrec.Comment = "Line 3\r\nsecond part";  // one line per item, whatever the text holds
  optrec.ArrayType = "Pole-dipole";
  optrec.nMarkers = 1;
  optrec.Xmark[1] = 47.5;
  optrec.PosFlag[1] = 2;
  optrec.MarkStr[1] = "Fence";
  WriteDefaultInf();
  EXPECT_EQ(dir.Get("survey.inf"),
            Lines({"Line 3  second part", "", "POLE-DIPOLE", "// Direction labels:", "", "",
                   "1  // Number of markers to follow:", "47.5 2 Fence",
                   "// 2D inversion model file:", ""}));
  std::filesystem::remove(dir / "survey.inf");
  dir.Put("Survey.INF", "mine");
  EXPECT_FALSE(WriteDefaultInf());
  EXPECT_EQ(dir.Get("Survey.INF"), "mine");
}

TEST_F(CoreTest, AnUnwritableFolderIsToldOnceAndStopsNothing) {
  optrec.DataDir = dir.Dir() + "gone/";
  EXPECT_FALSE(WriteDefaultInf());
  EXPECT_FALSE(WriteDefaultInf());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].kind, MessageKind::Warning);
  EXPECT_NE(prompts.messages[0].text.find(dir.Dir() + "gone/survey.inf"), std::string::npos);
}

// ---- REF -----------------------------------------------------------------------------------

std::vector<TReferenceData> SampleReferences() {
  TReferenceData bore;
  bore.SetPosition(12.5);
  bore.SetAngle(30);
  bore.SetMethod("Drilling, core");
  bore.SetGwl(1.75);
  bore.SetGWlData(true);
  bore.Layers().emplace_back(0.5, 3, "Top soil", 2);
  bore.Layers().emplace_back(4.25, 17, "Clay with  stones", 11);
  TReferenceData pit;
  pit.SetPosition(-3);
  pit.SetMethod("");
  return {bore, pit};
}

TEST_F(CoreTest, ReferenceFileLayoutAndRoundTrip) {
  const auto items = SampleReferences();
  ASSERT_TRUE(SaveReference(items, "survey"));
  EXPECT_EQ(dir.Get("survey.ref"),
            Lines({"12.5 30", "Drilling, core", "1.75", "2", "0.5 3 2 Top soil",
                   "4.25 17 11 Clay with  stones", "-3 0", "", "", "0"}));
  std::vector<TReferenceData> read{TReferenceData{}};
  ASSERT_TRUE(LoadReference(read, "SURVEY"));
  EXPECT_EQ(read, items);
}

TEST_F(CoreTest, ReferenceFileEdgeCases) {
  struct Case {
    std::string text;
    std::vector<double> positions;
    std::vector<int> layers;
  };
  const Case cases[] = {
      // The angle that does not convert is ignored; blank lines between items are skipped.
      {Lines({"5 steep", "m", "", "0", "", "  ", "9", "m2", "2.5", "1", "1 2 3 x"}),
       {5, 9},
       {0, 1}},
      // A file that ends inside an item keeps what was read.
      {Lines({"5", "m", "1.5"}), {5}, {0}},
      // A layer count that does not convert ends the file there.
      {Lines({"5", "m", "", "two", "7", "m", "", "0"}), {5}, {0}},
      // A damaged layer line is left out; so is the layer count beyond the file.
      {Lines({"5", "m", "", "3", "1 2 3 ok", "bad line", "2 2 2 ok"}), {5}, {2}},
      // Text that is no position ends the items.
      {Lines({"5", "m", "", "0", "end of list"}), {5}, {0}},
  };
  for (const Case& c : cases) {
    dir.Put("survey.ref", c.text);
    std::vector<TReferenceData> read;
    LoadReference(read, "survey");
    ASSERT_EQ(read.size(), c.positions.size()) << c.text;
    for (std::size_t i = 0; i < read.size(); ++i) {
      EXPECT_EQ(read[i].Position(), c.positions[i]) << c.text;
      EXPECT_EQ(read[i].Layers().size(), static_cast<std::size_t>(c.layers[i])) << c.text;
    }
  }
  EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(CoreTest, SavingNoReferencesDeletesTheFileAndMissingFileKeepsTheList) {
  dir.Put("Survey.Ref", "1\r\nm\r\n\r\n0\r\n");
  EXPECT_TRUE(SaveReference({}, "survey"));
  EXPECT_FALSE(dir.Has("Survey.Ref"));
  EXPECT_TRUE(SaveReference({}, "survey"));  // nothing to delete is fine
  auto items = SampleReferences();
  EXPECT_FALSE(LoadReference(items, "survey"));
  EXPECT_EQ(items.size(), 2u);
}

// ---- GLF -----------------------------------------------------------------------------------

TEST_F(CoreTest, DefaultAxesFromTheDataExtent) {
  struct Case {
    double xMin, xMax, u, dLow;
    double lmin, lmax, llabel, dmin, dmax, dlabel;
  };
  const Case cases[] = {
      // 47 unit spacings: labels every 20 spacings.
      {0, 94, 2, 15.6, 0, 120, 40, 0, 16, 4},
      // 15 spacings: every 10; the label step still covers a tenth of the extent.
      {10, 40, 2, 5, 0, 40, 20, 0, 6, 2},
      // 8 spacings: every 5.
      {0, 8, 1, 3, 0, 10, 5, 0, 3, 1},
      // 4 spacings: every spacing.
      {1, 5, 1, 1.2, 1, 5, 1, 0, 2, 1},
      // Depth needs more than five steps of u: the label step grows by whole u.
      {0, 100, 5, 60, 0, 100, 50, 0, 60, 15},
  };
  for (const Case& c : cases) {
    ReadDiagramLimits(true, c.xMax, c.xMin, c.dLow, c.u);
    EXPECT_EQ(graphtype.Lmin, c.lmin) << c.xMin << ".." << c.xMax;
    EXPECT_EQ(graphtype.Lmax, c.lmax) << c.xMin << ".." << c.xMax;
    EXPECT_EQ(graphtype.Llabel, c.llabel) << c.xMin << ".." << c.xMax;
    EXPECT_EQ(graphtype.Dmin, c.dmin);
    EXPECT_EQ(graphtype.Dmax, c.dmax) << c.dLow;
    EXPECT_EQ(graphtype.Dlabel, c.dlabel) << c.dLow;
  }
  EXPECT_FALSE(dir.Has("survey.GLF"));  // defaults are not written at load
}

TEST_F(CoreTest, DefaultAxesOfModelsWhoseColumnsDoNotAdvanceStillEnd) {
  // Column width 0 and no depth: both label steps would be 0.
  ReadDiagramLimits(true, 50, 0, 0, 0);
  EXPECT_GT(graphtype.Llabel, 0);
  EXPECT_GT(graphtype.Dlabel, 0);
  EXPECT_LE(graphtype.Lmin, 0);
  EXPECT_GE(graphtype.Lmax, 50);
  EXPECT_TRUE(std::isfinite(graphtype.Dmax));
  // A negative width takes the depth extent as the distance step.
  graphtype.Lmin = 0;
  graphtype.Lmax = 100;
  ReadDiagramLimits(true, 60, 10, 8, -2);
  EXPECT_EQ(graphtype.Llabel, 8);
  EXPECT_EQ(graphtype.Lmin, 10);  // (100 - 0) / 2 = 50, lowered by 8 to 42, then to 10
  EXPECT_EQ(graphtype.Lmax, 66);
  EXPECT_EQ(graphtype.Dmin, -2);
}

TEST_F(CoreTest, DiagramLimitsFileLayoutRoundTripAndRejection) {
  graphtype.Lmin = -10;
  graphtype.Lmax = 250.5;
  graphtype.Llabel = 25;
  graphtype.Dmin = 0;
  graphtype.Dmax = 42.75;
  graphtype.Dlabel = 7;
  ASSERT_TRUE(WriteDiagramLimits());
  EXPECT_EQ(dir.Get("survey.GLF"),
            Lines({"-10 { minimum x-distance }", "250.5 { maximum x-distance }",
                   "25 { x-distance label interval }", "0 { minimum depth }",
                   "42.75 { maximum depth }", "7 { depth label interval }"}));
  ResetPlotState();
  optrec.DataDir = dir.Dir();
  optrec.FileName = "SURVEY";
  EXPECT_TRUE(ReadDiagramLimits(true, 94, 0, 15.6, 2));
  EXPECT_EQ(graphtype.Lmax, 250.5);
  EXPECT_EQ(graphtype.Dmax, 42.75);

  const std::string rejected[] = {
      Lines({"50", "50", "10", "0", "20", "5"}),      // Lmin = Lmax
      Lines({"0", "100", "10", "0", "twenty", "5"}),  // a value that does not convert
      Lines({"0", "100", "10"}),                      // too short
      Lines({"0", "100", "*", "0", "20", "5"}),       // a missing value
  };
  for (const std::string& text : rejected) {
    dir.Put("survey.GLF", text);
    EXPECT_FALSE(ReadDiagramLimits(true, 94, 0, 15.6, 2)) << text;
    EXPECT_EQ(graphtype.Lmax, 120) << text;
    EXPECT_EQ(graphtype.Llabel, 40) << text;
  }
}

// ---- RLF -----------------------------------------------------------------------------------

std::vector<double> Column(int column) {
  std::vector<double> v;
  for (int k = graphtype.mincol; k < graphtype.maxcol; ++k) {
    v.push_back(graphtype.RhoLimit[static_cast<std::size_t>(25 * column + k)]);
  }
  return v;
}

TEST_F(CoreTest, LogarithmicDefaultColourLimitsAreWritten) {
  EXPECT_FALSE(ReadColourLimits(true, 10, 1000, 0, 0, 0, 0));
  EXPECT_EQ(Column(0), (std::vector<double>{14, 19, 27, 37, 52, 72, 100, 140, 190, 270, 370}));
  EXPECT_EQ(graphtype.rholabel, 7);  // limits per decade
  EXPECT_EQ(dir.Get("survey.RLF"), Lines({" 14", " 19", " 27", " 37", " 52", " 72", " 100", " 140",
                                          " 190", " 270", " 370"}));
  EXPECT_TRUE(ReadColourLimits(true, 3.2, 5000, 0, 0, 0, 0));  // the file now counts
  std::filesystem::remove(dir / "survey.RLF");
  ReadColourLimits(true, 3.2, 5000, 0, 0, 0, 0);
  EXPECT_EQ(Column(0), (std::vector<double>{4, 6.3, 10, 16, 25, 40, 63, 100, 160, 250, 400}));
}

TEST_F(CoreTest, LinearAndIPDefaultColourLimits) {
  optrec.IPflag = 1;
  ReadColourLimits(false, 0, 100, -5, 50, 0, 0.5);
  EXPECT_EQ(Column(0), (std::vector<double>{0, 9, 18, 27, 36, 45, 54, 63, 72, 81, 90}));
  // 4.5 per step, rounded half to even.
  EXPECT_EQ(Column(1), (std::vector<double>{0, 4, 9, 14, 18, 22, 27, 32, 36, 40, 45}));
  // Below 10: two significant digits.
  const std::vector<double> ratio = Column(2);
  const std::vector<double> expected = {0,    0.045, 0.09, 0.14, 0.18, 0.22,
                                        0.27, 0.32,  0.36, 0.4,  0.45};
  ASSERT_EQ(ratio.size(), expected.size());
  for (std::size_t k = 0; k < ratio.size(); ++k) EXPECT_DOUBLE_EQ(ratio[k], expected[k]) << k;
  EXPECT_DOUBLE_EQ(graphtype.rholabel, 0.045);  // the last step computed
  EXPECT_EQ(
      dir.Get("survey.RLF"),
      Lines({" 0 0 0", " 9 4 0.045", " 18 9 0.09", " 27 14 0.14", " 36 18 0.18", " 45 22 0.22",
             " 54 27 0.27", " 63 32 0.32", " 72 36 0.36", " 81 40 0.4", " 90 45 0.45"}));
}

TEST_F(CoreTest, EqualValuesStillGiveLimitsAndNoDataLeavesThemAlone) {
  ReadColourLimits(true, 50, 50, 0, 0, 0, 0);
  const auto v = Column(0);
  for (double x : v) EXPECT_TRUE(std::isfinite(x));
  EXPECT_LT(v.front(), v.back());
  const auto before = graphtype.RhoLimit;
  std::filesystem::remove(dir / "survey.RLF");
  ReadColourLimits(false, 50, 50, 0, 0, 0, 0);  // linear over no range: nothing to compute
  EXPECT_EQ(graphtype.RhoLimit, before);
}

TEST_F(CoreTest, ColourLimitsFileIsAcceptedWhenItsPlottedColumnSpansARange) {
  optrec.TimeSteps = 2;  // a second column, but no third without IP
  dir.Put("Survey.rlf", Lines({" 1 -10 7", " 2 -5 7", " 3", " 4 5", " 5 10", " 6 15", " 7 20",
                               " 8 25", " 9 30", " 10 35", " 11 40"}));
  EXPECT_TRUE(ReadColourLimits(true, 10, 1000, 0, 0, 0, 0));
  EXPECT_EQ(Column(0), (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(Column(1)[0], -10);
  EXPECT_EQ(Column(1)[2], 0);  // the short line leaves its entry
  EXPECT_EQ(Column(2)[0], 0);

  // The plotted column (the second here) holds one value: defaults replace the file.
  std::string flat;
  for (int k = 1; k <= 11; ++k) flat += " " + std::to_string(k) + " 5\r\n";
  dir.Put("Survey.rlf", flat);
  graphtype.IPflag = 1;
  EXPECT_FALSE(ReadColourLimits(true, 10, 1000, 0, 0, 0, 0));
  EXPECT_EQ(Column(0)[0], 14);
  EXPECT_EQ(dir.Get("Survey.rlf").substr(0, 9), " 14 5 0\r\n");
}

TEST_F(CoreTest, ColourLimitsNeverGoPastOneColumn) {
  graphtype.maxcol = 40;
  const auto before = graphtype.RhoLimit;
  ReadColourLimits(true, 10, 1000, 0, 0, 0, 0);
  EXPECT_EQ(graphtype.RhoLimit[25], before[25]);  // column 1 untouched
  int lines = 0;
  for (char c : dir.Get("survey.RLF")) lines += c == '\n';
  EXPECT_EQ(lines, 25);
}

}  // namespace
}  // namespace karvelo
