// The floor sheet of a plan timed within the benchmark: the plan is read and its rooms laid out
// once, for a floor location as the command does, and then the sheet is composed and painted
// into PDF bytes again and again.
#pragma once

#include "output/floor_sheet.h"

#include <optional>
#include <string>

// The median milliseconds of composing the sheet and making its PDF, after one unmeasured run;
// nothing when the plan cannot be read or has no room to lay out.
std::optional<double> FloorSheetMs(const std::string& planPath, SheetSize size, int runs);
