// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit7.h"

#include "app/application.h"
#include "bell/bellplayer.h"
#include "forms/Unit2.h"
#include "ui/controls.h"

namespace quorlin {

QString AngelCardText;
std::int32_t AngelDrawMark = 0;
TForm7 *Form7 = nullptr;

namespace {
// What the card label declares before a draw replaces it.
const QString kOpeningText = QStringLiteral("ไพ่นางฟ้าเปิดออกแล้ว ณ เวลานี้");
} // namespace

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

TForm7::TForm7() : Form(QStringLiteral("TForm7")) {}

Form::NotifyHandler TForm7::notifyHandler(const QString &name)
{
    return bindNotify<TForm7>({{"FormCreate", &TForm7::FormCreate},
                               {"Button1Click", &TForm7::Button1Click},
                               {"Button4Click", &TForm7::Button4Click}},
                              name);
}

Form::CloseHandler TForm7::closeHandler(const QString &name)
{
    return bindClose<TForm7>({{"FormClose", &TForm7::FormClose}}, name);
}

void TForm7::FormCreate(QObject *)
{
    auto *bell = member<BellPlayer>(QStringLiteral("MediaPlayer3"));
    if (bell->hasMedia()) {
        bell->setCurrentTime(0);
        bell->play();
    }
    const QString card = drawAngelCard();
    member<TextLabel>(QStringLiteral("AngelTell1"))->setText(card);
}

void TForm7::Button1Click(QObject *)
{
    member<BellPlayer>(QStringLiteral("MediaPlayer3"))->stop();
    Application::instance().close(this);
}

void TForm7::Button4Click(QObject *)
{
    // The guidance window is made first: if it cannot be, this window stays open and ringing.
    Application::instance().createForm(Form2);
    member<BellPlayer>(QStringLiteral("MediaPlayer3"))->stop();
    Application::instance().show(Form2);
    Application::instance().close(this);
}

// Closes without touching the bell, which sounds on to its end.
void TForm7::FormClose(QObject *, CloseAction &)
{
    member<TextLabel>(QStringLiteral("AngelTell1"))->setText(kOpeningText);
}

} // namespace quorlin
