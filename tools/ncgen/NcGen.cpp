// The generator behind ncgen.
//
// A program is what a CAM post-processor would write for a run of small
// aluminium parts on a fixture: a header with the O number and a comment
// block, then part after part (each on the next work offset) machined by the
// usual order of operations - facing, pocket roughing and wall finishing,
// outside contour, helical bores, a raster-finished 3-D cavity, spot drilling
// and drilling, chamfering - each with one of a handful of tools, until the
// requested size is reached; then a fixed closing block ending with M30.
//
// Geometry is integer micrometres throughout and the random numbers come
// from our own splitmix64, so a seed gives the same bytes everywhere: floating
// point could differ wherever a compiler fuses a multiply and an add.
//
// Comment texts never hold a word letter (G X Y Z I J K R F T) directly
// followed by a digit, '.' or '-': Tornel's interpreter reads words inside
// comments on every line it does not skip, and a comment must not move the
// toolpath.
#include "NcGen.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>
#include <vector>

namespace {

constexpr int64_t MM = 1000;          // micrometres per millimetre
constexpr int64_t KEEP = INT64_MIN;   // axis argument of a move: stay where it is
constexpr int64_t CLEAR_Z = 5 * MM;   // clearance plane between features
constexpr int64_t SAFE_Z = 50 * MM;   // height for tool changes

// splitmix64: tiny, fast, and its output is fixed by its definition.  Ranges
// are taken by modulo; the bias is far below anything a program would show.
class Random
{
public:
    explicit Random(uint64_t seed) : m_state(seed) {}

    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // lo..hi inclusive; lo when the range is empty.
    int64_t Range(int64_t lo, int64_t hi)
    {
        return hi <= lo ? lo : lo + int64_t(Next() % uint64_t(hi - lo + 1));
    }
    // lo, lo + step, ... up to hi.
    int64_t Steps(int64_t lo, int64_t hi, int64_t step) { return lo + step * Range(0, (hi - lo) / step); }
    bool Chance(int percent) { return Next() % 100 < uint64_t(percent); }

private:
    uint64_t m_state;
};

unsigned DecimalWidth(uint64_t v)
{
    unsigned width = 1;
    while (v >= 10) {
        v /= 10;
        ++width;
    }
    return width;
}

// One line of the program being formatted.  Words are separated by a space
// unless the line is glued (G01X10.500Y-3.000F300, as older posts write).
class LineBuilder
{
public:
    static constexpr std::size_t MAX_LINE = 192;  // far above the longest line we make

    void Clear(bool glued)
    {
        m_size = 0;
        m_glued = glued;
    }
    const char* Data() const { return m_text; }
    std::size_t Size() const { return m_size; }

    LineBuilder& Number(uint32_t n)
    {
        Separate();
        Put('N');
        PutUnsigned(n);
        return *this;
    }
    // G and M codes with at least two digits: G00, M06, G91.
    LineBuilder& Code(char letter, int code)
    {
        Separate();
        Put(letter);
        if (code < 10)
            Put('0');
        PutUnsigned(uint64_t(code));
        return *this;
    }
    // Plain integer words: O, T, S, F, H, D.
    LineBuilder& Int(char letter, int64_t value)
    {
        Separate();
        Put(letter);
        PutUnsigned(uint64_t(value));
        return *this;
    }
    // Coordinates: millimetres with three decimals.
    LineBuilder& Coord(char letter, int64_t microns)
    {
        Separate();
        Put(letter);
        return Millimetres(microns);
    }
    LineBuilder& Comment(std::string_view text)
    {
        Separate();
        Put('(');
        Text(text);
        Put(')');
        return *this;
    }
    // A semicolon comment; nothing may follow it on the line.
    LineBuilder& Note(std::string_view text)
    {
        if (m_size && !m_glued)
            Put(' ');
        Put(';');
        if (!m_glued)
            Put(' ');
        return Text(text);
    }
    // Free text for comment lines, with no separator of its own.
    LineBuilder& Text(std::string_view text)
    {
        for (char c : text)
            Put(c);
        return *this;
    }
    LineBuilder& Words(std::string_view text)
    {
        Separate();
        return Text(text);
    }
    LineBuilder& Count(uint64_t n)
    {
        PutUnsigned(n);
        return *this;
    }
    LineBuilder& Millimetres(int64_t microns)
    {
        uint64_t v = uint64_t(microns);
        if (microns < 0) {
            Put('-');
            v = 0 - v;
        }
        PutUnsigned(v / 1000);
        Put('.');
        const unsigned frac = unsigned(v % 1000);
        Put(char('0' + frac / 100));
        Put(char('0' + frac / 10 % 10));
        Put(char('0' + frac % 10));
        return *this;
    }

private:
    void Separate()
    {
        if (m_size && !m_glued)
            Put(' ');
    }
    void Put(char c)
    {
        if (m_size < MAX_LINE)
            m_text[m_size++] = c;
    }
    void PutUnsigned(uint64_t v)
    {
        char digits[20];
        int n = 0;
        do {
            digits[n++] = char('0' + v % 10);
            v /= 10;
        } while (v);
        while (n)
            Put(digits[--n]);
    }

    char m_text[MAX_LINE];
    std::size_t m_size = 0;
    bool m_glued = false;
};

// Finished lines with their line ends, gathered into a large buffer that goes
// to the sink a megabyte at a time.
class ByteOut
{
public:
    ByteOut(const NcSink& sink, int eol) : m_sink(sink), m_buffer(1 << 20)
    {
        static constexpr std::string_view separators[] = {"\r\n", "\n\r", "\n"};
        m_eol = separators[eol];
    }

