#include "cli/ConsolePrompts.h"

#include <cstdio>

#include "input/DatReader.h"
#include "render/ModelSection1D.h"

namespace karvelo::cli {

std::string ConsoleText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      // "\n\r" and "\r\n" are one break; a lone CR is one too.
      const bool pairedBefore = i > 0 && text[i - 1] == '\n';
      if (!pairedBefore) out += '\n';
      continue;
    }
    out += c;
  }
  return out;
}

void ConsolePrompts::Message(const std::string& text, MessageKind kind) {
  messages_.push_back(text);
  if (!echo_) return;
  const char* prefix = kind == MessageKind::Error     ? "karvelo-plot: error: "
                       : kind == MessageKind::Warning ? "karvelo-plot: warning: "
                                                      : "karvelo-plot: ";
  const std::string shown = WithPathAsGiven(text, absolute_, given_);
  std::fprintf(stderr, "%s%s\n", prefix, ConsoleText(shown).c_str());
}

std::string WithPathAsGiven(std::string text, const std::string& absolute,
                            const std::string& given) {
  if (absolute.empty() || absolute == given) return text;
  for (auto p = text.find(absolute); p != std::string::npos;
       p = text.find(absolute, p + given.size())) {
    text.replace(p, absolute.size(), given);
  }
  return text;
}

bool ConsolePrompts::AskYesNo(const std::string& text) {
  if (text == ResistivityOrIPQuestion) return !answerIP_;
  return defaultAnswer_ == Answer::Yes;
}

Answer ConsolePrompts::AskYesNoCancel(const std::string& text) {
  if (fastBuild_ && text == CompleteModelQuestion) return Answer::No;
  return defaultAnswer_;
}

TDiagramType ConsolePrompts::AskPlotType(bool) {
  return plotType_;
}

int ConsolePrompts::AskYSlice(const std::vector<double>& yValues, int) {
  if (ySlice_ >= 1 && ySlice_ <= static_cast<int>(yValues.size())) return ySlice_;
  return 1;
}

}  // namespace karvelo::cli
