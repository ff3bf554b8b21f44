#pragma once

// Where a measurement is drawn: the plot position along the profile and the
// pseudo-depth of one four-electrode reading, with the geometric factor, effective
// spacing and signed n-factor that a general electrode layout implies.
//
// Electrodes are C1, C2 (current) and P1, P2 (potential). A coordinate of 1e30 or more
// in magnitude means the electrode is absent (a pole at infinity).

#include "base/PlotState.h"

namespace karvelo {

// Position of an electrode absent from a layout the program places itself.
inline constexpr double AbsentElectrode = 1e38;

// MedianDepth's answer when no pair of electrodes has a defined distance: there is no
// bracket to search, so there is no depth. Callers treat the line as unplaceable.
inline constexpr double NoInvestigationDepth = SentinelMissing;

// Positions along the profile of the four electrodes of one reading.
struct TElectrodeLine {
  double C1 = AbsentElectrode;
  double C2 = AbsentElectrode;
  double P1 = AbsentElectrode;
  double P2 = AbsentElectrode;
};

// One electrode in the plane: x along the profile, y the second horizontal coordinate
// (0 for every electrode of a 2-D file).
struct TElectrodePoint {
  double x = AbsentElectrode;
  double y = 0;
};

struct TElectrodeLayout {
  TElectrodePoint C1, C2, P1, P2;
};

struct TPlotPlace {
  double position = 0;  // plot position along the profile
  double depth = 0;     // pseudo-depth
};

struct TArrayFactors {
  double k = 0;  // geometric factor (0 when an electrode pair coincides)
  double a = 0;  // effective electrode spacing
  double n = 0;  // n-factor, signed by the side the potential pair lies on
};

struct TMedianDepth {
  double depth = NoInvestigationDepth;
  double residual = NoInvestigationDepth;
  bool Found() const { return depth != NoInvestigationDepth; }
};

// True when the coordinate stands for an electrode that is present.
inline bool ElectrodeDefined(double coordinate) {
  return !IsUndefined(coordinate);
}

// x moved from the first electrode of the layout to the array's midpoint. For the
// reverse pole-dipole (negative n) the dipole lies to the left of the pole, so the
// first electrode is P2 and the shift uses |n|.
double ShiftToMidpoint(double x, double a, double n, int arrayCode);

// Electrode positions of the layouts with an n column (Dipole-dipole 5, Pole-dipole 6,
// Schlumberger 10) around t. A reverse pole-dipole (n < 0) mirrors the dipole: the pole
// lies |n|·a right of P1 and P2 one spacing left of it. Other codes give no electrodes.
TElectrodeLine PlaceElectrodes(double t, double a, double n, int arrayCode);

// Plot position and pseudo-depth from the electrode positions: below the potential
// centre when the potential pair lies inside the current pair, otherwise halfway
// between the centres.
TPlotPlace CentreRule(const TElectrodeLine& e);

// Geometric factor, effective spacing and signed n-factor of an arbitrary layout.
TArrayFactors ArrayFactors(const TElectrodeLayout& e);

// Depth above which half of the signal of a homogeneous half-space originates, found by
// golden-section search; NoInvestigationDepth when no electrode distance is defined.
TMedianDepth MedianDepth(const TElectrodeLayout& e);

// The fraction of the signal of a homogeneous half-space that comes from above depth z,
// for the horizontal pair distances of a layout (undefined pairs 1e35). 0 when a
// distance is 0 or the layout has no signal.
double SignalFractionAbove(double z, double am, double an, double bm, double bn);

}  // namespace karvelo
