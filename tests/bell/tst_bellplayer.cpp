// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/exception.h"
#include "bell/bellplayer.h"
#include "platform/services.h"
#include "support/fakeaudio.h"
#include "support/fakeclock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sndfile.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <cmath>
#include <memory>
#include <optional>

using namespace quorlin;
using quorlin::test::FakeAudioOutput;
using quorlin::test::FakeClock;
using State = BellPlayer::State;

Q_DECLARE_METATYPE(BellPlayer::State)

namespace {

const QString kBell = QStringLiteral("80578_634166-lq.wav");
constexpr int kRate = 8000; // 8 frames per millisecond keeps the expected frames readable
constexpr qint64 kMs = 1000000;

// Writes a sine sound with libsndfile; `amplitude` tells sounds apart in the fake's records.
void writeSound(const QString &path, int frames, int channels = 1, int amplitude = 8000,
                int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16, int rate = kRate)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    QVERIFY2(file, sf_strerror(nullptr));
    QList<short> samples(qsizetype(frames) * channels);
    for (qsizetype i = 0; i < samples.size(); ++i)
        samples[i] = short(amplitude * std::sin(double(i / channels) * 0.3));
    QCOMPARE(sf_writef_short(file, samples.data(), frames), sf_count_t(frames));
    sf_close(file);
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xff);
    return b;
}

QByteArray le16(quint16 v)
{
    return le32(v).left(2);
}

// A 16-bit mono WAV whose RIFF and data sizes claim about 4 GB but that holds `frames` frames.
QByteArray wavClaimingGigabytes(int frames, quint32 rate = kRate)
{
    QByteArray wav = "RIFF" + le32(0xFFFFFFF0u) + "WAVEfmt " + le32(16) + le16(1) + le16(1) +
                     le32(rate) + le32(rate * 2) + le16(2) + le16(16) + "data" + le32(0xFFFFFFE0u);
    for (int i = 0; i < frames; ++i)
        wav += le16(quint16(qint16(4000 * std::sin(i * 0.3))));
    return wav;
}

// Whether this libsndfile reads and writes FLAC: Debian's does; the Windows toolkit builds it
// without the codec libraries.
bool libsndfileHasFlac()
{
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO format{};
        format.format = i;
        sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &format, sizeof format);
        if (format.format == SF_FORMAT_FLAC)
            return true;
    }
    return false;
}

// A FLAC sound whose stream header claims 2^36 - 1 frames (about 100 days at 8 kHz).
void writeFlacClaimingDays(const QString &path)
{
    writeSound(path, 800, 1, 8000, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray head = file.read(26);
    QCOMPARE(head.left(4), QByteArray("fLaC"));
    // STREAMINFO's 36-bit total sample count ends the 64-bit field at bytes 18..25.
    head[21] = char((head[21] & 0xF0) | 0x0F);
    for (int i = 22; i < 26; ++i)
        head[i] = char(0xFF);
    file.seek(0);
    file.write(head);
}

QString stateName(State s)
{
    switch (s) {
    case State::Empty:
        return QStringLiteral("empty");
    case State::Ready:
        return QStringLiteral("ready");
    case State::Playing:
        return QStringLiteral("playing");
    case State::Ended:
        return QStringLiteral("ended");
    }
    return {};
}

// Sets a file's modification time, as a program that puts a file's times back would.
bool setModified(const QString &path, const QDateTime &time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(time, QFileDevice::FileModificationTime);
}

// Puts `from` in place of `to` in one step, as a program saving a file safely does.
bool renameOver(const QString &from, const QString &to)
{
#ifdef _WIN32
    return MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()),
                       reinterpret_cast<const wchar_t *>(to.utf16()), MOVEFILE_REPLACE_EXISTING);
#else
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

// Opens `name` and returns the error message, or nothing when opening succeeded.
std::optional<QString> openError(BellPlayer &player, const QString &name)
{
    try {
        player.setFileName(name);
    } catch (const Exception &e) {
        return e.message();
    }
    return std::nullopt;
}

} // namespace

