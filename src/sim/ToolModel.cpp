// The parts of the tool models, from the tool slots.
#include "ToolModel.h"

#include <algorithm>
#include <cmath>

namespace {

// Tessellation of the quadrics: bodies, tapers and balls are smooth along
// the axis too (their texture runs along it), caps and points need one
// stack, disks one loop.
constexpr int32_t kSlices = 30;
constexpr int32_t kStacks = 40;
constexpr int32_t kDiskSlices = 20;

// A length the model can be drawn with: 0 for a negative one or one that is
// not a number, at most kLargestToolLength.
float Length(double value)
{
    if (!(value > 0.0))
        return 0.0f;
    return float(std::min(value, double(kLargestToolLength)));
}

ToolPart Part(ToolPart::Kind kind, float z, float a, float b, float c, int32_t slices, int32_t stacks)
{
    ToolPart part;
    part.kind = kind;
    part.z = z;
    part.size[0] = a;
    part.size[1] = b;
    part.size[2] = c;
    part.slices = slices;
    part.stacks = stacks;
    return part;
}

ToolPart Cylinder(float z, float base, float top, float height, int32_t stacks = kStacks)
{
    return Part(ToolPart::Cylinder, z, base, top, height, kSlices, stacks);
}

// A zero-height cylinder from the axis out: fills a circle of radius r.
ToolPart FlatCap(float z, float r)
{
    return Cylinder(z, 0.0f, r, 0.0f, 1);
}

ToolPart Disk(float z, float outer)
{
    return Part(ToolPart::Disk, z, 0.0f, outer, 0.0f, kDiskSlices, 1);
}

ToolPart Sphere(float z, float r)
{
    return Part(ToolPart::Sphere, z, r, 0.0f, 0.0f, kSlices, kStacks);
}

ToolPart CornerTorus(float z, float ring, float tube)
{
    return Part(ToolPart::CornerTorus, z, ring, tube, 0.0f, 0, 0);
}

// The height of the point of a drill of radius r whose point angle is a
// degrees (20 < a): the cone's half angle is a / 2.  A point of 180 degrees
// or more is flat.
float DrillPointHeight(float r, float a)
{
    if (!(a < 180.0f))
        return 0.0f;
    const double pi = 3.14159265358979323846;
    return float(r / std::tan(a * pi / 360.0));
}

ToolModel Flat(float r, float L)
{
    return {Cylinder(0.0f, r, r, L), {FlatCap(0.0f, r), FlatCap(L, r)}};
}

ToolModel Bull(float r, float R, float L)
{
    R = std::min(R, r);
    return {Cylinder(R, r, r, L), {CornerTorus(R, r - R, R), Disk(0.0f, r - R), Disk(R + L, r)}};
}

ToolModel Ball(float r, float L)
{
    return {Cylinder(r, r, r, L), {Sphere(r, r), FlatCap(r + L, r)}};
}

// A taper of height F from the tip diameter up to the body, its corner
// rounded.  Without a tip diameter or a taper the corner is the body's, as
// for BU.
ToolModel Taper(float r, float tipDiameter, float R, float F, float L)
{
    const float t = tipDiameter / 2.0f;
    const float cornered = t > 0.0f && F > 0.0f ? t : r;
    R = std::min(R, cornered);
    return {Cylinder(F + R, r, r, std::max(L - F, 0.0f)),
            {Cylinder(R, t, r, F), CornerTorus(R, cornered - R, R), Disk(2.0f * R, t), Disk(std::max(L, F) + R, r)}};
}

ToolModel Drill(float r, float h, float L)
{
    return {Cylinder(h, r, r, std::max(L - h, 0.0f)), {Cylinder(0.0f, 0.0f, r, h, 1), Disk(std::max(L, h), r)}};
}

}  // namespace

std::optional<ToolModel> ToolModelOfSlot(const ToolSlot& slot)
{
    const float r = Length(slot.D) / 2.0f;
    const float L = Length(slot.L);
    switch (slot.type) {
    case ToolType::FL:
        return Flat(r, L);
    case ToolType::BU:
        return Bull(r, Length(slot.R), L);
    case ToolType::SP:
        return Ball(r, L);
    case ToolType::CO:
        return Taper(r, Length(slot.TD), Length(slot.R), Length(slot.F), L);
    case ToolType::DR:
        if (slot.A > 20.0f)
            return Drill(r, DrillPointHeight(r, slot.A), L);
        return Flat(r, L);
    }
    return std::nullopt;
}

ToolModel DefaultToolModel(float q)
{
    q = Length(q);
    return {Cylinder(1.2f * q, q, q, 10.0f * q), {Sphere(1.2f * q, q), FlatCap(11.2f * q, q)}};
}
