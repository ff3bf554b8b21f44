// The settings dialog's properties, its immediate reactions, what it shows for the file
// loaded last, the limit calculation and the label defaults.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>

#include "base/Prompts.h"
#include "core/SettingsFiles.h"
#include "input/ModelReaders.h"
#include "input/QvMath.h"
#include "render/ColourScale.h"
#include "render/Pseudosection.h"
#include "shell/DataSummary.h"
#include "shell/SettingsDialog.h"
#include "shell/ShellEnv.h"

namespace karvelo::shell {
namespace {

constexpr int kLimitsPage = 2;

std::string Text(const QLineEdit* e) {
  return FromQt(e->text());
}

double NumberOr0(const QString& text) {
  double v = 0;
  const std::string s = FromQt(text.trimmed());
  return ParseReal(s, v) ? v : 0.0;
}

// Two significant digits, padded to five characters: the vertical exaggeration field.
QString FormatRatio(double v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 2);
  std::string s(buf, r.ptr);
  while (s.size() < 5) s.insert(s.begin(), ' ');
  return QString::fromStdString(s);
}

QTableWidget* Grid(const TfrmSettings& d, int column) {
  if (column == 0) return d.stgResLimits;
  if (column == 1) return d.stgIPLimits;
  return d.stgNIPLimits;
}

double ListEntry(const std::array<double, MaxScanList>& list, int count, int oneBased) {
  if (oneBased < 1 || oneBased > std::min(count, MaxScanList)) return 0;
  return list[static_cast<std::size_t>(oneBased - 1)];
}

// 1-based position of `value` in the list, compared as formatted text; 0 when absent.
int PositionInList(const std::array<double, MaxScanList>& list, int count, double value) {
  const std::string wanted = FormatGeneral(value);
  for (int i = 0; i < std::min(count, MaxScanList); ++i) {
    if (FormatGeneral(list[static_cast<std::size_t>(i)]) == wanted) return i + 1;
  }
  return 0;
}

void SetShown(QWidget* w, bool on) {
  w->setEnabled(on);
  w->setVisible(on);
}

}  // namespace

double RoundToTwoDigits(double v) {
  if (!std::isfinite(v)) return v;
  char buf[48];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 1);
  double back = v;
  ParseReal(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)), back);
  return back;
}

// ---- Properties --------------------------------------------------------------------------

std::string TfrmSettings::Header() const {
  // The title is one line of the settings file: the memo's lines are joined by blanks.
  QStringList lines = memHeader->toPlainText().split(QLatin1Char('\n'));
  while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
  return FromQt(lines.join(QLatin1Char(' ')));
}
void TfrmSettings::SetHeader(const std::string& v) {
  memHeader->setPlainText(ToQt(v));
}
std::string TfrmSettings::Date() const {
  return Text(edtDate);
}
void TfrmSettings::SetDate(const std::string& v) {
  edtDate->setText(ToQt(v));
}
std::string TfrmSettings::LeftDirection() const {
  return FromQt(cbLeftDirectionLabel->currentText());
}
void TfrmSettings::SetLeftDirection(const std::string& v) {
  cbLeftDirectionLabel->setEditText(ToQt(v));
}
std::string TfrmSettings::RightDirection() const {
  return FromQt(cbRightDirectionLabel->currentText());
}
void TfrmSettings::SetRightDirection(const std::string& v) {
  cbRightDirectionLabel->setEditText(ToQt(v));
}
std::string TfrmSettings::ArrayTypeStr() const {
  return Text(edtArrayTypeStr);
}
void TfrmSettings::SetArrayTypeStr(const std::string& v) {
  edtArrayTypeStr->setText(ToQt(v));
}
std::string TfrmSettings::XLabel() const {
  return Text(edModelDistance);
}
void TfrmSettings::SetXLabel(const std::string& v) {
  edModelDistance->setText(ToQt(v));
}
std::string TfrmSettings::DepthLabel() const {
  return Text(edModelDepth);
}
void TfrmSettings::SetDepthLabel(const std::string& v) {
  edModelDepth->setText(ToQt(v));
}
std::string TfrmSettings::LegendLabel() const {
  return Text(edModelResistivity);
}
void TfrmSettings::SetLegendLabel(const std::string& v) {
  edModelResistivity->setText(ToQt(v));
}

