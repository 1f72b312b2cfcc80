// Test programs that drive the skinned dialogs run twice: as the program
// shows them, and once more with TORNEL_TEST_PLAIN_DIALOGS set, without the
// skin, to show that the dialogs work the same either way.
#pragma once

#include <QtGlobal>

#include "CSkinDialog.h"

inline void UsePlainDialogsWhenAsked()
{
    if (qEnvironmentVariableIsSet("TORNEL_TEST_PLAIN_DIALOGS"))
        CSkinDialog::SetSkinEnabled(false);
}
