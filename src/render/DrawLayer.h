#pragma once

// The drawing layer every plot draws through: one current canvas, a text justification,
// an optional viewport (origin offset plus clipping), a fixed-colour mode for metafiles
// and the material fill patterns. Plot code calls these free functions (plus plain pen,
// brush and font settings of the canvas) and never talks to a device itself, so the same
// code serves the window, bitmaps, metafiles, the printer and the recording canvas of
// the tests.
//
// The layer also owns the page geometry of one drawing: the page size, the rectangle of
// the coloured diagram, the legend rectangle and the vertical extent of the drawn
// content, computed by PseudoLayout or ModelLayout at the start of every drawing.

#include <array>
#include <cstdint>
#include <string>

#include "base/Colour.h"
#include "render/Canvas.h"

namespace karvelo {

// ---- Text justification codes ------------------------------------------------------------
inline constexpr int LeftText = 0;
inline constexpr int CenterText = 1;
inline constexpr int RightText = 2;
inline constexpr int BottomText = 0;
inline constexpr int TopText = 2;

// A plot colour index that stands for "no plot colour": the colour is used as given
// even in fixed-colour mode.
inline constexpr int NoColourIndex = -1000;

inline constexpr int FillPatternCount = 31;
inline constexpr int FixedColourCount = 16;

// ---- Page state --------------------------------------------------------------------------
// Device pixels, origin at the top-left, y growing downwards.
struct TPageState {
  int MaxX = 0, MaxY = 0;
  int PlotX0 = 0, PlotY0 = 0, PlotX1 = 0, PlotY1 = 0;
  int LegendX0 = 0, LegendY0 = 0, LegendX1 = 0, LegendY1 = 0;
  int DiagramTop = 0, DiagramBottom = 0;
  // Extra depth-axis length a model section reserves for topography, and the elevation
  // printed at the top of its scale.
  double TopoSpan = 0;
  double TopLevel = 0;
};

struct TViewPort {
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// ---- Drawing state -----------------------------------------------------------------------
struct TDrawLayerState {
  Canvas* CurrentCanvas = nullptr;
  std::int16_t TextJustifyH = LeftText;
  std::int16_t TextJustifyV = TopText;
  std::int32_t TextOpaque = 0;  // 0: text is drawn on a transparent background
  TViewPort ViewPort;
  bool ViewPortActive = false;
  std::array<PatternBitmap, FillPatternCount> FillPatterns;
  int CurrentFillPattern = -1;
  std::array<TColor, FixedColourCount> FixedColours{};
  bool FixedColourMode = false;
  // The pen position in page coordinates (LineRel draws from here).
  int PenX = 0, PenY = 0;
};

extern TPageState gPageState;
extern TDrawLayerState gDrawLayer;

inline int& MaxX = gPageState.MaxX;
inline int& MaxY = gPageState.MaxY;
inline int& PlotX0 = gPageState.PlotX0;
inline int& PlotY0 = gPageState.PlotY0;
inline int& PlotX1 = gPageState.PlotX1;
inline int& PlotY1 = gPageState.PlotY1;
inline int& LegendX0 = gPageState.LegendX0;
inline int& LegendY0 = gPageState.LegendY0;
inline int& LegendX1 = gPageState.LegendX1;
inline int& LegendY1 = gPageState.LegendY1;
inline int& DiagramTop = gPageState.DiagramTop;
inline int& DiagramBottom = gPageState.DiagramBottom;
inline double& TopoSpan = gPageState.TopoSpan;
inline double& TopLevel = gPageState.TopLevel;

inline Canvas*& CurrentCanvas = gDrawLayer.CurrentCanvas;

// The 16 colours of fixed-colour mode, as direct colours; plot colour index c is drawn
// with entry c + 1.
extern const std::array<TColor, FixedColourCount> FixedColourTable;

// Puts the page and drawing state back to the program-start values (no canvas, no
// viewport, fixed colours off, opaque text off). The fill patterns stay loaded.
void ResetDrawLayer();

// ---- Fill patterns -----------------------------------------------------------------------
// Loads "PT0.BMP" … "PT30.BMP" from `folder` (file names matched without regard to
// case). On failure nothing is replaced and `error` names the file and the fault.
bool LoadFillPatterns(const std::string& folder, std::string* error = nullptr);
void FreeFillPatterns();

// ---- Set-up before each drawing ----------------------------------------------------------
void SetupPage(int width, int height);
// graphtype.Colour[n] := palette entry 16 n for n = 0..15.
void InitPlotColours();
// Selects the canvas for every primitive, clears its brush and refills the fixed colours.
void InitCanvas(Canvas& canvas);
void SetFixedColours(bool on);

// ---- Primitives --------------------------------------------------------------------------
// Coordinates are relative to the viewport origin while a viewport is active.
void SetTextJustify(int horizontal, int vertical);
void SetTextOpaque(std::int32_t flag);
// One line of text at the justified reference point (x, y), pulled onto the page.
void OutTextXY(int x, int y, const std::string& text);
// Sets the origin to (x1, y1) and clips to (x1, y1)–(x2, y2), x2 and y2 exclusive.
void SetViewPort(int x1, int y1, int x2, int y2);
void ResetViewPort();
void MoveTo(int x, int y);
void Line(int x1, int y1, int x2, int y2);
void LineRel(int dx, int dy);
void FillPoly(const TPoint* points, int n);
// An outlined, brush-filled rectangle from (x1, y1) to (x2, y2), right and bottom
// exclusive.
void Rectangle(int x1, int y1, int x2, int y2);
// `index` is the plot colour index behind `colour`; fixed-colour mode draws the fixed
// colour of that index instead.
void PutPixel(int x, int y, TColor colour, int index);
void SetPenColour(TColor colour, int index = NoColourIndex);
void SetBrushColour(TColor colour, int index = NoColourIndex);
// Brush bitmap := pattern `index` (0..30); a negative or unknown index removes it.
void SetFillPattern(int index);
// The pattern bitmap of a material code (empty when the patterns were not loaded), or
// nullptr for an index outside 0..30.
const PatternBitmap* GetFillPattern(int index);

// The colour a drawing in the current mode uses for `colour` with plot index `index`.
TColor EffectiveColour(TColor colour, int index);

TColor RGBToColour(int r, int g, int b);
void ColourToRGB(TColor colour, int& r, int& g, int& b);

// ---- Page layout -------------------------------------------------------------------------
// Both fill the page state from the page size and graphtype and return whether the
// diagram with its title block and legend fits on the page. A diagram whose height or
// width percentage is outside 0..255 does not fit either. A zero distance range or a
// zero depth label step raises EKarvDivByZero, values that are not finite EKarvInvalidOp.
bool PseudoLayout(int width, int height);
bool ModelLayout(int width, int height);

// Rounds half to even to a pixel-sized integer; raises EKarvInvalidOp for a value
// that is not finite or beyond ±2^30 (a degenerate scale).
int RoundToPixel(double x);

}  // namespace karvelo
