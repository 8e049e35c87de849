// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit3.h"

#include "forms/Unit6.h"

namespace quorlin {

std::int32_t TopicRitualStage = 0;
TForm3 *Form3 = nullptr;

TForm3::TForm3() : RitualWindow(QStringLiteral("TForm3"), TopicRitualStage) {}

// The topic result window, in this one's place. On success the close handler puts the stage
// back to 0.
void TForm3::openResult() { replaceWith(Form6); }

} // namespace quorlin
