#include "shell/QtPrompts.h"

#include <QApplication>
#include <QMessageBox>

#include "shell/ShellEnv.h"

namespace karvelo::shell {

QtPrompts::QtPrompts(QWidget* parent, TfrmPlotType* plotType, TfrmSelectY* selectY,
                     TfrmWorking* working)
    : parent_(parent), plotType_(plotType), selectY_(selectY), working_(working) {}

QWidget* QtPrompts::Parent() const {
  if (QWidget* active = QApplication::activeModalWidget()) return active;
  return parent_.data();
}

void QtPrompts::Message(const std::string& text, MessageKind kind) {
  QMessageBox::Icon icon = QMessageBox::Information;
  if (kind == MessageKind::Warning) icon = QMessageBox::Warning;
  if (kind == MessageKind::Error) icon = QMessageBox::Critical;
  QMessageBox box(icon, QStringLiteral("Karvelo"), MessageText(text), QMessageBox::Ok, Parent());
  box.exec();
}

bool QtPrompts::AskYesNo(const std::string& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), MessageText(text),
                  QMessageBox::Yes | QMessageBox::No, Parent());
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

Answer QtPrompts::AskYesNoCancel(const std::string& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), MessageText(text),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Parent());
  box.setDefaultButton(QMessageBox::Yes);
  const int r = box.exec();
  if (r == QMessageBox::Yes) return Answer::Yes;
  if (r == QMessageBox::No) return Answer::No;
  return Answer::Cancel;
}

TDiagramType QtPrompts::AskPlotType(bool modelPreselected) {
  if (!plotType_) return modelPreselected ? dtModsec2D : dtPseudo;
  return plotType_->Ask(modelPreselected);
}

int QtPrompts::AskYSlice(const std::vector<double>& yValues, int lastChosen) {
  if (!selectY_) return 1;
  return selectY_->Ask(yValues, lastChosen);
}

void QtPrompts::ProgressReset() {
  if (working_) working_->Reset();
}

void QtPrompts::ProgressUpdate() {
  if (working_) working_->Update();
}

}  // namespace karvelo::shell
