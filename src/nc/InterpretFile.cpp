// The reader's lines, straight into the interpreter.
#include "InterpretFile.h"

#include "LineReader.h"
#include "NcInterpreter.h"
#include "TextTypes.h"

namespace {

class InterpretingSink final : public LineReader::Sink
{
public:
    explicit InterpretingSink(NcInterpreter& interpreter) : m_interpreter(interpreter) {}

    void LineRead(const char* text, size_t length) override
    {
        m_interpreter.InterpretLine(text, int(length), m_line++);
    }

private:
    NcInterpreter& m_interpreter;
    int m_line = 0;
};

}  // namespace

bool InterpretFile(LineReader& reader, NcInterpreter& interpreter)
{
    interpreter.Reset();
    InterpretingSink sink(interpreter);
    if (!reader.Read(EOL_AUTO, sink)) {
        interpreter.Reset();
        return false;
    }
    interpreter.FinishRun();
    return true;
}
