#include "core/SctDraw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "core/CoreTestSupport.h"
#include "input/DatReader.h"

namespace fs = std::filesystem;

namespace karvelo {
namespace {

using testing::CoreTest;

std::string Fixture(const std::string& name) {
  return ReadWholeFile(std::string(KARVELO_FIXTURES_DIR) + "/core/" + name).value();
}

class DiagramTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    fs::current_path(dir.Dir());
  }
  // A copy of a fixture in the scratch folder: loading writes settings files beside it.
  std::string Copy(const std::string& fixture, const std::string& as) {
    dir.Put(as, Fixture(fixture));
    return dir / as;
  }
};

// ---- Creation --------------------------------------------------------------------------

TEST_F(DiagramTest, CreationAsksThePlotTypeAndTakesTheCurrentFolder) {
  graphtype.ModSelFlag = true;
  ModelKind = 3;
  prompts.plotTypes = {dtModsec1D};
  TSectionDiagram d;
  EXPECT_EQ(d.DiagramType(), dtModsec1D);
  EXPECT_EQ(prompts.plotTypePreselections, std::vector<int>{1});
  EXPECT_EQ(ModelKind, 0);
  EXPECT_EQ(d.Model(), mtFirst);
  const std::string cwd = fs::current_path().string();
  EXPECT_EQ(LaunchDir, cwd);
  EXPECT_EQ(DataFolder, cwd);
  EXPECT_EQ(optrec.DataDir, cwd + "/");
  EXPECT_EQ(optrec.DataDisk, "");
  EXPECT_EQ(d.RhoInterpolation(), riLog);
  EXPECT_FALSE(d.Exception());
  EXPECT_TRUE(d.Markers().empty());

  prompts.plotTypes = {dtPseudo};
  ModelKind = 3;
  TSectionDiagram pseudo;
  EXPECT_EQ(pseudo.DiagramType(), dtPseudo);
  EXPECT_EQ(ModelKind, 3);
}

// ---- Properties ------------------------------------------------------------------------

