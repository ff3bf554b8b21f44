#pragma once

// The pseudosection: every datum of a DAT file at its plot position and pseudo-depth,
// the space between them coloured by interpolation. The driver checks that the data can
// be shown, prepares the labels, lays out the page, draws the title block, legend and
// axes, builds the grid window by window along the profile, paints it pixel by pixel
// and overlays the data points and distance markers.
//
// The data file is read once per drawing, when the grid phase starts; every window and
// the data-point overlay work on those records. The grid buffer lives for one drawing.

#include <string>

#include "input/DatReader.h"
#include "render/Canvas.h"

namespace karvelo {

// The spacing and n-factor shown (0: all), shared with the settings dialog. Both go
// back to 0 at the first drawing after a file is loaded (graphtype.FirstTime).
inline double SelectedSpacing = 0;
inline double SelectedNFactor = 0;

// The distance range of the grid window being built.
inline double WindowStart = 0;
inline double WindowEnd = 0;

// The Y slice (1-based index into ScanResults.YList) chosen last for a 3-D data file;
// 0 before the first choice. The Y-slice dialog preselects the slice after it.
inline int LastYSlice = 0;

// The program's own folder, where PSEUDO.TXT is looked for after the current folder and
// the data folder. Set by the program at start; empty means the current folder.
inline std::string PseudoLabelProgramFolder;

// Draws the pseudosection of the current data file on a page of width x height pixels.
// Messages go through CurrentPrompts(). Raises EKarvCapacity when the data hold more
// pseudo-depths than the grid has rows, EInOutError (code 2, after showing its
// message) when the data file has gone, EKarvDivByZero when the data or the settings
// give no usable scale.
void PlotPseudosection(Canvas& canvas, int width, int height);

// Fills the grid for the window [windowStart, windowEnd] from the data of the current
// drawing (reading the data file when no drawing has read it yet). False when some
// datum's pseudo-depth is none of the grid rows.
bool PutDATInGrid2(double windowStart, double windowEnd);
// Interpolates the empty columns and cells of the window's grid.
void FillGridGaps();
// Paints the pixels of the diagram that fall in the current window.
void PaintGridWindow();
// The overlays: a dot or cross at every datum, and the distance markers.
void PlotDataPoints();
void PlotMarkers();

// Hands the measurement records of the load that precedes a drawing
// (ScanDatFile(&data)) to that drawing, so that it does not read the file a second
// time. The next drawing takes them when they are of the file of the plot state and
// drops them otherwise; the plotted time step and IP window are picked afresh.
void AdoptPseudoData(TDatData&& data);

// Releases the data and grid of a drawing (the driver does this itself at its end;
// callers of the single steps above do it when they are done).
void ReleasePseudoWork();

}  // namespace karvelo
