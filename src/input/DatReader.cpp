// The data scan of a DAT file, the topography section after its data, and the
// measurement records a drawing reads once.

#include "input/DatReader.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/Prompts.h"
#include "input/DatText.h"
#include "input/QvMath.h"

namespace karvelo {

namespace {

// ---- Scan lists ---------------------------------------------------------------------------

// One distinct-value list of the scan. Looking a value up first by bisection keeps a
// long file fast: the list is ascending, and so are its entries rounded to 0.01.
struct ScanList {
  std::array<double, MaxScanList>& values;
  int& count;
  const char* what;
  bool full = false;

  void Add(double v) {
    const double key = std::nearbyint(v * 100.0);
    const auto end = values.begin() + count;
    const auto it = std::lower_bound(
        values.begin(), end, key, [](double e, double k) { return std::nearbyint(e * 100.0) < k; });
    if (it != end && std::nearbyint(*it * 100.0) == key) return;
    if (count >= MaxScanList || !AddToScanList(values, count, v)) full = true;
  }
};

void Widen(double& lo, double& hi, double v) {
  lo = std::min(lo, v);
  hi = std::max(hi, v);
}

// Collects the scan results of one data pass.
class ScanCollector {
 public:
  explicit ScanCollector(bool ipFile, bool threeD) : ipFile_(ipFile), threeD_(threeD) {
    TScanResults& r = ScanResults;
    r.nDataPoints = r.nSpacings = r.nNFactors = r.nPseudoDepths = r.nYValues = 0;
    r.SpacingMin = r.XPlotMin = r.RhoDataMin = r.IPDataMin = r.IPRatioMin = DataScanMin;
    r.SpacingMax = r.XPlotMax = r.RhoDataMax = r.IPDataMax = r.IPRatioMax = DataScanMax;
    r.UnitSpacing = DataScanMin;
    r.YRange = 0;
  }

  void Add(const TDataLine& d) {
    TScanResults& r = ScanResults;
    ++r.nDataPoints;
    Widen(r.SpacingMin, r.SpacingMax, d.a);
    Widen(r.XPlotMin, r.XPlotMax, d.position);
    const bool hasValue = !IsUndefined(d.value);
    if (hasValue) Widen(r.RhoDataMin, r.RhoDataMax, d.value);
    if (ipFile_ && !IsUndefined(d.ip)) {
      Widen(r.IPDataMin, r.IPDataMax, d.ip);
      if (hasValue && d.value != 0) Widen(r.IPRatioMin, r.IPRatioMax, d.ip / d.value);
    }
    if (d.a != 0) r.UnitSpacing = std::min(r.UnitSpacing, std::fabs(d.a));
    spacings_.Add(d.a);
    nFactors_.Add(d.n);
    depths_.Add(d.depth);
    if (threeD_) {
      yValues_.Add(d.y);
      r.YRange = r.nDataPoints == 1 ? d.y : std::max(r.YRange, d.y);
    }
  }

  // One message for each list that met its capacity.
  void ReportFullLists(const std::string& path) const {
    for (const ScanList* list : {&spacings_, &nFactors_, &depths_, &yValues_}) {
      if (list->full) {
        CurrentPrompts().Message(ScanListFullText(list->what, path), MessageKind::Warning);
      }
    }
  }

