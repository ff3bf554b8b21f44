#include "render/Zohdy1D.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "input/QvMath.h"

namespace karvelo {

namespace {

// ---- Filters ---------------------------------------------------------------------------------

constexpr std::array<double, 11> kSchlumberger11 = {0.004046, -0.024243, 0.097107, -0.37759,
                                                    1.358412, -2.96084,  1.84873,  0.647103,
                                                    0.38766,  -0.022258, 0.041873};

constexpr std::array<double, 19> kSchlumberger19 = {
    -0.0003216, 0.00190463,  -0.00599074, 0.01384932,  -0.02748647, 0.05186135, -0.10119309,
    0.22329813, -0.59399277, 1.65463068,  -2.99681171, 1.3690832,   0.99627084, 0.30171582,
    0.09012,    0.01404316,  0.00906965,  -0.00102152, 0.00097112};

constexpr std::array<double, 9> kWenner9 = {0.00257, -0.00671, -0.03122, 0.41603, -1.65153,
                                            1.4234,  0.69796,  0.11018,  0.03932};

const std::array<TForwardFilter, ForwardFilterCount> kFilters = {
    TForwardFilter{1.651842934, 57.41990902, kSchlumberger11},
    TForwardFilter{1.616925462, 596.6710957, kSchlumberger19},
    TForwardFilter{1.821797073, 36.64375746, kWenner9}};

// exp(x), with exponents below -20 taken as a vanishing exponential.
double Decay(double x) {
  return x < -20 ? 0.0 : std::exp(x);
}

double ClampRho(double rho) {
  if (std::isnan(rho)) return ZohdyRhoMin;
  return std::clamp(rho, ZohdyRhoMin, ZohdyRhoMax);
}

// ---- Curves in log-log -----------------------------------------------------------------------

// A natural cubic spline through (ln a, ln rho) that is evaluated at spacings within
// its knots (an abscissa outside is held at the nearest knot).
class LogLogCurve {
 public:
  void Set(std::span<const double> spacing, std::span<const double> rho) {
    n_ = static_cast<int>(spacing.size());
    x_.resize(spacing.size());
    y_.resize(spacing.size());
    y2_.resize(spacing.size());
    h_.resize(spacing.size());
    for (std::size_t i = 0; i < spacing.size(); ++i) {
      x_[i] = std::log(spacing[i]);
      y_[i] = std::log(std::max(rho[i], 1e-30));
    }
    SplineSetup(n_, x_.data(), y_.data(), y2_.data(), h_.data());
  }
  // Sets the knots from a geometric series of spacings: a0 * ratio^k.
  void SetGeometric(double a0, double ratio, std::span<const double> rho) {
    spacing_.resize(rho.size());
    double a = a0;
    for (double& s : spacing_) {
      s = a;
      a *= ratio;
    }
    Set(spacing_, rho);
  }
  double At(double spacing) const {
    const double xq = std::clamp(std::log(spacing), x_.front(), x_.back());
    bool outside = false;
    const double v = SplineValue(n_, x_.data(), y_.data(), y2_.data(), h_.data(), xq, outside);
    return std::exp(v);
  }

 private:
  int n_ = 0;
  std::vector<double> x_, y_, y2_, h_, spacing_;
};

// ---- The inversion of one sounding -------------------------------------------------------------

// The layers a sounding is inverted on, and the spacing each layer's resistivity is
// tied to.
struct SoundingLayers {
  int first = 0;  // the grid layer of the model's first layer
  TLayeredModel model;
  std::vector<double> spacing;  // per model layer
  bool pointPerLayer = false;   // as many layers as sounding points
};

SoundingLayers LayersOf(const TSounding& s, const TLayerGrid& grid) {
  SoundingLayers L;
  const int n = s.Points();
  const double top = s.Level.front(), bottom = s.Level.back();
  const double tol = 1e-9 * std::max(1.0, std::fabs(bottom));
  const auto& b = grid.Boundaries;
  const auto lo = std::lower_bound(b.begin(), b.end(), top - tol);
  const auto hi = std::upper_bound(b.begin(), b.end(), bottom + tol);
  L.first = static_cast<int>(lo - b.begin());
  const std::vector<double> used(lo, std::max(lo, hi));
  const std::size_t layers = used.size() + 1;
  L.model.Rho.assign(layers, 0.0);
  L.model.Thickness.resize(used.size());
  for (std::size_t j = 0; j < used.size(); ++j) {
    L.model.Thickness[j] = j == 0 ? used[0] : used[j] - used[j - 1];
  }
  L.pointPerLayer = static_cast<int>(layers) == n;
  L.spacing.resize(layers);
  const double h = grid.HalfSpacing;
  for (std::size_t j = 0; j < layers; ++j) {
    if (L.pointPerLayer) {
      L.spacing[j] = s.Spacing[j];
    } else if (j == 0) {
      L.spacing[j] = s.Spacing.front();
    } else {
      // The spacing that looks down to the layer's top boundary.
      L.spacing[j] = std::clamp(2 * (used[j - 1] + h / 2), s.Spacing.front(), s.Spacing.back());
    }
  }
  return L;
}

// The forward response of a model over the sounding's spacing range, kept as a curve.
class Response {
 public:
  Response(const TSounding& s, int filter) : filter_(filter) {
    const TForwardFilter& f = ForwardFilter(filter);
    a0_ = s.Spacing.front();
    const double span = std::log(s.Spacing.back() / a0_) / std::log(f.Ratio);
    const int steps = static_cast<int>(std::ceil(span - 1e-9));
    values_.resize(static_cast<std::size_t>(std::max(2, steps + 1)));
    ratio_ = f.Ratio;
  }
  void Compute(const TLayeredModel& m) {
    Forward1D(m, a0_, filter_, values_);
    curve_.SetGeometric(a0_, ratio_, values_);
  }
  double At(double spacing) const { return curve_.At(spacing); }

