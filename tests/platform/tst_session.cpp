// SPDX-License-Identifier: GPL-3.0-or-later
// Which Qt platform the program starts on, from the session it is started in.
#include "platform/session.h"

#include <QTest>

using namespace quorlin;

class SessionTest : public QObject
{
    Q_OBJECT

private slots:
    void platformFollowsTheSession_data()
    {
        QTest::addColumn<QStringList>("variables"); // NAME=value
        QTest::addColumn<QByteArray>("platform");   // empty: Qt's own choice
        QTest::newRow("X session")
            << QStringList{"DISPLAY=:0", "XDG_SESSION_TYPE=x11"} << QByteArray();
        QTest::newRow("Wayland with Xwayland")
            << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1", "XDG_SESSION_TYPE=wayland"}
            << QByteArray("xcb;wayland");
        QTest::newRow("Wayland without the session type")
            << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1"} << QByteArray("xcb;wayland");
        QTest::newRow("Wayland alone")
            << QStringList{"WAYLAND_DISPLAY=wayland-0"} << QByteArray("wayland");
        QTest::newRow("Wayland session, default socket")
            << QStringList{"XDG_SESSION_TYPE=wayland"} << QByteArray("wayland");
        QTest::newRow("empty values count as unset")
            << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY="} << QByteArray("wayland");
        QTest::newRow("the user's platform stands")
            << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1", "QT_QPA_PLATFORM=wayland"}
            << QByteArray();
        QTest::newRow("no display at all") << QStringList{} << QByteArray();
    }

    void platformFollowsTheSession()
    {
        QFETCH(QStringList, variables);
        QFETCH(QByteArray, platform);
        QProcessEnvironment env;
        for (const QString &v : variables)
            env.insert(v.section(QLatin1Char('='), 0, 0), v.section(QLatin1Char('='), 1));
        QCOMPARE(preferredPlatform(env), platform);
    }
};

QTEST_GUILESS_MAIN(SessionTest)
#include "tst_session.moc"
