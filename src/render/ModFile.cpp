// A block model of a ".MOD" file: a handful of resistivity values and, per layer, one
// digit per block that picks one of them. Drawn as filled blocks without topography.

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "base/Files.h"
#include "base/Prompts.h"
#include "base/Res2err.h"
#include "input/ModelReaders.h"
#include "input/QvMath.h"
#include "render/DrawLayer.h"
#include "render/ModelImage.h"
#include "render/ModelSection.h"

namespace karvelo {
namespace {

// The block count of a layer is kept in 8 bits.
constexpr long long MaxModBlocks = 255;
// Each block names its value with one decimal digit.
constexpr int MaxModValues = 10;
constexpr int MaxModLayers = 1000;
constexpr double SmallestBlockValue = 1e-8;

struct TModModel {
  int electrodes = 0;
  double spacing = 0;  // unit electrode spacing a
  int blocksPerSpacing = 0;
  std::vector<double> values;
  std::vector<double> depths;  // bottom of each layer
  std::vector<std::string> layers;
};

bool SkipLine(TextLines& file) {
  std::string ignored;
  return file.ReadLine(ignored);
}

bool ReadInts(TextLines& file, int count, LineIntArray& v, bool& complete) {
  std::string line, text;
  if (!file.ReadLine(line)) return false;
  complete = ParseIntegerLine(line, count, v, text);
  return true;
}

std::optional<double> ReadReal(TextLines& file) {
  LineValueArray v{};
  std::string text;
  if (!ReadRealLine(file, 1, v, text) || IsUndefined(v[0])) return std::nullopt;
  return v[0];
}

// `count` numbers on one line, or the first there and the others one per line.
bool ReadNumberList(TextLines& file, int count, std::vector<double>& out) {
  std::string line, text;
  if (!file.ReadLine(line)) return false;
  LineValueArray v{};
  out.clear();
  if (count <= MaxLineValues && ParseRealLine(line, count, v, text)) {
    out.assign(v.begin(), v.begin() + count);
  } else {
    ParseRealLine(line, 1, v, text);
    out.push_back(v[0]);
    while (static_cast<int>(out.size()) < count) {
      const auto next = ReadReal(file);
      if (!next) return false;
      out.push_back(*next);
    }
  }
  return std::none_of(out.begin(), out.end(), [](double d) { return IsUndefined(d); });
}

bool WholeNumber(double v, int low, int high, int& out) {
  if (!(v >= low && v <= high) || v != std::floor(v)) return false;
  out = static_cast<int>(v);
  return true;
}

// The header up to the value list. False on a read error.
bool ReadModHeader(TextLines& file, TModModel& m, int& valueCount) {
  LineIntArray v{};
  bool complete = false;
  if (!SkipLine(file) || !ReadInts(file, 2, v, complete)) return false;  // title, electrodes
  m.electrodes = v[0];
  if (!complete && !SkipLine(file)) return false;
  if (!SkipLine(file)) return false;
  const auto spacing = ReadReal(file);
  if (!spacing || !SkipLine(file)) return false;
  m.spacing = *spacing;
  if (!ReadInts(file, 3, v, complete)) return false;
  valueCount = v[2];
  if (!complete) {
    if (!SkipLine(file) || !ReadInts(file, 1, v, complete) || !complete) return false;
    valueCount = v[0];
  }
  const auto blocks = ReadReal(file);
  return blocks && WholeNumber(*blocks, 1, 1000000, m.blocksPerSpacing);
}

bool ReadModBody(TextLines& file, TModModel& m, int valueCount) {
  if (!ReadNumberList(file, valueCount, m.values)) return false;
  const auto layers = ReadReal(file);
  int layerCount = 0;
  if (!layers || !WholeNumber(*layers, 1, MaxModLayers, layerCount)) return false;
  if (!ReadNumberList(file, layerCount, m.depths)) return false;
  m.layers.assign(static_cast<std::size_t>(layerCount), std::string());
  for (std::string& line : m.layers) file.ReadLine(line);  // a missing line keeps no digits
  return true;
}

void Tell(const std::string& text) {
  CurrentPrompts().Message(text, MessageKind::Error);
}

// The value index of each block of one layer line: a digit picks a value; anything else
// (or the end of the line) keeps the block before it; -1 before any digit.
std::vector<int> BlockDigits(const std::string& line, int blocks, int valueCount) {
  std::vector<int> digits(static_cast<std::size_t>(blocks), -1);
  int current = -1;
  for (int j = 0; j < blocks; ++j) {
    if (static_cast<std::size_t>(j) < line.size()) {
      const char c = line[static_cast<std::size_t>(j)];
      if (c >= '0' && c <= '9' && c - '0' < valueCount) current = c - '0';
    }
    digits[static_cast<std::size_t>(j)] = current;
  }
  return digits;
}

void DrawModLayers(Canvas& canvas, const TModModel& m, int blocks) {
  const TGraphType& gt = graphtype;
  const double w = PlotX1 - PlotX0;
  const double h = PlotY1 - PlotY0;
  const double length = gt.Lmax - gt.Lmin;
  const double depth = gt.Dmax - gt.Dmin;
  if (length == 0 || depth == 0) throw EKarvDivByZero("Division by zero");
  const double step = m.spacing / m.blocksPerSpacing;
  const double pixelWidth = step * w / length;
  const TColourLookup lookup(ModelLimitSet());
  canvas.SetBrushStyle(BrushStyle::Solid);
  double top = 0;
  for (std::size_t k = 0; k < m.layers.size() && top < gt.Dmax; ++k) {
    const double bottom = m.depths[k];
    const int y0 = PixelOf((top - gt.Dmin) * h / depth);
    const int y1 = PixelOf((bottom - gt.Dmin) * h / depth);
    const std::vector<int> digits =
        BlockDigits(m.layers[k], blocks, static_cast<int>(m.values.size()));
    for (int j = 1; j <= blocks; ++j) {
      const int d = digits[static_cast<std::size_t>(j - 1)];
      if (d < 0) continue;
      const double v = m.values[static_cast<std::size_t>(d)];
      if (v <= SmallestBlockValue) continue;
      const double centre = ((j - 0.5) * step - gt.Lmin) * w / length;
      const int x0 = PixelOf(centre - pixelWidth / 2);
      const int x1 = PixelOf(centre + pixelWidth / 2);
      const int index = lookup.Index(v);
      SetBrushColour(lookup.Colour(index), index);
      SetPenColour(lookup.Colour(index), index);
      const TPoint corners[4] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
      FillPoly(corners, 4);
    }
    top = bottom;
  }
}

}  // namespace

void DrawModFile(Canvas& canvas, const std::string& modelFileName) {
  const std::string shown = ModelFilePath(modelFileName);
  const auto path = FindFileNoCase(shown);
  TextLines file;
  if (!path || !file.Open(*path)) {
    Tell("ERROR: Model file " + shown + " was not found!");
    return;
  }
  TModModel m;
  int valueCount = 0;
  // A file that breaks off is drawn as far as it goes: here, not at all.
  if (!ReadModHeader(file, m, valueCount)) return;
  const long long blocks = static_cast<long long>(m.electrodes - 1) * m.blocksPerSpacing;
  if (m.electrodes < 2 || blocks > MaxModBlocks || valueCount < 1 || valueCount > MaxModValues ||
      !(m.spacing > 0)) {
    Tell("ERROR: The block model " + shown +
         " cannot be plotted: it needs 2 or more electrodes, at most 255 blocks per layer, 1 to "
         "10 resistivity values and a positive electrode spacing!");
    return;
  }
  if (!ReadModBody(file, m, valueCount)) return;
  ModelViewPort();
  SetFillPattern(-1);
  DrawModLayers(canvas, m, static_cast<int>(blocks));
  ResetViewPort();
}

}  // namespace karvelo
