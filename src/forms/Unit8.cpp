// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit8.h"

#include "forms/Unit2.h"

namespace quorlin {

QString ObstacleCardText;
TForm8 *Form8 = nullptr;

const DrawDeck &obstacleDeck()
{
    static const DrawDeck deck =
        loadDeck(QStringLiteral(":/decks/obstacles.txt"), 1, 80, DisplayForm::AsStored);
    return deck;
}

QString drawObstacleCard() { return drawAndKeep(obstacleDeck(), ObstacleCardText); }

TForm8::TForm8() : ResultWindow(QStringLiteral("TForm8"), drawObstacleCard, createdWindow<Form2>) {}

// Left in the card label of a closed result window: the declared text without its final blank.
QString TForm8::closedText() const { return QStringLiteral("ไพ่อุปสรรคเปิดออกแล้ว ณ เวลานี้"); }

} // namespace quorlin
