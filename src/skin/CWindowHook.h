// CWindowHook: watches the events of one widget without deriving from its
// class.  Any number of hooks may watch the same widget; they form a chain
// in which the hook attached last sees each event first.  A hook handles an
// event in WindowProc and passes it on with Default, which hands it to the
// next hook of the chain and, past the last one, to the widget's own event
// handler.  Every hook of a widget is detached when the widget goes.
#pragma once

class QEvent;
class QWidget;

class CWindowHook
{
public:
    CWindowHook() = default;
    virtual ~CWindowHook();
    CWindowHook(const CWindowHook&) = delete;
    CWindowHook& operator=(const CWindowHook&) = delete;

    // Attaches this hook to window at the head of its chain, detaching it
    // first from any widget it watched; a null window only detaches.
    void HookWindow(QWidget* window);
    bool IsHooked() const { return m_pWndHooked != nullptr; }
    QWidget* HookedWindow() const { return m_pWndHooked; }

protected:
    // Sees each event of the hooked widget.  Returns what the widget's event
    // handler returns: whether the event was recognised.  The event never
    // reaches the widget unless this, or a later Default, passes it on.
    virtual bool WindowProc(QEvent* event);
    // Passes the event being handled on down the chain: to the next hook,
    // or to the widget itself.  Only valid inside WindowProc.
    bool Default();

private:
    friend class HookChain;

    QWidget* m_pWndHooked = nullptr;
    CWindowHook* m_pNext = nullptr;  // the next hook of the same widget
};
