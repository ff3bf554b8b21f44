#include "output/QtCanvas.h"

#include <gtest/gtest.h>
#include <QFont>
#include <QFontInfo>
#include <QPaintDevice>
#include <QPaintEngine>

#include <set>
#include <string>
#include <vector>

namespace karvelo {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr TColor kRed = MakeRgb(255, 0, 0);
constexpr TColor kBlue = MakeRgb(0, 0, 255);
constexpr TColor kGreen = MakeRgb(0, 160, 0);

QRgb Rgb(TColor c) {
  return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

QRgb At(QtCanvas& canvas, int x, int y) {
  return canvas.Image().pixel(x, y);
}

int CountColour(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour ? 1 : 0;
  }
  return n;
}

// The bounding box of every pixel that is not white.
QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != kWhite) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

TEST(QtCanvasPixels, DirectAndPaletteColoursLandWhereTold) {
  QtCanvas canvas(20, 10);
  PaletteTable palette{};
  palette[32] = MakeRgb(10, 20, 30);
  palette[255] = MakeRgb(1, 2, 3);
  canvas.SetPalette(palette);
  struct Case {
    int x, y;
    TColor colour;
    QRgb expected;
  };
  const std::vector<Case> cases = {
      {0, 0, MakeRgb(200, 100, 50), qRgb(200, 100, 50)},
      {19, 9, PaletteIndex(32), qRgb(10, 20, 30)},
      {7, 3, PaletteIndex(255), qRgb(1, 2, 3)},
      {8, 3, PaletteIndex(0), qRgb(0, 0, 0)},
  };
  for (const Case& c : cases) canvas.PutPixel(c.x, c.y, c.colour);
  for (const Case& c : cases) EXPECT_EQ(At(canvas, c.x, c.y), c.expected) << c.x << "," << c.y;
  EXPECT_EQ(CountColour(canvas.Image(), kWhite), 200 - static_cast<int>(cases.size()));
}

TEST(QtCanvasPixels, OutsideTheImageIsIgnored) {
  QtCanvas canvas(8, 8);
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{
           {-1, 0}, {0, -1}, {8, 0}, {0, 8}, {-100000, 5}, {5, 1 << 30}}) {
    canvas.PutPixel(x, y, kRed);
  }
  EXPECT_EQ(CountColour(canvas.Image(), kWhite), 64);
}

TEST(QtCanvasPixels, ClipRectangleKeepsPixelsAndLinesInside) {
  QtCanvas canvas(12, 12);
  canvas.SetClipRect(2, 3, 6, 8);  // right and bottom exclusive
  canvas.PutPixel(2, 3, kRed);
  canvas.PutPixel(5, 7, kRed);
  canvas.PutPixel(6, 5, kRed);  // right edge: outside
  canvas.PutPixel(4, 8, kRed);  // bottom edge: outside
  canvas.PutPixel(1, 5, kRed);
  canvas.SetPenColour(kBlue);
  canvas.MoveTo(0, 5);
  canvas.LineTo(12, 5);
  EXPECT_EQ(At(canvas, 2, 3), Rgb(kRed));
  EXPECT_EQ(At(canvas, 5, 7), Rgb(kRed));
  EXPECT_EQ(At(canvas, 6, 5), kWhite);
  EXPECT_EQ(At(canvas, 4, 8), kWhite);
  EXPECT_EQ(At(canvas, 1, 5), kWhite);
  EXPECT_EQ(InkBox(canvas.Image()), QRect(QPoint(2, 3), QPoint(5, 7)));

  canvas.ClearClip();
  canvas.PutPixel(6, 5, kRed);
  canvas.MoveTo(0, 9);
  canvas.LineTo(6, 9);
  EXPECT_EQ(At(canvas, 6, 5), Rgb(kRed));
  EXPECT_EQ(At(canvas, 0, 9), Rgb(kBlue));
  EXPECT_EQ(At(canvas, 5, 9), Rgb(kBlue));
  EXPECT_EQ(At(canvas, 6, 9), kWhite);  // a thin line stops before its end point
  EXPECT_EQ(At(canvas, 11, 5), kWhite);
}

