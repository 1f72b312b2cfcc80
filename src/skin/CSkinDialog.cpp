// The skinned dialogs: the skin is put on at the first showing, when the
// dialog's constructor has placed every control.
#include "CSkinDialog.h"

namespace {

bool g_skinEnabled = true;

}  // namespace

void CSkinDialog::SetSkinEnabled(bool enabled)
{
    g_skinEnabled = enabled;
}

bool CSkinDialog::IsSkinEnabled()
{
    return g_skinEnabled;
}

QRect CSkinDialog::ClientRect() const
{
    return IsSkinned() ? m_frame.ClientRect() : rect();
}

void CSkinDialog::setVisible(bool visible)
{
    // Before the window is made: the frame changes the window's flags.
    if (visible && m_bFirstInit)
        OnInitSkin();
    QDialog::setVisible(visible);
}

void CSkinDialog::OnInitSkin()
{
    m_bFirstInit = false;
    if (!g_skinEnabled)
        return;
    if (!m_frame.LoadSkin(QStringLiteral("skin/neostyle/theme.ini")))
        return;
    m_frame.AttachToWindow(this);
    // The push buttons become skinned buttons here, once the button skin
    // is part of the program.
}
