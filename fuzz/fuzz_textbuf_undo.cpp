// Edit sequences on a loaded text: the fuzzer chooses the starting text, then
// groups of insertions and deletions at positions of its choosing, with Undo
// and Redo in between.  Nothing may crash, no step may be refused, undoing
// everything gives back the loaded lines byte for byte, redoing everything
// gives the text at the end of the history, and undoing from there back to
// where the sequence stopped gives the text it stopped with.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "CTextBuffer.h"
#include "FuzzScratch.h"

namespace {

std::vector<std::string> Lines(const CTextBuffer& buffer)
{
    std::vector<std::string> lines;
    for (int i = 0; i < buffer.LineCount(); ++i)
        lines.emplace_back(buffer.Line(i));
    return lines;
}

// A position of the text chosen by the fuzzer.
TextPos Position(FuzzedDataProvider& input, const CTextBuffer& buffer)
{
    TextPos pos;
    pos.y = input.ConsumeIntegralInRange<int>(0, buffer.LineCount() - 1);
    pos.x = input.ConsumeIntegralInRange<int>(0, buffer.LineLength(pos.y));
    return pos;
}

void UndoAll(CTextBuffer& buffer)
{
    TextPos point;
    for (int guard = buffer.UndoStepCount() + 1; buffer.CanUndo(); --guard)
        if (guard == 0 || !buffer.Undo(point))
            std::abort();
}

void RedoAll(CTextBuffer& buffer)
{
    TextPos point;
    for (int guard = buffer.UndoStepCount() + 1; buffer.CanRedo(); --guard)
        if (guard == 0 || !buffer.Redo(point))
            std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string start = input.ConsumeRandomLengthString(512);
    const std::string path =
        Scratch().Write("undo.nc", reinterpret_cast<const uint8_t*>(start.data()), start.size());
    CTextBuffer buffer;
    if (!buffer.LoadFile(path.c_str(), EOL_AUTO))
        std::abort();
    buffer.SetUndoLimit(0);  // keep every step: all of them must undo
    const std::vector<std::string> original = Lines(buffer);

    for (int groups = 0; groups < 64 && input.remaining_bytes() > 0; ++groups) {
        switch (input.ConsumeIntegralInRange<int>(0, 3)) {
        case 0: {
            TextPos point;
            if (buffer.CanUndo() && !buffer.Undo(point))
                std::abort();
            break;
        }
        case 1: {
            TextPos point;
            if (buffer.CanRedo() && !buffer.Redo(point))
                std::abort();
            break;
        }
        default: {
            const bool grouped = input.ConsumeBool();
            if (grouped)
                buffer.OpenUndoGroup(input.ConsumeBool());
            const int steps = input.ConsumeIntegralInRange<int>(1, 8);
            for (int i = 0; i < steps; ++i) {
                if (input.ConsumeBool()) {
                    const TextPos at = Position(input, buffer);
                    const std::string text = input.ConsumeRandomLengthString(24);
                    int endLine = 0, endChar = 0;
                    if (!buffer.InsertText(nullptr, at.y, at.x, text, endLine, endChar, ACTION_TYPING))
                        std::abort();
                } else {
                    TextPos from = Position(input, buffer);
                    TextPos to = Position(input, buffer);
                    if (IsBefore(to, from))
                        std::swap(from, to);
                    if (!buffer.DeleteText(nullptr, from.y, from.x, to.y, to.x, ACTION_DELETE))
                        std::abort();
                }
            }
            if (grouped)
                buffer.CloseUndoGroup(nullptr);
        }
        }
    }
    // Where the sequence left the history (an Undo may have stepped back
    // from its end) and the text there.
    const int position = buffer.UndoPos();
    const std::vector<std::string> current = Lines(buffer);
    RedoAll(buffer);
    const std::vector<std::string> end = Lines(buffer);

    UndoAll(buffer);
    if (Lines(buffer) != original)
        std::abort();
    RedoAll(buffer);
    if (Lines(buffer) != end)
        std::abort();
    // Back group by group to where the sequence stopped.
    TextPos point;
    while (buffer.UndoPos() > position)
        if (!buffer.Undo(point))
            std::abort();
    if (buffer.UndoPos() != position || Lines(buffer) != current)
        std::abort();
    return 0;
}
