#include "output/QtCanvas.h"

#include <QBrush>
#include <QByteArrayView>
#include <QColor>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPen>
#include <QPolygon>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "base/LargeBuffer.h"

namespace karvelo {

namespace {

// 96 dots per inch, the resolution the diagram's point sizes were chosen for.
constexpr int kDotsPerMeter96 = 3780;

// Windows-1252 code points for 0x80..0x9F; the five unassigned bytes keep their value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The memory behind a canvas's own picture; the image frees it when its last copy goes.
struct PictureMemory {
  void* bits;
  std::size_t bytes;
};

void FreePictureMemory(void* info) {
  auto* memory = static_cast<PictureMemory*>(info);
  FreeLargeMemory(memory->bits, memory->bytes);
  delete memory;
}

// A white picture in large-buffer memory: a full-screen picture is megabytes of fresh
// memory, and first touching it page by page would cost more than drawing on it.
QImage WhiteImage(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  const qsizetype stride = static_cast<qsizetype>(width) * 4;
  const auto bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
  PictureMemory* memory = nullptr;
  try {
    memory = new PictureMemory{AllocateLargeMemory(bytes), bytes};
  } catch (const std::bad_alloc&) {
    return QImage();  // as QImage does when it cannot have the memory
  }
  QImage image(static_cast<uchar*>(memory->bits), width, height, stride, QImage::Format_RGB32,
               FreePictureMemory, memory);
  if (image.isNull()) {  // too large for QImage: it did not take the memory
    FreePictureMemory(memory);
    return QImage();
  }
  image.fill(Qt::white);
  return image;
}

QImage ForCanvas(QImage image) {
  if (image.isNull()) return WhiteImage(1, 1);
  if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
  image.setDotsPerMeterX(kDotsPerMeter96);
  image.setDotsPerMeterY(kDotsPerMeter96);
  return image;
}

}  // namespace

QString CanvasText(std::string_view text) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString s = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  if (!utf8.hasError()) return s;
  s.clear();
  s.reserve(static_cast<qsizetype>(text.size()));
  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    s.append(QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<char16_t>(b)));
  }
  return s;
}

QtCanvas::QtCanvas(int width, int height) : QtCanvas(WhiteImage(width, height)) {}

QtCanvas::QtCanvas(QImage image) : image_(ForCanvas(std::move(image))), imageTarget_(true) {
  device_ = &image_;
  width_ = image_.width();
  height_ = image_.height();
  ClearClip();
  InitFont();
}

QtCanvas::QtCanvas(QPaintDevice* device) : device_(device) {
  if (device_ == nullptr) {
    image_ = WhiteImage(1, 1);
    device_ = &image_;
    imageTarget_ = true;
  }
  width_ = device_->width();
  height_ = device_->height();
  ClearClip();
  InitFont();
}

QtCanvas::~QtCanvas() {
  Finish();
}

void QtCanvas::InitFont() {
  font_ = QFont(QStringLiteral("Arial"), 10);
  // Diagrams keep to the colours they were given: aliased text adds no blends, so a
  // picture stays within a 256-colour palette.
  font_.setStyleStrategy(QFont::NoAntialias);
}

const QImage& QtCanvas::Image() {
  Finish();
  return image_;
}

void QtCanvas::Finish() {
  FlushPixels();
  if (painter_.isActive()) painter_.end();
  // The image may now be shared by a copy; the next pixel detaches it first.
  pixBits_ = nullptr;
}

bool QtCanvas::BeginPainter() {
  if (painter_.isActive()) return true;
  if (!painter_.begin(device_)) return false;
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  if (clipOn_) painter_.setClipRect(clip_);
  if (imageTarget_) pixBits_ = nullptr;  // beginning may have detached the image
  return true;
}

QPainter* QtCanvas::Painter() {
  FlushPixels();
  if (!BeginPainter()) return nullptr;
  ApplyPenAndBrush(painter_);
  return &painter_;
}