    void Line(const char* text, std::size_t size)
    {
        if (m_used + size + m_eol.size() > m_buffer.size())
            Flush();
        std::memcpy(m_buffer.data() + m_used, text, size);
        std::memcpy(m_buffer.data() + m_used + size, m_eol.data(), m_eol.size());
        m_used += size + m_eol.size();
        m_total += size + m_eol.size();
    }
    void Flush()
    {
        if (m_used && m_ok)
            m_ok = m_sink(m_buffer.data(), m_used);
        m_used = 0;
    }
    bool Ok() const { return m_ok; }
    uint64_t Total() const { return m_total; }
    std::size_t EolSize() const { return m_eol.size(); }

private:
    const NcSink& m_sink;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    uint64_t m_total = 0;
    std::string_view m_eol;
    bool m_ok = true;
};

// The last lines of every program.  G90 comes before Z so that the retract is
// absolute even when the program was cut short inside an incremental run.
constexpr std::string_view CLOSING[] = {"G90 G00 Z50.000 M09", "M05", "G91 G28 Z0.000", "M30"};
constexpr uint64_t CLOSING_LINES = std::size(CLOSING);

// Sequence numbers go up in tens and stay within the eight digits a
// controller accepts, starting again at N10 after N99999990.
uint32_t NextNumber(uint32_t n) { return n >= 99999990 ? 10 : n + 10; }

// Every line of the program goes through here, and here the program ends.
// Before each line it asks whether the closing block still fits: with a line
// count the closing ends exactly on the last line (a count below the
// closing's size gets the closing's last lines); with a byte target the
// closing is written as soon as it reaches the target, so the program passes
// the target by less than one line.  A group (a multi-line comment) is
// written whole or dropped, so that a comment is never left open.
class ProgramOutput
{
public:
    ProgramOutput(const NcGenOptions& options, const NcSink& sink)
        : m_out(sink, options.eol), m_byLines(options.lines > 0),
          m_limit(options.lines > 0 ? options.lines : options.bytes), m_ended(m_limit == 0)
    {
    }

    bool Ended() const { return m_ended; }

    LineBuilder& Start(bool numbered, bool glued)
    {
        m_line.Clear(glued);
        m_lineNumber = numbered ? m_number : 0;
        if (numbered) {
            m_line.Number(m_number);
            m_number = NextNumber(m_number);
        }
        return m_line;
    }

    void Emit()
    {
        if (m_ended)
            return;
        if (m_grouping) {
            m_group.append(m_line.Data(), m_line.Size());
            m_group.push_back('\n');
            ++m_groupLines;
            m_groupBytes += m_line.Size() + m_out.EolSize();
        } else if (const uint32_t first = m_lineNumber ? m_lineNumber : m_number; Exhausted(first)) {
            m_number = first;  // the closing takes over the dropped line's number
            Close();
        } else {
            Put(m_line.Data(), m_line.Size());
        }
    }

    void BeginGroup() { m_grouping = true; }
    void EndGroup()
    {
        m_grouping = false;
        if (!m_ended && Exhausted(m_number)) {
            Close();
        } else if (!m_ended && Fits(m_groupLines, m_groupBytes)) {
            std::size_t begin = 0;
            for (std::size_t end; (end = m_group.find('\n', begin)) != std::string::npos; begin = end + 1)
                Put(m_group.data() + begin, end - begin);
        }
        m_group.clear();
        m_groupLines = 0;
        m_groupBytes = 0;
    }

    bool Finish()
    {
        m_out.Flush();
        return m_out.Ok();
    }

private:
    // The closing's size when its first line gets the number first.
    uint64_t ClosingBytes(uint32_t first) const
    {
        uint64_t total = 0;
        uint32_t n = first;
        for (std::string_view body : CLOSING) {
            total += 1 + DecimalWidth(n) + 1 + body.size() + m_out.EolSize();
            n = NextNumber(n);
        }
        return total;
    }
    bool Exhausted(uint32_t first) const
    {
        return m_byLines ? m_lines + CLOSING_LINES >= m_limit : m_out.Total() + ClosingBytes(first) >= m_limit;
    }
    bool Fits(uint64_t lines, uint64_t bytes) const
    {
        return m_byLines ? m_lines + lines + CLOSING_LINES <= m_limit
                         : m_out.Total() + bytes + ClosingBytes(m_number) <= m_limit;
    }
    void Put(const char* text, std::size_t size)
    {
        m_out.Line(text, size);
        ++m_lines;
        if (!m_out.Ok())
            m_ended = true;
    }
    void Close()
    {
        const uint64_t count = m_byLines ? std::min(CLOSING_LINES, m_limit - m_lines) : CLOSING_LINES;
        for (uint64_t i = CLOSING_LINES - count; i < CLOSING_LINES && m_out.Ok(); ++i) {
            Start(true, false).Words(CLOSING[i]);
            Put(m_line.Data(), m_line.Size());
        }
        m_ended = true;
    }

