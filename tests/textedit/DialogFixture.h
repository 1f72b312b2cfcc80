// The code view of a real document with an application whose profile lives
// in the test's temporary folder, and a way to drive the modal dialog of a
// command through its controls.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "AfxMessageBox.h"
#include "CWinApp.h"
#include "CodeViewFixture.h"
#include "ids.h"

class DialogTest : public CodeViewTest
{
protected:
    void SetUp() override
    {
        app = std::make_unique<CWinApp>(QStringLiteral("Tornel"));
        app->SetRegistryKey(QStringLiteral("Halvane"));
        QFile::remove(app->ProfileFileName());
        app->SetRegistryKey(QStringLiteral("Halvane"));
        SetMessageBoxHook([this](const QString& text, unsigned) {
            messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHook({});
        CodeViewTest::TearDown();
        app.reset();
    }
    // Runs command id, whose modal dialog play drives; play closes it.
    void WithDialog(int id, const std::function<void(QDialog*)>& play)
    {
        bool played = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            this->dialog = dialog;
            played = true;
            play(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        Run(id);
        EXPECT_TRUE(played);
    }
    template <class T> T* Control(int id)
    {
        T* control = dialog->findChild<T*>(QStringLiteral("control%1").arg(id));
        EXPECT_TRUE(control) << id;
        return control;
    }
    void SetText(int id, const char* text) { Control<QLineEdit>(id)->setText(QString::fromUtf8(text)); }
    void Click(int id) { Control<QPushButton>(id)->click(); }
    TextPos SelStart()
    {
        TextPos start, end;
        view->GetSelection(start, end);
        return start;
    }
    TextPos SelEnd()
    {
        TextPos start, end;
        view->GetSelection(start, end);
        return end;
    }
    QVariant Profile(const char* key)
    {
        QSettings file(app->ProfileFileName(), QSettings::IniFormat);
        return file.value(QString::fromLatin1(key));
    }

    std::unique_ptr<CWinApp> app;
    QDialog* dialog = nullptr;
    std::vector<QString> messages;
};