 private:
  int filter_;
  double a0_ = 1, ratio_ = 1;
  std::vector<double> values_;
  LogLogCurve curve_;
};

struct Trial {
  TLayeredModel model;
  std::vector<double> computed;
  double misfit = 0;
};

void Evaluate(const TSounding& s, Response& response, Trial& t) {
  response.Compute(t.model);
  t.computed.resize(s.Rhoa.size());
  for (std::size_t i = 0; i < s.Rhoa.size(); ++i) t.computed[i] = response.At(s.Spacing[i]);
  t.misfit = RelativeRmsMisfit(s.Rhoa, t.computed);
}

bool ValidSounding(const TSounding& s) {
  const std::size_t n = s.Rhoa.size();
  if (n < 2 || s.Level.size() != n || s.Spacing.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (!(s.Spacing[i] > 0) || !(s.Rhoa[i] > 0) || !std::isfinite(s.Rhoa[i])) return false;
    if (i > 0 && !(s.Spacing[i] > s.Spacing[i - 1])) return false;
  }
  return true;
}

}  // namespace

// ---- Forward calculation ---------------------------------------------------------------------

const TForwardFilter& ForwardFilter(int number) {
  if (number < 1 || number > ForwardFilterCount) number = WennerFilter;
  return kFilters[static_cast<std::size_t>(number - 1)];
}

double ResistivityTransform(const TLayeredModel& model, double lambda) {
  const int n = model.Layers();
  if (n == 0) return 0;
  const auto& rho = model.Rho;
  const auto& t = model.Thickness;
  if (n == 1) return rho[0];
  const auto last = static_cast<std::size_t>(n - 1);
  const double k = (rho[last - 1] - rho[last]) / (rho[last - 1] + rho[last]);
  const double e = Decay(-2 * lambda * t[last - 1]);
  double T = rho[last - 1] * (1 - k * e) / (1 + k * e);
  for (std::size_t i = last - 1; i-- > 0;) {
    const double ei = Decay(-2 * lambda * t[i]);
    const double w = rho[i] * (1 - ei) / (1 + ei);
    T = (w + T) / (1 + w * T / (rho[i] * rho[i]));
  }
  return T;
}

void Forward1D(const TLayeredModel& model, double firstSpacing, int filter, std::span<double> out) {
  const TForwardFilter& f = ForwardFilter(filter);
  const std::size_t taps = f.Coefficients.size();
  const std::size_t samples = out.size() + taps - 1;
  // The transform samples, from the largest abscissa down.
  std::array<double, 64> local{};
  std::vector<double> heap;
  double* T = local.data();
  if (samples > local.size()) {
    heap.resize(samples);
    T = heap.data();
  }
  double lambda = f.Shift / firstSpacing;
  for (std::size_t m = 0; m < samples; ++m) {
    T[m] = ResistivityTransform(model, lambda);
    lambda /= f.Ratio;
  }
  for (std::size_t k = 0; k < out.size(); ++k) {
    double sum = 0;
    for (std::size_t i = 0; i < taps; ++i) sum += f.Coefficients[i] * T[k + i];
    out[k] = sum;
  }
}

std::vector<double> Forward1D(const TLayeredModel& model, double firstSpacing, int count,
                              int filter) {
  std::vector<double> out(static_cast<std::size_t>(std::max(0, count)));
  Forward1D(model, firstSpacing, filter, out);
  return out;
}

// ---- Layer grid ------------------------------------------------------------------------------

namespace {

// Layer centres: half a layer above the first boundary, midway between boundaries, and
// half a layer below the last one.
std::vector<double> CentreDepths(const std::vector<double>& b) {
  const std::size_t m = b.size() + 1;
  std::vector<double> d(m);
  if (b.size() == 1) {
    d[0] = b[0] / 2;
    d[1] = 1.5 * b[0];
    return d;
  }
  d[0] = (3 * b[0] - b[1]) / 2;
  for (std::size_t i = 1; i + 1 < m; ++i) d[i] = (b[i - 1] + b[i]) / 2;
  d[m - 1] = (3 * b[m - 2] - b[m - 3]) / 2;
  return d;
}

}  // namespace

TLayerGrid MakeLayerGrid(std::span<const double> levels, double halfSpacing, bool gridModel) {
  TLayerGrid grid;
  grid.HalfSpacing = halfSpacing;
  const std::size_t n = levels.size();
  if (n == 0 || !(halfSpacing > 0) || !std::isfinite(halfSpacing)) return grid;
  std::vector<double> b;
  if (!gridModel) {
    for (std::size_t i = 0; i + 1 < n; ++i) b.push_back((levels[i] + levels[i + 1]) / 2);
  } else {
    const double first = (levels[0] + halfSpacing) / 2;
    const double last = levels[n - 1] - halfSpacing / 2;
    double step = halfSpacing;
    if ((last - first) / step > MaxModelLayers - 2) step = (last - first) / (MaxModelLayers - 2);
    // The boundaries down to the first one past `last`; that one only ends the grid.
    for (double x = first;; x += step) {
      b.push_back(x);
      if (x > last) break;
    }
    b.pop_back();
  }
  if (b.empty()) {
    grid.Depths.assign(1, levels[0]);
    return grid;
  }
  grid.Depths = CentreDepths(b);
  grid.Boundaries = std::move(b);
  return grid;
}

// ---- Inversion -------------------------------------------------------------------------------

double RelativeRmsMisfit(std::span<const double> observed, std::span<const double> computed) {
  const std::size_t n = std::min(observed.size(), computed.size());
  if (n == 0) return 0;
  double sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double r = (observed[i] - computed[i]) / observed[i];
    sum += r * r;
  }
  return std::sqrt(sum / static_cast<double>(n));
}

