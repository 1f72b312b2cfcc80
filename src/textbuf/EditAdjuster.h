// Position adjusters: sent with every insertion and deletion so that each view
// can move the positions it keeps (caret, selection, anchor, scroll position)
// across the change without knowing what the change was.
#pragma once

#include "TextTypes.h"

class EditAdjuster
{
public:
    EditAdjuster(TextPos start, TextPos end) : m_start(start), m_end(end) {}
    virtual ~EditAdjuster() = default;

    // Rewrites point in place so that it keeps denoting the same text.
    virtual void AdjustPoint(TextPos& point) const = 0;

    TextPos m_start;
    TextPos m_end;
};

// Text went in between m_start and m_end (the position just after it).
class InsertAdjuster final : public EditAdjuster
{
public:
    using EditAdjuster::EditAdjuster;
    void AdjustPoint(TextPos& point) const override;
};

// The range m_start .. m_end was removed.
class DeleteAdjuster final : public EditAdjuster
{
public:
    using EditAdjuster::EditAdjuster;
    void AdjustPoint(TextPos& point) const override;
};
