#pragma once

// From the data lines of a file (read once per drawing, input/DatReader.h) to what the
// pseudosection shows: the plotted quantity, the choice of data by spacing, n-factor
// and Y slice, and the grid row of each pseudo-depth.

#include <string>
#include <vector>

#include "input/DatReader.h"
#include "render/PseudoGrid.h"

namespace karvelo {

// The value shown for a datum: resistivity, or for an IP plot of a file with IP the IP
// value (divided by the resistivity when normalised), made absolute with AbsPlot.
double PlottedValue(double rho, double ip);

// Whether a datum passes the spacing and n-factor selections (0 meaning all), with the
// spacings compared in units of unitSpacing and the n-factors to 0.01.
bool SelectedDatum(double a, double n, double selectedSpacing, double selectedNFactor,
                   double unitSpacing);

// The 1-based row of the first level equal to z to 0.01, or 0 when none is.
class RowFinder {
 public:
  RowFinder(const double* levels, int nLevels);
  int RowOf(double z) const;

 private:
  std::vector<std::pair<double, int>> keys_;  // round(100 level), row; sorted by key
};

// The grid points of a drawing: the selected data in file order with their plotted
// value (PlottedValue of the current time step and IP window) and grid row. With useY, only data
// whose y reads the same as ySlice are kept.
std::vector<GridPoint> PrepareGridPoints(const TDatData& data, const double* levels, int nLevels,
                                         double selectedSpacing, double selectedNFactor,
                                         double unitSpacing, bool useY, double ySlice);

// The shortest decimal text of a value (the form in which Y slices are compared).
std::string ShortestText(double v);

}  // namespace karvelo
