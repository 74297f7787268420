// Fuzzes reading a floor plan and choosing its rooms: whatever the bytes, the reader gives a plan
// or a message, never a crash, a hang or a huge allocation, and every string it gives is UTF-8.
#include "floorplan/plan_reader.h"
#include "floorplan/rooms.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool IsUtf8(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const size_t length = lead < 0x80    ? 1
                              : lead >= 0xF0 ? 4
                              : lead >= 0xE0 ? 3
                              : lead >= 0xC2 ? 2
                                             : 0;
        if (length == 0 || at + length > text.size()) {
            return false;
        }
        for (size_t i = 1; i < length; ++i) {
            if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) {
                return false;
            }
        }
        at += length;
    }
    return true;
}

void Require(bool property) {
    if (!property) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto read =
        floorplan::ReadPlan(std::string_view(reinterpret_cast<const char*>(data), size));
    if (const auto* plan = std::get_if<floorplan::Plan>(&read)) {
        for (const floorplan::PlanText& text : plan->texts) {
            Require(IsUtf8(text.text) && IsUtf8(text.layer));
        }
        const floorplan::FloorRooms found = floorplan::FindRooms(*plan, {}, {});
        for (const floorplan::PlanRoom& room : found.rooms) {
            Require(IsUtf8(room.name) && room.corners.size() >= 3);
        }
    } else {
        Require(!std::get<floorplan::PlanError>(read).message.empty());
    }
    return 0;
}
