// Opening a program for analysis: the file is loaded as the document loads it
// and interpreted as the document interprets it, but the interpretation runs
// on a second thread while the file is still being read.
#pragma once

class CTextBuffer;
class NcInterpreter;

// The same result as buffer.LoadFile(path, EOL_AUTO) followed by
// interpreter.Run(buffer).  On failure the interpreter is left reset and the
// buffer's LastFileError says why.
bool LoadAndInterpret(const char* path, CTextBuffer& buffer, NcInterpreter& interpreter);
