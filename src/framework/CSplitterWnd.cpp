#include "CSplitterWnd.h"

CSplitterWnd::CSplitterWnd(QWidget* parent) : QSplitter(parent)
{
    setChildrenCollapsible(false);
}

bool CSplitterWnd::CreateStatic(int rows, int columns)
{
    if (m_rows || rows < 1 || rows > 16 || columns < 1 || columns > 16)
        return false;
    m_rows = rows;
    m_columns = columns;
    setOrientation(rows == 1 ? Qt::Horizontal : Qt::Vertical);
    if (rows > 1 && columns > 1) {
        for (int row = 0; row < rows; ++row) {
            auto* line = new QSplitter(Qt::Horizontal, this);
            line->setChildrenCollapsible(false);
            addWidget(line);
        }
    }
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            auto* empty = new QWidget;
            RowSplitter(row)->addWidget(empty);
            m_panes.push_back(empty);
        }
    }
    return true;
}

QSplitter* CSplitterWnd::RowSplitter(int row)
{
    return m_rows > 1 && m_columns > 1 ? static_cast<QSplitter*>(widget(row)) : this;
}

void CSplitterWnd::SetPane(int row, int column, QWidget* pane)
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns || !pane)
        return;
    QWidget*& slot = m_panes[size_t(row * m_columns + column)];
    QSplitter* line = RowSplitter(row);
    // A widget made with the splitter as its parent is one of its
    // children already; it takes the slot's place, not a place of its own.
    if (line->indexOf(pane) >= 0)
        pane->setParent(nullptr);
    delete line->replaceWidget(line->indexOf(slot), pane);
    slot = pane;
}

QWidget* CSplitterWnd::GetPane(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns)
        return nullptr;
    return m_panes[size_t(row * m_columns + column)];
}

CSplitterWnd* CSplitterWnd::PaneOf(const QWidget* pane, int& row, int& column)
{
    // The pane sits in the splitter itself or in one of its row splitters.
    QWidget* parent = pane ? pane->parentWidget() : nullptr;
    for (int depth = 0; parent && depth < 2; ++depth, parent = parent->parentWidget()) {
        auto* splitter = qobject_cast<CSplitterWnd*>(parent);
        if (!splitter)
            continue;
        for (size_t i = 0; i < splitter->m_panes.size(); ++i) {
            if (splitter->m_panes[i] == pane) {
                row = int(i) / splitter->m_columns;
                column = int(i) % splitter->m_columns;
                return splitter;
            }
        }
        return nullptr;
    }
    return nullptr;
}
