// The move list of tornel-info --moves, record by record.
#include "MoveListWriter.h"

#include "InfoReport.h"

MoveListWriter::MoveListWriter(std::FILE* out) : m_out(out)
{
    m_pending.reserve(kFlushAt + 512);
}

void MoveListWriter::MoveMade(const MoveRecord& record, ArcDirection)
{
    if (!m_first)
        m_pending += ", ";
    m_first = false;
    AppendMoveJson(m_pending, record);
    if (m_pending.size() >= kFlushAt)
        Flush();
}

bool MoveListWriter::Flush()
{
    if (m_ok && !m_pending.empty())
        m_ok = std::fwrite(m_pending.data(), 1, m_pending.size(), m_out) == m_pending.size();
    m_pending.clear();
    return m_ok;
}
