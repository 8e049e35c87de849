// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own start-up (as src/main.cpp), reporting when its main window is painted.
#include "app/application.h"
#include "forms/TabbedTemplate.h"
#include "painted.h"

#include <QApplication>

int main(int, char *argv[])
{
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication qtApp(qtArgc, qtArgv);
    PaintedReporter reporter;

    quorlin::Application app;
    app.initialize();
    app.createForm(quorlin::TabbedForm);
    return app.run();
}
