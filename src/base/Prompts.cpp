#include "base/Prompts.h"

namespace karvelo {
namespace {

class SilentPrompts : public Prompts {
 public:
  void Message(const std::string&, MessageKind) override {}
  bool AskYesNo(const std::string&) override { return false; }
  Answer AskYesNoCancel(const std::string&) override { return Answer::Cancel; }
  TDiagramType AskPlotType(bool modelPreselected) override {
    return modelPreselected ? dtModsec2D : dtPseudo;
  }
  int AskYSlice(const std::vector<double>&, int) override { return 1; }
  void ProgressReset() override {}
  void ProgressUpdate() override {}
};

SilentPrompts gSilent;
Prompts* gCurrent = &gSilent;

}  // namespace

Prompts& CurrentPrompts() {
  return *gCurrent;
}

Prompts* SetPrompts(Prompts* p) {
  Prompts* previous = gCurrent == &gSilent ? nullptr : gCurrent;
  gCurrent = p ? p : &gSilent;
  return previous;
}

}  // namespace karvelo
