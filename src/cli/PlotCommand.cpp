#include "cli/PlotCommand.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "base/Files.h"
#include "base/PlotState.h"
#include "cli/ConsolePrompts.h"
#include "cli/InfoReport.h"
#include "cli/Render.h"
#include "core/SctDraw.h"
#include "core/SettingsFiles.h"
#include "input/DatReader.h"
#include "input/ModelReaders.h"

namespace karvelo::cli {
namespace {

void Fail(const std::string& text) {
  std::fprintf(stderr, "karvelo-plot: %s\n", text.c_str());
}

// "line N: <text>" after the message that reported a reader's stop, so the user sees
// where the file went wrong.
void AddProblemLocation(std::vector<std::string>& messages) {
  const TDatProblem& p = LastDatProblem();
  if (!p.Any() || p.lineNumber <= 0) return;
  std::string where = "Line " + std::to_string(p.lineNumber) + ": \"" + p.lineText + "\"";
  if (!p.reason.empty()) where += " (" + p.reason + ")";
  for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
    if (!p.path.empty() && it->find(p.path) != std::string::npos) {
      *it += "\n" + where;
      return;
    }
  }
  messages.push_back(where);
}

struct Options {
  std::string file;
  bool info = false;
  std::string output;
  int width = 1024, height = 768;
  std::string palette;
  bool ip = false;
  double fontSize = 0.03;
  std::optional<int> timeStep;
  std::optional<double> spacing;
  std::optional<double> nFactor;
  std::string type;   // pseudo | model2d | model1d
  std::string build;  // complete | fast | no
};

std::optional<Options> Parse(const QStringList& arguments, int& status) {
  QCommandLineParser p;
  p.setApplicationDescription(
      "Draws a resistivity/IP survey (DAT) or an inverted model (RHO, RH2) to an image file "
      "through the same path as a Karvelo diagram window, or prints what the file holds.");
  p.addHelpOption();
  p.addVersionOption();
  p.addPositionalArgument("FILE", "The DAT, RHO or RH2 file to read.");
  const QCommandLineOption info("info",
                                "Load FILE read-only (no settings files are written) and print "
                                "what it holds as one JSON object on standard output.");
  const QCommandLineOption out(QStringList{"o", "output"},
                               "Write the diagram to OUT (.png; the format follows the "
                               "extension).",
                               "OUT");
  const QCommandLineOption width("width", "Picture width in pixels (default 1024).", "PX", "1024");
  const QCommandLineOption height("height", "Picture height in pixels (default 768).", "PX", "768");
  const QCommandLineOption palette("palette",
                                   "Palette file: a name from the installed palette folder "
                                   "(classic, viridis, cividis, grey, ...) or a path to a .pal "
                                   "file.",
                                   "NAME");
  const QCommandLineOption ip("ip",
                              "Plot the IP values of a file that holds resistivity and IP "
                              "(the default is resistivity).");
  const QCommandLineOption font(
      "font-size", "Font size relative to the picture width (default 0.03).", "FRACTION", "0.03");
  const QCommandLineOption timeStep("time-step",
                                    "Time step of time-lapse data to plot (0: the difference "
                                    "between the last and the first).",
                                    "N");
  const QCommandLineOption spacing("spacing", "Plot only the data of this a-spacing.", "A");
  const QCommandLineOption nFactor("n-factor", "Plot only the data of this n-factor.", "N");
  const QCommandLineOption type("type",
                                "Diagram type: pseudo (data files), model2d (model files), "
                                "model1d (1D models built from Wenner data).",
                                "TYPE");
  const QCommandLineOption build("build",
                                 "For --type model1d: build the complete set of 1D models, a "
                                 "fast set, or none when models are missing (default: "
                                 "complete).",
                                 "complete|fast|no", "complete");
  p.addOptions(
      {info, out, width, height, palette, ip, font, timeStep, spacing, nFactor, type, build});
  if (!p.parse(arguments)) {
    Fail(p.errorText().toStdString());
    status = 2;
    return std::nullopt;
  }
  if (p.isSet("help")) {
    std::fputs(p.helpText().toLocal8Bit().constData(), stdout);
    status = 0;
    return std::nullopt;
  }
  if (p.isSet("version")) {
    std::printf("karvelo-plot %s\n", KARVELO_VERSION);
    status = 0;
    return std::nullopt;
  }
  const QStringList files = p.positionalArguments();
  if (files.size() != 1) {
    Fail("expected exactly one FILE (see --help)");
    status = 2;
    return std::nullopt;
  }
  Options o;
  o.file = files.front().toStdString();
  o.info = p.isSet(info);
  o.output = p.value(out).toStdString();
  bool ok1 = true, ok2 = true, ok3 = true;
  o.width = p.value(width).toInt(&ok1);
  o.height = p.value(height).toInt(&ok2);
  o.fontSize = p.value(font).toDouble(&ok3);
  if (!ok1 || !ok2 || o.width < 16 || o.height < 16 || o.width > 20000 || o.height > 20000) {
    Fail("--width and --height take whole numbers of pixels from 16 to 20000");
    status = 2;
    return std::nullopt;
  }
  if (!ok3 || o.fontSize <= 0 || o.fontSize > 0.5) {
    Fail("--font-size takes a fraction of the picture width, above 0 and at most 0.5");
    status = 2;
    return std::nullopt;
  }
  o.palette = p.value(palette).toStdString();
  o.ip = p.isSet(ip);
  if (p.isSet(timeStep)) {
    bool ok = true;
    o.timeStep = p.value(timeStep).toInt(&ok);
    if (!ok || *o.timeStep < 0 || *o.timeStep > 255) {
      Fail("--time-step takes a whole number from 0 to 255");
      status = 2;
      return std::nullopt;
    }
  }
  for (auto [opt, target, name] : {std::tuple{&spacing, &o.spacing, "--spacing"},
                                   std::tuple{&nFactor, &o.nFactor, "--n-factor"}}) {
    if (!p.isSet(*opt)) continue;
    bool ok = true;
    *target = p.value(*opt).toDouble(&ok);
    if (!ok) {
      Fail(std::string(name) + " takes a number");
      status = 2;
      return std::nullopt;
    }
  }
  o.type = p.value(type).toStdString();
  if (!o.type.empty() && o.type != "pseudo" && o.type != "model2d" && o.type != "model1d") {
    Fail("--type takes pseudo, model2d or model1d");
    status = 2;
    return std::nullopt;
  }
  o.build = p.value(build).toStdString();
  if (o.build != "complete" && o.build != "fast" && o.build != "no") {
    Fail("--build takes complete, fast or no");
    status = 2;
    return std::nullopt;
  }
  if (!o.info && o.output.empty()) {
    Fail("nothing to do: give --info or -o OUT (see --help)");
    status = 2;
    return std::nullopt;
  }
  return o;
}

bool CanOpen(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream f(path, std::ios::binary);
  return static_cast<bool>(f);
}

TDiagramType TypeFor(const Options& o, bool model) {
  if (o.type == "model2d") return dtModsec2D;
  if (o.type == "model1d") return dtModsec1D;
  if (o.type == "pseudo") return dtPseudo;
  return model ? dtModsec2D : dtPseudo;
}

int RunInfo(const Options& o, const std::string& absolute) {
  ConsolePrompts prompts(o.ip, /*echo=*/false);
  ScopedPrompts guard(prompts);
  SettingsWritesEnabled = false;  // --info never writes beside the user's file
  prompts.SetPlotType(TypeFor(o, IsModelExtension(absolute)));
  graphtype.ModSelFlag = IsModelExtension(absolute);
  TSectionDiagram diagram;
  const LoadResult r = LoadForCommand(diagram, absolute);
  std::vector<std::string> messages = prompts.Messages();
  AddProblemLocation(messages);
  for (auto& m : messages) m = WithPathAsGiven(m, absolute, o.file);
  const QJsonDocument doc(BuildInfoReport(o.file, r.kind, messages));
  std::fputs(doc.toJson(QJsonDocument::Indented).constData(), stdout);
  return r.readable ? 0 : 1;
}

}  // namespace