TEST_F(DiagramTest, PropertySettersWriteTheSharedState) {
  TSectionDiagram d;
  struct Case {
    const char* name;
    std::function<void()> set;
    std::function<bool()> check;
  };
  const std::string longText(100, 'x');
  const Case cases[] = {
      {"Header cut to 80", [&] { d.SetHeader(longText); },
       [&] { return optrec.Comment == std::string(80, 'x') && d.Header() == longText; }},
      {"Date", [&] { d.SetDate("2020-01-02"); }, [] { return optrec.Date == "2020-01-02"; }},
      {"ArrayType", [&] { d.SetArrayType("Wenner"); }, [] { return optrec.ArrayType == "Wenner"; }},
      {"ArrayTypeStr", [&] { d.SetArrayTypeStr("DD"); }, [] { return optrec.ArrayType == "DD"; }},
      {"ArrayCode", [&] { d.SetArrayCode(5); }, [] { return optrec.ArrayCode == 5; }},
      {"DistUnit cut to 2", [&] { d.SetDistUnit("feet"); }, [] { return DistUnit == "fe"; }},
      {"PlotDots", [&] { d.SetPlotDots(true); }, [] { return PlotDots; }},
      {"KiloOhmm", [&] { d.SetKiloOhmm(true); }, [] { return KiloOhmm; }},
      {"PlotLegend", [&] { d.SetPlotLegend(false); }, [] { return !PlotLegend; }},
      {"NoDepth", [&] { d.SetNoDepth(true); }, [] { return NoDepth; }},
      {"NoDist", [&] { d.SetNoDist(true); }, [] { return NoDist; }},
      {"NoInfo", [&] { d.SetNoInfo(true); }, [] { return NoInfo; }},
      {"PlotDataPts", [&] { d.SetPlotDataPts(false); }, [] { return !PlotDataPts; }},
      {"PlotCross", [&] { d.SetPlotCross(true); }, [] { return PlotCross; }},
      {"PlotTopo", [&] { d.SetPlotTopo(false); }, [] { return !PlotTopo; }},
      {"PlotLvl", [&] { d.SetPlotLvl(false); }, [] { return !PlotLvl; }},
      {"PlotRef", [&] { d.SetPlotRef(false); }, [] { return !PlotRef; }},
      {"PlotMark", [&] { d.SetPlotMark(false); }, [] { return !PlotMark; }},
      {"SquareModel", [&] { d.SetSquareModel(true); }, [] { return SquareModel; }},
      {"SquarePlot", [&] { d.SetSquarePlot(true); }, [] { return SquarePlot; }},
      {"Interpolation", [&] { d.SetInterpolation(itSpline); }, [] { return SplineInterpolation; }},
      {"SectionStart", [&] { d.SetSectionStart(-5); }, [] { return graphtype.Lmin == -5; }},
      {"SectionEnd", [&] { d.SetSectionEnd(95); }, [] { return graphtype.Lmax == 95; }},
      {"SectionLabel", [&] { d.SetSectionLabel(10); }, [] { return graphtype.Llabel == 10; }},
      {"DepthStart", [&] { d.SetDepthStart(1); }, [] { return graphtype.Dmin == 1; }},
      {"DepthEnd", [&] { d.SetDepthEnd(33); }, [] { return graphtype.Dmax == 33; }},
      {"DepthLabel", [&] { d.SetDepthLabel(3); }, [] { return graphtype.Dlabel == 3; }},
      {"RhoMin", [&] { d.SetRhoMin(2); }, [] { return graphtype.rhomin == 2; }},
      {"RhoMax", [&] { d.SetRhoMax(2000); }, [] { return graphtype.rhomax == 2000; }},
      {"RhoLabel", [&] { d.SetRhoLabel(7); }, [] { return graphtype.rholabel == 7; }},
      {"IPMin", [&] { d.SetIPMin(-1); }, [] { return graphtype.ipmin == -1; }},
      {"IPMax", [&] { d.SetIPMax(40); }, [] { return graphtype.ipmax == 40; }},
      {"IPLabel", [&] { d.SetIPLabel(4); }, [] { return graphtype.iplabel == 4; }},
      {"Left label cut to 10", [&] { d.SetLeftDirectionLabel("South-southwest"); },
       [] { return optrec.LeftDirect == "South-sout"; }},
      {"Right label", [&] { d.SetRightDirectionLabel("N"); },
       [] { return optrec.RightDirect == "N"; }},
      {"XYRatio", [&] { d.SetXYRatio(2.5); }, [] { return graphtype.XYfactor == 2.5; }},
      {"DistanceLabel", [&] { d.SetDistanceLabel("x [m]"); },
       [] { return CurrentLabels.DistStr == "x [m]"; }},
      {"DepthScaleLabel", [&] { d.SetDepthScaleLabel("z"); },
       [] { return CurrentLabels.DepthStr == "z"; }},
      {"LegendLabel", [&] { d.SetLegendLabel("rho"); },
       [] { return CurrentLabels.ResStr == "rho"; }},
      {"ModelPath", [&] { d.SetModelPath("/m/"); }, [] { return ModelPath == "/m/"; }},
      {"RhoFilename splits", [&] { d.SetRhoFilename("/data/run/survey.rho"); },
       [&] {
         return RhoFilename == "survey.rho" && ModelPath == "/data/run/" &&
                d.RhoFilename() == "survey.rho" && d.ModelPath() == "/data/run/";
       }},
      {"RhoLimit writes both", [&] { d.SetRhoLimit(2, 24, 9.5); },
       [&] {
         return graphtype.RhoLimit[74] == 9.5 && d.RhoLimits()[74] == 9.5 &&
                d.RhoLimit(2, 24) == 9.5;
       }},
      {"RhoLimit out of range",
       [&] {
         d.SetRhoLimit(3, 0, 1);
         d.SetRhoLimit(0, 25, 1);
       },
       [&] { return d.RhoLimit(3, 0) == 0 && d.RhoLimit(0, -1) == 0; }},
  };
  for (const Case& c : cases) {
    c.set();
    EXPECT_TRUE(c.check()) << c.name;
  }
}

