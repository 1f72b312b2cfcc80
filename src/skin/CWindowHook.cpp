// The chain of hooks of one widget is an event filter of that widget, a
// child object of it so that it goes with the widget.  It delivers each
// event to the first hook and stops Qt's own delivery: the widget's event
// handler is reached only through Default.  Whether an unaccepted key or
// mouse event then travels on to the parent is Qt's business as usual; it
// looks at the event's accepted flag.
#include "CWindowHook.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

class HookChain : public QObject
{
public:
    explicit HookChain(QWidget* window) : QObject(window), m_window(window)
    {
        Chains().insert(window, this);
        window->installEventFilter(this);
    }

    ~HookChain() override
    {
        Chains().remove(m_window);
        // The widget is going (or its last hook left): no hook watches it any
        // longer, and nothing is put back into a widget that is half gone.
        for (CWindowHook* hook = m_first; hook != nullptr;) {
            CWindowHook* next = hook->m_pNext;
            hook->m_pWndHooked = nullptr;
            hook->m_pNext = nullptr;
            hook = next;
        }
    }

    static QHash<QWidget*, HookChain*>& Chains()
    {
        static QHash<QWidget*, HookChain*> chains;
        return chains;
    }

    static HookChain* Find(QWidget* window) { return Chains().value(window, nullptr); }

    void Push(CWindowHook* hook)
    {
        hook->m_pNext = m_first;
        m_first = hook;
    }

    // Unlinks hook; true when the chain is left empty.
    bool Unlink(CWindowHook* hook)
    {
        for (CWindowHook** link = &m_first; *link != nullptr; link = &(*link)->m_pNext) {
            if (*link == hook) {
                *link = hook->m_pNext;
                break;
            }
        }
        // An event being handled that was about to reach this hook goes on
        // to the one after it.
        for (Handling& handling : m_handling) {
            if (handling.current == hook)
                handling.current = hook->m_pNext;
        }
        hook->m_pNext = nullptr;
        return m_first == nullptr;
    }

    bool Default(CWindowHook* caller)
    {
        if (m_handling.empty())
            return false;
        // The innermost event is the one the caller is handling.
        const std::size_t depth = m_handling.size() - 1;
        CWindowHook* next = caller->m_pNext;
        m_handling[depth].current = next;
        QPointer<HookChain> alive(this);
        const bool result = next != nullptr ? next->WindowProc(m_handling[depth].event) : Deliver(m_handling[depth].event);
        // The widget may have gone, and its chain with it, while it handled
        // the event.
        if (alive && depth < m_handling.size())
            m_handling[depth].current = caller;
        return result;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_window || m_first == nullptr)
            return false;
        m_handling.push_back({event, m_first});
        QPointer<HookChain> alive(this);
        m_first->WindowProc(event);
        if (alive)
            m_handling.pop_back();
        return true;
    }

private:
    struct Handling
    {
        QEvent* event;
        CWindowHook* current;
    };

    // The widget's own handler; QObject::event is public, QWidget's override
    // is reached through it.
    bool Deliver(QEvent* event) { return static_cast<QObject*>(m_window)->event(event); }

    QWidget* m_window;
    CWindowHook* m_first = nullptr;
    std::vector<Handling> m_handling;
};

CWindowHook::~CWindowHook()
{
    HookWindow(nullptr);
}

void CWindowHook::HookWindow(QWidget* window)
{
    if (m_pWndHooked != nullptr) {
        HookChain* chain = HookChain::Find(m_pWndHooked);
        m_pWndHooked = nullptr;
        if (chain != nullptr && chain->Unlink(this))
            delete chain;
    }
    if (window == nullptr)
        return;
    HookChain* chain = HookChain::Find(window);
    if (chain == nullptr)
        chain = new HookChain(window);
    chain->Push(this);
    m_pWndHooked = window;
}

bool CWindowHook::WindowProc(QEvent*)
{
    return Default();
}

bool CWindowHook::Default()
{
    HookChain* chain = m_pWndHooked != nullptr ? HookChain::Find(m_pWndHooked) : nullptr;
    return chain != nullptr && chain->Default(this);
}