#define KARVELO_NUMBER_PROPERTY(Name, Control) \
  double TfrmSettings::Name() const {          \
    return NumberOr0(Control->text());         \
  }                                            \
  void TfrmSettings::Set##Name(double v) {     \
    Control->setText(ToQt(FormatGeneral(v)));  \
  }
KARVELO_NUMBER_PROPERTY(MinDistInterval, edtMinDistInterval)
KARVELO_NUMBER_PROPERTY(MaxDistInterval, edtMaxDistInterval)
KARVELO_NUMBER_PROPERTY(LabelDistInterval, edtLabelDistInterval)
KARVELO_NUMBER_PROPERTY(MinDepthInterval, edtMinDepthInterval)
KARVELO_NUMBER_PROPERTY(MaxDepthInterval, edtMaxDepthInterval)
KARVELO_NUMBER_PROPERTY(LabelDepthInterval, edtLabelDepthInterval)
KARVELO_NUMBER_PROPERTY(MaxResLim, edtHighResLim)
KARVELO_NUMBER_PROPERTY(MinResLim, edtLowResLim)
KARVELO_NUMBER_PROPERTY(ResLimInterval, edtResLimStep)
#undef KARVELO_NUMBER_PROPERTY

double TfrmSettings::XYRatio() const {
  return NumberOr0(edtScale->text());
}
void TfrmSettings::SetXYRatio(double v) {
  edtScale->setText(FormatRatio(v));
}
TRhoInterpolation TfrmSettings::RhoInterpolation() const {
  return riLog;
}
void TfrmSettings::SetRhoInterpolation(TRhoInterpolation) {
  rbResLimLog->setChecked(true);
}

double TfrmSettings::Limit(int column, int k) const {
  if (k < 0 || k >= SettingsLimitCells) return 0;
  const QTableWidgetItem* item = Grid(*this, column)->item(0, k);
  return item ? NumberOr0(item->text()) : 0.0;
}

void TfrmSettings::SetLimit(int column, int k, double v) {
  if (k < 0 || k >= SettingsLimitCells) return;
  QTableWidget* grid = Grid(*this, column);
  if (QTableWidgetItem* item = grid->item(0, k)) {
    item->setText(ToQt(FormatGeneral(v)));
  } else {
    grid->setItem(0, k, new QTableWidgetItem(ToQt(FormatGeneral(v))));
  }
}

bool TfrmSettings::PlotTopo() const {
  return chkTopograph->isChecked();
}
void TfrmSettings::SetPlotTopo(bool v) {
  chkTopograph->setChecked(v);
}
bool TfrmSettings::PlotRef() const {
  return chkRefData->isChecked();
}
void TfrmSettings::SetPlotRef(bool v) {
  chkRefData->setChecked(v);
}
bool TfrmSettings::NoInfo() const {
  return chkNoText->isChecked();
}
void TfrmSettings::SetNoInfo(bool v) {
  chkNoText->setChecked(v);
}
bool TfrmSettings::PlotLvl() const {
  return chkPlotLvl->isChecked();
}
void TfrmSettings::SetPlotLvl(bool v) {
  chkPlotLvl->setChecked(v);
}
bool TfrmSettings::PlotLegend() const {
  return chkPlotCross->isChecked();
}
void TfrmSettings::SetPlotLegend(bool v) {
  chkPlotCross->setChecked(v);
}
bool TfrmSettings::PlotDataPts() const {
  return chkDots->isChecked();
}
void TfrmSettings::SetPlotDataPts(bool v) {
  chkDots->setChecked(v);
}
bool TfrmSettings::PlotMark() const {
  return chkVertLine->isChecked();
}
void TfrmSettings::SetPlotMark(bool v) {
  chkVertLine->setChecked(v);
}

