#pragma once

// The section diagram: one plot of one data or model file (pseudosection, 1D or 2D
// model section), with its distance markers and reference (borehole) data.
//
// The diagram keeps every user-visible setting of its plot. Setting FileName loads the
// file into the shared plot state; SetProperties copies the diagram's settings into that
// state and GetProperties takes them back; Draw paints the plot on the diagram's canvas;
// Save writes the settings files beside the data file.
//
// Protocol of an owner (a diagram window, the console renderer): set FileName before
// every drawing (the one shared state may have been used by another diagram since),
// then GetProperties on the first drawing and SetProperties on every later one, then
// Draw. A fresh diagram holds zeros until its first GetProperties.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/PlotState.h"

namespace karvelo {

class Canvas;

// A distance marker: a labelled position along the profile.
class TDiagramMarker {
 public:
  TDiagramMarker() = default;
  TDiagramMarker(double position, int repr, std::string descr)
      : FPosition(position), FRepr(repr), FDescr(std::move(descr)) {}

  double Position() const { return FPosition; }
  void SetPosition(double v) { FPosition = v; }
  // Kind of marker (how it is represented on the plot).
  int Repr() const { return FRepr; }
  void SetRepr(int v) { FRepr = v; }
  const std::string& Descr() const { return FDescr; }
  void SetDescr(const std::string& v) { FDescr = v; }

  friend bool operator==(const TDiagramMarker&, const TDiagramMarker&) = default;

 private:
  double FPosition = 0;
  int FRepr = 0;
  std::string FDescr;
};

// One layer of a reference log: its lower depth, material and colour.
class TReferenceLayer {
 public:
  TReferenceLayer() = default;
  TReferenceLayer(double depth, int materialCode, std::string materialText, int materialColor)
      : FDepth(depth),
        FMaterialCode(materialCode),
        FMaterialText(std::move(materialText)),
        FMaterialColor(materialColor) {}

  void Assign(const TReferenceLayer& source) { *this = source; }

  double Depth() const { return FDepth; }
  void SetDepth(double v) { FDepth = v; }
  int MaterialCode() const { return FMaterialCode; }
  void SetMaterialCode(int v) { FMaterialCode = v; }
  const std::string& MaterialText() const { return FMaterialText; }
  void SetMaterialText(const std::string& v) { FMaterialText = v; }
  int MaterialColor() const { return FMaterialColor; }
  void SetMaterialColor(int v) { FMaterialColor = v; }

  friend bool operator==(const TReferenceLayer&, const TReferenceLayer&) = default;

 private:
  double FDepth = 0;
  int FMaterialCode = 0;
  std::string FMaterialText;
  int FMaterialColor = 0;
};

// Reference data at one position (a borehole, a test pit): method, groundwater level
// and the layers found. The layers belong to the item; Assign copies them deeply.
class TReferenceData {
 public:
  TReferenceData() = default;

  void Assign(const TReferenceData& source) { *this = source; }

  double Position() const { return FPosition; }
  void SetPosition(double v) { FPosition = v; }
  double Angle() const { return FAngle; }
  void SetAngle(double v) { FAngle = v; }
  const std::string& Method() const { return FMethod; }
  void SetMethod(const std::string& v) { FMethod = v; }
  double Gwl() const { return FGwl; }
  void SetGwl(double v) { FGwl = v; }
  // A groundwater level is present.
  bool GWlData() const { return FGWlData; }
  void SetGWlData(bool v) { FGWlData = v; }
  bool RefData() const { return FRefData; }
  void SetRefData(bool v) { FRefData = v; }
  std::vector<TReferenceLayer>& Layers() { return FLayers; }
  const std::vector<TReferenceLayer>& Layers() const { return FLayers; }

  friend bool operator==(const TReferenceData&, const TReferenceData&) = default;

 private:
  double FPosition = 0;
  double FAngle = 0;
  std::string FMethod;
  double FGwl = 0;
  bool FGWlData = false;
  bool FRefData = false;
  std::vector<TReferenceLayer> FLayers;
};

inline constexpr int RhoLimitCount = LimitSets * LimitsPerSet;

class TSectionDiagram {
 public:
  // Asks the user for the kind of plot (CurrentPrompts().AskPlotType) and takes the
  // current folder as the launch and data folder.
  TSectionDiagram();
  TSectionDiagram(const TSectionDiagram&) = delete;
  TSectionDiagram& operator=(const TSectionDiagram&) = delete;
  ~TSectionDiagram() = default;

  // Paints the diagram on Canvas (Width x Height) through the registered renderers and
  // turns their failures into messages (see core/DrawRegistry.h).
  void Draw();
  void Resize(int aWidth, int aHeight);
  void SetProperties();
  void GetProperties();
  // Writes the diagram-limits, colour-limits, settings and reference files.
  void Save();

