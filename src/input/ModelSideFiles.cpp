// The small files that go with a model plot: the ALT elevation file and the label files
// PSEUDO.TXT and MODSEC.TXT.

#include <algorithm>
#include <optional>

#include "base/Files.h"
#include "base/Prompts.h"
#include "input/ModelReaders.h"
#include "input/QvMath.h"

namespace karvelo {

namespace {

// Label files travel between this program and the original Windows tools.
constexpr const char* LabelLineBreak = "\r\n";

std::string JoinFolder(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// The label file `name` from the current folder, the data folder or the program folder,
// whichever has it first.
std::optional<TextLines> OpenLabelFile(const std::string& name, const std::string& dataFolder,
                                       const std::string& programFolder) {
  for (const std::string& folder : {std::string(), dataFolder, programFolder}) {
    const auto path = FindFileNoCase(JoinFolder(folder, name));
    TextLines file;
    if (path && file.Open(*path)) return file;
  }
  return std::nullopt;
}

// Reads the labels in file order into `targets`; the first becomes the method line,
// which is trimmed and starts with a blank. Lines beyond the end of the file are empty.
void ReadLabels(TextLines& file, std::initializer_list<std::string*> targets) {
  bool first = true;
  for (std::string* target : targets) {
    std::string line;
    file.ReadLine(line);
    *target = first ? LabelMethodLine(line) : line;
    first = false;
  }
}

bool WriteLines(const std::string& path, std::initializer_list<const std::string*> lines) {
  std::string text;
  for (const std::string* line : lines) {
    text += *line;
    text += LabelLineBreak;
  }
  std::string error;
  if (WriteFileAtomically(path, text, &error)) return true;
  CurrentPrompts().Message("ERROR: Could not write " + path + "! " + error, MessageKind::Error);
  return false;
}

}  // namespace

bool ScanAltFile(double& xMin, double& xMax, double& zMin, double& zMax) {
  const auto path = FindFileNoCase(optrec.DataDir + optrec.FileName + ".ALT");
  TextLines file;
  if (!path || !file.Open(*path)) return false;
  xMin = zMin = ModelScanMin;
  xMax = zMax = ModelScanMax;
  double previousX = SentinelMissing;
  LineValueArray v{};
  std::string text;
  while (!file.Eof()) {
    if (!ReadRealLine(file, 2, v, text) || IsUndefined(v[0]) || IsUndefined(v[1])) continue;
    const double x = v[0];
    if (x < previousX) {
      CurrentPrompts().Message(
          "ERROR: X-values must be stored in increasing order in the .ALT file!",
          MessageKind::Error);
      return false;
    }
    if (x == previousX) {
      CurrentPrompts().Message(
          "ERROR: Duplicate X-values in the .ALT file! (line " + FormatInt(file.LineNumber()) + ")",
          MessageKind::Error);
      return false;
    }
    previousX = x;
    xMin = std::min(xMin, x);
    xMax = std::max(xMax, x);
    zMin = std::min(zMin, v[1]);
    zMax = std::max(zMax, v[1]);
  }
  return true;
}

bool ReadPseudoLabels(const std::string& dataFolder, const std::string& programFolder) {
  auto file = OpenLabelFile("PSEUDO.TXT", dataFolder, programFolder);
  if (!file) return false;
  TTextRec& l = DataLabels;
  ReadLabels(*file, {&l.MethodStr, &l.DistStr, &l.DepthStr, &l.ResStr});
  return true;
}

bool ReadModsecLabels(const std::string& dataFolder, const std::string& programFolder) {
  auto file = OpenLabelFile("MODSEC.TXT", dataFolder, programFolder);
  if (!file) return false;
  TTextRec& l = ModelLabels;
  ReadLabels(*file, {&l.MethodStr, &l.DistStr, &l.DepthStr, &l.AltStr, &l.ResStr});
  return true;
}

bool WriteLabelFiles(const std::string& folder) {
  const TTextRec& d = DataLabels;
  const TTextRec& m = ModelLabels;
  const bool pseudo = WriteLines(JoinFolder(folder, "PSEUDO.TXT"),
                                 {&d.MethodStr, &d.DistStr, &d.DepthStr, &d.ResStr});
  const bool modsec = WriteLines(JoinFolder(folder, "MODSEC.TXT"),
                                 {&m.MethodStr, &m.DistStr, &m.DepthStr, &m.AltStr, &m.ResStr});
  return pseudo && modsec;
}

}  // namespace karvelo
