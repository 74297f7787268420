// The to-scale plan of the room in the window's picture: grey lines for the speaker rows in
// both directions and a black dot for each speaker where they cross.
#pragma once

#include "core/design_state.h"
#include "output/drawing_surface.h"

// Radius of a speaker's dot, in the design's unit; a plan drawn elsewhere uses the same.
double SpeakerDotRadius(Units units);

// Erases pic and draws the grid of the last Calculate. The caller has already given pic the
// user coordinates (0, 0)-(length, width).
void DrawLayout(DrawingSurface& pic, const DesignState& s);
