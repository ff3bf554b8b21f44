#include "render/BmpReader.h"

#include <cstdint>
#include <vector>

#include "base/Files.h"

namespace karvelo {
namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;

std::uint32_t U16(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}

std::uint32_t U32(std::string_view b, std::size_t at) {
  return U16(b, at) | U16(b, at + 2) << 16;
}

std::int32_t I32(std::string_view b, std::size_t at) {
  return static_cast<std::int32_t>(U32(b, at));
}

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

struct BmpHeader {
  std::size_t pixelOffset = 0;
  std::uint32_t headerSize = 0;
  int width = 0;
  int height = 0;  // rows
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
};

bool ReadHeader(std::string_view b, BmpHeader& h, std::string* error) {
  if (b.size() < FileHeaderSize + 4 || b[0] != 'B' || b[1] != 'M')
    return Fail(error, "not a BMP file");
  h.pixelOffset = U32(b, 10);
  h.headerSize = U32(b, FileHeaderSize);
  if (h.headerSize != CoreHeaderSize && h.headerSize < InfoHeaderSize)
    return Fail(error, "unknown BMP header");
  if (b.size() < FileHeaderSize + h.headerSize) return Fail(error, "BMP header cut short");
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t planes = 0;
  if (h.headerSize == CoreHeaderSize) {
    width = static_cast<std::int32_t>(U16(b, 18));
    height = static_cast<std::int32_t>(U16(b, 20));
    planes = U16(b, 22);
    h.bitCount = static_cast<int>(U16(b, 24));
  } else {
    width = I32(b, 18);
    height = I32(b, 22);
    planes = U16(b, 26);
    h.bitCount = static_cast<int>(U16(b, 28));
    h.compression = U32(b, 30);
    h.coloursUsed = U32(b, 46);
  }
  if (planes != 1) return Fail(error, "BMP with more than one plane");
  if (h.compression != 0) return Fail(error, "compressed BMP files are not supported");
  if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 24 && h.bitCount != 32)
    return Fail(error, "unsupported BMP pixel depth");
  if (width <= 0 || width > MaxBmpSide || height == 0 || height > MaxBmpSide ||
      height < -MaxBmpSide)
    return Fail(error, "BMP size out of range");
  h.width = width;
  h.topDown = height < 0;
  h.height = height < 0 ? -height : height;
  return true;
}

bool ReadColourTable(std::string_view b, const BmpHeader& h, std::vector<TColor>& table,
                     std::string* error) {
  if (h.bitCount > 8) return true;
  const std::uint32_t full = 1u << h.bitCount;
  const std::uint32_t count = h.coloursUsed == 0 ? full : h.coloursUsed;
  if (count > full) return Fail(error, "BMP colour table too long");
  const std::size_t entrySize = h.headerSize == CoreHeaderSize ? 3 : 4;
  const std::size_t start = FileHeaderSize + h.headerSize;
  if (start + count * entrySize > b.size()) return Fail(error, "BMP colour table cut short");
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t at = start + i * entrySize;
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(b[at + k]); };
    table.push_back(MakeRgb(byte(2), byte(1), byte(0)));
  }
  return true;
}

// The colour of pixel x of one stored row.
bool PixelOf(std::string_view row, int bitCount, int x, const std::vector<TColor>& table,
             TColor& colour) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(row[k]); };
  const auto ux = static_cast<std::size_t>(x);
  if (bitCount >= 24) {
    const std::size_t at = ux * static_cast<std::size_t>(bitCount / 8);
    colour = MakeRgb(byte(at + 2), byte(at + 1), byte(at));
    return true;
  }
  const std::size_t bitPos = ux * static_cast<std::size_t>(bitCount);
  const unsigned shift = static_cast<unsigned>(8 - bitCount) - static_cast<unsigned>(bitPos % 8);
  const unsigned index = (byte(bitPos / 8) >> shift) & ((1u << bitCount) - 1u);
  if (index >= table.size()) return false;
  colour = table[index];
  return true;
}

}  // namespace

bool DecodeBmp(std::string_view bytes, PatternBitmap& bitmap, std::string* error) {
  BmpHeader h;
  if (!ReadHeader(bytes, h, error)) return false;
  std::vector<TColor> table;
  if (!ReadColourTable(bytes, h, table, error)) return false;
  const std::size_t stride =
      (static_cast<std::size_t>(h.width) * static_cast<std::size_t>(h.bitCount) + 31) / 32 * 4;
  const std::size_t rows = static_cast<std::size_t>(h.height);
  if (h.pixelOffset > bytes.size() || (bytes.size() - h.pixelOffset) / stride < rows)
    return Fail(error, "BMP pixel data cut short");

  PatternBitmap result;
  result.width = h.width;
  result.height = h.height;
  result.pixels.resize(static_cast<std::size_t>(h.width) * rows);
  for (std::size_t r = 0; r < rows; ++r) {
    const std::size_t stored = h.topDown ? r : rows - 1 - r;
    const std::string_view row = bytes.substr(h.pixelOffset + stored * stride, stride);
    for (int x = 0; x < h.width; ++x) {
      if (!PixelOf(
              row, h.bitCount, x, table,
              result.pixels[r * static_cast<std::size_t>(h.width) + static_cast<std::size_t>(x)]))
        return Fail(error, "BMP pixel outside the colour table");
    }
  }
  bitmap = std::move(result);
  return true;
}

bool ReadBmpFile(const std::string& path, PatternBitmap& bitmap, std::string* error) {
  const auto bytes = ReadWholeFile(path);
  if (!bytes) return Fail(error, "cannot be opened");
  return DecodeBmp(*bytes, bitmap, error);
}

}  // namespace karvelo
