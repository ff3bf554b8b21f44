// What a model section draws on top of the model: the ground surface, the interpreted
// layer boundaries of the ".MRK" file, the distance markers and the borehole reference
// columns.

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "base/Files.h"
#include "input/QvMath.h"
#include "render/DrawLayer.h"
#include "render/ModelImage.h"
#include "render/ModelSection.h"

namespace karvelo {
namespace {

constexpr TColor Black = MakeRgb(0, 0, 0);
constexpr TColor White = MakeRgb(255, 255, 255);
constexpr TColor Blue = MakeRgb(0, 0, 255);

// Reference columns are this many pixels wide.
constexpr double ReferenceHalfWidth = 4;
constexpr std::size_t MethodTextLength = 20;
constexpr std::size_t LayerTextLength = 30;

void SetPen(TColor colour, PenStyle style, int width) {
  SetPenColour(colour);
  if (CurrentCanvas) {
    CurrentCanvas->SetPenStyle(style);
    CurrentCanvas->SetPenWidth(width);
  }
}

// A point of a line in the profile: distance and elevation (or minus the depth).
struct TProfilePoint {
  double x = 0;
  double e = 0;
};

// Cuts the segment a-b to the distance range [lmin, lmax]; false when nothing of it is
// inside. The ends outside are moved onto the boundary, their elevation interpolated.
bool CutToRange(TProfilePoint& a, TProfilePoint& b, double lmin, double lmax) {
  if (!(std::min(a.x, b.x) < lmax) || !(std::max(a.x, b.x) > lmin)) {
    // A vertical segment on the range still counts.
    if (!(a.x == b.x && a.x >= lmin && a.x <= lmax)) return false;
  }
  const auto cut = [&](TProfilePoint& p, const TProfilePoint& q, double at) {
    p.e = p.e + (q.e - p.e) * (at - p.x) / (q.x - p.x);
    p.x = at;
  };
  if (a.x < lmin) cut(a, b, lmin);
  if (b.x < lmin) cut(b, a, lmin);
  if (a.x > lmax) cut(a, b, lmax);
  if (b.x > lmax) cut(b, a, lmax);
  return true;
}

// Pixel mapping of profile points with a given diagram size.
struct TProfileScale {
  TModelGeometry g;
  double width = 1;
  double height = 1;
  TPoint Pixel(const TProfilePoint& p) const {
    return {PixelOf((p.x - g.Lmin) * width / (g.Lmax - g.Lmin)),
            PixelOf((g.TopLevel - p.e - g.Dmin) * height / g.Span)};
  }
};

void DrawProfileSegment(const TProfileScale& s, TProfilePoint a, TProfilePoint b) {
  if (!CutToRange(a, b, s.g.Lmin, s.g.Lmax)) return;
  const TPoint p = s.Pixel(a);
  const TPoint q = s.Pixel(b);
  Line(p.x, p.y, q.x, q.y);
}

// ---- Layer lines -------------------------------------------------------------------------------

void DrawLayerSegment(const TProfileScale& s, const TProfilePoint& a, const TProfilePoint& b) {
  if (graphtype.DottedLevelMarker) {
    // A white underlay keeps the dotted line readable on any model colour.
    SetPen(White, PenStyle::Solid, 2);
    DrawProfileSegment(s, a, b);
    SetPen(Black, PenStyle::Dot, 1);
  } else {
    SetPen(Black, PenStyle::Solid, 1);
  }
  DrawProfileSegment(s, a, b);
}

// A point line of the layer-line file: distance and depth, as a profile point. False for
// a separator, or for a point where the ground elevation is not known.
bool LayerPoint(const std::string& line, bool topo, TProfilePoint& point) {
  std::string_view t = line;
  while (!t.empty() && static_cast<unsigned char>(t.front()) <= ' ') t.remove_prefix(1);
  if (!t.empty() && t.front() == '"') return false;  // a caption line
  LineValueArray v{};
  std::string text;
  if (!ParseRealLine(line, 2, v, text) || IsUndefined(v[0]) || IsUndefined(v[1])) return false;
  point.x = v[0];
  if (!topo) {
    point.e = -v[1];
    return true;
  }
  double ground = 0;
  if (!ElevationAt(v[0], ground)) return false;
  point.e = ground - v[1];
  return true;
}

// ---- Reference columns
// ---------------------------------------------------------------------------

TColor PlotColour(int index) {
  return graphtype.Colour[static_cast<std::size_t>(std::clamp(index, 0, 15))];
}

struct TReferenceFrame {
  TModelGeometry g;
  double offset = 0;  // depth units the column is hung down by
  int left = 0, right = 0;
  int Row(double depth) const { return PixelOf((depth - g.Dmin + offset) * g.Height / g.Span); }
};

void DrawReferenceLayers(const TReferenceColumn& item, const TReferenceFrame& f) {
  SetPen(Black, PenStyle::Solid, 1);
  if (CurrentCanvas) CurrentCanvas->SetBrushStyle(BrushStyle::Solid);
  double top = 0;
  for (const TReferenceColumnLayer& layer : item.Layers) {
    const int y0 = f.Row(top);
    const int y1 = f.Row(layer.Depth);
    const int colour = std::clamp(layer.MaterialColor, 0, 15);
    SetBrushColour(PlotColour(colour), colour);
    SetFillPattern(layer.MaterialCode);
    const TPoint corners[4] = {{f.left, y0}, {f.right, y0}, {f.right, y1}, {f.left, y1}};
    FillPoly(corners, 4);
    SetFillPattern(-1);
    top = layer.Depth;
  }
}

void DrawReferenceTexts(const TReferenceColumn& item, const TReferenceFrame& f) {
  const int tic = graphtype.TicY;
  Canvas* canvas = CurrentCanvas;
  double top = 0;
  for (const TReferenceColumnLayer& layer : item.Layers) {
    const double bottom = layer.Depth;
    const std::string text = layer.MaterialText.substr(0, LayerTextLength);
    const int middle = (f.Row(top) + f.Row(bottom)) / 2;
    top = bottom;
    if (text.empty()) continue;
    // Light text on the layer's colour, dark text on white: readable either way.
    const int colour = std::clamp(layer.MaterialColor, 0, 15);
    if (canvas) canvas->SetFontColour(colour != 0 ? White : Black);
    if (!graphtype.TransparentLayerLabels) {
      if (canvas) canvas->SetBrushStyle(BrushStyle::Solid);
      if (colour != 0) {
        SetBrushColour(PlotColour(colour), colour);
      } else {
        SetBrushColour(White);
      }
      SetTextOpaque(1);
    }
    SetTextJustify(LeftText, CenterText);
    OutTextXY(f.right - tic + 8, middle, text);
    SetTextOpaque(0);
  }
  if (canvas) canvas->SetFontColour(Black);
}

void DrawReferenceColumn(const TReferenceColumn& item, const TReferenceFrame& f) {
  DrawReferenceLayers(item, f);
  const double bottom = item.Layers.empty() ? 0.0 : item.Layers.back().Depth;
  if (CurrentCanvas) CurrentCanvas->SetFontColour(Black);
  SetTextJustify(CenterText, TopText);
  OutTextXY(f.right, f.Row(bottom) + graphtype.TicY, item.Method.substr(0, MethodTextLength));
  if (item.HasGwl) {
    SetPen(Blue, PenStyle::Solid, 2);
    const int y = f.Row(item.Gwl);
    Line(f.left + 1, y, f.right - 1, y);
    SetPen(Black, PenStyle::Solid, 1);
  }
  DrawReferenceTexts(item, f);
}

}  // namespace

void DrawTopography(Canvas& /*canvas*/) {
  const TTopoList& t = TopoList;
  const int n = std::clamp(t.nTopoPoints, 0, MaxTopoPoints);
  if (n < 2) return;
  TProfileScale s;
  s.g = TModelGeometry::Current();
  s.g.TopLevel = TopLevel;
  s.width = s.g.Width;
  s.height = s.g.Height;
  ModelViewPort();
  SetPen(Black, PenStyle::Solid, 1);
  for (int k = 2; k <= n; ++k) {
    const auto i = static_cast<std::size_t>(k);
    DrawProfileSegment(s, {t.TopoSurfaceX[i - 1], t.TopoZ[i - 1]}, {t.TopoSurfaceX[i], t.TopoZ[i]});
  }
  ResetViewPort();
}

void DrawLayerLines(Canvas& /*canvas*/) {
  const auto path =
      FindFileNoCase(optrec.DataDisk.str() + optrec.DataDir + optrec.FileName + ".MRK");
  TextLines file;
  if (!path || !file.Open(*path)) return;
  TProfileScale s;
  s.g = TModelGeometry::Current();
  // Without topography the depth itself is the vertical coordinate.
  if (!s.g.Topo) s.g.TopLevel = 0;
  s.width = PlotX1 - PlotX0;
  s.height = PlotY1 - PlotY0;
  ModelViewPort();
  bool havePrevious = false;
  TProfilePoint previous;
  std::string line;
  while (file.ReadLine(line)) {
    TProfilePoint point;
    if (!LayerPoint(line, s.g.Topo, point)) {
      havePrevious = false;  // a separator ends the boundary
      continue;
    }
    if (havePrevious) DrawLayerSegment(s, previous, point);
    previous = point;
    havePrevious = true;
  }
  SetPen(Black, PenStyle::Solid, 1);
  ResetViewPort();
}

void DrawModelMarkers() {
  ResetViewPort();
  const TModelGeometry g = TModelGeometry::Current();
  const int n = std::clamp(optrec.nMarkers, 0, MaxMarkers);
  if (CurrentCanvas) CurrentCanvas->SetFontColour(Black);
  SetPen(Black, PenStyle::Solid, 1);
  for (int i = 1; i <= n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const double x = optrec.Xmark[k];
    if (!(x >= g.Lmin && x <= g.Lmax)) continue;
    const int mx = PlotX0 + PixelOf(g.Column(x));
    const std::string& text = optrec.MarkStr[k].str();
    const int kind = optrec.PosFlag[k];
    if (kind == 0) {
      Line(mx, PlotY0, mx, PlotY1);
      SetTextJustify(CenterText, TopText);
      OutTextXY(mx, PlotY1 + graphtype.TicY / 4, text);
    } else if (kind <= 3) {
      // Labels stand on the ground surface: right of, centred on or left of the mark.
      const double ground = g.Topo ? ElevationNear(x) : 0.0;
      const int y = PixelOf((g.TopLevel - ground - g.Dmin) * (PlotY1 - PlotY0) / g.Span);
      SetTextJustify(kind == 1 ? LeftText : kind == 2 ? CenterText : RightText, BottomText);
      OutTextXY(mx, PlotY0 + y - graphtype.TicY, text);
    }
  }
}

void DrawReferenceData(Canvas& /*canvas*/) {
  if (ModelOverlays.References.empty()) return;
  TReferenceFrame f;
  f.g = TModelGeometry::Current();
  ModelViewPort();
  for (const TReferenceColumn& item : ModelOverlays.References) {
    const double p = item.Position;
    if (p < f.g.Lmin) continue;
    if (p > f.g.Lmax) break;
    f.offset = f.g.Topo ? TopLevel - ElevationNear(p) : 0.0;
    const double cx = f.g.Column(p);
    f.left = PixelOf(cx - ReferenceHalfWidth);
    f.right = PixelOf(cx + ReferenceHalfWidth);
    DrawReferenceColumn(item, f);
  }
  SetFillPattern(-1);
  ResetViewPort();
}

}  // namespace karvelo