TModelType TfrmSettings::ModelType() const {
  return rbMtFirst->isChecked() ? mtFirst : mtSmoothed;
}
void TfrmSettings::SetModelType(TModelType v) {
  FModelType = v;
  if (v == mtFirst) rbMtFirst->setChecked(true);
  if (v == mtSmoothed) rbMtSmoothed->setChecked(true);
}
bool TfrmSettings::SquarePlot() const {
  return !rbContinous->isChecked();
}
void TfrmSettings::SetSquarePlot(bool v) {
  (v ? rbRectangular : rbContinous)->setChecked(true);
}

std::string TfrmSettings::RhoFileName() const {
  const std::string text = Text(edtModel2DFile);
  return text == "<default>" ? std::string() : text;
}
void TfrmSettings::SetRhoFileName(const std::string& v) {
  edtModel2DFile->setText(v.empty() ? QStringLiteral("<default>") : PathToQt(v));
}

std::string TfrmSettings::ArrayType() const {
  return FromQt(cboArrayType->currentText());
}
void TfrmSettings::SetArrayType(const std::string& v) {
  cboArrayType->setEditText(ToQt(v));
}
int TfrmSettings::ArrayCode() const {
  return cboArrayType->currentIndex();
}
void TfrmSettings::SetArrayCode(int v) {
  FArrayCode = static_cast<std::uint8_t>(std::clamp(v, 0, ArrayCodeCount - 1));
  cboArrayType->setCurrentIndex(v);
}

bool TfrmSettings::IPPlot() const {
  return !rbResistivityPlot->isChecked();
}
void TfrmSettings::SetIPPlot(bool v) {
  (v ? rbIPplot : rbResistivityPlot)->setChecked(true);
}
bool TfrmSettings::NormalisedIP() const {
  return rbNormalisedIP->isChecked();
}
void TfrmSettings::SetNormalisedIP(bool v) {
  if (v) rbNormalisedIP->setChecked(true);
}
int TfrmSettings::TimeWindowIP() const {
  return sedTimeWindowIP->value();
}
void TfrmSettings::SetTimeWindowIP(int v) {
  sedTimeWindowIP->setValue(v);
}
int TfrmSettings::TimeStepPlot() const {
  return sedTimeStep->value();
}
void TfrmSettings::SetTimeStepPlot(int v) {
  sedTimeStep->setValue(v);
}

int TfrmSettings::PlotWhich() const {
  if (rbnLastDataPoint->isChecked()) return 1;
  if (rbnFirstDataPoint->isChecked()) return 0;
  return 2;
}

// ---- Immediate reactions -----------------------------------------------------------------

void TfrmSettings::SetGridActive(QTableWidget* grid, bool active) {
  grid->setEnabled(active);
}

void TfrmSettings::SetLimitsPage(const char* title, bool ipLike) {
  pgcSettings->setTabText(kLimitsPage, QString::fromLatin1(title));
  lblResLimStep->setText(ipLike ? QStringLiteral("Limits step size:")
                                : QStringLiteral("No of limits per decade:"));
  lblResLimits->setEnabled(!ipLike);
  lblIPLimits->setEnabled(ipLike);
  (ipLike ? rbResLimLin : rbResLimLog)->setChecked(true);
}

void TfrmSettings::OnResistivityChecked() {
  SetLimitsPage("Resistivity Limits", false);
  SetGridActive(stgResLimits, true);
  SetGridActive(stgIPLimits, false);
}

void TfrmSettings::OnIPChecked() {
  SetLimitsPage("IP Limits", true);
  SetGridActive(stgResLimits, false);
  SetGridActive(stgNIPLimits, false);
  SetGridActive(stgIPLimits, true);
}

void TfrmSettings::OnNormalisedChecked() {
  SetLimitsPage("Normalised IP Limits", true);
  SetGridActive(stgResLimits, false);
  SetGridActive(stgIPLimits, false);
  SetGridActive(stgNIPLimits, true);
}

