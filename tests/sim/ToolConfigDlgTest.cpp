// The tool configuration dialog as a user drives it, offscreen, over a
// document that holds a tool list: the fields each shape shows and the
// pictures that follow, storing and loading as T numbers are chosen, Cancel,
// the validation of numbers and of the name, an empty list, a list rebuilt
// under the dialog, and the tool library's two buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <cstring>
#include <deque>
#include <filesystem>

#include "AfxMessageBox.h"
#include "CToolConfigDlg.h"
#include "CToolLibraryDlg.h"
#include "Resources.h"
#include "TempDir.h"
#include "ToolDocument.h"
#include "ToolLibrary.h"
#include "ToolSlotText.h"
#include "ids.h"

namespace {

class FakeToolDocument : public CToolDocument
{
public:
    std::vector<ToolSlot>& ToolSlots() override { return m_tools; }
    void OnToolDefinitionsChanged() override { ++m_changes; }

    std::vector<ToolSlot> m_tools;
    int m_changes = 0;
};

ToolSlot Slot(int32_t number)
{
    ToolSlot slot;
    slot.number = number;
    return slot;
}

bool SameSlot(const ToolSlot& a, const ToolSlot& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Every picture of the dialog, to tell which one a picture control shows.
const int kPictureIds[] = {
    IDB_TOOL_FL, IDB_TOOL_FL_SELECTED, IDB_TOOL_BU, IDB_TOOL_BU_SELECTED, IDB_TOOL_SP, IDB_TOOL_SP_SELECTED,
    IDB_TOOL_CO, IDB_TOOL_CO_SELECTED, IDB_TOOL_DR, IDB_TOOL_DR_SELECTED, IDB_TOOL_COMP_TIP,
    IDB_TOOL_COMP_TIP_SELECTED, IDB_TOOL_COMP_CENTRE, IDB_TOOL_COMP_CENTRE_SELECTED, IDB_TOOL_HOLDER,
    IDB_TOOL_HOLDER_SD, IDB_TOOL_HOLDER_CD, IDB_TOOL_HOLDER_CL, IDB_TOOL_CUTTER, IDB_TOOL_FL_D, IDB_TOOL_FL_F,
    IDB_TOOL_FL_L, IDB_TOOL_BU_D, IDB_TOOL_BU_F, IDB_TOOL_BU_L, IDB_TOOL_BU_R, IDB_TOOL_SP_D, IDB_TOOL_SP_F,
    IDB_TOOL_SP_L, IDB_TOOL_SP_R, IDB_TOOL_CO_D, IDB_TOOL_CO_F, IDB_TOOL_CO_L, IDB_TOOL_CO_R, IDB_TOOL_CO_A,
    IDB_TOOL_CO_TD, IDB_TOOL_DR_D, IDB_TOOL_DR_F, IDB_TOOL_DR_L, IDB_TOOL_DR_A,
};

// The id of the picture a control shows, by its pixels; 0 for none, -1 for
// a picture that is none of the dialog's.
int ShownPicture(const QLabel* label)
{
    const QPixmap pixmap = label->pixmap();
    if (pixmap.isNull())
        return 0;
    const QImage shown = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    for (const int id : kPictureIds)
        if (LoadBitmapResource(id).convertToFormat(QImage::Format_RGB32) == shown)
            return id;
    return -1;
}

// Typed as a keyboard or an input method would: one key event per
// character, whatever the character.
void Type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

class ToolDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetMessageBoxHook([this](const QString& text, unsigned type) -> int {
            messages.push_back(text);
            types.push_back(type);
            if (answers.empty())
                return IDOK;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    void TearDown() override
    {
        delete dialog;
        SetMessageBoxHook({});
    }

    // A new dialog over the document, in place of the last one.
    void Open()
    {
        delete dialog;
        dialog = new CToolConfigDlg(&doc, libraryPath);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    }
    template <class Widget = QWidget>
    Widget* Control(int id) const
    {
        auto* widget = dialog->findChild<Widget*>(QStringLiteral("control%1").arg(id));
        EXPECT_TRUE(widget) << "control " << id;
        return widget;
    }
    QLineEdit* Edit(int id) const { return Control<QLineEdit>(id); }
    QComboBox* Numbers() const { return Control<QComboBox>(IDC_TOOL_NUMBER); }
    QRadioButton* Radio(int id) const { return Control<QRadioButton>(id); }
    QPushButton* Button(int id) const
    {
        auto* button = dialog->findChild<QPushButton*>(QStringLiteral("button%1").arg(id));
        EXPECT_TRUE(button) << "button " << id;
        return button;
    }
    int Picture(int id) const { return ShownPicture(Control<QLabel>(id)); }
    // Whether the control shows, with the dialog on screen.
    bool Visible(int id) const { return Control(id)->isVisible(); }
    void SetText(int id, const QString& text) { Edit(id)->setText(text); }
    void Focus(int id)
    {
        Edit(id)->setFocus();
        QCoreApplication::processEvents();
    }
    // Opening the list, and choosing in it.
    void DropDown() { Numbers()->showPopup(); }
    void Choose(int index)
    {
        Numbers()->hidePopup();
        Numbers()->setCurrentIndex(index);
    }
    void ClickOk() { Button(IDOK)->click(); }

    TempDir dir;
    QString libraryPath = QString::fromStdString(dir.File("ToolLibrary.txt"));
    FakeToolDocument doc;
    QPointer<CToolConfigDlg> dialog;
    std::vector<QString> messages;
    std::vector<unsigned> types;
    std::deque<int> answers;
};

constexpr int kShapeRadios[5] = {IDC_TOOL_TYPE_FL, IDC_TOOL_TYPE_BU, IDC_TOOL_TYPE_SP, IDC_TOOL_TYPE_CO,
                                 IDC_TOOL_TYPE_DR};
constexpr int kShapePictures[5] = {IDC_TOOL_PICTURE_FL, IDC_TOOL_PICTURE_BU, IDC_TOOL_PICTURE_SP,
                                   IDC_TOOL_PICTURE_CO, IDC_TOOL_PICTURE_DR};
constexpr int kNormal[5] = {IDB_TOOL_FL, IDB_TOOL_BU, IDB_TOOL_SP, IDB_TOOL_CO, IDB_TOOL_DR};
constexpr int kSelected[5] = {IDB_TOOL_FL_SELECTED, IDB_TOOL_BU_SELECTED, IDB_TOOL_SP_SELECTED,
                              IDB_TOOL_CO_SELECTED, IDB_TOOL_DR_SELECTED};

TEST_F(ToolDialogTest, OpensOnTheFirstToolWithItsShapeFieldsAndPictures)
{
    ToolSlot first = Slot(7);
    first.type = ToolType::BU;
    SetToolSlotName(first, u"牛鼻刀");
    first.D = 10.0f;
    first.R = 0.1f;
    first.L = 75.5f;
    first.TD = 2.25;
    doc.m_tools = {first, Slot(3)};
    Open();

    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("配置刀具"));
    ASSERT_EQ(Numbers()->count(), 2);
    EXPECT_EQ(Numbers()->itemText(0), QStringLiteral("7"));
    EXPECT_EQ(Numbers()->itemText(1), QStringLiteral("3"));
    EXPECT_EQ(Numbers()->currentIndex(), 0);
    EXPECT_EQ(Edit(IDC_TOOL_NAME)->text(), QStringLiteral("牛鼻刀"));
    EXPECT_EQ(Edit(IDC_TOOL_D)->text(), QStringLiteral("10"));
    EXPECT_EQ(Edit(IDC_TOOL_R)->text(), QStringLiteral("0.1"));
    EXPECT_EQ(Edit(IDC_TOOL_L)->text(), QStringLiteral("75.5"));
    EXPECT_EQ(Edit(IDC_TOOL_TD)->text(), QStringLiteral("2.25"));
    EXPECT_EQ(Edit(IDC_TOOL_SD)->text(), QStringLiteral("0"));
    EXPECT_TRUE(Radio(IDC_TOOL_TYPE_BU)->isChecked());
    // Neither unit is chosen, the tool tip is the compensation reference,
    // and the plain drawings stand until a field has the focus.
    EXPECT_FALSE(Radio(IDC_TOOL_UNIT_MM)->isChecked());
    EXPECT_FALSE(Radio(IDC_TOOL_UNIT_INCH)->isChecked());
    EXPECT_EQ(Picture(IDC_TOOL_COMP_TIP), IDB_TOOL_COMP_TIP_SELECTED);
    EXPECT_EQ(Picture(IDC_TOOL_COMP_CENTRE), IDB_TOOL_COMP_CENTRE);
    EXPECT_EQ(Picture(IDC_TOOL_HOLDER_PICTURE), IDB_TOOL_HOLDER);
    EXPECT_EQ(Picture(IDC_TOOL_CUTTER_PICTURE), IDB_TOOL_CUTTER);
    EXPECT_EQ(messages, std::vector<QString>{});
    EXPECT_EQ(doc.m_changes, 0);
}

TEST_F(ToolDialogTest, EachShapeShowsItsFieldsAndItsSelectedPicture)
{
    doc.m_tools = {Slot(1)};
    Open();
    // Shown per shape FL, BU, SP, CO, DR: D, F, L always, then R, A, TD and
    // the compensation pictures.
    struct Row
    {
        int edit, label;
        bool shown[5];
    };
    const Row rows[] = {
        {IDC_TOOL_SD, IDC_TOOL_SD_LABEL, {true, true, true, true, true}},
        {IDC_TOOL_CD, IDC_TOOL_CD_LABEL, {true, true, true, true, true}},
        {IDC_TOOL_CL, IDC_TOOL_CL_LABEL, {true, true, true, true, true}},
        {IDC_TOOL_D, IDC_TOOL_D_LABEL, {true, true, true, true, true}},
        {IDC_TOOL_F, IDC_TOOL_F_LABEL, {true, true, true, true, true}},
        {IDC_TOOL_L, IDC_TOOL_L_LABEL, {true, true, true, true, true}},
        {IDC_TOOL_R, IDC_TOOL_R_LABEL, {false, true, true, true, false}},
        {IDC_TOOL_A, IDC_TOOL_A_LABEL, {false, false, false, true, true}},
        {IDC_TOOL_TD, IDC_TOOL_TD_LABEL, {false, false, false, true, false}},
        {IDC_TOOL_COMP_TIP, IDC_TOOL_COMP_LABEL, {false, true, true, false, false}},
        {IDC_TOOL_COMP_CENTRE, IDC_TOOL_COMP_LABEL, {false, true, true, false, false}},
    };
    // In an order that passes between every two neighbours both ways.
    for (const int shape : {3, 1, 4, 0, 2, 0, 3, 4, 2, 1}) {
        QTest::mouseClick(Radio(kShapeRadios[shape]), Qt::LeftButton);
        EXPECT_EQ(static_cast<int>(dialog->m_type), shape);
        for (int t = 0; t < 5; ++t) {
            EXPECT_EQ(Radio(kShapeRadios[t])->isChecked(), t == shape) << "radio " << t << " after " << shape;
            EXPECT_EQ(Picture(kShapePictures[t]), t == shape ? kSelected[t] : kNormal[t])
                << "picture " << t << " after " << shape;
        }
        for (const Row& row : rows) {
            EXPECT_EQ(Visible(row.edit), row.shown[shape]) << row.edit << " for shape " << shape;
            EXPECT_EQ(Visible(row.label), row.shown[shape]) << row.label << " for shape " << shape;
        }
    }
    // A shape chosen is not stored until OK or the list opens.
    EXPECT_EQ(doc.m_tools[0].type, ToolType::FL);
    EXPECT_EQ(doc.m_changes, 0);
}

TEST_F(ToolDialogTest, AFieldWithTheFocusIsSelectedAndItsDimensionShown)
{
    doc.m_tools = {Slot(1)};
    Open();
    SetText(IDC_TOOL_TD, QStringLiteral("4.5"));
    struct Case
    {
        int shape, edit, upper, lower;
    };
    const Case cases[] = {
        {3, IDC_TOOL_TD, IDB_TOOL_HOLDER, IDB_TOOL_CO_TD}, {3, IDC_TOOL_A, IDB_TOOL_HOLDER, IDB_TOOL_CO_A},
        {3, IDC_TOOL_R, IDB_TOOL_HOLDER, IDB_TOOL_CO_R},   {3, IDC_TOOL_F, IDB_TOOL_HOLDER, IDB_TOOL_CO_F},
        {0, IDC_TOOL_D, IDB_TOOL_HOLDER, IDB_TOOL_FL_D},   {0, IDC_TOOL_L, IDB_TOOL_HOLDER, IDB_TOOL_FL_L},
        {1, IDC_TOOL_R, IDB_TOOL_HOLDER, IDB_TOOL_BU_R},   {1, IDC_TOOL_F, IDB_TOOL_HOLDER, IDB_TOOL_BU_F},
        {2, IDC_TOOL_R, IDB_TOOL_HOLDER, IDB_TOOL_SP_R},   {2, IDC_TOOL_D, IDB_TOOL_HOLDER, IDB_TOOL_SP_D},
        {4, IDC_TOOL_A, IDB_TOOL_HOLDER, IDB_TOOL_DR_A},   {4, IDC_TOOL_L, IDB_TOOL_HOLDER, IDB_TOOL_DR_L},
        {4, IDC_TOOL_SD, IDB_TOOL_HOLDER_SD, IDB_TOOL_CUTTER}, {2, IDC_TOOL_CD, IDB_TOOL_HOLDER_CD, IDB_TOOL_CUTTER},
        {1, IDC_TOOL_CL, IDB_TOOL_HOLDER_CL, IDB_TOOL_CUTTER},
    };
    for (const Case& c : cases) {
        QTest::mouseClick(Radio(kShapeRadios[c.shape]), Qt::LeftButton);
        Focus(c.edit);
        EXPECT_EQ(Picture(IDC_TOOL_HOLDER_PICTURE), c.upper) << c.edit << " shape " << c.shape;
        EXPECT_EQ(Picture(IDC_TOOL_CUTTER_PICTURE), c.lower) << c.edit << " shape " << c.shape;
        EXPECT_EQ(Edit(c.edit)->selectedText(), Edit(c.edit)->text()) << c.edit;
    }
    // Clicked into, the whole text is selected too, not just the caret
    // placed.
    QTest::mouseClick(Radio(IDC_TOOL_TYPE_CO), Qt::LeftButton);
    QTest::mouseClick(Edit(IDC_TOOL_TD), Qt::LeftButton, {}, QPoint(3, 5));
    QCoreApplication::processEvents();
    EXPECT_EQ(Edit(IDC_TOOL_TD)->selectedText(), QStringLiteral("4.5"));
    EXPECT_EQ(Picture(IDC_TOOL_CUTTER_PICTURE), IDB_TOOL_CO_TD);
}

// The explanation follows the shape: after another radio or another T
// number, the focused field's pictures are those of the shape now shown,
// and a field the shape hides leaves the plain pictures.
TEST_F(ToolDialogTest, TheFocusPicturesFollowTheShape)
{
    ToolSlot ball = Slot(1);
    ball.type = ToolType::SP;
    ToolSlot drill = Slot(2);
    drill.type = ToolType::DR;
    doc.m_tools = {ball, drill};
    Open();
    Focus(IDC_TOOL_L);
    EXPECT_EQ(Picture(IDC_TOOL_CUTTER_PICTURE), IDB_TOOL_SP_L);
    QTest::mouseClick(Radio(IDC_TOOL_TYPE_FL), Qt::LeftButton);
    EXPECT_EQ(Picture(IDC_TOOL_CUTTER_PICTURE), IDB_TOOL_FL_L);
    QTest::mouseClick(Radio(IDC_TOOL_TYPE_SP), Qt::LeftButton);
    DropDown();
    Choose(1);
    EXPECT_EQ(Picture(IDC_TOOL_CUTTER_PICTURE), IDB_TOOL_DR_L);

    DropDown();
    Choose(0);
    Focus(IDC_TOOL_R);
    EXPECT_EQ(Picture(IDC_TOOL_CUTTER_PICTURE), IDB_TOOL_SP_R);
    QTest::mouseClick(Radio(IDC_TOOL_TYPE_DR), Qt::LeftButton);
    EXPECT_EQ(Picture(IDC_TOOL_HOLDER_PICTURE), IDB_TOOL_HOLDER);
    EXPECT_EQ(Picture(IDC_TOOL_CUTTER_PICTURE), IDB_TOOL_CUTTER);
}

TEST_F(ToolDialogTest, TheCompensationPicturesAndTheUnitsAreChoicesOfTheDialogOnly)
{
    ToolSlot ball = Slot(1);
    ball.type = ToolType::SP;
    doc.m_tools = {ball};
    Open();
    QTest::mouseClick(Control(IDC_TOOL_COMP_CENTRE), Qt::LeftButton);
    EXPECT_FALSE(dialog->m_compensationTip);
    EXPECT_EQ(Picture(IDC_TOOL_COMP_TIP), IDB_TOOL_COMP_TIP);
    EXPECT_EQ(Picture(IDC_TOOL_COMP_CENTRE), IDB_TOOL_COMP_CENTRE_SELECTED);
    QTest::mouseClick(Control(IDC_TOOL_COMP_TIP), Qt::LeftButton);
    EXPECT_TRUE(dialog->m_compensationTip);
    EXPECT_EQ(Picture(IDC_TOOL_COMP_TIP), IDB_TOOL_COMP_TIP_SELECTED);
    EXPECT_EQ(Picture(IDC_TOOL_COMP_CENTRE), IDB_TOOL_COMP_CENTRE);

    // The unit radios are a group of their own: choosing one leaves the
    // shape alone.
    QTest::mouseClick(Radio(IDC_TOOL_UNIT_INCH), Qt::LeftButton);
    EXPECT_FALSE(dialog->m_unitMm);
    EXPECT_TRUE(Radio(IDC_TOOL_TYPE_SP)->isChecked());
    QTest::mouseClick(Radio(IDC_TOOL_UNIT_MM), Qt::LeftButton);
    EXPECT_TRUE(dialog->m_unitMm);
    EXPECT_FALSE(Radio(IDC_TOOL_UNIT_INCH)->isChecked());
    EXPECT_TRUE(Radio(IDC_TOOL_TYPE_SP)->isChecked());

    ClickOk();
    EXPECT_TRUE(SameSlot(doc.m_tools[0], ball));  // nothing of either is stored
}

TEST_F(ToolDialogTest, ChoosingAnotherNumberStoresTheShownToolThenShowsTheChosenOne)
{
    ToolSlot drill = Slot(2);
    drill.type = ToolType::DR;
    drill.D = 6.0f;
    drill.A = 118.0f;
    SetToolSlotName(drill, u"钻头");
    doc.m_tools = {Slot(1), drill, Slot(3)};
    Open();

    QTest::mouseClick(Radio(IDC_TOOL_TYPE_CO), Qt::LeftButton);
    SetText(IDC_TOOL_D, QStringLiteral("12"));
    SetText(IDC_TOOL_TD, QStringLiteral("0.30000000000000004"));
    SetText(IDC_TOOL_NAME, QStringLiteral("锥刀"));
    DropDown();
    EXPECT_EQ(doc.m_changes, 1);
    Choose(1);
    const ToolSlot& stored = doc.m_tools[0];
    EXPECT_EQ(stored.number, 1);
    EXPECT_EQ(stored.type, ToolType::CO);
    EXPECT_EQ(stored.D, 12.0f);
    EXPECT_EQ(stored.TD, 0.30000000000000004);
    EXPECT_EQ(ToolSlotName(stored), QStringLiteral("锥刀"));
    EXPECT_EQ(stored.reserved, 0);
    EXPECT_TRUE(SameSlot(doc.m_tools[1], drill));  // only shown, not written

    // The chosen tool's shape, fields and pictures.
    EXPECT_TRUE(Radio(IDC_TOOL_TYPE_DR)->isChecked());
    EXPECT_EQ(Picture(IDC_TOOL_PICTURE_DR), IDB_TOOL_DR_SELECTED);
    EXPECT_EQ(Picture(IDC_TOOL_PICTURE_CO), IDB_TOOL_CO);
    EXPECT_FALSE(Visible(IDC_TOOL_TD));
    EXPECT_TRUE(Visible(IDC_TOOL_A));
    EXPECT_EQ(Edit(IDC_TOOL_A)->text(), QStringLiteral("118"));
    EXPECT_EQ(Edit(IDC_TOOL_NAME)->text(), QStringLiteral("钻头"));

    // Back to T1: what was stored comes back.
    DropDown();
    Choose(0);
    EXPECT_TRUE(Radio(IDC_TOOL_TYPE_CO)->isChecked());
    EXPECT_EQ(Edit(IDC_TOOL_TD)->text(), QStringLiteral("0.30000000000000004"));

    // A number chosen without opening the list (the arrow keys, the wheel)
    // keeps the edits as well.
    SetText(IDC_TOOL_L, QStringLiteral("50"));
    Numbers()->setFocus();
    QTest::keyClick(Numbers(), Qt::Key_Down);
    EXPECT_EQ(Numbers()->currentIndex(), 1);
    EXPECT_EQ(doc.m_tools[0].L, 50.0f);
    EXPECT_EQ(Edit(IDC_TOOL_L)->text(), QStringLiteral("0"));
}

TEST_F(ToolDialogTest, CancelKeepsTheSlotUnlessTheListWasOpenedInBetween)
{
    doc.m_tools = {Slot(4), Slot(5)};
    const std::vector<ToolSlot> before = doc.m_tools;
    Open();
    QTest::mouseClick(Radio(IDC_TOOL_TYPE_SP), Qt::LeftButton);
    SetText(IDC_TOOL_D, QStringLiteral("8"));
    Button(IDCANCEL)->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(SameSlot(doc.m_tools[0], before[0]));
    EXPECT_EQ(doc.m_changes, 0);

    Open();
    QTest::mouseClick(Radio(IDC_TOOL_TYPE_SP), Qt::LeftButton);
    DropDown();
    Numbers()->hidePopup();
    QTest::mouseClick(Radio(IDC_TOOL_TYPE_DR), Qt::LeftButton);
    Button(IDCANCEL)->click();
    EXPECT_EQ(doc.m_tools[0].type, ToolType::SP);  // stored when the list opened
    EXPECT_TRUE(SameSlot(doc.m_tools[1], before[1]));
}

TEST_F(ToolDialogTest, ANumberThatIsNotOneIsNamedAndNothingIsStored)
{
    ToolSlot slot = Slot(1);
    slot.type = ToolType::CO;
    slot.R = 1.5f;
    doc.m_tools = {slot, Slot(2)};
    Open();
    SetText(IDC_TOOL_D, QStringLiteral("12"));
    SetText(IDC_TOOL_TD, QStringLiteral("3,5"));
    ClickOk();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QStringLiteral("TD 中的“3,5”不是有效的数字，请输入一个数字。"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_TRUE(SameSlot(doc.m_tools[0], slot));
    EXPECT_EQ(doc.m_changes, 0);
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_TOOL_TD));
    EXPECT_EQ(Edit(IDC_TOOL_TD)->selectedText(), QStringLiteral("3,5"));

    // The list does not open on a bad field, and the choice made without
    // it is taken back.
    DropDown();
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_FALSE(Numbers()->view()->isVisible());
    Numbers()->setCurrentIndex(1);
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_EQ(Numbers()->currentIndex(), 0);
    EXPECT_EQ(Edit(IDC_TOOL_D)->text(), QStringLiteral("12"));

    // An empty field, and a number too large for a float field.
    SetText(IDC_TOOL_TD, QString());
    ClickOk();
    EXPECT_EQ(messages.back(), QStringLiteral("请在 TD 中输入一个数字。"));
    SetText(IDC_TOOL_TD, QStringLiteral("1e39"));  // TD is a double
    SetText(IDC_TOOL_F, QStringLiteral("1e39"));
    ClickOk();
    EXPECT_EQ(messages.back(), QStringLiteral("F 中的“1e39”不是有效的数字，请输入一个数字。"));
    EXPECT_TRUE(SameSlot(doc.m_tools[0], slot));

    // A field that this shape hides keeps its value rather than stopping
    // OK where the user cannot see why.
    SetText(IDC_TOOL_F, QStringLiteral(" +7 "));
    SetText(IDC_TOOL_R, QStringLiteral("oops"));
    QTest::mouseClick(Radio(IDC_TOOL_TYPE_DR), Qt::LeftButton);
    const size_t said = messages.size();
    ClickOk();
    EXPECT_EQ(messages.size(), said);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(doc.m_tools[0].type, ToolType::DR);
    EXPECT_EQ(doc.m_tools[0].F, 7.0f);
    EXPECT_EQ(doc.m_tools[0].TD, 1e39);
    EXPECT_EQ(doc.m_tools[0].R, 1.5f);
    EXPECT_EQ(doc.m_changes, 1);
}

TEST_F(ToolDialogTest, TheNameTakesTenBytesOfGbkAndNeverHalfACharacter)
{
    doc.m_tools = {Slot(1)};
    Open();
    QLineEdit* name = Edit(IDC_TOOL_NAME);
    name->setFocus();
    Type(name, QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(name->text(), QStringLiteral("ABCDEFGHIJ"));

    name->clear();
    Type(name, QStringLiteral("平底铣刀一二"));
    EXPECT_EQ(name->text(), QStringLiteral("平底铣刀一"));
    ClickOk();
    EXPECT_EQ(std::memcmp(doc.m_tools[0].name, "\xC6\xBD\xB5\xD7\xCF\xB3\xB5\xB6\xD2\xBB\0\0", 12), 0);

    // Nine bytes: one more Latin letter fits, a Chinese character does not.
    Open();
    name = Edit(IDC_TOOL_NAME);
    EXPECT_EQ(name->text(), QStringLiteral("平底铣刀一"));
    name->clear();
    Type(name, QStringLiteral("R5 刀具刀"));  // 3 + 6 bytes
    Type(name, QStringLiteral("刀"));
    EXPECT_EQ(name->text(), QStringLiteral("R5 刀具刀"));
    Type(name, QStringLiteral("x"));
    EXPECT_EQ(name->text(), QStringLiteral("R5 刀具刀x"));
    Type(name, QStringLiteral("y刀"));
    EXPECT_EQ(name->text(), QStringLiteral("R5 刀具刀x"));
    // Nor can a character that GBK has not be typed.
    name->clear();
    Type(name, QStringLiteral("A😀"));
    EXPECT_EQ(name->text(), QStringLiteral("A"));
    ClickOk();
    EXPECT_EQ(ToolSlotName(doc.m_tools[0]), QStringLiteral("A"));
    EXPECT_EQ(std::memcmp(doc.m_tools[0].name, "A\0\0\0\0\0\0\0\0\0\0\0", 12), 0);
}

TEST_F(ToolDialogTest, WithNoToolsOkOnlyCloses)
{
    Open();
    EXPECT_EQ(Numbers()->count(), 0);
    EXPECT_TRUE(Radio(IDC_TOOL_TYPE_FL)->isChecked());
    EXPECT_FALSE(Button(IDC_TOOL_SAVE_LIBRARY)->isEnabled());
    QTest::mouseClick(Radio(IDC_TOOL_TYPE_BU), Qt::LeftButton);
    SetText(IDC_TOOL_D, QStringLiteral("10"));
    DropDown();
    ClickOk();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), int(QDialog::Accepted));
    EXPECT_EQ(doc.m_changes, 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ToolDialogTest, ARebuiltListKeepsTheChosenNumberAndNeverWritesTheWrongSlot)
{
    doc.m_tools = {Slot(1), Slot(2), Slot(3)};
    doc.m_tools[1].D = 2.0f;
    Open();
    DropDown();
    Choose(1);
    SetText(IDC_TOOL_D, QStringLiteral("22"));  // not yet stored

    // The program now calls T3, T2, T4: T2 moved from the second place to
    // the second place of another list; its unsaved edit is still shown.
    ToolSlot two = doc.m_tools[1];
    doc.m_tools = {Slot(3), two, Slot(4)};
    dialog->OnToolListRebuilt();
    ASSERT_EQ(Numbers()->count(), 3);
    EXPECT_EQ(Numbers()->itemText(0), QStringLiteral("3"));
    EXPECT_EQ(Numbers()->itemText(2), QStringLiteral("4"));
    EXPECT_EQ(Numbers()->currentText(), QStringLiteral("2"));
    EXPECT_EQ(Edit(IDC_TOOL_D)->text(), QStringLiteral("22"));

    doc.m_tools = {Slot(9), Slot(3), two};
    dialog->OnToolListRebuilt();
    EXPECT_EQ(Numbers()->currentIndex(), 2);
    ClickOk();
    EXPECT_EQ(doc.m_tools[2].D, 22.0f);
    EXPECT_EQ(doc.m_tools[0].D, 0.0f);
    EXPECT_EQ(doc.m_tools[1].D, 0.0f);

    // The chosen number has gone: the first tool is shown.
    doc.m_tools = {Slot(1), two};
    doc.m_tools[0].type = ToolType::SP;
    Open();
    DropDown();
    Choose(1);
    doc.m_tools = {doc.m_tools[0], Slot(6)};
    dialog->OnToolListRebuilt();
    EXPECT_EQ(Numbers()->currentText(), QStringLiteral("1"));
    EXPECT_TRUE(Radio(IDC_TOOL_TYPE_SP)->isChecked());
    // And none at all: nothing to store into.
    doc.m_tools.clear();
    dialog->OnToolListRebuilt();
    EXPECT_EQ(Numbers()->count(), 0);
    const int changes = doc.m_changes;
    ClickOk();
    EXPECT_EQ(doc.m_changes, changes);
}

TEST_F(ToolDialogTest, ASlotThatIsNoLongerWhatTheListShowsIsNotWritten)
{
    // The document replaced its list without telling the dialog: the
    // index now points at another T number.
    doc.m_tools = {Slot(1), Slot(2)};
    Open();
    doc.m_tools = {Slot(8)};
    SetText(IDC_TOOL_D, QStringLiteral("5"));
    ClickOk();
    EXPECT_EQ(doc.m_tools[0].D, 0.0f);
    EXPECT_EQ(doc.m_changes, 0);
}

TEST_F(ToolDialogTest, SavingToTheLibraryAsksBeforeReplacingATool)
{
    doc.m_tools = {Slot(5)};
    Open();
    QTest::mouseClick(Radio(IDC_TOOL_TYPE_BU), Qt::LeftButton);
    SetText(IDC_TOOL_NAME, QStringLiteral("圆鼻刀"));
    SetText(IDC_TOOL_D, QStringLiteral("16"));
    SetText(IDC_TOOL_R, QStringLiteral("0.8"));
    Button(IDC_TOOL_SAVE_LIBRARY)->click();
    EXPECT_TRUE(messages.empty());
    ToolLibrary library;
    library.Load(libraryPath);
    ASSERT_EQ(library.Entries().size(), 1u);
    EXPECT_EQ(library.Entries()[0].number, 5);
    EXPECT_EQ(library.Entries()[0].type, ToolType::BU);
    EXPECT_EQ(library.Entries()[0].R, 0.8f);
    EXPECT_EQ(ToolSlotName(library.Entries()[0]), QStringLiteral("圆鼻刀"));
    // The library, not the slot.
    EXPECT_EQ(doc.m_tools[0].type, ToolType::FL);

    // T5 again: asked, and No keeps the library's T5.
    SetText(IDC_TOOL_D, QStringLiteral("20"));
    answers = {IDNO};
    Button(IDC_TOOL_SAVE_LIBRARY)->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QStringLiteral("刀库中已有 T5（圆鼻刀），要用现在的刀具替换它吗？"));
    EXPECT_EQ(types[0], unsigned(MB_YESNO | MB_ICONQUESTION));
    library.Load(libraryPath);
    EXPECT_EQ(library.Entries()[0].D, 16.0f);
    answers = {IDYES};
    Button(IDC_TOOL_SAVE_LIBRARY)->click();
    EXPECT_EQ(messages.size(), 2u);
    library.Load(libraryPath);
    EXPECT_EQ(library.Entries()[0].D, 20.0f);

