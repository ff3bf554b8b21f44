#include "render/DrawLayer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "base/Files.h"
#include "base/PlotState.h"
#include "base/Res2err.h"
#include "input/QvMath.h"
#include "render/BmpReader.h"

namespace karvelo {

TPageState gPageState;
TDrawLayerState gDrawLayer;

// A 6-bit-per-channel table scaled by 4, hence 252 as the brightest value.
const std::array<TColor, FixedColourCount> FixedColourTable{
    MakeRgb(0, 0, 0),     MakeRgb(0, 0, 112),     MakeRgb(0, 32, 192),  MakeRgb(0, 100, 112),
    MakeRgb(0, 128, 76),  MakeRgb(0, 152, 52),    MakeRgb(172, 152, 0), MakeRgb(252, 200, 0),
    MakeRgb(252, 176, 0), MakeRgb(252, 128, 0),   MakeRgb(252, 76, 0),  MakeRgb(240, 0, 0),
    MakeRgb(192, 0, 0),   MakeRgb(168, 168, 168), MakeRgb(0, 0, 0),     MakeRgb(252, 252, 252)};

namespace {

// Page coordinates stay well inside the int range whatever a plot asks for, so no
// translation can overflow; a canvas clips the rest.
constexpr std::int64_t CoordinateLimit = std::int64_t{1} << 24;

int Translate(int value, std::int32_t origin) {
  std::int64_t v = value;
  if (gDrawLayer.ViewPortActive) v += origin;
  return static_cast<int>(std::clamp(v, -CoordinateLimit, CoordinateLimit));
}

int PageX(int x) {
  return Translate(x, gDrawLayer.ViewPort.x1);
}
int PageY(int y) {
  return Translate(y, gDrawLayer.ViewPort.y1);
}

// Viewport corners are kept as unsigned 16-bit page coordinates.
std::int32_t ViewPortValue(int v) {
  return std::clamp(v, 0, 0xFFFF);
}

}  // namespace

void ResetDrawLayer() {
  auto patterns = std::move(gDrawLayer.FillPatterns);
  gDrawLayer = TDrawLayerState{};
  gDrawLayer.FillPatterns = std::move(patterns);
  gDrawLayer.FixedColours = FixedColourTable;
  gPageState = TPageState{};
}

// ---- Fill patterns -----------------------------------------------------------------------

bool LoadFillPatterns(const std::string& folder, std::string* error) {
  std::array<PatternBitmap, FillPatternCount> loaded;
  std::string base = folder;
  if (!base.empty() && base.back() != '/' && base.back() != '\\') base += '/';
  for (int i = 0; i < FillPatternCount; ++i) {
    const std::string path = ResolveFileNoCase(base + "PT" + FormatInt(i) + ".BMP");
    std::string why;
    if (!ReadBmpFile(path, loaded[static_cast<std::size_t>(i)], &why)) {
      if (error) *error = "Fill pattern " + path + ": " + why;
      return false;
    }
  }
  gDrawLayer.FillPatterns = std::move(loaded);
  return true;
}

void FreeFillPatterns() {
  for (auto& p : gDrawLayer.FillPatterns) p = PatternBitmap{};
  gDrawLayer.CurrentFillPattern = -1;
}

// ---- Set-up ------------------------------------------------------------------------------

void SetupPage(int width, int height) {
  MaxX = width;
  MaxY = height;
}

void InitPlotColours() {
  for (int n = 0; n < 16; ++n) graphtype.Colour[static_cast<std::size_t>(n)] = PaletteIndex(16 * n);
}

void InitCanvas(Canvas& canvas) {
  CurrentCanvas = &canvas;
  canvas.SetBrushStyle(BrushStyle::Clear);
  gDrawLayer.FixedColours = FixedColourTable;
}

void SetFixedColours(bool on) {
  gDrawLayer.FixedColourMode = on;
}

// ---- Primitives --------------------------------------------------------------------------

void SetTextJustify(int horizontal, int vertical) {
  gDrawLayer.TextJustifyH = static_cast<std::int16_t>(horizontal);
  gDrawLayer.TextJustifyV = static_cast<std::int16_t>(vertical);
}

void SetTextOpaque(std::int32_t flag) {
  gDrawLayer.TextOpaque = flag;
}

void OutTextXY(int x, int y, const std::string& text) {
  Canvas* canvas = CurrentCanvas;
  if (!canvas) return;
  const int w = canvas->TextWidth(text);
  const int h = canvas->TextHeight(text);
  switch (gDrawLayer.TextJustifyV) {
    case 0:
      y -= h;
      break;
    case 1:
      y -= h / 2;
      break;
    default:
      break;
  }
  switch (gDrawLayer.TextJustifyH) {
    case 0:
      break;
    case 1:
      x -= w / 2;
      break;
    case 2:
      x -= w;
      break;
    default:
      x = 0;
      break;
  }
  // Text never leaves the page: long labels at the right edge are pulled in.
  x = std::clamp(x, 0, std::max(0, MaxX));
  y = std::clamp(y, 0, std::max(0, MaxY));
  const BrushStyle saved = canvas->GetBrushStyle();
  if (gDrawLayer.TextOpaque == 0) canvas->SetBrushStyle(BrushStyle::Clear);
  canvas->TextOut(PageX(x), PageY(y), text);
  canvas->SetBrushStyle(saved);
}

void SetViewPort(int x1, int y1, int x2, int y2) {
  gDrawLayer.ViewPort = {ViewPortValue(x1), ViewPortValue(y1), ViewPortValue(x2),
                         ViewPortValue(y2)};
  gDrawLayer.ViewPortActive = true;
  if (CurrentCanvas) {
    const TViewPort& v = gDrawLayer.ViewPort;
    CurrentCanvas->SetClipRect(v.x1, v.y1, v.x2, v.y2);
  }
}

void ResetViewPort() {
  gDrawLayer.ViewPortActive = false;
  if (CurrentCanvas) CurrentCanvas->ClearClip();
}

void MoveTo(int x, int y) {
  gDrawLayer.PenX = PageX(x);
  gDrawLayer.PenY = PageY(y);
  if (CurrentCanvas) CurrentCanvas->MoveTo(gDrawLayer.PenX, gDrawLayer.PenY);
}

void Line(int x1, int y1, int x2, int y2) {
  MoveTo(x1, y1);
  gDrawLayer.PenX = PageX(x2);
  gDrawLayer.PenY = PageY(y2);
  if (CurrentCanvas) CurrentCanvas->LineTo(gDrawLayer.PenX, gDrawLayer.PenY);
}

void LineRel(int dx, int dy) {
  // The pen position is already a page position: the step is not translated again.
  const auto step = [](int from, int by) {
    return static_cast<int>(std::clamp(std::int64_t{from} + by, -CoordinateLimit, CoordinateLimit));
  };
  gDrawLayer.PenX = step(gDrawLayer.PenX, dx);
  gDrawLayer.PenY = step(gDrawLayer.PenY, dy);
  if (CurrentCanvas) CurrentCanvas->LineTo(gDrawLayer.PenX, gDrawLayer.PenY);
}

void FillPoly(const TPoint* points, int n) {
  if (!CurrentCanvas || !points || n <= 0) return;
  std::vector<TPoint> page(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const TPoint& p = points[i];
    page[static_cast<std::size_t>(i)] = {PageX(p.x), PageY(p.y)};
  }
  CurrentCanvas->Polygon(page.data(), n);
}

void Rectangle(int x1, int y1, int x2, int y2) {
  if (CurrentCanvas) CurrentCanvas->Rectangle(PageX(x1), PageY(y1), PageX(x2), PageY(y2));
}

TColor EffectiveColour(TColor colour, int index) {
  // The fixed table has 16 entries, so it covers plot indices -1..14; other indices
  // keep their own (palette) colour.
  if (gDrawLayer.FixedColourMode && index >= -1 && index + 1 < FixedColourCount)
    return gDrawLayer.FixedColours[static_cast<std::size_t>(index + 1)];
  return colour;
}

void PutPixel(int x, int y, TColor colour, int index) {
  if (CurrentCanvas) CurrentCanvas->PutPixel(PageX(x), PageY(y), EffectiveColour(colour, index));
}

void SetPenColour(TColor colour, int index) {
  if (CurrentCanvas) CurrentCanvas->SetPenColour(EffectiveColour(colour, index));
}

void SetBrushColour(TColor colour, int index) {
  if (CurrentCanvas) CurrentCanvas->SetBrushColour(EffectiveColour(colour, index));
}

void SetFillPattern(int index) {
  const PatternBitmap* pattern = GetFillPattern(index);
  gDrawLayer.CurrentFillPattern = pattern ? index : -1;
  // A pattern that was never loaded leaves the brush plain rather than handing the
  // canvas an empty bitmap.
  if (pattern && pattern->pixels.empty()) pattern = nullptr;
  if (CurrentCanvas) CurrentCanvas->SetBrushPattern(pattern);
}

const PatternBitmap* GetFillPattern(int index) {
  if (index < 0 || index >= FillPatternCount) return nullptr;
  return &gDrawLayer.FillPatterns[static_cast<std::size_t>(index)];
}

TColor RGBToColour(int r, int g, int b) {
  return MakeRgb(r, g, b);
}

void ColourToRGB(TColor colour, int& r, int& g, int& b) {
  r = RedOf(colour);
  g = GreenOf(colour);
  b = BlueOf(colour);
}

int RoundToPixel(double x) {
  constexpr double Limit = 1073741824.0;  // 2^30
  if (!std::isfinite(x) || x > Limit || x < -Limit)
    throw EKarvInvalidOp("Invalid floating point operation");
  return static_cast<int>(RoundHalfEven(x));
}

}  // namespace karvelo
