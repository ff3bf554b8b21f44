#pragma once

// How a value becomes a colour: limit tables per plotted quantity, the colour index of
// a value, the generation of equal linear or logarithmic limits, the palettes loaded
// from ".pal" files, and the colour-scale legend under the diagram.

#include <string>
#include <vector>

#include "render/Canvas.h"

namespace karvelo {

// Palette files hold at most this many colours; entries 236..245 are never loaded.
inline constexpr int MaxPaletteFileColours = 236;

// The colour index of `value` in limit set `limitSet` (0 resistivity, 1 IP or
// time-lapse difference, 2 normalised IP): the first index from mincol up whose upper
// limit the value does not exceed, and maxcol above every limit in use.
int ColourIndexOf(double value, int limitSet);

// The limit set of the current plot: 1 for a time-lapse difference (TimeStep 0),
// otherwise IPflag + NormalisedIP.
int LimitSetOf();

// `count` limits from `min` to `max` in equal steps, linear or logarithmic. A count of 1
// or less gives {min}. Logarithmic steps need positive bounds: otherwise the result is
// empty (the settings dialog refuses such bounds before it asks).
std::vector<double> MakeLimits(double min, double max, int count, bool logarithmic);

// The folder bare palette names are looked up in (the program's "palette" folder).
void SetPaletteFolder(const std::string& folder);
const std::string& PaletteFolder();

// The first and last ten static system colours, which palette entries 0..9 and 246..255
// hold before a palette file is laid over them.
extern const std::array<TColor, 20> StaticSystemColours;

// Fills `palette` from a palette file: the file's colours from entry 0 on, repeated up
// to entry 235; entries 236..245 keep what they held; entries 246..255 get the last ten
// system colours. A name without a folder is looked up in the palette folder. A missing
// file is reported through the prompts and leaves `palette` unchanged (result false).
bool LoadPalette(PaletteTable& palette, const std::string& fileName);

// Draws the colour-scale legend into the legend rectangle of the page state. `canvas`
// must be the drawing layer's current canvas.
void DrawLegend(Canvas& canvas);

}  // namespace karvelo
