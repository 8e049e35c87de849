// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form.h"
#include "deck/drawdeck.h"

#include <QString>

namespace quorlin {

// The text of the last topic draw, unframed; empty until the first draw of the run.
extern QString TopicText;

// The topic deck: 108 journaling prompts, indices 0..107, shown between straight quotation marks.
const DrawDeck &topicDeck();

// The topic result window's draw: draws from the topic deck, keeps the text in TopicText and
// returns it framed for the window's label.
QString drawTopic();

// Topic result window: rings its bell, draws a topic and shows it in straight quotation marks.
class TForm6 : public Form
{
    Q_OBJECT

public:
    TForm6();

    NotifyHandler notifyHandler(const QString &name) override;
    CloseHandler closeHandler(const QString &name) override;

    void FormCreate(QObject *sender);
    void Button1Click(QObject *sender);
    void Button4Click(QObject *sender);
    void toppic1Click(QObject *sender);
    void FormClose(QObject *sender, CloseAction &action);
};

// The topic result window's name: the newest instance, or none.
extern TForm6 *Form6;

} // namespace quorlin
