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

#include <memory>

namespace quorlin::test {

// Everything a window test needs: fake platform services, a working directory holding the
// bell file, and a fresh application object.
class WindowFixture
{
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

    void removeBell() { QFile::remove(m_dir.filePath(bellName())); }
    void restoreBell() { QFile::copy(bellSource(), m_dir.filePath(bellName())); }
    QString workingDir() const { return m_dir.path(); }

    std::unique_ptr<Application> app;

private:
    QString m_previousDir;
    QTemporaryDir m_dir;
    ScopedServices m_services;
    ScopedAudioOutput m_audio;
};

} // namespace quorlin::test
