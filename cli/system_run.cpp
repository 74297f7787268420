// The system's options, its files and its layer of the masking plan.
#include "cli/system_run.h"

#include "cli/plan_run.h"
#include "core/number_text.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using system_design::LineVoltage;
using system_design::SpaceType;
using system_design::Wire;

constexpr UnitPair<double> kMetresPerDesignUnit{0.3048, 0.001};
// Lengths in the zones' file: feet, or metres for a design in millimetres.
constexpr UnitPair<double> kMetresPerLengthUnit{0.3048, 1};
constexpr UnitPair<const char*> kLengthUnit{"ft", "m"};

std::string Fixed(double value, int decimals) {
    return QString::number(value, 'f', decimals).toStdString();
}

std::optional<double> Number(const std::string& text) {
    bool ok = false;
    const double value = QString::fromStdString(text).trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

std::optional<int> Whole(const std::string& text) {
    bool ok = false;
    const int value = QString::fromStdString(text).trimmed().toInt(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

// Lower case, blanks left out: "16 AWG" is "16awg".
std::string Squeezed(const std::string& text) {
    std::string out;
    for (char c : Lower(text))
        if (c != ' ')
            out += c;
    return out;
}

std::optional<LineVoltage> ParseLineVoltage(const std::string& text) {
    const std::string v = Squeezed(text);
    if (v == "70.7" || v == "70.7v" || v == "70" || v == "70v")
        return LineVoltage::V70;
    if (v == "100" || v == "100v")
        return LineVoltage::V100;
    return std::nullopt;
}

// "16awg", "1.5mm2", or the bare size: AWG sizes and square millimetres never share a number.
std::optional<Wire> ParseWire(const std::string& text) {
    const std::string v = Squeezed(text);
    for (Wire wire : {Wire::Awg18, Wire::Awg16, Wire::Awg14, Wire::Awg12, Wire::Mm075, Wire::Mm1,
                      Wire::Mm15, Wire::Mm25}) {
        const std::string name = system_design::WireName(wire);
        if (v == Squeezed(name) || v == name.substr(0, name.find(' ')))
            return wire;
    }
    return std::nullopt;
}

std::optional<floorplan::Point> ParsePoint(const std::string& text) {
    const auto comma = text.find(',');
    if (comma == std::string::npos)
        return std::nullopt;
    const auto x = Number(text.substr(0, comma)), y = Number(text.substr(comma + 1));
    return x && y ? std::optional(floorplan::Point{*x, *y}) : std::nullopt;
}

// A figure of at most three decimals without trailing zeros: 0.125, 2, 45.
std::string Plain(double value) {
    std::string number = Fixed(value, 3);
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.')
        number.pop_back();
    return number;
}

// "1/8 W", "2 W".
std::string TapName(double watts) {
    const std::map<double, const char*> fractions{{0.125, "1/8"}, {0.25, "1/4"}, {0.5, "1/2"}};
    const auto it = fractions.find(watts);
    return (it != fractions.end() ? std::string(it->second) : Plain(watts)) + " W";
}

const char* SpaceWord(SpaceType space) {
    return space == SpaceType::Open ? "open" : "closed";
}

// "6 x 1 W; 2 x 1/2 W", largest tap first.
std::string TapsText(const std::vector<double>& taps) {
    std::map<double, int, std::greater<>> counts;
    for (double tap : taps)
        ++counts[tap];
    std::vector<std::string> parts;
    for (const auto& [tap, count] : counts)
        parts.push_back(std::to_string(count) + " x " + TapName(tap));
    return Joined(parts);
}

std::string StatusText(const system_design::Zone& zone) {
    switch (zone.status) {
    case system_design::LossStatus::Ok:
        return "ok";
    case system_design::LossStatus::Warn:
        return "warn";
    case system_design::LossStatus::Fail:
        break;
    }
    return zone.passingWire ? "fail: " + system_design::WireName(*zone.passingWire) + " passes"
                            : "fail: no wire of the size's family passes";
}

struct BillLine {
    std::string item, size;
    double quantity = 0;
    int decimals = 0;
    std::string unit;
};

std::vector<BillLine> BillLines(const SystemFloor& floor,
                                const system_design::SystemDesign& design) {
    std::vector<BillLine> lines;
    for (auto tap = design.speakersByTap.rbegin(); tap != design.speakersByTap.rend(); ++tap)
        lines.push_back({"speaker", TapName(tap->first) + " tap", double(tap->second), 0, "each"});
    lines.push_back({"amplifier channel", Plain(floor.channelWatts) + " W",
                     double(design.channels.size()), 0, "each"});
    lines.push_back({"amplifier", std::to_string(floor.channelsPerAmplifier) + " channels",
                     double(design.amplifiers), 0, "each"});
    for (const system_design::CableQuantity& cable : design.cable) {
        const auto family = system_design::FamilyOf(cable.wire);
        const std::string unit = family == system_design::WireFamily::Awg ? "ft" : "m";
        const std::string wire = system_design::WireName(cable.wire);
        lines.push_back({"cable", wire, cable.length, 1, unit});
        const system_design::SpoolSizes sizes = system_design::SpoolSizesOf(family);
        for (const auto& [count, size] :
             {std::pair{cable.spools.large, sizes.large}, {cable.spools.small, sizes.small}})
            if (count > 0)
                lines.push_back(
                    {"spool", wire + ", " + Plain(size) + " " + unit, double(count), 0, "each"});
    }
    return lines;
}

constexpr const char* kBillColumns[] = {"floor", "item", "size", "quantity", "unit"};

// The floor's lines, then the same as the total of all floors: a plan is one floor.
std::vector<std::pair<std::string, BillLine>> BillRows(const SystemFloor& floor,
                                                       const system_design::SystemDesign& design) {
    const std::vector<BillLine> lines = BillLines(floor, design);
    std::vector<std::pair<std::string, BillLine>> rows;
    for (const char* name : {floor.planName.c_str(), "total"})
        for (const BillLine& line : lines)
            rows.push_back({name, line});
    return rows;
}

// libxlsxwriter writes to a file only: a private temporary one, read back whole.
std::variant<QByteArray, std::string>
WorkbookBytes(const std::vector<std::vector<std::string>>& text,
              const std::vector<std::optional<double>>& numbers, std::size_t numberColumn) {
    QTemporaryFile file(QDir::temp().filePath("bill-XXXXXX.xlsx"));
    if (!file.open())
        return "bill.xlsx not made: no temporary file: " + file.errorString().toStdString();
    file.close();
    const QByteArray path = QFile::encodeName(file.fileName());
    lxw_workbook* workbook = workbook_new(path.constData());
    if (!workbook)
        return std::string("bill.xlsx not made: the workbook could not be started");
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "bill");
    for (std::size_t r = 0; r < text.size(); ++r)
        for (std::size_t c = 0; c < text[r].size(); ++c)
            if (c == numberColumn && numbers[r])
                worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), *numbers[r], nullptr);
            else
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), text[r][c].c_str(),
                                       nullptr);
    const lxw_error closed = workbook_close(workbook);
    if (closed != LXW_NO_ERROR)
        return std::string("bill.xlsx not made: ") + lxw_strerror(closed);
    QFile written(file.fileName());
    if (!written.open(QIODevice::ReadOnly))
        return "bill.xlsx not made: " + written.errorString().toStdString();
    const QByteArray bytes = written.readAll();
    if (!bytes.startsWith("PK\x03\x04"))
        return std::string("bill.xlsx not made: the workbook came out unreadable");
    return bytes;
}

} // namespace

