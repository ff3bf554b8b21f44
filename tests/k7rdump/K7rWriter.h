#pragma once

// Builds small K7R files for the tests, field by field in the file's own layout:
// little-endian numbers, fixed-width text fields padded with zero bytes.

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace k7rtest {

class K7rBytes {
 public:
  void U16(std::uint16_t v) { Put(v, 2); }
  void I16(std::int16_t v) { Put(static_cast<std::uint16_t>(v), 2); }
  void U32(std::uint32_t v) { Put(v, 4); }
  void I32(std::int32_t v) { Put(static_cast<std::uint32_t>(v), 4); }
  void F32(float v) { Put(std::bit_cast<std::uint32_t>(v), 4); }
  // A text field of `width` bytes: the text cut to the width, then zero bytes.
  void Text(std::string_view text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
      bytes_.push_back(i < text.size() ? static_cast<unsigned char>(text[i]) : 0);
    }
  }
  void Raw(const std::vector<unsigned char>& more) {
    bytes_.insert(bytes_.end(), more.begin(), more.end());
  }

  std::vector<unsigned char>& Bytes() { return bytes_; }
  const std::vector<unsigned char>& Bytes() const { return bytes_; }
  std::size_t Size() const { return bytes_.size(); }

 private:
  void Put(std::uint32_t v, int width) {
    for (int i = 0; i < width; ++i) bytes_.push_back(static_cast<unsigned char>(v >> (8 * i)));
  }
  std::vector<unsigned char> bytes_;
};

struct GeometryDimension {
  std::string heading;
  std::vector<std::array<float, 3>> items;
};

// Every header field, with the values of a typical resistivity recording.
struct HeaderFields {
  std::uint16_t version = 17;
  std::string instrumentId = "TVM4000";
  std::uint32_t created = 2177485200u;
  std::uint16_t mode = 2;
  std::string method = "Section";
  std::string operatorName = "Operator";
  std::string client = "Client";
  std::array<std::string, 4> notes{};
  std::string skip1;
  std::uint16_t protocolType = 0;
  std::uint16_t protocolCount = 1;
  std::array<std::string, 8> protocols{"WENNER"};
  std::int16_t linkType = 0;
  std::int16_t idCode = 1;
  std::string defCode = "WEN";
  std::string name = "Wenner";
  float gridSize = 1;
  std::string skip2;
  std::array<float, 3> refLocation{};
  float azimuth = 0;
  float inclination = 0;
  std::vector<GeometryDimension> dimensions;
  std::uint16_t channels = 1;
  std::uint16_t electrodeDims = 3;
  std::int32_t items = 0;
  std::int32_t dataOffset = 0;
  std::int32_t nextData = 0;
  float dataGridSize = 1;
  std::array<float, 3> layoutOffset{};
  std::uint16_t valueOptions = 0;
  std::int16_t baseFrequency = 50;
  float acqTime = 0.5f;
  std::int16_t outCurrent = 100;
  float delay = 0;
  std::int16_t incrementFactor = 1;
  std::int16_t intervals = 0;
  std::int16_t startInterval = 0;
  float ipTime = 0;
  float errorLimit = 0;
  std::int16_t norm = 0;
  std::int16_t max = 0;
  std::int16_t min = 0;
  std::int16_t ccMode = 0;
  float acqDelay = 0;
  float positionDepth = 0;
  std::uint16_t dataType = 0;
  std::int16_t maxAb = 0;
  std::int16_t maxMn = 0;
  std::array<std::uint16_t, 3> dummies{};
};

