#include "k7rdump/K7rDump.h"

#include <array>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <streambuf>
#include <system_error>
#include <type_traits>

#include "k7rdump/K7rText.h"

namespace k7rdump {
namespace {

template <std::size_t N>
using Text = std::array<char, N>;

constexpr std::uint16_t kModeIp = 3;
constexpr std::uint16_t kModeLog = 4;
constexpr std::uint16_t kProtocolPolvane = 2;

// Reads the little-endian fields of a K7R file front to back. A read that falls short
// overwrites only the bytes it got and marks the end of the input; from then on every
// read gets nothing, so the fields keep their values.
class FieldReader {
 public:
  explicit FieldReader(std::streambuf& source) : source_(source) {}

  // True once a read has fallen short.
  bool AtEnd() const { return atEnd_; }

  // True when not one more byte can be read; looks ahead without consuming anything.
  bool Exhausted() { return atEnd_ || source_.sgetc() == std::streambuf::traits_type::eof(); }

  template <typename T>
  void Read(T& field) {
    static_assert(std::is_arithmetic_v<T>);
    using Bits = std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint32_t>;
    static_assert(sizeof(T) == sizeof(Bits));
    auto bits = std::bit_cast<Bits>(field);
    const std::size_t got = Fill(sizeof(T));
    for (std::size_t i = 0; i < got; ++i) {
      const unsigned shift = 8u * static_cast<unsigned>(i);
      bits = static_cast<Bits>(bits & ~(Bits{0xFF} << shift));
      bits = static_cast<Bits>(bits | (Bits{scratch_[i]} << shift));
    }
    field = std::bit_cast<T>(bits);
  }

  template <std::size_t N>
  void Read(Text<N>& field) {
    static_assert(N <= kScratchSize);
    const std::size_t got = Fill(N);
    for (std::size_t i = 0; i < got; ++i) field[i] = static_cast<char>(scratch_[i]);
  }

 private:
  static constexpr std::size_t kScratchSize = 2000;

  std::size_t Fill(std::size_t count) {
    if (atEnd_) return 0;
    const std::streamsize got = source_.sgetn(reinterpret_cast<char*>(scratch_.data()),
                                              static_cast<std::streamsize>(count));
    const std::size_t bytes = got > 0 ? static_cast<std::size_t>(got) : 0;
    if (bytes < count) atEnd_ = true;
    return bytes;
  }

  std::streambuf& source_;
  std::array<unsigned char, kScratchSize> scratch_{};
  bool atEnd_ = false;
};

std::string ValueText(std::uint16_t value) {
  return FormatInt(value);
}
std::string ValueText(std::int16_t value) {
  return FormatInt(value);
}
std::string ValueText(std::uint32_t value) {
  return FormatInt(value);
}
std::string ValueText(std::int32_t value) {
  return FormatInt(value);
}
std::string ValueText(float value) {
  return FormatG(static_cast<double>(value));
}
template <std::size_t N>
std::string ValueText(const Text<N>& value) {
  return std::string(FieldText(value.data(), N));
}

// Reads fields and prints each one as a labelled line as soon as it is read.
class Printer {
 public:
  Printer(FieldReader& in, std::ostream& out) : in_(in), out_(out) {}

  FieldReader& In() { return in_; }

  void Line(std::string_view text) {
    out_ << text;
    out_.put('\n');
  }
  void Line(std::string_view label, std::string_view value) {
    out_ << label << value;
    out_.put('\n');
  }
  void Raw(std::string_view text) { out_ << text; }

  template <typename T>
  void Field(std::string_view label, T& field) {
    in_.Read(field);
    Line(label, ValueText(field));
  }

