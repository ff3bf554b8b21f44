#pragma once

// Image files of a finished picture: PNG (through libpng), GIF (through giflib) and BMP.
// A picture with at most 256 colours, which every diagram is, goes out with its exact
// palette: an 8-bit palette PNG, a GIF without dithering, an 8-bit BMP. Above 256 colours
// PNG and BMP are 24-bit, and GIF is reduced to 256 colours with Stucki dithering.
//
// Each writer encodes the whole file in memory and then writes it atomically beside its
// final name, so a failure never leaves a half-written file and never spoils an existing
// one. They return false with the reason in `error` (when given). Transparent parts of
// the image are laid over white.

#include <QImage>
#include <string>

namespace karvelo {

bool WritePng(const QImage& image, const std::string& path, std::string* error = nullptr);
bool WriteGif(const QImage& image, const std::string& path, std::string* error = nullptr);
bool WriteBmp(const QImage& image, const std::string& path, std::string* error = nullptr);

// The encoders behind the writers: the file's bytes in `out`, nothing written to disk.
bool EncodePng(const QImage& image, std::string* out, std::string* error = nullptr);
bool EncodeGif(const QImage& image, std::string* out, std::string* error = nullptr);
bool EncodeBmp(const QImage& image, std::string* out, std::string* error = nullptr);

}  // namespace karvelo
