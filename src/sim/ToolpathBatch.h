// The toolpath as a few GL 1.1 client vertex arrays, so that a program of
// millions of moves draws in one call per run of same-coloured records
// rather than one glBegin/glEnd per record.
//
// The pixels must be those of the per-record drawing, so the batch keeps the
// records' order: the depth test is GL_LESS, and of two segments at the same
// depth on a pixel the first one drawn wins.  A run is a stretch of
// consecutive records with the same colour and stipple; runs are drawn in
// list order.  The line stipple counter restarts at every independent
// GL_LINES segment, so one glDrawArrays of many rapid segments stipples each
// exactly as its own glBegin/glEnd would.
//
// Feed moves that continue where the previous one ended (bit for bit, as
// the interpreter writes them) go into one GL_LINE_STRIP: a strip's
// segments are rasterised exactly as the same segments drawn alone, and it
// needs one vertex per move instead of two, which halves the vertex work
// that the software renderer does on one thread.  Rapids stay GL_LINES,
// because a strip would carry the stipple pattern on from one segment to
// the next.
//
// The vertices are copied out of the move list, so the batch is built once
// per move list and reused by every paint; the view shares it, unchanged,
// with the worker that builds the reduced levels from it.  Simulation mode
// draws a prefix of the list when the records' lines ascend, which the
// interpreter's lists always do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "MoveRecord.h"

class MoveList;

// Colour index of a record: tool mod 10 for a feed move, kRapidColour for a
// rapid one.
constexpr int kRapidColour = 10;
int ToolpathColourIndex(const MoveRecord& record);
// glColor3f of a colour index.
void ApplyToolpathColour(int index);

class ToolpathBatch
{
public:
    void Build(const MoveList& moves);
    // Whether the arrays were built from this list at its present size.
    bool IsBuiltFor(const MoveList& moves) const;

    size_t RecordCount() const { return m_records; }
    bool LinesAscending() const { return m_linesAscending; }
    // Records at the head of moves whose line is at most line; only
    // meaningful when the lines ascend.
    static size_t CountUpToLine(const MoveList& moves, int32_t line);

    // Draws records first up to (not including) last, as many as there
    // are, under the current matrices; returns how many it drew.  Slices
    // drawn one after the other give the pixels of drawing them at once.
    size_t Draw(size_t first, size_t last) const;

    // Calls visit(record, colour, start, end) for every record in list
    // order; start and end point at three floats in the arrays.
    template <class Visit>
    void ForEachSegment(Visit&& visit) const
    {
        for (const Run& run : m_runs) {
            const float* vertex = m_vertices.data() + run.firstVertex * 3;
            const size_t step = run.strip ? 3 : 6;
            for (size_t i = 0; i < run.records; ++i, vertex += step)
                visit(run.firstRecord + i, run.colour, vertex, vertex + 3);
        }
    }

private:
    struct Run
    {
        size_t firstRecord;
        size_t records;
        size_t firstVertex;
        int colour;
        bool strip;  // GL_LINE_STRIP, else GL_LINES
    };

    std::vector<float> m_vertices;  // xyz, run after run
    std::vector<Run> m_runs;
    const MoveList* m_source = nullptr;
    size_t m_records = 0;
    bool m_linesAscending = true;
};