  // ---- Drawing target ----
  karvelo::Canvas* Canvas() const { return FCanvas; }
  void SetCanvas(karvelo::Canvas* c) { FCanvas = c; }
  int Width() const { return FWidth; }
  void SetWidth(int v) { FWidth = v; }
  int Height() const { return FHeight; }
  void SetHeight(int v) { FHeight = v; }

  // ---- File ----
  const std::string& FileName() const { return FFileName; }
  // Loads the file (and its settings files) into the shared plot state. A relative name
  // is made absolute first: loading changes the current folder.
  void SetFileName(const std::string& v);
  const std::string& RhoFilename() const { return FRhoFilename; }
  void SetRhoFilename(const std::string& v);
  const std::string& ModelPath() const { return FModelPath; }
  void SetModelPath(const std::string& v);

  // ---- Kind of plot ----
  TDiagramType DiagramType() const { return FDiagramType; }
  void SetDiagramType(TDiagramType v) { FDiagramType = v; }
  TInterpolationType Interpolation() const { return FIntType; }
  void SetInterpolation(TInterpolationType v);
  TModelType Model() const { return FModelType; }
  void SetModel(TModelType v);

  // ---- File information ----
  const std::string& Header() const { return FHeader; }
  void SetHeader(const std::string& v);
  const std::string& Date() const { return FDate; }
  void SetDate(const std::string& v);
  const std::string& ArrayType() const { return FArrayType; }
  void SetArrayType(const std::string& v);
  const std::string& ArrayTypeStr() const { return FArrayTypeStr; }
  void SetArrayTypeStr(const std::string& v);
  std::uint8_t ArrayCode() const { return FArrayCode; }
  void SetArrayCode(std::uint8_t v);
  bool ModSelFlag() const { return FModSelFlag; }
  void SetModSelFlag(bool v) { FModSelFlag = v; }
  std::uint8_t IPflag() const { return FIPflag; }
  void SetIPflag(std::uint8_t v) { FIPflag = v; }
  std::uint8_t IPwindows() const { return FIPwindows; }
  void SetIPwindows(std::uint8_t v) { FIPwindows = v; }
  std::uint8_t NormalisedIP() const { return FNormalisedIP; }
  void SetNormalisedIP(std::uint8_t v) { FNormalisedIP = v; }
  std::uint8_t TimeWindowIP() const { return FTimeWindowIP; }
  void SetTimeWindowIP(std::uint8_t v) { FTimeWindowIP = v; }
  std::uint8_t IPplot() const { return FIPplot; }
  void SetIPplot(std::uint8_t v) { FIPplot = v; }
  std::uint8_t TimeSteps() const { return FTimeSteps; }
  void SetTimeSteps(std::uint8_t v) { FTimeSteps = v; }
  // Time step plotted; 0 is the difference plot.
  std::uint8_t TimeStepPlot() const { return FTimeStepPlot; }
  void SetTimeStepPlot(std::uint8_t v) { FTimeStepPlot = v; }

  // ---- Plot switches (each mirrors the global of the same name) ----
  bool PlotDots() const { return FPlotDots; }
  void SetPlotDots(bool v);
  bool KiloOhmm() const { return FKiloOhmm; }
  void SetKiloOhmm(bool v);
  const std::string& DistUnit() const { return FDistUnit; }
  void SetDistUnit(const std::string& v);
  bool PlotLegend() const { return FPlotLegend; }
  void SetPlotLegend(bool v);
  bool NoDepth() const { return FNoDepth; }
  void SetNoDepth(bool v);
  bool NoDist() const { return FNoDist; }
  void SetNoDist(bool v);
  bool NoInfo() const { return FNoInfo; }
  void SetNoInfo(bool v);
  bool PlotDataPts() const { return FPlotDataPts; }
  void SetPlotDataPts(bool v);
  bool PlotCross() const { return FPlotCross; }
  void SetPlotCross(bool v);
  bool PlotTopo() const { return FPlotTopo; }
  void SetPlotTopo(bool v);
  bool PlotLvl() const { return FPlotLvl; }
  void SetPlotLvl(bool v);
  bool PlotRef() const { return FPlotRef; }
  void SetPlotRef(bool v);
  bool PlotMark() const { return FPlotMark; }
  void SetPlotMark(bool v);
  bool SquareModel() const { return FSquareModel; }
  void SetSquareModel(bool v);
  bool SquarePlot() const { return FSquarePlot; }
  void SetSquarePlot(bool v);

  // ---- Axes ----
  double SectionStart() const { return FSectionStart; }
  void SetSectionStart(double v);
  double SectionEnd() const { return FSectionEnd; }
  void SetSectionEnd(double v);
  double SectionLabel() const { return FSectionLabel; }
  void SetSectionLabel(double v);
  double DepthStart() const { return FDepthStart; }
  void SetDepthStart(double v);
  double DepthEnd() const { return FDepthEnd; }
  void SetDepthEnd(double v);
  double DepthLabel() const { return FDepthLabel; }
  void SetDepthLabel(double v);
  double XYRatio() const { return FXYRatio; }
  void SetXYRatio(double v);

