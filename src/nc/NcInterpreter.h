// The NC interpreter: turns the lines of a program into the toolpath (one
// MoveRecord per line that changed the machine state), the tools it calls
// (one ToolSlot per distinct T number) and the machining statistics.
//
// It knows a small fixed subset of the language, G (0, 1, 2, 3, 90, 91), X, Y,
// Z, I, J, K, R, F and T, parenthesised and semicolon comments, and passes
// over everything else.  It does not tokenise: each line is walked byte by
// byte and a word is a single upper-case letter followed by its value, so
// "G01X10Y5F200" reads the same as "G01 X10 Y5 F200".  What it passes over
// that a control would act on (lower-case words, parameters, canned cycles,
// arcs it cannot place...) it counts as warnings, line by line.
//
// Circular records count the length of their arc (a helix when Z changes
// too) in the feed distance and the machining time; see ArcGeometry.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "MoveList.h"
#include "MoveRecord.h"
#include "MoveSink.h"
#include "NcWarnings.h"
#include "ToolSlot.h"

class NcInterpreter
{
public:
    NcInterpreter() { Reset(); }

    // Interprets every line of a text buffer (anything with LineCount,
    // LineChars and LineLength; a template so that the interpreter needs no
    // text buffer library).  Returns 1, or 0 for a buffer without lines,
    // after which everything is reset and empty.
    template <class LineSource>
    int Run(const LineSource& buffer)
    {
        Reset();
        const int lineCount = buffer.LineCount();
        if (lineCount < 1)
            return 0;
        for (int line = 0; line < lineCount; ++line)
            InterpretLine(buffer.LineChars(line), buffer.LineLength(line), line);
        FinishRun();
        return 1;
    }

    // Interprets one line: its bytes without the line separator, and its
    // zero-based index in the buffer.  Modal state and comment depth carry
    // over from the previous call.
    void InterpretLine(const char* text, int length, int lineIndex);

    // Back to the state of a new interpreter: no moves, tools, statistics or
    // warnings, position (0, 0, 0), straight feed moves at feed 1, absolute
    // mode, tool 0.
    void Reset();

    double FeedDistance() const
    {
        SumPendingLengths();
        return m_feedDistance;
    }
    double RapidDistance() const
    {
        SumPendingLengths();
        return m_rapidDistance;
    }
    // Sum of feed distance over feed, so in minutes when feeds are per minute.
    // Moves at a feed of zero or below add no time.
    double MachiningTime() const
    {
        SumPendingLengths();
        return m_machiningTime;
    }
    // The lines holding what the interpreter passed over but a control would
    // act on, outside comments.
    const NcWarnings& Warnings() const { return m_warnings; }

    // The records of the last run; empty when they went to a sink.
    const MoveList& Moves() const { return m_moves; }
    // Records the last run made, kept or handed to a sink.
    size_t MoveCount() const { return m_moveCount; }
    // Where the records of the runs to come go: kept in Moves() (null, as in
    // a new interpreter), or handed to sink as they are made and not kept.
    // Statistics, tools and warnings are the same either way.
    void SendMovesTo(MoveSink* sink) { m_moveSink = sink; }
    // The tool configuration edits these; the next run replaces them with
    // fresh slots holding only their numbers (see KeepToolDefinitions).
    std::vector<ToolSlot>& Tools() { return m_tools; }
    const std::vector<ToolSlot>& Tools() const { return m_tools; }
    // Distinct T numbers in order of first appearance.
    const std::vector<int32_t>& ToolNumbers() const { return m_toolNumbers; }

    // Ends a run made line by line (Reset, then InterpretLine for every line
    // in order, as Run does): makes one zeroed ToolSlot per T number.
    void FinishRun();

    // After a run: gives every slot the definition that the slot of the same
    // T number had in earlier (the tool list of a previous run, edited by the
    // user), so that re-reading a program keeps its tools.  Numbers the
    // program no longer calls are gone, new ones keep their zeroed slots,
    // and the order stays that of this run.
    void KeepToolDefinitions(const std::vector<ToolSlot>& earlier);

private:
    void RegisterTool(int32_t number);
    // Appends a record and queues its length for the statistics: the length
    // itself, or its square when squared.
    void AppendMove(const MoveRecord& record, ArcDirection direction, double length, bool squared);
    void SumPendingLengths() const;

    std::vector<int32_t> m_toolNumbers;
    // The statistics are summed a batch of records at a time, in program
    // order, so that they are exactly the sums record by record.  Summed
    // line by line, every line waited for its own square root and division
    // before the next could start; in a batch they overlap.  The getters sum
    // what is pending, hence mutable.
    struct PendingLength
    {
        double length;  // or its square
        float feed;
        bool squared;
        bool rapid;
    };
    static constexpr size_t kPendingLengths = 64;
    mutable std::array<PendingLength, kPendingLengths> m_pendingLengths;
    mutable size_t m_pendingCount = 0;
    mutable double m_feedDistance = 0.0;
    mutable double m_rapidDistance = 0.0;
    mutable double m_machiningTime = 0.0;
    NcWarnings m_warnings;
    MoveList m_moves;
    MoveSink* m_moveSink = nullptr;
    size_t m_moveCount = 0;
    std::vector<ToolSlot> m_tools;
    // Parentheses opened and not yet closed.  Only decides whether a whole
    // line is skipped.
    size_t m_commentDepth = 0;

    // Modal state.  The position is the last record's end, Y negated.
    int32_t m_tool = 0;
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    int32_t m_kind = 0;      // 0 straight, 1 circular
    ArcDirection m_direction = ARC_CLOCKWISE;  // of circular moves: the last G02 or G03
    float m_feed = 1.0f;
    int32_t m_absolute = 1;  // 1 absolute, 0 incremental
    int32_t m_rapid = 0;     // 1 rapid, 0 feed
};
