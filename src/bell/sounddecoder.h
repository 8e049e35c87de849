// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bell/audiooutput.h"

#include <QString>

#include <memory>

namespace quorlin {

// Limits on what a sound file may decode to. A header can claim any length, so the decoder
// refuses sounds beyond these before it allocates anything.
inline constexpr int kMaxSoundSeconds = 300;
inline constexpr qint64 kMaxSoundBytes = 48 * 1024 * 1024;

// Opens a sound file with libsndfile and reads its header; the sound's 16-bit PCM samples are
// read from the file, kept open until then, when they are first asked for. Returns null when
// the file is not a regular file, cannot be decoded or is beyond the limits above. The file is
// opened and its header read every time; when it is the very file opened last time, unchanged,
// the sound opened then is shared instead.
std::shared_ptr<const PcmSound> openSoundFile(const QString &path);

} // namespace quorlin
