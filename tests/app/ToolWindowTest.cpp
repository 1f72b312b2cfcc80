// The tool dialog in the running program: opened from the menu command of
// the active document window, raised again rather than doubled, and gone
// with the document when its window closes, whatever is open in it.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "CToolConfigDlg.h"
#include "CToolLibraryDlg.h"
#include "ToolLibrary.h"
#include "WindowFixture.h"

namespace {

// The program's tool dialogs on screen.
std::vector<CToolConfigDlg*> ToolDialogs()
{
    std::vector<CToolConfigDlg*> dialogs;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<CToolConfigDlg*>(window); dialog && dialog->isVisible())
            dialogs.push_back(dialog);
    return dialogs;
}

TEST_F(WindowTest, TheToolCommandOpensOneDialogOverTheMainWindowAndRaisesItAgain)
{
    CChildFrame* frame = Open("tools.nc", "T1 G1 X1\r\nT2 G1 X2\r\n");
    ASSERT_TRUE(frame);
    ASSERT_TRUE(mainFrame->OnCommand(ID_NC_CONFIGURETOOLS));
    QPointer<CToolConfigDlg> dialog = Doc(frame)->ToolDialog();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    EXPECT_EQ(dialog->parentWidget(), mainFrame);
    EXPECT_EQ(ToolDialogs().size(), 1u);

    mainFrame->activateWindow();
    ASSERT_TRUE(mainFrame->OnCommand(ID_NC_CONFIGURETOOLS));
    EXPECT_EQ(Doc(frame)->ToolDialog(), dialog.data());
    EXPECT_EQ(ToolDialogs().size(), 1u);
    EXPECT_TRUE(WaitFor([&] { return dialog->isActiveWindow(); }));

    // The library lives beside the profile.
    auto* number = dialog->findChild<QComboBox*>(QStringLiteral("control%1").arg(IDC_TOOL_NUMBER));
    ASSERT_TRUE(number);
    EXPECT_EQ(number->count(), 2);
    dialog->findChild<QPushButton*>(QStringLiteral("button%1").arg(IDC_TOOL_SAVE_LIBRARY))->click();
    const QString library = QFileInfo(app->ProfileFileName()).absolutePath() + QStringLiteral("/ToolLibrary.txt");
    ToolLibrary saved;
    EXPECT_EQ(saved.Load(library).status, ToolLibrary::LoadStatus::Loaded);
    EXPECT_TRUE(saved.Find(1));
    QFile::remove(library);
}

TEST_F(WindowTest, ClosingTheDocumentWindowTakesItsToolDialogAway)
{
    CChildFrame* frame = Open("tools.nc", "T1 G1 X1\r\n");
    ASSERT_TRUE(frame);
    ASSERT_TRUE(mainFrame->OnCommand(ID_NC_CONFIGURETOOLS));
    QPointer<CToolConfigDlg> dialog = Doc(frame)->ToolDialog();
    ASSERT_TRUE(dialog);
    // With a field half edited and the library's list open over it.
    dialog->findChild<QLineEdit*>(QStringLiteral("control%1").arg(IDC_TOOL_D))->setText(QStringLiteral("1"));
    ToolLibrary library;
    ToolSlot tool;
    tool.number = 4;
    library.Put(tool);
    const QString path = QFileInfo(app->ProfileFileName()).absolutePath() + QStringLiteral("/ToolLibrary.txt");
    ASSERT_TRUE(library.Save(path));
    dialog->findChild<QPushButton*>(QStringLiteral("button%1").arg(IDC_TOOL_LOAD_LIBRARY))->click();
    QPointer<CToolLibraryDlg> picker = dialog->findChild<CToolLibraryDlg*>();
    ASSERT_TRUE(picker);

    QPointer<CChildFrame> window = frame;
    window->close();
    EXPECT_TRUE(WaitFor([&] { return !window && !dialog && !picker; }));
    EXPECT_TRUE(ToolDialogs().empty());
    EXPECT_TRUE(messages.empty());
    QFile::remove(path);

    // A document with two windows keeps its dialog until the last closes.
    frame = Open("two.nc", "T3 G1 X1\r\n");
    ASSERT_TRUE(frame);
    ASSERT_TRUE(mainFrame->OnCommand(ID_WINDOW_NEW));
    QCoreApplication::processEvents();
    QPointer<CChildFrame> second = ActiveFrame();
    ASSERT_NE(second.data(), frame);
    ASSERT_TRUE(mainFrame->OnCommand(ID_NC_CONFIGURETOOLS));
    dialog = Doc(second)->ToolDialog();
    ASSERT_TRUE(dialog);
    second->close();
    EXPECT_TRUE(WaitFor([&] { return !second; }));
    EXPECT_TRUE(dialog);
    frame->close();
    EXPECT_TRUE(WaitFor([&] { return !dialog; }));
}

}  // namespace
