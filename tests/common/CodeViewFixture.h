// A code view over a real document, in a frame that records the status
// bar's messages, sized in whole rows and columns.
#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

#include "CFrameWnd.h"
#include "CMultiDocTemplate.h"
#include "CTornelDoc.h"
#include "CTornelView.h"

inline void PrintTo(const TextPos& pos, std::ostream* out)
{
    *out << "(" << pos.x << "," << pos.y << ")";
}

class MessageFrame : public CFrameWnd
{
public:
    QWidget* Widget() override { return &m_widget; }
    void SetMessageText(const QString& text) override { m_message = text; }
    QWidget m_widget;
    QString m_message;
};

class CodeViewTest : public ::testing::Test
{
protected:
    // Lines joined by CR LF; the text is there before the view, not typed.
    void Load(const std::string& text, int rows = 10, int columns = 40)
    {
        view = nullptr;
        frame = std::make_unique<MessageFrame>();
        doc = std::make_unique<CTornelDoc>();
        ASSERT_TRUE(doc->OnNewDocument());
        int endLine = 0, endChar = 0;
        if (!text.empty())
            doc->TextBuffer().RawInsert(nullptr, 0, 0, text, endLine, endChar);
        CCreateContext context;
        context.m_pCurrentDoc = doc.get();
        context.m_pNewViewClass = [this](QWidget* parent) { return NewView(parent); };
        view = dynamic_cast<CTornelView*>(frame->CreateView(&context, &frame->m_widget));
        ASSERT_TRUE(view);
        view->OnInitialUpdate();
        frame->m_widget.show();
        const int rowHeight = view->GetRowHeight(), cellWidth = view->GetCellWidth();
        view->resize(QSize(100, 100));
        const QSize chrome = view->size() - view->viewport()->size();
        view->resize(chrome + QSize(CTextView::kMarginWidth + columns * cellWidth + cellWidth / 2,
                                    rows * rowHeight + rowHeight / 2));
        frame->m_widget.resize(view->size());
        QCoreApplication::processEvents();
        view->setFocus();
    }
    // The view Load makes; a test may watch a view of its own class.
    virtual CTornelView* NewView(QWidget* parent) { return new CTornelView(parent); }
    void TearDown() override
    {
        delete view;  // before its document and frame
        view = nullptr;
    }
    CTextBuffer& Buffer() { return doc->TextBuffer(); }
    std::string Text()
    {
        std::string text;
        const int last = Buffer().LineCount() - 1;
        Buffer().CopyText(0, 0, last, Buffer().LineLength(last), text);
        return text;
    }
    bool Run(int id) { return view->OnCmdMsg(id, nullptr); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(view, key, modifiers); }
    void Type(const QString& text) { QTest::keyClicks(view, text); }
    void Place(TextPos pt)
    {
        view->SetSelection(pt, pt);
        view->SetSelectionAnchor(pt);
        view->SetCursorTextPos(pt);
    }
    void Select(TextPos start, TextPos end)
    {
        view->SetSelectionAnchor(start);
        view->SetCursorTextPos(end);
        view->SetSelection(start, end);
    }

    std::unique_ptr<MessageFrame> frame;
    std::unique_ptr<CTornelDoc> doc;
    CTornelView* view = nullptr;
};