// The limits page, captions and grids for what is selected now.
void TfrmSettings::ShowLimitsForCurrentState() {
  if (sedTimeStep->value() == 0 && grpTimeStep->isEnabled()) {
    SetLimitsPage("Difference Limits", true);
    SetGridActive(stgResLimits, false);
    SetGridActive(stgIPLimits, true);
  } else if (rbNormalisedIP->isChecked()) {
    OnNormalisedChecked();
  } else if (rbIPplot->isChecked()) {
    OnIPChecked();
  } else {
    OnResistivityChecked();
  }
}

void TfrmSettings::OnTimeStepChanged(int value) {
  graphtype.TimeStep = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
  FTimeStepPlot = graphtype.TimeStep;
  {
    const QSignalBlocker block(chbDifferencePlot);
    chbDifferencePlot->setChecked(value == 0);
  }
  graphtype.DifferencePlot = value == 0;
  ShowLimitsForCurrentState();
}

void TfrmSettings::OnDifferenceToggled(bool checked) {
  sedTimeStep->setValue(checked ? 0 : 1);
  graphtype.DifferencePlot = checked;
  SetGridActive(stgResLimits, !checked);
  SetGridActive(stgIPLimits, checked);
}

void TfrmSettings::OnSpacingChanged(int value) {
  if (value != 0) {
    const double a = ListEntry(ScanResults.SpacingList, ScanResults.nSpacings, value);
    lblAselect->setText(ToQt("a = " + FormatGeneral(a) + "m"));
    SelectedSpacing = a;
  } else {
    lblAselect->setText(QStringLiteral("all"));
    SelectedSpacing = 0;
  }
  SelectedNFactor = 0;
  const QSignalBlocker block(sedNfactor);
  sedNfactor->setValue(0);
  lblNselect->setText(QStringLiteral("all"));
}

void TfrmSettings::OnNfactorChanged(int value) {
  if (value >= sedNfactor->maximum() && value != 0) {
    sedNfactor->setValue(0);  // past the last level: back to all
    return;
  }
  if (value != 0) {
    const double n = ListEntry(ScanResults.NFactorList, ScanResults.nNFactors, value);
    lblNselect->setText(ToQt("n = " + FormatGeneral(n)));
    SelectedNFactor = n;
  } else {
    lblNselect->setText(QStringLiteral("all"));
    SelectedNFactor = 0;
  }
}

void TfrmSettings::OnAdjustLegendToggled(bool checked) {
  graphtype.AdjustDiagramWidth = checked;
  if (!checked) {
    CurrentPrompts().Message(
        "Note: If the diagram height does not fit the plot window no plotting will be carried "
        "out!\n\rIn order to do plotting the plot window must be resized to a large enough "
        "relative height.",
        MessageKind::Information);
  }
}

void TfrmSettings::OnEditArrayTypeToggled(bool checked) {
  if (!checked) return;
  if (CurrentPrompts().AskYesNo("Are you sure you want to change the array type?")) {
    edtArrayTypeStr->setReadOnly(false);
  } else {
    const QSignalBlocker block(chbEditArrayType);
    chbEditArrayType->setChecked(false);
  }
}

void TfrmSettings::OnBrowseModel() {
  QFileDialog dialog(this, QStringLiteral("Open"), QDir::currentPath(),
                     QStringLiteral("RHO and RH2 files (*.rho *.rh2)"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("RHO"));
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    edtModel2DFile->setText(dialog.selectedFiles().first());
  }
}

// ---- Showing -----------------------------------------------------------------------------

void TfrmSettings::showEvent(QShowEvent* event) {
  PrepareFromState();
  QDialog::showEvent(event);
}

