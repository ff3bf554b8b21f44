#pragma once

// The four small settings files that sit beside a data or model file and carry its
// diagram from one run to the next, all named after the file's base name:
//
//   .inf  title, date, array name, direction labels, distance markers, model file
//   .ref  reference (borehole) data with their layers
//   .GLF  distance and depth axes (diagram limits)
//   .RLF  colour limits
//
// Companions are found without regard to letter case. Every file is written atomically
// (a failed write leaves the old file as it was). A settings file that cannot be read or
// written never stops a load or a drawing: defaults are used and the user is told once.
// Missing files are normal and are not reported.

#include <string>

#include "core/SctDraw.h"
#include "input/QvMath.h"  // FormatGeneral: the "%g" of positions and depths

namespace karvelo {

// Line break of every settings file written: the files travel between this program,
// Res2dinv and the original Windows tools, which all write CR LF. Readers take any.
inline constexpr const char* SettingsLineBreak = "\r\n";

// The shortest text that reads back as exactly x.
std::string FormatShortest(double x);

// ---- INF --------------------------------------------------------------------------------

// optrec.DataDir + optrec.FileName + ".inf" into optrec (title, date, array name and,
// for files that are not DAT files, the array code; direction labels; markers) and, for
// data files, the model file line into ModelPath, RhoFilename and ModelFileExt.
// `modelFile`: the loaded file is itself a model file. Returns true when the file was read.
bool ReadInfIntoState(bool modelFile);

// Writes the INF of the current file from optrec, unless it exists already and `force`
// is false. Returns true when a file was written.
bool WriteDefaultInf(bool force = false);

// optrec.DataDir + baseName + ".inf" into the diagram: Header, Date, ArrayType,
// direction labels and (when at least one was read) Markers. True when the file exists.
bool LoadInf(TSectionDiagram& d, const std::string& baseName);
// The diagram's INF. Returns false (after telling the user) when it cannot be written.
bool SaveInf(const TSectionDiagram& d, const std::string& baseName);

// ---- REF --------------------------------------------------------------------------------

// optrec.DataDir + baseName + ".ref" replaces `items` when the file exists.
bool LoadReference(std::vector<TReferenceData>& items, const std::string& baseName);
// Writes the REF file; with no items, deletes an existing one.
bool SaveReference(const std::vector<TReferenceData>& items, const std::string& baseName);

// ---- GLF --------------------------------------------------------------------------------

// Reads graphtype's six axis values from optrec.DataDir + optrec.FileName + ".GLF".
// The file counts only when all six numbers read and Lmin < Lmax. Otherwise, when
// `allowDefaults`, computes default axes from the data extent. True when the file counted.
bool ReadDiagramLimits(bool allowDefaults, double xPlotMax, double xPlotMin, double dLow,
                       double unitSpacing);
bool WriteDiagramLimits();

// ---- RLF --------------------------------------------------------------------------------

// Reads graphtype.RhoLimit from optrec.DataDir + optrec.FileName + ".RLF". The file counts
// when the first and the last limit of the plotted column differ. Otherwise computes
// default limits from the value ranges (logarithmic when `allowLog` and the minimum is
// positive) and writes them. True when the file counted.
bool ReadColourLimits(bool allowLog, double rhoDataMin, double rhoDataMax, double ipDataMin,
                      double ipDataMax, double ipRatioMin, double ipRatioMax);
bool WriteColourLimits();

// The smallest whole number k >= 1 of steps with start + k * step >= target
// (step > 0, all finite); start + k * step is the axis end that covers target.
double StepsToReach(double start, double step, double target);

// Problems reading or writing a settings file during a load are told once per file;
// this forgets which were told (tests, or a new session of the console tool).
void ForgetSettingsFileProblems();

// While false, loads and saves write and delete no settings file at all (the console
// tool's --info inspects a file without leaving anything beside it). The writers then
// report success, so a load takes the same path as in the desktop program.
inline bool SettingsWritesEnabled = true;

}  // namespace karvelo