class TestBellPlayer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void stateTable_data();
    void stateTable();
    void emptyPlayerIgnoresEverything();
    void decodedSoundReachesTheVoice();
    void opening_data();
    void opening();
    void namedPipeIsRefusedWithoutBlocking();
    void nameIsResolvedAgainstTheWorkingDirectoryOfTheMoment();
    void replacedFilePlaysTheNewSound();
    void sameUnchangedFileSharesItsSound();
    void soundIsReadShortlyAfterOpeningOrWhenItFirstRings();
    void fileChangedBeforeItsSoundIsRead_data();
    void fileChangedBeforeItsSoundIsRead();
    void playersReleaseTheirVoices();
    void severalPlayersSoundAtOnce();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    FakeClock m_clock;
    FakeAudioOutput *m_audio = nullptr;
    std::unique_ptr<FakeAudioOutput> m_audioOwner;
    std::unique_ptr<ScopedServices> m_services;
    std::unique_ptr<ScopedAudioOutput> m_audioInForce;
};

void TestBellPlayer::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_clock.nowNs = 1000 * kMs;
    m_audioOwner = std::make_unique<FakeAudioOutput>();
    m_audio = m_audioOwner.get();
    Services replacement;
    replacement.clock = &m_clock;
    m_services = std::make_unique<ScopedServices>(replacement);
    m_audioInForce = std::make_unique<ScopedAudioOutput>(*m_audio);
}

