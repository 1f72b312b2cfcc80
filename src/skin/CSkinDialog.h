// CSkinDialog: the base of the program's skinned dialogs (About, simulation
// control, send, receive, port settings).  At its first showing a dialog
// loads the skin and takes the skinned frame; when the skin cannot be
// loaded it keeps the system's frame.  Its controls and commands are the
// same either way.
#pragma once

#include <QDialog>
#include <QRect>
#include <memory>
#include <vector>

#include "CButtonSkin.h"
#include "CSkinButton.h"
#include "CSkinFrame.h"
#include "DialogFont.h"

class CSkinDialog : public QDialog
{
public:
    using QDialog::QDialog;

    // Whether dialogs shown from now on take the skin; on by default.
    // Tests turn it off to run the plain dialogs.
    static void SetSkinEnabled(bool enabled);
    static bool IsSkinEnabled();

    // The client area in the dialog's coordinates: all of it without the
    // skin, inside the frame's borders with it.
    QRect ClientRect() const;
    // Whether the skinned frame is in place.
    bool IsSkinned() const { return m_frame.IsHooked() && m_frame.IsLoaded(); }
    CSkinFrame& Frame() { return m_frame; }

    void setVisible(bool visible) override;

protected:
    // Loads the skin and attaches the frame before the dialog is first
    // shown, and skins its push buttons.
    void OnInitSkin();

private:
    CSkinFrame m_frame;
    CButtonSkin m_buttonSkin;  // shared by the skinned buttons below
    std::vector<std::unique_ptr<CSkinButton>> m_skinButtons;
    bool m_bFirstInit = true;
};
