#include "shell/ChildWindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "base/Files.h"
#include "base/PlotState.h"
#include "base/Prompts.h"
#include "input/QvMath.h"
#include "output/QtCanvas.h"
#include "render/ColourScale.h"
#include "shell/Renderers.h"
#include "shell/SettingsDialog.h"
#include "shell/ShellEnv.h"

namespace karvelo::shell {
namespace {

// A drawing of any window is running: the one plot state belongs to it until it ends.
bool gAnyDrawing = false;

QPixmap Banner(int width, const char* text) {
  QPixmap pm(width, 25);
  pm.fill(Qt::white);
  QPainter p(&pm);
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(16);
  f.setBold(true);
  f.setItalic(true);
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(QRect(0, 0, width, 25), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(text));
  return pm;
}

// The character height of a font size in points on the 96 dpi screen the sizes were
// chosen for.
int PixelHeightOf(const QFont& font) {
  if (font.pixelSize() > 0) return font.pixelSize();
  return static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
}

}  // namespace

QPixmap DrawingBanner() {
  return Banner(200, "Drawing diagram...");
}
QPixmap ErrorBanner() {
  return Banner(239, "Error drawing diagram...");
}

TfrmMDIChild::TfrmMDIChild(TDrawingFontSource* fontSource, TfrmSettings* settings, QWidget* parent)
    : QWidget(parent), fontSource_(fontSource), settings_(settings) {
  setObjectName(QStringLiteral("frmMDIChild"));
  setAttribute(Qt::WA_DeleteOnClose);
  setMinimumSize(320, 200);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  setFont(QFont(QStringLiteral("Arial")));
  imgDiagram = new QLabel(this);
  imgDiagram->setObjectName(QStringLiteral("imgDiagram"));
  imgDiagram->setAlignment(Qt::AlignCenter);
  imgDiagram->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  imgDiagram->setMouseTracking(true);
  resizeTimer_.setSingleShot(true);
  resizeTimer_.setInterval(40);
  connect(&resizeTimer_, &QTimer::timeout, this, &TfrmMDIChild::RedrawIfResized);

  // Creation: the palette, the menus, then the diagram (which asks for the plot type).
  FPaletteLoaded = LoadPalette(FLogDrawPalette, FPalFile);
  FLastPalIndex = 0;
  FDrawing = false;
  FFirstTime = true;
  graphtype.FirstTime = true;
  BuildMenu();
  FillPaletteMenu();
  FSectionDiagram = std::make_unique<TSectionDiagram>();
  if (FSectionDiagram->DiagramType() != dtPseudo) mnuTypePseudo->setChecked(false);
  if (FSectionDiagram->DiagramType() == dtModsec2D) mnuType2D->setChecked(true);
}

TfrmMDIChild::~TfrmMDIChild() = default;

void TfrmMDIChild::BuildMenu() {
  mnuDiagram = new QMenu(QStringLiteral("Diagram"), this);
  mnuDiagram->setToolTip(QStringLiteral("Diagram related functions"));
  mnuDiagram->menuAction()->setStatusTip(QStringLiteral("Diagram related functions"));
  QMenu* type = mnuDiagram->addMenu(QStringLiteral("Type"));
  type->menuAction()->setStatusTip(QStringLiteral("Change diagram type"));
  mnuTypePseudo = type->addAction(QStringLiteral("Pseudosection"), this, &TfrmMDIChild::DrawPseudo);
  mnuTypePseudo->setCheckable(true);
  mnuTypePseudo->setChecked(true);
  mnuType2D = type->addAction(QStringLiteral("2D Modelsection"), this, &TfrmMDIChild::DrawModsec2d);
  mnuType2D->setCheckable(true);
  mnuPlotPalette = mnuDiagram->addMenu(QStringLiteral("Palette"));
  mnuPlotPalette->menuAction()->setStatusTip(QStringLiteral("Change diagram palette"));
  QAction* properties =
      mnuDiagram->addAction(QStringLiteral("Properties..."), this, &TfrmMDIChild::ShowSettings);
  properties->setStatusTip(QStringLiteral("Properties"));
  QAction* font = mnuDiagram->addAction(QStringLiteral("Font..."), this, &TfrmMDIChild::ShowFont);
  font->setStatusTip(QStringLiteral("Font"));
  mnuDiagram->addAction(QStringLiteral("Markers..."), this, [] {
    CurrentPrompts().Message("The marker editor is not yet available.", MessageKind::Information);
  });
  mnuDiagram->addAction(QStringLiteral("Reference data..."), this, [] {
    CurrentPrompts().Message("The reference data editor is not yet available.",
                             MessageKind::Information);
  });
  mnuPopup = new QMenu(this);
  mnuPopup->addAction(QStringLiteral("Settings"), this, &TfrmMDIChild::ShowSettings);
}

void TfrmMDIChild::FillPaletteMenu() {
  mnuPlotPalette->clear();
  const QDir folder(PathToQt(PaletteFolder()));
  const QStringList files =
      folder.entryList({QStringLiteral("*.pal")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
  for (const QString& file : files) {
    const QString caption = file.left(file.size() - 4).toUpper();
    QAction* entry = mnuPlotPalette->addAction(caption);
    entry->setCheckable(true);
    const int index = static_cast<int>(mnuPlotPalette->actions().size()) - 1;
    connect(entry, &QAction::triggered, this, [this, index] { PickPalette(index); });
    if (SameTextNoCase(FromQt(file), FPalFile)) {
      entry->setChecked(true);
      FLastPalIndex = index;
    }
  }
}

bool TfrmMDIChild::PickPalette(int index) {
  const QList<QAction*> entries = mnuPlotPalette->actions();
  if (index < 0 || index >= entries.size()) return false;
  QString caption = entries[index]->text();
  caption.remove(QLatin1Char('&'));
  FPalFile = FromQt(caption) + ".pal";
  if (FLastPalIndex >= 0 && FLastPalIndex < entries.size()) {
    entries[FLastPalIndex]->setChecked(false);
  }
  entries[index]->setChecked(true);
  FLastPalIndex = index;
  if (FSectionDiagram) FSectionDiagram->SetException(false);
  Redraw();
  return true;
}

void TfrmMDIChild::SetFileName(const std::string& fileName) {
  FFileName = fileName;
  if (FSectionDiagram) {
    const std::string stem = fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : "";
    FSectionDiagram->SetRhoFilename(stem + ".rho");
  }
  Redraw();
}

void TfrmMDIChild::Redraw() {
  // A request while any drawing runs is dropped: the shared plot state belongs to that
  // drawing, and reloading a file now would pull it away underneath.
  if (!FSectionDiagram || FDrawing || gAnyDrawing) return;
  FSectionDiagram->SetFileName(FFileName);
  if (FFirstTime) {
    FSectionDiagram->GetProperties();
  } else {
    FSectionDiagram->SetProperties();
  }
  DrawDiagram();
  FFirstTime = false;
  graphtype.FirstTime = false;
}

void TfrmMDIChild::ReloadPalette() {
  // A missing palette file is reported once, not on every drawing.
  static std::string reported;
  const std::string path = FolderOf(FPalFile).empty() ? PaletteFolder() + FPalFile : FPalFile;
  if (FileExistsNoCase(path) || reported != path) {
    if (LoadPalette(FLogDrawPalette, FPalFile)) {
      FPaletteLoaded = true;
    } else {
      reported = path;
    }
  }
  if (!FPaletteLoaded) {
    // Without any palette the plot colours would all be black: a grey ramp keeps the
    // diagram readable.
    for (int i = 0; i < 256; ++i) FLogDrawPalette[static_cast<std::size_t>(i)] = MakeRgb(i, i, i);
  }
}

void TfrmMDIChild::DrawDiagram() {
  // D1
  if (FDrawing) return;
  FDrawing = true;
  gAnyDrawing = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // D10 whatever happens on the way: a window must never stay locked in "drawing".
  struct EndOfDrawing {
    bool& drawing;
    ~EndOfDrawing() {
      QApplication::restoreOverrideCursor();
      drawing = false;
      gAnyDrawing = false;
    }
  } end{FDrawing};
  // D2
  imgDiagram->setPixmap(DrawingBanner());
  imgDiagram->repaint();
  // D3
  ReloadPalette();
  // D4
  const int w = std::max(width(), 1);
  const int h = std::max(height(), 1);
  QtCanvas canvas(w, h);
  canvas.SetBrushColour(0xFFFFFFu);
  canvas.SetBrushStyle(BrushStyle::Clear);
  // D5: the text height follows the drawing width.
  const TDrawingFontSource defaults;
  const TDrawingFontSource& source = fontSource_ ? *fontSource_ : defaults;
  const int textHeight = static_cast<int>(RoundHalfEven(w * source.relativeSize * 2.0 / 3.0));
  graphtype.FontSize = textHeight;
  canvas.SetFontPixelSize(FromQt(source.font.family()), textHeight, source.font.bold());
  // D6
  canvas.SetPalette(FLogDrawPalette);
  // D7
  FSectionDiagram->SetCanvas(&canvas);
  FSectionDiagram->SetWidth(w);
  FSectionDiagram->SetHeight(h);
  BeginDrawing(*FSectionDiagram, this);
  struct CanvasRelease {
    TSectionDiagram& diagram;
    ~CanvasRelease() {
      EndDrawing();
      diagram.SetCanvas(nullptr);  // the canvas lives only for this drawing
    }
  } release{*FSectionDiagram};
  FSectionDiagram->Draw();
  // D8, D9. A 1D section without a model is drawn as the pseudosection: the marks follow.
  mnuTypePseudo->setChecked(FSectionDiagram->DiagramType() == dtPseudo);
  mnuType2D->setChecked(FSectionDiagram->DiagramType() == dtModsec2D);
  FShowsError = FSectionDiagram->Exception();
  imgDiagram->setPixmap(FShowsError ? ErrorBanner() : QPixmap::fromImage(canvas.Image()));
  FDrawnSize = QSize(w, h);
  ++FDrawCount;
}

void TfrmMDIChild::RedrawIfResized() {
  if (!FSectionDiagram || FFileName.empty() || size() == FDrawnSize) return;
  if (FDrawing || gAnyDrawing) {
    resizeTimer_.start(100);  // another drawing holds the plot state: look again later
    return;
  }
  Redraw();
}

void TfrmMDIChild::SetType(TDiagramType type) {
  mnuTypePseudo->setChecked(type == dtPseudo);
  mnuType2D->setChecked(type == dtModsec2D);
  FSectionDiagram->SetDiagramType(type);
  FSectionDiagram->SetException(false);
  Redraw();
}

void TfrmMDIChild::DrawPseudo() {
  SetType(dtPseudo);
}
void TfrmMDIChild::DrawModsec1d() {
  SetType(dtModsec1D);
}
void TfrmMDIChild::DrawModsec2d() {
  SetType(dtModsec2D);
}

void TfrmMDIChild::ShowFont() {
  QFont start = fontSource_ ? fontSource_->font : QFont(QStringLiteral("Arial"));
  start.setPointSize(12);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, start, this, QStringLiteral("Font"));
  if (ok) {
    ApplyFont(chosen);
  } else {
    FSectionDiagram->SetException(false);
    Redraw();
  }
}

void TfrmMDIChild::ApplyFont(const QFont& font) {
  if (fontSource_) {
    // The size is always 12: the drawing sizes the text from the window width.
    fontSource_->font = font;
    fontSource_->font.setPointSize(12);
    graphtype.FontSize = std::abs(PixelHeightOf(fontSource_->font));
  }
  FSectionDiagram->SetException(false);
  Redraw();
}

void TfrmMDIChild::Activated() {
  if (FFileName.empty() || !FSectionDiagram || gAnyDrawing) return;
  QDir::setCurrent(QFileInfo(PathToQt(FFileName)).absolutePath());
  FSectionDiagram->SetFileName(FFileName);
}

void TfrmMDIChild::ShowSettings() {
  if (!settings_ || !FSectionDiagram) return;
  FillSettings(*settings_);
  if (settings_->exec() == QDialog::Accepted) ApplySettings(*settings_);
}

QImage TfrmMDIChild::Picture() const {
  return imgDiagram->pixmap().toImage();
}

void TfrmMDIChild::SetHint(const std::string& text) {
  const QString hint = ToQt(text);
  imgDiagram->setToolTip(hint);
  imgDiagram->setStatusTip(hint);
  setToolTip(hint);
  setStatusTip(hint);
}

void TfrmMDIChild::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  imgDiagram->setGeometry(rect());
  resizeTimer_.start(40);
}

void TfrmMDIChild::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool arrow =
      key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
  if (arrow && optrec.XYscan) Redraw();
  event->ignore();  // the key goes on to whoever else wants it
}

void TfrmMDIChild::wheelEvent(QWheelEvent* event) {
  event->accept();
}

void TfrmMDIChild::contextMenuEvent(QContextMenuEvent* event) {
  mnuPopup->popup(event->globalPos());
}

}  // namespace karvelo::shell
