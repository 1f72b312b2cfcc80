// The loader hands each block's lines to a worker thread, which interprets
// them in order while the loader reads the next block.  The line texts stay
// where the buffer put them, so only (text, length) pairs cross the threads.
#include "LoadAndInterpret.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "CTextBuffer.h"
#include "NcInterpreter.h"

namespace {

struct LineSpan
{
    const char* text;
    int length;
};

class InterpretingListener final : public CTextBuffer::LoadListener
{
public:
    explicit InterpretingListener(NcInterpreter& interpreter)
        : m_interpreter(interpreter), m_worker([this] { Work(); })
    {
    }

    ~InterpretingListener() { Finish(); }

    void LinesLoaded(const CTextBuffer::TextLine* lines, size_t count) override
    {
        std::vector<LineSpan> batch(count);
        for (size_t i = 0; i < count; ++i)
            batch[i] = LineSpan{lines[i].text, lines[i].length};
        {
            const std::lock_guard lock(m_mutex);
            m_batches.push_back(std::move(batch));
        }
        m_changed.notify_one();
    }

    // Waits until every line handed over so far is interpreted.
    void Finish()
    {
        if (!m_worker.joinable())
            return;
        {
            const std::lock_guard lock(m_mutex);
            m_closed = true;
        }
        m_changed.notify_one();
        m_worker.join();
    }

private:
    void Work()
    {
        m_interpreter.Reset();
        int line = 0;
        for (;;) {
            std::vector<LineSpan> batch;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return !m_batches.empty() || m_closed; });
                if (m_batches.empty())
                    break;
                batch = std::move(m_batches.front());
                m_batches.pop_front();
            }
            for (const LineSpan& span : batch)
                m_interpreter.InterpretLine(span.text, span.length, line++);
        }
        m_interpreter.FinishRun();
    }

    NcInterpreter& m_interpreter;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<LineSpan>> m_batches;
    bool m_closed = false;
    std::thread m_worker;  // last: starts once everything above exists
};

}  // namespace

bool LoadAndInterpret(const char* path, CTextBuffer& buffer, NcInterpreter& interpreter)
{
    InterpretingListener listener(interpreter);
    const bool loaded = buffer.LoadFile(path, EOL_AUTO, &listener);
    listener.Finish();
    // Run interprets nothing for a buffer without lines; a load never leaves
    // one, but a failed load leaves nothing worth keeping.
    if (!loaded || buffer.LineCount() < 1)
        interpreter.Reset();
    return loaded;
}
