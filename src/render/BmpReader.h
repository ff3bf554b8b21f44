#pragma once

// A small reader for the uncompressed Windows BMP files that hold the material fill
// patterns: 1-, 4-, 8-, 24- and 32-bit pixels, bottom-up or top-down rows, with the
// 12-byte core header or the 40-byte (and longer) info header. Everything else
// (compression, bit fields, huge or broken files) is refused with a reason.

#include <string>
#include <string_view>

#include "render/Canvas.h"

namespace karvelo {

// Largest width or height accepted; fill patterns are a few pixels wide.
inline constexpr int MaxBmpSide = 4096;

// Decodes the bytes of a BMP file into `bitmap` (direct colours, top row first).
// Returns false and sets `error` for anything it cannot read; `bitmap` is then untouched.
bool DecodeBmp(std::string_view bytes, PatternBitmap& bitmap, std::string* error = nullptr);

// Reads and decodes one BMP file.
bool ReadBmpFile(const std::string& path, PatternBitmap& bitmap, std::string* error = nullptr);

}  // namespace karvelo
