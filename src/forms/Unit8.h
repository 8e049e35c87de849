#pragma once

#include "deck/drawdeck.h"

#include <QString>

namespace quorlin {

// The text of the last obstacle card drawn, curly quotation marks included; empty until the
// first.
extern QString ObstacleCardText;

// The obstacle deck: 80 cards, indices 1..80, shown as stored.
const DrawDeck &obstacleDeck();

// The obstacle result window's draw: draws a card, keeps it in ObstacleCardText and returns the
// card's text for the window's label.
QString drawObstacleCard();

} // namespace quorlin
