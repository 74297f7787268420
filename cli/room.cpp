#include "cli/room.h"

#include "core/calculate.h"
#include "core/entry.h"
#include "core/number_text.h"
#include "core/unit_data.h"

#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <optional>

namespace {

struct FieldInfo {
    const char* name;
    const char* help;
    std::size_t maxCharacters = 50; // enough for any value a list or a number can take
};

const std::array<FieldInfo, kFieldCount> kFields{{
    {"room", "name of the room; names its files", 200},
    {"units", "ft or mm"},
    {"location", "suspended (above a suspended ceiling), open (open ceiling) or floor (raised "
                 "access floor)"},
    {"plenum", "suspended: plenum depth band 1-4 (ft: 0-1, 1-3, 3-6, over 6; mm: 0-300, "
               "300-900, 900-1800, over 1800)"},
    {"tile", "suspended: 1 fiberglass, 2 fiberglass with foil, 3 mineral, 4 interlocking "
             "spline, 5 gypsum board"},
    {"ceiling-height", "suspended: 1 lower or 2 higher than 12 ft / 3600 mm"},
    {"batts", "suspended: sound batts lie over the tiles (yes or no in a schedule)"},
    {"structural-height", "open: structural ceiling height"},
    {"insulation", "open: the structural ceiling is insulated (yes or no in a schedule)"},
    {"length", "room length"},
    {"width", "room width"},
    {"description", "for the report, the room's name by default", 1000},
}};

std::string Quoted(const std::string& value) {
    return '"' + value + '"';
}

std::string Lowered(const std::string& text) {
    return Lower(Trim(text));
}

class Checker {
  public:
    explicit Checker(const RoomFields& f) : m_f(f) {}

    const std::string& Text(Field f) const { return m_f[static_cast<std::size_t>(f)]; }
    bool Given(Field f) const { return !Trim(Text(f)).empty(); }

    RoomError Bad(Field f, const std::string& reason) const {
        return {std::string(FieldName(f)) + " " + Quoted(Trim(Text(f))) + " " + reason};
    }
    RoomError Missing(Field f, const std::string& where) const {
        return {std::string(FieldName(f)) + " is missing (needed " + where + ")"};
    }

    // A pick from a list of `count`, 1 first.
    std::optional<RoomError> Pick(Field f, int count, std::optional<std::int16_t>& sel,
                                  const char* where) const {
        if (!Given(f))
            return Missing(f, where);
        const QString text = QString::fromStdString(Trim(Text(f)));
        bool ok = false;
        const int v = text.toInt(&ok);
        if (!ok || v < 1 || v > count)
            return Bad(f, "is not one of 1 to " + std::to_string(count));
        sel = static_cast<std::int16_t>(v);
        return std::nullopt;
    }

    bool Yes(Field f) const {
        const std::string v = Lowered(Text(f));
        return v == "yes" || v == "y" || v == "true" || v == "1";
    }
    bool No(Field f) const {
        const std::string v = Lowered(Text(f));
        return v.empty() || v == "no" || v == "n" || v == "false" || v == "0";
    }

    std::optional<RoomError> YesNo(Field f, bool& yes) const {
        yes = Yes(f);
        if (yes || No(f))
            return std::nullopt;
        return Bad(f, "is not yes or no");
    }

    std::optional<RoomError> TooLong() const {
        for (std::size_t f = 0; f < kFieldCount; ++f)
            if (!FitsField(static_cast<Field>(f), m_f[f]))
                return RoomError{std::string(kFields[f].name) + " is longer than " +
                                 std::to_string(FieldLimit(static_cast<Field>(f))) + " characters"};
        return std::nullopt;
    }

    // A length in whole units within the window's limits for its box.
    std::optional<RoomError> Length(Field f, EntryBox box, Units units, std::int32_t& value,
                                    std::vector<std::string>& notes,
                                    const char* where = "for every room") const {
        if (!Given(f))
            return Missing(f, where);
        const std::string text = Trim(Text(f));
        static const QRegularExpression number(R"(^[+-]?(\d+\.?\d*|\.\d+)$)");
        if (!number.match(QString::fromStdString(text)).hasMatch())
            return Bad(f, "is not a number");
        const EntryLimits limits = LimitsFor(box, units);
        const EntryValue v = ReadEntry(text, limits);
        const std::string unit = units == Units::Feet ? " ft" : " mm";
        if (v.verdict == EntryVerdict::BelowMinimum)
            return Bad(f, "is below the minimum of " + std::to_string(limits.minimum) + unit);
        if (v.verdict == EntryVerdict::AboveMaximum)
            return Bad(f, "is above the maximum of " + std::to_string(limits.maximum) + unit);
        if (ReadLeadingNumber(text) != v.value)
            notes.push_back(std::string(FieldName(f)) + " " + text + " rounded to " +
                            std::to_string(v.value));
        value = v.value;
        return std::nullopt;
    }

    // Conditions that belong to another location are refused rather than ignored; a "no", which
    // spreadsheets fill in everywhere, asks for nothing.
    std::optional<RoomError> NotFor(std::initializer_list<Field> fields, const char* where) const {
        for (Field f : fields)
            if (Given(f) && !((f == Field::Batts || f == Field::Insulation) && No(f)))
                return Bad(f, std::string("does not apply ") + where);
        return std::nullopt;
    }

