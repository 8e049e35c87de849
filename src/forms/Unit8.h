// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "deck/decks.h"
#include "forms/resultwindow.h"

#include <QString>

namespace quorlin {

// The text of the last obstacle card drawn, curly quotation marks included; empty until the
// first.
extern QString ObstacleCardText;

// The obstacle result window's draw: draws a card, keeps it in ObstacleCardText and returns the
// card's text for the window's label.
QString drawObstacleCard();

// Obstacle result window: rings its bell, draws an obstacle card and shows it in black on the
// tangled loops.
class TForm8 : public ResultWindow
{
    Q_OBJECT
    Q_PROPERTY(quorlin::TextLabel *AngelTell1 MEMBER m_label)
    Q_PROPERTY(quorlin::BellPlayer *MediaPlayer4 MEMBER m_bell)

public:
    TForm8();
};

// The obstacle result window's name: the newest instance, or none.
extern TForm8 *Form8;

} // namespace quorlin