TEST(QtCanvasPixels, ClipOutsideTheImageOrEmptyClipsEverything) {
  QtCanvas canvas(10, 10);
  canvas.SetClipRect(20, 20, 30, 30);
  canvas.PutPixel(5, 5, kRed);
  canvas.SetBrushColour(kRed);
  canvas.Rectangle(0, 0, 10, 10);
  canvas.SetClipRect(4, 4, 4, 9);
  canvas.PutPixel(4, 5, kRed);
  canvas.Rectangle(0, 0, 10, 10);
  EXPECT_EQ(CountColour(canvas.Image(), kWhite), 100);
}

TEST(QtCanvasPixels, ACopyOfThePictureIsNotChangedByLaterDrawing) {
  QtCanvas canvas(6, 6);
  canvas.PutPixel(1, 1, kRed);
  const QImage before = canvas.Image();
  canvas.PutPixel(2, 2, kBlue);
  canvas.SetBrushColour(kGreen);
  canvas.Rectangle(3, 3, 6, 6);
  EXPECT_EQ(before.pixel(1, 1), Rgb(kRed));
  EXPECT_EQ(before.pixel(2, 2), kWhite);
  EXPECT_EQ(before.pixel(4, 4), kWhite);
  EXPECT_EQ(At(canvas, 2, 2), Rgb(kBlue));
  EXPECT_EQ(At(canvas, 4, 4), Rgb(kGreen));
}

TEST(QtCanvasShapes, RectangleExcludesRightAndBottomEdges) {
  QtCanvas canvas(12, 10);
  canvas.SetPenColour(kRed);
  canvas.SetBrushColour(kBlue);
  canvas.Rectangle(2, 2, 8, 6);
  EXPECT_EQ(InkBox(canvas.Image()), QRect(QPoint(2, 2), QPoint(7, 5)));
  for (const auto& [x, y] :
       std::vector<std::pair<int, int>>{{2, 2}, {7, 2}, {2, 5}, {7, 5}, {4, 2}}) {
    EXPECT_EQ(At(canvas, x, y), Rgb(kRed)) << x << "," << y;
  }
  EXPECT_EQ(At(canvas, 4, 3), Rgb(kBlue));
  EXPECT_EQ(CountColour(canvas.Image(), Rgb(kBlue)), 4 * 2);
}

TEST(QtCanvasShapes, ClearBrushLeavesTheInsideAlone) {
  QtCanvas canvas(12, 10);
  canvas.SetPenColour(kRed);
  canvas.SetBrushColour(kBlue);
  canvas.SetBrushStyle(BrushStyle::Clear);
  canvas.Rectangle(2, 2, 8, 6);
  const TPoint triangle[] = {{1, 1}, {10, 1}, {1, 9}};
  canvas.Polygon(triangle, 3);
  EXPECT_EQ(CountColour(canvas.Image(), Rgb(kBlue)), 0);
  EXPECT_EQ(At(canvas, 4, 3), kWhite);
  EXPECT_EQ(At(canvas, 5, 1), Rgb(kRed));
}

TEST(QtCanvasShapes, PolygonIsFilledAndOutlined) {
  QtCanvas canvas(40, 40);
  canvas.SetPenColour(kRed);
  canvas.SetBrushColour(kGreen);
  const TPoint triangle[] = {{5, 5}, {35, 5}, {5, 35}};
  canvas.Polygon(triangle, 3);
  EXPECT_EQ(At(canvas, 10, 10), Rgb(kGreen));
  EXPECT_EQ(At(canvas, 20, 5), Rgb(kRed));
  EXPECT_EQ(At(canvas, 30, 30), kWhite);
  canvas.Polygon(triangle, 1);  // too few points: nothing, no crash
  canvas.Polygon(nullptr, 3);
}

TEST(QtCanvasShapes, PatternFillsFromTheDeviceOrigin) {
  QtCanvas canvas(16, 16);
  const PatternBitmap checker{2, 2, {kRed, kGreen, kGreen, kRed}};
  canvas.SetPenColour(kBlue);
  canvas.SetBrushStyle(BrushStyle::Clear);  // a pattern fills whatever the style
  canvas.SetBrushPattern(&checker);
  canvas.Rectangle(3, 3, 13, 13);
  for (int y = 4; y < 12; ++y) {
    for (int x = 4; x < 12; ++x) {
      EXPECT_EQ(At(canvas, x, y), Rgb((x + y) % 2 == 0 ? kRed : kGreen)) << x << "," << y;
    }
  }
  canvas.SetBrushPattern(nullptr);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetBrushColour(kBlue);
  canvas.Rectangle(3, 3, 13, 13);
  EXPECT_EQ(At(canvas, 6, 6), Rgb(kBlue));
  const PatternBitmap broken{4, 4, {kRed}};  // too few pixels: plain brush
  canvas.SetBrushPattern(&broken);
  canvas.SetBrushColour(kGreen);
  canvas.Rectangle(3, 3, 13, 13);
  EXPECT_EQ(At(canvas, 6, 6), Rgb(kGreen));
}