  private:
    const RoomFields& m_f;
};

constexpr const char* kAboveCeiling = "above a suspended ceiling";
constexpr const char* kOpenCeiling = "in an open ceiling";
constexpr const char* kAccessFloor = "below an access floor";

std::optional<RoomError> Conditions(const Checker& c, DesignState& s,
                                    std::vector<std::string>& notes) {
    switch (s.location) {
    case Location::AboveCeiling: {
        bool batts = false;
        if (auto e = c.Pick(Field::Plenum, 4, s.plenumDepth, kAboveCeiling))
            return e;
        if (auto e = c.Pick(Field::Tile, 5, s.ceilingType, kAboveCeiling))
            return e;
        if (auto e = c.Pick(Field::CeilingHeight, 2, s.ceilingHeight, kAboveCeiling))
            return e;
        if (auto e = c.YesNo(Field::Batts, batts))
            return e;
        s.absorption = batts ? Absorption::BattsOverTiles : Absorption::None;
        return c.NotFor({Field::StructuralHeight, Field::Insulation}, kAboveCeiling);
    }
    case Location::OpenCeiling: {
        bool insulation = false;
        if (auto e = c.Length(Field::StructuralHeight, EntryBox::CeilingHeight, s.units.value(),
                              s.structuralHeight, notes, kOpenCeiling))
            return e;
        if (auto e = c.YesNo(Field::Insulation, insulation))
            return e;
        s.absorption = insulation ? Absorption::OnStructure : Absorption::None;
        return c.NotFor({Field::Plenum, Field::Tile, Field::CeilingHeight, Field::Batts},
                        kOpenCeiling);
    }
    case Location::AccessFloor:
    case Location::None:
        break;
    }
    return c.NotFor({Field::Plenum, Field::Tile, Field::CeilingHeight, Field::Batts,
                     Field::StructuralHeight, Field::Insulation},
                    kAccessFloor);
}

} // namespace

const char* FieldName(Field f) {
    return kFields[static_cast<std::size_t>(f)].name;
}
std::size_t FieldLimit(Field f) {
    return kFields[static_cast<std::size_t>(f)].maxCharacters;
}

std::string FieldHelp(Field f) {
    const auto range = [](EntryBox box) {
        const EntryLimits feet = LimitsFor(box, Units::Feet);
        const EntryLimits millimetres = LimitsFor(box, Units::Millimetres);
        return ", " + std::to_string(feet.minimum) + "-" + std::to_string(feet.maximum) +
               " ft or " + std::to_string(millimetres.minimum) + "-" +
               std::to_string(millimetres.maximum) + " mm";
    };
    std::string help = kFields[static_cast<std::size_t>(f)].help;
    if (f == Field::Length || f == Field::Width)
        help += range(f == Field::Length ? EntryBox::Length : EntryBox::Width);
    else if (f == Field::StructuralHeight)
        help += range(EntryBox::CeilingHeight);
    if (FieldLimit(f) != FieldLimit(Field::Units))
        help += " (at most " + std::to_string(FieldLimit(f)) + " characters)";
    return help;
}

// Characters, not bytes, as a spreadsheet counts them.
bool FitsField(Field f, const std::string& text) {
    const auto characters = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return static_cast<std::size_t>(characters) <= FieldLimit(f);
}

const char* LocationWord(Location location) {
    switch (location) {
    case Location::AboveCeiling:
        return "suspended";
    case Location::OpenCeiling:
        return "open";
    case Location::AccessFloor:
    case Location::None:
        break;
    }
    return "floor";
}

std::variant<Room, RoomError> RoomConditions(const RoomFields& fields) {
    const Checker c(fields);
    if (auto e = c.TooLong())
        return *e;
    Room room;
    DesignState& s = room.s;
    room.name = Trim(c.Text(Field::Room));
    if (room.name.empty())
        return RoomError{"room has no name"};

    const std::string units = Lowered(c.Text(Field::Units));
    if (units == "ft" || units == "feet")
        s.units = Units::Feet;
    else if (units == "mm" || units == "millimeters" || units == "millimetres")
        s.units = Units::Millimetres;
    else
        return c.Given(Field::Units) ? c.Bad(Field::Units, "is not ft or mm")
                                     : c.Missing(Field::Units, "for every room");

    const std::string location = Lowered(c.Text(Field::Location));
    for (Location loc : {Location::AboveCeiling, Location::OpenCeiling, Location::AccessFloor})
        if (location == LocationWord(loc))
            s.location = loc;
    if (s.location == Location::None)
        return c.Given(Field::Location) ? c.Bad(Field::Location, "is not suspended, open or floor")
                                        : c.Missing(Field::Location, "for every room");

    if (auto e = Conditions(c, s, room.notes))
        return *e;
    s.description = Trim(c.Text(Field::Description));
    if (s.description.empty())
        s.description = room.name;
    return room;
}

std::variant<Room, RoomError> LayOutRoom(const RoomFields& fields) {
    std::variant<Room, RoomError> checked = RoomConditions(fields);
    if (std::holds_alternative<RoomError>(checked))
        return checked;
    Room& room = std::get<Room>(checked);
    DesignState& s = room.s;
    const Checker c(fields);
    if (auto e = c.Length(Field::Length, EntryBox::Length, s.units.value(), s.length, room.notes))
        return *e;
    if (auto e = c.Length(Field::Width, EntryBox::Width, s.units.value(), s.width, room.notes))
        return *e;

    // Tested on the room as given, before the exchange, as the window does.
    if (IsSmallRoom(s))
        room.notes.push_back("small room: masking not recommended");
    if (OrientRoom(s))
        room.notes.push_back("length and width exchanged");
    ComputeDesign(s); // the conditions checked above always name a spacing
    return checked;
}