void TestBellPlayer::cleanup()
{
    m_audioInForce.reset();
    m_services.reset();
    m_audioOwner.reset();
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestBellPlayer::stateTable_data()
{
    // Actions on a player just opened on a 1000 ms sound: play, stop, rewind (CurrentTime = 0),
    // seek N (CurrentTime = N ms), +N (N ms pass). Calls are what its voice was told.
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<State>("state");
    QTest::addColumn<int>("positionMs");
    QTest::addColumn<QStringList>("calls");

    using L = QStringList;
    QTest::newRow("opened: ready at 0, silent") << L{} << State::Ready << 0 << L{};
    QTest::newRow("play") << L{"play"} << State::Playing << 0 << L{"start 0"};
    QTest::newRow("position follows the clock")
        << L{"play", "+300"} << State::Playing << 300 << L{"start 0"};
    QTest::newRow("play while playing: no restart")
        << L{"play", "+300", "play", "+100"} << State::Playing << 400 << L{"start 0"};
    QTest::newRow("stop keeps the position")
        << L{"play", "+300", "stop", "+500"} << State::Ready << 300 << L{"start 0", "stop"};
    QTest::newRow("play after stop goes on from there")
        << L{"play", "+300", "stop", "+500", "play", "+100"} << State::Playing << 400
        << L{"start 0", "stop", "start 2400"};
    QTest::newRow("stop then rewind: ready at 0")
        << L{"play", "+300", "stop", "rewind"} << State::Ready << 0 << L{"start 0", "stop"};
    QTest::newRow("stop, rewind, play: from the start")
        << L{"play", "+300", "stop", "rewind", "play"} << State::Playing << 0
        << L{"start 0", "stop", "start 0"};
    QTest::newRow("stop on ready: nothing") << L{"stop"} << State::Ready << 0 << L{};
    QTest::newRow("rewind on ready: nothing heard") << L{"rewind"} << State::Ready << 0 << L{};
    QTest::newRow("reaching the end") << L{"play", "+1000"} << State::Ended << 1000 << L{"start 0"};
    QTest::newRow("position stops at the end")
        << L{"play", "+5000"} << State::Ended << 1000 << L{"start 0"};
    QTest::newRow("play on ended: nothing")
        << L{"play", "+1200", "play", "+100"} << State::Ended << 1000 << L{"start 0"};
    QTest::newRow("stop on ended: ready at the end")
        << L{"play", "+1200", "stop"} << State::Ready << 1000 << L{"start 0", "stop"};
    QTest::newRow("play on ready at the end: nothing")
        << L{"play", "+1200", "stop", "play", "+100"} << State::Ready << 1000
        << L{"start 0", "stop"};
    QTest::newRow("stopped at the end, rewound: rings again")
        << L{"play", "+1200", "stop", "rewind", "play", "+100"} << State::Playing << 100
        << L{"start 0", "stop", "start 0"};
    QTest::newRow("rewind while playing: plays on from the start")
        << L{"play", "+300", "rewind", "+50"} << State::Playing << 50 << L{"start 0", "start 0"};
    QTest::newRow("rewind on ended: ready at 0, nothing heard")
        << L{"play", "+1200", "rewind", "+100"} << State::Ready << 0 << L{"start 0"};
    QTest::newRow("ended, rewound, played: from the start")
        << L{"play", "+1200", "rewind", "play", "+100"} << State::Playing << 100
        << L{"start 0", "start 0"};
    QTest::newRow("seek then play starts at that frame")
        << L{"seek 500", "play", "+100"} << State::Playing << 600 << L{"start 4000"};
    QTest::newRow("seek past the end stops at the end")
        << L{"seek 5000", "play"} << State::Ready << 1000 << L{};
    QTest::newRow("seek before the start stops at 0")
        << L{"seek -50", "play"} << State::Playing << 0 << L{"start 0"};
}

void TestBellPlayer::stateTable()
{
    QFETCH(QStringList, actions);
    QFETCH(State, state);
    QFETCH(int, positionMs);
    QFETCH(QStringList, calls);

    writeSound(path(kBell), kRate); // 1000 ms
    BellPlayer player;
    player.setFileName(kBell);
    QCOMPARE(player.duration(), 1000 * kMs);
    QCOMPARE(m_audio->log(), QStringList{"1 created"});
    m_audio->clearLog();

    for (const QString &action : actions) {
        if (action == "play")
            player.play();
        else if (action == "stop")
            player.stop();
        else if (action == "rewind")
            player.setCurrentTime(0);
        else if (action.startsWith("seek "))
            player.setCurrentTime(action.mid(5).toLongLong() * kMs);
        else if (action.startsWith('+'))
            m_clock.advanceMs(action.mid(1).toLongLong());
        else
            QFAIL(qPrintable("unknown action " + action));
    }

    QCOMPARE(stateName(player.state()), stateName(state));
    QCOMPARE(player.currentTime(), positionMs * kMs);
    QStringList expected;
    for (const QString &call : calls)
        expected << "1 " + call;
    QCOMPARE(m_audio->log(), expected);
    QVERIFY(player.hasMedia());
}

void TestBellPlayer::emptyPlayerIgnoresEverything()
{
    BellPlayer neverOpened;
    writeBytes(path("bell.ogg"), "OggS not decoded here");
    BellPlayer noDecoder;
    noDecoder.setFileName("bell.ogg");

    for (BellPlayer *player : {&neverOpened, &noDecoder}) {
        player->play();
        m_clock.advanceMs(300);
        player->stop();
        player->setCurrentTime(0);
        player->play();
        QCOMPARE(stateName(player->state()), stateName(State::Empty));
        QVERIFY(!player->hasMedia());
        QCOMPARE(player->currentTime(), qint64(0));
        QCOMPARE(player->duration(), qint64(0));
    }
    QCOMPARE(noDecoder.fileName(), QStringLiteral("bell.ogg"));
    QVERIFY2(m_audio->log().isEmpty(), qPrintable(m_audio->log().join(", ")));
}

void TestBellPlayer::decodedSoundReachesTheVoice()
{
    writeSound(path("stereo.wav"), 4000, 2, 12000);
    BellPlayer player;
    player.setFileName("stereo.wav");
    QCOMPARE(player.duration(), 500 * kMs);

    const auto sound = m_audio->sound(1);
    QVERIFY(sound);
    QCOMPARE(sound->sampleRate(), kRate);
    QCOMPARE(sound->channels(), 2);
    QCOMPARE(sound->frameCount(), std::int64_t(4000));
    const auto *samples = reinterpret_cast<const qint16 *>(sound->samples().constData());
    // Frame 5, both channels: the sine written above.
    QCOMPARE(samples[10], qint16(12000 * std::sin(5 * 0.3)));
    QCOMPARE(samples[11], samples[10]);

    // Frames count per channel pair, not per sample.
    player.setCurrentTime(250 * kMs);
    player.play();
    QCOMPARE(m_audio->log().last(), QStringLiteral("1 start 2000"));
}

void TestBellPlayer::opening_data()
{
    // How the working directory is laid out, the name opened, and the outcome: an error
    // message, or the state and length of the opened player.
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");
    QTest::addColumn<State>("state");
    QTest::addColumn<int>("durationMs");

    QTest::newRow("wav") << "tone" << kBell << "" << State::Ready << 1000;
    QTest::newRow("missing") << "" << kBell << "File not found" << State::Empty << 0;
    QTest::newRow("directory of that name")
        << "directory" << kBell << "File not found" << State::Empty << 0;
    QTest::newRow("missing, extension without decoder") << ""
                                                        << "bell.ogg"
                                                        << "File not found" << State::Empty << 0;
    QTest::newRow("empty name") << ""
                                << ""
                                << "File not found" << State::Empty << 0;
    QTest::newRow("upper-case extension") << "tone"
                                          << "BELL.WAV"
                                          << "" << State::Ready << 1000;
    QTest::newRow("mixed-case extension") << "tone"
                                          << "bell.Wav"
                                          << "" << State::Ready << 1000;
    QTest::newRow("ogg: empty player, no error") << "tone"
                                                 << "bell.ogg"
                                                 << "" << State::Empty << 0;
    QTest::newRow("no extension: empty player") << "tone"
                                                << "bell"
                                                << "" << State::Empty << 0;
    QTest::newRow("extension from the last dot") << "tone"
                                                 << "bell.wav.bak"
                                                 << "" << State::Empty << 0;
    QTest::newRow("text named .wav") << "text"
                                     << "notes.wav"
                                     << "Unsupported media file notes.wav" << State::Empty << 0;
    QTest::newRow("text named .mp4") << "text"
                                     << "clip.mp4"
                                     << "Unsupported media file clip.mp4" << State::Empty << 0;
    QTest::newRow("zero-byte .wav") << "zero"
                                    << "empty.wav"
                                    << "Unsupported media file empty.wav" << State::Empty << 0;
    QTest::newRow("WAV header claiming gigabytes: plays what it holds")
        << "gigabytes"
        << "huge.wav"
        << "" << State::Ready << 100;
    QTest::newRow("header claiming a 4 MHz rate")
        << "rate"
        << "fast.wav"
        << "Unsupported media file fast.wav" << State::Empty << 0;
    QTest::newRow("header claiming 100 days: refused before allocating")
        << "days"
        << "long.wav"
        << "Unsupported media file long.wav" << State::Empty << 0;
    QTest::newRow("FLAC content under .wav decodes by content") << "flac"
                                                                << "bell.wav"
                                                                << "" << State::Ready << 1000;
}

void TestBellPlayer::opening()
{
    QFETCH(QString, fixture);
    QFETCH(QString, name);
    QFETCH(QString, error);
    QFETCH(State, state);
    QFETCH(int, durationMs);

    if ((fixture == "days" || fixture == "flac") && !libsndfileHasFlac())
        QSKIP("this libsndfile has no FLAC: such a file is no sound here, whatever it claims");

    const QString file = path(name);
    if (fixture == "tone")
        writeSound(file, kRate);
    else if (fixture == "directory")
        QVERIFY(QDir(m_dir->path()).mkdir(name));
    else if (fixture == "text")
        writeBytes(file, "Bell of mindfulness\nRing softly.\n");
    else if (fixture == "zero")
        writeBytes(file, {});
    else if (fixture == "gigabytes")
        writeBytes(file, wavClaimingGigabytes(800));
    else if (fixture == "rate")
        writeBytes(file, wavClaimingGigabytes(800, 4000000));
    else if (fixture == "days")
        writeFlacClaimingDays(file);
    else if (fixture == "flac")
        writeSound(file, kRate, 1, 8000, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    if (QTest::currentTestFailed())
        return;

    BellPlayer player;
    const std::optional<QString> message = openError(player, name);
    QCOMPARE(message.value_or(QString()), error);
    QCOMPARE(player.fileName(), name);
    QCOMPARE(stateName(player.state()), stateName(state));
    QCOMPARE(player.hasMedia(), state != State::Empty);
    QCOMPARE(player.duration(), durationMs * kMs);
    QCOMPARE(m_audio->voiceCount(), state == State::Empty ? 0 : 1);
}

void TestBellPlayer::namedPipeIsRefusedWithoutBlocking()
{
#ifdef _WIN32
    QSKIP("Windows keeps its named pipes out of the folders (under \\\\.\\pipe\\): none can take "
          "the bell's name");
#else
    // Opening a pipe for reading would wait for a writer forever.
    QVERIFY(::mkfifo(QFile::encodeName(path(kBell)).constData(), 0600) == 0);
    BellPlayer player;
    QCOMPARE(openError(player, kBell).value_or(QString()),
             QStringLiteral("Unsupported media file ") + kBell);
    QVERIFY(!player.hasMedia());
#endif
}

void TestBellPlayer::nameIsResolvedAgainstTheWorkingDirectoryOfTheMoment()
{
    const QString first = path("first");
    const QString second = path("second");
    const QString none = path("none");
    for (const QString &dir : {first, second, none})
        QVERIFY(QDir().mkdir(dir));
    writeSound(first + '/' + kBell, kRate);      // 1000 ms
    writeSound(second + '/' + kBell, kRate / 2); // 500 ms

    // Beside the test program, where the working directory never points.
    const QString besideProgram = QCoreApplication::applicationDirPath() + '/' + kBell;
    const bool placedBesideProgram = !QFile::exists(besideProgram);
    if (placedBesideProgram)
        writeSound(besideProgram, kRate);
    const auto removeBesideProgram = qScopeGuard([&] {
        if (placedBesideProgram)
            QFile::remove(besideProgram);
    });

    BellPlayer player;
    QVERIFY(QDir::setCurrent(first));
    player.setFileName(kBell);
    QCOMPARE(player.duration(), 1000 * kMs);

    QVERIFY(QDir::setCurrent(second));
    BellPlayer other;
    other.setFileName(kBell);
    QCOMPARE(other.duration(), 500 * kMs);
    player.setFileName(kBell);
    QCOMPARE(player.duration(), 500 * kMs);

    QVERIFY(QDir::setCurrent(none));
    BellPlayer missing;
    QCOMPARE(openError(missing, kBell).value_or(QString()), QStringLiteral("File not found"));
}

void TestBellPlayer::replacedFilePlaysTheNewSound()
{
    writeSound(path(kBell), kRate, 1, 8000);
    BellPlayer before;
    before.setFileName(kBell);

    QVERIFY(QFile::remove(path(kBell)));
    writeSound(path(kBell), kRate * 2, 1, 16000);
    BellPlayer after;
    after.setFileName(kBell);

    QCOMPARE(before.duration(), 1000 * kMs);
    QCOMPARE(after.duration(), 2000 * kMs);
    QCOMPARE(m_audio->sound(1)->frameCount(), std::int64_t(kRate));
    QCOMPARE(m_audio->sound(2)->frameCount(), std::int64_t(2 * kRate));
    QVERIFY(m_audio->sound(1) != m_audio->sound(2));

    // The file going away after opening changes nothing for players already open.
    QVERIFY(QFile::remove(path(kBell)));
    before.play();
    QCOMPARE(stateName(before.state()), stateName(State::Playing));
    QCOMPARE(m_audio->soundingVoices(), QList<int>{1});
}

void TestBellPlayer::sameUnchangedFileSharesItsSound()
{
    // A player opens the file anew every time; the sound decoded from it last time may serve
    // again only while the file is the very same, unchanged. How the file changed between
    // two openings, and whether the second shares the first one's sound:
    struct Case
    {
        const char *change;
        bool settled; // left alone for a while before the first opening
        bool shared;
    };
    const Case cases[] = {
        {"none", true, true},
        {"touch", true, false},   // only its times changed
        {"rewrite", true, false}, // rewritten in place, same size, times put back
        {"replace", true, false}, // another file renamed over it
        // Within one tick of the file system's clock a rewrite can leave every time as it
        // was, so a file changed moments before it is opened is never taken for the same.
        {"rewrite", false, false},
    };
    const auto fileOf = [&](int i) { return QStringLiteral("case%1.wav").arg(i); };
    const QDateTime anHourAgo = QDateTime::currentDateTimeUtc().addSecs(-3600);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        writeSound(path(fileOf(i)), kRate, 1, 8000);
        QVERIFY(setModified(path(fileOf(i)), anHourAgo));
    }
    // Let the files' status-change times fall behind (they cannot be set).
    QTest::qSleep(2200);

    int voice = 0;
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const Case &c = cases[i];
        const QString file = path(fileOf(i));
        if (!c.settled) {
            writeSound(file, kRate, 1, 8000);
            QVERIFY(setModified(file, anHourAgo));
        }
        BellPlayer first;
        first.setFileName(fileOf(i));
        first.play(); // its sound is read by the time the file changes
        const QString change = QString::fromLatin1(c.change);
        if (change == "touch") {
            QVERIFY(setModified(file, anHourAgo.addSecs(60)));
        } else if (change == "rewrite") {
            writeSound(file, kRate, 1, 12000);
            QVERIFY(setModified(file, anHourAgo));
        } else if (change == "replace") {
            writeSound(path("other.wav"), kRate, 1, 12000);
            QVERIFY(renameOver(path("other.wav"), file));
            QVERIFY(setModified(file, anHourAgo));
        }
        BellPlayer second;
        second.setFileName(fileOf(i));
        voice += 2;

        const QString row = QStringLiteral("case %1 (%2)").arg(i).arg(change);
        QVERIFY2((m_audio->sound(voice - 1) == m_audio->sound(voice)) == c.shared, qPrintable(row));
        const bool sameSamples =
            m_audio->sound(voice - 1)->samples() == m_audio->sound(voice)->samples();
        QVERIFY2(sameSamples == (change == "none" || change == "touch"), qPrintable(row));
        QCOMPARE(second.duration(), 1000 * kMs);
    }
}

