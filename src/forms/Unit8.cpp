#include "forms/Unit8.h"

namespace quorlin {

QString ObstacleCardText;

const DrawDeck &obstacleDeck()
{
    static const DrawDeck deck =
        loadDeck(QStringLiteral(":/decks/obstacles.txt"), 1, 80, DisplayForm::AsStored);
    return deck;
}

QString drawObstacleCard()
{
    const DrawDeck &deck = obstacleDeck();
    ObstacleCardText = drawText(deck);
    return deck.displayText(ObstacleCardText);
}

} // namespace quorlin
