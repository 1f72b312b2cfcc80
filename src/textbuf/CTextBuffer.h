// The text of one NC program: an array of lines of raw bytes (GBK, never
// decoded), one flag word per line, file load and save, insertion and deletion
// with change notifications to the attached views, and the undo history.
//
// Storage: the line array is a gap buffer of 24-byte TextLine records, so that
// an edit near the top of a program of millions of lines moves only the records
// between the last edit and this one.  A loaded file's line texts are carved
// from a few large blocks (LineStore) instead of one heap block per line; a line
// that later outgrows its slot moves to a heap block of its own.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "EditAdjuster.h"
#include "LineStore.h"
#include "SplitVector.h"
#include "TextBufferListener.h"
#include "TextTypes.h"

// Undo action codes: what a group of steps did.  The buffer only records
// them; a view that shows the history names them.
enum : int
{
    ACTION_UNKNOWN = 0,
    ACTION_PASTE = 1,
    ACTION_DELETE_SELECTION = 2,
    ACTION_CUT = 3,
    ACTION_TYPING = 4,
    ACTION_BACKSPACE = 5,
    ACTION_INDENT = 6,
    ACTION_DRAG_DROP = 7,
    ACTION_REPLACE = 8,
    ACTION_DELETE = 9,
    ACTION_AUTO_INDENT = 10,
};

class CTextBuffer
{
public:
    struct TextLine
    {
        char* text = nullptr;  // not terminated, never holds the separator
        int32_t length = 0;
        int32_t capacity = 0;  // multiple of 16, greater than length
        uint32_t flags = 0;
        bool heap = false;  // text is a malloc block of its own (else LineStore's)
    };

    // Sees the lines of a file while LoadFile reads it, so that a caller can
    // work on them (interpret them, say) on another thread before the whole
    // file is in.  Called on the loading thread, block by block, with the
    // lines cut since the last call; the array is valid only during the call,
    // the texts it points to until the buffer is cleared.  If the load then
    // fails, the lines seen so far are gone: LoadFailed comes first.
    class LoadListener
    {
    public:
        virtual void LinesLoaded(const TextLine* lines, size_t count) = 0;
        // After every block read: how far the reading is.  Returning false
        // stops the load, which then fails and leaves the buffer as it was.
        virtual bool ContinueLoading(uint64_t bytesRead, uint64_t fileSize)
        {
            (void)bytesRead;
            (void)fileSize;
            return true;
        }
        // The load failed (or was stopped) after lines were handed over:
        // the listener must be done with them when this returns.
        virtual void LoadFailed() = 0;

    protected:
        ~LoadListener() = default;
    };

    enum : uint32_t
    {
        STEP_INSERT = 0x0001,
        STEP_GROUP_START = 0x0100,
    };

    struct UndoStep
    {
        uint32_t flags = 0;
        TextPos start;
        TextPos end;
        int32_t action = ACTION_UNKNOWN;
        // Lines joined by CR LF.  Short texts (every typed byte) live inside
        // the string object without a heap allocation.
        std::string text;
        // Where in text each joining CR LF begins.  A line may hold a CR of
        // its own (a lone CR in a DOS file, the CR of a CR LF in a file of
        // LF lines), which text alone could not tell from a joint; the step
        // gives back exactly the lines it took.  Empty for a text of one
        // line, so a typed byte allocates nothing.
        std::vector<int32_t> breaks;
    };

    CTextBuffer();
    virtual ~CTextBuffer();
    CTextBuffer(const CTextBuffer&) = delete;
    CTextBuffer& operator=(const CTextBuffer&) = delete;

    // --- queries ------------------------------------------------------------
    bool IsInitialised() const { return m_initialised; }
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    int LineLength(int line) const { return m_lines[line].length; }
    const char* LineChars(int line) const { return m_lines[line].text; }
    std::string_view Line(int line) const { return {m_lines[line].text, size_t(m_lines[line].length)}; }
    uint32_t LineFlags(int line) const { return m_lines[line].flags; }
    int EolStyle() const { return m_eolStyle; }
    bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool IsModifiedFlag() const { return m_modified; }

    // Text from the start position up to (not including) the end position;
    // lines are joined by separator, CR LF when it is null.
    void CopyText(int startLine, int startChar, int endLine, int endChar, std::string& out,
                  const char* separator = nullptr) const;

    // The same text as CopyText, and where its joints are (UndoStep::breaks).
    void CopyLines(TextPos start, TextPos end, std::string& text, std::vector<int32_t>& breaks) const;

    // Whether pt is a position of the text (a byte offset up to the line's
    // length); the changes refuse any other.
    bool IsValidPosition(TextPos pt) const;

    int FindFirstLineWithFlag(uint32_t flagMask) const;
    int LineWithFlag(uint32_t flag) const;
    int NextBookmarkLine(int line) const;
    int PrevBookmarkLine(int line) const;

    // Why the last LoadFile or SaveFile failed (empty after a success).
    const std::string& LastFileError() const { return m_lastFileError; }

    // Bytes held for line texts and line records (for memory measurements).
    size_t MemoryUsed() const;

    // --- changes ------------------------------------------------------------
    void ChangeLineFlag(int line, uint32_t flag, bool set, bool unique);