TEST(QtCanvasShapes, PenStyleAndWidth) {
  QtCanvas canvas(40, 20);
  canvas.SetPenColour(kRed);
  canvas.SetPenStyle(PenStyle::Dot);
  canvas.MoveTo(0, 2);
  canvas.LineTo(40, 2);
  int inked = 0;
  for (int x = 0; x < 39; ++x) inked += At(canvas, x, 2) == Rgb(kRed) ? 1 : 0;
  EXPECT_GT(inked, 8);
  EXPECT_LT(inked, 30);

  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetPenWidth(3);
  canvas.MoveTo(5, 10);
  canvas.LineTo(30, 10);
  for (int y = 9; y <= 11; ++y) EXPECT_EQ(At(canvas, 15, y), Rgb(kRed)) << y;
  EXPECT_EQ(At(canvas, 15, 8), kWhite);
  EXPECT_EQ(At(canvas, 15, 12), kWhite);
}

TEST(QtCanvasText, ArialResolvesToAnInstalledMetricCompatibleFont) {
  const QFontInfo info(QFont(QStringLiteral("Arial"), 12));
  EXPECT_EQ(info.family(), QStringLiteral("Liberation Sans"));
}

TEST(QtCanvasText, TextHasSizeAndLandsInItsBox) {
  QtCanvas canvas(300, 80);
  canvas.SetFont("Arial", 12);
  const std::string label = "Resistivity in ohm.m";
  const int w = canvas.TextWidth(label);
  const int h = canvas.TextHeight(label);
  EXPECT_GT(w, 100);
  EXPECT_GE(h, 14);  // 12 points at 96 dots per inch: 16 pixels of em height
  EXPECT_LT(h, 30);
  EXPECT_EQ(canvas.TextWidth(""), 0);

  canvas.SetFontColour(kRed);
  canvas.SetBrushStyle(BrushStyle::Clear);
  canvas.TextOut(10, 20, label);
  const QRect ink = InkBox(canvas.Image());
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_TRUE(QRect(10, 20, w, h).contains(ink))
      << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
  EXPECT_GT(ink.width(), w / 2);
  // Aliased text adds no blended colours to the picture.
  std::set<QRgb> colours;
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 300; ++x) colours.insert(At(canvas, x, y));
  }
  EXPECT_EQ(colours, (std::set<QRgb>{kWhite, Rgb(kRed)}));
}

TEST(QtCanvasText, FontSizeAndBoldChangeTheMetrics) {
  QtCanvas canvas(10, 10);
  canvas.SetFont("Arial", 10);
  const int small = canvas.TextWidth("0123456789");
  const int smallHeight = canvas.TextHeight("0");
  canvas.SetFont("Arial", 20);
  EXPECT_GT(canvas.TextWidth("0123456789"), small * 3 / 2);
  EXPECT_GT(canvas.TextHeight("0"), smallHeight * 3 / 2);
  canvas.SetFont("Arial", 20, true);
  EXPECT_GT(canvas.TextWidth("WWWWWWWWWW"), 0);
}

TEST(QtCanvasText, OpaqueTextFillsItsBoxWithTheBrush) {
  QtCanvas canvas(200, 40);
  canvas.SetFont("Arial", 10);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetBrushColour(kGreen);
  canvas.SetFontColour(kBlue);
  canvas.TextOut(5, 5, "Depth");
  const int w = canvas.TextWidth("Depth");
  const int h = canvas.TextHeight("Depth");
  EXPECT_EQ(InkBox(canvas.Image()), QRect(5, 5, w, h));
  EXPECT_GT(CountColour(canvas.Image(), Rgb(kBlue)), 10);
  EXPECT_EQ(At(canvas, 5, 5), Rgb(kGreen));
}

