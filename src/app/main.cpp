// The desktop program.
#include <QApplication>

#include "CTornelApp.h"

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    CTornelApp app;
    return app.Run(arguments);
}