void TfrmSettings::PrepareIPControls() {
  const bool ip = optrec.IPflag != 0;
  SetShown(grpPlotType, ip);
  for (QWidget* w : {static_cast<QWidget*>(rbResistivityPlot), static_cast<QWidget*>(rbIPplot),
                     static_cast<QWidget*>(rbNormalisedIP)}) {
    SetShown(w, ip);
  }
  lblIPLimits->setText(QStringLiteral("IP limits"));
  lblIPLimits->setVisible(ip);
  stgIPLimits->setVisible(ip);
  stgNIPLimits->setVisible(ip);
  if (ip) {
    const bool windows = optrec.IPflag == 11;
    SetShown(lblTimeWindowIP, windows);
    SetShown(sedTimeWindowIP, windows);
    sedTimeWindowIP->setMaximum(std::max<int>(optrec.IPwindows, 1));
    graphtype.TimeWindowIP = std::min(graphtype.TimeWindowIP, optrec.IPwindows);
    sedTimeWindowIP->setValue(graphtype.TimeWindowIP);
  }
  if (optrec.TimeSteps > 1) {
    SetShown(grpPlotType, false);
    lblIPLimits->setVisible(true);
    stgIPLimits->setVisible(true);
    lblIPLimits->setText(QStringLiteral("Difference limits"));
  }
}

void TfrmSettings::PrepareTimeStepControls() {
  const bool lapse = optrec.TimeSteps > 1;
  SetShown(grpTimeStep, lapse);
  SetShown(sedTimeStep, lapse);
  SetShown(chbDifferencePlot, lapse);
  const QSignalBlocker blockStep(sedTimeStep);
  const QSignalBlocker blockDifference(chbDifferencePlot);
  sedTimeStep->setMaximum(std::max<int>(optrec.TimeSteps, 1));
  sedTimeStep->setValue(std::min(graphtype.TimeStep, optrec.TimeSteps));
  chbDifferencePlot->setChecked(lapse && sedTimeStep->value() == 0);
}

void TfrmSettings::PrepareSelection() {
  const TScanResults& s = ScanResults;
  const QSignalBlocker blockA(sedAspacing);
  const QSignalBlocker blockN(sedNfactor);
  sedAspacing->setMaximum(std::max(s.nSpacings, 0));
  sedAspacing->setValue(
      SelectedSpacing == 0 ? 0 : PositionInList(s.SpacingList, s.nSpacings, SelectedSpacing));
  const bool aAll = RoundHalfEven(SelectedSpacing * 100) == 0 || s.nNFactors <= 1;
  lblAselect->setText(aAll ? QStringLiteral("all")
                           : ToQt("a = " + FormatGeneral(SelectedSpacing) + "m"));
  sedNfactor->setMaximum(std::max(s.nNFactors, 0) + 1);
  sedNfactor->setValue(
      SelectedNFactor == 0 ? 0 : PositionInList(s.NFactorList, s.nNFactors, SelectedNFactor));
  const bool nAll =
      RoundHalfEven(SelectedNFactor * 100) == 0 || s.nSpacings <= 1 || s.nNFactors <= 1;
  lblNselect->setText(nAll ? QStringLiteral("all") : ToQt("n = " + FormatGeneral(SelectedNFactor)));
}

