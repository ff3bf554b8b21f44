#pragma once

// The one process-wide plot state that every reader fills and every renderer reads.
// It lives in a single object (`gPlotState`) so that tests can put it back to its
// defaults with ResetPlotState(); the familiar record and switch names are references
// into that object, so code reads `optrec.FileName` or `PlotDots` directly.
//
// Arrays that the file formats number from 1 (IP windows, markers, topography points)
// keep that numbering: element 0 exists but is not used.

#include <array>
#include <cstdint>
#include <string>

#include "base/Colour.h"
#include "base/ShortString.h"

namespace karvelo {

// ---- Sentinels -------------------------------------------------------------------------
inline constexpr double SentinelMissing = -1e38;    // missing value, "*" on a data line
inline constexpr double ModelScanMin = 1e38;        // initial minimum of a model scan
inline constexpr double ModelScanMax = -1e38;       // initial maximum of a model scan
inline constexpr double DataScanMin = 1e37;         // initial minimum of a data scan
inline constexpr double DataScanMax = -1e37;        // initial maximum of a data scan
inline constexpr double PositiveScanMax = 1e-38;    // initial maximum for positive model values
inline constexpr double InfiniteDistance = 1e35;    // distance to an undefined electrode
inline constexpr double UndefinedThreshold = 1e30;  // |x| >= this counts as undefined
inline constexpr double NoFactor = 1e20;            // factor or distance that cannot be formed

inline bool IsUndefined(double v) {
  return v >= UndefinedThreshold || v <= -UndefinedThreshold;
}

// ---- Enumerations ----------------------------------------------------------------------
enum TDiagramType { dtPseudo, dtModsec1D, dtModsec2D };
enum TInterpolationType { itLinear, itSpline };
enum TRhoInterpolation { riLinear, riLog };
enum TModelType { mtFirst, mtSmoothed, mtFirstGrid, mtSmoothedGrid };
enum TPlotTypeIP { ptResistivity, ptIP };

// ---- Capacities ------------------------------------------------------------------------
inline constexpr int MaxLineValues = 50;
inline constexpr int MaxScanList = 200;
inline constexpr int MaxTopoPoints = 6001;
inline constexpr int MaxColours = 26;
inline constexpr int LimitsPerSet = 25;
inline constexpr int LimitSets = 3;
inline constexpr int MaxMarkers = 100;
inline constexpr int MaxIPWindows = 255;

// ---- Electrode-array codes -------------------------------------------------------------
inline constexpr int ArrayCodeCount = 17;
inline constexpr int NoArrayCode = 16;
inline constexpr int NoDatType = 255;
extern const std::array<const char*, ArrayCodeCount> ArrayNames;
extern const std::array<std::uint8_t, ArrayCodeCount> ArrayDatType;
extern const std::array<const char*, ArrayCodeCount> ArrayAbbrev;

// The internal code of a DAT array-type number: the first code from 1 upwards whose
// DAT type matches; 16 (no array) when none does.
int ArrayCodeOfDatType(int datType);

// ---- Records ---------------------------------------------------------------------------
struct TGraphType {
  bool FirstTime = true;
  bool ModSelFlag = false;
  std::uint8_t IPflag = 0;
  std::uint8_t NormalisedIP = 0;
  std::uint8_t TimeWindowIP = 1;
  bool PlotInifiniteBottomLayer = false;
  std::string TextStrIP = "Chargeability [mV/V]";
  std::uint8_t TimeStep = 1;
  bool DifferencePlot = false;
  std::uint8_t Xsize = 87;
  std::uint8_t Ysize = 20;
  double XYfactor = 1.0;
  std::uint8_t Yspace = 4;
  std::uint8_t Xlegend = 87;
  std::uint8_t Ylegend = 1;
  std::uint8_t Yblank = 8;
  int TicY = 2;
  std::uint8_t TextSpace1 = 5;
  std::uint8_t TextSpace2 = 8;
  std::string FontName = "Arial";
  int FontSize = 12;
  std::uint8_t SmallFontSize = 5;
  bool AdjustDiagramWidth = true;
  bool TransparentLayerLabels = false;
  bool DottedLevelMarker = false;
  std::uint8_t PlotWhich = 2;  // 0 first, 1 last, 2 average of duplicates
  bool PlotFrameEtc = true;
  double Lmin = 0, Lmax = 500, Llabel = 50;
  double Dmin = 0, Dmax = 120;
  double Dhigh = 0, Dlow = 0;
  double Dlabel = 20;
  double rhomin = 10, rhomax = 100, rholabel = 10;
  double ipmin = 0, ipmax = 0, iplabel = 0;
  std::uint16_t mincol = 0, maxcol = 11;
  std::array<TColor, MaxColours> Colour{};
  std::uint16_t clabel = 1;
  // Three limit sets of 25: resistivity, IP (or time-lapse difference), normalised IP.
  std::array<double, LimitSets * LimitsPerSet> RhoLimit{32,  46,  68,   100,  150,  220, 320,
                                                        460, 680, 1000, 1500, 2200, 3200};
  std::array<std::int8_t, LimitsPerSet> ErrLimit{-40, -32, -24, -16, -8, 0, 8,
                                                 16,  24,  32,  40,  48, 56};
  ShortString<8> GeoLimitFil = "GEOLIMIT";
  ShortString<8> RhoLimitFil = "ISOLIMIT";
  ShortString<4> GeoLimitExt = ".GLF";
  ShortString<4> RhoLimitExt = ".RLF";
  ShortString<4> ErrLimitExt = ".ELF";
  ShortString<13> DataPntFil;
};

struct TOptRec {
  bool TriPotential = false;
  ShortString<2> DataDisk;
  std::string DataDir;
  std::string FileName = "DEMODATA";
  ShortString<4> DataExt = ".DAT";
  ShortString<80> Comment;
  ShortString<30> Date;
  bool XYscan = false;
  ShortString<30> ArrayType;
  std::uint8_t ArrayCode = NoArrayCode;
  std::uint8_t SubArrayCode = 0;
  std::uint8_t IPflag = 0;  // 0 none, 1 one window, 11 several windows
  std::uint8_t IPwindows = 0;
  double IPdelay = 0;
  std::array<double, MaxIPWindows + 1> IPtime{};  // 1-based
  double Ton = 0, Toff = 0;
  std::uint8_t TimeSteps = 1;
  std::uint8_t ErrorEstimates = 0;
  std::uint8_t ErrorEstimateType = 0;
  int nPseudoDuplicates = 0;
  double overlap = 20.0;
  bool amin0 = false;
  bool SquareData = false;
  bool AbsPlot = false;
  bool NewRhoFormat = false;
  std::array<double, 3> RMS{};  // 1-based: [1] resistivity, [2] IP
  std::string InversionTxtStr;
  ShortString<10> LeftDirect, RightDirect;
  int nMarkers = 0;
  std::array<double, MaxMarkers + 1> Xmark{};           // 1-based
  std::array<std::uint8_t, MaxMarkers + 1> PosFlag{};   // 1-based
  std::array<ShortString<20>, MaxMarkers + 1> MarkStr;  // 1-based
};

struct TTextRec {
  std::string MethodStr;   // plot title / method line
  std::string DistStr;     // distance axis label
  std::string DepthStr;    // depth axis label
  std::string AltStr;      // elevation axis label
  std::string ResStr;      // legend label for ohm-m
  std::string KiloResStr;  // legend label for kohm-m
  std::string DeptStr;     // producer line of the title block
};

inline constexpr const char* ProducerLine = "KARVELO - Vastrum Instrument AB";

// The labels a pseudosection uses unless a label file was read.
TTextRec EnglishPseudoLabels();
// A label record as created at start-up: only the producer line is set.
TTextRec DefaultLabels();

struct TPlotSwitches {
  bool PlotDots = false;
  bool KiloOhmm = false;
  ShortString<2> DistUnit = "m";
  bool PlotLegend = true;
  bool NoDepth = false;
  bool NoDist = false;
  bool NoInfo = false;
  bool PlotDataPts = true;
  bool PlotCross = false;
  bool PlotTopo = true;
  bool PlotLvl = true;
  bool PlotRef = true;
  bool PlotMark = true;
  bool SquareModel = false;
  bool SquarePlot = false;
  bool SplineInterpolation = false;
};

// What the DAT reader learnt about the current file. Counts of data are 32-bit: real
// surveys exceed 32,767 data.
struct TScanResults {
  int nDataPoints = 0;
  std::array<double, MaxScanList> SpacingList{};
  int nSpacings = 0;
  std::array<double, MaxScanList> NFactorList{};
  int nNFactors = 0;
  std::array<double, MaxScanList> PseudoDepthList{};
  int nPseudoDepths = 0;
  std::array<double, MaxScanList> YList{};
  int nYValues = 0;
  double UnitSpacing = 0;
  double SpacingMin = 0, SpacingMax = 0;
  double XPlotMin = 0, XPlotMax = 0;
  double RhoDataMin = 0, RhoDataMax = 0;
  double IPDataMin = 0, IPDataMax = 0;
  double IPRatioMin = 0, IPRatioMax = 0;
  double YRange = 0;
};

struct TTopoList {
  std::array<double, MaxTopoPoints + 1> TopoSurfaceX{};  // 1-based
  std::array<double, MaxTopoPoints + 1> TopoHorizX{};    // 1-based
  std::array<double, MaxTopoPoints + 1> TopoZ{};         // 1-based
  int nTopoPoints = 0;                                   // 0: no topography
  std::uint8_t TopoDistanceType = 0;  // 1 horizontal positions given, 2 along the surface
  double TopoXFirst = 0, TopoXLast = 0;
  double TopoZMin = 0, TopoZMax = 0;
};

struct TLineBuffer {
  std::array<double, MaxLineValues> LineValues{};
  std::string LastLine;
  bool ReadOK = false;
};

struct PlotState {
  TGraphType graph;
  TOptRec opt;
  TTextRec currentLabels = DefaultLabels();
  TTextRec dataLabels = DefaultLabels();
  TTextRec modelLabels = DefaultLabels();
  TPlotSwitches switches;

