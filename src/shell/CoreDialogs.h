#pragma once

// The three small dialogs the diagram core opens itself: the plot type question of
// every new diagram, the Y-slice choice of a 3-D data file, and the "Working" box of
// long computations. Single instances, kept between showings.

#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "base/PlotState.h"

class QListWidget;
class QProgressBar;
class QRadioButton;

namespace karvelo::shell {

class TfrmPlotType : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmPlotType(QWidget* parent = nullptr);

  // Preselects "2D section" for a model file, "Pseudosection" otherwise.
  void Prepare(bool modelPreselected);
  // The type of the checked radio.
  TDiagramType Chosen() const;
  // Prepare, show modally, return the choice (closing the window also takes it).
  TDiagramType Ask(bool modelPreselected);

  QRadioButton* rbPseudo = nullptr;
  QRadioButton* rb2D = nullptr;
  QRadioButton* rb1D = nullptr;  // exists, never shown
};

class TfrmSelectY : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmSelectY(QWidget* parent = nullptr);

  // Fills the list and preselects the entry after `lastChosen` (1-based), or the first
  // when there is none after it.
  void Prepare(const std::vector<double>& yValues, int lastChosen);
  // 1-based number of the selected entry (1 when the list is empty).
  int Chosen() const;
  int Ask(const std::vector<double>& yValues, int lastChosen);

  QListWidget* lstY = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool StepKey(int key);
};

class TfrmWorking : public QWidget {
  Q_OBJECT
 public:
  explicit TfrmWorking(QWidget* parent = nullptr);

  // Bar to 0, shown, close timer started.
  void Reset();
  // Bar one step on (after 10 back to 0), close timer restarted.
  void Update();
  int Position() const;

  QProgressBar* pbrWorking = nullptr;
  QTimer closeTimer;
};

}  // namespace karvelo::shell
