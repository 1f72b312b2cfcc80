// CToolLibraryDlg: the tools of the tool library in a list (number, name,
// shape and diameter), from which the user picks the one to load into the
// tool configuration dialog's fields.
#pragma once

#include <QDialog>
#include <vector>

#include "ToolSlot.h"

class QTreeWidget;

class CToolLibraryDlg : public QDialog
{
    Q_OBJECT

public:
    CToolLibraryDlg(std::vector<ToolSlot> entries, QWidget* parent = nullptr);

    // The entry chosen in the list, or null.
    const ToolSlot* SelectedTool() const;

private:
    std::vector<ToolSlot> m_entries;
    QTreeWidget* m_list = nullptr;
};