TEST_F(DiagramTest, ModelKindFollowsTheModelOnlyForTheTwoPlainKinds) {
  TSectionDiagram d;
  const struct {
    TModelType model;
    int kindAfterSet;
    int kindAfterSetProperties;
  } cases[] = {{mtFirst, 0, 0}, {mtSmoothed, 1, 1}, {mtFirstGrid, 7, 1}, {mtSmoothedGrid, 7, 1}};
  for (const auto& c : cases) {
    ModelKind = 7;
    d.SetModel(c.model);
    EXPECT_EQ(ModelKind, c.kindAfterSet) << c.model;
    d.SetProperties();
    EXPECT_EQ(ModelKind, c.kindAfterSetProperties) << c.model;
  }
  ModelKind = 4;  // left by a 2D model drawing
  d.GetProperties();
  EXPECT_EQ(d.Model(), mtSmoothed);
  ModelKind = 0;
  d.GetProperties();
  EXPECT_EQ(d.Model(), mtFirst);
}

TEST_F(DiagramTest, SetPropertiesAndGetPropertiesCopyTheSameItemsBothWays) {
  TSectionDiagram d;
  d.SetHeader("Title");
  d.SetArrayType("first");
  d.SetArrayTypeStr("second");
  d.SetIPplot(1);
  d.SetIPflag(11);
  d.SetIPwindows(4);
  d.SetTimeSteps(3);
  d.SetTimeStepPlot(0);
  d.SetNormalisedIP(1);
  d.SetTimeWindowIP(2);
  d.SetModSelFlag(true);
  d.SetPlotCross(true);
  d.SetSectionStart(-10);
  d.SetSectionEnd(90);
  d.SetSectionLabel(20);
  d.SetRhoLimit(1, 3, 42);
  d.SetLegendLabel("L");
  d.SetXYRatio(3);
  d.SetRhoFilename("/x/m.rho");

  ResetPlotState();
  d.SetProperties();
  EXPECT_EQ(optrec.Comment, "Title");
  EXPECT_EQ(optrec.ArrayType, "second");
  EXPECT_EQ(graphtype.IPflag, 1);
  EXPECT_EQ(optrec.IPflag, 11);
  EXPECT_EQ(optrec.IPwindows, 4);
  EXPECT_EQ(optrec.TimeSteps, 3);
  EXPECT_EQ(graphtype.TimeStep, 0);
  EXPECT_EQ(graphtype.NormalisedIP, 1);
  EXPECT_EQ(graphtype.TimeWindowIP, 2);
  EXPECT_TRUE(graphtype.ModSelFlag);
  EXPECT_TRUE(PlotCross);
  EXPECT_FALSE(PlotLegend);  // a diagram holds zeros until it takes the loaded settings
  EXPECT_EQ(graphtype.Lmin, -10);
  EXPECT_EQ(graphtype.Lmax, 90);
  EXPECT_EQ(graphtype.RhoLimit[28], 42);
  EXPECT_EQ(graphtype.RhoLimit[0], 0);
  EXPECT_EQ(CurrentLabels.ResStr, "L");
  EXPECT_EQ(graphtype.XYfactor, 3);
  EXPECT_EQ(ModelPath, "/x/");
  EXPECT_EQ(RhoFilename, "m.rho");

  ResetPlotState();
  optrec.Comment = "Loaded";
  optrec.ArrayType = "Wenner";
  graphtype.Dmax = 77;
  PlotDots = true;
  CurrentLabels.DistStr = "D";
  RhoFilename = "other.RHO";
  d.GetProperties();
  EXPECT_EQ(d.Header(), "Loaded");
  EXPECT_EQ(d.ArrayType(), "Wenner");
  EXPECT_EQ(d.ArrayTypeStr(), "Wenner");
  EXPECT_EQ(d.DepthEnd(), 77);
  EXPECT_TRUE(d.PlotDots());
  EXPECT_TRUE(d.PlotLegend());
  EXPECT_EQ(d.DistanceLabel(), "D");
  EXPECT_EQ(d.RhoFilename(), "other.RHO");
  EXPECT_EQ(d.RhoLimits(), graphtype.RhoLimit);
  EXPECT_EQ(d.TimeSteps(), 1);
}

