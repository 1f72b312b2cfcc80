// Opening a program: the file is loaded into a text buffer and interpreted,
// the interpretation running on a second thread while the file is still being
// read.  The document and the headless analyser both open programs this way.
#pragma once

#include <cstdint>
#include <functional>

class CTextBuffer;
class NcInterpreter;

// Told, on the loading thread after every block read, how many bytes of the
// file have been read; returning false stops the load.
using LoadProgress = std::function<bool(uint64_t bytesRead, uint64_t fileSize)>;

// The same result as buffer.LoadFile(path, EOL_AUTO) followed by
// interpreter.Run(buffer).  On failure, and when progress stopped the load,
// the interpreter is left reset, the buffer as LoadFile leaves it after a
// failure, and the buffer's LastFileError says why.
bool LoadAndInterpret(const char* path, CTextBuffer& buffer, NcInterpreter& interpreter,
                      const LoadProgress& progress = {});
