// Interpreting a program straight from its file, without a text buffer:
// each line is interpreted as the reader cuts it and then forgotten, so that
// with a move sink (NcInterpreter::SendMovesTo) a program of any length is
// analysed in the reader's few blocks of memory.  tornel-info works this way.
#pragma once

class LineReader;
class NcInterpreter;

// A whole run of interpreter over the file reader has open, from the file's
// start: the results of loading the file into a text buffer (EOL_AUTO) and
// running the interpreter over it, the lines being cut by the same reader.
// The moves go where the interpreter sends them.  False, with reader.Error()
// saying why, when the file cannot be read; the interpreter is then reset.
bool InterpretFile(LineReader& reader, NcInterpreter& interpreter);
