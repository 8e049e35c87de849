// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace quorlin::assetgen {

// Synthesises the struck singing bowl and returns it as a complete 16-bit PCM WAV file.
QByteArray bellWav();

} // namespace quorlin::assetgen
