// SPDX-License-Identifier: GPL-3.0-or-later
// The bell file as the world may leave it: missing, damaged, in odd formats, removed or replaced
// while the program runs. Every window with a bell either plays it or fails cleanly with the
// reader's message, and the rest of the program goes on.
#include "support/drive.h"
#include "support/windowfixture.h"

#include <QFile>
#include <QLabel>
#include <QTest>

#include <linux/capability.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cmath>
#include <optional>

using namespace quorlin;
using namespace quorlin::test;

namespace {

// Drops the file permission override (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH) from this thread's
// effective capabilities, so that a test running as root meets permissions as a user would; the
// capabilities stay permitted and are raised again at the end. Without them nothing changes.
class WithoutPermissionOverride
{
public:
    WithoutPermissionOverride()
    {
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_active = ::syscall(SYS_capset, &m_header, lowered) == 0;
    }
    ~WithoutPermissionOverride()
    {
        if (m_active)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    WithoutPermissionOverride(const WithoutPermissionOverride &) = delete;
    WithoutPermissionOverride &operator=(const WithoutPermissionOverride &) = delete;
    bool active() const { return m_active; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2] = {};
    bool m_active = false;
};

const QString kNotFound = QStringLiteral("File not found");
const QString kUnsupported = QStringLiteral("Unsupported media file 80578_634166-lq.wav");

// Writes a short sine sound in the given format with libsndfile.
bool writeSound(const QString &path, int format, int rate, int channels, int frames)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    QList<short> samples(qsizetype(frames) * channels);
    for (qsizetype i = 0; i < samples.size(); ++i)
        samples[i] = short(6000 * std::sin(double(i / channels) * 0.2));
    const bool ok = sf_writef_short(file, samples.data(), frames) == frames;
    sf_close(file);
    return ok;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray le(quint32 v, int bytes)
{
    QByteArray b(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        b[i] = char((v >> (8 * i)) & 0xff);
    return b;
}

// A 16-bit mono 8 kHz WAV whose RIFF and data sizes claim about 4 GB but that holds 800 frames.
QByteArray wavClaimingGigabytes()
{
    QByteArray wav = "RIFF" + le(0xFFFFFFF0u, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
                     le(8000, 4) + le(16000, 4) + le(2, 2) + le(16, 2) + "data" +
                     le(0xFFFFFFE0u, 4);
    for (int i = 0; i < 800; ++i)
        wav += le(quint16(qint16(4000 * std::sin(i * 0.3))), 2);
    return wav;
}

// Puts what a row names at `path`. Returns false when it could not be made.
bool makeBell(const QString &kind, const QString &path)
{
    const int pcm16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    if (kind == "missing")
        return true;
    if (kind == "directory")
        return QDir().mkdir(path);
    if (kind == "unreadable")
        return writeSound(path, pcm16, 44100, 1, 4410) &&
               ::chmod(QFile::encodeName(path).constData(), 0) == 0;
    if (kind == "empty")
        return writeBytes(path, {});
    if (kind == "truncated header") {
        if (!writeSound(path, pcm16, 44100, 1, 4410))
            return false;
        QFile file(path);
        return file.resize(22);
    }
    if (kind == "text")
        return writeBytes(path, "not a sound at all\n");
    if (kind == "header claiming gigabytes")
        return writeBytes(path, wavClaimingGigabytes());
    if (kind == "header only, no frames")
        return writeSound(path, pcm16, 44100, 1, 0);
    if (kind == "only an upper-case .WAV")
        return writeSound(QString(path).replace(".wav", ".WAV"), pcm16, 44100, 1, 4410);
    if (kind == "dangling symbolic link")
        return QFile::link(path + ".gone", path);
    if (kind == "symbolic link to a sound")
        return writeSound(path + ".real", pcm16, 22050, 1, 2205) &&
               QFile::link(path + ".real", path);
    if (kind == "named pipe")
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == "8-bit")
        return writeSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 22050, 1, 2205);
    if (kind == "24-bit")
        return writeSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_24, 44100, 1, 4410);
    if (kind == "32-bit float")
        return writeSound(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 1, 4410);
    if (kind == "mono")
        return writeSound(path, pcm16, 44100, 1, 4410);
    if (kind == "stereo")
        return writeSound(path, pcm16, 44100, 2, 4410);
    if (kind == "6 channels")
        return writeSound(path, pcm16, 48000, 6, 4800);
    if (kind == "8 kHz")
        return writeSound(path, pcm16, 8000, 1, 800);
    if (kind == "96 kHz")
        return writeSound(path, pcm16, 96000, 2, 9600);
    qFatal("unknown bell kind %s", qPrintable(kind));
}

QString readerMessage(const QString &player, const QString &message)
{
    return QStringLiteral("Error reading %1.FileName: %2").arg(player, message);
}

} // namespace

class BellFaultsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    QString bellPath() const { return f->workingDir() + "/" + WindowFixture::bellName(); }

    void startWith(const QString &kind)
    {
        f->removeBell();
        QVERIFY2(makeBell(kind, bellPath()), qPrintable(kind));
        f->app->createForm(TabbedForm);
    }

    // The sound each voice of the fake output was given, as "rate/channels".
    QStringList voiceFormats() const
    {
        QStringList formats;
        for (int v = 1; v <= f->audio.voiceCount(); ++v) {
            const auto sound = f->audio.sound(v);
            formats << QStringLiteral("%1/%2").arg(sound->sampleRate()).arg(sound->channels());
        }
        return formats;
    }

private slots:
    void init()
    {
        resetModuleState();
        f = std::make_unique<WindowFixture>();
    }
    void cleanup() { f.reset(); }

    // A start-up that fails shows only the start-up box and ends with status 1; one that
    // succeeds gives every window with a bell a playing bell in the file's own format.
    void everyWindowWithABellOpensOrFailsCleanly_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("failure"); // empty: the bell opens
        QTest::addColumn<QString>("format");  // rate/channels the voices get
        QTest::newRow("missing") << "missing" << kNotFound << "";
        QTest::newRow("a directory of that name") << "directory" << kNotFound << "";
        QTest::newRow("dangling symbolic link") << "dangling symbolic link" << kNotFound << "";
        QTest::newRow("only an upper-case .WAV (names are case-sensitive)")
            << "only an upper-case .WAV" << kNotFound << "";
        QTest::newRow("unreadable") << "unreadable" << kUnsupported << "";
        QTest::newRow("empty") << "empty" << kUnsupported << "";
        QTest::newRow("truncated header") << "truncated header" << kUnsupported << "";
        QTest::newRow("text") << "text" << kUnsupported << "";
        QTest::newRow("named pipe") << "named pipe" << kUnsupported << "";
        QTest::newRow("header claiming gigabytes: plays what it holds")
            << "header claiming gigabytes"
            << ""
            << "8000/1";
        QTest::newRow("header only, no frames") << "header only, no frames"
                                                << ""
                                                << "44100/1";
        QTest::newRow("symbolic link to a sound") << "symbolic link to a sound"
                                                  << ""
                                                  << "22050/1";
        QTest::newRow("8-bit") << "8-bit"
                               << ""
                               << "22050/1";
        QTest::newRow("24-bit") << "24-bit"
                                << ""
                                << "44100/1";
        QTest::newRow("32-bit float") << "32-bit float"
                                      << ""
                                      << "44100/1";
        QTest::newRow("mono") << "mono"
                              << ""
                              << "44100/1";
        QTest::newRow("stereo") << "stereo"
                                << ""
                                << "44100/2";
        QTest::newRow("6 channels") << "6 channels"
                                    << ""
                                    << "48000/6";
        QTest::newRow("8 kHz") << "8 kHz"
                               << ""
                               << "8000/1";
        QTest::newRow("96 kHz") << "96 kHz"
                                << ""
                                << "96000/2";
    }

    void everyWindowWithABellOpensOrFailsCleanly()
    {
        QFETCH(QString, kind);
        QFETCH(QString, failure);
        QFETCH(QString, format);
        // Root reads whatever the permissions say; for this row the test gives up the power to
        // override them, for as long as the row runs.
        std::optional<WithoutPermissionOverride> asUser;
        if (kind == "unreadable")
            asUser.emplace();
        if (asUser && !asUser->active())
            QSKIP("cannot give up the file permission override (capset refused)");
        startWith(kind);

        if (!failure.isEmpty()) {
            QCOMPARE(f->app->run(), 1);
            QCOMPARE(f->boxes.boxes.size(), 1);
            QCOMPARE(f->boxes.boxes[0].title, QStringLiteral("Application Error"));
            QVERIFY(!f->boxes.boxes[0].hadOwner);
            const QString text = f->boxes.boxes[0].text;
            QVERIFY2(text.startsWith("Exception EReadError in module "), qPrintable(text));
            QVERIFY2(text.endsWith("\n" + readerMessage("MediaPlayer1", failure) + ".\n"),
                     qPrintable(text));
            QVERIFY(!TabbedForm);
            for (QWidget *w : QApplication::topLevelWidgets())
                QVERIFY2(!w->isVisible(), "no window appears");
            return;
        }

        f->app->startUp();
        QVERIFY(TabbedForm && TabbedForm->isVisible());
        QVERIFY(bellOf(TabbedForm)->hasMedia());

        drawTopicFromMain();
        QVERIFY(Form6 && Form6->isVisible());
        press(Form6, "Button4"); // on to the topic guidance window, which has a bell too
        QVERIFY(Form1 && Form1->isVisible());
        press(Form1, "Button6");
        drawAngelFromMain();
        QVERIFY(Form7 && Form7->isVisible());
        press(Form7, "Button1");
        drawObstacleFromMain();
        QVERIFY(Form8 && Form8->isVisible());
        press(Form8, "Button1");

        QVERIFY2(f->boxes.boxes.isEmpty(), qPrintable(f->boxes.boxes.value(0).text));
        // Main window, topic result, topic guidance, angel result, obstacle result.
        QCOMPARE(voiceFormats(), QStringList(5, format));
        for (int v = 1; v <= 5; ++v)
            QVERIFY2(f->audio.sound(v)->samples().size() <= 1024 * 1024,
                     "a header's claim never decides what is allocated");
        // Each result window rang from its start as it opened, if it had anything to ring.
        const bool hasFrames = f->audio.sound(1)->frameCount() > 0;
        for (int v : {2, 4, 5})
            QCOMPARE(f->audio.log().contains(QStringLiteral("%1 start 0").arg(v)), hasFrames);
    }

    // The bell removed after start-up: each window with a bell fails to open with the reader's
    // message in the "Error" box, the window that asked stays as it was, everything else goes
    // on, and the same request works again once the file is back.
    void bellRemovedAfterStartUp_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("player");
        QTest::newRow("topic result") << "topic result"
                                      << "MediaPlayer2";
        QTest::newRow("angel result") << "angel result"
                                      << "MediaPlayer3";
        QTest::newRow("obstacle result") << "obstacle result"
                                         << "MediaPlayer4";
        QTest::newRow("topic guidance from the main window") << "guidance from main"
                                                             << "MediaPlayer1";
        QTest::newRow("topic guidance from a topic result") << "guidance from result"
                                                            << "MediaPlayer1";
    }

    void bellRemovedAfterStartUp()
    {
        QFETCH(QString, route);
        QFETCH(QString, player);
        f->app->createForm(TabbedForm);
        f->app->startUp();

        Form *asker = nullptr;
        std::function<void()> request;
        std::function<Form *()> opened;
        if (route == "topic result") {
            selectTab(TabbedForm, "TabControl1", TopicTab);
            press(TabbedForm, "Button6");
            press(Form3, "Button4");
            asker = Form3;
            request = [] { press(Form3, "Button4"); };
            opened = [] { return Form6; };
        } else if (route == "angel result") {
            selectTab(TabbedForm, "TabControl1", CardTab);
            press(TabbedForm, "Button8");
            press(Form5, "Button4");
            asker = Form5;
            request = [] { press(Form5, "Button4"); };
            opened = [] { return Form7; };
        } else if (route == "obstacle result") {
            selectTab(TabbedForm, "TabControl1", CardTab);
            press(TabbedForm, "Button9");
            press(Form4, "Button4");
            asker = Form4;
            request = [] { press(Form4, "Button4"); };
            opened = [] { return Form8; };
        } else if (route == "guidance from main") {
            selectTab(TabbedForm, "TabControl1", TopicTab);
            asker = TabbedForm;
            request = [] { press(TabbedForm, "Button7"); };
            opened = [] { return Form1; };
        } else {
            drawTopicFromMain();
            asker = Form6;
            request = [] { press(Form6, "Button4"); };
            opened = [] { return Form1; };
        }
        QVERIFY(asker && asker->isVisible());
        const std::int32_t stagesBefore = TopicRitualStage + AngelRitualStage + ObstacleRitualStage;
        const QString askerText =
            asker->findChild<QLabel *>() ? asker->findChild<QLabel *>()->text() : QString();

        f->removeBell();
        request();
        QCOMPARE(f->boxes.boxes.size(), 1);
        QCOMPARE(f->boxes.boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(f->boxes.boxes[0].text, readerMessage(player, kNotFound) + ".");
        QVERIFY2(!opened(), "the name refers to no window after a failed opening");
        // The handler stopped where the error arose: the asking window stays, as it was.
        QVERIFY(asker->isVisible());
        QCOMPARE(f->app->activeForm(), asker);
        QCOMPARE(TopicRitualStage + AngelRitualStage + ObstacleRitualStage, stagesBefore);
        if (!askerText.isNull())
            QCOMPARE(asker->findChild<QLabel *>()->text(), askerText);
        if (route == "guidance from result")
            QCOMPARE(bellOf(Form6)->state(), BellPlayer::State::Playing);

        // Everything without a bell of its own goes on: the card guidance window opens and
        // closes, and the main window's bell, opened before, still rings.
        if (asker != TabbedForm)
            systemClose(asker);
        selectTab(TabbedForm, "TabControl1", CardTab);
        press(TabbedForm, "Button2");
        QVERIFY(Form2 && Form2->isVisible());
        press(Form2, "Button6");
        QVERIFY(!Form2->isVisible());
        selectTab(TabbedForm, "TabControl1", HomeTab);
        QTest::mouseClick(TabbedForm->findChild<QWidget *>("ImageControl6"), Qt::LeftButton);
        QCOMPARE(bellOf(TabbedForm)->state(), BellPlayer::State::Playing);
        QCOMPARE(f->boxes.boxes.size(), 1);

        // Back again: the same request opens its window with a fresh bell.
        f->restoreBell();
        if (route == "topic result") {
            drawTopicFromMain();
        } else if (route == "angel result") {
            drawAngelFromMain();
        } else if (route == "obstacle result") {
            drawObstacleFromMain();
        } else if (route == "guidance from main") {
            openTopicGuideFromMain();
        } else {
            drawTopicFromMain();
            press(Form6, "Button4");
        }
        QCOMPARE(f->boxes.boxes.size(), 1);
        QVERIFY(opened() && opened()->isVisible());
        QVERIFY(bellOf(opened())->hasMedia());
    }

    // The file replaced between openings: each new window plays what is there at its opening,
    // older windows keep the sound they opened.
    void bellReplacedBetweenOpenings()
    {
        f->removeBell();
        QVERIFY(makeBell("8 kHz", bellPath()));
        f->app->createForm(TabbedForm);
        f->app->startUp();
        drawAngelFromMain();
        QPointer<Form> first = Form7;
        QCOMPARE(voiceFormats(), (QStringList{"8000/1", "8000/1"}));

        QVERIFY(QFile::remove(bellPath()));
        QVERIFY(makeBell("96 kHz", bellPath()));
        press(Form7, "Button1");
        drawAngelFromMain();
        QVERIFY(Form7 != first.data());
        QCOMPARE(voiceFormats(), (QStringList{"8000/1", "8000/1", "96000/2"}));
        QCOMPARE(bellOf(Form7)->duration(), qint64(100'000'000));
        // A hidden, silent window may have let its player go.
        if (first && bellOf(first))
            QCOMPARE(bellOf(first)->duration(), qint64(100'000'000));

        // Replaced by something that is not a sound: the next opening fails cleanly...
        QVERIFY(QFile::remove(bellPath()));
        QVERIFY(makeBell("text", bellPath()));
        press(Form7, "Button1");
        selectTab(TabbedForm, "TabControl1", CardTab);
        press(TabbedForm, "Button8");
        press(Form5, "Button4");
        press(Form5, "Button4");
        QCOMPARE(f->boxes.boxes.size(), 1);
        QCOMPARE(f->boxes.boxes[0].text, readerMessage("MediaPlayer3", kUnsupported) + ".");
        QVERIFY(!Form7);
        // ...and a sound put back opens at the next press of the same button.
        QVERIFY(QFile::remove(bellPath()));
        f->restoreBell();
        press(Form5, "Button4");
        QVERIFY(Form7 && Form7->isVisible());
        QCOMPARE(f->boxes.boxes.size(), 1);
    }
};

QTEST_MAIN(BellFaultsTest)
#include "tst_bellfaults.moc"
