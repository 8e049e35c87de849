// SPDX-License-Identifier: GPL-3.0-or-later
#include "bell/audiooutput.h"

namespace quorlin {

namespace {

// The output in force; null until first asked for, when it becomes the system's.
AudioOutput *&current()
{
    static AudioOutput *output = nullptr;
    return output;
}

} // namespace

AudioOutput &audioOutput()
{
    AudioOutput *&output = current();
    if (!output) {
        static SystemAudioOutput system;
        output = &system;
    }
    return *output;
}

ScopedAudioOutput::ScopedAudioOutput(AudioOutput &replacement) : m_previous(&audioOutput())
{
    current() = &replacement;
}

ScopedAudioOutput::~ScopedAudioOutput() { current() = m_previous; }

} // namespace quorlin
