// What the views of an NC program see of its document: the text and the
// code view's font, the toolpath and the tool list of the last
// interpretation with its statistics and warnings, and the two relays
// between the code view and the simulation.  The views use this rather than
// the application's document class, so they need nothing of the application.
#pragma once

#include <vector>

#include "MoveList.h"
#include "NcWarnings.h"
#include "ToolSlot.h"

class CTextBuffer;
struct LogFont;

// The hint of the document's UpdateAllViews when only tool definitions have
// changed (the tool configuration stored one): the toolpath and statistics
// are as they were, so the simulation repaints its tool and nothing is
// rebuilt.  Hint 0 means that the program was interpreted anew.
enum : long
{
    HINT_TOOLS_CHANGED = 0x2000,
};

class CNcDocument
{
public:
    virtual CTextBuffer* CodeBuffer() = 0;
    virtual const LogFont& CodeFont() const = 0;

    virtual const MoveList& Moves() const = 0;
    virtual const std::vector<ToolSlot>& Tools() const = 0;
    // Whether the simulation has anything to show.
    bool HasToolpath() const { return !Moves().empty() || !Tools().empty(); }

    // Statistics of the last interpretation: minutes, and distances in the
    // program's unit.
    virtual double MachiningTime() const = 0;
    virtual double RapidDistance() const = 0;
    virtual double FeedDistance() const = 0;
    // What the last interpretation passed over but a control would act on.
    // A document that does not interpret (a stand-in in a test) has none.
    virtual NcWarnings Warnings() const { return NcWarnings(); }

    // Marks line in the code view (from a pick in the simulation).
    virtual void ShowLine(int line) = 0;
    // Puts the simulation's tool marker on the record of line (from a click
    // in the code view).
    virtual void ShowLineInSimulation(int line) = 0;

protected:
    ~CNcDocument() = default;
};
