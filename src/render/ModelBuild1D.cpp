// Building the 1D models of a Wenner survey: soundings from the grid columns, one
// Zohdy-type inversion per sounding, the model files with their misfit trailer, the
// scratch files of computed apparent resistivities, and the build log.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "base/Files.h"
#include "base/PlotState.h"
#include "base/Prompts.h"
#include "base/Res2err.h"
#include "input/DatReader.h"
#include "input/QvMath.h"
#include "render/ModelSection1D.h"
#include "render/SoundingColumns.h"
#include "render/Zohdy1D.h"

namespace karvelo {

const std::array<const char*, ModelFolderCount> ModelFolderNames{
    "ZOHDY1D", "ZOHDY1DS", "MODELG1D", "SMOOTG1D", "MODELS2D", "SMOOTH2D", "CSELMA1D", "SELMA1D"};

std::string ModelFolderOf(int kind) {
  if (kind < 0 || kind >= ModelFolderCount) return "";
  return optrec.DataDisk.str() + optrec.DataDir + ModelFolderNames[static_cast<std::size_t>(kind)] +
         "/";
}

std::string CreateModelQuestion(const std::string& folder, const std::string& file) {
  return "Zohdy model file " + folder + file + " not found!" + "\n" + "\r" + "Create now?";
}

namespace {

constexpr const char* LineBreak = "\r\n";
// Soundings between two advances of the progress box, and misfit matches likewise.
constexpr int SoundingsPerProgress = 250;
constexpr int MatchesPerProgress = 100;

void Tell(const std::string& text, MessageKind kind = MessageKind::Error) {
  CurrentPrompts().Message(text, kind);
}

std::string WriteFailureText(const std::string& path, const std::string& why) {
  std::string text = "ERROR: Cannot write file " + path + "!";
  if (!why.empty()) text += std::string("\n\r") + why;
  return text;
}

// One model of the build (the unsmoothed or the smoothed one): where it goes, its text
// so far, and its scratch file of computed apparent resistivities.
struct ModelTarget {
  std::string folder;
  std::string modelPath;
  std::string scratchPath;
  bool smoothed = false;
  std::string text;
  std::FILE* scratch = nullptr;
  bool scratchFailed = false;

