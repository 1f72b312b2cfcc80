// The application: start-up with the splash and its pause, the main frame,
// the About box.
#pragma once

#include "CWinApp.h"

class CMainFrame;

class CTornelApp : public CWinApp
{
public:
    CTornelApp();

    bool InitInstance() override;
    bool PreTranslateMessage(QObject* receiver, QEvent* event) override;
    QString GetOpenFilter() const override;

    void OnAppAbout();

    // The pause with the splash on screen.
    static constexpr int kSplashPauseMs = 2000;

    DECLARE_COMMAND_MAP()

protected:
    // Registers the document template.
    virtual void AddDocTemplates();
    // Makes the main frame; start-up loads it.
    virtual CMainFrame* NewMainFrame();
    // Blocks the thread for ms: nothing is handled meanwhile.
    virtual void Pause(int ms);
};
