#pragma once

// The diagram settings dialog: title texts, axes, colour limits, plot options, the model
// file, the default labels, and what to plot (resistivity or IP, time step, one spacing
// or n-level). One modal instance serves every diagram window: the window fills it, shows
// it and copies the values back on OK. A few controls act on the shared plot state at
// once, while the dialog is open.

#include <QDialog>
#include <string>
#include <vector>

#include "base/PlotState.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace karvelo::shell {

// Number of limit cells shown per grid.
inline constexpr int SettingsLimitCells = 11;

// A limit rounded to two significant digits, as the "Calculate" button writes it.
double RoundToTwoDigits(double v);

class TfrmSettings : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmSettings(QWidget* parent = nullptr);

  // ---- Properties read and written by the diagram window ----
  std::string Header() const;
  void SetHeader(const std::string& v);
  std::string Date() const;
  void SetDate(const std::string& v);
  std::string LeftDirection() const;
  void SetLeftDirection(const std::string& v);
  std::string RightDirection() const;
  void SetRightDirection(const std::string& v);
  std::string ArrayTypeStr() const;
  void SetArrayTypeStr(const std::string& v);
  std::string XLabel() const;
  void SetXLabel(const std::string& v);
  std::string DepthLabel() const;
  void SetDepthLabel(const std::string& v);
  std::string LegendLabel() const;
  void SetLegendLabel(const std::string& v);

  double MinDistInterval() const;
  void SetMinDistInterval(double v);
  double MaxDistInterval() const;
  void SetMaxDistInterval(double v);
  double LabelDistInterval() const;
  void SetLabelDistInterval(double v);
  double MinDepthInterval() const;
  void SetMinDepthInterval(double v);
  double MaxDepthInterval() const;
  void SetMaxDepthInterval(double v);
  double LabelDepthInterval() const;
  void SetLabelDepthInterval(double v);
  double MaxResLim() const;
  void SetMaxResLim(double v);
  double MinResLim() const;
  void SetMinResLim(double v);
  double ResLimInterval() const;
  void SetResLimInterval(double v);
  double XYRatio() const;
  void SetXYRatio(double v);
  TRhoInterpolation RhoInterpolation() const;
  void SetRhoInterpolation(TRhoInterpolation v);
  // Limit k (0..10) of grid `column` (0 resistivity, 1 IP or difference, 2 normalised IP);
  // a cell that is not a number reads 0.
  double Limit(int column, int k) const;
  void SetLimit(int column, int k, double v);

  bool PlotTopo() const;
  void SetPlotTopo(bool v);
  bool PlotRef() const;
  void SetPlotRef(bool v);
  bool NoInfo() const;
  void SetNoInfo(bool v);
  bool PlotLvl() const;
  void SetPlotLvl(bool v);
  bool PlotLegend() const;
  void SetPlotLegend(bool v);
  bool PlotDataPts() const;
  void SetPlotDataPts(bool v);
  bool PlotMark() const;
  void SetPlotMark(bool v);
  TModelType ModelType() const;
  void SetModelType(TModelType v);
  bool SquarePlot() const;
  void SetSquarePlot(bool v);
  std::string RhoFileName() const;
  void SetRhoFileName(const std::string& v);
  std::string ArrayType() const;
  void SetArrayType(const std::string& v);
  int ArrayCode() const;
  void SetArrayCode(int v);
  bool IPPlot() const;
  void SetIPPlot(bool v);
  bool NormalisedIP() const;
  void SetNormalisedIP(bool v);
  int TimeWindowIP() const;
  void SetTimeWindowIP(int v);
  int TimeStepPlot() const;
  void SetTimeStepPlot(int v);
  std::uint8_t IPFlag() const { return FIPFlag; }
  void SetIPFlag(std::uint8_t v) { FIPFlag = v; }
  // 1 when "Last" is checked, 0 for "First", otherwise 2 (average).
  int PlotWhich() const;

  // What showing the dialog does: fills the controls that follow the file loaded last
  // (array types, IP and time-step controls, page captions, title, hint, spacing and
  // n-level selection). Runs from showEvent; tests call it directly.
  void PrepareFromState();

  // "Calculate": fills one limits grid from the lowest and highest limit.
  void MakeLimits();
  // "Set as local default" / "Set as global default": writes the label files into the
  // current folder or the global label folder.
  void SetLabelDefaults(bool global);

  // ---- Controls (names are the dialog's own) ----
  QTabWidget* pgcSettings = nullptr;
  QPlainTextEdit* memHeader = nullptr;
  QLineEdit* edtDate = nullptr;
  QComboBox* cbLeftDirectionLabel = nullptr;
  QComboBox* cbRightDirectionLabel = nullptr;
  QLineEdit* edtArrayTypeStr = nullptr;
  QCheckBox* chbEditArrayType = nullptr;
  QComboBox* cboArrayType = nullptr;

  QLineEdit* edtMinDistInterval = nullptr;
  QLineEdit* edtMaxDistInterval = nullptr;
  QLineEdit* edtLabelDistInterval = nullptr;
  QLineEdit* edtMinDepthInterval = nullptr;
  QLineEdit* edtMaxDepthInterval = nullptr;
  QLineEdit* edtLabelDepthInterval = nullptr;
  QLineEdit* edtScale = nullptr;

  QLineEdit* edtLowResLim = nullptr;
  QLineEdit* edtHighResLim = nullptr;
  QLineEdit* edtResLimStep = nullptr;  // hidden
  QLabel* lblResLimStep = nullptr;
  QRadioButton* rbResLimLin = nullptr;
  QRadioButton* rbResLimLog = nullptr;
  QPushButton* btnApply = nullptr;
  QLabel* lblResLimits = nullptr;
  QLabel* lblIPLimits = nullptr;
  QTableWidget* stgResLimits = nullptr;
  QTableWidget* stgIPLimits = nullptr;
  QTableWidget* stgNIPLimits = nullptr;

  QCheckBox* chkTopograph = nullptr;
  QCheckBox* chkPlotLvl = nullptr;
  QCheckBox* chkRefData = nullptr;
  QCheckBox* chbTransparentLayerLabels = nullptr;
  QCheckBox* chkPlotCross = nullptr;
  QCheckBox* chkVertLine = nullptr;
  QCheckBox* chbAdjustLegend = nullptr;
  QCheckBox* chkNoText = nullptr;  // hidden
  QCheckBox* chkDots = nullptr;
  QRadioButton* rbnFirstDataPoint = nullptr;
  QRadioButton* rbnLastDataPoint = nullptr;
  QRadioButton* rbnAverageDataPoint = nullptr;

  QLineEdit* edtModel2DFile = nullptr;
  QPushButton* btnBrowseModel = nullptr;
  QRadioButton* rbContinous = nullptr;
  QRadioButton* rbRectangular = nullptr;
  QCheckBox* chbInfiniteBottomLayer = nullptr;
  QGroupBox* grpModelType = nullptr;  // hidden
  QRadioButton* rbMtFirst = nullptr;
  QRadioButton* rbMtSmoothed = nullptr;

  QGroupBox* grpPseudoLabels = nullptr;
  QGroupBox* grpModelLabels = nullptr;
  QLineEdit* edPseudoHeader = nullptr;
  QLineEdit* edPseudoDistance = nullptr;
  QLineEdit* edPseudoSpacing = nullptr;
  QLineEdit* edPseudoResistivity = nullptr;
  QLineEdit* edModelHeader = nullptr;
  QLineEdit* edModelDistance = nullptr;
  QLineEdit* edModelDepth = nullptr;
  QLineEdit* edModelLevel = nullptr;
  QLineEdit* edModelResistivity = nullptr;
  QPushButton* btSetLocal = nullptr;
  QPushButton* btSetGlobal = nullptr;

  QGroupBox* grpPlotType = nullptr;
  QRadioButton* rbResistivityPlot = nullptr;
  QRadioButton* rbIPplot = nullptr;
  QRadioButton* rbNormalisedIP = nullptr;
  QLabel* lblTimeWindowIP = nullptr;
  QSpinBox* sedTimeWindowIP = nullptr;
  QGroupBox* grpTimeStep = nullptr;
  QSpinBox* sedTimeStep = nullptr;
  QCheckBox* chbDifferencePlot = nullptr;
  QGroupBox* grpNfactor = nullptr;
  QSpinBox* sedNfactor = nullptr;
  QLabel* lblNselect = nullptr;
  QGroupBox* grpAspacing = nullptr;
  QSpinBox* sedAspacing = nullptr;
  QLabel* lblAselect = nullptr;

  QPushButton* btnOk = nullptr;
  QPushButton* btnCancel = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildFileInfoPage();
  QWidget* BuildGeometryPage();
  QWidget* BuildLimitsPage();
  QWidget* BuildPlotOptionsPage();
  QWidget* BuildModelPage();
  QWidget* BuildLabelsPage();
  QWidget* BuildSelectionGroups();
  void ConnectReactions();

  // Page title, step caption, label enabling and distribution of the limits page.
  void SetLimitsPage(const char* title, bool ipLike);
  void ShowLimitsForCurrentState();
  void SetGridActive(QTableWidget* grid, bool active);
  void OnResistivityChecked();
  void OnIPChecked();
  void OnNormalisedChecked();
  void OnTimeStepChanged(int value);
  void OnDifferenceToggled(bool checked);
  void OnSpacingChanged(int value);
  void OnNfactorChanged(int value);
  void OnAdjustLegendToggled(bool checked);
  void OnEditArrayTypeToggled(bool checked);
  void OnBrowseModel();
  void PrepareIPControls();
  void PrepareTimeStepControls();
  void PrepareSelection();

  TRhoInterpolation FRhoInterpolation = riLog;
  TModelType FModelType = mtFirst;
  std::uint8_t FArrayCode = 0;
  std::uint8_t FIPFlag = 0;
  std::uint8_t FTimeStepPlot = 1;
};

}  // namespace karvelo::shell
