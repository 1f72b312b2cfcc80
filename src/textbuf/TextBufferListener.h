// What the text buffer asks of an attached view.  The buffer knows views only
// through this interface; the text views implement it.
#pragma once

#include <cstdint>
#include <string_view>

class EditAdjuster;

class CTextBufferListener
{
public:
    // Called after every change, in attachment order.  source is the view that
    // made the change (or null for undo, redo, loading and flag changes);
    // adjuster comes only with insertions and deletions; line is the line
    // where the change began, or -1 with HINT_RESET.
    virtual void OnBufferChanged(CTextBufferListener* source, const EditAdjuster* adjuster,
                                 uint32_t hints, int line) = 0;

    // Called on the view that closes an undo group, with the action code and
    // text of the last step recorded.  A change made from here joins no group
    // of its own: it starts a new one.
    virtual void OnEditAction(int action, std::string_view text) = 0;

protected:
    ~CTextBufferListener() = default;
};
