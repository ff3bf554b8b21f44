#pragma once

// The frame window: menus, tool bars, status bar and the diagram windows inside it. It
// owns the program settings (work folder, drawing font and its relative size) and the
// program's single dialog instances.

#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "shell/ChildWindow.h"

class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace karvelo::shell {

class QtPrompts;
class TfrmAbout;
class TfrmPlotType;
class TfrmSelectY;
class TfrmSettings;
class TfrmWorking;

class TfrmMain : public QMainWindow {
  Q_OBJECT
 public:
  // Creates the frame (reading Karvelo.ini from `settingsPath`, by default the user's
  // configuration folder) and the program's dialogs.
  explicit TfrmMain(const std::string& settingsPath = {});
  ~TfrmMain() override;

  // A diagram window for the file: created, loaded and drawn, titled with the path, its
  // hint the data summary.
  TfrmMDIChild* CreateMDIChild(const std::string& fileName);
  // What "Open" does once a file is chosen (work folder, model flag, window).
  TfrmMDIChild* OpenFile(const std::string& fileName);
  void RedrawDiagram();
  void UpdateMenuItems();

  TfrmMDIChild* ActiveChild() const;
  int ChildCount() const;
  QMdiArea* MdiArea() const { return mdiArea; }

  // Karvelo.ini: read at creation, written when the frame closes. A file that cannot be
  // read or written is reported once and never stops the program.
  void LoadProgramSettings();
  bool SaveProgramSettings();
  const std::string& SettingsPath() const { return FSettingsPath; }

  // The work-folder frame around a converter dialog: the current folder is the work
  // folder while `dialog` runs, and the work folder is the current folder afterwards.
  void RunInWorkFolder(const std::function<void()>& dialog);

  // The open dialog's first folder: the work folder when it is not the program folder,
  // else the documents folder's "HedbyData".
  std::string OpenDialogFolder() const;

  std::string FAppDir;
  std::string FWorkDir;
  TDrawingFontSource FDrawing;  // FDrawingFont and FRelativeFontSize
  QFont& FDrawingFont = FDrawing.font;
  double& FRelativeFontSize = FDrawing.relativeSize;

  // ---- Actions ----
  QAction* actOpen = nullptr;
  QAction* actClose = nullptr;
  QAction* actPrinterSettings = nullptr;
  QAction* actPrint = nullptr;
  QAction* actExit = nullptr;
  QAction* actCopy = nullptr;
  QAction* actCopyMetafile = nullptr;
  QAction* actSaveToMetafile = nullptr;
  QAction* actCascade = nullptr;
  QAction* actTile = nullptr;
  QAction* actArrangeIcons = nullptr;
  QAction* actMinimizeAll = nullptr;
  QAction* actHelpContents = nullptr;
  QAction* actAbout = nullptr;
  QAction* actSettings = nullptr;
  QAction* actPseudo = nullptr;
  QAction* actModel1D = nullptr;
  QAction* actModel2D = nullptr;
  QAction* actFont = nullptr;
  QAction* actShowMarkers = nullptr;
  QAction* actEditReference = nullptr;
  QAction* actFontSize = nullptr;
  QAction* actPaletteEditor = nullptr;
  QAction* actConvertINV2RHO = nullptr;
  // Menu items without an action of their own.
  QAction* mnuOhmToDat = nullptr;
  QAction* mnuK7rToDat = nullptr;
  QAction* mnuXyzToRho = nullptr;
  QAction* mnuMergeDat = nullptr;
  QAction* mnuMergeTimeLapse = nullptr;
  QAction* mnuTestSaveImage = nullptr;
  QAction* mnuTestSaveSeparator = nullptr;
  QAction* mnuInvertRes2dinv = nullptr;
  QAction* mnuPlotGif = nullptr;
  QMenu* mnuFile = nullptr;
  QMenu* mnuConversion = nullptr;
  QMenu* mnuEdit = nullptr;
  QMenu* mnuWindow = nullptr;
  QMenu* mnuHelp = nullptr;
  QMenu* mnuBatch = nullptr;
  QToolBar* tlbMain = nullptr;
  QToolBar* tlbDiagram = nullptr;
  QToolBar* tlbVastrum = nullptr;

  // ---- The program's dialogs ----
  TfrmSettings* frmSettings = nullptr;
  TfrmPlotType* frmPlotType = nullptr;
  TfrmSelectY* frmSelectY = nullptr;
  TfrmWorking* frmWorking = nullptr;
  TfrmAbout* frmAbout = nullptr;
  std::unique_ptr<QtPrompts> prompts;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBars();
  void CreateDialogs();
  void ApplyDeveloperMode();
  // A tool bar button for `action` with its own hint.
  QAction* Button(QToolBar* bar, QAction* action, const QString& hint);
  void OnOpen();
  void OnSubWindowActivated(QMdiSubWindow* window);
  void MergeDiagramMenu();
  void FillWindowMenu();
  void NotYetAvailable(const std::string& what);
  void ConverterNotYetAvailable(const std::string& title);
  void WithActive(const std::function<void(TfrmMDIChild&)>& command);
  void TellSettingsProblemOnce(const std::string& text);

  QMdiArea* mdiArea = nullptr;
  QPointer<TfrmMDIChild> lastActivated_;
  QPointer<QMenu> mergedMenu_;
  std::string FSettingsPath;
  bool settingsProblemTold_ = false;
  bool settingsSaved_ = false;
};

}  // namespace karvelo::shell
