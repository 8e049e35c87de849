// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/application.h"
#include "support/control.h"
#include "support/fakeaudio.h"
#include "support/fakeclock.h"
#include "support/fakeplatform.h"
#include "support/modulestate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace quorlin::test {

// Everything a window test needs: fake platform services, a working directory holding the
// bell file, and a fresh application object.
class WindowFixture
{
    // First, so that it goes last: the fakes below may still hold the bell open, and Windows
    // removes no folder with an open file in it.
    QTemporaryDir m_dir;

public:
    FakeMessageBoxes boxes;
    FakeShell shell;
    FakeDesktop desktop;
    FakeAudioOutput audio;
    FakeClock clock;

    WindowFixture()
        : m_previousDir(QDir::currentPath()),
          m_services(Services{&clock, &shell, &boxes, &desktop}), m_audio(audio)
    {
        QDir::setCurrent(m_dir.path());
        restoreBell();
        app = std::make_unique<Application>();
    }

    ~WindowFixture()
    {
        app.reset();
        QDir::setCurrent(m_previousDir);
    }

    WindowFixture(const WindowFixture &) = delete;
    WindowFixture &operator=(const WindowFixture &) = delete;

    static QString bellName() { return QStringLiteral("80578_634166-lq.wav"); }
    static QString bellSource()
    {
        return qEnvironmentVariable("QUORLIN_SOURCE_DIR") + QStringLiteral("/assets/") + bellName();
    }

    // Removes the bell, and waits until its name is gone: on Windows a file's name can stay
    // until the last program holding the file lets go, and the windows' bells let go of theirs
    // a moment after they open it.
    void removeBell()
    {
        const QString bell = m_dir.filePath(bellName());
        QVERIFY(QFile::remove(bell));
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(bell), 5000);
    }
    void restoreBell() { QFile::copy(bellSource(), m_dir.filePath(bellName())); }
    QString workingDir() const { return m_dir.path(); }

    std::unique_ptr<Application> app;

private:
    QString m_previousDir;
    ScopedServices m_services;
    ScopedAudioOutput m_audio;
};

} // namespace quorlin::test
