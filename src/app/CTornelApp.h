// The application: start-up with the splash and its pause, the main frame,
// the About box.
#pragma once

#include <memory>

#include "CWinApp.h"

class CMainFrame;
class QTranslator;

class CTornelApp : public CWinApp
{
public:
    CTornelApp();
    ~CTornelApp() override;

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

private:
    // Qt's texts in language ("zh_CN"), when its translations are installed.
    void LoadQtTranslations(const QString& language);

    std::unique_ptr<QTranslator> m_qtTranslator;
};
