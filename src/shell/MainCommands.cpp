// The frame window's commands: opening files into diagram windows, the program settings
// file, the work-folder frame of the converters, the window list, drag and drop.

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "base/Files.h"
#include "base/PlotState.h"
#include "base/Prompts.h"
#include "shell/DataSummary.h"
#include "shell/MainWindow.h"
#include "shell/ProgramSettings.h"
#include "shell/ShellEnv.h"

namespace karvelo::shell {

// ---- Opening files -----------------------------------------------------------------------

std::string TfrmMain::OpenDialogFolder() const {
  if (!FWorkDir.empty() && FWorkDir != FAppDir) return FWorkDir;
  const std::string documents = GetCommonDocumentsFolder();
  const std::string hedby = documents + "/HedbyData";
  return QFileInfo(PathToQt(hedby)).isDir() ? hedby : documents;
}

void TfrmMain::OnOpen() {
  QFileDialog dialog(this, QStringLiteral("Open data file"), PathToQt(OpenDialogFolder()));
  dialog.setNameFilters({QStringLiteral("Data file (*.dat)"),
                         QStringLiteral("Model file (*.rho *.rh2)"),
                         QStringLiteral("All files (*)")});
  dialog.setDefaultSuffix(QStringLiteral("rho"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  OpenFile(PathFromQt(dialog.selectedFiles().first()));
}

TfrmMDIChild* TfrmMain::OpenFile(const std::string& fileName) {
  const QFileInfo info(PathToQt(fileName));
  if (!info.isFile()) {
    CurrentPrompts().Message("ERROR: The file " + fileName + " does not exist!",
                             MessageKind::Error);
    return nullptr;
  }
  const std::string path = PathFromQt(info.absoluteFilePath());
  // O2: the work folder follows the file; only ".RHO" preselects the model section.
  FWorkDir = FolderOf(path);
  graphtype.ModSelFlag = UpperCase(ExtensionOf(path)) == ".RHO";
  ForceLocaleFormats();
  return CreateMDIChild(path);
}

TfrmMDIChild* TfrmMain::CreateMDIChild(const std::string& fileName) {
  auto* child = new TfrmMDIChild(&FDrawing, frmSettings);
  child->setWindowTitle(QStringLiteral("Creating diagram..."));
  child->setWindowIcon(windowIcon());
  QMdiSubWindow* window = mdiArea->addSubWindow(child);
  connect(child, &QObject::destroyed, this, [this] {
    QTimer::singleShot(0, this, [this] {
      UpdateMenuItems();
      if (ChildCount() == 0) lastActivated_ = nullptr;
    });
  });
  const QSize area = mdiArea->viewport()->size();
  const int w = std::max(640, area.width() * 3 / 4);
  const int h = std::max(420, area.height() * 3 / 4);
  window->resize(std::min(w, std::max(area.width(), 640)),
                 std::min(h, std::max(area.height(), 420)));
  window->show();
  lastActivated_ = child;
  child->SetFileName(fileName);
  child->setWindowTitle(PathToQt(fileName));
  child->SetHint(DiagramSummary());
  UpdateMenuItems();
  MergeDiagramMenu();
  return child;
}

void TfrmMain::RedrawDiagram() {
  WithActive([](TfrmMDIChild& c) { c.Redraw(); });
}

TfrmMDIChild* TfrmMain::ActiveChild() const {
  QMdiSubWindow* window = mdiArea->currentSubWindow();
  return window ? qobject_cast<TfrmMDIChild*>(window->widget()) : nullptr;
}

int TfrmMain::ChildCount() const {
  int n = 0;
  for (QMdiSubWindow* w : mdiArea->subWindowList()) {
    if (qobject_cast<TfrmMDIChild*>(w->widget())) ++n;
  }
  return n;
}

void TfrmMain::WithActive(const std::function<void(TfrmMDIChild&)>& command) {
  if (TfrmMDIChild* child = ActiveChild()) command(*child);
}

void TfrmMain::OnSubWindowActivated(QMdiSubWindow* window) {
  UpdateMenuItems();
  MergeDiagramMenu();
  auto* child = window ? qobject_cast<TfrmMDIChild*>(window->widget()) : nullptr;
  if (!child || child == lastActivated_) return;
  lastActivated_ = child;
  child->Activated();
}

void TfrmMain::MergeDiagramMenu() {
  TfrmMDIChild* child = ActiveChild();
  QMenu* wanted = child ? child->DiagramMenu() : nullptr;
  if (wanted == mergedMenu_) return;
  if (mergedMenu_ && menuBar()->actions().contains(mergedMenu_->menuAction())) {
    menuBar()->removeAction(mergedMenu_->menuAction());
  }
  mergedMenu_ = wanted;
  // A closed window takes its menu along (mergedMenu_ then reads null).
  if (wanted) menuBar()->insertAction(mnuWindow->menuAction(), wanted->menuAction());
}

void TfrmMain::FillWindowMenu() {
  mnuWindow->clear();
  for (QAction* a : {actCascade, actTile, actArrangeIcons, actMinimizeAll}) mnuWindow->addAction(a);
  const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
  if (windows.isEmpty()) return;
  mnuWindow->addSeparator();
  int number = 1;
  for (QMdiSubWindow* w : windows) {
    QAction* entry = mnuWindow->addAction(QStringLiteral("&%1 %2").arg(number++).arg(
        w->widget() ? w->widget()->windowTitle() : w->windowTitle()));
    entry->setCheckable(true);
    entry->setChecked(w == mdiArea->currentSubWindow());
    connect(entry, &QAction::triggered, this, [this, w] { mdiArea->setActiveSubWindow(w); });
  }
}

// ---- Program settings --------------------------------------------------------------------

void TfrmMain::TellSettingsProblemOnce(const std::string& text) {
  if (settingsProblemTold_) return;
  settingsProblemTold_ = true;
  CurrentPrompts().Message(text, MessageKind::Warning);
}

void TfrmMain::LoadProgramSettings() {
  TProgramSettings settings;
  settings.WorkDir = FAppDir;
  settings.RelativeFontSize = FRelativeFontSize;
  std::string problem;
  const SettingsReadResult result = ReadProgramSettings(FSettingsPath, settings, &problem);
  if (result == SettingsReadResult::Damaged) {
    TellSettingsProblemOnce("WARNING: The program settings file " + FSettingsPath +
                            " could not be read (" + problem +
                            ").\n\rDefault settings are used for the rest.");
  }
  FWorkDir = settings.WorkDir.empty() ? FAppDir : settings.WorkDir;
  FRelativeFontSize = settings.RelativeFontSize;
  // F7: an empty name keeps the current face.
  if (!settings.FontName.empty()) FDrawingFont.setFamily(ToQt(settings.FontName));
}

bool TfrmMain::SaveProgramSettings() {
  TProgramSettings settings;
  settings.WorkDir = FWorkDir;
  settings.RelativeFontSize = FRelativeFontSize;
  settings.FontName = FromQt(FDrawingFont.family());
  std::string problem;
  if (WriteProgramSettings(FSettingsPath, settings, &problem)) return true;
  TellSettingsProblemOnce("WARNING: The program settings could not be saved to " + FSettingsPath +
                          ":\n\r" + problem);
  return false;
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  mdiArea->closeAllSubWindows();
  if (!settingsSaved_) {
    settingsSaved_ = true;
    SaveProgramSettings();
  }
  disconnect(mdiArea, &QMdiArea::subWindowActivated, this, &TfrmMain::OnSubWindowActivated);
  event->accept();
}

// ---- Converters and tools that are not here yet ------------------------------------------

void TfrmMain::RunInWorkFolder(const std::function<void()>& dialog) {
  QDir::setCurrent(PathToQt(FWorkDir));
  dialog();
  std::string current = PathFromQt(QDir::currentPath());
  if (!current.empty() && current.back() != '/') current += '/';
  FWorkDir = current;
}

void TfrmMain::NotYetAvailable(const std::string& what) {
  CurrentPrompts().Message(what + " is not yet available.", MessageKind::Information);
}

void TfrmMain::ConverterNotYetAvailable(const std::string& title) {
  CurrentPrompts().Message(title + "\n\rThis converter is not yet available.",
                           MessageKind::Information);
}

// ---- Drag and drop -----------------------------------------------------------------------

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* mime = event->mimeData();
  if (mime && mime->hasUrls()) {
    for (const QUrl& url : mime->urls()) {
      if (url.isLocalFile()) {
        event->acceptProposedAction();
        return;
      }
    }
  }
}

void TfrmMain::dropEvent(QDropEvent* event) {
  const QMimeData* mime = event->mimeData();
  if (!mime) return;
  QStringList files;
  for (const QUrl& url : mime->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  event->acceptProposedAction();
  // Opening asks the plot type: the drop is finished first, so the source is not kept
  // waiting by the question.
  QTimer::singleShot(0, this, [this, files] {
    for (const QString& f : files) OpenFile(PathFromQt(f));
  });
}

}  // namespace karvelo::shell
