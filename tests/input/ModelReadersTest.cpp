#include "input/ModelReaders.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/TempDir.h"

#include <filesystem>
#include <string>

#include "base/Files.h"
#include "base/ScriptedPrompts.h"

namespace karvelo {
namespace {

namespace fs = std::filesystem;

const std::string kModelDir = std::string(KARVELO_FIXTURES_DIR) + "/model/";

class ModelScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlotState();
    ModelPath = kModelDir;
  }
  void TearDown() override { ResetPlotState(); }

  bool Scan(const std::string& name, bool report = true) {
    return ScanModelFile(name, report, firstX, lastX, width);
  }

  ScriptedPrompts prompts;
  ScopedPrompts guard{prompts};
  double firstX = -1, lastX = -1, width = -1;
};

// ---- The three dialects -------------------------------------------------------------------

TEST_F(ModelScanTest, HeaderlessModelTakesItsRmsFromTheSideFile) {
  ASSERT_TRUE(Scan("m1.RHO"));
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_EQ(LastModelScan.Dialect, TModelDialect::Plain);
  EXPECT_EQ(firstX, 0);
  EXPECT_EQ(lastX, 6);
  EXPECT_EQ(width, 2);
  EXPECT_EQ(graphtype.Dhigh, 0.5);
  EXPECT_EQ(graphtype.Dlow, 5.0);
  EXPECT_EQ(ScanResults.RhoDataMin, 90);
  EXPECT_EQ(ScanResults.RhoDataMax, 210);
  EXPECT_FALSE(optrec.NewRhoFormat);
  EXPECT_FALSE(Rho2Format);
  // m1.rms is spelt in lower case; the RMS is the last token of its first line.
  EXPECT_EQ(optrec.RMS[1], 2.75);
  EXPECT_EQ(optrec.InversionTxtStr, "Smoothness-constrained inversion");
  EXPECT_EQ(LastModelScan.nLayers, 4);
  EXPECT_EQ(LastModelScan.nColumns, 4);
}

TEST_F(ModelScanTest, Rho1ModelWithMissingValuesAndTrailer) {
  optrec.IPflag = 11;  // left by a data file; the header decides
  ASSERT_TRUE(Scan("rho1.RHO"));
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_EQ(LastModelScan.Dialect, TModelDialect::Rho1);
  EXPECT_TRUE(optrec.NewRhoFormat);
  EXPECT_EQ(optrec.IPflag, 0);
  EXPECT_EQ(firstX, 10);
  EXPECT_EQ(lastX, 13);
  EXPECT_EQ(width, 1);
  EXPECT_EQ(graphtype.Dhigh, 0.5);
  EXPECT_EQ(graphtype.Dlow, 3.25);
  EXPECT_EQ(ScanResults.RhoDataMin, 0.5);
  EXPECT_EQ(ScanResults.RhoDataMax, 150);
  EXPECT_EQ(optrec.RMS[1], 0.034);
  EXPECT_EQ(optrec.RMS[2], 0);
  EXPECT_EQ(optrec.InversionTxtStr, "Robust inversion, iteration 5");
  EXPECT_FALSE(ModelLabelsRead);
}

TEST_F(ModelScanTest, Rho1IpModelReadsWrappedRecordsBothRmsValuesAndItsLabels) {
  ASSERT_TRUE(Scan("rho1ip.RHO"));
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_EQ(optrec.IPflag, 1);
  EXPECT_EQ(firstX, 0);
  EXPECT_EQ(lastX, 3);
  EXPECT_EQ(width, 1.5);
  // IP values (up to 999) stay out of the resistivity range.
  EXPECT_EQ(ScanResults.RhoDataMin, 100);
  EXPECT_EQ(ScanResults.RhoDataMax, 320);
  EXPECT_EQ(optrec.RMS[1], 3.2);
  EXPECT_EQ(optrec.RMS[2], 1.1);
  EXPECT_EQ(optrec.InversionTxtStr, "");
  EXPECT_TRUE(ModelLabelsRead);
  EXPECT_EQ(ModelLabels.MethodStr, " RELATIVE DIFFERENCE BETWEEN INVERTED MODELS");
  EXPECT_EQ(ModelLabels.DistStr, "Distance/[m]");
  EXPECT_EQ(ModelLabels.DepthStr, "Depth/[m]");
  EXPECT_EQ(ModelLabels.AltStr, "Level/[m]");
  EXPECT_EQ(ModelLabels.ResStr, "Relative change/[-]");
  EXPECT_EQ(ModelLabels.DeptStr, ProducerLine);
  EXPECT_EQ(CurrentLabels.MethodStr, ModelLabels.MethodStr);
  EXPECT_EQ(CurrentLabels.ResStr, ModelLabels.ResStr);
  EXPECT_TRUE(LastModelScan.LabelsRead);
}

