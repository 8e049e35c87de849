// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop.h"

#include <QGuiApplication>
#include <QScreen>

namespace quorlin {

QRect ScreenDesktop::virtualRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace quorlin