TInversion1D Invert1D(const TSounding& sounding, const TLayerGrid& grid, double targetMisfit,
                      int filter) {
  TInversion1D result;
  if (!ValidSounding(sounding)) return result;
  SoundingLayers layers = LayersOf(sounding, grid);
  LogLogCurve observed;
  observed.Set(sounding.Spacing, sounding.Rhoa);
  const std::size_t nl = layers.spacing.size();
  std::vector<double> target(nl);
  for (std::size_t j = 0; j < nl; ++j) {
    target[j] = layers.pointPerLayer ? sounding.Rhoa[j] : observed.At(layers.spacing[j]);
    layers.model.Rho[j] = ClampRho(target[j]);
  }

  Response response(sounding, filter);
  Trial best{layers.model, {}, 0};
  Evaluate(sounding, response, best);
  int forwards = 1;
  Trial next;
  for (int it = 0; it < ZohdyMaxIterations && best.misfit >= targetMisfit && best.misfit > 0;
       ++it) {
    // `response` still holds the curve of `best`.
    next.model = best.model;
    for (std::size_t j = 0; j < nl; ++j) {
      const double calc = layers.pointPerLayer ? best.computed[j] : response.At(layers.spacing[j]);
      next.model.Rho[j] = ClampRho(best.model.Rho[j] * target[j] / calc);
    }
    Evaluate(sounding, response, next);
    ++forwards;
    if (next.misfit > best.misfit) break;  // worse: the previous model stands
    const double improvement = (best.misfit - next.misfit) / best.misfit;
    std::swap(best, next);
    if (improvement < ZohdyMinImprovement) break;
  }
  result.Valid = true;
  result.Model = std::move(best.model);
  result.FirstLayer = layers.first;
  result.Computed = std::move(best.computed);
  result.Misfit = best.misfit;
  result.Forwards = forwards;
  return result;
}

TInversion1D InvertSmoothed(const TSounding& sounding, const TInversion1D& first,
                            const TLayerGrid& grid, double targetMisfit, int filter) {
  if (!first.Valid) return TInversion1D{};
  TSounding curve = sounding;
  curve.Rhoa = first.Computed;
  return Invert1D(curve, grid, targetMisfit, filter);
}

double GridLayerValue(const TInversion1D& inversion, int layer) {
  const int n = inversion.Model.Layers();
  if (n == 0) return 0;
  const int j = std::clamp(layer - inversion.FirstLayer, 0, n - 1);
  return inversion.Model.Rho[static_cast<std::size_t>(j)];
}

}  // namespace karvelo
