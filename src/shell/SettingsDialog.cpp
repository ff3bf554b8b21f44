// Construction of the settings dialog: the six pages and the selection groups below.

#include "shell/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace karvelo::shell {
namespace {

QLineEdit* Edit(QWidget* parent, const char* name, const char* text = "") {
  auto* e = new QLineEdit(QString::fromLatin1(text), parent);
  e->setObjectName(QString::fromLatin1(name));
  return e;
}

QCheckBox* Check(QWidget* parent, const char* name, const char* caption) {
  auto* c = new QCheckBox(QString::fromLatin1(caption), parent);
  c->setObjectName(QString::fromLatin1(name));
  return c;
}

QRadioButton* Radio(QWidget* parent, const char* name, const char* caption) {
  auto* r = new QRadioButton(QString::fromLatin1(caption), parent);
  r->setObjectName(QString::fromLatin1(name));
  return r;
}

QTableWidget* LimitGrid(QWidget* parent, const char* name) {
  auto* g = new QTableWidget(1, SettingsLimitCells, parent);
  g->setObjectName(QString::fromLatin1(name));
  g->verticalHeader()->setVisible(false);
  g->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  for (int k = 0; k < SettingsLimitCells; ++k) {
    g->setItem(0, k, new QTableWidgetItem(QStringLiteral("0")));
  }
  g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  g->setFixedHeight(g->horizontalHeader()->sizeHint().height() + g->rowHeight(0) + 4);
  return g;
}

QSpinBox* Spin(QWidget* parent, const char* name, int min, int max) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(QString::fromLatin1(name));
  s->setRange(min, max);
  return s;
}

QComboBox* DirectionList(QWidget* parent, const char* name) {
  auto* c = new QComboBox(parent);
  c->setObjectName(QString::fromLatin1(name));
  c->setEditable(true);
  c->addItems({QStringLiteral("N"), QStringLiteral("S"), QStringLiteral("W"), QStringLiteral("E"),
               QStringLiteral("NE"), QStringLiteral("NW"), QStringLiteral("SE"),
               QStringLiteral("SW")});
  c->setCurrentText(QString());
  return c;
}

}  // namespace

TfrmSettings::TfrmSettings(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmSettings"));
  setWindowTitle(QStringLiteral("Settings"));
  auto* layout = new QVBoxLayout(this);
  pgcSettings = new QTabWidget(this);
  pgcSettings->addTab(BuildFileInfoPage(), QStringLiteral("File Info"));
  pgcSettings->addTab(BuildGeometryPage(), QStringLiteral("Geometrical Limits"));
  pgcSettings->addTab(BuildLimitsPage(), QStringLiteral("Resistivity Limits"));
  pgcSettings->addTab(BuildPlotOptionsPage(), QStringLiteral("Plot Options"));
  pgcSettings->addTab(BuildModelPage(), QStringLiteral("1D/2D Model"));
  pgcSettings->addTab(BuildLabelsPage(), QStringLiteral("Diagram labels"));
  pgcSettings->setCurrentIndex(2);
  layout->addWidget(pgcSettings);
  layout->addWidget(BuildSelectionGroups());

  auto* buttons = new QHBoxLayout;
  btnOk = new QPushButton(QStringLiteral("OK"), this);
  btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btnOk->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(btnOk);
  buttons->addWidget(btnCancel);
  layout->addLayout(buttons);
  connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  ConnectReactions();
}

QWidget* TfrmSettings::BuildFileInfoPage() {
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  memHeader = new QPlainTextEdit(page);
  memHeader->setObjectName(QStringLiteral("memHeader"));
  memHeader->setFixedHeight(60);
  edtDate = Edit(page, "edtDate");
  cbLeftDirectionLabel = DirectionList(page, "cbLeftDirectionLabel");
  cbRightDirectionLabel = DirectionList(page, "cbRightDirectionLabel");
  auto* directions = new QHBoxLayout;
  directions->addWidget(cbLeftDirectionLabel);
  directions->addWidget(new QLabel(QStringLiteral("right:"), page));
  directions->addWidget(cbRightDirectionLabel);
  edtArrayTypeStr = Edit(page, "edtArrayTypeStr");
  edtArrayTypeStr->setReadOnly(true);
  chbEditArrayType = Check(page, "chbEditArrayType", "Edit Array Type");
  cboArrayType = new QComboBox(page);
  cboArrayType->setObjectName(QStringLiteral("cboArrayType"));
  cboArrayType->setEditable(true);
  cboArrayType->setVisible(false);
  auto* arrayRow = new QHBoxLayout;
  arrayRow->addWidget(edtArrayTypeStr);
  arrayRow->addWidget(chbEditArrayType);
  arrayRow->addWidget(cboArrayType);
  form->addRow(QStringLiteral("Header:"), memHeader);
  form->addRow(QStringLiteral("Date:"), edtDate);
  form->addRow(QStringLiteral("Direction, to the left:"), directions);
  form->addRow(QStringLiteral("Array type:"), arrayRow);
  return page;
}

