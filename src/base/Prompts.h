#pragma once

// Every message box, question and small dialog the core asks for goes through this
// seam: Qt dialogs in the desktop program, standard error and options in the console
// companion, a scripted implementation in the tests.

#include <string>
#include <vector>

#include "base/PlotState.h"

namespace karvelo {

enum class MessageKind { Information, Warning, Error };
enum class Answer { Yes, No, Cancel };

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A message box with an OK button.
  virtual void Message(const std::string& text, MessageKind kind = MessageKind::Information) = 0;
  // A confirmation box with Yes and No.
  virtual bool AskYesNo(const std::string& text) = 0;
  // A confirmation box with Yes, No and Cancel.
  virtual Answer AskYesNoCancel(const std::string& text) = 0;
  // The plot type question of a new diagram; modelPreselected mirrors graphtype.ModSelFlag.
  virtual TDiagramType AskPlotType(bool modelPreselected) = 0;
  // The Y slice of a 3-D data file: returns a 1-based index into yValues.
  // lastChosen is the 1-based slice chosen last (0 when none).
  virtual int AskYSlice(const std::vector<double>& yValues, int lastChosen) = 0;
  // The "Working" progress box of long computations.
  virtual void ProgressReset() = 0;
  virtual void ProgressUpdate() = 0;
};

// The prompts in force. Defaults to a silent implementation that answers No and the
// first choices, so library code never blocks when nobody installed a real one.
Prompts& CurrentPrompts();
// Installs p (not owned; nullptr restores the silent default). Returns the previous one.
Prompts* SetPrompts(Prompts* p);

// Installs prompts for the lifetime of a scope.
class ScopedPrompts {
 public:
  explicit ScopedPrompts(Prompts& p) : previous_(SetPrompts(&p)) {}
  ~ScopedPrompts() { SetPrompts(previous_); }
  ScopedPrompts(const ScopedPrompts&) = delete;
  ScopedPrompts& operator=(const ScopedPrompts&) = delete;

 private:
  Prompts* previous_;
};

}  // namespace karvelo
