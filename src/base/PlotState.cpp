#include "base/PlotState.h"

#include <algorithm>
#include <cmath>

namespace karvelo {

const std::array<const char*, ArrayCodeCount> ArrayNames = {"Resistance",
                                                            "Wenner",
                                                            "Wenner-beta",
                                                            "Wenner-gamma",
                                                            "Pole-Pole",
                                                            "Dipole-dipole",
                                                            "Pole-dipole",
                                                            "Square-alpha",
                                                            "Square-beta",
                                                            "Square-gamma",
                                                            "Schlumberger",
                                                            "General electrode array",
                                                            "Tomography",
                                                            "Equatorial Dipole-Dipole",
                                                            "Voltage",
                                                            "Gradient array",
                                                            ""};

const std::array<std::uint8_t, ArrayCodeCount> ArrayDatType = {
    0,         1, NoDatType, NoDatType, 2,         3,         6,  NoDatType, NoDatType,
    NoDatType, 7, 11,        NoDatType, NoDatType, NoDatType, 15, NoDatType};

const std::array<const char*, ArrayCodeCount> ArrayAbbrev = {
    "RES", "WNA", "WNB", "WNG", "PPE", "DDP", "PDP", "SQA", "SQB",
    "SQG", "WSC", "GN4", "TOM", "EDD", "POT", "GRD", "XXX"};

int ArrayCodeOfDatType(int datType) {
  // Code 0 (resistance) is never matched: DAT files number the arrays from 1. 255 marks
  // arrays that have no DAT number, so it must not select one of them.
  if (datType == NoDatType) return NoArrayCode;
  for (int code = 1; code < NoArrayCode; ++code) {
    if (ArrayDatType[static_cast<std::size_t>(code)] == datType) return code;
  }
  return NoArrayCode;
}

TTextRec EnglishPseudoLabels() {
  return TTextRec{" PSEUDOSECTION",
                  "Distance[m]",
                  "Pseudodepth[m]",
                  "",
                  "Apparent resistivity[ohm-m]",
                  "Apparent resistivity[kohm-m]",
                  ProducerLine};
}

TTextRec DefaultLabels() {
  TTextRec r;
  r.DeptStr = ProducerLine;
  return r;
}

PlotState gPlotState;

void ResetPlotState() {
  gPlotState = PlotState{};
}

bool SameListEntry(double a, double b) {
  return std::nearbyint(a * 100.0) == std::nearbyint(b * 100.0);
}

bool AddToScanList(std::array<double, MaxScanList>& list, int& count, double v) {
  const auto end = list.begin() + count;
  // First entry not below v (to 0.01): either the same entry or the insertion point.
  auto it = std::find_if(list.begin(), end, [v](double e) { return SameListEntry(e, v) || e > v; });
  if (it != end && SameListEntry(*it, v)) return true;
  if (count >= MaxScanList) return false;
  std::copy_backward(it, end, end + 1);
  *it = v;
  ++count;
  return true;
}

}  // namespace karvelo