// ---- Loading ---------------------------------------------------------------------------

TEST_F(DiagramTest, LoadingAFreshDatFileWritesTheDefaultInfAndColourLimits) {
  const std::string path = Copy("survey.dat", "survey.dat");
  fs::current_path(fs::temp_directory_path());
  TSectionDiagram d;
  d.SetFileName(path);
  EXPECT_EQ(fs::current_path().string() + "/", dir.Dir());
  EXPECT_EQ(optrec.DataDir, dir.Dir());
  EXPECT_EQ(DataFolder, dir.Dir());
  EXPECT_EQ(optrec.FileName, "survey");
  EXPECT_TRUE(IsDatFile);
  EXPECT_EQ(ScanResults.nDataPoints, 8);
  EXPECT_EQ(RhoFilename, "survey.RHO");
  EXPECT_EQ(
      dir.Get("survey.inf"),
      Lines({"Test survey", "", "WENNER", "// Direction labels:", "", "",
             "0  // Number of markers to follow:", "// 2D inversion model file:", "survey.RHO"}));
  EXPECT_EQ(dir.Get("survey.RLF"), Lines({" 160", " 190", " 230", " 270", " 320", " 370", " 440",
                                          " 520", " 610", " 720", " 850"}));
  EXPECT_FALSE(dir.Has("survey.GLF"));
  EXPECT_FALSE(dir.Has("survey.ref"));
  EXPECT_EQ(graphtype.Lmin, 1);
  EXPECT_EQ(graphtype.Lmax, 6);
  EXPECT_EQ(graphtype.Llabel, 1);
  EXPECT_EQ(graphtype.Xsize, 87);
  EXPECT_EQ(graphtype.Ysize, 38);
  EXPECT_EQ(d.Header(), "Test survey");  // the diagram read its settings file too
  EXPECT_EQ(d.ArrayType(), "WENNER");
  EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(DiagramTest, TheSettingsOfTheFileLoadedBeforeAreNotCarriedIntoANewInf) {
  Copy("survey.dat", "first.dat");
  dir.Put("first.inf", Lines({"First", "2020-01-01", "Wenner", "// Direction labels:", "W", "E",
                              "1  // Number of markers to follow:", "2 1 Gate",
                              "// 2D inversion model file:", ""}));
  TSectionDiagram d;
  d.SetFileName(dir / "first.dat");
  EXPECT_EQ(optrec.nMarkers, 1);
  EXPECT_EQ(optrec.LeftDirect, "W");
  d.SetFileName(Copy("survey.dat", "second.dat"));
  EXPECT_EQ(
      dir.Get("second.inf"),
      Lines({"Test survey", "", "WENNER", "// Direction labels:", "", "",
             "0  // Number of markers to follow:", "// 2D inversion model file:", "second.RHO"}));
}

TEST_F(DiagramTest, SaveWritesAllFourFilesAndTheReloadReadsThemBack) {
  const std::string path = Copy("survey.dat", "Survey.DAT");
  TSectionDiagram d;
  d.SetFileName(path);
  d.GetProperties();
  d.SetHeader("Saved title");
  d.SetLeftDirectionLabel("SW");
  d.SetSectionLabel(2);
  d.SetSectionEnd(9);
  d.Markers() = {TDiagramMarker(2.5, 1, "Road"), TDiagramMarker(4, 2, "Creek bed")};
  TReferenceData bore;
  bore.SetPosition(3);
  bore.SetMethod("Auger");
  bore.Layers().emplace_back(1.5, 4, "Sand", 3);
  d.ReferenceData() = {bore};
  d.SetProperties();
  d.Save();
  EXPECT_EQ(graphtype.GeoLimitFil, "Survey");
  EXPECT_EQ(dir.Get("Survey.inf"),
            Lines({"Saved title", "", "WENNER", "// Direction labels:", "SW", "",
                   "2  // Number of markers to follow", "2.5 1 Road", "4 2 Creek bed",
                   "// 2D inversion model file:", "Survey.RHO"}));
  const std::string axes = Lines(
      {"1 { minimum x-distance }", "9 { maximum x-distance }", "2 { x-distance label interval }"});
  EXPECT_EQ(dir.Get("Survey.GLF").substr(0, axes.size()), axes);
  EXPECT_EQ(dir.Get("Survey.ref"), Lines({"3 0", "Auger", "", "1", "1.5 4 3 Sand"}));
  EXPECT_TRUE(dir.Has("Survey.RLF"));

  TSectionDiagram again;
  again.SetFileName(path);
  EXPECT_EQ(optrec.Comment, "Saved title");
  EXPECT_EQ(optrec.nMarkers, 2);
  EXPECT_EQ(optrec.MarkStr[2], " Creek bed");
  EXPECT_EQ(graphtype.Lmax, 9);
  EXPECT_EQ(again.Header(), "Saved title");
  EXPECT_EQ(again.Markers(), d.Markers());
  EXPECT_EQ(again.ReferenceData(), d.ReferenceData());

  again.ReferenceData().clear();
  again.Save();
  EXPECT_FALSE(dir.Has("Survey.ref"));
}

TEST_F(DiagramTest, AnInfWithoutMarkersKeepsTheDiagramsMarkers) {
  const std::string path = Copy("survey.dat", "survey.dat");
  TSectionDiagram d;
  d.Markers() = {TDiagramMarker(1, 0, "kept")};
  d.SetFileName(path);  // the default INF has no markers
  ASSERT_EQ(d.Markers().size(), 1u);
  EXPECT_EQ(d.Markers()[0].Descr(), "kept");
}

TEST_F(DiagramTest, NameWithSeveralDotsTakesTheFirstDotAsItsExtension) {
  Copy("survey.dat", "a.b.dat");
  TSectionDiagram d;
  d.SetFileName(dir / "a.b.dat");
  EXPECT_EQ(optrec.FileName, "a");
  EXPECT_EQ(DataFileExt, ".b.d");
  EXPECT_FALSE(IsDatFile);
  EXPECT_FALSE(graphtype.ModSelFlag);
  EXPECT_FALSE(dir.Has("a.inf"));
}

TEST_F(DiagramTest, LoadingAModelFileTakesItsExtents) {
  const std::string path = Copy("model.rho", "model.RHO");
  TSectionDiagram d;
  d.SetFileName(path);
  EXPECT_TRUE(graphtype.ModSelFlag);
  EXPECT_FALSE(IsDatFile);
  EXPECT_EQ(RhoFilename, "model.RHO");
  EXPECT_EQ(ModelFileExt, ".RHO");
  EXPECT_EQ(ScanResults.XPlotMin, 0);
  EXPECT_EQ(ScanResults.XPlotMax, 6);
  EXPECT_EQ(ScanResults.UnitSpacing, 2);
  EXPECT_EQ(ScanResults.SpacingMin, 0.5);
  EXPECT_EQ(ScanResults.SpacingMax, 3);
  EXPECT_EQ(ScanResults.nDataPoints, 0);
  EXPECT_FALSE(dir.Has("model.inf"));  // only DAT files get a default settings file
  EXPECT_TRUE(dir.Has("model.RLF"));
  EXPECT_EQ(optrec.Comment, "model");
}

TEST_F(DiagramTest, AMissingModelFileWritesNoSettings) {
  TSectionDiagram d;
  d.SetFileName(dir / "gone.rho");
  EXPECT_FALSE(dir.Has("gone.RLF"));
  EXPECT_FALSE(prompts.texts.empty());  // the model reader says it is missing
}

TEST_F(DiagramTest, NoFileAndRelativeNames) {
  TSectionDiagram d;
  d.SetFileName("");
  EXPECT_EQ(optrec.FileName, "NO FILE");
  EXPECT_EQ(d.FileName(), "");
  d.Save();  // nowhere to save: nothing written
  EXPECT_TRUE(fs::is_empty(dir.Dir()));

  Copy("survey.dat", "survey.dat");
  fs::current_path(dir.Dir() + "..");
  const std::string relative =
      fs::path(dir.Dir()).parent_path().filename().string() + "/survey.dat";
  d.SetFileName(relative);
  EXPECT_EQ(d.FileName(), dir / "survey.dat");
  EXPECT_EQ(ScanResults.nDataPoints, 8);
  d.SetFileName(d.FileName());  // the reload before the next drawing, from the data folder
  EXPECT_EQ(ScanResults.nDataPoints, 8);
}

// ---- Real survey files ------------------------------------------------------------------

std::vector<fs::path> RealDatFiles() {
  std::vector<fs::path> files;
  for (const auto& e : fs::recursive_directory_iterator(KARVELO_REALDATA_DIR)) {
    if (e.is_regular_file() && SameTextNoCase(e.path().extension().string(), ".dat")) {
      files.push_back(e.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

int CountLines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(DiagramTest, WennerFieldDataWithIPAndTopographyLoadsWithItsSettings) {
  const std::string path = dir / "p3.dat";
  fs::copy_file(std::string(KARVELO_REALDATA_DIR) + "/wenner/p3_Wenner_S-N.dat", path);
  TSectionDiagram d;
  d.SetFileName(path);
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(prompts.questions[0], ResistivityOrIPQuestion);
  EXPECT_EQ(graphtype.IPflag, 1);  // "No": the IP data are plotted
  EXPECT_EQ(ScanResults.nDataPoints, 176);
  EXPECT_EQ(dir.Get("p3.inf").substr(0, 43),
            Lines({"Eichig_Sportplatz_Wenner_04_S-N", "", "WENNER"}));
  // Eleven limits, each with the IP and normalised-IP columns beside it.
  const std::string limits = dir.Get("p3.RLF");
  EXPECT_EQ(CountLines(limits), 11);
  EXPECT_EQ(CountLines(limits),
            static_cast<int>(std::count(limits.begin(), limits.end(), ' ')) / 3);
  d.GetProperties();
  EXPECT_LT(d.RhoLimit(0, 0), d.RhoLimit(0, 10));
  EXPECT_LT(d.SectionStart(), d.SectionEnd());
}

TEST_F(DiagramTest, EveryRealDatFileLoadsWithoutHarm) {
  prompts.defaultAnswer = Answer::Yes;
  for (const fs::path& source : RealDatFiles()) {
    ResetPlotState();
    ForgetSettingsFileProblems();
    const std::string path = dir / source.filename().string();
    fs::copy_file(source, path, fs::copy_options::overwrite_existing);
    TSectionDiagram d;
    d.SetFileName(path);
    d.GetProperties();
    const std::string base = source.stem().string();
    if (IsDatFile) {
      EXPECT_TRUE(FileExistsNoCase(dir / (base + ".inf"))) << source;
    }
    if (ScanResults.nPseudoDepths > 1) {
      const auto rlf = FindFileNoCase(dir / (base + ".RLF"));
      ASSERT_TRUE(rlf) << source;
      EXPECT_EQ(CountLines(ReadWholeFile(*rlf).value()), 11) << source;
      EXPECT_LT(graphtype.Lmin, graphtype.Lmax) << source;
      EXPECT_GT(graphtype.Llabel, 0) << source;
      EXPECT_GT(graphtype.Dlabel, 0) << source;
    }
  }
}

}  // namespace
}  // namespace karvelo
