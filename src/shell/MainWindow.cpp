// The frame window's creation: actions, menus, tool bars, status bar, the dialogs.

#include "shell/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

#include "base/PlotState.h"
#include "base/Resources.h"
#include "shell/CoreDialogs.h"
#include "shell/Icons.h"
#include "shell/ProgramSettings.h"
#include "shell/QtPrompts.h"
#include "shell/SettingsDialog.h"
#include "shell/ShellEnv.h"
#include "shell/SplashAbout.h"

namespace karvelo::shell {
namespace {

QAction* MakeAction(QObject* owner, const char* name, const char* caption, const char* hint) {
  auto* a = new QAction(QString::fromLatin1(caption), owner);
  a->setObjectName(QString::fromLatin1(name));
  if (hint[0] != '\0') {
    a->setStatusTip(QString::fromLatin1(hint));
    a->setToolTip(QString::fromLatin1(hint));
  }
  return a;
}

}  // namespace

TfrmMain::TfrmMain(const std::string& settingsPath)
    : FSettingsPath(settingsPath.empty() ? ProgramSettingsPath() : settingsPath) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Karvelo 2"));
  setWindowIcon(ProgramIcon());
  setAcceptDrops(true);
  mdiArea = new QMdiArea(this);
  mdiArea->setObjectName(QStringLiteral("mdiArea"));
  setCentralWidget(mdiArea);
  statusBar()->setSizeGripEnabled(true);

  // F1
  ForceLocaleFormats();
  CreateActions();
  CreateMenus();
  CreateToolBars();
  // F2, F3
  ApplyDeveloperMode();
  actCopyMetafile->setEnabled(false);
  actSaveToMetafile->setEnabled(true);
  actPaletteEditor->setEnabled(true);
  actShowMarkers->setEnabled(true);
  actEditReference->setEnabled(true);
  actConvertINV2RHO->setEnabled(true);
  for (QAction* a : {mnuOhmToDat, mnuK7rToDat, mnuXyzToRho}) a->setEnabled(true);
  mnuConversion->menuAction()->setVisible(true);
  // F4 to F8
  FRelativeFontSize = 0.03;
  FDrawingFont = QFont(ToQt(graphtype.FontName), 12);
  FAppDir = ProgramFolder();
  LoadProgramSettings();
  graphtype.FontSize = static_cast<int>(std::lround(FDrawingFont.pointSizeF() * 96.0 / 72.0));
  // F9
  mdiArea->setFrameShape(QFrame::StyledPanel);
  mdiArea->setFrameShadow(QFrame::Sunken);
  connect(mdiArea, &QMdiArea::subWindowActivated, this, &TfrmMain::OnSubWindowActivated);
  // F10
  QDir::setCurrent(PathToQt(FAppDir));

  CreateDialogs();
  UpdateMenuItems();
}

TfrmMain::~TfrmMain() {
  // The windows go with the frame; nothing of theirs may call back into it meanwhile.
  disconnect(mdiArea, nullptr, this, nullptr);
  for (QMdiSubWindow* w : mdiArea->subWindowList()) {
    if (w->widget()) w->widget()->disconnect(this);
  }
  if (prompts && &CurrentPrompts() == static_cast<Prompts*>(prompts.get())) SetPrompts(nullptr);
}