TEST(QtCanvasText, EightBitAndUtf8TextConvert) {
  struct Case {
    std::string in;
    QString out;
  };
  const std::vector<Case> cases = {
      {"abc 1.5", QStringLiteral("abc 1.5")},
      {"Ohm\xB7m", QString::fromUtf8("Ohm\u00B7m")},
      {"12\xB0", QString::fromUtf8("12\u00B0")},
      {"\x80 \x96", QString::fromUtf8("\u20AC \u2013")},
      {"\xE2\x84\xA6m", QString::fromUtf8("\u2126m")},  // already UTF-8
      {"", QString()},
  };
  for (const Case& c : cases) EXPECT_EQ(CanvasText(c.in), c.out) << c.in;
}

// A paint device that counts what reaches its engine, as a vector target would see it.
class CountingEngine : public QPaintEngine {
 public:
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++others; }
  void drawImage(const QRectF& r, const QImage& image, const QRectF& source,
                 Qt::ImageConversionFlags) override {
    ++images;
    imageRects.push_back(r.toRect());
    lastImage = image.copy(source.toRect());
  }
  void drawRects(const QRectF*, int) override { ++others; }
  void drawRects(const QRect*, int) override { ++others; }
  void drawLines(const QLineF*, int) override { ++others; }
  void drawLines(const QLine*, int) override { ++others; }
  void drawPolygon(const QPointF*, int, PolygonDrawMode) override { ++others; }
  void drawPolygon(const QPoint*, int, PolygonDrawMode) override { ++others; }
  Type type() const override { return QPaintEngine::User; }

  int images = 0;
  int others = 0;
  std::vector<QRect> imageRects;
  QImage lastImage;
};

class CountingDevice : public QPaintDevice {
 public:
  QPaintEngine* paintEngine() const override { return &engine; }
  mutable CountingEngine engine;

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth:
        return 200;
      case PdmHeight:
        return 100;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 96;
      case PdmDepth:
        return 32;
      case PdmWidthMM:
        return 53;
      case PdmHeightMM:
        return 26;
      default:
        return QPaintDevice::metric(m);
    }
  }
};

TEST(QtCanvasDevice, PixelsOfOneFillReachTheDeviceAsOneImage) {
  CountingDevice device;
  {
    QtCanvas canvas(&device);
    EXPECT_EQ(canvas.Width(), 200);
    EXPECT_EQ(canvas.Height(), 100);
    canvas.SetClipRect(10, 10, 110, 60);
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 200; ++x) canvas.PutPixel(x, y, kRed);
    }
    canvas.ClearClip();
    canvas.PutPixel(150, 80, kBlue);
    canvas.PutPixel(152, 81, kBlue);
  }  // finishing draws what is left
  EXPECT_EQ(device.engine.images, 2);
  ASSERT_EQ(device.engine.imageRects.size(), 2u);
  EXPECT_EQ(device.engine.imageRects[0], QRect(10, 10, 100, 50));
  EXPECT_EQ(device.engine.imageRects[1], QRect(150, 80, 3, 2));
  EXPECT_EQ(device.engine.lastImage.pixel(1, 0), 0u);  // a hole stays transparent
  EXPECT_EQ(device.engine.lastImage.pixel(2, 1), Rgb(kBlue));
}

TEST(QtCanvasDevice, GatheredPixelsKeepTheirPlaceInTheDrawingOrder) {
  QImage target(20, 20, QImage::Format_RGB32);
  target.fill(Qt::white);
  {
    QtCanvas canvas(static_cast<QPaintDevice*>(&target));
    canvas.PutPixel(5, 5, kRed);  // under the rectangle
    canvas.SetPenColour(kBlue);
    canvas.SetBrushColour(kBlue);
    canvas.Rectangle(4, 4, 8, 8);
    canvas.PutPixel(6, 6, kRed);  // over it
    canvas.PutPixel(15, 15, kGreen);
    canvas.SetClipRect(0, 0, 10, 10);
    canvas.PutPixel(12, 12, kGreen);  // clipped away
    canvas.Finish();
    EXPECT_EQ(target.pixel(6, 6), Rgb(kRed));
    canvas.PutPixel(1, 1, kGreen);  // drawing after Finish starts again
  }
  EXPECT_EQ(target.pixel(5, 5), Rgb(kBlue));
  EXPECT_EQ(target.pixel(15, 15), Rgb(kGreen));
  EXPECT_EQ(target.pixel(12, 12), kWhite);
  EXPECT_EQ(target.pixel(1, 1), Rgb(kGreen));
  EXPECT_EQ(target.pixel(0, 0), kWhite);
}

}  // namespace
}  // namespace karvelo
