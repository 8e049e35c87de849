#include "forms/Unit6.h"

namespace quorlin {

QString TopicText;

const DrawDeck &topicDeck()
{
    static const DrawDeck deck =
        loadDeck(QStringLiteral(":/decks/topics.txt"), 0, 108, DisplayForm::Framed);
    return deck;
}

QString drawTopic()
{
    const DrawDeck &deck = topicDeck();
    TopicText = drawText(deck);
    return deck.displayText(TopicText);
}

} // namespace quorlin
