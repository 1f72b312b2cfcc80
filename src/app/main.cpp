// The desktop program.
#include <QApplication>

#include "CTornelApp.h"

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    // Lets the desktop find the program's entry, and so its icon, for its
    // windows.
    QGuiApplication::setDesktopFileName(QStringLiteral(TORNEL_APP_ID));
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    CTornelApp app;
    return app.Run(arguments);
}