const std::vector<SystemOptionInfo>& SystemOptionList() {
    static const std::vector<SystemOptionInfo> options{
        {"line-voltage", "volts", "The speaker line: 70.7 or 100 V (default 70.7).", true},
        {"tap", "watts", "Each speaker's tap: 1/8, 1/4, 1/2, 1 or 2 W (default 1)."},
        {"wire", "size",
         "The cable: 18awg, 16awg, 14awg, 12awg or 0.75mm2, 1mm2, 1.5mm2, 2.5mm2 (default 16awg "
         "in feet, 1.5mm2 in millimetres).",
         true},
        {"drop", "length",
         "From the cable route down to a speaker, in ft or mm as the design (default 5 ft, "
         "1500 mm).",
         true},
        {"space", "kind", "The floor's rooms are open or closed (default open)."},
        {"head-end", "x,y",
         "Where the amplifiers stand, in plan coordinates (default: the plan's HEAD-END insert "
         "or text).",
         true},
        {"zone-size", "count", "The most speakers a zone holds (default 8)."},
        {"channel-watts", "watts", "An amplifier channel's rating (default 60)."},
        {"channels-per-amplifier", "count", "Channels on each amplifier (default 2)."},
    };
    return options;
}

std::optional<double> ParseTap(const std::string& text) {
    std::string v = Squeezed(text);
    if (!v.empty() && v.back() == 'w')
        v.pop_back();
    const std::map<std::string, double> fractions{{"1/8", 0.125}, {"1/4", 0.25}, {"1/2", 0.5}};
    const auto fraction = fractions.find(v);
    const std::optional<double> watts =
        fraction != fractions.end() ? std::optional(fraction->second) : Number(v);
    if (!watts)
        return std::nullopt;
    for (double tap : system_design::kTaps)
        if (*watts == tap)
            return tap;
    return std::nullopt;
}