    // A bad field is refused as OK refuses it.
    SetText(IDC_TOOL_R, QStringLiteral("x"));
    Button(IDC_TOOL_SAVE_LIBRARY)->click();
    EXPECT_EQ(messages.back(), QStringLiteral("R 中的“x”不是有效的数字，请输入一个数字。"));
    library.Load(libraryPath);
    EXPECT_EQ(library.Entries()[0].R, 0.8f);
}

TEST_F(ToolDialogTest, LoadingFromTheLibraryFillsTheFieldsOfTheShownNumber)
{
    ToolLibrary library;
    ToolSlot mill = Slot(1);
    SetToolSlotName(mill, u"端铣刀");
    mill.D = 10.0f;
    mill.L = 75.0f;
    ToolSlot taper = Slot(30);
    SetToolSlotName(taper, u"锥度刀");
    taper.type = ToolType::CO;
    taper.D = 8.0f;
    taper.TD = 1.5;
    taper.A = 5.0f;
    taper.SD = 40.0f;
    library.Put(mill);
    library.Put(taper);
    ASSERT_TRUE(library.Save(libraryPath));

    doc.m_tools = {Slot(7)};
    Open();
    Button(IDC_TOOL_LOAD_LIBRARY)->click();
    auto* picker = dialog->findChild<CToolLibraryDlg*>();
    ASSERT_TRUE(picker);
    EXPECT_TRUE(picker->isVisible());
    auto* list = picker->findChild<QTreeWidget*>();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("30"));
    EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("锥度刀"));
    EXPECT_EQ(list->topLevelItem(1)->text(2), QStringLiteral("CO"));
    EXPECT_EQ(list->topLevelItem(1)->text(3), QStringLiteral("8"));
    list->setCurrentItem(list->topLevelItem(1));
    picker->findChild<QPushButton*>(QStringLiteral("button%1").arg(IDOK))->click();

    EXPECT_TRUE(Radio(IDC_TOOL_TYPE_CO)->isChecked());
    EXPECT_TRUE(Visible(IDC_TOOL_TD));
    EXPECT_EQ(Edit(IDC_TOOL_NAME)->text(), QStringLiteral("锥度刀"));
    EXPECT_EQ(Edit(IDC_TOOL_TD)->text(), QStringLiteral("1.5"));
    EXPECT_EQ(Edit(IDC_TOOL_SD)->text(), QStringLiteral("40"));
    EXPECT_EQ(Numbers()->currentText(), QStringLiteral("7"));
    EXPECT_EQ(doc.m_tools[0].type, ToolType::FL);  // the fields only, until OK
    ClickOk();
    ToolSlot expected = taper;
    expected.number = 7;
    EXPECT_TRUE(SameSlot(doc.m_tools[0], expected));

    // Cancelled, the list changes nothing.
    Open();
    Button(IDC_TOOL_LOAD_LIBRARY)->click();
    picker = dialog->findChild<CToolLibraryDlg*>();
    ASSERT_TRUE(picker);
    picker->findChild<QPushButton*>(QStringLiteral("button%1").arg(IDCANCEL))->click();
    EXPECT_EQ(Edit(IDC_TOOL_TD)->text(), QStringLiteral("1.5"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ToolDialogTest, ACorruptLibraryIsNamedSetAsideAndStartedAfresh)
{
    WriteBytes(libraryPath.toStdString(), "1\tmill\tFL\t0\t0\t0\t75\t25\t10\t0\t0\t0\n2\tmill\tZZ\t0\t0\t0\t0\t0\t0\t0\t0\t0\n");
    doc.m_tools = {Slot(1)};
    Open();
    Button(IDC_TOOL_LOAD_LIBRARY)->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(libraryPath)) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("第 2 行"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("“ZZ”不是刀具类型")));
    EXPECT_FALSE(dialog->findChild<CToolLibraryDlg*>());
    EXPECT_TRUE(std::filesystem::exists(libraryPath.toStdString() + ".bad"));

    // Empty now: said so, and a tool can be stored into a new file.
    Button(IDC_TOOL_LOAD_LIBRARY)->click();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[1].startsWith(QStringLiteral("刀库中还没有刀具")));
    Button(IDC_TOOL_SAVE_LIBRARY)->click();
    ToolLibrary library;
    EXPECT_EQ(library.Load(libraryPath).status, ToolLibrary::LoadStatus::Loaded);
    EXPECT_EQ(library.Entries().size(), 1u);

    // A library that cannot be read is never written over.
    std::filesystem::remove(libraryPath.toStdString());
    std::filesystem::create_directory(libraryPath.toStdString());
    Button(IDC_TOOL_SAVE_LIBRARY)->click();
    EXPECT_TRUE(messages.back().startsWith(QStringLiteral("无法读取刀库文件"))) << messages.back().toStdString();
    EXPECT_TRUE(std::filesystem::is_directory(libraryPath.toStdString()));
}

TEST_F(ToolDialogTest, WithoutALibraryFileTheLibraryButtonsAreOff)
{
    libraryPath.clear();
    doc.m_tools = {Slot(1)};
    Open();
    EXPECT_FALSE(Button(IDC_TOOL_LOAD_LIBRARY)->isEnabled());
    EXPECT_FALSE(Button(IDC_TOOL_SAVE_LIBRARY)->isEnabled());
}

TEST_F(ToolDialogTest, TheDialogFitsItsTemplateAndItsControlsStayInside)
{
    Open();
    const QRect inside = dialog->rect();
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        if (!child->isWindow() && child->parentWidget() == dialog) {
            EXPECT_TRUE(inside.contains(child->geometry())) << child->objectName().toStdString();
        }
    }
    // The two drawings at their sizes, one above the other without
    // overlapping.
    const QRect holder = Control(IDC_TOOL_HOLDER_PICTURE)->geometry();
    const QRect cutter = Control(IDC_TOOL_CUTTER_PICTURE)->geometry();
    EXPECT_EQ(holder.size(), QSize(144, 90));
    EXPECT_EQ(cutter.size(), QSize(144, 125));
    EXPECT_FALSE(holder.intersects(cutter));
}

}  // namespace
