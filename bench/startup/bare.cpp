// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for start-up: a bare Qt program showing one borderless 388 x 555 window with the
// given number of plain controls, no pictures and no sound.
#include "painted.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

int main(int argc, char *argv[])
{
    QApplication qtApp(argc, argv);
    PaintedReporter reporter;
    const int controls = argc > 1 ? std::atoi(argv[1]) : 40;
    QWidget window;
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(388, 555);
    for (int i = 0; i < controls; ++i) {
        QWidget *w =
            i % 2 ? static_cast<QWidget *>(new QPushButton(QStringLiteral("ปุ่ม %1").arg(i), &window))
                  : new QLabel(QStringLiteral("ป้าย %1").arg(i), &window);
        w->setGeometry(4 + (i % 4) * 95, 4 + (i / 4) * 26, 90, 24);
    }
    window.move(318, 106);
    window.show();
    return qtApp.exec();
}
