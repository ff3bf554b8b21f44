#include "input/ModelReaders.h"

#include <algorithm>
#include <cmath>

#include "base/Files.h"
#include "base/Prompts.h"
#include "input/QvMath.h"

namespace karvelo {

TModelScan LastModelScan;

namespace {

bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && IsBlankOrControl(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlankOrControl(s.back())) s.remove_suffix(1);
  return s;
}

bool IsFieldSeparator(char c) {
  return IsBlankOrControl(c) || c == ',';
}

// Numbers read in free format: a record may run on over several lines, and SkipLine
// drops the rest of the line in hand, as a layered model's records are read.
class FreeFormatReader {
 public:
  enum Status { Ok, Bad, End };

  explicit FreeFormatReader(TextLines& file) : file_(file) {}

  Status ReadNumber(double& value) {
    for (;;) {
      if (!loaded_) {
        if (!file_.ReadLine(line_)) return End;
        loaded_ = true;
        pos_ = 0;
      }
      while (pos_ < line_.size() && IsFieldSeparator(line_[pos_])) ++pos_;
      if (pos_ < line_.size()) break;
      loaded_ = false;
    }
    const std::size_t begin = pos_;
    while (pos_ < line_.size() && !IsFieldSeparator(line_[pos_])) ++pos_;
    double v = 0;
    if (!ParseReal(std::string_view(line_).substr(begin, pos_ - begin), v) || IsUndefined(v))
      return Bad;
    value = v;
    return Ok;
  }

  // Drops the rest of the line in hand, or the next whole line when none is in hand.
  void SkipLine() {
    if (loaded_) {
      loaded_ = false;
    } else {
      std::string ignored;
      file_.ReadLine(ignored);
    }
  }

 private:
  TextLines& file_;
  std::string line_;
  std::size_t pos_ = 0;
  bool loaded_ = false;
};

// A cell count: a whole number from 0 up; anything else makes the block unreadable.
bool AsCount(double v, long long& count) {
  if (!(v >= 0 && v <= 1e7)) return false;
  count = RoundHalfEven(v);
  return std::fabs(v - static_cast<double>(count)) < 1e-9;
}

bool ReadValues(TextLines& file, int count, LineValueArray& values) {
  std::string text;
  return ReadRealLine(file, count, values, text);
}

// The state of one scan, copied into the plot state at its end.
struct ScanContext {
  std::string fileName;  // as the caller named it, for messages
  bool oneD = false;
  bool report = false;
  TModelScan result;
  bool dataEndedAtEof = false;
  bool haveSecond = false;      // a second column position was read
  bool bodyUnreadable = false;  // reported already; nothing after it is trusted
  double secondX = 0;

