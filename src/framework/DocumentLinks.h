// The two views the document relays between: the code view marks the line a
// toolpath record came from, the simulation puts its tool marker on the record
// of a line.  The document finds them among its views through these
// interfaces, so it needs neither view's headers; the code view sees its
// document through the last one, so it needs no document header either.
#pragma once

class CTextBuffer;
struct LogFont;

class CRunningLineView
{
public:
    // Marks line as the running line and brings it into view.
    virtual void MarkRunningLine(int line) = 0;

protected:
    ~CRunningLineView() = default;
};

class CMoveSelectionView
{
public:
    // Puts the tool marker on the record produced by line.
    virtual void SelectMoveByLine(int line) = 0;

protected:
    ~CMoveSelectionView() = default;
};

class CCodeDocument
{
public:
    virtual CTextBuffer* CodeBuffer() = 0;
    virtual const LogFont& CodeFont() const = 0;
    // Whether the simulation has anything to show (moves or tools).
    virtual bool HasToolpath() const = 0;
    // Puts the simulation's tool marker on the record of line.
    virtual void ShowLineInSimulation(int line) = 0;

protected:
    ~CCodeDocument() = default;
};
