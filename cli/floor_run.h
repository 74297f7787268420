// A run of the command on an architect's floor plan: every room outline of the plan laid out
// where it stands, in the plan's own coordinates and unit, with the conditions of the whole
// floor or, room by room, of a schedule joined by name. It writes the floor's summary, and as
// asked the masking plan (DXF) that overlays the architect's file, the floor sheet (PDF) and
// the speakers' coordinates, and the system to bid with its zones, bill and test points.
#pragma once
#include "cli/plan_run.h"
#include "cli/system_run.h"
#include "floorplan/plan_reader.h"
#include "output/floor_sheet.h"

#include <QString>
#include <QTextStream>
#include <optional>
#include <string>
#include <vector>

struct FloorRequest {
    QString planPath;
    std::vector<std::string> roomLayers; // patterns; none: the layers that say area, room ...
    std::vector<std::string> textLayers; // patterns; none: every layer
    std::optional<floorplan::DrawingUnit> unit; // wins over the plan's header
    RoomFields defaults;                        // the conditions given as options, for every room
    QString schedulePath;                       // conditions room by room; may be empty
    std::optional<SheetSize> sheet;             // the floor sheet's size, when one is wanted
    std::optional<SystemOptions> system;        // when the system is wanted
    Outputs out;
};

RunStatus RunFloorPlan(const FloorRequest& request, QTextStream& report, QTextStream& err);
