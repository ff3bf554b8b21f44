// The settings dialog: the exchange with a diagram window (fill, OK copies back and saves,
// Cancel keeps the diagram), the limit calculation and its messages, what the dialog
// shows for IP and time-lapse data, the selection spinners and the label defaults.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <fstream>
#include <sstream>

#include "base/Files.h"
#include "input/QvMath.h"
#include "render/Pseudosection.h"
#include "shell/SettingsDialog.h"
#include "shell/ShellTestSupport.h"

namespace karvelo::shell::test {
namespace {

std::string Slurp(const std::string& path) {
  return ReadWholeFile(path).value_or("");
}

std::vector<double> Row(const TfrmSettings& d, int column) {
  std::vector<double> v;
  for (int k = 0; k < SettingsLimitCells; ++k) v.push_back(d.Limit(column, k));
  return v;
}

class SettingsDialog : public ShellTest {
 protected:
  TfrmMDIChild* OpenDemo() {
    TfrmMDIChild* child = Frame().OpenFile(Copy("resources/demo/DEMODATA.DAT"));
    EXPECT_NE(child, nullptr);
    return child;
  }
};

TEST_F(SettingsDialog, FillsFromTheDiagramAndOkSavesTheFiles) {
  TfrmMDIChild* child = OpenDemo();
  ASSERT_NE(child, nullptr);
  TfrmSettings& dlg = *Frame().frmSettings;
  TSectionDiagram& d = *child->Diagram();
  child->FillSettings(dlg);
  dlg.PrepareFromState();
  EXPECT_EQ(dlg.Header(), d.Header());
  EXPECT_EQ(dlg.edtMinDistInterval->text().toStdString(), FormatGeneral(d.SectionStart()));
  EXPECT_EQ(dlg.edtMaxDistInterval->text().toStdString(), FormatGeneral(d.SectionEnd()));
  EXPECT_DOUBLE_EQ(dlg.Limit(0, 3), d.RhoLimit(0, 3));
  EXPECT_EQ(dlg.RhoFileName(), d.ModelPath() + d.RhoFilename());
  EXPECT_TRUE(SameTextNoCase(d.RhoFilename(), "DEMODATA.rho"));
  EXPECT_EQ(dlg.pgcSettings->currentIndex(), 2);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Settings: DEMODATA"));
  EXPECT_TRUE(dlg.toolTip().startsWith(QStringLiteral("No of data: 780\n")));

  dlg.SetHeader("Channel survey");
  dlg.edtMaxDistInterval->setText(QStringLiteral("120"));
  dlg.edtLabelDistInterval->setText(QStringLiteral("20"));
  dlg.SetLimit(0, 0, 33);
  dlg.edtScale->setText(QStringLiteral("not a number"));
  dlg.rbnLastDataPoint->setChecked(true);
  const int draws = child->DrawCount();
  child->ApplySettings(dlg);
  EXPECT_EQ(child->DrawCount(), draws + 1);
  EXPECT_EQ(d.Header(), "Channel survey");
  EXPECT_DOUBLE_EQ(d.SectionEnd(), 120);
  EXPECT_DOUBLE_EQ(d.XYRatio(), 0);
  EXPECT_EQ(graphtype.PlotWhich, 1);
  EXPECT_EQ(Slurp(InDir("DEMODATA.inf")).rfind("Channel survey\r\n", 0), 0u);
  const std::string glf = Slurp(InDir("DEMODATA.GLF"));
  EXPECT_NE(glf.find("120 { maximum x-distance }"), std::string::npos) << glf;
  EXPECT_NE(glf.find("20 { x-distance label interval }"), std::string::npos) << glf;
  EXPECT_EQ(Slurp(InDir("DEMODATA.RLF")).rfind(" 33", 0), 0u);
}

TEST_F(SettingsDialog, CancelKeepsTheDiagramButNotTheImmediateControls) {
  TfrmMDIChild* child = OpenDemo();
  ASSERT_NE(child, nullptr);
  TfrmSettings& dlg = *Frame().frmSettings;
  TSectionDiagram& d = *child->Diagram();
  const std::string header = d.Header();
  const double end = d.SectionEnd();
  child->FillSettings(dlg);
  dlg.PrepareFromState();
  dlg.SetHeader("changed");
  dlg.edtMaxDistInterval->setText(QStringLiteral("999"));
  ASSERT_TRUE(dlg.chbAdjustLegend->isChecked());
  dlg.chbAdjustLegend->setChecked(false);  // acts at once
  // Cancel: nothing is copied back.
  EXPECT_EQ(d.Header(), header);
  EXPECT_DOUBLE_EQ(d.SectionEnd(), end);
  EXPECT_FALSE(graphtype.AdjustDiagramWidth);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text,
            "Note: If the diagram height does not fit the plot window no plotting will be "
            "carried out!\n\rIn order to do plotting the plot window must be resized to a large "
            "enough relative height.");
}

TEST_F(SettingsDialog, CalculateFillsTheGridOfThePlottedQuantity) {
  TfrmSettings dlg;
  dlg.PrepareFromState();
  const struct {
    const char* low;
    const char* high;
    bool logarithmic;
    std::vector<double> cells;
  } cases[] = {
      {"10", "1000", true, {10, 16, 25, 40, 63, 100, 160, 250, 400, 630, 1000}},
      {"100", "1100", false, {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 1100}},
      {" 1", "2", false, {1, 1.1, 1.2, 1.3, 1.4, 1.5, 1.6, 1.7, 1.8, 1.9, 2}},
  };
  for (const auto& c : cases) {
    dlg.edtLowResLim->setText(QString::fromLatin1(c.low));
    dlg.edtHighResLim->setText(QString::fromLatin1(c.high));
    (c.logarithmic ? dlg.rbResLimLog : dlg.rbResLimLin)->setChecked(true);
    dlg.MakeLimits();
    const std::vector<double> row = Row(dlg, 0);
    for (int k = 0; k < SettingsLimitCells; ++k) {
      EXPECT_DOUBLE_EQ(row[static_cast<std::size_t>(k)], c.cells[static_cast<std::size_t>(k)])
          << c.low << ".." << c.high << " cell " << k;
    }
  }
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SettingsDialog, CalculateRefusesBadBoundsAndKeepsTheGrid) {
  TfrmSettings dlg;
  dlg.PrepareFromState();
  for (int k = 0; k < SettingsLimitCells; ++k) dlg.SetLimit(0, k, k + 1);
  const std::vector<double> before = Row(dlg, 0);
  const struct {
    const char* low;
    const char* high;
    bool logarithmic;
    const char* message;
  } cases[] = {
      {"abc", "10", true, "ERROR: abc is not a valid min value!"},
      {"1", "1O0", false, "ERROR: 1O0 is not a valid max value!"},
      {"0", "100", true,
       "ERROR: Min and max values must be larger\n\r than zero for logarithmic intervals!"},
      {"10", "-5", true,
       "ERROR: Min and max values must be larger\n\r than zero for logarithmic intervals!"},
  };
  for (const auto& c : cases) {
    prompts.messages.clear();
    dlg.edtLowResLim->setText(QString::fromLatin1(c.low));
    dlg.edtHighResLim->setText(QString::fromLatin1(c.high));
    (c.logarithmic ? dlg.rbResLimLog : dlg.rbResLimLin)->setChecked(true);
    dlg.MakeLimits();
    ASSERT_EQ(prompts.messages.size(), 1u) << c.message;
    EXPECT_EQ(prompts.messages[0].text, c.message);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(Row(dlg, 0), before);
  }
}

TEST_F(SettingsDialog, CalculateWritesTheIPOrDifferenceGrid) {
  optrec.IPflag = 1;
  TfrmSettings dlg;
  dlg.PrepareFromState();
  dlg.rbIPplot->setChecked(true);
  EXPECT_EQ(dlg.pgcSettings->tabText(2), QStringLiteral("IP Limits"));
  EXPECT_TRUE(dlg.rbResLimLin->isChecked());
  EXPECT_FALSE(dlg.stgResLimits->isEnabled());
  EXPECT_TRUE(dlg.stgIPLimits->isEnabled());
  dlg.edtLowResLim->setText(QStringLiteral("0"));
  dlg.edtHighResLim->setText(QStringLiteral("50"));
  dlg.MakeLimits();
  EXPECT_DOUBLE_EQ(dlg.Limit(1, 10), 50);
  EXPECT_DOUBLE_EQ(dlg.Limit(1, 1), 5);
  dlg.rbNormalisedIP->setChecked(true);
  EXPECT_EQ(dlg.pgcSettings->tabText(2), QStringLiteral("Normalised IP Limits"));
  dlg.MakeLimits();
  EXPECT_DOUBLE_EQ(dlg.Limit(2, 10), 50);
  dlg.rbResistivityPlot->setChecked(true);
  EXPECT_EQ(dlg.pgcSettings->tabText(2), QStringLiteral("Resistivity Limits"));
  EXPECT_TRUE(dlg.rbResLimLog->isChecked());
  EXPECT_EQ(dlg.lblResLimStep->text(), QStringLiteral("No of limits per decade:"));
}

TEST_F(SettingsDialog, VerticalExaggerationShowsTwoDigits) {
  TfrmSettings dlg;
  dlg.SetXYRatio(1.27);
  EXPECT_EQ(dlg.edtScale->text(), QStringLiteral("  1.3"));
  EXPECT_DOUBLE_EQ(dlg.XYRatio(), 1.3);
  dlg.SetXYRatio(0.5);
  EXPECT_EQ(dlg.edtScale->text(), QStringLiteral("  0.5"));
}

TEST_F(SettingsDialog, IPAndTimeLapseControlsFollowTheData) {
  TfrmSettings dlg;
  dlg.show();  // showing prepares the dialog from the plot state
  EXPECT_FALSE(dlg.grpPlotType->isVisible());
  EXPECT_FALSE(dlg.stgIPLimits->isVisible());
  EXPECT_FALSE(dlg.stgNIPLimits->isVisible());
  EXPECT_FALSE(dlg.grpTimeStep->isVisible());
  dlg.hide();

  optrec.IPflag = 11;
  optrec.IPwindows = 6;
  graphtype.TimeWindowIP = 9;
  dlg.show();
  EXPECT_TRUE(dlg.grpPlotType->isVisible());
  EXPECT_TRUE(dlg.sedTimeWindowIP->isVisible());
  EXPECT_EQ(dlg.sedTimeWindowIP->maximum(), 6);
  EXPECT_EQ(dlg.sedTimeWindowIP->value(), 6);
  EXPECT_EQ(graphtype.TimeWindowIP, 6);
  EXPECT_EQ(dlg.lblIPLimits->text(), QStringLiteral("IP limits"));
  dlg.hide();

  optrec.IPflag = 1;
  dlg.show();
  EXPECT_TRUE(dlg.grpPlotType->isVisible());
  EXPECT_FALSE(dlg.sedTimeWindowIP->isVisible());
  dlg.hide();

  optrec.IPflag = 0;
  optrec.TimeSteps = 3;
  graphtype.TimeStep = 2;
  dlg.show();
  EXPECT_FALSE(dlg.grpPlotType->isVisible());
  EXPECT_TRUE(dlg.grpTimeStep->isVisible());
  EXPECT_EQ(dlg.lblIPLimits->text(), QStringLiteral("Difference limits"));
  EXPECT_EQ(dlg.sedTimeStep->maximum(), 3);
  EXPECT_EQ(dlg.sedTimeStep->value(), 2);
  dlg.sedTimeStep->setValue(0);
  EXPECT_TRUE(dlg.chbDifferencePlot->isChecked());
  EXPECT_EQ(dlg.pgcSettings->tabText(2), QStringLiteral("Difference Limits"));
  EXPECT_EQ(graphtype.TimeStep, 0);
  EXPECT_TRUE(graphtype.DifferencePlot);
  dlg.chbDifferencePlot->setChecked(false);
  EXPECT_EQ(dlg.sedTimeStep->value(), 1);
  EXPECT_FALSE(graphtype.DifferencePlot);
  EXPECT_TRUE(dlg.stgResLimits->isEnabled());
  EXPECT_FALSE(dlg.stgIPLimits->isEnabled());
}

TEST_F(SettingsDialog, SpacingAndLevelSelection) {
  ScanResults.SpacingList[0] = 2;
  ScanResults.SpacingList[1] = 4;
  ScanResults.nSpacings = 2;
  ScanResults.NFactorList[0] = 1;
  ScanResults.NFactorList[1] = 2;
  ScanResults.NFactorList[2] = 3;
  ScanResults.nNFactors = 3;
  SelectedSpacing = 4;
  SelectedNFactor = 2;
  TfrmSettings dlg;
  dlg.PrepareFromState();
  EXPECT_EQ(dlg.sedAspacing->maximum(), 2);
  EXPECT_EQ(dlg.sedAspacing->value(), 2);
  EXPECT_EQ(dlg.lblAselect->text(), QStringLiteral("a = 4m"));
  EXPECT_EQ(dlg.sedNfactor->maximum(), 4);
  EXPECT_EQ(dlg.sedNfactor->value(), 2);
  EXPECT_EQ(dlg.lblNselect->text(), QStringLiteral("n = 2"));
  dlg.sedNfactor->setValue(3);
  EXPECT_EQ(dlg.lblNselect->text(), QStringLiteral("n = 3"));
  EXPECT_DOUBLE_EQ(SelectedNFactor, 3);
  dlg.sedNfactor->setValue(4);  // past the last level: all again
  EXPECT_EQ(dlg.sedNfactor->value(), 0);
  EXPECT_EQ(dlg.lblNselect->text(), QStringLiteral("all"));
  EXPECT_DOUBLE_EQ(SelectedNFactor, 0);
  dlg.sedNfactor->setValue(1);
  dlg.sedAspacing->setValue(1);
  EXPECT_EQ(dlg.lblAselect->text(), QStringLiteral("a = 2m"));
  EXPECT_DOUBLE_EQ(SelectedSpacing, 2);
  EXPECT_DOUBLE_EQ(SelectedNFactor, 0);
  dlg.sedAspacing->setValue(0);
  EXPECT_EQ(dlg.lblAselect->text(), QStringLiteral("all"));
  EXPECT_DOUBLE_EQ(SelectedSpacing, 0);
  // The IP time window has nothing to do with the spacing.
  SelectedSpacing = 4;
  optrec.IPflag = 11;
  optrec.IPwindows = 5;
  dlg.PrepareFromState();
  dlg.sedTimeWindowIP->setValue(2);
  EXPECT_DOUBLE_EQ(SelectedSpacing, 4);
}

TEST_F(SettingsDialog, EditingTheArrayTypeAsksFirst) {
  TfrmSettings dlg;
  dlg.PrepareFromState();
  EXPECT_TRUE(dlg.edtArrayTypeStr->isReadOnly());
  prompts.answers = {Answer::No, Answer::Yes};
  dlg.chbEditArrayType->setChecked(true);
  EXPECT_FALSE(dlg.chbEditArrayType->isChecked());
  EXPECT_TRUE(dlg.edtArrayTypeStr->isReadOnly());
  dlg.chbEditArrayType->setChecked(true);
  EXPECT_TRUE(dlg.chbEditArrayType->isChecked());
  EXPECT_FALSE(dlg.edtArrayTypeStr->isReadOnly());
  EXPECT_EQ(prompts.questions,
            (std::vector<std::string>(2, "Are you sure you want to change the array type?")));
  dlg.chbEditArrayType->setChecked(false);
  EXPECT_EQ(prompts.questions.size(), 2u);
  // Showing again locks it.
  dlg.PrepareFromState();
  EXPECT_TRUE(dlg.edtArrayTypeStr->isReadOnly());
  EXPECT_FALSE(dlg.chbEditArrayType->isChecked());
  EXPECT_EQ(dlg.cboArrayType->count(), ArrayCodeCount);
  EXPECT_EQ(dlg.cboArrayType->itemText(1), QStringLiteral("WENNER"));
}

TEST_F(SettingsDialog, PropertiesReadBackWhatTheyShow) {
  TfrmSettings dlg;
  dlg.SetHeader("Line 1");
  dlg.memHeader->setPlainText(QStringLiteral("Line 1\nLine 2\n\n"));
  EXPECT_EQ(dlg.Header(), "Line 1 Line 2");  // one line in the settings file
  dlg.SetSquarePlot(true);
  EXPECT_TRUE(dlg.SquarePlot());
  EXPECT_TRUE(dlg.chbInfiniteBottomLayer->isEnabled());
  dlg.SetSquarePlot(false);
  EXPECT_FALSE(dlg.SquarePlot());
  EXPECT_FALSE(dlg.chbInfiniteBottomLayer->isEnabled());
  dlg.SetModelType(mtSmoothed);
  EXPECT_EQ(dlg.ModelType(), mtSmoothed);
  dlg.SetModelType(mtFirst);
  EXPECT_EQ(dlg.ModelType(), mtFirst);
  dlg.SetIPPlot(true);
  EXPECT_TRUE(dlg.IPPlot());
  dlg.SetNormalisedIP(true);
  EXPECT_TRUE(dlg.IPPlot());
  EXPECT_TRUE(dlg.NormalisedIP());
  dlg.SetIPPlot(false);
  EXPECT_FALSE(dlg.IPPlot());
  EXPECT_FALSE(dlg.NormalisedIP());
  dlg.SetRhoFileName("");
  EXPECT_EQ(dlg.edtModel2DFile->text(), QStringLiteral("<default>"));
  EXPECT_EQ(dlg.RhoFileName(), "");
  dlg.SetMinDistInterval(12.5);
  EXPECT_EQ(dlg.edtMinDistInterval->text(), QStringLiteral("12.5"));
  dlg.edtMinDistInterval->setText(QStringLiteral("twelve"));
  EXPECT_DOUBLE_EQ(dlg.MinDistInterval(), 0);
  EXPECT_EQ(dlg.RhoInterpolation(), riLog);
}

TEST_F(SettingsDialog, LabelDefaultsGoToTheCurrentFolder) {
  QDir::setCurrent(dir.path());
  TfrmSettings dlg;
  dlg.edPseudoHeader->setText(QStringLiteral("MY SECTION"));
  dlg.edModelLevel->setText(QStringLiteral("Elevation/[m]"));
  dlg.SetLabelDefaults(false);
  EXPECT_EQ(DataLabels.MethodStr, "MY SECTION");
  EXPECT_EQ(ModelLabels.AltStr, "Elevation/[m]");
  const std::string pseudo = Slurp(InDir("PSEUDO.TXT"));
  EXPECT_NE(pseudo.find("MY SECTION"), std::string::npos) << pseudo;
  EXPECT_NE(pseudo.find("Apparent resistivity/[ohm-m]"), std::string::npos) << pseudo;
  const std::string modsec = Slurp(InDir("MODSEC.TXT"));
  EXPECT_NE(modsec.find("INVERTED MODEL SECTION"), std::string::npos) << modsec;
  EXPECT_NE(modsec.find("Elevation/[m]"), std::string::npos) << modsec;
}

}  // namespace
}  // namespace karvelo::shell::test
