// The tool model the simulation draws at the tool position: the parts of
// each shape (cylinders, disks, spheres and the corner torus of the
// quadrics the view draws them with), worked out from a ToolSlot.  Nothing
// here draws; the view walks the parts (SimViewTool.cpp).
//
// The tool axis is +Z, z = 0 being the tool point; every part starts at its
// z along the axis.  The body is drawn with the body texture, the tip parts
// after it with the tip texture.
//
// Slots come from the user, through the tool dialog, so the values are
// made safe before they become geometry: a negative length (or one that is
// not a number) counts as 0 and one beyond kLargestToolLength as that
// length, a corner radius is at most the radius it rounds, and a length
// shorter than the tip it must hold leaves the tip alone (no body drawn
// downwards through it).  Sane slots draw exactly the parts of their shape.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ToolSlot.h"

struct ToolPart
{
    enum Kind : int32_t
    {
        Cylinder,     // gluCylinder: base radius, top radius, height
        Disk,         // gluDisk: inner radius, outer radius
        Sphere,       // gluSphere: radius
        CornerTorus,  // ring radius, tube radius (DrawCornerTorus)
    };

    Kind kind = Cylinder;
    float z = 0.0f;  // where the part starts along the tool axis
    float size[3] = {0.0f, 0.0f, 0.0f};
    int32_t slices = 0;  // cylinders, disks and spheres
    int32_t stacks = 0;  // stacks of a cylinder or sphere, loops of a disk

    bool operator==(const ToolPart&) const = default;
};

struct ToolModel
{
    ToolPart body;              // the body texture
    std::vector<ToolPart> tip;  // the tip texture, in drawing order

    bool operator==(const ToolModel&) const = default;
};

// The largest length a model is drawn with, program units: a kilometre of
// millimetres is no tool, and keeping lengths below it keeps every vertex
// finite whatever the scale.
inline constexpr float kLargestToolLength = 1.0e6f;

// The model of a slot's shape; none for a type outside FL..DR.  A DR slot
// whose point angle is 20 degrees or less (or not a number) is drawn as FL.
std::optional<ToolModel> ToolModelOfSlot(const ToolSlot& slot);

// The marker drawn when the document has no tool slot at all, of size q
// (the ball's radius).
ToolModel DefaultToolModel(float q);
