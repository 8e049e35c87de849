// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit6.h"

#include "app/application.h"
#include "bell/bellplayer.h"
#include "forms/Unit1.h"
#include "ui/controls.h"

namespace quorlin {

QString TopicText;
TForm6 *Form6 = nullptr;

namespace {
// What the topic label declares before a draw replaces it.
const QString kLayoutText = QStringLiteral("จับหัวข้อแนะนำสำหรับการบันทึกดูแลและใคร่ครวญชีวิตสำหรับช่วงนี้");
} // namespace

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

TForm6::TForm6() : Form(QStringLiteral("TForm6")) {}

Form::NotifyHandler TForm6::notifyHandler(const QString &name)
{
    return bindNotify<TForm6>({{"FormCreate", &TForm6::FormCreate},
                               {"Button1Click", &TForm6::Button1Click},
                               {"Button4Click", &TForm6::Button4Click},
                               {"toppic1Click", &TForm6::toppic1Click}},
                              name);
}

Form::CloseHandler TForm6::closeHandler(const QString &name)
{
    return bindClose<TForm6>({{"FormClose", &TForm6::FormClose}}, name);
}

void TForm6::FormCreate(QObject *)
{
    auto *bell = member<BellPlayer>(QStringLiteral("MediaPlayer2"));
    if (bell->hasMedia()) {
        bell->setCurrentTime(0);
        bell->play();
    }
    const QString topic = drawTopic();
    member<TextLabel>(QStringLiteral("toppic1"))->setText(topic);
}

void TForm6::Button1Click(QObject *)
{
    member<BellPlayer>(QStringLiteral("MediaPlayer2"))->stop();
    Application::instance().close(this);
}

void TForm6::Button4Click(QObject *)
{
    // The guidance window is made first: if it cannot be, this window stays open and ringing.
    Application::instance().createForm(Form1);
    member<BellPlayer>(QStringLiteral("MediaPlayer2"))->stop();
    Application::instance().show(Form1);
    Application::instance().close(this);
}

// Closes without touching the bell, which sounds on to its end.
void TForm6::toppic1Click(QObject *)
{
    Application::instance().close(this);
}

void TForm6::FormClose(QObject *, CloseAction &)
{
    member<TextLabel>(QStringLiteral("toppic1"))->setText(kLayoutText);
}

} // namespace quorlin
