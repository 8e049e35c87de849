// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcessEnvironment>

namespace quorlin {

// The Qt platform to start on, or empty to leave the choice to Qt.
//
// A Wayland compositor places every window itself, so there the windows could not be centred on
// the desktop. When the session also offers an X server (Xwayland), the windows go there, where
// they keep their centred place, borderless and fixed in size; Wayland itself is the fallback
// should that server not answer. Without an X server they run on Wayland and the compositor
// places them. A platform the user names (QT_QPA_PLATFORM) always stands.
inline QByteArray preferredPlatform(const QProcessEnvironment &env)
{
    if (!env.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty())
        return {};
    const bool wayland = !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
                         env.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland");
    if (!wayland)
        return {};
    if (!env.value(QStringLiteral("DISPLAY")).isEmpty())
        return QByteArrayLiteral("xcb;wayland");
    return QByteArrayLiteral("wayland");
}

} // namespace quorlin