void TestBellPlayer::soundIsReadShortlyAfterOpeningOrWhenItFirstRings()
{
    writeSound(path("left.wav"), kRate);
    writeSound(path("rung.wav"), kRate);
    BellPlayer left, rung;
    left.setFileName("left.wav");
    rung.setFileName("rung.wav");
    const auto leftSound = m_audio->sound(1);
    const auto rungSound = m_audio->sound(2);

    // Opening reads the header only: the window being created does not wait for the samples.
    QVERIFY(!leftSound->isRead());
    QVERIFY(!rungSound->isRead());
    QCOMPARE(left.duration(), 1000 * kMs);

    // Ringing reads them at once; left alone, they are read a moment after opening.
    rung.play();
    QVERIFY(rungSound->isRead());
    QVERIFY(!leftSound->isRead());
    QTRY_VERIFY_WITH_TIMEOUT(leftSound->isRead(), 5000);
    const auto *samples = reinterpret_cast<const qint16 *>(leftSound->samples().constData());
    QCOMPARE(samples[7], qint16(8000 * std::sin(7 * 0.3)));
}

void TestBellPlayer::fileChangedBeforeItsSoundIsRead_data()
{
    // What happens to the file between opening and the first ring, and what then sounds: the
    // opened file's frames up to `frames`, silence after them, for the length known at opening.
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("amplitude");
    QTest::addColumn<int>("frames");

    QTest::newRow("removed: the opened file still sounds") << "remove" << 8000 << kRate;
    QTest::newRow("another file renamed over it") << "replace" << 8000 << kRate;
    QTest::newRow("cut short in place: what is left, then silence") << "truncate" << 8000 << 400;
    QTest::newRow("cut to its header: silence") << "header" << 8000 << 0;
    QTest::newRow("rewritten in place: the new sound") << "rewrite" << 12000 << kRate;
}

