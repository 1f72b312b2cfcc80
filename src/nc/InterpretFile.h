// Interpreting a program straight from its file, without a text buffer:
// each line is interpreted as the reader cuts it and then forgotten, so that
// with a move sink (NcInterpreter::SendMovesTo) a program of any length is
// analysed in the reader's few blocks of memory.  tornel-info works this way.
#pragma once

#include <cstddef>

class LineReader;
class NcInterpreter;

// The block size to read a file in for InterpretFile: small enough that a
// block is still in the processor's cache when its lines are interpreted.
inline constexpr size_t kInterpretBlock = 256 * 1024;

// A whole run of interpreter over the file reader has open, from the file's
// start: the results of loading the file into a text buffer (EOL_AUTO) and
// running the interpreter over it, the lines being cut by the same reader.
// The moves go where the interpreter sends them.  False, with reader.Error()
// saying why, when the file cannot be read; the interpreter is then reset.
bool InterpretFile(LineReader& reader, NcInterpreter& interpreter);
