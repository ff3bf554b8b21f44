#pragma once

// One-dimensional resistivity inversion of a vertical electrical sounding, after
// Zohdy's iterative method: the sounding's layers sit at fixed depths tied to its
// spacings, and each layer's resistivity is scaled by the ratio of the observed to the
// computed apparent resistivity at that spacing until the computed curve fits.
//
// The computed curve comes from the resistivity transform of the layered earth
// (Pekeris' recurrence) convolved with a linear digital filter. Three filters are kept:
// two for the Schlumberger array (an 11- and a 19-point one) and one for the Wenner
// array; the Wenner filter is the one the Wenner soundings of the 1D section use.
//
// Everything here is plain arithmetic on plain records: no plot state, no files.

#include <span>
#include <vector>

namespace karvelo {

// ---- Forward calculation ---------------------------------------------------------------------

// A linear digital filter for the resistivity transform: the apparent resistivity at
// spacing a0 * Ratio^(k-1) is sum_i Coefficients[i] * T(lambda_(k+i)), where the transform
// is sampled at lambda_m = Shift / (a0 * Ratio^(m-1)), m = 1, 2, ...
struct TForwardFilter {
  double Ratio = 1;
  double Shift = 1;
  std::span<const double> Coefficients;
};

inline constexpr int SchlumbergerFilter = 1;      // 11 points, spacing = AB/2
inline constexpr int SchlumbergerLongFilter = 2;  // 19 points, spacing = AB/2
inline constexpr int WennerFilter = 3;            // 9 points, spacing = a
inline constexpr int ForwardFilterCount = 3;

// The filter of the given number (1..3); any other number gives the Wenner filter.
const TForwardFilter& ForwardFilter(int number);

// A horizontally layered earth: resistivities from the top down, the last one the
// half-space below, and the thicknesses of all layers but the last.
struct TLayeredModel {
  std::vector<double> Rho;
  std::vector<double> Thickness;  // Rho.size() - 1 entries

  int Layers() const { return static_cast<int>(Rho.size()); }
};

// The resistivity transform T(lambda) of the model, by the recurrence from the bottom
// layer up. An exponent below -20 counts as a vanishing exponential.
double ResistivityTransform(const TLayeredModel& model, double lambda);

// Apparent resistivities of the model at out.size() spacings, the first at
// firstSpacing and each further one Ratio times the one before, for the array the
// filter stands for.
void Forward1D(const TLayeredModel& model, double firstSpacing, int filter, std::span<double> out);
std::vector<double> Forward1D(const TLayeredModel& model, double firstSpacing, int count,
                              int filter = WennerFilter);

// ---- Layer grid ------------------------------------------------------------------------------

// The layers of every model of one build: boundaries between them and the centre depth
// of each (the depths written at the head of the model file). Layer 1 runs from the
// surface to Boundaries[0], layer k from Boundaries[k-2] to Boundaries[k-1], and the last
// layer is the half-space below the last boundary.
struct TLayerGrid {
  std::vector<double> Boundaries;  // Layers() - 1 depths, increasing
  std::vector<double> Depths;      // Layers() centre depths
  double HalfSpacing = 0;          // h: half the data's unit spacing

  int Layers() const { return static_cast<int>(Depths.size()); }
};

// The most layers a grid gets: the model sections keep up to this many per column.
inline constexpr int MaxModelLayers = 1000;

// The layer grid from the pseudo-depths of the grid rows (increasing) and the
// half-spacing h. Plain models put a boundary half-way between consecutive levels; grid
// models put the first boundary at (level_1 + h) / 2 and further ones h apart, down past
// level_n - h / 2 (with a wider step if that would give more than MaxModelLayers).
// Empty when there are no levels or h is not positive.
TLayerGrid MakeLayerGrid(std::span<const double> levels, double halfSpacing, bool gridModel);

// ---- Inversion -------------------------------------------------------------------------------

inline constexpr double ZohdyTargetMisfit = 0.02;
inline constexpr double ZohdyMinImprovement = 0.05;  // relative, per iteration
inline constexpr double ZohdyRhoMin = 0.001;
inline constexpr double ZohdyRhoMax = 1e6;
// A guard only: the iteration stops long before when it improves by 5 % or more each
// time, unless the starting misfit is enormous.
inline constexpr int ZohdyMaxIterations = 100;

// One sounding: its points in increasing depth, each with the pseudo-depth of its grid
// row, its electrode spacing and its apparent resistivity (positive).
struct TSounding {
  std::vector<double> Level;
  std::vector<double> Spacing;
  std::vector<double> Rhoa;

  int Points() const { return static_cast<int>(Rhoa.size()); }
};

struct TInversion1D {
  bool Valid = false;  // false for a sounding that cannot be inverted (fewer than 2 points)
  TLayeredModel Model;
  // The grid layer that the model's first layer stands for (0-based); model layer j
  // covers grid layer FirstLayer + j, its first layer everything above and its last
  // everything below.
  int FirstLayer = 0;
  std::vector<double> Computed;  // the model's apparent resistivity at each sounding point
  double Misfit = 0;             // relative RMS difference of Computed from the sounding
  int Forwards = 0;              // forward calculations made
};

// Inverts the sounding on the grid's boundaries that lie within its pseudo-depth range.
// Starts from the observed curve and iterates until the misfit is below targetMisfit or
// improves by less than 5 %; an iteration that makes it worse is undone. Resistivities
// stay within ZohdyRhoMin .. ZohdyRhoMax.
TInversion1D Invert1D(const TSounding& sounding, const TLayerGrid& grid,
                      double targetMisfit = ZohdyTargetMisfit, int filter = WennerFilter);

// The smoothed model: the inversion of the first model's own computed curve with half
// the target misfit.
TInversion1D InvertSmoothed(const TSounding& sounding, const TInversion1D& first,
                            const TLayerGrid& grid, double targetMisfit = ZohdyTargetMisfit / 2,
                            int filter = WennerFilter);

// The resistivity the inverted model gives grid layer `layer` (0-based).
double GridLayerValue(const TInversion1D& inversion, int layer);

// sqrt(sum(((observed - computed) / observed)^2) / n).
double RelativeRmsMisfit(std::span<const double> observed, std::span<const double> computed);

}  // namespace karvelo
