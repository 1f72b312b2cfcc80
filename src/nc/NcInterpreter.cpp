// The NC interpreter's line walk, move statistics, warnings and tool list.
//
// InterpretLine runs once per line of programs of millions of lines, so it
// works on local copies of the record and the modal state (stores into the
// members could alias the line's bytes and force reloads), classifies bytes
// through one table, and passes over everything that is no word in a tight
// loop.  What a line holds that deserves a warning is gathered in the same
// walk: the bytes that start one are rare in programs the interpreter reads
// well, so they cost nearly nothing there.
#include "NcInterpreter.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <string_view>

#include "ArcGeometry.h"
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
    kWordR,
    kWordM,
    kWordO,        // O or o: an o-word control line, or a program number
    kLowerWord,    // a word letter in lower case, which controls read and we do not
    kParameter,    // '#'
    kExpression,   // '['
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
    actions['R'] = kWordR;
    actions['M'] = kWordM;
    actions['O'] = kWordO;
    actions['o'] = kWordO;
    for (const char letter : {'g', 'x', 'y', 'z', 'i', 'j', 'k', 'f', 't'})
        actions[static_cast<uint8_t>(letter)] = kLowerWord;
    actions['#'] = kParameter;
    actions['['] = kExpression;
    actions['('] = kOpenComment;
    actions[')'] = kCloseComment;
    actions[';'] = kEndOfLine;
    return actions;
}

constexpr std::array<uint8_t, 256> kByteActions = MakeByteActions();

// The warning of each G code below 100 that a control acts on and the
// interpreter passes over.  G0 to G3, G90 and G91 are read; codes such as
// G17, G21, G40, G54 or G80 change nothing the interpreter could show.
constexpr std::array<NcWarningMask, 100> MakeGCodeWarnings()
{
    std::array<NcWarningMask, 100> warnings{};
    warnings[4] = WarningBit(WARNING_DWELL);
    warnings[18] = warnings[19] = WarningBit(WARNING_PLANE);
    warnings[20] = WarningBit(WARNING_INCH);
    warnings[28] = warnings[53] = WarningBit(WARNING_MACHINE_POSITION);
    warnings[41] = warnings[42] = WarningBit(WARNING_COMPENSATION);
    warnings[68] = WarningBit(WARNING_ROTATION);
    for (int cycle = 81; cycle <= 89; ++cycle)
        warnings[cycle] = WarningBit(WARNING_CANNED_CYCLE);
    return warnings;
}

constexpr std::array<NcWarningMask, 100> kGCodeWarnings = MakeGCodeWarnings();

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A word letter at text[i - 1] that read no number because blanks or a '+'
// stand between it and the number ("X 10", "X+10", "F +.5"): a control
// reads the number, the interpreter passes over it.  A letter that ends a
// longer word ("GT 2" in an expression) is no address.
NcWarningMask DetachedNumberWarning(const char* text, size_t i, size_t n)
{
    if (i >= 2 && IsLetter(text[i - 2]))
        return 0;
    size_t q = i;
    bool plus = false;
    while (q < n && (IsBlank(text[q]) || text[q] == '+')) {
        plus = plus || text[q] == '+';
        ++q;
    }
    if (q == i)
        return 0;
    if (q < n && text[q] == '-')
        ++q;
    if (q < n && text[q] == '.')
        ++q;
    if (q == n || !NcIsDigit(text[q]))
        return 0;
    return WarningBit(plus ? WARNING_PLUS : WARNING_SPACED);
}

bool EqualsIgnoringCase(std::string_view word, std::string_view lowerCase)
{
    return word.size() == lowerCase.size() &&
           std::equal(word.begin(), word.end(), lowerCase.begin(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a) == b; });
}

// An O or o at text[i - 1] that starts a control line of subprograms and
// loops: a number, blanks, then call, sub, if, while, do or repeat as a
// word of its own ("o100 sub", "O7 CALL").  A program number ("O1000", even
// "O1000 (PART)") is none.
bool IsOWordControl(const char* text, size_t i, size_t n)
{
    size_t q = i;
    while (q < n && NcIsDigit(text[q]))
        ++q;
    if (q == i)
        return false;
    while (q < n && IsBlank(text[q]))
        ++q;
    size_t end = q;
    while (end < n && IsLetter(text[end]))
        ++end;
    const std::string_view word(text + q, end - q);
    for (const std::string_view keyword : {"call", "sub", "if", "while", "do", "repeat"}) {
        if (EqualsIgnoringCase(word, keyword))
            return true;
    }
    return false;
}

// What a new circular record says about its arc: an end off the circle, or
// no centre at all while the tool moves.  A record that stays in place (a
// line that only changed the feed or the motion) cuts nothing.
NcWarningMask ArcWarnings(const MoveRecord& record, const ArcGeometry& arc)
{
    if (arc.isArc)
        return arc.endOffCircle ? WarningBit(WARNING_END_OFF_CIRCLE) : 0;
    const bool moves =
        record.endX != record.startX || record.endY != record.startY || record.endZ != record.startZ;
    return moves ? WarningBit(WARNING_NO_CENTRE) : 0;
}