  const std::string& LeftDirectionLabel() const { return FLeftDirLabel; }
  void SetLeftDirectionLabel(const std::string& v);
  const std::string& RightDirectionLabel() const { return FRightDirLabel; }
  void SetRightDirectionLabel(const std::string& v);
  const std::string& DistanceLabel() const { return FDistLabel; }
  void SetDistanceLabel(const std::string& v);
  const std::string& DepthScaleLabel() const { return FDepthSclLabel; }
  void SetDepthScaleLabel(const std::string& v);
  const std::string& LegendLabel() const { return FLegendLabel; }
  void SetLegendLabel(const std::string& v);

  // ---- Colour scale ----
  double RhoMin() const { return FRhoMin; }
  void SetRhoMin(double v);
  double RhoMax() const { return FRhoMax; }
  void SetRhoMax(double v);
  double RhoLabel() const { return FRhoLabel; }
  void SetRhoLabel(double v);
  double IPMin() const { return FIPMin; }
  void SetIPMin(double v);
  double IPMax() const { return FIPMax; }
  void SetIPMax(double v);
  double IPLabel() const { return FIPLabel; }
  void SetIPLabel(double v);
  TRhoInterpolation RhoInterpolation() const { return FRhoInt; }
  void SetRhoInterpolation(TRhoInterpolation v) { FRhoInt = v; }
  // Colour limit k (0..24) of column 0..2: reads the shared state, writes both the
  // diagram's copy and the shared state. Indices out of range read 0 and write nothing.
  double RhoLimit(int column, int k) const;
  void SetRhoLimit(int column, int k, double v);
  // The diagram's own copy of all 75 limits.
  const std::array<double, RhoLimitCount>& RhoLimits() const { return FRhoLimit; }

  // ---- Results of drawing ----
  int DiagramTop() const { return FDiagramTop; }
  int DiagramBottom() const { return FDiagramBottom; }
  // The last drawing failed; Draw draws nothing while this is set.
  bool Exception() const { return FExceptionFlag; }
  void SetException(bool v) { FExceptionFlag = v; }

  // ---- Lists (owned; editors work on copies and assign them back) ----
  std::vector<TDiagramMarker>& Markers() { return FMarkers; }
  const std::vector<TDiagramMarker>& Markers() const { return FMarkers; }
  std::vector<TReferenceData>& ReferenceData() { return FReferenceData; }
  const std::vector<TReferenceData>& ReferenceData() const { return FReferenceData; }

 private:
  friend bool LoadInf(TSectionDiagram& d, const std::string& baseName);

  void LoadSequence(const std::string& name);
  bool LoadModelFile(const std::string& path);
  bool LoadDataFile(const std::string& extUpper);
  void ReadSettingsAfterScan(bool model);
  bool DrawType(TDiagramType type);
  void CopyDrawingResults();
  void PassReferenceColumns() const;

  karvelo::Canvas* FCanvas = nullptr;
  int FWidth = 0, FHeight = 0;
  std::string FFileName;
  std::string FRhoFilename, FModelPath;
  TDiagramType FDiagramType = dtPseudo;
  TInterpolationType FIntType = itLinear;
  TModelType FModelType = mtFirst;
  std::string FHeader, FDate, FArrayType;
  std::uint8_t FArrayCode = 0;
  bool FModSelFlag = false;
  std::uint8_t FIPflag = 0, FIPwindows = 0;
  std::uint8_t FNormalisedIP = 0, FTimeWindowIP = 0, FIPplot = 0;
  std::uint8_t FTimeSteps = 0, FTimeStepPlot = 0;
  bool FPlotDots = false, FKiloOhmm = false;
  std::string FDistUnit;
  bool FPlotLegend = false, FNoDepth = false, FNoDist = false, FNoInfo = false;
  bool FPlotDataPts = false, FPlotCross = false, FPlotTopo = false, FPlotLvl = false;
  bool FPlotRef = false, FPlotMark = false, FSquareModel = false;
  double FSectionStart = 0, FSectionEnd = 0, FSectionLabel = 0;
  double FDepthStart = 0, FDepthEnd = 0, FDepthLabel = 0;
  std::string FLeftDirLabel, FRightDirLabel;
  std::string FArrayTypeStr;
  double FRhoMax = 0, FRhoMin = 0, FRhoLabel = 0;
  TRhoInterpolation FRhoInt = riLog;
  std::array<double, RhoLimitCount> FRhoLimit{};
  double FIPMax = 0, FIPMin = 0, FIPLabel = 0;
  int FDiagramTop = 0, FDiagramBottom = 0;
  bool FSquarePlot = false;
  double FXYRatio = 0;
  std::string FDistLabel, FDepthSclLabel, FLegendLabel;
  bool FExceptionFlag = false;
  std::vector<TDiagramMarker> FMarkers;
  std::vector<TReferenceData> FReferenceData;
};

}  // namespace karvelo
