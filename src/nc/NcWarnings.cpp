// The names of the warning kinds and the counting of warned lines.
#include "NcWarnings.h"

#include <bit>
#include <iterator>

namespace {

// In the order of NcWarningKind.  Scripts read these names, so they never
// change; a new kind gets a new name.
constexpr std::string_view kKindNames[] = {
    "lowercase", "spaced", "plus", "parameter", "expression", "dwell", "plane", "inch", "machine_position",
    "compensation", "rotation", "canned_cycle", "subprogram", "o_word", "radius_too_small", "end_off_circle",
    "no_centre",
};
static_assert(std::size(kKindNames) == WARNING_KIND_COUNT);

}  // namespace

std::string_view NcWarningKindName(NcWarningKind kind)
{
    return kind < WARNING_KIND_COUNT ? kKindNames[kind] : std::string_view();
}

void NcWarnings::AddLine(int line, NcWarningMask mask)
{
    if (lines == 0)
        firstLine = line;
    ++lines;
    for (; mask != 0; mask &= mask - 1)
        ++kinds[std::countr_zero(mask)];
}