    // Inserts text, in which each CR (or CR LF) breaks the line; a LF on its
    // own is an ordinary byte, and the text ends at its first NUL.
    bool RawInsert(CTextBufferListener* source, int line, int ch, std::string_view text, int& endLine,
                   int& endChar);
    // Inserts lines: text holds them joined by CR LF, breaks says where the
    // joints are; every other byte, CR included, goes into a line as it is.
    bool RawInsertLines(CTextBufferListener* source, int line, int ch, std::string_view text,
                        const std::vector<int32_t>& breaks, int& endLine, int& endChar);
    // The lines RawInsert makes of text: joined by CR LF, with the joints.
    static void SplitIntoLines(std::string_view text, std::string& joined, std::vector<int32_t>& breaks);
    bool RawDelete(CTextBufferListener* source, int startLine, int startChar, int endLine, int endChar);

    virtual void SetModified(bool modified);

    // --- undo (TextBufferUndo.cpp) --------------------------------------------
    bool InsertText(CTextBufferListener* source, int line, int ch, std::string_view text, int& endLine,
                    int& endChar, int action);
    bool DeleteText(CTextBufferListener* source, int startLine, int startChar, int endLine, int endChar,
                    int action);
    void OpenUndoGroup(bool merge);
    void CloseUndoGroup(CTextBufferListener* source);
    bool CanUndo() const { return m_undoPos > 0; }
    bool CanRedo() const { return m_undoPos < static_cast<int>(m_undo.size()); }
    bool Undo(TextPos& point);
    bool Redo(TextPos& point);
    // The action of the group Undo would take back (that of its first
    // step), and of the group Redo would make again; -1 when there is none.
    int UndoAction() const;
    int RedoAction() const;

    int UndoPos() const { return m_undoPos; }
    int SavedPos() const { return m_savedPos; }
    int UndoStepCount() const { return static_cast<int>(m_undo.size()); }
    const UndoStep& UndoStepAt(int i) const { return m_undo[i]; }
    bool InUndoGroup() const { return m_inGroup; }
    // The most steps the history keeps (1024 unless set; 0: no limit).
    void SetUndoLimit(int steps) { m_undoLimit = steps; }

    // --- views --------------------------------------------------------------
    void AttachView(CTextBufferListener* view);
    void DetachView(CTextBufferListener* view);
    void NotifyViews(CTextBufferListener* source, const EditAdjuster* adjuster, uint32_t hints, int line);

    // --- whole text (TextBufferFile.cpp for load and save) ---------------------
    bool ResetToEmpty(int style);
    bool LoadFile(const char* path, int style, LoadListener* listener = nullptr);
    bool SaveFile(const char* path, int style, bool clearModified);
    void ClearAll();

protected:
    // Creates a line (length -1: measure up to the first NUL) at index, or at
    // the end for -1.
    void InsertLineAt(const char* bytes, int length = -1, int index = -1);
    // Appends bytes to a line (length -1: measure up to the first NUL).
    void AppendToLine(int line, const char* bytes, int length = -1);

private:
    void RecordStep(bool isInsert, TextPos start, TextPos end, std::string text, std::vector<int32_t> breaks,
                    int action);
    // Applies step forwards (redo) or backwards (undo); false when the text
    // refuses it.
    bool ApplyStep(const UndoStep& step, bool forwards, TextPos& point);
    void UpdateModifiedAfterHistoryMove();
    void FreeLineText(TextLine& line);
    void ReserveLine(TextLine& line, int newLength);
    void SetFileError(std::string what, int err);
    // The first line holding a one-bit flag, or -1: from m_flagLines when
    // the buffer knows it, else by looking through the lines (which tells
    // it from then on if the flag is on one line at most).
    int FirstLineWithFlag(uint32_t flag) const;
    // Lines inserted at index or removed after it: the flags' lines follow.
    void FlagLinesInserted(int index, int count);
    void FlagLinesRemoved(int first, int count);

    bool m_initialised = false;
    bool m_readOnly = false;
    bool m_modified = false;
    int32_t m_eolStyle = EOL_DOS;
    int32_t m_undoLimit = 0;
    SplitVector<TextLine> m_lines;
    // A deque: the oldest group leaves from the front in time independent
    // of the history's length.
    std::deque<UndoStep> m_undo;
    int32_t m_undoPos = 0;
    int32_t m_savedPos = 0;
    bool m_inGroup = false;
    bool m_groupStartPending = false;
    std::vector<CTextBufferListener*> m_views;

    LineStore m_store;  // blocks the loaded line texts were carved from
    // For each flag bit, the one line that holds it (kNoFlagLine: none), or
    // kFlagLineUnknown when it may be on several lines.  A flag set in
    // exclusive mode is on one line at most, so moving it - the running
    // line at every step of a playback - costs the same in a program of
    // any length: the old line is known without looking for it.  Flags
    // move with their lines, and so do these.
    static constexpr int32_t kNoFlagLine = -1;
    static constexpr int32_t kFlagLineUnknown = -2;
    mutable std::array<int32_t, 32> m_flagLines;
    std::string m_lastFileError;
};

// Capacity of a line slot for a given length: the next multiple of 16 above it.
constexpr int32_t LineCapacityFor(int32_t length) { return (length / 16 + 1) * 16; }
