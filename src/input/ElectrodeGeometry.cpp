#include "input/ElectrodeGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace karvelo {

namespace {

constexpr int CodeWenner = 1;
constexpr int CodeWennerGamma = 3;
constexpr int CodePolePole = 4;
constexpr int CodeDipoleDipole = 5;
constexpr int CodePoleDipole = 6;
constexpr int CodeSchlumberger = 10;

// Distances of the median-depth search to an electrode that is absent.
constexpr double DepthFarAway = InfiniteDistance;

bool PointDefined(const TElectrodePoint& p) {
  return ElectrodeDefined(p.x) && ElectrodeDefined(p.y);
}

// Distance of two electrodes in the plane, or `absent` when either is missing.
double PairDistance(const TElectrodePoint& p, const TElectrodePoint& q, double absent) {
  if (!PointDefined(p) || !PointDefined(q)) return absent;
  return std::hypot(p.x - q.x, p.y - q.y);
}

// Mean of two positions when both are present, else the present one (or absent).
double CentreOf(double u, double v) {
  const bool du = ElectrodeDefined(u), dv = ElectrodeDefined(v);
  if (du && dv) return 0.5 * (u + v);
  if (du) return u;
  if (dv) return v;
  return AbsentElectrode;
}

bool PotentialsInside(const TElectrodeLine& e) {
  if (!ElectrodeDefined(e.C1) || !ElectrodeDefined(e.C2) || !ElectrodeDefined(e.P1) ||
      !ElectrodeDefined(e.P2)) {
    return false;
  }
  const bool c1LeftC2Right = e.C1 < e.P1 && e.C1 < e.P2 && e.C2 > e.P1 && e.C2 > e.P2;
  const bool c1RightC2Left = e.C1 > e.P1 && e.C1 > e.P2 && e.C2 < e.P1 && e.C2 < e.P2;
  return c1LeftC2Right || c1RightC2Left;
}

bool NFactorPositive(const TElectrodeLayout& e) {
  const double pc =
      ElectrodeDefined(e.P1.x) && ElectrodeDefined(e.P2.x) ? 0.5 * (e.P1.x + e.P2.x) : NoFactor;
  const bool c1 = ElectrodeDefined(e.C1.x), c2 = ElectrodeDefined(e.C2.x);
  if (c1 && c2) return e.C1.x < e.C2.x && e.C2.x - pc >= pc - e.C1.x;
  if (c1) return e.C1.x < pc;
  if (c2) return e.C2.x < pc;
  return true;
}

// Integral of the half-space sensitivity from the surface down to z for one pair.
double SensitivityAbove(double z, double r) {
  const double q = 2.0 * z / r;
  return (1.0 / r) * (1.0 - 1.0 / std::sqrt(q * q + 1.0));
}

}  // namespace

double ShiftToMidpoint(double x, double a, double n, int arrayCode) {
  if (arrayCode >= CodeWenner && arrayCode <= CodeWennerGamma) return x + 1.5 * a;
  switch (arrayCode) {
    case CodePolePole:
      return x + 0.5 * a;
    case CodeDipoleDipole:
      return x + a + 0.5 * n * a;
    case CodePoleDipole:
      return x + 0.5 * (std::fabs(n) * a + a);
    case CodeSchlumberger:
      return x + 0.5 * a + n * a;
    default:
      return x;
  }
}

TElectrodeLine PlaceElectrodes(double t, double a, double n, int arrayCode) {
  TElectrodeLine e;
  switch (arrayCode) {
    case CodeDipoleDipole:
      e.C1 = t - n * a / 2;
      e.C2 = t - n * a / 2 - a;
      e.P1 = t + n * a / 2;
      e.P2 = t + n * a / 2 + a;
      break;
    case CodePoleDipole:
      // Forward: pole left of the dipole. Reverse (n < 0): the mirror image about P1,
      // so both directions of the same |n| reach the same depth.
      e.C1 = t - n * a;
      e.P1 = t;
      e.P2 = n < 0 ? t - a : t + a;
      break;
    case CodeSchlumberger:
      e.C1 = t - a * (n + 0.5);
      e.C2 = t + a * (n + 0.5);
      e.P1 = t - a / 2;
      e.P2 = t + a / 2;
      break;
    default:
      break;
  }
  return e;
}