void TfrmMain::CreateActions() {
  actOpen = MakeAction(this, "actOpen", "&Open", "Open diagram");
  actOpen->setShortcut(QKeySequence::Open);
  actClose = MakeAction(this, "actClose", "&Close", "Close diagram");
  actPrinterSettings =
      MakeAction(this, "actPrinterSettings", "Printer &settings...", "Printer settings");
  actPrint = MakeAction(this, "actPrint", "&Print...", "Print");
  actExit = MakeAction(this, "actExit", "E&xit", "Exit karvelo");
  actExit->setShortcut(QKeySequence::Quit);
  actCopy = MakeAction(this, "actCopy", "&Copy to bitmap", "Copy diagram");
  actCopyMetafile = MakeAction(this, "actCopyMetafile", "Copy to clipboard (metaformat)",
                               "Copy diagram to meta file");
  actSaveToMetafile =
      MakeAction(this, "actSaveToMetafile", "Save to metafile (.WMF)", "Save diagram to metafile.");
  actCascade = MakeAction(this, "actCascade", "Cascade", "");
  actTile = MakeAction(this, "actTile", "Tile", "");
  actArrangeIcons = MakeAction(this, "actArrangeIcons", "Arrange icons", "");
  actMinimizeAll = MakeAction(this, "actMinimizeAll", "Minimize all", "");
  actHelpContents = MakeAction(this, "actHelpContents", "User guide", "Show help");
  actAbout = MakeAction(this, "actAbout", "About", "About Karvelo");
  actSettings = MakeAction(this, "actSettings", "", "Show diagram settings");
  actPseudo = MakeAction(this, "actPseudo", "PS", "Pseudo plot");
  actModel1D = MakeAction(this, "actModel1D", "1D", "1D model plot");
  actModel2D = MakeAction(this, "actModel2D", "2D", "2D model plot");
  actFont = MakeAction(this, "actFont", "", "Set font type and size");
  actShowMarkers = MakeAction(this, "actShowMarkers", "", "Show markers settings");
  actEditReference = MakeAction(this, "actEditReference", "", "Edit reference data");
  actFontSize = MakeAction(this, "actFontSize", "", "Set relative font size");
  actPaletteEditor = MakeAction(this, "actPaletteEditor", "", "Palette editor");
  actConvertINV2RHO = MakeAction(this, "actConvertINV2RHO", "INV -> RHO", "");
  // The metafile commands stay out of sight; copying as a metafile is not offered at all.
  actCopyMetafile->setVisible(false);
  actSaveToMetafile->setVisible(false);

  actSettings->setIcon(GlyphIcon(Glyph::Settings));
  actFont->setIcon(GlyphIcon(Glyph::Font));
  actShowMarkers->setIcon(GlyphIcon(Glyph::Markers));
  actEditReference->setIcon(GlyphIcon(Glyph::Reference));
  actFontSize->setIcon(GlyphIcon(Glyph::FontSize));
  actPaletteEditor->setIcon(GlyphIcon(Glyph::Palette));
  actOpen->setIcon(GlyphIcon(Glyph::Open));
  actPrint->setIcon(GlyphIcon(Glyph::Print));
  actCopy->setIcon(GlyphIcon(Glyph::Copy));
  actCopyMetafile->setIcon(GlyphIcon(Glyph::CopyMeta));
  actSaveToMetafile->setIcon(GlyphIcon(Glyph::SaveMeta));

  connect(actOpen, &QAction::triggered, this, &TfrmMain::OnOpen);
  connect(actClose, &QAction::triggered, mdiArea, &QMdiArea::closeActiveSubWindow);
  connect(actExit, &QAction::triggered, this, &QWidget::close);
  connect(actCascade, &QAction::triggered, mdiArea, &QMdiArea::cascadeSubWindows);
  connect(actTile, &QAction::triggered, mdiArea, &QMdiArea::tileSubWindows);
  connect(actArrangeIcons, &QAction::triggered, this, [this] {
    int x = 0;
    for (QMdiSubWindow* w : mdiArea->subWindowList()) {
      if (!w->isMinimized()) continue;
      w->move(x, mdiArea->viewport()->height() - w->height());
      x += w->width();
    }
  });
  connect(actMinimizeAll, &QAction::triggered, this, [this] {
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->showMinimized();
  });
  connect(actHelpContents, &QAction::triggered, this,
          [this] { OpenDocument("karvelo.htm", "", FAppDir, 1); });
  connect(actAbout, &QAction::triggered, this, [this] {
    if (frmAbout) frmAbout->exec();
  });
  connect(actSettings, &QAction::triggered, this,
          [this] { WithActive([](TfrmMDIChild& c) { c.ShowSettings(); }); });
  connect(actFont, &QAction::triggered, this,
          [this] { WithActive([](TfrmMDIChild& c) { c.ShowFont(); }); });
  const auto typeCommand = [this](void (TfrmMDIChild::*draw)()) {
    return [this, draw] {
      ForceLocaleFormats();
      WithActive([draw](TfrmMDIChild& c) { (c.*draw)(); });
    };
  };
  connect(actPseudo, &QAction::triggered, this, typeCommand(&TfrmMDIChild::DrawPseudo));
  connect(actModel1D, &QAction::triggered, this, typeCommand(&TfrmMDIChild::DrawModsec1d));
  connect(actModel2D, &QAction::triggered, this, typeCommand(&TfrmMDIChild::DrawModsec2d));

  const std::pair<QAction*, const char*> pending[] = {
      {actPrinterSettings, "Printer settings"},
      {actPrint, "Printing"},
      {actCopy, "Copying the diagram"},
      {actCopyMetafile, "Copying as a metafile"},
      {actSaveToMetafile, "Saving as a metafile"},
      {actShowMarkers, "The marker editor"},
      {actEditReference, "The reference data editor"},
      {actFontSize, "The relative font size dialog"},
      {actPaletteEditor, "The palette editor"}};
  for (const auto& [action, what] : pending) {
    const std::string text = what;
    connect(action, &QAction::triggered, this, [this, text] { NotYetAvailable(text); });
  }
  connect(actConvertINV2RHO, &QAction::triggered, this,
          [this] { RunInWorkFolder([this] { ConverterNotYetAvailable("INV2RHO"); }); });
}