QWidget* TfrmSettings::BuildGeometryPage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  edtMinDistInterval = Edit(page, "edtMinDistInterval");
  edtMaxDistInterval = Edit(page, "edtMaxDistInterval");
  edtLabelDistInterval = Edit(page, "edtLabelDistInterval");
  edtMinDepthInterval = Edit(page, "edtMinDepthInterval");
  edtMaxDepthInterval = Edit(page, "edtMaxDepthInterval");
  edtLabelDepthInterval = Edit(page, "edtLabelDepthInterval");
  edtScale = Edit(page, "edtScale");
  const auto row = [&](int r, const char* caption, QLineEdit* mn, QLineEdit* mx, QLineEdit* lb) {
    grid->addWidget(new QLabel(QString::fromLatin1(caption), page), r, 0);
    grid->addWidget(new QLabel(QStringLiteral("min:"), page), r, 1);
    grid->addWidget(mn, r, 2);
    grid->addWidget(new QLabel(QStringLiteral("max:"), page), r, 3);
    grid->addWidget(mx, r, 4);
    grid->addWidget(new QLabel(QStringLiteral("label:"), page), r, 5);
    grid->addWidget(lb, r, 6);
  };
  row(0, "Distance interval:", edtMinDistInterval, edtMaxDistInterval, edtLabelDistInterval);
  row(1, "Depth interval:", edtMinDepthInterval, edtMaxDepthInterval, edtLabelDepthInterval);
  grid->addWidget(new QLabel(QStringLiteral("Vertical exaggeration"), page), 2, 0);
  grid->addWidget(edtScale, 2, 2);
  grid->setRowStretch(3, 1);
  return page;
}

QWidget* TfrmSettings::BuildLimitsPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* top = new QHBoxLayout;
  auto* range = new QFormLayout;
  edtLowResLim = Edit(page, "edtLowResLim");
  edtHighResLim = Edit(page, "edtHighResLim");
  edtResLimStep = Edit(page, "edtResLimStep");
  lblResLimStep = new QLabel(QStringLiteral("No of limits per decade:"), page);
  range->addRow(QStringLiteral("Lowest limit:"), edtLowResLim);
  range->addRow(QStringLiteral("Highest limit:"), edtHighResLim);
  range->addRow(lblResLimStep, edtResLimStep);
  edtResLimStep->setVisible(false);
  top->addLayout(range);
  auto* distribution = new QGroupBox(QStringLiteral("Limit distribution type "), page);
  auto* dl = new QVBoxLayout(distribution);
  rbResLimLin = Radio(distribution, "rbResLimLin", "Linear");
  rbResLimLog = Radio(distribution, "rbResLimLog", "Loghrithmic");
  rbResLimLog->setChecked(true);
  dl->addWidget(rbResLimLin);
  dl->addWidget(rbResLimLog);
  top->addWidget(distribution);
  btnApply = new QPushButton(QStringLiteral("Calculate"), page);
  btnApply->setObjectName(QStringLiteral("btnApply"));
  top->addWidget(btnApply, 0, Qt::AlignBottom);
  layout->addLayout(top);
  lblResLimits = new QLabel(QStringLiteral("Resisitivity limits"), page);
  stgResLimits = LimitGrid(page, "stgResLimits");
  lblIPLimits = new QLabel(QStringLiteral("IP limits"), page);
  stgIPLimits = LimitGrid(page, "stgIPLimits");
  stgNIPLimits = LimitGrid(page, "stgNIPLimits");
  layout->addWidget(lblResLimits);
  layout->addWidget(stgResLimits);
  layout->addWidget(lblIPLimits);
  layout->addWidget(stgIPLimits);
  layout->addWidget(stgNIPLimits);
  layout->addStretch();
  return page;
}