  std::uint8_t ModelKind = 0;
  bool IsDatFile = false;
  std::string DataFileExt = ".DAT";
  ShortString<4> ModelFileExt = ".RHO";
  std::string ModelPath;
  std::string RhoFilename;
  std::string LaunchDir;
  std::string DataFolder;
  bool XIsFirstElectrode = false;
  bool Rho2Format = false;
  bool ModelLabelsRead = false;

  TScanResults scan;
  TTopoList topo;
  TLineBuffer line;
};

extern PlotState gPlotState;

// Puts every item of the plot state back to its start-up value.
void ResetPlotState();

// The records and switches under their familiar names.
inline TGraphType& graphtype = gPlotState.graph;
inline TOptRec& optrec = gPlotState.opt;
inline TTextRec& CurrentLabels = gPlotState.currentLabels;
inline TTextRec& DataLabels = gPlotState.dataLabels;
inline TTextRec& ModelLabels = gPlotState.modelLabels;

inline bool& PlotDots = gPlotState.switches.PlotDots;
inline bool& KiloOhmm = gPlotState.switches.KiloOhmm;
inline ShortString<2>& DistUnit = gPlotState.switches.DistUnit;
inline bool& PlotLegend = gPlotState.switches.PlotLegend;
inline bool& NoDepth = gPlotState.switches.NoDepth;
inline bool& NoDist = gPlotState.switches.NoDist;
inline bool& NoInfo = gPlotState.switches.NoInfo;
inline bool& PlotDataPts = gPlotState.switches.PlotDataPts;
inline bool& PlotCross = gPlotState.switches.PlotCross;
inline bool& PlotTopo = gPlotState.switches.PlotTopo;
inline bool& PlotLvl = gPlotState.switches.PlotLvl;
inline bool& PlotRef = gPlotState.switches.PlotRef;
inline bool& PlotMark = gPlotState.switches.PlotMark;
inline bool& SquareModel = gPlotState.switches.SquareModel;
inline bool& SquarePlot = gPlotState.switches.SquarePlot;
inline bool& SplineInterpolation = gPlotState.switches.SplineInterpolation;

inline std::uint8_t& ModelKind = gPlotState.ModelKind;
inline bool& IsDatFile = gPlotState.IsDatFile;
inline std::string& DataFileExt = gPlotState.DataFileExt;
inline ShortString<4>& ModelFileExt = gPlotState.ModelFileExt;
inline std::string& ModelPath = gPlotState.ModelPath;
inline std::string& RhoFilename = gPlotState.RhoFilename;
inline std::string& LaunchDir = gPlotState.LaunchDir;
inline std::string& DataFolder = gPlotState.DataFolder;
inline bool& XIsFirstElectrode = gPlotState.XIsFirstElectrode;
inline bool& Rho2Format = gPlotState.Rho2Format;
inline bool& ModelLabelsRead = gPlotState.ModelLabelsRead;

inline TScanResults& ScanResults = gPlotState.scan;
inline TTopoList& TopoList = gPlotState.topo;
inline TLineBuffer& LineBuffer = gPlotState.line;

// Scan lists treat two values as one entry when they agree to 0.01.
bool SameListEntry(double a, double b);

// Inserts v into an ascending scan list unless an equal entry (to 0.01) is there.
// Returns false, leaving the list unchanged, when the list already holds
// MaxScanList entries and v is new: the caller keeps the data point and reports.
bool AddToScanList(std::array<double, MaxScanList>& list, int& count, double v);

}  // namespace karvelo