void TfrmMain::CreateMenus() {
  mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFile->addAction(actOpen);
  mnuFile->addAction(actClose);
  mnuFile->addSeparator();
  mnuConversion = mnuFile->addMenu(QStringLiteral("Conversion"));
  mnuOhmToDat = mnuConversion->addAction(QStringLiteral("OHM -> DAT"), this, [this] {
    RunInWorkFolder([this] {
      ConverterNotYetAvailable(
          "MAKE_DAT - Conversion of Hedby Imaging System OHM file to Res2dinv/Karvelo DAT file");
    });
  });
  mnuK7rToDat = mnuConversion->addAction(QStringLiteral("K7R -> DAT"), this, [this] {
    RunInWorkFolder([this] {
      ConverterNotYetAvailable(
          "MAKE_DAT - Conversion of Hedby Imaging System K7R file to Res2dinv/Karvelo DAT file");
    });
  });
  mnuConversion->addAction(actConvertINV2RHO);
  mnuXyzToRho = mnuConversion->addAction(QStringLiteral("XYZ -> RHO"), this,
                                         [this] { ConverterNotYetAvailable("XYZ2RHO"); });
  mnuFile->addSeparator();
  QMenu* merge = mnuFile->addMenu(QStringLiteral("Merge"));
  mnuMergeDat = merge->addAction(QStringLiteral("DAT Files"), this,
                                 [this] { ConverterNotYetAvailable("Merge Dat Files"); });
  mnuMergeTimeLapse = merge->addAction(QStringLiteral("Time-lapse"), this, [this] {
    ConverterNotYetAvailable("Merge to Time-lapse Data File");
  });
  mnuTestSaveSeparator = mnuFile->addSeparator();
  mnuTestSaveImage = mnuFile->addAction(QStringLiteral("Test save image"), this,
                                        [this] { NotYetAvailable("The test-save tool"); });
  mnuFile->addSeparator();
  mnuInvertRes2dinv = mnuFile->addAction(QStringLiteral("Invert via Res2dinv"), this,
                                         [this] { NotYetAvailable("Inversion via Res2dinv"); });
  mnuFile->addSeparator();
  mnuFile->addAction(actPrinterSettings);
  mnuFile->addAction(actPrint);
  mnuFile->addSeparator();
  mnuFile->addAction(actExit);

  mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
  mnuEdit->addAction(actCopy);
  mnuEdit->addAction(actCopyMetafile);
  mnuEdit->addAction(actSaveToMetafile);

  mnuWindow = menuBar()->addMenu(QStringLiteral("&Window"));
  mnuWindow->menuAction()->setStatusTip(
      QStringLiteral("Window related commands such as Tile and Cascade"));
  connect(mnuWindow, &QMenu::aboutToShow, this, &TfrmMain::FillWindowMenu);
  FillWindowMenu();

  mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  mnuHelp->menuAction()->setStatusTip(QStringLiteral("Help topics"));
  mnuHelp->addAction(actHelpContents);
  mnuHelp->addSeparator();
  mnuHelp->addAction(actAbout);

  mnuBatch = menuBar()->addMenu(QStringLiteral("Batch"));
  mnuPlotGif = mnuBatch->addAction(QStringLiteral("Plot GIF"), this,
                                   [this] { NotYetAvailable("Batch GIF plotting"); });
}

