#pragma once

// The program's pictures, painted rather than stored: the program picture (window icon,
// splash and about box) and the tool bar glyphs.

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace karvelo::shell {

// A small coloured section under a ground line: the program's own picture.
QPixmap ProgramPicture(int size);
QIcon ProgramIcon();

enum class Glyph {
  Open,
  Print,
  Copy,
  CopyMeta,
  SaveMeta,
  Palette,
  Settings,
  Font,
  FontSize,
  Markers,
  Reference,
  Maker
};
// A tool bar icon (a theme icon when the desktop has one, else a painted glyph).
QIcon GlyphIcon(Glyph glyph);

}  // namespace karvelo::shell