  void AddValue(double v) {
    if (IsUndefined(v)) return;
    if (!oneD || v > 0) result.ValueMin = std::min(result.ValueMin, v);
    result.ValueMax = std::max(result.ValueMax, v);
  }
  void AddColumn(double x, bool newLast) {
    ++result.nColumns;
    if (result.nColumns == 1) result.FirstX = x;
    if (result.nColumns == 2) {
      secondX = x;
      haveSecond = true;
    }
    if (newLast) result.LastX = x;
  }
  void Report(const std::string& text) const {
    if (report) CurrentPrompts().Message(text, MessageKind::Error);
  }
};

// ---- Dialect ------------------------------------------------------------------------------

void ClassifyHeader(TextLines& file, TModelScan& scan) {
  std::string first;
  file.ReadLine(first);
  const std::string_view line = TrimView(first);
  const std::string_view key = line.substr(0, 5);
  if (key == "RHO-2") {
    scan.Dialect = TModelDialect::Rho2;
  } else if (key == "RHO-1") {
    scan.Dialect = TModelDialect::Rho1;
  } else {
    scan.Dialect = TModelDialect::Plain;
    file.Rewind();
    return;
  }
  // "RHO-1 IP": the text after the first blank says whether IP values follow.
  const std::size_t blank = line.find_first_of(" \t");
  const std::string_view rest =
      blank == std::string_view::npos ? std::string_view() : TrimView(line.substr(blank + 1));
  scan.IPflag = SameTextNoCase(rest.substr(0, 2), "IP") ? 1 : 0;
}

// ---- Layered dialects ---------------------------------------------------------------------

// Line 1 of the body: the layer count and the layer depths (top first, bottom last).
bool ReadLayerLine(FreeFormatReader& reader, ScanContext& ctx) {
  double n = 0;
  long long count = 0;
  bool ok = reader.ReadNumber(n) == FreeFormatReader::Ok && AsCount(n, count) && count >= 1;
  for (long long k = 1; ok && k <= count; ++k) {
    double depth = 0;
    ok = reader.ReadNumber(depth) == FreeFormatReader::Ok;
    if (ok && k == 1) ctx.result.TopDepth = depth;
    if (ok && k == count) ctx.result.BottomDepth = depth;
  }
  reader.SkipLine();
  if (ok) ctx.result.nLayers = static_cast<int>(count);
  return ok;
}

// One record: position, the layer values and, in IP models, the IP values. Returns
// false at the end of the data (end of file, or a position that does not read).
bool ReadLayeredRecord(FreeFormatReader& reader, ScanContext& ctx) {
  double x = 0;
  const auto status = reader.ReadNumber(x);
  if (status != FreeFormatReader::Ok) {
    ctx.dataEndedAtEof = status == FreeFormatReader::End;
    if (status == FreeFormatReader::Bad) reader.SkipLine();
    return false;
  }
  ctx.AddColumn(x, ctx.result.nColumns == 0 || x > ctx.result.LastX);
  const int n = ctx.result.nLayers;
  const int fields = ctx.result.IPflag != 0 ? 2 * n : n;
  for (int k = 0; k < fields; ++k) {
    double v = 0;
    const auto st = reader.ReadNumber(v);
    if (st == FreeFormatReader::End) {
      ctx.dataEndedAtEof = true;
      return false;
    }
    if (k >= n) continue;  // IP values do not enter the resistivity range
    if (st == FreeFormatReader::Ok) {
      ctx.AddValue(v);
    } else {
      optrec.NewRhoFormat = true;  // "*" or another unreadable value
    }
  }
  reader.SkipLine();
  return true;
}

void ScanLayered(TextLines& file, ScanContext& ctx) {
  FreeFormatReader reader(file);
  if (!ReadLayerLine(reader, ctx)) {
    ctx.Report("ERROR: The layer line of model file " + ctx.fileName +
               " does not hold a layer count followed by its layer depths!");
    ctx.bodyUnreadable = true;
    return;
  }
  while (ReadLayeredRecord(reader, ctx)) {
  }
}

// ---- RHO-2 --------------------------------------------------------------------------------

// Reads lines until one holds a position and an elevation. False at the end of the file.
bool SkipToFirstBlock(TextLines& file, LineValueArray& v) {
  while (!file.Eof()) {
    if (ReadValues(file, 2, v) && !IsUndefined(v[0])) return true;
  }
  return false;
}

bool ReadCellCount(TextLines& file, long long& m) {
  LineValueArray v{};
  return ReadValues(file, 1, v) && AsCount(v[0], m);
}

// The first pass: the first filled column's position and the next block's position.
void FindColumnWidth(TextLines& file, ScanContext& ctx) {
  LineValueArray v{};
  if (!SkipToFirstBlock(file, v)) return;
  for (;;) {
    const double x = v[0];
    long long m = 0;
    if (!ReadCellCount(file, m)) return;
    if (m > 0) {
      ctx.result.FirstX = x;
      std::string skipped;
      for (long long k = 0; k < m; ++k) {
        if (!file.ReadLine(skipped)) return;
      }
      if (ReadValues(file, 2, v) && !IsUndefined(v[0])) {
        ctx.secondX = v[0];
        ctx.haveSecond = true;
      }
      return;
    }
    if (!ReadValues(file, 2, v) || IsUndefined(v[0])) return;
  }
}

// The cells of one block after its count line. False when a cell line does not read.
bool ReadRho2Cells(TextLines& file, long long m, ScanContext& ctx) {
  const int ip = ctx.result.IPflag != 0 ? 1 : 0;
  LineValueArray v{};
  for (long long k = 1; k < m; ++k) {
    if (!ReadValues(file, 2 + ip, v)) return false;
    ctx.AddValue(v[0]);
    if (IsUndefined(v[1])) continue;
    if (k == 1) ctx.result.TopDepth = std::min(ctx.result.TopDepth, v[1]);
    if (k == m - 1) ctx.result.BottomDepth = std::max(ctx.result.BottomDepth, v[1]);
  }
  if (!ReadValues(file, 1 + ip, v)) return false;
  ctx.AddValue(v[0]);
  return true;
}

void ScanRho2(TextLines& file, ScanContext& ctx) {
  FindColumnWidth(file, ctx);
  std::string header;
  file.Rewind();
  file.ReadLine(header);
  ctx.result.TopDepth = ModelScanMin;
  ctx.result.BottomDepth = PositiveScanMax;
  ctx.result.HasElevations = true;
  LineValueArray v{};
  bool more = SkipToFirstBlock(file, v);
  int filled = 0;
  while (more) {
    if (!IsUndefined(v[1])) {
      ctx.result.ElevationMin = std::min(ctx.result.ElevationMin, v[1]);
      ctx.result.ElevationMax = std::max(ctx.result.ElevationMax, v[1]);
    }
    long long m = 0;
    if (!ReadCellCount(file, m)) break;
    if (m > 0) {
      ++filled;
      ctx.result.LastX = v[0];
    }
    if (m > 0 && !ReadRho2Cells(file, m, ctx)) break;
    more = ReadValues(file, 2, v) && !IsUndefined(v[0]);
  }
  ctx.dataEndedAtEof = file.Eof();
  ctx.result.nColumns = filled;
}

// ---- Trailer ------------------------------------------------------------------------------

void ReadRmsLine(const std::string& line, ScanContext& ctx) {
  const std::string_view t = TrimView(line);
  if (t.empty()) return;
  const std::size_t blank = t.find_first_of(" \t");
  double v = 0;
  if (ParseReal(t.substr(0, blank), v)) optrec.RMS[1] = v;
  if (ctx.result.IPflag != 0 && blank != std::string_view::npos) {
    const std::string_view rest = TrimView(t.substr(blank + 1));
    if (ParseReal(rest.substr(0, rest.find_first_of(" \t")), v)) optrec.RMS[2] = v;
  }
}

void ReadLabelBlock(TextLines& file, TTextRec& labels) {
  std::string line;
  file.ReadLine(line);
  labels.MethodStr = LabelMethodLine(line);
  std::string* rest[] = {&labels.DistStr, &labels.DepthStr, &labels.AltStr, &labels.ResStr};
  for (std::string* s : rest) file.ReadLine(*s);  // a missing line leaves an empty label
}

// What follows the data: RMS line, inversion description, label block. Each part is
// optional and the first one absent ends the trailer.
void ReadTrailer(TextLines& file, ScanContext& ctx) {
  std::string line;
  if (!file.ReadLine(line)) return;
  ReadRmsLine(line, ctx);
  if (ctx.oneD && !file.ReadLine(line)) return;
  if (!file.ReadLine(line) || UpperCase(line).find("/INVERSION") == std::string::npos) return;
  if (!file.ReadLine(line)) return;
  optrec.InversionTxtStr = line;
  if (!file.ReadLine(line) || TrimView(line) != "/MODSEC.TXT:") return;
  if (ctx.oneD) {
    CurrentPrompts().Message("Going to read diagram label text strings ...",
                             MessageKind::Information);
  }
  ReadLabelBlock(file, ModelLabels);
  ctx.result.LabelsRead = true;
}

// ---- Results ------------------------------------------------------------------------------

void CheckColumnWidth(ScanContext& ctx) {
  TModelScan& r = ctx.result;
  if (ctx.bodyUnreadable) return;
  if (!ctx.haveSecond) {
    ctx.Report("ERROR: Model file " + ctx.fileName +
               " holds fewer than two model columns, so it has no column width!");
    return;
  }
  r.ColumnWidth = ctx.secondX - r.FirstX;
  r.ColumnWidthValid = std::isfinite(r.ColumnWidth) && r.ColumnWidth > 0;
  if (!r.ColumnWidthValid) {
    ctx.Report("ERROR: The first two columns of model file " + ctx.fileName + " lie at " +
               FormatReal(r.FirstX) + " and " + FormatReal(ctx.secondX) +
               ": model columns must be stored from left to right!");
  }
}

void PublishScan(const ScanContext& ctx) {
  const TModelScan& r = ctx.result;
  graphtype.Dhigh = r.TopDepth;
  graphtype.Dlow = r.BottomDepth;
  ScanResults.RhoDataMin = r.ValueMin;
  ScanResults.RhoDataMax = r.ValueMax;
  if (r.HasElevations) {
    TopoList.TopoZMin = r.ElevationMin;
    TopoList.TopoZMax = r.ElevationMax;
  }
}

bool OpenModel(ScanContext& ctx, TextLines& file) {
  const auto path = FindFileNoCase(ModelFilePath(ctx.fileName));
  if (!path || !file.Open(*path)) {
    if (ctx.report) {
      CurrentPrompts().Message("ERROR: Model file " + ctx.fileName + " was not found!",
                               MessageKind::Error);
    }
    return false;
  }
  ctx.result.Path = *path;
  ctx.result.Found = true;
  return true;
}

bool RunScan(const std::string& fileName, bool report, bool oneD, double& firstX, double& lastX,
             double& columnWidth) {
  ScanContext ctx;
  ctx.fileName = fileName;
  ctx.report = report;
  ctx.oneD = oneD;
  // Nothing of an earlier model may survive into this one.
  optrec.RMS = {0, 0, 0};
  optrec.NewRhoFormat = false;
  optrec.InversionTxtStr.clear();
  Rho2Format = false;
  if (!oneD) ModelLabelsRead = false;
  firstX = lastX = columnWidth = 0;
  LastModelScan = TModelScan();

  TextLines file;
  if (!OpenModel(ctx, file)) return false;
  ClassifyHeader(file, ctx.result);
  if (ctx.result.Dialect != TModelDialect::Plain) optrec.IPflag = ctx.result.IPflag;
  if (ctx.result.Dialect == TModelDialect::Rho1) optrec.NewRhoFormat = true;
  if (ctx.result.Dialect == TModelDialect::Rho2) Rho2Format = true;
  if (oneD && Rho2Format) {
    LastModelScan = ctx.result;
    return true;
  }
  if (Rho2Format) {
    ScanRho2(file, ctx);
  } else {
    ScanLayered(file, ctx);
  }
  if (!ctx.dataEndedAtEof && !ctx.bodyUnreadable) ReadTrailer(file, ctx);
  if (!optrec.NewRhoFormat && !Rho2Format && (!oneD || ctx.dataEndedAtEof))
    optrec.RMS[1] = ReadRmsFile(fileName);
  if (ctx.result.LabelsRead && !oneD) {
    ModelLabelsRead = true;
    CurrentLabels = ModelLabels;
  }
  CheckColumnWidth(ctx);
  PublishScan(ctx);
  ctx.result.RMS = optrec.RMS;
  ctx.result.InversionText = optrec.InversionTxtStr;
  firstX = ctx.result.FirstX;
  lastX = ctx.result.LastX;
  columnWidth = ctx.result.ColumnWidth;
  LastModelScan = ctx.result;
  return true;
}

}  // namespace

