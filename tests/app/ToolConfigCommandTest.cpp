// The document's tool configuration: command 32805 and the one dialog it
// keeps per document, what a store tells the views, re-interpretation that
// keeps the user's tool definitions, and a dialog open while it happens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <memory>

#include "AfxMessageBox.h"
#include "CToolConfigDlg.h"
#include "CTornelDoc.h"
#include "CView.h"
#include "NcDocument.h"
#include "TempDir.h"
#include "ToolSlotText.h"
#include "ids.h"

namespace {

class HintView : public CView
{
public:
    void OnUpdate(CView*, long hint, CObject*) override { hints.push_back(hint); }
    std::vector<long> hints;
};

class ToolCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetMessageBoxHook([this](const QString& text, unsigned) {
            messages.push_back(text);
            return int(IDOK);
        });
    }
    void TearDown() override { SetMessageBoxHook({}); }

    // A document of program, opened from a file.
    std::unique_ptr<CTornelDoc> Open(const std::string& program)
    {
        const std::string path = dir.File("p" + std::to_string(++files) + ".nc");
        WriteBytes(path, program);
        auto doc = std::make_unique<CTornelDoc>();
        EXPECT_TRUE(doc->OnOpenDocument(QString::fromStdString(path)));
        return doc;
    }
    // Replaces the document's text as the user would edit it.
    static void Retype(CTornelDoc& doc, const std::string& program)
    {
        CTextBuffer& buffer = doc.TextBuffer();
        const int last = buffer.LineCount() - 1;
        ASSERT_TRUE(buffer.DeleteText(nullptr, 0, 0, last, buffer.LineLength(last), ACTION_DELETE));
        int endLine = 0, endChar = 0;
        ASSERT_TRUE(buffer.InsertText(nullptr, 0, 0, program, endLine, endChar, ACTION_PASTE));
    }
    static std::vector<int32_t> Numbers(const CTornelDoc& doc)
    {
        std::vector<int32_t> numbers;
        for (const ToolSlot& slot : doc.Tools())
            numbers.push_back(slot.number);
        return numbers;
    }
    template <class Widget>
    static Widget* Control(CToolConfigDlg* dialog, const QString& name)
    {
        auto* widget = dialog->findChild<Widget*>(name);
        EXPECT_TRUE(widget) << name.toStdString();
        return widget;
    }

    TempDir dir;
    int files = 0;
    std::vector<QString> messages;
};

TEST_F(ToolCommandTest, ReinterpretationKeepsEveryDefinitionWhoseNumberIsStillCalled)
{
    std::unique_ptr<CTornelDoc> doc = Open("T1 G1 X1\r\nT2 X2\r\nT3 X3\r\n");
    ASSERT_EQ(Numbers(*doc), (std::vector<int32_t>{1, 2, 3}));
    for (ToolSlot& slot : doc->ToolSlots()) {
        slot.type = ToolType::SP;
        slot.D = float(slot.number) * 4.0f;
        SetToolSlotName(slot, QStringLiteral("球刀%1").arg(slot.number));
    }
    const std::vector<ToolSlot> defined = doc->Tools();

    // T3 now comes first, T2 is gone, T4 is new.
    Retype(*doc, "T3 G1 X1\r\nT4 X2\r\nT1 X3\r\n");
    ASSERT_TRUE(doc->OnCmdMsg(ID_NC_UPDATEVIEWS, nullptr));
    ASSERT_EQ(Numbers(*doc), (std::vector<int32_t>{3, 4, 1}));
    EXPECT_EQ(std::memcmp(&doc->Tools()[0], &defined[2], sizeof(ToolSlot)), 0);
    ToolSlot fresh;
    fresh.number = 4;
    EXPECT_EQ(std::memcmp(&doc->Tools()[1], &fresh, sizeof(ToolSlot)), 0);
    EXPECT_EQ(std::memcmp(&doc->Tools()[2], &defined[0], sizeof(ToolSlot)), 0);

    // And again, unchanged: nothing is lost by refreshing twice.
    ASSERT_TRUE(doc->OnCmdMsg(ID_NC_UPDATEVIEWS, nullptr));
    EXPECT_EQ(ToolSlotName(doc->Tools()[2]), QStringLiteral("球刀1"));
    EXPECT_EQ(doc->Tools()[0].D, 12.0f);
}

