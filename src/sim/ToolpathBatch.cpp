// Building and drawing the toolpath's vertex arrays, and the toolpath
// colours shared with the per-record drawing.
#include "ToolpathBatch.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstring>

#include "MoveList.h"
#include "RecordPolyline.h"

namespace {

// Feed moves by tool number mod 10, then the rapid red.
constexpr float kToolpathColours[11][3] = {
    {1.0f, 1.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {1.0f, 0.7f, 1.0f}, {0.0f, 1.0f, 1.0f},
    {0.7f, 0.7f, 0.0f}, {1.0f, 0.6f, 0.6f}, {0.0f, 0.5f, 1.0f}, {0.4f, 0.8f, 0.8f},
    {1.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 1.0f}, {1.0f, 0.0f, 0.0f},
};

}  // namespace

int ToolpathColourIndex(const MoveRecord& record)
{
    if (record.rapid != 0)
        return kRapidColour;
    // As unsigned, so that a negative T number still lands in the table.
    return static_cast<int>(static_cast<uint32_t>(record.tool) % 10u);
}

void ApplyToolpathColour(int index)
{
    glColor3f(kToolpathColours[index][0], kToolpathColours[index][1], kToolpathColours[index][2]);
}

void ToolpathBatch::Build(const MoveList& moves, double arcTolerance)
{
    m_vertices.clear();
    m_runs.clear();
    m_recordEnds.clear();
    // Two vertices a record is the most a straight one needs (a rapid, or
    // the first of a strip), and more than arcs add to a real program's
    // strips; the pages never written are never touched.
    m_vertices.reserve(moves.size() * 6 + 1024);
    m_recordEnds.reserve(moves.size());
    m_linesAscending = true;
    m_segments = 0;
    int32_t previousLine = INT32_MIN;
    const MoveRecord* previous = nullptr;
    float vertex[3];
    // Three push_backs, which inline, where a range insert costs a call a
    // vertex: half the build time of a million records.
    const auto addVertex = [this](const float* v) {
        m_vertices.push_back(v[0]);
        m_vertices.push_back(v[1]);
        m_vertices.push_back(v[2]);
    };
    for (size_t index = 0; index < moves.size(); ++index) {
        const MoveRecord& record = moves[index];
        const RecordPolyline polyline(record, moves.Direction(index), arcTolerance);
        const size_t segments = polyline.SegmentCount();
        const int colour = ToolpathColourIndex(record);
        const bool rapid = colour == kRapidColour;
        Run* run = m_runs.empty() || m_runs.back().colour != colour ? nullptr : &m_runs.back();
        if (run && !rapid) {
            // Bit for bit: the strip repeats no vertex, so the segment must
            // start on exactly the previous end.
            const bool continues = std::memcmp(&previous->endX, &record.startX, 3 * sizeof(float)) == 0;
            if (!continues)
                run = nullptr;
        }
        if (!run) {
            m_runs.push_back({index, 0, m_vertices.size() / 3, colour, !rapid});
            run = &m_runs.back();
        }
        // A strip has the start only where it begins; GL_LINES pairs repeat
        // every vertex between two segments.
        if (rapid || run->records == 0) {
            polyline.Vertex(0, vertex);
            addVertex(vertex);
        }
        for (size_t i = 1; i <= segments; ++i) {
            polyline.Vertex(i, vertex);
            addVertex(vertex);
            if (rapid && i < segments)
                addVertex(vertex);
        }
        m_recordEnds.push_back(uint32_t(m_vertices.size() / 3));
        m_segments += segments;
        ++run->records;
        if (record.line < previousLine)
            m_linesAscending = false;
        previousLine = record.line;
        previous = &record;
    }
    m_source = &moves;
    m_records = moves.size();
}

bool ToolpathBatch::IsBuiltFor(const MoveList& moves) const
{
    return m_source == &moves && m_records == moves.size();
}

size_t ToolpathBatch::CountUpToLine(const MoveList& moves, int32_t line)
{
    size_t low = 0, high = moves.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (moves[middle].line <= line)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

size_t ToolpathBatch::Draw(size_t first, size_t last) const
{
    last = std::min(last, m_records);
    if (first >= last)
        return 0;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, m_vertices.data());
    // The run that holds first, then on in order.  A run cut at either end
    // draws the same pixels as whole: strip segments are rasterised as if
    // alone, and the stipple restarts at every rapid.
    auto run = std::upper_bound(m_runs.begin(), m_runs.end(), first,
                                [](size_t record, const Run& r) { return record < r.firstRecord; });
    for (--run; run != m_runs.end() && run->firstRecord < last; ++run) {
        const size_t from = std::max(first, run->firstRecord);
        const size_t to = std::min(last, run->firstRecord + run->records);
        const size_t begin = FirstVertex(*run, from), end = m_recordEnds[to - 1];
        ApplyToolpathColour(run->colour);
        if (run->strip) {
            glDrawArrays(GL_LINE_STRIP, GLint(begin), GLsizei(end - begin));
        } else {
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, 0x1111);
            glDrawArrays(GL_LINES, GLint(begin), GLsizei(end - begin));
            glDisable(GL_LINE_STIPPLE);
        }
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    return last - first;
}
