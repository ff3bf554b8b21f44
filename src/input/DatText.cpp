#include "input/DatText.h"

#include <utility>

#include "input/QvMath.h"

namespace karvelo {

namespace {

TDatProblem gProblem;

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares `line` (trimmed) with `keyword` loosely; with `prefixOnly` the line may go on.
bool LooseMatch(std::string_view line, std::string_view keyword, bool prefixOnly) {
  const std::string_view s = dattext::Trim(line);
  std::size_t i = 0;
  for (std::size_t k = 0; k < keyword.size(); ++k) {
    if (keyword[k] == ' ') {
      if (i >= s.size() || (s[i] != ' ' && s[i] != '\t')) return false;
      while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
      continue;
    }
    if (i >= s.size() || Lower(s[i]) != Lower(keyword[k])) return false;
    ++i;
  }
  return prefixOnly || i == s.size();
}

}  // namespace

std::string InitialPartErrorText(const std::string& path) {
  return "Error in initial part of " + path + "!";
}

std::string DataPartErrorText(const std::string& path) {
  return "Error in file format in data part of " + path + "!";
}

std::string TopographyErrorText(const std::string& path) {
  return "Error in topography data section in " + path + "!";
}

std::string TooManyTopographyPointsText() {
  return std::string("ERROR: Too many topography points in RH2 file ... (max=") +
         FormatInt(MaxTopoPoints) + ")";
}

std::string TopographySlopeErrorText(int first, int second) {
  return "ERROR: Topography change larger than distance along cable for points " +
         FormatInt(first) + " - " + FormatInt(second) + "!" + "\n" + "\r" +
         "Distances for topography were measured along the cable ...";
}

std::string ScanListFullText(const std::string& what, const std::string& path) {
  return "WARNING: More than " + FormatInt(MaxScanList) + " distinct " + what + " in " + path +
         "! Only the first " + FormatInt(MaxScanList) + " are listed.";
}

const TDatProblem& LastDatProblem() {
  return gProblem;
}

void ClearDatProblem() {
  gProblem = TDatProblem{};
}

namespace dattext {

std::string_view Trim(std::string_view s) {
  return TrimBlanks(s);
}

bool KeywordIs(std::string_view line, std::string_view keyword) {
  return LooseMatch(line, keyword, false);
}

bool KeywordStarts(std::string_view line, std::string_view prefix) {
  return LooseMatch(line, prefix, true);
}

std::string_view TokenCursor::Next() {
  std::size_t end = 0;
  while (end < rest_.size() && rest_[end] != ' ' && rest_[end] != '\t' && rest_[end] != ',') {
    ++end;
  }
  const std::string_view token = rest_.substr(0, end);
  rest_ = end < rest_.size() ? Trim(rest_.substr(end + 1)) : std::string_view();
  ++taken_;
  return token;
}

void StepBack(TextLines& file) {
  const int target = file.LineNumber() - 1;
  file.Rewind();
  std::string skipped;
  for (int i = 0; i < target; ++i) file.ReadLine(skipped);
}

void SetProblem(TDatSection section, int lineNumber, std::string_view lineText,
                std::string reason) {
  gProblem.section = section;
  gProblem.lineNumber = lineNumber;
  gProblem.lineText.assign(lineText);
  gProblem.reason = std::move(reason);
}

void SetProblemPath(const std::string& path) {
  gProblem.path = path;
}

TDatProblem& MutableProblem() {
  return gProblem;
}

}  // namespace dattext
}  // namespace karvelo