 private:
  bool ipFile_, threeD_;
  ScanList spacings_{ScanResults.SpacingList, ScanResults.nSpacings, "electrode spacings"};
  ScanList nFactors_{ScanResults.NFactorList, ScanResults.nNFactors, "n-factors"};
  ScanList depths_{ScanResults.PseudoDepthList, ScanResults.nPseudoDepths, "pseudo-depths"};
  ScanList yValues_{ScanResults.YList, ScanResults.nYValues, "y values"};
};

// ---- The data pass ------------------------------------------------------------------------

enum class PassEnd { Count, EndOfFile, Closing, BadLine };

struct PassResult {
  PassEnd end = PassEnd::EndOfFile;
  int badLine = 0;
  std::string badText;
  std::string reason;
};

// Reads the data lines after the header. A DAT file stops at the declared count, at a
// closing line of zeros or at the first bad line; a plain list reads to the end and
// skips what is not a data line. `sink` receives every measurement.
template <class Sink>
PassResult DataPass(TextLines& file, const TDataLayout& layout, bool isDat, int declared,
                    Sink&& sink) {
  PassResult result;
  std::string text;
  std::string reason;
  TDataLine line;
  int taken = 0;
  while (!isDat || taken < declared) {
    if (!file.ReadLine(text)) return result;
    const TDataLineStatus s = ParseDataLine(text, layout, line, isDat ? &reason : nullptr);
    if (s == TDataLineStatus::Valid) {
      ++taken;
      sink(line, file.LineNumber());
    } else if (isDat && s == TDataLineStatus::Closing) {
      result.end = PassEnd::Closing;
      return result;
    } else if (isDat && s == TDataLineStatus::Invalid) {
      result.end = PassEnd::BadLine;
      result.badLine = file.LineNumber();
      result.badText = text;
      result.reason = reason;
      return result;
    }
  }
  result.end = PassEnd::Count;
  return result;
}

void AppendRecord(TDatData& data, const TDataLine& d, int lineNumber) {
  TDatPoint p;
  p.x = d.x;
  p.position = d.position;
  p.y = d.y;
  p.a = d.a;
  p.n = d.n;
  p.depth = d.depth;
  p.value = d.value;
  p.ip = d.ip;
  p.error = d.error;
  p.k = d.k;
  p.lineNumber = lineNumber;
  data.points.push_back(p);
  if (data.stepsPerPoint > 0) {
    const int steps = std::max(d.steps, 1);
    for (int s = 1; s <= data.stepsPerPoint; ++s) {
      data.stepValues.push_back(d.stepValues[static_cast<std::size_t>(std::min(s, steps))]);
    }
  }
  for (int w = 1; w <= data.ipPerPoint; ++w) {
    data.ipValues.push_back(d.ipValues[static_cast<std::size_t>(w)]);
  }
}

void PrepareRecords(TDatData& data, const std::string& path, const TDataLayout& layout,
                    int expected, std::size_t fileBytes) {
  data.Clear();
  data.path = path;
  const bool general = layout.arrayCode == 11 || layout.arrayCode == 15;
  data.stepsPerPoint = general && layout.timeSteps > 1 ? layout.timeSteps : 0;
  data.ipPerPoint = layout.ipValues;
  // A header may declare far more data than the file holds: reserve no more than the
  // file's bytes can carry (a data line takes at least six), so growth never copies the
  // records of a large survey while a false count reserves nothing absurd.
  const auto n = std::min(static_cast<std::size_t>(std::max(expected, 0)), fileBytes / 6 + 1);
  data.points.reserve(n);
  data.stepValues.reserve(n * static_cast<std::size_t>(data.stepsPerPoint));
  data.ipValues.reserve(n * static_cast<std::size_t>(data.ipPerPoint));
}

// Opens the file of the plot state and, for a DAT file, reads past its header.
enum class OpenResult { Missing, BadHeader, Ready };

OpenResult OpenData(TextLines& file, const std::string& path, int& declared, int& measurementType) {
  declared = 0;
  measurementType = 0;
  if (!file.Open(ResolveFileNoCase(path))) return OpenResult::Missing;
  if (IsDatFile && !SkipDatHeader(file, declared, measurementType)) {
    dattext::SetProblemPath(path);
    return OpenResult::BadHeader;
  }
  return OpenResult::Ready;
}

void RecordBadLine(const PassResult& r, const std::string& path) {
  dattext::SetProblem(TDatSection::Data, r.badLine, r.badText, r.reason);
  dattext::SetProblemPath(path);
}

// ---- Topography ---------------------------------------------------------------------------

// Fills the derived position column; false when a rise exceeds the cable between points.
bool DeriveTopographyColumn(int count) {
  TTopoList& t = TopoList;
  if (t.TopoDistanceType == 1) {
    t.TopoSurfaceX[1] = t.TopoHorizX[1];
    for (int k = 2; k <= count; ++k) {
      const double dx = t.TopoHorizX[k] - t.TopoHorizX[k - 1];
      const double dz = t.TopoZ[k] - t.TopoZ[k - 1];
      t.TopoSurfaceX[k] = t.TopoSurfaceX[k - 1] + std::sqrt(dx * dx + dz * dz);
    }
    return true;
  }
  t.TopoHorizX[1] = t.TopoSurfaceX[1];
  for (int k = 2; k <= count; ++k) {
    const double ds = t.TopoSurfaceX[k] - t.TopoSurfaceX[k - 1];
    const double dz = t.TopoZ[k] - t.TopoZ[k - 1];
    if (dz * dz > ds * ds) {
      CurrentPrompts().Message(TopographySlopeErrorText(k - 1, k), MessageKind::Error);
      return false;
    }
    t.TopoHorizX[k] = t.TopoHorizX[k - 1] + std::sqrt(ds * ds - dz * dz);
  }
  return true;
}

// Reads up to `count` point lines (at most the list's capacity); returns how many.
int ReadTopographyPoints(TextLines& file, int count, bool& error) {
  TTopoList& t = TopoList;
  LineValueArray v{};
  std::string line, text;
  const int wanted = std::min(count, MaxTopoPoints);
  int k = 0;
  while (k < wanted) {
    if (!file.ReadLine(line) || !ParseRealLine(line, 2, v, text)) {
      error = true;
      dattext::SetProblem(TDatSection::Topography, file.LineNumber(), line,
                          "a topography point (position and elevation) was expected");
      break;
    }
    ++k;
    (t.TopoDistanceType == 1 ? t.TopoHorizX : t.TopoSurfaceX)[k] = v[0];
    t.TopoZ[k] = v[1];
    Widen(t.TopoZMin, t.TopoZMax, v[1]);
  }
  if (count > MaxTopoPoints && k == MaxTopoPoints) {
    CurrentPrompts().Message(TooManyTopographyPointsText(), MessageKind::Error);
  }
  return k;
}

}  // namespace

bool ReadTopographySection(TextLines& file, bool& error) {
  error = false;
  TTopoList& t = TopoList;
  std::string line, text;
  LineIntArray v{};
  if (file.ReadLine(line) && dattext::KeywordIs(line, "Topography in separate list")) {
    file.ReadLine(line);
  }
  if (!ParseIntegerLine(line, 1, v, text)) {
    t.nTopoPoints = 0;
    return false;
  }
  if (v[0] != 1 && v[0] != 2) return false;
  t.TopoDistanceType = static_cast<std::uint8_t>(v[0]);
  t.TopoZMin = ModelScanMin;
  t.TopoZMax = ModelScanMax;
  t.nTopoPoints = 0;
  if (!file.ReadLine(line) || !ParseIntegerLine(line, 1, v, text)) {
    error = true;
    dattext::SetProblem(TDatSection::Topography, file.LineNumber(), line,
                        "the number of topography points was expected");
    return false;
  }
  const int count = ReadTopographyPoints(file, v[0], error);
  if (count < 1 || !DeriveTopographyColumn(count)) return false;
  t.nTopoPoints = count;
  t.TopoXFirst = t.TopoSurfaceX[1];
  t.TopoXLast = t.TopoSurfaceX[static_cast<std::size_t>(count)];
  return true;
}

void TDatData::Clear() {
  path.clear();
  points.clear();
  stepsPerPoint = ipPerPoint = 0;
  stepValues.clear();
  ipValues.clear();
  complete = true;
}

double TDatData::Value(std::size_t i, int timeStep) const {
  if (stepsPerPoint <= 1) return points[i].value;
  // SelectStepValue numbers the steps from 1.
  std::array<double, MaxIPWindows + 1> steps{};
  const auto first = stepValues.begin() + static_cast<std::ptrdiff_t>(i * stepsPerPoint);
  std::copy(first, first + stepsPerPoint, steps.begin() + 1);
  return SelectStepValue(steps.data(), stepsPerPoint, timeStep);
}

double TDatData::IP(std::size_t i, int window) const {
  if (ipPerPoint <= 0) return SentinelMissing;
  const int w = std::clamp(window, 1, ipPerPoint) - 1;
  return ipValues[i * static_cast<std::size_t>(ipPerPoint) + static_cast<std::size_t>(w)];
}

bool ScanDatFile(TDatData* data) {
  const std::string path = DatFilePath();
  const TDatProblem& last = LastDatProblem();
  // A header problem of this very file (from the header scan) stays readable.
  if (!(last.section == TDatSection::Header && last.path == path)) ClearDatProblem();
  ScanCollector collector(optrec.IPflag != 0, optrec.XYscan);
  TopoPresent = false;
  TopoList.nTopoPoints = 0;  // never the topography of the file loaded before

  TextLines file;
  int declared = 0, measurementType = 0;
  const OpenResult opened = OpenData(file, path, declared, measurementType);
  if (opened == OpenResult::Missing) return false;
  if (opened == OpenResult::BadHeader) {
    CurrentPrompts().Message(InitialPartErrorText(path), MessageKind::Error);
    return false;
  }
  const TDataLayout layout = CurrentDataLayout(optrec.XYscan, measurementType, optrec.IPflag != 0);
  if (data != nullptr) PrepareRecords(*data, path, layout, declared, file.Size());
  const PassResult pass =
      DataPass(file, layout, IsDatFile, declared, [&](const TDataLine& d, int lineNumber) {
        collector.Add(d);
        if (data != nullptr) AppendRecord(*data, d, lineNumber);
      });
  if (pass.end == PassEnd::BadLine) {
    RecordBadLine(pass, path);
    if (data != nullptr) data->complete = false;
    CurrentPrompts().Message(DataPartErrorText(path), MessageKind::Error);
  } else if (IsDatFile) {
    // After a bad line the file position is somewhere in the data: no topography.
    bool error = false;
    TopoPresent = ReadTopographySection(file, error);
    if (error) {
      dattext::SetProblemPath(path);
      CurrentPrompts().Message(TopographyErrorText(path), MessageKind::Error);
    }
  }
  collector.ReportFullLists(path);
  return ScanResults.nPseudoDepths > 1;
}

bool ReadDatData(TDatData& data) {
  const std::string path = DatFilePath();
  TextLines file;
  int declared = 0, measurementType = 0;
  data.Clear();
  data.path = path;
  if (OpenData(file, path, declared, measurementType) != OpenResult::Ready) return false;
  const TDataLayout layout = CurrentDataLayout(optrec.XYscan, measurementType, optrec.IPflag != 0);
  PrepareRecords(data, path, layout, IsDatFile ? declared : 1024, file.Size());
  const PassResult pass = DataPass(file, layout, IsDatFile, declared,
                                   [&](const TDataLine& d, int n) { AppendRecord(data, d, n); });
  if (pass.end == PassEnd::BadLine) {
    RecordBadLine(pass, path);
    data.complete = false;
  }
  return true;
}

}  // namespace karvelo
