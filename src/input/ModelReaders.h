#pragma once

// Inverted resistivity models (RHO and RH2 files) and their side files: the RMS file of
// headerless models, the ALT elevation file and the label files PSEUDO.TXT and
// MODSEC.TXT.
//
// A model file comes in three dialects, told apart by its first line:
//   "RHO-2"   non-uniform columns, each with its own ground elevation (an RH2 model);
//   "RHO-1"   a layered model with a header line;
//   other     a layered model without header: the first line is already data.
// "IP" after the header keyword (any case) says that IP values follow the resistivities.
//
// The scan walks the file once to learn its extents and value ranges and leaves them in
// the shared plot state; the model plots read the cells themselves when they draw.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/PlotState.h"

namespace karvelo {

enum class TModelDialect { Plain, Rho1, Rho2 };

// "plain", "RHO-1" or "RHO-2".
const char* ModelDialectName(TModelDialect dialect);

// Everything the last model scan learnt, in one place (the plot-state items it also
// sets are named beside each field). Reset at the start of every scan.
struct TModelScan {
  std::string Path;  // the file actually opened (empty when not found)
  bool Found = false;
  TModelDialect Dialect = TModelDialect::Plain;
  std::uint8_t IPflag = 0;  // optrec.IPflag for the header dialects
  int nLayers = 0;          // layered dialects: the layer count of the first line
  int nColumns = 0;         // model columns read (RHO-2: filled columns)
  double FirstX = 0;
  double LastX = 0;
  // Distance between the first two columns; valid only when positive and finite.
  double ColumnWidth = 0;
  bool ColumnWidthValid = false;
  double TopDepth = ModelScanMin;        // graphtype.Dhigh
  double BottomDepth = PositiveScanMax;  // graphtype.Dlow
  double ValueMin = ModelScanMin;        // ScanResults.RhoDataMin
  double ValueMax = PositiveScanMax;     // ScanResults.RhoDataMax
  bool HasElevations = false;            // RHO-2 only
  double ElevationMin = ModelScanMin;    // TopoList.TopoZMin (RHO-2 only)
  double ElevationMax = ModelScanMax;    // TopoList.TopoZMax (RHO-2 only)
  std::array<double, 3> RMS{};           // optrec.RMS, 1-based
  std::string InversionText;             // optrec.InversionTxtStr
  bool LabelsRead = false;               // the file carried a "/MODSEC.TXT:" label block
};

extern TModelScan LastModelScan;

// ModelPath + fileName; a fileName that is already an absolute path stands as it is.
std::string ModelFilePath(const std::string& fileName);

// Scans the model file ModelPath + fileName (found without regard to letter case).
// Returns whether the file was found. Fills firstX, lastX and columnWidth, and sets
// graphtype.Dhigh/Dlow (depth range), ScanResults.RhoDataMin/Max (value range),
// TopoList.TopoZMin/Max (RHO-2 only), optrec.IPflag, NewRhoFormat, RMS,
// InversionTxtStr, Rho2Format, ModelLabels, ModelLabelsRead and LastModelScan.
// `report`: show the missing-file message and the messages about a model that cannot
// be laid out (no readable layer line, fewer than two columns, columns that do not
// advance from left to right).
bool ScanModelFile(const std::string& fileName, bool report, double& firstX, double& lastX,
                   double& columnWidth);

// The scan for the 1D section: a RHO-2 file is only recognised, the value minimum
// ignores values that are not positive, and the model labels are read into ModelLabels
// alone (ModelLabelsRead and CurrentLabels stay as they are).
bool ScanModelFile1D(const std::string& fileName, bool report, double& firstX, double& lastX,
                     double& columnWidth);

// The RMS side file of a headerless model: ModelPath + the model file name without its
// last four characters + ".RMS". Returns the RMS (0 when the file is missing or the
// value does not convert); a second line becomes optrec.InversionTxtStr.
double ReadRmsFile(const std::string& modelFileName);

// The ALT elevation file optrec.DataDir + optrec.FileName + ".ALT": x must increase
// strictly. True when the whole file was read; false when it is missing (nothing
// changed) or out of order (reported).
bool ScanAltFile(double& xMin, double& xMax, double& zMin, double& zMax);

// PSEUDO.TXT into DataLabels (method, distance, depth, resistivity) and MODSEC.TXT into
// ModelLabels (all five), looked for in the current folder, then in dataFolder, then in
// programFolder. False when no file was found.
bool ReadPseudoLabels(const std::string& dataFolder, const std::string& programFolder);
bool ReadModsecLabels(const std::string& dataFolder, const std::string& programFolder);

// Writes PSEUDO.TXT from DataLabels and MODSEC.TXT from ModelLabels into `folder`
// (the program folder, or "" for the current folder), each atomically. Reports and
// returns false when a file cannot be written.
bool WriteLabelFiles(const std::string& folder);

// The title line of a label block or label file: a blank and the trimmed line.
std::string LabelMethodLine(std::string_view line);

// The right end of a model's plot range: firstX plus the smallest whole number of column
// widths that reaches lastX. False (xPlotMax = lastX) when the width is not positive,
// so a broken model can never make a caller step without end.
bool ModelPlotEnd(double firstX, double lastX, double columnWidth, double& xPlotMax);

}  // namespace karvelo
