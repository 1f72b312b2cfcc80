// WM_SIMCONTROL: what the simulation control dialog asks of its view, as an
// event posted to the view, so that the view acts on it after the dialog's
// handler has returned and the dialog never touches the view's data.
#pragma once

#include <QEvent>
#include <cstdint>

class SimControlEvent : public QEvent
{
public:
    // The command: pause, continue from the current record, start from the
    // first record; any other value (the dialog sends kLeave) leaves
    // simulation mode.
    enum : int32_t
    {
        kPause = 0,
        kContinue = 1,
        kStart = 2,
        kLeave = -1,
    };

    // The event type, registered once for the program.
    static QEvent::Type Type()
    {
        static const QEvent::Type type = QEvent::Type(QEvent::registerEventType(QEvent::User + 1));
        return type;
    }

    // position: the speed slider's position, 1 to 200.
    SimControlEvent(int32_t command, int32_t position) : QEvent(Type()), m_command(command), m_position(position) {}

    int32_t Command() const { return m_command; }
    int32_t Position() const { return m_position; }

private:
    int32_t m_command;
    int32_t m_position;
};
