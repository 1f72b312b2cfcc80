// One tool definition: the element of the document's tool list.
//
// The interpreter creates one slot per distinct T number with only the number
// filled in; the tool configuration dialog fills in the rest and the
// simulation draws the tool model from it.  The layout is 16 words of 32 bits;
// TD is a double and so takes words 6 and 7, which keeps it naturally aligned
// without padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

enum class ToolType : int32_t
{
    FL = 0,  // flat-ended cylinder
    BU = 1,  // cylinder with a rounded corner of radius R
    SP = 2,  // ball-ended cylinder
    CO = 3,  // taper from TD up to D with corner radius R at the tip
    DR = 4,  // drill with a conical point of angle A
};

struct ToolSlot
{
    int32_t number = 0;    // T number
    char name[12] = {};    // NUL-terminated, at most 10 characters
    ToolType type = ToolType::FL;
    float SD = 0.0f;       // holder: diameter of its wide upper part
    double TD = 0.0;       // tip diameter of the CO shape
    float R = 0.0f;        // corner radius (BU, CO)
    float L = 0.0f;        // overall length from the tool point
    float F = 0.0f;        // flute length from the tool point; taper height for CO
    float D = 0.0f;        // cutter diameter
    float CL = 0.0f;       // holder: length of its narrow lower part
    float CD = 0.0f;       // holder: diameter of its narrow lower part
    float A = 0.0f;        // degrees: point angle of DR, taper angle of CO
    int32_t reserved = 0;
};

static_assert(sizeof(ToolSlot) == 64, "ToolSlot must be 16 words of 32 bits");
static_assert(std::is_standard_layout_v<ToolSlot>);
static_assert(std::is_trivially_copyable_v<ToolSlot>);
static_assert(offsetof(ToolSlot, type) == 16 && offsetof(ToolSlot, TD) == 24 && offsetof(ToolSlot, A) == 56);
