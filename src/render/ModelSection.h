#pragma once

// The 2D model section: an inverted resistivity (or IP) model drawn as a coloured
// section along the profile, hung below the ground surface when there is topography,
// with the interpreted layer lines, distance markers and borehole reference columns on
// top.
//
// The model file (RHO, RHO-1 or RH2 form, or a ".MOD" block model) is scanned first and
// then read column by column while it is drawn; only two columns are in memory. The
// colouring is a smooth image (values interpolated between layer depths and between
// columns) or, with the SquarePlot switch, one block per model cell.
//
// What the driver needs from outside the shared plot state:
//   - the borehole reference items of the diagram, in ModelOverlays (the diagram fills
//     it before every drawing; the distance markers come from optrec, read at load);
//   - the model-file dialog of the diagram window, in ChooseModelFile, for a model file
//     that has gone missing (nothing set: the drawing just ends);
//   - the program folder that MODSEC.TXT is looked for in last, ModelLabelProgramFolder.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "base/PlotState.h"
#include "render/Canvas.h"

namespace karvelo {

// ---- Model kinds ---------------------------------------------------------------------------
// ModelKind indexes these title suffixes; the 2D driver sets it to 4.
inline constexpr int ModelKindCount = 8;
inline constexpr std::uint8_t ModelKind2D = 4;
inline constexpr std::uint8_t ModelKindSelma = 7;
extern const std::array<const char*, ModelKindCount> ModelKindNames;

// The name of a model kind ("" for a kind beyond the table).
const char* ModelKindName(int kind);

// The labels of a model section when no MODSEC.TXT is found.
TTextRec EnglishModelLabels();

// ---- What the diagram hands the plot -------------------------------------------------------
struct TReferenceColumnLayer {
  double Depth = 0;      // bottom of the layer
  int MaterialCode = 0;  // fill pattern 0..30
  std::string MaterialText;
  int MaterialColor = 0;  // plot colour 0..15
};

struct TReferenceColumn {
  double Position = 0;
  std::string Method;
  bool HasGwl = false;
  double Gwl = 0;  // groundwater level, a depth
  std::vector<TReferenceColumnLayer> Layers;
};

// The diagram's reference (borehole) items, in its list order. Draw of the section
// diagram copies its ReferenceData list here before every drawing.
struct TModelOverlays {
  std::vector<TReferenceColumn> References;
};
inline TModelOverlays ModelOverlays;

// The diagram window's model-file dialog: the full path of the file the user chose, or
// "" when the dialog was cancelled. It saves the diagram's settings when a file was
// chosen. Not set: a missing model file ends the drawing.
using ModelFileChooser = std::function<std::string()>;
inline ModelFileChooser ChooseModelFile;

// The program's own folder, where MODSEC.TXT is looked for after the current folder and
// the data folder. Empty means the current folder.
inline std::string ModelLabelProgramFolder;

// ---- Messages --------------------------------------------------------------------------------
inline constexpr const char* DiagramDoesNotFitText =
    "The diagram height does not fit the plot window! To plot diagram try either "
    "to;\n\r\n\r- change \"Settings/Plot options/Auto adjust diagram width\" to checked, "
    "or\n\r\n\r- resize plot window to a larger relative height.";

// ---- Drawing -----------------------------------------------------------------------------------
// The 2D driver: labels, scan, topography, page layout, title block, legend, axes, the
// model and its overlays. Problems with the files are reported through CurrentPrompts()
// and end the drawing; what was drawn stays. Raises EKarvDivByZero or EKarvInvalidOp when
// the settings give no usable scale.
void PlotModelSection(Canvas& canvas, int width, int height);

// The colouring of the model file `modelFileName` (in ModelPath) after the driver's scan
// and layout, in the file's own form (RHO or RH2).
void DrawModelImage(Canvas& canvas, const std::string& modelFileName);
void DrawModelBlocks(Canvas& canvas, const std::string& modelFileName);

// The ground surface line through the topography list.
void DrawTopography(Canvas& canvas);
// The layer boundaries of the ".MRK" file beside the data file.
void DrawLayerLines(Canvas& canvas);
// The distance markers of optrec.
void DrawModelMarkers();
// The borehole reference columns of ModelOverlays.
void DrawReferenceData(Canvas& canvas);
// A block model of a ".MOD" file (in ModelPath).
void DrawModFile(Canvas& canvas, const std::string& modelFileName);

// ---- Topography --------------------------------------------------------------------------------
// Reads the ALT file (optrec.DataDir + optrec.FileName + ".ALT") into the topography list.
// False when it is missing, out of order (reported) or holds no point.
bool ReadTopographyFile();
// Puts the column positions and ground elevations of an RH2 model file into the
// topography list. False when the file holds no column.
bool ReadRh2Topography(const std::string& modelFileName);
// The topography list reaches from xMin to xMax.
bool TopographyCovers(double xMin, double xMax);

}  // namespace karvelo
