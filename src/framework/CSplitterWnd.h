// A static splitter window: a fixed grid of panes, rows x columns, with a
// bar the user drags between neighbours.  A grid of one row or one column is
// a single QSplitter; a larger grid is a column of row splitters.
#pragma once

#include <QSplitter>
#include <vector>

class CSplitterWnd : public QSplitter
{
    Q_OBJECT

public:
    explicit CSplitterWnd(QWidget* parent = nullptr);

    // Makes the grid of empty panes; false when rows or columns are not
    // within 1 .. 16 or the grid already exists.
    bool CreateStatic(int rows, int columns);
    int GetRowCount() const { return m_rows; }
    int GetColumnCount() const { return m_columns; }
    // Puts pane at (row, column), in place of what was there (which is
    // deleted); the splitter takes pane over.
    void SetPane(int row, int column, QWidget* pane);
    QWidget* GetPane(int row, int column) const;

    // The splitter holding pane as one of its panes, and where; null when
    // pane is not a splitter pane.
    static CSplitterWnd* PaneOf(const QWidget* pane, int& row, int& column);

private:
    QSplitter* RowSplitter(int row);

    int m_rows = 0;
    int m_columns = 0;
    std::vector<QWidget*> m_panes;  // row by row
};
