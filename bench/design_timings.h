// The in-process figures of the benchmark: the design rule, Calculate with its drawing, and the
// printed report, each for one room at the smallest nominal spacing the conditions allow (the
// most rows a room of that size can get).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct RoomCase {
    std::string label; // "typical", "large", "largest"
    bool feet = true;
    std::int32_t leng = 0;
    std::int32_t wid = 0;
};

std::string Describe(const RoomCase& room); // "40 x 25 ft"
// Speakers that Calculate lays out for the room.
std::int64_t SpeakerCount(const RoomCase& room);

// Both calls of the design rule (length, then width), in microseconds per Calculate.
double ComputeRowsUs(const RoomCase& room, int runs);
// Calculate without the window: the results, the result lines, the drawing onto the retained
// surface and its painting into an image the size of the room picture.
double CalculateDrawingMs(const RoomCase& room, int runs);
// The report composed with the fixed test metrics, and printed into a real PDF file (measuring
// with the PDF's fonts included). A negative result means the report did not print.
double ReportComposedMs(const RoomCase& room, int runs);
double ReportPdfMs(const RoomCase& room, int runs);

// The character filter alone: how many characters of a text pasted at its end one Backspace
// per refused last character would take away, in milliseconds.
double FilterMs(const std::string& text, int runs);

// Calculate in the real window on the offscreen platform: the click handler, then the frame
// the user sees (the room picture and the result lines repainted). Each run starts, untimed,
// from the picture hidden and erased, as after a new room is entered.
class WindowBench {
  public:
    WindowBench();
    ~WindowBench();
    double CalculateMs(const RoomCase& room, int runs);
    // A paste into the focused length box: from Ctrl+V until the character filter's queued
    // Backspaces are done and the frame is painted. Negative when the box does not end as
    // `left`.
    double PasteMs(const std::string& text, const std::string& left, int runs);

  private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};
