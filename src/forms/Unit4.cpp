// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit4.h"

#include "forms/Unit8.h"

namespace quorlin {

std::int32_t ObstacleRitualStage = 0;
QString ObstacleSavedPrompt;
TForm4 *Form4 = nullptr;

TForm4::TForm4() : RitualWindow(QStringLiteral("TForm4"), ObstacleRitualStage) {}

// The prompt is kept before the instruction replaces it, for every obstacle ritual window to
// show again once closed.
void TForm4::showInstruction()
{
    ObstacleSavedPrompt = m_label->text();
    RitualWindow::showInstruction();
}

// The obstacle result window, in this one's place. On success the close handler puts the stage
// back to 0.
void TForm4::openResult() { replaceWith(Form8); }

} // namespace quorlin
