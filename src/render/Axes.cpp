#include "render/Axes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "base/Files.h"
#include "base/PlotState.h"
#include "base/Res2err.h"
#include "input/QvMath.h"
#include "render/DrawLayer.h"

namespace karvelo {
namespace {

// More scale steps than any page can show: a label interval this small for its range
// is a settings error, raised instead of drawing forever.
constexpr int MaxScaleSteps = 100000;

[[noreturn]] void TooManySteps() {
  throw EKarvInvalidOp("Invalid floating point operation");
}

std::string Trimmed(std::string_view s) {
  const auto blank = [](char ch) { return static_cast<unsigned char>(ch) <= ' '; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

// Number of label steps from `start` by `step` until `reached` says the end is reached.
template <typename Reached>
int CountSteps(double start, double step, Reached reached) {
  double t = start;
  int c = 0;
  do {
    if (++c > MaxScaleSteps) TooManySteps();
    t += step;
  } while (!reached(t));
  return c;
}

// Steps until round(100 t) reaches round(100 end): the pseudosection's rule.
int CountCentSteps(double start, double step, double end) {
  const long long target = RoundHalfEven(100 * end);
  return CountSteps(start, step, [&](double t) { return RoundHalfEven(100 * t) >= target; });
}

// The distance scale along the top edge; `label` writes one value.
template <typename Label>
void DrawDistanceScale(int steps, Label label) {
  const TGraphType& g = graphtype;
  const int y = PlotY0 - 1;
  SetTextJustify(CenterText, BottomText);
  double t = g.Lmin;
  for (int i = 0; i <= steps; ++i) {
    const int x = RoundToPixel(static_cast<double>(i) * (PlotX1 - PlotX0 + 2) / steps + PlotX0 - 1);
    OutTextXY(x, y - g.TicY, label(t));
    Line(x, y, x, y - g.TicY);
    t += g.Llabel;
  }
}

// One depth label with its ticks on both sides of the frame.
void DrawDepthMark(int y, const std::string& text) {
  const int tic = graphtype.TicY;
  SetTextJustify(RightText, CenterText);
  OutTextXY(PlotX0 - 1 - 2 * tic, y, text);
  Line(PlotX0 - 1, y, PlotX0 - 1 - tic, y);
  SetTextJustify(LeftText, CenterText);
  OutTextXY(PlotX1 + 1 + 2 * tic, y, text);
  Line(PlotX1 + 1, y, PlotX1 + 1 + tic, y);
}

void DrawDistanceLabel() {
  if (NoDist) return;
  SetTextJustify(RightText, BottomText);
  OutTextXY(PlotX1, PlotY0 - RoundToPixel(1.5 * graphtype.FontSize), CurrentLabels.DistStr);
}

void DrawDepthLabel(const std::string& text) {
  if (NoDepth) return;
  const int tic = graphtype.TicY;
  SetTextJustify(LeftText, TopText);
  OutTextXY(PlotX0 - 6 * tic, PlotY1 + 2 * tic, text);
}

// Producer line, direction labels and the page extent: common to both title blocks.
void DrawCommonInfo(Canvas& canvas) {
  const TGraphType& g = graphtype;
  SetTextJustify(CenterText, TopText);
  canvas.SetFontColour(MakeRgb(0, 0, 0));
  OutTextXY(MaxX / 2, g.TicY, CurrentLabels.DeptStr);

  const int y = PlotY0 - RoundToPixel(2.5 * g.FontSize);
  SetTextJustify(LeftText, BottomText);
  OutTextXY(4 * g.TicY, y, optrec.LeftDirect);
  SetTextJustify(RightText, BottomText);
  OutTextXY(MaxX - 4 * g.TicY, y, optrec.RightDirect);

  DiagramTop = PlotY0 - RoundToPixel(5.1 * g.FontSize);
  DiagramBottom = LegendY1 + RoundToPixel(2.5 * g.FontSize);
}

// The two centred title lines above the diagram, unless switched off.
void DrawTitleLines(const std::string& first) {
  if (NoInfo) return;
  const int fontSize = graphtype.FontSize;
  SetTextJustify(CenterText, BottomText);
  OutTextXY(MaxX / 2, PlotY0 - RoundToPixel(2.5 * fontSize), first);
  OutTextXY(MaxX / 2, PlotY0 - RoundToPixel(3.8 * fontSize),
            Trimmed(optrec.Comment.str() + " " + optrec.Date.str()));
}

void DrawBottomLine(const std::string& text) {
  const int tic = graphtype.TicY;
  SetTextJustify(LeftText, BottomText);
  OutTextXY(tic, MaxY - tic, text);
}

std::vector<std::string_view> PathParts(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t pos = 0;
  while (pos <= path.size()) {
    std::size_t end = path.find('/', pos);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(pos, end - pos);
    if (!part.empty() && part != ".") parts.push_back(part);
    pos = end + 1;
  }
  return parts;
}

}  // namespace

// ---- Scales ------------------------------------------------------------------------------

void DrawPseudoAxes(Canvas& canvas) {
  const TGraphType& g = graphtype;
  canvas.SetBrushStyle(BrushStyle::Clear);
  Rectangle(PlotX0 - 1, PlotY0 - 1, PlotX1 + 1, PlotY1 + 2);

  DrawDistanceScale(CountCentSteps(g.Lmin, g.Llabel, g.Lmax),
                    [](double t) { return FormatReal(t); });
  DrawDistanceLabel();

  const double d0 = g.Dmin >= 0 ? g.Dmin : 0;
  const int steps = CountCentSteps(d0, g.Dlabel, g.Dmax);
  double t = d0;
  for (int i = 0; i <= steps; ++i) {
    const int y = RoundToPixel(static_cast<double>(i) * (PlotY1 - PlotY0 + 2) / steps + PlotY0 - 1);
    DrawDepthMark(y, FormatReal(t).substr(0, 10));
    t += g.Dlabel;
  }
  DrawDepthLabel(CurrentLabels.DepthStr);
}

void DrawModelAxes(Canvas& canvas) {
  const TGraphType& g = graphtype;
  canvas.SetBrushStyle(BrushStyle::Clear);
  Rectangle(PlotX0 - 1, PlotY0 - 1, PlotX1 + 2, PlotY1 + 2);

  if (g.Llabel == 0 || g.Dlabel == 0) throw EKarvDivByZero("Division by zero");
  const long long lastStep = RoundHalfEven(g.Lmax / g.Llabel);
  const int steps = CountSteps(g.Lmin, g.Llabel,
                               [&](double t) { return RoundHalfEven(t / g.Llabel) >= lastStep; });
  DrawDistanceScale(steps, [](double t) { return FormatGeneral(t); });
  DrawDistanceLabel();

  const long long r0 = RoundHalfEven(g.Dmin / g.Dlabel);
  const long long r1 = RoundHalfEven((PlotTopo ? g.Dmax + TopoSpan : g.Dmax) / g.Dlabel);
  if (r1 - r0 > MaxScaleSteps) TooManySteps();
  if (r1 == r0) throw EKarvDivByZero("Division by zero");
  for (long long k = r0; k <= r1; ++k) {
    const double fraction = static_cast<double>(k - r0) / static_cast<double>(r1 - r0);
    const int y = RoundToPixel(fraction * (PlotY1 - PlotY0 + 2) + PlotY0 - 1);
    const double kd = static_cast<double>(k) * g.Dlabel;
    DrawDepthMark(y, FormatReal(PlotTopo ? TopLevel - kd : kd));
  }
  DrawDepthLabel(PlotTopo ? CurrentLabels.AltStr : CurrentLabels.DepthStr);
}

// ---- Title blocks ------------------------------------------------------------------------

void DrawPseudoInfo(Canvas& canvas) {
  DrawBottomLine("Data file: " + optrec.FileName);
  DrawCommonInfo(canvas);
  DrawTitleLines(Trimmed(CurrentLabels.MethodStr));
}

void DrawModelInfo(Canvas& canvas, const std::string& modelFileName) {
  const std::string misfit = MisfitText(optrec.RMS[graphtype.IPflag != 0 ? 2 : 1]);
  std::string bottom = "Data file: " + optrec.FileName +
                       "   Model file: " + RelativeFolder(optrec.DataDir, ModelPath) +
                       modelFileName;
  if (!misfit.empty()) bottom += " (mean residual = " + misfit + "%)";
  DrawBottomLine(bottom);
  DrawCommonInfo(canvas);

  std::string title = Trimmed(optrec.InversionTxtStr);
  if (title.empty()) {
    title = CurrentLabels.MethodStr;
    if (!misfit.empty()) title += " (mean residual " + misfit + "%)";
    title = Trimmed(title);
  }
  DrawTitleLines(title);
}

// ---- Helpers -----------------------------------------------------------------------------

std::string MisfitText(double rms) {
  // round(1000 rms) is zero exactly when |1000 rms| <= 0.5 (halves go to the even 0).
  if (!(std::fabs(1000 * rms) > 0.5)) return "";
  std::string text = FormatFixed(rms * 100, 1);
  if (text.size() < 3) text.insert(0, 3 - text.size(), ' ');
  return text;
}

std::string RelativeFolder(const std::string& base, const std::string& folder) {
  if (folder.empty() || base.empty()) return folder;
  const bool baseAbsolute = base.front() == '/';
  if (baseAbsolute != (folder.front() == '/')) return folder;
  const auto from = PathParts(base);
  const auto to = PathParts(folder);
  // Different drives ("C:" against "D:") share nothing.
  if (!from.empty() && !to.empty() && from.front().back() == ':' &&
      !SameTextNoCase(from.front(), to.front()))
    return folder;
  std::size_t common = 0;
  while (common < from.size() && common < to.size() && from[common] == to[common]) ++common;
  std::string result;
  for (std::size_t i = common; i < from.size(); ++i) result += "../";
  for (std::size_t i = common; i < to.size(); ++i) {
    result += to[i];
    result += '/';
  }
  return result;
}

}  // namespace karvelo