QWidget* TfrmSettings::BuildPlotOptionsPage() {
  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);
  auto* models = new QGroupBox(QStringLiteral("Model sections"), page);
  auto* ml = new QVBoxLayout(models);
  chkTopograph = Check(models, "chkTopograph", "Plot with topography ");
  chkPlotLvl = Check(models, "chkPlotLvl", "Plot level markers");
  chkRefData = Check(models, "chkRefData", "Plot reference data");
  chbTransparentLayerLabels =
      Check(models, "chbTransparentLayerLabels", "Transparent layer labels");
  for (QWidget* w : {chkTopograph, chkPlotLvl, chkRefData, chbTransparentLayerLabels}) {
    ml->addWidget(w);
  }
  ml->addStretch();
  auto* both = new QGroupBox(QStringLiteral("Pseudosections and model sections"), page);
  auto* bl = new QVBoxLayout(both);
  chkPlotCross = Check(both, "chkPlotCross", "Plot resistivity legend");
  chkVertLine = Check(both, "chkVertLine", "Plot distance markers");
  chbAdjustLegend = Check(both, "chbAdjustLegend", "Auto adjust diagram width");
  chbAdjustLegend->setChecked(true);
  chbAdjustLegend->setToolTip(QStringLiteral(
      "The width of the diagram will be adjusted to match plot width if checked, otherwise the "
      "diagram may not fit the plot window unless relative height of window is adjusted."));
  chkNoText = Check(both, "chkNoText", "Ignore user defined text");
  chkNoText->setVisible(false);
  for (QWidget* w : {chkPlotCross, chkVertLine, chbAdjustLegend, chkNoText}) bl->addWidget(w);
  bl->addStretch();
  auto* pseudo = new QGroupBox(QStringLiteral("Pseudosections"), page);
  auto* pl = new QVBoxLayout(pseudo);
  chkDots = Check(pseudo, "chkDots", "Plot data dots");
  rbnFirstDataPoint = Radio(pseudo, "rbnFirstDataPoint", "First");
  rbnLastDataPoint = Radio(pseudo, "rbnLastDataPoint", "Last");
  rbnAverageDataPoint = Radio(pseudo, "rbnAverageDataPoint", "Average");
  rbnAverageDataPoint->setChecked(true);
  pl->addWidget(chkDots);
  pl->addWidget(new QLabel(QStringLiteral("If multiple data points plot:"), pseudo));
  for (QWidget* w : {rbnFirstDataPoint, rbnLastDataPoint, rbnAverageDataPoint}) pl->addWidget(w);
  pl->addStretch();
  layout->addWidget(models);
  layout->addWidget(both);
  layout->addWidget(pseudo);
  return page;
}

QWidget* TfrmSettings::BuildModelPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(new QLabel(QStringLiteral("Inverse 2D modelling file"), page));
  auto* fileRow = new QHBoxLayout;
  edtModel2DFile = Edit(page, "edtModel2DFile", "<default>");
  btnBrowseModel = new QPushButton(QStringLiteral("..."), page);
  btnBrowseModel->setObjectName(QStringLiteral("btnBrowseModel"));
  fileRow->addWidget(edtModel2DFile);
  fileRow->addWidget(btnBrowseModel);
  layout->addLayout(fileRow);
  auto* plotType = new QGroupBox(QStringLiteral("Type of model plot "), page);
  auto* tl = new QVBoxLayout(plotType);
  rbContinous = Radio(plotType, "rbContinous", "Continuous");
  rbRectangular = Radio(plotType, "rbRectangular", "Rectangular");
  rbContinous->setChecked(true);
  chbInfiniteBottomLayer = Check(plotType, "chbInfiniteBottomLayer", "Plot infinite bottom layer");
  chbInfiniteBottomLayer->setChecked(true);
  chbInfiniteBottomLayer->setEnabled(false);
  tl->addWidget(rbContinous);
  tl->addWidget(rbRectangular);
  tl->addWidget(chbInfiniteBottomLayer);
  layout->addWidget(plotType);
  grpModelType = new QGroupBox(QStringLiteral("1D  Zohdy model type "), page);
  auto* zl = new QVBoxLayout(grpModelType);
  rbMtFirst = Radio(grpModelType, "rbMtFirst", "First run");
  rbMtSmoothed = Radio(grpModelType, "rbMtSmoothed", "Smoothed");
  zl->addWidget(rbMtFirst);
  zl->addWidget(rbMtSmoothed);
  grpModelType->setVisible(false);
  layout->addWidget(grpModelType);
  layout->addStretch();
  return page;
}

