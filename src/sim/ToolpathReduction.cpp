// Building and drawing the reduced levels of the toolpath.
#include "ToolpathReduction.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Every how many segments the build looks at the cancel flag: about ten
// milliseconds of work.
constexpr size_t kCancelCheckInterval = 1 << 16;

bool Finite(const float* v)
{
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

double Length(const float* a, const float* b)
{
    const double dx = double(b[0]) - a[0], dy = double(b[1]) - a[1], dz = double(b[2]) - a[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The cells of one level as one bit each, set once a kept segment has
// passed through.  Cells are cubic, counted from the lower corner of the
// toolpath's box, in double so that no float coordinate overflows.
class CellGrid
{
public:
    CellGrid(const float* lower, const float* upper, double cell, uint32_t resolution) : m_cell(cell)
    {
        size_t cells = 1;
        for (int axis = 0; axis < 3; ++axis) {
            m_lower[axis] = lower[axis];
            const double extent = double(upper[axis]) - lower[axis];
            m_size[axis] = std::clamp<int64_t>(int64_t(std::ceil(extent / cell)), 1, resolution);
            cells *= size_t(m_size[axis]);
        }
        m_bits.assign(cells / 64 + 1, 0);
    }

    // Marks every cell the segment from a to b passes through (a 3-D
    // digital differential analyser: from cell to cell across whichever
    // cell face the line meets first); true when one of them was not
    // marked yet.  A segment with a coordinate that is not finite marks
    // nothing.
    bool Mark(const float* a, const float* b)
    {
        if (!Finite(a) || !Finite(b))
            return false;
        int64_t at[3], end[3], step[3];
        double next[3], delta[3];
        int64_t remaining = 0;
        for (int axis = 0; axis < 3; ++axis) {
            const double p = (double(a[axis]) - m_lower[axis]) / m_cell;
            const double q = (double(b[axis]) - m_lower[axis]) / m_cell;
            at[axis] = Clamp(p, axis);
            end[axis] = Clamp(q, axis);
            step[axis] = end[axis] > at[axis] ? 1 : -1;
            remaining += std::abs(end[axis] - at[axis]);
            // In units of the segment (0 at a, 1 at b): where the line
            // crosses the next cell face along this axis, and how far apart
            // those faces are.
            const double d = q - p;
            const double inside = p - std::floor(p);
            delta[axis] = d != 0.0 ? 1.0 / std::abs(d) : std::numeric_limits<double>::infinity();
            next[axis] = d > 0.0 ? (1.0 - inside) * delta[axis] : d < 0.0 ? inside * delta[axis] : delta[axis];
        }
        bool fresh = Set(at);
        // Only axes that still have cells to go can step, so the walk ends
        // in b's cell whatever rounding did to the crossings.
        while (remaining-- > 0) {
            int axis = -1;
            for (int k = 0; k < 3; ++k)
                if (at[k] != end[k] && (axis < 0 || next[k] < next[axis]))
                    axis = k;
            at[axis] += step[axis];
            next[axis] += delta[axis];
            fresh = Set(at) || fresh;
        }
        return fresh;
    }

private:
    int64_t Clamp(double p, int axis) const
    {
        return std::clamp<int64_t>(int64_t(std::floor(std::clamp(p, 0.0, double(m_size[axis])))), 0,
                                   m_size[axis] - 1);
    }

    bool Set(const int64_t* at)
    {
        const size_t index = size_t((at[2] * m_size[1] + at[1]) * m_size[0] + at[0]);
        uint64_t& word = m_bits[index / 64];
        const uint64_t bit = uint64_t(1) << (index % 64);
        const bool fresh = (word & bit) == 0;
        word |= bit;
        return fresh;
    }

    double m_lower[3];
    double m_cell;
    int64_t m_size[3];
    std::vector<uint64_t> m_bits;
};

}  // namespace

// Keeps the segments that reach a new cell, in record order, and lays them
// out as a level.
class ReductionBuilder
{
public:
    using Level = ToolpathReduction::Level;
    static constexpr int kColours = ToolpathReduction::kColours;

    struct Kept
    {
        uint32_t record;
        int colour;
        float ends[6];
    };

    ReductionBuilder(const float* lower, const float* upper, double cell, uint32_t resolution)
        : m_grid(lower, upper, cell, resolution), m_cell(cell), m_resolution(resolution)
    {
    }

    void Offer(size_t record, int colour, const float* start, const float* end)
    {
        if (m_grid.Mark(start, end))
            m_kept.push_back({uint32_t(record), colour, {start[0], start[1], start[2], end[0], end[1], end[2]}});
    }

    // What a coarser level is made from.
    std::vector<Kept> TakeKept() { return std::move(m_kept); }

    Level Finish() const
    {
        Level level;
        level.resolution = m_resolution;
        level.cell = m_cell;
        std::array<size_t, kColours> counts{};
        for (const Kept& kept : m_kept)
            ++counts[kept.colour];
        size_t total = 0;
        for (int c = 0; c < kColours; ++c) {
            level.colourStart[c] = total;
            total += counts[c];
        }
        level.colourStart[kColours] = total;
        level.vertices.resize(total * 6);
        level.records.resize(total);
        std::array<size_t, kColours> fill;
        std::copy_n(level.colourStart.begin(), kColours, fill.begin());
        for (const Kept& kept : m_kept) {
            const size_t s = fill[kept.colour]++;
            level.records[s] = kept.record;
            std::copy_n(kept.ends, 6, &level.vertices[s * 6]);
            (kept.colour == kRapidColour ? level.lengths.rapid : level.lengths.feed) +=
                Length(kept.ends, kept.ends + 3);
        }
        return level;
    }

private:
    CellGrid m_grid;
    double m_cell;
    uint32_t m_resolution;
    std::vector<Kept> m_kept;
};

std::unique_ptr<ToolpathReduction> ToolpathReduction::Build(const ToolpathBatch& batch,
                                                            const std::atomic<bool>* cancel)
{
    const auto cancelled = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };
    auto reduction = std::make_unique<ToolpathReduction>();
    reduction->m_records = batch.RecordCount();
    reduction->m_exactSegments = batch.SegmentCount();
    // The box of every finite vertex, rapids and start points included:
    // every segment needs its cells.  The exact lengths come with it.
    std::fill_n(reduction->m_lower, 3, std::numeric_limits<float>::infinity());
    std::fill_n(reduction->m_upper, 3, -std::numeric_limits<float>::infinity());
    Lengths exact;
    batch.ForEachSegment([&](size_t, int colour, const float* start, const float* end) {
        if (!Finite(start) || !Finite(end))
            return;
        for (const float* v : {start, end})
            for (int axis = 0; axis < 3; ++axis) {
                reduction->m_lower[axis] = std::min(reduction->m_lower[axis], v[axis]);
                reduction->m_upper[axis] = std::max(reduction->m_upper[axis], v[axis]);
            }
        (colour == kRapidColour ? exact.rapid : exact.feed) += Length(start, end);
    });
    reduction->m_exactLengths = exact;
    const float* lower = reduction->m_lower;
    const float* upper = reduction->m_upper;
    double extent = 0.0;
    for (int axis = 0; axis < 3; ++axis)
        extent = std::max(extent, double(upper[axis]) - lower[axis]);
    // Nothing finite, or a single point: one cell of any size holds it.
    uint32_t resolution = kFinestResolution;
    double cell = extent > 0.0 ? extent / resolution : 1.0;

    std::vector<ReductionBuilder::Kept> kept;
    {
        ReductionBuilder finest(lower, upper, cell, resolution);
        bool stop = false;
        batch.ForEachSegment([&](size_t record, int colour, const float* start, const float* end) {
            if (stop || (record % kCancelCheckInterval == 0 && (stop = cancelled())))
                return;
            finest.Offer(record, colour, start, end);
        });
        if (stop)
            return nullptr;
        reduction->m_levels.push_back(finest.Finish());
        kept = finest.TakeKept();
    }
    while (resolution > kCoarsestResolution) {
        if (cancelled())
            return nullptr;
        resolution /= 2;
        cell *= 2.0;
        ReductionBuilder coarser(lower, upper, cell, resolution);
        for (size_t s = 0; s < kept.size(); ++s) {
            if (s % kCancelCheckInterval == kCancelCheckInterval - 1 && cancelled())
                return nullptr;
            coarser.Offer(kept[s].record, kept[s].colour, kept[s].ends, kept[s].ends + 3);
        }
        reduction->m_levels.push_back(coarser.Finish());
        kept = coarser.TakeKept();
    }
    return reduction;
}

double ToolpathReduction::Cost(size_t segments, const Lengths& lengths, double scale, double visible) const
{
    const double pixels = visible * std::abs(scale);
    return double(segments) * kSegmentMicroseconds +
           pixels * (lengths.feed * kPixelMicroseconds + lengths.rapid * kStipplePixelMicroseconds);
}

double ToolpathReduction::FrameCost(size_t level, double scale, double visible) const
{
    if (level == kExact)
        return Cost(m_exactSegments, m_exactLengths, scale, visible);
    return Cost(SegmentCount(level), m_levels[level].lengths, scale, visible);
}

size_t ToolpathReduction::LevelFor(double budget, double scale, double visible) const
{
    if (FrameCost(kExact, scale, visible) <= budget)
        return kExact;
    for (size_t level = 0; level < m_levels.size(); ++level)
        if (FrameCost(level, scale, visible) <= budget)
            return level;
    return m_levels.size() - 1;
}

size_t ToolpathReduction::Draw(size_t level, size_t records) const
{
    const Level& l = m_levels[level];
    if (l.records.empty())
        return 0;
    size_t drawn = 0;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, l.vertices.data());
    for (int c = 0; c < kColours; ++c) {
        // Within a colour the segments ascend by record.
        const auto first = l.records.begin() + ptrdiff_t(l.colourStart[c]);
        const auto last = l.records.begin() + ptrdiff_t(l.colourStart[c + 1]);
        const size_t count = size_t((records >= m_records ? last : std::lower_bound(first, last, records)) - first);
        if (count == 0)
            continue;
        ApplyToolpathColour(c);
        const bool rapid = c == kRapidColour;
        if (rapid) {
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, 0x1111);
        }
        glDrawArrays(GL_LINES, GLint(l.colourStart[c] * 2), GLsizei(count * 2));
        if (rapid)
            glDisable(GL_LINE_STIPPLE);
        drawn += count;
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    return drawn;
}
