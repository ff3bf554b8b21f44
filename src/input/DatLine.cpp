// One data line of a DAT file: its numbers by the layout of the array, and where the
// measurement is plotted.

#include <algorithm>
#include <cmath>
#include <string>

#include "input/DatReader.h"
#include "input/DatText.h"
#include "input/ElectrodeGeometry.h"
#include "input/QvMath.h"

namespace karvelo {

namespace {

// Position of an electrode a general-array line leaves out.
constexpr double MissingElectrode = InfiniteDistance;

bool IsGeneralArray(int code) {
  return code == 11 || code == 15;
}

bool HasNColumn(int code) {
  return code == 5 || code == 6 || code == 10;
}

bool IsMissing(double v) {
  return IsUndefined(v);
}

// True when every number on the line is zero: the closing line of the data.
bool IsClosingLine(std::string_view text) {
  dattext::TokenCursor tokens(text);
  if (tokens.AtEnd()) return false;
  while (!tokens.AtEnd()) {
    double v = 0;
    if (!ParseReal(tokens.Next(), v) || v != 0) return false;
  }
  return true;
}

// Reads the numbers of one line in order and says what went wrong.
class NumberReader {
 public:
  NumberReader(std::string_view text, std::string* reason) : tokens_(text), reason_(reason) {}

  bool Number(double& v, bool missingAllowed, const char* what) {
    if (tokens_.AtEnd()) {
      if (reason_ != nullptr) {
        *reason_ = "the line ends before the " + std::string(what) + " (number " +
                   FormatInt(tokens_.Taken() + 1) + ")";
      }
      return false;
    }
    const std::string_view token = tokens_.Next();
    if (token == "*") {
      v = SentinelMissing;
      if (missingAllowed) return true;
    } else if (ParseReal(token, v)) {
      return true;
    }
    if (reason_ != nullptr) {
      *reason_ = "number " + FormatInt(tokens_.Taken()) + " (\"" + std::string(token) +
                 "\") is not a valid " + what;
    }
    return false;
  }

  bool Fail(const std::string& why) {
    if (reason_ != nullptr) *reason_ = why;
    return false;
  }

