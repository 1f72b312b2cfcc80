// Every skinned dialog of the program, with the skin and without it: the
// buttons are clicked with the mouse where they are on screen, Esc cancels,
// and the controls keep to the client area.
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "AfxMessageBox.h"
#include "CAboutDlg.h"
#include "CPortSettingsDlg.h"
#include "CSkinButton.h"
#include "CSimControlDlg.h"
#include "QtTestHelpers.h"
#include "ids.h"

namespace {

class SkinnedDialogs : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        CSkinDialog::SetSkinEnabled(GetParam());
        SetMessageBoxHook([this](const QString& text, unsigned) {
            messages << text;
            return IDOK;
        });
    }
    void TearDown() override
    {
        CSkinDialog::SetSkinEnabled(true);
        SetMessageBoxHook({});
    }

    // Shows dialog and checks that it took the skin or not, as asked, and
    // that every push button lies in the client area.
    void Show(CSkinDialog* dialog)
    {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        EXPECT_EQ(dialog->IsSkinned(), GetParam());
        const QRect client = dialog->ClientRect();
        EXPECT_EQ(client, GetParam() ? dialog->rect().marginsRemoved(dialog->Frame().Borders()) : dialog->rect());
        // Real push buttons still, painted from the button skin with it.
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            EXPECT_TRUE(client.contains(button->geometry())) << button->text().toStdString();
            EXPECT_EQ(CSkinButton::FromButton(button) != nullptr, GetParam()) << button->text().toStdString();
        }
    }
    static QPushButton* Button(QWidget* dialog, int id)
    {
        return dialog->findChild<QPushButton*>(QStringLiteral("button%1").arg(id));
    }

    QStringList messages;
};

TEST_P(SkinnedDialogs, AboutBoxOkAcceptsAndEscCancels)
{
    CAboutDlg about;
    Show(&about);
    QTest::mouseClick(Button(&about, IDOK), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
    Show(&about);
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Rejected);
    // Esc pressed on the focused button, which leaves the key to the dialog.
    Show(&about);
    Button(&about, IDOK)->setFocus();
    QTest::keyClick(Button(&about, IDOK), Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Rejected);
}

TEST_P(SkinnedDialogs, SimulationControlButtonsWork)
{
    QPointer<CSimControlDlg> control = new CSimControlDlg(nullptr, nullptr);
    Show(control);
    QPushButton* pause = Button(control, IDC_SIMCTRL_PAUSE);
    EXPECT_FALSE(pause->isEnabled());
    QTest::mouseClick(Button(control, IDC_SIMCTRL_START), Qt::LeftButton);
    EXPECT_TRUE(pause->isEnabled());
    QTest::mouseClick(pause, Qt::LeftButton);
    EXPECT_EQ(pause->text(), QStringLiteral("继续"));
    QTest::mouseClick(Button(control, IDC_SIMCTRL_CLOSE), Qt::LeftButton);
    // It deletes itself when closed.
    EXPECT_TRUE(WaitFor([&] { return control.isNull(); }));
}

TEST_P(SkinnedDialogs, PortSettingsOkWritesTheFileAndCancelDoesNot)
{
    QFile::remove(QStringLiteral("SendSetting.txt"));
    QFile::remove(QStringLiteral("ReceiveSetting.txt"));
    CSendSettingsDlg send(nullptr);
    Show(&send);
    QTest::mouseClick(Button(&send, IDOK), Qt::LeftButton);
    EXPECT_EQ(send.result(), QDialog::Accepted);
    EXPECT_TRUE(QFile::exists(QStringLiteral("SendSetting.txt")));
    // A time-out typed in and then cancelled is not kept.
    const auto file = [] {
        QFile settings(QStringLiteral("ReceiveSetting.txt"));
        return settings.open(QIODevice::ReadOnly) ? settings.readAll() : QByteArray();
    };
    CReceiveSettingsDlg receive(nullptr);
    Show(&receive);
    const QByteArray before = file();
    QLineEdit* timeout = receive.findChild<QLineEdit*>();
    ASSERT_TRUE(timeout);
    timeout->setText(QStringLiteral("4321"));
    QTest::mouseClick(Button(&receive, IDCANCEL), Qt::LeftButton);
    EXPECT_EQ(receive.result(), QDialog::Rejected);
    EXPECT_EQ(file(), before);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(SkinOnAndOff, SkinnedDialogs, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Skinned" : "Plain"; });

}  // namespace
