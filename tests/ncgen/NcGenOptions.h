// Generator options in one expression, for the ncgen tests.
#pragma once

#include <cstdint>

#include "NcGen.h"

inline NcGenOptions Options(uint64_t lines, uint64_t bytes, int eol = NCGEN_EOL_DOS, uint64_t seed = 1)
{
    NcGenOptions options;
    options.lines = lines;
    options.bytes = bytes;
    options.eol = eol;
    options.seed = seed;
    return options;
}
