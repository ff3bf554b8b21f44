#pragma once

namespace karvelo {

// Plugs the drawing layer and the renderers of the three diagram types into Draw. Every
// program that draws diagrams calls it once at start-up; calling it again is harmless.
void RegisterStandardRenderers();

}  // namespace karvelo
