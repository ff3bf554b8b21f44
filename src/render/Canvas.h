#pragma once

// The drawing surface every renderer draws on. The same plot code serves a window, an
// off-screen image, an image file, a metafile, a printer page and a recording canvas in
// the tests; only these operations are used. Coordinates are device pixels, origin at
// the top-left, y growing downwards.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Colour.h"

namespace karvelo {

struct TPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

enum class PenStyle { Solid, Dot };
enum class BrushStyle { Solid, Clear };

// A small bitmap used as a brush pattern (the material fill patterns). Pixels are
// direct colours (0x00BBGGRR), row by row from the top.
struct PatternBitmap {
  int width = 0;
  int height = 0;
  std::vector<TColor> pixels;
};

// 256 palette entries as direct colours; plot colour n is entry 16 n.
using PaletteTable = std::array<TColor, 256>;

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // Pen and brush. Colours may be palette references (see Colour.h); a canvas resolves
  // them through the palette set with SetPalette.
  virtual void SetPenColour(TColor c) = 0;
  virtual void SetPenStyle(PenStyle s) = 0;
  virtual void SetPenWidth(int w) = 0;
  virtual void SetBrushColour(TColor c) = 0;
  virtual void SetBrushStyle(BrushStyle s) = 0;
  virtual BrushStyle GetBrushStyle() const = 0;
  // nullptr removes the pattern. The bitmap must outlive its use as a brush.
  virtual void SetBrushPattern(const PatternBitmap* pattern) = 0;

  // Font of all text: family name, size in points, bold.
  virtual void SetFont(const std::string& name, int sizePoints, bool bold = false) = 0;
  virtual void SetFontColour(TColor c) = 0;

  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  // A polygon filled with the brush (unless the brush is clear) and outlined with the pen.
  virtual void Polygon(const TPoint* points, int n) = 0;
  // A rectangle from (x1, y1) to (x2, y2), exclusive of the right and bottom edges,
  // filled with the brush and outlined with the pen.
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  // One pixel; the hot path of the pseudosection.
  virtual void PutPixel(int x, int y, TColor c) = 0;
  // Text with its top-left corner at (x, y) in the current font. The text colour is the
  // font colour (SetFontColour); the background is the brush unless the brush is clear.
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  virtual int TextWidth(const std::string& text) = 0;
  virtual int TextHeight(const std::string& text) = 0;

  // Clipping to a rectangle (x2, y2 exclusive); ClearClip removes it.
  virtual void SetClipRect(int x1, int y1, int x2, int y2) = 0;
  virtual void ClearClip() = 0;

  // The palette that palette-reference colours resolve through.
  void SetPalette(const PaletteTable& palette) { palette_ = palette; }
  const PaletteTable& Palette() const { return palette_; }
  // The direct colour a colour value stands for on this canvas.
  TColor Resolve(TColor c) const {
    return IsPaletteIndex(c) ? palette_[static_cast<std::size_t>(PaletteEntryOf(c))] & 0xFFFFFFu
                             : c & 0xFFFFFFu;
  }

 private:
  PaletteTable palette_{};
};

}  // namespace karvelo