    ByteOut m_out;
    LineBuilder m_line;
    const bool m_byLines;
    const uint64_t m_limit;
    uint64_t m_lines = 0;
    uint32_t m_number = 10;     // the next sequence number
    uint32_t m_lineNumber = 0;  // the number of the line being built, 0 if it has none
    bool m_ended;
    bool m_grouping = false;
    std::string m_group;  // grouped lines, each followed by '\n' (no line holds one)
    uint64_t m_groupLines = 0;
    uint64_t m_groupBytes = 0;
};

enum ToolKind
{
    FACE_MILL,
    ROUGH_MILL,
    FINISH_MILL,
    BALL_MILL,
    SPOT_DRILL,
    DRILL,
    CHAMFER_MILL,
    TOOL_KINDS
};

struct ToolType
{
    std::string_view label;  // the comment on the tool-change line
    int64_t diameter;
    int spindle;
    int feed;
    int plunge;
};

const ToolType TOOL_TYPES[TOOL_KINDS] = {
    {"50.0 FACE MILL", 50 * MM, 3000, 1200, 400},
    {"16.0 FLAT END MILL", 16 * MM, 6000, 900, 300},
    {"10.0 FLAT END MILL", 10 * MM, 8000, 700, 250},
    {"6.0 BALL END MILL", 6 * MM, 12000, 1800, 400},
    {"6.0 \xB6\xA8\xD0\xC4\xD7\xEA 90 DEG", 6 * MM, 4000, 300, 300},  // 定心钻 (spot drill)
    {"8.5 DRILL", 8500, 2200, 180, 180},
    {"12.0 CHAMFER MILL 90 DEG", 12 * MM, 5000, 600, 200},
};

struct PartName
{
    std::string_view english;
    std::string_view chinese;
};

const PartName PART_NAMES[] = {
    {"BRACKET", "\xD6\xA7\xBC\xDC"},              // 支架
    {"FLANGE", "\xB7\xA8\xC0\xBC"},               // 法兰
    {"COVER PLATE", "\xB8\xC7\xB0\xE5"},          // 盖板
    {"BASE", "\xB5\xD7\xD7\xF9"},                 // 底座
    {"MOUNTING PLATE", "\xB0\xB2\xD7\xB0\xB0\xE5"},  // 安装板
};

struct Point
{
    int64_t x, y;
};

struct Rect
{
    int64_t x0, y0, x1, y1;
};

Rect Grow(const Rect& r, int64_t by) { return {r.x0 - by, r.y0 - by, r.x1 + by, r.y1 + by}; }

// How a contour is walked.
struct ContourStyle
{
    bool ccw = true;
    bool useR = false;        // quarter arcs by R instead of I J
    bool compensate = false;  // G41 on the lead-in, G40 on the lead-out
};

// A bowl-shaped cavity: depth at the centre, rising as a paraboloid to the
// top face at the rim of an ellipse, flat outside it.
struct Bowl
{
    int64_t cx, cy, ru, rv, depth;

    int64_t Z(int64_t x, int64_t y) const
    {
        const int64_t p = (x - cx) * 1000 / ru;
        const int64_t q = (y - cy) * 1000 / rv;
        const int64_t s = p * p + q * q;
        return s >= 1000000 ? 0 : -depth + depth * s / 1000000;
    }
};

class Generator
{
public:
    Generator(uint64_t seed, ProgramOutput& out) : m_rng(seed), m_out(out) {}

    void Run()
    {
        ChooseTools();
        Header();
        while (!m_out.Ended())
            Part();
    }

private:
    void ChooseTools();
    void Header();
    void Part();
    void Face();
    void Pocket();
    void Profile();
    void Bores();
    void Surface();
    void Holes();
    void Drill(ToolKind kind, const std::vector<Point>& holes, int64_t depth, int64_t peck, bool incremental);
    void Chamfer();

    void Describe(std::string_view english, std::string_view chinese, int64_t depth);
    void Approach(ToolKind kind, int64_t x, int64_t y);
    void ChangeTool(ToolKind kind, int64_t x, int64_t y);
    void Retract(int64_t z = CLEAR_Z);
    void Absolute(bool on);
    void Contour(const Rect& path, int64_t radius, int64_t leadY, int64_t depth, int64_t step,
                 const ContourStyle& style);
    void RoundedRect(const Rect& path, int64_t radius, const ContourStyle& style);

    LineBuilder& Line() { return m_out.Start(!m_rng.Chance(6), m_glued || m_rng.Chance(2)); }
    void Emit() { m_out.Emit(); }
    void Blank()
    {
        m_out.Start(false, false);
        m_out.Emit();
    }
    void Move(int motion, int64_t x, int64_t y, int64_t z, int feed, std::string_view note = {}, int compensation = 0);
    void Arc(bool ccw, int64_t x, int64_t y, int64_t z, int64_t cx, int64_t cy, int64_t radius, int feed);
    void Axis(LineBuilder& line, char letter, int64_t target, int64_t current, bool always = false) const
    {
        if (always || target != current)
            line.Coord(letter, m_absolute ? target : target - current);
    }
    const ToolType& Tool() const { return TOOL_TYPES[m_tool]; }
    int64_t HalfWidth() const { return m_width / 2; }
    int64_t HalfHeight() const { return m_height / 2; }

    Random m_rng;
    ProgramOutput& m_out;
    int m_toolNumbers[TOOL_KINDS] = {};
    int64_t m_width = 0, m_height = 0, m_thickness = 0;  // the stock; zero at its centre, top face
    int m_part = 0;
    int m_offset = 0;  // work offset of the current part, 0 for G54 .. 5 for G59
    bool m_haveProfile = false;
    Rect m_profile = {};
    int64_t m_profileRadius = 0;

