// The machining information pane: its text for the statistics and the
// warnings, the colours of its labels, and that the user can neither type
// into it nor lose a selection to a refresh.
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <memory>

#include "CInfoView.h"
#include "CodeViewFixture.h"

namespace {

class InfoViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(doc.OnNewDocument());
        CCreateContext context;
        context.m_pCurrentDoc = &doc;
        context.m_pNewViewClass = [](QWidget* parent) { return new CInfoView(parent); };
        view = dynamic_cast<CInfoView*>(frame.CreateView(&context, &frame.m_widget));
        ASSERT_TRUE(view);
        view->OnInitialUpdate();
        view->resize(400, 100);
        frame.m_widget.show();
    }
    void TearDown() override { delete view; }
    void Show(double minutes, double rapid, double feed)
    {
        doc.m_machiningTime = minutes;
        doc.m_rapidDistance = rapid;
        doc.m_feedDistance = feed;
        doc.UpdateAllViews(nullptr, 0, nullptr);
    }
    QString Line(int n) { return view->document()->findBlockByNumber(n).text(); }
    // The format of the character at offset of line n.
    QTextCharFormat FormatAt(int n, int offset)
    {
        QTextCursor cursor(view->document()->findBlockByNumber(n));
        cursor.setPosition(cursor.position() + offset + 1);
        return cursor.charFormat();
    }

    MessageFrame frame;
    CTornelDoc doc;
    CInfoView* view = nullptr;
};

TEST_F(InfoViewTest, FourLinesWithHoursAndMinutesTruncated)
{
    EXPECT_EQ(Line(0), QString::fromUtf8("[加工信息]："));
    EXPECT_EQ(Line(1), QString::fromUtf8("加工工时为：0小时0分"));
    EXPECT_EQ(Line(2), QString::fromUtf8("快速进给距离为：0.000000mm"));
    EXPECT_EQ(Line(3), QString::fromUtf8("进给距离为：0.000000mm"));
    Show(125.5, 300, 98.5);
    EXPECT_EQ(Line(1), QString::fromUtf8("加工工时为：2小时5分"));
    EXPECT_EQ(Line(2), QString::fromUtf8("快速进给距离为：300.000000mm"));
    EXPECT_EQ(Line(3), QString::fromUtf8("进给距离为：98.500000mm"));
    Show(59.99, 0, 0);
    EXPECT_EQ(Line(1), QString::fromUtf8("加工工时为：0小时59分"));
    Show(60.0, 0, 0);
    EXPECT_EQ(Line(1), QString::fromUtf8("加工工时为：1小时0分"));
}

TEST_F(InfoViewTest, LabelsAreBoldBlueAndBoldRedAndValuesPlain)
{
    Show(125.5, 300, 98.5);
    const QColor blue(0, 0, 255), red(255, 0, 0);
    EXPECT_EQ(FormatAt(0, 0).foreground().color(), blue);
    EXPECT_EQ(FormatAt(0, 5).fontWeight(), QFont::Bold);
    for (int line : {1, 2, 3}) {
        EXPECT_EQ(FormatAt(line, 0).foreground().color(), red) << line;
        EXPECT_EQ(FormatAt(line, 0).fontWeight(), QFont::Bold) << line;
    }
    // The values after the labels keep the plain format.
    EXPECT_NE(FormatAt(1, 7).fontWeight(), QFont::Bold);
    EXPECT_NE(FormatAt(2, 9).foreground().color(), red);
    EXPECT_NE(FormatAt(3, 7).fontWeight(), QFont::Bold);
    // The rapid label's tail is red once, as part of the rapid label.
    EXPECT_EQ(FormatAt(2, 3).foreground().color(), red);
}

TEST_F(InfoViewTest, AWarningLineInRedUnderTheFiguresWhenLinesWerePassedOver)
{
    Show(10, 1, 2);
    EXPECT_EQ(Line(4), QString());
    EXPECT_FALSE(view->toPlainText().contains(QString::fromUtf8("注意")));

    doc.m_warnings.lines = 3;
    doc.m_warnings.firstLine = 9;  // the tenth line, as the status bar counts
    Show(10, 1, 2);
    EXPECT_EQ(Line(3), QString::fromUtf8("进给距离为：2.000000mm"));
    const QString warning = QString::fromUtf8("注意：3 行含有未解释的指令（首次出现于第 10 行）");
    EXPECT_EQ(Line(4), warning);
    const QColor red(255, 0, 0);
    for (const int offset : {0, 5, int(warning.size()) - 1}) {
        EXPECT_EQ(FormatAt(4, offset).foreground().color(), red) << offset;
        EXPECT_EQ(FormatAt(4, offset).fontWeight(), QFont::Bold) << offset;
    }
    // The figures above keep their formats.
    EXPECT_NE(FormatAt(3, 7).foreground().color(), red);

    // Gone again once an interpretation has none.
    doc.m_warnings = NcWarnings();
    Show(10, 1, 2);
    EXPECT_EQ(Line(4), QString());
}

TEST_F(InfoViewTest, ReadOnlyOnItsOwnBackgroundAndTheSelectionSurvivesARefresh)
{
    view->setFocus();
    QTest::keyClicks(view, "123");
    EXPECT_EQ(Line(1), QString::fromUtf8("加工工时为：0小时0分"));
    EXPECT_EQ(view->palette().color(QPalette::Base), QColor(255, 255, 235));
    const QImage image = view->viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() - 3, image.height() - 3), QColor(255, 255, 235));

    QTextCursor selection(view->document());
    selection.setPosition(9);
    selection.setPosition(14, QTextCursor::KeepAnchor);
    view->setTextCursor(selection);
    Show(10, 1, 2);
    EXPECT_EQ(view->textCursor().anchor(), 9);
    EXPECT_EQ(view->textCursor().position(), 14);
}

}  // namespace
