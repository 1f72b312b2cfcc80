// A text view over a real buffer, sized in whole rows and columns, for the
// text view tests.
#pragma once

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

#include "CTextBuffer.h"
#include "CTextView.h"

inline void PrintTo(const TextPos& pos, std::ostream* out)
{
    *out << "(" << pos.x << "," << pos.y << ")";
}

class TextViewTest : public ::testing::Test
{
protected:
    // Lines joined by CR LF, as text crosses the buffer's interface.
    void Load(const std::string& text, int rows = 10, int columns = 40)
    {
        buffer = std::make_unique<CTextBuffer>();
        buffer->ResetToEmpty(EOL_DOS);
        int endLine = 0, endChar = 0;
        if (!text.empty())
            buffer->RawInsert(nullptr, 0, 0, text, endLine, endChar);
        view = std::make_unique<CTextView>();
        Resize(rows, columns);
        view->AttachBuffer(buffer.get());
        // The horizontal bar is set up just after the first paint.
        QCoreApplication::processEvents();
        // Tests that want the focus's drawing ask for it; the window system
        // may have given it already.
        view->clearFocus();
    }
    // Makes the text area exactly rows x columns cells (and a little more,
    // less than one cell).
    void Resize(int rows, int columns)
    {
        view->show();
        const int rowHeight = view->GetRowHeight(), cellWidth = view->GetCellWidth();
        const QSize frame = view->size() - view->viewport()->size();
        view->resize(frame + QSize(CTextView::kMarginWidth + columns * cellWidth + cellWidth / 2,
                                   rows * rowHeight + rowHeight / 2));
        QCoreApplication::sendPostedEvents();
        ASSERT_EQ(view->GetVisibleRows(), rows);
        ASSERT_EQ(view->GetVisibleColumns(), columns);
    }
    bool Run(int id)
    {
        return view->OnCmdMsg(id, nullptr);
    }
    QImage Grab()
    {
        return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // The colour in the middle of a text cell (column of the window, row).
    QColor CellColour(const QImage& image, int column, int row)
    {
        return image.pixelColor(CTextView::kMarginWidth + column * view->GetCellWidth() + view->GetCellWidth() / 2,
                                row * view->GetRowHeight() + 1);
    }
    std::unique_ptr<CTextBuffer> buffer;
    std::unique_ptr<CTextView> view;
};
