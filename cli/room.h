// One room as the command line and the room schedule give it: twelve named text fields, checked
// against the window's lists and limits and turned into a calculated design. Nothing is clamped
// or guessed: a field that does not fit is refused with the reason, and a number that is not
// whole is rounded as the window rounds it, with a note saying so.
#pragma once

#include "core/design_state.h"

#include <array>
#include <cstddef>
#include <string>
#include <variant>
#include <vector>

enum class Field {
    Room,
    Units,
    Location,
    Plenum,
    Tile,
    CeilingHeight,
    Batts,
    StructuralHeight,
    Insulation,
    Length,
    Width,
    Description
};
inline constexpr std::size_t kFieldCount = 12;

// Each field's name, the same for the option and the schedule's column ("ceiling-height").
const char* FieldName(Field f);
// What the field takes, with its limits, for --help.
std::string FieldHelp(Field f);
// The most characters the field takes: a room's name 200, its description 1000, any other 50.
std::size_t FieldLimit(Field f);

// Whether the text is within the field's limit: a room's name 200 characters, its description
// 1000, any other field 50. Longer fields are refused before anything else is done with them.
bool FitsField(Field f, const std::string& text);

using RoomFields = std::array<std::string, kFieldCount>;
inline std::string& At(RoomFields& f, Field which) {
    return f[static_cast<std::size_t>(which)];
}

struct Room {
    std::string name;
    DesignState s; // conditions, room and the results of Calculate
    std::vector<std::string> notes;
};

// `width "abc" is not a number`
struct RoomError {
    std::string text;
};

// Checks the fields other than the length and width: the room's name, units, location and
// conditions, and its description. The room has no size and no results yet.
std::variant<Room, RoomError> RoomConditions(const RoomFields& fields);
// Checks the fields and lays the room out, or says what is wrong with the first bad field.
std::variant<Room, RoomError> LayOutRoom(const RoomFields& fields);

// "suspended", "open" or "floor", as the location field is written.
const char* LocationWord(Location location);
