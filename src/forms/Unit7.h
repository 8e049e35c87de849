// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form.h"
#include "deck/drawdeck.h"

#include <QString>

#include <cstdint>

namespace quorlin {

// The text of the last angel card drawn, curly quotation marks included; empty until the first.
extern QString AngelCardText;

// 1 once an angel card has been drawn; the angel ritual window sets it back to 0.
extern std::int32_t AngelDrawMark;

// The angel deck: 101 cards, indices 1..101, shown as stored.
const DrawDeck &angelDeck();

// The angel result window's draw: draws a card, keeps it in AngelCardText, sets AngelDrawMark
// to 1 and returns the card's text for the window's label.
QString drawAngelCard();

// Angel result window: rings its bell, draws an angel card and shows it on the lotus picture.
class TForm7 : public Form
{
    Q_OBJECT

public:
    TForm7();

    NotifyHandler notifyHandler(const QString &name) override;
    CloseHandler closeHandler(const QString &name) override;

    void FormCreate(QObject *sender);
    void Button1Click(QObject *sender);
    void Button4Click(QObject *sender);
    void FormClose(QObject *sender, CloseAction &action);
};

// The angel result window's name: the newest instance, or none.
extern TForm7 *Form7;

} // namespace quorlin
