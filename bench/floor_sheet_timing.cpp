#include "floor_sheet_timing.h"

#include "cli/room.h"
#include "floorplan/outline_layout.h"
#include "floorplan/rooms.h"
#include "floorplan/units.h"
#include "output/printer_output.h"
#include "system_design/system_design.h"
#include "timing.h"

#include <QFile>

#include <algorithm>

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

std::optional<double> SystemDesignMs(const std::string& planPath, int runs) {
    const std::optional<FloorSheetInput> sheet = SheetOfPlan(planPath);
    if (!sheet)
        return std::nullopt;
    const Units units = sheet->imperial ? Units::Feet : Units::Millimetres;
    system_design::SystemInputs inputs = system_design::DefaultInputs(units);
    std::vector<system_design::SystemRoom> rooms;
    inputs.headEnd = sheet->rooms.front().outline.front();
    for (const SheetRoom& room : sheet->rooms) {
        rooms.push_back({room.name, room.outline, room.speakers, system_design::SpaceType::Open,
                         "floor", std::nullopt});
        for (const floorplan::Point& p : room.outline)
            inputs.headEnd = {std::min(inputs.headEnd.x, p.x), std::min(inputs.headEnd.y, p.y)};
    }
    std::size_t zones = 0;
    const double ms = MedianMs(runs, [&] {
        zones = system_design::DesignSystem(rooms, inputs, sheet->millimetresPerUnit / 1000)
                    .zones.size();
    });
    return zones > 0 ? std::optional<double>(ms) : std::nullopt;
}
