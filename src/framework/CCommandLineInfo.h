// The program's command line as the framework reads it: whether to show the
// splash, and what to do at start (nothing, a new document, or open a file).
#pragma once

#include <QString>
#include <QStringList>

class CCommandLineInfo
{
public:
    enum ShellCommand
    {
        FileNew,
        FileOpen,
        FileNothing,
    };

    // Reads one argument (the program's name is not passed).  "--no-splash"
    // (or "-nosplash") turns the splash off; other options are ignored; every
    // other argument, and every argument after "--", names a file; the first
    // is the file to open.
    void ParseParam(const QString& argument);

    bool m_bShowSplash = true;
    ShellCommand m_nShellCommand = FileNew;
    QString m_strFileName;
    QStringList m_fileNames;  // every file named, in order

private:
    bool m_bOptionsEnded = false;
};
