// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bell/audiooutput.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace quorlin::test {

// An audio output that plays nothing and records what its voices were told, for tests to
// assert on. Voices are numbered from 1 in order of creation.
class FakeAudioOutput final : public AudioOutput
{
public:
    FakeAudioOutput();
    ~FakeAudioOutput() override;

    std::unique_ptr<AudioVoice> createVoice(std::shared_ptr<const PcmSound> sound) override;

    // Every event in order: "1 created", "1 start 0", "1 stop", "1 destroyed".
    QStringList log() const;
    void clearLog();

    int voiceCount() const;
    bool isAlive(int voice) const;
    QList<int> aliveVoices() const;
    std::shared_ptr<const PcmSound> sound(int voice) const;
    // Started, not stopped since, not destroyed, and not yet at the end of its sound by the
    // clock in services() (a fake clock in tests).
    bool isSounding(int voice) const;
    QList<int> soundingVoices() const;

private:
    struct Record;
    class Voice;
    std::shared_ptr<QList<Record>> m_records;
    std::shared_ptr<QStringList> m_log;
};

} // namespace quorlin::test