  ModelTarget() = default;
  ModelTarget(const ModelTarget&) = delete;
  ModelTarget& operator=(const ModelTarget&) = delete;
  ~ModelTarget() {
    // However the build ends, no scratch file stays behind.
    CloseScratch();
    if (!scratchPath.empty()) std::remove(scratchPath.c_str());
  }
  bool OpenScratch() {
    scratch = std::fopen(scratchPath.c_str(), "wb");
    return scratch != nullptr;
  }
  void WriteScratch(const std::string& s) {
    if (scratch && std::fwrite(s.data(), 1, s.size(), scratch) != s.size()) scratchFailed = true;
  }
  // False when something written to the scratch file did not reach it.
  bool CloseScratch() {
    if (!scratch) return !scratchFailed;
    const bool ok = std::fclose(scratch) == 0 && !scratchFailed;
    scratch = nullptr;
    return ok;
  }
};

bool MakeFolder(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (std::filesystem::is_directory(folder)) return true;
  std::string text = "ERROR: Cannot create the model folder " + folder + "!";
  if (ec) text += "\n\r" + ec.message();
  Tell(text);
  return false;
}

// The layer line at the head of a model file: the layer count and the centre depths.
std::string LayerLine(const TLayerGrid& grid) {
  std::string line = FormatInt(grid.Layers());
  for (double d : grid.Depths) line += " " + FormatReal(d);
  return line + LineBreak;
}

std::string ColumnRecord(double x, const TInversion1D& inv, int layers) {
  std::string line = FormatReal(x);
  for (int g = 0; g < layers; ++g) line += " " + FormatReal(GridLayerValue(inv, g));
  return line + LineBreak;
}

std::string ScratchLines(double x, const TSounding& s, const TInversion1D& inv) {
  std::string lines;
  const std::string xs = FormatReal(x);
  for (std::size_t i = 0; i < inv.Computed.size(); ++i) {
    lines += xs + " " + FormatReal(s.Spacing[i]) + " " + FormatReal(inv.Computed[i]) + LineBreak;
  }
  return lines;
}

// What a build works from: the data records and the grid they are placed on.
struct BuildInput {
  TDatData data;
  std::vector<double> levels;
  double unit = 0;
  double xMin = 0, xMax = 0;
};

bool ReadInput(BuildInput& in) {
  const std::string path = DatFilePath();
  if (!ReadDatData(in.data)) {
    Tell("ERROR: Cannot read the data file " + path + "!");
    return false;
  }
  const int n = std::clamp(ScanResults.nPseudoDepths, 0, MaxScanList);
  in.levels.assign(ScanResults.PseudoDepthList.begin(), ScanResults.PseudoDepthList.begin() + n);
  in.unit = ScanResults.UnitSpacing;
  in.xMin = std::numeric_limits<double>::infinity();
  in.xMax = -in.xMin;
  for (const TDatPoint& d : in.data.points) {
    if (IsUndefined(d.position)) continue;
    in.xMin = std::min(in.xMin, d.position);
    in.xMax = std::max(in.xMax, d.position);
  }
  if (!(in.unit > 0) || !std::isfinite(in.unit) || in.levels.size() < 3 || !(in.xMin <= in.xMax)) {
    Tell("ERROR: No 1D model can be built from " + path +
         ": it needs data at three pseudo-depths or more and a positive unit spacing!");
    return false;
  }
  return true;
}

// Inverts the soundings of the grid columns and puts the models into the targets.
// Returns the number of model columns.
int InvertColumns(const BuildInput& in, const TLayerGrid& grid, bool oddAndEven,
                  std::vector<std::unique_ptr<ModelTarget>>& targets) {
  TSoundingGridLayout placing;
  placing.Start = in.xMin;
  placing.ColumnWidth = in.unit / 4;
  placing.UnitSpacing = in.unit;
  placing.Overlap = optrec.overlap;
  placing.PlotWhich = graphtype.PlotWhich;
  TSoundingColumns columns;
  columns.Build(in.data.points, in.levels, placing);
  if (columns.Unplaced() > 0) {
    throw EKarvCapacity("ERROR: Data exceeds y-dimension capacity of plot routine!");
  }
  int written = 0;
  double lastX = -std::numeric_limits<double>::infinity();
  TSounding sounding;
  for (int j = 1; j <= columns.HighestColumn(); j += oddAndEven ? 1 : 2) {
    double x = 0;
    if (!columns.ColumnX(j, x) || x < in.xMin || x > in.xMax || !(x > lastX)) continue;
    columns.SoundingAt(j, sounding);
    if (sounding.Points() < 3) continue;
    const TInversion1D first = Invert1D(sounding, grid);
    if (!first.Valid) continue;
    TInversion1D smooth;
    if (targets.size() > 1) smooth = InvertSmoothed(sounding, first, grid);
    for (auto& t : targets) {
      const TInversion1D& model = t->smoothed && smooth.Valid ? smooth : first;
      t->text += ColumnRecord(x, model, grid.Layers());
      t->WriteScratch(ScratchLines(x, sounding, model));
    }
    lastX = x;
    if (++written % SoundingsPerProgress == 0) CurrentPrompts().ProgressUpdate();
  }
  return written;
}

// round(10 v) of position and spacing: how a scratch line finds its datum.
struct MatchKey {
  long long x, a;
  bool operator==(const MatchKey&) const = default;
};
struct MatchKeyHash {
  std::size_t operator()(const MatchKey& k) const {
    return std::hash<long long>()(k.x) * 1000003u ^ std::hash<long long>()(k.a);
  }
};

MatchKey KeyOf(double x, double a) {
  return {RoundHalfEven(10 * x), RoundHalfEven(10 * a)};
}

// The relative RMS misfit of the model whose computed apparent resistivities are in the
// scratch file, against the measured data (the first datum of each position and spacing).
double MisfitOf(const ModelTarget& t, const TDatData& data) {
  std::unordered_map<MatchKey, double, MatchKeyHash> observed;
  observed.reserve(data.points.size());
  for (const TDatPoint& d : data.points) observed.try_emplace(KeyOf(d.position, d.a), d.value);
  TextLines scratch;
  if (!scratch.Open(t.scratchPath)) return 0;
  double sum = 0;
  long long count = 0;
  std::string line, text;
  LineValueArray v{};
  while (scratch.ReadLine(line)) {
    if (!ParseRealLine(line, 3, v, text)) continue;
    const auto it = observed.find(KeyOf(v[0], v[1]));
    if (it == observed.end() || !(it->second != 0) || IsUndefined(it->second)) continue;
    const double r = (it->second - v[2]) / it->second;
    sum += r * r;
    if (++count % MatchesPerProgress == 0) CurrentPrompts().ProgressUpdate();
  }
  return count > 0 ? std::sqrt(sum / static_cast<double>(count)) : 0.0;
}

// The misfit pass of one model: the scratch file read back and removed, the trailer
// added to the model text.
bool FinishModel(ModelTarget& t, const TDatData& data) {
  if (!t.CloseScratch()) {
    Tell(WriteFailureText(t.scratchPath, ""));
    return false;
  }
  const double rms = MisfitOf(t, data);
  std::remove(t.scratchPath.c_str());
  t.text += ModelTrailer(rms, t.smoothed);
  return true;
}

// Each model file is written in one piece, so a failure never leaves part of one.
bool WriteModel(const ModelTarget& t) {
  std::string why;
  if (WriteFileAtomically(t.modelPath, t.text, &why)) return true;
  Tell(WriteFailureText(t.modelPath, why));
  return false;
}

void AppendToLog(const std::string& line) {
  const std::string path = optrec.DataDisk.str() + optrec.DataDir + BuildLogName;
  const std::string target = ResolveFileNoCase(path);
  std::string text;
  std::error_code ec;
  if (std::filesystem::exists(target, ec)) {
    const auto old =
        std::filesystem::is_regular_file(target, ec) ? ReadWholeFile(target) : std::nullopt;
    if (!old) {
      // Rewriting a log that cannot be read would lose it.
      Tell(WriteFailureText(target, "the log cannot be read"), MessageKind::Warning);
      return;
    }
    text = *old;
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += LineBreak;
  }
  text += line + LineBreak;
  std::string why;
  if (!WriteFileAtomically(target, text, &why)) {
    Tell(WriteFailureText(target, why), MessageKind::Warning);
  }
}

std::vector<std::unique_ptr<ModelTarget>> MakeTargets(bool gridModel, bool smoothIncl) {
  std::vector<std::unique_ptr<ModelTarget>> targets;
  const int kind = gridModel ? 2 : 0;
  for (int k = 0; k < (smoothIncl ? 2 : 1); ++k) {
    auto t = std::make_unique<ModelTarget>();
    t->folder = ModelFolderOf(kind + k);
    t->modelPath = t->folder + optrec.FileName + ".RHO";
    t->smoothed = k == 1;
    targets.push_back(std::move(t));
  }
  return targets;
}

// Folders and scratch files of the targets: false (reported) when one cannot be made.
bool PrepareTargets(std::vector<std::unique_ptr<ModelTarget>>& targets) {
  for (auto& t : targets) {
    if (!MakeFolder(t->folder)) return false;
    const std::string scratch = t->folder + optrec.FileName + ".TMP";
    t->scratchPath = scratch;
    if (!t->OpenScratch()) {
      t->scratchPath.clear();  // not ours to remove
      Tell(WriteFailureText(scratch, ""));
      return false;
    }
    t->text = std::string("RHO-1") + LineBreak;
  }
  return true;
}

}  // namespace

std::string ModelTrailer(double rms, bool smoothed) {
  std::string value = FormatFixed(rms, 3);
  if (value.size() < 5) value.insert(0, 5 - value.size(), ' ');
  return std::string("/Model residuals:") + LineBreak + value + LineBreak +
         "/Inversion type header:" + LineBreak + UpperCase(optrec.ArrayType.str()) +
         (smoothed ? " SMOOTHED ZOHDY 1D MODEL" : " ZOHDY 1D MODEL") + LineBreak;
}

std::string BuildLogLine(const std::string& fileName, bool oddAndEven, bool smoothIncl,
                         double minutes) {
  return fileName + "  OddAndEven = " + (oddAndEven ? "TRUE" : "FALSE") +
         "  SmoothIncl = " + (smoothIncl ? "TRUE" : "FALSE") +
         "  Time = " + FormatFixed(minutes, 1) + "min";
}

bool Build1DModels(bool fastOnly, bool gridModel) {
  const auto started = std::chrono::steady_clock::now();
  const bool oddAndEven = fastOnly ? false : OddAndEven;
  const bool smoothIncl = fastOnly ? false : SmoothIncl;

  auto targets = MakeTargets(gridModel, smoothIncl);
  if (!PrepareTargets(targets)) return false;
  BuildInput in;
  if (!ReadInput(in)) return false;
  optrec.overlap = 20 * in.unit / 2;
  const TLayerGrid grid = MakeLayerGrid(in.levels, in.unit / 2, gridModel);
  for (auto& t : targets) t->text += LayerLine(grid);

  const int columns = InvertColumns(in, grid, oddAndEven, targets);
  if (columns < 2) {
    Tell("ERROR: No 1D model can be built from " + DatFilePath() +
         ": fewer than two grid columns hold a sounding of three data or more!");
    return false;
  }
  for (auto& t : targets) {
    if (!FinishModel(*t, in.data)) return false;
  }
  for (auto& t : targets) {
    if (!WriteModel(*t)) return false;
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
  AppendToLog(BuildLogLine(optrec.FileName, oddAndEven, smoothIncl, elapsed.count() / 60));
  return true;
}

}  // namespace karvelo
