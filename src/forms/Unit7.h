// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "deck/decks.h"
#include "forms/resultwindow.h"

#include <QString>

#include <cstdint>

namespace quorlin {

// The text of the last angel card drawn, curly quotation marks included; empty until the first.
extern QString AngelCardText;

// 1 once an angel card has been drawn; the angel ritual window sets it back to 0.
extern std::int32_t AngelDrawMark;

// The angel result window's draw: draws a card, keeps it in AngelCardText, sets AngelDrawMark
// to 1 and returns the card's text for the window's label.
QString drawAngelCard();

// Angel result window: rings its bell, draws an angel card and shows it on the lotus picture.
class TForm7 : public ResultWindow
{
    Q_OBJECT
    Q_PROPERTY(quorlin::BellPlayer *MediaPlayer3 MEMBER m_bell)
    Q_PROPERTY(quorlin::TextLabel *AngelTell1 MEMBER m_label)

public:
    TForm7();
};

// The angel result window's name: the newest instance, or none.
extern TForm7 *Form7;

} // namespace quorlin