 private:
  FieldReader& in_;
  std::ostream& out_;
};

// What the header decides about the layout of the rest of the file.
struct Layout {
  std::uint16_t version = 0;
  std::uint16_t mode = 0;
  std::uint16_t protocolType = 0;
  std::uint16_t electrodeDims = 0;
};

std::string ModeText(std::uint16_t mode) {
  static constexpr std::array<std::string_view, 5> kNames = {"Unknown", "SP", "RES", "IP", "LOG"};
  if (mode < kNames.size()) return std::string(kNames[mode]);
  return " Unknown code " + FormatInt(mode);
}

std::string ProtocolTypeText(std::uint16_t type) {
  static constexpr std::array<std::string_view, 3> kNames = {"No protocol", "Kelvix", "Polvane"};
  if (type < kNames.size()) return std::string(kNames[type]);
  return " Unknown code " + FormatInt(type);
}

std::string_view LogDataTypeName(std::uint16_t type) {
  static constexpr std::array<std::string_view, 11> kNames = {
      "LOG_UNTITLED",      "LOG_SP",         "LOG_TEMP",   "LOG_SHORTNORMAL",
      "LOG_LONGNORMAL",    "LOG_LATERAL",    "LOG_FLUID",  "LOG_SHORTNORMAL_IP",
      "LOG_LONGNORMAL_IP", "LOG_LATERAL_IP", "LOG_INVALID"};
  return kNames[type < kNames.size() ? type : kNames.size() - 1];
}

// Version, instrument, creation time, mode, the texts and the protocol names.
void DumpIdentity(Printer& p, Layout& layout) {
  p.Field("K7R file format version:", layout.version);
  const std::uint16_t v = layout.version;
  Text<12> instrumentId{};
  if (v > 5) p.Field("Instrument id:", instrumentId);
  std::uint32_t created = 0;
  p.In().Read(created);
  p.Raw(CreationTimeLines(created));
  p.In().Read(layout.mode);
  p.Line("Acquisition mode:", ModeText(layout.mode));

  Text<29> method{}, operatorName{}, client{};
  p.Field("Method:", method);
  p.Field("Operator:", operatorName);
  p.Field("Client:", client);
  std::array<Text<29>, 4> notes{};
  for (auto& note : notes) p.Field("Note:", note);
  Text<6> skip{};
  p.Field("Skip:", skip);
  p.In().Read(layout.protocolType);
  p.Line("Protocol type:", ProtocolTypeText(layout.protocolType));
  std::uint16_t protocolCount = 0;
  p.Field("Number of protocols:", protocolCount);

  std::array<Text<17>, 8> protocols{};
  if (v > 7) {
    for (std::size_t i = 0; i < protocols.size(); ++i) {
      p.Field(FormatInt(static_cast<std::int64_t>(i)) + " Protocol: ", protocols[i]);
    }
  } else {
    p.Field("Protocol:", protocols[0]);
    p.Field("Protocol:", protocols[1]);
  }
}

// Link type up to the reference location and orientation.
void DumpLayoutBlock(Printer& p, const Layout& layout) {
  std::int16_t linkType = 0, idCode = 0;
  p.Field("Link type:", linkType);
  p.Line("Layout");
  p.Field("IdCode:", idCode);
  Text<4> defCode{};
  p.Field("DefCode:", defCode);
  Text<29> name{};
  p.Field("Name:", name);
  float gridSize = 0;
  p.Field("Grid size:", gridSize);
  Text<12> skip{};
  p.Field("Skip:", skip);
  if (layout.version > 13) {
    float x = 0, y = 0, z = 0, azimuth = 0, inclination = 0;
    p.Field("Ref location x:", x);
    p.Field("Ref location y:", y);
    p.Field("Ref location z:", z);
    p.Field("Azimuth:", azimuth);
    p.Field("Inclination:", inclination);
  }
}

// The counts come from the file and may be anything, so both loops also stop as soon
// as the input holds no further byte: a damaged count never runs past the file.
void DumpGeometry(Printer& p) {
  p.Line("Geometry");
  std::uint16_t dimensions = 0;
  p.Field("Number of dimensions:", dimensions);
  Text<80> heading{};
  std::uint32_t items = 0;
  float x = 0, y = 0, z = 0;
  for (std::uint32_t d = 0; d < dimensions && !p.In().Exhausted(); ++d) {
    p.Line("Dimension ", FormatInt(d));
    p.Field("Heading:", heading);
    p.Field("Number of items:", items);
    for (std::uint64_t i = 0; i < items && !p.In().Exhausted(); ++i) {
      p.Field("X:", x);
      p.Field("Y:", y);
      p.Field("Z:", z);
    }
  }
}

// Channels up to the start interval.
void DumpAcquisitionSettings(Printer& p, Layout& layout) {
  p.Line("Data");
  std::uint16_t channels = 0;
  p.Field("Channels:", channels);
  p.Field("Dim ", layout.electrodeDims);
  std::int32_t items = 0, dataOffset = 0, nextData = 0;
  p.Field("Items:", items);
  p.Field("DataOffset:", dataOffset);
  p.Field("Next data:", nextData);
  float gridSize = 0;
  p.Field("Grid size:", gridSize);
  if (layout.version > 10) {
    float x = 0, y = 0, z = 0;
    p.Field("Layout offset x:", x);
    p.Field("Layout offset y:", y);
    p.Field("Layout offset z:", z);
  }
  if (layout.version > 15) {
    std::uint16_t valueOptions = 0;
    p.Field("Value options:", valueOptions);
  }
  std::int16_t baseFrequency = 0, outCurrent = 0, incrementFactor = 0, intervals = 0;
  std::int16_t startInterval = 0;
  float acqTime = 0, delay = 0;
  p.Field("Base freq:", baseFrequency);
  p.Field("Acq time:", acqTime);
  p.Field("Out current:", outCurrent);
  p.Field("Delay:", delay);
  p.Field("Increment factor:", incrementFactor);
  p.Field("Intervals:", intervals);
  p.Field("Start interval:", startInterval);
}

// IP time up to the closing dummies.
void DumpProcessingSettings(Printer& p, const Layout& layout) {
  float ipTime = 0, errorLimit = 0;
  p.Field("Ip time:", ipTime);
  p.Field("Error limit:", errorLimit);
  std::int16_t norm = 0, max = 0, min = 0, ccMode = 0;
  p.Field("Norm:", norm);
  p.Field("Max:", max);
  p.Field("Min:", min);
  if (layout.version > 4) p.Field("ccMode:", ccMode);
  float acqDelay = 0;
  if (layout.version > 9) p.Field("Acq delay:", acqDelay);
  if (layout.mode == kModeLog) {
    float positionDepth = 0;
    std::uint16_t dataType = 0;
    p.Field("Position depth:", positionDepth);
    p.Field("Datatype:", dataType);
  }
  if (layout.protocolType == kProtocolPolvane) {
    std::int16_t maxAb = 0, maxMn = 0;
    p.Field("Max number AB:", maxAb);
    p.Field("Max number MN:", maxMn);
  }
  std::uint16_t dummy1 = 0, dummy2 = 0, dummy3 = 0;
  p.Field("Dummy:", dummy1);
  p.Field("Dummy:", dummy2);
  if (layout.mode == kModeLog) p.Field("DUMMY:", dummy3);
}

Layout DumpHeader(Printer& p) {
  Layout layout;
  DumpIdentity(p, layout);
  DumpLayoutBlock(p, layout);
  if (layout.version > 3) DumpGeometry(p);
  DumpAcquisitionSettings(p, layout);
  DumpProcessingSettings(p, layout);
  return layout;
}

// Record fields keep their values from one record to the next: a record cut short
// shows the previous record's bytes where its own are missing.
struct Record {
  std::uint16_t valueOptions = 0;
  std::array<float, 12> coordinates{};
  std::array<std::int16_t, 12> scaled{};
  std::uint32_t status = 0;
  std::uint16_t oldStatus = 0;
  std::uint16_t current = 0;
  float data = 0;
  float error = 0;
  std::uint32_t acqTime = 0;
  float ipTime = 0;
  std::uint16_t intervalMultiplier = 0;
  std::uint16_t intervals = 0;
  float firstIntervalTime = 0;
  float delay = 0;
  std::array<float, 10> chargeability{};
  std::array<float, 10> ipError{};
  std::uint16_t logDataType = 0;
  float depth = 0;
};

void DumpStatus(Printer& p, std::uint32_t& status) {
  p.In().Read(status);
  p.Line("Stack " + FormatInt(status & 0xFFu) + ", Gain " + FormatInt((status >> 8) & 0x3u) +
         ", IPGain " + FormatInt((status >> 10) & 0x3u) + ", Status " +
         FormatInt((status >> 24) & 0xFFu));
}

void DumpCoordinates(Printer& p, const Layout& layout, Record& r) {
  static constexpr std::array<char, 4> kElectrodes = {'A', 'B', 'M', 'N'};
  static constexpr std::array<char, 3> kAxes = {'X', 'Y', 'Z'};
  const bool floatCoordinates = (r.valueOptions & 1u) != 0;
  for (std::size_t e = 0; e < kElectrodes.size(); ++e) {
    for (std::size_t a = 0; a < kAxes.size(); ++a) {
      const std::string name{kElectrodes[e], kAxes[a]};
      if (floatCoordinates) {
        p.Field(name + ":", r.coordinates[e * 3 + a]);
      } else if (layout.electrodeDims > a) {
        p.Field("s" + name + ":", r.scaled[e * 3 + a]);
      }
    }
  }
}

void DumpIpFields(Printer& p, const Layout& layout, Record& r) {
  p.Field("ipTime_:", r.ipTime);
  p.Field("intervalMultiplier_:", r.intervalMultiplier);
  p.Field("nIntervals_:", r.intervals);
  p.Field("firstIntervalTime_:", r.firstIntervalTime);
  p.Field("delay_:", r.delay);
  for (auto& value : r.chargeability) p.Field("chargeability_:", value);
  if (layout.version > 12) {
    for (auto& value : r.ipError) p.Field("ipError_:", value);
  }
}

void DumpRecord(Printer& p, const Layout& layout, Record& r) {
  r.valueOptions = 0;
  if (layout.version > 15) p.Field("Value options ", r.valueOptions);
  DumpCoordinates(p, layout, r);
  if (layout.version > 12) {
    DumpStatus(p, r.status);
  } else {
    p.Field("Status (old format):", r.oldStatus);
  }
  p.Field("Current:", r.current);
  p.Field("Data:", r.data);
  p.Field("Error:", r.error);
  p.Field("Acq time:", r.acqTime);
  if (layout.mode == kModeIp) DumpIpFields(p, layout, r);
}

void DumpLogRecord(Printer& p, Record& r) {
  p.In().Read(r.logDataType);
  p.Line("dataType =" + FormatInt(r.logDataType) + " ", LogDataTypeName(r.logDataType));
  p.Field("depth:", r.depth);
  p.Field("Current:", r.current);
  DumpStatus(p, r.status);
  p.Field("Acq time:", r.acqTime);
  p.Field("Data:", r.data);
  p.Field("Error:", r.error);
  p.Field("nIntervals_:", r.intervals);
  p.Field("intervalMultiplier_:", r.intervalMultiplier);
  p.Field("delay_:", r.delay);
  p.Field("firstIntervalTime_:", r.firstIntervalTime);
  p.Field("ipTime_:", r.ipTime);
  for (auto& value : r.chargeability) p.Field("chargeability_:", value);
  for (auto& value : r.ipError) p.Field("ipError_:", value);
}

// A memory buffer seen as a read-only stream buffer.
class ByteBuffer : public std::streambuf {
 public:
  explicit ByteBuffer(std::span<const unsigned char> bytes) {
    // The get area is never written through; streambuf just wants non-const pointers.
    char* begin = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
    setg(begin, begin, begin + bytes.size());
  }
};

}  // namespace

std::string_view FieldText(const char* field, std::size_t width) {
  std::size_t length = 0;
  while (length < width && field[length] != '\0') ++length;
  return std::string_view(field, length);
}

void WriteDump(std::streambuf& input, std::ostream& out) {
  FieldReader in(input);
  Printer p(in, out);
  const Layout layout = DumpHeader(p);
  p.Line("==================================");
  // Every record reads at least one byte or meets the end, so this loop ends.
  Record record;
  while (!in.AtEnd()) {
    p.Line("-----------------------------------");
    if (layout.mode == kModeLog) {
      DumpLogRecord(p, record);
    } else {
      DumpRecord(p, layout, record);
    }
  }
}

void WriteDump(std::istream& input, std::ostream& out) {
  if (input.rdbuf() == nullptr) {
    WriteDump(std::span<const unsigned char>{}, out);
    return;
  }
  WriteDump(*input.rdbuf(), out);
}

void WriteDump(std::span<const unsigned char> bytes, std::ostream& out) {
  ByteBuffer buffer(bytes);
  WriteDump(buffer, out);
}

void WriteFileDump(const std::string& inputPath, std::ostream& out) {
  std::error_code ec;
  std::ifstream file;
  // A folder opens on some systems but holds no bytes; it is no K7R file either.
  if (!std::filesystem::is_directory(inputPath, ec)) {
    file.open(inputPath, std::ios::in | std::ios::binary);
  }
  if (!file.is_open()) {
    out << "Can't open file " << inputPath << '\n';
    return;
  }
  out << "FILE:" << inputPath << '\n';
  WriteDump(*file.rdbuf(), out);
}

}  // namespace k7rdump
