// The frame window: its actions and their enabling, the developer items, opening files
// into diagram windows, the data summary, the settings file, and the work-folder frame.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>
#include <fstream>
#include <sstream>

#include "base/Files.h"
#include "shell/DataSummary.h"
#include "shell/ProgramSettings.h"
#include "shell/ShellTestSupport.h"

namespace karvelo::shell::test {
namespace {

std::string Slurp(const std::string& path) {
  return ReadWholeFile(path).value_or("");
}

using MainWindow = ShellTest;

TEST_F(MainWindow, ActionsCarryTheirCaptionsAndHints) {
  TfrmMain& f = Frame();
  EXPECT_EQ(f.windowTitle(), QStringLiteral("Karvelo 2"));
  const struct {
    QAction* action;
    const char* caption;
    const char* hint;
  } cases[] = {
      {f.actOpen, "&Open", "Open diagram"},
      {f.actClose, "&Close", "Close diagram"},
      {f.actPrinterSettings, "Printer &settings...", "Printer settings"},
      {f.actPrint, "&Print...", "Print"},
      {f.actExit, "E&xit", "Exit karvelo"},
      {f.actCopy, "&Copy to bitmap", "Copy diagram"},
      {f.actSaveToMetafile, "Save to metafile (.WMF)", "Save diagram to metafile."},
      {f.actHelpContents, "User guide", "Show help"},
      {f.actAbout, "About", "About Karvelo"},
      {f.actSettings, "", "Show diagram settings"},
      {f.actPseudo, "PS", "Pseudo plot"},
      {f.actModel1D, "1D", "1D model plot"},
      {f.actModel2D, "2D", "2D model plot"},
      {f.actFont, "", "Set font type and size"},
      {f.actFontSize, "", "Set relative font size"},
      {f.actConvertINV2RHO, "INV -> RHO", ""},
      {f.actCascade, "Cascade", ""},
      {f.actMinimizeAll, "Minimize all", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.action->text(), QString::fromLatin1(c.caption)) << c.caption;
    EXPECT_EQ(c.action->statusTip(), QString::fromLatin1(c.hint)) << c.caption;
  }
  // The tool bar buttons have hints of their own.
  const auto button = [&](const char* name) {
    return f.findChild<QAction*>(QString::fromLatin1(name));
  };
  EXPECT_EQ(button("actOpenButton")->toolTip(), QStringLiteral("Open diagram plot window"));
  EXPECT_EQ(button("actCopyButton")->toolTip(),
            QStringLiteral("Copy diagram to bitmap (clipboard or GIF file)"));
  EXPECT_EQ(button("actSettingsButton")->toolTip(), QStringLiteral("Edit diagram settings"));
  EXPECT_EQ(button("actShowMarkersButton")->toolTip(), QStringLiteral("Edit diagram markers"));
}

TEST_F(MainWindow, WithoutDiagramWindowsTheDiagramCommandsAreOff) {
  TfrmMain& f = Frame();
  for (QAction* a : {f.actClose, f.actCopy, f.actSaveToMetafile, f.actPrint, f.actFont,
                     f.actCascade, f.actTile, f.actArrangeIcons, f.actMinimizeAll}) {
    EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
  }
  for (QAction* a : {f.actOpen, f.actExit, f.actAbout, f.actHelpContents, f.actPaletteEditor,
                     f.actConvertINV2RHO, f.actPrinterSettings}) {
    EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
  }
  EXPECT_FALSE(f.tlbDiagram->isVisible());
  EXPECT_FALSE(f.actCopyMetafile->isEnabled());
  EXPECT_FALSE(f.actCopyMetafile->isVisible());
  EXPECT_FALSE(f.actSaveToMetafile->isVisible());
}

TEST_F(MainWindow, DeveloperItemsFollowTheDeveloperMode) {
  for (const bool developer : {false, true}) {
    SetDeveloperMode(developer);
    TfrmMain f(InDir("dev/Karvelo.ini"));
    EXPECT_EQ(f.mnuTestSaveImage->isVisible(), developer);
    EXPECT_EQ(f.mnuInvertRes2dinv->isVisible(), developer);
    EXPECT_EQ(f.mnuPlotGif->isVisible(), developer);
    EXPECT_EQ(f.mnuBatch->menuAction()->isVisible(), developer);
    EXPECT_TRUE(f.mnuConversion->menuAction()->isVisible());
  }
  SetDeveloperMode(false);
}

TEST_F(MainWindow, OpeningADataFileMakesADiagramWindow) {
  const std::string dat = Copy("resources/demo/DEMODATA.DAT");
  TfrmMain& f = Frame();
  TfrmMDIChild* child = f.OpenFile(dat);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(f.ChildCount(), 1);
  EXPECT_EQ(child->windowTitle(), QString::fromStdString(dat));
  EXPECT_EQ(f.FWorkDir, dir.path().toStdString() + "/");
  EXPECT_FALSE(graphtype.ModSelFlag);
  EXPECT_EQ(prompts.plotTypePreselections, std::vector<int>{0});
  for (QAction* a : {f.actClose, f.actCopy, f.actPrint, f.actFont, f.actTile}) {
    EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
  }
  EXPECT_TRUE(f.tlbDiagram->isVisible());
  // The diagram's own menu sits between "&Edit" and "&Window".
  const QList<QAction*> bar = f.menuBar()->actions();
  const auto at = bar.indexOf(child->DiagramMenu()->menuAction());
  ASSERT_GT(at, 0);
  EXPECT_EQ(bar[at - 1], f.mnuEdit->menuAction());
  EXPECT_EQ(bar[at + 1], f.mnuWindow->menuAction());
  // The hint is the data summary of the file.
  EXPECT_TRUE(child->toolTip().startsWith(QStringLiteral("Data file: DEMODATA\nDatapoints: ")));

  const QPointer<QMenu> menu = child->DiagramMenu();
  f.actClose->trigger();
  QApplication::processEvents();
  EXPECT_EQ(f.ChildCount(), 0);
  EXPECT_FALSE(f.actClose->isEnabled());
  EXPECT_FALSE(f.tlbDiagram->isVisible());
  EXPECT_TRUE(menu.isNull());  // the window took its menu along
  for (QAction* a : f.menuBar()->actions()) EXPECT_NE(a->text(), QStringLiteral("Diagram"));
}

TEST_F(MainWindow, OnlyTheRhoExtensionPreselectsTheModelSection) {
  const std::string rho = Copy("tests/fixtures/model/m1.RHO", "m1.rho");
  const std::string rh2 = Copy("tests/fixtures/model/rho2.RH2");
  TfrmMain& f = Frame();
  f.OpenFile(rho);
  f.OpenFile(rh2);
  EXPECT_EQ(prompts.plotTypePreselections, (std::vector<int>{1, 0}));
}

TEST_F(MainWindow, AMissingFileIsReportedNotOpened) {
  TfrmMain& f = Frame();
  EXPECT_EQ(f.OpenFile(InDir("nothing.dat")), nullptr);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text,
            "ERROR: The file " + InDir("nothing.dat") + " does not exist!");
  EXPECT_EQ(f.ChildCount(), 0);
}

TEST_F(MainWindow, DataSummaryLines) {
  optrec.DataDir = "/d/";
  optrec.FileName = "SURVEY";
  ScanResults.nDataPoints = 42;
  ScanResults.XPlotMin = 1.5;
  ScanResults.XPlotMax = 94;
  ScanResults.SpacingMin = 2;
  ScanResults.SpacingMax = 12.5;
  ScanResults.PseudoDepthList[0] = 1.038;
  ScanResults.PseudoDepthList[1] = 3.114;
  ScanResults.nPseudoDepths = 2;
  ScanResults.RhoDataMin = 10.4;
  ScanResults.RhoDataMax = 1250.5;
  EXPECT_EQ(DiagramSummary(),
            "Data file: SURVEY\nDatapoints: 42\nX-plot: 1.5 - 94m \na: 2 - 12.5m \n"
            "Pseudodepth: 1.04 - 3.11m \nrho-a: 10 - 1250ohm-m ");
  optrec.IPflag = 1;
  ScanResults.IPDataMin = -3.6;
  ScanResults.IPDataMax = 40.2;
  graphtype.ModSelFlag = true;
  graphtype.Dhigh = 0.5;
  graphtype.Dlow = 20;
  EXPECT_EQ(DiagramSummary(),
            "Data file: SURVEY\nDatapoints: 42\nX-plot: 1.5 - 94m \na: 2 - 12.5m \n"
            "Depth: 0.5 - 20m \nrho-a: 10 - 1250ohm-m \nIP-a: -4 - 40mV/V");
  EXPECT_EQ(SettingsSummary(),
            "No of data: 42\nX-plot: 1.5 - 94m \na: 2 - 12.50m \nPseudodepth: 1.04 - 3.11m \n"
            "rho-a: 10 - 1250ohm-m \nIP-a: -4 - 40mV/V");
}

TEST_F(MainWindow, SettingsFileRoundTripThroughTheFrame) {
  const std::string ini = InDir("config/HedbySoft/Karvelo.ini");
  {
    TfrmMain& f = Frame();
    EXPECT_EQ(f.FWorkDir, f.FAppDir);  // first run
    EXPECT_DOUBLE_EQ(f.FRelativeFontSize, 0.03);
    f.FWorkDir = "/surveys/2024/";
    f.FRelativeFontSize = 0.025;
    f.FDrawingFont.setFamily(QStringLiteral("Liberation Serif"));
    f.close();
  }
  EXPECT_EQ(Slurp(ini), "/surveys/2024/\n 2.50000000000000E-0002\nLiberation Serif\n");
  frame.reset();
  TfrmMain& again = Frame();
  EXPECT_EQ(again.FWorkDir, "/surveys/2024/");
  EXPECT_DOUBLE_EQ(again.FRelativeFontSize, 0.025);
  EXPECT_EQ(again.FDrawingFont.family(), QStringLiteral("Liberation Serif"));
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(MainWindow, SettingsFileLivesInTheUsersConfigurationFolder) {
  const QByteArray old = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("xdg")).toUtf8());
  const std::string ini = InDir("xdg/HedbySoft/Karvelo.ini");
  {
    TfrmMain f;  // the default place
    EXPECT_EQ(f.SettingsPath(), ini);
    f.FWorkDir = "/from/xdg/";
    f.close();
  }
  EXPECT_EQ(Slurp(ini), "/from/xdg/\n 3.00000000000000E-0002\nArial\n");
  {
    TfrmMain again;
    EXPECT_EQ(again.FWorkDir, "/from/xdg/");
  }
  qputenv("XDG_CONFIG_HOME", old);
}

