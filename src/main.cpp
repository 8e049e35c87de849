// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "forms/TabbedTemplate.h"
#include "platform/session.h"

#include "buildconfig.h"

#include <QApplication>

int main(int, char *argv[])
{
    // The program takes no command line: Qt is given only the program's name, and the
    // platform to start on when the session calls for one (a Wayland session, see session.h).
    // It goes to Qt as an argument rather than through the environment, which the browser the
    // program starts would inherit.
    QByteArray platform = quorlin::preferredPlatform(QProcessEnvironment::systemEnvironment());
    char platformOption[] = "-platform";
    int qtArgc = platform.isEmpty() ? 1 : 3;
    char *qtArgv[] = {argv[0], platformOption, platform.data(), nullptr};
    QApplication qtApp(qtArgc, qtArgv);
    // Lets the desktop match the windows to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORLIN_APP_ID));

    quorlin::Application app;
    app.initialize();
    app.createForm(quorlin::TabbedForm);
    return app.run();
}
