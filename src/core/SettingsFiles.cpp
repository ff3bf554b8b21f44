#include "core/SettingsFiles.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>
#include <string_view>

#include "base/Files.h"
#include "base/Prompts.h"
#include "input/QvMath.h"

namespace karvelo {
namespace {

constexpr const char* ModelFileComment = "// 2D inversion model file:";
constexpr const char* DirectionComment = "// Direction labels:";

// ---- Reporting ----------------------------------------------------------------------------

// Files whose problem the user has been told about. The diagram reloads its file before
// every drawing, so without this a read-only folder would raise a box on every resize.
std::set<std::string>& ToldProblems() {
  static std::set<std::string> told;
  return told;
}

enum class Tell { Once, Always };

void TellProblem(const std::string& key, const std::string& text, MessageKind kind, Tell tell) {
  if (tell == Tell::Once && !ToldProblems().insert(key).second) return;
  CurrentPrompts().Message(text, kind);
}

// ---- Text helpers -------------------------------------------------------------------------

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

std::string_view TrimText(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// The next word of `rest` (words end at a blank or tab); `rest` keeps what follows the
// word, starting with the character that ended it.
std::string_view NextWord(std::string_view& rest) {
  std::size_t b = 0;
  while (b < rest.size() && (rest[b] == ' ' || rest[b] == '\t')) ++b;
  std::size_t e = b;
  while (e < rest.size() && rest[e] != ' ' && rest[e] != '\t') ++e;
  const std::string_view word = rest.substr(b, e - b);
  rest.remove_prefix(e);
  return word;
}

bool ParseInteger(std::string_view token, long long& value) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  const auto r = std::from_chars(token.data(), token.data() + token.size(), value);
  return r.ec == std::errc() && r.ptr == token.data() + token.size() && !token.empty();
}

bool ParseInt(std::string_view token, int& value) {
  long long v = 0;
  if (!ParseInteger(token, v) || v < -2147483647LL || v > 2147483647LL) return false;
  value = static_cast<int>(v);
  return true;
}

// A settings file holds one item per line: a text that carries a line break of its own
// (a multi-line title from the settings dialog) would shift every later line.
std::string OneLine(std::string_view s) {
  std::string r(s);
  std::replace(r.begin(), r.end(), '\r', ' ');
  std::replace(r.begin(), r.end(), '\n', ' ');
  return r;
}

class Writer {
 public:
  void Line(std::string_view s) {
    text_ += OneLine(s);
    text_ += SettingsLineBreak;
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

std::string SettingsPath(const std::string& baseName, std::string_view ext) {
  return optrec.DataDir + baseName + std::string(ext);
}

// Opens a settings file found without regard to case. A missing file is normal; one
// that exists but cannot be read is told once and treated as missing.
bool OpenSettingsFile(const std::string& path, TextLines& file) {
  const auto found = FindFileNoCase(path);
  if (!found) return false;
  if (file.Open(*found)) return true;
  TellProblem(
      "read:" + *found,
      "WARNING: The settings file " + *found + " cannot be read. Default settings are used.",
      MessageKind::Warning, Tell::Once);
  return false;
}

bool WriteSettingsFile(const std::string& path, const std::string& text, Tell tell) {
  if (!SettingsWritesEnabled) return true;
  std::string error;
  if (WriteFileAtomically(path, text, &error)) {
    ToldProblems().erase("write:" + path);
    return true;
  }
  TellProblem("write:" + path,
              "WARNING: The settings file " + path + " cannot be written (" + error + ").",
              MessageKind::Warning, tell);
  return false;
}

// ---- INF into the shared state ------------------------------------------------------------

void ReadTitle(std::string line) {
  std::replace(line.begin(), line.end(), '^', '\xEA');
  optrec.Comment = line.empty() ? optrec.FileName : line;
}

// Files that are not DAT files say nothing of their array but its name; later tests
// win, so "POLE-DIP..." ends as pole-dipole although it also begins with "POL".
std::uint8_t ArrayCodeOfName(const std::string& name) {
  const std::string u = UpperCase(name);
  std::uint8_t code = NoArrayCode;
  if (u.starts_with("POL")) code = 4;
  if (u.starts_with("POLE-DIP")) code = 6;
  if (u.starts_with("POL-DIP")) code = 6;
  if (u.starts_with("DIP")) code = 5;
  if (u.starts_with("SCHLUM")) code = 10;
  return code;
}

void ReadArrayName(const std::string& line) {
  if (line.empty() || line.front() == ' ') {
    optrec.ArrayType.clear();
    return;
  }
  optrec.ArrayType = line;
  if (!IsDatFile) optrec.ArrayCode = ArrayCodeOfName(line);
}

// The count at the start of the marker line, which goes on with a comment.
bool ParseMarkerCount(const std::string& line, int& count) {
  std::string_view rest = TrimText(line);
  return ParseInt(NextWord(rest), count);
}

// "position kind label": the label is the rest of the line after the kind, including
// the blank that separates it.
bool ParseMarkerLine(const std::string& line, double& position, long long& kind,
                     std::string_view& rest) {
  rest = line;
  if (!ParseReal(NextWord(rest), position)) return false;
  return ParseInteger(NextWord(rest), kind);
}

// Returns false when the count line does not convert: the reading stops there.
bool ReadStateMarkers(TextLines& file, const std::string& path) {
  std::string line;
  file.ReadLine(line);
  int count = 0;
  if (!ParseMarkerCount(line, count)) return false;
  if (count > MaxMarkers) {
    TellProblem("markers:" + path,
                "Sorry, the maximum number of marker labels is " + FormatInt(MaxMarkers) + "." +
                    "Ignoring the rest.",
                MessageKind::Information, Tell::Once);
    count = MaxMarkers;
  }
  int n = 0;
  for (int i = 0; i < count && file.ReadLine(line); ++i) {
    double position = 0;
    long long kind = 0;
    std::string_view rest;
    // A damaged marker line is left out; the lines after it keep their meaning.
    if (!ParseMarkerLine(line, position, kind, rest) || kind < 0 || kind > 255) continue;
    ++n;
    optrec.Xmark[static_cast<std::size_t>(n)] = position;
    optrec.PosFlag[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(kind);
    optrec.MarkStr[static_cast<std::size_t>(n)] = rest;
  }
  optrec.nMarkers = n;
  return true;
}

// Model file names written on another system may use either separator.
std::size_t LastSeparator(const std::string& path) {
  return path.find_last_of("/\\");
}

void ReadModelFileLine(TextLines& file) {
  std::string line;
  file.ReadLine(line);
  if (TrimText(line) != ModelFileComment) return;
  if (!file.ReadLine(line)) return;
  const std::string name(TrimText(line));
  if (name.empty()) return;
  const std::size_t sep = LastSeparator(name);
  const std::string folder = sep == std::string::npos ? std::string() : name.substr(0, sep + 1);
  const std::string file_name = sep == std::string::npos ? name : name.substr(sep + 1);
  ModelPath = folder;
  RhoFilename = file_name;
  const std::size_t dot = file_name.find('.');
  if (dot != std::string::npos) ModelFileExt = UpperCase(file_name.substr(dot, 4));
}

// ---- GLF defaults -------------------------------------------------------------------------

// start - k * step for the smallest k >= 0 that brings it to `limit` or below.
double LowerTo(double start, double step, double limit) {
  if (!(start > limit)) return start;
  double k = std::ceil((start - limit) / step);
  if (k < 1e15) {
    while (k > 0 && start - (k - 1) * step <= limit) k -= 1;
    while (start - k * step > limit) k += 1;
  }
  return start - k * step;
}

bool Usable(double x) {
  return std::isfinite(x) && !IsUndefined(x);
}

void DefaultDistanceAxis(double xMax, double xMin, double dLow, double u) {
  const double range = xMax - xMin;
  double label = 0;
  double lmin = 0;
  if (u > 0) {
    const double columns = range / u;
    const double r = columns > 20 ? 20 : columns > 10 ? 10 : columns > 5 ? 5 : 1;
    label = r * u * StepsToReach(0, r * u, range / 10);
    lmin = std::nearbyint((xMin + xMax) / 2 / label) * label;
    lmin = LowerTo(lmin, label, xMin);
    graphtype.Dmin = 0;
  } else {
    // A model whose columns do not advance: the depth extent serves as the step. Without
    // one the stepping would never end, so a tenth of the extent (or 1) stands in.
    label = dLow;
    if (!(label > 0) || !Usable(label)) label = range > 0 && Usable(range) ? range / 10 : 1;
    lmin = (graphtype.Lmax - graphtype.Lmin) / 2 - label;
    lmin = LowerTo(lmin, label, xMin);
    graphtype.Dmin = u;
  }
  graphtype.Llabel = label;
  graphtype.Lmin = lmin;
  graphtype.Lmax = lmin + StepsToReach(lmin, label, xMax) * label;
}

void DefaultDepthAxis(double dLow, double u) {
  double base = std::fabs(u);
  if (!(base > 0) || !Usable(base)) {
    const double extent = dLow - graphtype.Dmin;
    base = extent > 0 && Usable(extent) ? extent / 5 : 1;
  }
  // The label step grows by whole |u| until at most five steps reach the bottom.
  graphtype.Dlabel = base * StepsToReach(graphtype.Dmin, 5 * base, dLow);
  graphtype.Dmax =
      graphtype.Dmin + StepsToReach(graphtype.Dmin, graphtype.Dlabel, dLow) * graphtype.Dlabel;
}

// ---- RLF ----------------------------------------------------------------------------------

// Colour limit indices in use, kept inside one column of 25.
struct LimitRange {
  int lo;
  int hi;  // exclusive
};

LimitRange UsedLimits() {
  const int lo = std::min<int>(graphtype.mincol, LimitsPerSet);
  const int hi = std::min<int>(graphtype.maxcol, LimitsPerSet);
  return {lo, std::max(lo, hi)};
}

double& Limit(int column, int k) {
  return graphtype.RhoLimit[static_cast<std::size_t>(LimitsPerSet * column + k)];
}

bool HasSeveralColumns() {
  return optrec.IPflag != 0 || optrec.TimeSteps > 1;
}

void ReadLimitLines(TextLines& file, LimitRange r) {
  std::string line;
  for (int k = r.lo; k < r.hi && file.ReadLine(line); ++k) {
    std::string_view rest = line;
    double v = 0;
    // A value that does not convert leaves its limit as it was.
    if (ParseReal(NextWord(rest), v)) Limit(0, k) = v;
    if (!HasSeveralColumns() || TrimText(rest).empty()) continue;
    if (ParseReal(NextWord(rest), v)) Limit(1, k) = v;
    if (optrec.IPflag == 0 || TrimText(rest).empty()) continue;
    if (ParseReal(NextWord(rest), v)) Limit(2, k) = v;
  }
}

bool LogDefaults(LimitRange r, double rhoMin, double rhoMax) {
  if (!(rhoMin > 0) || !Usable(rhoMin) || !Usable(rhoMax)) return false;
  double decades = std::log10(rhoMax) - std::log10(rhoMin);
  // All values equal (or the range upside down): spread the limits over one decade.
  if (!(decades > 0)) decades = 1;
  double perDecade = std::nearbyint((graphtype.maxcol + 3.5) / decades);
  if (!(perDecade >= 1)) perDecade = 1;
  graphtype.rholabel = perDecade;
  double i = std::nearbyint(1.1 * perDecade * std::log10(rhoMin));
  for (int k = r.lo; k < r.hi; ++k) {
    const double v = std::pow(10.0, i / perDecade);
    const double e = std::nearbyint(std::log10(v) - 1.5);
    // Dividing by 10^-e keeps 3 exact where multiplying by 0.1 would not.
    Limit(0, k) = e >= 0 ? std::pow(10.0, e) * std::nearbyint(v / std::pow(10.0, e))
                         : std::nearbyint(v * std::pow(10.0, -e)) / std::pow(10.0, -e);
    i += 1;
  }
  return true;
}

void LinearDefaults(LimitRange r, double rhoMin, double rhoMax) {
  if (rhoMin == rhoMax || !Usable(rhoMin) || !Usable(rhoMax) || graphtype.maxcol < 2) return;
  const double step = 0.9 * (rhoMax - rhoMin) / (graphtype.maxcol - 1);
  graphtype.rholabel = step;
  for (int k = r.lo; k < r.hi; ++k) {
    Limit(0, k) = std::nearbyint(0.9 * rhoMin + (k - r.lo) * step);
  }
}

double TwoSignificantDigits(double x) {
  double v = 0;
  return ParseReal(FormatScientific(2, x), v) ? v : x;
}

void IPDefaults(LimitRange r, int column, double maximum) {
  if (!Usable(maximum) || graphtype.maxcol < 2) return;
  const double h = 0.9 * maximum;
  const double step = h / (graphtype.maxcol - 1);
  graphtype.rholabel = step;
  for (int k = r.lo; k < r.hi; ++k) {
    const double v = (k - r.lo) * step;
    Limit(column, k) = h >= 10 ? std::nearbyint(v) : TwoSignificantDigits(v);
  }
}

std::string LimitsText() {
  Writer w;
  const LimitRange r = UsedLimits();
  for (int k = r.lo; k < r.hi; ++k) {
    // Appended piece by piece: GCC 12 warns falsely about " " + std::string at -O3.
    std::string line(" ");
    line += FormatReal(Limit(0, k));
    if (HasSeveralColumns()) {
      for (int column = 1; column < LimitSets; ++column) {
        line += ' ';
        line += FormatReal(Limit(column, k));
      }
    }
    w.Line(line);
  }
  return w.Text();
}

std::string ColourLimitsPath() {
  return SettingsPath(optrec.FileName, graphtype.RhoLimitExt.str());
}

}  // namespace

// ---- Number formats -----------------------------------------------------------------------

std::string FormatShortest(double x) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, x);
  return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
}

double StepsToReach(double start, double step, double target) {
  if (!(step > 0) || !std::isfinite(start) || !std::isfinite(step) || !std::isfinite(target)) {
    return 1;
  }
  double k = std::ceil((target - start) / step);
  if (!(k >= 1)) k = 1;
  // Correct the division's rounding where a whole step is still representable.
  if (k < 1e15) {
    while (k > 1 && start + (k - 1) * step >= target) k -= 1;
    while (start + k * step < target) k += 1;
  }
  return k;
}

void ForgetSettingsFileProblems() {
  ToldProblems().clear();
}

// ---- INF ----------------------------------------------------------------------------------

bool ReadInfIntoState(bool modelFile) {
  optrec.nMarkers = 0;
  optrec.LeftDirect.clear();
  optrec.RightDirect.clear();
  const std::string path = SettingsPath(optrec.FileName, ".inf");
  TextLines file;
  if (!OpenSettingsFile(path, file)) {
    optrec.Date.clear();
    if (!IsDatFile) {
      optrec.Comment = optrec.FileName;
      optrec.ArrayCode = NoArrayCode;
    }
    return false;
  }
  std::string line;
  file.ReadLine(line);
  ReadTitle(line);
  file.ReadLine(line);
  optrec.Date = line.starts_with('{') ? std::string() : line;
  file.ReadLine(line);
  ReadArrayName(line);
  file.ReadLine(line);  // "// Direction labels:"
  if (file.Eof()) return true;
  file.ReadLine(line);
  optrec.LeftDirect = line;
  file.ReadLine(line);
  optrec.RightDirect = line;
  if (file.Eof()) return true;
  if (!ReadStateMarkers(file, path)) return true;
  if (!file.Eof() && !modelFile) ReadModelFileLine(file);
  return true;
}

bool WriteDefaultInf(bool force) {
  const std::string path = SettingsPath(optrec.FileName, ".inf");
  if (!force && FileExistsNoCase(path)) return false;
  if (optrec.ArrayType.empty() && optrec.ArrayCode < ArrayCodeCount) {
    optrec.ArrayType = ArrayNames[optrec.ArrayCode];
  }
  Writer w;
  w.Line(optrec.Comment.str());
  w.Line(optrec.Date.str());
  w.Line(UpperCase(optrec.ArrayType.str()));
  w.Line(DirectionComment);
  w.Line(optrec.LeftDirect.str());
  w.Line(optrec.RightDirect.str());
  const int n = std::clamp(optrec.nMarkers, 0, MaxMarkers);
  w.Line(FormatInt(n) + "  // Number of markers to follow:");
  for (std::size_t i = 1; i <= static_cast<std::size_t>(n); ++i) {
    w.Line(FormatShortest(optrec.Xmark[i]) + " " + FormatInt(optrec.PosFlag[i]) + " " +
           optrec.MarkStr[i].str());
  }
  w.Line(ModelFileComment);
  w.Line(ModelPath + RhoFilename);
  return WriteSettingsFile(path, w.Text(), Tell::Once);
}

bool LoadInf(TSectionDiagram& d, const std::string& baseName) {
  TextLines file;
  if (!OpenSettingsFile(SettingsPath(baseName, ".inf"), file)) return false;
  std::string line;
  file.ReadLine(d.FHeader);
  file.ReadLine(d.FDate);
  file.ReadLine(d.FArrayType);
  file.ReadLine(line);  // "// Direction labels:"
  file.ReadLine(d.FLeftDirLabel);
  file.ReadLine(d.FRightDirLabel);
  if (file.Eof()) return true;
  file.ReadLine(line);
  int count = 0;
  if (!ParseMarkerCount(line, count)) return true;
  std::vector<TDiagramMarker> markers;
  for (int i = 0; i < std::min(count, MaxMarkers) && file.ReadLine(line); ++i) {
    double position = 0;
    long long kind = 0;
    std::string_view rest;
    if (!ParseMarkerLine(line, position, kind, rest) || kind < -2147483647LL ||
        kind > 2147483647LL) {
      continue;
    }
    if (!rest.empty()) rest.remove_prefix(1);
    markers.emplace_back(position, static_cast<int>(kind), std::string(rest));
  }
  if (!markers.empty()) d.FMarkers = std::move(markers);
  return true;
}

bool SaveInf(const TSectionDiagram& d, const std::string& baseName) {
  Writer w;
  w.Line(d.Header());
  w.Line(d.Date());
  w.Line(d.ArrayTypeStr());
  w.Line(DirectionComment);
  w.Line(d.LeftDirectionLabel());
  w.Line(d.RightDirectionLabel());
  // Readers take at most 100 markers; more would be lost on the way back anyway.
  const std::size_t n = std::min<std::size_t>(d.Markers().size(), MaxMarkers);
  w.Line(FormatInt(static_cast<long long>(n)) + "  // Number of markers to follow");
  for (std::size_t i = 0; i < n; ++i) {
    const TDiagramMarker& m = d.Markers()[i];
    w.Line(FormatGeneral(m.Position()) + " " + FormatInt(m.Repr()) + " " + m.Descr());
  }
  w.Line(ModelFileComment);
  w.Line(d.ModelPath() + d.RhoFilename());
  return WriteSettingsFile(SettingsPath(baseName, ".inf"), w.Text(), Tell::Always);
}

// ---- REF ----------------------------------------------------------------------------------

namespace {

void ReadPositionLine(const std::string& line, TReferenceData& item) {
  std::string_view rest = line;
  double v = 0;
  ParseReal(NextWord(rest), v);
  item.SetPosition(v);
  rest = TrimText(rest);
  if (!rest.empty() && ParseReal(NextWord(rest), v)) item.SetAngle(v);
}

bool ReadLayerLine(const std::string& line, TReferenceLayer& layer) {
  std::string_view rest = line;
  double depth = 0;
  int code = 0;
  int colour = 0;
  if (!ParseReal(NextWord(rest), depth) || !ParseInt(NextWord(rest), code) ||
      !ParseInt(NextWord(rest), colour)) {
    return false;
  }
  layer = TReferenceLayer(depth, code, std::string(TrimText(rest)), colour);
  return true;
}

// One reference item after its position line; false when its layer count is unreadable,
// which leaves the lines after it without a known meaning.
bool ReadReferenceItem(TextLines& file, TReferenceData& item) {
  std::string line;
  file.ReadLine(line);
  item.SetMethod(line);
  file.ReadLine(line);
  std::string_view gwl = TrimText(line);
  double level = 0;
  if (!gwl.empty() && ParseReal(NextWord(gwl), level)) {
    item.SetGwl(level);
    item.SetGWlData(true);
  }
  if (!file.ReadLine(line)) return true;
  std::string_view countText = TrimText(line);
  int count = 0;
  if (!ParseInt(NextWord(countText), count)) return false;
  for (int i = 0; i < count && file.ReadLine(line); ++i) {
    TReferenceLayer layer;
    if (ReadLayerLine(line, layer)) item.Layers().push_back(std::move(layer));
  }
  return true;
}

}  // namespace

bool LoadReference(std::vector<TReferenceData>& items, const std::string& baseName) {
  TextLines file;
  if (!OpenSettingsFile(SettingsPath(baseName, ".ref"), file)) return false;
  items.clear();
  std::string line;
  while (file.ReadLine(line)) {
    // Blank lines between items (or at the end) are not items.
    if (TrimText(line).empty()) continue;
    std::string_view first = line;
    double position = 0;
    if (!ParseReal(NextWord(first), position)) break;
    TReferenceData item;
    ReadPositionLine(line, item);
    const bool goesOn = ReadReferenceItem(file, item);
    items.push_back(std::move(item));
    if (!goesOn) break;
  }
  return true;
}

bool SaveReference(const std::vector<TReferenceData>& items, const std::string& baseName) {
  const std::string path = SettingsPath(baseName, ".ref");
  if (items.empty()) {
    if (!SettingsWritesEnabled) return true;
    const auto found = FindFileNoCase(path);
    if (!found || std::remove(found->c_str()) == 0) return true;
    TellProblem("delete:" + *found, "WARNING: The settings file " + *found + " cannot be deleted.",
                MessageKind::Warning, Tell::Always);
    return false;
  }
  Writer w;
  for (const TReferenceData& item : items) {
    w.Line(FormatGeneral(item.Position()) + " " + FormatGeneral(item.Angle()));
    w.Line(item.Method());
    w.Line(item.GWlData() ? FormatGeneral(item.Gwl()) : std::string());
    w.Line(FormatInt(static_cast<long long>(item.Layers().size())));
    for (const TReferenceLayer& layer : item.Layers()) {
      w.Line(FormatGeneral(layer.Depth()) + " " + FormatInt(layer.MaterialCode()) + " " +
             FormatInt(layer.MaterialColor()) + " " + layer.MaterialText());
    }
  }
  return WriteSettingsFile(path, w.Text(), Tell::Always);
}

// ---- GLF ----------------------------------------------------------------------------------

bool ReadDiagramLimits(bool allowDefaults, double xPlotMax, double xPlotMin, double dLow,
                       double unitSpacing) {
  TextLines file;
  if (OpenSettingsFile(SettingsPath(optrec.FileName, graphtype.GeoLimitExt.str()), file)) {
    std::array<double, 6> v{};
    bool ok = true;
    for (double& value : v) {
      LineValueArray values;
      std::string text;
      ok = ok && ReadRealLine(file, 1, values, text) && values[0] != SentinelMissing;
      value = values[0];
    }
    if (ok && v[0] < v[1]) {
      graphtype.Lmin = v[0];
      graphtype.Lmax = v[1];
      graphtype.Llabel = v[2];
      graphtype.Dmin = v[3];
      graphtype.Dmax = v[4];
      graphtype.Dlabel = v[5];
      return true;
    }
  }
  if (allowDefaults) {
    DefaultDistanceAxis(xPlotMax, xPlotMin, dLow, unitSpacing);
    DefaultDepthAxis(dLow, unitSpacing);
  }
  return false;
}

bool WriteDiagramLimits() {
  Writer w;
  w.Line(FormatReal(graphtype.Lmin) + " { minimum x-distance }");
  w.Line(FormatReal(graphtype.Lmax) + " { maximum x-distance }");
  w.Line(FormatReal(graphtype.Llabel) + " { x-distance label interval }");
  w.Line(FormatReal(graphtype.Dmin) + " { minimum depth }");
  w.Line(FormatReal(graphtype.Dmax) + " { maximum depth }");
  w.Line(FormatReal(graphtype.Dlabel) + " { depth label interval }");
  return WriteSettingsFile(SettingsPath(optrec.FileName, graphtype.GeoLimitExt.str()), w.Text(),
                           Tell::Always);
}

// ---- RLF ----------------------------------------------------------------------------------

bool ReadColourLimits(bool allowLog, double rhoDataMin, double rhoDataMax, double /*ipDataMin*/,
                      double ipDataMax, double /*ipRatioMin*/, double ipRatioMax) {
  const LimitRange r = UsedLimits();
  if (r.hi <= r.lo) return false;
  TextLines file;
  if (OpenSettingsFile(ColourLimitsPath(), file)) {
    ReadLimitLines(file, r);
    const int c = std::min<int>(graphtype.IPflag, LimitSets - 1);
    if (FormatReal(Limit(c, r.lo)) != FormatReal(Limit(c, r.hi - 1))) return true;
  }
  if (!(allowLog && LogDefaults(r, rhoDataMin, rhoDataMax))) {
    LinearDefaults(r, rhoDataMin, rhoDataMax);
  }
  if (optrec.IPflag != 0) {
    IPDefaults(r, 1, ipDataMax);
    IPDefaults(r, 2, ipRatioMax);
  }
  WriteSettingsFile(ColourLimitsPath(), LimitsText(), Tell::Once);
  return false;
}

bool WriteColourLimits() {
  return WriteSettingsFile(ColourLimitsPath(), LimitsText(), Tell::Always);
}

}  // namespace karvelo
