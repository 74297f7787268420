// The Calculate command without its window: orienting the room, computing both dimensions,
// the four result lines, the size of the room picture, and the small-room test made when the
// button receives the focus. The window runs these steps and shows what they return.
#pragma once

#include "core/design_state.h"

#include <array>
#include <cstdint>
#include <string>

extern const char* const kExchangedMessage;
extern const char* const kSmallRoomTitle;
extern const char* const kSmallRoomMessage;
extern const char* const kPressCalculatePrompt;

// Puts the longer side into length. Returns true when the two were exchanged.
bool OrientRoom(DesignState& s);

// Computes the rows along the length and the width and stores them with the nominal spacing.
// Returns false, leaving the results as they were, when the conditions give no nominal spacing
// or a dimension cannot be laid out.
bool ComputeDesign(DesignState& s);

// Rows along the length times rows along the width, never wrapped.
std::int64_t SpeakerCount(const DesignState& s);

// Distance from the wall of row i (counted from 0) of a layout: the edge distance, then the
// spacing for each row before it. The product is 64-bit so no design can wrap it.
double RowPosition(const RowLayout& layout, std::int64_t i);

// Visits the speaker grid of the last ComputeDesign in the one order every drawing of it uses:
// each row along the length (its x), each row along the width (its y), then each speaker where
// two rows cross (x, y), row by row along the length.
template <typename LengthRow, typename WidthRow, typename Speaker>
void VisitGrid(const DesignState& s, LengthRow lengthRow, WidthRow widthRow, Speaker speaker) {
    for (std::int64_t i = 0; i < s.alongLength.rows; ++i)
        lengthRow(RowPosition(s.alongLength, i));
    for (std::int64_t j = 0; j < s.alongWidth.rows; ++j)
        widthRow(RowPosition(s.alongWidth, j));
    for (std::int64_t i = 0; i < s.alongLength.rows; ++i)
        for (std::int64_t j = 0; j < s.alongWidth.rows; ++j)
            speaker(RowPosition(s.alongLength, i), RowPosition(s.alongWidth, j));
}

// The four result lines for the layouts of the last ComputeDesign.
std::array<std::string, 4> ResultLines(const DesignState& s);

// Height in twips of the room picture, which is always 4000 twips wide.
float RoomPictureHeight(std::int32_t leng, std::int32_t wid);

// A room too small for masking: shorter than twice its width and at most 225 sq ft (the same
// area in square millimetres). A zero width is never small.
bool IsSmallRoom(const DesignState& s);