QAction* TfrmMain::Button(QToolBar* bar, QAction* action, const QString& hint) {
  // The button has a hint of its own, so it gets its own action that follows the
  // command's enabled and visible state.
  auto* button = new QAction(action->icon(), action->text(), bar);
  button->setObjectName(action->objectName() + QStringLiteral("Button"));
  button->setToolTip(hint);
  button->setStatusTip(hint);
  button->setEnabled(action->isEnabled());
  button->setVisible(action->isVisible());
  connect(button, &QAction::triggered, action, &QAction::trigger);
  connect(action, &QAction::changed, button, [button, action] {
    button->setEnabled(action->isEnabled());
    button->setVisible(action->isVisible());
  });
  bar->addAction(button);
  return button;
}

void TfrmMain::CreateToolBars() {
  tlbMain = addToolBar(QStringLiteral("General"));
  tlbMain->setObjectName(QStringLiteral("tlbMain"));
  tlbMain->setToolButtonStyle(Qt::ToolButtonIconOnly);
  Button(tlbMain, actOpen, QStringLiteral("Open diagram plot window"));
  tlbMain->addSeparator();
  Button(tlbMain, actPrint, QStringLiteral("Print diagram"));
  tlbMain->addSeparator();
  Button(tlbMain, actCopy, QStringLiteral("Copy diagram to bitmap (clipboard or GIF file)"));
  Button(tlbMain, actCopyMetafile, actCopyMetafile->statusTip());
  Button(tlbMain, actSaveToMetafile, actSaveToMetafile->statusTip());
  tlbMain->addSeparator();
  Button(tlbMain, actPaletteEditor, QStringLiteral("Palette editor"));

  tlbDiagram = addToolBar(QStringLiteral("Diagram"));
  tlbDiagram->setObjectName(QStringLiteral("tlbDiagram"));
  tlbDiagram->setToolButtonStyle(Qt::ToolButtonIconOnly);
  Button(tlbDiagram, actSettings, QStringLiteral("Edit diagram settings"));
  Button(tlbDiagram, actFont, QStringLiteral("Set font"));
  Button(tlbDiagram, actFontSize, actFontSize->statusTip());
  Button(tlbDiagram, actShowMarkers, QStringLiteral("Edit diagram markers"));
  Button(tlbDiagram, actEditReference, actEditReference->statusTip());
  tlbDiagram->addSeparator();
  for (QAction* a : {actPseudo, actModel1D, actModel2D}) Button(tlbDiagram, a, a->statusTip());

  // The maker's button sits flush right in the bar strip.
  tlbVastrum = addToolBar(QStringLiteral("Vastrum"));
  tlbVastrum->setObjectName(QStringLiteral("tlbVastrum"));
  auto* spacer = new QWidget(tlbVastrum);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  tlbVastrum->addWidget(spacer);
  QAction* maker = tlbVastrum->addAction(GlyphIcon(Glyph::Maker), QStringLiteral("Vastrum"));
  maker->setObjectName(QStringLiteral("btnVastrum"));
  maker->setToolTip(QStringLiteral("Vastrum Instrument AB"));
  maker->setStatusTip(QStringLiteral("Vastrum Instrument AB"));
  connect(maker, &QAction::triggered, this,
          [this] { OpenDocument("vastrum.htm", "", FAppDir, 1); });
}

void TfrmMain::ApplyDeveloperMode() {
  const bool developer = DeveloperMode();
  mnuTestSaveImage->setVisible(developer);
  mnuTestSaveSeparator->setVisible(developer);
  mnuPlotGif->setVisible(developer);
  mnuBatch->menuAction()->setVisible(developer);
  mnuInvertRes2dinv->setVisible(developer);
}

void TfrmMain::CreateDialogs() {
  frmSettings = new TfrmSettings(this);
  frmWorking = new TfrmWorking(this);
  frmPlotType = new TfrmPlotType(this);
  frmSelectY = new TfrmSelectY(this);
  frmAbout = new TfrmAbout(this);
  prompts = std::make_unique<QtPrompts>(this, frmPlotType, frmSelectY, frmWorking);
}

void TfrmMain::UpdateMenuItems() {
  const bool any = ChildCount() > 0;
  for (QAction* a : {actClose, actCopy, actSaveToMetafile, actPrint, actFont, actCascade, actTile,
                     actArrangeIcons, actMinimizeAll}) {
    a->setEnabled(any);
  }
  tlbDiagram->setVisible(any);
}

}  // namespace karvelo::shell