    // What the machine is doing, as far as the program has told it.
    int m_tool = -1;
    int64_t m_x = 0, m_y = 0, m_z = 0;
    bool m_absolute = true;
    int m_motion = -1;
    int m_feed = 0;
    bool m_glued = false;  // the current operation is written without spaces
    // Posts for 3-D work often write every axis, and some the feed, on every line.
    bool m_allAxes = false;
    bool m_feedEveryLine = false;
    int m_operation = 0;
};

// A handful of distinct pockets in the tool changer.
void Generator::ChooseTools()
{
    for (int k = 0; k < TOOL_KINDS; ++k) {
        int number;
        do
            number = int(m_rng.Range(1, 20));
        while (std::find(m_toolNumbers, m_toolNumbers + k, number) != m_toolNumbers + k);
        m_toolNumbers[k] = number;
    }
}

void Generator::Header()
{
    m_width = m_rng.Steps(100 * MM, 200 * MM, 10 * MM);
    m_height = m_rng.Steps(70 * MM, 150 * MM, 10 * MM);
    m_thickness = m_rng.Steps(20 * MM, 40 * MM, 5 * MM);
    const PartName& name = PART_NAMES[m_rng.Next() % std::size(PART_NAMES)];
    const int64_t program = m_rng.Range(1000, 9999);

    m_out.Start(false, false).Int('O', program);
    Emit();
    m_out.BeginGroup();
    m_out.Start(false, false).Text("(PROGRAM ").Text(name.english).Text(" ").Count(uint64_t(program));
    Emit();
    m_out.Start(false, false).Text(" MATERIAL AL 6061");
    Emit();
    m_out.Start(false, false)
        .Text(" STOCK ")
        .Millimetres(m_width)
        .Text(" BY ")
        .Millimetres(m_height)
        .Text(" BY ")
        .Millimetres(m_thickness);
    Emit();
    m_out.Start(false, false).Text(" ZERO AT STOCK CENTRE, TOP FACE");
    Emit();
    m_out.Start(false, false).Text(" WRITTEN BY NCGEN)");
    Emit();
    m_out.EndGroup();
    // 零件 (part) ... 材料: 铝 (material: aluminium)
    m_out.Start(false, false)
        .Text("(\xC1\xE3\xBC\xFE: ")
        .Text(name.chinese)
        .Text("  \xB2\xC4\xC1\xCF: \xC2\xC1)");
    Emit();
    Line().Code('G', 21).Code('G', 17).Code('G', 40).Code('G', 49).Code('G', 80).Code('G', 90);
    Emit();
    Line().Code('G', 91).Code('G', 28).Coord('Z', 0);
    Emit();
    m_absolute = false;
}

void Generator::Part()
{
    m_offset = m_part % 6;
    ++m_part;
    m_haveProfile = false;
    if (m_part > 1 && m_rng.Chance(60))
        Blank();
    if (m_rng.Chance(70))
        m_out.Start(false, false)
            .Text("(PART ")
            .Count(uint64_t(m_part))
            .Text(" - WORK OFFSET ")
            .Count(uint64_t(m_offset + 1))
            .Text(")");
    else
        m_out.Start(false, false).Text("(\xC1\xE3\xBC\xFE ").Count(uint64_t(m_part)).Text(")");  // 零件 n
    Emit();
    Line().Code('G', 90).Code('G', 54 + m_offset);
    Emit();
    m_absolute = true;

    if (m_rng.Chance(70))
        Face();
    for (int64_t n = m_rng.Range(0, 2); n > 0; --n)
        Pocket();
    if (m_rng.Chance(60))
        Profile();
    if (m_rng.Chance(50))
        Bores();
    if (m_rng.Chance(65))
        Surface();
    if (m_rng.Chance(60))
        Holes();
    if (m_rng.Chance(50))
        Chamfer();
}

// The operation's title as a comment, sometimes as a block over three lines,
// sometimes in Chinese, sometimes not at all.  Also picks the operation's
// writing style.
void Generator::Describe(std::string_view english, std::string_view chinese, int64_t depth)
{
    ++m_operation;
    m_glued = m_rng.Chance(12);
    const int64_t kind = m_rng.Range(0, 99);
    if (kind < 25) {
        m_out.BeginGroup();
        m_out.Start(false, false).Text("(OPERATION ").Count(uint64_t(m_operation));
        Emit();
        m_out.Start(false, false).Text(" ").Text(english);
        Emit();
        m_out.Start(false, false).Text(" DEPTH ").Millimetres(depth).Text(")");
        Emit();
        m_out.EndGroup();
    } else if (kind < 55) {
        m_out.Start(false, false).Comment(english);
        Emit();
    } else if (kind < 75) {
        m_out.Start(false, false).Comment(chinese);
        Emit();
    }
}

void Generator::Approach(ToolKind kind, int64_t x, int64_t y)
{
    if (m_tool != kind) {
        ChangeTool(kind, x, y);
    } else {
        Retract();
        Move(0, x, y, KEEP, 0);
    }
    Move(0, KEEP, KEEP, CLEAR_Z, 0);
}

void Generator::ChangeTool(ToolKind kind, int64_t x, int64_t y)
{
    const ToolType& type = TOOL_TYPES[kind];
    const int number = m_toolNumbers[kind];
    if (m_tool >= 0) {
        Retract(SAFE_Z);
        Line().Code('M', 5).Code('M', 9);
        Emit();
        Line().Code('G', 91).Code('G', 28).Coord('Z', 0);
        Emit();
        m_absolute = false;
    }
    if (m_rng.Chance(30)) {
        m_out.Start(false, false).Note(m_rng.Chance(50) ? "TOOL CHANGE" : "\xBB\xBB\xB5\xB6");  // 换刀
        Emit();
    }
    Line().Int('T', number).Code('M', 6).Comment(type.label);
    Emit();
    Line().Code('G', 90).Code('G', 54 + m_offset).Code('G', 0).Coord('X', x).Coord('Y', y);
    Emit();
    Line().Int('S', type.spindle).Code('M', 3);
    Emit();
    Line().Code('G', 43).Int('H', number).Coord('Z', SAFE_Z).Code('M', 8);
    Emit();
    m_absolute = true;
    m_motion = 0;
    m_x = x;
    m_y = y;
    m_z = SAFE_Z;
    m_tool = kind;
    m_feed = 0;
}

void Generator::Retract(int64_t z)
{
    if (m_z < z)
        Move(0, KEEP, KEEP, z, 0);
}

void Generator::Absolute(bool on)
{
    Line().Code('G', on ? 90 : 91);
    Emit();
    m_absolute = on;
}

// Writes one straight move, giving only the axes that change (as deltas in
// incremental mode), the motion code when it changes (and now and then
// again, as some posts do) and the feed when it changes.  A move that goes
// nowhere writes nothing.
void Generator::Move(int motion, int64_t x, int64_t y, int64_t z, int feed, std::string_view note, int compensation)
{
    const int64_t tx = x == KEEP ? m_x : x;
    const int64_t ty = y == KEEP ? m_y : y;
    const int64_t tz = z == KEEP ? m_z : z;
    if (tx == m_x && ty == m_y && tz == m_z)
        return;
    LineBuilder& line = Line();
    if (motion != m_motion || m_rng.Chance(4))
        line.Code('G', motion);
    if (compensation == 40)
        line.Code('G', 40);
    else if (compensation)
        line.Code('G', compensation).Int('D', m_toolNumbers[m_tool]);
    Axis(line, 'X', tx, m_x, m_allAxes);
    Axis(line, 'Y', ty, m_y, m_allAxes);
    Axis(line, 'Z', tz, m_z, m_allAxes);
    if (motion != 0 && (feed != m_feed || m_feedEveryLine)) {
        line.Int('F', feed);
        m_feed = feed;
    }
    if (!note.empty())
        line.Note(note);
    Emit();
    m_motion = motion;
    m_x = tx;
    m_y = ty;
    m_z = tz;
}

// An arc in the XY plane, with Z for a helix.  The end point is always
// written in full; the centre by I J from the start, or, for arcs of at most
// half a turn whose radius the caller knows, by R.
void Generator::Arc(bool ccw, int64_t x, int64_t y, int64_t z, int64_t cx, int64_t cy, int64_t radius, int feed)
{
    const int motion = ccw ? 3 : 2;
    const int64_t tz = z == KEEP ? m_z : z;
    LineBuilder& line = Line();
    if (motion != m_motion || m_rng.Chance(30))
        line.Code('G', motion);
    line.Coord('X', m_absolute ? x : x - m_x).Coord('Y', m_absolute ? y : y - m_y);
    Axis(line, 'Z', tz, m_z);
    if (radius > 0)
        line.Coord('R', radius);
    else
        line.Coord('I', cx - m_x).Coord('J', cy - m_y);
    if (feed != m_feed) {
        line.Int('F', feed);
        m_feed = feed;
    }
    Emit();
    m_motion = motion;
    m_x = x;
    m_y = y;
    m_z = tz;
}

// One loop around a rectangle with rounded corners, from the middle of its
// bottom edge back to it.
void Generator::RoundedRect(const Rect& p, int64_t r, const ContourStyle& style)
{
    struct Corner
    {
        int64_t inX, inY, outX, outY, cx, cy;
    };
    // Counter-clockwise from the bottom edge: bottom right, top right, top left, bottom left.
    const Corner ccw[4] = {
        {p.x1 - r, p.y0, p.x1, p.y0 + r, p.x1 - r, p.y0 + r},
        {p.x1, p.y1 - r, p.x1 - r, p.y1, p.x1 - r, p.y1 - r},
        {p.x0 + r, p.y1, p.x0, p.y1 - r, p.x0 + r, p.y1 - r},
        {p.x0, p.y0 + r, p.x0 + r, p.y0, p.x0 + r, p.y0 + r},
    };
    const int feed = Tool().feed;
    for (int i = 0; i < 4; ++i) {
        // Clockwise walks the same corners backwards, entering each where the other way leaves it.
        const Corner& c = style.ccw ? ccw[i] : ccw[3 - i];
        const int64_t inX = style.ccw ? c.inX : c.outX, inY = style.ccw ? c.inY : c.outY;
        const int64_t outX = style.ccw ? c.outX : c.inX, outY = style.ccw ? c.outY : c.inY;
        Move(1, inX, inY, KEEP, feed);
        if (r > 0)
            Arc(style.ccw, outX, outY, KEEP, c.cx, c.cy, style.useR ? r : 0, feed);
    }
    Move(1, (p.x0 + p.x1) / 2, p.y0, KEEP, feed);
}

// Cuts a rounded rectangle level by level down to depth, entering and
// leaving each level along a short line from (centre, leadY).  The tool is
// at the lead point, above the first level or already at the only one.
void Generator::Contour(const Rect& path, int64_t radius, int64_t leadY, int64_t depth, int64_t step,
                        const ContourStyle& style)
{
    const ToolType& tool = Tool();
    const int64_t mx = (path.x0 + path.x1) / 2;
    int64_t z = 0;
    do {
        z = std::max(z - step, -depth);
        Move(1, KEEP, KEEP, z, tool.plunge);
        Move(1, mx, path.y0, KEEP, tool.feed, {}, style.compensate ? 41 : 0);
        RoundedRect(path, radius, style);
        Move(1, mx, leadY, KEEP, tool.feed, {}, style.compensate ? 40 : 0);
    } while (z > -depth && !m_out.Ended());
}

void Generator::Face()
{
    const ToolType& tool = TOOL_TYPES[FACE_MILL];
    const int64_t r = tool.diameter / 2;
    const int64_t xs = -HalfWidth() - r - 5 * MM, xe = HalfWidth() + r + 5 * MM;
    const int64_t y0 = -HalfHeight() + r - 10 * MM, y1 = HalfHeight() - r + 10 * MM;
    const int64_t step = tool.diameter * 70 / 100;
    Describe("FACE TOP", "\xCF\xB3\xC6\xBD\xC3\xE6", 0);  // 铣平面
    Approach(FACE_MILL, xs, y0);
    // Stock comes a little thick; one or two passes bring the top face to Z0.
    for (int64_t z = m_rng.Chance(50) ? 500 : 0; z >= 0 && !m_out.Ended(); z -= 500) {
        Retract();
        Move(0, xs, y0, KEEP, 0);
        Move(1, KEEP, KEEP, z, tool.plunge, z ? "" : "FINISH PASS");
        bool right = true;
        for (int64_t y = y0;; right = !right) {
            Move(1, right ? xe : xs, KEEP, KEEP, tool.feed);
            if (y >= y1)
                break;
            y = std::min(y + step, y1);
            Move(1, KEEP, y, KEEP, tool.feed);
        }
    }
    Retract();
}

// Zig-zag roughing of a rectangular pocket, level by level (the rows now and
// then in incremental mode), leaving a little on the walls for one finishing
// loop at full depth.
void Generator::Pocket()
{
    const int64_t w = m_rng.Steps(36 * MM, m_width * 45 / 100, 500);
    const int64_t h = m_rng.Steps(36 * MM, m_height * 45 / 100, 500);
    const ToolKind kind = std::min(w, h) >= 50 * MM ? ROUGH_MILL : FINISH_MILL;
    const ToolType& tool = TOOL_TYPES[kind];
    const int64_t r = tool.diameter / 2;
    const int64_t xr = HalfWidth() - 10 * MM - w / 2, yr = HalfHeight() - 10 * MM - h / 2;
    const int64_t px = m_rng.Steps(-xr, xr, 500), py = m_rng.Steps(-yr, yr, 500);
    const int64_t depth = m_rng.Steps(3 * MM, std::min<int64_t>(12 * MM, m_thickness / 2), 500);
    const int64_t dz = m_rng.Steps(1 * MM, 3 * MM, 500);
    const int64_t corner = r + m_rng.Steps(1 * MM, 4 * MM, 500);
    const int64_t stepover = tool.diameter * m_rng.Range(40, 60) / 100;
    const Rect wall = {px - w / 2 + r, py - h / 2 + r, px + w / 2 - r, py + h / 2 - r};
    const Rect rough = Grow(wall, -300);  // 0.3 left for the finishing loop
    const bool incremental = m_rng.Chance(35);

    Describe("POCKET ROUGH AND FINISH", "\xD0\xCD\xC7\xBB\xBF\xAA\xB4\xD6", depth);  // 型腔开粗
    Approach(kind, rough.x0, rough.y0);
    Move(0, KEEP, KEEP, 1 * MM, 0);
    int level = 0;
    for (int64_t z = 0; z > -depth && !m_out.Ended(); ++level) {
        if (level > 0) {
            Move(0, KEEP, KEEP, 1 * MM, 0);
            Move(0, rough.x0, rough.y0, KEEP, 0);
            Move(0, KEEP, KEEP, z + 500, 0);  // down the part already cut
        }
        z = std::max(z - dz, -depth);
        Move(1, KEEP, KEEP, z, tool.plunge, level == 0 ? "\xB4\xD6\xBC\xD3\xB9\xA4" : "");  // 粗加工
        if (incremental)
            Absolute(false);
        bool right = true;
        for (int64_t y = rough.y0;; right = !right) {
            Move(1, right ? rough.x1 : rough.x0, KEEP, KEEP, tool.feed);
            if (y >= rough.y1)
                break;
            y = std::min(y + stepover, rough.y1);
            Move(1, KEEP, y, KEEP, tool.feed);
        }
        if (incremental)
            Absolute(true);
    }
    // Finish the walls along the floor, which the roughing has cleared.
    const int64_t leadY = wall.y0 + 2 * MM;
    Move(1, (wall.x0 + wall.x1) / 2, leadY, KEEP, tool.feed, "\xBE\xAB\xBC\xD3\xB9\xA4");  // 精加工
    ContourStyle style;
    style.ccw = m_rng.Chance(50);
    style.useR = m_rng.Chance(30);
    Contour(wall, corner - r, leadY, depth, depth, style);
    Retract();
}

// The outside of the part: a rounded rectangle inside the stock, cut in
// levels from a lead point off the stock, with cutter compensation or with
// the tool centre path.
void Generator::Profile()
{
    const int64_t margin = m_rng.Steps(3 * MM, 8 * MM, 500);
    const int64_t corner = m_rng.Steps(3 * MM, 15 * MM, 500);
    const ToolKind kind = m_rng.Chance(50) ? ROUGH_MILL : FINISH_MILL;
    const int64_t r = TOOL_TYPES[kind].diameter / 2;
    const int64_t depth = m_rng.Steps(5 * MM, m_thickness - 5 * MM, 500);
    const int64_t step = m_rng.Steps(2 * MM, 5 * MM, 500);
    m_profile = {-HalfWidth() + margin, -HalfHeight() + margin, HalfWidth() - margin, HalfHeight() - margin};
    m_profileRadius = corner;
    m_haveProfile = true;

    ContourStyle style;
    style.compensate = m_rng.Chance(30);
    style.ccw = !style.compensate && m_rng.Chance(50);  // G41 outside is climb milling: clockwise
    style.useR = m_rng.Chance(25);
    const Rect path = style.compensate ? m_profile : Grow(m_profile, r);
    const int64_t radius = style.compensate ? corner : corner + r;
    const int64_t leadY = -HalfHeight() - r - 3 * MM;

    Describe("OUTSIDE PROFILE", "\xCD\xE2\xD0\xCE\xC2\xD6\xC0\xAA", depth);  // 外形轮廓
    Approach(kind, (path.x0 + path.x1) / 2, leadY);
    Contour(path, radius, leadY, depth, step, style);
    Retract();
}

// Round holes too large for a drill: a helix down in half turns, one flat
// turn at the bottom, out through the centre.
void Generator::Bores()
{
    const ToolType& tool = TOOL_TYPES[FINISH_MILL];
    const int64_t r = tool.diameter / 2;
    const int64_t hole = m_rng.Steps(7 * MM, 15 * MM, 500);  // radius
    const int64_t path = hole - r;
    const int64_t depth = m_rng.Steps(4 * MM, std::min<int64_t>(15 * MM, m_thickness - 5 * MM), 500);
    const int64_t pitch = m_rng.Steps(1 * MM, 2500, 500);
    const bool ccw = m_rng.Chance(70);
    const int64_t xr = HalfWidth() - hole - 5 * MM, yr = HalfHeight() - hole - 5 * MM;

    Describe("HELICAL BORES", "\xC2\xDD\xD0\xFD\xCF\xB3\xBF\xD7", depth);  // 螺旋铣孔
    for (int64_t n = m_rng.Range(1, 4), i = 0; i < n && !m_out.Ended(); ++i) {
        const int64_t cx = m_rng.Steps(-xr, xr, 500), cy = m_rng.Steps(-yr, yr, 500);
        if (i == 0) {
            Approach(FINISH_MILL, cx, cy);
        } else {
            Retract();
            Move(0, cx, cy, KEEP, 0);
        }
        Move(0, KEEP, KEEP, 1 * MM, 0);
        Move(1, cx + path, cy, KEEP, tool.feed);
        bool far = true;  // the next half turn ends on the far side of the centre
        for (int64_t z = m_z, flat = 2; flat > 0 && !m_out.Ended(); far = !far) {
            if (z > -depth)
                z = std::max(z - pitch / 2, -depth);
            else
                --flat;
            Arc(ccw, far ? cx - path : cx + path, cy, z, cx, cy, 0, tool.feed);
        }
        Move(1, cx, cy, KEEP, tool.feed);
        Retract();
    }
}

// 3-D finishing of a bowl-shaped cavity with the ball mill: zig-zag rows,
// along X or at 45 degrees, a point every step along a row.  Where the row
// runs over the flat top face only the ends of the flat stretch are written,
// as CAM systems merge collinear points.
void Generator::Surface()
{
    const ToolType& tool = TOOL_TYPES[BALL_MILL];
    const int64_t w = m_rng.Steps(40 * MM, m_width * 70 / 100, MM);
    const int64_t h = m_rng.Steps(30 * MM, m_height * 70 / 100, MM);
    const int64_t xr = HalfWidth() - 5 * MM - w / 2, yr = HalfHeight() - 5 * MM - h / 2;
    const int64_t ox = m_rng.Steps(-xr, xr, 500), oy = m_rng.Steps(-yr, yr, 500);
    const Rect area = {ox - w / 2, oy - h / 2, ox + w / 2, oy + h / 2};
    const Bowl bowl = {ox, oy, w / 2 - 3 * MM, h / 2 - 3 * MM,
                       m_rng.Steps(3 * MM, std::min<int64_t>(12 * MM, m_thickness / 2), 500)};
    const int64_t dx = m_rng.Steps(500, 1000, 100);
    const int64_t stepover = m_rng.Steps(300, 800, 100);
    const bool diagonal = m_rng.Chance(50);
    const int64_t wordStyle = m_rng.Range(0, 9);

    Describe("3D FINISH RASTER", "\xC7\xFA\xC3\xE6\xBE\xAB\xBC\xD3\xB9\xA4", bowl.depth);  // 曲面精加工
    // Rows are lines y = x + c at 45 degrees, or y = c along X.
    const int64_t cStep = diagonal ? stepover * 1414 / 1000 : stepover;
    const int64_t cFirst = diagonal ? area.y0 - area.x1 : area.y0;
    const int64_t cLast = diagonal ? area.y1 - area.x0 : area.y1;
    bool started = false, forward = true;
    int row = 0;
    for (int64_t c = cFirst; !m_out.Ended(); c = std::min(c + cStep, cLast)) {
        const int64_t xa = diagonal ? std::max(area.x0, area.y0 - c) : area.x0;
        const int64_t xb = diagonal ? std::min(area.x1, area.y1 - c) : area.x1;
        if (xb > xa) {
            const int64_t points = (xb - xa + dx - 1) / dx;  // the last step may be shorter
            auto pointX = [&](int64_t i) {
                const int64_t x = std::min(xa + i * dx, xb);
                return forward ? x : xa + xb - x;
            };
            auto pointY = [&](int64_t x) { return diagonal ? x + c : c; };
            ++row;
            int64_t zPrev = 0, z = bowl.Z(pointX(0), pointY(pointX(0)));
            for (int64_t i = 0; i <= points && !m_out.Ended(); ++i) {
                const int64_t x = pointX(i), y = pointY(x);
                const int64_t zNext = i < points ? bowl.Z(pointX(i + 1), pointY(pointX(i + 1))) : z;
                if (!started) {
                    Approach(BALL_MILL, x, y);
                    Move(0, KEEP, KEEP, 1 * MM, 0);
                    Move(1, KEEP, KEEP, z, tool.plunge);
                    started = true;
                    m_allAxes = wordStyle >= 1;
                    m_feedEveryLine = wordStyle >= 2;
                } else if (i == 0 || i == points || z != zPrev || zNext != z) {
                    Move(1, x, y, z, tool.feed, i == 0 && row % 25 == 0 ? "NEXT ROW" : "");
                }
                zPrev = z;
                z = zNext;
            }
            forward = !forward;
        }
        if (c >= cLast)
            break;
    }
    m_allAxes = false;
    m_feedEveryLine = false;
    Retract();
}

void Generator::Holes()
{
    const int64_t pitchX = m_rng.Steps(10 * MM, 25 * MM, 500), pitchY = m_rng.Steps(10 * MM, 25 * MM, 500);
    const int64_t nx = std::min<int64_t>(m_rng.Range(1, 5), (m_width - 16 * MM) / pitchX + 1);
    const int64_t ny = std::min<int64_t>(m_rng.Range(1, 3), (m_height - 16 * MM) / pitchY + 1);
    const int64_t xr = HalfWidth() - 8 * MM - (nx - 1) * pitchX / 2;
    const int64_t yr = HalfHeight() - 8 * MM - (ny - 1) * pitchY / 2;
    const int64_t x0 = m_rng.Steps(-xr, xr, 500) - (nx - 1) * pitchX / 2;
    const int64_t y0 = m_rng.Steps(-yr, yr, 500) - (ny - 1) * pitchY / 2;
    std::vector<Point> holes;  // row by row, every other row backwards
    for (int64_t j = 0; j < ny; ++j)
        for (int64_t i = 0; i < nx; ++i)
            holes.push_back({x0 + (j % 2 ? nx - 1 - i : i) * pitchX, y0 + j * pitchY});
    const int64_t depth = m_rng.Steps(6 * MM, std::min<int64_t>(25 * MM, m_thickness), 500);
    const bool peck = depth > 10 * MM && m_rng.Chance(60);

    if (m_rng.Chance(70)) {
        Describe("SPOT DRILL", "\xB6\xA8\xD0\xC4\xD7\xEA", 1500);  // 定心钻
        Drill(SPOT_DRILL, holes, 1500, 0, m_rng.Chance(40));
    }
    Describe("DRILL 8.5 DIA", "\xD7\xEA\xBF\xD7", depth);  // 钻孔
    Drill(DRILL, holes, depth, peck ? 3 * MM : 0, m_rng.Chance(40));
}

// Drilling by hand-written moves rather than canned cycles: down at the
// drilling feed (in pecks, clearing the chips at the retract plane), up in
// rapid, across to the next hole at the retract plane.
void Generator::Drill(ToolKind kind, const std::vector<Point>& holes, int64_t depth, int64_t peck, bool incremental)
{
    const ToolType& tool = TOOL_TYPES[kind];
    const int64_t plane = 2 * MM;
    Approach(kind, holes[0].x, holes[0].y);
    Move(0, KEEP, KEEP, plane, 0);
    if (incremental)
        Absolute(false);
    for (std::size_t i = 0; i < holes.size() && !m_out.Ended(); ++i) {
        Move(0, holes[i].x, holes[i].y, KEEP, 0);
        if (peck > 0) {
            for (int64_t bottom = 0; bottom > -depth;) {
                if (bottom < 0)
                    Move(0, KEEP, KEEP, bottom + 500, 0);
                bottom = std::max(bottom - peck, -depth);
                Move(1, KEEP, KEEP, bottom, tool.plunge);
                Move(0, KEEP, KEEP, plane, 0);
            }
        } else {
            Move(1, KEEP, KEEP, -depth, tool.plunge);
            Move(0, KEEP, KEEP, plane, 0);
        }
    }
    if (incremental)
        Absolute(true);
    Retract();
}

// A small chamfer along the profile's top edge, or along the stock's edge
// when this part had no profile.
void Generator::Chamfer()
{
    const int64_t offset = 2 * MM;  // from the edge to where the chamfer mill's tip runs
    const Rect edge = m_haveProfile ? m_profile : Rect{-HalfWidth(), -HalfHeight(), HalfWidth(), HalfHeight()};
    const int64_t corner = m_haveProfile ? m_profileRadius : 0;
    const Rect path = Grow(edge, offset);
    const int64_t depth = m_rng.Steps(1 * MM, 2 * MM, 500);
    const int64_t leadY = path.y0 - 5 * MM;
    ContourStyle style;
    style.ccw = m_rng.Chance(50);
    style.useR = m_rng.Chance(50);

    Describe("CHAMFER TOP EDGE", "\xB5\xB9\xBD\xC7", depth);  // 倒角
    Approach(CHAMFER_MILL, (path.x0 + path.x1) / 2, leadY);
    Contour(path, corner + offset, leadY, depth, depth, style);
    Retract();
}

}  // namespace

