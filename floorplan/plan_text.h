// The words of a plan's TEXT and MTEXT entities, without the drawing program's formatting: what a
// reader sees on the plan, as plain UTF-8 on one line.
#pragma once
#include <string>
#include <string_view>

namespace floorplan {

// Removes MTEXT format codes (fonts, heights, colours, stacking, paragraphs) and the %% control
// codes of TEXT, turns line breaks into blanks, collapses runs of blanks and trims the ends.
std::string CleanText(std::string_view text);

} // namespace floorplan
