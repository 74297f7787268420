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

// A file's bytes, or why there are none.
struct Made {
    QByteArray bytes;
    QString error;
};
// The window's report as a PDF.
Made ReportPdf(const DesignState& s);
// The plan as DXF. The library writes only to a path, so it is made in scratchFolder first and
// read back.
Made PlanDxf(const Room& room, const QString& scratchFolder);

// The room's name made safe as a file name: no slashes, control characters or characters
// other systems refuse, no leading dot, at most 100 bytes; "room" when nothing is left.
QString SafeFileName(const std::string& name);
