// Work on a second thread with the event loop running meanwhile.
#include "BackgroundTask.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <thread>
#include <vector>

#include "CFrameWnd.h"
#include "CWinApp.h"
#include "Resources.h"
#include "FrameworkIds.h"

namespace {

// How often the message pane follows the work.
constexpr int kProgressPeriodMs = 100;

// The running tasks, innermost last: Esc stops the innermost.
std::vector<TaskProgress*>& Running()
{
    static std::vector<TaskProgress*> running;
    return running;
}

std::vector<std::function<void()>>& WhenIdle()
{
    static std::vector<std::function<void()>> actions;
    return actions;
}

void ShowMessage(const QString& text)
{
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd)
        app->m_pMainWnd->SetMessageText(text);
}

// Takes Esc while a task runs, wherever the focus is.
class EscapeFilter : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (Running().empty())
            return false;
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::KeyRelease)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        if (type == QEvent::KeyPress)
            Running().back()->Cancel();
        return true;
    }
};

}  // namespace

int TaskProgress::Percent() const
{
    const uint64_t total = m_total, done = m_done;
    if (total == 0)
        return 0;
    return int(std::min<uint64_t>(done, total) * 100 / total);
}

TaskResult RunInBackground(const QString& what, const std::function<bool(TaskProgress&)>& work)
{
    static EscapeFilter escape;
    TaskProgress progress;
    if (Running().empty())
        qApp->installEventFilter(&escape);
    Running().push_back(&progress);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);

    QEventLoop loop;
    std::atomic<bool> finished = false;
    bool ok = false;
    QTimer report;
    const auto show = [&] {
        ShowMessage(QStringLiteral("%1：%2%（按 Esc 取消）").arg(what).arg(progress.Percent()));
    };
    QObject::connect(&report, &QTimer::timeout, show);
    show();
    report.start(kProgressPeriodMs);
    std::thread worker([&] {
        ok = work(progress);
        finished = true;
        // Queued: the loop may not have started yet, and the event waits
        // for it.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // A nested task's loop may take this loop's quit; only the end of the
    // work ends the wait.
    while (!finished)
        loop.exec();
    worker.join();
    report.stop();

    QGuiApplication::restoreOverrideCursor();
    Running().pop_back();
    if (Running().empty()) {
        qApp->removeEventFilter(&escape);
        ShowMessage(LoadResourceString(AFX_IDS_IDLEMESSAGE));
        std::vector<std::function<void()>> actions;
        actions.swap(WhenIdle());
        for (auto& action : actions)
            QTimer::singleShot(0, qApp, std::move(action));
    }
    if (ok)
        return TaskResult::Done;
    return progress.IsCancelled() ? TaskResult::Cancelled : TaskResult::Failed;
}

int BackgroundTaskCount()
{
    return int(Running().size());
}

void CancelBackgroundTasks(std::function<void()> then)
{
    if (Running().empty()) {
        if (then)
            then();
        return;
    }
    for (TaskProgress* progress : Running())
        progress->Cancel();
    if (then)
        WhenIdle().push_back(std::move(then));
}