std::optional<SpaceType> ParseSpace(const std::string& text) {
    const std::string v = Squeezed(text);
    if (v == "open")
        return SpaceType::Open;
    if (v == "closed")
        return SpaceType::Closed;
    return std::nullopt;
}

std::variant<RoomSystem, std::string>
RoomSystemOf(const std::map<std::string, std::string>& columns, SpaceType space) {
    RoomSystem room{space, std::nullopt};
    if (const auto given = columns.find(kSpaceColumn); given != columns.end()) {
        const auto parsed = ParseSpace(given->second);
        if (!parsed)
            return "space \"" + given->second + "\" is not open or closed";
        room.space = *parsed;
    }
    if (const auto tap = columns.find(kTapColumn); tap != columns.end()) {
        room.tapWatts = ParseTap(tap->second);
        if (!room.tapWatts)
            return "tap \"" + tap->second + "\" is not 1/8, 1/4, 1/2, 1 or 2 (W)";
    }
    return room;
}

std::variant<SystemOptions, std::string>
ReadSystemOptions(const std::map<std::string, std::string>& given) {
    SystemOptions o;
    for (const auto& [name, value] : given) {
        const auto bad = [&](const std::string& why) {
            return "--" + name + " \"" + value + "\" " + why + " (see --help)";
        };
        if (name == "line-voltage") {
            if (!(o.lineVoltage = ParseLineVoltage(value)))
                return bad("is not 70.7 or 100 (V)");
        } else if (name == "tap") {
            if (!(o.tapWatts = ParseTap(value)))
                return bad("is not 1/8, 1/4, 1/2, 1 or 2 (W)");
        } else if (name == "wire") {
            if (!(o.wire = ParseWire(value)))
                return bad("is not 18awg, 16awg, 14awg, 12awg, 0.75mm2, 1mm2, 1.5mm2 or 2.5mm2");
        } else if (name == "drop") {
            o.drop = Number(value);
            if (!o.drop || *o.drop < 0)
                return bad("is not a length of 0 or more");
        } else if (name == "space") {
            const auto space = ParseSpace(value);
            if (!space)
                return bad("is not open or closed");
            o.space = *space;
        } else if (name == "head-end") {
            if (!(o.headEnd = ParsePoint(value)))
                return bad("is not x,y in plan coordinates");
        } else if (name == "zone-size") {
            o.zoneSize = Whole(value);
            if (!o.zoneSize || *o.zoneSize < 1)
                return bad("is not a whole number of 1 or more");
        } else if (name == "channel-watts") {
            o.channelWatts = Number(value);
            if (!o.channelWatts || *o.channelWatts <= 0)
                return bad("is not a rating above 0 W");
        } else if (name == "channels-per-amplifier") {
            o.channelsPerAmplifier = Whole(value);
            if (!o.channelsPerAmplifier || *o.channelsPerAmplifier < 1)
                return bad("is not a whole number of 1 or more");
        }
    }
    return o;
}

