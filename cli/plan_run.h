// A run of the command: the files wanted for each room, a whole room schedule streamed row by
// row into the summary CSV, and the messages for bad rows ("rooms.csv:17: width "abc" is not a
// number"). Rooms are laid out and written one at a time; nothing of the floor is held.
#pragma once

#include "cli/room.h"
#include "cli/system_run.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class ReportPaper;

struct Outputs {
    QString folder = ".";
    bool pdf = false;
    bool dxf = false;
    bool coordinates = false;
    // The PDFs' paper, measured once for the whole run: measuring its fonts again for each room
    // would take most of a report's time.
    std::shared_ptr<const ReportPaper> paper;
};

// What became of one room's files: the paths written, and for each file that could not be
// written why not ("pdf not written: disk full"), for the summary's notes.
struct RoomFiles {
    QStringList paths;
    QStringList problems;
};

// Writes the files wanted for one room into the folder, named after the room. A file that cannot
// be written is reported on err and leaves the others written. A description cut to fit the
// report adds a note to the room.
RoomFiles WriteRoomFiles(Room& room, const Outputs& out, QTextStream& err);

// Makes the folder, when a file is about to be written into it; why it cannot be, or empty.
QString MakeFolder(const QString& folder);

// A summary's cell, made text with a leading apostrophe where a spreadsheet would take it for a
// formula; plain numbers stay numbers.
std::string Cell(const std::string& text);
// Notes joined by "; " into one cell.
std::string Joined(const std::vector<std::string>& parts);
// The cells, already made cells, as one CSV line.
std::string Row(const std::vector<std::string>& cells);

// The columns a schedule's header names, in any case and order.
class ScheduleColumns {
  public:
    // The columns, or why the header cannot be used: an unknown or repeated column, or a
    // required one missing. Empty cells at the header's end are left out. A run that reads
    // further columns than a room's fields names them in `more`.
    static std::variant<ScheduleColumns, std::string>
    Read(std::vector<std::string> header, std::initializer_list<Field> required,
         const std::vector<std::string>& more = {});
    // A row's cells under their columns.
    RoomFields Fields(const std::vector<std::string>& cells) const;
    // A row's cells under the further columns, by name; empty ones are left out.
    std::map<std::string, std::string> More(const std::vector<std::string>& cells) const;
    // Why a row's cells past the named columns cannot be left out, when one holds anything.
    std::optional<std::string> Extra(const std::vector<std::string>& cells) const;

  private:
    std::vector<std::optional<Field>> m_columns; // none under a further column
    std::map<std::size_t, std::string> m_more;   // the further columns by position
    std::size_t m_headerSize = 0;                // with the empty cells at its end
};

enum class RunStatus { Done = 0, RoomsFailed = 1, Unusable = 2 };

// Lays out every room of the schedule, writing "<schedule name> summary.csv" (one row for each
// row of the schedule) and the wanted files into the output folder, one line on err for each
// room that cannot be done and, last, how many were laid out, refused and incomplete. The
// schedule's header names the columns (any case, any order); room, units, location, length
// and width are required. With the system, the schedule may give each room's space and tap, the
// summary gains each room's zones, and "<schedule name> zones.csv" and the bill are written.
RunStatus RunSchedule(const QString& schedulePath, const Outputs& out,
                      const std::optional<SystemOptions>& system, QTextStream& report,
                      QTextStream& err);
