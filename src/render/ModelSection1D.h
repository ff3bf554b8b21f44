#pragma once

// The 1D model section of a Wenner survey: every grid column of the pseudosection is
// inverted as a vertical electrical sounding into a layered model (render/Zohdy1D.h),
// the models side by side are written as a "RHO-1" model file in a model folder beside
// the data, and that file is drawn like a 2D model.
//
// A built model stays on disk and is used by later drawings; it is built only when its
// file is missing, after the user agreed. The build writes each model file in one piece
// at its end (never a half-written model), keeps the progress box alive through
// CurrentPrompts(), and appends one line per build to "MK_1DMOD.LOG" in the data
// folder.

#include <array>
#include <string>

#include "render/Canvas.h"

namespace karvelo {

// ---- Build switches ---------------------------------------------------------------------------
// OddAndEven: invert every grid column (false: every second one). SmoothIncl: make the
// smoothed model as well. A fast build (the "No" of the model question) leaves out both
// for that build only.
inline bool OddAndEven = false;
inline bool SmoothIncl = true;

// ---- Model folders ------------------------------------------------------------------------------
// The folder of each model kind (the index is ModelKind), created beside the data.
inline constexpr int ModelFolderCount = 8;
extern const std::array<const char*, ModelFolderCount> ModelFolderNames;

// optrec.DataDisk + optrec.DataDir + the folder of `kind` + "/" ("" for a kind beyond the
// table).
std::string ModelFolderOf(int kind);

inline constexpr const char* BuildLogName = "MK_1DMOD.LOG";

// ---- Texts ------------------------------------------------------------------------------------
inline constexpr const char* WennerOnlyText =
    "Sorry, 1D Zohdy imaging only supported for Wenner-a array";
inline constexpr const char* CompleteModelQuestion =
    "Complete model? (No = Fast unsmoothed non-grid type model only)";
inline constexpr const char* TopographyNotCovering1DText =
    "ERROR: The topography file does not cover the profile! (Check filename.ALT.)";
inline constexpr const char* PlotWithoutTopographyQuestion = "Plot without topography?";
inline constexpr const char* DiagramDoesNotFit1DText =
    "The diagram height does not fit the plot window! To plot diagram try either "
    "to;\n\r\n\r- change \"Settings/Plot options/Auto adjust diagram width\" to checked, "
    "or\n\r\n\r- resize plot window to a larger height relative to the width.";
// "Zohdy model file " + folder + file + " not found!" + "\n" + "\r" + "Create now?"
std::string CreateModelQuestion(const std::string& folder, const std::string& file);

// The lines that end a model file: the misfit (a fraction, 3 decimals) and the model's
// description, "/Model residuals:" and "/Inversion type header:" before them.
std::string ModelTrailer(double rms, bool smoothed);
// The line a build appends to the log (without its line break).
std::string BuildLogLine(const std::string& fileName, bool oddAndEven, bool smoothIncl,
                         double minutes);

// ---- Building ---------------------------------------------------------------------------------
// Builds the 1D models of the current data file (the plot state's file, loaded): the
// unsmoothed model and, unless fastOnly (or SmoothIncl is off), the smoothed one, on the
// plain layer grid or, with gridModel, on the grid of half-spacing steps (model kinds 2
// and 3). True when the model files were written. Problems (a folder that cannot be
// made, a file that cannot be written, data without two soundings of three points) are
// reported through CurrentPrompts(), naming the path, and leave no model file and no
// scratch file behind. Raises EKarvCapacity when a datum's pseudo-depth is none of the
// grid rows.
bool Build1DModels(bool fastOnly, bool gridModel);

// ---- Drawing ----------------------------------------------------------------------------------
// The 1D driver: for Wenner data, finds the model file of ModelKind in its folder
// (building it first when it is missing and the user agrees) and draws it as a model
// section with labels, title block, legend, axes, topography and overlays. Raises
// EKarvNoModelCreated when there is no model to draw (not Wenner data, the user
// declined the build, or the build failed): the diagram then shows the pseudosection.
// Other problems are messages that end the drawing.
void PlotModelSection1D(Canvas& canvas, int width, int height);

}  // namespace karvelo
