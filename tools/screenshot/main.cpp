// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the screenshot software centres show: the program started as it always starts, on Qt's
// offscreen platform, its main window grabbed once it is up and written as PNG, then the program
// ended the way its exit button ends it.
//
//     quorlin_screenshot <file.png>      (run in a folder holding the bell, as the program is)
#include "app/application.h"
#include "forms/TabbedTemplate.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <file.png>\n", argv[0]);
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    // The screenshot is the same on every machine: no display, no scaling.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_SCALE_FACTOR");
    int qtArgc = 1;
    QApplication qtApp(qtArgc, argv);

    quorlin::Application app;
    app.initialize();
    app.createForm(quorlin::TabbedForm);
    bool saved = false;
    // Queued before the loop starts, so it runs once start-up has shown the main window.
    QTimer::singleShot(0, &qtApp, [&] {
        if (quorlin::Form *form = app.mainForm())
            saved = form->grab().save(file, "PNG");
        app.terminate();
    });
    const int status = app.run();
    if (status != 0)
        return status;
    if (!saved) {
        std::fprintf(stderr, "%s: could not write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
