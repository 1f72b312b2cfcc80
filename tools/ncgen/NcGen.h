// ncgen: writes realistic, deterministic milling programs for benchmarks,
// tests and demonstrations.  The same options give the same bytes on every
// run and every machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

// Line-end styles, numbered as the text buffer numbers them.
enum : int
{
    NCGEN_EOL_DOS = 0,   // CR LF
    NCGEN_EOL_UNIX = 1,  // LF CR (two bytes)
    NCGEN_EOL_MAC = 2,   // LF alone
};

struct NcGenOptions
{
    uint64_t lines = 0;  // exact number of lines; wins over bytes when both are given
    uint64_t bytes = 0;  // or: stop at the first line end at or past this many bytes
    int eol = NCGEN_EOL_DOS;
    uint64_t seed = 1;
};

// Receives the program in large chunks; returns false to report a write error.
using NcSink = std::function<bool(const char* data, std::size_t size)>;

// Writes a program that ends with an M30 line and a final line end.  With
// neither lines nor bytes given nothing is written.  Returns false on a write
// error (the sink said so) or when eol is not one of the three styles.
bool GenerateNc(const NcGenOptions& options, const NcSink& sink);

// The same through a stdio stream, flushed before returning so that a full
// disk is reported here and not only at fclose.
bool GenerateNc(const NcGenOptions& options, std::FILE* out);

// The whole program as one string.
std::string GenerateNcString(const NcGenOptions& options);

// A program of about bytes bytes as one single line, the way some posts and
// DNC captures deliver it: the line ends become spaces, with a tab in place
// of every 500th; a comment after ";" is put in parentheses, since it would
// otherwise run to the end of the line.  The line is cut at the first line
// end of the program at or past bytes, so it is at least that long unless
// the program is shorter; it holds no CR, no LF and no ";".
std::string GenerateNcLine(uint64_t bytes, uint64_t seed = 1);
