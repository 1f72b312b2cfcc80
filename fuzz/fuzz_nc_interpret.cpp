// Any bytes as an NC program, opened as the editor opens it: loaded with the
// interpretation on a second thread.  Nothing may crash or trip a sanitizer,
// and the result is the one of loading first and interpreting after.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "CTextBuffer.h"
#include "FuzzScratch.h"
#include "LoadAndInterpret.h"
#include "NcInterpreter.h"

namespace {

bool Same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = Scratch().Write("program.nc", data, size);
    // The interpreters live on from input to input, as a document's does
    // from one reading to the next; each run starts from Reset.
    static NcInterpreter interpreter;
    static NcInterpreter reference;
    CTextBuffer buffer;
    if (!LoadAndInterpret(path.c_str(), buffer, interpreter))
        std::abort();

    // The lines are those LoadFile gives (fuzz_textbuf_load holds LoadFile
    // to the file's bytes), so the interpretation afterwards runs on them.
    reference.Run(buffer);

    if (!Same(interpreter.FeedDistance(), reference.FeedDistance()) ||
        !Same(interpreter.RapidDistance(), reference.RapidDistance()) ||
        !Same(interpreter.MachiningTime(), reference.MachiningTime()))
        std::abort();
    if (interpreter.ToolNumbers() != reference.ToolNumbers())
        std::abort();
    if (interpreter.Moves().size() != reference.Moves().size())
        std::abort();
    for (size_t i = 0; i < reference.Moves().size(); ++i)
        if (!(interpreter.Moves()[i] == reference.Moves()[i]) ||
            interpreter.Moves().Direction(i) != reference.Moves().Direction(i))
            std::abort();
    const NcWarnings& warnings = interpreter.Warnings();
    const NcWarnings& expected = reference.Warnings();
    if (warnings.lines != expected.lines || warnings.firstLine != expected.firstLine || warnings.kinds != expected.kinds)
        std::abort();
    return 0;
}