TEST_F(MainWindow, DamagedSettingsFileIsToldOnceAndDefaultsServe) {
  QDir().mkpath(dir.filePath(QStringLiteral("config/HedbySoft")));
  std::ofstream(InDir("config/HedbySoft/Karvelo.ini")) << "/work/\nlarge\nCourier\n";
  TfrmMain& f = Frame();
  EXPECT_EQ(f.FWorkDir, "/work/");
  EXPECT_DOUBLE_EQ(f.FRelativeFontSize, 0.03);
  EXPECT_EQ(f.FDrawingFont.family(), QStringLiteral("Arial"));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].kind, MessageKind::Warning);
  EXPECT_NE(prompts.messages[0].text.find("could not be read"), std::string::npos);
  // Writing over it at the end puts a sound file back, without a second message.
  f.close();
  EXPECT_EQ(Slurp(InDir("config/HedbySoft/Karvelo.ini")),
            "/work/\n 3.00000000000000E-0002\nArial\n");
  EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(MainWindow, UnwritableSettingsFolderIsToldAndTheProgramEnds) {
  std::ofstream(InDir("config")) << "a file where the folder should be";
  TfrmMain& f = Frame();
  EXPECT_TRUE(f.close());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].text.find("could not be saved"), std::string::npos);
}

TEST_F(MainWindow, OpenDialogStartsInHedbyDataOnTheFirstRun) {
  TfrmMain& f = Frame();
  EXPECT_EQ(f.FWorkDir, f.FAppDir);
  const std::string documents = GetCommonDocumentsFolder();
  const std::string start = f.OpenDialogFolder();
  EXPECT_TRUE(start == documents + "/HedbyData" || start == documents) << start;
  f.FWorkDir = "/elsewhere/";
  EXPECT_EQ(f.OpenDialogFolder(), "/elsewhere/");
}

TEST_F(MainWindow, ConvertersRunInsideTheWorkFolder) {
  TfrmMain& f = Frame();
  QDir().mkpath(dir.filePath(QStringLiteral("work")));
  QDir().mkpath(dir.filePath(QStringLiteral("picked")));
  f.FWorkDir = InDir("work") + "/";
  std::string seen;
  f.RunInWorkFolder([&] {
    seen = QDir::currentPath().toStdString();
    QDir::setCurrent(dir.filePath(QStringLiteral("picked")));  // the user went elsewhere
  });
  EXPECT_EQ(seen, InDir("work"));
  EXPECT_EQ(f.FWorkDir, InDir("picked") + "/");
  // Until the converters are here their menu items say so, inside the same frame.
  f.mnuOhmToDat->trigger();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text,
            "MAKE_DAT - Conversion of Hedby Imaging System OHM file to Res2dinv/Karvelo DAT "
            "file\n\rThis converter is not yet available.");
}

}  // namespace
}  // namespace karvelo::shell::test
