// Reading the command line.
#include "CCommandLineInfo.h"

void CCommandLineInfo::ParseParam(const QString& argument)
{
    if (!m_bOptionsEnded) {
        if (argument == QLatin1String("--")) {
            m_bOptionsEnded = true;
            return;
        }
        if (argument == QLatin1String("--no-splash") || argument == QLatin1String("-nosplash")) {
            m_bShowSplash = false;
            return;
        }
        if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-"))
            return;
    }
    if (argument.isEmpty())
        return;
    m_fileNames.append(argument);
    if (m_strFileName.isEmpty()) {
        m_strFileName = argument;
        m_nShellCommand = FileOpen;
    }
}