std::string LabelMethodLine(std::string_view line) {
  std::string method(1, ' ');
  method.append(TrimView(line));
  return method;
}

const char* ModelDialectName(TModelDialect dialect) {
  switch (dialect) {
    case TModelDialect::Rho1:
      return "RHO-1";
    case TModelDialect::Rho2:
      return "RHO-2";
    case TModelDialect::Plain:
      break;
  }
  return "plain";
}

std::string ModelFilePath(const std::string& fileName) {
  if (!fileName.empty() && fileName.front() == '/') return fileName;
  if (ModelPath.empty() || ModelPath.back() == '/') return ModelPath + fileName;
  return ModelPath + "/" + fileName;
}

bool ScanModelFile(const std::string& fileName, bool report, double& firstX, double& lastX,
                   double& columnWidth) {
  return RunScan(fileName, report, false, firstX, lastX, columnWidth);
}

bool ScanModelFile1D(const std::string& fileName, bool report, double& firstX, double& lastX,
                     double& columnWidth) {
  return RunScan(fileName, report, true, firstX, lastX, columnWidth);
}

double ReadRmsFile(const std::string& modelFileName) {
  const std::string stem =
      modelFileName.size() > 4 ? modelFileName.substr(0, modelFileName.size() - 4) : "";
  const auto path = FindFileNoCase(ModelFilePath(stem + ".RMS"));
  TextLines file;
  if (!path || !file.Open(*path)) return 0;
  std::string line;
  double rms = 0;
  if (file.ReadLine(line)) {
    const std::string_view t = TrimView(line);
    const std::size_t blank = t.find_last_of(" \t");
    const std::string_view last = blank == std::string_view::npos ? t : t.substr(blank + 1);
    if (!ParseReal(last, rms)) rms = 0;
  }
  if (file.ReadLine(line)) {
    std::string_view t = TrimView(line);
    if (!t.empty() && (t.front() == '/' || t.front() == '{' || t.front() == '\'')) {
      t = TrimView(t.substr(1));
    }
    optrec.InversionTxtStr = std::string(t);
  }
  return rms;
}

bool ModelPlotEnd(double firstX, double lastX, double columnWidth, double& xPlotMax) {
  if (!std::isfinite(columnWidth) || columnWidth <= 0 || !std::isfinite(firstX) ||
      !std::isfinite(lastX)) {
    xPlotMax = lastX;
    return false;
  }
  if (lastX <= firstX) {
    xPlotMax = firstX;
    return true;
  }
  // A relative slack keeps a last column that sits on a whole number of widths from
  // being pushed one width further by rounding.
  const double steps = std::ceil((lastX - firstX) / columnWidth - 1e-9);
  xPlotMax = firstX + steps * columnWidth;
  return true;
}

}  // namespace karvelo
