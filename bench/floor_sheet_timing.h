// The floor sheet and the system design of a plan timed within the benchmark: the plan is read
// and its rooms laid out once, for a floor location as the command does, and then the sheet is
// composed and painted into PDF bytes, or the system designed, again and again.
#pragma once

#include "output/floor_sheet.h"

#include <optional>
#include <string>

// The median milliseconds of composing the sheet and making its PDF, after one unmeasured run;
// nothing when the plan cannot be read or has no room to lay out.
std::optional<double> FloorSheetMs(const std::string& planPath, SheetSize size, int runs);

// The median milliseconds of designing the system (zones, channels, routes and losses) for the
// plan's rooms, as open areas with the head-end at the floor's lower-left corner.
std::optional<double> SystemDesignMs(const std::string& planPath, int runs);
