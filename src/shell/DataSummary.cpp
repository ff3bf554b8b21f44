#include "shell/DataSummary.h"

#include <algorithm>

#include "base/Files.h"
#include "base/PlotState.h"
#include "core/SettingsFiles.h"
#include "input/QvMath.h"

namespace karvelo::shell {
namespace {

std::string G(double x) {
  return FormatGeneral(x);
}
std::string F2(double x) {
  return FormatFixed(x, 2);
}
std::string Rounded(double x) {
  return FormatInt(RoundHalfEven(x));
}

std::string PseudoDepthLine() {
  const TScanResults& s = ScanResults;
  const int last = std::clamp(s.nPseudoDepths - 1, 0, MaxScanList - 1);
  return "Pseudodepth: " + F2(s.PseudoDepthList[0]) + " - " +
         F2(s.PseudoDepthList[static_cast<std::size_t>(last)]) + "m ";
}

std::string ValueLines() {
  const TScanResults& s = ScanResults;
  std::string text = "rho-a: " + Rounded(s.RhoDataMin) + " - " + Rounded(s.RhoDataMax) + "ohm-m ";
  if (optrec.IPflag > 0) {
    text += "\nIP-a: " + Rounded(s.IPDataMin) + " - " + Rounded(s.IPDataMax) + "mV/V";
  }
  return text;
}

}  // namespace

std::string DiagramSummary() {
  const TScanResults& s = ScanResults;
  std::string text = "Data file: " + FileNameOf(optrec.DataDir + optrec.FileName) + "\n";
  text += "Datapoints: " + FormatInt(s.nDataPoints) + "\n";
  text += "X-plot: " + G(s.XPlotMin) + " - " + G(s.XPlotMax) + "m \n";
  text += "a: " + G(s.SpacingMin) + " - " + G(s.SpacingMax) + "m \n";
  if (graphtype.ModSelFlag) {
    text += "Depth: " + G(graphtype.Dhigh) + " - " + G(graphtype.Dlow) + "m \n";
  } else {
    text += PseudoDepthLine() + "\n";
  }
  return text + ValueLines();
}

std::string SettingsSummary() {
  const TScanResults& s = ScanResults;
  std::string text = "No of data: " + FormatInt(s.nDataPoints) + "\n";
  text += "X-plot: " + G(s.XPlotMin) + " - " + G(s.XPlotMax) + "m \n";
  text += "a: " + G(s.SpacingMin) + " - " + F2(s.SpacingMax) + "m \n";
  text += PseudoDepthLine() + "\n";
  return text + ValueLines();
}

}  // namespace karvelo::shell
