#pragma once

// Prompts that record every text shown and answer questions from queues. Used by the
// tests, and by the console companion to collect the messages of a load.

#include <deque>
#include <string>
#include <vector>

#include "base/Prompts.h"

namespace karvelo {

class ScriptedPrompts : public Prompts {
 public:
  struct Shown {
    std::string text;
    MessageKind kind;
  };

  // Everything shown, messages and questions alike, in order.
  std::vector<std::string> texts;
  std::vector<Shown> messages;  // message boxes only
  std::vector<std::string> questions;

  std::deque<Answer> answers;          // for AskYesNo / AskYesNoCancel
  Answer defaultAnswer = Answer::No;   // when the queue is empty
  std::deque<TDiagramType> plotTypes;  // for AskPlotType
  std::deque<int> ySlices;             // for AskYSlice
  int progressResets = 0;
  int progressUpdates = 0;
  std::vector<int> plotTypePreselections;  // modelPreselected of each AskPlotType, as 0/1
  std::vector<int> ySliceLastChosen;

  void Message(const std::string& text, MessageKind kind) override {
    texts.push_back(text);
    messages.push_back({text, kind});
  }
  bool AskYesNo(const std::string& text) override { return Next(text) == Answer::Yes; }
  Answer AskYesNoCancel(const std::string& text) override { return Next(text); }
  TDiagramType AskPlotType(bool modelPreselected) override {
    plotTypePreselections.push_back(modelPreselected ? 1 : 0);
    if (plotTypes.empty()) return modelPreselected ? dtModsec2D : dtPseudo;
    const TDiagramType t = plotTypes.front();
    plotTypes.pop_front();
    return t;
  }
  int AskYSlice(const std::vector<double>& yValues, int lastChosen) override {
    ySliceLastChosen.push_back(lastChosen);
    if (ySlices.empty()) {
      // The dialog's own preselection: the entry after the last chosen, else the first.
      return lastChosen >= 1 && lastChosen < static_cast<int>(yValues.size()) ? lastChosen + 1 : 1;
    }
    const int s = ySlices.front();
    ySlices.pop_front();
    return s;
  }
  void ProgressReset() override { ++progressResets; }
  void ProgressUpdate() override { ++progressUpdates; }

 private:
  Answer Next(const std::string& text) {
    texts.push_back(text);
    questions.push_back(text);
    if (answers.empty()) return defaultAnswer;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace karvelo
