// Where an interpreter hands its records when it is not to keep them: a
// program of millions of lines can be analysed, or its moves written out one
// by one, without the memory of the whole move list.
#pragma once

#include "MoveRecord.h"

class MoveSink
{
public:
    // One record, in program order, with the direction of a circular one
    // (ARC_NONE for a straight one).
    virtual void MoveMade(const MoveRecord& record, ArcDirection direction) = 0;

protected:
    ~MoveSink() = default;
};
