// A started application with its main frame, for the shell tests.  Message
// boxes and file prompts are answered by the test; the profile starts empty.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <functional>
#include <ostream>
#include <QSettings>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

#include "AfxMessageBox.h"
#include "CWinApp.h"
#include "QtTestHelpers.h"
#include "ShellDoubles.h"

class ShellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Halvane"), QStringLiteral("Tornel"))
            .clear();
        RouteLog().clear();
        UseCatchAllView() = false;
        SetMessageBoxHook([this](const QString& text, unsigned) {
            messages.push_back(text);
            return answer;
        });
        SetFilePromptHook([this](const FilePrompt& prompt) {
            prompts.push_back(prompt);
            return promptAnswer;
        });
    }
    void TearDown() override
    {
        delete mainFrame;  // the document windows and documents go with it
        app.reset();
        SetMessageBoxHook({});
        SetFilePromptHook({});
    }

    // Starts the application as the program does, without the splash
    // unless asked for.
    bool Start(QStringList arguments = {QStringLiteral("--no-splash")})
    {
        app = std::make_unique<TestApp>();
        app->SetArguments(arguments);
        app->InstallEventFilter();
        const bool ok = app->InitInstance();
        mainFrame = dynamic_cast<TestMainFrame*>(app->m_pMainWnd);
        return ok;
    }
    void StartWithTemplate()
    {
        ASSERT_TRUE(Start());
        app->AddDocTemplate(MakeTestTemplate());
    }

    std::unique_ptr<TestApp> app;
    QPointer<TestMainFrame> mainFrame;
    std::vector<QString> messages;
    int answer = IDOK;
    std::vector<FilePrompt> prompts;
    QString promptAnswer;
};
