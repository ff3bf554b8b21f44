#include <gtest/gtest.h>

#include <string>

#include "base/PlotState.h"
#include "base/ScriptedPrompts.h"
#include "input/DatReader.h"
#include "input/DatTestSupport.h"

namespace karvelo {
namespace {

using testing_dat::Fixture;
using testing_dat::PointStateAt;

class DatHeaderTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetPlotState(); }
  void TearDown() override {
    ResetPlotState();
    SetDefaultInfWriter(nullptr);
  }
  ScriptedPrompts prompts;
  ScopedPrompts guard{prompts};
};

TEST_F(DatHeaderTest, ReadsTheHeaderItemsOfEachKindOfFile) {
  struct Case {
    const char* file;
    bool ok;
    bool xyScan;
    int arrayCode;
    const char* arrayType;
    int ipFlag;
    int timeSteps;
    int errorEstimates;
  };
  const Case cases[] = {
      {"wenner_first.dat", true, false, 1, "", 0, 1, 0},
      {"wenner_mid.dat", true, false, 1, "", 0, 1, 0},  // CR LF, TABs, no final break
      {"ga_sub3.dat", true, false, 11, "Dipole-dipole", 0, 1, 0},
      {"timelapse.dat", true, false, 11, "Wenner", 0, 3, 0},
      {"ip_one_window.dat", true, false, 1, "", 1, 1, 0},
      {"ip_windows.dat", true, false, 5, "", 11, 1, 0},
      {"ip_errors.dat", true, false, 1, "", 1, 1, 1},
      {"ip_bad_timing.dat", true, false, 1, "", 0, 1, 0},  // read on without IP
      {"grid3d_nonuniform.dat", true, true, 11, "", 1, 1, 0},
      {"grid3d_uniform.dat", true, true, 1, "", 0, 1, 0},
      {"array_word.dat", false, false, 16, "", 0, 1, 0},  // text after the array type
      {"array_five.dat", false, false, 16, "", 0, 1, 0},  // not a DAT array number
      {"xloc_minus1.dat", false, false, 1, "", 0, 1, 0},
      {"ipflag_minus1.dat", false, false, 1, "", 0, 1, 0},
  };
  for (const auto& c : cases) {
    ResetPlotState();
    PointStateAt(Fixture(c.file));
    EXPECT_EQ(ScanDatHeader(false), c.ok) << c.file;
    EXPECT_EQ(optrec.XYscan, c.xyScan) << c.file;
    EXPECT_EQ(optrec.ArrayCode, c.arrayCode) << c.file;
    EXPECT_EQ(optrec.ArrayType, c.arrayType) << c.file;
    EXPECT_EQ(optrec.IPflag, c.ipFlag) << c.file;
    EXPECT_EQ(optrec.TimeSteps, c.timeSteps) << c.file;
    EXPECT_EQ(optrec.ErrorEstimates, c.errorEstimates) << c.file;
  }
  EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(DatHeaderTest, SkipStopsRightBeforeTheFirstDataLine) {
  struct Case {
    const char* file;
    int declared;
    int measurementType;
    bool xIsFirst;
    const char* firstDataLine;
  };
  const Case cases[] = {
      {"wenner_first.dat", 4, 0, true, "10 2 100"},
      {"wenner_mid.dat", 3, 0, false, "10\t2\t100"},
      {"ga_sub3.dat", 3, 1, false, "4 1 0 0 0 2 0 3 0 1.0"},
      {"timelapse.dat", 2, 0, false, "4 0 0 3 0 1 0 2 0 100 110 150"},
      {"ip_windows.dat", 3, 0, false, "1 1 1 100 5 6 7"},  // timing over two lines
      {"ip_errors.dat", 2, 0, false, "1 1 10 0.5 3"},
      {"ip_bad_timing.dat", 2, 0, false, "1 1 10 5"},
      {"grid3d_nonuniform.dat", 2, 0, false, "4 0 0 1 0 2 0 3 0 100 5"},
      {"grid3d_uniform.dat", 2, 0, false, "0 0 1 10"},  // no "IP present": nothing skipped
  };
  for (const auto& c : cases) {
    TextLines file;
    ASSERT_TRUE(file.Open(Fixture(c.file))) << c.file;
    int declared = -1, measurementType = -1;
    XIsFirstElectrode = !c.xIsFirst;
    ASSERT_TRUE(SkipDatHeader(file, declared, measurementType)) << c.file;
    EXPECT_EQ(declared, c.declared) << c.file;
    EXPECT_EQ(measurementType, c.measurementType) << c.file;
    EXPECT_EQ(XIsFirstElectrode, c.xIsFirst) << c.file;
    std::string line;
    ASSERT_TRUE(file.ReadLine(line)) << c.file;
    EXPECT_EQ(line, c.firstDataLine) << c.file;
  }
}

TEST_F(DatHeaderTest, AsksResistivityOrIPOnlyWhileFirstTime) {
  PointStateAt(Fixture("ip_one_window.dat"));
  prompts.answers = {Answer::No};
  ASSERT_TRUE(ScanDatHeader(true));
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(prompts.questions[0],
            "The data file contains resistivity and IP data!\n\rSelect <Yes> to plot resistivity "
            "or <No> to plot IP data.");
  EXPECT_EQ(graphtype.IPflag, 1);  // No: plot IP
  EXPECT_EQ(graphtype.TextStrIP, "Chargeability[mV/V]");
  EXPECT_DOUBLE_EQ(optrec.IPdelay, 0.1);
  EXPECT_DOUBLE_EQ(optrec.IPtime[1], 0.5);
  EXPECT_EQ(optrec.IPwindows, 1);

  prompts.answers = {Answer::Yes};
  ASSERT_TRUE(ScanDatHeader(true));
  EXPECT_EQ(graphtype.IPflag, 0);  // Yes: plot resistivity

  graphtype.FirstTime = false;
  graphtype.IPflag = 1;
  ASSERT_TRUE(ScanDatHeader());  // a reload: no question, and the flag starts at 0
  EXPECT_EQ(prompts.questions.size(), 2u);
  EXPECT_EQ(graphtype.IPflag, 0);
}

TEST_F(DatHeaderTest, AnUnreadableTimingLineDropsIPEvenWhenIPWasChosen) {
  PointStateAt(Fixture("ip_bad_timing.dat"));
  prompts.answers = {Answer::No};
  ASSERT_TRUE(ScanDatHeader(true));
  EXPECT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(optrec.IPflag, 0);
  EXPECT_EQ(graphtype.IPflag, 0);
}

TEST_F(DatHeaderTest, MultiWindowTimingRunsOverLines) {
  PointStateAt(Fixture("ip_windows.dat"));
  ASSERT_TRUE(ScanDatHeader(false));
  EXPECT_EQ(optrec.IPwindows, 3);
  EXPECT_DOUBLE_EQ(optrec.IPdelay, 0.02);
  EXPECT_DOUBLE_EQ(optrec.IPtime[1], 0.1);
  EXPECT_DOUBLE_EQ(optrec.IPtime[2], 0.2);
  EXPECT_DOUBLE_EQ(optrec.IPtime[3], 0.3);
  EXPECT_DOUBLE_EQ(optrec.Ton, 1.0);
  EXPECT_DOUBLE_EQ(optrec.Toff, 2.0);
}

TEST_F(DatHeaderTest, TabSeparatedWordsOfTheIPQuantityBecomeBlanks) {
  PointStateAt(Fixture("ip_errors.dat"));
  ASSERT_TRUE(ScanDatHeader(false));
  EXPECT_EQ(graphtype.TextStrIP, "Phase Angle[mrad]");
  EXPECT_EQ(optrec.ErrorEstimateType, 0);
}

TEST_F(DatHeaderTest, AnUnreadableHeaderNamesItsLine) {
  PointStateAt(Fixture("array_word.dat"));
  EXPECT_FALSE(ScanDatHeader(false));
  const TDatProblem& p = LastDatProblem();
  EXPECT_EQ(p.section, TDatSection::Header);
  EXPECT_EQ(p.path, Fixture("array_word.dat"));
  EXPECT_EQ(p.lineNumber, 3);
  EXPECT_EQ(p.lineText, "11 abc");
  EXPECT_EQ(p.reason, "nothing may follow the array type on its line");
}

TEST_F(DatHeaderTest, AMissingFileIsFalseWithoutAMessage) {
  PointStateAt(Fixture("no_such_file.dat"));
  EXPECT_FALSE(ScanDatHeader(true));
  EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(DatHeaderTest, TheDefaultSettingsWriterRunsAfterTheHeader) {
  static int calls = 0;
  calls = 0;
  SetDefaultInfWriter([] { ++calls; });
  PointStateAt(Fixture("wenner_first.dat"));
  ScanDatHeader(false);
  EXPECT_EQ(calls, 1);
}

TEST_F(DatHeaderTest, AThreeDFileAfterATwoDFileAndBack) {
  PointStateAt(Fixture("grid3d_uniform.dat"));
  ASSERT_TRUE(ScanDatHeader(false));
  EXPECT_TRUE(optrec.XYscan);
  PointStateAt(Fixture("wenner_mid.dat"));
  ASSERT_TRUE(ScanDatHeader(false));
  EXPECT_FALSE(optrec.XYscan);  // no y column left over from the 3-D file
}

}  // namespace
}  // namespace karvelo