std::string ConditionsKey(const DesignState& s) {
    switch (s.location) {
    case Location::AboveCeiling:
        return "suspended plenum " + std::to_string(s.plenumDepth.value_or(0)) + " tile " +
               std::to_string(s.ceilingType.value_or(0)) + " height " +
               std::to_string(s.ceilingHeight.value_or(0)) +
               (s.absorption == Absorption::BattsOverTiles ? " batts" : "");
    case Location::OpenCeiling:
        return "open structure " + std::to_string(s.structuralHeight) +
               (s.absorption == Absorption::OnStructure ? " insulated" : "");
    case Location::AccessFloor:
    case Location::None:
        break;
    }
    return "floor";
}

system_design::SystemInputs InputsFor(const SystemOptions& options, Units units,
                                      floorplan::Point headEnd) {
    system_design::SystemInputs inputs = system_design::DefaultInputs(units);
    inputs.lineVoltage = options.lineVoltage.value_or(inputs.lineVoltage);
    inputs.tapWatts = options.tapWatts.value_or(inputs.tapWatts);
    inputs.wire = options.wire.value_or(inputs.wire);
    if (options.drop)
        inputs.drop = *options.drop * kMetresPerDesignUnit(units);
    inputs.mostSpeakersPerZone = options.zoneSize.value_or(inputs.mostSpeakersPerZone);
    inputs.channelWatts = options.channelWatts.value_or(inputs.channelWatts);
    inputs.channelsPerAmplifier =
        options.channelsPerAmplifier.value_or(inputs.channelsPerAmplifier);
    inputs.headEnd = headEnd;
    return inputs;
}

std::vector<std::string> RoomZones(const system_design::SystemDesign& design,
                                   std::size_t roomCount) {
    std::vector<std::vector<std::string>> zones(roomCount);
    for (const system_design::Zone& zone : design.zones)
        for (std::size_t room : zone.rooms)
            zones[room].push_back(std::to_string(zone.number));
    std::vector<std::string> cells;
    for (const auto& numbers : zones)
        cells.push_back(Joined(numbers));
    return cells;
}

std::string ZonesCsv(const SystemFloor& floor, const system_design::SystemDesign& design) {
    std::string csv = "zone,space,rooms,speakers,taps,load W,demand W,channel,amplifier,home run,"
                      "chain,length unit,worst loss dB,status,notes\n";
    const double perUnit = kMetresPerLengthUnit(floor.units);
    for (const system_design::Zone& zone : design.zones) {
        std::vector<std::string> rooms;
        for (std::size_t room : zone.rooms)
            rooms.push_back(floor.rooms[room].name);
        const int amplifier = design.channels[std::size_t(zone.channel) - 1].amplifier;
        std::vector<std::string> cable{"", "", "", "", "no positions: cable not designed"};
        if (floor.positions)
            cable = {Fixed(zone.homeRun / perUnit, 1), Fixed(zone.chain / perUnit, 1),
                     kLengthUnit(floor.units), Fixed(zone.lossDb, 3), Cell(StatusText(zone))};
        std::vector<std::string> cells{
            std::to_string(zone.number), SpaceWord(zone.space),
            Cell(Joined(rooms)),         std::to_string(zone.speakers.size()),
            Cell(TapsText(zone.taps)),   Fixed(zone.load, 2),
            Fixed(zone.demand, 2),       std::to_string(zone.channel),
            std::to_string(amplifier)};
        cells.insert(cells.end(), cable.begin(), cable.end());
        cells.push_back(zone.exceedsChannel
                            ? Cell("demand over the channel's " + Plain(floor.channelWatts) + " W")
                            : "");
        csv += Row(cells);
    }
    return csv;
}

std::string BillCsv(const SystemFloor& floor, const system_design::SystemDesign& design) {
    std::vector<std::string> header(std::begin(kBillColumns), std::end(kBillColumns));
    std::string csv = Row(header);
    for (const auto& [name, line] : BillRows(floor, design))
        csv += Row({Cell(name), line.item, Cell(line.size), Fixed(line.quantity, line.decimals),
                    line.unit});
    return csv;
}

std::variant<QByteArray, std::string> BillXlsx(const SystemFloor& floor,
                                               const system_design::SystemDesign& design) {
    std::vector<std::vector<std::string>> text{
        std::vector<std::string>(std::begin(kBillColumns), std::end(kBillColumns))};
    std::vector<std::optional<double>> numbers{std::nullopt};
    for (const auto& [name, line] : BillRows(floor, design)) {
        text.push_back({name, line.item, line.size, "", line.unit});
        // The workbook holds the quantity the CSV shows, not more digits.
        numbers.push_back(std::stod(Fixed(line.quantity, line.decimals)));
    }
    return WorkbookBytes(text, numbers, 3);
}

