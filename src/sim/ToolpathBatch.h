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
// A circular record is its RecordPolyline: several segments, in a strip
// like any feed move, and as GL_LINES pairs in a rapid run, where each
// segment is stippled as a straight rapid is.  A record's vertices end
// where the next record's start, so a record maps to a range of vertices
// (m_recordEnds), and slices and prefixes of records are still one draw
// call per run.
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
    // Arcs stray at most arcTolerance (program units) from the true ones.
    void Build(const MoveList& moves, double arcTolerance);
    // Whether the arrays were built from this list at its present size.
    bool IsBuiltFor(const MoveList& moves) const;

    size_t RecordCount() const { return m_records; }
    // Segments of every record: one for a straight record, more for an arc.
    size_t SegmentCount() const { return m_segments; }
    bool LinesAscending() const { return m_linesAscending; }
    // Records at the head of moves whose line is at most line; only
    // meaningful when the lines ascend.
    static size_t CountUpToLine(const MoveList& moves, int32_t line);

    // Draws records first up to (not including) last, as many as there
    // are, under the current matrices; returns how many it drew.  Slices
    // drawn one after the other give the pixels of drawing them at once.
    size_t Draw(size_t first, size_t last) const;

    // Calls visit(record, colour, start, end) for every segment in list
    // order, an arc's segments one after the other; start and end point at
    // three floats in the arrays.
    template <class Visit>
    void ForEachSegment(Visit&& visit) const
    {
        for (const Run& run : m_runs) {
            const size_t step = run.strip ? 1 : 2;
            for (size_t record = run.firstRecord; record < run.firstRecord + run.records; ++record) {
                const size_t last = m_recordEnds[record] - 1;
                for (size_t v = FirstVertex(run, record); v < last; v += step)
                    visit(record, run.colour, &m_vertices[v * 3], &m_vertices[v * 3 + 3]);
            }
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

    // The vertex a record's drawing starts at: in a strip the end of the
    // record before, but for the run's first record.
    size_t FirstVertex(const Run& run, size_t record) const
    {
        if (record == run.firstRecord)
            return run.firstVertex;
        return m_recordEnds[record - 1] - (run.strip ? 1 : 0);
    }

    std::vector<float> m_vertices;  // xyz, run after run
    std::vector<Run> m_runs;
    // One past each record's last vertex.  32 bits hold the vertices of
    // any list that fits in memory (2^32 vertices take 48 GB).
    std::vector<uint32_t> m_recordEnds;
    const MoveList* m_source = nullptr;
    size_t m_records = 0;
    size_t m_segments = 0;
    bool m_linesAscending = true;
};
