// SPDX-License-Identifier: GPL-3.0-or-later
// The system's sound output is a module loaded once start-up is over. Making a voice loads
// nothing; the module comes in by itself shortly after the first voice is made, and a voice
// made before then sounds through it. Built a second time into a folder without the module: the
// voices stay silent, one warning says why, and nothing else changes.
#include "bell/audiooutput.h"

#include <QFile>
#include <QtTest>

#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace quorlin;

namespace {

bool moduleInMemory()
{
#ifdef _WIN32
    return GetModuleHandleW(L"quorlin-audio.dll") != nullptr;
#else
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/quorlin-audio.so");
#endif
}

std::shared_ptr<const PcmSound> silence()
{
    return std::make_shared<const PcmSound>(44100, 1, QByteArray(44100 * 2, '\0'));
}

} // namespace

class TestSoundModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // No sound server: the voices are silent either way, and nothing waits for one.
        qputenv("PULSE_SERVER", "unix:/nonexistent/quorlin-test");
    }

    void moduleIsLoadedAfterTheFirstVoiceIsMade()
    {
        SystemAudioOutput output;
#if QUORLIN_MODULE_BESIDE
        const auto voice = output.createVoice(silence());
        QVERIFY2(!moduleInMemory(), "making a voice loaded the module");
        QTRY_VERIFY_WITH_TIMEOUT(moduleInMemory(), 5000);
        QVERIFY(SystemAudioOutput::loaded());
        voice->start(0);
        voice->stop();
#else
        QTest::ignoreMessage(QtWarningMsg,
                             "Quorlin: the sound output module is missing; the bell stays silent");
        const auto voice = output.createVoice(silence());
        voice->start(0); // looks for the module, finds none, stays silent
        voice->stop();
        QVERIFY(!SystemAudioOutput::loaded());
        QTest::qWait(600); // the load planned after the first voice tries no more, says no more
        const auto later = output.createVoice(silence());
        later->start(0);
        QVERIFY(!moduleInMemory());
#endif
    }
};

QTEST_MAIN(TestSoundModule)
#include "tst_soundmodule.moc"
