// The transfer commands in the running program: the send dialog takes the
// program of the window that gave the command, not the one opened last, and
// the receive dialog opens over the main window.
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "CReceiveDlg.h"
#include "CSendDlg.h"
#include "CStatusBar.h"
#include "CWinApp.h"
#include "WindowFixture.h"

namespace {

// Runs command and returns what fill reads from the modal dialog it opens,
// which is then closed.
QString FromModalDialog(CMainFrame* frame, int command, const std::function<QString(QWidget*)>& fill)
{
    QString seen = QStringLiteral("(no dialog)");
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        seen = fill(dialog);
        static_cast<QDialog*>(dialog)->reject();
    });
    frame->OnCommand(command);
    return seen;
}

TEST_F(WindowTest, SendingTakesTheProgramOfTheWindowThatGaveTheCommand)
{
    CChildFrame* first = Open("first.nc", "G00 X1\r\nM30\r\n");
    ASSERT_TRUE(first);
    CChildFrame* second = Open("second.nc", "G00 X2\r\nM30\r\n");
    ASSERT_TRUE(second);
    const auto program = [](QWidget* dialog) {
        return dynamic_cast<CSendDlg*>(dialog)
                   ? dialog->findChild<QLabel*>(QStringLiteral("program"))->toolTip()
                   : QStringLiteral("(not the send dialog)");
    };
    mainFrame->MDIClient()->setActiveSubWindow(first);
    ASSERT_EQ(ActiveFrame(), first);
    EXPECT_EQ(FromModalDialog(mainFrame, ID_NC_SENDTOMACHINE, program),
              QString::fromStdString(dir.File("first.nc")));
    mainFrame->MDIClient()->setActiveSubWindow(second);
    EXPECT_EQ(FromModalDialog(mainFrame, ID_NC_SENDTOMACHINE, program),
              QString::fromStdString(dir.File("second.nc")));
}

TEST_F(WindowTest, ReceivingOpensItsDialogOverTheMainWindow)
{
    ASSERT_TRUE(Open("part.nc", "M30\r\n"));
    const QString title = FromModalDialog(mainFrame, ID_NC_RECEIVEFROMMACHINE, [&](QWidget* dialog) {
        return dynamic_cast<CReceiveDlg*>(dialog) && dialog->parentWidget() == mainFrame ? dialog->windowTitle()
                                                                                         : QString();
    });
    EXPECT_EQ(title, QStringLiteral("接收"));
    EXPECT_TRUE(messages.empty());
}

// While the send dialog is up, the status pane 37900 (which the editing
// view otherwise keeps blank) shows the dialog's status; afterwards it is
// the view's again.
TEST_F(WindowTest, TheStatusPaneShowsTheTransferWhileItsDialogIsUp)
{
    ASSERT_TRUE(Open("part.nc", "G00 X1\r\nM30\r\n"));
    // A port that is no device: Start fails and says why.
    AfxGetApp()->WriteProfileString(QStringLiteral("Ports"), QStringLiteral("COM1"),
                                    QString::fromStdString(dir.File("no-such-port")));
    CStatusBar* bar = mainFrame->m_wndStatusBar;
    const int pane = bar->CommandToIndex(ID_EDIT_INDICATOR_STATUS);
    ASSERT_GE(pane, 0);
    const QString seen = FromModalDialog(mainFrame, ID_NC_SENDTOMACHINE, [&](QWidget* dialog) {
        auto* send = dynamic_cast<CSendDlg*>(dialog);
        if (!send)
            return QStringLiteral("(not the send dialog)");
        send->OnStart();
        if (send->StatusText().isEmpty())
            return QStringLiteral("(no status)");
        mainFrame->OnIdleUpdateCmdUI();
        return bar->GetPaneDisplayText(pane) == send->StatusText() ? QStringLiteral("shown") : bar->GetPaneDisplayText(pane);
    });
    EXPECT_EQ(seen, QStringLiteral("shown"));
    mainFrame->OnIdleUpdateCmdUI();
    EXPECT_TRUE(bar->GetPaneDisplayText(pane).trimmed().isEmpty());
}

}  // namespace
