// The loader hands each block's lines to a worker thread, which interprets
// them in order while the loader reads the next block.  The line texts stay
// where the buffer put them, so only (text, length) pairs cross the threads.
// A stopped or failed load abandons the lines not yet interpreted.
#include "LoadAndInterpret.h"

#include <atomic>
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
    InterpretingListener(NcInterpreter& interpreter, const LoadProgress& progress)
        : m_interpreter(interpreter), m_progress(progress), m_worker([this] { Work(); })
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

    bool ContinueLoading(uint64_t bytesRead, uint64_t fileSize) override
    {
        return !m_progress || m_progress(bytesRead, fileSize);
    }

    void LoadFailed() override { Finish(true); }

    // Waits until every line handed over so far is interpreted, or, when
    // abandoning, only until the worker has stopped.
    void Finish(bool abandon = false)
    {
        if (!m_worker.joinable())
            return;
        {
            const std::lock_guard lock(m_mutex);
            m_closed = true;
            if (abandon) {
                m_batches.clear();
                m_abandoned = true;
            }
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
            for (size_t i = 0; i < batch.size(); ++i) {
                // A look now and then: a block is some 100,000 lines.
                if (i % 4096 == 0 && m_abandoned)
                    return;
                m_interpreter.InterpretLine(batch[i].text, batch[i].length, line++);
            }
        }
        m_interpreter.FinishRun();
    }

    NcInterpreter& m_interpreter;
    const LoadProgress& m_progress;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<LineSpan>> m_batches;
    bool m_closed = false;
    std::atomic<bool> m_abandoned = false;
    std::thread m_worker;  // last: starts once everything above exists
};

}  // namespace

bool LoadAndInterpret(const char* path, CTextBuffer& buffer, NcInterpreter& interpreter,
                      const LoadProgress& progress)
{
    InterpretingListener listener(interpreter, progress);
    const bool loaded = buffer.LoadFile(path, EOL_AUTO, &listener);
    listener.Finish(!loaded);
    // Run interprets nothing for a buffer without lines; a load never leaves
    // one, but a failed load leaves nothing worth keeping.
    if (!loaded || buffer.LineCount() < 1)
        interpreter.Reset();
    return loaded;
}
