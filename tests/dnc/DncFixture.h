// The transfer tests' fixture: message boxes recorded and answered, no
// settings files or "Temp.txt" left from another test in the working
// folder, and the settings files written to use a pseudo-terminal.
#pragma once

#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <vector>

#include "AfxMessageBox.h"
#include "PortSettings.h"
#include "PtyMachine.h"
#include "QtTestHelpers.h"

class DncTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"SendSetting.txt", "ReceiveSetting.txt", "Temp.txt"})
            QFile::remove(QString::fromLatin1(name));
        SetMessageBoxHook([this](const QString& text, unsigned) {
            messages.push_back(text);
            return answer;
        });
    }
    void TearDown() override { SetMessageBoxHook({}); }

    // Stores settings of kind on the machine's line.
    PortSettings UseMachine(TransferKind kind, PortSettings settings = PortSettings())
    {
        settings.port = machine.Path();
        QString error;
        EXPECT_TRUE(SaveSettingsFile(settings, kind, error)) << error.toStdString();
        return settings;
    }

    PtyMachine machine;
    std::vector<QString> messages;
    int answer = IDOK;
};
