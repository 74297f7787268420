#include "core/calculate.h"

#include "core/compute_rows.h"
#include "core/number_text.h"
#include "core/sentences.h"
#include "core/unit_pair.h"

#include <optional>
#include <utility>

const char* const kExchangedMessage =
    "The room length and width have been exchanged for calculation purposes.";
const char* const kSmallRoomTitle = "Recommendation";
const char* const kSmallRoomMessage =
    "Rooms this small are bad candidates for sound masking if it there is more than one person "
    "in the office.\nSpeech privacy between occupants is very difficult to achieve.\nIf that is "
    "the case, it is recommended that masking not be used.";
const char* const kPressCalculatePrompt = "Press CALCULATE to get design.";

namespace {

constexpr float kPictureWidthTwips = 4000;

std::string RowsLine(const char* lead, const RowLayout& l, const std::string& unit) {
    if (l.rows <= 1)
        return std::string(lead) + " There is" + SignedText(std::int64_t{l.rows}) + " row" +
               SignedText(l.edge) + unit + " from each wall.";
    return std::string(lead) + " There are" + SignedText(std::int64_t{l.rows}) + " rows" +
           SignedText(std::int64_t{l.spacing}) + unit + " apart. Edges are" + SignedText(l.edge) +
           unit + " from walls.";
}

} // namespace

bool OrientRoom(DesignState& s) {
    if (s.width <= s.length)
        return false;
    std::swap(s.length, s.width);
    return true;
}

bool ComputeDesign(DesignState& s) {
    const std::optional<std::int32_t> nominal = NominalSpacing(s);
    if (!nominal)
        return false;
    const std::optional<RowLayout> length = ComputeRows(*nominal, s.length, s.units.value());
    const std::optional<RowLayout> width = ComputeRows(*nominal, s.width, s.units.value());
    if (!length || !width)
        return false;
    s.nominalSpacing = *nominal;
    s.alongLength = *length;
    s.alongWidth = *width;
    return true;
}

std::int64_t SpeakerCount(const DesignState& s) {
    return std::int64_t{s.alongLength.rows} * std::int64_t{s.alongWidth.rows};
}

double RowPosition(const RowLayout& layout, std::int64_t i) {
    return static_cast<double>(layout.edge) + static_cast<double>(i * layout.spacing);
}

std::array<std::string, 4> ResultLines(const DesignState& s) {
    const std::string unit = s.units == Units::Feet ? " ft." : " mm.";
    std::array<std::string, 4> lines;
    lines[0] = RowsLine("Length:", s.alongLength, unit);
    // The plural width line begins with a blank; the singular one does not.
    lines[1] = RowsLine(s.alongWidth.rows <= 1 ? "Width:" : " Width:", s.alongWidth, unit);
    const std::int64_t n = SpeakerCount(s);
    lines[2] = n <= 1 ? "There is" + SignedText(n) + " masking speaker."
                      : "There are" + SignedText(n) + " masking speakers.";
    if (n > 0)
        lines[3] = WiringSentence(s.units.value(), n);
    return lines;
}

float RoomPictureHeight(std::int32_t leng, std::int32_t wid) {
    if (leng <= 0)
        return 0;
    return static_cast<float>(static_cast<double>(wid) / leng * kPictureWidthTwips);
}

bool IsSmallRoom(const DesignState& s) {
    // 225 square feet, and the same area in square millimetres (304.8 mm to the foot).
    constexpr UnitPair<std::int64_t> kSmallRoomArea{225, 20903184};
    if (s.width == 0)
        return false;
    const float ratio = static_cast<float>(static_cast<double>(s.length) / s.width);
    const std::int64_t area = std::int64_t{s.length} * std::int64_t{s.width};
    return ratio < 2.0f && area <= kSmallRoomArea(s.units.value());
}
