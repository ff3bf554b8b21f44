#pragma once

// Small text tools shared by the parts of the DAT reader (not a public interface).

#include <string>
#include <string_view>

#include "base/Files.h"
#include "input/DatReader.h"

namespace karvelo::dattext {

// Without leading and trailing blanks and control characters (TABs, CR).
std::string_view Trim(std::string_view s);

// True when `line`, trimmed, is `keyword` regardless of letter case, with any run of
// blanks or TABs inside counting as one blank: spreadsheet exports join words by TABs.
bool KeywordIs(std::string_view line, std::string_view keyword);

// True when the line starts with `prefix` in the same loose sense as KeywordIs.
bool KeywordStarts(std::string_view line, std::string_view prefix);

// The numbers of one line read token by token by the rules of the line readers: a
// token ends at a blank, TAB or comma, and runs of blanks (also after a comma)
// separate like one.
class TokenCursor {
 public:
  explicit TokenCursor(std::string_view line) : rest_(Trim(line)) {}
  bool AtEnd() const { return rest_.empty(); }
  // The next token; empty at the end.
  std::string_view Next();
  int Taken() const { return taken_; }

 private:
  std::string_view rest_;
  int taken_ = 0;
};

// Moves `file` back by one line (it holds the whole text, so this re-reads up to it).
void StepBack(TextLines& file);

// Records where reading stopped; `path` may be empty when the caller fills it in.
void SetProblem(TDatSection section, int lineNumber, std::string_view lineText, std::string reason);
// Fills in the path of the problem just recorded.
void SetProblemPath(const std::string& path);
TDatProblem& MutableProblem();

}  // namespace karvelo::dattext
