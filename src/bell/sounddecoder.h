#pragma once

#include "bell/audiooutput.h"

#include <QString>

#include <memory>

namespace quorlin {

// Limits on what a sound file may decode to. A header can claim any length, so the decoder
// refuses sounds beyond these before it allocates anything.
inline constexpr int kMaxSoundSeconds = 300;
inline constexpr qint64 kMaxSoundBytes = 48 * 1024 * 1024;

// Decodes a sound file with libsndfile into 16-bit PCM. Returns null when the file cannot be
// decoded or is beyond the limits above.
std::shared_ptr<PcmSound> decodeSoundFile(const QString &path);

} // namespace quorlin
