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
    // Without either skin the dialog keeps the system's frame and ordinary
    // buttons.
    if (!m_frame.LoadSkin(QStringLiteral("skin/neostyle/theme.ini")) || !m_buttonSkin.Load())
        return;
    m_frame.AttachToWindow(this);
    SkinPushButtons(this, &m_buttonSkin, m_skinButtons);
}
