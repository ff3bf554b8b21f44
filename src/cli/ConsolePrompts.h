#pragma once

// The prompts of the console companion: messages go to standard error (and are kept for
// the --info report), questions are answered from the command-line options, never by
// waiting for input.

#include <string>
#include <vector>

#include "base/Prompts.h"

namespace karvelo::cli {

class ConsolePrompts : public Prompts {
 public:
  // answerIP: the resistivity/IP question is answered "IP" (No) instead of resistivity.
  // echo: write every message to standard error as it comes.
  ConsolePrompts(bool answerIP, bool echo) : answerIP_(answerIP), echo_(echo) {}

  void Message(const std::string& text, MessageKind kind) override;
  bool AskYesNo(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;
  TDiagramType AskPlotType(bool modelPreselected) override;
  int AskYSlice(const std::vector<double>& yValues, int lastChosen) override;
  void ProgressReset() override {}
  void ProgressUpdate() override {}

  // The answers to questions that are not the IP question (the 1D build questions).
  void SetDefaultAnswer(Answer a) { defaultAnswer_ = a; }
  // A fast 1D build: the question for the complete set of models is answered No.
  void SetFastBuild(bool fast) { fastBuild_ = fast; }
  // The diagram type the plot-type question answers, and the Y slice (1-based, 0: first).
  void SetPlotType(TDiagramType t) { plotType_ = t; }
  void SetYSlice(int slice) { ySlice_ = slice; }

  // Every message text shown, in order (questions are not messages).
  const std::vector<std::string>& Messages() const { return messages_; }
  // Echoed messages name the file as the user gave it rather than by its absolute path.
  void SetPathAsGiven(const std::string& absolute, const std::string& given) {
    absolute_ = absolute;
    given_ = given;
  }
  // Adds a note to the report, shown like a message.
  void Note(const std::string& text) { Message(text, MessageKind::Information); }

 private:
  bool answerIP_;
  bool echo_;
  Answer defaultAnswer_ = Answer::Yes;
  bool fastBuild_ = false;
  TDiagramType plotType_ = dtPseudo;
  int ySlice_ = 0;
  std::vector<std::string> messages_;
  std::string absolute_, given_;
};

// `text` with every occurrence of `absolute` replaced by `given`.
std::string WithPathAsGiven(std::string text, const std::string& absolute,
                            const std::string& given);

// A message text as one readable console line block: the "\n\r" line breaks of the
// dialog texts become plain line breaks.
std::string ConsoleText(const std::string& text);

}  // namespace karvelo::cli
