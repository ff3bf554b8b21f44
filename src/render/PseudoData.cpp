#include "render/PseudoData.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/PlotState.h"

namespace karvelo {

double PlottedValue(double rho, double ip) {
  double v = rho;
  if (optrec.IPflag != 0 && graphtype.IPflag != 0) {
    v = graphtype.NormalisedIP != 0 ? ip / rho : ip;
  }
  return optrec.AbsPlot ? std::fabs(v) : v;
}

bool SelectedDatum(double a, double n, double selectedSpacing, double selectedNFactor,
                   double unitSpacing) {
  const double n100 = std::nearbyint(100 * selectedNFactor);
  if (n100 != 0 && std::nearbyint(100 * n) != n100) return false;
  // Without a positive unit no spacing can be told from another: all are shown.
  if (selectedSpacing != 0 && unitSpacing > 0) {
    const double units = std::nearbyint(selectedSpacing / unitSpacing);
    if (units != 0 && std::nearbyint(a / unitSpacing) != units) return false;
  }
  return true;
}

RowFinder::RowFinder(const double* levels, int nLevels) {
  keys_.reserve(static_cast<std::size_t>(std::max(nLevels, 0)));
  for (int e = 1; e <= nLevels; ++e) {
    const double key = std::nearbyint(100 * levels[e - 1]);
    if (std::isfinite(key)) keys_.emplace_back(key, e);
  }
  // By key, then by row: the first of equal keys is the first matching row.
  std::sort(keys_.begin(), keys_.end());
}

int RowFinder::RowOf(double z) const {
  const double key = std::nearbyint(100 * z);
  if (!std::isfinite(key)) return 0;
  const auto it = std::lower_bound(keys_.begin(), keys_.end(), std::pair<double, int>{key, 0});
  return it != keys_.end() && it->first == key ? it->second : 0;
}

std::string ShortestText(double v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::vector<GridPoint> PrepareGridPoints(const TDatData& data, const double* levels, int nLevels,
                                         double selectedSpacing, double selectedNFactor,
                                         double unitSpacing, bool useY, double ySlice) {
  const RowFinder rows(levels, nLevels);
  const std::string yText = useY ? ShortestText(ySlice) : std::string();
  // Records may come from a read with another time step or IP window (the load scan
  // before a settings change): those of time-lapse and multi-window files are picked
  // again from the values they keep.
  const int timeStep = graphtype.TimeStep;
  const int window = std::max(1, std::min<int>(graphtype.TimeWindowIP, optrec.IPwindows));
  std::vector<GridPoint> points;
  points.reserve(data.points.size());
  for (std::size_t i = 0; i < data.points.size(); ++i) {
    const TDatPoint& d = data.points[i];
    if (useY && ShortestText(d.y) != yText) continue;
    if (!SelectedDatum(d.a, d.n, selectedSpacing, selectedNFactor, unitSpacing)) continue;
    const double rho = data.stepsPerPoint > 1 ? data.Value(i, timeStep) : d.value;
    const double ip = data.ipPerPoint > 1 ? data.IP(i, window) : d.ip;
    points.push_back({d.position, PlottedValue(rho, ip), rows.RowOf(d.depth)});
  }
  return points;
}

}  // namespace karvelo
