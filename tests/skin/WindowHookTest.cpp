// Hooks on a widget: the order in which a chain sees events, Default down to
// the widget's own handler, and hooks leaving with their widget.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "CWindowHook.h"

namespace {

using Log = std::vector<std::string>;

const QEvent::Type kProbe = QEvent::Type(QEvent::User + 7);

// A widget whose own handler notes the probe events it receives.
class Watched : public QWidget
{
public:
    explicit Watched(Log* log) : m_log(log) {}

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == kProbe) {
            m_log->push_back("widget");
            return true;
        }
        return QWidget::event(event);
    }

private:
    Log* m_log;
};

// Notes probe events before and after passing them on; swallows them when
// told to.
class Probe : public CWindowHook
{
public:
    Probe(std::string name, Log* log) : m_name(std::move(name)), m_log(log) {}
    bool swallow = false;

protected:
    bool WindowProc(QEvent* event) override
    {
        if (event->type() != kProbe)
            return Default();
        m_log->push_back(m_name + " in");
        if (swallow)
            return true;
        const bool result = Default();
        m_log->push_back(m_name + " out");
        return result;
    }

private:
    std::string m_name;
    Log* m_log;
};

void SendProbe(QWidget* widget)
{
    QEvent probe(kProbe);
    QCoreApplication::sendEvent(widget, &probe);
}

TEST(WindowHook, TheLaterHookSeesEachEventFirstAndDefaultGoesDownToTheWidget)
{
    Log log;
    Watched widget(&log);
    Probe earlier("earlier", &log), later("later", &log);
    earlier.HookWindow(&widget);
    later.HookWindow(&widget);
    SendProbe(&widget);
    EXPECT_EQ(log, (Log{"later in", "earlier in", "widget", "earlier out", "later out"}));

    // A hook that handles an event itself keeps it from those below.
    log.clear();
    later.swallow = true;
    SendProbe(&widget);
    EXPECT_EQ(log, (Log{"later in"}));

    // Detaching the later one leaves the earlier one alone in the chain.
    log.clear();
    later.HookWindow(nullptr);
    EXPECT_FALSE(later.IsHooked());
    SendProbe(&widget);
    EXPECT_EQ(log, (Log{"earlier in", "widget", "earlier out"}));

    // The last hook gone, the widget has its events to itself again.
    log.clear();
    earlier.HookWindow(nullptr);
    SendProbe(&widget);
    EXPECT_EQ(log, (Log{"widget"}));
}

TEST(WindowHook, AHookInTheMiddleLeavesTheChainWhole)
{
    Log log;
    Watched widget(&log);
    Probe first("first", &log), middle("middle", &log), last("last", &log);
    first.HookWindow(&widget);
    middle.HookWindow(&widget);
    last.HookWindow(&widget);
    middle.HookWindow(nullptr);
    SendProbe(&widget);
    EXPECT_EQ(log, (Log{"last in", "first in", "widget", "first out", "last out"}));
}

TEST(WindowHook, HookingAnotherWidgetMovesTheHook)
{
    Log log;
    Watched one(&log), other(&log);
    Probe probe("probe", &log);
    probe.HookWindow(&one);
    probe.HookWindow(&other);
    EXPECT_EQ(probe.HookedWindow(), &other);
    SendProbe(&one);
    EXPECT_EQ(log, (Log{"widget"}));
    log.clear();
    SendProbe(&other);
    EXPECT_EQ(log, (Log{"probe in", "widget", "probe out"}));
}

TEST(WindowHook, EveryHookLeavesWithItsWidget)
{
    Log log;
    auto widget = std::make_unique<Watched>(&log);
    Probe earlier("earlier", &log), later("later", &log);
    earlier.HookWindow(widget.get());
    later.HookWindow(widget.get());
    widget.reset();
    EXPECT_FALSE(earlier.IsHooked());
    EXPECT_FALSE(later.IsHooked());
    EXPECT_EQ(earlier.HookedWindow(), nullptr);

    // Both hooks can watch a new widget, and neither brings the old one's
    // chain along.
    Watched fresh(&log);
    earlier.HookWindow(&fresh);
    SendProbe(&fresh);
    EXPECT_EQ(log, (Log{"earlier in", "widget", "earlier out"}));
}

// A hook whose widget goes while the hook handles one of its events.
class Destroyer : public CWindowHook
{
public:
    std::unique_ptr<QWidget> owned;

protected:
    bool WindowProc(QEvent* event) override
    {
        if (event->type() == kProbe) {
            owned.reset();
            return Default();
        }
        return Default();
    }
};

TEST(WindowHook, AWidgetDestroyedWhileAHookHandlesItsEventEndsTheChainSafely)
{
    Log log;
    Destroyer destroyer;
    auto* widget = new Watched(&log);
    destroyer.owned.reset(widget);
    destroyer.HookWindow(widget);
    SendProbe(widget);  // run under the address sanitizer, this must stay clean
    EXPECT_FALSE(destroyer.IsHooked());
    EXPECT_TRUE(log.empty());
}

}  // namespace