TEST_F(ModelScanTest, Rho2ModelSkipsEmptyLeadingColumnsAndGathersElevations) {
  ASSERT_TRUE(Scan("rho2.RH2"));
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_EQ(LastModelScan.Dialect, TModelDialect::Rho2);
  EXPECT_TRUE(Rho2Format);
  EXPECT_FALSE(optrec.NewRhoFormat);
  EXPECT_EQ(firstX, 2);  // the first filled column
  EXPECT_EQ(lastX, 6);
  EXPECT_EQ(width, 2);
  EXPECT_EQ(LastModelScan.nColumns, 3);
  EXPECT_EQ(graphtype.Dhigh, 0.9);  // shallowest first boundary
  EXPECT_EQ(graphtype.Dlow, 3.1);   // deepest last boundary
  EXPECT_EQ(ScanResults.RhoDataMin, 90);
  EXPECT_EQ(ScanResults.RhoDataMax, 210);
  EXPECT_EQ(TopoList.TopoZMin, 99);
  EXPECT_EQ(TopoList.TopoZMax, 103.5);
  EXPECT_EQ(optrec.RMS[1], 0.021);
  EXPECT_EQ(optrec.InversionTxtStr, "");
}

TEST_F(ModelScanTest, Rho2IpModelBelowSeaLevel) {
  ASSERT_TRUE(Scan("rho2ip.RH2"));
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_TRUE(Rho2Format);
  EXPECT_EQ(optrec.IPflag, 1);
  EXPECT_EQ(firstX, 10);
  EXPECT_EQ(lastX, 12.5);
  EXPECT_EQ(width, 2.5);
  EXPECT_EQ(graphtype.Dhigh, 2.0);
  EXPECT_EQ(graphtype.Dlow, 2.2);
  EXPECT_EQ(ScanResults.RhoDataMin, 50);
  EXPECT_EQ(ScanResults.RhoDataMax, 70);
  // Every elevation is negative: the maximum must be the highest of them, not zero.
  EXPECT_EQ(TopoList.TopoZMin, -5);
  EXPECT_EQ(TopoList.TopoZMax, -3.5);
  EXPECT_EQ(optrec.RMS[1], 0.045);
  EXPECT_EQ(optrec.RMS[2], 0.012);
  EXPECT_EQ(optrec.InversionTxtStr, "IP model of the harbour line");
  EXPECT_EQ(ModelLabels.MethodStr, " Harbour line model");
  EXPECT_EQ(ModelLabels.ResStr, "Res");
  EXPECT_TRUE(ModelLabelsRead);
}

TEST_F(ModelScanTest, FileNamesAreFoundWithoutRegardToCase) {
  EXPECT_TRUE(Scan("RHO1.rho"));
  EXPECT_EQ(LastModelScan.Dialect, TModelDialect::Rho1);
  ModelPath = std::string(KARVELO_FIXTURES_DIR) + "/model";  // no trailing separator
  EXPECT_TRUE(Scan("Rho2.rh2"));
  EXPECT_EQ(LastModelScan.Dialect, TModelDialect::Rho2);
}

