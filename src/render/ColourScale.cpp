#include "render/ColourScale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "base/Files.h"
#include "base/PlotState.h"
#include "base/Prompts.h"
#include "input/QvMath.h"
#include "render/DrawLayer.h"

namespace karvelo {

const std::array<TColor, 20> StaticSystemColours{
    // The first ten: black, the dark primaries, light grey, money green, sky blue.
    MakeRgb(0, 0, 0), MakeRgb(128, 0, 0), MakeRgb(0, 128, 0), MakeRgb(128, 128, 0),
    MakeRgb(0, 0, 128), MakeRgb(128, 0, 128), MakeRgb(0, 128, 128), MakeRgb(192, 192, 192),
    MakeRgb(192, 220, 192), MakeRgb(166, 202, 240),
    // The last ten: cream, medium and dark grey, the bright primaries, white.
    MakeRgb(255, 251, 240), MakeRgb(160, 160, 164), MakeRgb(128, 128, 128), MakeRgb(255, 0, 0),
    MakeRgb(0, 255, 0), MakeRgb(255, 255, 0), MakeRgb(0, 0, 255), MakeRgb(255, 0, 255),
    MakeRgb(0, 255, 255), MakeRgb(255, 255, 255)};

namespace {

std::string& PaletteFolderText() {
  static std::string folder;
  return folder;
}

// Colour indices beyond the 26 plot colours (and limits beyond one set of 25) do not
// exist; a larger mincol or maxcol from a settings file is held to them.
constexpr int HighestColourIndex = MaxColours - 1;

int ClampedLimitSet(int s) {
  return std::clamp(s, 0, LimitSets - 1);
}

double LimitAt(int set, int index) {
  return graphtype.RhoLimit[static_cast<std::size_t>(LimitsPerSet * set + index)];
}

}  // namespace

int ColourIndexOf(double value, int limitSet) {
  const int s = ClampedLimitSet(limitSet);
  const int maxcol = std::min<int>(graphtype.maxcol, HighestColourIndex);
  int c = std::min<int>(graphtype.mincol, HighestColourIndex);
  while (c < maxcol && value > LimitAt(s, c)) ++c;
  return c;
}

int LimitSetOf() {
  if (graphtype.TimeStep == 0) return 1;
  return graphtype.IPflag + graphtype.NormalisedIP;
}

std::vector<double> MakeLimits(double min, double max, int count, bool logarithmic) {
  if (logarithmic && !(min > 0 && max > 0)) return {};
  std::vector<double> limits{min};
  for (int i = 1; i < count; ++i) {
    const double previous = limits.back();
    if (logarithmic) {
      limits.push_back(
          std::pow(10.0, std::log10(previous) + (std::log10(max) - std::log10(min)) / (count - 1)));
    } else {
      limits.push_back(previous + (max - min) / (count - 1));
    }
  }
  return limits;
}

// ---- Palettes ----------------------------------------------------------------------------

void SetPaletteFolder(const std::string& folder) {
  std::string f = folder;
  if (!f.empty() && f.back() != '/') f += '/';
  PaletteFolderText() = f;
}

const std::string& PaletteFolder() {
  return PaletteFolderText();
}

namespace {

// Next blank-separated token of a palette line, from `pos` on.
std::string_view NextToken(std::string_view line, std::size_t& pos) {
  const auto blank = [](char ch) { return ch == ' ' || ch == '\t'; };
  while (pos < line.size() && blank(line[pos])) ++pos;
  const std::size_t start = pos;
  while (pos < line.size() && !blank(line[pos])) ++pos;
  return line.substr(start, pos - start);
}

// A whole token as an integer; `fallback` when it is not one.
long long TokenValue(std::string_view token, long long fallback) {
  long long v = 0;
  const char* end = token.data() + token.size();
  const auto r = std::from_chars(token.data(), end, v);
  return (r.ec == std::errc() && r.ptr == end && !token.empty()) ? v : fallback;
}

// Red, green and blue of one palette line. Unreadable numbers count as 0 and values
// outside a byte are held to 0..255, so a damaged line gives a dark colour, never a
// wrapped one.
TColor ParseColourLine(std::string_view line) {
  std::size_t pos = 0;
  int rgb[3] = {0, 0, 0};
  for (int& channel : rgb)
    channel = static_cast<int>(std::clamp(TokenValue(NextToken(line, pos), 0), 0LL, 255LL));
  return MakeRgb(rgb[0], rgb[1], rgb[2]);
}

}  // namespace

bool LoadPalette(PaletteTable& palette, const std::string& fileName) {
  const std::string path = FolderOf(fileName).empty() ? PaletteFolder() + fileName : fileName;
  const auto found = FindFileNoCase(path);
  TextLines file;
  if (!found || !file.Open(*found)) {
    CurrentPrompts().Message(path + "\rPalette file not found", MessageKind::Error);
    return false;
  }
  std::string line;
  file.ReadLine(line);
  std::size_t pos = 0;
  const long long announced = TokenValue(NextToken(line, pos), -1);
  if (announced < 0) {
    CurrentPrompts().Message(path + "\rPalette file has no colour count", MessageKind::Error);
    return false;
  }
  const int count = static_cast<int>(std::min<long long>(announced, MaxPaletteFileColours));

  for (std::size_t i = 0; i < 10; ++i) {
    palette[i] = StaticSystemColours[i];
    palette[246 + i] = StaticSystemColours[10 + i];
  }
  for (int k = 0; k < count; ++k) {
    // A file with fewer lines than announced reads the missing ones as black.
    if (!file.ReadLine(line)) line.clear();
    palette[static_cast<std::size_t>(k)] = ParseColourLine(line);
  }
  if (count > 0) {
    for (int j = count; j < MaxPaletteFileColours; ++j)
      palette[static_cast<std::size_t>(j)] = palette[static_cast<std::size_t>(j - count)];
  }
  return true;
}

// ---- Legend ------------------------------------------------------------------------------

namespace {

// The limits between the colour boxes, every clabel-th one labelled, each below the
// boundary it belongs to, with a tick.
void DrawLegendLabels(int set, int lo, int hi) {
  const TGraphType& g = graphtype;
  const int step = std::max<int>(1, g.clabel);
  SetTextJustify(CenterText, TopText);
  for (int c = lo; c < hi; c += step) {
    const double fraction = static_cast<double>(c + 1 - lo) / (hi + 1 - lo);
    const int x = RoundToPixel(fraction * (LegendX1 - LegendX0 + 2) + LegendX0 - 1);
    const int y = LegendY1;
    double value = LimitAt(set, c);
    if (KiloOhmm) value /= 1000;
    OutTextXY(x, y + g.TicY, FormatReal(value).substr(0, 10));
    Line(x, y, x, y + g.TicY);
  }
}

void DrawColourBoxes(Canvas& canvas, int lo, int hi) {
  const TGraphType& g = graphtype;
  const double boxWidth = static_cast<double>(LegendX1 - LegendX0) / (hi + 1 - lo);
  canvas.SetBrushStyle(BrushStyle::Solid);
  for (int c = lo; c <= hi; ++c) {
    const TColor colour = g.Colour[static_cast<std::size_t>(c)];
    SetBrushColour(colour, c);
    SetPenColour(colour, c);
    const int xa = RoundToPixel((c - lo) * boxWidth + LegendX0);
    const int xb = RoundToPixel((c - lo + 1) * boxWidth + LegendX0);
    const TPoint corners[4] = {
        {xa, LegendY0 - 1}, {xb, LegendY0 - 1}, {xb, LegendY1 + 1}, {xa, LegendY1 + 1}};
    FillPoly(corners, 4);
  }
}

void DrawLegendFrame() {
  SetPenColour(MakeRgb(0, 0, 0));
  SetBrushColour(MakeRgb(255, 255, 255));
  const int x0 = LegendX0 - 1, y0 = LegendY0 - 1;
  const int x1 = LegendX1 + 1, y1 = LegendY1 + 1;
  Line(x0, y0, x1, y0);
  Line(x1, y0, x1, y1);
  Line(x1, y1, x0, y1);
  Line(x0, y1, x0, y0);
}

}  // namespace

void DrawLegend(Canvas& canvas) {
  const TGraphType& g = graphtype;
  if (g.AdjustDiagramWidth) {
    LegendX0 = PlotX0;
    LegendX1 = PlotX1;
  }
  const int set = ClampedLimitSet(LimitSetOf());
  const int lo = std::min<int>(g.mincol, HighestColourIndex);
  const int hi = std::min<int>(g.maxcol, HighestColourIndex);
  if (lo <= hi) DrawLegendLabels(set, lo, hi);

  SetTextJustify(RightText, TopText);
  OutTextXY(LegendX1, RoundToPixel(LegendY1 + static_cast<double>(RoundToPixel(1.2 * g.FontSize))),
            KiloOhmm ? CurrentLabels.KiloResStr : CurrentLabels.ResStr);

  if (lo <= hi) DrawColourBoxes(canvas, lo, hi);
  DrawLegendFrame();
}

}  // namespace karvelo
