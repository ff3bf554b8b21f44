#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "k7rdump/K7rDumpFixtures.h"

namespace {

using k7rtest::CountLines;
using k7rtest::Dump;
using k7rtest::HasLineStartingWith;
using k7rtest::HeaderFields;
using k7rtest::K7rBytes;
using k7rtest::Lines;
using k7rtest::LinesStartingWith;
using k7rtest::MakeFile;
using k7rtest::RecordFields;

const std::string kHeaderEnd = "==================================";
const std::string kSeparator = "-----------------------------------";

// The lines of the first record, between its separator and the next one.
std::vector<std::string> FirstRecordLines(const std::string& dump) {
  std::vector<std::string> record;
  bool inside = false;
  for (const auto& line : Lines(dump)) {
    if (line == kSeparator) {
      if (inside) break;
      inside = true;
      continue;
    }
    if (inside) record.push_back(line);
  }
  return record;
}

std::vector<std::string> Labels(const std::vector<std::string>& lines) {
  std::vector<std::string> labels;
  for (const auto& line : lines) labels.push_back(line.substr(0, line.find(':')));
  return labels;
}

RecordFields TypicalRecord() {
  RecordFields r;
  r.scaled = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  r.coordinates = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  r.status = 0x00000003u;
  r.data = 47.25f;
  return r;
}

struct VersionCase {
  std::uint16_t version;
  bool instrumentId, eightProtocols, geometry, refLocation, layoutOffset;
  bool headerValueOptions, ccMode, acqDelay, statusWord, recordValueOptions;
};

TEST(K7rDumpVersions, OptionalFieldsFollowTheVersion) {
  const VersionCase cases[] = {
      // V  id     8prot  geom   ref    offset hdrOpt ccMode acqDel status recOpt
      {3, false, false, false, false, false, false, false, false, false, false},
      {4, false, false, true, false, false, false, false, false, false, false},
      {5, false, false, true, false, false, false, true, false, false, false},
      {6, true, false, true, false, false, false, true, false, false, false},
      {7, true, false, true, false, false, false, true, false, false, false},
      {8, true, true, true, false, false, false, true, false, false, false},
      {10, true, true, true, false, false, false, true, true, false, false},
      {11, true, true, true, false, true, false, true, true, false, false},
      {13, true, true, true, false, true, false, true, true, true, false},
      {14, true, true, true, true, true, false, true, true, true, false},
      {16, true, true, true, true, true, true, true, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("version " + std::to_string(c.version));
    HeaderFields h;
    h.version = c.version;
    const std::string dump = Dump(MakeFile(h, {TypicalRecord()}));
    EXPECT_EQ(HasLineStartingWith(dump, "Instrument id:TVM4000"), c.instrumentId);
    EXPECT_EQ(LinesStartingWith(dump, "Protocol:").size(), c.eightProtocols ? 0u : 2u);
    EXPECT_EQ(CountLines(dump, "0 Protocol: WENNER") + CountLines(dump, "7 Protocol: "),
              c.eightProtocols ? 2u : 0u);
    EXPECT_EQ(CountLines(dump, "Geometry"), c.geometry ? 1u : 0u);
    EXPECT_EQ(HasLineStartingWith(dump, "Ref location x:"), c.refLocation);
    EXPECT_EQ(HasLineStartingWith(dump, "Azimuth:"), c.refLocation);
    EXPECT_EQ(HasLineStartingWith(dump, "Layout offset z:"), c.layoutOffset);
    EXPECT_EQ(HasLineStartingWith(dump, "Value options:"), c.headerValueOptions);
    EXPECT_EQ(HasLineStartingWith(dump, "ccMode:"), c.ccMode);
    EXPECT_EQ(HasLineStartingWith(dump, "Acq delay:"), c.acqDelay);
    EXPECT_EQ(CountLines(dump, "Stack 3, Gain 0, IPGain 0, Status 0"), c.statusWord ? 2u : 0u);
    EXPECT_EQ(CountLines(dump, "Status (old format):3"), c.statusWord ? 0u : 2u);
    EXPECT_EQ(HasLineStartingWith(dump, "Value options "), c.recordValueOptions);
    // The whole file was read in step: the record and its repeat carry the data value.
    EXPECT_EQ(CountLines(dump, "Data:47.25"), 2u);
    EXPECT_EQ(CountLines(dump, kSeparator), 2u);
  }
}

TEST(K7rDumpVersions, IpErrorsFromVersion13) {
  for (const std::uint16_t version : {12, 13}) {
    HeaderFields h;
    h.version = version;
    h.mode = 3;
    RecordFields r = TypicalRecord();
    r.chargeability[0] = 4.5f;
    r.ipError[0] = 0.25f;
    const auto record = FirstRecordLines(Dump(MakeFile(h, {r, r})));
    std::size_t charge = 0, errors = 0;
    for (const auto& line : record) {
      charge += line.rfind("chargeability_:", 0) == 0 ? 1 : 0;
      errors += line.rfind("ipError_:", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(charge, 10u) << version;
    EXPECT_EQ(errors, version > 12 ? 10u : 0u) << version;
    EXPECT_EQ(record.back(), version > 12 ? "ipError_:0" : "chargeability_:0");
  }
}

TEST(K7rDumpHeader, PolvaneProtocolAddsMaxNumberLines) {
  HeaderFields h;
  h.protocolType = 2;
  h.maxAb = 5;
  h.maxMn = -9;
  h.acqDelay = 0.5f;
  h.dummies = {11, 12, 13};
  const auto lines = Lines(Dump(MakeFile(h, {TypicalRecord()})));
  const std::vector<std::string> expected = {"Acq delay:0.5", "Max number AB:5", "Max number MN:-9",
                                             "Dummy:11",      "Dummy:12",        kHeaderEnd};
  auto at = std::find(lines.begin(), lines.end(), "Acq delay:0.5");
  ASSERT_NE(at, lines.end());
  EXPECT_EQ(std::vector<std::string>(at, at + 6), expected);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Protocol type:Polvane"), lines.end());
}

TEST(K7rDumpHeader, UnknownCodesArePrintedAsNumbers) {
  HeaderFields h;
  h.mode = 5;
  h.protocolType = 3;
  RecordFields r = TypicalRecord();
  const std::string dump = Dump(MakeFile(h, {r}));
  EXPECT_EQ(CountLines(dump, "Acquisition mode: Unknown code 5"), 1u);
  EXPECT_EQ(CountLines(dump, "Protocol type: Unknown code 3"), 1u);
  EXPECT_FALSE(HasLineStartingWith(dump, "Max number AB:"));
  EXPECT_FALSE(HasLineStartingWith(dump, "ipTime_:"));
  EXPECT_EQ(CountLines(dump, "Data:47.25"), 2u);

  h.mode = 65535;
  EXPECT_EQ(CountLines(Dump(MakeFile(h, {r})), "Acquisition mode: Unknown code 65535"), 1u);
}

TEST(K7rDumpHeader, TextFieldsStopAtTheirWidth) {
  HeaderFields h;
  h.method = "ABCDEFGHIJKLMNOPQRSTUVWXYZabc";  // 29 letters, no zero byte
  h.operatorName = "Lund";
  h.instrumentId = std::string("Sec\0tion", 8);  // text after a zero byte is not shown
  h.protocols[0] = "PROTOCOL_NAME_17X";          // 17 letters
  h.defCode = "WENX";
  const std::string dump = Dump(MakeFile(h, {}));
  EXPECT_EQ(CountLines(dump, "Method:ABCDEFGHIJKLMNOPQRSTUVWXYZabc"), 1u);
  EXPECT_EQ(CountLines(dump, "Operator:Lund"), 1u);
  EXPECT_EQ(CountLines(dump, "Instrument id:Sec"), 1u);
  EXPECT_EQ(CountLines(dump, "0 Protocol: PROTOCOL_NAME_17X"), 1u);
  EXPECT_EQ(CountLines(dump, "DefCode:WENX"), 1u);
}

struct CoordinateCase {
  std::uint16_t options;
  std::uint16_t dims;
  std::vector<std::string> labels;
};

TEST(K7rDumpRecord, CoordinatesFollowValueOptionsAndDimensions) {
  const std::vector<std::string> floats = {"AX", "AY", "AZ", "BX", "BY", "BZ",
                                           "MX", "MY", "MZ", "NX", "NY", "NZ"};
  const CoordinateCase cases[] = {
      {1, 1, floats},
      {1, 2, floats},
      {1, 3, floats},
      {3, 0, floats},  // only bit 0 chooses float coordinates
      {0, 0, {}},
      {0, 1, {"sAX", "sBX", "sMX", "sNX"}},
      {0, 2, {"sAX", "sAY", "sBX", "sBY", "sMX", "sMY", "sNX", "sNY"}},
      {0, 3, {"sAX", "sAY", "sAZ", "sBX", "sBY", "sBZ", "sMX", "sMY", "sMZ", "sNX", "sNY", "sNZ"}},
      {2, 4, {"sAX", "sAY", "sAZ", "sBX", "sBY", "sBZ", "sMX", "sMY", "sMZ", "sNX", "sNY", "sNZ"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("options " + std::to_string(c.options) + ", dims " + std::to_string(c.dims));
    HeaderFields h;
    h.electrodeDims = c.dims;
    RecordFields r = TypicalRecord();
    r.valueOptions = c.options;
    const auto record = FirstRecordLines(Dump(MakeFile(h, {r, r})));
    ASSERT_FALSE(record.empty());
    EXPECT_EQ(record.front(), "Value options " + std::to_string(c.options));
    std::vector<std::string> coordinates(record.begin() + 1, record.end());
    coordinates.resize(c.labels.size());
    EXPECT_EQ(Labels(coordinates), c.labels);
    ASSERT_GT(record.size(), c.labels.size() + 1);
    EXPECT_EQ(record[c.labels.size() + 1], "Stack 3, Gain 0, IPGain 0, Status 0");
  }
}

TEST(K7rDumpRecord, ScaledCoordinateValuesInElectrodeOrder) {
  HeaderFields h;
  h.electrodeDims = 2;
  RecordFields r = TypicalRecord();
  r.scaled = {-1, 2, 0, 32767, -32768, 0, 5, 6, 0, 7, 8, 0};
  const auto record = FirstRecordLines(Dump(MakeFile(h, {r})));
  const std::vector<std::string> expected = {"Value options 0", "sAX:-1",     "sAY:2",
                                             "sBX:32767",       "sBY:-32768", "sMX:5",
                                             "sMY:6",           "sNX:7",      "sNY:8"};
  EXPECT_EQ(std::vector<std::string>(record.begin(), record.begin() + 9), expected);
}

TEST(K7rDumpRecord, StatusWordSplit) {
  const std::pair<std::uint32_t, const char*> cases[] = {
      {0x05000A03u, "Stack 3, Gain 2, IPGain 2, Status 5"},
      {0xFFFFFFFFu, "Stack 255, Gain 3, IPGain 3, Status 255"},
      {0x00FFF000u, "Stack 0, Gain 0, IPGain 0, Status 0"},  // bits 12-23 are not shown
      {0x00000C00u, "Stack 0, Gain 0, IPGain 3, Status 0"},
      {0x00000300u, "Stack 0, Gain 3, IPGain 0, Status 0"},
      {0x80000000u, "Stack 0, Gain 0, IPGain 0, Status 128"},
  };
  for (const auto& [status, line] : cases) {
    for (const std::uint16_t mode : {2, 4}) {
      HeaderFields h;
      h.mode = mode;
      RecordFields r = TypicalRecord();
      r.status = status;
      EXPECT_EQ(CountLines(Dump(MakeFile(h, {r})), line), 2u) << line << " mode " << mode;
    }
  }
}

TEST(K7rDumpRecord, LoggingDataTypeNames) {
  const std::pair<std::uint16_t, const char*> cases[] = {
      {0, "dataType =0 LOG_UNTITLED"},       {1, "dataType =1 LOG_SP"},
      {2, "dataType =2 LOG_TEMP"},           {4, "dataType =4 LOG_LONGNORMAL"},
      {5, "dataType =5 LOG_LATERAL"},        {6, "dataType =6 LOG_FLUID"},
      {7, "dataType =7 LOG_SHORTNORMAL_IP"}, {8, "dataType =8 LOG_LONGNORMAL_IP"},
      {9, "dataType =9 LOG_LATERAL_IP"},     {10, "dataType =10 LOG_INVALID"},
      {11, "dataType =11 LOG_INVALID"},      {65535, "dataType =65535 LOG_INVALID"},
  };
  for (const auto& [type, line] : cases) {
    HeaderFields h;
    h.mode = 4;
    RecordFields r = TypicalRecord();
    r.logDataType = type;
    EXPECT_EQ(FirstRecordLines(Dump(MakeFile(h, {r}))).front(), line);
  }
}

TEST(K7rDumpEnd, HeaderWithoutRecordsPrintsOneEmptyRecord) {
  HeaderFields h;
  const auto lines = Lines(Dump(MakeFile(h, {})));
  const auto end = std::find(lines.begin(), lines.end(), kHeaderEnd);
  ASSERT_NE(end, lines.end());
  const std::vector<std::string> tail(end + 1, lines.end());
  ASSERT_FALSE(tail.empty());
  EXPECT_EQ(tail.front(), kSeparator);
  EXPECT_EQ(tail[1], "Value options 0");
  EXPECT_EQ(tail.back(), "Acq time:0");
  EXPECT_EQ(std::count(tail.begin(), tail.end(), kSeparator), 1);
}

TEST(K7rDumpEnd, RecordCutShortKeepsThePreviousBytes) {
  HeaderFields h;
  RecordFields first = TypicalRecord();
  first.data = 1.5f;  // bits 0x3FC00000
  first.error = 0.25f;
  first.acqTime = 900;
  RecordFields second = TypicalRecord();
  second.scaled[0] = -7;
  second.current = 42;
  second.data = std::bit_cast<float>(0x40001234u);
  std::vector<unsigned char> bytes = MakeFile(h, {first, second});
  // Drop the second record's error and acquisition time and the upper half of its data.
  bytes.resize(bytes.size() - 4 - 4 - 2);

  const std::string dump = Dump(bytes);
  EXPECT_EQ(CountLines(dump, kSeparator), 2u);
  const auto lines = Lines(dump);
  const std::vector<std::string> tail(lines.end() - 5, lines.end());
  const std::vector<std::string> expected = {
      "Current:42",
      "Data:1.50056",  // 0x3FC01234: the two bytes read over the previous 1.5
      "Error:0.25",
      "Acq time:900",
  };
  EXPECT_EQ(std::vector<std::string>(tail.begin() + 1, tail.end()), expected);
  EXPECT_EQ(LinesStartingWith(dump, "sAX:").back(), "sAX:-7");
}

TEST(K7rDumpEnd, HeaderCutShortPrintsTheWholeHeaderAndNoRecord) {
  HeaderFields h;
  h.method = "Section profile long";
  const std::vector<unsigned char> full = MakeFile(h, {});
  const auto fullLines = Lines(Dump(full));
  const auto fullEnd = std::find(fullLines.begin(), fullLines.end(), kHeaderEnd);
  ASSERT_NE(fullEnd, fullLines.end());
  const auto headerLines = static_cast<std::size_t>(fullEnd - fullLines.begin()) + 1;
  for (const std::size_t cut :
       {std::size_t{0}, std::size_t{1}, std::size_t{30}, std::size_t{300}, full.size() - 1}) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    const std::vector<unsigned char> bytes(full.begin(), full.begin() + cut);
    const auto lines = Lines(Dump(bytes));
    EXPECT_EQ(lines.back(), kHeaderEnd);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), kSeparator), 0);
    if (cut >= 20) {
      EXPECT_EQ(lines.size(), headerLines);
    }
  }
  // Cut inside the method: the bytes read are shown, the fields after it are empty.
  const auto lines = Lines(Dump(std::vector<unsigned char>(full.begin(), full.begin() + 30)));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Method:Section pr"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Operator:"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Acquisition mode:RES"), lines.end());
}

TEST(K7rDumpEnd, EmptyInputPrintsAZeroHeader) {
  const auto lines = Lines(Dump({}));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "K7R file format version:0");
  EXPECT_EQ(lines[1], "Creation time: Thu Feb 05 21:28:16 2037");
  EXPECT_EQ(lines.back(), kHeaderEnd);
  EXPECT_EQ(CountLines(Dump({}), "Geometry"), 0u);
}

struct GeometryCountCase {
  std::uint16_t claimedDimensions;
  std::uint32_t claimedItems;
  std::size_t dimensionsPresent;
  std::size_t itemFloatsPresent;  // of the last dimension, counted in floats
  std::size_t dimensionLines;
  std::size_t xLines;
};

// A damaged count in the geometry section must not run past the file: the dump shows
// what the file holds, finishes the header and stops.
TEST(K7rDumpEnd, GeometryCountsBeyondTheFileStopAtItsEnd) {
  const GeometryCountCase cases[] = {
      {65535, 0xFFFFFFFFu, 1, 6, 1, 2},  // two whole items, then the end
      {65535, 0xFFFFFFFFu, 1, 7, 1, 3},  // a third item begun: shown with what it has
      {1000, 1, 3, 3, 3, 3},             // three dimensions of one item each
      {2, 0xFFFFFFFFu, 1, 0, 1, 0},      // the end right after the item count
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("dims " + std::to_string(c.claimedDimensions) + " floats " +
                 std::to_string(c.itemFloatsPresent));
    HeaderFields h;
    h.version = 17;
    K7rBytes b;
    k7rtest::AppendHeaderStart(b, h);  // no dimensions
    b.Bytes().resize(b.Size() - 2);    // replace the dimension count
    b.U16(c.claimedDimensions);
    for (std::size_t d = 0; d < c.dimensionsPresent; ++d) {
      b.Text("Profile", 80);
      b.U32(c.claimedItems);
      const bool last = d + 1 == c.dimensionsPresent;
      const std::size_t floats = last ? c.itemFloatsPresent : 3 * c.claimedItems;
      for (std::size_t f = 0; f < floats; ++f) b.F32(static_cast<float>(f));
    }
    const std::string dump = Dump(b.Bytes());
    EXPECT_EQ(LinesStartingWith(dump, "Dimension ").size(), c.dimensionLines);
    EXPECT_EQ(LinesStartingWith(dump, "X:").size(), c.xLines);
    EXPECT_EQ(Lines(dump).back(), kHeaderEnd);
    EXPECT_EQ(CountLines(dump, "Data"), 1u);
  }
}

TEST(K7rDumpInput, StreamAndBufferGiveTheSameDump) {
  HeaderFields h;
  h.mode = 3;
  const std::vector<unsigned char> bytes = MakeFile(h, {TypicalRecord(), TypicalRecord()});
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::ostringstream out;
  k7rdump::WriteDump(in, out);
  EXPECT_EQ(out.str(), Dump(bytes));
}

// A stream set up for a decimal comma and digit grouping must not change a single
// number of the dump: the converter always reads "." and ungrouped digits.
struct CommaNumbers : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(K7rDumpInput, StreamLocaleDoesNotReachTheNumbers) {
  HeaderFields h;
  RecordFields r = TypicalRecord();
  r.acqTime = 4000000000u;
  r.current = 12345;
  const std::vector<unsigned char> bytes = MakeFile(h, {r});
  std::ostringstream out;
  out.imbue(std::locale(std::locale::classic(), new CommaNumbers));
  k7rdump::WriteDump(std::span<const unsigned char>(bytes.data(), bytes.size()), out);
  const std::string dump = out.str();
  EXPECT_EQ(CountLines(dump, "Data:47.25"), 2u);
  EXPECT_EQ(CountLines(dump, "Acq time:4000000000"), 2u);
  EXPECT_EQ(CountLines(dump, "Current:12345"), 2u);
  EXPECT_EQ(CountLines(dump, "Acq time:0.5"), 1u);
}

}  // namespace