TEST_F(ModelScanTest, HeaderKeywordAndIpMarker) {
  struct Case {
    const char* firstLine;
    TModelDialect dialect;
    int ip;
  };
  const Case cases[] = {
      {"RHO-2 IP", TModelDialect::Rho2, 1},   {"RHO-1", TModelDialect::Rho1, 0},
      {"  RHO-1 ip", TModelDialect::Rho1, 1}, {"RHO-1 RES", TModelDialect::Rho1, 0},
      {"RHO-1IP", TModelDialect::Rho1, 0},    {"rho-1 IP", TModelDialect::Plain, 0},
  };
  const karvelo::test::UniqueTempDir scratch("karvelo_model_headers");
  const fs::path dir = scratch.path();
  fs::create_directories(dir);
  ModelPath = dir.string() + "/";
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteFileAtomically((dir / "h.RHO").string(),
                                    std::string(c.firstLine) + "\n1 2\n0 10\n1 20\n"));
    optrec.IPflag = 0;
    EXPECT_TRUE(Scan("h.RHO", false)) << c.firstLine;
    EXPECT_EQ(LastModelScan.Dialect, c.dialect) << c.firstLine;
    EXPECT_EQ(optrec.IPflag, c.ip) << c.firstLine;
    EXPECT_EQ(Rho2Format, c.dialect == TModelDialect::Rho2) << c.firstLine;
    EXPECT_EQ(optrec.NewRhoFormat, c.dialect == TModelDialect::Rho1) << c.firstLine;
  }
  fs::remove_all(dir);
}

TEST_F(ModelScanTest, NothingOfAnEarlierModelSurvivesTheNextScan) {
  ASSERT_TRUE(Scan("rho2ip.RH2"));
  ASSERT_TRUE(Rho2Format);
  ASSERT_TRUE(ModelLabelsRead);
  ASSERT_TRUE(Scan("zohdy1d.RHO"));
  EXPECT_FALSE(Rho2Format);
  EXPECT_FALSE(ModelLabelsRead);
  EXPECT_EQ(optrec.RMS[2], 0);
  EXPECT_EQ(optrec.InversionTxtStr, "WENNER ZOHDY 1D MODEL");
  ASSERT_TRUE(Scan("samepos.RHO", false));
  EXPECT_EQ(optrec.InversionTxtStr, "");
  EXPECT_EQ(optrec.RMS[1], 0);
}

// ---- The 1D variant -----------------------------------------------------------------------

TEST_F(ModelScanTest, OneDScanIgnoresNonPositiveValuesAndKeepsItsLabelsToItself) {
  ASSERT_TRUE(Scan("zohdy1d.RHO"));
  EXPECT_EQ(ScanResults.RhoDataMin, -5);
  EXPECT_EQ(optrec.InversionTxtStr, "WENNER ZOHDY 1D MODEL");

  ASSERT_TRUE(ScanModelFile1D("zohdy1d.RHO", true, firstX, lastX, width));
  EXPECT_EQ(ScanResults.RhoDataMin, 80);
  EXPECT_EQ(ScanResults.RhoDataMax, 300);
  EXPECT_EQ(firstX, 5);
  EXPECT_EQ(lastX, 15);
  EXPECT_EQ(width, 5);
  EXPECT_EQ(optrec.RMS[1], 0.034);
  // The 1D scan steps over the line after the RMS before it looks for "/INVERSION".
  EXPECT_EQ(optrec.InversionTxtStr, "");
  EXPECT_TRUE(prompts.texts.empty());

  const karvelo::test::UniqueTempDir scratch("karvelo_model_1d");
  const fs::path dir = scratch.path();
  fs::create_directories(dir);
  ModelPath = dir.string() + "/";
  ASSERT_TRUE(WriteFileAtomically((dir / "l.RHO").string(),
                                  "RHO-1\n2 1 3\n0 10 20\n5 11 21\n/Model residuals:\n0.05\n"
                                  "/Inversion type header:\n/INVERSION\nDescription\n"
                                  "/MODSEC.TXT:\nTitle\nD\nZ\nA\nR\n"));
  CurrentLabels.MethodStr = "unchanged";
  ASSERT_TRUE(ScanModelFile1D("l.RHO", true, firstX, lastX, width));
  EXPECT_EQ(optrec.InversionTxtStr, "Description");
  ASSERT_EQ(prompts.texts.size(), 1u);
  EXPECT_EQ(prompts.texts[0], "Going to read diagram label text strings ...");
  EXPECT_EQ(ModelLabels.MethodStr, " Title");
  EXPECT_EQ(ModelLabels.ResStr, "R");
  EXPECT_FALSE(ModelLabelsRead);
  EXPECT_EQ(CurrentLabels.MethodStr, "unchanged");
  fs::remove_all(dir);
}

