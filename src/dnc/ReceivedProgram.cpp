// The received bytes and their line count.
#include "ReceivedProgram.h"

#include <cstring>

void ReceivedProgram::Clear()
{
    m_bytes.clear();
    m_lines = 0;
    m_lineStart = 0;
    m_lastLineStart = 0;
}

void ReceivedProgram::Append(QByteArrayView bytes)
{
    const qsizetype before = m_bytes.size();
    m_bytes.append(bytes);
    // Only the new bytes are looked at: a flood of megabytes stays linear.
    const char* data = m_bytes.constData();
    for (qsizetype at = before; at < m_bytes.size();) {
        const void* lf = std::memchr(data + at, '\n', size_t(m_bytes.size() - at));
        if (!lf)
            break;
        const qsizetype end = static_cast<const char*>(lf) - data + 1;
        m_lastLineStart = m_lineStart;
        m_lineStart = end;
        ++m_lines;
        at = end;
    }
}

QByteArrayView ReceivedProgram::LastLine() const
{
    return QByteArrayView(m_bytes.constData() + m_lastLineStart, m_lineStart - m_lastLineStart);
}