void TestBellPlayer::fileChangedBeforeItsSoundIsRead()
{
    QFETCH(QString, change);
    QFETCH(int, amplitude);
    QFETCH(int, frames);

    writeSound(path(kBell), kRate, 1, 8000);
    BellPlayer player;
    player.setFileName(kBell);
    const qint64 header = QFileInfo(path(kBell)).size() - 2 * kRate;
    if (change == "remove") {
        QVERIFY(QFile::remove(path(kBell)));
    } else if (change == "replace") {
        writeSound(path("other.wav"), kRate * 2, 1, 12000);
        if (!renameOver(path("other.wav"), path(kBell))) {
#ifdef _WIN32
            if (GetLastError() == ERROR_ACCESS_DENIED)
                QSKIP("this Windows renames no file over one that is open (wine does not, nor "
                      "Windows before its POSIX renames): the opened file cannot be replaced");
#endif
            QFAIL("cannot rename another file over the bell");
        }
    } else if (change == "truncate" || change == "header") {
        QVERIFY(QFile::resize(path(kBell), header + 2 * frames));
    } else if (change == "rewrite") {
        writeSound(path(kBell), kRate, 1, 12000);
    }

    player.play();
    const auto sound = m_audio->sound(1);
    QVERIFY(sound->isRead());
    QCOMPARE(sound->frameCount(), std::int64_t(kRate));
    QCOMPARE(sound->samples().size(), qsizetype(2 * kRate));
    QCOMPARE(player.duration(), 1000 * kMs);
    const auto *samples = reinterpret_cast<const qint16 *>(sound->samples().constData());
    for (int i = 0; i < kRate; ++i) {
        const qint16 expected = i < frames ? qint16(amplitude * std::sin(i * 0.3)) : 0;
        if (samples[i] != expected)
            QFAIL(qPrintable(QStringLiteral("frame %1: %2, not %3").arg(i).arg(samples[i]).arg(expected)));
    }
}

