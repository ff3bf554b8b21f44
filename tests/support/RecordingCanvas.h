#pragma once

// A canvas for tests: it records every drawing call as a readable line ("MoveTo 10,20",
// "Text 5,6 \"abc\"") and as structs (texts, line segments, polygons, rectangles), and
// keeps a pixel map for PutPixel so pictures can be checked at known pixels.
//
// Text metrics are fixed so positions can be worked out by hand: every character is
// `charWidth` pixels wide and every text `textHeight` pixels high, whatever the font.
// PutPixel calls only go to the pixel map (a pseudosection makes millions of them);
// set `logPixels` to log them as well.

#include <cstdint>
#include <string>
#include <vector>

#include "render/Canvas.h"

namespace karvelo::test {

class RecordingCanvas : public Canvas {
 public:
  struct Text {
    int x = 0, y = 0;  // top-left corner, page coordinates
    std::string text;
    TColor fontColour = 0;
    BrushStyle brush = BrushStyle::Clear;
  };
  struct Segment {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    TColor pen = 0;
    PenStyle style = PenStyle::Solid;
    int width = 1;
  };
  struct Poly {
    std::vector<TPoint> points;
    TColor pen = 0;
    TColor brush = 0;
    BrushStyle brushStyle = BrushStyle::Clear;
    const PatternBitmap* pattern = nullptr;
  };
  struct Rect {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    TColor pen = 0;
    TColor brush = 0;
    BrushStyle brushStyle = BrushStyle::Clear;
  };

  static constexpr TColor White = 0xFFFFFF;

  RecordingCanvas(int width = 1000, int height = 800)
      : width_(width),
        height_(height),
        pixels_(static_cast<std::size_t>(width > 0 ? width : 0) *
                    static_cast<std::size_t>(height > 0 ? height : 0),
                White) {}

  // Everything drawn, one readable line per call.
  std::vector<std::string> calls;
  std::vector<Text> texts;
  std::vector<Segment> segments;
  std::vector<Poly> polygons;
  std::vector<Rect> rectangles;
  long long pixelCalls = 0;
  bool logPixels = false;

  int charWidth = 8;
  int textHeight = 12;

  // Current settings, readable by tests.
  TColor pen = 0;
  PenStyle penStyle = PenStyle::Solid;
  int penWidth = 1;
  TColor brush = White;
  BrushStyle brushStyle = BrushStyle::Solid;
  const PatternBitmap* pattern = nullptr;
  std::string fontName;
  int fontSize = 0;
  bool fontBold = false;
  TColor fontColour = 0;
  bool clipped = false;
  int clipX1 = 0, clipY1 = 0, clipX2 = 0, clipY2 = 0;
  int penX = 0, penY = 0;

  void Clear() {
    calls.clear();
    texts.clear();
    segments.clear();
    polygons.clear();
    rectangles.clear();
    pixelCalls = 0;
  }

  // Lines of `calls` that start with `prefix`.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls)
      if (c.rfind(prefix, 0) == 0) out.push_back(c);
    return out;
  }
  // The first recorded text equal to `s`, or nullptr.
  const Text* FindText(const std::string& s) const {
    for (const auto& t : texts)
      if (t.text == s) return &t;
    return nullptr;
  }

  // The colour value last put at (x, y) (White where nothing was put).
  TColor PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return White;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
  }
  // The same, resolved through the palette to a direct colour.
  TColor RgbAt(int x, int y) const { return Resolve(PixelAt(x, y)); }

  static std::string ColourText(TColor c) {
    if (IsPaletteIndex(c)) return "pal:" + std::to_string(PaletteEntryOf(c));
    return "rgb(" + std::to_string(RedOf(c)) + "," + std::to_string(GreenOf(c)) + "," +
           std::to_string(BlueOf(c)) + ")";
  }

  // ---- Canvas ----
  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void SetPenColour(TColor c) override {
    pen = c;
    calls.push_back("PenColour " + ColourText(c));
  }
  void SetPenStyle(PenStyle s) override {
    penStyle = s;
    calls.push_back(s == PenStyle::Solid ? "PenStyle solid" : "PenStyle dot");
  }
  void SetPenWidth(int w) override {
    penWidth = w;
    calls.push_back("PenWidth " + std::to_string(w));
  }
  void SetBrushColour(TColor c) override {
    brush = c;
    calls.push_back("BrushColour " + ColourText(c));
  }
  void SetBrushStyle(BrushStyle s) override {
    brushStyle = s;
    calls.push_back(s == BrushStyle::Solid ? "BrushStyle solid" : "BrushStyle clear");
  }
  BrushStyle GetBrushStyle() const override { return brushStyle; }
  void SetBrushPattern(const PatternBitmap* p) override {
    pattern = p;
    calls.push_back(p ? "BrushPattern " + std::to_string(p->width) + "x" + std::to_string(p->height)
                      : std::string("BrushPattern none"));
  }
  void SetFont(const std::string& name, int sizePoints, bool bold) override {
    fontName = name;
    fontSize = sizePoints;
    fontBold = bold;
    calls.push_back("Font " + name + " " + std::to_string(sizePoints) + (bold ? " bold" : ""));
  }
  void SetFontColour(TColor c) override {
    fontColour = c;
    calls.push_back("FontColour " + ColourText(c));
  }

  void MoveTo(int x, int y) override {
    penX = x;
    penY = y;
    calls.push_back("MoveTo " + Xy(x, y));
  }
  void LineTo(int x, int y) override {
    segments.push_back({penX, penY, x, y, pen, penStyle, penWidth});
    penX = x;
    penY = y;
    calls.push_back("LineTo " + Xy(x, y));
  }
  void Polygon(const TPoint* points, int n) override {
    Poly p;
    p.points.assign(points, points + n);
    p.pen = pen;
    p.brush = brush;
    p.brushStyle = brushStyle;
    p.pattern = pattern;
    std::string line = "Polygon";
    for (const auto& pt : p.points) {
      line += ' ';
      line += Xy(pt.x, pt.y);
    }
    calls.push_back(line);
    polygons.push_back(std::move(p));
  }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    rectangles.push_back({x1, y1, x2, y2, pen, brush, brushStyle});
    calls.push_back("Rectangle " + Xy(x1, y1) + " " + Xy(x2, y2));
  }
  void PutPixel(int x, int y, TColor c) override {
    ++pixelCalls;
    if (logPixels) calls.push_back("Pixel " + Xy(x, y) + " " + ColourText(c));
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    if (clipped && (x < clipX1 || y < clipY1 || x >= clipX2 || y >= clipY2)) return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(x)] = c;
  }
  void TextOut(int x, int y, const std::string& text) override {
    texts.push_back({x, y, text, fontColour, brushStyle});
    calls.push_back("Text " + Xy(x, y) + " \"" + text + "\"");
  }
  int TextWidth(const std::string& text) override {
    return charWidth * static_cast<int>(text.size());
  }
  int TextHeight(const std::string&) override { return textHeight; }

  void SetClipRect(int x1, int y1, int x2, int y2) override {
    clipped = true;
    clipX1 = x1;
    clipY1 = y1;
    clipX2 = x2;
    clipY2 = y2;
    calls.push_back("Clip " + Xy(x1, y1) + " " + Xy(x2, y2));
  }
  void ClearClip() override {
    clipped = false;
    calls.push_back("ClearClip");
  }

 private:
  static std::string Xy(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

  int width_;
  int height_;
  std::vector<TColor> pixels_;
};

}  // namespace karvelo::test