TPlotPlace CentreRule(const TElectrodeLine& e) {
  double cc = CentreOf(e.C1, e.C2);
  double pc = CentreOf(e.P1, e.P2);
  // A layout without current (or potential) electrodes cannot arise from a data line;
  // fall back to the other centre rather than compute with the absent marker.
  if (!ElectrodeDefined(cc)) cc = pc;
  if (!ElectrodeDefined(pc)) pc = cc;
  TPlotPlace place;
  if (PotentialsInside(e)) {
    place.position = pc;
    place.depth = std::min(std::fabs(pc - e.C1), std::fabs(pc - e.C2)) / 3.0;
  } else {
    place.position = 0.5 * (pc + cc);
    place.depth = std::fabs(pc - cc) / 6.0;
  }
  return place;
}

TArrayFactors ArrayFactors(const TElectrodeLayout& e) {
  const double am = PairDistance(e.C1, e.P1, NoFactor);
  const double an = PairDistance(e.C1, e.P2, NoFactor);
  const double bm = PairDistance(e.C2, e.P1, NoFactor);
  const double bn = PairDistance(e.C2, e.P2, NoFactor);
  const double mn = PairDistance(e.P1, e.P2, NoFactor);
  const double ab = PairDistance(e.C1, e.C2, NoFactor);

  TArrayFactors f;
  f.a = NoFactor;
  if (mn < NoFactor) f.a = mn;
  if (ab < NoFactor) f.a = std::min(f.a, ab);

  const double r = std::min({am, an, bm, bn});
  if (f.a != 0) f.n = r / f.a;
  if (!NFactorPositive(e)) f.n = -f.n;

  if (am == 0 || an == 0 || bm == 0 || bn == 0) return f;
  const double d = 1.0 / am - 1.0 / an - 1.0 / bm + 1.0 / bn;
  if (d != 0) f.k = std::fabs(2.0 * std::numbers::pi / d);
  return f;
}

double SignalFractionAbove(double z, double am, double an, double bm, double bn) {
  if (am == 0 || an == 0 || bm == 0 || bn == 0) return 0;
  const double total = 1.0 / bm - 1.0 / bn - 1.0 / am + 1.0 / an;
  if (total == 0) return 0;
  const double above = SensitivityAbove(z, bm) - SensitivityAbove(z, bn) - SensitivityAbove(z, am) +
                       SensitivityAbove(z, an);
  return above / total;
}

TMedianDepth MedianDepth(const TElectrodeLayout& e) {
  const double am = PairDistance(e.C1, e.P1, DepthFarAway);
  const double an = PairDistance(e.C1, e.P2, DepthFarAway);
  const double bm = PairDistance(e.C2, e.P1, DepthFarAway);
  const double bn = PairDistance(e.C2, e.P2, DepthFarAway);

  double dmax = -1;
  for (const double d : {am, an, bm, bn}) {
    if (d < UndefinedThreshold) dmax = std::max(dmax, d);
  }
  if (dmax < 0) return {};  // no defined distance, so nothing to bracket the search

  const auto g = [&](double z) { return std::fabs(SignalFractionAbove(z, am, an, bm, bn) - 0.5); };
  constexpr double kGolden = 0.61803399;
  constexpr double kComplement = 0.38196601;
  double x0 = 0.0001;
  const double b = 0.0001 + (dmax - 0.0001) / 20.0;
  double x3 = dmax;
  double x1, x2;
  if (std::fabs(x3 - b) > std::fabs(b - x0)) {
    x1 = b;
    x2 = b + kComplement * (x3 - b);
  } else {
    x2 = b;
    x1 = b - kComplement * (b - x0);
  }
  double g1 = g(x1), g2 = g(x2);
  // The bracket shrinks by the golden ratio each step; the cap only guards against
  // arithmetic that never meets the tolerance (it is far above any real need).
  for (int step = 0; step < 400 && std::fabs(x3 - x0) > 0.01 * (std::fabs(x1) + std::fabs(x2));
       ++step) {
    if (g1 <= g2) {
      x3 = x2;
      x2 = x1;
      g2 = g1;
      x1 = kGolden * x1 + kComplement * x0;
      g1 = g(x1);
    } else {
      x0 = x1;
      x1 = x2;
      g1 = g2;
      x2 = kGolden * x2 + kComplement * x3;
      g2 = g(x2);
    }
  }
  if (g1 < g2) return {x1, g1};
  return {x2, g2};
}

}  // namespace karvelo