void TestBellPlayer::playersReleaseTheirVoices()
{
    writeSound(path(kBell), kRate);
    writeBytes(path("bell.ogg"), "not decoded");
    auto player = std::make_unique<BellPlayer>();
    player->setFileName(kBell);
    player->play();

    // A new name releases the sound opened before, sounding or not.
    player->setFileName(kBell);
    QCOMPARE(m_audio->aliveVoices(), QList<int>{2});
    QCOMPARE(stateName(player->state()), stateName(State::Ready));
    player->setFileName("bell.ogg");
    QCOMPARE(m_audio->aliveVoices(), QList<int>{});

    // So does a failed opening.
    player->setFileName(kBell);
    QVERIFY(openError(*player, "missing.wav").has_value());
    QVERIFY(!player->hasMedia());
    QCOMPARE(m_audio->aliveVoices(), QList<int>{});

    // Destroying a sounding player silences it.
    player->setFileName(kBell);
    player->play();
    m_clock.advanceMs(200);
    QCOMPARE(m_audio->soundingVoices(), QList<int>{4});
    player.reset();
    QCOMPARE(m_audio->soundingVoices(), QList<int>{});
    QCOMPARE(m_audio->log().last(), QStringLiteral("4 destroyed"));
}

void TestBellPlayer::severalPlayersSoundAtOnce()
{
    writeSound(path(kBell), kRate);
    BellPlayer first, second;
    first.setFileName(kBell);
    second.setFileName(kBell);
    first.play();
    m_clock.advanceMs(600);
    second.play();
    QCOMPARE(m_audio->soundingVoices(), (QList<int>{1, 2}));

    // The first plays out on its own; the second is still sounding.
    m_clock.advanceMs(500);
    QCOMPARE(stateName(first.state()), stateName(State::Ended));
    QCOMPARE(stateName(second.state()), stateName(State::Playing));
    QCOMPARE(m_audio->soundingVoices(), QList<int>{2});
    second.stop();
    QCOMPARE(m_audio->soundingVoices(), QList<int>{});
}

QTEST_GUILESS_MAIN(TestBellPlayer)
#include "tst_bellplayer.moc"
