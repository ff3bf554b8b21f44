#pragma once

// Reading a model file column by column while it is drawn. Only the column in hand is
// kept; the caller keeps the previous one when it needs it. Both file layouts come out
// as the same column record:
//
//   layered models ("RHO-1" with header, or the older headerless form) give every column
//   the file's N layer depths, which are the depths the layer values belong to (the
//   converters write the centre depth of each layer);
//   RHO-2 models ("RH2") give each column its own ground elevation and cells, each cell
//   with the depth of its lower boundary (the bottom cell has none).
//
// In both, layer k of a column has a value depth Centre[k] (where the smooth image puts
// its value) and spans from Boundary[k] to Boundary[k + 1] (where a block is drawn).

#include <string>
#include <vector>

#include "base/Files.h"

namespace karvelo {

// The most cells a RHO-2 column may have.
inline constexpr int MaxRh2Layers = 50;

struct TModelColumn {
  double X = 0;
  bool HasElevation = false;  // RHO-2 columns carry their ground elevation
  double Elevation = 0;
  std::vector<double> Centre;    // value depth of each layer, from the top
  std::vector<double> Boundary;  // Centre.size() + 1 entries: layer tops, then the last bottom
  std::vector<double> Value;     // the plotted quantity per layer; NaN where missing

  int Layers() const { return static_cast<int>(Value.size()); }
};

enum class TColumnStatus {
  Column,         // a column was read (a RHO-2 column may have no cells)
  End,            // the data have ended: end of file or a line that is no column
  ReadError,      // the file broke off or went wrong inside a column
  TooManyLayers,  // a RHO-2 column with more than MaxRh2Layers cells
};

// Which quantity of a cell is plotted.
enum class TModelQuantity { Resistivity, IP, NormalisedIP };

class TModelColumnReader {
 public:
  // Opens the model file and reads its header (and, for layered models, the layer
  // line). False when the file cannot be opened.
  bool Open(const std::string& path);

  bool IsRho2() const { return rho2_; }
  // The file holds IP values after the resistivities.
  bool HasIP() const { return hasIP_; }
  // Layered models: the layer line could not be read, so there are no columns.
  bool LayerLineBroken() const { return layerLineBroken_; }

  void SetQuantity(TModelQuantity q) { quantity_ = q; }

  TColumnStatus Next(TModelColumn& column);

 private:
  TColumnStatus NextLayered(TModelColumn& column);
  TColumnStatus NextRho2(TModelColumn& column);
  bool ReadLayerLine();
  double Plotted(double resistivity, double ip) const;

  // Free-format numbers: a layered record may run on over several lines.
  enum class Token { Number, Missing, Bad, End };
  Token NextNumber(double& value);
  void SkipRestOfLine() { loaded_ = false; }

  TextLines file_;
  bool rho2_ = false;
  bool hasIP_ = false;
  bool plain_ = false;  // the older headerless layout: a value of 0 is missing too
  bool layerLineBroken_ = false;
  bool started_ = false;  // RHO-2: the first block has been found
  TModelQuantity quantity_ = TModelQuantity::Resistivity;
  std::vector<double> depths_;  // layered models: the layer depths of the file

  std::string line_;
  std::size_t pos_ = 0;
  bool loaded_ = false;
};

// Value depths and layer spans of a layered model's depths (centre depths): layer k
// spans from its own depth to the next one's, the first from 0 and the last one layer
// thickness further down.
void LayeredSpans(const std::vector<double>& depths, std::vector<double>& boundary);

// Value depths and layer spans of a RHO-2 column from its cell bottoms (m - 1 of them
// for m cells): cell k spans from the bottom of cell k - 1 (0 for the first) to its own,
// the bottom cell one cell thickness further; each value sits at its cell's centre.
void CellSpans(const std::vector<double>& bottoms, std::vector<double>& centre,
               std::vector<double>& boundary);

}  // namespace karvelo
