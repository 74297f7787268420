// What the command line makes of one laid-out room: the speaker positions, the JSON object, the
// coordinates CSV, the CAD plan (DXF) and the printed report (PDF). The report is the window's
// own page; the plan puts the room's corner at the origin with the length along X.
#pragma once

#include "cli/room.h"

#include <QByteArray>
#include <QString>

#include <vector>

struct SpeakerPoint {
    double x; // along the length, from the room's corner
    double y; // along the width
};

// Every speaker, column by column along the length, as the window draws them.
std::vector<SpeakerPoint> SpeakerPoints(const DesignState& s);

// Inputs, nominal spacing, rows, spacing and edge per dimension, count, wiring, the result
// lines, notes and speaker coordinates.
QByteArray RoomJson(const Room& room);

// "speaker,x,y", one speaker a row.
QByteArray CoordinatesCsv(const DesignState& s);

class ReportPaper;

// The report prints the description on one line, cut to that line as the window cuts it; a
// description cut short gets a note.
void FitDescription(Room& room, const ReportPaper& paper);
// The window's report as a PDF.
QByteArray ReportPdf(const DesignState& s, const ReportPaper& paper);
// The plan as DXF, with its extents and a first view of the whole room.
QByteArray PlanDxf(const Room& room);

// The room's name made safe as a file name: no slashes, control characters or characters
// other systems refuse, no marks that reorder or hide letters, no leading dot, and short
// enough, cut between characters, that with its extension and a number it takes at most the
// 255 bytes of UTF-8 a name may have; "room" when nothing is left.
QString SafeFileName(const std::string& name);