int RunPlotCommand(const QStringList& arguments) {
  int status = 0;
  const auto options = Parse(arguments, status);
  if (!options) return status;
  const Options& o = *options;
  if (!CanOpen(o.file)) {
    Fail("cannot open " + o.file);
    return 2;
  }
  const std::string absolute = std::filesystem::absolute(o.file).lexically_normal().string();
  if (o.info) return RunInfo(o, absolute);

  ConsolePrompts prompts(o.ip, /*echo=*/true);
  prompts.SetPathAsGiven(absolute, o.file);
  ScopedPrompts guard(prompts);
  prompts.SetDefaultAnswer(o.build == "no" ? Answer::No : Answer::Yes);
  prompts.SetFastBuild(o.build == "fast");
  const bool model = IsModelExtension(absolute);
  prompts.SetPlotType(TypeFor(o, model));
  graphtype.ModSelFlag = model;
  RenderOptions ro;
  ro.output = o.output;
  ro.width = o.width;
  ro.height = o.height;
  ro.palette = o.palette;
  ro.relativeFontSize = o.fontSize;
  ro.timeStep = o.timeStep;
  ro.spacing = o.spacing;
  ro.nFactor = o.nFactor;
  return RenderFile(absolute, ro);
}

}  // namespace karvelo::cli