std::string CommissioningCsv(const SystemFloor& floor, const system_design::SystemDesign& design) {
    std::string csv = "test point,room,x,y,space,target dBA,tolerance,measured dBA,"
                      "largest band deviation dB,passed\n";
    int number = 0;
    for (const system_design::TestPoint& point : design.testPoints) {
        const system_design::SystemRoom& room = floor.rooms[point.room];
        csv +=
            Row({std::to_string(++number), Cell(room.name), Fixed(point.position.x, 2),
                 Fixed(point.position.y, 2), SpaceWord(room.space),
                 Plain(point.target.low) + "-" + Plain(point.target.high),
                 Cell("within " + Plain(system_design::kOverallToleranceDba) +
                      " dBA, each band within " + Plain(system_design::kBandToleranceDb) + " dB"),
                 "", "", ""});
    }
    return csv;
}

BidFiles ZonesAndBillFiles(const SystemFloor& floor, const system_design::SystemDesign& design) {
    BidFiles bid;
    bid.files = {{"zones", "csv", QByteArray::fromStdString(ZonesCsv(floor, design))},
                 {"bill", "csv", QByteArray::fromStdString(BillCsv(floor, design))}};
    auto workbook = BillXlsx(floor, design);
    if (auto* bytes = std::get_if<QByteArray>(&workbook))
        bid.files.push_back({"bill", "xlsx", std::move(*bytes)});
    else
        bid.workbookError = std::get<std::string>(workbook);
    return bid;
}

std::vector<SheetZone> SheetZones(const SystemFloor& floor,
                                  const system_design::SystemDesign& design) {
    std::vector<SheetZone> zones;
    for (const system_design::Zone& zone : design.zones) {
        SheetZone sheet;
        sheet.number = zone.number;
        for (const system_design::SpeakerRef s : zone.speakers)
            sheet.speakers.push_back(floor.rooms[s.room].speakers[s.index]);
        sheet.route = zone.route;
        sheet.legend = "Z" + std::to_string(zone.number) + "  " +
                       std::to_string(zone.speakers.size()) + " speakers  ch " +
                       std::to_string(zone.channel) + "  " + Fixed(zone.lossDb, 2) + " dB";
        zones.push_back(std::move(sheet));
    }
    return zones;
}

CommissioningInput CommissioningFormOf(const SystemFloor& floor,
                                       const system_design::SystemDesign& design) {
    CommissioningInput form;
    form.planName = floor.planName;
    form.tolerance = "within " + Plain(system_design::kOverallToleranceDba) +
                     " dBA overall, each third-octave band within " +
                     Plain(system_design::kBandToleranceDb) + " dB";
    form.paper = floor.units == Units::Feet ? FormPaper::Letter : FormPaper::A4;
    int number = 0;
    for (const system_design::TestPoint& point : design.testPoints) {
        const system_design::SystemRoom& room = floor.rooms[point.room];
        form.points.push_back({std::to_string(++number), room.name, SpaceWord(room.space),
                               point.position.x, point.position.y,
                               Plain(point.target.low) + "-" + Plain(point.target.high) + " dBA"});
    }
    return form;
}

void AddSystemToPlan(const SystemFloor& floor, const system_design::SystemDesign& design,
                     CadPlan& plan) {
    plan.attributeTags.push_back("ZONE");
    plan.attributeTags.push_back("TAP");
    for (const system_design::Zone& zone : design.zones) {
        for (std::size_t i = 0; i < zone.speakers.size(); ++i) {
            const system_design::SpeakerRef s = zone.speakers[i];
            CadSpeaker& speaker = plan.speakers[floor.firstSpeaker[s.room] + s.index];
            speaker.attributes.push_back(std::to_string(zone.number));
            speaker.attributes.push_back(TapName(zone.taps[i]));
        }
        std::vector<CadPoint> route;
        for (const floorplan::Point& p : zone.route)
            route.push_back({p.x, p.y});
        plan.cables.push_back(route);
    }
    plan.headEnd = CadPoint{floor.headEnd.x, floor.headEnd.y};
}
