#include "floor_sheet_timing.h"

#include "cli/room.h"
#include "floorplan/outline_layout.h"
#include "floorplan/rooms.h"
#include "floorplan/units.h"
#include "output/printer_output.h"
#include "timing.h"

#include <QFile>

namespace {

// The rooms of the plan as the sheet shows them, laid out for a floor location.
std::optional<FloorSheetInput> SheetOfPlan(const std::string& planPath) {
    QFile file(QString::fromStdString(planPath));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const auto read = floorplan::ReadPlan(std::string_view(bytes.constData(), bytes.size()));
    const auto* plan = std::get_if<floorplan::Plan>(&read);
    if (!plan || !plan->headerUnit)
        return std::nullopt;
    const floorplan::DrawingUnit unit = *plan->headerUnit;
    FloorSheetInput input;
    input.planName = "floor.dxf";
    input.date = "2026-01-01";
    input.imperial = floorplan::DesignUnitsFor(unit) == Units::Feet;
    // Design units are feet or millimetres.
    input.millimetresPerUnit = floorplan::ToDesignUnits(unit) * (input.imperial ? 304.8 : 1);
    input.unitName = "drawing unit";
    RoomFields fields;
    At(fields, Field::Units) = input.imperial ? "ft" : "mm";
    At(fields, Field::Location) = "floor";
    for (const floorplan::PlanRoom& room : floorplan::FindRooms(*plan, {}, {}).rooms) {
        At(fields, Field::Room) = room.name;
        const auto conditions = RoomConditions(fields);
        if (!std::holds_alternative<Room>(conditions))
            return std::nullopt;
        const auto laidOut = floorplan::LayOutOutline(room.corners, floorplan::ToDesignUnits(unit),
                                                      std::get<Room>(conditions).s);
        if (const auto* layout = std::get_if<floorplan::OutlineLayout>(&laidOut))
            input.rooms.push_back({room.name, room.corners, layout->speakers, layout->needsCheck});
    }
    if (input.rooms.empty())
        return std::nullopt;
    return input;
}

} // namespace

std::optional<double> FloorSheetMs(const std::string& planPath, SheetSize size, int runs) {
    std::optional<FloorSheetInput> input = SheetOfPlan(planPath);
    if (!input)
        return std::nullopt;
    input->size = size;
    qsizetype bytes = 0;
    const double ms = MedianMs(runs, [&] {
        const FloorSheet sheet = ComposeFloorSheet(*input, ReportPaper());
        bytes = FloorSheetPdf(sheet, "floor").size();
    });
    return bytes > 0 ? std::optional<double>(ms) : std::nullopt;
}