TEST_F(ModelScanTest, OneDScanOnlyRecognisesRho2) {
  ASSERT_TRUE(ScanModelFile1D("rho2.RH2", true, firstX, lastX, width));
  EXPECT_TRUE(Rho2Format);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(LastModelScan.nColumns, 0);
  EXPECT_TRUE(prompts.texts.empty());
}

// ---- Errors -------------------------------------------------------------------------------

TEST_F(ModelScanTest, MissingFileIsReportedOnlyWhenAsked) {
  EXPECT_FALSE(Scan("nosuch.RHO", false));
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_FALSE(Scan("nosuch.RHO", true));
  ASSERT_EQ(prompts.texts.size(), 1u);
  EXPECT_EQ(prompts.texts[0], "ERROR: Model file nosuch.RHO was not found!");
  EXPECT_FALSE(LastModelScan.Found);
}

TEST_F(ModelScanTest, ModelsWithoutAColumnWidthAreReportedAndNeverStepped) {
  struct Case {
    const char* file;
    const char* message;
  };
  const Case cases[] = {
      {"samepos.RHO",
       "ERROR: The first two columns of model file samepos.RHO lie at 5 and 5: model columns "
       "must be stored from left to right!"},
      {"rtl.RHO",
       "ERROR: The first two columns of model file rtl.RHO lie at 10 and 8: model columns must "
       "be stored from left to right!"},
      {"samepos.RH2",
       "ERROR: The first two columns of model file samepos.RH2 lie at 4 and 4: model columns "
       "must be stored from left to right!"},
      {"onecol.RHO",
       "ERROR: Model file onecol.RHO holds fewer than two model columns, so it has no column "
       "width!"},
      {"badlayers.RHO",
       "ERROR: The layer line of model file badlayers.RHO does not hold a layer count followed "
       "by its layer depths!"},
      {"empty.RHO",
       "ERROR: The layer line of model file empty.RHO does not hold a layer count followed by "
       "its layer depths!"},
  };
  for (const auto& c : cases) {
    prompts.texts.clear();
    EXPECT_TRUE(Scan(c.file)) << c.file;  // found, but not usable
    EXPECT_FALSE(LastModelScan.ColumnWidthValid) << c.file;
    ASSERT_FALSE(prompts.texts.empty()) << c.file;
    EXPECT_EQ(prompts.texts[0], c.message);
    double xMax = 0;
    EXPECT_FALSE(ModelPlotEnd(firstX, lastX, width, xMax)) << c.file;
  }
  // The one-column file still gave its trailer.
  ASSERT_TRUE(Scan("onecol.RHO", false));
  EXPECT_EQ(optrec.RMS[1], 0.5);
}

TEST(ModelPlotEndTest, WholeColumnWidthsFromTheFirstColumn) {
  struct Case {
    double first, last, width;
    bool ok;
    double xMax;
  };
  const Case cases[] = {
      {0, 6, 2, true, 6}, {0, 7, 2, true, 8}, {0, 30, 0.1, true, 30}, {-5, 5, 2.5, true, 5},
      {4, 4, 1, true, 4}, {4, 2, 1, true, 4}, {0, 10, 0, false, 10},  {0, 10, -1, false, 10},
  };
  for (const auto& c : cases) {
    double xMax = -99;
    EXPECT_EQ(ModelPlotEnd(c.first, c.last, c.width, xMax), c.ok) << c.last << " " << c.width;
    EXPECT_NEAR(xMax, c.xMax, 1e-9) << c.last << " " << c.width;
  }
}

// ---- RMS side file ------------------------------------------------------------------------

