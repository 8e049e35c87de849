// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/ritualwindow.h"

#include <QString>

#include <cstdint>

namespace quorlin {

// 0 while an obstacle ritual window shows its prompt, 1 while it shows the breathing
// instruction. Shared by every obstacle ritual window.
extern std::int32_t ObstacleRitualStage;

// The ritual label's text at the most recent first press in any obstacle ritual window; empty
// until the first. Closing a ritual window puts it back into that window's label.
extern QString ObstacleSavedPrompt;

// Obstacle ritual window: two presses of the draw button lead to a freshly drawn obstacle card.
class TForm4 : public RitualWindow
{
    Q_OBJECT
    Q_PROPERTY(quorlin::TextLabel *AngelTell MEMBER m_label)

public:
    TForm4();

protected:
    void showInstruction() override;
    void openResult() override;
    QString closedText() const override { return ObstacleSavedPrompt; }
};

// The obstacle ritual window's name: the newest instance, or none.
extern TForm4 *Form4;

} // namespace quorlin
