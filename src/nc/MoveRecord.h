// One toolpath record: what one program line did to the machine state.
//
// The record is handed as it is to the simulation (drawing, playback, picking)
// and to tornel-info's move list, so its layout is fixed: fourteen 32-bit
// fields, no padding.  Y values are stored negated because the simulation
// draws the stored values as they are.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

struct MoveRecord
{
    int32_t line = 0;   // zero-based index of the line in the text buffer
    float startX = 0.0f;
    float startY = 0.0f;
    float startZ = 0.0f;
    float endX = 0.0f;
    float endY = 0.0f;
    float endZ = 0.0f;
    float centreX = 0.0f;   // arc centre, equal to the start unless I, J or K moved it
    float centreY = 0.0f;
    float centreZ = 0.0f;
    int32_t kind = 0;   // 0 straight, 1 circular (its direction is kept beside, in MoveList)
    float feed = 0.0f;
    int32_t tool = 0;   // T number in force when the line began
    int32_t rapid = 0;  // 1 rapid traverse, 0 feed move
};

// Which way a circular record turns, seen from +Z in the program's own frame
// (Y as programmed, not as stored): G02 clockwise, G03 counter-clockwise.
enum ArcDirection : uint8_t
{
    ARC_NONE = 0,  // a straight record
    ARC_CLOCKWISE = 1,
    ARC_COUNTERCLOCKWISE = 2,
};

static_assert(sizeof(MoveRecord) == 56, "MoveRecord must be 14 words without padding");
static_assert(std::is_standard_layout_v<MoveRecord>);
static_assert(std::is_trivially_copyable_v<MoveRecord>);

// Records compare as raw bit patterns, not as numbers: -0 differs from +0 (a
// programmed Y0 is a change from the reset position), and a NaN equals itself.
// Whether a line produced a record at all is decided by exactly this test.
inline bool operator==(const MoveRecord& a, const MoveRecord& b)
{
    return std::memcmp(&a, &b, sizeof(MoveRecord)) == 0;
}
