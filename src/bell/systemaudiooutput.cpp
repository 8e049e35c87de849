// SPDX-License-Identifier: GPL-3.0-or-later
#include "bell/audiooutput.h"

#include "buildconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QTimer>

namespace quorlin {

namespace {

// Where the module may be: where an installed program finds it, on the path from its own folder
// to the module folder, then beside the program, where the build puts it.
QStringList moduleCandidates()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString file = QStringLiteral(QUORLIN_AUDIO_MODULE_FILE);
    return {programDir.filePath(QStringLiteral(QUORLIN_AUDIO_MODULE_DIR_FROM_BINDIR "/") + file),
            programDir.filePath(file)};
}

AudioOutput *loadModule()
{
    using Entry = AudioOutput *(*)();
    for (const QString &path : moduleCandidates()) {
        if (!QFileInfo(path).isFile())
            continue;
        QLibrary module(path);
        if (auto entry = reinterpret_cast<Entry>(module.resolve("quorlin_audio_sink_output")))
            return entry(); // the module stays loaded for the rest of the run
        qWarning("Quorlin: cannot load the sound output %s: %s", qPrintable(path),
                 qPrintable(module.errorString()));
        return nullptr;
    }
    qWarning("Quorlin: the sound output module is missing; the bell stays silent");
    return nullptr;
}

// A voice whose sound output is made when it first starts.
class ModuleVoice final : public AudioVoice
{
public:
    explicit ModuleVoice(std::shared_ptr<const PcmSound> sound) : m_sound(std::move(sound)) {}

    void start(std::int64_t frame) override
    {
        if (!m_voice) {
            AudioOutput *output = SystemAudioOutput::loaded();
            if (!output)
                return;
            m_voice = output->createVoice(m_sound);
        }
        m_voice->start(frame);
    }

    void stop() override
    {
        if (m_voice)
            m_voice->stop();
    }

private:
    std::shared_ptr<const PcmSound> m_sound;
    std::unique_ptr<AudioVoice> m_voice;
};

} // namespace

AudioOutput *SystemAudioOutput::loaded()
{
    static AudioOutput *const output = loadModule();
    return output;
}

std::unique_ptr<AudioVoice> SystemAudioOutput::createVoice(std::shared_ptr<const PcmSound> sound)
{
    static const bool scheduled = [] {
        if (QCoreApplication::instance())
            QTimer::singleShot(kDeferredSoundWorkMs, QCoreApplication::instance(), [] { loaded(); });
        return true;
    }();
    Q_UNUSED(scheduled);
    return std::make_unique<ModuleVoice>(std::move(sound));
}

} // namespace quorlin
