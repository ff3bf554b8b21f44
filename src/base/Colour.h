#pragma once

#include <cstdint>

namespace karvelo {

// A colour value as the drawing layer understands it. Two kinds share one 32-bit word:
// a direct colour 0x00BBGGRR, or a reference to an entry of the diagram window's
// 256-entry palette (bit 24 set, entry in the low byte). Plot colour n is a reference
// to palette entry 16 n, so changing the palette recolours a diagram without
// touching the plot state.
using TColor = std::uint32_t;

constexpr TColor kPaletteFlag = 0x01000000u;

constexpr TColor MakeRgb(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr TColor PaletteIndex(int entry) {
  return kPaletteFlag | static_cast<TColor>(entry & 0xFF);
}
constexpr bool IsPaletteIndex(TColor c) {
  return (c & 0xFF000000u) == kPaletteFlag;
}
constexpr int PaletteEntryOf(TColor c) {
  return static_cast<int>(c & 0xFFu);
}
constexpr int RedOf(TColor c) {
  return static_cast<int>(c & 0xFFu);
}
constexpr int GreenOf(TColor c) {
  return static_cast<int>((c >> 8) & 0xFFu);
}
constexpr int BlueOf(TColor c) {
  return static_cast<int>((c >> 16) & 0xFFu);
}

}  // namespace karvelo
