// The CAD plans the command line writes, as DXF: rooms' outlines on ROOM, the rows of the grid
// on MASKING-GRID, each speaker an insert of the MASKING_SPEAKER block on MASKING-SPEAKERS, and
// the rooms' names. One room's plan and a whole floor's are written alike; a floor's speakers
// also carry block attributes (their room and number, and with the system their zone and tap),
// and the system adds each zone's cable route and the head-end on MASKING-CABLE.
#pragma once
#include "core/unit_pair.h"

#include <QByteArray>
#include <optional>
#include <string>
#include <utility>
#include <vector>

inline constexpr const char* kRoomLayer = "ROOM";
inline constexpr const char* kGridLayer = "MASKING-GRID";
inline constexpr const char* kSpeakerLayer = "MASKING-SPEAKERS";
inline constexpr const char* kSpeakerBlock = "MASKING_SPEAKER";
inline constexpr const char* kCableLayer = "MASKING-CABLE";

// A room's name is a foot or 300 mm high.
inline constexpr UnitPair<double> kNameHeight{1.0, 300.0};

struct CadPoint {
    double x = 0;
    double y = 0;
};

struct CadSpeaker {
    CadPoint at;
    std::vector<std::string> attributes; // the values of the plan's attribute tags, in order
};

struct CadText {
    CadPoint at; // the left end of its baseline
    std::string text;
};

struct CadPlan {
    int drawingUnits = 0; // the $INSUNITS code: 1 inches, 2 feet, 4 mm, 5 cm, 6 m
    double speakerRadius = 0;
    double textHeight = 0;
    std::vector<std::string> attributeTags;      // none: the speakers are plain inserts
    std::vector<std::vector<CadPoint>> outlines; // closed
    std::vector<std::vector<CadPoint>> cables;   // open, one per zone
    std::vector<std::pair<CadPoint, CadPoint>> rows;
    std::vector<CadSpeaker> speakers;
    std::vector<CadText> names;
    std::optional<CadPoint> headEnd; // a circle twice a speaker's and its name
};

// The plan with its extents, which cover every outline, row, speaker, cable, the head-end and
// name's anchor, and a first view of all of it.
QByteArray CadPlanDxf(const CadPlan& plan);

// A double as written in full, never rounded to a number of digits: 101840.5 stays 101840.5.
std::string ExactNumber(double v);