void TfrmSettings::PrepareFromState() {
  // S1: the array types.
  {
    const QSignalBlocker block(cboArrayType);
    cboArrayType->clear();
    for (const char* name : ArrayNames) cboArrayType->addItem(ToQt(UpperCase(name)));
    cboArrayType->setCurrentIndex(optrec.ArrayCode < ArrayCodeCount ? optrec.ArrayCode : -1);
    cboArrayType->setEditText(ToQt(optrec.ArrayType.str()));
    FArrayCode = optrec.ArrayCode;
  }
  // S2, S3: IP and time-lapse data.
  PrepareIPControls();
  // S4
  grpPseudoLabels->setEnabled(true);
  grpModelLabels->setEnabled(true);
  // S5, S6: the limits page for the plotted quantity, the time step.
  PrepareTimeStepControls();
  if (graphtype.IPflag != 0) {
    SetLimitsPage("IP Limits", true);
  } else {
    SetLimitsPage("Resistivity Limits", false);
  }
  if (graphtype.TimeStep == 0) SetLimitsPage("Difference Limits", true);
  // The grids follow what is selected.
  if (graphtype.TimeStep == 0 && optrec.TimeSteps > 1) {
    SetGridActive(stgResLimits, false);
    SetGridActive(stgIPLimits, true);
  } else if (rbNormalisedIP->isChecked() && optrec.IPflag != 0) {
    SetGridActive(stgResLimits, false);
    SetGridActive(stgIPLimits, false);
    SetGridActive(stgNIPLimits, true);
  } else {
    const bool ip = rbIPplot->isChecked() && optrec.IPflag != 0;
    SetGridActive(stgResLimits, !ip);
    SetGridActive(stgIPLimits, ip);
    SetGridActive(stgNIPLimits, false);
  }
  // S7: title and hint.
  setWindowTitle(ToQt("Settings: " + optrec.FileName));
  setToolTip(ToQt(SettingsSummary()));
  // S8: selection, array type lock, bottom layer, data point rule.
  PrepareSelection();
  edtArrayTypeStr->setReadOnly(true);
  {
    const QSignalBlocker block(chbEditArrayType);
    chbEditArrayType->setChecked(false);
  }
  {
    const QSignalBlocker block(chbInfiniteBottomLayer);
    chbInfiniteBottomLayer->setChecked(graphtype.PlotInifiniteBottomLayer);
  }
  {
    const QSignalBlocker block(chbAdjustLegend);
    chbAdjustLegend->setChecked(graphtype.AdjustDiagramWidth);
  }
  {
    const QSignalBlocker block(chbTransparentLayerLabels);
    chbTransparentLayerLabels->setChecked(graphtype.TransparentLayerLabels);
  }
  if (graphtype.PlotWhich == 0) rbnFirstDataPoint->setChecked(true);
  if (graphtype.PlotWhich == 1) rbnLastDataPoint->setChecked(true);
  if (graphtype.PlotWhich >= 2) rbnAverageDataPoint->setChecked(true);
}

// ---- Limit calculation -------------------------------------------------------------------

void TfrmSettings::MakeLimits() {
  double lowest = 0, highest = 0;
  const std::string low = FromQt(edtLowResLim->text());
  const std::string high = FromQt(edtHighResLim->text());
  if (!ParseReal(FromQt(edtLowResLim->text().trimmed()), lowest)) {
    CurrentPrompts().Message("ERROR: " + low + " is not a valid min value!", MessageKind::Error);
    return;
  }
  if (!ParseReal(FromQt(edtHighResLim->text().trimmed()), highest)) {
    CurrentPrompts().Message("ERROR: " + high + " is not a valid max value!", MessageKind::Error);
    return;
  }
  const bool logarithmic = rbResLimLog->isChecked();
  if (logarithmic && (lowest <= 0 || highest <= 0)) {
    CurrentPrompts().Message(
        "ERROR: Min and max values must be larger\n\r than zero for logarithmic intervals!",
        MessageKind::Error);
    return;
  }
  const int n = std::clamp<int>(graphtype.maxcol, 1, LimitsPerSet);
  const std::vector<double> limits = karvelo::MakeLimits(lowest, highest, n, logarithmic);
  int column = 1;
  if (rbResistivityPlot->isChecked() && graphtype.TimeStep != 0) {
    column = 0;
  } else if (rbNormalisedIP->isChecked()) {
    column = 2;
  }
  const int cells = std::min<int>(static_cast<int>(limits.size()), SettingsLimitCells);
  for (int k = 0; k < cells; ++k) {
    SetLimit(column, k, RoundToTwoDigits(limits[static_cast<std::size_t>(k)]));
  }
  update();
}

// ---- Label defaults ----------------------------------------------------------------------

void TfrmSettings::SetLabelDefaults(bool global) {
  DataLabels.MethodStr = Text(edPseudoHeader);
  DataLabels.DistStr = Text(edPseudoDistance);
  DataLabels.DepthStr = Text(edPseudoSpacing);
  DataLabels.ResStr = Text(edPseudoResistivity);
  ModelLabels.MethodStr = Text(edModelHeader);
  ModelLabels.DistStr = Text(edModelDistance);
  ModelLabels.DepthStr = Text(edModelDepth);
  ModelLabels.AltStr = Text(edModelLevel);
  ModelLabels.ResStr = Text(edModelResistivity);
  std::string folder;
  if (global) {
    folder = GlobalLabelFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
  }
  WriteLabelFiles(folder);
}

}  // namespace karvelo::shell
