// What the tool configuration dialog needs of a document: its tool list, to
// edit in place, and a way to have the views show an edit.  The dialog uses
// this rather than the application's document class, so that it needs
// nothing of the application (nor of the views).
#pragma once

#include <vector>

#include "ToolSlot.h"

class CToolDocument
{
public:
    // The tool list of the last interpretation, one slot per T number.
    virtual std::vector<ToolSlot>& ToolSlots() = 0;
    // A slot has been stored into: the views that draw tools repaint.
    virtual void OnToolDefinitionsChanged() = 0;

protected:
    ~CToolDocument() = default;
};
