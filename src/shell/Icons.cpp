#include "shell/Icons.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>

namespace karvelo::shell {
namespace {

// Colours of a resistivity scale, low to high.
constexpr std::array<QRgb, 6> kScale = {0x1f3fbf, 0x2fa0d0, 0x40c060, 0xe0d040, 0xe08030, 0xc02020};

QPixmap Blank(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  return pm;
}

QPixmap LetterGlyph(const QString& text, QColor colour) {
  QPixmap pm = Blank(24);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(colour.darker(150), 1));
  p.setBrush(colour.lighter(170));
  p.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
  QFont f = p.font();
  f.setPixelSize(text.size() > 1 ? 10 : 14);
  f.setBold(true);
  p.setFont(f);
  p.setPen(colour.darker(200));
  p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, text);
  return pm;
}

QPixmap PaintedGlyph(Glyph glyph) {
  switch (glyph) {
    case Glyph::Open:
      return LetterGlyph(QStringLiteral("O"), QColor(0xd0a040));
    case Glyph::Print:
      return LetterGlyph(QStringLiteral("P"), QColor(0x808080));
    case Glyph::Copy:
      return LetterGlyph(QStringLiteral("C"), QColor(0x4080c0));
    case Glyph::CopyMeta:
      return LetterGlyph(QStringLiteral("CM"), QColor(0x4080c0));
    case Glyph::SaveMeta:
      return LetterGlyph(QStringLiteral("SM"), QColor(0x4080c0));
    case Glyph::Palette: {
      QPixmap pm = Blank(24);
      QPainter p(&pm);
      for (int i = 0; i < 6; ++i)
        p.fillRect(2 + i * 3, 3, 3, 18, QColor(kScale[static_cast<std::size_t>(i)]));
      p.setPen(Qt::black);
      p.drawRect(2, 3, 18, 17);
      return pm;
    }
    case Glyph::Settings:
      return LetterGlyph(QStringLiteral("S"), QColor(0x60a060));
    case Glyph::Font:
      return LetterGlyph(QStringLiteral("F"), QColor(0x9060c0));
    case Glyph::FontSize:
      return LetterGlyph(QStringLiteral("%"), QColor(0x9060c0));
    case Glyph::Markers:
      return LetterGlyph(QStringLiteral("M"), QColor(0xc06040));
    case Glyph::Reference:
      return LetterGlyph(QStringLiteral("R"), QColor(0xc06040));
    case Glyph::Maker:
      return ProgramPicture(24);
  }
  return Blank(24);
}

QString ThemeName(Glyph glyph) {
  switch (glyph) {
    case Glyph::Open:
      return QStringLiteral("document-open");
    case Glyph::Print:
      return QStringLiteral("document-print");
    case Glyph::Copy:
      return QStringLiteral("edit-copy");
    case Glyph::Font:
      return QStringLiteral("preferences-desktop-font");
    default:
      return {};
  }
}

}  // namespace

QPixmap ProgramPicture(int size) {
  QPixmap pm = Blank(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size / 64.0;
  p.scale(s, s);
  QPainterPath frame;
  frame.addRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
  p.fillPath(frame, QColor(0xf4f4f0));
  // A section: bands of colour bending down under a ground line, like a pseudosection.
  p.setClipPath(frame);
  for (int i = 0; i < 6; ++i) {
    QPainterPath band;
    const double top = 18 + i * 7.5;
    band.moveTo(2, top);
    band.cubicTo(20, top + 10 - i, 44, top + 10 - i, 62, top);
    band.lineTo(62, 64);
    band.lineTo(2, 64);
    band.closeSubpath();
    p.fillPath(band, QColor(kScale[static_cast<std::size_t>(i)]));
  }
  p.setClipping(false);
  p.setPen(QPen(QColor(0x303030), 3));
  p.drawLine(QPointF(6, 16), QPointF(58, 16));
  p.setPen(QPen(QColor(0x303030), 2));
  for (int x = 10; x <= 54; x += 11) p.drawLine(QPointF(x, 10), QPointF(x, 16));
  p.setPen(QPen(QColor(0x505050), 2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(frame);
  return pm;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(ProgramPicture(size));
  return icon;
}

QIcon GlyphIcon(Glyph glyph) {
  const QString theme = ThemeName(glyph);
  if (!theme.isEmpty() && QIcon::hasThemeIcon(theme)) return QIcon::fromTheme(theme);
  return QIcon(PaintedGlyph(glyph));
}

}  // namespace karvelo::shell
