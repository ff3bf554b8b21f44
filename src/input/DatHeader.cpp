// The header of a DAT file: one parser for both passes, so the data scan and every
// later re-read stop at exactly the line where the header scan stopped.

#include <algorithm>
#include <cmath>
#include <string>

#include "base/Prompts.h"
#include "input/DatReader.h"
#include "input/DatText.h"
#include "input/QvMath.h"

namespace karvelo {

using dattext::KeywordIs;
using dattext::KeywordStarts;

namespace {

DefaultInfWriter gInfWriter = nullptr;

bool IsDatArrayType(int t) {
  return t == 1 || t == 2 || t == 3 || t == 6 || t == 7 || t == 11 || t == 15;
}

bool IsWhole(double v) {
  return std::fabs(v) < 1e9 && v == std::nearbyint(v);
}

bool HasNumberStart(std::string_view s) {
  return s.find_first_of("+-.0123456789") != std::string_view::npos;
}

class HeaderParser {
 public:
  HeaderParser(TextLines& file, TDatHeader& header) : file_(file), h_(header) {}

  // Title to IP flag: what decides whether the resistivity/IP question is asked.
  bool Front() {
    return ReadTitle() && ReadSpacingOrGrid() && ReadArrayType() && ReadDataCount() &&
           (h_.threeD ? ReadIPPresent() : ReadLocationAndIPFlag());
  }
  // IP lines and the optional block; leaves the file at the first data line.
  bool Back() { return (h_.ipFlag == 0 || ReadIPLines()) && ReadOptionalBlock(); }

 private:
  bool Next(const char* what) {
    if (file_.ReadLine(line_)) return true;
    line_.clear();
    dattext::SetProblem(TDatSection::Header, file_.LineNumber() + 1, "",
                        std::string("the file ends before ") + what);
    return false;
  }

  bool Fail(std::string reason) {
    dattext::SetProblem(TDatSection::Header, file_.LineNumber(), line_, std::move(reason));
    return false;
  }

  // The integer at the start of the current line (rounded, as integer items are read).
  bool LeadingInteger(int& value, const char* what) {
    if (!ParseIntegerLine(line_, 1, ints_, text_)) {
      return Fail(std::string("a whole number (") + what + ") was expected");
    }
    value = ints_[0];
    return true;
  }

  bool NextInteger(int& value, const char* what) {
    return Next(what) && LeadingInteger(value, what);
  }

  bool ReadTitle() {
    if (!Next("the title")) return false;
    h_.title.assign(dattext::Trim(line_));
    return true;
  }

  bool ReadSpacingOrGrid() {
    if (!Next("the unit electrode spacing")) return false;
    if (ParseRealLine(line_, 2, reals_, text_) && IsWhole(reals_[0]) && IsWhole(reals_[1])) {
      h_.threeD = true;
      h_.nx = static_cast<int>(reals_[0]);
      h_.ny = static_cast<int>(reals_[1]);
      if (h_.nx < 1 || h_.ny < 1) return Fail("the grid size must be positive");
      return ReadGridSpacing();
    }
    if (!ParseRealLine(line_, 1, reals_, text_)) {
      return Fail("the unit electrode spacing (a number) was expected");
    }
    return true;
  }

  bool ReadGridSpacing() {
    if (!Next("the grid spacing")) return false;
    if (ParseRealLine(line_, 2, reals_, text_)) return true;
    if (!KeywordIs(line_, "Nonuniform grid")) {
      return Fail("two grid spacings or \"Nonuniform grid\" were expected");
    }
    if (!Next("the x positions of the grid")) return false;
    StartStream();
    if (!ReadStream(h_.nx, nullptr, "the x positions of the grid")) return false;
    if (!Next("the y positions of the grid")) return false;
    StartStream();
    return ReadStream(h_.ny, nullptr, "the y positions of the grid");
  }

  // Starts reading numbers as one stream at the current line.
  void StartStream() { cursor_ = LineCursor{line_, 0}; }

  // Reads the next `count` numbers of the stream, running over as many lines as
  // needed; what follows the last number on its line is left unread.
  bool ReadStream(int count, double* out, const char* what) {
    for (int i = 0; i < count; ++i) {
      while (!HasNumberStart(cursor_.text.substr(std::min(cursor_.pos, cursor_.text.size())))) {
        if (cursor_.pos == 0) return Fail(std::string("numbers (") + what + ") were expected");
        if (!Next(what)) return false;
        StartStream();
      }
      double v = 0;
      if (!ReadRealField(cursor_, v)) return Fail(std::string("a bad number in ") + what);
      if (out != nullptr) out[i] = v;
    }
    return true;
  }

