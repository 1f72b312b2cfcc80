// A view that records every notification it receives, for the buffer tests.
#pragma once

#include <string>
#include <vector>

#include "CTextBuffer.h"

struct Notification
{
    CTextBufferListener* source;
    bool hasAdjuster;
    TextPos adjStart;
    TextPos adjEnd;
    uint32_t hints;
    int line;
};

class RecordingView : public CTextBufferListener
{
public:
    void OnBufferChanged(CTextBufferListener* source, const EditAdjuster* adjuster, uint32_t hints,
                         int line) override
    {
        Notification n{source, adjuster != nullptr, {}, {}, hints, line};
        if (adjuster) {
            n.adjStart = adjuster->m_start;
            n.adjEnd = adjuster->m_end;
            adjuster->AdjustPoint(caret);
        }
        log.push_back(n);
        if (order)
            order->push_back(this);
    }
    void OnEditAction(int action, std::string_view text) override
    {
        actions.push_back({action, std::string(text)});
    }

    std::vector<Notification> log;
    std::vector<std::pair<int, std::string>> actions;
    std::vector<RecordingView*>* order = nullptr;
    TextPos caret;  // a position this view keeps, moved by the adjusters
};

// The whole text as one string with CR LF between lines.
inline std::string AllText(const CTextBuffer& buffer)
{
    std::string text;
    const int last = buffer.LineCount() - 1;
    buffer.CopyText(0, 0, last, buffer.LineLength(last), text);
    return text;
}