QWidget* TfrmSettings::BuildLabelsPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  grpPseudoLabels = new QGroupBox(QStringLiteral("Pseudosection caption"), page);
  auto* pf = new QFormLayout(grpPseudoLabels);
  edPseudoHeader = Edit(grpPseudoLabels, "edPseudoHeader", "PSEUDOSECTION");
  edPseudoDistance = Edit(grpPseudoLabels, "edPseudoDistance", "Distance/[m]");
  edPseudoSpacing = Edit(grpPseudoLabels, "edPseudoSpacing", "a/[m]");
  edPseudoResistivity =
      Edit(grpPseudoLabels, "edPseudoResistivity", "Apparent resistivity/[ohm-m]");
  pf->addRow(edPseudoHeader);
  pf->addRow(new QLabel(QStringLiteral("Pseudosection labels"), grpPseudoLabels));
  pf->addRow(QStringLiteral("Distance:"), edPseudoDistance);
  pf->addRow(QStringLiteral("Spacing:"), edPseudoSpacing);
  pf->addRow(QStringLiteral("Legend:"), edPseudoResistivity);
  grpModelLabels = new QGroupBox(QStringLiteral("Model section caption"), page);
  auto* mf = new QFormLayout(grpModelLabels);
  edModelHeader = Edit(grpModelLabels, "edModelHeader", "INVERTED MODEL SECTION");
  edModelDistance = Edit(grpModelLabels, "edModelDistance", "Distance/[m]");
  edModelDepth = Edit(grpModelLabels, "edModelDepth", "Depth/[m]");
  edModelLevel = Edit(grpModelLabels, "edModelLevel", "Level/[m]");
  edModelResistivity = Edit(grpModelLabels, "edModelResistivity", "Resistivity/[ohm-m]");
  mf->addRow(edModelHeader);
  mf->addRow(new QLabel(QStringLiteral("Model section labels"), grpModelLabels));
  mf->addRow(QStringLiteral("Distance:"), edModelDistance);
  mf->addRow(QStringLiteral("Depth scale:"), edModelDepth);
  mf->addRow(QStringLiteral("Level scale:"), edModelLevel);
  mf->addRow(QStringLiteral("Legend:"), edModelResistivity);
  auto* groups = new QHBoxLayout;
  groups->addWidget(grpPseudoLabels);
  groups->addWidget(grpModelLabels);
  layout->addLayout(groups);
  auto* buttons = new QHBoxLayout;
  btSetLocal = new QPushButton(QStringLiteral("Set as local default"), page);
  btSetLocal->setToolTip(QStringLiteral("Set as default diagram labels in current data directory"));
  btSetGlobal = new QPushButton(QStringLiteral("Set as global default"), page);
  btSetGlobal->setToolTip(
      QStringLiteral("Set as global default diagram labels (will be overrun by local defaults)"));
  buttons->addWidget(btSetLocal);
  buttons->addWidget(btSetGlobal);
  buttons->addStretch();
  layout->addLayout(buttons);
  layout->addStretch();
  return page;
}

