// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fakeaudio.h"

#include "platform/clock.h"
#include "platform/services.h"

namespace quorlin::test {

struct FakeAudioOutput::Record
{
    std::shared_ptr<const PcmSound> sound;
    bool alive = true;
    bool running = false;
    std::int64_t startFrame = 0;
    std::int64_t startedAtNs = 0;
};

// Voices may outlive the output in a careless test; they share its records so that they never
// touch freed memory.
class FakeAudioOutput::Voice final : public AudioVoice
{
public:
    Voice(std::shared_ptr<QList<Record>> records, std::shared_ptr<QStringList> log, int id)
        : m_records(std::move(records)), m_log(std::move(log)), m_id(id)
    {
    }
    ~Voice() override
    {
        record().alive = false;
        record().running = false;
        m_log->append(QStringLiteral("%1 destroyed").arg(m_id));
    }
    void start(std::int64_t frame) override
    {
        record().running = true;
        record().startFrame = frame;
        record().startedAtNs = services().clock->monotonicNs();
        m_log->append(QStringLiteral("%1 start %2").arg(m_id).arg(frame));
    }
    void stop() override
    {
        record().running = false;
        m_log->append(QStringLiteral("%1 stop").arg(m_id));
    }

private:
    Record &record() { return (*m_records)[m_id - 1]; }

    std::shared_ptr<QList<Record>> m_records;
    std::shared_ptr<QStringList> m_log;
    int m_id;
};

FakeAudioOutput::FakeAudioOutput()
    : m_records(std::make_shared<QList<Record>>()), m_log(std::make_shared<QStringList>())
{
}

FakeAudioOutput::~FakeAudioOutput() = default;

std::unique_ptr<AudioVoice> FakeAudioOutput::createVoice(std::shared_ptr<const PcmSound> sound)
{
    m_records->append(Record{std::move(sound)});
    const int id = int(m_records->size());
    m_log->append(QStringLiteral("%1 created").arg(id));
    return std::make_unique<Voice>(m_records, m_log, id);
}

QStringList FakeAudioOutput::log() const
{
    return *m_log;
}

void FakeAudioOutput::clearLog()
{
    m_log->clear();
}

int FakeAudioOutput::voiceCount() const
{
    return int(m_records->size());
}

bool FakeAudioOutput::isAlive(int voice) const
{
    return voice >= 1 && voice <= voiceCount() && m_records->at(voice - 1).alive;
}

QList<int> FakeAudioOutput::aliveVoices() const
{
    QList<int> ids;
    for (int id = 1; id <= voiceCount(); ++id) {
        if (isAlive(id))
            ids.append(id);
    }
    return ids;
}

std::shared_ptr<const PcmSound> FakeAudioOutput::sound(int voice) const
{
    return voice >= 1 && voice <= voiceCount() ? m_records->at(voice - 1).sound : nullptr;
}

bool FakeAudioOutput::isSounding(int voice) const
{
    if (!isAlive(voice))
        return false;
    const Record &r = m_records->at(voice - 1);
    if (!r.running || !r.sound || r.sound->sampleRate() <= 0)
        return false;
    const std::int64_t elapsedNs = services().clock->monotonicNs() - r.startedAtNs;
    const std::int64_t elapsedFrames = elapsedNs * r.sound->sampleRate() / 1000000000;
    return r.startFrame + elapsedFrames < r.sound->frameCount();
}

QList<int> FakeAudioOutput::soundingVoices() const
{
    QList<int> ids;
    for (int id = 1; id <= voiceCount(); ++id) {
        if (isSounding(id))
            ids.append(id);
    }
    return ids;
}

} // namespace quorlin::test
