#pragma once

// The soundings of a 1D model section: every column of the pseudosection grid read as a
// vertical electrical sounding.
//
// The grid is the pseudosection's (columns a quarter of the unit spacing wide, one row
// per distinct pseudo-depth, duplicates resolved by PlotWhich, empty column positions
// interpolated between known ones and each row's gaps bridged when they are no wider
// than the overlap allows) but without the vertical fill: a sounding holds only what was
// measured at its column or beside it. Rows are kept as sorted cell lists rather than a
// dense window, so a profile of any length is one grid and a sounding near where a
// window would have ended keeps its neighbours.

#include <cstddef>
#include <span>
#include <vector>

#include "input/DatReader.h"
#include "render/Zohdy1D.h"

namespace karvelo {

struct TSoundingGridLayout {
  double Start = 0;        // x of column 1
  double ColumnWidth = 0;  // distance between columns
  double UnitSpacing = 0;  // u of the gap rule g * u / 2 <= overlap
  double Overlap = 0;
  int PlotWhich = 2;  // duplicates: 0 the first value, 1 the last, 2 the running average
};

class TSoundingColumns {
 public:
  // Places the data on the grid rows `levels` (increasing pseudo-depths; a datum belongs
  // to the row whose level equals its pseudo-depth to 0.01). Data at no row are counted
  // in Unplaced() and left out; data left of column 1 or without a positive apparent
  // resistivity are left out as well.
  void Build(std::span<const TDatPoint> data, std::span<const double> levels,
             const TSoundingGridLayout& placing);

  int Unplaced() const { return unplaced_; }
  // The largest column that received a datum (0 when none did).
  int HighestColumn() const { return highest_; }

  // The x of column j: its data's position, or interpolated between the nearest columns
  // with data on either side. False for a column before the first or after the last.
  bool ColumnX(int j, double& x) const;

  // The sounding of column j: the rows with a value at the column (its own cell or one
  // bridged across a row gap), each with the row's level, the electrode spacing of the
  // row's data and the value. Columns must be asked for in increasing order after Build
  // (each row keeps its place); Rewind starts over.
  void SoundingAt(int j, TSounding& sounding);
  void Rewind();

 private:
  struct Cell {
    int column;
    double value;
  };
  struct Known {
    int column;
    double x;
  };
  TSoundingGridLayout placing_;
  std::vector<double> levels_;
  std::vector<double> rowSpacing_;
  std::vector<std::vector<Cell>> rows_;
  std::vector<std::size_t> cursor_;
  std::vector<Known> known_;
  int highest_ = 0;
  int unplaced_ = 0;
};

}  // namespace karvelo
