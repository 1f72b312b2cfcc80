// The NC interpreter's line walk, move statistics and tool list.
//
// InterpretLine runs once per line of programs of millions of lines, so it
// works on local copies of the record and the modal state (stores into the
// members could alias the line's bytes and force reloads), classifies bytes
// through one table, and passes over everything that is no word in a tight
// loop.
#include "NcInterpreter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "NcNumber.h"

namespace {

enum ByteAction : uint8_t
{
    kPass = 0,
    kWordG,
    kWordT,
    kWordX,
    kWordY,
    kWordZ,
    kWordI,
    kWordJ,
    kWordK,
    kWordF,
    kOpenComment,
    kCloseComment,
    kEndOfLine,
};

// Every other byte is passed over.  That digits, '-' and '.' are among them
// lets the walk step only over the number a word reads and pass over the rest
// of its run.
constexpr std::array<uint8_t, 256> MakeByteActions()
{
    std::array<uint8_t, 256> actions{};
    actions['G'] = kWordG;
    actions['T'] = kWordT;
    actions['X'] = kWordX;
    actions['Y'] = kWordY;
    actions['Z'] = kWordZ;
    actions['I'] = kWordI;
    actions['J'] = kWordJ;
    actions['K'] = kWordK;
    actions['F'] = kWordF;
    actions['('] = kOpenComment;
    actions[')'] = kCloseComment;
    actions[';'] = kEndOfLine;
    return actions;
}

constexpr std::array<uint8_t, 256> kByteActions = MakeByteActions();

// A coordinate is added in double precision and only then stored as float,
// so the stored value is the float nearest to start + value.
float Offset(float start, double value)
{
    return static_cast<float>(static_cast<double>(start) + value);
}

}  // namespace

void NcInterpreter::Reset()
{
    m_toolNumbers.clear();
    m_feedDistance = 0.0;
    m_rapidDistance = 0.0;
    m_machiningTime = 0.0;
    m_moves.clear();
    m_tools.clear();
    m_commentDepth = 0;
    m_tool = 0;
    m_x = 0.0f;
    m_y = 0.0f;
    m_z = 0.0f;
    m_kind = 0;
    m_direction = ARC_CLOCKWISE;
    m_feed = 1.0f;
    m_absolute = 1;
    m_rapid = 0;
}

void NcInterpreter::InterpretLine(const char* text, int length, int lineIndex)
{
    // An empty line cannot change anything.
    if (length <= 0)
        return;
    const size_t n = static_cast<size_t>(length);
    size_t depth = m_commentDepth;
    // Inside a comment a line is skipped whole unless it closes a parenthesis
    // somewhere; a line that does is walked from its first byte.
    if (depth > 0 && std::memchr(text, ')', n) == nullptr)
        return;

    MoveRecord record;
    record.line = lineIndex;
    record.startX = record.endX = record.centreX = m_x;
    record.startY = record.endY = record.centreY = m_y;
    record.startZ = record.endZ = record.centreZ = m_z;
    record.kind = m_kind;
    record.feed = m_feed;
    record.tool = m_tool;
    record.rapid = m_rapid;
    const MoveRecord before = record;
    int32_t absolute = m_absolute;
    int32_t tool = m_tool;
    ArcDirection direction = m_direction;

    size_t i = 0;
    while (i < n) {
        while (i < n && kByteActions[static_cast<uint8_t>(text[i])] == kPass)
            ++i;
        if (i == n)
            break;
        const uint8_t action = kByteActions[static_cast<uint8_t>(text[i])];
        ++i;
        switch (action) {
        case kOpenComment:
            ++depth;
            break;
        case kCloseComment:
            if (depth > 0)
                --depth;
            break;
        case kEndOfLine:
            i = n;
            break;
        case kWordG:
        case kWordT: {
            int32_t value;
            const size_t run = NcParseInt(text, i, n, value);
            if (run > 0) {
                if (action == kWordT) {
                    tool = value;
                    RegisterTool(value);
                } else if (value == 0 || value == 1) {
                    record.kind = 0;
                    record.rapid = value == 0 ? 1 : 0;
                } else if (value == 2 || value == 3) {
                    record.kind = 1;
                    record.rapid = 0;
                    direction = value == 2 ? ARC_CLOCKWISE : ARC_COUNTERCLOCKWISE;
                } else if (value == 90) {
                    absolute = 1;
                } else if (value == 91) {
                    absolute = 0;
                }
            }
            i += run;
            break;
        }
        default: {
            // A word acts when a run of digits, '-' and '.' follows it, even
            // one that holds no number ("X-" reads 0).  Whatever follows the
            // number in the run ("1.5.2") is passed over by the walk, as
            // none of those bytes is a word.
            double value;
            const size_t prefix = NcParseDouble(text, i, n, value);
            if (i < n && NcIsDecimalByte(text[i])) {
                switch (action) {
                case kWordX:
                    record.endX = absolute ? static_cast<float>(value) : Offset(record.startX, value);
                    break;
                case kWordY:
                    record.endY = absolute ? static_cast<float>(-value) : Offset(record.startY, -value);
                    break;
                case kWordZ:
                    record.endZ = absolute ? static_cast<float>(value) : Offset(record.startZ, value);
                    break;
                case kWordI:
                    record.centreX = Offset(record.startX, value);
                    break;
                case kWordJ:
                    record.centreY = Offset(record.startY, -value);
                    break;
                case kWordK:
                    record.centreZ = Offset(record.startZ, value);
                    break;
                case kWordF:
                    record.feed = static_cast<float>(value);
                    break;
                }
            }
            i += prefix;
            break;
        }
        }
    }

    m_commentDepth = depth;
    m_absolute = absolute;
    m_tool = tool;
    m_kind = record.kind;
    m_direction = direction;
    m_rapid = record.rapid;
    m_feed = record.feed;
    m_x = record.endX;
    m_y = record.endY;
    m_z = record.endZ;
    if (!(record == before))
        AppendMove(record, record.kind == 1 ? direction : ARC_NONE);
}

void NcInterpreter::AppendMove(const MoveRecord& record, ArcDirection direction)
{
    m_moves.push_back(record, direction);
    const double dz = static_cast<double>(record.endZ) - static_cast<double>(record.startZ);
    const double dy = static_cast<double>(record.endY) - static_cast<double>(record.startY);
    const double dx = static_cast<double>(record.endX) - static_cast<double>(record.startX);
    // An arc counts its chord: the record does not say which way it turns.
    const double distance = std::sqrt(dz * dz + dy * dy + dx * dx);
    if (record.rapid == 0) {
        m_feedDistance += distance;
        // A move at feed 0 (an explicit F0) or below would make the time
        // infinite or let it fall; it takes no time instead.
        if (record.feed > 0.0f)
            m_machiningTime += distance / static_cast<double>(record.feed);
    } else {
        m_rapidDistance += distance;
    }
}

void NcInterpreter::RegisterTool(int32_t number)
{
    // Programs call few tools, so a linear search beats anything cleverer.
    if (std::find(m_toolNumbers.begin(), m_toolNumbers.end(), number) == m_toolNumbers.end())
        m_toolNumbers.push_back(number);
}

void NcInterpreter::FinishRun()
{
    m_tools.clear();
    m_tools.reserve(m_toolNumbers.size());
    for (const int32_t number : m_toolNumbers) {
        ToolSlot slot;
        slot.number = number;
        m_tools.push_back(slot);
    }
}
