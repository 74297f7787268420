// The system a contractor bids for a floor laid out from a plan or a room schedule: the options
// that shape it, the space and tap a schedule may give room by room, and what is written of it:
// the zones, the bill of materials as CSV and as a workbook, the commissioning test points, and
// the zones, taps and cable routes added to the masking plan.
#pragma once

#include "cli/cad_plan.h"
#include "core/design_state.h"
#include "core/unit_pair.h"
#include "floorplan/geometry.h"
#include "output/commissioning_sheet.h"
#include "output/floor_sheet.h"
#include "system_design/system_design.h"

#include <QByteArray>

#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// The columns of a floor's schedule that the system reads beyond a room's fields.
inline constexpr const char* kSpaceColumn = "space";
inline constexpr const char* kTapColumn = "tap";

// The system's options as given; an absent one takes the design's default.
struct SystemOptions {
    std::optional<system_design::LineVoltage> lineVoltage;
    std::optional<double> tapWatts;
    std::optional<system_design::Wire> wire;
    std::optional<double> drop; // in the design's unit, ft or mm
    system_design::SpaceType space = system_design::SpaceType::Open;
    std::optional<floorplan::Point> headEnd; // plan coordinates
    std::optional<int> zoneSize;
    std::optional<double> channelWatts;
    std::optional<int> channelsPerAmplifier;
};

struct SystemOptionInfo {
    const char* name; // the option without its dashes
    const char* valueName;
    const char* help;
    bool cable = false; // shapes the cable, which needs a plan's positions
};
// The options that shape the system, in the order --help lists them.
const std::vector<SystemOptionInfo>& SystemOptionList();

// The options given, by name, or why one cannot be used:
// `--tap "3" is not 1/8, 1/4, 1/2, 1 or 2 (W)`.
std::variant<SystemOptions, std::string>
ReadSystemOptions(const std::map<std::string, std::string>& given);

// One of the taps offered, written "1/8" or "0.125", with or without a W.
std::optional<double> ParseTap(const std::string& text);
// "open" or "closed".
std::optional<system_design::SpaceType> ParseSpace(const std::string& text);
// The space and tap of one room of a schedule.
struct RoomSystem {
    system_design::SpaceType space = system_design::SpaceType::Open;
    std::optional<double> tapWatts; // the system's tap when absent
};
// What the schedule's further columns give a room over the floor's space, or why a value cannot
// be used: `tap "3" is not 1/8, 1/4, 1/2, 1 or 2 (W)`.
std::variant<RoomSystem, std::string>
RoomSystemOf(const std::map<std::string, std::string>& columns, system_design::SpaceType space);
// What a room of these conditions shares a zone with: the location and its conditions.
std::string ConditionsKey(const DesignState& s);

// The design's inputs: the defaults of its unit, the options over them.
system_design::SystemInputs InputsFor(const SystemOptions& options, Units units,
                                      floorplan::Point headEnd);

// The rooms laid out on one floor, as the system takes them.
struct SystemFloor {
    std::string planName;  // names the floor in the bill
    bool positions = true; // a schedule's rooms have none, so no cable is designed
    Units units = Units::Feet;
    double metresPerDrawingUnit = 1;
    double channelWatts = 0;
    int channelsPerAmplifier = 0;
    floorplan::Point headEnd;
    std::vector<system_design::SystemRoom> rooms;
    std::vector<std::size_t> firstSpeaker; // each room's first speaker in the masking plan
};

// Each room's zones, "3; 4", in the order of the floor's rooms.
std::vector<std::string> RoomZones(const system_design::SystemDesign& design,
                                   std::size_t roomCount);

std::string ZonesCsv(const SystemFloor& floor, const system_design::SystemDesign& design);
std::string BillCsv(const SystemFloor& floor, const system_design::SystemDesign& design);
// The same bill as a workbook, or why it could not be made.
std::variant<QByteArray, std::string> BillXlsx(const SystemFloor& floor,
                                               const system_design::SystemDesign& design);
std::string CommissioningCsv(const SystemFloor& floor, const system_design::SystemDesign& design);

// The zones and the bill as files: the word each adds to the plan's or schedule's name, its
// extension and its bytes; and why the workbook could not be made, when it could not.
struct BidFile {
    const char* name;
    const char* extension;
    QByteArray bytes;
};
struct BidFiles {
    std::vector<BidFile> files;
    std::string workbookError;
};
BidFiles ZonesAndBillFiles(const SystemFloor& floor, const system_design::SystemDesign& design);

// The zones as the floor sheet colours them, with their routes and legend lines.
std::vector<SheetZone> SheetZones(const SystemFloor& floor,
                                  const system_design::SystemDesign& design);
// The commissioning form's test points; its date and unit are the caller's.
CommissioningInput CommissioningFormOf(const SystemFloor& floor,
                                       const system_design::SystemDesign& design);

// Each speaker's ZONE and TAP after its ROOM and NUMBER, each zone's route and the head-end.
void AddSystemToPlan(const SystemFloor& floor, const system_design::SystemDesign& design,
                     CadPlan& plan);
