#pragma once

// The DAT data file (Res2dinv format, 2-D profiles and the 3-D grid variant): its
// header, its data lines with the plot position and pseudo-depth of every measurement,
// and the topography section after the data.
//
// Loading a file runs two passes over it: ScanDatHeader fills the file's header items
// of the plot state and asks whether resistivity or IP is plotted; ScanDatFile reads
// the data and fills the scan results and the topography list. A drawing that needs
// every measurement reads them once with ReadDatData (or takes them from ScanDatFile)
// and works on the plain records instead of reading the file again.
//
// No function here raises for bad input: failures are a false result, a message
// through CurrentPrompts() where the loader reports them, and the line that failed in
// LastDatProblem().

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/Files.h"
#include "base/PlotState.h"

namespace karvelo {

// ---- Messages ---------------------------------------------------------------------------
inline constexpr const char* ResistivityOrIPQuestion =
    "The data file contains resistivity and IP data!\n\rSelect <Yes> to plot resistivity or "
    "<No> to plot IP data.";
std::string InitialPartErrorText(const std::string& path);    // header pass of the data scan
std::string DataPartErrorText(const std::string& path);       // a bad data line
std::string TopographyErrorText(const std::string& path);     // a bad topography line
std::string TooManyTopographyPointsText();                    // more than 6001 points
std::string TopographySlopeErrorText(int first, int second);  // rise beyond the cable length
// More than 200 distinct values of one scan list; `what` names the list.
std::string ScanListFullText(const std::string& what, const std::string& path);

// ---- Where reading went wrong -------------------------------------------------------------
enum class TDatSection { None, Header, Data, Topography };

// The line a reader stopped at, so a console tool can add "line N: <text>" after the
// message it showed. Kept until the next load of a file.
struct TDatProblem {
  TDatSection section = TDatSection::None;
  std::string path;      // the file, when the reader knew it
  int lineNumber = 0;    // 1-based; 0 when no line is concerned
  std::string lineText;  // the offending line as it stands in the file
  std::string reason;    // what was expected there, in plain words
  bool Any() const { return section != TDatSection::None; }
};
const TDatProblem& LastDatProblem();
void ClearDatProblem();

// ---- Header -------------------------------------------------------------------------------
// Everything the header of a DAT file says, in file terms.
struct TDatHeader {
  std::string title;
  bool threeD = false;
  int nx = 0, ny = 0;              // 3-D grid size
  int arrayType = 0;               // DAT array number (1, 2, 3, 6, 7, 11, 15)
  int arrayCode = -1;              // internal code; -1 until read
  int subArrayType = -1;           // general array: DAT number of the sub-array
  int measurementType = 0;         // general array: 1 values are resistances
  int declaredPoints = 0;          // number of data points the header states
  int xLocationType = 1;           // 2-D: 0 the x column is the first electrode
  int ipFlag = 0;                  // low byte of the IP flag (3-D: 1 for "IP present")
  bool ipFlagRead = false;         // the header got as far as the IP flag
  std::string ipQuantity, ipUnit;  // IP files: quantity and unit lines
  bool ipTimingRead = false;       // the IP timing line(s) were readable
  int ipWindows = 0;
  double ipDelay = 0;
  std::array<double, MaxIPWindows + 1> ipTime{};  // 1-based window lengths
  double ton = 0, toff = 0;
  int timeSteps = 1;
  bool errorEstimates = false;
  int errorEstimateType = 0;
  bool remoteElectrodes = false;  // a remote-electrode block followed the array type
};

// Reads the header from the start of `file` and leaves the file at the first data
// line. False (with LastDatProblem() naming the line) when it cannot be read.
bool ReadDatHeader(TextLines& file, TDatHeader& header);

// The file of the plot state: optrec.DataDisk + DataDir + FileName + DataExt.
std::string DatFilePath();

// Called by ScanDatHeader when it has read a file, so the diagram layer can write the
// default settings file beside it. Nothing is called while no writer is installed.
using DefaultInfWriter = void (*)();
void SetDefaultInfWriter(DefaultInfWriter writer);

// Reads the header of the file of the plot state into optrec (and graphtype.IPflag,
// graphtype.TextStrIP). When the file holds IP and `mayAsk` is set, asks
// ResistivityOrIPQuestion: Yes plots resistivity, No plots IP. False when the file is
// missing or its header unreadable; no message either way.
bool ScanDatHeader(bool mayAsk);
inline bool ScanDatHeader() {
  return ScanDatHeader(graphtype.FirstTime);
}

// Reads past the header of an open file (from its start): gives the declared number of
// data points and the measurement type, and sets XIsFirstElectrode. False on an input
// error.
bool SkipDatHeader(TextLines& file, int& declaredPoints, int& measurementType);

// ---- Data lines ---------------------------------------------------------------------------
// How the data lines of the current file are laid out and which value is plotted.
struct TDataLayout {
  int arrayCode = NoArrayCode;
  bool hasY = false;               // 3-D files: a y column after x
  bool xIsFirstElectrode = false;  // x gives the first electrode, not the midpoint
  int measurementType = 0;         // general array: 1 values are resistances
  int timeSteps = 1;               // values on a general-array line
  bool errors = false;             // an error estimate follows each value
  int ipValues = 0;                // IP values on a line (0: IP not read)
  int timeStep = 1;                // plotted time step; 0 the difference plot
  int ipWindow = 1;                // plotted IP window, 1-based
};

// The layout from the plot state: optrec (ArrayCode, TimeSteps, ErrorEstimates,
// IPflag, IPwindows), graphtype (TimeStep, TimeWindowIP) and XIsFirstElectrode.
TDataLayout CurrentDataLayout(bool hasY, int measurementType, bool readIP);

enum class TDataLineStatus {
  Valid,    // a measurement
  Invalid,  // cannot be read completely
  Closing,  // every number on it is zero: the data have ended
  Blank,    // nothing on the line
  EndOfFile
};

// One data line, placed. Values that are absent are SentinelMissing.
struct TDataLine {
  double x = 0;         // x location of the line (general array: midpoint of the extremes)
  double position = 0;  // plot position
  double y = 0;         // second horizontal coordinate (3-D files)
  double a = 0;         // electrode spacing (general array: effective spacing)
  double n = 1;         // n-factor
  double depth = 0;     // pseudo-depth
  double value = SentinelMissing;                     // value of the plotted time step
  double ip = SentinelMissing;                        // IP value of the plotted window
  double error = SentinelMissing;                     // error estimate of the plotted value
  double k = 0;                                       // geometric factor (general array)
  int steps = 0;                                      // values in stepValues (general array)
  std::array<double, MaxIPWindows + 1> stepValues{};  // 1-based, resistances times k
  int windows = 0;                                    // values in ipValues
  std::array<double, MaxIPWindows + 1> ipValues{};    // 1-based
};

// Parses one line of text by `layout`. On Invalid, `reason` (when given) says why.
TDataLineStatus ParseDataLine(std::string_view text, const TDataLayout& layout, TDataLine& line,
                              std::string* reason = nullptr);

// Reads the next line of `file` as a data line of the current file's layout. True for
// a measurement; `status` tells a closing line of zeros, a blank line and the end of
// the file from a bad line.
bool ReadDataLine(TextLines& file, bool hasY, int measurementType, bool readIP, TDataLine& line,
                  TDataLineStatus* status = nullptr);

// The plotted value of a general-array line from its time-step values: the value of
// `timeStep` (limited to the steps present), or for 0 the relative change
// 2 (last - first) / (last + first).
double SelectStepValue(const double* stepValues1Based, int steps, int timeStep);

// ---- Topography ---------------------------------------------------------------------------
// Reads the topography section that follows the data into TopoList. True when the file
// has usable topography; `error` is set when a point line could not be read.
bool ReadTopographySection(TextLines& file, bool& error);

// Whether the last data scan found usable topography (the plots draw it only then).
inline bool TopoPresent = false;

// ---- Data scan and records ----------------------------------------------------------------
// One measurement ready for plotting.
struct TDatPoint {
  double x = 0;                    // x location of the line
  double position = 0;             // plot position
  double y = 0;                    // second horizontal coordinate (3-D files)
  double a = 0;                    // electrode spacing
  double n = 1;                    // n-factor
  double depth = 0;                // pseudo-depth
  double value = SentinelMissing;  // value of the time step plotted when read
  double ip = SentinelMissing;     // IP value of the window plotted when read
  double error = SentinelMissing;
  double k = 0;  // geometric factor of a general-array line
  int lineNumber = 0;
};

// Every measurement of one file, read once.
struct TDatData {
  std::string path;
  std::vector<TDatPoint> points;
  int stepsPerPoint = 0;           // time-step values kept per point (time-lapse files)
  std::vector<double> stepValues;  // point i's steps at [i * stepsPerPoint, ...)
  int ipPerPoint = 0;              // IP values kept per point
  std::vector<double> ipValues;    // point i's windows at [i * ipPerPoint, ...)
  bool complete = true;            // false when a bad line ended the data early

  void Clear();
  // The value of point i for another time step (0: difference plot).
  double Value(std::size_t i, int timeStep) const;
  // The IP value of point i in window `window` (1-based; limited to the windows kept).
  double IP(std::size_t i, int window) const;
};

// Scans the data of the file of the plot state into ScanResults and TopoList (and,
// when `data` is given, keeps every measurement there). Shows the messages of a bad
// header pass, a bad data line, a bad topography section and full scan lists. True
// when the data have more than one distinct pseudo-depth.
bool ScanDatFile(TDatData* data = nullptr);

// Reads every valid data line of the file of the plot state (header as IsDatFile says)
// into `data`, by the same rules as the scan but without touching the scan results or
// the topography list and without messages. False when the file cannot be opened or
// its header pass fails; a bad line ends the data with data.complete false.
bool ReadDatData(TDatData& data);

}  // namespace karvelo
