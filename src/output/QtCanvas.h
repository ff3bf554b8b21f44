#pragma once

// The Qt implementation of the drawing surface. Two targets:
//
// - an image it owns (QImage, 32-bit RGB): the diagram window's off-screen picture, the
//   clipboard and the image files. PutPixel writes straight into the scan line.
// - any other paint device (printer, SVG, PDF): lines, polygons and text go through
//   QPainter as vector primitives, while single pixels are gathered into an overlay image
//   that is drawn once, before the next primitive that is not a pixel, before the clip
//   changes, and when the canvas finishes. A pseudosection fill thus becomes one image
//   instead of a million tiny rectangles.
//
// Text goes through the platform's font database, so a QGuiApplication must exist before
// any text is measured or drawn. Strings reach the canvas as the program keeps them
// (8-bit); CanvasText converts them at this boundary.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "render/Canvas.h"

class QPaintDevice;

namespace karvelo {

// The program's 8-bit text as a QString: valid UTF-8 is taken as UTF-8, anything else as
// Windows-1252 (the code page the survey files and label files are written in).
QString CanvasText(std::string_view text);

class QtCanvas final : public Canvas {
 public:
  // A white image of width x height pixels (at least 1 x 1).
  QtCanvas(int width, int height);
  // Draws on `image` (converted to 32-bit RGB when it has another format).
  explicit QtCanvas(QImage image);
  // Draws on a device the caller owns; it must outlive the canvas (or Finish()).
  explicit QtCanvas(QPaintDevice* device);
  ~QtCanvas() override;

  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  // The picture so far (image target only; a null image for a device). Drawing may go
  // on afterwards; a copy taken from the returned image is not changed by it.
  const QImage& Image();
  // Draws any gathered pixels and ends the painter (a PDF is complete after this).
  // Further drawing starts the painter again.
  void Finish();

  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void SetPenColour(TColor c) override { penColour_ = c; }
  void SetPenStyle(PenStyle s) override { penStyle_ = s; }
  void SetPenWidth(int w) override { penWidth_ = w < 0 ? 0 : w; }
  void SetBrushColour(TColor c) override { brushColour_ = c; }
  void SetBrushStyle(BrushStyle s) override { brushStyle_ = s; }
  BrushStyle GetBrushStyle() const override { return brushStyle_; }
  // A pattern, while set, fills polygons and rectangles whatever the brush style.
  void SetBrushPattern(const PatternBitmap* pattern) override;

  void SetFont(const std::string& name, int sizePoints, bool bold = false) override;
  void SetFontColour(TColor c) override { fontColour_ = c; }
  // The diagram font as the windows and exports size it: a character height (em size)
  // in pixels, so text scales with the picture rather than with the screen's dpi.
  void SetFontPixelSize(const std::string& name, int pixels, bool bold = false);

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polygon(const TPoint* points, int n) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void PutPixel(int x, int y, TColor c) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;

  void SetClipRect(int x1, int y1, int x2, int y2) override;
  void ClearClip() override;

  // The colour value as a Qt colour (palette references resolved), fully opaque.
  QRgb ToQRgb(TColor c) const {
    const TColor d = Resolve(c);
    return 0xFF000000u | (static_cast<QRgb>(RedOf(d)) << 16) |
           (static_cast<QRgb>(GreenOf(d)) << 8) | static_cast<QRgb>(BlueOf(d));
  }

 private:
  void InitFont();
  bool BeginPainter();
  // The painter for a primitive that is not a pixel: gathered pixels drawn first, pen and
  // brush set. Null when the device cannot be painted on.
  QPainter* Painter();
  void ApplyPenAndBrush(QPainter& p);
  void PreparePixelTarget();
  void FlushPixels();
  void ClearDirty();

  QImage image_;                    // the picture (image target)
  QPaintDevice* device_ = nullptr;  // the device painted on (&image_ or the caller's)
  bool imageTarget_ = false;
  QPainter painter_;
  int width_ = 0;
  int height_ = 0;

  TColor penColour_ = 0;
  PenStyle penStyle_ = PenStyle::Solid;
  int penWidth_ = 1;
  TColor brushColour_ = 0xFFFFFFu;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  const PatternBitmap* pattern_ = nullptr;
  QImage patternImage_;
  TColor fontColour_ = 0;
  QFont font_;
  QPoint penPos_;

  // Clip rectangle, always within the surface (the whole surface when off).
  bool clipOn_ = false;
  QRect clip_;
  int clipX1_ = 0, clipY1_ = 0, clipX2_ = 0, clipY2_ = 0;  // clip_, right/bottom exclusive

  // Where PutPixel writes: the image's own scan lines, or the overlay for a device.
  uchar* pixBits_ = nullptr;
  qsizetype pixStride_ = 0;
  QPoint pixOrigin_;
  QImage overlay_;
  // Overlay pixels not yet drawn, in surface coordinates (empty when x1 > x2).
  int dirtyX1_ = std::numeric_limits<int>::max(), dirtyY1_ = std::numeric_limits<int>::max();
  int dirtyX2_ = std::numeric_limits<int>::min(), dirtyY2_ = std::numeric_limits<int>::min();
};

}  // namespace karvelo
