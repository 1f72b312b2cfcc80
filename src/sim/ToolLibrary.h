// The tool library: tool definitions that the user keeps from one program to
// the next, in a text file beside the profile ("ToolLibrary.txt" in
// ~/.config/Halvane).
//
// The file is UTF-8 text that a user can read, edit and back up.  Empty lines
// and lines starting with '#' are comments.  Every other line is one tool,
// twelve fields separated by tabs, in the order of ToolSlot:
//     T  name  type  SD  TD  R  L  F  D  CL  CD  A
// T is the tool number, the name is the name as the user typed it (a name
// holds no tab), the type is FL, BU, SP, CO or DR, and the numbers are
// written shortest so that they read back exactly.  Spaces around a number
// or a type are allowed, for those who line the columns up by hand.  Each T
// number appears once; the file keeps the tools in the order of their
// numbers.
//
// A file that does not read as such (a line with the wrong number of fields,
// a bad number, a name that is too long...) is not lost: it is renamed
// aside, the user is told which file and which line, and the library starts
// empty.  Writing replaces the file atomically, so that a crash never leaves
// half a library.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <vector>

#include "ToolSlot.h"

class ToolLibrary
{
public:
    static constexpr const char* kFileName = "ToolLibrary.txt";

    // In the order of their T numbers.
    const std::vector<ToolSlot>& Entries() const { return m_entries; }
    // The entry of T number, or null.
    const ToolSlot* Find(int32_t number) const;
    // Adds tool, in place of the entry of its number when there is one.
    void Put(const ToolSlot& tool);

    // The file's contents.
    QByteArray ToText() const;
    // Why a text is not a library: the first bad line (counted from 1) and
    // what is wrong with it.
    struct TextError
    {
        int line = 0;
        QString reason;
    };
    // Takes the entries of text; false, with the library unchanged, when a
    // line is bad.
    bool FromText(QByteArrayView text, TextError* error = nullptr);

    enum class LoadStatus
    {
        Loaded,      // the file's entries, or none when there is no file yet
        Corrupt,     // the file was bad and has been renamed: empty, may be saved
        Unreadable,  // the file is there but could not be read or set aside:
                     // empty, and must not be saved over
    };
    struct LoadResult
    {
        LoadStatus status = LoadStatus::Loaded;
        QString message;     // for the user; empty when Loaded
        QString keptAsPath;  // where a corrupt file went
    };
    LoadResult Load(const QString& path);
    // Writes the library to path in one step; false with the reason in
    // message (for the user) when it cannot.
    bool Save(const QString& path, QString* message = nullptr) const;

private:
    std::vector<ToolSlot> m_entries;
};