TEST_F(ToolCommandTest, EachDocumentHasOneToolDialogThatTheCommandBringsUp)
{
    std::unique_ptr<CTornelDoc> doc = Open("T5 G1 X1\r\n");
    std::unique_ptr<CTornelDoc> other = Open("T6 G1 X1\r\n");
    EXPECT_FALSE(doc->ToolDialog());
    ASSERT_TRUE(doc->OnCmdMsg(ID_NC_CONFIGURETOOLS, nullptr));
    QPointer<CToolConfigDlg> dialog = doc->ToolDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("配置刀具"));
    EXPECT_EQ(Control<QComboBox>(dialog, QStringLiteral("control%1").arg(IDC_TOOL_NUMBER))->currentText(),
              QStringLiteral("5"));

    // Hidden behind other windows, the command brings the same one back.
    dialog->hide();
    ASSERT_TRUE(doc->OnCmdMsg(ID_NC_CONFIGURETOOLS, nullptr));
    EXPECT_EQ(doc->ToolDialog(), dialog.data());
    EXPECT_TRUE(dialog->isVisible());

    // Another document, another dialog, on its own tools.
    ASSERT_TRUE(other->OnCmdMsg(ID_NC_CONFIGURETOOLS, nullptr));
    ASSERT_TRUE(other->ToolDialog());
    EXPECT_NE(other->ToolDialog(), dialog.data());
    int dialogs = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        dialogs += qobject_cast<CToolConfigDlg*>(window) != nullptr;
    EXPECT_EQ(dialogs, 2);

    // Closed with OK, it is gone, and the command makes a new one.
    Control<QPushButton>(dialog, QStringLiteral("button%1").arg(IDOK))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(dialog);
    EXPECT_FALSE(doc->ToolDialog());
    ASSERT_TRUE(doc->OnCmdMsg(ID_NC_CONFIGURETOOLS, nullptr));
    EXPECT_TRUE(doc->ToolDialog());
}

TEST_F(ToolCommandTest, TheDialogGoesWithItsDocument)
{
    std::unique_ptr<CTornelDoc> doc = Open("T1 G1 X1\r\n");
    ASSERT_TRUE(doc->OnCmdMsg(ID_NC_CONFIGURETOOLS, nullptr));
    QPointer<CToolConfigDlg> dialog = doc->ToolDialog();
    ASSERT_TRUE(dialog);
    Control<QLineEdit>(dialog, QStringLiteral("control%1").arg(IDC_TOOL_D))->setText(QStringLiteral("9"));
    doc.reset();
    EXPECT_FALSE(dialog);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ToolCommandTest, AStoredToolRepaintsTheViewsWithoutReinterpreting)
{
    std::unique_ptr<CTornelDoc> doc = Open("T1 G1 X1\r\nT2 X2\r\n");
    HintView view;
    doc->AddView(&view);
    ASSERT_TRUE(doc->OnCmdMsg(ID_NC_CONFIGURETOOLS, nullptr));
    CToolConfigDlg* dialog = doc->ToolDialog();
    Control<QLineEdit>(dialog, QStringLiteral("control%1").arg(IDC_TOOL_D))->setText(QStringLiteral("6"));
    Control<QPushButton>(dialog, QStringLiteral("button%1").arg(IDOK))->click();
    EXPECT_EQ(view.hints, (std::vector<long>{HINT_TOOLS_CHANGED}));
    EXPECT_EQ(doc->Tools()[0].D, 6.0f);
    doc->RemoveView(&view);
}

TEST_F(ToolCommandTest, ADialogOpenDuringReinterpretationFollowsTheNewList)
{
    std::unique_ptr<CTornelDoc> doc = Open("T1 G1 X1\r\nT2 X2\r\n");
    ASSERT_TRUE(doc->OnCmdMsg(ID_NC_CONFIGURETOOLS, nullptr));
    CToolConfigDlg* dialog = doc->ToolDialog();
    auto* numbers = Control<QComboBox>(dialog, QStringLiteral("control%1").arg(IDC_TOOL_NUMBER));
    numbers->setCurrentIndex(1);
    Control<QLineEdit>(dialog, QStringLiteral("control%1").arg(IDC_TOOL_L))->setText(QStringLiteral("55"));

    // T1 is no longer called: T2 moves to the front of the list.
    Retype(*doc, "T2 G1 X1\r\nT7 X2\r\n");
    ASSERT_TRUE(doc->OnCmdMsg(ID_NC_UPDATEVIEWS, nullptr));
    ASSERT_EQ(numbers->count(), 2);
    EXPECT_EQ(numbers->itemText(0), QStringLiteral("2"));
    EXPECT_EQ(numbers->itemText(1), QStringLiteral("7"));
    EXPECT_EQ(numbers->currentText(), QStringLiteral("2"));
    Control<QPushButton>(dialog, QStringLiteral("button%1").arg(IDOK))->click();
    EXPECT_EQ(doc->Tools()[0].number, 2);
    EXPECT_EQ(doc->Tools()[0].L, 55.0f);
    EXPECT_EQ(doc->Tools()[1].L, 0.0f);
}

}  // namespace
