// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "forms/TabbedTemplate.h"

#include <QApplication>

int main(int, char *argv[])
{
    // The program takes no command line: Qt is given only the program's name.
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication qtApp(qtArgc, qtArgv);
    // Lets the desktop match the windows to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORLIN_APP_ID));

    quorlin::Application app;
    app.initialize();
    app.createForm(quorlin::TabbedForm);
    return app.run();
}
