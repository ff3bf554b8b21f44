#pragma once

// The furniture around every coloured diagram: the frame, the distance scale along the
// top, the depth (or elevation) scales on both sides, the axis labels, the producer line
// at the top of the page, the two title lines, the direction labels at both ends of the
// profile and the information line at the bottom. All positions follow the page layout
// of the drawing layer; every text goes through OutTextXY, so it stays on the page.
//
// Order of use in every plot: layout, info block, legend, axes, then the diagram.
// `canvas` must be the drawing layer's current canvas.

#include <string>

#include "input/QvMath.h"  // FormatGeneral, used by the scales
#include "render/Canvas.h"

namespace karvelo {

void DrawPseudoAxes(Canvas& canvas);
void DrawModelAxes(Canvas& canvas);

// Title block, producer line, direction labels and the bottom information line; both
// set DiagramTop and DiagramBottom.
void DrawPseudoInfo(Canvas& canvas);
void DrawModelInfo(Canvas& canvas, const std::string& modelFileName);

// Helpers the title block is built from, open for the tests and the other renderers.

// The model's mean residual in percent with one decimal (field of at least three), or
// "" when the misfit of the plotted quantity rounds to zero in thousandths.
std::string MisfitText(double rms);

// `folder` written relative to `base` ("" when they are the same, ".." steps where
// needed, with a trailing separator); the full folder when the two do not share a root.
std::string RelativeFolder(const std::string& base, const std::string& folder);

}  // namespace karvelo
