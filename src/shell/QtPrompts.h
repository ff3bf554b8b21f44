#pragma once

// The desktop program's prompts: message boxes and questions with QMessageBox, and the
// plot type, Y-slice and progress dialogs of the frame.

#include <QPointer>
#include <QWidget>

#include "base/Prompts.h"
#include "shell/CoreDialogs.h"

namespace karvelo::shell {

class QtPrompts final : public Prompts {
 public:
  // The dialogs are the program's single instances; `parent` centres the boxes.
  QtPrompts(QWidget* parent, TfrmPlotType* plotType, TfrmSelectY* selectY, TfrmWorking* working);

  void Message(const std::string& text, MessageKind kind) override;
  bool AskYesNo(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;
  TDiagramType AskPlotType(bool modelPreselected) override;
  int AskYSlice(const std::vector<double>& yValues, int lastChosen) override;
  void ProgressReset() override;
  void ProgressUpdate() override;

 private:
  QWidget* Parent() const;

  QPointer<QWidget> parent_;
  QPointer<TfrmPlotType> plotType_;
  QPointer<TfrmSelectY> selectY_;
  QPointer<TfrmWorking> working_;
};

}  // namespace karvelo::shell
