// CSimControlDlg: the modeless "仿真控制" dialog of a simulation view - a
// speed slider and Start, Pause/Continue and Close.  It only posts
// SimControlEvents to its view, which does the playing.  The view owns the
// dialog's lifetime: one dialog per view, gone when it is closed or when
// the view goes; each side watches the other through a QPointer.
#pragma once

#include <QPointer>
#include <cstdint>

#include "CSkinDialog.h"

class CSimView;
class QPushButton;
class QSlider;

class CSimControlDlg : public CSkinDialog
{
    Q_OBJECT

public:
    // The slider's range: the view steps a record every 200 minus the
    // position milliseconds.
    static constexpr int kMinPosition = 1;
    static constexpr int kMaxPosition = 200;

    // A window of its own over parent, posting to view.
    CSimControlDlg(CSimView* view, QWidget* parent);

    // The slider position read at the last button press.
    int32_t LastPosition() const { return m_lastPosition; }

    // Close and the window's close button end the dialog as a cancel, and
    // so does Esc: every way out leaves simulation mode.
    void reject() override;

private:
    void OnInitDialog();
    void OnStart();
    void OnPauseContinue();
    void PostToView(int32_t command, int32_t position);

    QSlider* m_slider = nullptr;
    QPushButton* m_pauseButton = nullptr;
    int32_t m_lastPosition = kMaxPosition;
    QPointer<CSimView> m_pView;
};