  bool ReadArrayType() {
    if (!Next("the array type")) return false;
    if (!LeadingInteger(h_.arrayType, "the array type")) return false;
    dattext::TokenCursor tokens(line_);
    tokens.Next();
    if (!tokens.AtEnd()) return Fail("nothing may follow the array type on its line");
    if (!IsDatArrayType(h_.arrayType)) {
      return Fail("the array type must be one of 1, 2, 3, 6, 7, 11, 15");
    }
    h_.arrayCode = ArrayCodeOfDatType(h_.arrayType);
    if (h_.arrayType != 11) return true;
    return NextInteger(h_.subArrayType, "the sub-array type") && Next("the measurement caption") &&
           NextInteger(h_.measurementType, "the measurement type");
  }

  // Some pole-pole files name their remote electrodes between the array type and the
  // data count: a keyword line, a caption and an "x,y,z" line per remote electrode, and
  // a closing caption. Other readers accept it; so do we.
  bool SkipRemoteElectrodes() {
    h_.remoteElectrodes = true;
    for (;;) {
      if (!Next("the number of data points")) return false;
      const std::string_view t = dattext::Trim(line_);
      if (t.find("remote electrode") != std::string_view::npos || KeywordStarts(t, "C2 remote") ||
          KeywordStarts(t, "P2 remote")) {
        if (!Next("a remote electrode location")) return false;
        continue;
      }
      const char c = t.empty() ? ' ' : t.front();
      if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) continue;  // a caption
      return true;
    }
  }

  bool ReadDataCount() {
    if (!Next("the number of data points")) return false;
    if (KeywordIs(line_, "Remote electrodes included") && !SkipRemoteElectrodes()) return false;
    if (!LeadingInteger(h_.declaredPoints, "the number of data points")) return false;
    if (h_.declaredPoints < 0) return Fail("the number of data points must not be negative");
    return true;
  }

  bool ReadLocationAndIPFlag() {
    if (!NextInteger(h_.xLocationType, "the x-location type")) return false;
    if (h_.xLocationType >= -3 && h_.xLocationType <= -1) {
      return Fail("the x-location type must not be -1, -2 or -3");
    }
    int flag = 0;
    if (!NextInteger(flag, "the IP flag")) return false;
    h_.ipFlag = ((flag % 256) + 256) % 256;
    if (h_.ipFlag == 244 || h_.ipFlag == 254 || h_.ipFlag == 255) {
      return Fail("the IP flag must not be -12, -2 or -1");
    }
    h_.ipFlagRead = true;
    return true;
  }

  bool ReadIPPresent() {
    h_.ipFlagRead = true;
    if (!file_.ReadLine(line_)) return true;  // a header without data
    if (KeywordIs(line_, "IP present")) {
      h_.ipFlag = 1;
    } else {
      dattext::StepBack(file_);
    }
    return true;
  }

  bool ReadIPLines() {
    if (!Next("the IP quantity")) return false;
    h_.ipQuantity.assign(dattext::Trim(line_));
    // Spreadsheet exports separate words by TABs; a label shows them as blanks.
    for (char& c : h_.ipQuantity) {
      if (c == '\t') c = ' ';
    }
    if (!Next("the IP unit")) return false;
    h_.ipUnit.assign(dattext::Trim(line_));
    if (!Next("the IP timing")) return false;
    if (h_.ipFlag == 11) return ReadWindowTiming();
    h_.ipTimingRead = ParseRealLine(line_, 2, reals_, text_);
    if (h_.ipTimingRead) {
      h_.ipWindows = 1;
      h_.ipDelay = reals_[0];
      h_.ipTime[1] = reals_[1];
    }
    return true;
  }

  // IP flag 11: the window count, the delay, one length per window, Ton and Toff.
  bool ReadWindowTiming() {
    double count = 0;
    StartStream();
    if (!ReadStream(1, &count, "the number of IP windows")) return false;
    if (!IsWhole(count) || count < 1 || count > MaxIPWindows) {
      return Fail("the number of IP windows must be 1 to 255");
    }
    h_.ipWindows = static_cast<int>(count);
    double rest[MaxIPWindows + 3];
    if (!ReadStream(h_.ipWindows + 3, rest, "the IP window timing")) return false;
    h_.ipDelay = rest[0];
    for (int w = 1; w <= h_.ipWindows; ++w) h_.ipTime[static_cast<std::size_t>(w)] = rest[w];
    h_.ton = rest[h_.ipWindows + 1];
    h_.toff = rest[h_.ipWindows + 2];
    h_.ipTimingRead = true;
    return true;
  }