 private:
  dattext::TokenCursor tokens_;
  std::string* reason_;
};

bool ReadIPValues(NumberReader& in, const TDataLayout& layout, TDataLine& line) {
  line.windows = layout.ipValues;
  for (int w = 1; w <= layout.ipValues; ++w) {
    if (!in.Number(line.ipValues[static_cast<std::size_t>(w)], true, "IP value")) return false;
  }
  if (layout.ipValues > 0) {
    const int w = std::clamp(layout.ipWindow, 1, layout.ipValues);
    line.ip = line.ipValues[static_cast<std::size_t>(w)];
  }
  return true;
}

// x [y] a [n] v [e] [ip...]
bool ParseFixedLayout(NumberReader& in, const TDataLayout& layout, TDataLine& line) {
  const int code = layout.arrayCode;
  if (!in.Number(line.x, false, "x location")) return false;
  if (layout.hasY && !in.Number(line.y, false, "y location")) return false;
  if (!in.Number(line.a, false, "electrode spacing")) return false;
  if (HasNColumn(code) && !in.Number(line.n, false, "n-factor")) return false;
  if (!in.Number(line.value, true, "value")) return false;
  if (layout.errors && !in.Number(line.error, true, "error estimate")) return false;
  if (!ReadIPValues(in, layout, line)) return false;

  const double t =
      layout.xIsFirstElectrode ? ShiftToMidpoint(line.x, line.a, line.n, code) : line.x;
  if (HasNColumn(code)) {
    const TPlotPlace place = CentreRule(PlaceElectrodes(t, line.a, line.n, code));
    line.position = place.position;
    line.depth = place.depth;
  } else {
    line.position = t;
    line.depth = line.a / 2;
  }
  return true;
}

struct GeneralElectrodes {
  int m = 0;
  double x[4] = {};
  double z[4] = {};  // elevation in 2-D files, y in 3-D files
};

bool AllCoincide(const GeneralElectrodes& g) {
  for (int i = 1; i < g.m; ++i) {
    if (g.x[i] != g.x[0] || g.z[i] != g.z[0]) return false;
  }
  return true;
}

// Midpoint of the extreme defined coordinates (the x location of the line, or its y).
double MidOfExtremes(const double* c, int m) {
  double lo = 0, hi = 0;
  bool any = false;
  for (int i = 0; i < m; ++i) {
    if (!ElectrodeDefined(c[i])) continue;
    lo = any ? std::min(lo, c[i]) : c[i];
    hi = any ? std::max(hi, c[i]) : c[i];
    any = true;
  }
  return any ? 0.5 * (lo + hi) : MissingElectrode;
}

bool PlaceGeneral(NumberReader& in, const GeneralElectrodes& g, const TDataLayout& layout,
                  TDataLine& line) {
  // C1 C2 P1 P2 for four electrodes, C1 P1 P2 for three, C1 P1 for two.
  static constexpr int kRole[3][4] = {{0, -1, 1, -1}, {0, -1, 1, 2}, {0, 1, 2, 3}};
  const int* role = kRole[g.m - 2];
  double px[4], pz[4];
  for (int r = 0; r < 4; ++r) {
    px[r] = role[r] < 0 ? MissingElectrode : g.x[role[r]];
    pz[r] = role[r] < 0 ? MissingElectrode : g.z[role[r]];
  }
  const double second = layout.hasY ? 1.0 : 0.0;  // 2-D factors use x only
  const TElectrodeLayout plane{{px[0], pz[0] * second},
                               {px[1], pz[1] * second},
                               {px[2], pz[2] * second},
                               {px[3], pz[3] * second}};
  const TArrayFactors f = ArrayFactors(plane);
  const TMedianDepth md = MedianDepth(plane);
  if (!md.Found()) return in.Fail("the electrode positions give no investigation depth");
  line.x = MidOfExtremes(g.x, g.m);
  if (layout.hasY) line.y = MidOfExtremes(g.z, g.m);
  line.position = CentreRule({px[0], px[1], px[2], px[3]}).position;
  line.depth = md.depth;
  line.a = f.a;
  line.n = f.n;
  line.k = f.k;
  return true;
}

// m, m electrode positions, one value (and error) per time step, the IP values.
bool ParseGeneralLayout(NumberReader& in, const TDataLayout& layout, TDataLine& line) {
  double m = 0;
  if (!in.Number(m, false, "electrode count")) return false;
  if (m != 2 && m != 3 && m != 4) return in.Fail("the electrode count must be 2, 3 or 4");
  GeneralElectrodes g;
  g.m = static_cast<int>(m);
  for (int i = 0; i < g.m; ++i) {
    if (!in.Number(g.x[i], false, "electrode position") ||
        !in.Number(g.z[i], false, layout.hasY ? "electrode position" : "electrode elevation")) {
      return false;
    }
  }
  const int steps = std::clamp(layout.timeSteps, 1, MaxIPWindows);
  line.steps = steps;
  std::array<double, MaxIPWindows + 1> errors{};
  for (int s = 1; s <= steps; ++s) {
    if (!in.Number(line.stepValues[static_cast<std::size_t>(s)], true, "value")) return false;
    if (layout.errors && !in.Number(errors[static_cast<std::size_t>(s)], true, "error estimate")) {
      return false;
    }
  }
  if (!ReadIPValues(in, layout, line)) return false;
  if (AllCoincide(g)) return in.Fail("all electrodes of the line are at one point");
  if (!PlaceGeneral(in, g, layout, line)) return false;

  if (layout.measurementType == 1) {
    for (int s = 1; s <= steps; ++s) {
      double& v = line.stepValues[static_cast<std::size_t>(s)];
      if (!IsMissing(v)) v *= line.k;
    }
  }
  line.value = SelectStepValue(line.stepValues.data(), steps, layout.timeStep);
  if (layout.errors && layout.timeStep != 0) {
    line.error = errors[static_cast<std::size_t>(std::clamp(layout.timeStep, 1, steps))];
  }
  return true;
}

}  // namespace

double SelectStepValue(const double* v, int steps, int timeStep) {
  if (steps <= 1) return v[1];
  if (timeStep != 0) return v[std::clamp(timeStep, 1, steps)];
  const double first = v[1], last = v[steps];
  if (IsMissing(first) || IsMissing(last) || first + last == 0) return SentinelMissing;
  return 2 * (last - first) / (last + first);
}

TDataLayout CurrentDataLayout(bool hasY, int measurementType, bool readIP) {
  TDataLayout layout;
  layout.arrayCode = optrec.ArrayCode;
  layout.hasY = hasY;
  layout.xIsFirstElectrode = XIsFirstElectrode;
  layout.measurementType = measurementType;
  layout.timeSteps = std::max(1, static_cast<int>(optrec.TimeSteps));
  layout.errors = optrec.ErrorEstimates != 0;
  if (readIP && optrec.IPflag != 0) {
    layout.ipValues = optrec.IPflag == 11 ? std::max(1, static_cast<int>(optrec.IPwindows)) : 1;
  }
  layout.timeStep = graphtype.TimeStep;
  layout.ipWindow = std::max(1, std::min<int>(graphtype.TimeWindowIP, optrec.IPwindows));
  return layout;
}

TDataLineStatus ParseDataLine(std::string_view text, const TDataLayout& layout, TDataLine& line,
                              std::string* reason) {
  line.value = line.ip = line.error = SentinelMissing;
  line.y = 0;
  line.n = 1;
  line.k = 0;
  line.steps = line.windows = 0;
  if (dattext::Trim(text).empty()) return TDataLineStatus::Blank;
  if (IsClosingLine(text)) return TDataLineStatus::Closing;
  NumberReader in(text, reason);
  const bool ok = IsGeneralArray(layout.arrayCode) ? ParseGeneralLayout(in, layout, line)
                                                   : ParseFixedLayout(in, layout, line);
  return ok ? TDataLineStatus::Valid : TDataLineStatus::Invalid;
}

bool ReadDataLine(TextLines& file, bool hasY, int measurementType, bool readIP, TDataLine& line,
                  TDataLineStatus* status) {
  thread_local std::string text;
  TDataLineStatus s = TDataLineStatus::EndOfFile;
  if (file.ReadLine(text)) {
    s = ParseDataLine(text, CurrentDataLayout(hasY, measurementType, readIP), line);
  }
  if (status != nullptr) *status = s;
  return s == TDataLineStatus::Valid;
}

}  // namespace karvelo