QWidget* TfrmSettings::BuildSelectionGroups() {
  auto* box = new QWidget(this);
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  grpPlotType = new QGroupBox(QStringLiteral("Plot type"), box);
  auto* pl = new QGridLayout(grpPlotType);
  rbResistivityPlot = Radio(grpPlotType, "rbResistivityPlot", "Resistivity");
  rbIPplot = Radio(grpPlotType, "rbIPplot", "IP");
  rbNormalisedIP = Radio(grpPlotType, "rbNormalisedIP", "Normalised IP");
  rbResistivityPlot->setChecked(true);
  lblTimeWindowIP = new QLabel(QStringLiteral("time window"), grpPlotType);
  sedTimeWindowIP = Spin(grpPlotType, "sedTimeWindowIP", 1, 255);
  pl->addWidget(rbResistivityPlot, 0, 0);
  pl->addWidget(rbIPplot, 1, 0);
  pl->addWidget(rbNormalisedIP, 2, 0);
  pl->addWidget(lblTimeWindowIP, 1, 1);
  pl->addWidget(sedTimeWindowIP, 2, 1);
  grpTimeStep = new QGroupBox(QStringLiteral("Time step"), box);
  auto* tl = new QVBoxLayout(grpTimeStep);
  sedTimeStep = Spin(grpTimeStep, "sedTimeStep", 0, 255);
  chbDifferencePlot = Check(grpTimeStep, "chbDifferencePlot", "Difference plot");
  tl->addWidget(sedTimeStep);
  tl->addWidget(chbDifferencePlot);
  grpNfactor = new QGroupBox(QStringLiteral("N-factor"), box);
  auto* nl = new QHBoxLayout(grpNfactor);
  sedNfactor = Spin(grpNfactor, "sedNfactor", 0, 1);
  lblNselect = new QLabel(QStringLiteral("all"), grpNfactor);
  nl->addWidget(new QLabel(QStringLiteral("n"), grpNfactor));
  nl->addWidget(sedNfactor);
  nl->addWidget(lblNselect);
  grpAspacing = new QGroupBox(QStringLiteral("Electr. spacing"), box);
  auto* al = new QHBoxLayout(grpAspacing);
  sedAspacing = Spin(grpAspacing, "sedAspacing", 0, 0);
  lblAselect = new QLabel(QStringLiteral("all"), grpAspacing);
  al->addWidget(new QLabel(QStringLiteral("a"), grpAspacing));
  al->addWidget(sedAspacing);
  al->addWidget(lblAselect);
  for (QWidget* w : {static_cast<QWidget*>(grpPlotType), static_cast<QWidget*>(grpTimeStep),
                     static_cast<QWidget*>(grpNfactor), static_cast<QWidget*>(grpAspacing)}) {
    layout->addWidget(w);
  }
  return box;
}

void TfrmSettings::ConnectReactions() {
  connect(rbResLimLin, &QRadioButton::toggled, this, [this](bool on) {
    if (on) FRhoInterpolation = riLinear;
  });
  connect(rbResLimLog, &QRadioButton::toggled, this, [this](bool on) {
    if (on) FRhoInterpolation = riLog;
  });
  connect(rbResistivityPlot, &QRadioButton::toggled, this, [this](bool on) {
    if (on) OnResistivityChecked();
  });
  connect(rbIPplot, &QRadioButton::toggled, this, [this](bool on) {
    if (on) OnIPChecked();
  });
  connect(rbNormalisedIP, &QRadioButton::toggled, this, [this](bool on) {
    if (on) OnNormalisedChecked();
  });
  connect(sedTimeStep, &QSpinBox::valueChanged, this, &TfrmSettings::OnTimeStepChanged);
  connect(chbDifferencePlot, &QCheckBox::toggled, this, &TfrmSettings::OnDifferenceToggled);
  connect(sedAspacing, &QSpinBox::valueChanged, this, &TfrmSettings::OnSpacingChanged);
  connect(sedNfactor, &QSpinBox::valueChanged, this, &TfrmSettings::OnNfactorChanged);
  connect(chbAdjustLegend, &QCheckBox::toggled, this, &TfrmSettings::OnAdjustLegendToggled);
  connect(chbTransparentLayerLabels, &QCheckBox::toggled, this,
          [](bool on) { graphtype.TransparentLayerLabels = on; });
  connect(chbInfiniteBottomLayer, &QCheckBox::toggled, this,
          [](bool on) { graphtype.PlotInifiniteBottomLayer = on; });
  connect(rbRectangular, &QRadioButton::toggled, chbInfiniteBottomLayer, &QWidget::setEnabled);
  connect(chbEditArrayType, &QCheckBox::toggled, this, &TfrmSettings::OnEditArrayTypeToggled);
  connect(btnBrowseModel, &QPushButton::clicked, this, &TfrmSettings::OnBrowseModel);
  connect(btnApply, &QPushButton::clicked, this, &TfrmSettings::MakeLimits);
  connect(btSetLocal, &QPushButton::clicked, this, [this] { SetLabelDefaults(false); });
  connect(btSetGlobal, &QPushButton::clicked, this, [this] { SetLabelDefaults(true); });
}

}  // namespace karvelo::shell