bool SameBits(float a, float b)
{
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

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
    m_warnings = NcWarnings();
    m_moves.clear();
    m_moveCount = 0;
    m_pendingCount = 0;
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
    int32_t absolute = m_absolute;
    int32_t tool = m_tool;
    ArcDirection direction = m_direction;
    // An R word places the centre once the line's end is known, unless the
    // line gives I or J.
    bool centreGiven = false;
    bool radiusGiven = false;
    double radius = 0.0;
    NcWarningMask warnings = 0;

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
                } else if (depth == 0 && value < int32_t(kGCodeWarnings.size())) {
                    warnings |= kGCodeWarnings[value];
                }
            } else if (depth == 0) {
                warnings |= DetachedNumberWarning(text, i, n);
            }
            i += run;
            break;
        }
        case kWordM: {
            int32_t value;
            const size_t run = NcParseInt(text, i, n, value);
            if (run > 0 && value == 98 && depth == 0)
                warnings |= WarningBit(WARNING_SUBPROGRAM);
            i += run;
            break;
        }
        case kWordO:
            if (depth == 0 && IsOWordControl(text, i, n))
                warnings |= WarningBit(WARNING_O_WORD);
            break;
        case kLowerWord:
            if (depth == 0 && i < n && NcIsDecimalByte(text[i]))
                warnings |= WarningBit(WARNING_LOWERCASE);
            break;
        case kParameter:
            if (depth == 0)
                warnings |= WarningBit(WARNING_PARAMETER);
            break;
        case kExpression:
            if (depth == 0)
                warnings |= WarningBit(WARNING_EXPRESSION);
            break;
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
                    centreGiven = true;
                    break;
                case kWordJ:
                    record.centreY = Offset(record.startY, -value);
                    centreGiven = true;
                    break;
                case kWordK:
                    record.centreZ = Offset(record.startZ, value);
                    break;
                case kWordF:
                    record.feed = static_cast<float>(value);
                    break;
                case kWordR:
                    radius = value;
                    radiusGiven = true;
                    break;
                }
            } else if (depth == 0 && action != kWordR) {
                warnings |= DetachedNumberWarning(text, i, n);
            }
            i += prefix;
            break;
        }
        }
    }

    if (record.kind == 1 && radiusGiven && !centreGiven && !PlaceCentreByRadius(record, direction, radius))
        warnings |= WarningBit(WARNING_RADIUS_TOO_SMALL);

    // The walk sets only the end, the centre, the motion, the feed and the
    // rapid flag; the line, the start and the tool field stay as they were
    // set above.  Compared bit for bit, as records compare, and field by
    // field: a copy of the whole record to compare with costs more than the
    // rest of a short line.
    const bool changed = !SameBits(record.endX, record.startX) || !SameBits(record.endY, record.startY) ||
                         !SameBits(record.endZ, record.startZ) || !SameBits(record.centreX, record.startX) ||
                         !SameBits(record.centreY, record.startY) || !SameBits(record.centreZ, record.startZ) ||
                         record.kind != m_kind || !SameBits(record.feed, m_feed) || record.rapid != m_rapid;

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
    if (changed) {
        if (record.kind == 1) {
            const ArcGeometry arc = ArcGeometry::Of(record, direction);
            warnings |= ArcWarnings(record, arc);
            AppendMove(record, direction, MoveLength(record, arc), false);
        } else {
            AppendMove(record, ARC_NONE, ChordSquared(record), true);
        }
    }
    if (warnings != 0)
        m_warnings.AddLine(lineIndex, warnings);
}

void NcInterpreter::AppendMove(const MoveRecord& record, ArcDirection direction, double length, bool squared)
{
    if (m_moveSink)
        m_moveSink->MoveMade(record, direction);
    else
        m_moves.push_back(record, direction);
    ++m_moveCount;
    if (m_pendingCount == kPendingLengths)
        SumPendingLengths();
    m_pendingLengths[m_pendingCount++] = PendingLength{length, record.feed, squared, record.rapid != 0};
}

void NcInterpreter::SumPendingLengths() const
{
    // In locals: sums kept in the members would go through memory at every
    // record.
    double feedDistance = m_feedDistance;
    double rapidDistance = m_rapidDistance;
    double machiningTime = m_machiningTime;
    for (size_t i = 0; i < m_pendingCount; ++i) {
        const PendingLength& pending = m_pendingLengths[i];
        const double distance = pending.squared ? std::sqrt(pending.length) : pending.length;
        if (pending.rapid) {
            rapidDistance += distance;
        } else {
            feedDistance += distance;
            // A move at feed 0 (an explicit F0) or below would make the time
            // infinite or let it fall; it takes no time instead.
            if (pending.feed > 0.0f)
                machiningTime += distance / static_cast<double>(pending.feed);
        }
    }
    m_feedDistance = feedDistance;
    m_rapidDistance = rapidDistance;
    m_machiningTime = machiningTime;
    m_pendingCount = 0;
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

void NcInterpreter::KeepToolDefinitions(const std::vector<ToolSlot>& earlier)
{
    for (ToolSlot& slot : m_tools) {
        const auto kept = std::find_if(earlier.begin(), earlier.end(),
                                       [&slot](const ToolSlot& old) { return old.number == slot.number; });
        if (kept != earlier.end())
            slot = *kept;
    }
}
