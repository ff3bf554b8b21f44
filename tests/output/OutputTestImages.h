#pragma once

// Pictures for the writer tests: a diagram-like one with a handful of flat colours, and a
// photograph-like one with far more than 256.

#include <QImage>

#include <cmath>

namespace karvelo::testimages {

// Coloured bands of a contour plot on a white page, with a black frame: 18 colours.
inline QImage Diagram(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (int y = height / 8; y < height * 7 / 8; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = width / 10; x < width * 9 / 10; ++x) {
      const double v = std::sin(x * 0.013) + std::cos(y * 0.021) + 0.5 * std::sin((x + y) * 0.007);
      const int band = static_cast<int>((v + 2.5) * 16 / 5.0) & 15;
      line[x] = qRgb(band * 16, 255 - band * 12, (band * 97) & 255);
    }
  }
  for (int x = 0; x < width; ++x) {
    image.setPixel(x, 0, qRgb(0, 0, 0));
    image.setPixel(x, height - 1, qRgb(0, 0, 0));
  }
  return image;
}

// A smooth colour field (every pixel of a 64 x 64 block differs) inside a white border.
inline QImage Photo(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (int y = 2; y < height - 2; ++y) {
    for (int x = 2; x < width - 2; ++x) {
      image.setPixel(x, y, qRgb((x * 4) & 255, (y * 4) & 255, (x * y / 7 + 40) & 255));
    }
  }
  return image;
}

}  // namespace karvelo::testimages
