#pragma once

// Palette images for the file writers. A diagram has a few dozen colours and is written
// with its exact palette; a picture with more than 256 colours (an imported photograph
// behind a diagram, for instance) is reduced for GIF: an octree palette at 6 bits per
// channel with the 20 static colours of a standard system palette included, and Stucki
// error diffusion onto it.

#include <QImage>
#include <QRgb>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/LargeBuffer.h"

namespace karvelo {

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<QRgb> palette;          // at most 256 opaque colours
  LargeBuffer<std::uint8_t> indices;  // width x height, row by row from the top

  const std::uint8_t* Row(int y) const {
    return indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
  }
};

// The image as opaque 32-bit RGB: other formats are converted, and transparent parts are
// laid over white (the colour of an empty page).
QImage OpaqueRgb32(const QImage& image);

// The image with its exact palette in order of first appearance, or nothing when it has
// more than maxColours (at most 256) distinct colours. `image` must be Format_RGB32.
std::optional<IndexedImage> IndexExactly(const QImage& image, int maxColours = 256);

// The 20 static colours and up to 236 octree colours; every pixel mapped with Stucki
// dithering. `image` must be Format_RGB32.
IndexedImage QuantizeStucki(const QImage& image);

// IndexExactly when the colours fit, else QuantizeStucki. Any format.
IndexedImage ReduceTo256Colours(const QImage& image);

}  // namespace karvelo
