// The to-scale plan of the room in the window's picture: grey lines for the speaker rows in
// both directions and a black dot for each speaker where they cross.
#pragma once

#include "core/design_state.h"
#include "output/drawing_surface.h"

// Erases pic and draws the grid of the last Calculate. The caller has already given pic the
// user coordinates (0, 0)-(Leng, Wid).
void DrawLayout(DrawingSurface& pic, const DesignState& s);
