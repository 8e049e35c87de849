#include "forms/Unit7.h"

namespace quorlin {

QString AngelCardText;
std::int32_t AngelDrawMark = 0;

const DrawDeck &angelDeck()
{
    static const DrawDeck deck =
        loadDeck(QStringLiteral(":/decks/angels.txt"), 1, 101, DisplayForm::AsStored);
    return deck;
}

QString drawAngelCard()
{
    const DrawDeck &deck = angelDeck();
    AngelCardText = drawText(deck);
    AngelDrawMark = 1;
    return deck.displayText(AngelCardText);
}

} // namespace quorlin
