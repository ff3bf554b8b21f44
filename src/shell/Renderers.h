#pragma once

// What a diagram window adds to the standard renderers: the model section's dialog for
// a missing model file, and the folder of the global label files.

#include <string>

class QWidget;

namespace karvelo {
class TSectionDiagram;
}

namespace karvelo::shell {

// The standard renderers and drawing layer (core/StandardRenderers.h). Safe to call more
// than once.
void RegisterDiagramRenderers();

// The folder the label files PSEUDO.TXT and MODSEC.TXT are looked for in last.
void SetLabelProgramFolder(const std::string& folder);

// Around a drawing of `diagram` in `window`: the model section's dialog for a model file
// that has gone missing picks the file in that window and saves the diagram's settings.
void BeginDrawing(TSectionDiagram& diagram, QWidget* window);
void EndDrawing();

}  // namespace karvelo::shell
