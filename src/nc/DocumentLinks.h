// The two views the document relays between: the code view marks the line a
// toolpath record came from, the simulation puts its tool marker on the record
// of a line.  The document finds them among its views through these
// interfaces, so it needs neither view's headers.
#pragma once

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
