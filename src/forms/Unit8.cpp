// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit8.h"

#include "forms/Unit2.h"

namespace quorlin {

QString ObstacleCardText;
TForm8 *Form8 = nullptr;

QString drawObstacleCard() { return drawAndKeep(obstacleDeck(), ObstacleCardText); }

TForm8::TForm8() : ResultWindow(QStringLiteral("TForm8"), drawObstacleCard, createdWindow<Form2>) {}

} // namespace quorlin
