// The real program started without its splash pause, under a display, with
// message boxes and file prompts answered by the test, and the panes of a
// document window at hand.
#pragma once

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

#include "AfxMessageBox.h"
#include "CChildFrame.h"
#include "CInfoView.h"
#include "CMainFrame.h"
#include "CSimView.h"
#include "CSplitterWnd.h"
#include "CTornelApp.h"
#include "CTornelDoc.h"
#include "CTornelView.h"
#include "QtTestHelpers.h"
#include "TempDir.h"
#include "ids.h"

// The program as it starts, without the splash's pause.
class QuickApp : public CTornelApp
{
protected:
    void Pause(int) override {}
};

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetMessageBoxHook([this](const QString& text, unsigned) {
            messages.push_back(text);
            return answer;
        });
        SetFilePromptHook([this](const FilePrompt& prompt) {
            prompts.push_back(prompt);
            return promptAnswer;
        });
        app = std::make_unique<QuickApp>();
        app->SetArguments({QStringLiteral("--no-splash")});
        ASSERT_TRUE(app->InitInstance());
        mainFrame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
        ASSERT_TRUE(mainFrame);
        mainFrame->resize(1000, 700);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(mainFrame));
    }
    void TearDown() override
    {
        delete mainFrame;
        app.reset();
        SetMessageBoxHook({});
        SetFilePromptHook({});
    }
    CChildFrame* Open(const std::string& name, const std::string& text)
    {
        const std::string path = dir.File(name);
        WriteBytes(path, text);
        if (!app->OpenDocumentFile(QString::fromStdString(path)))
            return nullptr;
        QCoreApplication::processEvents();
        return ActiveFrame();
    }
    // A small program in the window, which has the keyboard: keys reach the
    // main frame's accelerators.
    CChildFrame* OpenInActiveWindow()
    {
        CChildFrame* frame = Open("part.nc", "G00 X1\r\nG01 X5 F100");
        mainFrame->activateWindow();
        return frame && QTest::qWaitForWindowActive(mainFrame) ? frame : nullptr;
    }
    CChildFrame* ActiveFrame() const
    {
        return dynamic_cast<CChildFrame*>(mainFrame->MDIClient()->currentSubWindow());
    }
    static CTornelView* Code(CChildFrame* frame)
    {
        return dynamic_cast<CTornelView*>(frame->OuterSplitter()->GetPane(0, 0));
    }
    static CInfoView* Info(CChildFrame* frame)
    {
        return dynamic_cast<CInfoView*>(frame->InnerSplitter()->GetPane(0, 0));
    }
    static CSimView* Sim(CChildFrame* frame)
    {
        return dynamic_cast<CSimView*>(frame->InnerSplitter()->GetPane(1, 0));
    }
    static CTornelDoc* Doc(CChildFrame* frame) { return dynamic_cast<CTornelDoc*>(Code(frame)->GetDocument()); }

    TempDir dir;
    std::unique_ptr<QuickApp> app;
    CMainFrame* mainFrame = nullptr;
    std::vector<QString> messages;
    int answer = IDNO;
    std::vector<FilePrompt> prompts;
    QString promptAnswer;
};
