#pragma once

// A diagram window: one data or model file shown as a diagram. It owns the diagram
// object and the palette, renders off-screen into an image of its client size and shows
// that image. Because all diagrams share one plot state, the window reloads its file
// whenever it becomes active and before every drawing.

#include <QFont>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "core/SctDraw.h"
#include "render/Canvas.h"

namespace karvelo::shell {

class TfrmSettings;

// What a diagram window takes from the frame window: the drawing font and its size
// relative to the drawing width, and the settings dialog.
struct TDrawingFontSource {
  QFont font{QStringLiteral("Arial"), 12};
  double relativeSize = 0.03;
};

class TfrmMDIChild : public QWidget {
  Q_OBJECT
 public:
  // Creating the window creates its diagram, which asks for the plot type.
  TfrmMDIChild(TDrawingFontSource* fontSource, TfrmSettings* settings, QWidget* parent = nullptr);
  ~TfrmMDIChild() override;

  const std::string& FileName() const { return FFileName; }
  // Sets the file (the model file name follows it) and redraws.
  void SetFileName(const std::string& fileName);

  void Redraw();
  void DrawPseudo();
  void DrawModsec1d();
  void DrawModsec2d();
  void ShowSettings();
  void ShowFont();
  // Takes the chosen font (the font dialog's OK), then redraws.
  void ApplyFont(const QFont& font);
  // The window became active: its folder becomes current and its file is reloaded.
  void Activated();

  // The settings exchange of ShowSettings, in two halves: fill the dialog from the
  // diagram; copy the dialog back, save the settings files and redraw.
  void FillSettings(TfrmSettings& dialog);
  void ApplySettings(TfrmSettings& dialog);

  // Palette pick by menu position (0-based); false for an index with no entry.
  bool PickPalette(int index);
  // Re-reads the palette folder into the "Palette" menu.
  void FillPaletteMenu();

  TSectionDiagram* Diagram() const { return FSectionDiagram.get(); }
  QMenu* DiagramMenu() const { return mnuDiagram; }
  // The picture shown (the diagram, or a banner).
  QImage Picture() const;
  const std::string& PaletteFile() const { return FPalFile; }
  const PaletteTable& Palette() const { return FLogDrawPalette; }
  int LastPaletteIndex() const { return FLastPalIndex; }
  bool FirstTime() const { return FFirstTime; }
  int DrawCount() const { return FDrawCount; }
  bool ShowsErrorBanner() const { return FShowsError; }
  void SetHint(const std::string& text);

  QAction* mnuTypePseudo = nullptr;
  QAction* mnuType2D = nullptr;
  QMenu* mnuPlotPalette = nullptr;
  QLabel* imgDiagram = nullptr;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void BuildMenu();
  void SetType(TDiagramType type);
  void DrawDiagram();
  void ReloadPalette();
  void RedrawIfResized();

  TDrawingFontSource* fontSource_;
  TfrmSettings* settings_;
  std::unique_ptr<TSectionDiagram> FSectionDiagram;
  std::string FFileName;
  std::string FPalFile = "classic.pal";
  PaletteTable FLogDrawPalette{};
  bool FPaletteLoaded = false;
  int FLastPalIndex = 0;
  bool FFirstTime = true;
  bool FDrawing = false;
  bool FShowsError = false;
  int FDrawCount = 0;
  QSize FDrawnSize;
  QTimer resizeTimer_;
  QMenu* mnuDiagram = nullptr;
  QMenu* mnuPopup = nullptr;
};

// The banners shown while drawing and after a failed drawing.
QPixmap DrawingBanner();
QPixmap ErrorBanner();

}  // namespace karvelo::shell