  bool ReadOptionalBlock() {
    if (!file_.ReadLine(line_)) return true;  // no data lines at all
    if (KeywordIs(line_, "Time sequence data")) {
      int steps = 0;
      if (!Next("the time-lapse caption") || !NextInteger(steps, "the number of time steps")) {
        return false;
      }
      if (steps < 1 || steps > 255) return Fail("the number of time steps must be 1 to 255");
      h_.timeSteps = steps;
      for (int i = 0; i < 4; ++i) {
        if (!Next("the end of the time-lapse block")) return false;
      }
      return true;
    }
    if (KeywordIs(line_, "Error estimate for data present")) {
      h_.errorEstimates = true;
      return Next("the error-estimate caption") &&
             NextInteger(h_.errorEstimateType, "the error-estimate type");
    }
    dattext::StepBack(file_);
    return true;
  }

  TextLines& file_;
  TDatHeader& h_;
  std::string line_;
  std::string text_;
  LineIntArray ints_{};
  LineValueArray reals_{};
  LineCursor cursor_;
};

void ApplyFront(const TDatHeader& h) {
  optrec.Comment = h.title;
  optrec.XYscan = h.threeD;
  if (h.arrayCode >= 0) optrec.ArrayCode = static_cast<std::uint8_t>(h.arrayCode);
  if (h.subArrayType >= 0) {
    const int sub = ArrayCodeOfDatType(h.subArrayType);
    if (ArrayDatType[static_cast<std::size_t>(sub)] == h.subArrayType) {
      optrec.ArrayType = ArrayNames[static_cast<std::size_t>(sub)];
    }
  }
  if (h.ipFlagRead) optrec.IPflag = static_cast<std::uint8_t>(h.ipFlag);
}

void ApplyBack(const TDatHeader& h) {
  if (h.ipFlag != 0 && !h.ipUnit.empty()) {
    graphtype.TextStrIP = h.ipQuantity + "[" + h.ipUnit + "]";
  }
  if (h.ipFlag == 0) {
    optrec.IPwindows = 0;
  } else if (h.ipTimingRead) {
    optrec.IPwindows = static_cast<std::uint8_t>(h.ipWindows);
    optrec.IPdelay = h.ipDelay;
    for (int w = 1; w <= h.ipWindows; ++w) {
      optrec.IPtime[static_cast<std::size_t>(w)] = h.ipTime[static_cast<std::size_t>(w)];
    }
    if (h.ipFlag == 11) {
      optrec.Ton = h.ton;
      optrec.Toff = h.toff;
    }
  } else if (h.ipFlag != 11) {
    // An unreadable timing line: the file is read without IP, and nothing offers
    // to plot IP values that will not be read.
    optrec.IPflag = 0;
    optrec.IPwindows = 0;
    graphtype.IPflag = 0;
  }
  optrec.TimeSteps = static_cast<std::uint8_t>(h.timeSteps);
  optrec.ErrorEstimates = h.errorEstimates ? 1 : 0;
  if (h.errorEstimates) {
    optrec.ErrorEstimateType = static_cast<std::uint8_t>(((h.errorEstimateType % 256) + 256) % 256);
  }
}

}  // namespace

bool ReadDatHeader(TextLines& file, TDatHeader& header) {
  header = TDatHeader{};
  HeaderParser parser(file, header);
  return parser.Front() && parser.Back();
}

std::string DatFilePath() {
  return optrec.DataDisk.str() + optrec.DataDir + optrec.FileName + optrec.DataExt.str();
}

void SetDefaultInfWriter(DefaultInfWriter writer) {
  gInfWriter = writer;
}

bool ScanDatHeader(bool mayAsk) {
  ClearDatProblem();
  optrec.TimeSteps = 1;
  optrec.ErrorEstimates = 0;
  graphtype.IPflag = 0;
  // A 2-D file after a 3-D one must not keep the y column.
  optrec.XYscan = false;
  const std::string path = DatFilePath();
  TextLines file;
  if (!file.Open(ResolveFileNoCase(path))) return false;

  TDatHeader h;
  HeaderParser parser(file, h);
  bool ok = parser.Front();
  ApplyFront(h);
  if (ok && h.ipFlag != 0 && mayAsk) {
    graphtype.IPflag = CurrentPrompts().AskYesNo(ResistivityOrIPQuestion) ? 0 : 1;
  }
  if (ok) {
    ok = parser.Back();
    ApplyBack(h);
  }
  if (!ok) dattext::SetProblemPath(path);
  if (gInfWriter != nullptr) gInfWriter();
  return ok;
}

bool SkipDatHeader(TextLines& file, int& declaredPoints, int& measurementType) {
  file.Rewind();
  TDatHeader h;
  const bool ok = ReadDatHeader(file, h);
  declaredPoints = h.declaredPoints;
  measurementType = h.measurementType;
  XIsFirstElectrode = !h.threeD && h.xLocationType == 0;
  return ok;
}

}  // namespace karvelo
