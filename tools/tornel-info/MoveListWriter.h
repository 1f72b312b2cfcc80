// Writes the records of an interpretation to a stream as the interpreter
// makes them, as the elements of a JSON array ("[...], [...], ..."), so that
// the move list of a program of any length passes through a small buffer.
#pragma once

#include <cstdio>
#include <string>

#include "MoveSink.h"

class MoveListWriter final : public MoveSink
{
public:
    explicit MoveListWriter(std::FILE* out);

    void MoveMade(const MoveRecord& record, ArcDirection direction) override;

    // Writes what is still buffered; false when a write failed, now or
    // before.
    bool Flush();

private:
    static constexpr size_t kFlushAt = 64 * 1024;

    std::FILE* m_out;
    std::string m_pending;
    bool m_first = true;
    bool m_ok = true;
};