struct RecordFields {
  std::uint16_t valueOptions = 0;
  std::array<float, 12> coordinates{};    // AX AY AZ BX ... NZ
  std::array<std::int16_t, 12> scaled{};  // sAX sAY sAZ sBX ... sNZ
  std::uint32_t status = 1;               // stack 1
  std::uint16_t current = 100;
  float data = 1;
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

inline void AppendHeaderStart(K7rBytes& b, const HeaderFields& h) {
  b.U16(h.version);
  if (h.version > 5) b.Text(h.instrumentId, 12);
  b.U32(h.created);
  b.U16(h.mode);
  b.Text(h.method, 29);
  b.Text(h.operatorName, 29);
  b.Text(h.client, 29);
  for (const auto& note : h.notes) b.Text(note, 29);
  b.Text(h.skip1, 6);
  b.U16(h.protocolType);
  b.U16(h.protocolCount);
  const int names = h.version > 7 ? 8 : 2;
  for (int i = 0; i < names; ++i) b.Text(h.protocols[static_cast<std::size_t>(i)], 17);
  b.I16(h.linkType);
  b.I16(h.idCode);
  b.Text(h.defCode, 4);
  b.Text(h.name, 29);
  b.F32(h.gridSize);
  b.Text(h.skip2, 12);
  if (h.version > 13) {
    for (float v : h.refLocation) b.F32(v);
    b.F32(h.azimuth);
    b.F32(h.inclination);
  }
  if (h.version > 3) {
    b.U16(static_cast<std::uint16_t>(h.dimensions.size()));
    for (const auto& dim : h.dimensions) {
      b.Text(dim.heading, 80);
      b.U32(static_cast<std::uint32_t>(dim.items.size()));
      for (const auto& item : dim.items) {
        for (float v : item) b.F32(v);
      }
    }
  }
}

inline void AppendDataDescription(K7rBytes& b, const HeaderFields& h) {
  b.U16(h.channels);
  b.U16(h.electrodeDims);
  b.I32(h.items);
  b.I32(h.dataOffset);
  b.I32(h.nextData);
  b.F32(h.dataGridSize);
  if (h.version > 10) {
    for (float v : h.layoutOffset) b.F32(v);
  }
  if (h.version > 15) b.U16(h.valueOptions);
  b.I16(h.baseFrequency);
  b.F32(h.acqTime);
  b.I16(h.outCurrent);
  b.F32(h.delay);
  b.I16(h.incrementFactor);
  b.I16(h.intervals);
  b.I16(h.startInterval);
  b.F32(h.ipTime);
  b.F32(h.errorLimit);
  b.I16(h.norm);
  b.I16(h.max);
  b.I16(h.min);
  if (h.version > 4) b.I16(h.ccMode);
  if (h.version > 9) b.F32(h.acqDelay);
  if (h.mode == 4) {
    b.F32(h.positionDepth);
    b.U16(h.dataType);
  }
  if (h.protocolType == 2) {
    b.I16(h.maxAb);
    b.I16(h.maxMn);
  }
  b.U16(h.dummies[0]);
  b.U16(h.dummies[1]);
  if (h.mode == 4) b.U16(h.dummies[2]);
}

inline void AppendHeader(K7rBytes& b, const HeaderFields& h) {
  AppendHeaderStart(b, h);
  AppendDataDescription(b, h);
}

inline void AppendLogRecord(K7rBytes& b, const RecordFields& r) {
  b.U16(r.logDataType);
  b.F32(r.depth);
  b.U16(r.current);
  b.U32(r.status);
  b.U32(r.acqTime);
  b.F32(r.data);
  b.F32(r.error);
  b.U16(r.intervals);
  b.U16(r.intervalMultiplier);
  b.F32(r.delay);
  b.F32(r.firstIntervalTime);
  b.F32(r.ipTime);
  for (float v : r.chargeability) b.F32(v);
  for (float v : r.ipError) b.F32(v);
}

inline void AppendRecord(K7rBytes& b, const HeaderFields& h, const RecordFields& r) {
  if (h.mode == 4) {
    AppendLogRecord(b, r);
    return;
  }
  const std::uint16_t options = h.version > 15 ? r.valueOptions : 0;
  if (h.version > 15) b.U16(options);
  for (std::size_t e = 0; e < 4; ++e) {
    for (std::size_t a = 0; a < 3; ++a) {
      if (options & 1u) {
        b.F32(r.coordinates[e * 3 + a]);
      } else if (h.electrodeDims > a) {
        b.I16(r.scaled[e * 3 + a]);
      }
    }
  }
  if (h.version > 12) {
    b.U32(r.status);
  } else {
    b.U16(static_cast<std::uint16_t>(r.status));
  }
  b.U16(r.current);
  b.F32(r.data);
  b.F32(r.error);
  b.U32(r.acqTime);
  if (h.mode != 3) return;
  b.F32(r.ipTime);
  b.U16(r.intervalMultiplier);
  b.U16(r.intervals);
  b.F32(r.firstIntervalTime);
  b.F32(r.delay);
  for (float v : r.chargeability) b.F32(v);
  if (h.version > 12) {
    for (float v : r.ipError) b.F32(v);
  }
}

inline std::vector<unsigned char> MakeFile(const HeaderFields& h,
                                           const std::vector<RecordFields>& records) {
  K7rBytes b;
  AppendHeader(b, h);
  for (const auto& r : records) AppendRecord(b, h, r);
  return b.Bytes();
}

}  // namespace k7rtest
