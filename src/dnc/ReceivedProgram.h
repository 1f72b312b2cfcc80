// What the receive dialog has taken in from the machine: every byte in the
// order it came, the count of complete lines (each ended by a LF) and where
// the last complete line lies, so that the dialog can show it.  Only bytes:
// no widget, no port, so that it can be tested and fuzzed on its own.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

class ReceivedProgram
{
public:
    // Forgets everything received.
    void Clear();
    // Appends bytes as they came; any byte, NUL, DC1 and DC3 included.
    void Append(QByteArrayView bytes);

    // Everything received, an unfinished last line included.
    const QByteArray& Bytes() const { return m_bytes; }
    bool IsEmpty() const { return m_bytes.isEmpty(); }
    // The LF bytes received so far.
    int LineCount() const { return m_lines; }
    // The last complete line with its LF; empty before the first LF.
    QByteArrayView LastLine() const;

private:
    QByteArray m_bytes;
    int m_lines = 0;
    // Where the unfinished line starts, and the complete line before it.
    qsizetype m_lineStart = 0;
    qsizetype m_lastLineStart = 0;
};
