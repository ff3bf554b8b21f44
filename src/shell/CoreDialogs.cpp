#include "shell/CoreDialogs.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/SettingsFiles.h"
#include "shell/ShellEnv.h"

namespace karvelo::shell {

// ---- Plot type -------------------------------------------------------------------------

TfrmPlotType::TfrmPlotType(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmPlotType"));
  setWindowTitle(QStringLiteral("Plot type"));
  auto* layout = new QVBoxLayout(this);
  rbPseudo = new QRadioButton(QStringLiteral("Pseudosection"), this);
  rb2D = new QRadioButton(QStringLiteral("2D section"), this);
  rb1D = new QRadioButton(QStringLiteral("1D section"), this);
  rb1D->setEnabled(false);
  rb1D->setVisible(false);
  rbPseudo->setChecked(true);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  layout->addWidget(rbPseudo);
  layout->addWidget(rb2D);
  layout->addWidget(rb1D);
  layout->addWidget(ok);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmPlotType::Prepare(bool modelPreselected) {
  (modelPreselected ? rb2D : rbPseudo)->setChecked(true);
}

TDiagramType TfrmPlotType::Chosen() const {
  if (rb2D->isChecked()) return dtModsec2D;
  if (rb1D->isChecked()) return dtModsec1D;
  return dtPseudo;
}

TDiagramType TfrmPlotType::Ask(bool modelPreselected) {
  Prepare(modelPreselected);
  exec();
  return Chosen();
}

// ---- Y slice ---------------------------------------------------------------------------

TfrmSelectY::TfrmSelectY(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmSelectY"));
  setWindowTitle(QStringLiteral("Select Y"));
  auto* layout = new QVBoxLayout(this);
  auto* note = new QLabel(
      QStringLiteral("Note: This is  a 3D data file. Step between  pseudo depth slices at "
                     "different Y coordinates using the arrow keys. Press <Enter> to plot."),
      this);
  note->setWordWrap(true);
  lstY = new QListWidget(this);
  lstY->installEventFilter(this);
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setDefault(true);
  layout->addWidget(note);
  layout->addWidget(lstY);
  layout->addWidget(ok);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(lstY, &QListWidget::itemActivated, this, &QDialog::accept);
}

void TfrmSelectY::Prepare(const std::vector<double>& yValues, int lastChosen) {
  lstY->clear();
  for (const double y : yValues) lstY->addItem(ToQt(FormatGeneral(y)));
  const int n = static_cast<int>(yValues.size());
  const int next = lastChosen >= 1 && lastChosen < n ? lastChosen : 0;  // 0-based row
  if (n > 0) lstY->setCurrentRow(next);
  lstY->setFocus();
}

int TfrmSelectY::Chosen() const {
  return lstY->currentRow() < 0 ? 1 : lstY->currentRow() + 1;
}

int TfrmSelectY::Ask(const std::vector<double>& yValues, int lastChosen) {
  Prepare(yValues, lastChosen);
  exec();
  return Chosen();
}

bool TfrmSelectY::StepKey(int key) {
  const int row = lstY->currentRow();
  if (key == Qt::Key_Left) {
    if (row > 0) lstY->setCurrentRow(row - 1);
    return true;
  }
  if (key == Qt::Key_Right) {
    if (row + 1 < lstY->count()) lstY->setCurrentRow(row + 1);
    return true;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    accept();
    return true;
  }
  return false;
}

void TfrmSelectY::keyPressEvent(QKeyEvent* event) {
  if (!StepKey(event->key())) QDialog::keyPressEvent(event);
}

bool TfrmSelectY::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lstY && event->type() == QEvent::KeyPress) {
    if (StepKey(static_cast<QKeyEvent*>(event)->key())) return true;
  }
  return QDialog::eventFilter(watched, event);
}

// ---- Working ---------------------------------------------------------------------------

TfrmWorking::TfrmWorking(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmWorking"));
  setWindowTitle(QStringLiteral("Working"));
  auto* layout = new QVBoxLayout(this);
  pbrWorking = new QProgressBar(this);
  pbrWorking->setRange(0, 10);
  pbrWorking->setTextVisible(false);
  layout->addWidget(pbrWorking);
  resize(280, 60);
  closeTimer.setSingleShot(true);
  closeTimer.setInterval(2500);
  connect(&closeTimer, &QTimer::timeout, this, &QWidget::close);
}

void TfrmWorking::Reset() {
  pbrWorking->setValue(0);
  show();
  repaint();
  closeTimer.start();
}

void TfrmWorking::Update() {
  const int next = pbrWorking->value() >= 10 ? 0 : pbrWorking->value() + 1;
  pbrWorking->setValue(next);
  if (!isVisible()) show();
  repaint();
  closeTimer.start();
}

int TfrmWorking::Position() const {
  return pbrWorking->value();
}

}  // namespace karvelo::shell