TEST_F(ModelScanTest, RmsSideFile) {
  EXPECT_EQ(ReadRmsFile("m1.RHO"), 2.75);
  EXPECT_EQ(optrec.InversionTxtStr, "Smoothness-constrained inversion");
  optrec.InversionTxtStr = "kept";
  EXPECT_EQ(ReadRmsFile("none.RHO"), 0);
  EXPECT_EQ(optrec.InversionTxtStr, "kept");
  EXPECT_EQ(ReadRmsFile("x"), 0);  // too short to carry an extension

  const karvelo::test::UniqueTempDir scratch("karvelo_model_rms");
  const fs::path dir = scratch.path();
  fs::create_directories(dir);
  ModelPath = dir.string() + "/";
  const std::pair<const char*, double> lines[] = {
      {"3.5", 3.5}, {"RMS = abc", 0}, {"", 0}, {"  error 1.25  \t", 1.25}};
  for (const auto& [text, want] : lines) {
    ASSERT_TRUE(WriteFileAtomically((dir / "r.RMS").string(), std::string(text) + "\n{ note }\n"));
    EXPECT_EQ(ReadRmsFile("r.RHO"), want) << text;
    EXPECT_EQ(optrec.InversionTxtStr, "note }");
  }
  fs::remove_all(dir);
}

// ---- ALT file -----------------------------------------------------------------------------

class AltFileTest : public ModelScanTest {
 protected:
  bool ScanAlt(const char* name) {
    optrec.DataDir = kModelDir;
    optrec.FileName = name;
    return ScanAltFile(xMin, xMax, zMin, zMax);
  }
  double xMin = 7, xMax = 7, zMin = 7, zMax = 7;
};

TEST_F(AltFileTest, ReadsTheExtremesAndSkipsLinesWithoutTwoNumbers) {
  EXPECT_TRUE(ScanAlt("GOOD"));  // good.alt
  EXPECT_EQ(xMin, 0);
  EXPECT_EQ(xMax, 10);
  EXPECT_EQ(zMin, 99);
  EXPECT_EQ(zMax, 101.5);
  EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(AltFileTest, OrderErrorsAreReported) {
  EXPECT_FALSE(ScanAlt("dup"));
  ASSERT_EQ(prompts.texts.size(), 1u);
  EXPECT_EQ(prompts.texts[0], "ERROR: Duplicate X-values in the .ALT file! (line 3)");
  EXPECT_FALSE(ScanAlt("order"));
  ASSERT_EQ(prompts.texts.size(), 2u);
  EXPECT_EQ(prompts.texts[1],
            "ERROR: X-values must be stored in increasing order in the .ALT file!");
}

TEST_F(AltFileTest, MissingFileChangesNothing) {
  EXPECT_FALSE(ScanAlt("none"));
  EXPECT_EQ(xMin, 7);
  EXPECT_EQ(zMax, 7);
  EXPECT_TRUE(prompts.texts.empty());
}

// ---- Label files --------------------------------------------------------------------------

// Runs a test body in another current folder and always comes back.
class ScopedCurrentFolder {
 public:
  explicit ScopedCurrentFolder(const fs::path& p) : saved_(fs::current_path()) {
    fs::current_path(p);
  }
  ~ScopedCurrentFolder() { fs::current_path(saved_); }

 private:
  fs::path saved_;
};

class LabelFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlotState();
    scratch = std::make_unique<karvelo::test::UniqueTempDir>("karvelo_labels");
    root = scratch->path();
    for (const char* d : {"cwd", "data", "program"}) fs::create_directories(root / d);
  }
  void TearDown() override {
    ResetPlotState();
    fs::remove_all(root);
  }
  std::unique_ptr<karvelo::test::UniqueTempDir> scratch;
  std::string Dir(const char* d) const { return (root / d).string() + "/"; }
  static std::string Read(const fs::path& p) { return ReadWholeFile(p.string()).value_or("?"); }

  ScriptedPrompts prompts;
  ScopedPrompts guard{prompts};
  fs::path root;
};

