// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit8.h"

#include "app/application.h"
#include "bell/bellplayer.h"
#include "forms/Unit2.h"
#include "ui/controls.h"

namespace quorlin {

QString ObstacleCardText;
TForm8 *Form8 = nullptr;

namespace {
// Left in the card label of a closed result window (the declared text ends in a blank).
const QString kCloseText = QStringLiteral("ไพ่อุปสรรคเปิดออกแล้ว ณ เวลานี้");
} // namespace

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

TForm8::TForm8() : Form(QStringLiteral("TForm8")) {}

Form::NotifyHandler TForm8::notifyHandler(const QString &name)
{
    return bindNotify<TForm8>({{"FormCreate", &TForm8::FormCreate},
                               {"Button1Click", &TForm8::Button1Click},
                               {"Button4Click", &TForm8::Button4Click}},
                              name);
}

Form::CloseHandler TForm8::closeHandler(const QString &name)
{
    return bindClose<TForm8>({{"FormClose", &TForm8::FormClose}}, name);
}

void TForm8::FormCreate(QObject *)
{
    auto *bell = member<BellPlayer>(QStringLiteral("MediaPlayer4"));
    if (bell->hasMedia()) {
        bell->setCurrentTime(0);
        bell->play();
    }
    const QString card = drawObstacleCard();
    member<TextLabel>(QStringLiteral("AngelTell1"))->setText(card);
}

void TForm8::Button1Click(QObject *)
{
    member<BellPlayer>(QStringLiteral("MediaPlayer4"))->stop();
    Application::instance().close(this);
}

void TForm8::Button4Click(QObject *)
{
    // The guidance window is made first: if it cannot be, this window stays open and ringing.
    Application::instance().createForm(Form2);
    member<BellPlayer>(QStringLiteral("MediaPlayer4"))->stop();
    Application::instance().show(Form2);
    Application::instance().close(this);
}

// Closes without touching the bell, which sounds on to its end.
void TForm8::FormClose(QObject *, CloseAction &)
{
    member<TextLabel>(QStringLiteral("AngelTell1"))->setText(kCloseText);
}

} // namespace quorlin
