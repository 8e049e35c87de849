// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form.h"

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
class TForm4 : public Form
{
    Q_OBJECT

public:
    TForm4();

    NotifyHandler notifyHandler(const QString &name) override;
    CloseHandler closeHandler(const QString &name) override;

    void Button4Click(QObject *sender);
    void Button1Click(QObject *sender);
    void FormClose(QObject *sender, CloseAction &action);
};

// The obstacle ritual window's name: the newest instance, or none.
extern TForm4 *Form4;

} // namespace quorlin
