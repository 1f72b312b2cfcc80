// The program's one way to show a modal message.  Tests install a hook that
// records the text and answers, so that no test ever waits on a window.
#pragma once

#include <QString>
#include <functional>

enum : unsigned
{
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};

enum : int
{
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

// Shows text with the buttons of type and returns the button pressed.
int AfxMessageBox(const QString& text, unsigned type = MB_OK);

// Replaces the message box; an empty hook restores it.
using MessageBoxHook = std::function<int(const QString& text, unsigned type)>;
void SetMessageBoxHook(MessageBoxHook hook);