TEST_F(LabelFileTest, WrittenFilesReadBackTheSame) {
  DataLabels.MethodStr = " WENNER PSEUDOSECTION";
  DataLabels.DistStr = "Avstand [m]";
  DataLabels.DepthStr = "Pseudodjup [m]";
  DataLabels.AltStr = "not written";
  DataLabels.ResStr = "Resistivitet [ohm-m]";
  ModelLabels.MethodStr = " MODEL";
  ModelLabels.DistStr = "x";
  ModelLabels.DepthStr = "z";
  ModelLabels.AltStr = "h";
  ModelLabels.ResStr = "rho";
  ASSERT_TRUE(WriteLabelFiles(Dir("program")));
  EXPECT_EQ(Read(root / "program" / "PSEUDO.TXT"),
            " WENNER PSEUDOSECTION\r\nAvstand [m]\r\nPseudodjup [m]\r\nResistivitet [ohm-m]\r\n");
  EXPECT_EQ(Read(root / "program" / "MODSEC.TXT"), " MODEL\r\nx\r\nz\r\nh\r\nrho\r\n");

  const TTextRec data = DataLabels;
  const TTextRec model = ModelLabels;
  ResetPlotState();
  ScopedCurrentFolder cwd(root / "cwd");
  ASSERT_TRUE(ReadPseudoLabels(Dir("data"), Dir("program")));
  ASSERT_TRUE(ReadModsecLabels(Dir("data"), Dir("program")));
  EXPECT_EQ(DataLabels.MethodStr, data.MethodStr);
  EXPECT_EQ(DataLabels.DistStr, data.DistStr);
  EXPECT_EQ(DataLabels.DepthStr, data.DepthStr);
  EXPECT_EQ(DataLabels.ResStr, data.ResStr);
  EXPECT_EQ(DataLabels.AltStr, "");  // PSEUDO.TXT has no elevation label
  EXPECT_EQ(ModelLabels.MethodStr, model.MethodStr);
  EXPECT_EQ(ModelLabels.AltStr, model.AltStr);
  EXPECT_EQ(ModelLabels.ResStr, model.ResStr);
}

TEST_F(LabelFileTest, CurrentFolderWinsOverDataFolderOverProgramFolder) {
  for (const char* d : {"cwd", "data", "program"}) {
    ASSERT_TRUE(WriteFileAtomically((root / d / "pseudo.txt").string(),
                                    std::string("  from ") + d + "  \nD\nZ\nR\n"));
  }
  ScopedCurrentFolder cwd(root / "cwd");
  ASSERT_TRUE(ReadPseudoLabels(Dir("data"), Dir("program")));
  EXPECT_EQ(DataLabels.MethodStr, " from cwd");
  fs::remove(root / "cwd" / "pseudo.txt");
  ASSERT_TRUE(ReadPseudoLabels(Dir("data"), Dir("program")));
  EXPECT_EQ(DataLabels.MethodStr, " from data");
  fs::remove(root / "data" / "pseudo.txt");
  ASSERT_TRUE(ReadPseudoLabels(Dir("data"), Dir("program")));
  EXPECT_EQ(DataLabels.MethodStr, " from program");
  EXPECT_EQ(DataLabels.ResStr, "R");
  fs::remove(root / "program" / "pseudo.txt");
  DataLabels.MethodStr = "kept";
  EXPECT_FALSE(ReadPseudoLabels(Dir("data"), Dir("program")));
  EXPECT_FALSE(ReadModsecLabels(Dir("data"), Dir("program")));
  EXPECT_EQ(DataLabels.MethodStr, "kept");
}

TEST_F(LabelFileTest, ShortFileLeavesTheMissingLabelsEmpty) {
  ASSERT_TRUE(WriteFileAtomically((root / "data" / "MODSEC.TXT").string(), "Only a title"));
  ModelLabels.ResStr = "old";
  ScopedCurrentFolder cwd(root / "cwd");
  ASSERT_TRUE(ReadModsecLabels(Dir("data"), Dir("program")));
  EXPECT_EQ(ModelLabels.MethodStr, " Only a title");
  EXPECT_EQ(ModelLabels.ResStr, "");
}

TEST_F(LabelFileTest, UnwritableFolderIsReportedAndLeavesNoFile) {
  EXPECT_FALSE(WriteLabelFiles(Dir("nosuchfolder")));
  ASSERT_EQ(prompts.texts.size(), 2u);
  EXPECT_EQ(prompts.texts[0].rfind("ERROR: Could not write ", 0), 0u);
  EXPECT_FALSE(fs::exists(root / "nosuchfolder"));
}

}  // namespace
}  // namespace karvelo
