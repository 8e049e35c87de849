// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace quorlin {

class AudioVoice;
struct PcmSound;

// The bell player a window owns: opens one sound file and plays, stops and rewinds it.
class BellPlayer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString FileName READ fileName WRITE setFileName)

public:
    enum class State
    {
        Empty,
        Ready,
        Playing,
        Ended
    };

    explicit BellPlayer(QObject *parent = nullptr);
    ~BellPlayer() override;

    // Opens the named file, resolved against the working directory. Throws Exception with
    // "File not found" or "Unsupported media file <name>"; an extension nothing decodes leaves
    // the player empty.
    void setFileName(const QString &name);
    QString fileName() const { return m_fileName; }
    bool hasMedia() const { return m_sound != nullptr; }

    void play();
    void stop();
    // Nanoseconds from the start of the sound; 0 rewinds.
    void setCurrentTime(qint64 ns);
    qint64 currentTime() const;
    qint64 duration() const { return m_duration; }
    State state() const;

private:
    void release();
    bool reachedEnd() const;
    void startVoice();

    QString m_fileName;
    std::shared_ptr<const PcmSound> m_sound;
    std::unique_ptr<AudioVoice> m_voice;
    qint64 m_duration = 0;
    // While stopped, the position; while running, the position playback started from.
    qint64 m_position = 0;
    // Clock reading when playback last started from m_position.
    qint64 m_startedAt = 0;
    bool m_running = false;
};

} // namespace quorlin
