// SPDX-License-Identifier: GPL-3.0-or-later
#include "bell/bellplayer.h"

#include "base/exception.h"
#include "bell/audiooutput.h"
#include "bell/sounddecoder.h"
#include "platform/clock.h"
#include "platform/services.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <array>

namespace quorlin {

namespace {

constexpr qint64 kNsPerSecond = 1000000000;

// The extensions the player has a decoder for, video ones included: a name with any of them
// is opened and decoded, one with none leaves the player empty.
bool hasDecoder(const QString &name)
{
    static const std::array<QLatin1StringView, 8> extensions = {
        QLatin1StringView(".avi"), QLatin1StringView(".wmv"), QLatin1StringView(".mp4"),
        QLatin1StringView(".m4v"), QLatin1StringView(".mov"), QLatin1StringView(".wma"),
        QLatin1StringView(".mp3"), QLatin1StringView(".wav")};
    const QString fileName = QFileInfo(name).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QStringView extension = QStringView(fileName).mid(dot);
    return std::any_of(extensions.begin(), extensions.end(), [&](QLatin1StringView known) {
        return extension.compare(known, Qt::CaseInsensitive) == 0;
    });
}

qint64 now()
{
    return services().clock->monotonicNs();
}

} // namespace

BellPlayer::BellPlayer(QObject *parent) : QObject(parent) {}

BellPlayer::~BellPlayer() = default;

void BellPlayer::release()
{
    m_voice.reset();
    m_sound.reset();
    m_duration = 0;
    m_position = 0;
    m_running = false;
}

void BellPlayer::setFileName(const QString &name)
{
    release();
    m_fileName = name;

    const QFileInfo file(QDir::current().filePath(name));
    if (!file.exists() || file.isDir())
        throw Exception(QStringLiteral("File not found"));
    if (!hasDecoder(name))
        return;
    const QString unsupported = QStringLiteral("Unsupported media file %1").arg(file.fileName());
    // A pipe or device node would block the decoder; only a regular file can be a sound.
    if (!file.isFile())
        throw Exception(unsupported);
    std::shared_ptr<const PcmSound> sound = openSoundFile(file.filePath());
    if (!sound)
        throw Exception(unsupported);

    m_duration = sound->frameCount() * kNsPerSecond / sound->sampleRate();
    m_sound = std::move(sound);
    // The voice is made now so that Play only has to start it. The samples are read a moment
    // later, once the window being created has been shown, unless the bell rings first.
    m_voice = audioOutput().createVoice(m_sound);
    if (!m_sound->isRead())
        QTimer::singleShot(kDeferredSoundWorkMs, this,
                           [sound = std::weak_ptr<const PcmSound>(m_sound)] {
                               if (const auto opened = sound.lock())
                                   opened->samples();
                           });
}

qint64 BellPlayer::currentTime() const
{
    if (!m_running)
        return m_position;
    const qint64 elapsed = std::max<qint64>(0, now() - m_startedAt);
    return std::min(m_duration, m_position + elapsed);
}

bool BellPlayer::reachedEnd() const
{
    return currentTime() >= m_duration;
}

BellPlayer::State BellPlayer::state() const
{
    if (!m_sound)
        return State::Empty;
    if (!m_running)
        return State::Ready;
    return reachedEnd() ? State::Ended : State::Playing;
}

void BellPlayer::startVoice()
{
    m_sound->samples(); // read here, on the GUI thread, if not read yet
    m_startedAt = now();
    m_running = true;
    if (m_voice)
        m_voice->start(m_position * m_sound->sampleRate() / kNsPerSecond);
}

void BellPlayer::play()
{
    // Playing goes on without a restart; ended, or stopped at the end, nothing is left to hear.
    if (!m_sound || m_running || m_position >= m_duration)
        return;
    startVoice();
}

void BellPlayer::stop()
{
    if (!m_sound || !m_running)
        return;
    m_position = currentTime();
    m_running = false;
    if (m_voice)
        m_voice->stop();
}

void BellPlayer::setCurrentTime(qint64 ns)
{
    if (!m_sound)
        return;
    const qint64 target = std::clamp<qint64>(ns, 0, m_duration);
    if (m_running && !reachedEnd()) {
        // Moving a sounding player carries on playing from the new position.
        m_position = target;
        startVoice();
        return;
    }
    // A sound that has played out stays silent: moving it makes it ready, not playing.
    m_running = false;
    m_position = target;
}

} // namespace quorlin
