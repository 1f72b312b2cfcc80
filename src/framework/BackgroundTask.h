// Long work (reading a large file) on a thread of its own while the program
// stays alive: the event loop goes on, the main frame's message pane shows
// how far the work is, and Esc asks it to stop.
//
// The caller waits for the result as for any function call, so the code
// around it stays sequential; the price is that the program's events are
// handled meanwhile, one level down.  Whatever the work touches must not be
// reachable from those events: it should be an object nobody else sees yet
// (a document that is being opened has no window).
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>

// Between the work and the program: the work reports, the user cancels.
class TaskProgress
{
public:
    // From the work: done of total units (bytes, say) are done.
    void Report(uint64_t done, uint64_t total)
    {
        m_total = total;
        m_done = done;
    }
    // From the work: whether to stop as soon as it can.
    bool IsCancelled() const { return m_cancelled; }

    void Cancel() { m_cancelled = true; }
    // 0 to 100; 0 until something is reported.
    int Percent() const;

private:
    std::atomic<uint64_t> m_done = 0;
    std::atomic<uint64_t> m_total = 0;
    std::atomic<bool> m_cancelled = false;
};

enum class TaskResult
{
    Done,       // the work returned true
    Failed,     // the work returned false of its own accord
    Cancelled,  // the user stopped it (and the work returned false)
};

// Runs work on a second thread and returns its result once it has ended;
// meanwhile the program handles its events, the message pane says what
// ("正在打开 part.nc") with the percentage, the pointer shows that the
// program is busy, and Esc cancels.
TaskResult RunInBackground(const QString& what, const std::function<bool(TaskProgress&)>& work);

// How many RunInBackground calls are waiting for their work.
int BackgroundTaskCount();
// Asks every running work to stop, and calls then once none runs any more
// (at once when none runs).  Closing the program goes this way: the frames
// a work's caller relies on stay until it is done.
void CancelBackgroundTasks(std::function<void()> then);