void QtCanvas::ApplyPenAndBrush(QPainter& p) {
  QPen pen(QColor::fromRgb(ToQRgb(penColour_)));
  const int width = std::max(penWidth_, 1);
  pen.setWidth(width);
  pen.setStyle(penStyle_ == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
  // A thin line stops before its end point, so a polyline sets each pixel once; wide
  // lines get round ends and joins.
  pen.setCapStyle(width == 1 ? Qt::FlatCap : Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  p.setPen(pen);
  if (pattern_ != nullptr) {
    p.setBrush(QBrush(patternImage_));
  } else if (brushStyle_ == BrushStyle::Clear) {
    p.setBrush(Qt::NoBrush);
  } else {
    p.setBrush(QColor::fromRgb(ToQRgb(brushColour_)));
  }
}

void QtCanvas::SetBrushPattern(const PatternBitmap* pattern) {
  pattern_ = nullptr;
  patternImage_ = QImage();
  if (pattern == nullptr || pattern->width <= 0 || pattern->height <= 0) return;
  const auto count = static_cast<std::size_t>(pattern->width) * pattern->height;
  if (pattern->pixels.size() < count) return;
  patternImage_ = QImage(pattern->width, pattern->height, QImage::Format_RGB32);
  for (int y = 0; y < pattern->height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(patternImage_.scanLine(y));
    for (int x = 0; x < pattern->width; ++x) {
      line[x] = ToQRgb(pattern->pixels[static_cast<std::size_t>(y) * pattern->width + x]);
    }
  }
  pattern_ = pattern;
}

void QtCanvas::SetFont(const std::string& name, int sizePoints, bool bold) {
  font_.setFamily(CanvasText(name));
  font_.setPointSize(std::max(sizePoints, 1));
  font_.setBold(bold);
}

void QtCanvas::SetFontPixelSize(const std::string& name, int pixels, bool bold) {
  font_.setFamily(CanvasText(name));
  font_.setPixelSize(std::max(pixels, 1));
  font_.setBold(bold);
}

void QtCanvas::MoveTo(int x, int y) {
  penPos_ = QPoint(x, y);
}

void QtCanvas::LineTo(int x, int y) {
  const QPoint to(x, y);
  if (QPainter* p = Painter()) p->drawLine(penPos_, to);
  penPos_ = to;
}

void QtCanvas::Polygon(const TPoint* points, int n) {
  if (points == nullptr || n < 2) return;
  QPolygon polygon(n);
  for (int i = 0; i < n; ++i) polygon.setPoint(i, points[i].x, points[i].y);
  if (QPainter* p = Painter()) p->drawPolygon(polygon, Qt::OddEvenFill);
}

void QtCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (x2 - x1 < 1 || y2 - y1 < 1) return;
  // The outline runs along the last column and row inside (x2, y2).
  if (QPainter* p = Painter()) p->drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void QtCanvas::PutPixel(int x, int y, TColor c) {
  if (x < clipX1_ || y < clipY1_ || x >= clipX2_ || y >= clipY2_) return;
  if (pixBits_ == nullptr) PreparePixelTarget();
  if (!imageTarget_) {
    dirtyX1_ = std::min(dirtyX1_, x);
    dirtyY1_ = std::min(dirtyY1_, y);
    dirtyX2_ = std::max(dirtyX2_, x);
    dirtyY2_ = std::max(dirtyY2_, y);
  }
  auto* line = reinterpret_cast<QRgb*>(pixBits_ + (y - pixOrigin_.y()) * pixStride_);
  line[x - pixOrigin_.x()] = ToQRgb(c);
}

void QtCanvas::PreparePixelTarget() {
  if (imageTarget_) {
    pixBits_ = image_.bits();
    pixStride_ = image_.bytesPerLine();
    pixOrigin_ = QPoint(0, 0);
    return;
  }
  if (overlay_.isNull()) {
    // Pixels can only land inside the clip, so the overlay need not be larger.
    overlay_ = QImage(clip_.size(), QImage::Format_ARGB32_Premultiplied);
    overlay_.fill(Qt::transparent);
    ClearDirty();
  }
  pixBits_ = overlay_.bits();
  pixStride_ = overlay_.bytesPerLine();
  pixOrigin_ = clip_.topLeft();
}

void QtCanvas::FlushPixels() {
  if (imageTarget_ || dirtyX1_ > dirtyX2_) return;
  const QRect area(QPoint(dirtyX1_, dirtyY1_), QPoint(dirtyX2_, dirtyY2_));
  const QRect source = area.translated(-pixOrigin_);
  if (BeginPainter()) painter_.drawImage(area.topLeft(), overlay_, source);
  for (int y = source.top(); y <= source.bottom(); ++y) {
    std::memset(overlay_.scanLine(y) + source.left() * 4, 0, source.width() * 4);
  }
  ClearDirty();
  pixBits_ = nullptr;  // the device may have kept a shallow copy; scanLine then detached
}

void QtCanvas::ClearDirty() {
  dirtyX1_ = dirtyY1_ = std::numeric_limits<int>::max();
  dirtyX2_ = dirtyY2_ = std::numeric_limits<int>::min();
}

void QtCanvas::TextOut(int x, int y, const std::string& text) {
  if (text.empty()) return;
  QPainter* p = Painter();
  if (p == nullptr) return;
  const QString s = CanvasText(text);
  p->setFont(font_);
  const QFontMetrics metrics = p->fontMetrics();
  if (brushStyle_ != BrushStyle::Clear) {
    p->fillRect(QRect(x, y, metrics.horizontalAdvance(s), metrics.height()),
                QColor::fromRgb(ToQRgb(brushColour_)));
  }
  p->setPen(QColor::fromRgb(ToQRgb(fontColour_)));
  p->drawText(QPoint(x, y + metrics.ascent()), s);
}

int QtCanvas::TextWidth(const std::string& text) {
  return QFontMetrics(font_, device_).horizontalAdvance(CanvasText(text));
}

int QtCanvas::TextHeight(const std::string& /*text*/) {
  return QFontMetrics(font_, device_).height();
}

void QtCanvas::SetClipRect(int x1, int y1, int x2, int y2) {
  FlushPixels();
  const QRect wanted(QPoint(std::min(x1, x2), std::min(y1, y2)),
                     QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
  clip_ = wanted.intersected(QRect(0, 0, width_, height_));
  if (clip_.isEmpty()) clip_ = QRect();
  clipOn_ = true;
  clipX1_ = clip_.isEmpty() ? 0 : clip_.left();
  clipY1_ = clip_.isEmpty() ? 0 : clip_.top();
  clipX2_ = clip_.isEmpty() ? 0 : clip_.right() + 1;
  clipY2_ = clip_.isEmpty() ? 0 : clip_.bottom() + 1;
  if (painter_.isActive()) painter_.setClipRect(clip_);
  if (!imageTarget_) {
    overlay_ = QImage();
    pixBits_ = nullptr;
  }
}

void QtCanvas::ClearClip() {
  FlushPixels();
  clipOn_ = false;
  clip_ = QRect(0, 0, width_, height_);
  clipX1_ = 0;
  clipY1_ = 0;
  clipX2_ = width_;
  clipY2_ = height_;
  if (painter_.isActive()) painter_.setClipping(false);
  if (!imageTarget_) {
    overlay_ = QImage();
    pixBits_ = nullptr;
  }
}

}  // namespace karvelo