bool GenerateNc(const NcGenOptions& options, const NcSink& sink)
{
    if (options.eol < NCGEN_EOL_DOS || options.eol > NCGEN_EOL_MAC)
        return false;
    ProgramOutput out(options, sink);
    Generator(options.seed, out).Run();
    return out.Finish();
}

bool GenerateNc(const NcGenOptions& options, std::FILE* out)
{
    const bool written = GenerateNc(options, [out](const char* data, std::size_t size) {
        return std::fwrite(data, 1, size, out) == size;
    });
    return std::fflush(out) == 0 && written;
}

std::string GenerateNcString(const NcGenOptions& options)
{
    std::string text;
    if (options.lines == 0)
        text.reserve(std::min<uint64_t>(options.bytes, uint64_t(1) << 30) + 128);
    GenerateNc(options, [&text](const char* data, std::size_t size) {
        text.append(data, size);
        return true;
    });
    return text;
}

std::string GenerateNcLine(uint64_t bytes, uint64_t seed)
{
    NcGenOptions options;
    // Each line end of the program becomes one byte: ask for enough.
    options.bytes = bytes + bytes / 8 + 4096;
    options.seed = seed;
    const std::string program = GenerateNcString(options);
    std::string line;
    line.reserve(std::min<uint64_t>(options.bytes, uint64_t(1) << 30));
    std::size_t begin = 0;
    for (uint64_t count = 1; begin < program.size() && line.size() < bytes; ++count) {
        std::size_t end = program.find("\r\n", begin);
        if (end == std::string::npos)
            end = program.size();
        std::string_view text(program.data() + begin, end - begin);
        begin = end + 2;
        if (!line.empty())
            line += count % 500 == 0 ? '\t' : ' ';
        const std::size_t note = text.find(';');
        line.append(text.substr(0, note));
        if (note != std::string_view::npos) {
            line += '(';
            for (char c : text.substr(note + 1))
                if (c != ')')
                    line += c;
            line += ')';
        }
    }
    return line;
}
